#!/usr/bin/python3
"""Build the three teaching levels: walk to the exit, bridge a gap, dig through a wall.

    /usr/bin/python3 tools/make_teaching_levels.py [data-dir]
    /usr/bin/python3 tools/make_teaching_levels.py --check [data-dir]

Writes, under data/ (or the given folder):

    Countries/<file>.png, Countries/<file>_stamp.png   terrain and stamp of each level
    Countries/countries.txt                            their lines, first in the list
    Assets/texts/levelnames.txt                        their readable names

Lines of other levels already in the two lists are kept, after ours; our own lines are replaced. With
--check nothing is written: the levels are rebuilt in memory and compared with the files on disk, and
the rules below are checked again.

How the game reads a terrain (every number here comes from the creature's rules):
- a pixel is solid when its red byte is non-zero, and it counts towards the paint goal when any of red,
  green or blue is non-zero; so the air is (0, 0, 0, 0);
- a follower paints a band around its feet with the level's stamp, from 10 rows above them to 9 below
  (20-pixel stamp), so the ground is laid as layers 8 rows thick that the walkers paint whole, with a
  ragged fringe of roots under them that stays unpainted;
- the paint colour is the flag's leftmost column at height (flag height x red / 255), so the red byte
  runs from 1 at the highest ground to 254 at the lowest and a flag with stripes paints them across
  the level; green and blue follow red so the unpainted land is a relief map (dark green highlands,
  olive slopes, sandy lowlands) rather than a red ramp;
- a rise of 1 to 3 pixels is climbed and 4 or more is a wall, a drop of 1 or 2 is walked and 3 or more
  is a fall, and a fall of more than 66 pixels kills.
Each level is then walked by a model of a follower (the probes and falls of the game) to prove that the
spawn lands safely, that every place a follower can reach leads to the exit once the lesson's one edit
(a bridge, a tunnel) is made, and to measure how much of the level one walk paints: the goal is set
below that share.

Deterministic: the texture speckle is a fixed hash of the pixel position.
"""

import os
import sys

import numpy as np
from PIL import Image

import art_common as ac

DATA_DIR = os.path.join(os.path.dirname(ac.TOOLS_DIR), "data")
LIST_FILE = "Countries/countries.txt"
NAMES_FILE = "Assets/texts/levelnames.txt"

THICKNESS = 8        # rows of a ground layer, all inside the stamp's band
FRINGE = 2           # up to this many rows of roots under a layer, left unpainted
STAMP = 20           # stamp size; paints rows y - 10 .. y + 9 around the feet
FALL_LIMIT = 66      # logical height 200 / 3: a longer fall kills
FREE_ABOVE = 9       # free rows above walkable ground
SPAWN_FREE = 8       # free rows above the spawn pixel
DOOR_BELOW = 7       # the entry door's bottom row is startY + 6: the ground starts one row lower

# Each level: its key (shown through the name table), files, size, the ground profile as (x from
# which the ground's top row is y; None = no ground), extra rock as (x, y, w, h), the spawn and exit
# columns, the lesson's edit as ("build" | "dig", x, y, w, h), and the list numbers (minutes, survivor
# percent, creature count, spawn interval ms). The goal percent is computed from the walk.
LEVELS = [
    {
        "key": "First Steps",
        "file": "first_steps",
        "size": (480, 200),
        "profile": [(0, 50), (80, 52), (92, 54), (104, 56), (116, 58), (170, 78), (230, 75),
                    (242, 72), (254, 69), (300, 100), (350, 102), (362, 104), (374, 106),
                    (400, 130), (440, 150)],
        "rock": [],
        "spawn_x": 36,
        "exit_x": 458,
        "edit": None,
        "minutes": 2, "survivors": 70, "count": 10, "interval": 1200,
        "stamp": "walk",
    },
    {
        "key": "Mind the Gap",
        "file": "mind_the_gap",
        "size": (560, 200),
        "profile": [(0, 60), (90, 62), (110, 64), (130, 82), (190, None), (230, 82), (300, 79),
                    (312, 76), (360, 104), (420, 106), (432, 108), (470, 140)],
        "rock": [],
        "spawn_x": 40,
        "exit_x": 530,
        "edit": ("build", 186, 82, 48, 6),
        "minutes": 3, "survivors": 60, "count": 10, "interval": 1500,
        "stamp": "bridge",
    },
    {
        "key": "Dig Deep",
        "file": "dig_deep",
        "size": (480, 200),
        "profile": [(0, 120), (70, 117), (82, 114), (94, 111), (230, 131), (300, 128), (312, 125),
                    (350, 150)],
        "rock": [(150, 60, 16, 51)],
        "spawn_x": 36,
        "exit_x": 452,
        "edit": ("dig", 146, 99, 24, 12),
        "minutes": 3, "survivors": 70, "count": 10, "interval": 1200,
        "stamp": "dig",
    },
]


