#!/usr/bin/python3
"""Draw the creature sheet "Assets/graphics/tumblekin.png".

    /usr/bin/python3 tools/make_tumblekin.py [assets-dir]

The sheet is 640 x 100, cut into 20 x 20 cells with no margins:

    row 0 (y 0)   walking, 8 frames at x = 20 n; the standing frame at (180, 0)
    row 1 (y 20)  going into the exit, 8 frames, right-facing only
    row 2 (y 40)  falling, 4 frames
    row 3 (y 60)  dying, 16 frames: a squash, then a small puff
    row 4 (y 80)  the leader's marker, 14 frames at x = 40 + 20 n
    rows 0, 2, 3 are repeated facing left at x + 320 (standing at (500, 0))

The game draws a cell with its top-left at (x - 9, y - 9), so the creature's feet (the pixel every
collision test reads) are cell pixel (9, 9) and the body fills rows 4 to 9. Left-facing cells are
mirrored about column 9 so the feet stay on that pixel.

The flag colour (each channel up to 180) is added to every pixel when the creature is drawn, so the
body is drawn in dark, dull tones and only the eyes are light: they must stay readable on a white
flag, which is why each eye has a dark pupil. The marker is tinted too (the leader flickers through
the flag's colours), so it is mid-dark with one light glint.

Deterministic: no randomness at all.
"""

import sys

import art_common as ac

CELL = 20
SHEET_SIZE = (640, 100)
LEFT_OFFSET = 320
FEET = (9, 9)
STAND_X = 180
MARKER_X0 = 40

LEGEND = {
    "k": "ink",      # outline and feet
    "n": "night",    # shade, lower right
    "d": "dusk",     # body
    "u": "umber",    # lit upper left
    "w": "cream",    # eye white
    "p": "black",    # pupil
    "c": "cream",    # sparkle
}

# The body, right-facing, as rows 3..8 of the cell, columns 5..13 (column 9 is the middle of the feet).
# Eyes are a two-pixel-wide light band with the pupils on the side the creature walks to.
BODY = [
    "..kkkkk..",
    ".kuuuuuk.",
    "kuuwwdwwk",
    "kudwpdwpk",
    "kddddddnk",
    ".kddnnnk.",
]
# Eyes looking up (falling) and shut (the squash before the puff).
BODY_FALL = [
    "..kkkkk..",
    ".kuwpuwpk",
    "kuuwwdwwk",
    "kudddddnk",
    "kddddddnk",
    ".kddnnnk.",
]
BODY_HURT = [
    "..kkkkk..",
    ".kuuuuuk.",
    "kuukkdkkk",
    "kudddddnk",
    "kddddddnk",
    ".kddnnnk.",
]
BODY_X0 = 5
BODY_Y0 = 3

# Feet on row 9 for the eight walking frames: a stride, feet passing, the other stride. The body rises
# one pixel while the feet pass, so the walk bobs.
WALK_FEET = [
    (".kk...kk.", 0),
    ("..kk..kk.", 0),
    ("..kk.kk..", -1),
    ("...kkk...", -1),
    (".kk...kk.", 0),
    (".kk..kk..", 0),
    ("..kkkk...", -1),
    ("...kkkk..", -1),
]
STAND_FEET = "..kk.kk.."


def blank_sheet():
    return ac.new_image(*SHEET_SIZE)


def put_rows(img, rows, x, y, legend=LEGEND):
    ac.draw_grid(img, rows, legend, x, y)


def body(img, cx, cy, rows, feet, bob=0):
    """Body rows at rows 3..8 of the cell (shifted by bob), feet row on row 9 (never shifted)."""
    put_rows(img, rows, cx + BODY_X0, cy + BODY_Y0 + bob)
    if bob < 0:
        # Raised body: legs fill the gap between the body and the feet.
        legs = "".join("k" if ch == "k" else "." for ch in feet)
        for extra in range(-bob):
            put_rows(img, [legs], cx + BODY_X0, cy + FEET[1] - 1 - extra)
    put_rows(img, [feet], cx + BODY_X0, cy + FEET[1])


def walk_frames(img):
    for n, (feet, bob) in enumerate(WALK_FEET):
        body(img, CELL * n, 0, BODY, feet, bob)
    body(img, STAND_X, 0, BODY, STAND_FEET)


