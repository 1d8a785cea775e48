#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "app/velq_app.h"
#include "resources/dialog_ids.h"
#include "shared/constants.h"
#include "tests/app/dialogs/dialog_driver.h"
#include "tests/app/dialogs/dialog_fixture.h"
#include "tests/app/dialogs/fake_programs.h"
#include "tests/support/data_folder.h"
#include "tests/support/registry_guard.h"
#include "tests/support/temp_folder.h"

using namespace wendaro_test;

namespace {

// Counts the processes this one starts: everything it starts joins its job.
class ProcessCounter {
public:
    ProcessCounter() : m_job(CreateJobObjectW(nullptr, nullptr)) {
        m_joined = m_job && AssignProcessToJobObject(m_job, GetCurrentProcess());
    }
    ~ProcessCounter() {
        if (m_job) CloseHandle(m_job);
    }
    bool ready() const { return m_joined; }
    DWORD Total() const {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
        QueryInformationJobObject(m_job, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr);
        return info.TotalProcesses;
    }

private:
    HANDLE m_job;
    bool m_joined = false;
};

class RunOpenFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(processes.ready());
        ASSERT_TRUE(openWith.ready());
        std::wstring dataFolder;
        ASSERT_TRUE(MakeDataFolderUnder(folder.root(), &dataFolder));
        ASSERT_TRUE(WriteFileBytes(dataFolder + MappingTableFileName,
            "<?xml version=\"1.0\"?><c:Configuration xmlns:c=\"http://config.dravik.example/cfg/\">"
            "<c:CfgGroup><c:CfgItem><c:E name=\"e\">wdq</c:E><c:C name=\"c\">4711</c:C></c:CfgItem>"
            "</c:CfgGroup></c:Configuration>"));
        ASSERT_TRUE(SetDword(HKEY_CURRENT_USER, ProductRegistryKey, FirstUse, 1));
    }

    std::wstring MakeFile(const std::wstring& name) {
        std::wstring path = folder.File(name);
        EXPECT_TRUE(WriteFileBytes(path, "x"));
        return path;
    }

    // Runs the mode for the file and tells how many processes it started;
    // waits until the stand-ins it started have written their logs.
    DWORD Run(const std::wstring& path, size_t expectedLines) {
        DWORD before = processes.Total();
        {
            FakeOpenWith::Redirect redirect(openWith);
            app.RunOpenFile(path);
        }
        DWORD started = processes.Total() - before;
        WaitUntil([&] { return Lines(openWith.Log()) + Lines(ReadText(folder.ChildLog())) >= expectedLines; },
                  10000);
        return started;
    }

    static size_t Lines(const std::wstring& text) {
        size_t n = 0;
        for (wchar_t c : text) n += c == L'\n';
        return n;
    }

    ProcessCounter processes;
    ProductRegistry product;
    DataFolder folder;
    TempFolder tools;
    FakeOpenWith openWith{tools.path()};
    CVELQApp app;
};

// A class key of the machine gives the extension a default program.
class DefaultProgram {
public:
    explicit DefaultProgram(const std::wstring& extension)
        : m_key(L"Software\\Classes\\." + extension), m_guard(HKEY_LOCAL_MACHINE, m_key.c_str()) {
        SetString(HKEY_LOCAL_MACHINE, m_key.c_str(), L"", L"wdtestfile");
    }

private:
    std::wstring m_key;
    RegistryGuard m_guard;
};

TEST_F(RunOpenFileTest, SwitchedOffOnlyHandsTheFileToWindows) {
    ASSERT_TRUE(SetDword(HKEY_CURRENT_USER, ProductRegistryKey, EnableVELQ, 0));
    std::wstring path = MakeFile(L"report.wdq");
    EXPECT_EQ(1u, Run(path, 1));
    EXPECT_NE(std::wstring::npos, openWith.Log().find(L"OpenAs_RunDLL " + path));
    EXPECT_TRUE(ReadText(folder.ChildLog()).empty());
}

TEST_F(RunOpenFileTest, NoDotHandsTheFileToWindowsAndStartsTheChild) {
    std::wstring path = MakeFile(L"readme");
    DefaultProgram ignored(L"");  // not asked: a name without a dot is never looked up
    EXPECT_EQ(2u, Run(path, 2));
    EXPECT_NE(std::wstring::npos, openWith.Log().find(L"OpenAs_RunDLL " + path));
    EXPECT_NE(std::wstring::npos, ReadText(folder.ChildLog()).find(L"/Update \"" + path + L"\""));
}

TEST_F(RunOpenFileTest, NoCategoryHandsTheFileToWindowsAndStartsTheChild) {
    std::wstring path = MakeFile(L"notes.wdnone");
    EXPECT_EQ(2u, Run(path, 2));
    EXPECT_NE(std::wstring::npos, openWith.Log().find(L"OpenAs_RunDLL " + path));
    EXPECT_NE(std::wstring::npos, ReadText(folder.ChildLog()).find(L"/Update \"" + path + L"\""));
}

TEST_F(RunOpenFileTest, ADefaultProgramGetsNoChild) {
    DefaultProgram mapped(L"wdq");
    DefaultProgram unmapped(L"wdnone");
    for (const wchar_t* name : {L"report.wdq", L"notes.wdnone"}) {
        std::wstring path = MakeFile(name);
        EXPECT_EQ(1u, Run(path, 1)) << path;
    }
    EXPECT_TRUE(ReadText(folder.ChildLog()).empty());
}

TEST_F(RunOpenFileTest, ACategoryWithoutProgramShowsThePromptOrTheConsentDialog) {
    std::wstring path = MakeFile(L"report.wdq");
    struct Case {
        bool firstUse;
        int ownControl;  // a control only that dialog has
        DWORD started;   // the prompt starts its child; a cancelled consent nothing
    } cases[] = {{false, IDC_ANIMATION, 1}, {true, IDC_RADIO_YES, 0}};
    for (const Case& c : cases) {
        if (c.firstUse) RegDeleteKeyValueW(HKEY_CURRENT_USER, ProductRegistryKey, FirstUse);
        bool sawDialog = false;
        std::thread driver([&] {
            HWND dialog = WaitForDialog(GetCurrentProcessId(), PromptCaption, 10000);
            if (!dialog) return;
            sawDialog = GetDlgItem(dialog, c.ownControl) != nullptr;
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        DWORD before = processes.Total();
        {
            FakeOpenWith::Redirect redirect(openWith);
            app.RunOpenFile(path);
        }
        DWORD started = processes.Total() - before;
        driver.join();
        EXPECT_TRUE(sawDialog) << c.firstUse;
        EXPECT_EQ(c.started, started) << c.firstUse;
        EXPECT_TRUE(openWith.Log().empty());
    }
}

}  // namespace
