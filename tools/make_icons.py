#!/usr/bin/python3
"""Draw the desktop icon of Vov Aruzezudor in the hicolor sizes.

    /usr/bin/python3 tools/make_icons.py [out-dir]     # default: packaging/icons

The icon is one 16 x 16 pixel-art tile: the leader, marker above it, walking right over a strip of
country that it has painted red and amber behind it and not yet ahead. Every size is that tile
scaled by a whole factor with no smoothing (16 32 48 64 128 256 are 1 2 3 4 8 16 times), so the
small icon is the drawing itself and the large ones show the same pixels a desktop would otherwise
blur. Files are "<size>x<size>/apps/<app id>.png", ready to be installed under
share/icons/hicolor/.

Deterministic: no randomness; running it again gives the same bytes.
"""

import os
import sys

import art_common as ac

APP_ID = "io.github.vovaruzezudor.vovaruzezudor"
TILE = 16
SIZES = (16, 32, 48, 64, 128, 256)

# One character per pixel; "." stays transparent (the tile's cut corners).
LEGEND = {
    "k": "ink",        # outlines and feet
    "s": "sky",        # the air
    "u": "vermilion",  # creature, lit upper left
    "d": "red",        # creature body
    "n": "maroon",     # creature shade, lower right
    "w": "cream",      # eye white, marker glint
    "p": "black",      # pupils, looking the way it walks
    "m": "amber",      # the leader's marker
    "r": "red",        # painted ground, upper stripe
    "a": "amber",      # painted ground, lower stripe
    "t": "tan",        # ground not painted yet
    "b": "brown",      # its shade
}

# The creature rows are the game's own standing sprite; the ground's top edge is the walkable line.
ICON = [
    ".kkkkkkkkkkkkkk.",
    "ksssssswmmsssssk",
    "ksssssssmssssssk",
    "kssssssssssssssk",
    "kssssskkkkkssssk",
    "ksssskuuuuuksssk",
    "kssskuuwwdwwkssk",
    "kssskudwpdwpkssk",
    "kssskddddddnkssk",
    "ksssskddnnnksssk",
    "kssssskksskksssk",
    "krrrrrrrrrrttttk",
    "krrrrrrrrrrttttk",
    "kaaaaaaaaaabbbtk",
    "kaaaaaaaaaabbbbk",
    ".kkkkkkkkkkkkkk.",
]


def tile():
    if len(ICON) != TILE or any(len(row) != TILE for row in ICON):
        raise ValueError("the icon grid must be %d x %d" % (TILE, TILE))
    img = ac.new_image(TILE, TILE)
    ac.draw_grid(img, ICON, LEGEND)
    bad = ac.off_palette_pixels(img)
    if bad:
        raise ValueError("off-palette pixels: %r" % bad[:4])
    return img


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(ac.TOOLS_DIR), "packaging", "icons")
    base = tile()
    for size in SIZES:
        img = base.resize((size, size), resample=0)  # nearest: pixel art keeps its edges
        path = ac.save_png(img, os.path.join("%dx%d" % (size, size), "apps", APP_ID + ".png"), root=out)
        print(path)


if __name__ == "__main__":
    main()
