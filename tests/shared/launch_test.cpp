#include <windows.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "shared/handle.h"
#include "shared/launch.h"
#include "shared/paths.h"
#include "tests/support/environment.h"
#include "tests/support/program.h"
#include "tests/support/registry_guard.h"
#include "tests/support/temp_folder.h"

using namespace wendaro_test;

// This test program also plays the two programs that the functions start: the
// hidden update child ("<self>" /Update "<path>") and, copied into a fake
// %SystemRoot%\system32 as rundll32.exe, the system's Open With prompt. Each
// writes what it received to the file named by WENDARO_TEST_REPORT and sets
// the event named by WENDARO_TEST_EVENT.

namespace {

const DWORD Bound = 15000;
const wchar_t ReportVariable[] = L"WENDARO_TEST_REPORT";
const wchar_t EventVariable[] = L"WENDARO_TEST_EVENT";
const wchar_t ReleaseVariable[] = L"WENDARO_TEST_RELEASE";

std::wstring UniqueName(const wchar_t* what) {
    static int counter = 0;
    return std::wstring(L"wdtest_launch_") + what + L"_" + std::to_wstring(GetCurrentProcessId()) +
           L"_" + std::to_wstring(++counter);
}

// The report: one field per line, in UTF-16.
void WriteReport(const std::vector<std::wstring>& fields) {
    std::wstring text;
    for (const std::wstring& field : fields) text += field + L"\n";
    std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    WriteFileBytes(Environment(ReportVariable), bytes);
    KernelHandle done(OpenEventW(EVENT_MODIFY_STATE, FALSE, Environment(EventVariable).c_str()));
    SetEvent(done.get());
}

std::vector<std::wstring> ReadReport(const std::wstring& path) {
    std::string bytes = ReadFileBytes(path);
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    std::vector<std::wstring> fields;
    size_t start = 0;
    for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
        fields.push_back(text.substr(start, end - start));
    }
    return fields;
}

int RunAsUpdateChild(int argc, wchar_t** argv) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    WriteReport({GetCommandLineW(), std::to_wstring(argc), argv[1], argv[2], folder,
                 std::to_wstring(startup.dwFlags & STARTF_USESHOWWINDOW),
                 std::to_wstring(startup.wShowWindow)});
    return 0;
}

int RunAsRundll() {
    WriteReport({GetCommandLineW()});
    // Stay until the test has counted the processes it started.
    KernelHandle release(OpenEventW(SYNCHRONIZE, FALSE, Environment(ReleaseVariable).c_str()));
    WaitForSingleObject(release.get(), Bound);
    return 0;
}

// A report file and its event, named in the environment that children inherit.
class ChildReport {
public:
    ChildReport()
        : m_path(m_folder / L"report.txt"),
          m_eventName(UniqueName(L"done")),
          m_event(CreateEventW(nullptr, TRUE, FALSE, m_eventName.c_str())),
          m_reportVariable(ReportVariable, m_path.c_str()),
          m_eventVariable(EventVariable, m_eventName.c_str()) {}

    bool Wait() { return WaitForSingleObject(m_event.get(), Bound) == WAIT_OBJECT_0; }
    std::vector<std::wstring> Fields() { return ReadReport(m_path); }
    const TempFolder& folder() const { return m_folder; }

private:
    TempFolder m_folder;
    std::wstring m_path;
    std::wstring m_eventName;
    KernelHandle m_event;
    ScopedEnvironment m_reportVariable;
    ScopedEnvironment m_eventVariable;
};

bool SameFolder(std::wstring a, std::wstring b) {
    while (!a.empty() && a.back() == L'\\') a.pop_back();
    while (!b.empty() && b.back() == L'\\') b.pop_back();
    return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

int ChildrenNamed(const wchar_t* exeName) {
    KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID == GetCurrentProcessId() &&
            _wcsicmp(entry.szExeFile, exeName) == 0) {
            ++count;
        }
    }
    return count;
}

}  // namespace

TEST(LaunchUpdateProcess, ChildGetsThePathWholeHiddenInTheProgramFolder) {
    ChildReport report;
    std::wstring path = L"C:\\some folder\\a file with blanks.xyz";
    ASSERT_TRUE(LaunchUpdateProcess(path));
    ASSERT_TRUE(report.Wait());

    std::vector<std::wstring> fields = report.Fields();
    ASSERT_EQ(7u, fields.size());
    EXPECT_EQ(L"\"" + SelfPath() + L"\" /Update \"" + path + L"\"", fields[0]);
    EXPECT_EQ(L"3", fields[1]);
    EXPECT_EQ(L"/Update", fields[2]);
    EXPECT_EQ(path, fields[3]);
    EXPECT_TRUE(SameFolder(GetModuleDirectory(), fields[4])) << fields[4];
    EXPECT_EQ(L"1", fields[5]);
    EXPECT_EQ(std::to_wstring(SW_HIDE), fields[6]);
}

