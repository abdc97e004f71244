#!/usr/bin/env python3
"""Check the committed level pictures and lists against the numbers the game draws and walks by.

    python3 tools/test_level_art.py [data-dir]

Only the standard library, so CI runs it on a bare machine (ctest "LevelArt"). The art scripts draw
these files; this test reads what was committed, so a hand edit or a script change that breaks the
creature's layout, a door's size or a level's spawn is caught before anyone plays it.
"""

import os
import struct
import sys
import unittest
import zlib

DATA = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "data")


class Png:
    """An 8-bit PNG decoded to rows of (r, g, b, a), as the game's decoder would give them."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if data[:8] != b"\x89PNG\r\n\x1a\n":
            raise ValueError("%s: not a PNG" % path)
        at, idat = 8, b""
        while at < len(data):
            length, kind = struct.unpack(">I4s", data[at:at + 8])
            body = data[at + 8:at + 8 + length]
            if kind == b"IHDR":
                self.width, self.height, depth, self.colour_type, _, _, interlace = \
                    struct.unpack(">IIBBBBB", body)
                if depth != 8 or interlace:
                    raise ValueError("%s: only 8-bit, non-interlaced pictures are read" % path)
            elif kind == b"IDAT":
                idat += body
            at += 12 + length
        channels = {0: 1, 2: 3, 4: 2, 6: 4}[self.colour_type]
        raw = zlib.decompress(idat)
        stride = self.width * channels
        rows, prev = [], bytearray(stride)
        for y in range(self.height):
            line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
            kind, cur = line[0], bytearray(line[1:])
            for i in range(stride):
                a = cur[i - channels] if i >= channels else 0
                b = prev[i]
                c = prev[i - channels] if i >= channels else 0
                if kind == 1:
                    cur[i] = (cur[i] + a) & 255
                elif kind == 2:
                    cur[i] = (cur[i] + b) & 255
                elif kind == 3:
                    cur[i] = (cur[i] + (a + b) // 2) & 255
                elif kind == 4:
                    p = a + b - c
                    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                    pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                    cur[i] = (cur[i] + pred) & 255
            rows.append(bytes(cur))
            prev = cur
        self.channels = channels
        self.rows = rows

    def pixel(self, x, y):
        """(r, g, b, a) with grey spread and a missing alpha 255, as the level loader converts."""
        if not (0 <= x < self.width and 0 <= y < self.height):
            return (0, 0, 0, 0)
        p = self.rows[y][x * self.channels:(x + 1) * self.channels]
        if self.channels == 1:
            return (p[0], p[0], p[0], 255)
        if self.channels == 2:
            return (p[0], p[0], p[0], p[1])
        if self.channels == 3:
            return (p[0], p[1], p[2], 255)
        return tuple(p)

    def opaque(self, x0, y0, w, h):
        return [(x - x0, y - y0) for y in range(y0, y0 + h) for x in range(x0, x0 + w)
                if self.pixel(x, y)[3]]


def png_size(path):
    """Width and height from the header alone."""
    with open(path, "rb") as f:
        head = f.read(24)
    return struct.unpack(">II", head[16:24])


# The pixel checks decode in pure Python: pictures up to this size (the teaching levels) are read
# whole; the large country levels have their own rule test in the game's test suite.
SCAN_LIMIT = 640 * 400


def graphic(name):
    return Png(os.path.join(DATA, "Assets", name))


class CreatureSheet(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.sheet = graphic("graphics/tumblekin.png")

    def cell(self, x, y):
        return self.sheet.opaque(x, y, 20, 20)

    def test_every_frame_the_game_shows_is_drawn(self):
        s = self.sheet
        self.assertGreaterEqual((s.width, s.height), (640, 100))
        shown = [(20 * n, 0) for n in range(8)] + [(180, 0)]        # walking, standing
        shown += [(20 * n, 20) for n in range(8)]                    # into the exit
        shown += [(20 * n, 40) for n in range(4)]                    # falling
        shown += [(20 * n, 60) for n in range(12)]                   # squash and puff
        shown += [(x + 320, y) for (x, y) in shown if y != 20]       # facing left
        shown += [(40 + 20 * n, 80) for n in range(14)]              # the leader's marker
        for (x, y) in shown:
            self.assertTrue(self.cell(x, y), "cell (%d, %d) is empty" % (x, y))

    def test_feet_stand_on_row_9_around_column_9_with_a_six_row_body(self):
        for x in [20 * n for n in range(8)] + [180, 500] + [320 + 20 * n for n in range(8)]:
            pixels = self.cell(x, 0)
            rows = {py for (px, py) in pixels}
            self.assertEqual(max(rows), 9, "cell (%d, 0) must end on the feet row" % x)
            self.assertGreaterEqual(min(rows), 2, "cell (%d, 0) is taller than the body" % x)
            feet = sorted(px for (px, py) in pixels if py == 9)
            self.assertLessEqual(feet[0], 9, "cell (%d, 0): feet right of column 9" % x)
            self.assertGreaterEqual(feet[-1], 9, "cell (%d, 0): feet left of column 9" % x)
        stand = self.cell(180, 0)
        self.assertGreaterEqual(min(py for (px, py) in stand), 3)

    def test_left_frames_mirror_the_right_ones_about_the_feet(self):
        s = self.sheet
        for y0 in (0, 40, 60):
            for x0 in range(0, 320, 20):
                for y in range(20):
                    for x in range(19):
                        self.assertEqual(s.pixel(x0 + x, y0 + y), s.pixel(x0 + 320 + 18 - x, y0 + y),
                                         "(%d, %d) + (%d, %d)" % (x0, y0, x, y))

    def test_the_body_is_dark_so_the_flag_colour_shows(self):
        # The tint adds up to 180 per channel: only the eyes may be light.
        s = self.sheet
        for (x0, y0) in [(20 * n, 0) for n in range(8)] + [(180, 0)] + [(20 * n, 40) for n in range(4)]:
            light = 0
            for (x, y) in s.opaque(x0, y0, 20, 20):
                p = s.pixel(x0 + x, y0 + y)
                if max(p[:3]) > 90:
                    light += 1
            self.assertLessEqual(light, 8, "cell (%d, %d) has %d light pixels" % (x0, y0, light))

    def test_the_marker_floats_above_the_head(self):
        # Drawn 3 right of and 15 above the creature's cell: marker row 18 is the body's top row 3.
        for n in range(14):
            rows = {py for (px, py) in self.cell(40 + 20 * n, 80)}
            self.assertLessEqual(max(rows, default=0), 16, "marker frame %d touches the head" % n)

    def test_alpha_is_all_or_nothing(self):
        alphas = {self.sheet.pixel(x, y)[3] for y in range(100) for x in range(640)}
        self.assertLessEqual(alphas, {0, 255})


class Doors(unittest.TestCase):
    def frames(self, png, w, h, row):
        return [tuple(png.pixel(x0 + x, row * h + y) for y in range(h) for x in range(w))
                for x0 in range(0, png.width - w + 1, w)]

    def test_entry_door_opens_once_from_shut_to_open(self):
        door = graphic("graphics/door.png")
        self.assertEqual(door.height, 25)
        self.assertEqual(door.width % 43, 0)
        frames = self.frames(door, 43, 25, 0)
        self.assertGreaterEqual(len(frames), 4)
        self.assertNotEqual(frames[0], frames[-1])
        # The door is drawn from (startX - 21, startY - 18): its bottom row stands just above the
        # ground that lies 7 rows under the spawn.
        self.assertTrue(door.opaque(0, 24, 43, 1))

    def test_exit_door_has_an_open_and_a_shut_row_standing_on_exit_y(self):
        out = graphic("graphics/outdoor.png")
        self.assertEqual(out.height, 48)
        self.assertEqual(out.width % 40, 0)
        opened, shut = self.frames(out, 40, 24, 0), self.frames(out, 40, 24, 1)
        self.assertGreaterEqual(len(opened), 2)
        self.assertNotEqual(opened[0], shut[0])
        for row in (0, 1):
            self.assertTrue(out.opaque(0, 24 * row + 23, 40, 1))
        # The feet box (frame columns 18..21 of the bottom rows) lies inside the doorway.
        for x in range(18, 22):
            self.assertEqual(out.pixel(x, 22)[3], 255)


class SmallPictures(unittest.TestCase):
    def test_brush_is_a_hard_mask_with_work_in_its_middle(self):
        brush = graphic("graphics/brush.png")
        self.assertGreaterEqual(brush.width * brush.height // 4, 1)
        alphas = {brush.pixel(x, y)[3] for y in range(brush.height) for x in range(brush.width)}
        self.assertEqual(alphas, {0, 255})
        self.assertEqual(brush.pixel(brush.width // 2, brush.height // 2)[3], 255)

    def test_halo_is_square_and_brightest_in_the_middle(self):
        halo = graphic("graphics/lighthalo.png")
        self.assertEqual(halo.width, halo.height)
        c = halo.width // 2
        self.assertGreater(sum(halo.pixel(c, c)[:3]), sum(halo.pixel(c, 1)[:3]))

    def test_loading_picture_leaves_the_flag_above_it_visible(self):
        # Centred on the 320 x 200 screen under the flag drawn at y 50..79.
        loading = graphic("gui/loading.png")
        self.assertLessEqual(loading.width, 320)
        self.assertGreaterEqual(100 - loading.height // 2, 80)


class Levels(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # The teaching levels are listed for the robot's tests; the shipped list holds the countries.
        with open(os.path.join(DATA, "..", "tests", "robot", "teaching.txt"), "rb") as f:
            text = f.read().decode("latin-1")
        cls.lines = [l for l in text.split("\n") if l and not l.startswith("#")]
        with open(os.path.join(DATA, "Assets", "texts", "levelnames.txt"), "rb") as f:
            names = f.read().decode("latin-1")
        cls.names = {l.rsplit("\t", 1)[0] for l in names.split("\n") if l and not l.startswith("#")}

    def levels(self):
        for line in self.lines:
            fields = line.split(",")
            self.assertGreaterEqual(len(fields), 12, line)
            numbers = [int(v) for v in fields[3:12]]
            yield fields[0], fields[1], fields[2], numbers

    def test_lines_are_whole_and_named(self):
        self.assertGreaterEqual(len(self.lines), 3)
        for key, terrain, stamp, n in self.levels():
            sx, sy, ex, ey, minutes, survivors, goal, count, interval = n
            self.assertIn(key, self.names)
            self.assertTrue(1 <= minutes <= 999 and 1 <= count <= 999, key)
            self.assertTrue(0 <= survivors <= 100 and 0 < goal <= 100 and interval >= 0, key)
            # the last follower leaves the door well inside the time
            self.assertLess(3200 + (count - 1) * interval, minutes * 60000 // 2, key)

    def test_terrain_spawn_and_exit_follow_the_walking_rules(self):
        scanned = 0
        for key, terrain, stamp, n in self.levels():
            sx, sy, ex, ey = n[:4]
            path = os.path.join(DATA, "Countries", terrain)
            w, h = png_size(path)
            if w * h > SCAN_LIMIT:
                continue
            scanned += 1
            t = Png(path)
            self.assertTrue(320 <= t.width <= 1600 and 200 <= t.height <= 1000, key)
            solid = lambda x, y: t.pixel(x, y)[0] != 0
            for y in range(t.height):
                for x in range(t.width):
                    p = t.pixel(x, y)
                    if p[3] == 0:
                        self.assertEqual(p[:3], (0, 0, 0), "%s: coloured air at (%d, %d)" % (key, x, y))
                    if p[0]:
                        self.assertLess(p[0], 255, "%s: red 255 paints no flag at (%d, %d)" %
                                        (key, x, y))
            for k in range(9):
                self.assertFalse(solid(sx, sy - k), "%s: spawn row -%d is solid" % (key, k))
            land = sy
            while not solid(sx, land + 1) and land < t.height:
                land += 1
            self.assertLess(land, t.height, "%s: the spawn falls out of the level" % key)
            self.assertLessEqual(land - sy, 66, "%s: the spawn's fall kills" % key)
            self.assertTrue(solid(ex, ey) and not solid(ex, ey - 1), "%s: exitY is not ground" % key)
            self.assertFalse(ex - 2 <= sx <= ex + 1 and ey - 2 <= sy <= ey + 1, key)
            for k in range(1, 10):
                self.assertFalse(solid(ex, ey - k), "%s: no room at the exit" % key)
        self.assertGreaterEqual(scanned, 3)

    def test_stamps_paint_every_row_of_their_band(self):
        for key, terrain, stamp, n in self.levels():
            s = Png(os.path.join(DATA, "Countries", stamp))
            self.assertTrue(12 <= s.width <= 20 and 12 <= s.height <= 20, key)
            for y in range(s.height):
                self.assertTrue(any(any(s.pixel(x, y)[:3]) for x in range(s.width)),
                                "%s: stamp row %d paints nothing" % (key, y))
            for y in range(s.height):
                for x in range(s.width):
                    p = s.pixel(x, y)
                    if p[3] == 0:
                        self.assertEqual(p[:3], (0, 0, 0), key)


if __name__ == "__main__":
    if len(sys.argv) > 1 and not sys.argv[1].startswith("-"):
        DATA = sys.argv.pop(1)
    unittest.main()
