// Value types over the Win32 geometry records: CPoint (POINT), CSize (SIZE)
// and CRect (RECT). They convert to the records' pointers, so they can be
// handed straight to the API.
#pragma once

#include <windows.h>

class CSize : public SIZE {
public:
    CSize() noexcept { cx = cy = 0; }
    CSize(int x, int y) noexcept {
        cx = x;
        cy = y;
    }
    CSize(SIZE s) noexcept : SIZE(s) {}
    bool operator==(SIZE s) const noexcept { return cx == s.cx && cy == s.cy; }
    bool operator!=(SIZE s) const noexcept { return !(*this == s); }
};

class CPoint : public POINT {
public:
    CPoint() noexcept { x = y = 0; }
    CPoint(int px, int py) noexcept {
        x = px;
        y = py;
    }
    CPoint(POINT p) noexcept : POINT(p) {}
    // A message's lParam with signed x in the low and y in the high word.
    explicit CPoint(LPARAM packed) noexcept {
        x = static_cast<short>(LOWORD(packed));
        y = static_cast<short>(HIWORD(packed));
    }

    void Offset(int dx, int dy) noexcept {
        x += dx;
        y += dy;
    }
    operator LPPOINT() noexcept { return this; }
    bool operator==(POINT p) const noexcept { return x == p.x && y == p.y; }
    bool operator!=(POINT p) const noexcept { return !(*this == p); }
};

class CRect : public RECT {
public:
    CRect() noexcept { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) noexcept { SetRect(l, t, r, b); }
    CRect(const RECT& r) noexcept : RECT(r) {}
    CRect(LPCRECT r) noexcept { CopyRect(r); }
    CRect(POINT topLeft, SIZE size) noexcept {
        SetRect(topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy);
    }

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CSize Size() const noexcept { return CSize(Width(), Height()); }
    CPoint TopLeft() const noexcept { return CPoint(left, top); }
    CPoint BottomRight() const noexcept { return CPoint(right, bottom); }
    CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }
    bool IsRectEmpty() const noexcept { return right <= left || bottom <= top; }
    bool IsRectNull() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool PtInRect(POINT p) const noexcept { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    void SetRect(int l, int t, int r, int b) noexcept {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void SetRectEmpty() noexcept { SetRect(0, 0, 0, 0); }
    void CopyRect(LPCRECT r) noexcept {
        if (r) SetRect(r->left, r->top, r->right, r->bottom);
    }
    void OffsetRect(int dx, int dy) noexcept {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void OffsetRect(POINT p) noexcept { OffsetRect(p.x, p.y); }
    void OffsetRect(SIZE s) noexcept { OffsetRect(s.cx, s.cy); }
    void InflateRect(int dx, int dy) noexcept {
        left -= dx;
        right += dx;
        top -= dy;
        bottom += dy;
    }
    void DeflateRect(int dx, int dy) noexcept { InflateRect(-dx, -dy); }
    void MoveToXY(int x, int y) noexcept { OffsetRect(x - left, y - top); }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }
    bool operator==(const RECT& r) const noexcept {
        return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
    }
    bool operator!=(const RECT& r) const noexcept { return !(*this == r); }
};