TEST(LaunchUpdateProcess, ACommandLineThatDoesNotFitStartsNothing) {
    // Quotes, " /Update " and the terminator leave 766 characters for the two paths.
    size_t room = 766 - SelfPath().size();
    std::wstring longest = L"C:\\" + std::wstring(room - 9, L'p') + L"\\f.xyz";
    ASSERT_EQ(room, longest.size());

    ChildReport report;
    ASSERT_TRUE(LaunchUpdateProcess(longest));
    ASSERT_TRUE(report.Wait());
    std::vector<std::wstring> fields = report.Fields();
    ASSERT_EQ(7u, fields.size());
    EXPECT_EQ(longest, fields[3]);

    EXPECT_FALSE(LaunchUpdateProcess(longest + L"x"));
}

TEST(RunOpenAsFallback, HandsAnExistingFileToTheSystemPromptUnquoted) {
    // A fake %SystemRoot% whose rundll32.exe is this program.
    ChildReport report;
    TempFolder systemRoot;
    ASSERT_TRUE(CreateDirectoryW((systemRoot / L"system32").c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(SelfPath().c_str(), (systemRoot / L"system32\\rundll32.exe").c_str(), FALSE));
    std::wstring releaseName = UniqueName(L"release");
    KernelHandle release(CreateEventW(nullptr, TRUE, FALSE, releaseName.c_str()));
    ScopedEnvironment releaseVariable(ReleaseVariable, releaseName.c_str());

    std::wstring folder = report.folder() / L"docs folder";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::wstring file = folder + L"\\my file.xyz";
    ASSERT_TRUE(WriteFileBytes(file, "data"));
    {
        ScopedEnvironment root(L"SystemRoot", systemRoot.path().c_str());
        RunOpenAsFallback(folder);
        RunOpenAsFallback(folder + L"\\deleted.xyz");
        RunOpenAsFallback(file);
    }
    ASSERT_TRUE(report.Wait());
    // Each started prompt waits for the release, so all of them are counted.
    EXPECT_EQ(1, ChildrenNamed(L"rundll32.exe"));
    SetEvent(release.get());

    std::vector<std::wstring> fields = report.Fields();
    ASSERT_EQ(1u, fields.size());
    std::wstring expectedEnd =
        L"\"" + systemRoot.path() + L"\\system32\\shell32.dll\",OpenAs_RunDLL " + file;
    ASSERT_GE(fields[0].size(), expectedEnd.size());
    EXPECT_EQ(expectedEnd, fields[0].substr(fields[0].size() - expectedEnd.size())) << fields[0];
}

TEST(HasDefaultAssociation, LooksOnlyAtTheFileNamesExtension) {
    // The association service reads the machine's classes.
    std::wstring extension = L"wd" + std::to_wstring(GetCurrentProcessId());
    std::wstring classKey = L"Software\\Classes\\." + extension;
    RegistryGuard guard(HKEY_LOCAL_MACHINE, classKey.c_str());
    RegistryGuard dotGuard(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.");
    ASSERT_TRUE(SetString(HKEY_LOCAL_MACHINE, classKey.c_str(), L"", L"wdtestfile"));
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));

    EXPECT_TRUE(HasDefaultAssociation(L"C:\\x\\readme." + extension));
    EXPECT_TRUE(HasDefaultAssociation(L"C:\\x.y\\archive.tar." + extension));
    EXPECT_FALSE(HasDefaultAssociation(L"C:\\dir." + extension + L"\\readme"));
    EXPECT_FALSE(HasDefaultAssociation(L"C:\\x\\readme.wdnoprogram"));
    EXPECT_FALSE(HasDefaultAssociation(L"C:\\x\\readme"));
    // A name without an extension asks about "." itself.
    ASSERT_TRUE(SetString(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.", L"", L"wdtestfile"));
    EXPECT_TRUE(HasDefaultAssociation(L"C:\\x\\readme"));
    EXPECT_TRUE(HasDefaultAssociation(L"C:\\dir." + extension + L".x\\readme"));
    CoUninitialize();
}

TEST(GetStoreCategoryURL, PutsTheIdBetweenThePrefixAndTheQuery) {
    EXPECT_EQ(L"http://shop.fernhollow.example/store/morvane/en_US/DisplayCategoryProductListPage/"
              L"categoryID.42/?jumpid=ex_dkds_tessaly",
              GetStoreCategoryURL(L"42"));
    EXPECT_EQ(L"http://shop.fernhollow.example/store/morvane/en_US/DisplayCategoryProductListPage/"
              L"categoryID./?jumpid=ex_dkds_tessaly",
              GetStoreCategoryURL(L""));
}

int wmain(int argc, wchar_t** argv) {
    if (_wcsicmp(PathFindFileNameW(SelfPath().c_str()), L"rundll32.exe") == 0) return RunAsRundll();
    if (argc == 3 && std::wstring(argv[1]) == L"/Update") return RunAsUpdateChild(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
