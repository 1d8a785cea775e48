#include "app/velq_app.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <gdiplus.h>

#include "app/dialogs/first_use_dlg.h"
#include "app/dialogs/open_as_dlg.h"
#include "catalogue/mt_mgr.h"
#include "catalogue/update.h"
#include "shared/constants.h"
#include "shared/launch.h"
#include "shared/paths.h"
#include "shared/settings.h"
#include "shared/task/file_target.h"
#include "shared/task/job_control.h"

BEGIN_MESSAGE_MAP(CVELQApp, CWinAppEx)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CVELQApp::CVELQApp() : CWinAppEx(TRUE) {}

CVELQApp::~CVELQApp() = default;

BOOL CVELQApp::InitInstance() {
    CreateDataFolders();

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    AfxInitRichEdit2();

    Gdiplus::GdiplusStartupInput gdiplusInput;  // version 1, no callback, no suppression
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &gdiplusInput, nullptr);

    LoadStdProfileSettings(0);
    CWinApp::InitInstance();
    CoInitialize(nullptr);
    AfxEnableControlContainer();
    SetRegistryKey(L"Wendaro");

    if (!ParseArguments()) return FALSE;

    switch (m_runMode) {
    case RunMode::TurnOn: RunTurnOnOff(TRUE); break;
    case RunMode::TurnOff: RunTurnOnOff(FALSE); break;
    case RunMode::Update: RunUpdate(m_argument); break;
    case RunMode::OpenFile: RunOpenFile(m_argument); break;
    case RunMode::RegisterSearch: RegisterSearch(); break;
    case RunMode::None: break;
    }
    return FALSE;
}

int CVELQApp::ExitInstance() {
    Gdiplus::GdiplusShutdown(m_gdiplusToken);
    return CWinAppEx::ExitInstance();
}

void CVELQApp::AddToRecentFileList(LPCWSTR) {}

BOOL CVELQApp::ParseArguments() { return ParseArguments(GetCommandLineW()); }

BOOL CVELQApp::ParseArguments(LPCWSTR commandLine) {
    m_runMode = RunMode::None;
    m_argument.clear();

    int count = 0;
    LPWSTR* args = CommandLineToArgvW(commandLine, &count);
    if (!args) count = 0;

    BOOL recognised = FALSE;
    if (count == 2) {
        recognised = TRUE;
        if (CompareSwitch(args[1], L"/turn-on") == 0) {
            m_runMode = RunMode::TurnOn;
        } else if (CompareSwitch(args[1], L"/turn-off") == 0) {
            m_runMode = RunMode::TurnOff;
        } else if (CompareSwitch(args[1], L"/update") == 0) {
            m_runMode = RunMode::Update;
        } else if (CompareSwitch(args[1], L"/RegisterSearch") == 0) {
            m_runMode = RunMode::RegisterSearch;
        } else if (PathFileExistsW(args[1]) && !PathIsDirectoryW(args[1])) {
            m_runMode = RunMode::OpenFile;
            m_argument = GetLongPath(args[1]);
        } else {
            recognised = FALSE;
        }
    } else if (count == 3 && CompareSwitch(args[1], L"/update") == 0) {
        // The hidden child's form: the path is taken as given, existing or not.
        m_runMode = RunMode::Update;
        m_argument = GetLongPath(args[2]);
        recognised = TRUE;
    }

    if (args) LocalFree(args);
    return recognised;
}

void CVELQApp::RunOpenFile(std::wstring path) {
    FileTarget target{path, std::wstring()};
    if (!IsVELQEnabled()) {
        RunOpenAsFallback(path);
        return;
    }

    size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos) {
        RunOpenAsFallback(path);
        LaunchUpdateProcess(path);
        return;
    }

    // The text after the last dot of the whole path, folders included.
    std::wstring categoryId;
    {
        CVELQMtMgr table;
        categoryId = table.Lookup(path.substr(dot + 1));
    }
    BOOL hasDefault = HasDefaultAssociation(path);

    if (!categoryId.empty() && !hasDefault) {
        target.categoryId = categoryId;
        ShowPromptFor(target);
        return;
    }

    RunOpenAsFallback(path);
    if (!hasDefault) LaunchUpdateProcess(path);
}

