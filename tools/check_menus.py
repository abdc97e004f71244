#!/usr/bin/python3
"""Check the shipped menu scenes against what the menus' code expects of them, in every language.

Usage: python3 tools/check_menus.py [DATA_DIR]

Standard library only (ctest runs it). Reads data/Assets/scene/*.scn and the element files they
name the way the game reads them, lays the texts out in the fonts (tools/check_fonts.py) and the
game texts (tools/check_texts.py), and checks:

  - the widgets the menus address by index are there, of the kind their code treats them as, each
    with a picture, and every button shows the key its menu expects; the text boxes the menus write
    numbers into stand at their element positions; every element and picture named is there;
  - every flight lands home inside its fade (the fade's end snaps elements home: a jump);
  - the options list the languages in the language table's order, over a first layer that paints
    every pixel of the screen (the options menu never clears);
  - every line of the flag list names a flag picture of its own, without fields or line-end bytes
    a reader would drop (the selection shows the line as the flag's name);
  - every text fits its widget or its place in all seven languages (numbers filled in at their
    widest), and texts and widgets stay on the screen, clear of one another and of the places the
    menus draw by code.

Exit status 0 when everything holds, 1 otherwise.
"""

import math
import os
import sys

import check_fonts
import check_texts
from test_level_art import Png

SCREEN = (320, 200)
MARGIN = 4  # text never touches a widget's edge


class Menu:
    """What a menu's code expects of its scene file: fades of its slot, widget kinds by index
    (b button, e selector, l slider, w switch), the keys its buttons show ("-" a picture button)
    and the element positions it writes numbers into."""

    def __init__(self, file, fade_in, fade_out, kinds, keys, text_boxes=(), reserved=()):
        self.file, self.fade_in, self.fade_out = file, fade_in, fade_out
        self.kinds, self.keys, self.text_boxes = kinds, keys.split(), text_boxes
        self.reserved = [Box(*r) for r in reserved]  # what the menu draws by code


class Box:
    def __init__(self, x0, y0, x1, y1, what):  # inclusive-exclusive
        self.x0, self.y0, self.x1, self.y1, self.what = x0, y0, x1, y1, what

    def overlaps(self, o):
        return self.x0 < o.x1 and o.x0 < self.x1 and self.y0 < o.y1 and o.y0 < self.y1

    def on_screen(self):
        return self.x0 >= 0 and self.y0 >= 0 and self.x1 <= SCREEN[0] and self.y1 <= SCREEN[1]

    def __str__(self):
        return "%s [%d,%d - %d,%d)" % (self.what, self.x0, self.y0, self.x1, self.y1)


MENUS = [
    Menu("Main.scn", 1000, 1000, "bbbbb", "OPT_START OPT_HOWTO OPT_OPTIONS OPT_CREDITS OPT_EXIT",
         reserved=[(0, 161, 320, 197, "painted and counts")]),
    Menu("SelectLevel.scn", 200, 200, "bbbbbb", "- - - - GEN_BACK GEN_ACCEPT",
         reserved=[(135, 50, 185, 80, "flag"), (0, 85, 320, 97, "flag name"),
                   (0, 141, 320, 161, "country name, stamp and seal")]),
    Menu("Briefing.scn", 200, 200, "bb", "GEN_BACK GEN_ACCEPT", (4, 5, 6),
         reserved=[(153, 13, 307, 107, "picture"), (20, 30, 240, 42, "country name"),
                   (250, 140, 310, 160, "wide thumbnail"), (290, 140, 310, 200, "tall thumbnail")]),
    Menu("Pause.scn", 200, 200, "bbbbb", "PAUSE_BACK PAUSE_RESTART PAUSE_GOOPTIONS PAUSE_GOMAIN PAUSE_EXIT"),
    Menu("Win.scn", 200, 200, "bbb", "MENU_WIN_MENUMAIN MENU_WIN_SELECTLEVEL MENU_WIN_NEXT", (4, 5, 6, 7),
         reserved=[(240, 95, 290, 125, "flag")]),
    Menu("GameOver.scn", 200, 1000, "bb", "MENU_GAMEOVER_MENUMAIN MENU_GAMEOVER_GAME",
         reserved=[(120, 88, 198, 162, "flag and cross")]),
    Menu("menu_options.scn", 500, 500, "wllebbb", "- - - - GEN_DEFAULT GEN_CANCEL2 GEN_ACCEPT"),
    Menu("Credits.scn", 200, 1000, "b", "GEN_CONTIN"),
    Menu("HowTo.scn", 200, 1000, "b", "GEN_CONTIN"),
]
OPTIONS_LANGUAGES = "LANG_EN LANG_SP LANG_CAT LANG_FR LANG_IT LANG_GR LANG_JP"
# Where each text box's anchor sits, in half sizes back from it: left, right, centre; mid, top, bottom.
HALVES = ({0: 0, 1: 2, 2: 1}, {0: 1, 1: 0, 2: 2})


