// Modal dialogs driven for real: results, keyboard and close box, showing on
// idle, centring, owners of nested loops, the main-window pointer, binding
// failures, WM_QUIT and the pre-translate walk.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/afx.h"

namespace {

constexpr UINT kVisibleTemplate = 2001;
constexpr UINT kHiddenTemplate = 2002;
constexpr UINT kBrokenTemplate = 2003;
constexpr int kEditId = 3001;
constexpr UINT kAct = WM_APP + 10;
constexpr UINT kSeen = WM_APP + 11;
constexpr UINT kSwallowed = WM_APP + 12;
constexpr UINT kShown = WM_APP + 13;
constexpr UINT_PTR kWatchdog = 99;

// The edit control's object: filters what the modal loop hands it.
class CFilteringEdit : public CWnd {
public:
    std::vector<UINT> preTranslated;
    std::vector<UINT> received;

    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message >= WM_APP) preTranslated.push_back(pMsg->message);
        return pMsg->message == kSwallowed;
    }

protected:
    afx_msg LRESULT OnSeen(WPARAM, LPARAM) {
        received.push_back(kSeen);
        return 0;
    }
    afx_msg LRESULT OnSwallowed(WPARAM, LPARAM) {
        received.push_back(kSwallowed);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFilteringEdit, CWnd)
    ON_MESSAGE(kSeen, &CFilteringEdit::OnSeen)
    ON_MESSAGE(kSwallowed, &CFilteringEdit::OnSwallowed)
END_MESSAGE_MAP()

// A dialog whose behaviour each test scripts: onInit runs after the base
// OnInitDialog, onAct when the kAct message it posts there arrives, onShown
// each time it has been shown, onTimer on the test's own timers. A watchdog
// ends a dialog that was never ended.
class CScriptedDialog : public CDialog {
public:
    explicit CScriptedDialog(UINT templateId, CWnd* parent = nullptr) : CDialog(templateId, parent) {}

    std::function<void(CScriptedDialog&)> onInit;
    std::function<void(CScriptedDialog&)> onAct;
    std::function<void(CScriptedDialog&)> onShown;
    std::function<void(CScriptedDialog&, UINT_PTR)> onTimer;
    int extraBinding = 0;
    bool bindEdit = true;
    bool afterEndDialogRan = false;
    std::vector<UINT> dialogPreTranslated;
    CFilteringEdit edit;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetTimer(m_hWnd, kWatchdog, 5000, nullptr);
        if (onInit) onInit(*this);
        PostMessage(kAct);
        return TRUE;
    }

    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        if (bindEdit) DDX_Control(pDX, kEditId, edit);
        if (extraBinding) DDX_Control(pDX, extraBinding, extraControl);
    }

    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message >= WM_APP) dialogPreTranslated.push_back(pMsg->message);
        return CDialog::PreTranslateMessage(pMsg);
    }

    // Ends the dialog and goes on, as the handlers of the product do.
    void EndAndContinue(int result) {
        EndDialog(result);
        afterEndDialogRan = true;
    }

protected:
    afx_msg LRESULT OnAct(WPARAM, LPARAM) {
        if (onAct) onAct(*this);
        return 0;
    }
    // WM_SHOWWINDOW comes before the window is visible: onShown runs once the
    // showing is over (only a test that asks for it sees one message more).
    afx_msg LRESULT OnShowWindowMessage(WPARAM showing, LPARAM) {
        if (showing && onShown) PostMessage(kShown);
        return 0;
    }
    afx_msg LRESULT OnShown(WPARAM, LPARAM) {
        if (onShown) onShown(*this);
        return 0;
    }
    afx_msg LRESULT OnTimerMessage(WPARAM id, LPARAM) {
        if (id == kWatchdog) {
            EndDialog(-99);
        } else if (onTimer) {
            onTimer(*this, id);
        }
        return 0;
    }

    CButton extraControl;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScriptedDialog, CDialog)
    ON_MESSAGE(kAct, &CScriptedDialog::OnAct)
    ON_MESSAGE(WM_SHOWWINDOW, &CScriptedDialog::OnShowWindowMessage)
    ON_MESSAGE(kShown, &CScriptedDialog::OnShown)
    ON_MESSAGE(WM_TIMER, &CScriptedDialog::OnTimerMessage)
END_MESSAGE_MAP()

