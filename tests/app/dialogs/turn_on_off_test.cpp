// /turn-on and /turn-off on the real program: both show the consent dialog
// without a file, and its answer is what switches Wendaro on or off.
#include <gtest/gtest.h>

#include <string>

#include "tests/app/dialogs/first_use_driver.h"
#include "tests/app/dialogs/prompt_driver.h"
#include "tests/support/program.h"
#include "tests/support/registry_guard.h"
#include "tests/support/temp_folder.h"

using namespace firstusetest;
using prompttest::Click;
using prompttest::ReadPrompt;

namespace {

const wchar_t Key[] = L"Software\\Dravik\\Wendaro";
const wchar_t NoFileHeadline[] =
    L"The Wendaro recommends free and for-purchase applications from the Dravik Download Store to "
    L"open files.";

// The program started with a switch; killed if a test leaves it running.
class Running {
public:
    explicit Running(const wchar_t* arguments) : m_process(testsupport::StartProgram(arguments)) {}
    ~Running() {
        if (!m_process) return;
        if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process, 1);
            WaitForSingleObject(m_process, 5000);
        }
        CloseHandle(m_process);
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

    bool started() const { return m_process != nullptr; }
    DWORD id() const { return GetProcessId(m_process); }
    bool Ends(DWORD timeoutMs) const { return WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0; }

private:
    HANDLE m_process;
};

class TurnOnOff : public ::testing::Test {
protected:
    bool Value(const wchar_t* name, DWORD* value) const {
        return testsupport::GetDword(HKEY_CURRENT_USER, Key, name, value);
    }

    testsupport::ProductRegistry product;
    testsupport::TempFolder folder;
    testsupport::ScopedEnvironment profile{L"ALLUSERSPROFILE", folder.path().c_str()};
};

TEST_F(TurnOnOff, TurnOnShowsTheNoFileFormAndYesShowsTheNotice) {
    Running program(L"/turn-on");
    ASSERT_TRUE(program.started());
    HWND dialog = WaitForDialog(program.id(), ConsentCaption, 15000);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(NoFileHeadline, ReadPrompt(dialog).controls[1030].text);
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageW(dialog, 1018, BM_GETCHECK, 0, 0));
    EXPECT_FALSE(prompttest::SaveScreenshot(dialog, L"program-turn-on").empty());

    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    HWND notice = WaitForDialog(program.id(), NoticeCaption, 10000);
    ASSERT_NE(nullptr, notice);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_FALSE(prompttest::SaveScreenshot(notice, L"program-turn-on-notice").empty());
    Click(notice, IDOK);

    EXPECT_TRUE(program.Ends(10000));
    DWORD value = 0;
    ASSERT_TRUE(Value(L"FirstUse", &value));
    EXPECT_EQ(1u, value);
    ASSERT_TRUE(Value(L"EnableVELQ", &value));
    EXPECT_EQ(1u, value);
}

TEST_F(TurnOnOff, TurnOffShowsTheSameFormAndNoSwitchesOff) {
    Running program(L"/turn-off");
    ASSERT_TRUE(program.started());
    HWND dialog = WaitForDialog(program.id(), ConsentCaption, 15000);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(NoFileHeadline, ReadPrompt(dialog).controls[1030].text);
    // The switch does not preset the answer: EnableVELQ is missing, so Yes.
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageW(dialog, 1018, BM_GETCHECK, 0, 0));

    Click(dialog, 1019);
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(program.Ends(10000));
    DWORD value = 0;
    ASSERT_TRUE(Value(L"FirstUse", &value));
    EXPECT_EQ(1u, value);
    ASSERT_TRUE(Value(L"EnableVELQ", &value));
    EXPECT_EQ(0u, value);
}

}  // namespace
