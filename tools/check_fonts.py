#!/usr/bin/python3
"""Check the bitmap fonts the way the game reads them.

Usage: python3 tools/check_fonts.py [DATA_DIR] [--preview FILE]

The checks need the standard library only (ctest runs them); the preview needs python3-pil and
python3-numpy. Reads data/Assets/font/fonts.txt, every description it names and every picture those
name, cuts each picture into glyphs at the game's glyph gap, and checks what the game relies on:

  - the number of characters after a "##" line equals the glyphs that the picture's row-0 markers define;
  - every glyph is at least one pixel wide; every font has a space and the digits;
  - every picture of a font has the same number of colour bands, at least five, and fills them exactly;
  - band pixels are fully opaque or fully clear, one colour per band (no grey fringes), and every band
    holds the same shapes (the shadow band lines up with the text it shadows);
  - pictures and re-packed atlases stay within the largest texture the game accepts;
  - description lines are LF-only, none is empty, none but the "##" lines starts with "#";
  - no character decodes to code 0 (the game's UTF-8 reading has no room for U+0180..U+03FF);
  - every character of every game text, of the flag and level lists and of what the code draws itself
    is in every font (the code draws texts in fonts 0, 1 and 5, scene files may pick any), and fonts
    0, 1 and 5 exist;
  - flag and level names fit the one line the selection and the briefing give them in font 0;
  - the backdrop picture exists, is big enough for its three pieces, and its right cap covers the line
    height of font 0 and the widest font-0 glyph.

With --preview FILE it also lays out sample lines in every font, as the game would, into one PNG.
Exit status 0 when everything holds, 1 otherwise.
"""

import glob
import os
import sys

from test_level_art import Png

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "data")
ASSETS = os.path.join(DATA, "Assets")
FONT_FOLDER = "Assets/font/"
GLYPH_GAP = 1
MAX_TEXTURE = 8192
MIN_BANDS = 5
FONTS_FOR_ALL_TEXTS = (0, 1, 5)
BACKDROP = "Assets/font/fonts/text_shadow_18p.png"
# What the code draws without a text key: the exit's labels, the clock and the counts.
CODE_DRAWN = "GO IN Closed 0123456789%:/"
# Names drawn on one line of the 320-pixel screen in font 0, and the room each has: the selection
# centres flag names with 2 pixels either side; the briefing writes level names from x 20.
NAME_ROOM = [("Flags/flags.txt", ",", 320 - 4 - 4), ("Assets/texts/levelnames.txt", "\t", 320 - 4 - 20)]


# Alpha bytes to 1 where a pixel shows, 0 where it is clear.
OPAQUE = bytes([0] + [1] * 255)


def split(data, delimiter):
    """The game's split: pieces up to each delimiter, no empty last piece after a trailing one."""
    pieces = data.split(delimiter)
    if pieces and pieces[-1] == data[:0]:
        pieces.pop()
    return pieces


def decode(data, dollar_escapes=False, base_colour=0, colour_count=1):
    """The game's 16-bit UTF-8 reading; yields (code, band)."""
    out = []
    band = base_colour
    i, n = 0, len(data)
    while i < n:
        b = data[i]
        if dollar_escapes and b == 0x24:
            if i + 1 >= n:
                break
            nxt = data[i + 1]
            if 0x30 <= nxt <= 0x3A:
                band = min(nxt - 0x30, colour_count - 1)
                i += 2
            else:
                band = base_colour
                i += 1
            continue
        if b < 0x80:
            code, i = b, i + 1
        elif 0xC0 <= b <= 0xC5:
            nxt = data[i + 1] if i + 1 < n else 0
            code, i = ((b & 0x1F) << 6) | (nxt & 0x3F), i + 2
        elif 0xC6 <= b <= 0xCF:
            code, i = 0, i + 2
        elif 0xE0 <= b <= 0xEF:
            b1 = data[i + 1] if i + 1 < n else 0
            b2 = data[i + 2] if i + 2 < n else 0
            code, i = ((b << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F)) & 0xFFFF, i + 3
        else:
            code, i = 0, i + 1
        out.append((code, band))
    return out


