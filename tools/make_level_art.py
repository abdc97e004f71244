#!/usr/bin/python3
"""Draw the level's own pictures besides the creature: the doors, the brush, the light halo and the
loading picture.

    /usr/bin/python3 tools/make_level_art.py [assets-dir]

Writes under data/Assets/ (or the given directory):

    graphics/door.png      entry door, 43 x 25 frames in one row, played once while the level opens;
                           the game draws it at (startX - 21, startY - 18), so the creatures appear at
                           frame pixel (21, 18) and drop out of the doorway
    graphics/outdoor.png   exit door, 40 x 24 frames; row 0 open (loops), row 1 closed (loops); drawn
                           at (exitX - 20, exitY - 24), so it stands on the ground row exitY and the
                           creatures walk into frame pixels 18..21 of its bottom rows
    graphics/brush.png     the build/dig mask: the game reads only the alpha of each pixel (non-zero =
                           this sample builds or digs), so it is a hard disc the size of the action
                           pointer's ring, with no soft edge
    graphics/lighthalo.png a round glow drawn additively and tinted yellow by the game
    gui/loading.png        shown centred on the loading screen, under the chosen flag: three creatures
                           walking to a door, no words, so it needs no translation

Deterministic: no randomness at all.
"""

import math
import sys

import art_common as ac
import make_tumblekin as tk

# ---------------------------------------------------------------- arch shapes shared by both doors


def arch_distance(x, y, cx, top_cy):
    """Distance used for an upright arch: a half circle above row top_cy, straight sides below it.

    Measured from the middle of the pixel, with cx on a pixel's centre."""
    dx = x - cx
    if y < top_cy:
        return math.hypot(dx, y - top_cy)
    return abs(dx)


def arch_masks(w, h, cx, top_cy, outer, inner):
    ring, hole = set(), set()
    for y in range(h):
        for x in range(w):
            d = arch_distance(x, y, cx, top_cy)
            if d <= inner:
                hole.add((x, y))
            elif d <= outer:
                ring.add((x, y))
    return ring, hole


def stone_ring(img, ox, ring, cx, top_cy, courses):
    """Stone blocks with mortar joints, lit from the top left."""
    for (x, y) in ring:
        dx = x - cx
        if y < top_cy:
            angle = math.degrees(math.atan2(top_cy - y, dx))  # 0 right, 90 up, 180 left
            joint = any(abs(angle - a) < 4.5 for a in (30, 60, 90, 120, 150))
        else:
            joint = (y - top_cy) % courses == courses - 1
        if joint:
            colour = "umber"
        elif dx < 0 and y < top_cy + 4:
            colour = "sand"
        elif dx < 0:
            colour = "pebble"
        else:
            colour = "stone"
        ac.put(img, ox + x, y, colour)


def outline_cell(img, ox, w, h, colour="ink"):
    cell = img.crop((ox, 0, ox + w, h))
    ac.outline(cell, colour, diagonal=False)
    img.paste(cell, (ox, 0))


# ---------------------------------------------------------------- entry door

DOOR_W, DOOR_H = 43, 25
DOOR_CX, DOOR_TOP = 21, 12
DOOR_OUTER, DOOR_INNER = 13.5, 8.5
# Width of each wooden leaf per frame: shut, then swinging open towards the walls.
DOOR_LEAVES = [9, 9, 8, 7, 5, 4, 2, 1]


def entry_door():
    frames = len(DOOR_LEAVES)
    img = ac.new_image(DOOR_W * frames, DOOR_H)
    ring, hole = arch_masks(DOOR_W, DOOR_H, DOOR_CX, DOOR_TOP, DOOR_OUTER, DOOR_INNER)
    for n, leaf in enumerate(DOOR_LEAVES):
        ox = DOOR_W * n
        # the dark inside, a little lighter on the floor where the creatures land
        for (x, y) in hole:
            ac.put(img, ox + x, y, "umber" if y >= DOOR_H - 2 else "night")
        # the far wall catches a little light once the door is ajar
        if leaf < 9:
            for (x, y) in hole:
                if y == DOOR_TOP - 6 + (x - DOOR_CX) // 3 and x < DOOR_CX:
                    ac.put(img, ox + x, y, "dusk")
        # the two leaves, hinged on the inner walls
        left_edge = min(x for (x, y) in hole)
        right_edge = max(x for (x, y) in hole)
        for (x, y) in hole:
            if x < left_edge + leaf or x > right_edge - leaf:
                from_hinge = x - left_edge if x < DOOR_CX else right_edge - x
                if from_hinge == leaf - 1 or (leaf == 9 and x == DOOR_CX):
                    colour = "ink"  # the leaf's free edge
                elif (x - left_edge) % 3 == 2:
                    colour = "brown"  # plank joints
                elif y in (DOOR_TOP - 2, DOOR_H - 5):
                    colour = "brown"  # cross battens
                else:
                    colour = "tan" if x < DOOR_CX else "brown"
                ac.put(img, ox + x, y, colour)
            if leaf == 9 and x == DOOR_CX:
                ac.put(img, ox + x, y, "ink")
        if leaf >= 8:
            # ring pulls on the shut door
            ac.put(img, ox + DOOR_CX - 2, 15, "amber")
            ac.put(img, ox + DOOR_CX + 2, 15, "amber")
        stone_ring(img, ox, ring, DOOR_CX, DOOR_TOP, 4)
        # keystone
        for y in range(0, 3):
            for x in range(DOOR_CX - 1, DOOR_CX + 2):
                if (x, y) in ring:
                    ac.put(img, ox + x, y, "amber" if y == 0 or x == DOOR_CX - 1 else "orange")
        outline_cell(img, ox, DOOR_W, DOOR_H)
    return img


