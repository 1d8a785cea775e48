// The prompt at 120 and 144 DPI. These run in prefixes of their own whose
// LogPixels is set (own_prefix.sh); elsewhere they are skipped.
#include <gtest/gtest.h>

#include <string>

#include "resources/dialog_ids.h"
#include "tests/app/dialogs/dialog_fixture.h"

using namespace wendaro_test;

namespace {

using Dpi120 = AtDpi<120>;
using Dpi144 = AtDpi<144>;

TEST_F(Dpi120, ScalesTheLayoutButNotTheAnimation) {
    DialogState state;
    RunPrompt(folder.File(L"scaled.velq"), L"dpi", [&](HWND dialog) {
        state = ReadDialog(dialog);
        SaveScreenshot(dialog, L"prompt-120dpi");
    });
    EXPECT_EQ(737, state.size.cx);
    EXPECT_EQ(395, state.size.cy);
    // The 96-DPI table times 1.25, truncated.
    ExpectPlacements(state, {
        {IDOK, 487, 315, 100, 31}, {IDCANCEL, 600, 315, 100, 31}, {IDC_STATIC_TITLE, 90, 25, 337, 25},
        {IDC_STATIC_FILENAME, 90, 50, 322, 25}, {IDC_STATIC_QUESTION, 90, 100, 322, 25},
        {IDC_STATIC_VERSION, 91, 322, 250, 25}, {IDC_RADIO_STORE, 70, 137, 362, 50},
        {IDC_RADIO_OPENWITH, 70, 187, 331, 50}, {IDC_RADIO_WINDOWS, 70, 237, 331, 50},
        {IDC_BTN_PREV, 495, 123, 21, 22}, {IDC_BTN_NEXT, 673, 123, 21, 22},
        // Centred on the scaled picture area, at the frames' own size.
        {IDC_ANIMATION, 504, 49, 180, 194},
    });
}

TEST_F(Dpi144, KeepsAPictureThatFitsAtItsOwnSizeInAScaledBox) {
    WritePicture(folder.Pictures(L"big") + L"\\pic01.png", 150, 150, RGB(0, 90, 0));
    DialogState state;
    RunPrompt(folder.File(L"file.big"), L"dpi", [&](HWND dialog) { state = ReadDialog(dialog); });
    EXPECT_TRUE(HasRect(state.controls[IDC_PICTURE].rect, 601, 46, 225, 225));
    EXPECT_TRUE(HasRect(state.controls[IDC_BTN_DOT1].rect, 709, 292, 7, 7)) << "a single dot";
}

TEST_F(Dpi144, SpacesThreeDotsByTheScaledStep) {
    std::wstring pictures = folder.Pictures(L"three");
    for (int i = 1; i <= 3; ++i) {
        WritePicture(pictures + L"\\pic0" + std::to_wstring(i) + L".png", 30, 30, RGB(0, 0, 90));
    }
    DialogState state;
    RunPrompt(folder.File(L"file.three"), L"dpi", [&](HWND dialog) {
        state = ReadDialog(dialog);
        SaveScreenshot(dialog, L"prompt-144dpi-three-pictures");
    });
    ASSERT_EQ(3, VisibleDots(state));
    ExpectPlacements(state,
                     {{IDC_BTN_DOT1, 683, 292, 7, 7}, {IDC_BTN_DOT2, 710, 292, 7, 7}, {IDC_BTN_DOT3, 737, 292, 7, 7}});
}

}  // namespace
