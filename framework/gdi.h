// GDI wrappers.
//   CGdiObject  owns one GDI object; the destructor deletes it (Attach/Detach)
//   CFont       CreatePointFont (tenths of a point on the screen's DPI)
//   CBitmap     LoadBitmap, CreateCompatibleBitmap
//   CBrush      solid brushes
//   CDC         a device context: memory DCs, selection, blits, fills, text
//   CPaintDC    BeginPaint/EndPaint for WM_PAINT
//   CClientDC   GetDC/ReleaseDC of a window's client area
// FromHandle gives a temporary wrapper that never deletes the handle.
#pragma once

#include <windows.h>

#include "framework/object.h"

class CWnd;
class CDC;

class CGdiObject : public CObject {
public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }

    BOOL Attach(HGDIOBJ handle);
    HGDIOBJ Detach();
    BOOL DeleteObject();
};

class CFont : public CGdiObject {
public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT handle);

    // nPointSize in tenths of a point. The description is zero but for
    // DEFAULT_CHARSET and the face; the height comes from LOGPIXELSY of pDC,
    // or of the screen without one.
    BOOL CreatePointFont(int nPointSize, LPCWSTR lpszFaceName, CDC* pDC = nullptr);
};

class CBitmap : public CGdiObject {
public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP handle);

    // From the framework's resource module.
    BOOL LoadBitmap(UINT nIDResource);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
};

class CBrush : public CGdiObject {
public:
    // A solid brush.
    explicit CBrush(COLORREF color);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CDC : public CObject {
public:
    CDC() = default;
    // Deletes a device context the object still holds (created or attached).
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    static CDC* FromHandle(HDC hdc);
    BOOL Attach(HDC hdc);
    HDC Detach();
    // Compatible with pDC, or with the screen when pDC is null.
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    // Selection; each returns what was selected before (as a temporary
    // wrapper when nobody owns it).
    CBitmap* SelectObject(CBitmap* pBitmap);
    HGDIOBJ SelectObject(HGDIOBJ handle);

    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    // SetBkColor + opaque ExtTextOut; the background colour stays changed.
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    // Four 1-pixel lines: top and left in clrTopLeft, right and bottom in
    // clrBottomRight.
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    int DrawText(LPCWSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);

    int SetBkMode(int nBkMode);
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF SetTextColor(COLORREF crColor);
    int GetDeviceCaps(int nIndex) const;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};
