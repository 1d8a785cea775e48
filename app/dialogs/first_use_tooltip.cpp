// The consent dialog's tooltip: what Wendaro sends to the store, shown over
// the notice.
#include "app/dialogs/first_use_dlg.h"

#include <commctrl.h>

#include "app/dialogs/scale.h"
#include "resources/dialog_ids.h"

namespace {

const wchar_t NoFileTip[] =
    L"To receive recommendations, Wendaro periodically sends file extension, language, country to "
    L"the Dravik Download Store and downloads updated application information.";
const wchar_t FileTip[] =
    L"The Wendaro recommends free and for-purchase applications from the Dravik Download Store to "
    L"open your files. To receive recommendations, Wendaro periodically sends file extension, "
    L"language, country to the Dravik Download Store and downloads updated application "
    L"information.";

const int NoFileTipWidth = 355;
const int FileTipWidth = 380;

}  // namespace

CRect FirstUseToolRect(double dpiX, double dpiY) {
    // The common scales have rectangles of their own, picked by the
    // horizontal factor alone.
    if (dpiX == 1.0) return CRect(60, 10, 120, 25);
    if (dpiX == 1.25) return CRect(76, 13, 146, 31);
    if (dpiX == 1.5) return CRect(90, 15, 180, 38);
    return CRect(Scale(60, dpiX), Scale(10, dpiY), Scale(120, dpiX), Scale(25, dpiY));
}

void CVELQOpenAsFirstUseDlg::AddNoticeToolTip() {
    if (!m_toolTip.Create(this, 0)) return;

    CRect tool = FirstUseToolRect(m_dpiX, m_dpiY);
    m_toolTip.SetMaxTipWidth(m_noFile ? NoFileTipWidth : FileTipWidth);
    m_toolTip.AddTool(&m_richInfo, m_noFile ? NoFileTip : FileTip, &tool, IDC_RICH_INFO);
    m_toolTip.SetFont(&m_fontSmall, TRUE);
    m_toolTip.Activate(TRUE);
}
