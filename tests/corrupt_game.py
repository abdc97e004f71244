#!/usr/bin/env python3
"""Every file the game reads, damaged, and the real game played through it.

Each run makes a scratch folder like a player's (the game, its pack, "Countries/", "Flags/", an options
file and a progress file), damages one file in one way, starts the game under a virtual X server and
plays it with XTest keys: through the logos, Play, the selection, the briefing, into the first level,
pause, back to the main menu, then closes the window. The run passes when the game neither crashes nor
hangs, no sanitizer speaks, it ends with code 0 when closed, and every line it prints is one of the
game's own messages.

    corrupt_game.py --run-dir build/run --vovpack build/vovpack --seed 1 --count 6   # a seeded sample
    corrupt_game.py --run-dir build/run --vovpack build/vovpack --all                # every file x way
    corrupt_game.py ... --only "config.ini:nul" --seed 3                             # one case again
    corrupt_game.py --run-dir build/run --kill-config 40                             # kill test, options
    corrupt_game.py --run-dir build/run --robot build/vovrobot --kill-progress 40    # kill test, progress
    corrupt_game.py --run-dir build/run --cut-config 20                              # killed mid-write

--game takes another game binary (the sanitizer build's) with the same run folder's data.
Python's standard library only. Runs itself under xvfb-run when started outside one.
"""
import argparse
import os
import random
import re
import resource
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import zlib

SCREEN = "-screen 0 1280x720x24"
FIRST_LEVEL = "China"  # the first line of the shipped level list
FIRST_FLAG = "Afghanistan Flag"  # the first flag of the list: the selection's first choice

# The game's own messages, as it prints them. A line that matches none of these is a failure.
MESSAGES = [
    r"The file is not opened",
    r"Open mode: .* prevents from reading",
    r"The file .* is not loaded yet\. Cannot delete it\.",
    r"AllFonts File file not found in the pack: .*",
    r"Font file not found in the pack!",
    r"Text file not found in the pack: .*",
    r"Error while retrieving .* from text",
    r"Error when loading sound: .*",
    r"Flags/flags\.txt NOT FOUND!",
    r"Flag .* NOT LOAD\.",
    r"Countries/countries\.txt NOT FOUND!",
    r"ERROR: Invalid Country in line \d+ in file Countries/countries\.txt :: NOT ENOUGHT PARAMETERS\.",
    r"ERROR: Country .* (terrain|stamp) .* NOT LOAD\.",
    r"Savedata/progress\.txt cannot be read: the game starts with no progress and will not save over it\.",
    r"Savedata/progress\.txt is damaged or not a progress file and cannot be set aside: the game starts"
    r" with no progress and will not save over it\.",
    r"Savedata/progress\.txt is damaged or not a progress file: set aside as "
    r"Savedata/progress\.txt\.damaged-\d+; the game starts with no progress\.",
    r"Savedata/progress\.txt: line \d+ cannot be read and is left out\.",
    r"Savedata/progress\.txt could not be saved: the progress of this game is kept until it ends\.",
    r"Imposible crear textura\. OPENGL Error\. ?",
    r"Imposible crear textura OpenGL: .*",
    r"Error image: -?\d+: Not found in Array Surface",
    r"ERROR en FrameBuffer: .*",
    r"ERROR: Can't load Mouse image .*",
]
SHADER_MESSAGES = [
    r"\*\*\* Compilacion del vertex shader .*: ",
    r"\*\*\* Compilacion del fragment shader .*: ERROR:",
    r"\*\*\* Enlace de shaders a program: ",
]
# After a shader message the driver's own log follows (Mesa's wording); its lines are not ours.
SHADER_LOG = r"(\d+:\d+\(\d+\): )?(error|warning|preprocessor error)\b.*|.*(error|linking|link).*|"
KNOWN = re.compile("|".join("(?:%s)" % m for m in MESSAGES), re.S)
SHADER = re.compile("|".join("(?:%s)" % m for m in SHADER_MESSAGES), re.S)
SHADER_LOG_LINE = re.compile(SHADER_LOG, re.S | re.I)
SANITIZER = re.compile(r"Sanitizer|runtime error:|AddressSanitizer|LeakSanitizer|SUMMARY:")

OPTIONS = b"LANGUAGE=ENGLISH\nFULLSCREEN=NO\nBGMVOLUME=100\nSFXVOLUME=90\n"
PROGRESS = (b"VOV ARUZEZUDOR PROGRESS 1\nKazakhstan,Afghanistan Flag,61234,6\n"
            b"Mongolia,Albania Flag,1000,5\n")


def binary_button():
    """A whole binary button file, field by field as the game's writer lays it out."""
    def string(text):
        return struct.pack("<H", len(text)) + text
    data = string(b"button.png") + struct.pack("<iiHH", 0, 0, 120, 20) + struct.pack("<HHHHBB", 1, 0, 0, 0, 1, 1)
    for state in range(4):
        data += struct.pack("<HH", state, 0) + string(b"OPT_START") + struct.pack("<HB", 4, 1 if state == 3 else 0)
    return data + struct.pack("<BI", 1, 0)