class Font:
    def __init__(self, name, size):
        self.name = name
        self.size = size
        self.colour_count = -1
        self.glyphs = {}  # code -> (atlas index, srcX, width)
        self.digits = {}
        self.pictures = []  # (Png, row-0 markers) per atlas, None for a missing picture
        self.atlas_sizes = []


class Checker:
    def __init__(self):
        self.errors = []
        self.fonts = []

    def fail(self, message):
        self.errors.append(message)

    def path(self, name):
        return os.path.join(DATA, name)

    def load_font_list(self):
        list_path = self.path(FONT_FOLDER + "fonts.txt")
        if not os.path.exists(list_path):
            self.fail("no font list at %s" % list_path)
            return
        with open(list_path, "rb") as f:
            raw = f.read()
        if b"\r" in raw:
            self.fail("fonts.txt has carriage returns")
        for line in split(raw, b"\n"):
            if not line or line.startswith(b"#"):
                continue
            fields = split(line, b"\t")
            if len(fields) < 2 or not fields[1].isdigit():
                self.fail("fonts.txt: bad line %r" % line)
                continue
            self.load_font(FONT_FOLDER + fields[0].decode("utf-8"), int(fields[1]))

    def load_font(self, description, size):
        number = len(self.fonts)
        where = "font %d (%s)" % (number, description)
        desc_path = self.path(description)
        if not os.path.exists(desc_path):
            self.fail("%s: description file missing" % where)
            return
        font = Font(description, size)
        with open(desc_path, "rb") as f:
            raw = f.read()
        if b"\r" in raw:
            self.fail("%s: carriage return in the description" % where)
        folder = description[:description.rfind("/") + 1]
        picture = None
        expected = 0
        k = 0

        def close_picture():
            if picture is not None and k != expected:
                self.fail("%s, %s: %d characters named but the markers define %d glyphs"
                          % (where, picture, k, expected))

        for line in split(raw, b"\n"):
            if line.startswith(b"##"):
                close_picture()
                picture = folder + line[2:].decode("utf-8")
                markers = self.load_picture(font, picture, where)
                expected = max(0, len(markers) - 1)
                k = 0
                continue
            if not line:
                self.fail("%s: empty line in the description" % where)
                continue
            if line.startswith(b"#"):
                self.fail("%s: a glyph line starts with '#', which readers may take for a comment: %r"
                          % (where, line))
            if picture is None:
                self.fail("%s: characters before the first picture" % where)
                continue
            for code, _ in decode(line):
                if code == 0:
                    self.fail("%s: %r decodes to code 0 in the game" % (where, line.decode("utf-8", "replace")))
                if k < expected:
                    x0, x1 = markers[k], markers[k + 1]
                    glyph = (len(font.pictures) - 1, x0 + (2 * k + 1) * GLYPH_GAP, x1 - x0)
                    if glyph[2] <= 0:
                        self.fail("%s: glyph %d has width %d" % (where, k, glyph[2]))
                    font.glyphs.setdefault(code, glyph)
                    if 0x30 <= code <= 0x39:
                        font.digits[code] = glyph
                k += 1
        close_picture()
        if picture is None:
            self.fail("%s: no picture" % where)
        if 0x20 not in font.glyphs:
            self.fail("%s: no space" % where)
        for d in range(0x30, 0x3A):
            if d not in font.digits:
                self.fail("%s: no digit %s" % (where, chr(d)))
        self.fonts.append(font)

    def load_picture(self, font, picture, where):
        path = self.path(picture)
        if not os.path.exists(path):
            self.fail("%s: picture %s missing" % (where, picture))
            font.pictures.append(None)
            return []
        png = Png(path)
        if png.channels != 4:
            self.fail("%s: %s has %d channels, not RGBA" % (where, picture, png.channels))
            png.rows = [b"".join(bytes(png.pixel(x, y)) for x in range(png.width)) for y in range(png.height)]
            png.channels = 4
        w, h = png.width, png.height
        if w > MAX_TEXTURE or h > MAX_TEXTURE:
            self.fail("%s: %s is %dx%d, larger than %d" % (where, picture, w, h, MAX_TEXTURE))
        bands = (h - 1) // font.size
        if font.colour_count == -1:
            font.colour_count = bands
            if bands < MIN_BANDS:
                self.fail("%s: %d colour bands, fewer than %d" % (where, bands, MIN_BANDS))
        elif bands != font.colour_count:
            self.fail("%s: %s has %d bands, the font's first picture %d" % (where, picture, bands, font.colour_count))
        if h != 1 + bands * font.size:
            self.fail("%s: %s is %d rows high, not 1 + bands x %d" % (where, picture, h, font.size))
        row0 = png.rows[0]
        markers = [x for x in range(w) if row0[4 * x:4 * x + 4] == row0[:4]]
        n = len(markers)
        atlas_w = w + 2 * GLYPH_GAP * (n - 1) - 1
        atlas_h = (font.size + 2 * GLYPH_GAP) * font.colour_count
        if atlas_w > MAX_TEXTURE or atlas_h > MAX_TEXTURE:
            self.fail("%s: %s re-packs into %dx%d, beyond %d" % (where, picture, atlas_w, atlas_h, MAX_TEXTURE))
        shape = [png.rows[1 + r][3::4].translate(OPAQUE) for r in range(min(font.size, h - 1))]
        for c in range(font.colour_count):
            rows = png.rows[1 + c * font.size:1 + (c + 1) * font.size]
            if any(row[3::4].translate(None, b"\x00\xff") for row in rows):
                self.fail("%s: %s band %d has partly transparent pixels" % (where, picture, c))
            if len(rows) == font.size and [row[3::4].translate(OPAQUE) for row in rows] != shape:
                self.fail("%s: %s band %d does not hold the same glyph shapes as band 0" % (where, picture, c))
            colours = {row[4 * x:4 * x + 3] for row in rows for x, a in enumerate(row[3::4]) if a}
            if len(colours) > 1:
                self.fail("%s: %s band %d has %d colours" % (where, picture, c, len(colours)))
        font.pictures.append((png, markers))
        font.atlas_sizes.append((atlas_w, atlas_h))
        return markers

    def check_texts(self):
        sources = sorted(glob.glob(os.path.join(ASSETS, "texts", "*.txt")))
        lists = [os.path.join(DATA, "Flags", "flags.txt"), os.path.join(DATA, "Countries", "countries.txt")]
        drawn = {}
        for code, _ in decode(CODE_DRAWN.encode("utf-8")):
            drawn.setdefault(code, ("the code", CODE_DRAWN.encode("utf-8")))
        for path in sources + [p for p in lists if os.path.exists(p)]:
            with open(path, "rb") as f:
                raw = f.read()
            for line in split(raw, b"\n"):
                if line.startswith(b"#"):
                    continue
                text = line.rsplit(b"\t", 1)[-1] if path in sources else line
                for code, _ in decode(text, dollar_escapes=True):
                    if code == 0x0D or code == 0x09:
                        continue
                    drawn.setdefault(code, (os.path.relpath(path, ROOT), text))
        for code, (path, text) in sorted(drawn.items()):
            if code == 0:
                self.fail("%s: a character decodes to code 0 (U+0180..U+03FF or beyond U+FFFF) in %r"
                          % (path, text.decode("utf-8", "replace")))
                continue
            for number in range(len(self.fonts)):
                if code not in self.fonts[number].glyphs:
                    self.fail("font %d lacks U+%04X %r used in %s" % (number, code, chr(code), path))
        for number in FONTS_FOR_ALL_TEXTS:
            if number >= len(self.fonts):
                self.fail("font %d is not in the list" % number)
        return len(drawn)

    def check_name_widths(self):
        if not self.fonts:
            return
        for name, separator, room in NAME_ROOM:
            path = self.path(name)
            if not os.path.exists(path):
                continue
            with open(path, encoding="utf-8") as f:
                for line in f.read().split("\n"):
                    if not line or line.startswith("#"):
                        continue
                    shown = line.split(",")[0] if separator == "," else line[line.find("\t") + 1:]
                    width = sum(w for *_, w in layout(self.fonts[0], shown))
                    if width > room:
                        self.fail("%s: %r is %d pixels wide in font 0, room for %d" % (name, shown, width, room))

    def check_backdrop(self):
        path = self.path(BACKDROP)
        if not os.path.exists(path):
            self.fail("backdrop %s missing" % BACKDROP)
            return
        png = Png(path)
        if png.channels != 4 or png.width < 57 or png.height < 37:
            self.fail("backdrop has %d channels, %dx%d; needs RGBA and at least 57x37"
                      % (png.channels, png.width, png.height))
            return
        if not self.fonts:
            return
        # The last glyph of a line sits on the right cap (x 35..56), starting anywhere from the cap's
        # left edge to 12 pixels before it: the cap must stay solid across the widest font-0 glyph.
        font = self.fonts[0]
        top = -int((font.size - 37) / 2)
        rows = png.rows[max(top, 0):top + font.size]
        solid = 0
        while solid < 22 and all(row[4 * (35 + solid) + 3] for row in rows):
            solid += 1
        widest = max(w for _, _, w in font.glyphs.values())
        if widest > solid:
            self.fail("backdrop's right cap is solid for %d columns, font 0's widest glyph is %d" % (solid, widest))


