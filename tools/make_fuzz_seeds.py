#!/usr/bin/python3
"""Writes the fuzz targets' seed corpora into fuzz/corpus/<target>/ from our own shipped files.

A fuzzer that starts from real files reaches the parsers' deep paths at once instead of guessing
their syntax byte by byte. Same inputs give the same bytes. Only the files named here are written:
whatever else a folder holds (the minimised corpus a fuzzing run left) stays.

    /usr/bin/python3 tools/make_fuzz_seeds.py build/vovpack
"""
import io
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


def countries():
    """Our level list, and hand-made lines: short, blank-padded, not numbers, negative, past the limits."""
    copy("fuzz_country_list", DATA / "Countries" / "countries.txt")
    seed("fuzz_country_list", "edges.txt",
         b"a,b,c,1,2,3,4,5,6,7,8,9\n#x\n\nb,c\nz,y,x,1,2,3,4,999,0,0,999,0,extra\nq,w,e,1,2,3,4,-1,0,0,1,0\n"
         b"g,h,i, 1 ,\t2\t,3,4,5,6,7,8,9\r\r\nj,k,l,1,2,3,x,5,6,7,8,9\nm,n,o,1,2,3,4,5,6,7,0,9\n"
         b"p,r,s,1,2,3,4,1000,6,7,8,9\nt,u,v,1,2,3,4,5,101,7,8,9\n")


def fonts():
    """Font pictures whose top row marks glyphs (a repeat of its first pixel), one per channel count:
    the bytes after the shape fill the pixels over and over, so a 20-byte description starting "##"
    marks every column where the cycle meets its start. 64 x 30 pixels, size 12: two colour bands."""
    for channels in range(4):
        seed("fuzz_font_description", "marked-%d" % (channels + 1),
             bytes([63, 29, channels, 12, channels % 3]) + b"##p.png\n0123456789A\n")
    # Our 12-pixel font's description over a 64 x 20 RGBA picture, size 12, gap 1.
    seed("fuzz_font_description", "sans_12", bytes([63, 19, 3, 12, 1])
         + (DATA / "Assets" / "font" / "fonts" / "sans_12.txt").read_bytes())


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
    grey = io.BytesIO()
    picture.convert("L").save(grey, "PNG")
    seed("fuzz_image_decode", "mousenormal-l.png", grey.getvalue())
    # A PNG that stops before its end chunk; a JPEG with stray bytes between two segments, and one
    # cut inside its entropy-coded data with no end marker.
    png = (DATA / "Assets" / "hud" / "mousenormal.png").read_bytes()
    seed("fuzz_image_decode", "no-iend.png", png[:png.rindex(b"IEND") - 4])
    out = io.BytesIO()
    picture.convert("RGB").save(out, "JPEG")
    jpeg = out.getvalue()
    seed("fuzz_image_decode", "stray-bytes.jpg", jpeg[:2] + b"\x00\x17" + jpeg[2:])
    seed("fuzz_image_decode", "cut-scan.jpg", jpeg[:jpeg.index(b"\xFF\xDA") + 40])
    # An application segment longer than the file: a loose file's reader once skipped past the end
    # and then waited for ever for the end.
    seed("fuzz_image_decode", "app0-past-end.jpg", b"\xFF\xD8\xFF\xE0\x00\x10")
    # The two refusals made before the decoder runs: an IDAT chunk claiming about 2 GB, and a JPEG
    # Huffman table of 300 codes where a table holds at most 256.
    long_chunk = bytearray((DATA / "Assets" / "hud" / "mousenormal.png").read_bytes())
    long_chunk[33] = 0x7F
    seed("fuzz_image_decode", "idat-too-long.png", bytes(long_chunk))
    seed("fuzz_image_decode", "dht-300-codes.jpg",
         b"\xFF\xD8\xFF\xC4\x01\x3F\x00" + bytes(14) + b"\x96\x96" + bytes([1]) * 300)


