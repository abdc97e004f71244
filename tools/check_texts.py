#!/usr/bin/python3
"""Check the game-text files of every language against the English one.

The game reads these files byte by byte (split at the last TAB, first key
wins, "|" cuts text-box lines, "$" switches colour bands) and its UTF-8
decoder only knows 1-byte codes, 2-byte codes up to U+017F and 3-byte codes.
Anything outside that shows up as the wrong glyph on screen, so it is
caught here instead.

Usage: /usr/bin/python3 tools/check_texts.py [--chars] [TEXT_DIR]
Exit status 0 when every file passes, 1 otherwise.
"""

import os
import re
import sys
import unicodedata

LANGUAGES = ["en", "sp", "cat", "fr", "it", "gr", "jp"]
DEFAULT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                           "..", "data", "Assets", "texts")

# The code quotes the keys it looks up; scene and element files name theirs in TAB fields. Every
# key so named must be in English (the other languages are held to English's keys). Words of the
# file formats look like keys and are none.
KEY_NAME = re.compile(r'(?:^|(?<=[\t"]))([A-Z][A-Z0-9]*(?:_[A-Z0-9]+)+)(?=[\t"\r]|$)')
KEY_SOURCES = [("src", (".cpp", ".h")),
               (os.path.join("data", "Assets"),
                (".scn", ".btn", ".sel", ".sli", ".swt", ".gui", ".ani"))]
FORMAT_WORDS = {
    "NO_TEXT", "NO_IMAGE", "VERY_SLOW", "VERY_FAST", "GUI_ELEMENT", "SDL_RENDER_VSYNC",
    "CENTER_MID", "CENTER_BTM", "CENTER_TOP", "LEFT_MID", "LEFT_BTM", "LEFT_TOP",
    "RIGHT_MID", "RIGHT_BTM", "RIGHT_TOP",
}
# The game fills these in, so English must leave room for the number.
MUST_HOLD_VAR = ["HUD_GOAL", "LOADED_LEVELS", "LOADED_FLAGS"]

# Keys whose "_VAR_" the game fills in, with the widest value we expect
# there (used for the width budget). Any other key must not hold "_VAR_".
VAR_SAMPLES = {
    "HUD_GOAL": "40%",
    "LOADED_LEVELS": "99",
    "LOADED_FLAGS": "256",
    "PAINTED_COUNT": "104",
    "BRIEF_TIME": "10",
    "BRIEF_GOAL": "75",
    "BRIEF_SURVIVORS": "60",
    "WIN_TOTAL": "40",
    "WIN_LOST": "12",
    "WIN_LEVEL": "South Africa",
    "WIN_FLAG": "South Africa",
}

# Text boxes cut their text at "|" and show four lines a page. The level
# messages never turn a page, the advice screen centres one page with its
# lines 32 pixels apart, and the menu boxes show everything at once, so
# every box here is held to a single page.
LINES_PER_PAGE = 4
BOX_PAGES = {
    "INTRO_ALERT": 1,
    "LEVELTEXT_": 1,
    "HOWTO_": 1,
    "CREDITS_": 1,
}
# The how-to and credits screens stack their four boxes under one another,
# 38 pixels apart: three lines of font 1 each at most.
MAX_BOX_LINES = {"HOWTO_": 3, "CREDITS_": 3}

# Width budget per line in "columns": one per Latin character, two per
# full-width (Japanese) character. Roughly 7 logical pixels a column on
# the 320-pixel screen; tips are drawn on the window and have more room.
BUDGETS = [
    # tips: font 5 on the 1280-pixel window, about 10 pixels a column; the
    # level row also holds five icons 40 pixels apart
    ("GEN_USEMOUSE", 48), ("GEN_USEMOUSEACTION", 48),
    ("GEN_PAUSE_MENU", 16), ("BUTTONTIP_", 16),
    ("TEST_VOID", 0),
    ("LOADED_", 30), ("PAINTED_", 30),
    ("HUD_", 16),
    ("LEVELTEXT_", 26),
    ("INTRO_ALERT", 36),
    # how-to and credits boxes run across the screen (300 pixels, font 1)
    ("HOWTO_", 54), ("CREDITS_", 54),
    ("TITLE_", 30), ("GAMEOVER_TEXT", 30),
    ("BRIEF_", 24), ("WIN_", 24),
    ("SELECT_", 18), ("OPTIONS_", 18), ("GEN_ON", 18), ("GEN_OFF", 18),
    ("LANG_", 18),
    # buttons last: GEN_ also matches the tips above
    ("GEN_", 16), ("OPT_", 16), ("PAUSE_", 16), ("MENU_", 16),
]

EMPTY_ALLOWED = {"TEST_VOID"}

# The tip after the first (icon-less) tip is right-aligned against its left
# edge with no gap, so these texts carry their own leading gap.
LEADING_GAP = {"GEN_USEMOUSE": 3, "GEN_USEMOUSEACTION": 3}


