"""Widget pictures and the button-tip icons of Vov Aruzezudor.

Pictures written under data/Assets/gui/ and their layouts (w x h is one widget cell; looks in the
order normal, focused, pressed, disabled):

  button.png        480 x 20   button 120 x 20; 1 frame, vertical strip; look n at x = 120 n
  button_small.png  256 x 16   button 64 x 16; look n at x = 64 n
  button_large.png  640 x 28   button 160 x 28; look n at x = 160 n
  selector.png       72 x 80   selector, arrow width A 12, piece width P 16 (72 = 2A + 3P),
                               row height 20: left arrow | left end | middle | right end | right
                               arrow, look n in the row at y = 20 n
  slider.png         48 x 72   slider bar 16 high, fill height 8 (margin 4, fill y 4): the fill
                               strip on top (10-wide columns at x 0, 10, 20, 30 for the four
                               looks), then one frame row per look at y = 8 + 16 n, each cut in
                               three 16-wide pieces (left end, middle, right end). Rows 1 and 2
                               are highlight rims with a see-through middle (drawn over the fill)
  switch.png        160 x 80   switch 80 x 20 in two halves: off at x 0 (left half lit), on at
                               x 80 (right half lit); look n at y = 20 n. Meant for two labels
  padbuttons.png    512 x 64   button tips: 32 x 32 cells, row 0 an Xbox-like pad, row 1 keyboard
                               and mouse (other pads too). Cells 0 accept, 1 back, 7 pause,
                               12 left, 13 right, 14 and 15 the two walking actions. Each glyph
                               lies inside x 12..31 of its cell, since the tip text starts 4
                               pixels right of the cell

Description lines that fit them (the menus' element files):
  button.png:   120, 20, YES, YES, 1, 0      selector.png: width, 20, arrow width 12
  slider.png:   width, 16, "4,4", 8, ...     switch.png:   80, 20, YES (two labels)

Focus must be seen across a room: the focused look is a bright vermilion body inside a two-pixel
butter rim, against the slate-blue normal look; pressed is darker and sunk by a pixel; disabled is
flat stone. The text drawn on them is the cream band of the fonts.

Run: /usr/bin/python3 tools/make_widget_art.py  (byte-identical output on every run)
"""

import sys

from art_common import new_image, off_palette_pixels, put, rect, rect_outline, save_png

NORMAL, FOCUSED, PRESSED, DISABLED = range(4)

# body, highlight (top-left light), shadow, outline, rim (None: no rim)
LOOKS = {
    NORMAL: ("slate", "sky", "navy", "ink", None),
    FOCUSED: ("vermilion", "orange", "red", "ink", "butter"),
    PRESSED: ("maroon", "red", "night", "ink", "amber"),
    DISABLED: ("stone", "pebble", "umber", "dusk", None),
}


def panel(img, x, y, w, h, look, corners=True):
    """A bevelled panel: outline, optional rim, light from the top left (sunk when pressed)."""
    body, light, shade, line, rim = LOOKS[look]
    rect(img, x + 1, y + 1, w - 2, h - 2, body)
    rect_outline(img, x, y, w, h, line)
    inner = 1
    if rim:
        rect_outline(img, x + 1, y + 1, w - 2, h - 2, rim)
        rect_outline(img, x + 2, y + 2, w - 4, h - 4, rim)
        inner = 3
    top, bottom = (shade, light) if look == PRESSED else (light, shade)
    rect(img, x + inner, y + inner, w - 2 * inner, 1, top)
    rect(img, x + inner, y + inner, 1, h - 2 * inner, top)
    rect(img, x + inner, y + h - inner - 1, w - 2 * inner, 1, bottom)
    rect(img, x + w - inner - 1, y + inner, 1, h - 2 * inner, bottom)
    if corners:
        for cx, cy in ((x, y), (x + w - 1, y), (x, y + h - 1), (x + w - 1, y + h - 1)):
            img.putpixel((cx, cy), (0, 0, 0, 0))


def make_button(w, h):
    img = new_image(4 * w, h)
    for look in range(4):
        panel(img, look * w, 0, w, h, look)
    return img


