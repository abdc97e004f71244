#!/usr/bin/python3
"""Draw the engine's own pictures: the two mouse pointers, the scanline mask and the three bars.

    /usr/bin/python3 tools/make_engine_art.py [assets-dir]

Writes under data/Assets/ (or the given directory). Deterministic: no randomness at all.
"""

import sys

import art_common as ac

# The scene centres the pointer image on the mouse (x - w/2, y - h/2 with integer halves), so an odd
# size puts the hotspot exactly on the middle pixel. 11 x 11 reads clearly at 320 x 200 without
# hiding the terrain the player is aiming at.
POINTER_SIZE = 11

# Normal pointer: a small plus with a gap round the hotspot. Light comes from the top left, so the
# top and left arms are lit (cream) and the bottom and right arms a step darker (mist).
NORMAL_POINTER = [
    "....kkk....",
    "....kck....",
    "....kck....",
    "....kck....",
    "kkkk.k.kkkk",
    "kccckckmmmk",
    "kkkk.k.kkkk",
    "....kmk....",
    "....kmk....",
    "....kmk....",
    "....kkk....",
]

# Action pointer, shown while a button builds or digs: a warm ring marks the patch the brush works on,
# with the same centre pixel as the normal pointer so the aim does not jump when a button goes down.
# The ring is lit on its upper left (butter), amber on the rest, and darker (orange) on the lower right.
ACTION_POINTER = [
    "...kkkkk...",
    "..kbbbaak..",
    ".kbkkkkkak.",
    "kbk.....kak",
    "kbk..k..kak",
    "kak.kck.kok",
    "kak..k..kok",
    "kak.....kok",
    ".kakkkkkok.",
    "..kaooook..",
    "...kkkkk...",
]

POINTER_LEGEND = {
    "k": "ink",
    "c": "cream",
    "m": "mist",
    "b": "butter",
    "a": "amber",
    "o": "orange",
}

# Scanlines are drawn with multiply blending, so white leaves the picture alone and the shade row
# darkens it by roughly 12 % (mist is about 91 % red, 88 % green, 84 % blue, a faintly warm line).
# Three rows per period: 200 is not a multiple of 3, but the two rows the tiling leaves uncovered at
# the bottom are white rows of the pattern anyway, so nothing shows.
SCANLINE_ROWS = ["white", "white", "mist"]
SCANLINE_WIDTH = 320

# The black bar is the fade curtain (stretched over the screen) and the source of the 40 x 48 wipe
# cells; the white and red bars share its size so any scene can swap one for another.
BAR_SIZE = (64, 64)
BARS = {"black_bar": "black", "white_bar": "white", "red_bar": "red"}


def pointer(rows):
    img = ac.new_image(POINTER_SIZE, POINTER_SIZE)
    ac.draw_grid(img, rows, POINTER_LEGEND)
    return img


def scanlines():
    img = ac.new_image(SCANLINE_WIDTH, len(SCANLINE_ROWS))
    for y, name in enumerate(SCANLINE_ROWS):
        ac.rect(img, 0, y, SCANLINE_WIDTH, 1, name)
    return img


def check(relpath, img):
    """Refuse to write a picture the engine would show wrongly."""
    bad = ac.off_palette_pixels(img)
    if bad:
        raise SystemExit("%s: %d pixels off the palette, first %r" % (relpath, len(bad), bad[0]))
    if relpath.startswith("hud/"):
        if img.size != (POINTER_SIZE, POINTER_SIZE):
            raise SystemExit("%s: pointer must be %dx%d" % (relpath, POINTER_SIZE, POINTER_SIZE))
        centre = POINTER_SIZE // 2
        if img.getpixel((centre, centre))[3] != 255:
            raise SystemExit("%s: the hotspot pixel must be visible" % relpath)
        alphas = {p[3] for p in img.getdata()}
        if not alphas <= {0, 255}:
            raise SystemExit("%s: pointer has partial alpha %r" % (relpath, sorted(alphas)))
    else:
        # Bars and scanlines are fully opaque: a hole would let the scene through a curtain.
        if any(p[3] != 255 for p in img.getdata()):
            raise SystemExit("%s: must be fully opaque" % relpath)


def build():
    pictures = {
        "hud/mousenormal.png": pointer(NORMAL_POINTER),
        "hud/mouseaction.png": pointer(ACTION_POINTER),
        "gui/scanlines.png": scanlines(),
    }
    for stem, colour in BARS.items():
        pictures["gui/%s.png" % stem] = ac.new_image(BAR_SIZE[0], BAR_SIZE[1], fill=colour)
    return pictures


def main(argv):
    root = argv[1] if len(argv) > 1 else ac.ASSETS_DIR
    for relpath, img in build().items():
        check(relpath, img)
        print(ac.save_png(img, relpath, root))


if __name__ == "__main__":
    main(sys.argv)