def number(text):
    """The game's number reading: an optional sign, then digits up to the first other character."""
    sign, i = 1, 0
    if text[:1] in ("-", "+"):
        sign, i = (-1 if text[0] == "-" else 1), 1
    value = 0
    while i < len(text) and text[i].isdigit():
        value = min(value * 10 + int(text[i]), 0x7FFFFFFF)
        i += 1
    return sign * value


def size(text):
    return min(max(number(text), 0), 0xFFFF)


def pair(text):
    a, _, b = text.partition(",")
    return number(a), number(b) if "," in text else 0


def point(text):
    return tuple(min(max(v, -32768), 32767) for v in pair(text))


def points(text):
    text = text.replace(" ", "").replace(")(", " ").replace("(", "").replace(")", "")
    return [point(piece) for piece in text.split(" ") if "," in piece]


def field(fields, n):
    return fields[n] if n < len(fields) else ""


class Text:
    def __init__(self, fields):
        self.key = field(fields, 0)
        self.font = min(max(pair(fields[1])[0], 0), 0xFFFF) if len(fields) > 1 else 0


class Element:
    def __init__(self, kind, home):
        self.kind, self.home = kind, home  # kind: b e l w (widgets), i image, a animation, t text
        self.width = self.height = self.arrow = 0
        self.picture = None
        self.texts = []  # the texts a widget may show, and the width each has
        self.key, self.font, self.align = "", 0, (0, 1)
        self.entry, self.exit = ([], 0), ([], 0)


