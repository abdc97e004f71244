#!/usr/bin/python3
"""Draw the menus' own pictures: backgrounds, the title, the game-over cross, the selection arrows
and the flag frame.

Everything comes from tools/palette.txt through art_common.py, at 1:1 for the 320x200 screen, with
one-pixel ink outlines and light from the top left, like the widgets and the creatures. Random
details (stars, grass tufts) use a fixed seed, so running the script twice gives the same bytes.

    /usr/bin/python3 tools/make_menu_art.py

Writes under data/Assets/:
  menu_backgrounds/sky.png         320x200, stars on transparency (the clear colour shows)
  menu_backgrounds/moon.png        320x200, the moon alone on transparency
  menu_backgrounds/hills_far.png   320x56, far hills, wraps seamlessly (a slow scrolling layer)
  menu_backgrounds/hills_near.png  320x34, near hills with grass, wraps seamlessly (a faster layer)
  menu_backgrounds/options.png     320x200, opaque: the options screen draws over whatever was there
  graphics/title.png               the game's name in block letters
  graphics/anti.png                78x74 cross laid over the flag on the game-over screen
  graphics/arrow_left.png, graphics/arrow_right.png
                                   selection arrows, 20x20 cells: normal, focused, pressed, disabled
                                   (the widget style of make_widget_art.py)
  graphics/flag_frame.png          54x34 frame around the 50x30 flags the menus draw
  graphics/rule.png                136x3 line under the briefing's country name
  graphics/painted.png             13x13 seal with a tick beside a painted country's name
"""

import math
import random

from art_common import new_image, off_palette_pixels, outline, put, rect, rect_outline, save_png
from make_widget_art import arrow as widget_arrow

WIDTH, HEIGHT = 320, 200


def check_and_save(img, relpath):
    bad = off_palette_pixels(img)
    if bad:
        raise SystemExit("%s: %d pixels off the palette, first %r" % (relpath, len(bad), bad[0]))
    save_png(img, relpath)


def wave(x, parts):
    """A ridge height at column x from sine parts whose periods divide the picture width, so the
    ridge joins itself when the layer wraps."""
    return sum(amp * math.sin(2 * math.pi * (x * cycles / WIDTH) + phase) for amp, cycles, phase in parts)


def sky():
    img = new_image(WIDTH, HEIGHT)
    rng = random.Random(2207)
    # Stars only in the upper part: the hills cover the bottom and the buttons the middle.
    for _ in range(70):
        x, y = rng.randrange(WIDTH), rng.randrange(4, 120)
        put(img, x, y, rng.choice(["mist", "sand", "pebble", "pebble"]))
    for _ in range(9):  # a few bright ones with a small cross
        x, y = rng.randrange(6, WIDTH - 6), rng.randrange(6, 100)
        put(img, x, y, "cream")
        for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1)):
            put(img, x + dx, y + dy, "sand")
    outline(img, "ink", diagonal=False)
    return img


def moon():
    """The moon on its own layer, so a screen that shows a picture there (the briefing) leaves it out."""
    img = new_image(WIDTH, HEIGHT)
    # A moon in the top right, lit from the top left: a disc with a shaded lower-right crescent.
    cx, cy, r = 296, 58, 10
    for y in range(cy - r, cy + r + 1):
        for x in range(cx - r, cx + r + 1):
            d = (x - cx) ** 2 + (y - cy) ** 2
            if d <= r * r:
                shade = (x - cx + 4) ** 2 + (y - cy + 4) ** 2 > (r + 1) ** 2
                put(img, x, y, "sand" if shade else "butter")
    for x, y in ((292, 54), (293, 54), (298, 61), (299, 61), (299, 62), (291, 62)):
        put(img, x, y, "amber")  # craters
    outline(img, "ink", diagonal=False)
    return img


def hills(height, parts, base, body, rim, tufts, seed):
    img = new_image(WIDTH, height)
    rng = random.Random(seed)
    for x in range(WIDTH):
        top = int(round(base + wave(x, parts)))
        top = max(1, min(height - 1, top))
        rect(img, x, top, 1, height - top, body)
        put(img, x, top, rim)
        if tufts and rng.random() < 0.18:
            put(img, x, top - 1, tufts)
    return img