# Falling: arms up and flapping, feet dangling; four frames that loop.
FALL_ARMS = [
    # (left arm pixels, right arm pixels) as (x, y) in the cell, feet row
    ([(4, 3), (4, 2)], [(14, 3), (14, 2)], "..k...k.."),
    ([(4, 4), (3, 3)], [(14, 4), (15, 3)], "..k..k..."),
    ([(4, 3), (4, 2)], [(14, 3), (14, 2)], "...k..k.."),
    ([(4, 2), (3, 1)], [(14, 2), (15, 1)], "..k...k.."),
]


def fall_frames(img):
    y0 = 40
    for n, (left, right, feet) in enumerate(FALL_ARMS):
        cx = CELL * n
        body(img, cx, y0, BODY_FALL, feet)
        for (x, y) in left + right:
            ac.put(img, cx + x, y0 + y, "ink")


# Dying: three squash frames, then a puff that swells from the middle of the body and breaks into
# drifting specks. Puff rings are drawn as (radius, colour) discs, outermost first.
SQUASH = [
    # body rows squeezed down onto the feet row
    [
        "..kkkkk..",
        ".kuuuuuk.",
        "kuukkdkkk",
        "kdddddddk",
        "kddddddnk",
        ".kkkkkkk.",
    ],
    [
        ".kkkkkkk.",
        "kuuuuuuuk",
        "kuukkdkkk",
        "kddddddnk",
        ".kkkkkkk.",
    ],
    [
        "kkkkkkkkk",
        "kukkdkkuk",
        "kddddddnk",
        "kkkkkkkkk",
    ],
]


# The puff, hand-drawn in growing sizes: it swells from the squashed body, holds, thins from the middle
# out, and breaks into specks that drift up. Each grid sits centred on the feet column with its bottom
# on the feet row, raised by the number beside it.
PUFF = [
    ([".c.",
      "cmc",
      ".b."], 0),
    ([".cc..",
      "cmmc.",
      "mmmmb",
      ".bbb."], 0),
    (["..cc...",
      ".cmmcc.",
      "cmmmmmb",
      "mmmmmbb",
      ".bbbbb."], 0),
    (["..cc.cc..",
      ".cmmcmmc.",
      "cmmmmmmmb",
      "mmmmmmmbb",
      "mmmbmmbbb",
      ".bbb.bbb."], 0),
    (["...cc..cc..",
      "..cmmccmmc.",
      ".cmmmmmmmmb",
      "cmmmmmmmmbb",
      "mmmmmmmmbbb",
      ".mbbmmbbbb.",
      "..bb..bbb.."], 0),
    (["...cc..cc..",
      "..cmmccmmc.",
      ".cmmmmmmmmb",
      "cmmmmmmmmbb",
      "mmmmmmmmbbb",
      ".mbbmmbbbb.",
      "..bb..bbb.."], 1),
    (["...cc..cc..",
      "..cm..cmmc.",
      ".cmm....mmb",
      "cmm......bb",
      "mmm.....bbb",
      ".mbb...bbb.",
      "..bb..bbb.."], 1),
    (["..c.....c..",
      ".cm.....mc.",
      ".m.......b.",
      "m.........b",
      ".b.......b.",
      "..b.....b.."], 2),
]
PUFF_LEGEND = {"c": "cream", "m": "mist", "b": "pebble"}
# Specks left when the puff breaks up: (dx, dy) from the feet, drifting up and out.
SPECKS = [
    [(-5, -5), (5, -5), (-2, -8), (2, -8), (0, -9)],
    [(-6, -6), (6, -6), (-3, -9), (3, -10)],
    [(-6, -8), (7, -7), (0, -11)],
    [(-7, -9), (7, -9)],
]


