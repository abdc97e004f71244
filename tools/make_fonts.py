#!/usr/bin/python3
"""Render the bitmap fonts of Vov Aruzezudor from Debian's free fonts.

Run with /usr/bin/python3 (python3-pil with FreeType, python3-numpy). Sources: fonts-dejavu-core for
Latin, fonts-ipafont-gothic for Japanese. Re-running gives byte-identical files.

Output, under data/Assets/font/:
  fonts.txt                      the font list: "<description>\t<cell height>" per font, in font-number order
  fonts/<name>.txt               one description per font: "##<picture>" then one glyph per line
  fonts/<name>_<i>.png           the pictures: row 0 marks each glyph's left edge (plus one closing mark),
                                 then one band of cell-height rows per text colour
  fonts/text_shadow_18p.png      the dark backdrop drawn behind font-0 lines (left cap, middle, right cap)

Glyphs are rendered one by one with FreeType's monochrome hinter, so every pixel is on or off: no grey
fringes once the game scales the screen up. A glyph's cell is its hinted advance, widened when ink pokes
out of it, because the game advances by exactly the cell width and has no kerning.

The character set is fixed ranges (ASCII, Latin-1, Latin Extended-A, punctuation, kana, Japanese
punctuation, full-width forms) plus every character the game's texts, flag list and level list use,
scanned on every run, so adding a text and re-running picks up its kanji.
"""

import glob
import os
import struct
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFont

TOOLS_DIR = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(TOOLS_DIR)
DATA = os.path.join(ROOT, "data")
FONT_DIR = os.path.join(DATA, "Assets", "font")
OUT_DIR = os.path.join(FONT_DIR, "fonts")
PALETTE_PATH = os.path.join(TOOLS_DIR, "palette.txt")

DEJAVU = "/usr/share/fonts/truetype/dejavu/"
IPA_GOTHIC = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"

# GL 3.x only promises small textures; llvmpipe and every desktop GPU we care about take 8192. Staying at
# 4096 per atlas leaves room on older drivers and costs nothing but a few more pictures.
MAX_ATLAS_WIDTH = 4096
GLYPH_GAP = 1  # the game's glyphGap: one transparent pixel around every glyph in the atlas
BANDS = 5  # 0 normal, 1 shadow, 2 warning/loss, 3 highlight, 4 success/win
MARKER = (255, 0, 255, 255)

# Font numbers are positions in this list; the code names 0 (names, notices, backdrop), 1 (advice text,
# menu counts, HUD numbers) and 5 (button tips, drawn in window pixels). The others are for scene files.
# IPA Gothic has no bold: beside a bold Latin face its strokes are thickened by one pixel to the right.
#   name, cell height, Latin face, Latin em (px), Japanese em (px), thicken Japanese, use
FONTS = [
    ("sans_bold_12", 12, "DejaVuSans-Bold.ttf", 9, 12, True, "names, notice line, messages; backdrop font"),
    ("sans_12", 12, "DejaVuSans.ttf", 9, 12, False, "advice text, menu counts, HUD"),
    ("title_18", 18, "DejaVuSans-Bold.ttf", 14, 17, True, "titles"),
    ("small_9", 9, "DejaVuSans.ttf", 7, 9, False, "small HUD labels"),
    ("button_15", 15, "DejaVuSans-Bold.ttf", 11, 14, True, "menu buttons and headings"),
    ("tips_20", 20, "DejaVuSans-Bold.ttf", 15, 19, True, "button tips, in window pixels"),
]

# Band colours by palette name, with the warm fallback used when the palette is missing or lacks a name.
BAND_COLOURS = [
    ("cream", (251, 243, 228)),
    ("ink", (26, 18, 22)),
    ("vermilion", (222, 93, 58)),
    ("amber", (247, 189, 79)),
    ("lime", (163, 176, 77)),
]
BACKDROP_COLOUR = ("ink", (26, 18, 22))
BACKDROP_ALPHA = 176


def load_palette():
    colours = {}
    if not os.path.exists(PALETTE_PATH):
        return colours
    with open(PALETTE_PATH, encoding="utf-8") as f:
        for line in f:
            parts = line.split()
            if len(parts) == 2 and len(parts[0]) == 7 and parts[0].startswith("#"):
                try:
                    v = int(parts[0][1:], 16)
                except ValueError:
                    continue
                colours[parts[1]] = ((v >> 16) & 255, (v >> 8) & 255, v & 255)
    return colours


