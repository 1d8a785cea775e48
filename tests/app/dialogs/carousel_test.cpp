// The picture carousel of the prompt at 96 DPI: which files become pictures,
// where they and the dots go, stepping through them, and rescans.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/dialog_ids.h"
#include "shared/task/named_event.h"
#include "shared/task/picture_watcher.h"
#include "tests/app/dialogs/dialog_fixture.h"
#include "tests/support/gdi_objects.h"

using namespace wendaro_test;

namespace {

class Carousel : public AtDpi<96> {
protected:
    // The prompt's state for a file of the extension, read right after it shows.
    DialogState Show(const std::wstring& extension) {
        DialogState state;
        RunPrompt(folder.File(L"file." + extension), L"carousel",
                  [&](HWND dialog) { state = ReadDialog(dialog); });
        return state;
    }
};

// The repeat counts the animations of this thread are asked to play with.
std::vector<int> g_plays;

LRESULT CALLBACK RecordPlay(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == ACM_PLAY) g_plays.push_back(static_cast<int>(sent->wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Arrow clicks sent anyway (Previous would step to index -1) change nothing.
// The animation is played for ever: under Wine a clip that plays once would
// look the same, as opening it already plays it.
TEST_F(Carousel, NoFolderShowsTheAnimationAlone) {
    DialogState state, afterArrows;
    g_plays.clear();
    Hook plays(SetWindowsHookExW(WH_CALLWNDPROC, RecordPlay, nullptr, GetCurrentThreadId()));
    ASSERT_TRUE(plays.valid());
    RunPrompt(folder.File(L"file.nofolder"), L"carousel", [&](HWND dialog) {
        state = ReadDialog(dialog);
        for (int arrow : {IDC_BTN_PREV, IDC_BTN_NEXT}) {
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(arrow, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, arrow)));
        }
        afterArrows = ReadDialog(dialog);
    });
    plays.reset();
    EXPECT_EQ(std::vector<int>{-1}, g_plays);
    EXPECT_TRUE(state.controls[IDC_ANIMATION].visible);
    EXPECT_FALSE(state.controls[IDC_PICTURE].visible);
    EXPECT_EQ(0, VisibleDots(state));
    EXPECT_FALSE(state.controls[IDC_BTN_PREV].visible);
    EXPECT_FALSE(state.controls[IDC_BTN_NEXT].visible);

    const RECT before = state.controls[IDC_PICTURE].rect;
    EXPECT_TRUE(HasRect(afterArrows.controls[IDC_PICTURE].rect, before.left, before.top,
                        before.right - before.left, before.bottom - before.top));
    EXPECT_FALSE(afterArrows.controls[IDC_PICTURE].visible);
    EXPECT_TRUE(afterArrows.controls[IDC_ANIMATION].visible);
    EXPECT_EQ(0, VisibleDots(afterArrows));
}

TEST_F(Carousel, OnePictureBesideTheCategoryListGivesOneDotAndNoArrows) {
    std::wstring pictures = folder.Pictures(L"one");
    wendaro_test::WriteFileBytes(pictures + L"\\12345.xml", "<list/>");
    WritePicture(pictures + L"\\pic01.png", 100, 100, RGB(0x20, 0x80, 0xC0));

    DialogState state;
    COLORREF centre = 0;
    COLORREF dotPixel = 0;
    COLORREF area = 0;
    RunPrompt(folder.File(L"file.one"), L"carousel", [&](HWND dialog) {
        state = ReadDialog(dialog);
        SaveScreenshot(dialog, L"prompt-one-picture");
        Repaint(dialog);
        centre = ScreenPixel(dialog, {475, 106});
        dotPixel = ScreenPixel(dialog, {475, 198});
        area = ScreenPixel(dialog, {390, 24});
    });
    EXPECT_TRUE(state.controls[IDC_PICTURE].visible);
    EXPECT_TRUE(HasRect(state.controls[IDC_PICTURE].rect, 425, 56, 100, 100));
    EXPECT_EQ(RGB(0x20, 0x80, 0xC0), centre);
    EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), area) << "the picture area around the picture";
    EXPECT_FALSE(state.controls[IDC_ANIMATION].visible);
    EXPECT_EQ(1, VisibleDots(state));
    EXPECT_TRUE(state.controls[IDC_BTN_DOT1].visible);
    EXPECT_TRUE(HasRect(state.controls[IDC_BTN_DOT1].rect, 472, 195, 7, 7));
    // The current dot is drawn, not left as the white picture area.
    EXPECT_NE(RGB(0xFF, 0xFF, 0xFF), dotPixel);
    EXPECT_FALSE(state.controls[IDC_BTN_PREV].visible);
    EXPECT_FALSE(state.controls[IDC_BTN_NEXT].visible);
}

