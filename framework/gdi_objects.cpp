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

}  // namespace

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle) { return TemporaryGdi<CGdiObject>(handle); }

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

int CGdiObject::GetObject(int count, LPVOID buffer) const { return ::GetObjectW(m_hObject, count, buffer); }

CFont* CFont::FromHandle(HFONT handle) { return TemporaryGdi<CFont>(handle); }

BOOL CFont::CreateFontIndirect(const LOGFONTW* logFont) { return Attach(::CreateFontIndirectW(logFont)); }

BOOL CFont::CreatePointFont(int nPointSize, LPCWSTR lpszFaceName, CDC* pDC) {
    LOGFONTW logFont{};
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = nPointSize;
    if (lpszFaceName) wcsncpy_s(logFont.lfFaceName, LF_FACESIZE, lpszFaceName, _TRUNCATE);
    return CreatePointFontIndirect(&logFont, pDC);
}

LONG PointFontHeight(int logPixelsY, int tenthsOfPoint) {
    return -std::labs(static_cast<long>(::MulDiv(logPixelsY, tenthsOfPoint, 720)));
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTW* logFont, CDC* pDC) {
    HDC dc = pDC ? pDC->m_hAttribDC : ::GetDC(nullptr);
    // The height in device pixels, then as a distance in the DC's logical
    // units (the same on the screen's MM_TEXT mapping).
    POINT points[2] = {{0, PointFontHeight(::GetDeviceCaps(dc, LOGPIXELSY), logFont->lfHeight)}, {0, 0}};
    ::DPtoLP(dc, points, 2);
    if (!pDC) ::ReleaseDC(nullptr, dc);
    LOGFONTW scaled = *logFont;
    scaled.lfHeight = -std::labs(points[0].y - points[1].y);
    return CreateFontIndirect(&scaled);
}

int CFont::GetLogFont(LOGFONTW* logFont) const { return GetObject(sizeof(LOGFONTW), logFont); }

CBitmap* CBitmap::FromHandle(HBITMAP handle) { return TemporaryGdi<CBitmap>(handle); }

BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEW(nIDResource)); }

BOOL CBitmap::LoadBitmap(LPCWSTR lpszResourceName) {
    return Attach(::LoadBitmapW(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(::CreateCompatibleBitmap(pDC ? pDC->m_hDC : nullptr, nWidth, nHeight));
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
    return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const { return GetObject(sizeof(BITMAP), pBitMap); }

CBrush::CBrush(COLORREF color) { CreateSolidBrush(color); }

CBrush* CBrush::FromHandle(HBRUSH handle) { return TemporaryGdi<CBrush>(handle); }

BOOL CBrush::CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
