// The prompt in this process at 96 DPI: layout, texts, the three choices,
// Cancel and the child it launches.
#include "app/dialogs/open_as_dlg.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "resources/dialog_ids.h"
#include "shared/launch.h"
#include "tests/app/dialogs/dialog_fixture.h"

using namespace wendaro_test;

namespace {

const wchar_t Category[] = L"cat96";

using PromptAt96 = AtDpi<96>;

// Every control of the layout table at 96 DPI.
const std::vector<Placement> LayoutAt96 = {
    {IDOK, 390, 252, 80, 25},               {IDCANCEL, 480, 252, 80, 25},
    {IDC_STATIC_TITLE, 72, 20, 270, 20},    {IDC_STATIC_FILENAME, 72, 40, 258, 20},
    {IDC_STATIC_QUESTION, 72, 80, 258, 20}, {IDC_STATIC_VERSION, 73, 258, 200, 20},
    {IDC_RADIO_STORE, 56, 110, 290, 40},    {IDC_RADIO_OPENWITH, 56, 150, 265, 40},
    {IDC_RADIO_WINDOWS, 56, 190, 265, 40},  {IDC_BTN_PREV, 396, 99, 17, 18},
    {IDC_BTN_NEXT, 539, 99, 17, 18},        {IDC_ANIMATION, 386, 20, 180, 194},
};

// The three choices, top to bottom.
const int Choices[3] = {IDC_RADIO_STORE, IDC_RADIO_OPENWITH, IDC_RADIO_WINDOWS};

// The window whose hiding by ShowWindow is looked for, and whether it was.
std::atomic<HWND> watchedWindow{nullptr};
std::atomic<bool> hiddenByShowWindow{false};

// ShowWindow sends WM_SHOWWINDOW; the hiding that ends a dialog does not.
LRESULT CALLBACK RecordHiding(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == watchedWindow && sent->message == WM_SHOWWINDOW && !sent->wParam)
        hiddenByShowWindow = true;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Clicks OK and tells whether its handler hid the prompt before ending it.
bool OkHidesThePrompt(HWND dialog) {
    watchedWindow = dialog;
    hiddenByShowWindow = false;
    Hook hook(SetWindowsHookExW(WH_CALLWNDPROC, RecordHiding, nullptr,
                                GetWindowThreadProcessId(dialog, nullptr)));
    EXPECT_TRUE(hook.valid());
    Click(dialog, IDOK);
    return hiddenByShowWindow;
}

TEST_F(PromptAt96, LaysOutEveryControlAndSetsTheTexts) {
    DialogState state;
    std::vector<int> zOrder;
    std::wstring shot;
    COLORREF face = 0, separator = 0, belowSeparator = 0;
    int result = RunPrompt(folder.File(L"report.velq"), Category, [&](HWND dialog) {
        state = ReadDialog(dialog);
        zOrder = ChildOrder(dialog);
        shot = SaveScreenshot(dialog, L"prompt-loading");
        face = FaceColour(dialog);
        separator = ScreenPixel(dialog, {300, 238});
        belowSeparator = ScreenPixel(dialog, {300, 239});
    });
    ASSERT_EQ(0, result);
    EXPECT_EQ(RGB(0xC6, 0xC6, 0xC6), separator);
    EXPECT_EQ(face, belowSeparator);

    EXPECT_EQ(590, state.size.cx);
    EXPECT_EQ(316, state.size.cy);
    ExpectPlacements(state, LayoutAt96);

    EXPECT_EQ(L"Windows can't find the program needed to open the file:", state.controls[IDC_STATIC_TITLE].text);
    EXPECT_EQ(L"report.velq", state.controls[IDC_STATIC_FILENAME].text);
    EXPECT_EQ(L"Do you want to:", state.controls[IDC_STATIC_QUESTION].text);
    EXPECT_EQ(L"Version: 1.0.409.3882", state.controls[IDC_STATIC_VERSION].text);
    EXPECT_EQ(L"Go to the Dravik Download Store, powered by Fernhollow, to find the correct program.",
              state.controls[IDC_RADIO_STORE].text);
    EXPECT_EQ(L"Select a program to open the file from a list of installed programs.",
              state.controls[IDC_RADIO_OPENWITH].text);
    EXPECT_EQ(L"Use Windows file association services \n(and do not show this next time).",
              state.controls[IDC_RADIO_WINDOWS].text);
    EXPECT_EQ(L"OK", state.controls[IDOK].text);
    EXPECT_EQ(L"Cancel", state.controls[IDCANCEL].text);

    // Each placement also moved the control in the Z (and tab) order.
    const std::vector<int> expectedZOrder = {
        IDC_ANIMATION,       IDC_BTN_NEXT,       IDC_BTN_PREV,      IDC_STATIC_VERSION, IDC_STATIC_QUESTION,
        IDC_STATIC_FILENAME, IDC_STATIC_TITLE,   IDOK,              IDCANCEL,           IDC_RADIO_STORE,
        IDC_RADIO_OPENWITH,  IDC_RADIO_WINDOWS,  IDC_BTN_DOT1,      IDC_BTN_DOT2,       IDC_BTN_DOT3,
        IDC_BTN_DOT4,        IDC_PICTURE,        IDC_BTN_DOT5};
    EXPECT_EQ(expectedZOrder, zOrder);
    EXPECT_FALSE(shot.empty());
}

TEST_F(PromptAt96, CentresItselfAndChecksTheStoreChoice) {
    DialogState state;
    int checked[3] = {};
    RunPrompt(folder.File(L"a.velq"), Category, [&](HWND dialog) {
        state = ReadDialog(dialog);
        for (int i = 0; i < 3; ++i) checked[i] = CheckState(dialog, IDC_RADIO_STORE + i);
    });
    EXPECT_EQ(BST_CHECKED, checked[0]);
    EXPECT_EQ(BST_UNCHECKED, checked[1]);
    EXPECT_EQ(BST_UNCHECKED, checked[2]);
    EXPECT_TRUE(IsCentredOnScreen(state.window));
}

TEST_F(PromptAt96, FileNameLineShowsTheNameAfterTheLastBackslash) {
    struct Case {
        std::wstring path;
        std::wstring shown;
    };
    const Case cases[] = {
        {L"C:\\a.dir\\b\\holiday photo.velq", L"holiday photo.velq"},
        {L"bare-name.velq", L"bare-name.velq"},  // no backslash: shown as given
        {L"C:\\ends\\", L""},
    };
    for (const Case& c : cases) {
        std::wstring shown = L"<none>";
        RunPrompt(c.path, Category,
                  [&](HWND dialog) { shown = ReadDialog(dialog).controls[IDC_STATIC_FILENAME].text; });
        EXPECT_EQ(c.shown, shown) << "path " << std::string(c.path.begin(), c.path.end());
    }
}

TEST_F(PromptAt96, LaunchesTheUpdateChildForTheFile) {
    std::wstring file = folder.File(L"with blank.velq");
    RunPrompt(file, Category, [](HWND) {});
    std::wstring log;
    WaitUntil([&] { return !(log = ReadText(folder.ChildLog())).empty(); }, 10000);
    EXPECT_NE(std::wstring::npos, log.find(L" /Update \"" + file + L"\"")) << "child log: "
                                                                            << log.size();
}

TEST_F(PromptAt96, ClosingWhileTheWatcherWaitsStopsItPromptly) {
    DWORD cancelled = 0;
    RunPrompt(folder.File(L"w.velq"), Category, [&](HWND dialog) {
        cancelled = GetTickCount();
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    DWORD elapsed = GetTickCount() - cancelled;
    // The watcher looks at its stop event every 500 ms.
    EXPECT_LT(elapsed, 1500u);
}

// OK with each choice, Cancel and its equivalents. Touches the product's
// registry key and the http handler of the prefix.
class PromptChoices : public WithSettingsAtDpi<96> {
protected:
    void SetUp() override {
        WithSettingsAtDpi<96>::SetUp();
        if (IsSkipped()) return;
        file = folder.File(L"choice.velq");
        wendaro_test::WriteFileBytes(file, "data");
    }
    bool EnableStored() const {
        DWORD enabled = 1;
        return StoredSetting(L"EnableVELQ", &enabled);
    }

    std::wstring file;
};

// The prompt stays in sight while the browser starts.
TEST_F(PromptChoices, StoreChoiceOpensTheCategoryPageInTheBrowser) {
    FakeBrowser browser(folder.root());
    bool hidden = true;
    int result = RunPrompt(file, L"12345", [&](HWND dialog) { hidden = OkHidesThePrompt(dialog); });
    EXPECT_EQ(0, result);
    EXPECT_FALSE(hidden);
    EXPECT_EQ(GetStoreCategoryURL(L"12345") + L"\n", browser.WaitForLines(1));
    EXPECT_FALSE(EnableStored());
}

TEST_F(PromptChoices, OpenWithChoiceHidesThePromptAndEnds) {
    bool hidden = false;
    int result = RunPrompt(file, Category, [&](HWND dialog) {
        Click(dialog, IDC_RADIO_OPENWITH);
        hidden = OkHidesThePrompt(dialog);
    });
    EXPECT_EQ(0, result);
    EXPECT_TRUE(hidden);
    EXPECT_FALSE(EnableStored());
}

TEST_F(PromptChoices, WindowsChoiceSwitchesOffAndHandsTheFileToTheSystemPrompt) {
    FakeOpenWith openWith(folder.root());
    ASSERT_TRUE(openWith.ready());
    int result;
    bool hidden = false;
    {
        FakeOpenWith::Redirect redirect(openWith);
        result = RunPrompt(file, Category, [&](HWND dialog) {
            Click(dialog, IDC_RADIO_WINDOWS);
            hidden = OkHidesThePrompt(dialog);
        });
    }
    EXPECT_EQ(0, result);
    EXPECT_TRUE(hidden);
    ExpectSetting(L"EnableVELQ", 0);

    std::wstring started;
    WaitUntil([&] { return !(started = openWith.Log()).empty(); }, 10000);
    EXPECT_NE(std::wstring::npos, started.find(L"OpenAs_RunDLL " + file)) << started.size();
}

TEST_F(PromptChoices, CancelEscapeAndTheCloseBoxChangeNothing) {
    FakeBrowser browser(folder.root());
    const std::vector<std::function<void(HWND)>> endings = {
        [](HWND dialog) { Click(dialog, IDCANCEL); },
        [](HWND dialog) { PressEscape(dialog); },
        [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (size_t i = 0; i < endings.size(); ++i) {
        bool ended = false;
        int result = RunPrompt(file, Category, [&](HWND dialog) {
            endings[i](dialog);
            ended = WaitForGone(dialog, 5000);
        });
        EXPECT_TRUE(ended) << "ending " << i;
        EXPECT_EQ(0, result) << "ending " << i;
    }
    EXPECT_FALSE(EnableStored());
    Sleep(300);  // a browser started by mistake would have written by now
    EXPECT_EQ(L"", browser.Log());
}

TEST_F(PromptChoices, OkWithNoChoiceCheckedOnlyEnds) {
    int result = RunPrompt(file, Category, [&](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_RADIO_STORE, BM_SETCHECK, BST_UNCHECKED, 0);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(0, result);
    EXPECT_FALSE(EnableStored());
}

}  // namespace
