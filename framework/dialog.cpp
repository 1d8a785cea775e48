// CDialog: creation from a template, initialisation and ending.
#include "framework/dialog.h"

#include "framework/gdi.h"

namespace {

// The dialog DoModal is creating on this thread, until its window is known.
thread_local CDialog* t_creating = nullptr;

}  // namespace

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
    ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
    ON_MESSAGE(WM_SETFONT, &CDialog::HandleSetFont)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    if (m_attached) DestroyWindow();
}

BOOL CDialog::CreateFromTemplate(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner) {
    t_creating = this;
    HWND hwnd = ::CreateDialogIndirectParamW(instance, dialogTemplate, owner, &CDialog::DialogProc,
                                             reinterpret_cast<LPARAM>(this));
    t_creating = nullptr;
    if (!hwnd) {
        // A window destroyed during creation has already detached itself.
        if (m_hWnd) UnsubclassWindow();
        return FALSE;
    }
    return TRUE;
}

// The dialog procedure only takes the window over: the first message it sees
// for the window being created attaches and subclasses it, after which every
// message reaches CWnd::WndProc first and comes here only as default
// processing, where nothing more is done.
INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (FromHandlePermanent(hwnd) || !t_creating) return FALSE;
    CDialog* dialog = t_creating;
    t_creating = nullptr;
    if (!dialog->SubclassWindow(hwnd)) return FALSE;
    if (message == WM_INITDIALOG) return dialog->Dispatch(message, wParam, lParam);
    if (message == WM_SETFONT) dialog->OnSetFont(CFont::FromHandle(reinterpret_cast<HFONT>(wParam)));
    return FALSE;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    CRect before;
    GetWindowRect(&before);
    DWORD styleBefore = GetStyle();
    BOOL result = OnInitDialog();
    if (m_hWnd) CenterIfUnplaced(before, styleBefore);
    return result;
}

LRESULT CDialog::HandleSetFont(WPARAM wParam, LPARAM) {
    OnSetFont(CFont::FromHandle(reinterpret_cast<HFONT>(wParam)));
    return Default();
}

// A dialog that came up hidden, is still hidden after WM_INITDIALOG, was not
// moved there and has no enabled owner would otherwise appear wherever the
// template put it: centre it.
void CDialog::CenterIfUnplaced(const RECT& before, DWORD styleBefore) {
    if (styleBefore & WS_VISIBLE) return;
    if (GetStyle() & (WS_VISIBLE | WS_CHILD)) return;
    CRect now;
    GetWindowRect(&now);
    if (now.left != before.left || now.top != before.top) return;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && ::IsWindowEnabled(owner)) return;
    CenterWindow();
}

BOOL CDialog::OnInitDialog() {
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnSetFont(CFont*) {}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
    bool keyboard = pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST;
    bool mouse = pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST;
    if (!keyboard && !mouse) return FALSE;
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

BOOL CDialog::ContinueModal() const { return (m_nFlags & kContinueModal) ? TRUE : FALSE; }

void CDialog::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    m_nFlags &= ~kContinueModal;
    // Wake the loop if it waits for a message.
    if (m_hWnd) ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

void CDialog::EndDialog(int nResult) {
    if (m_nFlags & (kModalLoop | kContinueModal)) EndModalLoop(nResult);
    if (m_hWnd) ::EndDialog(m_hWnd, nResult);
}
