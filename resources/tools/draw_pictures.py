"""Draws the prompt's small bitmaps into a folder: the previous and next
arrows (17 x 18; normal, pressed, hover), the two dots (7 x 7) and the logo
(38 x 38).

Every picture is 24 bits per pixel on a magenta (255, 0, 255) background, the
key colour the buttons and the logo painter leave out. Edges are hard: a
blended edge pixel would be a pinkish colour that is not the key and would
show as a fringe.
"""
import os
import sys

from imagefmt import bmp_bytes
from shapes import in_rounded_rect

KEY = (255, 0, 255)

ARROW_W, ARROW_H = 17, 18
ARROW_NORMAL = (150, 150, 150)
ARROW_PRESSED = (20, 75, 150)
ARROW_HOVER = (40, 120, 215)

DOT_SIZE = 7
DOT_OTHER = (198, 198, 198)
DOT_CURRENT = (40, 120, 215)

LOGO_SIZE = 38
LOGO_TILE_TOP = (45, 140, 235)
LOGO_TILE_BOTTOM = (20, 85, 170)
LOGO_PAGE = (250, 250, 250)
LOGO_FOLD = (200, 215, 235)
LOGO_MARK = (20, 100, 200)


def canvas(width, height):
    return [[KEY] * width for _ in range(height)]


def segment_distance(px, py, ax, ay, bx, by):
    """Distance from a point to the segment a-b."""
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy)
    t = min(1.0, max(0.0, t))
    cx, cy = ax + t * dx, ay + t * dy
    return ((px - cx) ** 2 + (py - cy) ** 2) ** 0.5


def arrow(colour, pointing_left):
    """A chevron, three pixels thick, its tip at the left or the right."""
    rows = canvas(ARROW_W, ARROW_H)
    tip_x, back_x = 4.5, 12.5
    if not pointing_left:
        tip_x, back_x = ARROW_W - tip_x, ARROW_W - back_x
    tip_y, top_y, bottom_y = ARROW_H / 2.0, 2.5, ARROW_H - 2.5
    for y in range(ARROW_H):
        for x in range(ARROW_W):
            cx, cy = x + 0.5, y + 0.5
            d = min(segment_distance(cx, cy, tip_x, tip_y, back_x, top_y),
                    segment_distance(cx, cy, tip_x, tip_y, back_x, bottom_y))
            if d <= 1.6:
                rows[y][x] = colour
    return rows


def dot(colour):
    rows = canvas(DOT_SIZE, DOT_SIZE)
    centre, radius = DOT_SIZE / 2.0, 3.3
    for y in range(DOT_SIZE):
        for x in range(DOT_SIZE):
            if (x + 0.5 - centre) ** 2 + (y + 0.5 - centre) ** 2 <= radius * radius:
                rows[y][x] = colour
    return rows


def in_question_mark(x, y):
    """A question mark centred on the page, in pixel coordinates."""
    dx, dy = x - 19.0, y - 16.0
    d = (dx * dx + dy * dy) ** 0.5
    arc = 3.0 <= d <= 5.4 and not (dx < 0 and dy > 0)
    stem = 17.8 <= x <= 20.2 and 19.0 <= y <= 24.0
    point = (x - 19.0) ** 2 + (y - 27.0) ** 2 <= 1.5 ** 2
    return arc or stem or point


def logo():
    """A rounded blue tile holding a white page with a folded corner and a
    question mark."""
    rows = canvas(LOGO_SIZE, LOGO_SIZE)
    for y in range(LOGO_SIZE):
        for x in range(LOGO_SIZE):
            cx, cy = x + 0.5, y + 0.5
            if not in_rounded_rect(cx, cy, 0.5, 0.5, 37.5, 37.5, 7):
                continue
            t = y / (LOGO_SIZE - 1.0)
            colour = tuple(int(a + (b - a) * t) for a, b in zip(LOGO_TILE_TOP, LOGO_TILE_BOTTOM))
            page = in_rounded_rect(cx, cy, 10, 6, 28, 32, 1.5)
            fold = cx + (9.0 - cy) > 22.0  # the corner cut off at the top right
            if page and not fold:
                colour = LOGO_MARK if in_question_mark(cx, cy) else LOGO_PAGE
            elif page and cx + (9.0 - cy) <= 25.0 and cy <= 12.0:
                colour = LOGO_FOLD
            rows[y][x] = colour
    return rows


def pictures():
    return {
        "prev_normal.bmp": arrow(ARROW_NORMAL, True),
        "prev_pressed.bmp": arrow(ARROW_PRESSED, True),
        "prev_hover.bmp": arrow(ARROW_HOVER, True),
        "next_normal.bmp": arrow(ARROW_NORMAL, False),
        "next_pressed.bmp": arrow(ARROW_PRESSED, False),
        "next_hover.bmp": arrow(ARROW_HOVER, False),
        "dot.bmp": dot(DOT_OTHER),
        "dot_current.bmp": dot(DOT_CURRENT),
        "logo.bmp": logo(),
    }


def main(folder):
    os.makedirs(folder, exist_ok=True)
    for name, rows in pictures().items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(bmp_bytes(rows))


if __name__ == "__main__":
    main(sys.argv[1])
