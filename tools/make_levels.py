#!/usr/bin/python3
"""Builds the game's country levels from the public-domain Natural Earth shapes
of the npm package world-atlas 2.0.2.

    /usr/bin/python3 tools/make_levels.py [PACKAGE_DIR] [--out DIR]

PACKAGE_DIR is the unpacked package (the folder holding countries-50m.json).
--only KEY,... builds and plays just those countries, at their place in the
committed list, into --out: a quick look while working on the script.
Without it the script runs `npm pack world-atlas@2.0.2` in a temporary folder
and checks the tarball's hash. The output (terrain and stamp pictures under
data/Countries, "Countries/countries.txt", the level names in
data/Assets/texts/levelnames.txt) is committed, so the build never needs npm.

A level is its country's outline hatched with thin ledges, one every PITCH
rows. The creatures walk a chain of ledges from the spawn down to the exit,
dropping through a hole at the far end of each. The red byte of every ledge
pixel codes its height in the country, so painting shows the flag's
horizontal stripes across it. Every level is checked against a model of the
creatures' moves (the probes, the falls and their deadly height) before it is
written: everything the creatures can reach must lead to the exit, except
where the level's plan says the player builds or digs. Running the script
twice gives byte-identical files.
"""

import argparse
import hashlib
import io
import json
import math
import multiprocessing
import os
import sys
import tempfile
from collections import deque

import numpy as np
from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import art_common  # noqa: E402
import make_flags  # noqa: E402  (the flag names the levels must match)

PACKAGE = "world-atlas"
VERSION = "2.0.2"
TARBALL_SHA256 = "032e7765f2ce00edaeafec23ff22bc3b77e42987c257da944cc585b452c05b97"
ISO_TABLE = "/usr/share/iso-codes/json/iso_3166-1.json"

# Game rules the levels are built against (what the creatures do).
FALL_DEATH = 66          # a fall of more than this many pixels kills
WALK_PX_PER_S = 20.0
FALL_PX_PER_S = 45.0
FIRST_SPAWN_MS = 3200
MIN_W, MIN_H = 320, 200
MAX_W, MAX_H = 1600, 1000
FREE_ROWS = 9            # free rows a walkable place needs above its ground

# Level geometry.
PITCH = 30               # rows from one ledge's top to the next
THICK = 6                # ledge thickness; the stamp paints 7 rows under the feet
POST_W, POST_H = 3, 6    # the posts that turn the creatures at a ledge's end
HOLE_W = 4
MIN_LEDGE = 26           # shortest ledge worth walking
MIN_OVERLAP = 28         # a drop needs this much of the next ledge below it
HOLE_INSET = 8           # a hole lies this far inside the ends of both ledges
SPAWN_DROP = 10          # the spawn hangs this far above its ledge
MARGIN = 12
TOP_ROOM = 34            # the entry door stands 18 rows above the spawn
STAMP_H = 16
STAMP_MAX_W = 20

COUNTRY_MIN = 190

# Names the iso-codes table and the flag names spell differently.
NAME_FIXES = {
    "TR": "Turkey",        # iso-codes: Turkiye
    "CZ": "Czech Republic",
    "CV": "Cape Verde",    # iso-codes: Cabo Verde
}
BY_ATLAS_NAME = {"Kosovo": "Kosovo"}   # no ISO number in the atlas

LICENCE_NAME = "LICENSE-world-atlas.txt"
CREDIT = """Country shapes: Natural Earth (naturalearthdata.com), public domain,
through the npm package world-atlas 2.0.2 by Michael Bostock, whose licence
notice follows. The levels were made from countries-50m.json, and from
countries-10m.json for the countries too small for it, by tools/make_levels.py.

"""


# ---------------------------------------------------------------- the package

def run_npm_pack(workdir):
    return art_common.npm_pack(PACKAGE, VERSION, TARBALL_SHA256, workdir)


def decode_arcs(topo):
    """TopoJSON arcs are delta-coded integers on a quantised grid."""
    (sx, sy), (tx, ty) = topo["transform"]["scale"], topo["transform"]["translate"]
    arcs = []
    for arc in topo["arcs"]:
        q = np.cumsum(np.asarray(arc, dtype=np.int64), axis=0)
        arcs.append(np.column_stack((q[:, 0] * sx + tx, q[:, 1] * sy + ty)))
    return arcs


def ring_points(ring, arcs):
    parts = []
    for i, index in enumerate(ring):
        pts = arcs[index] if index >= 0 else arcs[~index][::-1]
        parts.append(pts if i == 0 else pts[1:])   # arcs share their end points
    return np.concatenate(parts)


def country_polygons(geometry, arcs):
    """[[outer ring, hole, ...], ...] in longitude/latitude."""
    if geometry["type"] == "Polygon":
        polys = [geometry["arcs"]]
    elif geometry["type"] == "MultiPolygon":
        polys = geometry["arcs"]
    else:
        return []
    return [[ring_points(r, arcs) for r in poly] for poly in polys]


# ---------------------------------------------------------------- names

def flag_names_by_code(flags_dir):
    with open(ISO_TABLE, encoding="utf-8") as f:
        table = json.load(f)["3166-1"]
    existing = set(os.listdir(flags_dir))
    by_number = {}
    for entry in table:
        code = entry["alpha_2"]
        candidates = [make_flags.COMMON_NAMES.get(code), NAME_FIXES.get(code)]
        for key in ("common_name", "name"):
            if key in entry:
                candidates.append(make_flags.plain_name(entry[key]))
        for name in candidates:
            if name and name + make_flags.SUFFIX in existing:
                by_number[entry["numeric"]] = name
                break
    return by_number, existing


# ---------------------------------------------------------------- projection

def project(polys):
    """Equirectangular around the country's middle latitude, longitudes moved
    across the antimeridian when that makes the country narrower."""
    all_lon = np.concatenate([p[0][:, 0] for p in polys])
    shift = 0.0
    if all_lon.max() - all_lon.min() > 180:
        shift = 360.0
    out = []
    for poly in polys:
        rings = []
        for ring in poly:
            r = ring.copy()
            if shift:
                r[r[:, 0] < 0, 0] += shift
            rings.append(r)
        out.append(rings)
    lats = np.concatenate([p[0][:, 1] for p in out])
    coslat = math.cos(math.radians((lats.min() + lats.max()) / 2))
    result = []
    for rings in out:
        result.append([np.column_stack((r[:, 0] * coslat, -r[:, 1])) for r in rings])
    return result


def ring_area(r):
    x, y = r[:, 0], r[:, 1]
    return abs(float(np.dot(x, np.roll(y, -1)) - np.dot(y, np.roll(x, -1)))) / 2


def main_shape(polys, reach_share=0.25):
    """The largest piece and the islands near it, not far-flung territories."""
    order = sorted(range(len(polys)), key=lambda i: -ring_area(polys[i][0]))
    chosen = [order[0]]
    box = bbox(polys[order[0]][0])
    reach = reach_share * max(box[2] - box[0], box[3] - box[1])
    grew = True
    while grew:
        grew = False
        for i in order:
            if i in chosen:
                continue
            b = bbox(polys[i][0])
            gap = max(b[0] - box[2], box[0] - b[2], b[1] - box[3], box[1] - b[3], 0)
            if gap <= reach and ring_area(polys[i][0]) > 0:
                chosen.append(i)
                box = (min(box[0], b[0]), min(box[1], b[1]), max(box[2], b[2]), max(box[3], b[3]))
                grew = True
    return [polys[i] for i in sorted(chosen)], box


def bbox(r):
    return (float(r[:, 0].min()), float(r[:, 1].min()), float(r[:, 0].max()), float(r[:, 1].max()))


def rasterise(polys, box, scale, width, height, ox, oy):
    img = Image.new("L", (width, height), 0)
    draw = ImageDraw.Draw(img)
    for rings in polys:
        for k, ring in enumerate(rings):
            pts = [(ox + (x - box[0]) * scale, oy + (y - box[1]) * scale) for x, y in ring]
            if len(pts) >= 3:
                draw.polygon(pts, fill=0 if k else 1)
    return np.asarray(img, dtype=bool)


# ---------------------------------------------------------------- the rules

class Rules:
    """What a creature does on a terrain, pixel for pixel: the probes of a
    walking creature, falls, and deadly heights."""

    def __init__(self, solid):
        self.solid = solid
        self.h, self.w = solid.shape

    def blocked(self, x, y):
        if x < 0 or x >= self.w:
            return True
        return 0 <= y < self.h and bool(self.solid[y, x])

    def is_solid(self, x, y):
        return 0 <= x < self.w and 0 <= y < self.h and bool(self.solid[y, x])

    def probe(self, x, y, d):
        c = x + d
        rows = [self.blocked(c, y - 12 + k) for k in range(16)]

        def free(a, b):
            return not any(rows[a:b + 1])
        if not rows[12]:
            for dd in range(3):
                if rows[13 + dd]:
                    return free(7 - dd, 12 - dd), dd
            return free(7, 12), 3
        for c2 in range(3):
            if not rows[11 - c2]:
                return free(6 - c2, 11 - c2), -(c2 + 1)
        return False, -4

    def fall(self, x, y):
        """Lands from (x, y): (landing y, fall height), y None when out of the level."""
        y0 = y
        while not self.is_solid(x, y + 1):
            y += 1
            if y >= self.h:
                return None, y - y0
        return y, y - y0

    def step(self, x, y, d):
        """One pixel of walking from a standing place: ('stand', x, y, path),
        ('dead', ...) or None when that side cannot be walked."""
        can, st = self.probe(x, y, d)
        if not can:
            return None
        x += d
        if st >= 3:
            ly, height = self.fall(x, y)
            path = [(x, yy) for yy in range(y, (ly if ly is not None else self.h) + 1)]
            if ly is None or height > FALL_DEATH:
                return ("dead", x, y, path)
            return ("stand", x, ly, path)
        return ("stand", x, y + st, [(x, y + st)])


