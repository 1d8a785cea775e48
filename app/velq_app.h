// The application object: prepares the process, reads the command line into
// one run mode, runs it to its end and lets the process finish.
#pragma once

#include <windows.h>

#include <string>

#include "framework/app.h"

struct FileTarget;

enum class RunMode : LONG {
    None = 0,
    TurnOn = 1,
    TurnOff = 2,
    Update = 3,
    OpenFile = 4,
    RegisterSearch = 5,
};

class CVELQApp : public CWinAppEx {
public:
    CVELQApp();
    ~CVELQApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    // Empty on purpose: files handed to the program stay out of the recent-file list.
    void AddToRecentFileList(LPCWSTR pathName) override;

    BOOL ParseArguments();
    // The same, for a given command line (the process's own in ParseArguments()).
    BOOL ParseArguments(LPCWSTR commandLine);
    void RunOpenFile(std::wstring path);
    void RunUpdate(std::wstring path);
    void RunTurnOnOff(BOOL turnOn);

    RunMode GetRunMode() const { return m_runMode; }
    const std::wstring& GetArgument() const { return m_argument; }

protected:
    DECLARE_MESSAGE_MAP()

private:
    // The prompt, or the consent dialog while first use is pending, as the
    // main window for the time of its modal loop.
    void ShowPromptFor(const FileTarget& target);
    // Runs one modal dialog for the target as the main window.
    template <class Dialog>
    void RunDialog(const FileTarget& target);

    ULONG_PTR m_gdiplusToken = 0;
    RunMode m_runMode = RunMode::OpenFile;
    std::wstring m_argument;
};

// 0 when the argument matches the switch (case ignored, a blank or a tab ends
// either text), else -1 or 1.
int CompareSwitch(const wchar_t* argument, const wchar_t* switchText);
// Creates the maker folder and the product folder under the all-users profile.
BOOL CreateDataFolders();