def arrow(img, x, y, w, h, look, pointing_left):
    panel(img, x, y, w, h, look)
    colour = "dusk" if look == DISABLED else ("butter" if look in (FOCUSED, PRESSED) else "cream")
    cy = y + h // 2
    size = min(4, (h - 8) // 2)
    sink = 1 if look == PRESSED else 0
    for i in range(size + 1):
        # a solid triangle, its tip toward the outside
        col = (x + w // 2 - size // 2 + i) if pointing_left else (x + w // 2 + size // 2 - i)
        rect(img, col, cy - i + sink, 1, 2 * i + 1, colour)


def make_selector(a=12, p=16, h=20):
    img = new_image(2 * a + 3 * p, 4 * h)
    for look in range(4):
        y = look * h
        arrow(img, 0, y, a, h, look, True)
        arrow(img, a + 3 * p, y, a, h, look, False)
        body, light, shade, line, rim = LOOKS[look]
        # the bar: left end, middle, right end; the middle tiles seamlessly
        for k in range(3):
            x = a + k * p
            rect(img, x, y + 1, p, h - 2, body)
            rect(img, x, y, p, 1, line)
            rect(img, x, y + h - 1, p, 1, line)
            rect(img, x, y + 1, p, 1, rim or light)
            rect(img, x, y + h - 2, p, 1, rim or shade)
            if rim:
                rect(img, x, y + 2, p, 1, rim)
                rect(img, x, y + h - 3, p, 1, rim)
        rect(img, a, y + 1, 1, h - 2, line)
        rect(img, a + 3 * p - 1, y + 1, 1, h - 2, line)
    return img


FILL = {NORMAL: ("amber", "butter", "tan"), FOCUSED: ("butter", "cream", "amber"),
        PRESSED: ("orange", "amber", "vermilion"), DISABLED: ("pebble", "sand", "stone")}


def make_slider(q=16, h=16, fill_h=8):
    img = new_image(3 * q, fill_h + 4 * h)
    for look in range(4):
        body, light, shade = FILL[look]
        x = 10 * look
        rect(img, x, 0, 10, fill_h, body)
        rect(img, x, 0, 10, 1, light)
        rect(img, x, fill_h - 1, 10, 1, shade)
    w = 3 * q
    for look in range(4):
        y = fill_h + look * h
        if look in (FOCUSED, PRESSED):
            rim = "butter" if look == FOCUSED else "orange"
            # a rim only: the fill inside shows through
            rect_outline(img, 0, y, w, h, "ink")
            rect_outline(img, 1, y + 1, w - 2, h - 2, rim)
            rect_outline(img, 2, y + 2, w - 4, h - 4, rim)
        else:
            trough = "night" if look == NORMAL else "umber"
            rect(img, 1, y + 1, w - 2, h - 2, trough)
            rect_outline(img, 0, y, w, h, "ink" if look == NORMAL else "dusk")
            rect(img, 1, y + h - 2, w - 2, 1, "dusk" if look == NORMAL else "stone")
        for cx, cy in ((0, y), (w - 1, y), (0, y + h - 1), (w - 1, y + h - 1)):
            img.putpixel((cx, cy), (0, 0, 0, 0))
    return img


def make_switch(w=80, h=20):
    img = new_image(2 * w, 4 * h)
    for look in range(4):
        y = look * h
        for on in (0, 1):
            x = on * w
            panel(img, x, y, w, h, look)
            # the unchosen half is dark, so the lit half reads as the choice
            half = w // 2
            dark_x = x + (0 if on else half)
            dark = "umber" if look == DISABLED else "night"
            rect(img, dark_x + 3, y + 3, half - 6, h - 6, dark)
            rect(img, x + half, y + 1, 1, h - 2, "ink")
    return img


# 5 x 7 capitals for the key caps and pad buttons
LETTERS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
}


def text(img, x, y, word, colour, gap=1):
    for ch in word:
        for dy, row in enumerate(LETTERS[ch]):
            for dx, c in enumerate(row):
                if c == "#":
                    put(img, x + dx, y + dy, colour)
        x += 5 + gap


def disc(img, cx, cy, r, colour, line="ink"):
    for yy in range(cy - r - 1, cy + r + 2):
        for xx in range(cx - r - 1, cx + r + 2):
            d = (xx - cx) ** 2 + (yy - cy) ** 2
            if d <= r * r:
                put(img, xx, yy, colour)
            elif d <= (r + 1) * (r + 1):
                put(img, xx, yy, line)


def keycap(img, x, y, w, h):
    rect(img, x + 1, y + 1, w - 2, h - 2, "mist")
    rect_outline(img, x, y, w, h, "ink")
    rect(img, x + 1, y + h - 3, w - 2, 2, "pebble")
    for cx, cy in ((x, y), (x + w - 1, y), (x, y + h - 1), (x + w - 1, y + h - 1)):
        img.putpixel((cx, cy), (0, 0, 0, 0))


def arrow_glyph(img, cx, cy, pointing_left, colour):
    for i in range(5):
        col = cx - 2 + i if pointing_left else cx + 2 - i
        rect(img, col, cy - i, 1, 2 * i + 1, colour)


def make_padbuttons():
    img = new_image(512, 64)
    cell = lambda n: 32 * n  # noqa: E731
    # Row 0: an Xbox-like pad. Face buttons are coloured discs, the d-pad a grey cross.
    for n, letter, colour in ((0, "A", "leaf"), (1, "B", "red")):
        disc(img, cell(n) + 21, 16, 8, colour)
        text(img, cell(n) + 19, 13, letter, "cream")
    # pause: the menu button, three bars on a dark disc
    disc(img, cell(7) + 21, 16, 8, "dusk")
    for k in range(3):
        rect(img, cell(7) + 17, 12 + 3 * k, 9, 1, "cream")
    for n, left in ((12, True), (13, False)):
        cx = cell(n) + 21
        rect(img, cx - 3, 7, 7, 19, "stone")
        rect(img, cx - 9, 13, 19, 7, "stone")
        rect_outline(img, cx - 3, 7, 7, 19, "ink")
        rect_outline(img, cx - 9, 13, 19, 7, "ink")
        rect(img, cx - 2, 13, 5, 7, "stone")
        side = cx - 8 if left else cx + 4
        rect(img, side, 14, 5, 5, "butter")
    for n, word in ((14, "LB"), (15, "RB")):
        x = cell(n) + 12
        rect(img, x + 1, 10, 18, 12, "dusk")
        rect_outline(img, x, 9, 20, 14, "ink")
        rect(img, x + 1, 10, 18, 1, "stone")
        text(img, x + 4, 12, word, "cream", gap=1)
    # Row 1: keyboard and mouse. Key caps with their labels.
    y = 32
    keycap(img, cell(0) + 12, y + 6, 20, 20)
    # the Return key's bent arrow
    rect(img, cell(0) + 25, y + 10, 2, 8, "ink")
    rect(img, cell(0) + 18, y + 16, 9, 2, "ink")
    arrow_glyph(img, cell(0) + 18, y + 17, True, "ink")
    for n in (1, 7):
        keycap(img, cell(n) + 12, y + 6, 20, 20)
        # "ESC" in 3 x 5 letters would not read; the caps say E, S, C with no gap
        text(img, cell(n) + 13, y + 11, "ESC", "ink", gap=0)
    for n, left in ((12, True), (13, False)):
        keycap(img, cell(n) + 12, y + 6, 20, 20)
        arrow_glyph(img, cell(n) + 22, y + 15, left, "ink")
        rect(img, cell(n) + 18 if not left else cell(n) + 22, y + 14, 5, 3, "ink")
    for n, letter in ((14, "A"), (15, "D")):
        keycap(img, cell(n) + 12, y + 6, 20, 20)
        text(img, cell(n) + 20, y + 11, letter, "ink")
    return img


def main():
    pictures = {
        "gui/button.png": make_button(120, 20),
        "gui/button_small.png": make_button(64, 16),
        "gui/button_large.png": make_button(160, 28),
        "gui/selector.png": make_selector(),
        "gui/slider.png": make_slider(),
        "gui/switch.png": make_switch(),
        "gui/padbuttons.png": make_padbuttons(),
    }
    failed = False
    for name, img in pictures.items():
        bad = off_palette_pixels(img)
        if bad:
            print("%s: %d pixels off the palette, first %r" % (name, len(bad), bad[0]))
            failed = True
            continue
        print("wrote", save_png(img, name))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
