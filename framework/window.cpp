// CWnd's handle map, subclassing and window procedure.
#include "framework/window.h"

#include <unordered_map>

#include "framework/app.h"
#include "framework/handle_maps.h"

namespace {

using PermanentMap = std::unordered_map<HWND, CWnd*>;

PermanentMap& Permanent() {
    thread_local PermanentMap map;
    return map;
}

HWND& WindowHandleOf(CWnd& wnd) { return wnd.m_hWnd; }

using TemporaryWindows = afxmap::TemporaryMap<CWnd, HWND, &WindowHandleOf>;

TemporaryWindows& Temporary() {
    thread_local TemporaryWindows map;
    return map;
}

// The message each framework window procedure is dispatching on this thread,
// innermost first; Default() passes it on.
thread_local MSG t_currentMessage{};

}  // namespace

CWnd* afxmap::WndFromHandle(HWND hwnd) { return CWnd::FromHandle(hwnd); }

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

CWnd::~CWnd() {
    if (m_attached) DestroyWindow();
    // A window that outlived its object must not find it any more.
    if (m_attached) Detach();
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    CWnd* wnd = FromHandlePermanent(hwnd);
    return wnd ? wnd : Temporary().Get(hwnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    if (!hwnd) return nullptr;
    auto it = Permanent().find(hwnd);
    return it == Permanent().end() ? nullptr : it->second;
}

BOOL CWnd::Attach(HWND hwnd) {
    if (!hwnd || m_hWnd || FromHandlePermanent(hwnd)) return FALSE;
    Permanent()[hwnd] = this;
    m_hWnd = hwnd;
    m_attached = true;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hwnd = m_hWnd;
    if (m_attached) {
        auto it = Permanent().find(hwnd);
        if (it != Permanent().end() && it->second == this) Permanent().erase(it);
        m_attached = false;
    }
    m_hWnd = nullptr;
    return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!::IsWindow(hwnd) || !Attach(hwnd)) return FALSE;
    PreSubclassWindow();
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::WndProc)));
    if (!previous) {
        Detach();
        return FALSE;
    }
    if (previous != &CWnd::WndProc) m_pfnSuper = previous;
    return TRUE;
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper) ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param) {
    if (m_hWnd) return FALSE;
    HWND hwnd = ::CreateWindowExW(exStyle, className, windowName, style, x, y, width, height, parent, idOrMenu,
                                  ::GetModuleHandleW(nullptr), param);
    if (!hwnd) return FALSE;
    if (!SubclassWindow(hwnd)) {
        ::DestroyWindow(hwnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    HWND hwnd = m_hWnd;
    BOOL destroyed = ::DestroyWindow(hwnd);
    // A window that was only attached (not subclassed) never sees its
    // WM_NCDESTROY here, so let go of it now.
    if (m_attached && m_hWnd == hwnd && !m_pfnSuper) Detach();
    return destroyed;
}

LRESULT CALLBACK CWnd::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandlePermanent(hwnd);
    if (!wnd) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return wnd->Dispatch(message, wParam, lParam);
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    MSG outer = t_currentMessage;
    t_currentMessage = MSG{m_hWnd, message, wParam, lParam, 0, {0, 0}};
    LRESULT result = WindowProc(message, wParam, lParam);
    t_currentMessage = outer;
    if (message == WM_NCDESTROY) OnFinalDestroy();
    return result;
}

// After the default WM_NCDESTROY processing: give the window its original
// procedure back, forget it, and stop being the main window.
void CWnd::OnFinalDestroy() {
    if (m_pfnSuper) {
        WNDPROC current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC));
        if (current == &CWnd::WndProc)
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    Detach();
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

const MSG& CWnd::CurrentMessage() { return t_currentMessage; }

LRESULT CWnd::Default() {
    return DefWindowProc(t_currentMessage.message, t_currentMessage.wParam, t_currentMessage.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(MSG* pMsg) {
    CWnd* main = AfxGetMainWnd();
    const HWND stop = main ? main->m_hWnd : nullptr;
    for (HWND hwnd = pMsg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = FromHandlePermanent(hwnd);
        if (wnd && wnd->PreTranslateMessage(pMsg)) return TRUE;
        if (hwnd == stop) break;
    }
    return FALSE;
}
