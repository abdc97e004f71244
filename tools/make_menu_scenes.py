#!/usr/bin/python3
"""Write the menus' scene files and the element files they name, from the layout tables below.

The menus address their widgets by index and some of their text boxes by element position, so the
order of every table here is part of the game: widgets first in the order the menu code expects,
then the elements at the positions the code reads, then decoration. Each element flies in from
an offset of its home and out to another offset; the speed is worked out so the flight ends well
inside the scene's fade (elements snap home when a fade ends, which would look like a jump).

    /usr/bin/python3 tools/make_menu_scenes.py

Writes data/Assets/scene/*.scn and the .btn/.sel/.sli/.swt files under data/Assets/gui/ (next to
the widget pictures their first line names) and data/Assets/graphics/ (the selection arrows).
Running it twice gives the same bytes.
"""

import math
import os

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ASSETS = os.path.join(ROOT, "data", "Assets")

# Widget pictures (tools/make_widget_art.py): one cell per look.
BUTTON_W, BUTTON_H = 120, 20  # button.png
ARROW_W = ARROW_H = 20  # graphics/arrow_*.png
SELECTOR_ARROW = 12  # selector.png: arrow width; the cell is 20 high
SLIDER_H, SLIDER_FILL_H, SLIDER_MARGIN, SLIDER_FILL_Y = 16, 8, 4, 4  # slider.png
SWITCH_W, SWITCH_H = 80, 20  # switch.png, two halves

BUTTON_FONT = 4  # button_15: 15-pixel cells, so a 20-pixel button leaves its text 2 pixels clear
# Text bands per look: cream on the slate, vermilion and maroon bodies; ink on the flat grey of a
# disabled button. The pressed text sinks with the pressed picture.
LOOK_TEXT = [(0, 0), (0, 0), (0, 1), (1, 0)]  # (colour band, y offset) for states 0..3

LANGUAGES = ["LANG_EN", "LANG_SP", "LANG_CAT", "LANG_FR", "LANG_IT", "LANG_GR", "LANG_JP"]

# How far ahead of its fade an element must have landed, as a share of the fade.
FLIGHT_SHARE = 0.7

CENTRE = 160


def write(relpath, lines):
    path = os.path.join(ASSETS, relpath)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


# ---- element files -------------------------------------------------------------------------

def button_file(name, key, image="button.png", w=BUTTON_W, h=BUTTON_H, folder="gui"):
    lines = ["# %s button" % (key or "picture"), image, str(w), str(h), "YES", "YES", "1", "0"]
    for colour, dy in LOOK_TEXT:
        lines.append("%s\t%d,%d\t%d" % (key, BUTTON_FONT, colour, dy) if key else "NO_TEXT")
    write("%s/%s" % (folder, name), lines)
    return "Assets/%s/%s" % (folder, name)


def element_files():
    files = {}
    for key in ["OPT_START", "OPT_HOWTO", "OPT_OPTIONS", "OPT_CREDITS", "OPT_EXIT", "GEN_BACK", "GEN_ACCEPT",
                "GEN_CONTIN", "GEN_DEFAULT", "GEN_CANCEL2", "PAUSE_BACK", "PAUSE_RESTART", "PAUSE_GOOPTIONS",
                "PAUSE_GOMAIN", "PAUSE_EXIT", "MENU_WIN_MENUMAIN", "MENU_WIN_SELECTLEVEL", "MENU_WIN_NEXT",
                "MENU_GAMEOVER_MENUMAIN", "MENU_GAMEOVER_GAME"]:
        files[key] = button_file(key.lower() + ".btn", key)
    files["prev"] = button_file("select_prev.btn", None, "arrow_left.png", ARROW_W, ARROW_H, "graphics")
    files["next"] = button_file("select_next.btn", None, "arrow_right.png", ARROW_W, ARROW_H, "graphics")

    write("gui/language.sel", ["# the seven languages in the order of the language table",
                               "selector.png", str(SELECTOR_W), "20", str(SELECTOR_ARROW), str(len(LANGUAGES))]
          + ["%s\t%d,0\t0" % (key, BUTTON_FONT) for key in LANGUAGES])
    files["language"] = "Assets/gui/language.sel"

    for name in ("music", "effects"):
        write("gui/%s.sli" % name, ["# volume 0..128 in steps of 8; the value is shown right of the bar",
                                    "slider.png", str(SLIDER_W), str(SLIDER_H),
                                    "%d,%d" % (SLIDER_MARGIN, SLIDER_FILL_Y), str(SLIDER_FILL_H), "0,128", "8",
                                    "RIGHT\t%d,0\t%d,0" % (SLIDER_TEXT_DX, BUTTON_FONT)])
        files[name] = "Assets/gui/%s.sli" % name

    lines = ["# full screen: two labels, off on the left half and on on the right, every look",
             "switch.png", str(SWITCH_W), str(SWITCH_H), "YES", "NO"]
    for colour, dy in LOOK_TEXT:
        lines += ["GEN_OFF\t%d,%d\t%d" % (BUTTON_FONT, colour, dy), "GEN_ON\t%d,%d\t%d" % (BUTTON_FONT, colour, dy)]
    write("gui/fullscreen.swt", lines)
    files["fullscreen"] = "Assets/gui/fullscreen.swt"
    return files


