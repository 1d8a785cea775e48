#include "framework/data_exchange.h"

#include "framework/window.h"

CDataExchange::CDataExchange(CWnd* dialog) : m_pDlgWnd(dialog) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND control = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (!control) Fail();
    return control;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd) return;
    HWND control = pDX->PrepareCtrl(nIDC);
    if (control && !rControl.SubclassWindow(control)) pDX->Fail();
}