// A dialog whose Cancel button has a handler of its own.
class COwnCancelDialog : public CScriptedDialog {
public:
    COwnCancelDialog() : CScriptedDialog(kVisibleTemplate) {}

protected:
    afx_msg void OnBnClickedCancel() { EndDialog(7); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnCancelDialog, CScriptedDialog)
    ON_BN_CLICKED(IDCANCEL, &COwnCancelDialog::OnBnClickedCancel)
END_MESSAGE_MAP()

void PostKey(HWND target, WPARAM key) {
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

TEST(ModalDialog, EndDialogGivesItsResultAndTheHandlerGoesOn) {
    CScriptedDialog dialog(kVisibleTemplate);
    dialog.onAct = [](CScriptedDialog& d) { d.EndAndContinue(42); };
    EXPECT_EQ(42, dialog.DoModal());
    EXPECT_TRUE(dialog.afterEndDialogRan);
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_EQ(nullptr, dialog.edit.m_hWnd);
}

TEST(ModalDialog, KeysAndTheCloseBoxReachOkAndCancel) {
    struct Case {
        const char* name;
        std::function<void(CScriptedDialog&)> act;
        INT_PTR expected;
    };
    const Case cases[] = {
        {"Escape", [](CScriptedDialog& d) { PostKey(d.edit.m_hWnd, VK_ESCAPE); }, IDCANCEL},
        {"Enter", [](CScriptedDialog& d) { PostKey(d.edit.m_hWnd, VK_RETURN); }, IDOK},
        {"close box", [](CScriptedDialog& d) { d.PostMessage(WM_SYSCOMMAND, SC_CLOSE); }, IDCANCEL},
    };
    for (const Case& c : cases) {
        CScriptedDialog dialog(kVisibleTemplate);
        dialog.onAct = c.act;
        EXPECT_EQ(c.expected, dialog.DoModal()) << c.name;
    }
}

TEST(ModalDialog, ADerivedClickHandlerHidesTheBaseCancel) {
    COwnCancelDialog dialog;
    dialog.onAct = [](CScriptedDialog& d) { PostKey(d.edit.m_hWnd, VK_ESCAPE); };
    EXPECT_EQ(7, dialog.DoModal());
}

TEST(ModalDialog, AHiddenTemplateIsShownOnIdleAndALaterHideStays) {
    std::vector<bool> visible;
    CScriptedDialog dialog(kHiddenTemplate);
    dialog.onInit = [&](CScriptedDialog& d) { visible.push_back(IsWindowVisible(d.m_hWnd) != FALSE); };
    // Without the edit's blinking caret, whose timer would show it too, only
    // an idle queue shows it.
    dialog.onAct = [](CScriptedDialog&) { DestroyCaret(); };
    // Hidden again, it must stay so through the idle spell before the timer (a
    // timer's message comes only to an empty queue) ends the dialog; a second
    // showing would come here again.
    dialog.onShown = [&](CScriptedDialog& d) {
        visible.push_back(IsWindowVisible(d.m_hWnd) != FALSE);
        if (visible.size() > 2) return;
        d.ShowWindow(SW_HIDE);
        SetTimer(d.m_hWnd, 1, 60, nullptr);
    };
    dialog.onTimer = [&](CScriptedDialog& d, UINT_PTR id) {
        KillTimer(d.m_hWnd, id);
        visible.push_back(IsWindowVisible(d.m_hWnd) != FALSE);
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::vector<bool>{false, true, false}), visible);
}

TEST(ModalDialog, AHiddenUnmovedDialogIsCentredAndAMovedOneIsNot) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const CRect work(monitor.rcWork);

    CRect centred;
    CScriptedDialog unmoved(kHiddenTemplate);
    unmoved.onAct = [&](CScriptedDialog& d) {
        d.GetWindowRect(&centred);
        d.EndDialog(IDOK);
    };
    ASSERT_EQ(IDOK, unmoved.DoModal());
    EXPECT_NEAR(work.left + work.right, centred.left + centred.right, 2);
    EXPECT_NEAR(work.top + work.bottom, centred.top + centred.bottom, 2);

    CRect placed;
    CScriptedDialog moved(kHiddenTemplate);
    moved.onInit = [](CScriptedDialog& d) { d.SetWindowPos(nullptr, 10, 12, 0, 0, SWP_NOSIZE | SWP_NOZORDER); };
    moved.onAct = [&](CScriptedDialog& d) {
        d.GetWindowRect(&placed);
        d.EndDialog(IDOK);
    };
    ASSERT_EQ(IDOK, moved.DoModal());
    EXPECT_EQ(CPoint(10, 12), placed.TopLeft());
}