TEST_F(Carousel, AcceptsPictureExtensionsWhateverTheirCase) {
    std::wstring pictures = folder.Pictures(L"names");
    WritePicture(pictures + L"\\pic01.JPG", 10, 10, RGB(1, 2, 3));   // taken: lower-cased
    WritePicture(pictures + L"\\pic02.jpeg", 10, 10, RGB(1, 2, 3));  // not a known extension
    WritePicture(pictures + L"\\pic03.jepg", 10, 10, RGB(1, 2, 3));  // taken as spelt
    WritePicture(pictures + L"\\bmp", 10, 10, RGB(1, 2, 3));         // no dot: the name counts
    WritePicture(pictures + L"\\pic04.tif", 10, 10, RGB(1, 2, 3));
    CreateDirectoryW((pictures + L"\\folder.png").c_str(), nullptr);
    EXPECT_EQ(3, VisibleDots(Show(L"names")));
}

TEST_F(Carousel, TakesFiveOfSixPicturesAndCentresTheirDots) {
    std::wstring pictures = folder.Pictures(L"six");
    const COLORREF colours[6] = {RGB(200, 40, 40), RGB(40, 160, 40), RGB(40, 40, 200),
                                 RGB(200, 160, 0), RGB(120, 0, 160), RGB(0, 0, 0)};
    for (int i = 0; i < 6; ++i) {
        WritePicture(pictures + L"\\pic0" + std::to_wstring(i + 1) + L".bmp", 90 + i, 120, colours[i]);
    }
    DialogState state;
    RunPrompt(folder.File(L"file.six"), L"carousel", [&](HWND dialog) {
        state = ReadDialog(dialog);
        SaveScreenshot(dialog, L"prompt-five-pictures");
    });
    ASSERT_EQ(5, VisibleDots(state));
    for (int k = 0; k < 5; ++k) {
        EXPECT_TRUE(HasRect(state.controls[DotIds[k]].rect, 436 + 18 * k, 195, 7, 7)) << "dot " << k;
    }
    EXPECT_TRUE(state.controls[IDC_BTN_PREV].visible);
    EXPECT_TRUE(state.controls[IDC_BTN_NEXT].visible);
}

TEST_F(Carousel, ArrowsWalkTheRingOfPictures) {
    // Distinct widths tell the pictures apart; the enumeration order is the
    // file system's, so the ring is learnt by stepping forward.
    std::wstring pictures = folder.Pictures(L"ring");
    for (int i = 0; i < 5; ++i) {
        WritePicture(pictures + L"\\pic0" + std::to_wstring(i + 1) + L".png", 60 + 8 * i, 80,
                     RGB(50 * i, 100, 200));
    }
    std::vector<LONG> forward;
    LONG afterWrap = 0;
    LONG prevOfFirst = 0;
    LONG currentDotPixelBefore = 0, currentDotPixelAfter = 0;
    RunPrompt(folder.File(L"file.ring"), L"carousel", [&](HWND dialog) {
        auto width = [&] {
            RECT rect = ReadDialog(dialog).controls[IDC_PICTURE].rect;
            return rect.right - rect.left;
        };
        Repaint(dialog);
        currentDotPixelBefore = ScreenPixel(dialog, {439, 198});
        forward.push_back(width());
        for (int i = 0; i < 4; ++i) {
            Click(dialog, IDC_BTN_NEXT);
            forward.push_back(width());
        }
        Click(dialog, IDC_BTN_NEXT);  // from the last back to the first
        afterWrap = width();
        Click(dialog, IDC_BTN_PREV);  // from the first to the last
        prevOfFirst = width();
        Click(dialog, IDC_BTN_NEXT);
        Click(dialog, IDC_BTN_NEXT);  // the second picture: dot 1 is no longer current
        Repaint(dialog);
        currentDotPixelAfter = ScreenPixel(dialog, {439, 198});
    });
    ASSERT_EQ(5u, forward.size());
    std::vector<LONG> sorted = forward;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ((std::vector<LONG>{60, 68, 76, 84, 92}), sorted) << "each picture once";
    EXPECT_EQ(forward[0], afterWrap);
    EXPECT_EQ(forward[4], prevOfFirst);
    EXPECT_NE(currentDotPixelBefore, currentDotPixelAfter);
}