def flood(rules, start, exit_box):
    """Every standing place reachable from `start` (already landed) with its
    moves; returns (graph, deaths, trapped)."""
    graph = {}
    deaths = []
    trapped = []
    todo = deque([start])
    graph[start] = None
    while todo:
        node = todo.popleft()
        moves = []
        for d in (1, -1):
            r = rules.step(node[0], node[1], d)
            if r is None:
                continue
            kind, x, y, path = r
            if kind == "dead":
                deaths.append((node, d))
                continue
            nxt = (x, y)
            moves.append((nxt, path))
            if nxt not in graph:
                graph[nxt] = None
                todo.append(nxt)
        if not moves:
            trapped.append(node)
        graph[node] = moves
    return graph, deaths, trapped


def in_box(p, box):
    return box[0] <= p[0] <= box[2] and box[1] <= p[1] <= box[3]


def reaches_exit(graph, exit_box):
    """The places from which some walk reaches the exit box."""
    back = {n: [] for n in graph}
    good = set()
    for n, moves in graph.items():
        if in_box(n, exit_box):
            good.add(n)
        for nxt, path in moves:
            back[nxt].append(n)
            if any(in_box(p, exit_box) for p in path):
                good.add(n)
    todo = deque(good)
    while todo:
        n = todo.popleft()
        for m in back[n]:
            if m not in good:
                good.add(m)
                todo.append(m)
    return good


def check_rules(solid, level, intended=False):
    """Problems of a level against the rules (empty when fine). `intended`:
    the terrain before the planned build or dig, where a place that cannot
    reach the exit is the puzzle, but a fall or trap that kills is not, unless
    the plan names it."""
    rules = Rules(solid)
    problems = []
    sx, sy, ex, ey = level["start"][0], level["start"][1], level["exit"][0], level["exit"][1]
    w, h = level["size"]
    if not (MIN_W <= w <= MAX_W and MIN_H <= h <= MAX_H):
        problems.append("size %dx%d outside the limits" % (w, h))
    if not (0 <= sx < w and 0 <= sy < h and 0 <= ex < w and 0 <= ey < h):
        return problems + ["spawn or exit outside the terrain"], {}, set()
    if any(rules.is_solid(sx, sy - k) for k in range(9)):
        problems.append("spawn pixel or the 8 rows above it not free")
    land, height = rules.fall(sx, sy)
    if land is None or height > FALL_DEATH:
        return problems + ["spawn fall of %d kills" % height], {}, set()
    if not rules.is_solid(ex, ey) or rules.is_solid(ex, ey - 1):
        problems.append("exit (%d,%d) not on its first ground row" % (ex, ey))
    exit_box = (ex - 2, ey - 2, ex + 1, ey + 1)
    if in_box((sx, sy), exit_box):
        problems.append("spawn inside the exit box")
    start = (sx, land)
    graph, deaths, trapped = flood(rules, start, exit_box)
    if deaths and not (intended and level.get("deadly_ok")):
        problems.append("%d deadly moves, first from %s" % (len(deaths), deaths[0]))
    if trapped:
        problems.append("%d places where a creature is trapped, first %s" % (len(trapped), trapped[0]))
    for (x, y) in graph:
        if any(rules.is_solid(x, y - k) for k in range(FREE_ROWS)):
            problems.append("walkable place (%d,%d) has less than %d free rows" % (x, y, FREE_ROWS))
            break
    good = reaches_exit(graph, exit_box)
    lost = [n for n in graph if n not in good]
    if not intended and lost:
        problems.append("%d reachable places never reach the exit, first %s" % (len(lost), lost[0]))
    if not intended and start not in good:
        problems.append("the exit cannot be reached")
    return problems, graph, good


# ---------------------------------------------------------------- playing a plan

TICK_MS = 50                 # one pixel of walking
INK_CAPACITY = 5000
JITTER_MS, LATE_MS, AIM_PX = 300, 500, 3
BRUSH_PATH = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "Assets", "graphics",
                          "brush.png")


class Draws:
    """A small seeded generator that the robot player repeats number for number (splitmix64), so a
    jitter seed shifts the same inputs the same way here and in the real game."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFFFFFFFFFF

    def next(self):
        self.state = (self.state + 0x9E3779B97F4A7C15) & 0xFFFFFFFFFFFFFFFF
        z = self.state
        z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & 0xFFFFFFFFFFFFFFFF
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & 0xFFFFFFFFFFFFFFFF
        return z ^ (z >> 31)

    def within(self, spread):
        return int(self.next() % (2 * spread + 1)) - spread


def parse_plan(text):
    steps = []
    for line in text.splitlines():
        if not line or line.startswith("#"):
            continue
        f = line.split()
        steps.append((int(f[0]), f[1], f[2], int(f[3]), int(f[4])))
    return steps


def jittered(steps, seed):
    """Every input shifted by up to JITTER_MS either way; a stroke also LATE_MS late and up to AIM_PX off
    its aim, as a player's hand would be. The draws go line by line: shift, then (strokes) x and y."""
    draws = Draws(seed)
    out = []
    for i, (ms, leader, button, x, y) in enumerate(steps):
        ms += draws.within(JITTER_MS)
        if button != "none":
            ms += LATE_MS
            x += draws.within(AIM_PX)
            y += draws.within(AIM_PX)
        out.append((max(0, ms), i, leader, button, x, y))
    out.sort()
    return [(ms, leader, button, x, y) for ms, _, leader, button, x, y in out]


def brush_mask():
    with Image.open(BRUSH_PATH) as im:
        return np.asarray(im.convert("RGBA"))[..., 3] > 0


class Creature:
    __slots__ = ("x", "y", "state", "right", "fall_from", "fall_rem", "delay", "decide", "trapped", "clock")

    def __init__(self, x, y, delay):
        self.x, self.y, self.state, self.right = x, y, 0, True
        self.fall_from, self.fall_rem, self.delay, self.decide, self.trapped, self.clock = y, 0.0, delay, 0, 0, 0


LAST_PLAY = {}               # the creatures and terrain at the end of the last play, for a look when one fails
WAITING, FALLING, STANDING, WALKING, ENTERING, DYING, DEAD, SAVED = range(8)