SELECTOR_W = 120
SLIDER_W = 96
SLIDER_TEXT_DX = 18


# ---- scene files ---------------------------------------------------------------------------

def speed_for(distance, fade_ms):
    return max(1, int(math.ceil(distance * 1000.0 / (FLIGHT_SHARE * fade_ms))))


def paths(home, fly_in, fly_out, fades):
    """The two path lines for an element at `home` arriving from home + fly_in and leaving to
    home + fly_out; one straight leg each, so no axis loses speed to rounding."""
    hx, hy = home
    lines = []
    for offset, fade, arriving in ((fly_in, fades[0], True), (fly_out, fades[1], False)):
        far = (hx + offset[0], hy + offset[1])
        start, end = (far, home) if arriving else (home, far)
        distance = math.hypot(offset[0], offset[1])
        lines.append("(%d,%d)(%d,%d)\t%d" % (start[0], start[1], end[0], end[1], speed_for(distance, fade)))
    return lines


class Scene:
    def __init__(self, name, backgrounds, speeds, fades):
        self.name, self.backgrounds, self.speeds, self.fades = name, backgrounds, speeds, fades
        self.lines = []
        self.count = 0

    def _add(self, line, home, fly_in, fly_out):
        self.count += 1
        if fly_in or fly_out:
            self.lines.append(line + "\t7")
            self.lines.extend(paths(home, fly_in or (0, 0), fly_out or (0, 0), self.fades))
        else:
            self.lines.append(line)

    def widget(self, comment, file, x, y, fly_in=None, fly_out=None):
        self.lines.append("# %d: %s" % (self.count, comment))
        self._add("GUI_ELEMENT\t%s\t%d,%d" % (file, x, y), (x, y), fly_in, fly_out)

    def text(self, comment, key, font, x, y, speed="0", align="LEFT", colour=0, fly_in=None, fly_out=None):
        self.lines.append("# %d: %s" % (self.count, comment))
        self._add("TEXT\t%s\t%d\t%d,%d\t%s\t%s\t%d" % (key, font, x, y, speed, align, colour), (x, y), fly_in,
                  fly_out)

    def image(self, comment, path, size, x, y, fly_in=None, fly_out=None):
        self.lines.append("# %d: %s" % (self.count, comment))
        self._add("IMAGE\t%s\t0,0,%d,%d\t%d,%d" % (path, size[0], size[1], x, y), (x, y), fly_in, fly_out)

    def save(self, header):
        out = ["# " + h for h in header]
        out += [";".join(self.backgrounds), ";".join(str(s) for s in self.speeds), str(self.count)]
        write("scene/" + self.name, out + self.lines)


SKY = (["sky.png", "moon.png", "hills_far.png", "hills_near.png"], [0, 0, 4, 9])
# The briefing shows the country's picture where the moon would be.
SKY_NO_MOON = (["sky.png", "hills_far.png", "hills_near.png"], [0, 4, 9])


def left_of_centre(gap=4):
    return CENTRE - gap - BUTTON_W


def right_of_centre(gap=4):
    return CENTRE + gap


def main_menu(f):
    s = Scene("Main.scn", *SKY, (1000, 1000))
    keys = ["OPT_START", "OPT_HOWTO", "OPT_OPTIONS", "OPT_CREDITS", "OPT_EXIT"]
    x = CENTRE - BUTTON_W // 2
    for i, key in enumerate(keys):
        # a cascade: each button starts a little further out, so they land one after another
        s.widget(key, f[key], x, 50 + 22 * i, fly_in=(-(x + BUTTON_W) - 40 * i, 0),
                 fly_out=(320 - x + 40 * i, 0))
    s.image("the game's name", "Assets/graphics/title.png", TITLE_SIZE, CENTRE - TITLE_SIZE[0] // 2, 14,
            fly_in=(0, -40), fly_out=(0, -40))
    s.save(["Main menu: buttons 0-4 start, how to play, options, credits, exit.",
            "The countries painted and the counts of countries and flags are drawn by the game at",
            "y 161-196: keep it free."])