TEST_F(Carousel, FitsLargePicturesIntoTheBox) {
    struct Case {
        int width, height;
        int x, y, cx, cy;
    };
    const Case cases[] = {
        {100, 100, 425, 56, 100, 100},
        {210, 154, 423, 67, 105, 77},
        {100, 200, 437, 29, 77, 154},   // narrow enough: fitted by its height
        {200, 300, 424, 29, 102, 154},  // shows its top-left part unscaled
    };
    for (const Case& c : cases) {
        std::wstring extension = L"fit" + std::to_wstring(c.width) + L"x" + std::to_wstring(c.height);
        WritePicture(folder.Pictures(extension) + L"\\pic01.bmp", c.width, c.height, RGB(9, 9, 9));
        DialogState state = Show(extension);
        EXPECT_TRUE(HasRect(state.controls[IDC_PICTURE].rect, c.x, c.y, c.cx, c.cy))
            << c.width << " x " << c.height;
    }
}

TEST_F(Carousel, AnUndecodablePictureStillGetsItsDotAndLeavesThePictureBeforeInPlace) {
    std::wstring pictures = folder.Pictures(L"broken");
    const COLORREF colour = RGB(0x30, 0x90, 0x50);
    WritePicture(pictures + L"\\pic01.bmp", 100, 100, colour);
    // Where the picture control stands and what its centre shows, after each
    // step: always the one good picture.
    std::vector<std::pair<DialogState, COLORREF>> shown;
    RunPrompt(folder.File(L"file.broken"), L"carousel", [&](HWND dialog) {
        auto read = [&] {
            Repaint(dialog);
            shown.emplace_back(ReadDialog(dialog), ScreenPixel(dialog, {475, 106}));
        };
        // Either enumeration order: the broken one first after the rescan, or
        // stepped onto.
        wendaro_test::WriteFileBytes(pictures + L"\\pic02.png", "not a picture");
        SendMessageW(dialog, WM_PICTURECHANGED, 0, 0);
        read();
        Click(dialog, IDC_BTN_NEXT);
        read();
        Click(dialog, IDC_BTN_NEXT);
        read();
        // The only picture left is broken: the control keeps what it held.
        wendaro_test::WriteFileBytes(pictures + L"\\pic01.bmp", "not a picture either");
        SendMessageW(dialog, WM_PICTURECHANGED, 0, 0);
        read();
    });
    ASSERT_EQ(4u, shown.size());
    EXPECT_EQ(2, VisibleDots(shown[0].first));
    EXPECT_EQ(2, VisibleDots(shown[3].first));
    for (size_t i = 0; i < shown.size(); ++i) {
        const DialogState& state = shown[i].first;
        EXPECT_FALSE(state.controls.at(IDC_ANIMATION).visible) << "step " << i;
        EXPECT_TRUE(state.controls.at(IDC_PICTURE).visible) << "step " << i;
        EXPECT_TRUE(HasRect(state.controls.at(IDC_PICTURE).rect, 425, 56, 100, 100)) << "step " << i;
        EXPECT_EQ(colour, shown[i].second) << "step " << i;
    }
}

TEST_F(Carousel, APictureFolderPathTooLongForItsBuffersShowsTheAnimation) {
    // 240 characters of profile: the folder fits 260, the pattern does not;
    // 300 do not fit at all.
    for (size_t length : {240u, 300u}) {
        std::wstring profile = folder.root() + L"\\" + std::wstring(length - folder.root().size() - 1, L'p');
        wendaro_test::ScopedEnvironment longProfile(L"ALLUSERSPROFILE", profile.c_str());
        DialogState state;
        RunPrompt(folder.File(L"file.long"), L"carousel", [&](HWND dialog) { state = ReadDialog(dialog); });
        EXPECT_TRUE(state.controls[IDC_ANIMATION].visible) << length;
        EXPECT_EQ(0, VisibleDots(state)) << length;
    }
}

TEST_F(Carousel, ARescanWithFewerPicturesHidesTheSurplusDots) {
    std::wstring pictures = folder.Pictures(L"rescan");
    for (int i = 0; i < 3; ++i) {
        WritePicture(pictures + L"\\pic0" + std::to_wstring(i + 1) + L".gif", 40 + i, 40, RGB(0, 0, 90));
    }
    DialogState before, after;
    RunPrompt(folder.File(L"file.rescan"), L"carousel", [&](HWND dialog) {
        before = ReadDialog(dialog);
        Click(dialog, IDC_BTN_NEXT);
        DeleteFileW((pictures + L"\\pic02.gif").c_str());
        DeleteFileW((pictures + L"\\pic03.gif").c_str());
        SendMessageW(dialog, WM_PICTURECHANGED, 0, 0);
        after = ReadDialog(dialog);
    });
    EXPECT_EQ(3, VisibleDots(before));
    EXPECT_EQ(1, VisibleDots(after));
    EXPECT_TRUE(after.controls[IDC_BTN_DOT1].visible);
    EXPECT_TRUE(HasRect(after.controls[IDC_BTN_DOT1].rect, 472, 195, 7, 7));
    EXPECT_TRUE(HasRect(after.controls[IDC_PICTURE].rect, 455, 86, 40, 40)) << "picture 1 again";
    EXPECT_FALSE(after.controls[IDC_BTN_PREV].visible);
}

