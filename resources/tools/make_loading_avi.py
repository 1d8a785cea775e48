"""Draws the loading animation: eight dots on a ring, a darker head running
round it with a fading tail, two places per frame, so four frames make one
full turn and the loop is seamless. 180 x 194 pixels on white, the colour of
the picture area it stands in."""
import math
import sys

from avifmt import avi_bytes

WIDTH, HEIGHT = 180, 194
FRAMES = 4
USEC_PER_FRAME = 349999
DOTS = 8
RING_RADIUS = 26.0
DOT_RADIUS = 6.0
BACKGROUND = (255, 255, 255)
HEAD = (40, 120, 215)
TAIL_END = (215, 225, 238)
SAMPLES = 3  # per axis, for smooth dot edges against the white


def dot_colour(age):
    """Colour of a dot that the head passed `age` places ago."""
    t = min(age, DOTS // 2) / float(DOTS // 2)
    return tuple(int(h + (e - h) * t) for h, e in zip(HEAD, TAIL_END))


def frame(number):
    cx, cy = WIDTH / 2.0, HEIGHT / 2.0
    head = (number * DOTS // FRAMES) % DOTS
    centres = []
    for i in range(DOTS):
        angle = 2 * math.pi * i / DOTS - math.pi / 2
        centres.append((cx + RING_RADIUS * math.cos(angle), cy + RING_RADIUS * math.sin(angle),
                        dot_colour((head - i) % DOTS)))
    rows = [[BACKGROUND] * WIDTH for _ in range(HEIGHT)]
    reach = RING_RADIUS + DOT_RADIUS + 1
    for y in range(int(cy - reach), int(cy + reach) + 1):
        for x in range(int(cx - reach), int(cx + reach) + 1):
            acc = [0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    px = x + (sx + 0.5) / SAMPLES
                    py = y + (sy + 0.5) / SAMPLES
                    colour = BACKGROUND
                    for dx, dy, c in centres:
                        if (px - dx) ** 2 + (py - dy) ** 2 <= DOT_RADIUS ** 2:
                            colour = c
                            break
                    for k in range(3):
                        acc[k] += colour[k]
            rows[y][x] = tuple(int(round(a / SAMPLES / SAMPLES)) for a in acc)
    return rows


def main(out):
    with open(out, "wb") as f:
        f.write(avi_bytes([frame(n) for n in range(FRAMES)], USEC_PER_FRAME))


if __name__ == "__main__":
    main(sys.argv[1])
