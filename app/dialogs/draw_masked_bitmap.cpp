#include "app/dialogs/draw_masked_bitmap.h"

#include "app/controls/colours.h"
#include "shared/gdi_holders.h"

namespace {

const int LogoSize = 38;

}  // namespace

void DrawMaskedBitmap(HDC target, int x, int y, HDC source) {
    GdiBitmap colour(CreateCompatibleBitmap(target, LogoSize, LogoSize));
    GdiBitmap mask(CreateBitmap(LogoSize, LogoSize, 1, 1, nullptr));
    MemoryDc colourDC(CreateCompatibleDC(target));
    MemoryDc maskDC(CreateCompatibleDC(target));
    SelectedObject colourSelected(colourDC.get(), colour.get());
    SelectedObject maskSelected(maskDC.get(), mask.get());

    BitBlt(colourDC.get(), 0, 0, LogoSize, LogoSize, source, 0, 0, SRCCOPY);

    // Colour to monochrome: pixels of the background colour become white.
    SetBkColor(colourDC.get(), TransparentColour);
    BitBlt(maskDC.get(), 0, 0, LogoSize, LogoSize, colourDC.get(), 0, 0, SRCCOPY);

    // Monochrome to colour maps white (1) to the background colour and black
    // (0) to the text colour: ANDing blackens exactly the magenta pixels.
    SetBkColor(colourDC.get(), RGB(0, 0, 0));
    SetTextColor(colourDC.get(), RGB(0xFF, 0xFF, 0xFF));
    BitBlt(colourDC.get(), 0, 0, LogoSize, LogoSize, maskDC.get(), 0, 0, SRCAND);

    SetBkColor(target, RGB(0xFF, 0xFF, 0xFF));
    SetTextColor(target, RGB(0, 0, 0));
    BitBlt(target, x, y, LogoSize, LogoSize, maskDC.get(), 0, 0, SRCAND);
    BitBlt(target, x, y, LogoSize, LogoSize, colourDC.get(), 0, 0, SRCPAINT);
}

void DrawLogo(HDC target, int x, int y, HBITMAP logo) {
    MemoryDc memory(CreateCompatibleDC(target));
    SelectedObject selected(memory.get(), logo);
    DrawMaskedBitmap(target, x, y, memory.get());
}
