#!/usr/bin/python3
"""Draw the opening's pictures and the paddle game's ball.

    /usr/bin/python3 tools/make_intro_art.py [assets-dir]

Writes under data/Assets/ (or the given directory):
  menu_backgrounds/quillonstudio.png  the studio's logo, drawn for a white screen
  menu_backgrounds/brightfalllogo.png the second logo, drawn for a black screen
  flip.png                            32 x 32, the spinning ball of the paddle game

The logos are transparent around their shapes: the scenes clear the screen to white or black and
centre the picture on it. Deterministic: no randomness; every shape is a formula or a grid.
"""

import math
import sys

import art_common as ac

# A 5 x 7 capital font, enough for the two names. Drawn at 1:1 or at a whole factor.
GLYPHS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
}


def text_width(text, scale, gap):
    return sum(len(GLYPHS[c][0]) * scale for c in text) + gap * (len(text) - 1)


def draw_text(img, text, x, y, scale, gap, colour_of_row):
    """Letters at a whole `scale`; `colour_of_row(r)` names the colour of pixel row r (0 = top)."""
    for c in text:
        rows = GLYPHS[c]
        for gy, row in enumerate(rows):
            for gx, ch in enumerate(row):
                if ch != "#":
                    continue
                for sy in range(scale):
                    ac.rect(img, x + gx * scale, y + gy * scale + sy, scale, 1, colour_of_row(gy * scale + sy))
        x += len(rows[0]) * scale + gap


def shadow_under(img, colour, dx=1, dy=1):
    """A hard drop shadow of everything opaque, down and right (the light comes from the top left)."""
    src = img.copy()
    for y in range(img.height):
        for x in range(img.width):
            if src.getpixel((x, y))[3] == 0:
                sx, sy = x - dx, y - dy
                if 0 <= sx < img.width and 0 <= sy < img.height and src.getpixel((sx, sy))[3] != 0:
                    img.putpixel((x, y), ac.rgba(colour))


# ---------------------------------------------------------------------------------------------
# The studio logo: a quill over "QUILLON", "STUDIO" spaced out below, ink on a white page.

QUILL_SIZE = 40


def quill():
    """A feather laid from the nib (bottom left) to its tip (top right), barbs in two reds."""
    img = ac.new_image(QUILL_SIZE, QUILL_SIZE)
    nib = (5.0, 36.0)
    tip = (36.0, 3.0)
    ux, uy = tip[0] - nib[0], tip[1] - nib[1]
    length = math.hypot(ux, uy)
    ux, uy = ux / length, uy / length
    # Across the shaft; positive is the upper-left side, the lit one.
    vx, vy = uy, -ux
    for y in range(QUILL_SIZE):
        for x in range(QUILL_SIZE):
            px, py = x + 0.5 - nib[0], y + 0.5 - nib[1]
            u = (px * ux + py * uy) / length  # 0 at the nib, 1 at the tip
            v = px * vx + py * vy
            if u < 0.0 or u > 1.0:
                continue
            if u < 0.3:
                # The bare shaft and the nib: a thin dark line.
                if abs(v) < 0.8 and u > 0.02:
                    ac.put(img, x, y, "ink")
                continue
            s = (u - 0.3) / 0.7
            # Wide in the middle, pointed at the tip, a little wider on the lit side.
            half = 7.5 * math.sin(math.pi * min(1.0, s * 1.15)) ** 0.8 * (1.0 - 0.35 * s)
            limit = half * (1.1 if v > 0 else 0.85)
            if abs(v) > limit:
                continue
            if abs(v) < 0.7:
                ac.put(img, x, y, "cream")
                continue
            # Barbs run back from the shaft; a notch cut into the lower side near the base.
            band = int(math.floor(u * 22.0 + abs(v) * 0.45)) % 2
            if v < 0 and 0.45 < u < 0.52 and abs(v) > limit * 0.4:
                continue
            if v > 0:
                ac.put(img, x, y, "vermilion" if band else "orange")
            else:
                ac.put(img, x, y, "red" if band else "maroon")
    ac.outline(img, "ink", diagonal=False)
    return img