def by_prefix(table, key, default=None):
    for prefix, value in (table.items() if isinstance(table, dict) else table):
        if key == prefix or (prefix.endswith("_") and key.startswith(prefix)):
            return value
    return default


def columns(text):
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1
               for c in text)


def decodable(ch):
    """True when the game's decoder turns this character into its own code."""
    code = ord(ch)
    return code < 0x80 or 0x80 <= code <= 0x17F or 0x800 <= code <= 0xFFFF


def read_table(path, errors):
    """Return the (key, text) pairs in file order, reporting format faults."""
    name = os.path.basename(path)
    try:
        raw = open(path, "rb").read()
    except OSError as exc:
        errors.append("%s: cannot read (%s)" % (name, exc))
        return []
    if raw.startswith(b"\xef\xbb\xbf"):
        errors.append("%s: starts with a byte-order mark" % name)
    if b"\r" in raw:
        errors.append("%s: holds carriage returns (LF line ends only)" % name)
    if raw and not raw.endswith(b"\n"):
        errors.append("%s: last line has no line feed" % name)
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as exc:
        errors.append("%s: not UTF-8 (%s)" % (name, exc))
        return []
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    if not lines or not lines[0].startswith("#"):
        errors.append("%s: first line is not a comment header" % name)
    pairs = []
    for number, line in enumerate(lines, 1):
        where = "%s:%d" % (name, number)
        if line.startswith("#"):
            continue
        tabs = line.count("\t")
        if tabs == 0:
            errors.append("%s: no TAB (the whole line would become a key)"
                          % where)
            continue
        if tabs > 1:
            errors.append("%s: more than one TAB" % where)
        key, value = line.rsplit("\t", 1)
        if not re.fullmatch(r"[A-Z][A-Z0-9_]*", key):
            errors.append("%s: odd key %r" % (where, key))
        for ch in value:
            if not decodable(ch):
                errors.append("%s: %s U+%04X cannot be drawn by the game"
                              % (where, key, ord(ch)))
            elif unicodedata.category(ch) in ("Cc", "Cf"):
                errors.append("%s: %s holds control character U+%04X"
                              % (where, key, ord(ch)))
        pairs.append((key, value, where))
    return pairs


def check_dollars(key, value, where, errors):
    """A "$" must start a colour escape ("$0" to "$:") or end one."""
    switched = False
    i = 0
    while i < len(value):
        if value[i] != "$":
            i += 1
            continue
        if i + 1 >= len(value):
            errors.append("%s: %s ends with a bare '$'" % (where, key))
            return
        nxt = value[i + 1]
        if "0" <= nxt <= ":":
            switched = True
            i += 2
        elif nxt == "|":
            errors.append("%s: %s has '$' before a line break" % (where, key))
            i += 1
        else:
            if not switched:
                errors.append("%s: %s has a '$' that is no colour escape"
                              % (where, key))
            switched = False
            i += 1


def visible(piece):
    """The text as drawn: colour escapes take no room."""
    return re.sub(r"\$[0-:]|\$", "", piece)


def check_text(key, value, where, english_vars, errors):
    if value == "" and key not in EMPTY_ALLOWED:
        errors.append("%s: %s is empty" % (where, key))
    gap = LEADING_GAP.get(key, 0)
    lead = len(value) - len(value.lstrip(" "))
    if gap and lead < gap:
        errors.append("%s: %s needs at least %d leading blanks (the next tip "
                      "touches it)" % (where, key, gap))
    if value.rstrip() != value or (not gap and value.lstrip() != value):
        errors.append("%s: %s has leading or trailing blanks" % (where, key))
    check_dollars(key, value, where, errors)
    count = value.count("_VAR_")
    if count != english_vars:
        errors.append("%s: %s has %d _VAR_, English has %d"
                      % (where, key, count, english_vars))
    if count and key not in VAR_SAMPLES:
        errors.append("%s: %s holds _VAR_ but the game fills none in"
                      % (where, key))
    pages = by_prefix(BOX_PAGES, key)
    if "|" in value:
        if pages is None:
            errors.append("%s: %s has '|' but is not shown in a text box"
                          % (where, key))
        else:
            pieces = value.split("|")
            if any(p.strip() == "" for p in pieces):
                errors.append("%s: %s has an empty box line" % (where, key))
            lines = len(pieces)
            most = by_prefix(MAX_BOX_LINES, key)
            if most is not None and lines > most:
                errors.append("%s: %s has %d lines, its screen has room for %d"
                              % (where, key, lines, most))
            if lines > pages * LINES_PER_PAGE:
                errors.append("%s: %s has %d lines, more than %d page(s) of %d"
                              % (where, key, lines, pages, LINES_PER_PAGE))
            for p in pieces:
                if p != p.strip():
                    errors.append("%s: %s has a box line with outer blanks"
                                  % (where, key))