def pick_colour(palette, entry, notes):
    name, fallback = entry
    if name in palette:
        return palette[name]
    notes.append("palette colour %r missing, used fixed %s" % (name, fallback))
    return fallback


# ---------------------------------------------------------------------------------------------------
# Which characters a face really has: read its cmap, so a missing glyph is never drawn as .notdef.

def read_cmap(path):
    with open(path, "rb") as f:
        data = f.read()
    num_tables = struct.unpack(">H", data[4:6])[0]
    cmap_off = None
    for i in range(num_tables):
        tag, _, off, _ = struct.unpack(">4sIII", data[12 + 16 * i:28 + 16 * i])
        if tag == b"cmap":
            cmap_off = off
    if cmap_off is None:
        raise ValueError("%s has no cmap" % path)
    count = struct.unpack(">H", data[cmap_off + 2:cmap_off + 4])[0]
    subtables = {}
    for i in range(count):
        pid, eid, off = struct.unpack(">HHI", data[cmap_off + 4 + 8 * i:cmap_off + 12 + 8 * i])
        subtables[(pid, eid)] = cmap_off + off
    codes = set()
    if (3, 10) in subtables:
        o = subtables[(3, 10)]
        ngroups = struct.unpack(">I", data[o + 12:o + 16])[0]
        for g in range(ngroups):
            start, end, gid = struct.unpack(">III", data[o + 16 + 12 * g:o + 28 + 12 * g])
            for c in range(start, end + 1):
                if gid + c - start:
                    codes.add(c)
        return codes
    o = subtables.get((3, 1))
    if o is None:
        raise ValueError("%s has no Unicode cmap" % path)
    segx2 = struct.unpack(">H", data[o + 6:o + 8])[0]
    ends = struct.unpack(">%dH" % (segx2 // 2), data[o + 14:o + 14 + segx2])
    p = o + 16 + segx2
    starts = struct.unpack(">%dH" % (segx2 // 2), data[p:p + segx2])
    deltas = struct.unpack(">%dh" % (segx2 // 2), data[p + segx2:p + 2 * segx2])
    ro_base = p + 2 * segx2
    offsets = struct.unpack(">%dH" % (segx2 // 2), data[ro_base:ro_base + segx2])
    for i in range(segx2 // 2):
        for c in range(starts[i], ends[i] + 1):
            if c == 0xFFFF:
                continue
            if offsets[i] == 0:
                gid = (c + deltas[i]) & 0xFFFF
            else:
                a = ro_base + 2 * i + offsets[i] + 2 * (c - starts[i])
                gid = struct.unpack(">H", data[a:a + 2])[0]
                if gid:
                    gid = (gid + deltas[i]) & 0xFFFF
            if gid:
                codes.add(c)
    return codes


# ---------------------------------------------------------------------------------------------------
# The character set.

def fixed_set():
    chars = set(range(0x20, 0x7F))
    chars |= set(range(0xA0, 0x100))
    chars |= set(range(0x100, 0x180))
    chars |= {0x2010, 0x2011, 0x2012, 0x2013, 0x2014, 0x2015, 0x2018, 0x2019, 0x201A, 0x201C, 0x201D,
              0x201E, 0x2020, 0x2021, 0x2022, 0x2026, 0x2030, 0x2032, 0x2033, 0x2039, 0x203A, 0x2044,
              0x20AC, 0x2122, 0x2190, 0x2191, 0x2192, 0x2193, 0x2605, 0x2606, 0x266A, 0x2665, 0x25CF,
              0x25CB, 0x25A0, 0x25A1, 0x25B2, 0x25BC, 0x25B6, 0x25C0, 0x2212, 0x221E, 0x2713, 0x2717}
    chars |= set(range(0x3000, 0x3020))  # 、。〃「」『』【】〒〜 and friends
    chars |= set(range(0x3041, 0x3097)) | set(range(0x3099, 0x30A0))  # hiragana
    chars |= set(range(0x30A0, 0x3100))  # katakana
    chars |= set(range(0xFF01, 0xFF5F))  # full-width ASCII forms
    return chars


def strip_colour_escapes(text):
    """Drop what the layout consumes: "$" plus a band digit ("0".."：") or a lone "$"."""
    out = []
    i = 0
    while i < len(text):
        ch = text[i]
        if ch == "$":
            if i + 1 < len(text) and "0" <= text[i + 1] <= ":":
                i += 2
            else:
                i += 1
            continue
        out.append(ch)
        i += 1
    return "".join(out)


def text_sources():
    """(path, list of strings the game draws from it)."""
    sources = []
    for path in sorted(glob.glob(os.path.join(DATA, "Assets", "texts", "*.txt"))):
        with open(path, "rb") as f:
            raw = f.read()
        texts = []
        for line in raw.split(b"\n"):
            if line.startswith(b"#"):
                continue
            text = line.rsplit(b"\t", 1)[-1]
            texts.append(strip_colour_escapes(text.decode("utf-8", errors="replace")))
        sources.append((path, texts))
    for rel in ("Flags/flags.txt", "Countries/countries.txt"):
        path = os.path.join(DATA, rel)
        if os.path.exists(path):
            with open(path, "rb") as f:
                raw = f.read()
            texts = [l.decode("utf-8", errors="replace") for l in raw.split(b"\n") if not l.startswith(b"#")]
            sources.append((path, texts))
    return sources


def drawable(code):
    """The game decodes two-byte sequences with lead 0xC6..0xCF to code 0 and has no four-byte UTF-8."""
    return code < 0x180 or 0x400 <= code <= 0xFFFF


def wanted_from_texts():
    wanted = {}
    for path, texts in text_sources():
        for text in texts:
            for ch in text:
                c = ord(ch)
                if c < 0x20 or 0x7F <= c < 0xA0:
                    continue  # tabs, carriage returns and controls are not drawn
                wanted.setdefault(c, os.path.relpath(path, ROOT))
    return wanted


# ---------------------------------------------------------------------------------------------------
# Rendering.

def is_japanese(code):
    return 0x2E80 <= code <= 0x9FFF or 0xF900 <= code <= 0xFAFF or 0xFF00 <= code <= 0xFFEF


def render_glyph(face, code, cell, baseline, anchor, tight=False):
    """Return (bool array cell x width, clipped ink pixel count).

    The width is the face's advance. FreeType's monochrome hinter often draws a glyph narrower than its
    unhinted advance (a 9-px "W" is 7 pixels of ink in a 9-pixel cell), which leaves holes inside words;
    with `tight` at most one blank column is kept on either side of the ink. Below 12 px the hinted
    bearings are too coarse to mean anything ("m" gets a blank column on both sides, "r" none), so there a
    tight glyph is its ink plus exactly one blank column: even one-pixel letter spacing.
    """
    ch = chr(code)
    em = face.size
    pad = 2 * em + 8
    canvas = Image.new("L", (3 * em + 2 * pad, cell + 2 * pad), 0)
    draw = ImageDraw.Draw(canvas)
    draw.fontmode = "1"
    draw.text((pad, pad + baseline), ch, font=face, fill=255, anchor=anchor)
    ink = np.array(canvas) >= 128
    advance = int(round(face.getlength(ch, mode="1")))
    cols = np.nonzero(ink.any(axis=0))[0]
    left, right = pad, pad + advance
    if len(cols):
        ink_left, ink_right = int(cols[0]), int(cols[-1]) + 1
        left = min(left, ink_left)
        right = max(right, ink_right)
        if tight and em < 12:
            left, right = ink_left, ink_right + 1
        elif tight:
            left = max(left, ink_left - 1)
            right = min(right, ink_right + 1)
    if right <= left:
        right = left + 1
    inside = ink[pad:pad + cell, left:right]
    clipped = int(ink.sum() - inside.sum())
    return inside, clipped


def embolden(g):
    wide = np.zeros((g.shape[0], g.shape[1] + 1), dtype=bool)
    wide[:, :-1] = g
    wide[:, 1:] |= g
    return wide if wide[:, -1].any() else wide[:, :-1]


def build_font(font_def, charset, dejavu_cmap, ipa_cmap, report):
    name, cell, latin_file, latin_em, jp_em, thicken, _use = font_def
    latin = ImageFont.truetype(DEJAVU + latin_file, latin_em)
    jp = ImageFont.truetype(IPA_GOTHIC, jp_em)
    latin_cmap = dejavu_cmap[latin_file]

    # Sit the Latin baseline so that the deepest descender just fits; a tall accent may then lose a row at
    # the top, which we count and report.
    descent = 0
    for c in sorted(c for c in charset if c < 0x180 and c in latin_cmap):
        g, _ = render_glyph(latin, c, 4 * cell, 2 * cell, "ls")
        rows = np.nonzero(g.any(axis=1))[0]
        if len(rows):
            descent = max(descent, int(rows[-1]) + 1 - 2 * cell)
    baseline = cell - descent
    jp_top = (cell - jp_em) // 2  # IPA Gothic's ascender-to-descender box is one em: centre it

    glyphs = []
    clipped = []
    for code in sorted(charset):
        if code in latin_cmap and not (is_japanese(code) and code in ipa_cmap):
            # digits keep their common advance so that counters do not jiggle
            g, lost = render_glyph(latin, code, cell, baseline, "ls", tight=not 0x30 <= code <= 0x39)
        elif code in ipa_cmap:
            g, lost = render_glyph(jp, code, cell, jp_top, "la")
            if thicken:
                g = embolden(g)
        else:
            continue
        if lost:
            clipped.append("U+%04X" % code)
        glyphs.append((code, g))
    if clipped:
        report.append("font %s: ink clipped at the cell edge for %d glyphs (%s%s)" % (
            name, len(clipped), " ".join(clipped[:12]), " ..." if len(clipped) > 12 else ""))
    return glyphs


def split_pictures(glyphs):
    """Cut the glyph run into pictures whose re-packed atlas stays within MAX_ATLAS_WIDTH."""
    pictures = []
    current, width = [], 0
    for code, g in glyphs:
        w = g.shape[1]
        # atlas width = source width + 2*gap*(markers-1) - 1 = sum(w) + 1 + 2*gap*glyphs - 1
        if current and width + w + 2 * GLYPH_GAP * (len(current) + 1) > MAX_ATLAS_WIDTH:
            pictures.append(current)
            current, width = [], 0
        current.append((code, g))
        width += w
    if current:
        pictures.append(current)
    # a description line must never begin with "#": keep "#" from opening a picture
    for i in range(1, len(pictures)):
        if pictures[i][0][0] == ord("#"):
            pictures[i].insert(0, pictures[i - 1].pop())
    return pictures


def picture_image(glyph_run, cell, colours):
    width = sum(g.shape[1] for _, g in glyph_run) + 1
    pixels = np.zeros((1 + BANDS * cell, width, 4), dtype=np.uint8)
    x = 0
    for _, g in glyph_run:
        pixels[0, x] = MARKER
        w = g.shape[1]
        for band, rgb in enumerate(colours):
            block = pixels[1 + band * cell:1 + (band + 1) * cell, x:x + w]
            block[g] = rgb + (255,)
        x += w
    pixels[0, x] = MARKER  # closing mark: the last glyph ends one pixel before it
    return Image.fromarray(pixels, "RGBA")


def description_lines(glyph_run):
    lines = []
    for code, _ in glyph_run:
        ch = chr(code)
        if ch == "#" and lines:
            lines[-1] += ch
        else:
            lines.append(ch)
    return lines


def save_png(image, path):
    image.save(path, "PNG", optimize=False, compress_level=9)


def make_backdrop(rgb, text_height):
    """57x37 dark pill cut by the game into a 22-px left cap, a 13-px middle and a 22-px right cap.

    The game centres the 37 rows on the line (top = line top + (height - 37) / 2, rounded toward zero),
    puts the left cap's right edge at the first glyph, repeats the middle to the start of the last glyph
    and puts the right cap after that, so the right cap's solid part must still cover a whole glyph.
    """
    width, height = 57, 37
    top = -int((text_height - height) / 2)  # the game's integer division truncates toward zero
    y0, y1 = top - 2, top + text_height + 1  # two rows above the cell, one below (descenders sit low)
    x0, x1 = 19, 50  # three columns of air before the text; the right cap's solid part covers a glyph
    alpha = np.zeros((height, width), dtype=np.uint8)
    alpha[y0:y1 + 1, x0:x1 + 1] = 1
    for dy, cut in ((0, 2), (1, 1)):  # round the corners
        for y in (y0 + dy, y1 - dy):
            alpha[y, x0:x0 + cut] = 0
            alpha[y, x1 - cut + 1:x1 + 1] = 0
    pixels = np.zeros((height, width, 4), dtype=np.uint8)
    pixels[alpha == 1] = rgb + (BACKDROP_ALPHA,)
    return Image.fromarray(pixels, "RGBA")


def main():
    report = []
    palette = load_palette()
    if not palette:
        report.append("no tools/palette.txt: fixed warm band colours used")
    colours = [pick_colour(palette, entry, report) for entry in BAND_COLOURS]

    dejavu_cmap = {}
    for font_def in FONTS:
        if font_def[2] not in dejavu_cmap:
            dejavu_cmap[font_def[2]] = read_cmap(DEJAVU + font_def[2])
    ipa_cmap = read_cmap(IPA_GOTHIC)

    from_texts = wanted_from_texts()
    undrawable = sorted(c for c in from_texts if not drawable(c))
    for c in undrawable:
        report.append("NOT DRAWABLE by the game: U+%04X %r in %s" % (c, chr(c), from_texts[c]))

    fixed = fixed_set()
    charset = {c for c in fixed if drawable(c) and (c in ipa_cmap or any(c in m for m in dejavu_cmap.values()))}
    for c in sorted(from_texts):
        if not drawable(c):
            continue
        if all(c not in m for m in dejavu_cmap.values()) and c not in ipa_cmap:
            report.append("no face has U+%04X %r (from %s)" % (c, chr(c), from_texts[c]))
            continue
        charset.add(c)

    os.makedirs(OUT_DIR, exist_ok=True)
    old = set(glob.glob(os.path.join(OUT_DIR, "*")))
    written = set()
    list_lines = [
        "# Font list: description file (relative to this folder) TAB cell height in pixels.",
        "# The n-th entry is font number n. Made by tools/make_fonts.py; edit that, not this.",
    ]
    for font_def in FONTS:
        name, cell = font_def[0], font_def[1]
        glyphs = build_font(font_def, charset, dejavu_cmap, ipa_cmap, report)
        missing = [c for c in charset if c not in {code for code, _ in glyphs}]
        if missing:
            report.append("font %s lacks %d characters" % (name, len(missing)))
        desc = []
        atlases = []
        for i, run in enumerate(split_pictures(glyphs)):
            pic_name = "%s_%d.png" % (name, i)
            path = os.path.join(OUT_DIR, pic_name)
            save_png(picture_image(run, cell, colours), path)
            written.add(path)
            desc.append("##" + pic_name)
            desc.extend(description_lines(run))
            w = sum(g.shape[1] for _, g in run) + 1
            atlases.append("%dx%d" % (w + 2 * GLYPH_GAP * len(run) - 1, (cell + 2 * GLYPH_GAP) * BANDS))
        desc_path = os.path.join(OUT_DIR, name + ".txt")
        with open(desc_path, "wb") as f:
            f.write(("\n".join(desc) + "\n").encode("utf-8"))
        written.add(desc_path)
        list_lines.append("fonts/%s.txt\t%d" % (name, cell))
        print("font %d %-14s cell %2d: %4d glyphs, atlases %s" % (
            len(list_lines) - 3, name, cell, len(glyphs), " ".join(atlases)))

    backdrop_rgb = pick_colour(palette, BACKDROP_COLOUR, report)
    backdrop_path = os.path.join(OUT_DIR, "text_shadow_18p.png")
    save_png(make_backdrop(backdrop_rgb, FONTS[0][1]), backdrop_path)
    written.add(backdrop_path)

    with open(os.path.join(FONT_DIR, "fonts.txt"), "wb") as f:
        f.write(("\n".join(list_lines) + "\n").encode("utf-8"))

    for stale in sorted(old - written):
        os.remove(stale)  # pictures of a font that now needs fewer of them
    print("characters: %d (%d from the texts and lists)" % (len(charset), len(from_texts)))
    for line in report:
        print(line)
    return 1 if undrawable else 0


if __name__ == "__main__":
    sys.exit(main())
