// Start-up and exit through the entry point, driving this program's one
// application object the way the runtime's start-up drives the product's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/afx.h"

namespace {

class CStartupApp : public CWinApp {
public:
    std::vector<std::string> calls;
    BOOL initResult = FALSE;
    CWnd* mainWindow = nullptr;

    BOOL InitInstance() override {
        calls.push_back("InitInstance");
        m_pMainWnd = mainWindow;
        if (initResult) PostQuitMessage(7);
        return initResult;
    }
    int Run() override {
        calls.push_back("Run");
        return CWinApp::Run();
    }
    int ExitInstance() override {
        calls.push_back("ExitInstance");
        return CWinApp::ExitInstance() + 40;
    }
};

CStartupApp theStartupApp;

TEST(StartUp, InitInstanceFalseSkipsRunDestroysTheMainWindowAndExitsWithExitInstance) {
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr));
    const HWND window = main.m_hWnd;
    theStartupApp.calls.clear();
    theStartupApp.initResult = FALSE;
    theStartupApp.mainWindow = &main;

    const HINSTANCE resources = GetModuleHandleW(L"user32.dll");
    EXPECT_EQ(40, AfxWinMain(resources, nullptr, GetCommandLineW(), SW_SHOWNORMAL));
    EXPECT_EQ((std::vector<std::string>{"InitInstance", "ExitInstance"}), theStartupApp.calls);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, main.m_hWnd);
    EXPECT_EQ(nullptr, theStartupApp.m_pMainWnd);
    EXPECT_EQ(resources, AfxGetResourceHandle());
}

TEST(StartUp, InitInstanceTrueRunsTheLoopWhoseQuitCodeReachesExitInstance) {
    theStartupApp.calls.clear();
    theStartupApp.initResult = TRUE;
    theStartupApp.mainWindow = nullptr;
    EXPECT_EQ(47, AfxWinMain(GetModuleHandleW(nullptr), nullptr, GetCommandLineW(), SW_SHOWNORMAL));
    EXPECT_EQ((std::vector<std::string>{"InitInstance", "Run", "ExitInstance"}), theStartupApp.calls);
}

}  // namespace