# ---------------------------------------------------------------- terrain


def ground_tops(level):
    w, _ = level["size"]
    tops = [None] * w
    profile = level["profile"]
    for i, (x0, top) in enumerate(profile):
        x1 = profile[i + 1][0] if i + 1 < len(profile) else w
        for x in range(x0, x1):
            tops[x] = top
    return tops


def hash01(x, y):
    """A fixed speckle: 0..255 from the position alone."""
    v = (x * 73856093) ^ (y * 19349663)
    v = (v ^ (v >> 13)) * 1274126177
    return (v >> 7) & 255


def build_solid(level):
    """Boolean grid of the terrain: layers, cliff faces between them, and rock."""
    w, h = level["size"]
    tops = ground_tops(level)
    solid = np.zeros((h, w), dtype=bool)
    kind = np.zeros((h, w), dtype=np.uint8)  # 1 ground, 2 rock
    for x in range(w):
        if tops[x] is None:
            continue
        bottom = tops[x] + THICKNESS - 1
        # a cliff face: a column next to lower ground reaches down to that ground's bottom row
        for nx in (x - 1, x + 1):
            if 0 <= nx < w and tops[nx] is not None:
                bottom = max(bottom, tops[nx] + THICKNESS - 1)
        bottom += hash01(x // 2, 7) % (FRINGE + 1)
        solid[tops[x]:bottom + 1, x] = True
        kind[tops[x]:bottom + 1, x] = 1
    for (rx, ry, rw, rh) in level["rock"]:
        solid[ry:ry + rh, rx:rx + rw] = True
        kind[ry:ry + rh, rx:rx + rw] = 2
    return solid, kind


def colour_terrain(solid, kind):
    h, w = solid.shape
    rows = np.nonzero(solid.any(axis=1))[0]
    band_top, band_bottom = int(rows[0]), int(rows[-1])
    img = np.zeros((h, w, 4), dtype=np.uint8)
    for y in range(h):
        red = 1 + round(253 * (y - band_top) / max(1, band_bottom - band_top))
        red = min(254, max(1, red))
        for x in range(w):
            if not solid[y, x]:
                continue
            speck = hash01(x, y) % 4 == 0
            if kind[y, x] == 2:
                # rock: cool grey slabs with dark joints, so it reads as something to dig
                g = 62 + int(0.55 * red)
                b = 74 + int(0.5 * red)
                joint = (y % 7 == 0) or ((x + (y // 7) * 5) % 9 == 0)
                if joint:
                    g, b = g - 26, b - 26
                elif speck:
                    g, b = g + 8, b + 8
            else:
                g = 70 + int(0.55 * red)
                b = 40 + int(0.30 * red)
                above = y == 0 or not solid[y - 1, x]
                above2 = y >= 2 and not solid[y - 2, x] and not above
                below = y + 1 >= h or not solid[y + 1, x]
                if above:
                    g, b = g + 34, b + 6        # a grass edge catches the light
                elif above2:
                    g = g + 14
                elif below:
                    g, b = g - 28, b - 18       # the underside is in shadow
                elif speck:
                    g, b = g - 10, b - 6
            img[y, x] = (red, max(1, min(255, g)), max(0, min(255, b)), 255)
    return img


# ---------------------------------------------------------------- stamps (also the briefing's thumbnail)

STAMP_ART = {
    # footprints on a green tile
    "walk": ("leaf", "moss", [
        "................",
        "................",
        ".........cc.....",
        "........cccc....",
        "........cccc....",
        "........cccc....",
        ".........cc.....",
        "...cc....cc.....",
        "..cccc..........",
        "..cccc..........",
        "..cccc..........",
        "...cc...........",
        "...cc...........",
        "................",
        "................",
        "................",
    ]),
    # a plank bridge over a gap on a sky tile
    "bridge": ("sky", "slate", [
        "................",
        "................",
        "................",
        "................",
        "..t..........t..",
        "..tt........tt..",
        "..t.tt....tt.t..",
        "..t...tttt...t..",
        "bbbbbbbbbbbbbbbb",
        "nnnnnnnnnnnnnnnn",
        "gg............gg",
        "gg............gg",
        "gg............gg",
        "gg............gg",
        "gg............gg",
        "gg............gg",
    ]),
    # a spade in the earth on a sand tile
    "dig": ("sand", "tan", [
        "................",
        "..........nn....",
        ".........nttn...",
        "..........nn....",
        "..........t.....",
        ".........t......",
        "........t.......",
        ".......t........",
        "....sss.........",
        "...ssmss........",
        "...smsss........",
        "....sss.........",
        "gggggggggggggggg",
        "bbbbbbbbbbbbbbbb",
        "bbbbbbbbbbbbbbbb",
        "bbbbbbbbbbbbbbbb",
    ]),
}
STAMP_LEGEND = {"c": "cream", "t": "tan", "b": "brown", "n": "ink", "g": "leaf", "s": "stone",
                "m": "mist"}


def stamp_image(name):
    """The 16 x 16 icon in the middle of a rounded tile of the stamp's size."""
    tile, edge, rows = STAMP_ART[name]
    img = ac.new_image(STAMP, STAMP)
    # a rounded tile: every row holds opaque pixels, so the whole band round the feet is painted
    for y in range(STAMP):
        for x in range(STAMP):
            corner = (x in (0, STAMP - 1)) and (y in (0, STAMP - 1))
            if not corner:
                ac.put(img, x, y, edge if x in (0, STAMP - 1) or y in (0, STAMP - 1) else tile)
    margin = (STAMP - len(rows)) // 2
    ac.draw_grid(img, rows, STAMP_LEGEND, margin, margin)
    return img


# ---------------------------------------------------------------- the follower's rules


class Walker:
    """The creature's probes and falls on a boolean terrain; (x, y) is the feet pixel."""

    def __init__(self, solid):
        self.solid = solid
        self.h, self.w = solid.shape

    def is_solid(self, x, y):
        return 0 <= x < self.w and 0 <= y < self.h and bool(self.solid[y, x])

    def probe(self, x, y, d):
        col = x + d
        outside = col < 0 or col >= self.w
        blocked = [outside or self.is_solid(col, y - 12 + k) for k in range(16)]
        free = lambda a, b: not any(blocked[a:b + 1])
        if not blocked[12]:
            for dd in range(3):
                if blocked[13 + dd]:
                    return free(7 - dd, 12 - dd), dd
            return (True, 3) if free(7, 12) else (False, 0)
        for c in range(3):
            if not blocked[11 - c]:
                return free(6 - c, 11 - c), -(c + 1)
        return False, -4

    def land(self, x, y):
        """Fall from (x, y): (landing y, fall length), or (None, length) when it leaves the level."""
        start = y
        while not self.is_solid(x, y + 1):
            y += 1
            if y >= self.h:
                return None, y - start
        return y, y - start

    def moves(self, x, y):
        """Where a standing creature at (x, y) can go by one step: (x, y, died) tuples."""
        out = []
        for d in (-1, 1):
            can, step = self.probe(x, y, d)
            if not can:
                continue
            if step >= 3:
                ly, fall = self.land(x + d, y)
                out.append((x + d, ly, ly is None or fall > FALL_LIMIT))
            else:
                out.append((x + d, y + step, False))
        return out


def in_exit(x, y, ex, ey):
    return ex - 2 <= x <= ex + 1 and ey - 2 <= y <= ey + 1


def apply_edit(solid, edit):
    if not edit:
        return solid
    solid = solid.copy()
    kind, x, y, w, h = edit
    solid[y:y + h, x:x + w] = kind == "build"
    return solid


def flood(walker, start):
    """Places reachable from start, the edges between them, and the moves that kill."""
    seen, edges, deaths = {start}, {}, []
    todo = [start]
    while todo:
        p = todo.pop()
        edges[p] = []
        for (nx, ny, died) in walker.moves(*p):
            if died:
                deaths.append((p, nx))
                continue
            q = (nx, ny)
            edges[p].append(q)
            if q not in seen:
                seen.add(q)
                todo.append(q)
    return seen, edges, deaths


def reaches_exit(seen, edges, ex, ey):
    back = {}
    for p, qs in edges.items():
        for q in qs:
            back.setdefault(q, []).append(p)
    good = {p for p in seen if in_exit(p[0], p[1], ex, ey)}
    todo = list(good)
    while todo:
        q = todo.pop()
        for p in back.get(q, []):
            if p not in good:
                good.add(p)
                todo.append(p)
    return good


def walk_right(walker, start, ex, ey, limit=20000):
    """The path of a follower that keeps walking right until it touches the exit."""
    x, y = start
    path = [(x, y)]
    for _ in range(limit):
        if in_exit(x, y, ex, ey):
            return path
        can, step = walker.probe(x, y, 1)
        if not can:
            return None
        if step >= 3:
            for yy in range(y, walker.land(x + 1, y)[0] + 1):
                path.append((x + 1, yy))
            x, y = path[-1]
        else:
            x, y = x + 1, y + step
            path.append((x, y))
    return None


def paint_share(paintable, path):
    """Share of the paintable pixels that a square stamp along the path covers."""
    h, w = paintable.shape
    painted = np.zeros_like(paintable)
    for (x, y) in path:
        y0, x0 = max(0, y - STAMP // 2), max(0, x - STAMP // 2)
        y1, x1 = min(h, y - STAMP // 2 + STAMP), min(w, x - STAMP // 2 + STAMP)
        painted[y0:y1, x0:x1] = True
    return (painted & paintable).sum() / paintable.sum()


# ---------------------------------------------------------------- building a level


def spawn_and_exit(level, solid):
    tops = ground_tops(level)
    sx, ex = level["spawn_x"], level["exit_x"]
    start = (sx, tops[sx] - DOOR_BELOW)
    exit_ = (ex, tops[ex])
    return start, exit_


def check_rules(level, solid):
    """The placement rules; returns the measurements the list line needs. Raises on a broken rule."""
    name = level["key"]
    w, h = level["size"]
    if not (320 <= w <= 1600 and 200 <= h <= 1000):
        raise SystemExit("%s: size %dx%d outside 320x200 .. 1600x1000" % (name, w, h))
    walker = Walker(solid)
    (sx, sy), (ex, ey) = spawn_and_exit(level, solid)
    if any(walker.is_solid(sx, sy - k) for k in range(SPAWN_FREE + 1)):
        raise SystemExit("%s: the spawn pixel or a row above it is solid" % name)
    land_y, fall = walker.land(sx, sy)
    if land_y is None or fall > FALL_LIMIT:
        raise SystemExit("%s: the spawn's fall kills" % name)
    if not walker.is_solid(ex, ey) or walker.is_solid(ex, ey - 1):
        raise SystemExit("%s: exitY is not the first ground row under the exit" % name)
    if in_exit(sx, sy, ex, ey):
        raise SystemExit("%s: the spawn lies in the exit box" % name)
    if sy - 18 < 0 or ex - 20 < 0 or ex + 20 > w or sx - 21 < 0 or sx + 22 > w:
        raise SystemExit("%s: a door leaves the level" % name)

    edited = apply_edit(solid, level["edit"])
    lesson = Walker(edited)
    seen, edges, deaths = flood(lesson, (sx, land_y))
    if deaths:
        made = " once the %s is made" % level["edit"][0] if level["edit"] else ""
        raise SystemExit("%s: a follower can fall to its death%s, from %r to column %d" %
                         (name, made, deaths[0][0], deaths[0][1]))
    good = reaches_exit(seen, edges, ex, ey)
    stuck = seen - good
    if stuck:
        raise SystemExit("%s: %d reachable places never lead to the exit, e.g. %r" %
                         (name, len(stuck), sorted(stuck)[0]))
    for (x, y) in seen:
        if not edges[(x, y)]:
            raise SystemExit("%s: a follower is trapped at %r" % (name, (x, y)))
        if any(edited[y - k, x] for k in range(0, FREE_ABOVE) if y - k >= 0):
            raise SystemExit("%s: walkable ground at %r has less than %d free rows" %
                             (name, (x, y + 1), FREE_ABOVE))

    # Without the lesson's edit the level must not be winnable by walking alone.
    if level["edit"]:
        plain_seen, plain_edges, plain_deaths = flood(walker, (sx, land_y))
        if reaches_exit(plain_seen, plain_edges, ex, ey) & {(sx, land_y)} and not plain_deaths:
            raise SystemExit("%s: the exit is reached without the %s" % (name, level["edit"][0]))

    path = walk_right(lesson, (sx, land_y), ex, ey)
    if path is None:
        raise SystemExit("%s: a follower walking right never reaches the exit" % name)
    paintable = edited
    share = paint_share(paintable, path)
    walk_px = sum(1 for i in range(1, len(path)) if path[i][0] != path[i - 1][0])
    fall_px = sum(1 for i in range(1, len(path)) if path[i][0] == path[i - 1][0])
    return {
        "start": (sx, sy), "exit": (ex, ey), "share": share,
        "walk_ms": walk_px * 50 + fall_px * 1000 // 45,
        "reachable": len(seen),
    }


def goal_for(share):
    """Below what one walk paints, in steps of 5: the column's later walkers, the leader's stray
    steps and the building or digging all move the share, and the first levels must be won easily."""
    return max(5, int(share * 100 * 0.8) // 5 * 5)


def build_level(level):
    solid, kind = build_solid(level)
    facts = check_rules(level, solid)
    terrain = colour_terrain(solid, kind)
    stamp = stamp_image(level["stamp"])
    bad = ac.off_palette_pixels(stamp)
    if bad:
        raise SystemExit("%s: stamp off the palette at %r" % (level["key"], bad[0]))
    (sx, sy), (ex, ey) = facts["start"], facts["exit"]
    last_out = 3200 + (level["count"] - 1) * level["interval"]
    if last_out + facts["walk_ms"] > level["minutes"] * 60000 // 2:
        raise SystemExit("%s: the last follower needs more than half the time" % level["key"])
    line = ",".join(str(v) for v in [
        level["key"], level["file"] + ".png", level["file"] + "_stamp.png", sx, sy, ex, ey,
        level["minutes"], level["survivors"], goal_for(facts["share"]), level["count"],
        level["interval"]])
    return Image.fromarray(terrain, "RGBA"), stamp, line, facts


# ---------------------------------------------------------------- lists


LIST_HEADER = [
    "# Levels: key,terrain,stamp,startX,startY,exitX,exitY,minutes,survivor %,goal %,creatures,"
    "interval ms",
    "# The first three teach walking, building and digging (tools/make_teaching_levels.py).",
]
NAMES_HEADER = ("# Level names shown to the player, one table for all languages: level key (first "
                "field of Countries/countries.txt)<TAB>name")


def merged_list(old_text, our_lines, our_keys, header, key_of):
    """Our header and lines first, then every other line that is not ours (other comments too)."""
    comments, kept = [], []
    for line in old_text.split("\n") if old_text else []:
        if not line or line in header:
            continue
        if line.startswith("#"):
            comments.append(line)
        elif key_of(line) not in our_keys:
            kept.append(line)
    return "\n".join(header + comments + our_lines + kept) + "\n"


def read_text(path):
    if not os.path.exists(path):
        return ""
    with open(path, "rb") as f:
        return f.read().decode("latin-1")


def outputs(root):
    files = {}
    lines, names, report = [], [], []
    for level in LEVELS:
        terrain, stamp, line, facts = build_level(level)
        files["Countries/%s.png" % level["file"]] = terrain
        files["Countries/%s_stamp.png" % level["file"]] = stamp
        lines.append(line)
        names.append("%s\t%s" % (level["key"], level["key"]))
        report.append("%s: walk paints %.0f %%, path %.1f s, %d places reachable -> %s" %
                      (level["key"], facts["share"] * 100, facts["walk_ms"] / 1000.0,
                       facts["reachable"], line))
    keys = {level["key"] for level in LEVELS}
    files[LIST_FILE] = merged_list(read_text(os.path.join(root, LIST_FILE)), lines, keys,
                                   LIST_HEADER, lambda l: l.split(",")[0])
    files[NAMES_FILE] = merged_list(read_text(os.path.join(root, NAMES_FILE)), names, keys,
                                    [NAMES_HEADER], lambda l: l.rsplit("\t", 1)[0])
    return files, report


def encode(value):
    if isinstance(value, str):
        return value.encode("latin-1")
    import io
    buf = io.BytesIO()
    clean = Image.frombytes("RGBA", value.size, value.tobytes())
    clean.save(buf, format="PNG", optimize=False, compress_level=9)
    return buf.getvalue()


def main(argv):
    args = [a for a in argv[1:] if a != "--check"]
    check_only = "--check" in argv
    root = args[0] if args else DATA_DIR
    files, report = outputs(root)
    for r in report:
        print(r)
    differ = []
    for relpath, value in files.items():
        path = os.path.join(root, relpath)
        data = encode(value)
        if check_only:
            if not os.path.exists(path) or open(path, "rb").read() != data:
                differ.append(relpath)
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        print(path)
    if differ:
        raise SystemExit("out of date: " + ", ".join(differ))


if __name__ == "__main__":
    main(sys.argv)
