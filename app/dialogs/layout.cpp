#include "app/dialogs/layout.h"

#include "app/dialogs/scale.h"

void ReadDpiScale(HWND window, double& x, double& y) {
    HDC dc = GetDC(window);
    x = GetDeviceCaps(dc, LOGPIXELSX) / 96.0;
    y = GetDeviceCaps(dc, LOGPIXELSY) / 96.0;
    ReleaseDC(window, dc);
}

void PlaceWindows(std::initializer_list<LayoutRow> rows, double dpiX, double dpiY) {
    for (const LayoutRow& row : rows) {
        row.window->SetWindowPos(row.after, Scale(row.at.x, dpiX), Scale(row.at.y, dpiY),
                                 Scale(row.at.width, dpiX), Scale(row.at.height, dpiY), 0);
    }
}
