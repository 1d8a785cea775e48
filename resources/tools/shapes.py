"""Shape tests shared by the drawing scripts."""


def in_rounded_rect(x, y, x0, y0, x1, y1, r):
    """Whether (x, y) lies in the rectangle (x0, y0)-(x1, y1) with corners of radius r."""
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
