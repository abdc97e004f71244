#!/usr/bin/python3
"""Builds the game's flag pictures and "Flags/flags.txt" from the public-domain
flag renders of the npm package svg-country-flags 1.2.10.

    /usr/bin/python3 tools/make_flags.py [PACKAGE_DIR] [--out DIR]
    /usr/bin/python3 tools/make_flags.py --check [--out DIR]

PACKAGE_DIR is the unpacked package (the folder holding countries.json and
png100px/). Without it the script runs `npm pack svg-country-flags@1.2.10` in a
temporary folder and checks the tarball's hash. The output is committed, so the
game's build never needs npm.

Every picture of the package becomes one RGBA PNG named "<Country> Flag" with
no extension (the game decodes by content and shows the name minus " Flag").
The list is split at commas and "#" starts a comment, so names never hold a
comma and never start with "#". The game also builds for Windows, so names are
unique without regard to case and avoid the characters Windows forbids.

Pixels are kept exactly: the level paints with the colours of a flag's leftmost
column, read row by row, so any resampling would blend stripes into colours the
flag does not have. Running the script twice gives byte-identical files.
"""

import argparse
import io
import json
import os
import re
import sys
import tempfile
import unicodedata

import numpy as np
from PIL import Image

import art_common

PACKAGE = "svg-country-flags"
VERSION = "1.2.10"
TARBALL_SHA256 = "2576650b4568c8ee1a2a6ddaa45c0246be16735f229bb40b1a0a6f40424e5213"
RENDERS = "png100px"
SUFFIX = " Flag"
LIST_NAME = "flags.txt"

# The package uses ISO 3166 names, many of them official long forms with an
# inverted comma ("Korea, Republic of") or a parenthesis. A player reads the
# short common English name, and the level list keys countries the same way.
COMMON_NAMES = {
    "BN": "Brunei",                       # Brunei Darussalam
    "BO": "Bolivia",                      # Bolivia, Plurinational State of
    "CC": "Cocos Islands",                # Cocos (Keeling) Islands
    "CD": "DR Congo",                     # Congo, the Democratic Republic of the
    "FK": "Falkland Islands",             # Falkland Islands (Malvinas)
    "FM": "Micronesia",                   # Micronesia, Federated States of
    "GS": "South Georgia",                # South Georgia and the South Sandwich Islands
    "HM": "Heard and McDonald Islands",   # Heard Island and McDonald Islands
    "IR": "Iran",                         # Iran, Islamic Republic of
    "KP": "North Korea",                  # Korea, Democratic People's Republic of
    "KR": "South Korea",                  # Korea, Republic of
    "LA": "Laos",                         # Lao People's Democratic Republic
    "MD": "Moldova",                      # Moldova, Republic of
    "MK": "North Macedonia",              # Macedonia, the former Yugoslav Republic of
    "PN": "Pitcairn Islands",             # Pitcairn
    "RU": "Russia",                       # Russian Federation
    "SH": "Saint Helena",                 # Saint Helena, Ascension and Tristan da Cunha
    "SJ": "Svalbard and Jan Mayen",       # Svalbard and Jan Mayen Islands
    "SX": "Sint Maarten",                 # Sint Maarten (Dutch part)
    "SY": "Syria",                        # Syrian Arab Republic
    "SZ": "Eswatini",                     # Swaziland (renamed in 2018)
    "TZ": "Tanzania",                     # Tanzania, United Republic of
    "VA": "Vatican City",                 # Holy See (Vatican City State)
    "VE": "Venezuela",                    # Venezuela, Bolivarian Republic of
    "VG": "British Virgin Islands",       # Virgin Islands, British
    "VI": "US Virgin Islands",            # Virgin Islands, U.S.
    "VN": "Vietnam",                      # Viet Nam
    "WF": "Wallis and Futuna",            # Wallis and Futuna Islands
}

# Characters a Windows file name cannot hold, plus the list's own separator.
FORBIDDEN = set('<>:"/\\|?*,')


