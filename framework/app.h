// The application object: one global instance, built by the runtime before
// start-up, driven by the entry point in app_main.cpp.
//   CWinApp, CWinAppEx, AfxGetApp, AfxGetMainWnd, AfxGetResourceHandle,
//   AfxInitRichEdit2, AfxEnableControlContainer, AfxWinMain.
#pragma once

#include <windows.h>

#include "framework/cmd_target.h"

class CWnd;

#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    // Returning FALSE skips the message loop: the entry point goes straight
    // to ExitInstance, whose result is the process exit code.
    virtual BOOL InitInstance();
    // The message loop; ends with ExitInstance.
    virtual int Run();
    virtual int ExitInstance();
    virtual void AddToRecentFileList(LPCWSTR pathName);

    // The framework keeps no profile of its own: nothing is read from or
    // written to the registry, so these calls have nothing to do.
    void SetRegistryKey(LPCWSTR company);
    void LoadStdProfileSettings(UINT maxRecentFiles = 4);

    void OnHelp();

    CWnd* m_pMainWnd = nullptr;

private:
    int m_loopResult = 0;
};

class CWinAppEx : public CWinApp {
public:
    explicit CWinAppEx(BOOL resourceSmartUpdate = FALSE);
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The module the entry point was given (the program), else the program file.
HINSTANCE AfxGetResourceHandle();
// Loads the rich edit 2.0 library once; TRUE when it is loaded.
BOOL AfxInitRichEdit2();
// Controls are hosted without any container support here; kept for callers.
void AfxEnableControlContainer();

// Runs the application object: InitInstance, then Run; when InitInstance
// returns FALSE, destroys a main window that is left and returns
// ExitInstance().
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);