def select_level(f):
    s = Scene("SelectLevel.scn", *SKY, (200, 200))
    s.widget("previous flag", f["prev"], 104, 55, fly_in=(-60, 0), fly_out=(-60, 0))
    s.widget("next flag", f["next"], 196, 55, fly_in=(60, 0), fly_out=(60, 0))
    s.widget("previous country", f["prev"], 104, 120, fly_in=(-60, 0), fly_out=(-60, 0))
    s.widget("next country", f["next"], 196, 120, fly_in=(60, 0), fly_out=(60, 0))
    s.widget("back", f["GEN_BACK"], left_of_centre(), 170, fly_in=(0, 40), fly_out=(0, 40))
    s.widget("accept", f["GEN_ACCEPT"], right_of_centre(), 170, fly_in=(0, 40), fly_out=(0, 40))
    s.text("title", "TITLE_SELECT", 2, CENTRE, 6, align="CENTER", colour=3, fly_in=(0, -30), fly_out=(0, -30))
    s.text("flag heading", "SELECT_FLAG", 0, CENTRE, 34, align="CENTER", colour=3)
    s.image("frame round the flag the game draws at (135, 50)", "Assets/graphics/flag_frame.png", (54, 34), 133,
            48)
    s.text("country heading", "SELECT_LEVEL", 0, CENTRE, 124, align="CENTER", colour=3)
    s.save(["Level selection: widgets 0/1 previous/next flag, 2/3 previous/next country, 4 back, 5 accept.",
            "The game draws the flag at (135, 50), its name centred at y 85 and the country's at y 145."])


def briefing(f):
    s = Scene("Briefing.scn", *SKY_NO_MOON, (200, 200))
    s.widget("back", f["GEN_BACK"], left_of_centre(), 172, fly_in=(0, 40), fly_out=(0, 40))
    s.widget("accept", f["GEN_ACCEPT"], right_of_centre(), 172, fly_in=(0, 40), fly_out=(0, 40))
    s.text("title", "TITLE_BRIEFING", 2, 16, 6, colour=3, fly_in=(-150, 0), fly_out=(-150, 0))
    s.image("rule under the country's name", "Assets/graphics/rule.png", (136, 3), 16, 46, fly_in=(-160, 0),
            fly_out=(-160, 0))
    for i, key in enumerate(["BRIEF_TIME", "BRIEF_GOAL", "BRIEF_SURVIVORS"]):
        s.text("%s (the game fills in the number)" % key, key, 1, 20, 60 + 18 * i, fly_in=(-160, 0),
               fly_out=(-160, 0))
    s.save(["Briefing: widgets 0 back, 1 accept; elements 4, 5, 6 are the time, paint and survivor boxes.",
            "The game draws the country's name at (20, 30), its picture in the top right quarter and the",
            "thumbnail at y 140 on the right."])


def pause(f):
    s = Scene("Pause.scn", *SKY, (200, 200))
    keys = ["PAUSE_BACK", "PAUSE_RESTART", "PAUSE_GOOPTIONS", "PAUSE_GOMAIN", "PAUSE_EXIT"]
    x = CENTRE - BUTTON_W // 2
    for i, key in enumerate(keys):
        s.widget(key, f[key], x, 46 + 25 * i, fly_in=(-(x + BUTTON_W), 0), fly_out=(320 - x, 0))
    s.text("title", "TITLE_PAUSE", 2, CENTRE, 12, align="CENTER", colour=3, fly_in=(0, -32), fly_out=(0, -32))
    s.save(["Pause menu: buttons 0-4 resume, restart, options, main menu, quit."])


def win(f):
    s = Scene("Win.scn", *SKY, (200, 200))
    s.widget("main menu", f["MENU_WIN_MENUMAIN"], left_of_centre(), 166, fly_in=(0, 40), fly_out=(0, 40))
    s.widget("pick a country", f["MENU_WIN_SELECTLEVEL"], right_of_centre(), 166, fly_in=(0, 40),
             fly_out=(0, 40))
    s.text("title", "TITLE_WIN", 2, CENTRE, 10, align="CENTER", colour=4, fly_in=(0, -32), fly_out=(0, -32))
    s.image("frame round the flag the game draws at (240, 95)", "Assets/graphics/flag_frame.png", (54, 34), 238,
            93, fly_in=(90, 0), fly_out=(90, 0))
    for i, key in enumerate(["WIN_TOTAL", "WIN_LOST", "WIN_LEVEL", "WIN_FLAG"]):
        s.text("%s (filled in by the game)" % key, key, 1, 16, 40 + 14 * i, fly_in=(-170, 0), fly_out=(-170, 0))
    # Last, so the text boxes keep the element positions the game fills in.
    s.widget("next unpainted country", f["MENU_WIN_NEXT"], CENTRE - BUTTON_W // 2, 140, fly_in=(0, 70),
             fly_out=(0, 70))
    s.save(["Win screen: widgets 0 main menu, 1 pick a country, 2 the next country not yet painted (element 8);",
            "elements 4-7 are the creature total, the lost ones, the country and the flag. The game draws the",
            "flag at (240, 95)."])


