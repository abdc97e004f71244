#!/usr/bin/python3
"""Writes the fuzz targets' seed corpora into fuzz/corpus/<target>/ from our own shipped files.

A fuzzer that starts from real files reaches the parsers' deep paths at once instead of guessing
their syntax byte by byte. Same inputs give the same bytes.

    /usr/bin/python3 tools/make_fuzz_seeds.py build/vovpack
"""
import io
import shutil
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

from PIL import Image

ROOT = Path(__file__).resolve().parent.parent
DATA = ROOT / "data"
CORPUS = ROOT / "fuzz" / "corpus"


def seed(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def copy(target, source):
    seed(target, source.name, source.read_bytes())


def options(language, fullscreen, music, effects, line_end="\n"):
    text = ("# Vov Aruzezudor OPTIONS FILE \n\n"
            "# Language, possible settings:\n# ENGLISH, SPANISH, CATALAN\nLANGUAGE=%s\n\n"
            "# Video mode, possible settings:\n# YES, NO\nFULLSCREEN=%s\n\n"
            "# BGM Volume, possible range:\n# [0, 128]\nBGMVOLUME=%d\n\n"
            "# SFX Volume, possible range:\n# [0, 128]\nSFXVOLUME=%d\n\n") % (language, fullscreen, music, effects)
    return text.replace("\n", line_end).encode()


def string(text):
    raw = text.encode()
    return struct.pack("<H", len(raw)) + raw


def pictures():
    """Our HUD pointers as PNG, and the same picture as JPEG, BMP and TGA (the other decoded kinds)."""
    for png in sorted((DATA / "Assets" / "hud").glob("*.png")):
        copy("fuzz_image_decode", png)
    picture = Image.open(DATA / "Assets" / "hud" / "mousenormal.png")
    picture.load()
    for kind, suffix, mode in (("JPEG", "jpg", "RGB"), ("BMP", "bmp", "RGB"), ("TGA", "tga", "RGBA")):
        out = io.BytesIO()
        picture.convert(mode).save(out, kind)
        seed("fuzz_image_decode", "mousenormal." + suffix, out.getvalue())
    grey = io.BytesIO()
    picture.convert("LA").save(grey, "PNG")
    seed("fuzz_image_decode", "mousenormal-grey.png", grey.getvalue())


def elements():
    """The first byte picks the class (bit 2: animation) and the form (bit 1: binary)."""
    seed("fuzz_gui_element", "element.gfx", b"\x00# a strip\nlogo.png\n32\n16\nYES\nNO\n3\n50\n60\n70\n")
    seed("fuzz_gui_element", "animation.ani", b"\x02sheet.png\n4\n2\nYES\n3\n100\t6\t3,-2\n40\t1,2,3,4\t0,0\n70\t8\t-1,1\n")
    element = (string("a.png") + struct.pack("<iiHH", -3, 4, 50, 60) + struct.pack("<HHH", 2, 11, 22)
               + struct.pack("<HHBB", 1, 9, 1, 0))
    seed("fuzz_gui_element", "element.bin", b"\x01" + element)
    animation = (string("b.png") + struct.pack("<HH", 3, 2) + struct.pack("<iiHH", 0, 0, 8, 4)
                 + struct.pack("<H", 2) + struct.pack("<HiiHHii", 5, 1, 2, 3, 4, -1, 9)
                 + struct.pack("<HiiHHii", 7, 0, 4, 3, 4, 0, 0) + struct.pack("<HHBB", 1, 6, 1, 0))
    seed("fuzz_gui_element", "animation.bin", b"\x03" + animation)


def pack(vovpack):
    with tempfile.TemporaryDirectory() as work:
        out = Path(work) / "hud.zez"
        subprocess.run([vovpack, "--create", str(out), str(DATA), "Assets/hud"],
                       check=True, stdout=subprocess.DEVNULL)
        seed("fuzz_pack_index", "hud.zez", out.read_bytes())


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_fuzz_seeds.py PATH/TO/vovpack")
    shutil.rmtree(CORPUS, ignore_errors=True)
    seed("fuzz_config", "config.ini", options("GERMAN", "NO", 7, 128))
    seed("fuzz_config", "config-crlf.ini", options("JAPANESE", "YES", 128, 0, "\r\n"))
    copy("fuzz_flag_list", DATA / "Flags" / "flags.txt")
    # Picture shape (64 x 20, RGBA, size 12, gap 1), then the description of our 12-pixel font.
    seed("fuzz_font_description", "sans_12", bytes([63, 19, 3, 12, 1])
         + (DATA / "Assets" / "font" / "fonts" / "sans_12.txt").read_bytes())
    copy("fuzz_font_list", DATA / "Assets" / "font" / "fonts.txt")
    elements()
    pictures()
    copy("fuzz_music_list", DATA / "Sound" / "levels.bgm")
    pack(sys.argv[1])
    for name in ("gametexts_en.txt", "gametexts_jp.txt", "levelnames.txt"):
        copy("fuzz_texts", DATA / "Assets" / "texts" / name)


if __name__ == "__main__":
    main()