class Checker:
    def __init__(self, data):
        self.data = data
        self.errors = []

    def fail(self, message):
        self.errors.append(message)

    def lines(self, name):
        path = os.path.join(self.data, name)
        if not os.path.exists(path):
            self.fail("%s is missing" % name)
            return None
        with open(path, "rb") as f:
            return f.read().decode("utf-8").replace("\r", "").split("\n")

    def picture(self, name, where):
        if not os.path.exists(os.path.join(self.data, name)):
            self.fail("%s: picture %s is missing" % (where, name))
            return None
        return name

    def widget(self, kind, name, home):
        """A widget from its description: the size, the picture and the texts it may show."""
        lines = self.lines(name)
        element = Element(kind, home)
        if lines is None:
            return element
        if lines and lines[-1] == "":
            lines.pop()
        lines = [line for line in lines if not line.startswith("#")]
        image = field(lines, 0)
        if image != "NO_IMAGE" or kind in "el":
            element.picture = self.picture(name[:name.rfind("/") + 1] + image, name)
        element.width, element.height = size(field(lines, 1)), size(field(lines, 2))
        if kind == "b":
            first = 6 + size(field(lines, 5))  # after the strip lines and the frame durations
            # NO_TEXT lines are passed over: they take no state's place.
            states = [line for line in lines[first:] if line != "NO_TEXT"][:4]
            element.texts = [Text(line.split("\t")) for line in states] + [None] * (4 - len(states))
            element.room = element.width - 2 * MARGIN
        elif kind == "e":
            element.arrow = size(field(lines, 3))
            element.texts = [Text(line.split("\t")) for line in lines[5:5 + size(field(lines, 4))]]
            element.room = element.width - 2 * element.arrow - 2 * MARGIN
        elif kind == "w":
            labels = [line for line in lines[5:] if line != "NO_TEXT"]
            element.texts = [Text(line.split("\t")) for line in labels[:8 if lines[3:4] == ["YES"] else 4]]
            element.room = element.width // 2 - 2 * MARGIN
        return element

    def scene(self, file):
        """The scene's elements by index (None where the game makes none) and its layers."""
        where = "scene/" + file
        raw = self.lines("Assets/scene/" + file)
        if raw is None:
            return [], []
        if raw and raw[-1] == "":
            raw.pop()
        at = 0

        def counted():
            nonlocal at
            while at < len(raw) and raw[at].startswith("#"):
                at += 1
            at += 1
            return raw[at - 1] if at <= len(raw) else None

        def path():
            nonlocal at
            if at >= len(raw):
                return [], 0
            line = raw[at]
            at += 1
            if line.startswith("#") or not line:
                return [], 0
            fields = line.split("\t")
            return points(fields[0]), min(max(number(fields[1]), 0), 0xFFFF) if len(fields) > 1 else 0

        layers = counted()
        names = [] if layers in (None, "NO_IMAGE") else [n for n in layers.split(";") if n]
        for name in names:
            self.picture("Assets/menu_backgrounds/" + name, where)
        speeds = counted()
        speeds = [] if speeds in (None, "NO") else [number(s) for s in speeds.split(";") if s]
        declared = min(max(number(counted() or "0"), 0), 32767)
        elements = [None] * declared
        for index in range(declared):
            line = counted()
            if line is None:
                break
            fields = line.split("\t")
            keyword = fields[0]
            if keyword == "GUI_ELEMENT":
                name = field(fields, 1)
                kind = next((k for ext, k in ((".btn", "b"), (".sel", "e"), (".sli", "l"), (".swt", "w"))
                             if ext in name), None)
                if kind is None:
                    break  # a widget of no known kind ends the file
                element, phase = self.widget(kind, name, point(field(fields, 2))), 3
            elif keyword == "IMAGE":
                element, phase = Element("i", point(field(fields, 3))), 4
                element.picture = self.picture(field(fields, 1), where)
            elif keyword == "ANIMATION":
                element, phase = Element("a", point(field(fields, 2))), 3
                self.lines(field(fields, 1))
            elif keyword == "TEXT":
                element, phase = Element("t", point(field(fields, 3))), 7
                element.key, element.font = field(fields, 1), size(field(fields, 2))
                if len(fields) > 5:
                    words = fields[5]
                    element.align = (2 if "CENTER" in words else 1 if "RIGHT" in words else 0,
                                     0 if "MID" in words else 2 if "BTM" in words else 1)
            else:
                continue  # a line of no known kind uses up its index
            elements[index] = element
            bits = number(fields[phase]) & 0xFF if phase < len(fields) else 0
            if bits & 1:
                element.entry = path()
            if bits & 4:
                element.exit = path()
        return elements, list(zip(names, speeds + [0] * len(names)))


def flight_ms(path, speed):
    length = sum(math.hypot(b[0] - a[0], b[1] - a[1]) for a, b in zip(path, path[1:]))
    return length * 1000.0 / speed if speed else (1e9 if length > 0 else 0)


