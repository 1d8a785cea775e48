// The skin button's life, settings and input: subclassing, hover tracking,
// the tooltip, clicks and the messages the dialog manager sends it.
#include "app/controls/skin_button.h"

#include <commctrl.h>

#include "shared/gdi_holders.h"

namespace VELQUIControls {

BEGIN_MESSAGE_MAP(CVELQSkinButton, CButton)
    ON_WM_KILLFOCUS()
    ON_WM_MOUSEMOVE()
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CVELQSkinButton::OnReflectedClick)
    ON_WM_ACTIVATE()
    ON_WM_CANCELMODE()
    ON_WM_GETDLGCODE()
    ON_WM_CTLCOLOR_REFLECT()
    ON_MESSAGE(BM_SETSTYLE, &CVELQSkinButton::OnSetStyle)
    ON_MESSAGE(WM_MOUSELEAVE, &CVELQSkinButton::OnMouseLeave)
END_MESSAGE_MAP()

// The system colours are read once; the button does not follow later changes.
CVELQSkinButton::CVELQSkinButton()
    : m_backgroundColour(::GetSysColor(COLOR_BTNFACE)), m_captionColour(::GetSysColor(COLOR_BTNTEXT)) {}

CVELQSkinButton::~CVELQSkinButton() {
    if (m_cacheDC.GetSafeHdc() && m_cacheOldBitmap) m_cacheDC.SelectObject(m_cacheOldBitmap);
    FreeImages(TRUE);
}

void CVELQSkinButton::FreeImages(BOOL destroy) {
    for (StateImage& image : m_images) {
        // The table owns its bitmaps and masks: the holders free them, unless
        // the table is only emptied.
        GdiBitmap bitmap(image.bitmap);
        GdiBitmap mask(image.mask);
        if (!destroy) {
            bitmap.release();
            mask.release();
        }
        image = StateImage{};
    }
}

void CVELQSkinButton::FitToImage() {
    const StateImage& hover = m_images[kHoverImage];
    if (!hover.bitmap) return;
    m_imageOriginX = 0;
    m_imageOriginY = 0;
    SetWindowPos(nullptr, -1, -1, static_cast<int>(hover.width), static_cast<int>(hover.height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void CVELQSkinButton::DropBackgroundCache() {
    // The cache's selection outlives every paint, so it is put back by hand.
    if (m_cacheDC.GetSafeHdc() && m_cacheOldBitmap) m_cacheDC.SelectObject(m_cacheOldBitmap);
    m_cacheOldBitmap = nullptr;
    m_cacheBitmap.DeleteObject();
    m_cacheDC.DeleteDC();
}

void CVELQSkinButton::DrawTransparent() {
    m_bDrawTransparent = TRUE;
    DropBackgroundCache();
    Invalidate(TRUE);
}

void CVELQSkinButton::HideBorder() {
    m_bDrawBorder = FALSE;
    Invalidate(TRUE);
}

void CVELQSkinButton::EnableBalloonTooltip() { m_toolTipStyle |= TTS_BALLOON; }

void CVELQSkinButton::PreSubclassWindow() {
    UINT style = GetStyle() & 0xFFFF;
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) m_bDefault = TRUE;
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

BOOL CVELQSkinButton::PreTranslateMessage(MSG* pMsg) {
    if (!m_toolTip.GetSafeHwnd()) {
        m_toolTip.Create(this, m_toolTipStyle);
        m_toolTip.Activate(FALSE);
        m_toolTip.SetMaxTipWidth(400);
    }
    m_toolTip.RelayEvent(pMsg);
    // An owner-drawn button reports a quick second click as a double click
    // only; as a press it clicks again.
    if (pMsg->message == WM_LBUTTONDBLCLK) pMsg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(pMsg);
}

void CVELQSkinButton::LeaveHover() {
    if (!m_bHover) return;
    m_bHover = FALSE;
    Invalidate(TRUE);
}

void CVELQSkinButton::OnMouseMove(UINT nFlags, CPoint point) {
    CButton::OnMouseMove(nFlags, point);
    ClientToScreen(&point);
    HWND under = ::WindowFromPoint(point);
    // A press that began elsewhere does not make the button hot.
    if ((nFlags & MK_LBUTTON) && !m_bHover) return;
    if (under != m_hWnd) {
        LeaveHover();
        return;
    }
    if (m_bHover) return;
    m_bHover = TRUE;
    Invalidate(TRUE);
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
    ::_TrackMouseEvent(&track);
}

LRESULT CVELQSkinButton::OnMouseLeave(WPARAM, LPARAM) {
    LeaveHover();
    return 0;
}

void CVELQSkinButton::OnKillFocus(CWnd* pNewWnd) {
    CButton::OnKillFocus(pNewWnd);
    LeaveHover();
}

void CVELQSkinButton::OnCancelMode() {
    CButton::OnCancelMode();
    LeaveHover();
}

void CVELQSkinButton::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CButton::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE) LeaveHover();
}

// FALSE: the parent gets its BN_CLICKED as well.
BOOL CVELQSkinButton::OnReflectedClick() {
    SetFocus();
    return FALSE;
}

UINT CVELQSkinButton::OnGetDlgCode() {
    UINT code = CButton::OnGetDlgCode();
    return code | (m_bDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

// The dialog manager moves the default style with BM_SETSTYLE; the button
// remembers it but stays owner-drawn.
LRESULT CVELQSkinButton::OnSetStyle(WPARAM wParam, LPARAM lParam) {
    UINT type = static_cast<UINT>(wParam) & BS_TYPEMASK;
    if (type == BS_DEFPUSHBUTTON)
        m_bDefault = TRUE;
    else if (type == BS_PUSHBUTTON)
        m_bDefault = FALSE;
    return DefWindowProc(BM_SETSTYLE, (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW, lParam);
}

HBRUSH CVELQSkinButton::CtlColor(CDC*, UINT) { return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)); }

}  // namespace VELQUIControls
