// The turned-on notice at 96 DPI, the masked logo blit and the tooltip
// rectangles of the consent dialog by scale factor.
#include "app/dialogs/turn_on_dlg.h"

#include <gtest/gtest.h>

#include <string>

#include "app/dialogs/draw_masked_bitmap.h"
#include "app/dialogs/first_use_dlg.h"
#include "resources/dialog_ids.h"
#include "tests/app/dialogs/dialog_fixture.h"

using namespace wendaro_test;

namespace {

const COLORREF Grey = RGB(0xC6, 0xC6, 0xC6);

using TurnOnAt96 = AtDpi<96>;

TEST_F(TurnOnAt96, LaysOutTheTextOkAndTheSeparator) {
    DialogState state;
    COLORREF line[4] = {};
    std::wstring caption(64, L'\0');
    std::wstring shot;
    int result = RunTurnOn([&](HWND notice) {
        state = ReadDialog(notice);
        caption.resize(GetWindowTextW(notice, &caption[0], 64));
        shot = SaveScreenshot(notice, L"turn-on-notice");
        // The line is (10, 71) 397 x 1: its two ends, and just beyond them.
        line[0] = ScreenPixel(notice, {10, 71});
        line[1] = ScreenPixel(notice, {406, 71});
        line[2] = ScreenPixel(notice, {407, 71});
        line[3] = ScreenPixel(notice, {200, 72});
        Click(notice, IDOK);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(L"Enable Wendaro", caption);
    EXPECT_EQ(423, state.size.cx);
    EXPECT_EQ(147, state.size.cy);
    EXPECT_TRUE(HasRect(state.controls[IDC_TURNON_TEXT].rect, 26, 24, 375, 40));
    EXPECT_TRUE(HasRect(state.controls[IDOK].rect, 323, 83, 80, 25));
    EXPECT_EQ(L"Wendaro is now what you'll use when you open files that don't have programs "
              L"associated with them.",
              state.controls[IDC_TURNON_TEXT].text);
    EXPECT_EQ(Grey, line[0]);
    EXPECT_EQ(Grey, line[1]);
    EXPECT_NE(Grey, line[2]);
    EXPECT_NE(Grey, line[3]);
    EXPECT_FALSE(shot.empty());
}

// Its parent is the desktop and the consent dialog is hidden: the notice
// centres on the screen and comes up in front of everything else.
TEST_F(TurnOnAt96, ComesUpCentredInFront) {
    DialogState state;
    int visibleAbove = -1;
    RunTurnOn([&](HWND notice) {
        state = ReadDialog(notice);
        visibleAbove = 0;
        for (HWND w = GetTopWindow(nullptr); w && w != notice; w = GetWindow(w, GW_HWNDNEXT)) {
            if (IsWindowVisible(w) && !(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST)) ++visibleAbove;
        }
    });
    EXPECT_TRUE(IsCentredOnScreen(state.window));
    EXPECT_EQ(0, visibleAbove);
}

// A 24-bit DIB section selected into a memory DC, every pixel one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF colour) : m_dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        RECT all = {0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }

private:
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

TEST(DrawMaskedBitmap, CopiesTheLogoSquareButItsMagentaPixels) {
    const COLORREF magenta = RGB(255, 0, 255);
    const COLORREF logo = RGB(20, 100, 200);
    const COLORREF ground = RGB(0, 128, 0);
    // Source: magenta left half, logo colour right half; more than 38 pixels.
    Canvas source(50, 50, magenta);
    RECT right = {19, 0, 50, 50};
    HBRUSH brush = CreateSolidBrush(logo);
    FillRect(source.dc(), &right, brush);
    DeleteObject(brush);
    Canvas target(60, 60, ground);

    DrawMaskedBitmap(target.dc(), 5, 7, source.dc());

    EXPECT_EQ(ground, GetPixel(target.dc(), 5, 7)) << "magenta left out";
    EXPECT_EQ(ground, GetPixel(target.dc(), 23, 44));
    EXPECT_EQ(logo, GetPixel(target.dc(), 24, 7)) << "first logo column";
    EXPECT_EQ(logo, GetPixel(target.dc(), 42, 44)) << "last logo pixel";
    EXPECT_EQ(ground, GetPixel(target.dc(), 43, 20)) << "only 38 columns";
    EXPECT_EQ(ground, GetPixel(target.dc(), 30, 45)) << "only 38 rows";
    EXPECT_EQ(ground, GetPixel(target.dc(), 30, 6));
    EXPECT_EQ(RGB(255, 255, 255), GetBkColor(target.dc()));
    EXPECT_EQ(RGB(0, 0, 0), GetTextColor(target.dc()));
}

TEST(FirstUseToolRect, CommonScalesHaveTheirOwnRectanglesOthersAreScaled) {
    struct Case {
        double x, y;
        RECT expected;
    };
    const Case cases[] = {
        {1.0, 1.0, {60, 10, 120, 25}},    {1.25, 1.25, {76, 13, 146, 31}},
        {1.5, 1.5, {90, 15, 180, 38}},    {1.75, 1.75, {105, 17, 210, 43}},
        {2.0, 2.0, {120, 20, 240, 50}},   {1.25, 2.0, {76, 13, 146, 31}},  // by the x factor alone
        {1.1, 1.25, {66, 12, 132, 31}},
    };
    for (const Case& c : cases) {
        CRect rect = FirstUseToolRect(c.x, c.y);
        EXPECT_TRUE(EqualRect(&rect, &c.expected))
            << c.x << " x " << c.y << ": " << rect.left << ", " << rect.top << ", " << rect.right << ", "
            << rect.bottom;
    }
}

}  // namespace
