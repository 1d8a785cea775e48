// A framework window that hosts skin buttons in tests: a popup painted in
// one known colour that counts the BN_CLICKED notifications of control
// kButtonId, plus helpers to pump its messages the way the modal loop does
// and to read pixels and make keyed bitmaps.
#pragma once

#include <windows.h>

#include "framework/window.h"

namespace wendaro_test {

constexpr int kButtonId = 1010;
constexpr COLORREF kParentColour = RGB(30, 90, 60);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

class Host : public CWnd {
public:
    // A popup at (x, y) with a client area of width x height, shown or not.
    bool Create(int x, int y, int width, int height, bool visible);
    // A push button child (not yet bound to any object).
    HWND AddButton(int id, LPCWSTR text, int x, int y, int width, int height, DWORD typeStyle);

    int clicks = 0;

protected:
    afx_msg void OnButtonClicked();

    DECLARE_MESSAGE_MAP()
};

// Runs every queued message (and the paints they cause) through the
// pre-translate walk and dispatch, as the framework's modal loop does.
void Pump();

// A pixel of the host's client area.
COLORREF HostPixel(const CWnd& host, int x, int y);

// A screen-compatible bitmap of width x height in the key colour with an
// inner rectangle (inset by `border` pixels) in `inner`.
HBITMAP MakeKeyedBitmap(int width, int height, int border, COLORREF inner, COLORREF key = kMagenta);

// The colour of one pixel of a bitmap.
COLORREF BitmapPixel(HBITMAP bitmap, int x, int y);

}  // namespace wendaro_test
