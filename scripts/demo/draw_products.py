#!/usr/bin/env python3
"""Draws the demo catalogue's five product pictures: a boxed program package
each, 100 x 140 pixels, in its own colours. Run once; the PNGs are kept.

Usage: draw_products.py <output folder>
"""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "resources", "tools"))
import imagefmt  # noqa: E402

WIDTH, HEIGHT = 100, 140
# Box front, box side, emblem: one scheme per product.
SCHEMES = [
    ((38, 110, 190), (24, 72, 130), "disc"),
    ((210, 96, 40), (150, 62, 22), "ring"),
    ((60, 150, 80), (36, 100, 52), "bars"),
    ((130, 70, 170), (88, 44, 120), "wave"),
    ((200, 160, 30), (140, 110, 16), "grid"),
]


def emblem(kind, x, y):
    """True where the emblem covers the point (x, y) of the box front (0..1)."""
    dx, dy = x - 0.5, y - 0.45
    if kind == "disc":
        return dx * dx + dy * dy < 0.06
    if kind == "ring":
        r = math.hypot(dx, dy)
        return 0.16 < r < 0.26
    if kind == "bars":
        return 0.2 < x < 0.8 and int(y * 10) % 2 == 0 and 0.2 < y < 0.7
    if kind == "wave":
        return abs(y - 0.45 - 0.12 * math.sin(x * 2 * math.pi)) < 0.06
    return 0.2 < x < 0.8 and 0.2 < y < 0.7 and (int(x * 8) + int(y * 8)) % 2 == 0


def picture(front, side, kind):
    rows = []
    left, right, top, bottom, depth = 10, 78, 14, 126, 12
    for py in range(HEIGHT):
        row = []
        for px in range(WIDTH):
            colour = (255, 255, 255)
            if left <= px < right and top <= py < bottom:
                x, y = (px - left) / (right - left), (py - top) / (bottom - top)
                shade = 1.0 - 0.25 * y
                colour = tuple(int(c * shade) for c in front)
                if emblem(kind, x, y):
                    colour = (250, 250, 250)
                if y > 0.82:
                    colour = (40, 40, 48)
            elif right <= px < right + depth and top - (px - right) <= py < bottom - (px - right):
                colour = side
            elif top - depth <= py < top and left + (top - py) <= px < right + (top - py):
                colour = tuple(min(255, c + 60) for c in front)
            row.append(colour)
        rows.append(row)
    return rows


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for number, (front, side, kind) in enumerate(SCHEMES, 1):
        with open(os.path.join(out, "product%d.png" % number), "wb") as f:
            f.write(imagefmt.png_bytes(picture(front, side, kind)))


if __name__ == "__main__":
    main()
