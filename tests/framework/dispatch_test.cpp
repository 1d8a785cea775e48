// Message-map dispatch on real (hidden) windows: lookup order and hiding,
// reflection, WM_CTLCOLOR fallback, WM_NOTIFY by id, default processing.
#include <gtest/gtest.h>

#include <vector>

#include "framework/afx.h"

namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kUnmapped = WM_APP + 2;
constexpr int kButtonId = 1010;

// What the original window procedure of the test windows received.
std::vector<UINT> g_original;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_APP) {
        g_original.push_back(message);
        return 77;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterRecordingClass() {
    static bool done = false;
    if (done) return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FrameworkDispatchTest";
    RegisterClassW(&wc);
    done = true;
}

HWND MakeWindow(HWND parent, int id) {
    RegisterRecordingClass();
    return CreateWindowExW(0, L"FrameworkDispatchTest", L"", parent ? WS_CHILD : WS_POPUP, 0, 0, 50, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

class CBaseWnd : public CWnd {
public:
    std::vector<const char*> calls;

protected:
    afx_msg LRESULT OnPing(WPARAM, LPARAM) {
        calls.push_back("base ping");
        return 1;
    }
    afx_msg void OnBaseCommand() { calls.push_back("base command"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_MESSAGE(kPing, &CBaseWnd::OnPing)
    ON_COMMAND(IDOK, &CBaseWnd::OnBaseCommand)
    ON_COMMAND(IDCANCEL, &CBaseWnd::OnBaseCommand)
END_MESSAGE_MAP()

// A parent window with the handlers a dialog would have.
class CParentWnd : public CBaseWnd {
public:
    HBRUSH ctlColorAnswer = nullptr;
    UINT lastCtlColorKind = 99;
    LRESULT notifyResult = 0;

protected:
    afx_msg LRESULT OnPing(WPARAM, LPARAM) {
        calls.push_back("derived ping");
        return 2;
    }
    afx_msg void OnOkClicked() { calls.push_back("derived ok"); }
    afx_msg void OnButtonClicked() { calls.push_back("parent click"); }
    afx_msg void OnLinkClick(NMHDR*, LRESULT* result) {
        calls.push_back("parent notify");
        *result = notifyResult;
    }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
        lastCtlColorKind = nCtlColor;
        if (ctlColorAnswer) return ctlColorAnswer;
        return CBaseWnd::OnCtlColor(pDC, pWnd, nCtlColor);
    }
    afx_msg LRESULT OnUnmappedDefault(WPARAM, LPARAM) { return Default() + 1; }
    DECLARE_MESSAGE_MAP()
};

constexpr UINT kCallsDefault = WM_APP + 3;

BEGIN_MESSAGE_MAP(CParentWnd, CBaseWnd)
    ON_MESSAGE(kPing, &CParentWnd::OnPing)
    ON_BN_CLICKED(IDOK, &CParentWnd::OnOkClicked)
    ON_BN_CLICKED(kButtonId, &CParentWnd::OnButtonClicked)
    ON_NOTIFY(NM_CLICK, kButtonId, &CParentWnd::OnLinkClick)
    ON_WM_CTLCOLOR()
    ON_MESSAGE(kCallsDefault, &CParentWnd::OnUnmappedDefault)
END_MESSAGE_MAP()

// A button that sees its own clicks first, like the skin button.
class CReflectingButton : public CButton {
public:
    std::vector<const char*>* log = nullptr;
    BOOL passClickOn = FALSE;
    HBRUSH ownBrush = nullptr;
    int drawn = 0;

    void DrawItem(LPDRAWITEMSTRUCT) override { ++drawn; }

protected:
    afx_msg BOOL OnReflectedClick() {
        log->push_back("button click");
        return !passClickOn;
    }
    afx_msg void OnReflectedNotify(NMHDR*, LRESULT* result) {
        log->push_back("button notify");
        *result = 5;
    }
    afx_msg HBRUSH CtlColor(CDC*, UINT) { return ownBrush; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingButton, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CReflectingButton::OnReflectedClick)
    ON_NOTIFY_REFLECT(NM_RCLICK, &CReflectingButton::OnReflectedNotify)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_original.clear();
        ASSERT_TRUE(parent.SubclassWindow(MakeWindow(nullptr, 0)));
        ASSERT_TRUE(button.SubclassWindow(MakeWindow(parent.m_hWnd, kButtonId)));
        button.log = &parent.calls;
    }
    void TearDown() override { parent.DestroyWindow(); }

    LRESULT Command(int id, int code, HWND from) {
        return parent.SendMessage(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(from));
    }

    CParentWnd parent;
    CReflectingButton button;
};

TEST_F(DispatchTest, DerivedEntryHidesBaseEntryForTheSameMessage) {
    EXPECT_EQ(2, parent.SendMessage(kPing));
    Command(IDOK, BN_CLICKED, nullptr);    // ON_BN_CLICKED(IDOK) hides ON_COMMAND(IDOK): both code 0
    Command(IDCANCEL, BN_CLICKED, nullptr);  // only the base maps IDCANCEL
    std::vector<const char*> expected = {"derived ping", "derived ok", "base command"};
    EXPECT_EQ(expected, parent.calls);
}

TEST_F(DispatchTest, UnmappedMessagesAndDefaultReachTheOriginalProcedure) {
    EXPECT_EQ(77, parent.SendMessage(kUnmapped));
    EXPECT_EQ(78, parent.SendMessage(kCallsDefault));
    std::vector<UINT> expected = {kUnmapped, kCallsDefault};
    EXPECT_EQ(expected, g_original);
}

TEST_F(DispatchTest, ReflectedClickReachesButtonAndParentWhenPassedOn) {
    button.passClickOn = TRUE;
    Command(kButtonId, BN_CLICKED, button.m_hWnd);
    button.passClickOn = FALSE;
    Command(kButtonId, BN_CLICKED, button.m_hWnd);
    std::vector<const char*> expected = {"button click", "parent click", "button click"};
    EXPECT_EQ(expected, parent.calls);
}

TEST_F(DispatchTest, NotifyIsReflectedFirstThenFoundByTheWindowsId) {
    NMHDR header{button.m_hWnd, 4242 /* not the id */, static_cast<UINT>(NM_RCLICK)};
    EXPECT_EQ(5, parent.SendMessage(WM_NOTIFY, 4242, reinterpret_cast<LPARAM>(&header)));

    parent.notifyResult = 9;
    header.code = static_cast<UINT>(NM_CLICK);
    EXPECT_EQ(9, parent.SendMessage(WM_NOTIFY, 4242, reinterpret_cast<LPARAM>(&header)));
    std::vector<const char*> expected = {"button notify", "parent notify"};
    EXPECT_EQ(expected, parent.calls);
}

TEST_F(DispatchTest, CtlColorAnswersWithTheHandlersBrushOrFallsBackToDefault) {
    HDC dc = GetDC(parent.m_hWnd);
    HBRUSH defaultBrush = reinterpret_cast<HBRUSH>(
        DefWindowProcW(parent.m_hWnd, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(button.m_hWnd)));
    auto ask = [&](UINT message) {
        return reinterpret_cast<HBRUSH>(parent.SendMessage(message, reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(button.m_hWnd)));
    };

    // Neither the parent nor the child answers: default processing.
    EXPECT_EQ(defaultBrush, ask(WM_CTLCOLORBTN));
    EXPECT_EQ(static_cast<UINT>(CTLCOLOR_BTN), parent.lastCtlColorKind);

    // The base handler reflects to the child, whose brush (even NULL_BRUSH) wins.
    button.ownBrush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    EXPECT_EQ(button.ownBrush, ask(WM_CTLCOLORSTATIC));
    EXPECT_EQ(static_cast<UINT>(CTLCOLOR_STATIC), parent.lastCtlColorKind);

    parent.ctlColorAnswer = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(parent.ctlColorAnswer, ask(WM_CTLCOLORDLG));
    EXPECT_EQ(static_cast<UINT>(CTLCOLOR_DLG), parent.lastCtlColorKind);
    ReleaseDC(parent.m_hWnd, dc);
}

TEST_F(DispatchTest, DrawItemSentToTheParentReachesTheButtonsDrawItem) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = kButtonId;
    item.hwndItem = button.m_hWnd;
    EXPECT_EQ(TRUE, parent.SendMessage(WM_DRAWITEM, kButtonId, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(1, button.drawn);
}

TEST_F(DispatchTest, DestroyingTheWindowDetachesItAndItsChildren) {
    HWND child = button.m_hWnd;
    EXPECT_EQ(&button, CWnd::FromHandlePermanent(child));
    HWND top = parent.m_hWnd;
    parent.DestroyWindow();
    EXPECT_EQ(nullptr, parent.m_hWnd);
    EXPECT_EQ(nullptr, button.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(child));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(top));
}

TEST_F(DispatchTest, TheMainWindowPointerIsClearedWhenItsWindowGoes) {
    CWinApp* app = AfxGetApp();
    ASSERT_NE(nullptr, app);
    app->m_pMainWnd = &parent;
    parent.DestroyWindow();
    EXPECT_EQ(nullptr, app->m_pMainWnd);
}

}  // namespace

CWinApp theTestApp;