TEST_F(Carousel, PicturesTheChildBringsReplaceTheAnimation) {
    // The update child (this program standing in) copies two pictures into
    // the folder and sets the category's event; the watcher tells the prompt.
    wendaro_test::TempFolder staging;
    WritePicture(staging / L"pic01.png", 50, 50, RGB(10, 120, 10));
    WritePicture(staging / L"pic02.png", 60, 60, RGB(120, 10, 10));
    std::wstring category = L"road" + std::to_wstring(GetCurrentProcessId());
    wendaro_test::ScopedEnvironment from(L"WENDARO_FAKE_CHILD_PICTURES", staging.path().c_str());
    // An empty folder is still the loading state.
    wendaro_test::ScopedEnvironment to(L"WENDARO_FAKE_CHILD_TARGET", folder.Pictures(L"road").c_str());
    wendaro_test::ScopedEnvironment event(L"WENDARO_FAKE_CHILD_EVENT",
                                         (std::wstring(PictureEventPrefix) + category).c_str());

    DialogState first, later;
    bool arrived = false;
    bool clipOpen = true;
    RunPrompt(folder.File(L"file.road"), category, [&](HWND dialog) {
        first = ReadDialog(dialog);
        // The browsing state, read between two steps of the dialog's update.
        arrived = WaitUntil(
            [&] {
                later = ReadDialog(dialog);
                return VisibleDots(later) == 2 && !later.controls[IDC_ANIMATION].visible &&
                       later.controls[IDC_PICTURE].visible && later.controls[IDC_BTN_NEXT].visible;
            },
            15000);
        // Only an open clip can be put at a frame.
        clipOpen = SendMessageW(GetDlgItem(dialog, IDC_ANIMATION), ACM_PLAY, 1, MAKELONG(0, 0)) != 0;
    });
    EXPECT_TRUE(first.controls[IDC_ANIMATION].visible);
    EXPECT_TRUE(arrived);
    EXPECT_FALSE(clipOpen) << "the animation's clip is closed once pictures show";
}

TEST_F(Carousel, RescansSwitchesTheLoadingStateAndTheEndFreeTheBitmapsTheyReplace) {
    std::wstring pictures = folder.Pictures(L"leak");
    const std::wstring away = folder.root() + L"\\away";
    for (int i = 0; i < 5; ++i) {
        WritePicture(pictures + L"\\pic0" + std::to_wstring(i + 1) + L".png", 50 + i, 50,
                     RGB(40 * i, 90, 160));
    }
    const char* steps[] = {"rescan", "switch", "loading", "rescan back"};
    auto step = [&](HWND dialog, int kind) {
        if (kind == 1) {
            for (int i = 0; i < 5; ++i) Click(dialog, IDC_BTN_NEXT);
            return;
        }
        if (kind == 2) MoveFileW(pictures.c_str(), away.c_str());
        if (kind == 3) MoveFileW(away.c_str(), pictures.c_str());
        SendMessageW(dialog, WM_PICTURECHANGED, 0, 0);
    };
    // What a step leaks it leaks each time, while Wine makes a few objects of
    // its own once, at no fixed time: the count may not grow by one a time.
    // The first round lets the controls make what they keep for good.
    const int rounds = 6;
    std::vector<int> counts[4];
    RunPrompt(folder.File(L"file.leak"), L"carousel", [&](HWND dialog) {
        for (int round = 0; round < rounds; ++round) {
            for (int kind = 0; kind < 4; ++kind) {
                step(dialog, kind);
                Repaint(dialog);
                if (round > 0) counts[kind].push_back(LiveGdiObjects());
            }
        }
    });
    for (int kind = 0; kind < 4; ++kind) {
        EXPECT_LT(counts[kind].back() - counts[kind].front(), rounds - 2)
            << steps[kind] << ": " << ::testing::PrintToString(counts[kind]);
    }
    // Prompts that rescan once give back all they took when they end.
    const int prompts = 4;
    const int before = LiveGdiObjects();
    for (int i = 0; i < prompts; ++i) {
        RunPrompt(folder.File(L"file.leak"), L"carousel", [&](HWND dialog) { step(dialog, 0); });
    }
    EXPECT_LT(LiveGdiObjects() - before, prompts) << "the prompt's end";
}

}  // namespace
