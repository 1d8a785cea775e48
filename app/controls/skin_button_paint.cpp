// The skin button's painting: background (a fill or the parent's pixels),
// border, the state image through its mask, and the caption.
#include "app/controls/skin_button.h"

#include "framework/text.h"
#include "shared/gdi_holders.h"

namespace VELQUIControls {

void CVELQSkinButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    m_bPressed = (lpDrawItemStruct->itemState & ODS_SELECTED) ? TRUE : FALSE;
    m_bFocused = lpDrawItemStruct->itemState & ODS_FOCUS;

    CRect itemRect = lpDrawItemStruct->rcItem;
    pDC->SetBkMode(TRANSPARENT);
    if (m_bDrawTransparent)
        PaintParentBackground(pDC);
    else
        PaintBackground(pDC, &itemRect);
    PaintBorder(pDC, &itemRect);

    CString caption;
    GetWindowText(caption);
    CRect captionRect = lpDrawItemStruct->rcItem;
    if (m_images[kHoverImage].bitmap) {
        // The monochrome mask's white bits become this colour in the blit.
        pDC->SetBkColor(RGB(255, 255, 255));
        PaintBitmap(pDC, !caption.IsEmpty(), &lpDrawItemStruct->rcItem, &captionRect, m_bPressed);
    }
    if (!caption.IsEmpty()) PaintCaption(pDC, caption, &lpDrawItemStruct->rcItem, &captionRect, m_bPressed);
}

// The parent's pixels under the button are copied once into a cache and the
// cache is painted from then on, until transparency is turned on again.
void CVELQSkinButton::PaintParentBackground(CDC* pDC) {
    CWnd* parent = GetParent();
    CClientDC parentDC(parent);
    CRect client;
    GetClientRect(&client);
    CRect window;
    GetWindowRect(&window);
    parent->ScreenToClient(&window);

    if (!m_cacheDC.GetSafeHdc()) {
        m_cacheDC.CreateCompatibleDC(&parentDC);
        m_cacheBitmap.CreateCompatibleBitmap(&parentDC, client.Width(), client.Height());
        m_cacheOldBitmap = m_cacheDC.SelectObject(m_cacheBitmap.GetSafeHandle());
        m_cacheDC.BitBlt(0, 0, client.Width(), client.Height(), &parentDC, window.left, window.top, SRCCOPY);
    }
    pDC->BitBlt(0, 0, client.Width(), client.Height(), &m_cacheDC, 0, 0, SRCCOPY);
}

DWORD CVELQSkinButton::PaintBackground(CDC* pDC, CRect* itemRect) {
    CBrush brush(m_backgroundColour);
    pDC->FillRect(itemRect, &brush);
    return 0;
}

DWORD CVELQSkinButton::PaintBorder(CDC* pDC, CRect* itemRect) {
    if (!m_bDrawBorder) return 0;
    if (m_bPressed)
        pDC->Draw3dRect(itemRect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    else if (m_bHover)
        pDC->Draw3dRect(itemRect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    return 0;
}

void CVELQSkinButton::PlaceImageRect(BOOL hasCaption, RECT* itemRect, CRect* captionRect, BOOL pressed,
                                     DWORD width, DWORD height, CRect* imageRect) {
    // Signed arithmetic: the image may be larger than the button.
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    const int itemWidth = itemRect->right - itemRect->left;
    const int itemHeight = itemRect->bottom - itemRect->top;

    imageRect->CopyRect(itemRect);
    if (hasCaption) {
        imageRect->left += m_imageOriginX;
        captionRect->left += m_imageOriginX + w;
    } else {
        imageRect->left = itemRect->left + (itemWidth - w) / 2;
    }
    imageRect->top = itemRect->top + (itemHeight - h) / 2;
    if (pressed) imageRect->OffsetRect(m_pressedOffsetX, m_pressedOffsetY);
}

void CVELQSkinButton::PaintBitmap(CDC* pDC, BOOL hasCaption, RECT* itemRect, CRect* captionRect, BOOL pressed) {
    int index = kHoverImage;
    if (!m_images[kPressedImage].bitmap) {
        if (m_images[kNormalImage].bitmap && !pressed && !m_bHover) index = kNormalImage;
    } else {
        index = pressed ? kPressedImage : (m_bHover ? kHoverImage : kNormalImage);
    }
    const StateImage& image = m_images[index];

    CRect imageRect;
    PlaceImageRect(hasCaption, itemRect, captionRect, pressed, image.width, image.height, &imageRect);
    // An empty entry (a normal image missing beside a pressed one) draws nothing.
    if (!image.bitmap) return;

    CDC bitmapDC;
    bitmapDC.CreateCompatibleDC(pDC);
    CDC maskDC;
    maskDC.CreateCompatibleDC(nullptr);
    SelectedObject bitmapSelected(bitmapDC, image.bitmap);
    SelectedObject maskSelected(maskDC, image.mask);

    const int w = static_cast<int>(image.width);
    const int h = static_cast<int>(image.height);
    pDC->BitBlt(imageRect.left, imageRect.top, w, h, &maskDC, 0, 0, SRCAND);
    pDC->BitBlt(imageRect.left, imageRect.top, w, h, &bitmapDC, 0, 0, SRCPAINT);
}

void CVELQSkinButton::PaintCaption(CDC* pDC, LPCWSTR caption, RECT*, CRect* captionRect, BOOL pressed) {
    if (pressed) captionRect->OffsetRect(m_pressedOffsetX, m_pressedOffsetY);

    CRect centre = *captionRect;
    pDC->DrawText(caption, -1, *captionRect, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    captionRect->OffsetRect((centre.Width() - captionRect->Width()) / 2,
                            (centre.Height() - captionRect->Height()) / 2);

    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_captionColour);
    pDC->SetBkColor(m_backgroundColour);
    pDC->DrawText(caption, -1, *captionRect, DT_WORDBREAK | DT_CENTER);
}

}  // namespace VELQUIControls