def layout(font, text, colour=0):
    """The game's layout: (atlas index, srcX, band top, width) per drawn glyph."""
    items = []
    lowest = font.glyphs[min(font.glyphs)]
    for code, band in decode(text.encode("utf-8"), True, colour, font.colour_count):
        glyph = font.digits.get(code) if 0x30 <= code <= 0x39 else font.glyphs.get(code, lowest)
        top = (2 * band + 1) * GLYPH_GAP + band * font.size
        items.append((glyph[0], glyph[1], top, glyph[2]))
    return items


def atlases(font):
    """The font's atlases as the game packs them, for the preview (numpy)."""
    if not hasattr(font, "atlas_arrays"):
        font.atlas_arrays = []
        for picture in font.pictures:
            if picture is None:
                font.atlas_arrays.append(None)
                continue
            png, markers = picture
            px = np.frombuffer(b"".join(png.rows), dtype=np.uint8).reshape(png.height, png.width, 4)
            atlas_w, atlas_h = font.atlas_sizes[len(font.atlas_arrays)]
            atlas = np.zeros((max(atlas_h, 1), max(atlas_w, 1), 4), dtype=np.uint8)
            for c in range(font.colour_count):
                for k in range(len(markers) - 1):
                    x0, x1 = markers[k], markers[k + 1]
                    dx, dy = x0 + (2 * k + 1) * GLYPH_GAP, c * font.size + (2 * c + 1) * GLYPH_GAP
                    atlas[dy:dy + font.size, dx:dx + x1 - x0] = px[1 + c * font.size:1 + (c + 1) * font.size, x0:x1]
            font.atlas_arrays.append(atlas)
    return font.atlas_arrays


