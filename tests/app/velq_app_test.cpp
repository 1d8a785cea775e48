#include <gtest/gtest.h>

#include <shlwapi.h>

#include "app/velq_app.h"
#include "tests/support/data_folder.h"
#include "tests/support/environment.h"
#include "tests/support/program.h"
#include "tests/support/registry_guard.h"
#include "tests/support/temp_folder.h"

using namespace wendaro_test;

namespace {

const wchar_t kSearchKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\SearchExtensions";

TEST(CompareSwitch, IgnoresCaseAndStopsAtBlankOrTab) {
    EXPECT_EQ(0, CompareSwitch(L"/update", L"/update"));
    EXPECT_EQ(0, CompareSwitch(L"/UPDATE", L"/update"));
    EXPECT_EQ(0, CompareSwitch(L"/registersearch", L"/RegisterSearch"));
    EXPECT_EQ(0, CompareSwitch(L"/turn-on more text", L"/turn-on"));
    EXPECT_EQ(0, CompareSwitch(L"/update\tx", L"/update"));
}

TEST(CompareSwitch, PrefixesAndLongerWordsDoNotMatch) {
    EXPECT_EQ(-1, CompareSwitch(L"/upd", L"/update"));    // NUL is below 'A'
    EXPECT_EQ(1, CompareSwitch(L"/update-x", L"/update"));
    EXPECT_EQ(-1, CompareSwitch(L"", L"/update"));
    EXPECT_EQ(1, CompareSwitch(L"/z", L"/update"));
}

class ParseArgumentsTest : public ::testing::Test {
protected:
    TempFolder folder;
    CVELQApp app;
};

TEST_F(ParseArgumentsTest, RecognisesEverySwitchAlone) {
    struct Case {
        const wchar_t* line;
        RunMode mode;
    } cases[] = {
        {L"w.exe /turn-on", RunMode::TurnOn},
        {L"w.exe /TURN-OFF", RunMode::TurnOff},
        {L"w.exe /update", RunMode::Update},
        {L"w.exe /registersearch", RunMode::RegisterSearch},
        {L"w.exe \"/update and more\"", RunMode::Update},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(app.ParseArguments(c.line)) << c.line;
        EXPECT_EQ(c.mode, app.GetRunMode()) << c.line;
        EXPECT_TRUE(app.GetArgument().empty()) << c.line;
    }
}

TEST_F(ParseArgumentsTest, ChildFormTakesThePathWithoutCheckingIt) {
    ASSERT_TRUE(app.ParseArguments(L"w.exe /Update \"C:\\no such\\file.pdf\""));
    EXPECT_EQ(RunMode::Update, app.GetRunMode());
    EXPECT_EQ(L"C:\\no such\\file.pdf", app.GetArgument());

    ASSERT_TRUE(app.ParseArguments(L"w.exe /UPDATE relative.txt"));
    EXPECT_EQ(L"relative.txt", app.GetArgument());
}

TEST_F(ParseArgumentsTest, AnExistingFileIsOpenedByItsLongPath) {
    std::wstring longName = folder / L"a long file name.pdf";
    ASSERT_TRUE(WriteFileBytes(longName, "x"));
    wchar_t shortName[MAX_PATH];
    ASSERT_NE(0u, GetShortPathNameW(longName.c_str(), shortName, MAX_PATH));

    ASSERT_TRUE(app.ParseArguments((L"w.exe " + QuoteArgument(shortName)).c_str()));
    EXPECT_EQ(RunMode::OpenFile, app.GetRunMode());
    EXPECT_EQ(0, lstrcmpiW(longName.c_str(), app.GetArgument().c_str()));
}

TEST_F(ParseArgumentsTest, UnrecognisedLinesGiveNoMode) {
    std::wstring file = folder / L"f.txt";
    ASSERT_TRUE(WriteFileBytes(file, "x"));
    const std::wstring lines[] = {
        L"w.exe",
        L"w.exe /turn-on second",
        L"w.exe /upd",
        L"w.exe /update-x",
        L"w.exe " + QuoteArgument(folder.path()),               // a folder
        L"w.exe " + QuoteArgument(folder / L"missing.pdf"),     // no such file
        L"w.exe " + QuoteArgument(file) + L" " + QuoteArgument(file),
        L"w.exe /update a b",
    };
    for (const std::wstring& line : lines) {
        EXPECT_FALSE(app.ParseArguments(line.c_str())) << line;
        EXPECT_EQ(RunMode::None, app.GetRunMode()) << line;
        EXPECT_TRUE(app.GetArgument().empty()) << line;
    }
}

TEST(CreateDataFolders, MakesMakerAndProductFolders) {
    TempFolder folder;
    ScopedEnvironment profile(L"ALLUSERSPROFILE", folder.path().c_str());
    EXPECT_TRUE(CreateDataFolders());
    EXPECT_TRUE(PathIsDirectoryW(DataFolderUnder(folder.path()).c_str()));
    EXPECT_TRUE(CreateDataFolders());  // existing folders are fine
}

TEST(CreateDataFolders, MissingOrOverlongProfileCreatesNothing) {
    {
        ScopedEnvironment profile(L"ALLUSERSPROFILE", nullptr);
        EXPECT_FALSE(CreateDataFolders());
    }
    TempFolder folder;
    std::wstring deep = folder.path() + L"\\" + std::wstring(259 - folder.path().size(), L'd');
    ASSERT_GE(deep.size(), 259u);
    ScopedEnvironment profile(L"ALLUSERSPROFILE", deep.c_str());
    EXPECT_FALSE(CreateDataFolders());
    EXPECT_FALSE(PathFileExistsW(deep.substr(0, 258).c_str()));
}

// The real program, started with real command lines.
class ProgramTest : public ::testing::Test {
protected:
    ProductRegistry product;
    RegistryGuard search{HKEY_CURRENT_USER, kSearchKey};
    TempFolder folder;
    ScopedEnvironment profile{L"ALLUSERSPROFILE", folder.path().c_str()};
};

TEST_F(ProgramTest, RegisterSearchWritesTheTwoExplorerValues) {
    ProgramRun run = RunProgram(L"/RegisterSearch");
    ASSERT_TRUE(run.finished);
    wchar_t caption[128] = {};
    DWORD size = sizeof caption;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, kSearchKey, L"InternetExtensionName",
                                          RRF_RT_REG_SZ, nullptr, caption, &size));
    EXPECT_STREQ(L"Find Software on Dravik Download Store", caption);
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kSearchKey, L"InternetExtensionAction"));
    EXPECT_TRUE(PathIsDirectoryW(DataFolderUnder(folder.path()).c_str()));
    // Nothing of the program's own settings is written.
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, ProductRegistryKey, EnableVELQ));
}

