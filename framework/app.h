// The application object: one global instance, built by the runtime before
// start-up, driven by the entry point in app_main.cpp.
//   CWinApp, CWinAppEx, AfxGetApp, AfxGetMainWnd, AfxGetResourceHandle,
//   AfxGetInstanceHandle, AfxInitRichEdit2, AfxEnableControlContainer.
#pragma once

#include <windows.h>

#include <string>

#include "framework/cmd_target.h"

class CWnd;

#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCWSTR appName = nullptr);
    ~CWinApp() override;

    // Returning FALSE skips the message loop: the entry point goes straight
    // to ExitInstance, whose result is the process exit code.
    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();
    virtual void AddToRecentFileList(LPCWSTR pathName);

    // The profile calls only record where the profile would live; nothing is
    // read from or written to the registry.
    void SetRegistryKey(LPCWSTR company);
    void LoadStdProfileSettings(UINT maxRecentFiles = 4);

    HICON LoadIcon(UINT resourceId) const;
    void OnHelp();

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPCWSTR m_pszAppName = nullptr;
    LPCWSTR m_pszRegistryKey = nullptr;
    LPCWSTR m_pszProfileName = nullptr;
    UINT m_nMaxRecentFiles = 0;

private:
    friend int AfxWinMain(HINSTANCE, HINSTANCE, LPWSTR, int);
    std::wstring m_appName;
    std::wstring m_registryKey;
    std::wstring m_profileName;
    int m_loopResult = 0;
};

class CWinAppEx : public CWinApp {
public:
    explicit CWinAppEx(BOOL resourceSmartUpdate = FALSE);
    int ExitInstance() override;

    BOOL m_bResourceSmartUpdate;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetResourceHandle();
HINSTANCE AfxGetInstanceHandle();
// Loads the rich edit 2.0 library once; TRUE when it is loaded.
BOOL AfxInitRichEdit2();
// Controls are hosted without any container support here; kept for callers.
void AfxEnableControlContainer();

int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);