def plain_name(name):
    """Fallback for names not in the table: the bitmap fonts carry ASCII, so
    accents go (Curaçao -> Curacao); a parenthesis is a gloss, and a comma
    starts the inverted tail of an official name."""
    decomposed = unicodedata.normalize("NFKD", name)
    name = "".join(c for c in decomposed if not unicodedata.combining(c))
    name = name.replace("\u00c5", "A").replace("\u00e5", "a")
    name = re.sub(r"\s*\([^)]*\)", "", name)
    name = name.split(",")[0]
    return " ".join(name.split())


def country_name(code, package_name):
    return COMMON_NAMES.get(code) or plain_name(package_name)


def name_problems(name):
    """Why a flag name would break the list, the file system or the fonts."""
    problems = []
    if not name.endswith(SUFFIX) or len(name) == len(SUFFIX):
        problems.append("does not end in %r after a country" % SUFFIX)
    if name != name.strip() or "  " in name:
        problems.append("stray spaces")
    if name.startswith("#"):
        problems.append("reads as a comment")
    if not all(" " <= c <= "~" for c in name):
        problems.append("not printable ASCII")
    bad = sorted(FORBIDDEN.intersection(name))
    if bad:
        problems.append("holds %s" % "".join(bad))
    if name.endswith("."):
        problems.append("ends in a dot")
    return problems


def run_npm_pack(workdir):
    return art_common.npm_pack(PACKAGE, VERSION, TARBALL_SHA256, workdir)


def load_package(package_dir):
    with open(os.path.join(package_dir, "package.json"), encoding="utf-8") as f:
        meta = json.load(f)
    if meta.get("name") != PACKAGE or meta.get("version") != VERSION:
        sys.exit("%s is %s %s, expected %s %s" % (package_dir, meta.get("name"),
                                                 meta.get("version"), PACKAGE, VERSION))
    with open(os.path.join(package_dir, "countries.json"), encoding="utf-8") as f:
        countries = json.load(f)
    render_dir = os.path.join(package_dir, RENDERS)
    pictures = {f[:-4].upper(): os.path.join(render_dir, f)
                for f in os.listdir(render_dir) if f.endswith(".png")}
    missing = sorted(set(countries) - set(pictures))
    unnamed = sorted(set(pictures) - set(countries))
    if missing or unnamed:
        sys.exit("codes without picture: %s; pictures without name: %s" % (missing, unnamed))
    return countries, pictures


def plan_flags(countries):
    """(code, flag name) pairs in list order: byte-wise by name."""
    plan = []
    errors = []
    for code in sorted(countries):
        name = country_name(code, countries[code]) + SUFFIX
        for problem in name_problems(name):
            errors.append("%s %r: %s" % (code, name, problem))
        plan.append((code, name))
    folded = {}
    for code, name in plan:
        other = folded.setdefault(name.casefold(), code)
        if other != code:
            errors.append("%s and %s both become %r" % (other, code, name))
    if errors:
        sys.exit("bad flag names:\n  " + "\n  ".join(errors))
    plan.sort(key=lambda item: item[1].encode("utf-8"))
    return plan


def png_bytes(image):
    # No metadata chunks and fixed compression: the bytes depend on the pixels only.
    buffer = io.BytesIO()
    image.save(buffer, format="PNG", compress_level=9, optimize=False)
    return buffer.getvalue()


def to_rgba(path):
    """The picture in RGBA with its pixels untouched: palette entries and the
    tRNS chunk map one to one, with no resampling."""
    with Image.open(path) as source:
        source.load()
        image = source.convert("RGBA")
    if image.size != source.size:
        raise ValueError("%s changed size" % path)
    return image


def generate(package_dir, out_dir):
    countries, pictures = load_package(package_dir)
    plan = plan_flags(countries)
    os.makedirs(out_dir, exist_ok=True)
    wanted = {name for _, name in plan}
    # A renamed flag must not leave its old picture behind.
    for entry in os.listdir(out_dir):
        if entry.endswith(SUFFIX) and entry not in wanted:
            os.remove(os.path.join(out_dir, entry))
    for code, name in plan:
        art_common.write_if_changed(os.path.join(out_dir, name), png_bytes(to_rgba(pictures[code])))
    listing = "".join(name + "\n" for _, name in plan).encode("ascii")
    art_common.write_if_changed(os.path.join(out_dir, LIST_NAME), listing)
    renamed = [(code, countries[code], name[:-len(SUFFIX)])
               for code, name in plan if name[:-len(SUFFIX)] != countries[code]]
    return plan, renamed, pictures