# ---------------------------------------------------------------- exit door

OUT_W, OUT_H = 40, 24
OUT_CX, OUT_TOP = 20, 11
OUT_OUTER, OUT_INNER = 10.5, 6.5
OUT_FRAMES = 8
# The open doorway glows in bands that breathe: the band edges move out and back over the loop.
GLOW_BANDS = [("cream", 2.0), ("butter", 4.0), ("amber", 6.0)]
GLOW_PULSE = [0.0, 0.5, 1.0, 1.5, 1.5, 1.0, 0.5, 0.0]
# Lamps on posts either side; their flames flicker while the door is open.
LAMPS = [(4, 9), (35, 9)]
FLAME = [
    ["b", "a"], ["a", "o"], ["b", "a"], ["b", "b"],
    ["a", "a"], ["b", "a"], ["a", "o"], ["b", "a"],
]
FLAME_LEGEND = {"b": "butter", "a": "amber", "o": "orange"}


def lamp(img, ox, oy, x, y, lit, n):
    # post
    for yy in range(y + 2, OUT_H):
        ac.put(img, ox + x, oy + yy, "brown" if yy % 4 else "tan")
    # cage
    for yy in range(y - 1, y + 2):
        ac.put(img, ox + x - 1, oy + yy, "umber")
        ac.put(img, ox + x + 1, oy + yy, "umber")
    ac.put(img, ox + x, oy + y - 2, "umber")
    if lit:
        top, bottom = FLAME[n]
        ac.put(img, ox + x, oy + y, FLAME_LEGEND[top])
        ac.put(img, ox + x, oy + y + 1, FLAME_LEGEND[bottom])
    else:
        ac.put(img, ox + x, oy + y, "night")
        ac.put(img, ox + x, oy + y + 1, "night")


def exit_door():
    img = ac.new_image(OUT_W * OUT_FRAMES, OUT_H * 2)
    ring, hole = arch_masks(OUT_W, OUT_H, OUT_CX - 0.5, OUT_TOP, OUT_OUTER, OUT_INNER)
    for row, is_open in ((0, True), (1, False)):
        oy = OUT_H * row
        for n in range(OUT_FRAMES):
            ox = OUT_W * n
            cell = ac.new_image(OUT_W, OUT_H)
            for (x, y) in hole:
                if is_open:
                    d = math.hypot(x - (OUT_CX - 0.5), (y - (OUT_H - 3)) * 0.8)
                    colour = "tan"
                    for name, radius in GLOW_BANDS:
                        if d <= radius + GLOW_PULSE[n]:
                            colour = name
                            break
                else:
                    left = min(xx for (xx, yy) in hole)
                    if (x - left) % 4 == 3:
                        colour = "brown"
                    elif y in (OUT_TOP, OUT_H - 4):
                        colour = "brown"
                    else:
                        colour = "tan"
                ac.put(cell, x, y, colour)
            if not is_open:
                # a round iron lock in the middle of the shut door
                for (x, y) in ((OUT_CX - 1, 14), (OUT_CX, 14), (OUT_CX - 1, 15), (OUT_CX, 15)):
                    ac.put(cell, x, y, "night")
                ac.put(cell, OUT_CX - 1, 14, "stone")
            stone_ring(cell, 0, ring, OUT_CX - 0.5, OUT_TOP, 4)
            # a lit lintel stone: amber when open, dull when shut
            for x in (OUT_CX - 1, OUT_CX):
                for y in range(0, 3):
                    if (x, y) in ring:
                        ac.put(cell, x, y, "amber" if is_open else "umber")
            ac.outline(cell, "ink", diagonal=False)
            for (x, y) in LAMPS:
                lamp(cell, 0, 0, x, y, is_open, n)
            img.paste(cell, (ox, oy))
            # a sparkle rising out of the open door, one position per frame
            if is_open:
                sy = OUT_H - 6 - 2 * n
                sx = OUT_CX - 2 + (n % 3)
                if 4 <= sy:
                    ac.put(img, ox + sx, oy + sy, "cream")
    return img


