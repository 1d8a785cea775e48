// CWnd's message dispatch: maps, commands, notifications and reflection.
#include "framework/window.h"

namespace {

bool IsCtlColor(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

}  // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) return OnNotify(wParam, lParam, pResult);

    UINT key = IsCtlColor(message) ? WM_CTLCOLOR : message;
    afxmap::Call call{message, wParam, lParam, 0};
    if (!DispatchMessageEntry(key, 0, 0, call)) return FALSE;
    *pResult = call.result;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    HWND control = reinterpret_cast<HWND>(lParam);
    if (control && ReflectLastMsg(control)) return TRUE;
    afxmap::Call call{WM_COMMAND, wParam, lParam, 0};
    return DispatchMessageEntry(WM_COMMAND, HIWORD(wParam), LOWORD(wParam), call);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header) return FALSE;
    if (ReflectLastMsg(header->hwndFrom, pResult)) return TRUE;
    // The id comes from the window, not from the header's idFrom.
    UINT id = static_cast<WORD>(::GetDlgCtrlID(header->hwndFrom));
    afxmap::Call call{WM_NOTIFY, 0, lParam, 0};
    if (!DispatchMessageEntry(WM_NOTIFY, header->code, id, call)) return FALSE;
    *pResult = call.result;
    return TRUE;
}

BOOL CWnd::ReflectLastMsg(HWND child, LRESULT* pResult) {
    CWnd* wnd = FromHandlePermanent(child);
    if (!wnd) return FALSE;
    const MSG& current = CurrentMessage();
    LRESULT ignored = 0;
    return wnd->OnChildNotify(current.message, current.wParam, current.lParam, pResult ? pResult : &ignored);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    afxmap::Call call{message, wParam, lParam, 0};
    BOOL handled = FALSE;
    if (message == WM_COMMAND) {
        handled = DispatchMessageEntry(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0, call);
    } else if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        handled = DispatchMessageEntry(WM_REFLECT_BASE + WM_NOTIFY, header->code, 0, call);
    } else if (IsCtlColor(message)) {
        handled = DispatchMessageEntry(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, call);
    }
    if (handled) *pResult = call.result;
    return handled;
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
    LRESULT brush = 0;
    if (pWnd && pWnd != this && ReflectLastMsg(pWnd->m_hWnd, &brush)) return reinterpret_cast<HBRUSH>(brush);
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct->CtlType != ODT_MENU && ReflectLastMsg(lpDrawItemStruct->hwndItem)) return;
    Default();
}

void CWnd::OnColorizationColorChanged(DWORD, BOOL) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnCancelMode() { Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