def draw_line(canvas, font, text, x, y, colour=0, shadow=False):
    if shadow:
        draw_line(canvas, font, strip_escapes(text), x + 1, y + 1, colour=1)
    for atlas_index, sx, top, w in layout(font, text, colour):
        src = atlases(font)[atlas_index][top:top + font.size, sx:sx + w]
        dst = canvas[y:y + font.size, x:x + w]
        src = src[:dst.shape[0], :dst.shape[1]]
        mask = src[:, :, 3] == 255
        dst[:src.shape[0], :src.shape[1]][mask] = src[mask]
        x += w
    return x


def strip_escapes(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "$":
            i += 2 if i + 1 < len(text) and "0" <= text[i + 1] <= ":" else 1
            continue
        out.append(text[i])
        i += 1
    return "".join(out)


def draw_backdrop(canvas, font, text, x, y):
    """Font 0's backdrop as the game draws it: caps and middles around all glyphs but the last."""
    im = np.array(Image.open(os.path.join(DATA, BACKDROP)).convert("RGBA"))
    items = layout(font, text)
    if len(items) < 2:
        return
    s = sum(w for *_, w in items[:-1])
    yb = y + int((font.size - 37) / 2)

    def blit(sx, w, at):
        piece = im[:37, sx:sx + w].astype(np.float32)
        region = canvas[yb:yb + 37, at:at + w].astype(np.float32)
        a = piece[:, :, 3:4] / 255.0
        region[:, :, :3] = piece[:, :, :3] * a + region[:, :, :3] * (1 - a)
        canvas[yb:yb + 37, at:at + w] = region.astype(np.uint8)

    xb = x - 22
    blit(0, 22, xb)
    xb += 22
    while xb < x + s:
        blit(22, 13, xb)
        xb += 13
    blit(35, 22, xb)


PREVIEW_LINES = [
    "Vov Aruzezudor 0123456789 ¡Pinta la bandera! ¿Qué?",
    "Ça, Œuvre «Élan» — Größe, Żółć, Łódź, Ş, ő… 50%",
    "$2Danger!$ normal $3gold $4win$ 12:34",
    "ゲームをはじめる「オプション」！ステージ・クリア。日本語",
]


def game_text(language, key):
    """First line of a game text, or None: the preview shows real strings next to the fixed samples."""
    path = os.path.join(ASSETS, "texts", "gametexts_%s.txt" % language)
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        for line in split(f.read(), b"\n"):
            if not line.startswith(b"#") and line.split(b"\t", 1)[0] == key.encode():
                return line.rsplit(b"\t", 1)[-1].decode("utf-8", "replace").split("|")[0]
    return None


def preview(checker, out_path):
    # Drawing needs numpy and Pillow; the checks above need only the standard library.
    global np, Image
    import numpy as np
    from PIL import Image
    blocks = []
    lines = PREVIEW_LINES + [t for t in (game_text("jp", "INTRO_ALERT"), game_text("jp", "GEN_USEMOUSEACTION"),
                                         game_text("gr", "INTRO_ALERT"), game_text("fr", "LEVELTEXT_START")) if t]
    for number, font in enumerate(checker.fonts):
        width = 640 if number != 5 else 900
        h = (font.size + 6) * len(lines) + 40
        canvas = np.zeros((h, width, 4), dtype=np.uint8)
        canvas[:, :] = (63, 48, 54, 255) if number != 5 else (118, 98, 94, 255)
        y = 4 if number else 16
        if number == 0:
            draw_backdrop(canvas, font, "Backdrop line", 30, y)
            draw_line(canvas, font, "Backdrop line", 30, y)
            y += 24
        for text in lines:
            draw_line(canvas, font, text, 4, y, shadow=True)
            y += font.size + 6
        im = Image.fromarray(canvas[:y + 2], "RGBA")
        scale = 1 if number == 5 else 3
        blocks.append(im.resize((im.width * scale, im.height * scale), Image.NEAREST))
        blocks[-1].save("%s_font%d.png" % (os.path.splitext(out_path)[0], number))
    total = Image.new("RGBA", (max(b.width for b in blocks), sum(b.height + 6 for b in blocks)), (0, 0, 0, 255))
    y = 0
    for b in blocks:
        total.paste(b, (0, y))
        y += b.height + 6
    total.save(out_path)


def main(argv):
    global DATA, ASSETS
    if "--preview" in argv:
        out = argv[argv.index("--preview") + 1]
        argv = [a for a in argv if a not in ("--preview", out)] + ["--preview", out]
    if argv and not argv[0].startswith("--"):
        DATA = os.path.abspath(argv[0])
        ASSETS = os.path.join(DATA, "Assets")
    checker = Checker()
    checker.load_font_list()
    if not checker.fonts:
        checker.fail("no font loaded")
    drawn = checker.check_texts()
    checker.check_name_widths()
    checker.check_backdrop()
    for number, font in enumerate(checker.fonts):
        sizes = " ".join("%dx%d" % size for size in font.atlas_sizes)
        print("font %d: %s, size %d, %d bands, %d glyphs, atlases %s"
              % (number, font.name, font.size, font.colour_count, len(font.glyphs), sizes))
    print("characters drawn by the texts and lists: %d" % drawn)
    if "--preview" in argv:
        preview(checker, argv[argv.index("--preview") + 1])
    for e in checker.errors:
        print("ERROR:", e)
    print("fonts: %s" % ("OK" if not checker.errors else "%d problems" % len(checker.errors)))
    return 1 if checker.errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
