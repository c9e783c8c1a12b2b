#!/usr/bin/env python3
"""Writes a demo dump of four Spectrum screens (our own drawings) for the README's screenshot."""
import math
import sys

W, H = 256, 192


def line_offset(y):
    return 2048 * (y // 64) + 256 * (y % 8) + 32 * ((y // 8) % 8)


def screen(pixel, attribute):
    data = bytearray(6912)
    for y in range(H):
        for c in range(32):
            byte = 0
            for m in range(8):
                if pixel(8 * c + m, y):
                    byte |= 0x80 >> m
            data[line_offset(y) + c] = byte
    for row in range(24):
        for c in range(32):
            data[6144 + 32 * row + c] = attribute(c, row)
    return bytes(data)


def rings(x, y):
    d = math.hypot(x - 128, y - 96)
    return int(d / 6) % 2 == 0


def rings_attr(c, row):
    k = (c // 4 + row // 3) % 7 + 1
    return 0x40 | (k << 3) | ((k + 3) % 8)


def wave(x, y):
    return y > 96 + 40 * math.sin(x / 20.0) + 10 * math.sin(x / 5.0)


def wave_attr(c, row):
    return (1 << 3) | 6 if row < 12 else 0x40 | (4 << 3) | 0


def checks(x, y):
    return ((x // 8) + (y // 8)) % 2 == 0 and (x % 8 < 6 and y % 8 < 6)


def checks_attr(c, row):
    return ((c + row) % 8) << 3 | (7 - (c + row) % 8)


def stripes(x, y):
    return (x + y) % 16 < 8


def stripes_attr(c, row):
    palette = [2, 6, 4, 5]
    k = palette[(c + row) // 4 % 4]
    return 0x40 | k


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "demo.bin"
    with open(out, "wb") as f:
        f.write(bytes(range(7)))  # a few bytes of junk before the first screen, as in a real dump
        for p, a in ((rings, rings_attr), (wave, wave_attr), (checks, checks_attr), (stripes, stripes_attr)):
            f.write(screen(p, a))