def die_frames(img):
    y0 = 60
    for n, rows in enumerate(SQUASH):
        cx = CELL * n
        top = FEET[1] + 1 - len(rows)
        put_rows(img, rows, cx + BODY_X0, y0 + top)
    for k, (rows, rise) in enumerate(PUFF):
        cx = CELL * (len(SQUASH) + k)
        w, h = len(rows[0]), len(rows)
        ac.draw_grid(img, rows, PUFF_LEGEND, cx + FEET[0] - w // 2, y0 + FEET[1] + 1 - h - rise)
        ring_outline(img, cx, y0)
    for k, specks in enumerate(SPECKS):
        cx = CELL * (len(SQUASH) + len(PUFF) + k)
        for (dx, dy) in specks:
            ac.put(img, cx + FEET[0] + dx, y0 + FEET[1] + dy, "pebble" if k < 2 else "stone")
    # the last frame stays empty: the creature is gone


def ring_outline(img, cx, cy):
    """Outline one cell's opaque pixels with ink, not touching the neighbouring cells."""
    cell = img.crop((cx, cy, cx + CELL, cy + CELL))
    ac.outline(cell, "ink", diagonal=False)
    img.paste(cell, (cx, cy))


# Going into the exit: a hop, then the creature shrinks into a glint.
ENTER = [
    ("body", 0),
    ("body", -1),
    ("body", -2),
    ["..kkk..", ".kuwwk.", "kuwpwpk", "kdddddk", ".kdddk.", "..k.k.."],
    ["..k..", ".kwk.", "kdwpk", ".kdk.", "..k.."],
    ["kkk", "kwk", "kkk"],
    ["..c..", ".c.c.", "c...c", ".c.c.", "..c.."],
    ["c...c", ".....", "..c..", ".....", "c...c"],
]


def enter_frames(img):
    y0 = 20
    for n, item in enumerate(ENTER):
        cx = CELL * n
        if isinstance(item, tuple):
            bob = item[1]
            body(img, cx, y0, BODY, STAND_FEET if bob == 0 else "..k...k..", bob)
            continue
        h, w = len(item), len(item[0])
        # shrinking shapes sit on the feet row, centred on the feet column
        put_rows(img, item, cx + FEET[0] - w // 2, y0 + FEET[1] + 1 - h - (n - 2))


# The leader's marker: a chevron pointing down at the leader, bobbing over 14 frames. The game draws
# it 3 pixels right of and 15 above the creature's cell, so marker column 6 is over the feet and
# marker row 18 is the creature's top outline.
MARKER = [
    "kkkkkkk",
    "kudddnk",
    "kkudnkk",
    ".kkdkk.",
    "..kkk..",
]
MARKER_BOB = [0, 0, 1, 1, 2, 2, 2, 1, 1, 0, 0, -1, -1, -1]
MARKER_TOP = 9


def marker_frames(img):
    y0 = 80
    for n, bob in enumerate(MARKER_BOB):
        cx = MARKER_X0 + CELL * n
        put_rows(img, MARKER, cx + 6 - 3, y0 + MARKER_TOP + bob)
        ac.put(img, cx + 6 - 2, y0 + MARKER_TOP + bob + 1, "cream")


def mirror_rows(img):
    """Left-facing copies of rows 0, 2 and 3, mirrored about cell column 9."""
    for row_y in (0, 40, 60):
        for n in range(LEFT_OFFSET // CELL):
            sx = CELL * n
            for y in range(CELL):
                for x in range(CELL):
                    p = img.getpixel((sx + x, row_y + y))
                    if p[3] == 0:
                        continue
                    mx = 2 * FEET[0] - x
                    if not 0 <= mx < CELL:
                        raise SystemExit("cell (%d, %d) has art in column %d, which has no mirror" %
                                         (sx, row_y, x))
                    img.putpixel((LEFT_OFFSET + sx + mx, row_y + y), p)


def build():
    img = blank_sheet()
    walk_frames(img)
    enter_frames(img)
    fall_frames(img)
    die_frames(img)
    marker_frames(img)
    mirror_rows(img)
    return img


def check(img):
    bad = ac.off_palette_pixels(img)
    if bad:
        raise SystemExit("tumblekin.png: %d pixels off the palette, first %r" % (len(bad), bad[0]))
    if img.size[0] < 640 or img.size[1] < 100:
        raise SystemExit("tumblekin.png: the sheet must be at least 640 x 100")
    if any(p[3] not in (0, 255) for p in img.getdata()):
        raise SystemExit("tumblekin.png: partial alpha")
    # The feet pixel carries the creature in the standing and walking frames.
    for x in [STAND_X, STAND_X + LEFT_OFFSET] + [CELL * n for n in range(8)]:
        cx = x
        if all(img.getpixel((cx + dx, FEET[1]))[3] == 0 for dx in range(6, 13)):
            raise SystemExit("tumblekin.png: no feet in cell x %d" % x)
    # Nothing but the eyes, glints and puff is light: the tint would wash the body out.
    light = {ac.PALETTE[n] for n in ("cream", "mist", "pebble", "stone")}
    for y in range(img.height):
        for x in range(img.width):
            p = img.getpixel((x, y))
            if p[3] and p[:3] not in light and max(p[:3]) > 90:
                raise SystemExit("tumblekin.png: pixel (%d, %d) %r too light for a tinted body" %
                                 (x, y, p))


def main(argv):
    root = argv[1] if len(argv) > 1 else ac.ASSETS_DIR
    img = build()
    check(img)
    print(ac.save_png(img, "graphics/tumblekin.png", root))


if __name__ == "__main__":
    main(sys.argv)
