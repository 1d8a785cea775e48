// /turn-on and /turn-off on the real program: both show the consent dialog
// without a file, and its answer is what switches Wendaro on or off.
#include <gtest/gtest.h>

#include <string>

#include "resources/dialog_ids.h"
#include "tests/app/dialogs/dialog_fixture.h"
#include "tests/support/program.h"

using namespace wendaro_test;

namespace {

// The program started with a switch; killed if a test leaves it running.
class Running {
public:
    explicit Running(const wchar_t* arguments) : m_process(wendaro_test::StartProgram(arguments)) {}
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

    // The consent dialog it shows, or null after 15 s.
    HWND Consent() const {
        return m_process ? WaitForDialog(GetProcessId(m_process), ConsentCaption, 15000) : nullptr;
    }
    HWND Notice() const { return WaitForDialog(GetProcessId(m_process), NoticeCaption, 10000); }
    bool Ends(DWORD timeoutMs) const { return WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0; }

private:
    HANDLE m_process;
};

class TurnOnOff : public ::testing::Test {
protected:
    // The form without a file; the switch does not preset the answer, and
    // EnableVELQ is missing here, so Yes.
    void ExpectNoFileForm(HWND dialog) {
        EXPECT_EQ(L"The Wendaro recommends free and for-purchase applications from the Dravik "
                  L"Download Store to open files.",
                  ReadDialog(dialog).controls[IDC_FIRSTUSE_HEADLINE].text);
        EXPECT_EQ(BST_CHECKED, CheckState(dialog, IDC_RADIO_YES));
    }
    wendaro_test::ProductRegistry product;
    DataFolder folder;
};

TEST_F(TurnOnOff, TurnOnShowsTheNoFileFormAndYesShowsTheNotice) {
    Running program(L"/turn-on");
    HWND dialog = program.Consent();
    ASSERT_NE(nullptr, dialog);
    ExpectNoFileForm(dialog);
    EXPECT_FALSE(SaveScreenshot(dialog, L"program-turn-on").empty());

    PressOk(dialog);
    HWND notice = program.Notice();
    ASSERT_NE(nullptr, notice);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_FALSE(SaveScreenshot(notice, L"program-turn-on-notice").empty());
    Click(notice, IDOK);

    EXPECT_TRUE(program.Ends(10000));
    ExpectSetting(L"FirstUse", 1);
    ExpectSetting(L"EnableVELQ", 1);
}

TEST_F(TurnOnOff, TurnOffShowsTheSameFormAndNoSwitchesOff) {
    Running program(L"/turn-off");
    HWND dialog = program.Consent();
    ASSERT_NE(nullptr, dialog);
    ExpectNoFileForm(dialog);

    Click(dialog, IDC_RADIO_NO);
    PressOk(dialog);
    EXPECT_TRUE(program.Ends(10000));
    ExpectSetting(L"FirstUse", 1);
    ExpectSetting(L"EnableVELQ", 0);
}

}  // namespace