def widest(key, value):
    """Longest drawn line in columns and characters, variables filled in."""
    filled = value.replace("_VAR_", VAR_SAMPLES.get(key, ""))
    best = (0, 0)
    for piece in filled.split("|"):
        shown = visible(piece)
        best = max(best, (columns(shown), len(shown)))
    return best


def footer_width(table, key, sample):
    return columns(visible(table[key].replace("_VAR_", sample)))


def check_footer(lang, table, errors):
    """The main menu's footer box is sized by the countries line alone."""
    need = ["LOADED_LEVELS", "LOADED_NOLEVELS", "LOADED_FLAGS",
            "LOADED_NOFLAGS"]
    if any(k not in table for k in need):
        return
    box = min(footer_width(table, "LOADED_LEVELS", "1"),
              footer_width(table, "LOADED_NOLEVELS", ""))
    flags = max(footer_width(table, "LOADED_FLAGS", "256"),
                footer_width(table, "LOADED_NOFLAGS", ""))
    if flags > box:
        errors.append("gametexts_%s.txt: flags footer (%d columns) is wider "
                      "than the countries line that sizes its box (%d)"
                      % (lang, flags, box))


def named_keys(root):
    """(key, where) for every key the code and the menu data name."""
    found = []
    for tree, extensions in KEY_SOURCES:
        for folder, _, files in sorted(os.walk(os.path.join(root, tree))):
            for name in sorted(files):
                if not name.endswith(extensions):
                    continue
                path = os.path.join(folder, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        if line.startswith("#"):
                            continue
                        for key in KEY_NAME.findall(line.rstrip("\n")):
                            if key not in FORMAT_WORDS:
                                found.append((key, "%s:%d" % (os.path.relpath(path, root), number)))
    return found


def main(argv):
    show_chars = "--chars" in argv
    args = [a for a in argv if a != "--chars"]
    folder = args[0] if args else DEFAULT_DIR
    errors = []
    tables = {}
    orders = {}
    for lang in LANGUAGES:
        pairs = read_table(os.path.join(folder, "gametexts_%s.txt" % lang),
                           errors)
        table = {}
        order = []
        for key, value, where in pairs:
            if key in table:
                errors.append("%s: duplicate key %s (the first one wins)"
                              % (where, key))
                continue
            table[key] = (value, where)
            order.append(key)
        tables[lang] = table
        orders[lang] = order

    english = tables["en"]
    root = os.path.normpath(os.path.join(folder, "..", "..", ".."))
    named = named_keys(root)
    if len(named) < 100:
        errors.append("only %d keys named in %s/src and data/Assets: the scan "
                      "lost its way" % (len(named), root))
    for key, where in named:
        if key not in english:
            errors.append("%s: names %s, which gametexts_en.txt lacks"
                          % (where, key))
    for key in MUST_HOLD_VAR:
        if key in english and "_VAR_" not in english[key][0]:
            errors.append("gametexts_en.txt: %s holds no _VAR_ for the game's "
                          "number" % key)
    for lang in LANGUAGES:
        table = tables[lang]
        missing = [k for k in orders["en"] if k not in table]
        extra = [k for k in orders[lang] if k not in english]
        for k in missing:
            errors.append("gametexts_%s.txt: missing %s" % (lang, k))
        for k in extra:
            errors.append("gametexts_%s.txt: %s is not in English" % (lang, k))
        if not missing and not extra and orders[lang] != orders["en"]:
            errors.append("gametexts_%s.txt: keys not in English order" % lang)
        for key in orders[lang]:
            value, where = table[key]
            english_vars = (english[key][0].count("_VAR_")
                            if key in english else 0)
            check_text(key, value, where, english_vars, errors)
        check_footer(lang, {k: v for k, (v, _) in table.items()}, errors)

    # Width table: widest drawn line per key and language.
    print("%-30s %4s  %s" % ("key", "max", "  ".join(
        "%-7s" % l for l in LANGUAGES)))
    over = 0
    for key in orders["en"]:
        budget = by_prefix(BUDGETS, key, 40)
        cells = []
        for lang in LANGUAGES:
            if key not in tables[lang]:
                cells.append("%-7s" % "-")
                continue
            cols, chars = widest(key, tables[lang][key][0])
            mark = " "
            if cols > budget:
                mark = "!"
                over += 1
                errors.append("gametexts_%s.txt: %s is %d columns wide, "
                              "budget %d" % (lang, key, cols, budget))
            cells.append("%-7s" % ("%d/%d%s" % (cols, chars, mark)))
        print("%-30s %4d  %s" % (key, budget, "  ".join(cells)))
    print("(cells: columns/characters of the widest line; '!' over budget)")

    if show_chars:
        for lang in LANGUAGES:
            chars = sorted({c for v, _ in tables[lang].values() for c in v
                            if ord(c) >= 0x80})
            print("%s (%d): %s" % (lang, len(chars), "".join(chars)))

    print("%d keys x %d languages, %d problem(s)"
          % (len(orders["en"]), len(LANGUAGES), len(errors)))
    for e in errors:
        print("FAIL " + e)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
