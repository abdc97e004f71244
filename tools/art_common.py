"""Shared helpers for the art scripts of Vov Aruzezudor.

Every picture of our own is drawn from one palette, kept as data in tools/palette.txt:

    # a comment line is "#" alone or "#" followed by a space
    #RRGGBB name

one colour per line, six hex digits and a lowercase name (letters, digits, "_"), each name used once.
Blank lines are ignored; any other line is an error, so a typo cannot silently drop a colour.

Drawing is plain pixel work at 1:1 on RGBA images: single pixels, filled and hollow rectangles,
ASCII grids for hand-placed sprites, and a one-pixel outline around whatever is opaque. Nothing here
blends or anti-aliases. save_png() writes a PNG with no metadata and a fixed compression level, so
running a script twice gives byte-identical files.

npm_pack() fetches the public-domain packages some scripts start from (flags, country shapes) and
refuses a tarball whose hash is not the one the script pins.

Run the scripts with /usr/bin/python3 (Debian's python3-pil).
"""

import hashlib
import os
import re
import subprocess
import sys
import tarfile

from PIL import Image

TOOLS_DIR = os.path.dirname(os.path.abspath(__file__))
PALETTE_PATH = os.path.join(TOOLS_DIR, "palette.txt")
ASSETS_DIR = os.path.join(os.path.dirname(TOOLS_DIR), "data", "Assets")

_COLOUR_LINE = re.compile(r"^#([0-9A-Fa-f]{6})\s+([a-z][a-z0-9_]*)\s*$")


def load_palette(path=PALETTE_PATH):
    """Return {name: (r, g, b)} in file order; raise ValueError on a malformed or repeated entry."""
    colours = {}
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\r\n")
            if not line.strip() or line == "#" or line.startswith("# "):
                continue
            m = _COLOUR_LINE.match(line)
            if not m:
                raise ValueError("%s:%d: not '#RRGGBB name' or a comment: %r" % (path, number, line))
            name = m.group(2)
            if name in colours:
                raise ValueError("%s:%d: colour %r defined twice" % (path, number, name))
            value = int(m.group(1), 16)
            colours[name] = ((value >> 16) & 255, (value >> 8) & 255, value & 255)
    return colours


PALETTE = load_palette()


def rgba(name, alpha=255):
    """The palette colour `name` as an RGBA tuple; an unknown name is an error, not a guess."""
    if name not in PALETTE:
        raise KeyError("colour %r is not in the palette" % name)
    r, g, b = PALETTE[name]
    return (r, g, b, alpha)


def new_image(width, height, fill=None):
    """A fresh RGBA image, transparent unless `fill` names a palette colour."""
    colour = rgba(fill) if fill else (0, 0, 0, 0)
    return Image.new("RGBA", (width, height), colour)


def put(img, x, y, name):
    """Set one pixel; coordinates outside the image are ignored, so shapes may overhang edges."""
    if 0 <= x < img.width and 0 <= y < img.height:
        img.putpixel((x, y), rgba(name))


def rect(img, x, y, w, h, name):
    """Fill the w x h rectangle whose top-left pixel is (x, y)."""
    for yy in range(y, y + h):
        for xx in range(x, x + w):
            put(img, xx, yy, name)


def rect_outline(img, x, y, w, h, name):
    """The one-pixel border of the w x h rectangle at (x, y)."""
    rect(img, x, y, w, 1, name)
    rect(img, x, y + h - 1, w, 1, name)
    rect(img, x, y, 1, h, name)
    rect(img, x + w - 1, y, 1, h, name)


def draw_grid(img, rows, legend, x=0, y=0):
    """Draw hand-placed pixels: one string per row, one character per pixel.

    `legend` maps characters to palette names; "." (and any character mapped to None) is left
    untouched. A character missing from the legend is an error.
    """
    for dy, row in enumerate(rows):
        for dx, ch in enumerate(row):
            if ch == ".":
                continue
            if ch not in legend:
                raise KeyError("grid character %r has no colour in the legend" % ch)
            if legend[ch] is not None:
                put(img, x + dx, y + dy, legend[ch])


def outline(img, name, diagonal=True):
    """Add a one-pixel outline of `name` on every transparent pixel that touches an opaque one.

    With `diagonal` the corners count as touching (a closed, squarer line); without, the outline
    only follows edges, which keeps small round shapes round.
    """
    src = img.copy()
    steps = [(-1, 0), (1, 0), (0, -1), (0, 1)]
    if diagonal:
        steps += [(-1, -1), (1, -1), (-1, 1), (1, 1)]
    for y in range(img.height):
        for x in range(img.width):
            if src.getpixel((x, y))[3] != 0:
                continue
            for dx, dy in steps:
                nx, ny = x + dx, y + dy
                if 0 <= nx < img.width and 0 <= ny < img.height and src.getpixel((nx, ny))[3] != 0:
                    img.putpixel((x, y), rgba(name))
                    break


def off_palette_pixels(img):
    """Opaque or partly opaque pixels whose colour is not in the palette, as (x, y, rgba) tuples.

    Fully transparent pixels are fine whatever their RGB. Art scripts call this before saving.
    """
    allowed = set(PALETTE.values())
    bad = []
    for y in range(img.height):
        for x in range(img.width):
            p = img.getpixel((x, y))
            if p[3] != 0 and p[:3] not in allowed:
                bad.append((x, y, p))
    return bad


def save_png(img, relpath, root=ASSETS_DIR):
    """Write `img` as an RGBA PNG at root/relpath and return the full path.

    A new image is built from the raw pixels so that no text chunk, gamma or other info from the
    source survives; compression is fixed and optimize is off, so the bytes depend on the pixels only.
    """
    if img.mode != "RGBA":
        raise ValueError("%s: art is saved as RGBA, got %s" % (relpath, img.mode))
    path = os.path.join(root, relpath)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    clean = Image.frombytes("RGBA", img.size, img.tobytes())
    clean.save(path, format="PNG", optimize=False, compress_level=9)
    return path


def npm_pack(package, version, sha256, workdir):
    """`npm pack package@version` into workdir, the tarball checked against sha256 and unpacked
    without any member that could land outside workdir; returns the unpacked folder."""
    out = subprocess.run(["npm", "pack", "%s@%s" % (package, version)], cwd=workdir, check=True,
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    tgz = os.path.join(workdir, out.stdout.decode().strip().splitlines()[-1])
    with open(tgz, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    if digest != sha256:
        sys.exit("%s: sha256 %s, expected %s" % (tgz, digest, sha256))
    with tarfile.open(tgz) as tar:
        members = [m for m in tar.getmembers()
                   if m.isfile() and not m.name.startswith(("/", "..")) and ".." not in m.name.split("/")]
        tar.extractall(workdir, members=members)
    return os.path.join(workdir, "package")


def write_if_changed(path, data):
    """Writes data to path unless the file already holds exactly those bytes (its time stays)."""
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except FileNotFoundError:
        pass
    with open(path, "wb") as f:
        f.write(data)