def options_background():
    img = new_image(WIDTH, HEIGHT, "navy")
    # A quiet diagonal weave of single pixels: texture without a gradient.
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if (x + 2 * y) % 12 == 0 and (x // 12 + y // 6) % 2 == 0:
                put(img, x, y, "slate")
    # The panel the widgets sit on.
    rect(img, 12, 26, WIDTH - 24, 160, "night")
    rect_outline(img, 12, 26, WIDTH - 24, 160, "ink")
    rect(img, 13, 27, WIDTH - 26, 1, "dusk")  # top-left light
    rect(img, 13, 27, 1, 158, "dusk")
    rect(img, 14, 184, WIDTH - 27, 1, "black")  # bottom-right shade
    rect(img, WIDTH - 14, 28, 1, 157, "black")
    # A band under the title.
    rect(img, 0, 2, WIDTH, 20, "plum")
    rect(img, 0, 2, WIDTH, 1, "rose")
    rect(img, 0, 21, WIDTH, 1, "ink")
    return img


# Block letters, 5x7, drawn at 3x: only the letters of the game's name.
LETTERS = {
    "V": ["X...X", "X...X", "X...X", "X...X", ".X.X.", ".X.X.", "..X.."],
    "O": [".XXX.", "X...X", "X...X", "X...X", "X...X", "X...X", ".XXX."],
    "A": [".XXX.", "X...X", "X...X", "XXXXX", "X...X", "X...X", "X...X"],
    "R": ["XXXX.", "X...X", "X...X", "XXXX.", "X.X..", "X..X.", "X...X"],
    "U": ["X...X", "X...X", "X...X", "X...X", "X...X", "X...X", ".XXX."],
    "Z": ["XXXXX", "....X", "...X.", "..X..", ".X...", "X....", "XXXXX"],
    "E": ["XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "XXXXX"],
    "D": ["XXXX.", "X...X", "X...X", "X...X", "X...X", "X...X", "XXXX."],
}


def title():
    text = "VOV ARUZEZUDOR"
    scale, advance, space = 3, 18, 9
    width = sum(space if c == " " else advance for c in text) - (advance - 5 * scale) + 3
    img = new_image(width, 7 * scale + 3)
    x = 1
    for c in text:
        if c == " ":
            x += space
            continue
        for gy, row in enumerate(LETTERS[c]):
            for gx, ch in enumerate(row):
                if ch != "X":
                    continue
                # Upper half amber, lower half orange: two flat tones, no gradient.
                tone = "butter" if gy == 0 else ("amber" if gy < 4 else "orange")
                rect(img, x + gx * scale, 1 + gy * scale, scale, scale, tone)
        x += advance
    # Drop shadow to the bottom right, then the outline around letters and shadow together.
    shadow = img.copy()
    for yy in range(img.height - 1, 0, -1):
        for xx in range(img.width - 1, 0, -1):
            if img.getpixel((xx, yy))[3] == 0 and img.getpixel((xx - 1, yy - 1))[3] != 0:
                shadow.putpixel((xx, yy), (0, 0, 0, 0))
                put(shadow, xx, yy, "maroon")
    outline(shadow, "ink")
    return shadow


def anti():
    """A thick red cross centred on the flag; the game draws it at its own size over the flag."""
    w, h = 78, 74
    img = new_image(w, h)
    half = 5
    for y in range(3, h - 3):
        for x in range(3, w - 3):
            # distance to the two diagonals, scaled to the picture's aspect
            u = x - 3 - (y - 3) * (w - 6) / (h - 6)
            v = x - 3 - (h - 4 - y) * (w - 6) / (h - 6)
            if abs(u) <= half or abs(v) <= half:
                light = (abs(u) <= half and u < -half + 3) or (abs(v) <= half and v < -half + 3)
                put(img, x, y, "vermilion" if light else "red")
    outline(img, "ink")
    outline(img, "maroon", diagonal=False)
    return img


def arrows():
    """Left and right arrow buttons for the selection screen, 20x20 cells side by side (normal,
    focused, pressed, disabled), drawn exactly like the selector's arrows so both read as one
    family."""
    pictures = []
    for pointing_left in (True, False):
        img = new_image(80, 20)
        for look in range(4):
            widget_arrow(img, 20 * look, 0, 20, 20, look, pointing_left)
        pictures.append(img)
    return pictures


def flag_frame():
    img = new_image(54, 34)
    rect_outline(img, 0, 0, 54, 34, "ink")
    rect_outline(img, 1, 1, 52, 32, "sand")
    rect(img, 1, 1, 52, 1, "cream")
    rect(img, 1, 1, 1, 32, "cream")
    return img


def rule():
    """A thin engraved line under a heading."""
    img = new_image(136, 3)
    rect(img, 0, 0, 136, 1, "ink")
    rect(img, 0, 1, 136, 1, "amber")
    rect(img, 0, 2, 136, 1, "ink")
    return img


def painted_seal():
    """A round green seal with a cream tick: the selection shows it beside a country already
    painted, so the done ones stand out while the player flicks through the list."""
    size, c, r = 13, 6, 5.6
    img = new_image(size, size)
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - c, y - c)
            if d <= r:
                # a crescent of light on the top-left rim, of shade on the bottom-right one
                lit = math.hypot(x - c - 1.5, y - c - 1.5) > r and x + y < 2 * c
                dark = math.hypot(x - c + 1.5, y - c + 1.5) > r and x + y > 2 * c
                put(img, x, y, "lime" if lit else ("moss" if dark else "leaf"))
    for x, y in ((3, 6), (4, 7), (5, 8), (6, 7), (7, 6), (8, 5), (9, 4), (4, 6), (5, 7), (6, 6), (7, 5),
                 (8, 4)):
        put(img, x, y, "cream")
    outline(img, "ink")
    return img


def main():
    check_and_save(sky(), "menu_backgrounds/sky.png")
    check_and_save(moon(), "menu_backgrounds/moon.png")
    check_and_save(hills(56, [(5, 2, 0.3), (3, 5, 1.7), (1.5, 11, 0.2)], 26, "plum", "rose", None, 11),
                   "menu_backgrounds/hills_far.png")
    check_and_save(hills(34, [(4, 3, 2.1), (2, 7, 0.9), (1, 13, 2.5)], 14, "moss", "leaf", "lime", 12),
                   "menu_backgrounds/hills_near.png")
    check_and_save(options_background(), "menu_backgrounds/options.png")
    check_and_save(title(), "graphics/title.png")
    check_and_save(anti(), "graphics/anti.png")
    left, right = arrows()
    check_and_save(left, "graphics/arrow_left.png")
    check_and_save(right, "graphics/arrow_right.png")
    check_and_save(flag_frame(), "graphics/flag_frame.png")
    check_and_save(rule(), "graphics/rule.png")
    check_and_save(painted_seal(), "graphics/painted.png")


if __name__ == "__main__":
    main()