# ---------------------------------------------------------------- brush, halo, loading

BRUSH_SIZE = 11  # the outer size of the action pointer's ring


def brush():
    img = ac.new_image(BRUSH_SIZE, BRUSH_SIZE)
    c = BRUSH_SIZE // 2
    limit = (BRUSH_SIZE / 2.0) ** 2
    for y in range(BRUSH_SIZE):
        for x in range(BRUSH_SIZE):
            if (x - c) ** 2 + (y - c) ** 2 <= limit:
                ac.put(img, x, y, "cream")
    return img


HALO_SIZE = 32
HALO_BANDS = [(3, "cream"), (5, "mist"), (7.5, "sand"), (10, "pebble"), (12, "stone"),
              (14, "umber"), (16, "dusk")]


def halo():
    img = ac.new_image(HALO_SIZE, HALO_SIZE)
    c = (HALO_SIZE - 1) / 2.0
    for y in range(HALO_SIZE):
        for x in range(HALO_SIZE):
            d = math.hypot(x - c, y - c)
            for radius, name in HALO_BANDS:
                if d <= radius:
                    ac.put(img, x, y, name)
                    break
    return img


LOAD_W, LOAD_H = 104, 36
# Three walkers recoloured from the sheet's dark body tones into warm accents (the loading screen has
# no flag tint to add); eyes and outline stay.
WALKER_COLOURS = [
    {"umber": "vermilion", "dusk": "red", "night": "maroon"},
    {"umber": "butter", "dusk": "amber", "night": "orange"},
    {"umber": "sky", "dusk": "slate", "night": "navy"},
]


def loading():
    img = ac.new_image(LOAD_W, LOAD_H)
    # panel: dark, a lit top-left edge and an ink outline
    ac.rect(img, 1, 1, LOAD_W - 2, LOAD_H - 2, "night")
    ac.rect(img, 1, 1, LOAD_W - 2, 1, "dusk")
    ac.rect(img, 1, 1, 1, LOAD_H - 2, "dusk")
    ac.rect_outline(img, 0, 0, LOAD_W, LOAD_H, "ink")
    # ground: grass over soil
    ground = LOAD_H - 8
    ac.rect(img, 2, ground, LOAD_W - 4, 1, "lime")
    ac.rect(img, 2, ground + 1, LOAD_W - 4, 1, "leaf")
    ac.rect(img, 2, ground + 2, LOAD_W - 4, LOAD_H - ground - 4, "brown")
    for x in range(4, LOAD_W - 4, 7):
        ac.put(img, x, ground + 3, "tan")
        ac.put(img, x + 3, ground + 4, "umber")
    # the exit door on the right, taken from the open row of the exit sheet, frame 0
    door = exit_door().crop((0, 0, OUT_W, OUT_H))
    inner = door.crop((8, 0, 32, OUT_H))
    img.alpha_composite(inner, (LOAD_W - 30, ground - OUT_H))
    # walkers, feet on the row above the ground, in three different steps of the walk
    sheet = tk.build()
    palette = ac.PALETTE
    for i, (frame, colours) in enumerate(zip((0, 2, 5), WALKER_COLOURS)):
        cell = sheet.crop((20 * frame, 0, 20 * frame + 20, 20))
        for y in range(20):
            for x in range(20):
                p = cell.getpixel((x, y))
                if p[3] == 0:
                    continue
                for dark, bright in colours.items():
                    if p[:3] == palette[dark]:
                        cell.putpixel((x, y), ac.rgba(bright))
                        break
        feet_x = 14 + 20 * i
        img.alpha_composite(cell, (feet_x - 9, ground - 1 - 9))
    # three dots after the walkers: more is coming
    for k in range(3):
        ac.put(img, 66 + 3 * k, ground - 3, "cream")
    return img


def check(relpath, img):
    bad = ac.off_palette_pixels(img)
    if bad:
        raise SystemExit("%s: %d pixels off the palette, first %r" % (relpath, len(bad), bad[0]))
    if any(p[3] not in (0, 255) for p in img.getdata()):
        raise SystemExit("%s: partial alpha" % relpath)
    if any(p[3] == 0 and p[:3] != (0, 0, 0) for p in img.getdata()):
        raise SystemExit("%s: a transparent pixel with colour" % relpath)


def build():
    return {
        "graphics/door.png": entry_door(),
        "graphics/outdoor.png": exit_door(),
        "graphics/brush.png": brush(),
        "graphics/lighthalo.png": halo(),
        "gui/loading.png": loading(),
    }


def main(argv):
    root = argv[1] if len(argv) > 1 else ac.ASSETS_DIR
    for relpath, img in build().items():
        check(relpath, img)
        print(ac.save_png(img, relpath, root))


if __name__ == "__main__":
    main(sys.argv)
