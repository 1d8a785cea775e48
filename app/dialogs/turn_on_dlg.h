// The turned-on notice: tells the user that Wendaro now takes care of files
// that have no program. Shown only by the consent dialog's OK for Yes, with
// the desktop window as its parent, while the consent dialog is hidden.
#pragma once

#include <windows.h>

#include "framework/afx.h"

class CVELQTurnOn : public CDialog {
    DECLARE_DYNAMIC(CVELQTurnOn)
public:
    explicit CVELQTurnOn(CWnd* pParent);
    ~CVELQTurnOn() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void InitLayout();
    void OnPaint();

    DECLARE_MESSAGE_MAP()

    CStatic m_staticText;
    CButton m_btnOK;
    CFont m_fontText;
    CFont m_fontButton;
    double m_dpiX = 1.0;
    double m_dpiY = 1.0;
};
