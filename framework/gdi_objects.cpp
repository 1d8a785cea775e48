// CGdiObject and its kinds: fonts, bitmaps, brushes.
#include <cstdlib>
#include <cwchar>

#include "framework/app.h"
#include "framework/gdi.h"
#include "framework/handle_maps.h"

namespace {

template <class Object>
HGDIOBJ& GdiHandleOf(Object& object) {
    return object.m_hObject;
}

template <class Object, class Handle>
Object* TemporaryGdi(Handle handle) {
    if (!handle) return nullptr;
    thread_local afxmap::TemporaryMap<Object, HGDIOBJ, &GdiHandleOf<Object>> map;
    return map.Get(handle);
}

// The lfHeight of a point font in device pixels: -|MulDiv(logPixelsY,
// tenths, 720)| (96 DPI: 80 -> -11, 90 -> -12, 100 -> -13).
LONG PointFontHeight(int logPixelsY, int tenthsOfPoint) {
    return -std::labs(static_cast<long>(::MulDiv(logPixelsY, tenthsOfPoint, 720)));
}

}  // namespace

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::Attach(HGDIOBJ handle) {
    if (!handle || m_hObject) return FALSE;
    m_hObject = handle;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ handle = m_hObject;
    m_hObject = nullptr;
    return handle;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    return ::DeleteObject(Detach());
}

CFont* CFont::FromHandle(HFONT handle) { return TemporaryGdi<CFont>(handle); }

BOOL CFont::CreatePointFont(int nPointSize, LPCWSTR lpszFaceName, CDC* pDC) {
    LOGFONTW logFont{};
    logFont.lfCharSet = DEFAULT_CHARSET;
    if (lpszFaceName) wcsncpy_s(logFont.lfFaceName, LF_FACESIZE, lpszFaceName, _TRUNCATE);

    HDC dc = pDC ? pDC->m_hDC : ::GetDC(nullptr);
    // The height in device pixels, then as a distance in the DC's logical
    // units (the same on the screen's MM_TEXT mapping).
    POINT points[2] = {{0, PointFontHeight(::GetDeviceCaps(dc, LOGPIXELSY), nPointSize)}, {0, 0}};
    ::DPtoLP(dc, points, 2);
    if (!pDC) ::ReleaseDC(nullptr, dc);
    logFont.lfHeight = -std::labs(points[0].y - points[1].y);
    return Attach(::CreateFontIndirectW(&logFont));
}

CBitmap* CBitmap::FromHandle(HBITMAP handle) { return TemporaryGdi<CBitmap>(handle); }

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
    return Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource)));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(::CreateCompatibleBitmap(pDC ? pDC->m_hDC : nullptr, nWidth, nHeight));
}

CBrush::CBrush(COLORREF color) { Attach(::CreateSolidBrush(color)); }
