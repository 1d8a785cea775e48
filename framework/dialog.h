// CDialog: modal dialogs from templates, with the framework's own modal loop.
//
// DoModal creates the template as a modeless dialog and runs a loop that
// offers every message to PreTranslateMessage (CWnd::WalkPreTranslateTree)
// before dispatching it. The owner is the explicit parent's top-level window,
// else the main window's last active popup; it is disabled while the dialog
// runs. A template without WS_VISIBLE is shown when the queue first goes
// idle. DoModal returns the EndDialog value, or -1 when the template cannot
// be created, binding a control fails, or WM_QUIT arrives (it is re-posted).
#pragma once

#include <windows.h>

#include "framework/data_exchange.h"
#include "framework/window.h"

class CFont;

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    // Records the result, hides the dialog and ends its loop; the caller's
    // remaining code still runs.
    void EndDialog(int nResult);

    // Base: binds the controls with UpdateData(FALSE); on failure ends the
    // dialog with -1 and returns FALSE. TRUE lets the dialog manager focus the
    // first tab stop.
    virtual BOOL OnInitDialog();
    // WM_SETFONT of the template's font; does nothing here.
    virtual void OnSetFont(CFont* pFont);
    // Keyboard and mouse messages for the dialog or its controls go through
    // IsDialogMessage (Tab, Enter -> default button, Escape -> IDCANCEL).
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // UpdateData(TRUE), then EndDialog(IDOK).
    virtual void OnOK();
    // EndDialog(IDCANCEL).
    virtual void OnCancel();

    LPCWSTR m_lpszTemplateName;
    CWnd* m_pParentWnd;

private:
    enum : UINT { kModalLoop = 1, kContinueModal = 2 };

    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT HandleSetFont(WPARAM wParam, LPARAM lParam);
    BOOL ContinueModal() const;
    void EndModalLoop(int nResult);

    HWND PreModal();
    void PostModal();
    BOOL CreateFromTemplate(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner);
    INT_PTR RunModalLoop();
    void CenterIfUnplaced(const RECT& before, DWORD styleBefore);
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    int m_nModalResult = -1;
    UINT m_nFlags = 0;
    HWND m_hWndTop = nullptr;

    DECLARE_MESSAGE_MAP()
};
