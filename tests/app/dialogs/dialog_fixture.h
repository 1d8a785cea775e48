// What the dialog tests share: a private data folder (ALLUSERSPROFILE) with
// the logs of the stand-in programs, fixtures that run only at one screen
// DPI, and checks of rectangles, placement and stored settings.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shared/constants.h"
#include "resources/dialog_ids.h"
#include "tests/app/dialogs/dialog_driver.h"
#include "tests/app/dialogs/fake_programs.h"
#include "tests/support/data_folder.h"
#include "tests/support/environment.h"
#include "tests/support/registry_guard.h"
#include "tests/support/temp_folder.h"

namespace wendaro_test {

// The ids of the prompt's five dots, in carousel order.
inline constexpr int DotIds[PictureCount] = {IDC_BTN_DOT1, IDC_BTN_DOT2, IDC_BTN_DOT3, IDC_BTN_DOT4,
                                   IDC_BTN_DOT5};

class DataFolder {
public:
    DataFolder()
        : m_profile(L"ALLUSERSPROFILE", m_folder.path().c_str()),
          m_childLog(L"WENDARO_FAKE_CHILD_LOG", (m_folder / L"child.log").c_str()) {}

    const std::wstring& root() const { return m_folder.path(); }
    std::wstring ChildLog() const { return m_folder / L"child.log"; }
    // The picture folder of an extension; created.
    std::wstring Pictures(const std::wstring& extension) const {
        return wendaro_test::MakePictureFolderUnder(m_folder.path(), extension);
    }
    // A file a dialog is about (it only needs a name).
    std::wstring File(const std::wstring& name) const { return m_folder / name; }

private:
    wendaro_test::TempFolder m_folder;
    wendaro_test::ScopedEnvironment m_profile;
    wendaro_test::ScopedEnvironment m_childLog;
};

// The screen's (and so every dialog's) LOGPIXELSX.
inline int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// Runs only where the screen has the given DPI; in a prefix made for that
// DPI (own_prefix.sh sets WENDARO_EXPECT_DPI) a screen without it fails.
template <int Dpi>
class AtDpi : public ::testing::Test {
protected:
    void SetUp() override {
        if (ScreenDpi() == Dpi) return;
        if (Environment(L"WENDARO_EXPECT_DPI") == std::to_wstring(Dpi)) {
            FAIL() << "the screen is not at " << Dpi << " DPI";
        }
        GTEST_SKIP() << "needs " << Dpi << " DPI";
    }

    DataFolder folder;
};

// The same with the product's registry keys saved, emptied and restored.
template <int Dpi>
class WithSettingsAtDpi : public AtDpi<Dpi> {
protected:
    wendaro_test::ProductRegistry registry;
};

// A DWORD of the product's user settings, when it exists.
inline bool StoredSetting(const wchar_t* name, DWORD* value) {
    return wendaro_test::GetDword(HKEY_CURRENT_USER, ProductRegistryKey, name, value);
}

// The setting exists and holds the value.
inline void ExpectSetting(const wchar_t* name, DWORD expected) {
    DWORD value = 0;
    ASSERT_TRUE(StoredSetting(name, &value)) << "no value " << std::string(name, name + wcslen(name));
    EXPECT_EQ(expected, value) << std::string(name, name + wcslen(name));
}

inline ::testing::AssertionResult HasRect(const RECT& rect, int x, int y, int width, int height) {
    if (rect.left == x && rect.top == y && rect.right - rect.left == width &&
        rect.bottom - rect.top == height) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << rect.left << ", " << rect.top << ", " << rect.right - rect.left << ", "
           << rect.bottom - rect.top << ") is not (" << x << ", " << y << ", " << width << ", "
           << height << ")";
}

// A control's rectangle in the dialog's client area: x, y, width, height.
struct Placement {
    int id;
    int x, y, width, height;
};

inline void ExpectPlacements(const DialogState& state, const std::vector<Placement>& table) {
    for (const Placement& p : table) {
        auto control = state.controls.find(p.id);
        if (control == state.controls.end()) {
            ADD_FAILURE() << "no control " << p.id;
            continue;
        }
        EXPECT_TRUE(HasRect(control->second.rect, p.x, p.y, p.width, p.height)) << "control " << p.id;
    }
}

// Centred on the work area, give or take a pixel of rounding.
inline ::testing::AssertionResult IsCentredOnScreen(const RECT& window) {
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int dx = (window.left + window.right) / 2 - (work.left + work.right) / 2;
    const int dy = (window.top + window.bottom) / 2 - (work.top + work.bottom) / 2;
    if (dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "off the work area's centre by (" << dx << ", " << dy << ")";
}

// Every line of a wrapped text shows on the screen (PixelsPerLine).
inline ::testing::AssertionResult EveryLineShows(const std::vector<LinePixels>& lines) {
    // A line of text has hundreds of dark pixels; a few stray ones are no line.
    const int least = 20;
    if (lines.empty()) return ::testing::AssertionFailure() << "no line of text";
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].dark < least) {
            return ::testing::AssertionFailure() << "line " << i + 1 << " of " << lines.size()
                                                 << " shows " << lines[i].dark << " dark pixels";
        }
    }
    return ::testing::AssertionSuccess();
}

// The text stands on the background colour PixelsPerLine was given, with no
// white box of its own: around the letters, each line's band is that colour.
inline ::testing::AssertionResult OnTheBackground(const std::vector<LinePixels>& lines) {
    if (lines.empty()) return ::testing::AssertionFailure() << "no line of text";
    for (size_t i = 0; i < lines.size(); ++i) {
        const LinePixels& line = lines[i];
        if (line.white > 0 || line.background <= 2 * line.dark) {
            return ::testing::AssertionFailure()
                   << "line " << i + 1 << " of " << lines.size() << ": " << line.white << " white, "
                   << line.background << " of the background, " << line.dark << " dark pixels";
        }
    }
    return ::testing::AssertionSuccess();
}

// The colour the dialog paints its face in, read from the screen at a corner
// of its client area that no control covers.
inline COLORREF FaceColour(HWND dialog) {
    Repaint(dialog);
    return ScreenPixel(dialog, {2, 2});
}

// The consent dialog's question and notice as the screen shows them, each
// line counted against the dialog's face colour.
struct ConsentTexts {
    std::vector<LinePixels> question, notice;
};
inline ConsentTexts ReadConsentTexts(HWND dialog) {
    const COLORREF face = FaceColour(dialog);
    return {PixelsPerLine(dialog, IDC_FIRSTUSE_QUESTION, face), PixelsPerLine(dialog, IDC_RICH_INFO, face)};
}
// The notice's rectangle reaches over the question in one form, its text does
// not: every line of both shows. The notice sits on the dialog's face.
inline void ExpectConsentTextsShow(const ConsentTexts& texts, const char* form) {
    EXPECT_TRUE(EveryLineShows(texts.question)) << form << ": the question";
    EXPECT_TRUE(EveryLineShows(texts.notice)) << form << ": the notice";
    EXPECT_TRUE(OnTheBackground(texts.notice)) << form << ": the notice on the dialog's face";
}

inline int VisibleDots(const DialogState& state) {
    int visible = 0;
    for (int id : DotIds) visible += state.controls.at(id).visible ? 1 : 0;
    return visible;
}

}  // namespace wendaro_test
