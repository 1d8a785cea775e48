#include "app/dialogs/layout.h"

#include "app/dialogs/scale.h"
#include "shared/gdi_holders.h"

void ReadDpiScale(HWND window, double& x, double& y) {
    WindowDc dc(window);
    x = GetDeviceCaps(dc.get(), LOGPIXELSX) / 96.0;
    y = GetDeviceCaps(dc.get(), LOGPIXELSY) / 96.0;
}

void PlaceWindows(std::initializer_list<LayoutRow> rows, double dpiX, double dpiY) {
    for (const LayoutRow& row : rows) {
        row.window->SetWindowPos(row.after, Scale(row.at.x, dpiX), Scale(row.at.y, dpiY),
                                 Scale(row.at.width, dpiX), Scale(row.at.height, dpiY), 0);
    }
}
