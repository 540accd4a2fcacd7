#!/usr/bin/env python3
"""Draws Keyvane's icon: a teal handheld outlined in black, light-grey key blocks at both sides.

Writes a .ico with a 16 x 16 and a 32 x 32 image (32-bit colour with a transparency mask).
Usage: tools/make_icon.py [output.ico]   (default: src/win32/keyvane.ico)
"""
import pathlib
import struct
import sys

# 16 x 16 picture, one character per pixel.
PICTURE = [
    "................",
    "................",
    "................",
    "KKKKKKKKKKKKKKKK",
    "KTTTTTTTTTTTTTTK",
    "KTGGTTTTTTTTGGTK",
    "KTGGTKKKKKKTGGTK",
    "KTTTTKSSSSKTTTTK",
    "KTGGTKSSSSKTGGTK",
    "KTGGTKSSSSKTGGTK",
    "KTTTTKKKKKKTTTTK",
    "KTGGTTTTTTTTGGTK",
    "KTGGTTTTTTTTGGTK",
    "KKKKKKKKKKKKKKKK",
    "................",
    "................",
]
COLOURS = {  # (red, green, blue)
    "K": (0, 0, 0),          # outline
    "T": (0, 128, 128),      # teal body
    "G": (200, 200, 200),    # light-grey key blocks
    "S": (64, 176, 176),     # the screen, a lighter teal
}


def scaled(picture, factor):
    return ["".join(ch * factor for ch in row) for row in picture for _ in range(factor)]


def dib(picture):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA pixels, bottom-up AND mask."""
    size = len(picture)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(picture):
        for ch in row:
            if ch == ".":
                pixels += bytes((0, 0, 0, 0))
            else:
                red, green, blue = COLOURS[ch]
                pixels += bytes((blue, green, red, 255))
    mask = bytearray()
    row_bytes = ((size + 31) // 32) * 4
    for row in reversed(picture):
        bits = bytearray(row_bytes)
        for x, ch in enumerate(row):
            if ch == ".":
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def icon(images):
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for picture, data in images:
        size = len(picture)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    target = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else root / "src/win32/keyvane.ico"
    pictures = [PICTURE, scaled(PICTURE, 2)]
    target.write_bytes(icon([(p, dib(p)) for p in pictures]))
    print(target)


if __name__ == "__main__":
    main()
