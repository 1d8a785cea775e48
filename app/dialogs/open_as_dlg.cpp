#include "app/dialogs/open_as_dlg.h"

#include <shellapi.h>

#include <utility>
#include <vector>

#include "app/dialogs/layout.h"
#include "resources/dialog_ids.h"
#include "resources/resource.h"
#include "shared/launch.h"
#include "shared/settings.h"
#include "shared/task/job_control.h"
#include "shared/task/open_with.h"

namespace {

const COLORREF AnimationTextColour = RGB(0x66, 0x66, 0x66);

// The text after the last backslash; a bare name is shown as given.
CString FileNameOf(const CString& path) { return path.Mid(path.ReverseFind(L'\\') + 1); }

}  // namespace

CVELQOpenAsDlg::CVELQOpenAsDlg(FileTarget target)
    : CDialog(IDD_OPENAS_DIALOG, nullptr), m_target(std::move(target)) {
    m_hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

CVELQOpenAsDlg::~CVELQOpenAsDlg() {
    // The watcher posts to this window and reads m_target's copy: it must be
    // gone before the members are.
    VELQTASKCOMMON::StopJob(m_pictureWatcher);
    m_fontText.DeleteObject();
    m_fontFileName.DeleteObject();
    m_fontButtons.DeleteObject();
}

BEGIN_MESSAGE_MAP(CVELQOpenAsDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_DWMCOLORIZATIONCOLORCHANGED()
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_BTN_PREV, &CVELQOpenAsDlg::OnPrevPicture)
    ON_BN_CLICKED(IDC_BTN_NEXT, &CVELQOpenAsDlg::OnNextPicture)
    ON_BN_CLICKED(IDCANCEL, &CVELQOpenAsDlg::OnBnClickedCancel)
    ON_BN_CLICKED(IDOK, &CVELQOpenAsDlg::OnBnClickedOk)
    ON_MESSAGE(WM_PICTURECHANGED, &CVELQOpenAsDlg::OnPictureChanged)
    ON_MESSAGE(WM_DESTROY, &CVELQOpenAsDlg::OnDestroy)
END_MESSAGE_MAP()

void CVELQOpenAsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BTN_PREV, m_btnPrev);
    DDX_Control(pDX, IDC_BTN_NEXT, m_btnNext);
    DDX_Control(pDX, IDC_BTN_DOT1, m_btnDot1);
    DDX_Control(pDX, IDC_BTN_DOT2, m_btnDot2);
    DDX_Control(pDX, IDC_BTN_DOT3, m_btnDot3);
    DDX_Control(pDX, IDC_BTN_DOT4, m_btnDot4);
    DDX_Control(pDX, IDC_BTN_DOT5, m_btnDot5);
    DDX_Control(pDX, IDC_PICTURE, m_picture);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_STATIC_TITLE, m_staticTitle);
    DDX_Control(pDX, IDC_STATIC_FILENAME, m_staticFileName);
    DDX_Control(pDX, IDC_STATIC_QUESTION, m_staticQuestion);
    DDX_Control(pDX, IDC_STATIC_VERSION, m_staticVersion);
    DDX_Control(pDX, IDC_RADIO_STORE, m_radioStore);
    DDX_Control(pDX, IDC_RADIO_OPENWITH, m_radioOpenWith);
    DDX_Control(pDX, IDC_RADIO_WINDOWS, m_radioWindows);
    DDX_Control(pDX, IDC_ANIMATION, m_animation);
}

// Both only forward, on purpose: the prompt keeps these hooks for message and
// font handling of its own, though it needs none today.
LRESULT CVELQOpenAsDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CWnd::WindowProc(message, wParam, lParam);
}

void CVELQOpenAsDlg::OnSetFont(CFont* pFont) { CDialog::OnSetFont(pFont); }

BOOL CVELQOpenAsDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    CString fileName = FileNameOf(CString(m_target.filePath.c_str()));
    LoadVersionString();
    CString versionLine = CString(L"Version: ") + m_version;

    m_staticTitle.SetWindowText(L"Windows can't find the program needed to open the file:");
    m_staticFileName.SetWindowText(fileName);
    m_staticQuestion.SetWindowText(L"Do you want to:");
    m_staticVersion.SetWindowText(versionLine);
    m_radioStore.SetWindowText(
        L"Go to the Dravik Download Store, powered by Fernhollow, to find the correct program.");
    m_radioOpenWith.SetWindowText(
        L"Select a program to open the file from a list of installed programs.");
    m_radioWindows.SetWindowText(
        L"Use Windows file association services \n(and do not show this next time).");

    m_animation.Open(IDR_LOADING_AVI);
    m_animation.Play(0, 0xFFFF, static_cast<UINT>(-1));

    ReadDpiScale(m_hWnd, m_dpiX, m_dpiY);

    InitLayout();
    CenterWindow(nullptr);

    // Pictures already on disk are shown first. The watcher's Start has made
    // the named event by the time it returns, so the child always finds it.
    m_pictureWatcher.SetTarget(m_target);
    m_pictureWatcher.notifyWindow = m_hWnd;
    m_pictureWatcher.Start();
    LaunchUpdateProcess(m_target.filePath);
    return TRUE;
}

HCURSOR CVELQOpenAsDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

HBRUSH CVELQOpenAsDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    if (pWnd && pWnd->GetDlgCtrlID() == IDC_ANIMATION) {
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(AnimationTextColour);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CVELQOpenAsDlg::LoadVersionString() {
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(nullptr), program, MAX_PATH);

    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(program, &handle);
    if (size == 0) return;
    std::vector<BYTE> info(size);
    if (!GetFileVersionInfoW(program, 0, size, info.data())) return;

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) return;
    if (length == 0 || fixed->dwSignature != 0xFEEF04BD) return;

    m_version.AppendFormat(L"%i.%i.%i.%i", HIWORD(fixed->dwFileVersionMS),
                           LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                           LOWORD(fixed->dwFileVersionLS));
}

void CVELQOpenAsDlg::OnBnClickedOk() {
    if (m_radioStore.SendMessage(BM_GETCHECK) == BST_CHECKED) {
        std::wstring url = GetStoreCategoryURL(m_target.categoryId);
        ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    } else if (m_radioOpenWith.SendMessage(BM_GETCHECK) == BST_CHECKED) {
        ShowWindow(SW_HIDE);
        ShowSystemOpenWithDialog(nullptr, m_target.filePath.c_str());
    } else if (m_radioWindows.SendMessage(BM_GETCHECK) == BST_CHECKED) {
        ShowWindow(SW_HIDE);
        WriteVELQEnabled(FALSE);
        RunOpenAsFallback(m_target.filePath);
    }
    EndDialog(0);
}

void CVELQOpenAsDlg::OnBnClickedCancel() { EndDialog(0); }