# The files, by where they live: "disk" (the scratch folder), "pack" (an entry, the pack rebuilt),
# "loose" (a file beside the game that takes the pack entry's place). Kinds choose the ways.
TARGETS = [
    ("Vedezaviva.zez", "disk", "binary"),
    ("config.ini", "disk", "text"),
    ("Savedata/progress.txt", "disk", "text"),
    ("Countries/countries.txt", "disk", "text"),
    ("Flags/flags.txt", "disk", "text"),
    ("Countries/%s Terrain.png" % FIRST_LEVEL, "disk", "image"),
    ("Countries/%s Stamp.png" % FIRST_LEVEL, "disk", "image"),
    ("Flags/%s" % FIRST_FLAG, "disk", "image"),
    ("Assets/gui/opt_start.bin.btn", "disk", "element"),
    ("Assets/font/fonts.txt", "loose", "text"),
    ("Assets/hud/mousenormal.png", "loose", "image"),
    ("Assets/texts/gametexts_en.txt", "pack", "text"),
    ("Assets/texts/levelnames.txt", "pack", "text"),
    ("Assets/font/fonts.txt", "pack", "text"),
    ("Assets/font/fonts/sans_12.txt", "pack", "text"),
    ("Assets/font/fonts/button_15.txt", "pack", "text"),
    ("Sound/levels.bgm", "pack", "text"),
    ("Assets/scene/Main.scn", "pack", "text"),
    ("Assets/scene/SelectLevel.scn", "pack", "text"),
    ("Assets/scene/Briefing.scn", "pack", "text"),
    ("Assets/scene/Pause.scn", "pack", "text"),
    ("Assets/gui/opt_start.btn", "pack", "text"),
    ("Assets/gui/language.sel", "pack", "text"),
    ("Assets/gui/music.sli", "pack", "text"),
    ("Assets/gui/fullscreen.swt", "pack", "text"),
    ("Assets/shaders/TextureMatrix2D.vertex", "pack", "text"),
    ("Assets/shaders/TextureMatrix2D.fragment", "pack", "text"),
    ("Assets/shaders/TexturePalette.fragment", "pack", "text"),
    ("Assets/hud/mousenormal.png", "pack", "image"),
    ("Assets/font/fonts/sans_12_0.png", "pack", "image"),
    ("Sound/cursorok22.wav", "pack", "binary"),
    ("Sound/music/main_intro.ogg", "pack", "binary"),
]
WAYS = {
    "text": ["empty", "truncate", "bitflip", "huge", "longline", "nul", "utf8", "missing", "dangling"],
    "binary": ["empty", "truncate", "bitflip", "huge", "longline", "nul", "missing"],
    "image": ["empty", "truncate", "bitflip", "huge", "longline", "nul", "missing", "hugesize"],
    "element": ["empty", "truncate", "bitflip", "huge", "longline", "nul", "utf8", "missing"],
}
# Texts that name no other file: "dangling" has nothing to point elsewhere.
NO_REFERENCES = ("gametexts_", "levelnames", ".vertex", ".fragment", "config.ini", "progress.txt")


def cases():
    out = []
    for path, place, kind in TARGETS:
        for way in WAYS[kind]:
            if way == "dangling" and any(n in path for n in NO_REFERENCES):
                continue
            out.append(("%s:%s" % (place, path), way))
    return out