def check_addresses(c, menu, elements):
    where = "scene/" + menu.file
    if not elements:
        c.fail("%s: no elements" % where)
    for i, element in enumerate(elements):
        if element is None:
            c.fail("%s: element %d is not made" % (where, i))
    widgets = [e for e in elements if e is not None and e.kind in "belw"]
    kinds = "".join(w.kind for w in widgets)
    if kinds != menu.kinds:
        c.fail("%s: widgets are %s, its menu addresses %s" % (where, kinds, menu.kinds))
    for i, w in enumerate(widgets):
        if w.picture is None:
            c.fail("%s: widget %d has no picture" % (where, i))
        want = menu.keys[i] if i < len(menu.keys) else ""
        for text in w.texts if w.kind == "b" else []:
            if (text.key if text else "-") != want:
                c.fail("%s: widget %d shows %s, its menu expects %s" % (where, i, text.key if text else "-", want))
    for position in menu.text_boxes:
        if position >= len(elements) or elements[position] is None or elements[position].kind != "t":
            c.fail("%s: element %d is no text box, yet its menu writes a number into it" % (where, position))
    for i, e in enumerate(elements):
        for (path, speed), fade, entering in ((e.entry, menu.fade_in, True), (e.exit, menu.fade_out, False)) \
                if e else ():
            if not path:
                continue
            if (path[-1] if entering else path[0]) != e.home:
                c.fail("%s: element %d %s away from home" % (where, i, "ends its fly-in" if entering
                                                                      else "starts its fly-out"))
            if flight_ms(path, speed) > fade:
                c.fail("%s: element %d %s late: %.0f ms in a %d ms fade"
                       % (where, i, "arrives" if entering else "leaves", flight_ms(path, speed), fade))


def check_options(c, elements, layers):
    widgets = [e for e in elements if e is not None and e.kind in "belw"]
    order = " ".join(t.key for t in widgets[3].texts) if len(widgets) > 3 else ""
    if order != OPTIONS_LANGUAGES:
        c.fail("scene/menu_options.scn: the language selector lists %s, the table %s" % (order, OPTIONS_LANGUAGES))
    name = "Assets/menu_backgrounds/" + layers[0][0] if layers else None
    if not name or layers[0][1] or not os.path.exists(os.path.join(c.data, name)):
        c.fail("scene/menu_options.scn: the first layer must be a still picture")
        return
    png = Png(os.path.join(c.data, name))
    clear = sum(1 for y in range(png.height) for x in range(png.width) if png.pixel(x, y)[3] != 255)
    if (png.width, png.height) != SCREEN or clear:
        c.fail("%s: %dx%d with %d pixels not opaque; the options never clear the screen"
               % (name, png.width, png.height, clear))


class Texts:
    """The game texts of every language, laid out in the game's fonts."""

    def __init__(self, c, fonts):
        self.c, self.fonts, self.tables = c, fonts, {}
        for language in check_texts.LANGUAGES:
            table = {}
            for key, value, _ in check_texts.read_table(
                    os.path.join(c.data, "Assets", "texts", "gametexts_%s.txt" % language), []):
                table.setdefault(key, value)
            self.tables[language] = table
        # The win text is sized with the level name that draws widest, not the one with most letters,
        # and the country of the longest flag name.
        levels = [line.split("\t", 1)[-1] for line in c.lines("Assets/texts/levelnames.txt") or []
                  if line and not line.startswith("#")]
        flags = [line.split(",")[0][:-5] for line in c.lines("Flags/flags.txt") or []
                 if line and not line.startswith("#")]
        self.samples = {"BRIEF_TIME": "999", "BRIEF_GOAL": "99", "BRIEF_SURVIVORS": "99", "WIN_TOTAL": "999",
                        "WIN_LOST": "999", "WIN_LEVEL": max(levels, key=self.drawn, default=""),
                        "WIN_FLAG": max(flags, key=lambda f: len(f.encode("utf-8")), default="")}

    def drawn(self, text, font=0):
        return sum(w for *_, w in check_fonts.layout(self.fonts[font], text))

    def width(self, language, key, font, where):
        """The widest line of `key` and the number of lines, numbers filled in with samples."""
        text = self.tables[language].get(key)
        if text is None:
            self.c.fail("%s: %s is missing in %s" % (where, key, language))
            return 0, 1
        font = min(font, len(self.fonts) - 1)
        pieces = text.replace("_VAR_", self.samples[key]).split("|") if key in self.samples else text.split("|")
        return max(self.drawn(piece, font) for piece in pieces), len(pieces)


