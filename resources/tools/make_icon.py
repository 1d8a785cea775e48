"""Draws the application icon: a rounded blue tile with a white document
and a question mark, at 256, 128, 64, 48, 32 and 16 pixels."""
import sys

from imagefmt import ico_bytes
from shapes import in_rounded_rect


def rounded_rect(x0, y0, x1, y1, r):
    return lambda x, y: in_rounded_rect(x, y, x0, y0, x1, y1, r)


def question_mark(x, y):
    # An arc over a stem and a dot, in unit coordinates of the tile.
    dx, dy = x - 0.5, y - 0.42
    d = (dx * dx + dy * dy) ** 0.5
    arc = 0.09 <= d <= 0.15 and not (dx < 0 and dy > 0)
    stem = 0.47 <= x <= 0.53 and 0.48 <= y <= 0.62
    dot = (x - 0.5) ** 2 + (y - 0.72) ** 2 <= 0.04 ** 2
    return arc or stem or dot


def draw_scaled(size):
    tile = rounded_rect(0.04, 0.04, 0.96, 0.96, 0.18)
    page = rounded_rect(0.26, 0.18, 0.74, 0.86, 0.04)
    rows = []
    n = 3
    for py in range(size):
        row = []
        for px in range(size):
            a = p = q = 0
            for sy in range(n):
                for sx in range(n):
                    u = (px + (sx + 0.5) / n) / size
                    v = (py + (sy + 0.5) / n) / size
                    a += tile(u, v)
                    p += page(u, v)
                    q += page(u, v) and question_mark(u, v)
            a, p, q = a / n / n, p / n / n, q / n / n
            v = py / size
            shade = 1.0 - 0.35 * v
            r, g, b = 30 * shade, 110 * shade + 40, 220 * shade + 20
            r, g, b = [c * (1 - p) + 250 * p for c in (r, g, b)]
            r, g, b = [c * (1 - q) + t * q for c, t in zip((r, g, b), (30, 110, 230))]
            row.append((int(r), int(g), int(b), int(255 * a)))
        rows.append(row)
    return rows


def main(out):
    images = [draw_scaled(s) for s in (256, 128, 64, 48, 32, 16)]
    with open(out, "wb") as f:
        f.write(ico_bytes(images))


if __name__ == "__main__":
    main(sys.argv[1])
