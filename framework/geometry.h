// Value types over the Win32 geometry records: CPoint (POINT) and CRect
// (RECT). They convert to the records' pointers, so they can be handed
// straight to the API.
#pragma once

#include <windows.h>

class CPoint : public POINT {
public:
    CPoint() noexcept { x = y = 0; }
    CPoint(int px, int py) noexcept {
        x = px;
        y = py;
    }
    // A message's lParam with signed x in the low and y in the high word.
    explicit CPoint(LPARAM packed) noexcept {
        x = static_cast<short>(LOWORD(packed));
        y = static_cast<short>(HIWORD(packed));
    }

    bool operator==(POINT p) const noexcept { return x == p.x && y == p.y; }
};

class CRect : public RECT {
public:
    CRect() noexcept { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) noexcept {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    CRect(const RECT& r) noexcept : RECT(r) {}

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CPoint TopLeft() const noexcept { return CPoint(left, top); }

    void CopyRect(LPCRECT r) noexcept {
        if (r) *static_cast<RECT*>(this) = *r;
    }
    void OffsetRect(int dx, int dy) noexcept {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }
    bool operator==(const RECT& r) const noexcept {
        return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
    }
};
