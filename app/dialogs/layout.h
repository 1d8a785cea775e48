// How the dialogs place their windows: rectangles designed at 96 DPI, scaled
// by the factors of the dialog's own screen.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "framework/afx.h"

// x, y, width, height at 96 DPI.
struct Placement {
    int x, y, width, height;
};

// One window, the window it goes after in the Z order (null: the top) and
// its rectangle.
struct LayoutRow {
    CWnd* window;
    const CWnd* after;
    Placement at;
};

// Where the prompt and the consent dialog draw their logo, at 96 DPI; the
// logo itself keeps its 38 x 38 pixels at every scale.
constexpr POINT LogoPosition = {20, 20};

// The window's DPI divided by 96, across and down.
void ReadDpiScale(HWND window, double& x, double& y);

// Places the rows in their order. Flags 0: every row also moves its window in
// the Z order, and so in the tab order.
void PlaceWindows(std::initializer_list<LayoutRow> rows, double dpiX, double dpiY);

// Fills the rectangle, scaled, with the colour: a painted area or line.
void FillPlacement(CDC& dc, const Placement& at, COLORREF colour, double dpiX, double dpiY);