# ---- the damage -------------------------------------------------------------------------------------
def damage(data, way, rng):
    """The file's new bytes, or None when the file is to be missing."""
    size = len(data)
    if way == "empty":
        return b""
    if way == "missing":
        return None
    if way == "truncate":
        return data[:rng.randrange(max(1, size))]
    if way == "bitflip":
        out = bytearray(data)
        for _ in range(rng.randint(1, 12)):
            if out:
                out[rng.randrange(len(out))] ^= 1 << rng.randrange(8)
        return bytes(out)
    if way == "huge":
        numbers = [b"99999999999999999999", b"4294967296", b"4294967295", b"2147483648", b"-2147483649",
                   b"65536", b"-1", b"-99999999999", b"1e309", b"0x7fffffff"]
        runs = list(re.finditer(rb"-?\d+", data))
        if runs and not way_is_binary(data):
            out, last = [], 0
            for m in sorted(rng.sample(runs, min(len(runs), rng.randint(1, 20))), key=lambda m: m.start()):
                out += [data[last:m.start()], rng.choice(numbers)]
                last = m.end()
            return b"".join(out) + data[last:]
        out = bytearray(data)
        for _ in range(rng.randint(1, 6)):
            if len(out) >= 4:
                at = rng.randrange(len(out) - 3)
                out[at:at + 4] = rng.choice([b"\xff\xff\xff\x7f", b"\xff\xff\xff\xff", b"\x00\x00\x00\x80"])
        return bytes(out)
    if way == "longline":
        line = rng.choice([b"A", b"9", b"\t", b",", b"\xe3\x81\x82"]) * rng.choice([70000, 300000, 1100000])
        starts = [0] + [m.end() for m in re.finditer(rb"\n", data)]
        at = rng.choice(starts)
        return data[:at] + line + b"\n" + data[at:]
    if way == "nul":
        out = bytearray(data)
        for _ in range(rng.randint(1, 16)):
            at = rng.randrange(len(out) + 1)
            if rng.random() < 0.5 and at < len(out):
                out[at] = 0
            else:
                out[at:at] = b"\x00" * rng.randint(1, 4)
        return bytes(out)
    if way == "utf8":
        bad = [b"\xff", b"\xfe", b"\xc3\x28", b"\xed\xa0\x80", b"\xf8\x88\x80\x80\x80", b"\xe2\x82",
               b"\xc0\xaf", b"\x80\x80", b"\xf4\x90\x80\x80"]
        out = bytearray(data)
        for _ in range(rng.randint(1, 16)):
            at = rng.randrange(len(out) + 1)
            out[at:at] = rng.choice(bad)
        return bytes(out)
    if way == "dangling":
        # Names of other files point nowhere: an "X" after each name found (or some of them).
        pattern = rb"[^\s\t,;()]+\.(png|btn|sel|sli|swt|txt|ogg|wav|scn)|[A-Z][A-Za-z .'-]*Flag"
        names = list(re.finditer(pattern, data))
        if not names:
            return data + b"\nnothing.png\n"
        chosen = names if rng.random() < 0.5 else rng.sample(names, max(1, len(names) // 3))
        out, last = [], 0
        for m in sorted(chosen, key=lambda m: m.start()):
            out += [data[last:m.end()], b"X"]
            last = m.end()
        return b"".join(out) + data[last:]
    if way == "hugesize":
        return huge_picture(data, rng)
    raise ValueError(way)


def way_is_binary(data):
    return b"\x00" in data[:4096] or data[:8] == b"\x89PNG\r\n\x1a\n"


def huge_picture(data, rng):
    """A PNG whose header declares a huge size, its checksum mended so the header is believed."""
    if data[:8] != b"\x89PNG\r\n\x1a\n" or len(data) < 33:
        return data
    w, h = rng.choice([(0x7FFFFFFF, 0x7FFFFFFF), (100000, 100000), (8193, 1), (1, 8193), (65535, 65535),
                       (46341, 46341), (0, 0), (0xFFFFFFFF, 1)])
    ihdr = data[12:16] + struct.pack(">II", w, h) + data[24:29]
    return data[:12] + ihdr + struct.pack(">I", zlib.crc32(ihdr) & 0xFFFFFFFF) + data[33:]


# ---- the scratch folder -----------------------------------------------------------------------------
def link_tree(source, target, hard=False):
    """Real folders, linked files: one file in it can then be replaced without copying the rest. The
    pack tool names a symbolic link's entry by the link's target: the pack's tree takes hard links."""
    for root, dirs, files in os.walk(source):
        rel = os.path.relpath(root, source)
        os.makedirs(os.path.join(target, rel), exist_ok=True)
        for name in files:
            (os.link if hard else os.symlink)(os.path.join(root, name), os.path.join(target, rel, name))


def put(path, data):
    if os.path.lexists(path):
        os.unlink(path)
    if data is None:
        return
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


class Scratch:
    def __init__(self, args, extracted):
        self.args = args
        self.extracted = extracted  # the pack's entries, extracted once
        self.dir = tempfile.mkdtemp(prefix="vov-corrupt-")

    def prepare(self, target, way, rng):
        place, path = target.split(":", 1)
        d = self.dir
        os.symlink(os.path.abspath(self.args.game), os.path.join(d, "vov-aruzezudor"))
        for folder in ("Countries", "Flags"):
            link_tree(os.path.join(self.args.run_dir, folder), os.path.join(d, folder))
        put(os.path.join(d, "config.ini"), OPTIONS)
        put(os.path.join(d, "Savedata", "progress.txt"), PROGRESS)
        edits = {}
        if path.endswith(".bin.btn"):
            # The main menu's Play button is read from a binary element file on disk.
            main = os.path.join(self.extracted, "Assets/scene/Main.scn")
            with open(main, "rb") as f:
                edits["Assets/scene/Main.scn"] = f.read().replace(b"opt_start.btn", b"opt_start.bin.btn")
            put(os.path.join(d, path), binary_button())
        if place == "pack":
            with open(os.path.join(self.extracted, path), "rb") as f:
                edits[path] = damage(f.read(), way, rng)
        elif place == "loose":
            with open(os.path.join(self.extracted, path), "rb") as f:
                put(os.path.join(d, path), damage(f.read(), way, rng))
        else:
            full = os.path.join(d, path)
            if path == "Vedezaviva.zez":
                source = os.path.join(self.args.run_dir, path)
            else:
                source = full
            with open(source, "rb") as f:
                original = f.read()
            if path == "Vedezaviva.zez" or os.path.islink(full):
                os.unlink(full) if os.path.lexists(full) else None
            put(full, damage(original, way, rng))
        if path != "Vedezaviva.zez" or place != "disk":
            self.pack(edits)

    def pack(self, edits):
        pack = os.path.join(self.dir, "Vedezaviva.zez")
        if not edits:
            os.symlink(os.path.abspath(os.path.join(self.args.run_dir, "Vedezaviva.zez")), pack)
            return
        tree = os.path.join(self.dir, ".pack")
        link_tree(self.extracted, tree, hard=True)
        for name, data in edits.items():
            put(os.path.join(tree, name), data)
        subprocess.run([self.args.vovpack, "--create", pack, tree, "Assets", "Sound"], check=True,
                       stdout=subprocess.DEVNULL)
        shutil.rmtree(tree)

    def remove(self):
        shutil.rmtree(self.dir, ignore_errors=True)


# ---- playing ----------------------------------------------------------------------------------------
def xdo(*words):
    subprocess.run(["xdotool"] + list(words), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def press(key, after=0.4):
    xdo("keydown", key)
    time.sleep(0.1)
    xdo("keyup", key)
    time.sleep(after)


def click(x, y):
    # Relative moves from the corner: absolute ones are ignored while the game holds the mouse.
    xdo("mousemove_relative", "--", "-5000", "-5000")
    time.sleep(0.1)
    xdo("mousemove_relative", "--", str(x), str(y))
    time.sleep(0.3)
    xdo("mousedown", "1")
    time.sleep(0.1)
    xdo("mouseup", "1")


class Screen:
    """The X screen read through libX11 (ctypes: no tool needed). The menus move at the game's frame
    rate, which a loaded machine slows many times over, so the driver waits for the screen to change
    and then to settle instead of waiting fixed times."""

    def __init__(self):
        import ctypes
        self.ctypes = ctypes
        x11 = self.x11 = ctypes.CDLL("libX11.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XDefaultRootWindow.restype = ctypes.c_ulong
        x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x11.XGetImage.restype = ctypes.c_void_p
        x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 + [ctypes.c_uint] * 2 + \
            [ctypes.c_ulong, ctypes.c_int]
        self.display = x11.XOpenDisplay(None)
        self.root = x11.XDefaultRootWindow(self.display)
        self.libc = ctypes.CDLL(None)
        self.libc.free.argtypes = [ctypes.c_void_p]

    def grab(self):
        """The screen's 32-bit pixels (1280 x 720)."""
        c = self.ctypes
        image = self.x11.XGetImage(self.display, self.root, 0, 0, 1280, 720, 0xFFFFFFFF, 2)
        # XImage begins: width, height, xoffset, format (ints), then the data pointer.
        data = c.cast(image + 16, c.POINTER(c.c_void_p))[0]
        raw = c.string_at(data, 1280 * 720 * 4)
        self.libc.free(data)
        self.libc.free(image)
        return raw

    def sample(self):
        return self.grab()[::4 * 61]

    @staticmethod
    def differ(a, b):
        return sum(x != y for x, y in zip(a, b)) / max(1, len(a))

    def save(self, path):
        raw = self.grab()
        rgb = bytearray(1280 * 720 * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = raw[2::4], raw[1::4], raw[0::4]
        with open(path, "wb") as f:
            f.write(b"P6 1280 720 255\n" + bytes(rgb))

    def settle(self, game, before, change_limit, settle_limit):
        """Waits until the screen differs from before, then until it holds still. False when it never
        changed."""
        end = time.time() + change_limit
        changed = False
        while time.time() < end and game.poll() is None:
            time.sleep(0.3)
            if self.differ(before, self.sample()) > 0.1:  # a scene's change, not a button's highlight
                changed = True
                break
        # Still for three seconds: a slow machine may show no new frame for half a second mid-fade.
        # Still is not unchanged: the menus' skies and hills move about 1 % of the sampled pixels
        # between two samples, a fade or a scene change more than half of them.
        end = time.time() + settle_limit
        last, still = self.sample(), 0
        while time.time() < end and game.poll() is None and still < 6:
            time.sleep(0.5)
            now = self.sample()
            still = still + 1 if self.differ(last, now) < 0.05 else 0
            last = now
        return changed


def game_environment(args):
    env = dict(os.environ, SDL_VIDEO_X11_FORCE_EGL="1", SDL_AUDIODRIVER="dummy")
    # Leaks at exit come from Mesa's unloading, which no suppression can name; reads and writes
    # out of bounds still stop the game with a report.
    env.setdefault("ASAN_OPTIONS", "detect_leaks=0:abort_on_error=0")
    env.setdefault("UBSAN_OPTIONS", "print_stacktrace=1:halt_on_error=1")
    return env


def start_game(folder, args, log):
    return subprocess.Popen(["./vov-aruzezudor"], cwd=folder, env=game_environment(args), stdout=log,
                            stderr=subprocess.STDOUT, start_new_session=True)


def find_window(game, limit):
    end = time.time() + limit
    while time.time() < end and game.poll() is None:
        out = subprocess.run(["xdotool", "search", "--name", "^Vov Aruzezudor$"], capture_output=True,
                             text=True).stdout.split()
        if out:
            return out[0]
        time.sleep(0.2)
    return None


def options_written(folder, before, game, limit):
    """Start-up is over once the options menu has written "config.ini" back."""
    end = time.time() + limit
    path = os.path.join(folder, "config.ini")
    while time.time() < end and game.poll() is None:
        try:
            st = os.stat(path)
            if (st.st_ino, st.st_mtime_ns) != before:
                return True
        except OSError:
            pass
        time.sleep(0.2)
    return False


def file_state(path):
    try:
        st = os.stat(path)
        return (st.st_ino, st.st_mtime_ns)
    except OSError:
        return None


def to_main_menu(game, folder, args, screen, options_before):
    """Waits for the window and for start-up to write the options, then cuts the logos short."""
    wid = find_window(game, args.startup)
    if not wid:
        return False
    xdo("windowfocus", "--sync", wid)
    options_written(folder, options_before, game, args.startup)
    # Escape cuts each logo short and does nothing in the main menu: pressed until nothing changes.
    for _ in range(5):
        before = screen.sample()
        press("Escape", 0.3)
        press("Escape", 0.3)
        if not screen.settle(game, before, 6 * args.slow, 30 * args.slow):
            break
    return True


def play(game, folder, args, steps, screen):
    """Drives the game through the menus into a level and out; returns the step it died at, or None."""
    if not to_main_menu(game, folder, args, screen, file_state(os.path.join(folder, "config.ini"))):
        return "no window"
    steps.append("logos")
    plan = [
        ("play", lambda: press("Return"), 2),  # main menu: Play
        ("select", lambda: press("Return"), 2),  # selection: Accept (the first flag and country)
        ("briefing", lambda: press("Return"), 2),  # briefing: Accept, into the level
        ("level", lambda: time.sleep(5 * args.slow), 0),  # the intro, the door, the walk
        ("pause", lambda: press("Escape"), 1),
        ("main menu", lambda: click(640, 472), 1),  # pause: "Main menu" (logical 160, 131)
    ]
    for name, action, tries in plan:
        moved = False
        for _ in range(max(1, tries)):
            if game.poll() is not None:
                return name
            before = screen.sample()
            action()
            moved = not tries or screen.settle(game, before, 15 * args.slow, 30 * args.slow)
            if moved:
                break
        # A step the screen never answered is marked: the files behind it may not have been read.
        steps.append(name if moved else name + "?")
        if args.shots:
            screen.save(os.path.join(args.shots, "%d-%s.ppm" % (len(steps), name.replace(" ", "_"))))
    return None if game.poll() is None else "closing"


def stop(game, limit):
    if game.poll() is None:
        game.send_signal(signal.SIGTERM)  # the window manager's close
    try:
        game.wait(limit)
        return True
    except subprocess.TimeoutExpired:
        os.killpg(game.pid, signal.SIGKILL)
        game.wait()
        return False


def judge(output):
    """Lines that are not the game's messages, and any sanitizer report."""
    problems, in_shader_log = [], False
    for line in output.decode("latin-1").split("\n")[:-1] if output else []:
        if SANITIZER.search(line):
            problems.append("sanitizer: " + line[:200])
        elif SHADER.fullmatch(line):
            in_shader_log = True
        elif KNOWN.fullmatch(line):
            in_shader_log = False
        elif in_shader_log and SHADER_LOG_LINE.fullmatch(line):
            pass
        else:
            problems.append("unknown line: " + repr(line[:200]))
    if output and not output.endswith(b"\n"):
        problems.append("unfinished last line: " + repr(output[-200:]))
    return problems


def run_case(args, extracted, target, way, seed):
    rng = random.Random("%s|%s|%d" % (target, way, seed))
    scratch = Scratch(args, extracted)
    started = time.time()
    try:
        scratch.prepare(target, way, rng)
        log_path = os.path.join(scratch.dir, ".game.log")
        steps = []
        with open(log_path, "wb") as log:
            game = start_game(scratch.dir, args, log)
            try:
                died = play(game, scratch.dir, args, steps, args.screen)
            finally:
                closed = stop(game, args.close)
        with open(log_path, "rb") as f:
            output = f.read()
        problems = judge(output)
        code = game.returncode
        if died:
            problems.append("the game ended before it was closed (at %s)" % died)
        if not closed:
            problems.append("hang: the game did not end within %d s of its close" % args.close)
        elif code != 0:
            problems.append("exit code %d%s" % (code, " (signal %d)" % -code if code < 0 else ""))
        if problems and args.keep:
            keep = os.path.join(args.keep, "%s-%s-%d" % (re.sub(r"\W", "_", target), way, seed))
            shutil.rmtree(keep, ignore_errors=True)
            shutil.copytree(scratch.dir, keep, symlinks=True)
        return problems, time.time() - started, len(output.splitlines()), steps
    finally:
        scratch.remove()


def extract_pack(args):
    folder = tempfile.mkdtemp(prefix="vov-corrupt-pack-")
    subprocess.run([args.vovpack, "--extract", folder, os.path.join(args.run_dir, "Vedezaviva.zez")],
                   check=True, stdout=subprocess.DEVNULL)
    return folder


def sweep(args):
    every = cases()
    if args.only:
        target, way = args.only.rsplit(":", 1)
        chosen = [(c, w) for c, w in every if w == way and (c == target or c.split(":", 1)[1] == target)]
    elif args.all:
        # Shuffled by the seed: a sweep cut short has still touched every file and every way.
        chosen = random.Random(args.seed).sample(every, len(every))[args.start:]
    else:
        chosen = random.Random(args.seed).sample(every, min(args.count, len(every)))
    extracted = extract_pack(args)
    failures, begun = 0, time.time()
    try:
        for index, (target, way) in enumerate(chosen):
            problems, took, lines, steps = run_case(args, extracted, target, way, args.seed)
            verdict = "ok" if not problems else "FAIL"
            first = args.start if args.all else 0
            print("[%d/%d] %s %s seed=%d: %s (%.0f s, %d lines printed; %s)" %
                  (first + index + 1, first + len(chosen), target, way, args.seed, verdict, took, lines,
                   " > ".join(steps) or "no window"), flush=True)
            for p in problems[:10]:
                print("    " + p, flush=True)
            failures += bool(problems)
    finally:
        shutil.rmtree(extracted, ignore_errors=True)
    print("%d runs, %d failed, %.0f s" % (len(chosen), failures, time.time() - begun), flush=True)
    return 1 if failures else 0


# ---- the kill test ----------------------------------------------------------------------------------
OPTIONS_WHOLE = re.compile(rb"# Vov Aruzezudor OPTIONS FILE \n\n# Language, possible settings:\n.*\n"
                           rb"LANGUAGE=([A-Z]+)\n\n# Video mode, possible settings:\n# YES, NO\n"
                           rb"FULLSCREEN=(YES|NO)\n\n# BGM Volume, possible range:\n# \[0, 128\]\n"
                           rb"BGMVOLUME=(\d+)\n\n# SFX Volume, possible range:\n# \[0, 128\]\nSFXVOLUME=(\d+)\n\n")
JAPANESE = b"LANGUAGE=JAPANESE\nFULLSCREEN=NO\nBGMVOLUME=128\nSFXVOLUME=128\n"


def japanese_folder(args, prefix):
    """A player's folder (the game, its pack and lists) holding the old options file, in Japanese."""
    folder = tempfile.mkdtemp(prefix=prefix)
    os.symlink(args.game, os.path.join(folder, "vov-aruzezudor"))
    for name in ("Vedezaviva.zez", "Countries", "Flags"):
        os.symlink(os.path.join(args.run_dir, name), os.path.join(folder, name))
    path = os.path.join(folder, "config.ini")
    put(path, JAPANESE)
    return folder, path


def scratch_size(path):
    """How many bytes the writer's scratch file beside `path` holds; None when there is none."""
    try:
        return os.path.getsize(path + ".tmp")
    except OSError:
        return None


def kill_config(args):
    """Kills the game at a random moment while it writes "config.ini" over and over (at start-up,
    then at every Accept of the options, a volume moved each time): the file must always be the old
    one or a whole new one, still in Japanese."""
    import threading
    rng = random.Random(args.seed)
    bad, begun, writes = 0, time.time(), 0
    for run in range(args.kill_config):
        folder, path = japanese_folder(args, "vov-kill-")
        try:
            seen = [file_state(path)]
            with open(os.path.join(folder, ".log"), "wb") as log:
                game = start_game(folder, args, log)
                # Half the kills fall in start-up (which writes the file back), half among the Accepts.
                delay = rng.uniform(0.5, 8.0) if run % 2 == 0 else rng.uniform(30.0, 150.0)
                timer = threading.Timer(delay * args.slow, kill_group, args=(game,))
                timer.start()
                if run % 3 == 2:
                    # Every third game: as soon as the writer's scratch file appears, mid-write.
                    threading.Thread(target=kill_at_scratch, args=(game, path + ".tmp"), daemon=True).start()
                try:
                    accept_options_until_killed(game, folder, args, rng, seen)
                finally:
                    game.wait()
                    timer.cancel()
            with open(path, "rb") as f:
                now = f.read()
            m = OPTIONS_WHOLE.fullmatch(now)
            state = "old" if now == JAPANESE else ("new" if m and m.group(1) == b"JAPANESE" else "DAMAGED")
            changes = len(set(seen)) - 1
            writes += changes
            print("kill %d at %.1f s: config.ini seen written %d times; after the kill: %s%s" %
                  (run + 1, delay * args.slow, changes, state, "" if state != "DAMAGED" else ": " + repr(now[:300])),
                  flush=True)
            bad += state == "DAMAGED"
        finally:
            shutil.rmtree(folder, ignore_errors=True)
    print("%d kills, %d writes seen, %d damaged files, %.0f s" % (args.kill_config, writes, bad, time.time() - begun),
          flush=True)
    return 1 if bad else 0


def limit_file_size(pid, size):
    """From now on a write that makes any file longer than `size` bytes ends the process with
    SIGXFSZ: the kernel kills it in the middle of that write, which a kill from outside rarely hits."""
    resource.prlimit(pid, resource.RLIMIT_CORE, (0, 0))
    resource.prlimit(pid, resource.RLIMIT_FSIZE, (size, size))


def cut_config(args):
    """Starts the game with its file size limited to a random byte count, so that its start-up write
    of "config.ini" is cut there: the scratch file must hold exactly that many bytes and "config.ini"
    must still be the old one, in Japanese."""
    rng = random.Random(args.seed)
    bad, begun = 0, time.time()
    for run in range(args.cut_config):
        size = rng.randrange(0, 200)  # the options file is longer than that in every language
        folder, path = japanese_folder(args, "vov-cut-")
        try:
            # Its messages go to a pipe and Mesa's shader cache is off: no other file may reach the limit.
            env = dict(game_environment(args), MESA_SHADER_CACHE_DISABLE="true")
            game = subprocess.Popen(["./vov-aruzezudor"], cwd=folder, env=env, stdout=subprocess.PIPE,
                                    stderr=subprocess.STDOUT, start_new_session=True,
                                    preexec_fn=lambda: limit_file_size(0, size))
            try:
                game.communicate(timeout=args.startup)
            except subprocess.TimeoutExpired:
                kill_group(game)
                game.communicate()
            left = scratch_size(path)
            with open(path, "rb") as f:
                now = f.read()
            ok = game.returncode == -signal.SIGXFSZ and left == size and now == JAPANESE
            print("cut %d at byte %d: ended by %s; the scratch file holds %s bytes; config.ini is %s" %
                  (run + 1, size, "SIGXFSZ" if game.returncode == -signal.SIGXFSZ else "code %d" % game.returncode,
                   left, "old" if now == JAPANESE else "CHANGED: " + repr(now[:300])), flush=True)
            bad += not ok
        finally:
            shutil.rmtree(folder, ignore_errors=True)
    print("%d cut writes, %d failed, %.0f s" % (args.cut_config, bad, time.time() - begun), flush=True)
    return 1 if bad else 0


def kill_group(game):
    try:
        os.killpg(game.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


def kill_at_scratch(game, scratch):
    while game.poll() is None:
        if os.path.exists(scratch):
            kill_group(game)
            print("    killed as %s appeared" % os.path.basename(scratch), flush=True)
            return
        time.sleep(0.0002)


def accept_options_until_killed(game, folder, args, rng, seen):
    path = os.path.join(folder, "config.ini")
    screen = args.screen
    if not to_main_menu(game, folder, args, screen, seen[0]):
        return
    seen.append(file_state(path))
    while game.poll() is None:
        # Options (logical 160, 108), the music slider held down, then Accept (logical 224, 174).
        before = screen.sample()
        click(640, 389)
        screen.settle(game, before, 10 * args.slow, 20 * args.slow)
        xdo("mousemove_relative", "--", "240", "-137")
        time.sleep(0.3)
        xdo("keydown", "Left")
        time.sleep(rng.uniform(0.2, 0.6))
        xdo("keyup", "Left")
        time.sleep(0.3)
        xdo("mousemove_relative", "--", "16", "374")
        time.sleep(0.3)
        before = screen.sample()
        xdo("mousedown", "1")
        time.sleep(0.1)
        xdo("mouseup", "1")
        screen.settle(game, before, 10 * args.slow, 20 * args.slow)
        seen.append(file_state(path))


PROGRESS_LINE = re.compile(rb"[^,\n]+,[^,\n]+,\d+,\d+\n")


def kill_progress(args):
    """Kills the robot's real game at random moments around the win that writes the progress file:
    the file must be the old one planted before, or a whole new one holding the won country."""
    rng = random.Random(args.seed)
    plan = os.path.join(args.run_dir, "Countries", "%s Plan.txt" % FIRST_LEVEL)
    command = [args.robot, "--run-dir", args.run_dir, "--name", FIRST_LEVEL, "--plan", plan, "--small-window",
               "--verbose"]
    # One whole game first: how long after the first creature is in the file is written, so the kills
    # gather around that moment however loaded the machine is.
    written = run_robot(args, command, -1)
    if written is None:
        print("the robot's game did not write a progress file", flush=True)
        return 1
    print("an unkilled game writes the file %.1f s after the first creature is in" % written, flush=True)
    bad, begun, counts = 0, time.time(), {}
    for run in range(args.kill_progress):
        # Even runs: the write cut at a random byte, mid-write for certain; odd ones: a random moment near it.
        cut = rng.randrange(0, len(PROGRESS)) if run % 2 == 0 else None
        after = None if cut is not None else rng.uniform(0.0, 1.2) * written
        state, text = run_robot(args, command, after, cut)
        counts[state] = counts.get(state, 0) + 1
        when = ("with the write cut at byte %d" % cut if cut is not None
                else "%.2f s after the first creature was in" % after)
        print("kill %d %s: progress.txt %s%s" % (run + 1, when, state,
                                                 "" if state != "DAMAGED" else ": " + repr(text[:300])), flush=True)
        bad += state not in ("old", "new") and not (cut is None and state == "robot ended first")
    print("%d kills: %s, %.0f s" % (args.kill_progress, counts, time.time() - begun), flush=True)
    return 1 if bad else 0


def run_robot(args, command, kill_after, cut=None):
    """Runs the robot in its own temporary folder and plants an old progress file in its scratch
    folder as soon as that appears. kill_after -1: lets the game finish and returns how long after the
    first creature went in the file changed; a number: kills it that long after the first creature
    went in; None with `cut`: once the first creature is in, limits its files to `cut` bytes so that
    the kernel kills it in the middle of the write. Returns (state, bytes) of the file."""
    import threading
    tmp = tempfile.mkdtemp(prefix="vov-kill-robot-")
    env = dict(os.environ, TMPDIR=tmp, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy",
               MESA_SHADER_CACHE_DISABLE="true")
    env.setdefault("ASAN_OPTIONS", "detect_leaks=0")
    opened = []

    def watch(stream):
        # The moment the first creature is in: the rest of the column, the win and its write follow.
        for line in stream:
            if not opened and re.search(rb" phase=3 .* saved=[1-9]", line):
                opened.append(time.time())

    try:
        robot = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                 start_new_session=True)
        reader = threading.Thread(target=watch, args=(robot.stderr,))
        reader.start()
        progress, written_at, limited = None, None, False
        while robot.poll() is None:
            if progress is None:
                for name in os.listdir(tmp):
                    if name.startswith("vovrobot-"):
                        os.makedirs(os.path.join(tmp, name, "Savedata"), exist_ok=True)
                        progress = os.path.join(tmp, name, "Savedata", "progress.txt")
                        put(progress, PROGRESS)
            if cut is not None and opened and not limited:
                limit_file_size(robot.pid, cut)
                limited = True
            if kill_after == -1 and progress and written_at is None:
                try:
                    with open(progress, "rb") as f:
                        if f.read() != PROGRESS:
                            written_at = time.time()
                except OSError:
                    pass
            if kill_after is not None and kill_after >= 0 and opened and time.time() >= opened[0] + kill_after:
                os.killpg(robot.pid, signal.SIGKILL)
                break
            time.sleep(0.0002 if opened else 0.005)
        ended = robot.wait() >= 0  # the robot ended by itself and took its scratch folder along
        reader.join()
        if kill_after == -1:
            return written_at - opened[0] if written_at and opened else None
        if ended:
            return "robot ended first", b""
        try:
            with open(progress, "rb") as f:
                text = f.read()
        except (OSError, TypeError):
            folder = os.path.dirname(progress) if progress else tmp
            return "DAMAGED", ("<missing; the folder holds %s>" % sorted(os.listdir(folder))).encode()
        if cut is not None:
            left = scratch_size(progress)
            if robot.returncode != -signal.SIGXFSZ or left != cut:
                return "NOT CUT (code %d, scratch %s bytes)" % (robot.returncode, left), text
        if text == PROGRESS:
            return "old", text
        head, _, body = text.partition(b"\n")
        ok = (head == b"VOV ARUZEZUDOR PROGRESS 1" and body.endswith(b"\n") and
              all(PROGRESS_LINE.fullmatch(line + b"\n") for line in body.split(b"\n")[:-1]) and
              (b"\n" + FIRST_LEVEL.encode() + b",") in b"\n" + body)
        return ("new" if ok else "DAMAGED"), text
    finally:
        shutil.rmtree(tmp, ignore_errors=True)


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--run-dir", required=True, help="folder holding the game, its pack and lists")
    p.add_argument("--game", help="the game binary (default: the run folder's)")
    p.add_argument("--vovpack", help="the pack tool (rebuilds the pack around a damaged entry)")
    p.add_argument("--robot", help="vovrobot, for --kill-progress")
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--count", type=int, default=6, help="runs in a seeded sample")
    p.add_argument("--all", action="store_true", help="every file in every way")
    p.add_argument("--start", type=int, default=0, help="with --all: go on from this run (from 0)")
    p.add_argument("--only", help="PLACE:FILE:WAY or FILE:WAY, one case")
    p.add_argument("--list", action="store_true", help="print every file and way")
    p.add_argument("--kill-config", type=int, default=0, help="kills while writing config.ini")
    p.add_argument("--kill-progress", type=int, default=0, help="kills while writing the progress file")
    p.add_argument("--cut-config", type=int, default=0, help="start-up writes of config.ini cut mid-write")
    p.add_argument("--slow", type=float, default=1.0, help="stretch every wait (sanitizer builds)")
    p.add_argument("--startup", type=float, default=120, help="seconds allowed for the window and start-up")
    p.add_argument("--close", type=int, default=30, help="seconds allowed to end after the close")
    p.add_argument("--keep", help="copy failing scratch folders here")
    p.add_argument("--shots", help="write the screen after every step into this folder (PPM)")
    args = p.parse_args()
    args.run_dir = os.path.abspath(args.run_dir)
    args.game = os.path.abspath(args.game or os.path.join(args.run_dir, "vov-aruzezudor"))
    if args.list:
        for target, way in cases():
            print(target, way)
        print(len(cases()), "cases")
        return 0
    if not os.environ.get("VOV_CORRUPT_DISPLAY") and not args.kill_progress:
        os.environ["VOV_CORRUPT_DISPLAY"] = "1"
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", SCREEN, sys.executable] + sys.argv)
    if args.kill_progress:
        return kill_progress(args)
    if args.cut_config:
        return cut_config(args)
    args.screen = Screen()
    if args.kill_config:
        return kill_config(args)
    if not args.vovpack:
        p.error("--vovpack is needed to rebuild the pack")
    return sweep(args)


if __name__ == "__main__":
    sys.exit(main())
