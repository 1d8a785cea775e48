// The skin button's bitmap table: hover, normal and pressed bitmaps, each
// with a monochrome mask made from its key colour.
#include "app/controls/skin_button.h"

#include "app/controls/colours.h"
#include "framework/app.h"
#include "shared/gdi_holders.h"

namespace VELQUIControls {

namespace {

HBITMAP LoadResourceBitmap(HINSTANCE module, UINT id) {
    return static_cast<HBITMAP>(
        ::LoadImageW(module, MAKEINTRESOURCEW(LOWORD(id)), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

}  // namespace

// Turns the source's transparent pixels black and returns a mask that is
// white exactly there, so that the button can blit the mask with SRCAND and
// then the bitmap with SRCPAINT.
HBITMAP CVELQSkinButton::MakeTransparencyMask(HBITMAP source, DWORD width, DWORD height, COLORREF transparent) {
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    HBITMAP mask = ::CreateBitmap(w, h, 1, 1, nullptr);
    if (!mask) return nullptr;

    CDC sourceDC;
    sourceDC.CreateCompatibleDC(nullptr);
    CDC maskDC;
    maskDC.CreateCompatibleDC(nullptr);
    SelectedObject sourceSelected(sourceDC, source);
    SelectedObject maskSelected(maskDC, mask);

    // Colour to monochrome: pixels of the background colour become 1.
    COLORREF oldBackground = sourceDC.SetBkColor(transparent);
    maskDC.BitBlt(0, 0, w, h, &sourceDC, 0, 0, SRCCOPY);

    // Monochrome to colour: 1 becomes the background colour (black), 0 the
    // text colour (white), so the AND clears only the transparent pixels.
    COLORREF oldText = sourceDC.SetTextColor(RGB(255, 255, 255));
    sourceDC.SetBkColor(RGB(0, 0, 0));
    sourceDC.BitBlt(0, 0, w, h, &maskDC, 0, 0, SRCAND);

    sourceDC.SetTextColor(oldText);
    sourceDC.SetBkColor(oldBackground);
    return mask;
}

// Stores the given entries in the order hover, normal, pressed and stops at
// the first failure; entries after it are not taken over. `taken` counts the
// entries, empty ones included, that the button has taken over.
DWORD CVELQSkinButton::StoreStateImages(HBITMAP hover, HBITMAP normal, COLORREF normalColour, HBITMAP pressed,
                                        COLORREF pressedColour, int& taken) {
    const struct {
        int index;
        HBITMAP bitmap;
        COLORREF colour;
    } entries[] = {
        {kHoverImage, hover, TransparentColour},
        {kNormalImage, normal, normalColour},
        {kPressedImage, pressed, pressedColour}};
    for (const auto& entry : entries) {
        ++taken;
        if (!entry.bitmap) continue;
        StateImage& image = m_images[entry.index];
        image.bitmap = entry.bitmap;
        image.transparent = entry.colour;
        BITMAP info{};
        if (!::GetObjectW(entry.bitmap, sizeof(info), &info)) return kBitmapSizeFailed;
        image.width = static_cast<DWORD>(info.bmWidth);
        image.height = static_cast<DWORD>(info.bmHeight);
        image.mask = MakeTransparencyMask(image.bitmap, image.width, image.height, image.transparent);
        if (!image.mask) return kMaskFailed;
    }
    return kBitmapsAssigned;
}

// Without a hover bitmap nothing is stored, and the other handles stay the
// caller's.
DWORD CVELQSkinButton::ReplaceImages(HBITMAP hover, HBITMAP normal, COLORREF normalColour, HBITMAP pressed,
                                     COLORREF pressedColour, int& taken) {
    taken = 0;
    FreeImages(TRUE);
    if (hover) {
        DWORD result = StoreStateImages(hover, normal, normalColour, pressed, pressedColour, taken);
        if (result != kBitmapsAssigned) {
            FreeImages(TRUE);
            return result;
        }
    }
    Invalidate(TRUE);
    return kBitmapsAssigned;
}

DWORD CVELQSkinButton::AssignStateBitmaps(HBITMAP hover, COLORREF, HBITMAP normal, COLORREF normalColour,
                                          HBITMAP pressed, COLORREF pressedColour) {
    int taken = 0;
    return ReplaceImages(hover, normal, normalColour, pressed, pressedColour, taken);
}

// The hover bitmap is keyed with magenta whatever colour comes with it.
DWORD CVELQSkinButton::LoadStateBitmaps(UINT hoverId, COLORREF, UINT normalId, COLORREF normalColour,
                                        UINT pressedId, COLORREF pressedColour) {
    HINSTANCE module = AfxGetResourceHandle();
    GdiBitmap hover(LoadResourceBitmap(module, hoverId));
    GdiBitmap pressed(LoadResourceBitmap(module, pressedId));
    GdiBitmap normal(normalId ? LoadResourceBitmap(module, normalId) : nullptr);
    int taken = 0;
    DWORD result = ReplaceImages(hover.get(), normal.get(), normalColour, pressed.get(), pressedColour, taken);
    // What the button took over is its own, also after a failure; what it did
    // not take (all without a hover bitmap, those after a failed mask) is freed here.
    GdiBitmap* loaded[] = {&hover, &normal, &pressed};
    for (int i = 0; i < taken; ++i) loaded[i]->release();
    return result;
}

}  // namespace VELQUIControls
