#include "app/dialogs/rich_edit_clip.h"

#include <richedit.h>

#include "shared/gdi_holders.h"

namespace {

int LineHeight(HWND window, HFONT font) {
    WindowDc dc(window);
    if (!dc) return 0;
    SelectedObject selected(dc.get(), font);
    TEXTMETRICW metrics = {};
    if (!GetTextMetricsW(dc.get(), &metrics)) return 0;
    return metrics.tmHeight + metrics.tmExternalLeading;
}

}  // namespace

void ClipRichEditToItsText(HWND richEdit, HFONT font) {
    const int length = GetWindowTextLengthW(richEdit);
    const int lineHeight = LineHeight(richEdit, font);
    if (length <= 0 || lineHeight <= 0) return;
    // The POINTL form of EM_POSFROMCHAR is the one every rich edit version knows.
    POINTL last = {};
    SendMessageW(richEdit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&last), length - 1);

    // The region is in window coordinates; the position is in client ones.
    RECT window = {};
    GetWindowRect(richEdit, &window);
    POINT client = {0, 0};
    ClientToScreen(richEdit, &client);
    const int bottom = client.y - window.top + last.y + lineHeight;
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    if (last.y < 0 || bottom >= height) return;

    HRGN region = CreateRectRgn(0, 0, width, bottom);
    // The system owns a region once it is set.
    if (region && !SetWindowRgn(richEdit, region, TRUE)) DeleteObject(region);
}