def play(solid, paintable, level, nums, steps, stamp_size, seed, limit_ms):
    """Plays the timed inputs on the terrain by the creatures' rules, in steps of TICK_MS: the leader,
    the followers leaving the door, their turns towards the leader, falls, traps, the paint under them,
    the brush with its reserves and the view it must be aimed in. Returns (won, cause, ms, survivor %,
    paint %) at the end; cause "-" for a win, else survivors, time or leader."""
    solid = solid.copy()
    paintable = paintable.copy()
    rules = Rules(solid)
    h, w = solid.shape
    cache = {}

    def probe(x, y, d):
        key = (x, y, d)
        r = cache.get(key)
        if r is None:
            r = cache[key] = rules.probe(x, y, d)
        return r

    draws = Draws(seed ^ 0x5EED)
    painted = np.zeros_like(paintable)
    count = [0, int(paintable.sum())]
    seen = set()
    sw, sh = stamp_size
    tip = brush_mask()
    bh_, bw_ = tip.shape
    hit = 1 - (1 - 1 / tip.size) ** (3 * (tip.size // 4))
    ink = {"left": INK_CAPACITY, "right": INK_CAPACITY}
    view = list(first_view(level))
    ex, ey = level["exit"]
    sx, sy = level["start"]
    leader = Creature(sx, sy, 0)
    total = nums["count"]
    followers = [Creature(sx, sy, i * nums["interval"] + FIRST_SPAWN_MS) for i in range(total)]
    alive, saved = total, 0
    step_i, now = -1, None

    def die(c):
        c.state, c.clock = DYING, 0

    def update(c, held):
        nonlocal alive, saved
        if c.state == DYING:
            c.clock += TICK_MS
            if c.clock >= 960:
                c.state = DEAD
                if c is not leader:
                    alive -= 1
            return
        if c.state == ENTERING:
            c.clock += TICK_MS
            if c.clock >= 480:
                c.state = SAVED
                saved += 1
            return
        if c.state in (DEAD, SAVED):
            return
        x, y = c.x, c.y
        ground = rules.is_solid(x, y + 1)
        if c.state == WAITING:
            c.delay -= TICK_MS
            if c.delay < 0:
                c.state, c.fall_from = FALLING, y
            return
        if c.state == FALLING:
            if not ground:
                c.fall_rem += TICK_MS * FALL_PX_PER_S / 1000
                n = int(c.fall_rem)
                c.fall_rem -= n
                for _ in range(n):
                    if rules.is_solid(c.x, c.y + 1):
                        break
                    c.y += 1
            else:
                if c.y - c.fall_from > FALL_DEATH:
                    die(c)
                else:
                    if c is not leader and c.y - c.fall_from > 20:
                        c.right = leader.x - c.x > 0
                    c.state, c.fall_rem = STANDING, 0.0
            if c.y >= h and c.state != DYING:
                die(c)
            return
        canr, str_ = probe(x, y, 1)
        canl, stl = probe(x, y, -1)
        if c.state == STANDING:
            if c is leader:
                if held:
                    c.state = WALKING
                if not ground:
                    c.state, c.fall_from, c.fall_rem = FALLING, y, 0.0
                return
            if canl or canr:
                c.state, c.trapped = WALKING, 0
            else:
                c.trapped += TICK_MS
                if c.trapped > 7000:
                    die(c)
            return
        # walking
        if x < 0 or x > w:
            die(c)
            return
        can, st = (canr, str_) if c.right else (canl, stl)
        if can:
            c.x += 1 if c.right else -1
            if st >= 3:
                c.state, c.fall_from, c.fall_rem = FALLING, c.y, 0.0
            else:
                c.y += st
        if c is leader:
            if held:
                c.right = held == "right"
            else:
                c.state = STANDING
            return
        c.decide += TICK_MS
        if c.decide > 2000:
            c.decide = 0
            d = leader.x - c.x
            if d > draws.next() % 30 + 50:
                c.right = True
            if d < -50 - draws.next() % 30:
                c.right = False
        if c.state == WALKING:
            if not canl and not canr:
                c.state = STANDING
            elif not (canr if c.right else canl):
                c.right = not c.right

    def paint(c):
        key = (c.x, c.y)
        if key in seen:
            return
        seen.add(key)
        x0, y0 = max(0, c.x - sw // 2), max(0, c.y - sh // 2)
        x1, y1 = min(w, c.x - sw // 2 + sw), min(h, c.y - sh // 2 + sh)
        if x1 <= x0 or y1 <= y0:
            return
        win = paintable[y0:y1, x0:x1] & ~painted[y0:y1, x0:x1]
        count[0] += int(win.sum())
        painted[y0:y1, x0:x1] |= win

    def on_screen(px, py):
        return view[0] + 12 <= px <= view[0] + VIEW_W - 12 and view[1] + 12 <= py <= view[1] + VIEW_H - 12

    def look_at(px, py):
        for k, p, side, span in ((0, px, VIEW_W, w), (1, py, VIEW_H, h)):
            if p < view[k] + 12:
                view[k] -= 3
            elif p > view[k] + side - 12:
                view[k] += 3
            view[k] = min(max(view[k], 0), span - side)

    def brush(button, cx, cy):
        if ink[button] < 1:
            return
        ys, xs = np.nonzero(tip & (draws_np.random(tip.shape) < hit))
        tx, ty = xs + cx - bw_ // 2, ys + cy - bh_ // 2
        keep = (tx >= 0) & (tx < w) & (ty >= 0) & (ty < h)
        tx, ty = tx[keep], ty[keep]
        if button == "left":
            new = ~solid[ty, tx]
            tx, ty = tx[new], ty[new]
            solid[ty, tx] = True
            count[1] += int((~paintable[ty, tx]).sum())
            paintable[ty, tx] = True
        else:
            count[1] -= int(paintable[ty, tx].sum())
            solid[ty, tx] = False
            paintable[ty, tx] = False
        count[0] -= int(painted[ty, tx].sum())
        painted[ty, tx] = False
        if len(tx):
            cache.clear()
            seen.clear()

    draws_np = np.random.default_rng(seed)
    t = 0
    while True:
        while step_i + 1 < len(steps) and steps[step_i + 1][0] <= t:
            step_i += 1
        now = steps[step_i] if step_i >= 0 else None
        held = now[1] if now and now[1] != "none" else None
        button = now[2] if now and now[2] != "none" else None
        for b in ("left", "right"):
            if b == button and on_screen(now[3], now[4]):
                ink[b] = max(0, ink[b] - TICK_MS)
            else:
                ink[b] = min(INK_CAPACITY, ink[b] + TICK_MS)
        if now and (now[3] or now[4]):
            if on_screen(now[3], now[4]):
                if button:
                    brush(button, now[3], now[4])
            else:
                look_at(now[3], now[4])
        else:
            look_at(min(max(leader.x, view[0] + 100), view[0] + VIEW_W - 100),
                    min(max(leader.y, view[1] + 60), view[1] + VIEW_H - 60))
        update(leader, held)
        share = count[0] * 100 // max(1, count[1])
        open_ = share >= nums["goal"]
        for c in followers:
            update(c, None)
            if c.state in (FALLING, WALKING):
                paint(c)
            if open_ and c.state < ENTERING and ex - 2 <= c.x <= ex + 1 and ey - 2 <= c.y <= ey + 1:
                c.state, c.clock = ENTERING, 0
        t += TICK_MS
        survivors = alive * 100 // total
        LAST_PLAY["followers"], LAST_PLAY["leader"], LAST_PLAY["solid"] = followers, leader, solid
        cause = None
        if leader.state in (DYING, DEAD):
            cause = "leader"
        elif survivors < nums["survivors"] or alive == 0:
            cause = "survivors"
        elif t >= limit_ms:
            cause = "time"
        elif open_ and alive == saved and saved > 0:
            return True, "-", t, survivors, share
        if cause:
            return False, cause, t, survivors, share


# ---------------------------------------------------------------- building

def segments(row):
    """Runs of True in a boolean row as (first, last)."""
    padded = np.concatenate(([False], row, [False]))
    edges = np.flatnonzero(padded[1:] != padded[:-1])
    return [(int(a), int(b) - 1) for a, b in zip(edges[0::2], edges[1::2])]


def ledge_rows(mask):
    """Ledge tops, one every PITCH rows from the country's top."""
    rows = np.flatnonzero(mask.any(axis=1))
    if len(rows) == 0:
        return []
    return list(range(int(rows[0]) + 2, int(rows[-1]) - THICK + 1, PITCH))


def layer_segments(mask, top, join=0):
    """The ledges of one layer, over land only; lands at most `join` pixels apart share a ledge, the sea
    between them left for the player to bridge."""
    runs = joined_runs(mask[top:top + THICK].all(axis=0), join)
    return [(a + 1, b - 1) for a, b in runs if b - a - 1 >= MIN_LEDGE]


def joined_runs(band, join):
    """The runs of True in `band`, runs at most `join` pixels apart made one."""
    runs = []
    for a, b in segments(band):
        if runs and a - runs[-1][1] - 1 <= join:
            runs[-1] = (runs[-1][0], b)
        else:
            runs.append((a, b))
    return runs


BRIDGE_W = 12                # the widest sea a ledge may leave open: one build fills it
LAND_NEAR = 2                # a ledge column stands over land or this close to it
ISLAND_SHARE = 0.75          # an island country: its largest island holds less of its land than this


def near_land(mask):
    out = mask.copy()
    for dy in range(-LAND_NEAR, LAND_NEAR + 1):
        for dx in range(-LAND_NEAR, LAND_NEAR + 1):
            out[max(0, dy):mask.shape[0] + min(0, dy), max(0, dx):mask.shape[1] + min(0, dx)] |= \
                mask[max(0, -dy):mask.shape[0] + min(0, -dy), max(0, -dx):mask.shape[1] + min(0, -dx)]
    return out


def open_the_sea(level, mask, solid, ledges, chain, holes):
    """Takes the ledges off the sea between islands. On the column's way a stretch of sea no wider
    than BRIDGE_W stays in the level as a gap for the plan to build across (listed in level["gaps"]);
    a wider one there refuses the layout (False). Off the way the sea is cut, with a post where the
    column could walk up to it. The holes, the landings and the exit keep their flat ground."""
    land = near_land(mask)
    on_way = {}
    for (li, seg), (_, x0, x1) in zip(chain, level["walked"]):
        on_way[(li, seg)] = (min(x0, x1), max(x0, x1))
    keep = set()
    for li, seg, hx in holes:
        keep.update((li, x) for x in range(hx - 6, hx + HOLE_W + 6))
    ex = level["exit"][0]
    eli = chain[-1][0]
    keep.update((eli, x) for x in range(ex - 22, ex + 22))
    gaps = []
    for li, seg, surf in ledges:
        top = level["ledge_top"][li]
        a, b = seg
        if (li, seg) not in on_way:
            # An island off the column's way keeps its coast and no ledge: a ledge the walk never
            # paints would only lower the share of the country it can paint.
            solid[:top + THICK, a:b + 1][top - POST_H - 3:] = False
            continue
        sea = ~land[top:top + THICK, a:b + 1].all(axis=0)
        for k in range(a, b + 1):
            if (li, k) in keep:
                if sea[k - a]:
                    return False      # a hole or the exit over the sea: the ground there must stay
                sea[k - a] = False
        way = on_way.get((li, seg))
        for r0, r1 in segments(sea):
            r0, r1 = r0 + a, r1 + a
            if way and r0 <= way[1] + 2 and r1 >= way[0] - 2:
                # The bridge is centred on the sea where it can be; near a ledge's end or a hole it
                # slides over the land beside, still covering all of the sea.
                fits = [x for x in range(r1 - BRIDGE_W + 1, r0 + 1)
                        if x >= a + POST_W + 2 and x + BRIDGE_W - 1 <= b - POST_W - 2
                        and not any((li, k) in keep for k in range(x - 2, x + BRIDGE_W + 2))]
                if not fits:
                    return False
                x = min(fits, key=lambda x: (abs(2 * x + BRIDGE_W - 1 - r0 - r1), x))
                box = (x, top, x + BRIDGE_W - 1, top + THICK - 1)
                # The ledge as built is the bridge the plan makes: flat, THICK rows.
                solid[:top, box[0]:box[2] + 1][top - POST_H - 3:] = False
                solid[top:top + THICK, box[0]:box[2] + 1] = True
                gaps.append(box)
                continue
            solid[:top + THICK, r0:r1 + 1][top - POST_H - 3:] = False
            # A post where the ledge now ends, on each side the column might walk to.
            for x0 in (r0 - POST_W, r1 + 1):
                if a <= x0 and x0 + POST_W - 1 <= b:
                    for x in range(x0, x0 + POST_W):
                        s = surf[x - a]
                        solid[s - POST_H:s, x] = True
    level["gaps"] = gaps
    return True


def plan_chain(layers, max_drop=None, inset=HOLE_INSET, room=MIN_OVERLAP - 2 * HOLE_INSET):
    """The walked ledges: from the top layer down, each dropping through a hole
    onto an overlapping ledge of the next layer, at most `max_drop` rows below
    when given. The hole lies `inset` pixels inside both ledges' ends, in a stretch `room` pixels wide.
    Returns [(layer, seg)]."""

    def drops(k, cur):
        # Past a layer with no ledge under the hole the drop may reach the one below it, among
        # islands or down a thin land's narrows, as long as it is no deeper than `max_drop`.
        options = []
        for j in range(k + 1, len(layers) if max_drop is not None else min(k + 2, len(layers))):
            if max_drop is not None and layers[j][0] - layers[k][0] > max_drop:
                break
            for nseg in layers[j][1]:
                lo, hi = max(cur[0], nseg[0]) + inset, min(cur[1], nseg[1]) - inset
                if hi - lo + 1 >= room and not any(
                        s[0] <= hi + inset and s[1] >= lo - inset for _, ss in layers[k + 1:j] for s in ss):
                    options.append((j, nseg))
            if options:
                break
        options.sort(key=lambda o: (-o[1][1] + o[1][0], o[1][0]))
        return options

    best = []
    if max_drop is None:
        # Try every ledge of the first few layers as the spawn ledge, each drop onto the widest
        # ledge below; keep the chain that walks farthest.
        for first in range(min(3, len(layers))):
            for seg in layers[first][1]:
                chain = [(first, seg)]
                while True:
                    options = drops(*chain[-1])
                    if not options:
                        break
                    chain.append(options[0])
                if sum(s[1] - s[0] for _, s in chain) > sum(s[1] - s[0] for _, s in best):
                    best = chain
        return best
    # Among islands or down a thin land the spawn may be on any ledge and the way may turn at any drop:
    # the longest walk of all, found from the bottom layer up.
    longest = {}
    for k in range(len(layers) - 1, -1, -1):
        for seg in layers[k][1]:
            tail = max((longest[o] for o in drops(k, seg)), key=lambda t: t[0], default=(0, []))
            longest[(k, seg)] = (seg[1] - seg[0] + tail[0], [(k, seg)] + tail[1])
    for k in range(len(layers)):
        for seg in layers[k][1]:
            if longest[(k, seg)][0] > sum(s[1] - s[0] for _, s in best):
                best = longest[(k, seg)][1]
    return best


def surface_offsets(a, b, rng):
    """Gentle steps along a ledge's top: 0 to 2 rows up, changing by one or two
    rows every few pixels, flat near the ends and holes."""
    n = b - a + 1
    off = np.zeros(n, dtype=np.int64)
    level = 0
    x = 8
    while x < n - 8:
        run = int(rng.integers(10, 40))
        level = int(np.clip(level + rng.choice([-2, -1, 1, 2]), 0, 2))
        off[x:min(n - 8, x + run)] = level
        x += run
    return off


def zigzag_layers(mask, rows, join=0):
    """The ledges of long thin or scattered lands, whose own rows are too short or too far apart to
    chain: each layer's ledges are the land at its rows, as wide as the land is there (within
    LAND_NEAR of it), so a thin land's ledges never stick out past its coast; the chain then drops
    from one onto the next wherever they overlap enough for a hole (THIN_INSET, THIN_ROOM)."""
    layers = []
    for top in rows:
        segs = [seg for seg in land_runs(mask, top, join) if seg[1] - seg[0] + 1 >= THIN_LEDGE]
        if segs:
            layers.append((top, segs))
    return layers


def land_runs(mask, top, join=0):
    """The runs of a layer's rows that stand over land or within LAND_NEAR of it; lands at most `join`
    pixels apart stay one run, their sea left for open_the_sea to cut or leave for a bridge."""
    # Only the rows within LAND_NEAR of the layer reach it: dilating those, not the whole level, keeps a
    # thin country's many layers from widening the whole mask once each.
    lo = max(0, top - LAND_NEAR)
    band = near_land(mask[lo:top + THICK + LAND_NEAR])[top - lo:top - lo + THICK]
    return joined_runs(band.all(axis=0), join)


def off_land(mask, solid, gaps=()):
    """Terrain pixels over the sea: farther than LAND_NEAR from land, and not a post or step standing
    at most POST_H rows over a ledge that is near land. The bridges the plan builds do not count."""
    near = near_land(mask)
    ok = near.copy()
    for dy in range(1, POST_H + 1):
        ok[:-dy] |= near[dy:]
    out = solid & ~ok
    for x0, y0, x1, y1 in gaps:
        out[y0:y1 + 1, x0:x1 + 1] = False
    return out


MAX_WALK_S = 200             # a longer walk is a chore, not a puzzle
# A thin land's ledges are short: its holes lie closer to the ledges' ends, so the column walks most of each.
THIN_INSET, THIN_ROOM = 5, 8
THIN_LEDGE = 18              # and may be this short: a post, a hole, a landing, a post
DETOUR_PX = 24


def build_level(name, polys, box, walk_target, rng_seed, zigzag=False, islands=False):
    """Rasterises and hatches one country; None when the shape makes no level. The ledges of `islands`
    stand over land only, see open_the_sea."""
    bw, bh = box[2] - box[0], box[3] - box[1]
    if bw <= 0 or bh <= 0:
        return None
    area = sum(ring_area(p[0]) - sum(ring_area(r) for r in p[1:]) for p in polys)
    scale = math.sqrt(walk_target * PITCH / 0.8 / max(area, 1e-9))
    scale = min(scale, (MAX_W - 2 * MARGIN) / bw, (MAX_H - TOP_ROOM - MARGIN) / bh)
    # Too flat for three ledges, or too small to see: scale up within the limits.
    scale = max(scale, min(4 * PITCH / bh, (MAX_W - 2 * MARGIN) / bw))
    cw, ch = int(math.ceil(bw * scale)), int(math.ceil(bh * scale))
    width = max(MIN_W, cw + 2 * MARGIN)
    height = max(MIN_H, ch + TOP_ROOM + MARGIN)
    if width > MAX_W or height > MAX_H:
        return None
    ox, oy = (width - cw) // 2, TOP_ROOM + (height - TOP_ROOM - MARGIN - ch) // 2
    mask = rasterise(polys, box, scale, width, height, ox, oy)
    rows = ledge_rows(mask)
    if zigzag:
        layers = zigzag_layers(mask, rows, BRIDGE_W if islands else 0)
    else:
        layers = [(top, layer_segments(mask, top, BRIDGE_W if islands else 0)) for top in rows]
        layers = [(t, s) for t, s in layers if s]
    # Consecutive layers must be one pitch apart for drops to land safely.
    # Between islands a layer may have no land: the drop past it must not kill.
    inset = THIN_INSET if zigzag else HOLE_INSET
    chain = plan_chain(layers, 2 * PITCH if islands or zigzag else None, *((inset, THIN_ROOM) if zigzag else ()))
    if len(chain) < 3:
        return None
    rng = np.random.default_rng(rng_seed)
    solid = np.zeros((height, width), dtype=bool)
    top_of = {}                          # (layer) -> array of surface rows over the ledge
    country_rows = np.flatnonzero(mask.any(axis=1))
    ytop, ybot = int(country_rows[0]), int(country_rows[-1])
    ledges = []
    for li, (top, segs) in enumerate(layers):
        for seg in segs:
            a, b = seg
            off = surface_offsets(a, b, rng)
            surf = top - off
            for i, x in enumerate(range(a, b + 1)):
                solid[surf[i]:top + THICK, x] = True
            ledges.append((li, seg, surf))
            top_of[(li, seg)] = surf
    # Walk the chain: direction, hole, landing.
    holes = []
    walked = []      # (layer, from x, to x)
    x_land = None
    start = None
    facing = True    # the creatures start walking right and keep their way through a fall
    detour = 0
    for i, (li, seg) in enumerate(chain):
        a, b = seg
        if i + 1 < len(chain):
            nli, nseg = chain[i + 1]
            lo, hi = max(a, nseg[0]) + inset, min(b, nseg[1]) - inset - HOLE_W
            if x_land is None:
                # Spawn over the end of the ledge away from the hole.
                right = (b - hi) < (lo - a)
                x_land = a + 12 if right else b - 12
            else:
                right = (hi - x_land) > (x_land - lo)
            hx = hi if right else lo
            holes.append((li, seg, hx))
            to = hx if right else hx + HOLE_W - 1
        else:
            if x_land is None:
                x_land = a + 12
            right = (b - x_land) > (x_land - a)
            to = end = b - POST_W - 6 if right else a + POST_W + 6
            exit_x = end
            exit_seg = (li, seg)
        if start is None:
            start = x_land
        frm = x_land
        if zigzag and right != facing:
            # A thin land's short ledge: the column lands facing the far post and walks to it before
            # it turns, so the paint it leaves there counts, when the post is at most DETOUR_PX away:
            # farther, the leader, gone the other way, calls the followers back before they reach it.
            far = b - POST_W if facing else a + POST_W
            if abs(far - x_land) <= DETOUR_PX:
                frm = far
                detour += abs(frm - x_land)
        walked.append((li, frm, to))
        facing = right
        x_land = to
    for li, seg, hx in holes:
        top = layers[li][0]
        surf = top_of[(li, seg)]
        # The hole and a few pixels around it are flat, so the drop is clean.
        a = seg[0]
        for x in range(hx - 6, hx + HOLE_W + 6):
            if seg[0] <= x <= seg[1]:
                solid[:top + THICK, x][top - 3:] = False
                solid[top:top + THICK, x] = True
                surf[x - a] = top
        solid[:, hx:hx + HOLE_W][top - 3:top + THICK] = False
    # Posts at both ends of every ledge.
    for li, seg, surf in ledges:
        a, b = seg
        for x0 in (a, b - POST_W + 1):
            for x in range(x0, x0 + POST_W):
                s = surf[x - a]
                solid[s - POST_H:s, x] = True
    li0, seg0 = chain[0]
    surf0 = top_of[(li0, seg0)]
    ground = int(surf0[start - seg0[0]])
    level = {
        "name": name,
        "ledge_top": [t for t, _ in layers],
        "size": (width, height),
        "start": (start, ground - SPAWN_DROP - 1),
        "walked": walked,
        "segs": [seg for _, seg in chain],
        "detour": detour,
    }
    eli, eseg = exit_seg
    esurf = top_of[(eli, eseg)]
    level["exit"] = (exit_x, int(esurf[exit_x - eseg[0]]))
    # Drop the exit door onto flat ground.
    et = layers[eli][0]
    for x in range(exit_x - 22, exit_x + 22):
        if eseg[0] + POST_W <= x <= eseg[1] - POST_W:
            solid[:et, x][et - 3:] = False
            esurf[x - eseg[0]] = et
    level["exit"] = (exit_x, et)
    level["gaps"] = []
    if islands and not open_the_sea(level, mask, solid, ledges, chain, holes):
        return None
    return level, mask, solid, (ytop, ybot)


# ---------------------------------------------------------------- pictures

OUTLINE = (0, 101, 128)      # coast line: not solid (red 0), painted in its own colour


def height_code(ys, ytop, ybot):
    """Red byte by height within the country: 1 at its top, 254 at its bottom,
    so the paint takes the flag's row at the same height."""
    span = max(1, ybot - ytop)
    return np.clip(1 + (ys - ytop) * 253 // span, 1, 254)


def terrain_picture(mask, solid, rows):
    h, w = solid.shape
    ys = np.repeat(np.arange(h)[:, None], w, axis=1)
    red = height_code(ys, rows[0], rows[1])
    # Unpainted land runs from leaf green at the top to sand at the bottom, so
    # the height code in the red byte reads as land rather than a red ramp.
    green = 104 + red * 45 // 100
    blue = 52 + red * 22 // 100
    top_edge = solid & ~np.vstack((np.zeros((1, w), bool), solid[:-1]))
    green = np.where(top_edge, np.minimum(green + 30, 255), green)
    blue = np.where(top_edge, np.minimum(blue + 12, 255), blue)
    rgba = np.zeros((h, w, 4), dtype=np.uint8)
    rgba[solid] = np.stack((red, green, blue, np.full_like(red, 255)), axis=-1)[solid]
    inner = mask.copy()
    inner[1:-1, 1:-1] = mask[1:-1, 1:-1] & mask[:-2, 1:-1] & mask[2:, 1:-1] & mask[1:-1, :-2] & mask[1:-1, 2:]
    coast = mask & ~inner & ~solid
    rgba[coast] = OUTLINE + (255,)
    return rgba


def stamp_picture(polys, box):
    """The country's silhouette, STAMP_H rows tall; pixels outside it are
    transparent but not empty, so every row of the stamp paints."""
    bw, bh = box[2] - box[0], box[3] - box[1]
    sw = int(min(STAMP_MAX_W, max(12, round(STAMP_H * bw / bh))))
    scale = min((sw - 2) / bw, (STAMP_H - 2) / bh)
    big = 8
    ox = (sw - bw * scale) / 2
    oy = (STAMP_H - bh * scale) / 2
    shape = rasterise(polys, box, scale * big, sw * big, STAMP_H * big, ox * big, oy * big)
    cover = shape.reshape(STAMP_H, big, sw, big).mean(axis=(1, 3)) >= 0.35
    rgba = np.zeros((STAMP_H, sw, 4), dtype=np.uint8)
    rgba[...] = (1, 1, 1, 0)
    rgba[cover] = (163, 176, 77, 255)          # lime from the palette
    edge = cover & ~np.pad(cover, 1)[2:, 1:-1] | cover & ~np.pad(cover, 1)[1:-1, 2:]
    rgba[edge] = (61, 74, 50, 255)             # moss
    return rgba


def png_bytes(rgba):
    buf = io.BytesIO()
    Image.fromarray(rgba, "RGBA").save(buf, format="PNG", compress_level=9, optimize=False)
    return buf.getvalue()


# ---------------------------------------------------------------- play numbers

def feet_path(level, solid):
    """Places the column walks on its way, ledge by ledge (the stretch from
    where it lands to where it drops), with the falls between."""
    feet = []
    h = solid.shape[0]
    for li, x0, x1 in level["walked"]:
        for x in range(min(x0, x1), max(x0, x1) + 1):
            col = solid[:, x]
            # Feet stand on the first ledge pixel at or under this ledge's top.
            y = level["ledge_top"][li] - 4
            while y < h - 1 and not col[y + 1]:
                y += 1
            feet.append((x, y))
    # Only where a creature can really stand: the model of the moves has the last word.
    _, graph, _ = check_rules(solid, level)
    return [f for f in feet if f in graph]


def painted_share(rgba, feet, stamp_w, stamp_h):
    paintable = rgba[..., :3].any(axis=-1)
    h, w = paintable.shape
    hits = np.zeros((h + 1, w + 1), dtype=np.int64)
    marks = np.zeros((h, w), dtype=np.int64)
    for x, y in feet:
        marks[y, x] = 1
    hits[1:, 1:] = marks.cumsum(0).cumsum(1)
    # A pixel is painted when some foot lies in the window that reaches it.
    up, down = stamp_h - 1 - stamp_h // 2, stamp_h // 2
    left, right = stamp_w - 1 - stamp_w // 2, stamp_w // 2
    ys = np.arange(h)
    xs = np.arange(w)
    y0 = np.clip(ys - up, 0, h)[:, None]
    y1 = np.clip(ys + down + 1, 0, h)[:, None]
    x0 = np.clip(xs - left, 0, w)[None, :]
    x1 = np.clip(xs + right + 1, 0, w)[None, :]
    count = hits[y1, x1] - hits[y0, x1] - hits[y1, x0] + hits[y0, x0]
    painted = (count > 0) & paintable
    return int(painted.sum()), int(paintable.sum())


def path_seconds(level):
    walk = sum(abs(x1 - x0) for _, x0, x1 in level["walked"]) + level.get("detour", 0)
    drops = len(level["walked"]) - 1
    turns = sum(1 for a, b in zip(level["walked"], level["walked"][1:])
                if (a[2] - a[1] > 0) != (b[2] - b[1] > 0))
    return walk / WALK_PX_PER_S + (drops * PITCH + SPAWN_DROP) / FALL_PX_PER_S, walk, turns


# ---------------------------------------------------------------- the whole set

def load_countries(package_dir, flags_dir, atlas="countries-50m.json"):
    with open(os.path.join(package_dir, "package.json"), encoding="utf-8") as f:
        meta = json.load(f)
    if meta.get("name") != PACKAGE or meta.get("version") != VERSION:
        sys.exit("%s is not %s %s" % (package_dir, PACKAGE, VERSION))
    with open(os.path.join(package_dir, atlas), encoding="utf-8") as f:
        topo = json.load(f)
    arcs = decode_arcs(topo)
    names, _ = flag_names_by_code(flags_dir)
    found = []
    for g in topo["objects"]["countries"]["geometries"]:
        name = names.get(g.get("id")) or BY_ATLAS_NAME.get(g["properties"]["name"])
        polys = country_polygons(g, arcs)
        if not name or not polys:
            continue
        found.append((name, polys))
    # Two shapes carry Australia's number (the mainland and Ashmore and Cartier
    # Islands): a name keeps its largest shape.
    biggest = {}
    for name, polys in found:
        size = sum(ring_area(p[0]) for p in polys)
        if name not in biggest or size > biggest[name][0]:
            biggest[name] = (size, polys)
    return [(name, biggest[name][1]) for name in sorted(biggest, key=lambda n: n.encode("ascii"))]


def complexity(polys, box):
    """How hard a shape is to hatch and walk: ragged coasts and islands."""
    area = sum(ring_area(p[0]) for p in polys)
    perim = sum(float(np.hypot(*np.diff(p[0], axis=0).T).sum()) for p in polys)
    bw, bh = box[2] - box[0], box[3] - box[1]
    aspect = max(bw / bh, bh / bw)
    return perim * perim / max(area, 1e-12) / (4 * math.pi) + 0.5 * len(polys) + 0.3 * aspect


# The first levels teach one thing each; numbers for the rest follow the rank.
GOAL_FIRST, GOAL_LAST = 30, 60     # the paint goal along the list, in %
GOAL_BELOW_SHARE = 4               # and always this far below what the level's walk paints
LESSONS = ["walk", "bridge", "dig", "clock"]


def numbers(rank, lesson, level, painted, paintable, edits=0):
    """Creature count, interval, survivor share, goal and minutes for a level
    at `rank` (0 easiest, 1 hardest)."""
    seconds, walk, turns = path_seconds(level)
    count = int(round(6 + 18 * rank))
    interval = int(round(1500 - 700 * rank, -1))
    survivors = int(round(50 + 35 * rank))
    share = painted * 100 // max(1, paintable)
    goal = int(GOAL_FIRST + (GOAL_LAST - GOAL_FIRST) * rank)
    if lesson == "walk":
        count, interval = 5, 1500
    if lesson in ("walk", "bridge"):
        survivors = 40            # the first levels forgive a lost creature or two
    # Waiting at each turn for the column to come down, then the last one home.
    need = (FIRST_SPAWN_MS / 1000 + (count - 1) * interval / 1000 + seconds * 1.25 + turns * 8 + 10 +
            edits * EDIT_SECONDS)
    slack = 1.25 if lesson == "clock" else 1.9 - 0.5 * rank
    minutes = max(1, int(math.ceil(need * slack / 60)))
    return {"count": count, "interval": interval, "survivors": survivors, "goal": goal,
            "minutes": minutes, "need_s": need, "share": share}


def lesson_edit(lesson, level, solid):
    """The planned build or dig on the last walked ledge, between where the
    column lands and the exit: (terrain before the edit, box of the edit)."""
    li, x0, x1 = level["walked"][-1]
    top = level["ledge_top"][li]
    mid = (x0 + x1) // 2
    before = solid.copy()
    if lesson == "bridge":
        box = (mid - 6, top, mid + 5, top + THICK - 1)
        before[top - 3:top + THICK, box[0]:box[2] + 1] = False
    elif lesson == "dig":
        box = (mid - 3, top - 14, mid + 3, top - 1)
        before[box[1]:box[3] + 1, box[0]:box[2] + 1] = True
    else:
        return None, None
    return before, box


# Later levels combine what the lessons taught: walls to dig through on the walked ledges, from the
# level below on, and on the hardest a gap over the sea on the last ledge to bridge as well.
WALLS_FROM, TWO_WALLS_FROM, THREE_WALLS_FROM, BRIDGE_FROM = 10, 40, 70, 25
EDIT_SECONDS = 24            # one build or dig: the view scrolled there, two passes of strokes, a rest
BRUSH_R = 5                  # the brush's radius in pixels
WALL_FLAT = 12               # flat ledge on each side of a wall
SCROLL_MS = 2500             # time the plan gives the view to scroll to a build or dig
STROKE_MS = {"build": 800, "dig": 1200}   # each stroke held this long: no crumb survives the brush
REST_MS = 4400               # between passes: the reserve refills


def wall_count(index):
    if index < WALLS_FROM:
        return 0
    return 1 if index < TWO_WALLS_FROM else 2 if index < THREE_WALLS_FROM else 3


def wall_box(level, li, x0, x1):
    top = level["ledge_top"][li]
    mid = (x0 + x1) // 2
    return (mid - 3, top - 14, mid + 3, top - 1)


def edits_blocked(before, level, deadly_ok):
    """True when the level, edits undone, obeys the rules but cannot be won."""
    trial = dict(level, deadly_ok=deadly_ok)
    problems, graph, _ = check_rules(before, trial, intended=True)
    ex, ey = level["exit"]
    return not problems and not any(in_box(n, (ex - 2, ey - 2, ex + 1, ey + 1)) for n in graph)


def puzzle_edits(index, m):
    """The builds and digs a later level asks for: (terrain before them, [(kind, box)]). The walls
    stand in the middle of long walked stretches, away from where the column lands and drops; each
    one is kept only when the level with it still obeys the rules, and all of them done must give
    the level as built."""
    level, solid = m["level"], m["solid"]
    gaps = level.get("gaps", [])
    edits = []
    before = solid.copy()

    def clear_of_gaps(box, top):
        # A wall or a second bridge next to the sea between islands would leave no ledge to stand on.
        return all(g[1] != top or box[2] + 2 * WALL_FLAT < g[0] or box[0] - 2 * WALL_FLAT > g[2] for g in gaps)
    bridge = False
    if index >= BRIDGE_FROM:
        b_before, box = lesson_edit("bridge", level, solid)
        li, x0, x1 = level["walked"][-1]
        if abs(x1 - x0) >= 80 and not solid[box[3] + 1:, box[0]:box[2] + 1].any() and \
                clear_of_gaps(box, box[1]) and edits_blocked(b_before, level, True):
            before, bridge = b_before, True
            edits.append(("build", box))
    want = wall_count(index)
    # The last stretch holds the bridge; walls go on the ones before it, latest first.
    # A thin land's zig-zag ledges are short: its walls go on them when no long stretch takes one.
    for shortest in (80, 50):
        for li, x0, x1 in reversed(level["walked"][:-1] if bridge else level["walked"]):
            if sum(1 for k, _ in edits if k == "dig") >= want:
                break
            if abs(x1 - x0) < shortest:
                continue
            box = wall_box(level, li, x0, x1)
            if not clear_of_gaps(box, box[3] + 1):
                continue
            trial = before.copy()
            # The ledge runs flat on either side of a wall: a raised rim beside a dig a hand made too
            # deep would be a step the column cannot climb out of.
            trial[box[3] - 2:box[3] + 1, box[0] - WALL_FLAT:box[2] + WALL_FLAT + 1] = False
            trial[box[1]:box[3] + 1, box[0]:box[2] + 1] = True
            if not edits_blocked(trial, level, bridge):
                continue
            before = trial
            edits.append(("dig", box))
        if any(k == "dig" for k, _ in edits):
            break
    # The sea between near islands is built first: the column meets it on its way down.
    for box in gaps:
        before[box[1] - 3:box[3] + 1, box[0]:box[2] + 1] = False
    edits = [("build", box) for box in gaps] + edits
    after = before.copy()
    for kind, box in edits:
        after[box[1]:box[3] + 1, box[0]:box[2] + 1] = kind == "build"
    if check_rules(after, level)[0]:
        if level.get("gaps"):
            sys.exit("%s: the bridged islands break the rules" % m["name"])
        return solid, []
    return before, edits


def seed_of(name):
    return int.from_bytes(hashlib.sha256(name.encode()).digest()[:4], "little")


# Lands with no people of their own: nobody looks for them as a country.
UNINHABITED = {"Antarctica", "French Southern Territories", "Heard and McDonald Islands", "South Georgia",
               "British Indian Ocean Territory"}
# Countries a player knows by their main land alone: a far territory (Alaska and Hawaii, Svalbard, the
# Arctic islands) would shrink the land everybody looks for to a strip.
NEAR_ONLY = {"United States": 0.0, "Norway": 0.0, "Canada": 0.0}


def build_best(name, polys, box, target, small=False, islands=False):
    """Tries the walk length the rank asks for, then the largest scale the limits allow, then shorter
    and longer walks; keeps the variant that obeys the rules and paints the most of the country. A
    `small` country tries first the largest scale whose walk is no chore: it is known by its shape."""
    best = None
    bw, bh = box[2] - box[0], box[3] - box[1]
    largest = 1e9                     # build_level caps every target at the size limits
    tries = [largest, target] if max(bw / bh, bh / bw) > 2.5 else [target, largest]
    if small:
        tries = [max(target, SMALL_WALK)] + tries
    walks = tries + [target * 0.6, target * 1.6, target * 0.35]
    # An archipelago's land-only walk may need a smaller scale before its islands chain.
    zigzags = walks + [target * 0.8] if islands else [largest, target]
    for walk, zigzag in [(walk, False) for walk in walks] + [(walk, True) for walk in zigzags]:
        made = build_level(name, polys, box, walk, seed_of(name), zigzag, islands)
        if made is None or check_rules(made[2], made[0])[0] or off_land(made[1], made[2], made[0]["gaps"]).any():
            continue
        m = measure(name, polys, box, *made)
        if m["seconds"] > MAX_WALK_S:
            continue
        if islands and (m["seconds"] < MIN_SECONDS or m["share"] < MIN_SHARE):
            continue              # too little of the archipelago on the way: see ISLANDS_AS_ONE
        if best is None or m["share"] > best[0] + 4:
            best = (m["share"], made)
        if best[0] >= 45:
            break
    return best[1] if best else None


# A coast whose edges average more than this many pixels at the largest scale the size limits allow reads
# as a polygon cut with scissors, not as the country: such a country is drawn from the finer file.
FINE_EDGE_PX = 40
FINE_USED = []               # the countries drawn from the finer file
ISLANDS_BRIDGED, ISLANDS_AS_ONE = [], []
SMALL_WALK = 2400            # their walk, in pixels of ledge: as large as a walk stays short of a chore


def edge_px(polys, box):
    """The mean length of the outline's edges, in pixels, at the largest scale the limits allow."""
    bw, bh = box[2] - box[0], box[3] - box[1]
    if bw <= 0 or bh <= 0:
        return math.inf
    scale = min((MAX_W - 2 * MARGIN) / bw, (MAX_H - TOP_ROOM - MARGIN) / bh)
    perim = sum(float(np.hypot(*np.diff(p[0], axis=0).T).sum()) for p in polys)
    return perim * scale / sum(len(p[0]) - 1 for p in polys)


def generate(package_dir, out_dir, names_path, flags_dir, only=None):
    countries = load_countries(package_dir, flags_dir)
    fine = dict(load_countries(package_dir, flags_dir, "countries-10m.json"))
    shaped = []
    rejected = []
    for name, polys in countries:
        if name in UNINHABITED:
            rejected.append((name, "no people live there"))
            continue
        reach = NEAR_ONLY.get(name, 0.25)
        main, box = main_shape(project(polys), reach)
        # The order along the list stays that of the coarse shapes: the finer file only draws them.
        score = complexity(main, box)
        if name in fine and edge_px(main, box) > FINE_EDGE_PX:
            fmain, fbox = main_shape(project(fine[name]), reach)
            if edge_px(fmain, fbox) < edge_px(main, box):
                FINE_USED.append((name, edge_px(main, box), edge_px(fmain, fbox)))
                main, box = fmain, fbox
        shaped.append((score, name, main, box))
    shaped.sort(key=lambda s: (s[0], s[1]))
    small = {f[0] for f in FINE_USED}
    islands = {name for _, name, main, _ in shaped
               if max(ring_area(p[0]) for p in main) < ISLAND_SHARE * sum(ring_area(p[0]) for p in main)}
    built = []
    names = [s[1] for s in shaped]
    if len(set(names)) != len(names):
        sys.exit("two shapes share a name")
    n = len(shaped)
    for i, (score, name, polys, box) in enumerate(shaped):
        if only is not None and name not in only:
            continue
        rank = i / max(1, n - 1)
        target = 900 + 2100 * rank
        made = build_best(name, polys, box, target, name in small, name in islands)
        if made is None and name in islands:
            # No layout with its sea opened paints enough of this archipelago: it is hatched as one land,
            # its ledges still over land only.
            ISLANDS_AS_ONE.append(name)
            made = build_best(name, polys, box, target, name in small)
        elif made is not None and name in islands:
            ISLANDS_BRIDGED.append((name, len(made[0]["gaps"])))
        if made is None:
            rejected.append((name, "no scale within the size limits obeys the rules"))
            continue
        level, mask, solid, rows = made
        problems, _, _ = check_rules(solid, level)
        if problems:
            rejected.append((name, problems[0]))
            continue
        built.append((name, polys, box, level, mask, solid, rows))
    return built, rejected


LEFT_OUT = []                # (name, reason) of the shapes built but not kept
MIN_SECONDS = 25             # shorter walks are too little to play
MIN_SHARE = 35               # a level whose walk paints less shows too little flag


def terrain_name(name):
    return name + " Terrain.png"


def stamp_name(name):
    return name + " Stamp.png"


def measure(name, polys, box, level, mask, solid, rows):
    stamp = stamp_picture(polys, box)
    rgba = terrain_picture(mask, solid, rows)
    painted, paintable = painted_share(rgba, feet_path(level, solid), stamp.shape[1], stamp.shape[0])
    seconds, walk, turns = path_seconds(level)
    return {"name": name, "polys": polys, "box": box, "level": level, "mask": mask, "solid": solid,
            "rows": rows, "stamp": stamp, "share": painted * 100 // max(1, paintable),
            "seconds": seconds, "turns": turns, "score": seconds + 6 * turns,
            "area": sum(ring_area(p[0]) for p in polys)}


LESSON_WALK = 700            # a lesson is a short walk


def choose(built, lessons=True):
    """Keeps every level that makes a walk worth playing: first one lesson each, built small,
    then the largest countries (their outlines are the ones a player knows; a
    speck of an island reads as a blob) ordered easy to hard."""
    measured = []
    for b in built:
        m = measure(*b)
        if m["seconds"] < MIN_SECONDS or m["share"] < MIN_SHARE:
            LEFT_OUT.append((m["name"], "walk of %d s painting %d%% of it: too little to play"
                             % (m["seconds"], m["share"])))
        else:
            measured.append(m)
    measured.sort(key=lambda m: (-m["area"], m["name"]))
    first = []
    for lesson in LESSONS if lessons else ():
        for m in measured:
            if any(f["name"] == m["name"] for f in first):
                continue
            made = build_level(m["name"], m["polys"], m["box"], LESSON_WALK, seed_of(m["name"]))
            if made is None or check_rules(made[2], made[0])[0] or off_land(made[1], made[2]).any():
                continue
            small = measure(m["name"], m["polys"], m["box"], *made)
            if small["share"] >= MIN_SHARE and lesson_fits(lesson, small):
                small["lesson"] = lesson
                first.append(small)
                break
        else:
            sys.exit("no country fits the %s lesson" % lesson)
    taken = {f["name"] for f in first}
    rest = [m for m in measured if m["name"] not in taken]
    rest.sort(key=lambda m: (m["score"], m["name"]))
    return first + rest


def lesson_fits(lesson, m):
    level, solid = m["level"], m["solid"]
    if lesson in ("walk", "clock"):
        return len(level["walked"]) <= 5 and m["seconds"] <= 60
    before, box = lesson_edit(lesson, level, solid)
    li, x0, x1 = level["walked"][-1]
    if abs(x1 - x0) < 80:
        return False
    if lesson == "bridge" and solid[box[3] + 1:, box[0]:box[2] + 1].any():
        return False          # the gap must open on the sea, not on a ledge below
    trial = dict(level, deadly_ok=(lesson == "bridge"))
    problems, graph, good = check_rules(before, trial, intended=True)
    if problems or any(in_box(n, (level["exit"][0] - 2, level["exit"][1] - 2,
                                  level["exit"][0] + 1, level["exit"][1] + 1)) for n in graph):
        return False          # the lesson must not be won without its build or dig
    # Done as planned, the edit must give a level that obeys every rule.
    after = before.copy()
    after[box[1]:box[3] + 1, box[0]:box[2] + 1] = lesson == "bridge"
    return not check_rules(after, level)[0]


# The view a level opens with and how the player's pointer moves it: the view is 320 x 200, a point
# counts as on screen 12 pixels inside its edges, and a pointer held at an edge moves the view about
# 60 pixels a second (a pixel a frame), counted here at 40.
VIEW_W, VIEW_H, VIEW_EDGE = 320, 200, 12
VIEW_MS_PER_PX = 25


def first_view(level):
    w, h = level["size"]
    sx, sy = level["start"]
    return (min(max(sx - VIEW_W // 2, 0), w - VIEW_W), min(max(sy - 6 - VIEW_H // 2, 0), h - VIEW_H))


def view_onto(view, point, size):
    """The view once scrolled just far enough that `point` is on screen."""
    out = []
    for v, p, side, span in ((view[0], point[0], VIEW_W, size[0]), (view[1], point[1], VIEW_H, size[1])):
        v = min(v, p - VIEW_EDGE)
        v = max(v, p - (side - VIEW_EDGE))
        out.append(min(max(v, 0), span - side))
    return tuple(out)


def plan_of(m, nums, pad_ms=0):
    """Timed inputs that win the level, replayed by the robot player: "MS LEADER BUTTON X Y" from the
    start of play. The builds and digs come first, then the leader walks each run of ledges that go
    the same way and waits where the column turns until the last follower has come down, so nobody is
    led the wrong way on a ledge above. The plan waits `pad_ms` (the limit's whole minutes are met by
    it) before its last dig, whose wall holds the column meanwhile, or else before the leader sets off."""
    level = m["level"]
    steps = ["# Made by tools/make_levels.py: the level clock in ms, leader, button, level x y."]
    t = 0.0
    view = first_view(level)
    edits = m.get("edits", [])
    wait_at = max([k for k, (kind, _) in enumerate(edits) if kind == "dig"], default=len(edits))
    for k, (kind, box) in enumerate(edits):
        if k == wait_at:
            t += pad_ms
        button = "left" if kind == "build" else "right"
        # A hand is up to AIM_PX off and each stroke starts up to 800 ms late: the strokes are held long
        # enough that the brush's random bites leave no crumb in the column's way, and placed so that
        # 3 pixels off either way still clears the wall to a stump the column climbs, or fills the gap
        # to a rounded bump or dip it walks over. A wall's lowest strokes stay 5 rows above the ledge:
        # lower, a hand digs a pit deeper than the column can walk out of.
        if kind == "build":
            xs, ys = [box[0] + 2, box[0] + 6, box[0] + 10], [box[1] + 3]
        else:
            xs, ys = [box[0] + 1, box[0] + 5], [box[3] - 8, box[3] - 4]
        # Look at the work first (the view scrolls there), then strokes over it, a rest for the
        # reserve to refill with the work still in view, then a second pass.
        steps.append("%d none none %d %d" % (t, xs[0], ys[0]))
        moved = view_onto(view, (xs[0], ys[0]), level["size"])
        t += max(SCROLL_MS, 1500 + VIEW_MS_PER_PX * max(abs(moved[0] - view[0]), abs(moved[1] - view[1])))
        view = moved
        hold = STROKE_MS[kind]
        for rep in range(2):
            for y in ys:
                for x in xs:
                    steps.append("%d none %s %d %d" % (t, button, x, y))
                    t += hold
            # The rest comes after the late hand's last stroke has had its time.
            t += LATE_MS + JITTER_MS
            steps.append("%d none none %d %d" % (t, xs[0], ys[0]))
            t += REST_MS
    if wait_at == len(edits):
        t += pad_ms
    walked = level["walked"]
    tops = level["ledge_top"]
    runs = []
    for k, (li, x0, x1) in enumerate(walked):
        d = 1 if x1 >= x0 else -1
        # The leader held on past the last hole walks on to the post of the ledge it lands on: from
        # there it sets off again, and a drop past an empty layer falls twice as long.
        drop = tops[walked[k + 1][0]] - tops[li] if k + 1 < len(walked) else PITCH
        if runs and runs[-1][0] == d:
            runs[-1][1].append((li, x0, x1, drop))
        else:
            if runs:
                a, b = level["segs"][k]
                post = a + POST_W if d > 0 else b - POST_W
                x0 = post if (post - x0) * d < 0 else x0
            runs.append((d, [(li, x0, x1, drop)]))
    release = FIRST_SPAWN_MS + (nums["count"] - 1) * nums["interval"]
    last = t + release                       # when the last follower is where the leader set off
    t += SPAWN_DROP / FALL_PX_PER_S * 1000 + 300
    for i, (d, ledges) in enumerate(runs):
        walk = sum(abs(x1 - x0) for _, x0, x1, _ in ledges) * 1000 / WALK_PX_PER_S
        falls = sum(drop for _, _, _, drop in ledges) * 1000 / FALL_PX_PER_S
        # Hold on past the run's last hole: the leader stops at the post of the ledge it lands on.
        steps.append("%d %s none 0 0" % (t, "right" if d > 0 else "left"))
        t += walk + falls + 1500
        steps.append("%d none none 0 0" % t)
        last = max(last + (walk + falls) * 1.3, t) + 4000
        if i + 1 < len(runs):
            t = last
    return "\n".join(steps) + "\n", t


def plan_name(name):
    return name + " Plan.txt"


def line_of(m, nums):
    level = m["level"]
    fields = [m["name"], terrain_name(m["name"]), stamp_name(m["name"]),
              level["start"][0], level["start"][1], level["exit"][0], level["exit"][1],
              nums["minutes"], nums["survivors"], nums["goal"], nums["count"], nums["interval"]]
    return ",".join(str(f) for f in fields)


def other_names(names_path, countries):
    """Lines of the name table this script does not own (levels made by hand or by other scripts,
    whose keys are no country of the atlas), kept in their order after the countries."""
    try:
        with open(names_path, "rb") as f:
            text = f.read().decode("latin-1")
    except FileNotFoundError:
        return []
    return [l for l in text.split("\n") if l and not l.startswith("#") and l.split("\t")[0] not in countries]


JITTER_SEEDS = (1, 2, 3)       # the hands every level is played with in the model
SHARE_LEAST = 10                   # never less time left than this
HAND_SPARE = 5                     # nor less than this for the slowest jittered hand, in % of the limit
SHARE_FIRST, SHARE_LAST = 40, 15   # time left when the plan wins, in % of the limit, along the list


def play_plan(job):
    """The plan as written: (won, cause, ms, survivor %, paint %)."""
    solid, paintable, level, nums, plan, stamp_size, key = job
    return play(solid, paintable, level, nums, parse_plan(plan), stamp_size, key, 20 * 60000)


def play_job(job):
    """The plan played as written and under each jitter seed: [(won, cause, ms, survivors, paint)]."""
    solid, paintable, level, nums, plan, stamp_size, key = job
    out = [play_plan(job)]
    # A hand that has not won in twice the plan's time never wins within any limit it is given.
    limit = 2 * out[0][2] + 10000
    for seed in JITTER_SEEDS:
        out.append(play(solid, paintable, level, nums, jittered(parse_plan(plan), seed), stamp_size, key + seed,
                        limit))
    return out


def short_of_time(runs, limit):
    """The plan's win leaves less than SHARE_LEAST of the limit, or a jittered hand's less than HAND_SPARE."""
    return runs[0][2] > limit * (1 - SHARE_LEAST / 100) or max(r[2] for r in runs[1:]) > limit * (1 - HAND_SPARE / 100)


def share_at(rank):
    return (SHARE_FIRST + (SHARE_LAST - SHARE_FIRST) * rank) / 100


def minutes_for(rank, plan_ms):
    """Of the whole minutes around the limit that leaves the plan's win the share of it its rank asks
    for, the one whose share comes nearest, never leaving less than SHARE_LEAST; the plan is then made
    longer (where a wait can hold the column) to land on that share."""
    share = share_at(rank)
    exact = plan_ms / 60000 / (1 - share)
    options = [m for m in (math.floor(exact), math.ceil(exact)) if m * 60000 * (1 - SHARE_LEAST / 100) > plan_ms]
    return min(options or [math.ceil(exact) + 1], key=lambda m: abs(1 - plan_ms / (m * 60000) - share))


def goals_along(targets, caps):
    """Goals that never drop along the list: each level's target, held under what every later level's
    walk can paint (a goal a later level must lower would be a drop)."""
    out, low = [], 100
    for target, cap in reversed(list(zip(targets, caps))):
        low = min(low, cap)
        out.append(min(target, low))
    return out[::-1]


def write_all(chosen, out_dir, names_path, licence_text, countries=(), places=None):
    """`places`: each level's (index, count) in the list, when `chosen` is only part of it."""
    os.makedirs(out_dir, exist_ok=True)
    lines = ["# Countries: key,terrain,stamp,startX,startY,exitX,exitY,minutes,survivor %,goal %,"
             "creatures,interval ms. Made by tools/make_levels.py; easy to hard."]
    plans = ["# The builds and digs each level is made for, a line each: key,build|dig,x0,y0,x1,y1 (inclusive)."]
    notes = []
    wanted = {LIST_NAME, PLAN_NAME, LICENCE_NAME}
    n = len(chosen)
    place = places or {m["name"]: (i, n) for i, m in enumerate(chosen)}
    jobs = []
    for m in chosen:
        i, n = place[m["name"]]
        rank = i / max(1, n - 1)
        lesson = m.get("lesson")
        solid = m["solid"]
        if lesson in ("bridge", "dig"):
            before, box = lesson_edit(lesson, m["level"], solid)
            m["edits"] = [("build" if lesson == "bridge" else "dig", box)]
        else:
            before, m["edits"] = puzzle_edits(i, m)
        for kind, box in m["edits"]:
            plans.append("%s,%s,%d,%d,%d,%d" % ((m["name"], kind) + box))
        stray = off_land(m["mask"], before, [box for _, box in m["edits"]])
        if stray.any():
            ys, xs = np.nonzero(stray)
            sys.exit("%s: %d terrain pixels over the sea, first at (%d, %d)" % (m["name"], len(xs), xs[0], ys[0]))
        rgba = terrain_picture(m["mask"], before, m["rows"])
        painted, paintable = painted_share(rgba, feet_path(m["level"], m["solid"]),
                                           m["stamp"].shape[1], m["stamp"].shape[0])
        nums = numbers(rank, lesson, m["level"], painted, paintable, len(m["edits"]))
        nums["edits"] = " ".join(kind for kind, _ in m["edits"])
        m["rgba"], m["nums"] = rgba, nums
        jobs.append([before, rgba[..., :3].any(axis=-1), m["level"], nums, None,
                     (m["stamp"].shape[1], m["stamp"].shape[0]), seed_of(m["name"]) & 0xFFFF])
    for m, job in zip(chosen, jobs):
        job[4] = plan_of(m, m["nums"])[0]
    with multiprocessing.Pool(2) as pool:
        # What the plan's column paints in the model with the door open from the start: where the
        # followers, called back by the leader, leave part of a ledge the walk's estimate counted, the
        # goal stays under that too.
        reach = pool.map(play_plan, [job[:3] + [dict(job[3], goal=0)] + job[4:] for job in jobs], chunksize=1)
        goals = goals_along([m["nums"]["goal"] for m in chosen],
                            [min(m["nums"]["share"], run[4]) - GOAL_BELOW_SHARE for m, run in zip(chosen, reach)])
        for m, goal in zip(chosen, goals):
            m["nums"]["goal"] = goal
        first = pool.map(play_plan, jobs, chunksize=1)
        for m, job, run in zip(chosen, jobs, first):
            if not run[0]:
                sys.exit("%s: the plan does not win in the model: %s" % (m["name"], run))
            i, n = place[m["name"]]
            rank = i / max(1, n - 1)
            m["nums"]["minutes"] = minutes_for(rank, run[2])
            # The leader waits out the rest of the limit's minutes, so the win leaves the share asked for.
            pad = max(0, int(m["nums"]["minutes"] * 60000 * (1 - share_at(rank)) - run[2]))
            m["plan"] = job[4] = plan_of(m, m["nums"], pad // TICK_MS * TICK_MS)[0]
        results = pool.map(play_job, jobs, chunksize=1)
    lost = []                # every level a hand loses, named before the script gives up
    for i, (m, runs) in enumerate(zip(chosen, results)):
        nums = m["nums"]
        if not runs[0][0]:
            sys.exit("%s: the plan does not win in the model: %s" % (m["name"], runs[0]))
        limit = nums["minutes"] * 60000
        while short_of_time(runs, limit):
            # A hand that wins with seconds to spare in the model may not in the game, nor a plan whose
            # wait before its last dig held the column longer than it was made for: one more minute.
            nums["minutes"] += 1
            limit += 60000
        nums["plan_s"] = runs[0][2] / 1000
        nums["left"] = 100 * (limit - runs[0][2]) // limit
        nums["jitter"] = [r for r in runs[1:]]
        nums["jitter_won"] = sum(1 for r in runs[1:] if r[0] and r[2] < limit)
        if nums["jitter_won"] < len(JITTER_SEEDS):
            lost.append("%s: a player's unsteady hand loses it: %s" % (m["name"], runs[1:]))
            continue
        nums["margins"] = (runs[0][3] - nums["survivors"], runs[0][4] - nums["goal"])
        lines.append(line_of(m, nums))
        notes.append((m["name"], m.get("lesson") or "", nums))
        art_common.write_if_changed(os.path.join(out_dir, terrain_name(m["name"])), png_bytes(m["rgba"]))
        art_common.write_if_changed(os.path.join(out_dir, stamp_name(m["name"])), png_bytes(m["stamp"]))
        art_common.write_if_changed(os.path.join(out_dir, plan_name(m["name"])), m["plan"].encode("ascii"))
        wanted.update((terrain_name(m["name"]), stamp_name(m["name"]), plan_name(m["name"])))
    if lost:
        sys.exit("\n".join(lost))
    for entry in sorted(os.listdir(out_dir)):
        if entry.endswith((" Terrain.png", " Stamp.png", " Plan.txt")) and entry not in wanted:
            os.remove(os.path.join(out_dir, entry))
    art_common.write_if_changed(os.path.join(out_dir, LIST_NAME), ("\n".join(lines) + "\n").encode("ascii"))
    art_common.write_if_changed(os.path.join(out_dir, PLAN_NAME), ("\n".join(plans) + "\n").encode("ascii"))
    art_common.write_if_changed(os.path.join(out_dir, LICENCE_NAME), (CREDIT + licence_text).encode("utf-8"))
    names = ["# Level names shown to the player, one table for all languages: level key (first field of "
             "Countries/countries.txt)<TAB>name"]
    names += ["%s\t%s" % (m["name"], m["name"]) for m in chosen]
    names += other_names(names_path, set(countries) | {m["name"] for m in chosen})
    art_common.write_if_changed(names_path, ("\n".join(names) + "\n").encode("ascii"))
    return notes


LIST_NAME = "countries.txt"
PLAN_NAME = "plans.txt"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.normpath(os.path.join(here, ".."))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("package_dir", nargs="?", help="unpacked %s %s (default: npm pack it)" % (PACKAGE, VERSION))
    parser.add_argument("--out", default=os.path.join(root, "data", "Countries"))
    parser.add_argument("--names", default=os.path.join(root, "data", "Assets", "texts", "levelnames.txt"))
    parser.add_argument("--flags", default=os.path.join(root, "data", "Flags"))
    parser.add_argument("--only", help="KEY,... of the committed list: build and play just these")
    args = parser.parse_args()
    only, places = None, None
    if args.only:
        only = set(args.only.split(","))
        with open(os.path.join(root, "data", "Countries", LIST_NAME), encoding="ascii") as f:
            keys = [l.split(",")[0] for l in f if not l.startswith("#")]
        places = {k: (i, len(keys)) for i, k in enumerate(keys)}
        if only - set(keys):
            sys.exit("not in the list: %s" % ", ".join(sorted(only - set(keys))))
    with tempfile.TemporaryDirectory() as workdir:
        package_dir = args.package_dir or run_npm_pack(workdir)
        with open(os.path.join(package_dir, "LICENSE"), encoding="utf-8") as f:
            licence_text = f.read()
        built, rejected = generate(package_dir, args.out, args.names, args.flags, only)
    chosen = choose(built, lessons=only is None)
    if only is None and len(chosen) < COUNTRY_MIN:
        sys.exit("only %d levels" % len(chosen))
    for name, gaps in ISLANDS_BRIDGED:
        print("islands     %-28s ledges over land, %d gaps to bridge" % (name, gaps))
    for name in ISLANDS_AS_ONE:
        print("islands     %-28s hatched as one land" % name)
    for name, coarse, finer in FINE_USED:
        print("finer shape %-28s edges %4.0f px, now %4.0f px" % (name, coarse, finer))
    if only:
        # The lessons are built small and planned apart: a quick look plays them as any other level.
        chosen = [m for m in chosen if m["name"] in only]
        chosen.sort(key=lambda m: places[m["name"]])
    countries = [b[0] for b in built] + [name for name, _ in rejected]
    notes = write_all(chosen, args.out, args.names, licence_text, countries, places)
    for name, why in rejected + LEFT_OUT:
        print("left out %-28s %s" % (name, why))
    print("  # level                        min  plan s left%% jitter won  survivors/goal margins  jitter end s")
    for i, (name, lesson, nums) in enumerate(notes):
        i = places[name][0] if places else i
        print("%3d %-28s %3d %7.1f %4d%% %d/3 %3d%% %3d%% %+4d %+4d  %s" % (
            i + 1, name, nums["minutes"], nums["plan_s"], nums["left"], nums["jitter_won"], nums["survivors"],
            nums["goal"], nums["margins"][0], nums["margins"][1],
            " ".join("%.0f%s" % (r[2] / 1000, "" if r[0] else "(" + r[1] + ")") for r in nums["jitter"])))
    print("%d levels written to %s" % (len(notes), args.out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
