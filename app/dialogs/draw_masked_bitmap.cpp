#include "app/dialogs/draw_masked_bitmap.h"

namespace {

const int LogoSize = 38;
const COLORREF TransparentColour = RGB(0xFF, 0x00, 0xFF);

}  // namespace

void DrawMaskedBitmap(HDC target, int x, int y, HDC source) {
    HBITMAP colour = CreateCompatibleBitmap(target, LogoSize, LogoSize);
    HBITMAP mask = CreateBitmap(LogoSize, LogoSize, 1, 1, nullptr);
    HDC colourDC = CreateCompatibleDC(target);
    HDC maskDC = CreateCompatibleDC(target);
    HGDIOBJ oldColour = SelectObject(colourDC, colour);
    HGDIOBJ oldMask = SelectObject(maskDC, mask);

    BitBlt(colourDC, 0, 0, LogoSize, LogoSize, source, 0, 0, SRCCOPY);

    // Colour to monochrome: pixels of the background colour become white.
    SetBkColor(colourDC, TransparentColour);
    BitBlt(maskDC, 0, 0, LogoSize, LogoSize, colourDC, 0, 0, SRCCOPY);

    // Monochrome to colour maps white to the text colour and black to the
    // background colour: ANDing blackens exactly the magenta pixels.
    SetBkColor(colourDC, RGB(0, 0, 0));
    SetTextColor(colourDC, RGB(0xFF, 0xFF, 0xFF));
    BitBlt(colourDC, 0, 0, LogoSize, LogoSize, maskDC, 0, 0, SRCAND);

    SetBkColor(target, RGB(0xFF, 0xFF, 0xFF));
    SetTextColor(target, RGB(0, 0, 0));
    BitBlt(target, x, y, LogoSize, LogoSize, maskDC, 0, 0, SRCAND);
    BitBlt(target, x, y, LogoSize, LogoSize, colourDC, 0, 0, SRCPAINT);

    SelectObject(colourDC, oldColour);
    SelectObject(maskDC, oldMask);
    DeleteDC(colourDC);
    DeleteDC(maskDC);
    DeleteObject(colour);
    DeleteObject(mask);
}
