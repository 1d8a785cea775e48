// The consent dialog's life and its answers: construction, binding, OK for
// both forms, the privacy links and the tooltip relay.
#include "app/dialogs/first_use_dlg.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/dialogs/layout.h"
#include "app/dialogs/open_as_dlg.h"
#include "app/dialogs/turn_on_dlg.h"
#include "resources/dialog_ids.h"
#include "resources/resource.h"
#include "shared/launch.h"
#include "shared/settings.h"

BEGIN_MESSAGE_MAP(CVELQOpenAsFirstUseDlg, CDialog)
    ON_WM_PAINT()
    ON_BN_CLICKED(IDOK, &CVELQOpenAsFirstUseDlg::OnBnClickedOk)
    ON_NOTIFY(NM_CLICK, IDC_LINK_STORE_PRIVACY, &CVELQOpenAsFirstUseDlg::OnNMClickLink)
    ON_NOTIFY(NM_CLICK, IDC_LINK_MAKER_PRIVACY, &CVELQOpenAsFirstUseDlg::OnNMClickLink)
    // Enter on a focused link opens it as a click does.
    ON_NOTIFY(NM_RETURN, IDC_LINK_STORE_PRIVACY, &CVELQOpenAsFirstUseDlg::OnNMClickLink)
    ON_NOTIFY(NM_RETURN, IDC_LINK_MAKER_PRIVACY, &CVELQOpenAsFirstUseDlg::OnNMClickLink)
END_MESSAGE_MAP()

CVELQOpenAsFirstUseDlg::CVELQOpenAsFirstUseDlg(FileTarget target)
    : CDialog(IDD_FIRSTUSE_DIALOG, nullptr),
      m_hIcon(::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_target{target.filePath, target.categoryId},
      m_noFile(target.filePath.empty() ? TRUE : FALSE) {}

CVELQOpenAsFirstUseDlg::~CVELQOpenAsFirstUseDlg() {
    m_fontSmall.DeleteObject();
    m_fontLarge.DeleteObject();
    m_fontQuestion.DeleteObject();
}

void CVELQOpenAsFirstUseDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FIRSTUSE_QUESTION, m_staticQuestion);
    DDX_Control(pDX, IDC_RICH_INFO, m_richInfo);
    DDX_Control(pDX, IDC_RADIO_YES, m_radioYes);
    DDX_Control(pDX, IDC_RADIO_NO, m_radioNo);
    DDX_Control(pDX, IDC_LINK_STORE_PRIVACY, m_linkStorePrivacy);
    DDX_Control(pDX, IDC_LINK_MAKER_PRIVACY, m_linkMakerPrivacy);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_FIRSTUSE_HEADLINE, m_staticHeadline);
}

BOOL CVELQOpenAsFirstUseDlg::PreTranslateMessage(MSG* pMsg) {
    m_toolTip.RelayEvent(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

BOOL CVELQOpenAsFirstUseDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    const bool enabled = IsVELQEnabled() != FALSE;
    m_radioYes.SendMessage(BM_SETCHECK, enabled ? BST_CHECKED : BST_UNCHECKED);
    m_radioNo.SendMessage(BM_SETCHECK, enabled ? BST_UNCHECKED : BST_CHECKED);

    ReadDpiScale(m_hWnd, m_dpiX, m_dpiY);

    InitLayout();
    AddNoticeToolTip();
    return TRUE;
}

// The notice or the prompt runs its own modal loop in here while this dialog,
// hidden, stays the main window; this dialog ends when that loop has ended.
void CVELQOpenAsFirstUseDlg::OnBnClickedOk() {
    WriteFirstUseAnswered();

    const bool yes = m_radioYes.SendMessage(BM_GETCHECK) == BST_CHECKED;
    const bool no = !yes && m_radioNo.SendMessage(BM_GETCHECK) == BST_CHECKED;
    if (yes) {
        WriteVELQEnabled(TRUE);
        ShowWindow(SW_HIDE);
        if (m_noFile) {
            CVELQTurnOn notice(CWnd::FromHandle(::GetDesktopWindow()));
            notice.DoModal();
        } else {
            CVELQOpenAsDlg prompt(FileTarget{m_target.filePath, m_target.categoryId});
            prompt.DoModal();
        }
    } else if (no) {
        WriteVELQEnabled(FALSE);
        ShowWindow(SW_HIDE);
        if (!m_noFile) RunOpenAsFallback(m_target.filePath);
    }
    EndDialog(IDOK);
}

void CVELQOpenAsFirstUseDlg::OnNMClickLink(NMHDR* pNMHDR, LRESULT* pResult) {
    auto* link = reinterpret_cast<NMLINK*>(pNMHDR);
    ::ShellExecuteW(m_hWnd, L"open", link->item.szUrl, nullptr, nullptr, SW_SHOWNORMAL);
    *pResult = 0;
}