def read_list_as_game(data):
    """Flag names as the game's list reader takes them: lines at LF, "#" lines
    and empty lines skipped, the first comma-separated field."""
    names = []
    for line in data.split(b"\n"):
        if not line or line.startswith(b"#"):
            continue
        names.append(line.split(b",")[0].decode("latin-1"))
    return names


# A palette pixel is painted fully opaque whatever its alpha, so a nearly
# transparent leftmost column would paint colours the flag does not show.
MIN_PALETTE_ALPHA = 128


def check(out_dir, pictures=None, plan=None):
    """Checks the written folder; returns a list of problems (empty when fine)."""
    problems = []
    with open(os.path.join(out_dir, LIST_NAME), "rb") as f:
        data = f.read()
    if b"\r" in data:
        problems.append("%s has CR bytes" % LIST_NAME)
    if data and not data.endswith(b"\n"):
        problems.append("%s does not end with a line feed" % LIST_NAME)
    names = read_list_as_game(data)
    if data.count(b"\n") != len(names):
        problems.append("%s has lines that are not flags" % LIST_NAME)
    if names != sorted(names, key=lambda n: n.encode("latin-1")):
        problems.append("%s is not sorted byte-wise" % LIST_NAME)
    if len({n.casefold() for n in names}) != len(names):
        problems.append("names repeat (ignoring case)")
    if not names:
        problems.append("no flags")
    for name in names:
        problems.extend("%r: %s" % (name, p) for p in name_problems(name))
        path = os.path.join(out_dir, name)
        if not os.path.isfile(path):
            problems.append("%r: picture missing" % name)
            continue
        with open(path, "rb") as f:
            raw = f.read()
        with Image.open(io.BytesIO(raw)) as image:
            if image.format != "PNG" or image.mode != "RGBA":
                problems.append("%r: %s %s, not an RGBA PNG" % (name, image.format, image.mode))
                continue
            # Colour type 6 with bit depth 8 at fixed header offsets.
            if raw[24] != 8 or raw[25] != 6:
                problems.append("%r: bit depth %d colour type %d" % (name, raw[24], raw[25]))
            pixels = np.asarray(image)
        if pixels[:, 0, 3].min() < MIN_PALETTE_ALPHA:
            problems.append("%r: leftmost column nearly transparent" % name)
        if pictures is not None and plan is not None:
            code = dict((n, c) for c, n in plan).get(name)
            if code is None:
                problems.append("%r: not planned" % name)
            elif not np.array_equal(pixels, np.asarray(to_rgba(pictures[code]))):
                problems.append("%r: pixels differ from %s" % (name, pictures[code]))
    extra = sorted(set(os.listdir(out_dir)) - set(names) - {LIST_NAME})
    if extra:
        problems.append("files not in the list: %s" % extra)
    return problems


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("package_dir", nargs="?",
                        help="unpacked %s %s (default: npm pack it)" % (PACKAGE, VERSION))
    parser.add_argument("--out", default=os.path.join(here, "..", "data", "Flags"))
    parser.add_argument("--check", action="store_true", help="only check the output folder")
    args = parser.parse_args()
    out_dir = os.path.normpath(args.out)

    if args.check:
        problems = check(out_dir)
    else:
        with tempfile.TemporaryDirectory() as workdir:
            package_dir = args.package_dir or run_npm_pack(workdir)
            plan, renamed, pictures = generate(package_dir, out_dir)
            problems = check(out_dir, pictures, plan)
        print("%d flags written to %s" % (len(plan), out_dir))
        for code, old, new in renamed:
            print("  %-6s %-46s -> %s" % (code, old, new))
    if problems:
        print("\n".join(problems), file=sys.stderr)
        return 1
    print("check passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