def studio_logo():
    width, height = 100, 76
    img = ac.new_image(width, height)
    feather = quill()
    img.alpha_composite(feather, ((width - QUILL_SIZE) // 2, 0))
    # An ink stroke where the nib touches the page.
    ac.rect(img, 22, 38, 22, 1, "ink")
    ac.rect(img, 26, 39, 12, 1, "stone")

    name = "QUILLON"
    name_width = text_width(name, 2, 2)
    letters = ac.new_image(width, height)
    draw_text(letters, name, (width - name_width) // 2, 45, 2, 2, lambda r: "ink")
    shadow_under(letters, "pebble")
    img.alpha_composite(letters)

    sub = "STUDIO"
    sub_width = text_width(sub, 1, 4)
    draw_text(img, sub, (width - sub_width) // 2, 65, 1, 4, lambda r: "red")
    # Two short rules either side of the word.
    ac.rect(img, (width - sub_width) // 2 - 12, 68, 8, 1, "pebble")
    ac.rect(img, (width + sub_width) // 2 + 4, 68, 8, 1, "pebble")
    return img


# ---------------------------------------------------------------------------------------------
# The second logo: a falling star trailing warm light behind "BRIGHTFALL", on a black screen.

STAR = [
    "....c....",
    "....c....",
    "...cbc...",
    "ccbbwbbcc",
    ".cbbbbbc.",
    "..bbabb..",
    "..ba.ab..",
    ".ba...ab.",
    ".a.....a.",
]
STAR_LEGEND = {"w": "white", "c": "cream", "b": "butter", "a": "amber"}
TRAIL_COLOURS = ["butter", "amber", "orange", "vermilion", "red", "maroon"]


def fall_logo():
    width, height = 140, 56
    img = ac.new_image(width, height)
    # The trail: a slanted band, hot next to the star and cooling towards the top left, thinning
    # and breaking into single sparks as it goes.
    head = (112.0, 22.0)
    direction = (-0.96, -0.28)
    length = 66.0
    for y in range(height):
        for x in range(width):
            px, py = x + 0.5 - head[0], y + 0.5 - head[1]
            along = px * direction[0] + py * direction[1]
            across = abs(px * direction[1] - py * direction[0])
            if along < 0 or along > length:
                continue
            thickness = 2.8 * (1.0 - along / length)
            if across > thickness:
                continue
            step = int(along / 12.0)
            if step >= 2 and (x + 2 * y) % step != 0:
                continue
            ac.put(img, x, y, TRAIL_COLOURS[min(step, len(TRAIL_COLOURS) - 1)])
    ac.draw_grid(img, STAR, STAR_LEGEND, int(head[0]) - 4, int(head[1]) - 4)

    name = "BRIGHTFALL"
    name_width = text_width(name, 2, 2)
    letters = ac.new_image(width, height)
    top = 30

    def band(r):
        # Light from above: the upper rows brightest, the lowest the warm shade.
        return "butter" if r < 6 else ("amber" if r < 11 else "orange")

    draw_text(letters, name, (width - name_width) // 2, top, 2, 2, band)
    shadow_under(letters, "maroon")
    img.alpha_composite(letters)
    return img


# ---------------------------------------------------------------------------------------------
# The ball: one of the creatures curled up and tumbling, round so it reads at any angle.

FLIP_SIZE = 32


def flip_ball():
    img = ac.new_image(FLIP_SIZE, FLIP_SIZE)
    c = (FLIP_SIZE - 1) / 2.0
    radius = 13.5
    for y in range(FLIP_SIZE):
        for x in range(FLIP_SIZE):
            dx, dy = x - c, y - c
            d = math.hypot(dx, dy)
            if d > radius:
                continue
            # Shade by where the light from the top left falls on a sphere.
            nz = math.sqrt(max(0.0, 1.0 - (d / radius) ** 2))
            light = (-dx * 0.6 - dy * 0.6) / radius + nz * 0.8
            if light > 1.05:
                colour = "butter"
            elif light > 0.55:
                colour = "amber"
            elif light > 0.05:
                colour = "orange"
            else:
                colour = "vermilion"
            ac.put(img, x, y, colour)
    ac.outline(img, "ink", diagonal=False)
    # A small shine, two eyes and a smile, so a spin is visible on the big one.
    ac.draw_grid(img, ["cc.", "c.."], {"c": "cream"}, 9, 8)
    for ex in (11, 18):
        ac.draw_grid(img, ["kk", "kc", "kk"], {"k": "ink", "c": "cream"}, ex, 12)
    ac.draw_grid(img, ["k....k", ".kkkk."], {"k": "ink"}, 12, 19)
    return img


def check(relpath, img):
    bad = ac.off_palette_pixels(img)
    if bad:
        raise SystemExit("%s: %d pixels off the palette, first %r" % (relpath, len(bad), bad[0]))
    alphas = {p[3] for p in img.getdata()}
    if not alphas <= {0, 255}:
        raise SystemExit("%s: partial alpha %r" % (relpath, sorted(alphas)))
    if relpath == "flip.png" and img.size != (FLIP_SIZE, FLIP_SIZE):
        raise SystemExit("flip.png must be %dx%d" % (FLIP_SIZE, FLIP_SIZE))
    # The logos are centred by halving their size: keep them inside the 320 x 200 screen.
    if img.width > 320 or img.height > 200:
        raise SystemExit("%s: larger than the screen" % relpath)


def build():
    return {
        "menu_backgrounds/quillonstudio.png": studio_logo(),
        "menu_backgrounds/brightfalllogo.png": fall_logo(),
        "flip.png": flip_ball(),
    }


def main(argv):
    root = argv[1] if len(argv) > 1 else ac.ASSETS_DIR
    for relpath, img in build().items():
        check(relpath, img)
        print(ac.save_png(img, relpath, root))


if __name__ == "__main__":
    main(sys.argv)
