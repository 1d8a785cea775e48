// CWnd's thin wrappers over the window API.
#include "framework/window.h"

#include <string>

#include "framework/data_exchange.h"
#include "framework/gdi.h"

void CWnd::SetWindowText(LPCWSTR text) { ::SetWindowTextW(m_hWnd, text); }

void CWnd::GetWindowText(CString& text) const {
    int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    buffer.resize(static_cast<size_t>(::GetWindowTextW(m_hWnd, &buffer[0], length + 1)));
    text = CString(buffer.c_str());
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : HWND_TOP, x, y, cx, cy, flags);
}

namespace {

// For a top-level window: the rectangle to centre on (a visible, not
// minimised reference window, else the work area) and the work area to
// stay inside.
void TopLevelCentring(HWND window, HWND reference, CRect* target, CRect* area) {
    if (reference) {
        DWORD style = static_cast<DWORD>(::GetWindowLongW(reference, GWL_STYLE));
        if (!(style & WS_VISIBLE) || (style & WS_MINIMIZE)) reference = nullptr;
    }
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(reference ? reference : window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    *area = monitor.rcWork;
    if (reference)
        ::GetWindowRect(reference, target);
    else
        *target = *area;
}

}  // namespace

void CWnd::CenterWindow(CWnd* alternateOwner) {
    const DWORD style = GetStyle();
    HWND reference = alternateOwner ? alternateOwner->m_hWnd : nullptr;
    if (!alternateOwner) reference = (style & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);

    CRect window;
    GetWindowRect(&window);
    CRect target;
    CRect area;
    if (style & WS_CHILD) {
        // Inside the parent's client area, in its coordinates.
        HWND parent = ::GetParent(m_hWnd);
        ::GetClientRect(parent, &area);
        ::GetClientRect(reference, &target);
        ::MapWindowPoints(reference, parent, reinterpret_cast<POINT*>(&target), 2);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
    } else {
        TopLevelCentring(m_hWnd, reference, &target, &area);
    }

    int x = (target.left + target.right) / 2 - window.Width() / 2;
    int y = (target.top + target.bottom) / 2 - window.Height() / 2;
    if (x + window.Width() > area.right) x = area.right - window.Width();
    if (x < area.left) x = area.left;
    if (y + window.Height() > area.bottom) y = area.bottom - window.Height();
    if (y < area.top) y = area.top;
    SetWindowPos(nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }

void CWnd::ScreenToClient(LPRECT rect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
void CWnd::BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    DWORD before = GetStyle();
    DWORD after = (before & ~remove) | add;
    if (before == after) return FALSE;
    ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(after));
    if (flags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }

int CWnd::ReleaseDC(CDC* dc) { return dc ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0; }

// Bindings are all the exchange there is, so both directions do the same.
BOOL CWnd::UpdateData(BOOL) {
    CDataExchange exchange(this);
    DoDataExchange(&exchange);
    return exchange.Failed() ? FALSE : TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}
