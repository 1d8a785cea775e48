#include "framework/app.h"

#include "framework/window.h"

namespace {

CWinApp* g_app = nullptr;
HINSTANCE g_resourceHandle = nullptr;

}  // namespace

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0 && got != -1) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    m_loopResult = got == 0 ? static_cast<int>(msg.wParam) : -1;
    return ExitInstance();
}

int CWinApp::ExitInstance() { return m_loopResult; }

void CWinApp::AddToRecentFileList(LPCWSTR) {}

void CWinApp::SetRegistryKey(LPCWSTR) {}

void CWinApp::LoadStdProfileSettings(UINT) {}

void CWinApp::OnHelp() {}

CWinAppEx::CWinAppEx(BOOL) {}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

HINSTANCE AfxGetResourceHandle() {
    return g_resourceHandle ? g_resourceHandle : GetModuleHandleW(nullptr);
}

BOOL AfxInitRichEdit2() {
    static HMODULE richEdit = LoadLibraryW(L"riched20.dll");
    return richEdit != nullptr;
}

void AfxEnableControlContainer() {}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    g_resourceHandle = instance;

    if (app->InitInstance()) return app->Run();
    if (app->m_pMainWnd) app->m_pMainWnd->DestroyWindow();
    return app->ExitInstance();
}