TEST(ModalDialog, NestedLoopsDisableTheOwnerAndEnableItAgain) {
    CWinApp* app = AfxGetApp();
    ASSERT_NE(nullptr, app);
    HWND outerWindow = nullptr;
    HWND innerOwner = nullptr;
    BOOL ownerEnabledInside = TRUE;
    BOOL ownerEnabledAfter = FALSE;
    BOOL outerEnabledUnderDesktopChild = FALSE;
    INT_PTR innerResult = 0;
    INT_PTR desktopChildResult = 0;

    CScriptedDialog outer(kVisibleTemplate);
    app->m_pMainWnd = &outer;
    outer.onAct = [&](CScriptedDialog& o) {
        outerWindow = o.m_hWnd;
        CScriptedDialog inner(kVisibleTemplate);
        inner.onAct = [&](CScriptedDialog& i) {
            innerOwner = GetWindow(i.m_hWnd, GW_OWNER);
            ownerEnabledInside = IsWindowEnabled(outerWindow);
            i.EndDialog(IDOK);
        };
        innerResult = inner.DoModal();
        ownerEnabledAfter = IsWindowEnabled(outerWindow);

        // A parent that is the desktop is nobody to disable.
        CScriptedDialog notice(kHiddenTemplate, CWnd::FromHandle(GetDesktopWindow()));
        notice.onAct = [&](CScriptedDialog& n) {
            outerEnabledUnderDesktopChild = IsWindowEnabled(outerWindow);
            n.EndDialog(IDCANCEL);
        };
        desktopChildResult = notice.DoModal();
        o.EndDialog(5);
    };
    EXPECT_EQ(5, outer.DoModal());
    EXPECT_EQ(IDOK, innerResult);
    EXPECT_EQ(outerWindow, innerOwner);
    EXPECT_FALSE(ownerEnabledInside);
    EXPECT_TRUE(ownerEnabledAfter);
    EXPECT_EQ(IDCANCEL, desktopChildResult);
    EXPECT_TRUE(outerEnabledUnderDesktopChild);
    EXPECT_TRUE(IsWindowEnabled(GetDesktopWindow()));
    // The inner dialog's messages went on up to its owner, the main window;
    // the notice, owned by nobody, kept its own.
    EXPECT_EQ((std::vector<UINT>{kAct, kAct}), outer.dialogPreTranslated);
    // The main window's destruction cleared the pointer.
    EXPECT_EQ(nullptr, app->m_pMainWnd);
}

TEST(ModalDialog, CannotStartGivesMinusOne) {
    CScriptedDialog missingTemplate(4711);
    EXPECT_EQ(-1, missingTemplate.DoModal());

    CScriptedDialog brokenTemplate(kBrokenTemplate);
    brokenTemplate.bindEdit = false;
    EXPECT_EQ(-1, brokenTemplate.DoModal());
    EXPECT_EQ(nullptr, brokenTemplate.m_hWnd);

    bool actRan = false;
    CScriptedDialog missingControl(kVisibleTemplate);
    missingControl.extraBinding = 9999;
    missingControl.onAct = [&](CScriptedDialog&) { actRan = true; };
    EXPECT_EQ(-1, missingControl.DoModal());
    EXPECT_FALSE(actRan);
}

TEST(ModalDialog, QuitInsideTheLoopEndsItWithMinusOneAndIsPostedAgain) {
    CScriptedDialog dialog(kVisibleTemplate);
    dialog.onAct = [](CScriptedDialog&) { PostQuitMessage(3); };
    EXPECT_EQ(-1, dialog.DoModal());
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, msg.wParam);
}

TEST(ModalDialog, EveryMessageWalksThePreTranslateHooksFromTheControlUp) {
    CScriptedDialog dialog(kVisibleTemplate);
    dialog.onAct = [](CScriptedDialog& d) {
        d.edit.PostMessage(kSwallowed);
        d.edit.PostMessage(kSeen);
        d.PostMessage(WM_COMMAND, IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::vector<UINT>{kSwallowed, kSeen}), dialog.edit.preTranslated);
    EXPECT_EQ((std::vector<UINT>{kSeen}), dialog.edit.received);
    // The dialog's hook saw its own message and the child's that was not taken.
    EXPECT_EQ((std::vector<UINT>{kAct, kSeen}), dialog.dialogPreTranslated);
}

}  // namespace

CWinApp theTestApp;
