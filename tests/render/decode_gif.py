#!/usr/bin/python3
"""Decodes a GIF with Pillow and compares it with the expected RGB pixels.

usage: decode_gif.py FILE.gif EXPECTED.rgb   (raw bytes: red, green, blue per
pixel, rows top first). Exit status 0 when every pixel matches.
"""
import sys

from PIL import Image


def main():
    gif, expected_path = sys.argv[1], sys.argv[2]
    image = Image.open(gif)
    if image.format != "GIF":
        print("not a GIF:", image.format)
        return 1
    decoded = image.convert("RGB").tobytes()
    with open(expected_path, "rb") as f:
        expected = f.read()
    if len(decoded) != len(expected):
        print("size differs:", len(decoded), "decoded,", len(expected), "expected")
        return 1
    if decoded != expected:
        at = next(i for i in range(len(decoded)) if decoded[i] != expected[i]) // 3
        print("pixel", at % image.width, at // image.width, "differs")
        return 1
    print("ok", image.width, image.height, len(image.getpalette() or []) // 3)
    return 0


if __name__ == "__main__":
    sys.exit(main())
