// Dialog data exchange: CDataExchange and DDX_Control.
#pragma once

#include <windows.h>

class CWnd;

class CDataExchange {
public:
    explicit CDataExchange(CWnd* dialog);

    CWnd* m_pDlgWnd;

    // The dialog's control with the id; null, and the exchange marked failed,
    // when there is none.
    HWND PrepareCtrl(int nIDC);
    void Fail() { m_bFailed = TRUE; }
    BOOL Failed() const { return m_bFailed; }

private:
    BOOL m_bFailed = FALSE;
};

// Binds (subclasses) the dialog's control nIDC to rControl unless rControl
// already has a window. A missing control fails the exchange.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