def check_fits(c, menu, elements, texts):
    fonts = texts.fonts
    for language in check_texts.LANGUAGES:
        where = "scene/%s in %s" % (menu.file, language)
        widgets, boxes = list(menu.reserved), []
        for i, w in enumerate(e for e in elements if e is not None and e.kind in "belw"):
            widgets.append(Box(w.home[0], w.home[1], w.home[0] + w.width, w.home[1] + w.height, "widget %d" % i))
            if not widgets[-1].on_screen():
                c.fail("%s: %s leaves the screen" % (where, widgets[-1]))
            for text in w.texts:
                if text is None:
                    continue
                wide, _ = texts.width(language, text.key, text.font, where)
                font = fonts[min(text.font, len(fonts) - 1)]
                if wide > w.room:
                    c.fail("%s: %s is %d pixels wide in widget %d, room for %d" % (where, text.key, wide, i, w.room))
                if font.size > w.height:
                    c.fail("%s: %s is taller than widget %d" % (where, text.key, i))
        for e in elements:
            if e is None or e.kind != "t":
                continue
            wide, lines = texts.width(language, e.key, e.font, where)
            high = lines * fonts[min(e.font, len(fonts) - 1)].size
            x0 = e.home[0] - wide * HALVES[0][e.align[0]] // 2
            y0 = e.home[1] - high * HALVES[1][e.align[1]] // 2
            boxes.append(Box(x0, y0, x0 + wide, y0 + high, e.key))
        for a, box in enumerate(boxes):
            if not box.on_screen():
                c.fail("%s: %s leaves the screen" % (where, box))
            for other in boxes[a + 1:] + widgets:
                if box.overlaps(other):
                    c.fail("%s: %s overlaps %s" % (where, box, other))
        for a in range(len(menu.reserved), len(widgets)):
            for other in widgets[:a]:
                if widgets[a].overlaps(other):
                    c.fail("%s: %s overlaps %s" % (where, widgets[a], other))


def check_flags(c):
    seen = set()
    with open(os.path.join(c.data, "Flags", "flags.txt"), "rb") as f:
        lines = f.read().decode("utf-8").split("\n")
    for number, line in enumerate(lines, 1):
        if not line or line.startswith("#"):
            continue
        if "," in line or "\r" in line:
            c.fail("Flags/flags.txt:%d: %r holds a comma or a carriage return" % (number, line))
        if line in seen:
            c.fail("Flags/flags.txt:%d: %s is listed twice" % (number, line))
        seen.add(line)
        if not os.path.exists(os.path.join(c.data, "Flags", line)):
            c.fail("Flags/flags.txt:%d: no picture Flags/%s" % (number, line))


def main(argv):
    data = os.path.abspath(argv[0]) if argv else check_fonts.DATA
    c = Checker(data)
    fonts = check_fonts.Checker()
    check_fonts.DATA = data
    fonts.load_font_list()
    if len(fonts.fonts) != 6 or fonts.errors:
        c.fail("the six fonts do not load (tools/check_fonts.py tells why)")
    else:
        texts = Texts(c, fonts.fonts)
        for menu in MENUS:
            elements, layers = c.scene(menu.file)
            check_addresses(c, menu, elements)
            if menu.file == "menu_options.scn":
                check_options(c, elements, layers)
            check_fits(c, menu, elements, texts)
        check_flags(c)
    for e in c.errors:
        print("FAIL", e)
    print("%d menus x %d languages: %s" % (len(MENUS), len(check_texts.LANGUAGES),
                                          "OK" if not c.errors else "%d problems" % len(c.errors)))
    return 1 if c.errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
