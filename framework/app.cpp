#include "framework/app.h"

namespace {

CWinApp* g_app = nullptr;
HINSTANCE g_resourceHandle = nullptr;

// The program file's name without folder and extension.
std::wstring ModuleBaseName() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return L"app";
    std::wstring name(path, n);
    size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name;
}

}  // namespace

CWinApp::CWinApp(LPCWSTR appName) {
    g_app = this;
    if (appName) m_appName = appName;
}

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

void CWinApp::SetRegistryKey(LPCWSTR company) {
    m_registryKey = company ? company : L"";
    m_profileName = m_appName;
    m_pszRegistryKey = m_registryKey.c_str();
    m_pszProfileName = m_profileName.c_str();
}

void CWinApp::LoadStdProfileSettings(UINT maxRecentFiles) { m_nMaxRecentFiles = maxRecentFiles; }

HICON CWinApp::LoadIcon(UINT resourceId) const {
    return ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(resourceId));
}

void CWinApp::OnHelp() {}

CWinAppEx::CWinAppEx(BOOL resourceSmartUpdate) : m_bResourceSmartUpdate(resourceSmartUpdate) {}

int CWinAppEx::ExitInstance() { return CWinApp::ExitInstance(); }

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

HINSTANCE AfxGetResourceHandle() {
    return g_resourceHandle ? g_resourceHandle : GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetInstanceHandle() { return GetModuleHandleW(nullptr); }

BOOL AfxInitRichEdit2() {
    static HMODULE richEdit = LoadLibraryW(L"riched20.dll");
    return richEdit != nullptr;
}

void AfxEnableControlContainer() {}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    g_resourceHandle = instance;
    app->m_hInstance = instance;
    if (app->m_appName.empty()) app->m_appName = ModuleBaseName();
    app->m_pszAppName = app->m_appName.c_str();

    if (app->InitInstance()) return app->Run();
    return app->ExitInstance();
}