def game_over(f):
    s = Scene("GameOver.scn", *SKY, (200, 1000))
    s.widget("main menu", f["MENU_GAMEOVER_MENUMAIN"], left_of_centre(), 170, fly_in=(0, 40), fly_out=(0, 40))
    s.widget("try again", f["MENU_GAMEOVER_GAME"], right_of_centre(), 170, fly_in=(0, 40), fly_out=(0, 40))
    s.text("title", "TITLE_GAMEOVER", 2, CENTRE, 12, align="CENTER", colour=2, fly_in=(0, -32),
           fly_out=(0, -32))
    s.text("comfort", "GAMEOVER_TEXT", 0, CENTRE, 40, align="CENTER", fly_in=(0, -60), fly_out=(0, -60))
    s.image("frame round the flag the game draws at (134, 110)", "Assets/graphics/flag_frame.png", (54, 34), 132,
            108)
    s.save(["Game over: widgets 0 main menu, 1 try again. The game draws the flag at (134, 110) and the",
            "cross over it at (120, 88), 78 x 74."])


def options(f):
    # The options screen never clears: its first layer covers the whole screen.
    s = Scene("menu_options.scn", ["options.png"], [0], (500, 500))
    wx = 172
    rows = [("fullscreen", "OPTIONS_FULLSCREEN", SWITCH_H), ("music", "OPTIONS_MUSIC", SLIDER_H),
            ("effects", "OPTIONS_EFFECTS", SLIDER_H), ("language", "OPTIONS_LANGUAGE", 20)]
    for i, (name, _, _) in enumerate(rows):
        s.widget(name, f[name], wx, 36 + 26 * i, fly_in=(330 - wx, 0), fly_out=(330 - wx, 0))
    s.widget("defaults", f["GEN_DEFAULT"], CENTRE - BUTTON_W // 2, 140, fly_in=(0, 70), fly_out=(0, 70))
    s.widget("cancel", f["GEN_CANCEL2"], left_of_centre(), 164, fly_in=(0, 50), fly_out=(0, 50))
    s.widget("accept", f["GEN_ACCEPT"], right_of_centre(), 164, fly_in=(0, 50), fly_out=(0, 50))
    s.text("title", "TITLE_OPTIONS", 2, CENTRE, 3, align="CENTER", colour=3)
    for i, (_, key, h) in enumerate(rows):
        s.text("label", key, 0, 24, 36 + 26 * i + h // 2, align="LEFT MID", colour=3, fly_in=(-130, 0),
               fly_out=(-130, 0))
    s.save(["Options: widgets 0 full screen, 1 music, 2 effects, 3 language, 4 defaults, 5 cancel, 6 accept.",
            "The first layer is opaque and covers the screen: this menu does not clear."])


def text_pages(f, name, title, keys, speed):
    s = Scene(name, *SKY, (200, 1000))
    s.widget("continue", f["GEN_CONTIN"], CENTRE - BUTTON_W // 2, 176, fly_in=(0, 40), fly_out=(0, 40))
    s.text("title", title, 2, CENTRE, 2, align="CENTER", colour=3, fly_in=(0, -30), fly_out=(0, -30))
    for i, key in enumerate(keys):
        s.text(key, key, 1, CENTRE, 24 + 37 * i, speed=speed, align="CENTER")
    return s


def how_to(f):
    s = text_pages(f, "HowTo.scn", "TITLE_HOWTO", ["HOWTO_1", "HOWTO_2", "HOWTO_3", "HOWTO_4"], "0")
    s.save(["How to play: one button, continue; four boxes of up to three lines, shown at once."])


def credits(f):
    s = text_pages(f, "Credits.scn", "TITLE_CREDITS", ["CREDITS_1", "CREDITS_2", "CREDITS_3", "CREDITS_4"],
                   "VERY_FAST")
    s.save(["Credits: one button, continue; four boxes typed line by line each time the screen opens."])


TITLE_SIZE = None


def main():
    global TITLE_SIZE
    from PIL import Image
    TITLE_SIZE = Image.open(os.path.join(ASSETS, "graphics", "title.png")).size
    f = element_files()
    for make in (main_menu, select_level, briefing, pause, win, game_over, options, how_to, credits):
        make(f)


if __name__ == "__main__":
    main()