void CVELQApp::ShowPromptFor(const FileTarget& target) {
    if (IsFirstUse()) {
        // The consent dialog shows the prompt itself when the user agrees.
        RunDialog<CVELQOpenAsFirstUseDlg>(target);
    } else {
        RunDialog<CVELQOpenAsDlg>(target);
    }
}

template <class Dialog>
void CVELQApp::RunDialog(const FileTarget& target) {
    Dialog dialog(target);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
}

void CVELQApp::RunUpdate(std::wstring path) {
    std::wstring categoryId;
    CVELQMtMgr table;
    categoryId = table.Lookup(GetFileExtension(path));

    VELQCOMMON::CVELQUpdate worker(path, categoryId);
    // Nothing here sets the worker's stop event: the run lasts as long as it,
    // or as its budget.
    if (!worker.Start()) return;
    VELQTASKCOMMON::WaitForJob(worker, nullptr, nullptr, worker.runDeadline);
    // Nothing in the process ends a thread blocked in a network call, and a
    // normal exit would run the exit routines and unload WinINet under it:
    // the process ends here, at once, when the worker is still at work or
    // left a download behind. What it did not finish stays in its work
    // files, never in place, and they go first (those still held open as the
    // process ends). The exit code is the one of every update run.
    // The removal is a backstop, which no test reaches: a download given up
    // at its bound has had its side file deleted by the worker already, or
    // deletes it itself should it make it later (the job shares its
    // deletion, so the file goes as the process ends), and the worker's
    // downloads end a moment before the budget does. Only a worker still
    // inside a step as the budget ends, its copy or a picture's check
    // outlasting that moment, leaves a file that this alone removes; nothing
    // holds the worker there on cue. The next run's sweep is the last resort.
    if (VELQTASKCOMMON::IsJobRunning(worker) || VELQTASKCOMMON::HasAbandonedJobs()) {
        VELQCOMMON::RemoveRunWorkFiles(true);
        TerminateProcess(GetCurrentProcess(), 0);
    }
}

// The flag is ignored on purpose: both switches show the consent dialog
// without a file, so the user makes the choice there, and its radios start
// from the current setting, not from the switch given.
void CVELQApp::RunTurnOnOff(BOOL) { RunDialog<CVELQOpenAsFirstUseDlg>(FileTarget{}); }

namespace {

// One UTF-16 unit upper-cased alone, the way CharUpperW does for a unit
// passed in the low word of its argument.
wchar_t UpperUnit(wchar_t unit) {
    return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(
        CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(unit)))));
}

bool IsStopUnit(wchar_t unit) { return unit == L'\0' || unit == L' ' || unit == L'\t'; }

}  // namespace

int CompareSwitch(const wchar_t* argument, const wchar_t* switchText) {
    wchar_t a = UpperUnit(*argument);
    wchar_t s = UpperUnit(*switchText);
    while (a != L'\0' && a == s && a != L' ' && a != L'\t') {
        argument = CharNextW(argument);
        switchText = CharNextW(switchText);
        a = UpperUnit(*argument);
        s = UpperUnit(*switchText);
    }
    if (IsStopUnit(a) && IsStopUnit(s)) return 0;
    return static_cast<unsigned short>(a) < static_cast<unsigned short>(s) ? -1 : 1;
}

BOOL CreateDataFolders() {
    std::wstring profile;
    // A value that does not fit is never used cut short: nothing is created.
    if (!ReadAllUsersProfile(profile) || profile.empty()) return FALSE;

    std::wstring maker = profile + MakerFolderName;
    CreateDirectoryW(maker.c_str(), nullptr);
    CreateDirectoryW((maker + ProductFolderName).c_str(), nullptr);
    return TRUE;
}
