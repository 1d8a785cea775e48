// The first-use consent dialog: asks once whether Wendaro should recommend
// software whenever Windows cannot open a file, tells what it exchanges with
// the store, links to the two privacy statements and records the answer.
//
// Without a file (run modes /turn-on and /turn-off) its OK records the answer
// and, for Yes, shows the turned-on notice. With a file (the first file that
// no program opens) its OK records the answer and then shows the prompt for
// that file (Yes) or hands the file to the system's Open With prompt (No).
// Cancel records nothing and does nothing for the file.
#pragma once

#include <windows.h>

#include "framework/afx.h"
#include "shared/task/file_target.h"
#include "shared/task/notify_receiver.h"

class CVELQOpenAsFirstUseDlg : public CDialog, public VELQINTERFACE::IVELQNotifyReceiver {
public:
    // A local object of its caller, shown with DoModal as the main window; no
    // parent window. An empty filePath selects the form without a file.
    explicit CVELQOpenAsFirstUseDlg(FileTarget target);
    ~CVELQOpenAsFirstUseDlg() override;

    // Empty on purpose: nothing notifies the consent dialog.
    void HandleNotification() override {}

    // Every message goes to the notice's tooltip first (its tool is a
    // rectangle, not a subclassed window).
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // Texts, fonts, link states, the underline, the layout, the focus and the
    // logo. Always 0.
    int InitLayout();
    void SetTexts();
    void SetFonts();
    void UnderlineLearnMore();
    void PlaceControls();
    // The notice's tooltip; the dialog goes on without one when it cannot be
    // created.
    void AddNoticeToolTip();

    void OnPaint();
    void OnBnClickedOk();
    void OnNMClickLink(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()

    HICON m_hIcon;
    FileTarget m_target;
    CStatic m_staticQuestion;
    CStatic m_staticHeadline;
    CRichEditCtrl m_richInfo;
    CLinkCtrl m_linkStorePrivacy;
    CLinkCtrl m_linkMakerPrivacy;
    CButton m_radioNo;
    CButton m_radioYes;
    CButton m_btnOK;
    CButton m_btnCancel;
    CToolTipCtrl m_toolTip;
    BOOL m_noFile;
    CBitmap m_logo;
    CFont m_fontLarge;
    CFont m_fontSmall;
    CFont m_fontQuestion;
    double m_dpiX = 1.0;
    double m_dpiY = 1.0;
};

// The notice's tool rectangle (client coordinates of the notice) for the
// dialog's scale factors: fixed rectangles at 1.0, 1.25 and 1.5 exactly,
// otherwise the 96-DPI rectangle scaled.
CRect FirstUseToolRect(double dpiX, double dpiY);
