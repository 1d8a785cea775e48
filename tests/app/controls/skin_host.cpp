#include "tests/app/controls/skin_host.h"

#include "shared/gdi_holders.h"

namespace wendaro_test {

namespace {

constexpr wchar_t kHostClass[] = L"WendaroSkinButtonHost";

bool RegisterHostClass() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        wc.hbrBackground = ::CreateSolidBrush(kParentColour);
        wc.lpszClassName = kHostClass;
        return ::RegisterClassW(&wc) != 0;
    }();
    return registered;
}

}  // namespace

BEGIN_MESSAGE_MAP(Host, CWnd)
    ON_BN_CLICKED(kButtonId, &Host::OnButtonClicked)
END_MESSAGE_MAP()

bool Host::Create(int x, int y, int width, int height, bool visible) {
    if (!RegisterHostClass()) return false;
    DWORD style = WS_POPUP | (visible ? WS_VISIBLE : 0);
    return CreateEx(0, kHostClass, L"", style, x, y, width, height, nullptr, nullptr) != FALSE;
}

HWND Host::AddButton(int id, LPCWSTR text, int x, int y, int width, int height, DWORD typeStyle) {
    return ::CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | typeStyle, x, y, width, height, m_hWnd,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                             nullptr);
}

void Host::OnButtonClicked() { ++clicks; }

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (CWnd::WalkPreTranslateTree(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

COLORREF HostPixel(const CWnd& host, int x, int y) {
    WindowDc dc(host.m_hWnd);
    return ::GetPixel(dc.get(), x, y);
}

HBITMAP MakeKeyedBitmap(int width, int height, int border, COLORREF inner, COLORREF key) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    RECT all{0, 0, width, height};
    HBRUSH keyBrush = ::CreateSolidBrush(key);
    ::FillRect(dc, &all, keyBrush);
    RECT inside{border, border, width - border, height - border};
    HBRUSH innerBrush = ::CreateSolidBrush(inner);
    ::FillRect(dc, &inside, innerBrush);
    ::DeleteObject(innerBrush);
    ::DeleteObject(keyBrush);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return bitmap;
}

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    COLORREF colour = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return colour;
}

}  // namespace wendaro_test