def elements():
    """The first byte picks the class (button, selector, slider, switch, picture, animation; bit 7:
    the binary form), the second the stub picture's width."""
    def element(name, kind, width, data):
        seed("fuzz_widget", name, bytes([kind, width]) + data)

    element("element.gfx", 4, 0, b"# a strip\nlogo.png\n32\n16\nYES\nNO\n3\n50\n60\n70\n")
    # A vertical strip whose frames turn within the target's few updates.
    element("element-vertical.gfx", 4, 8, b"strip.png\n8\n8\nYES\nYES\n3\n5\n5\n5\n")
    element("animation.ani", 5, 14, b"sheet.png\n4\n2\nYES\n3\n100\t6\t3,-2\n40\t1,2,3,4\t0,0\n70\t8\t-1,1\n")
    picture = (string("a.png") + struct.pack("<iiHH", -3, 4, 50, 60) + struct.pack("<HHH", 2, 11, 22)
               + struct.pack("<HHBB", 1, 9, 1, 0))
    element("element.bin", 0x84, 7, picture)
    animation = (string("b.png") + struct.pack("<HH", 3, 2) + struct.pack("<iiHH", 0, 0, 8, 4)
                 + struct.pack("<H", 2) + struct.pack("<HiiHHii", 5, 1, 2, 3, 4, -1, 9)
                 + struct.pack("<HiiHHii", 7, 0, 4, 3, 4, 0, 0) + struct.pack("<HHBB", 1, 6, 1, 0))
    element("animation.bin", 0x85, 21, animation)
    # A frame offset near the 32-bit limit, added to the position when drawn (found by the fuzzer).
    element("animation-far-offset.ani", 5, 115, b"\n\n\n\n3\n\n\n\t\t5555555550")

    element("button.btn", 0, 31, b"button.png\n120\n20\nYES\nYES\n1\n0\nNO_TEXT\nMENU_OK\t4,0\t-2\tSHADOW\tLEFT\t3\n")
    element("selector.sel", 1, 31, b"selector.png\n160\n20\n12\n3\nLANG_A\t1,0\nLANG_B\t1,0\t2\nLANG_C\t1,0\n")
    # A picture narrower than two arrows has no middle pieces to step by.
    element("selector-narrow.sel", 1, 30, b"selector.png\n160\n20\n20\n0\n")
    element("slider.sli", 2, 31, b"slider.png\n120\n16\n4,4\n8\n0,100\n10\nRIGHT\t4,0\t4,0\n")
    # No range, an empty one, and no bar inside the margins: nothing may divide by the range or the bar;
    # a picture under three pixels wide has no piece to step by.
    element("slider-reversed.sli", 2, 100, b"slider.png\n100\n16\n10,4\n8\n50,10\n1\n")
    element("slider-empty.sli", 2, 100, b"slider.png\n100\n16\n10,4\n8\n50,50\n1\n")
    element("slider-no-bar.sli", 2, 100, b"slider.png\n20\n16\n10\n8\n0,100\n1\nNO_TEXT\n")
    element("slider-thin.sli", 2, 2, b"slider.png\n100\n16\n10,4\n8\n0,100\n1\n")
    element("switch.swt", 3, 31, b"switch.png\n80\n20\nYES\nNO\nOPT_NO\t4,0\nOPT_YES\t4,0\nNO_TEXT\n")
    element("switch-no-image.swt", 3, 31, b"NO_IMAGE\n80\n20\nYES\nNO\nOPT_NO\t4,0\nOPT_YES\t4,0\nNO_TEXT\n")
    head = string("s.png") + struct.pack("<iiHH", 0, 8, 120, 16)
    slider = head + struct.pack("<iiHhhHHiiHB", 4, 4, 8, 0, 100, 10, 0, 0, 0, 4, 0)
    element("slider.bin", 0x82, 31, slider)
    # A margin of minus 270 million once drew millions of fill chunks.
    wide = string("s.png") + struct.pack("<iiHH", 0, 8, 120, 0x7F00) + struct.pack("<iiHhhHHiiHB", -0x10176502, 4, 8, 0, 100, 10, 0, 0, 0, 4, 0)
    element("slider-negative-margin.bin", 0x82, 0, wide)
    button = (string("NO_IMAGE") + struct.pack("<iiHH", 0, 0, 64, 16) + struct.pack("<HHHHBB", 1, 0, 0, 0, 1, 1))
    for state in range(4):
        key = "PAUSE_BACK" if state != 1 else "NO_TEXT"
        button += struct.pack("<HH", state, 0) + string(key) + struct.pack("<HB", 4, 0)
    element("button.bin", 0x80, 31, button + struct.pack("<BI", 1, 2))


