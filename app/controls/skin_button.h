// VELQUIControls::CVELQSkinButton: an owner-drawn flat push button painted
// from up to three bitmaps (hover, normal, pressed) whose key colour is left
// out, with the window text as an optional caption to the right of the
// image. With transparency on it paints over a copy of its parent's pixels,
// so it blends into a dialog that paints its own background.
//
// Bind it to a template push button (DDX_Control or SubclassWindow): the
// button turns itself owner-drawn then. Give it bitmaps with
// LoadStateBitmaps or AssignStateBitmaps; it owns them from then on.
#pragma once

#include <windows.h>

#include "framework/controls.h"
#include "framework/gdi.h"
#include "framework/geometry.h"
#include "framework/message_map.h"

namespace VELQUIControls {

class CVELQSkinButton : public CButton {
public:
    // One entry of the bitmap table. The mask is white where the bitmap had
    // the key colour, and those pixels of the bitmap are black.
    struct StateImage {
        HBITMAP bitmap;
        DWORD width;
        DWORD height;
        HBITMAP mask;
        COLORREF transparent;
    };
    enum { kHoverImage = 0, kNormalImage = 1, kPressedImage = 2, kImageCount = 3 };
    // Results of AssignStateBitmaps and LoadStateBitmaps.
    enum : DWORD { kBitmapsAssigned = 0, kBitmapSizeFailed = 1, kMaskFailed = 2 };

    CVELQSkinButton();
    ~CVELQSkinButton() override;

    // Replaces the bitmap table. normal and pressed may be NULL; without a
    // hover bitmap nothing is stored. The hover bitmap is always keyed with
    // magenta. The button owns every handle it stored, also on failure.
    DWORD AssignStateBitmaps(HBITMAP hover, COLORREF hoverColour, HBITMAP normal, COLORREF normalColour,
                             HBITMAP pressed, COLORREF pressedColour);
    // The same from bitmap resources of the framework's resource module; an id
    // of 0 for normal or pressed means none.
    DWORD LoadStateBitmaps(UINT hoverId, COLORREF hoverColour, UINT normalId, COLORREF normalColour,
                           UINT pressedId, COLORREF pressedColour);
    // A monochrome mask of source, 1 where it has the transparent colour;
    // those pixels of source turn black. NULL when the mask cannot be made.
    HBITMAP MakeTransparencyMask(HBITMAP source, DWORD width, DWORD height, COLORREF transparent);
    // With destroy, deletes the bitmaps and masks; always empties the table.
    void FreeImages(BOOL destroy);
    const StateImage& GetStateImage(int index) const { return m_images[index]; }

    // Sizes the button to its hover bitmap and puts the image at its origin.
    void FitToImage();
    // Paints over a fresh copy of the parent's pixels from the next paint on.
    void DrawTransparent();
    // No 3D rectangle on hover or press any more.
    void HideBorder();
    // The tooltip, once created, is a balloon.
    void EnableBalloonTooltip();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    void PreSubclassWindow() override;

    // Paint steps of DrawItem, in this slot order.
    virtual DWORD PaintBackground(CDC* pDC, CRect* itemRect);
    virtual DWORD PaintBorder(CDC* pDC, CRect* itemRect);
    virtual void PaintBitmap(CDC* pDC, BOOL hasCaption, RECT* itemRect, CRect* captionRect, BOOL pressed);
    virtual void PaintCaption(CDC* pDC, LPCWSTR caption, RECT* itemRect, CRect* captionRect, BOOL pressed);

    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnReflectedClick();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnCancelMode();
    afx_msg UINT OnGetDlgCode();
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);

private:
    DWORD StoreStateImages(HBITMAP hover, HBITMAP normal, COLORREF normalColour, HBITMAP pressed,
                           COLORREF pressedColour, int& taken);
    // AssignStateBitmaps, telling how many entries (hover, normal, pressed, in
    // this order) the button took over.
    DWORD ReplaceImages(HBITMAP hover, HBITMAP normal, COLORREF normalColour, HBITMAP pressed,
                        COLORREF pressedColour, int& taken);
    void PaintParentBackground(CDC* pDC);
    void PlaceImageRect(BOOL hasCaption, RECT* itemRect, CRect* captionRect, BOOL pressed, DWORD width,
                        DWORD height, CRect* imageRect);
    void LeaveHover();
    // Drops the copy of the parent's pixels (selects the old bitmap back first).
    void DropBackgroundCache();

    int m_imageOriginX = 3;
    int m_imageOriginY = 3;
    int m_pressedOffsetX = 1;
    int m_pressedOffsetY = 1;
    BOOL m_bHover = FALSE;
    BOOL m_bDrawTransparent = FALSE;
    BOOL m_bPressed = FALSE;
    BOOL m_bFocused = FALSE;  // the raw ODS_FOCUS bit
    BOOL m_bDefault = FALSE;
    BOOL m_bDrawBorder = TRUE;
    COLORREF m_backgroundColour;
    COLORREF m_captionColour;
    CToolTipCtrl m_toolTip;
    CDC m_cacheDC;
    CBitmap m_cacheBitmap;
    HGDIOBJ m_cacheOldBitmap = nullptr;
    DWORD m_toolTipStyle = 0;
    StateImage m_images[kImageCount] = {};

    DECLARE_MESSAGE_MAP()
};

}  // namespace VELQUIControls
