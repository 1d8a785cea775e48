#include "app/dialogs/layout.h"

#include "app/dialogs/scale.h"
#include "shared/gdi_holders.h"

void ReadDpiScale(HWND window, double& x, double& y) {
    WindowDc dc(window);
    x = GetDeviceCaps(dc.get(), LOGPIXELSX) / 96.0;
    y = GetDeviceCaps(dc.get(), LOGPIXELSY) / 96.0;
}

void FillPlacement(CDC& dc, const Placement& at, COLORREF colour, double dpiX, double dpiY) {
    dc.FillSolidRect(Scale(at.x, dpiX), Scale(at.y, dpiY), Scale(at.width, dpiX), Scale(at.height, dpiY),
                     colour);
}

void PlaceWindows(std::initializer_list<LayoutRow> rows, double dpiX, double dpiY) {
    for (const LayoutRow& row : rows) {
        row.window->SetWindowPos(row.after, Scale(row.at.x, dpiX), Scale(row.at.y, dpiY),
                                 Scale(row.at.width, dpiX), Scale(row.at.height, dpiY), 0);
    }
}
