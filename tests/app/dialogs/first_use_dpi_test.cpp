// The consent dialog and the notice at 120 DPI (scale 1.25), and the
// question and the notice of the consent dialog at 144 DPI. These run in prefixes of their
// own whose LogPixels is 120 or 144 (own_prefix.sh); elsewhere they are
// skipped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/dialog_ids.h"
#include "tests/app/dialogs/dialog_fixture.h"

using namespace wendaro_test;

namespace {

using FirstUseAt120 = WithSettingsAtDpi<120>;

TEST_F(FirstUseAt120, BothFormsScaleAndTheToolTipKeepsItsOwnRectangle) {
    DialogState noFile;
    DialogState file;
    ToolTipState tip;
    COLORREF line = 0;
    ConsentTexts texts[2];
    RunFirstUse(FileTarget{}, [&](HWND dialog) {
        noFile = ReadDialog(dialog);
        tip = ReadNoticeToolTip(dialog);
        Repaint(dialog);
        line = ScreenPixel(dialog, {12, 236});  // trunc(189 x 1.25)
        texts[0] = ReadConsentTexts(dialog);
        SaveScreenshot(dialog, L"first-use-no-file-120dpi");
    });
    RunFirstUse(FileTarget{folder.File(L"scaled.velq"), L"9"}, [&](HWND dialog) {
        file = ReadDialog(dialog);
        texts[1] = ReadConsentTexts(dialog);
        SaveScreenshot(dialog, L"first-use-file-120dpi");
    });
    ExpectConsentTextsShow(texts[0], "without a file");
    ExpectConsentTextsShow(texts[1], "with a file");

    EXPECT_EQ(737, noFile.size.cx);
    EXPECT_EQ(337, noFile.size.cy);
    EXPECT_TRUE(HasRect(noFile.controls[IDC_RICH_INFO].rect, 90, 78, 593, 75));
    EXPECT_TRUE(HasRect(noFile.controls[IDC_RADIO_NO].rect, 387, 181, 275, 37));
    EXPECT_TRUE(HasRect(noFile.controls[IDCANCEL].rect, 600, 253, 97, 31));
    EXPECT_EQ(RGB(0xC6, 0xC6, 0xC6), line);

    EXPECT_EQ(737, file.size.cx);
    EXPECT_EQ(312, file.size.cy);
    EXPECT_TRUE(HasRect(file.controls[IDC_FIRSTUSE_QUESTION].rect, 90, 56, 625, 62));
    EXPECT_TRUE(HasRect(file.controls[IDC_LINK_MAKER_PRIVACY].rect, 275, 235, 175, 31));

    // Not the scaled (75, 12, 150, 31).
    ASSERT_TRUE(tip.found);
    EXPECT_TRUE(HasRect(tip.rect, 76, 13, 70, 18));
}

TEST_F(FirstUseAt120, NoticeScales) {
    DialogState state;
    COLORREF line[3] = {};
    RunTurnOn([&](HWND notice) {
        state = ReadDialog(notice);
        Repaint(notice);
        // The line is (12, 88) 496 x 1.
        line[0] = ScreenPixel(notice, {12, 88});
        line[1] = ScreenPixel(notice, {507, 88});
        line[2] = ScreenPixel(notice, {300, 89});
        SaveScreenshot(notice, L"turn-on-notice-120dpi");
    });
    EXPECT_EQ(528, state.size.cx);
    EXPECT_EQ(183, state.size.cy);
    EXPECT_TRUE(HasRect(state.controls[IDC_TURNON_TEXT].rect, 32, 30, 468, 50));
    EXPECT_TRUE(HasRect(state.controls[IDOK].rect, 403, 103, 100, 31));
    EXPECT_EQ(RGB(0xC6, 0xC6, 0xC6), line[0]);
    EXPECT_EQ(RGB(0xC6, 0xC6, 0xC6), line[1]);
    EXPECT_NE(RGB(0xC6, 0xC6, 0xC6), line[2]);
}

using FirstUseAt144 = WithSettingsAtDpi<144>;

TEST_F(FirstUseAt144, TheQuestionAndTheNoticeShowInBothForms) {
    ConsentTexts texts[2];
    RunFirstUse(FileTarget{}, [&](HWND dialog) {
        texts[0] = ReadConsentTexts(dialog);
        SaveScreenshot(dialog, L"first-use-no-file-144dpi");
    });
    RunFirstUse(FileTarget{folder.File(L"scaled.velq"), L"9"}, [&](HWND dialog) {
        texts[1] = ReadConsentTexts(dialog);
        SaveScreenshot(dialog, L"first-use-file-144dpi");
    });
    ExpectConsentTextsShow(texts[0], "without a file");
    ExpectConsentTextsShow(texts[1], "with a file");
}

}  // namespace