TEST_F(ProgramTest, UnrecognisedLineStartsAndEndsWithoutEffect) {
    ProgramRun run = RunProgram(L"/no-such-switch");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(PathIsDirectoryW(DataFolderUnder(folder.path()).c_str()));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kSearchKey, L"InternetExtensionName"));
    HKEY key = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, ProductRegistryKey, 0, KEY_READ, &key));
}

// Folders of 200-character names, so that a path through them is longer than
// the 1,024 characters Wine's long-form conversion can hold.
TEST_F(ProgramTest, PathsLongerThanTheLongFormBufferEndNormally) {
    std::wstring deep = folder.path();
    for (int level = 0; level < 4; ++level) {
        deep += L"\\" + std::wstring(200, L'd');
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
    }
    std::wstring file = deep + L"\\" + std::wstring(1040 - deep.size() - 5, L'f') + L".wdx";
    ASSERT_EQ(1040u, file.size());
    ASSERT_TRUE(WriteFileBytes(L"\\\\?\\" + file, "x"));
    std::wstring missing = deep + L"\\" + std::wstring(1100 - deep.size() - 5, L'm') + L".wdx";
    ASSERT_EQ(1100u, missing.size());

    for (const std::wstring& arguments : {QuoteArgument(file), L"/update " + QuoteArgument(missing)}) {
        ProgramRun run = RunProgram(arguments);
        ASSERT_TRUE(run.finished) << arguments.size();
        EXPECT_EQ(0u, run.exitCode) << arguments.size();
    }
}

}  // namespace