def scenes():
    """A scene whose element files are the scene's own bytes again (the target's stub)."""
    seed("fuzz_scene_file", "menu.scn",
         b"a.png;b.png\n10;0\n4\n# comment\nGUI_ELEMENT\tAssets/gui/b.btn\t10,20\t5\n(0,0)(100,0)\t100\n(5,5)\t50\n"
         b"IMAGE\tAssets/x.png\t0,0,8,8\t4,4\nTEXT\tMENU_OK\t1\t10,10\tFAST\tCENTER_MID\t2\t7\n(1,1)(2,2)\n(3,3)\n"
         b"GUI_ELEMENT\tAssets/gui/s.sli\t0,0\n")
    seed("fuzz_scene_file", "chain.scn",
         b"NO_IMAGE\r\nNO\r\n5\r\nGUI_ELEMENT\tAssets/gui/a.sel\t0,0\r\nBOGUS\r\nGUI_ELEMENT\tAssets/gui/c.swt\t9,9\t6\r\n"
         b"# empty fly-out\r\nANIMATION\tAssets/gui/x.ani\t1,1\r\nGUI_ELEMENT\tAssets/gui/bad.xyz\t0,0\r\n")
    # Paths of short steps, walked point by point within the fly-in; a text delayed by a number.
    seed("fuzz_scene_file", "short-paths.scn",
         b"NO_IMAGE\nNO\n2\nGUI_ELEMENT\tAssets/gui/b.btn\t4,4\t5\n(4,4)(5,4)(5,5)(6,6)\t900\n(6,6)(7,7)(8,8)\t900\n"
         b"TEXT\tMENU_OK\t0\t1,1\t250\tLEFT\t0\t5\n(1,1)(2,1)(2,2)\t800\n(2,2)(1,1)\t800\n")
    # A count far past 16 bits: the reader must not try to hold that many elements.
    seed("fuzz_scene_file", "huge-count.scn", b"NO_IMAGE\nNO\n99999999999\n")
    # A widget of no known kind ends the file: every per-element loop meets the indices left empty.
    seed("fuzz_scene_file", "cut-short.scn",
         b"NO_IMAGE\nNO\n4\nGUI_ELEMENT\tAssets/gui/b.btn\t0,0\nGUI_ELEMENT\tAssets/gui/b.xyz\t0,0\t7\n(1,1)(2,2)\n"
         b"IMAGE\tc\t0,0,1,1\t0,0\n")


def pack(vovpack):
    with tempfile.TemporaryDirectory() as work:
        out = Path(work) / "hud.zez"
        subprocess.run([vovpack, "--create", str(out), str(DATA), "Assets/hud"],
                       check=True, stdout=subprocess.DEVNULL)
        seed("fuzz_pack_index", "hud.zez", out.read_bytes())


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_fuzz_seeds.py PATH/TO/vovpack")
    seed("fuzz_config", "config.ini", options("GERMAN", "NO", 7, 128))
    seed("fuzz_config", "config-crlf.ini", options("JAPANESE", "YES", 128, 0, "\r\n"))
    for language in ("ENGLISH", "SPANISH", "CATALAN", "FRENCH", "ITALIAN", "GERMAN", "JAPANESE"):
        # Blanks before a volume; an effects volume past the mixer's range.
        seed("fuzz_config", language.lower() + ".ini", options(language, "YES", 64, 200).replace(b"=64", b"= \t64"))
    copy("fuzz_flag_list", DATA / "Flags" / "flags.txt")
    countries()
    fonts()
    copy("fuzz_text_lists", DATA / "Assets" / "font" / "fonts.txt")
    elements()
    scenes()
    pictures()
    copy("fuzz_music_list", DATA / "Sound" / "levels.bgm")
    pack(sys.argv[1])
    for name in ("gametexts_en.txt", "gametexts_jp.txt", "levelnames.txt"):
        copy("fuzz_text_lists", DATA / "Assets" / "texts" / name)
    seed("fuzz_progress", "two", b"VOV ARUZEZUDOR PROGRESS 1\nChina,Japan Flag,52345,2\nSpain,Spain Flag,1000,10\n")
    seed("fuzz_progress", "bad-lines",
         b"VOV ARUZEZUDOR PROGRESS 1\n\n# note\nChina,Japan Flag,-1,2\nChina,Japan Flag,5,2,9\r\nPeru,,5,5\n")


if __name__ == "__main__":
    main()
