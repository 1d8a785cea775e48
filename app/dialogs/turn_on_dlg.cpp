#include "app/dialogs/turn_on_dlg.h"

#include "app/controls/colours.h"
#include "app/dialogs/layout.h"
#include "resources/dialog_ids.h"

namespace {

// The line above OK.
constexpr Placement Separator = {10, 71, 397, 1};

}  // namespace

IMPLEMENT_DYNAMIC(CVELQTurnOn, CDialog)

BEGIN_MESSAGE_MAP(CVELQTurnOn, CDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CVELQTurnOn::CVELQTurnOn(CWnd* pParent) : CDialog(IDD_TURNON_DIALOG, pParent) {}

CVELQTurnOn::~CVELQTurnOn() {
    m_fontText.DeleteObject();
    m_fontButton.DeleteObject();
}

void CVELQTurnOn::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TURNON_TEXT, m_staticText);
    DDX_Control(pDX, IDOK, m_btnOK);
}

BOOL CVELQTurnOn::OnInitDialog() {
    CDialog::OnInitDialog();

    ReadDpiScale(m_hWnd, m_dpiX, m_dpiY);

    InitLayout();
    // The consent dialog that shows the notice is hidden by now, so the
    // notice centres on the screen and has to bring itself forward.
    CenterWindow(nullptr);
    BringWindowToTop();
    return TRUE;
}

void CVELQTurnOn::InitLayout() {
    m_staticText.SetWindowText(
        L"Wendaro is now what you'll use when you open files that don't have programs associated "
        L"with them.");

    // The dialog goes to the screen's origin here; OnInitDialog centres it.
    PlaceWindows({{this, nullptr, {0, 0, 423, 147}},
                  {&m_staticText, nullptr, {26, 24, 375, 40}},
                  {&m_btnOK, nullptr, {323, 83, 80, 25}}},
                 m_dpiX, m_dpiY);

    // Point sizes follow the screen's DPI by themselves: no scale factor.
    m_fontText.CreatePointFont(80, L"Tahoma");
    m_staticText.SetFont(&m_fontText, TRUE);
    m_fontButton.CreatePointFont(100, L"Tahoma");
    m_btnOK.SetFont(&m_fontButton, TRUE);
}

void CVELQTurnOn::OnPaint() {
    CPaintDC dc(this);
    FillPlacement(dc, Separator, SeparatorGrey, m_dpiX, m_dpiY);
}
