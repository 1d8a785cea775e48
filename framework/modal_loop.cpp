// CDialog::DoModal: owner selection, the modal loop and the way out.
#include <windows.h>
#include <commctrl.h>

#include "framework/app.h"
#include "framework/dialog.h"

namespace {

// Wine's and Windows' caret-blink timer: a dialog waiting to be shown is
// shown when it arrives, as when the queue goes idle.
constexpr UINT kSystemTimer = 0x0118;

LPCDLGTEMPLATEW FindDialogTemplate(HINSTANCE instance, LPCWSTR name) {
    HRSRC resource = ::FindResourceW(instance, name, MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (!resource) return nullptr;
    HGLOBAL loaded = ::LoadResource(instance, resource);
    return loaded ? static_cast<LPCDLGTEMPLATEW>(::LockResource(loaded)) : nullptr;
}

}  // namespace

// The owner: the explicit parent, else the main window's last active popup;
// a child window never owns a popup, so climb to its top-level window. When
// the owner is not the top of its own chain, that top is disabled too.
HWND CDialog::PreModal() {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        owner = main ? main->m_hWnd : nullptr;
    }
    while (owner && (::GetWindowLongW(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);

    HWND top = owner;
    for (HWND up = owner; up; up = ::GetParent(up)) top = up;
    if (!m_pParentWnd && owner) owner = ::GetLastActivePopup(owner);

    m_hWndTop = nullptr;
    if (top && top != owner && ::IsWindowEnabled(top)) {
        m_hWndTop = top;
        ::EnableWindow(top, FALSE);
    }
    return owner;
}

void CDialog::PostModal() {
    if (m_hWndTop) ::EnableWindow(m_hWndTop, TRUE);
    m_hWndTop = nullptr;
}

INT_PTR CDialog::DoModal() {
    HINSTANCE instance = AfxGetResourceHandle();
    LPCDLGTEMPLATEW dialogTemplate = FindDialogTemplate(instance, m_lpszTemplateName);
    if (!dialogTemplate || m_hWnd) return -1;

    HWND owner = PreModal();
    bool enableOwner = false;
    if (owner && owner != ::GetDesktopWindow() && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        enableOwner = true;
    }

    // Templates may hold link controls, which the standard set of common
    // controls that start-up registers does not include.
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LINK_CLASS};
    ::InitCommonControlsEx(&controls);

    m_nModalResult = -1;
    m_nFlags |= kContinueModal;
    if (CreateFromTemplate(instance, dialogTemplate, owner)) {
        if (ContinueModal()) RunModalLoop();
        if (m_hWnd)
            SetWindowPos(nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_nFlags &= ~kContinueModal;

    // The owner comes back, active again if the dialog was, before the
    // dialog goes, so that activation does not jump to another program.
    if (enableOwner) ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
    DestroyWindow();
    PostModal();
    return m_nModalResult;
}

INT_PTR CDialog::RunModalLoop() {
    bool showOnIdle = !(GetStyle() & WS_VISIBLE);
    auto show = [&] {
        showOnIdle = false;
        ShowWindow(SW_SHOWNORMAL);
        ::UpdateWindow(m_hWnd);
    };
    m_nFlags |= kModalLoop;
    MSG msg;
    while (ContinueModal()) {
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (showOnIdle) {
                show();
            } else {
                ::WaitMessage();
            }
            continue;
        }
        if (!::GetMessageW(&msg, nullptr, 0, 0)) {
            // Leave WM_QUIT for the loop outside this one.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_nModalResult = -1;
            break;
        }
        if (showOnIdle && (msg.message == kSystemTimer || msg.message == WM_SYSKEYDOWN)) show();
        if (!WalkPreTranslateTree(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    m_nFlags &= ~(kModalLoop | kContinueModal);
    return m_nModalResult;
}
