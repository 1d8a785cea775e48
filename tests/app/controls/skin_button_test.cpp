// The skin button driven for real on the desktop: posted mouse messages go
// through the pre-translate walk and the button's window procedure, and the
// result is read back as pixels of the host window.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/controls/skin_button.h"
#include "resources/dialog_ids.h"
#include "tests/app/controls/skin_host.h"

using VELQUIControls::CVELQSkinButton;
using namespace wendaro_test;

namespace {

// The button is 20 x 16 at (50, 30) of the host; its 12 x 10 images (a 2-pixel
// magenta frame around a solid block) are centred at (4, 3), so the block
// starts at (6, 5) and, pressed, at (7, 6).
constexpr int kLeft = 50, kTop = 30, kWidth = 20, kHeight = 16;
constexpr COLORREF kHoverColour = RGB(200, 0, 0);
constexpr COLORREF kNormalColour = RGB(0, 160, 0);
constexpr COLORREF kPressedColour = RGB(0, 0, 200);

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class SkinButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The real cursor stays off the host, so only posted moves count and
        // the system never sends a mouse-leave of its own.
        ::SetCursorPos(2, 2);
        ASSERT_TRUE(host.Create(300, 200, 160, 100, true));
        HWND hwnd = host.AddButton(kButtonId, L"", kLeft, kTop, kWidth, kHeight, BS_PUSHBUTTON | BS_FLAT);
        ASSERT_NE(hwnd, nullptr);
        ASSERT_TRUE(button.SubclassWindow(hwnd));
        ASSERT_EQ(button.AssignStateBitmaps(MakeKeyedBitmap(12, 10, 2, kHoverColour), kMagenta,
                                            MakeKeyedBitmap(12, 10, 2, kNormalColour), kMagenta,
                                            MakeKeyedBitmap(12, 10, 2, kPressedColour), kMagenta),
                  0u);
        button.DrawTransparent();
        Pump();
    }
    void TearDown() override { host.DestroyWindow(); }

    COLORREF Pixel(int x, int y) const { return HostPixel(host, kLeft + x, kTop + y); }
    void Post(UINT message, WPARAM flags, int x = kWidth / 2, int y = kHeight / 2) {
        button.PostMessage(message, flags, At(x, y));
        Pump();
    }

    Host host;
    CVELQSkinButton button;
};

TEST_F(SkinButtonTest, BindingMakesAnOwnerDrawnButtonOnTheParentsPixels) {
    EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_EQ(Pixel(6, 5), kNormalColour);
    EXPECT_EQ(Pixel(11, 9), kNormalColour);
    EXPECT_EQ(Pixel(5, 4), kParentColour) << "the image's magenta frame is transparent";
    EXPECT_EQ(Pixel(1, 1), kParentColour);
}

TEST_F(SkinButtonTest, HoverOnMoveAndNormalAfterLeave) {
    Post(WM_MOUSEMOVE, 0);
    EXPECT_EQ(Pixel(6, 5), kHoverColour);
    EXPECT_EQ(Pixel(0, 0), ::GetSysColor(COLOR_BTNHIGHLIGHT)) << "raised border";
    EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), ::GetSysColor(COLOR_BTNSHADOW));

    Post(WM_MOUSELEAVE, 0);
    EXPECT_EQ(Pixel(6, 5), kNormalColour);
    EXPECT_EQ(Pixel(0, 0), kParentColour);
}

TEST_F(SkinButtonTest, MovingOffTheButtonLeavesHover) {
    Post(WM_MOUSEMOVE, 0);
    ASSERT_EQ(Pixel(6, 5), kHoverColour);
    Post(WM_MOUSEMOVE, 0, -20, -20);  // over the host, not the button
    EXPECT_EQ(Pixel(6, 5), kNormalColour);
}

TEST_F(SkinButtonTest, PressedImageWhileHeldMovesOnePixelAndClickReachesParent) {
    Post(WM_MOUSEMOVE, 0);
    Post(WM_LBUTTONDOWN, MK_LBUTTON);
    // The block now spans (7, 6) to (14, 11): one pixel right and one down.
    EXPECT_EQ(Pixel(7, 6), kPressedColour);
    EXPECT_EQ(Pixel(14, 11), kPressedColour);
    EXPECT_EQ(Pixel(6, 6), kParentColour);
    EXPECT_EQ(Pixel(7, 5), kParentColour);
    EXPECT_EQ(Pixel(15, 11), kParentColour);
    EXPECT_EQ(Pixel(14, 12), kParentColour);
    EXPECT_EQ(Pixel(0, 0), ::GetSysColor(COLOR_BTNSHADOW)) << "sunken border";
    EXPECT_EQ(host.clicks, 0);

    Post(WM_LBUTTONUP, 0);
    EXPECT_EQ(host.clicks, 1);
    EXPECT_EQ(::GetFocus(), button.m_hWnd);
    EXPECT_EQ(Pixel(6, 5), kHoverColour);
}

TEST_F(SkinButtonTest, DoubleClickGivesTwoClicks) {
    Post(WM_LBUTTONDOWN, MK_LBUTTON);
    Post(WM_LBUTTONUP, 0);
    Post(WM_LBUTTONDBLCLK, MK_LBUTTON);
    EXPECT_EQ(Pixel(7, 6), kPressedColour) << "the second click presses the button again";
    Post(WM_LBUTTONUP, 0);
    EXPECT_EQ(host.clicks, 2);
}

TEST_F(SkinButtonTest, PressOutsideThenMoveInDoesNotHover) {
    Post(WM_MOUSEMOVE, MK_LBUTTON);
    EXPECT_EQ(Pixel(6, 5), kNormalColour);
    EXPECT_EQ(Pixel(0, 0), kParentColour);
}

TEST_F(SkinButtonTest, BorderOffChangesOnlyTheBitmap) {
    button.HideBorder();
    Post(WM_MOUSEMOVE, 0);
    EXPECT_EQ(Pixel(6, 5), kHoverColour);
    EXPECT_EQ(Pixel(0, 0), kParentColour);
    EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), kParentColour);

    Post(WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_EQ(Pixel(7, 6), kPressedColour);
    EXPECT_EQ(Pixel(0, 0), kParentColour);
    EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), kParentColour);
}

TEST_F(SkinButtonTest, DefaultStyleFollowsSetStyleAndStaysOwnerDrawn) {
    EXPECT_TRUE(button.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON);
    button.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_TRUE(button.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    button.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_TRUE(button.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON);
}

TEST_F(SkinButtonTest, TemplateDefaultButtonStartsAsDefault) {
    HWND hwnd = host.AddButton(kButtonId + 1, L"", 100, 30, 20, 16, BS_DEFPUSHBUTTON);
    CVELQSkinButton defaultButton;
    ASSERT_TRUE(defaultButton.SubclassWindow(hwnd));
    EXPECT_EQ(defaultButton.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_TRUE(defaultButton.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    defaultButton.DestroyWindow();
}

TEST_F(SkinButtonTest, WithoutTransparencyTheFaceColourFills) {
    HWND hwnd = host.AddButton(kButtonId + 1, L"", 100, 30, 20, 16, BS_PUSHBUTTON);
    CVELQSkinButton plain;
    ASSERT_TRUE(plain.SubclassWindow(hwnd));
    plain.Invalidate();
    Pump();
    EXPECT_EQ(HostPixel(host, 105, 35), ::GetSysColor(COLOR_BTNFACE));
    plain.DestroyWindow();
}

// Enumerates the thread's tooltip windows that carry the balloon style.
BOOL CALLBACK CountBalloons(HWND hwnd, LPARAM count) {
    wchar_t cls[64] = {};
    ::GetClassNameW(hwnd, cls, 64);
    if (_wcsicmp(cls, TOOLTIPS_CLASSW) == 0 && (::GetWindowLongW(hwnd, GWL_STYLE) & TTS_BALLOON))
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// A dot of the prompt: one resource bitmap, fitted, transparent, borderless,
// with a digit caption that ends up beside the image.
TEST_F(SkinButtonTest, DotWithOnlyAHoverBitmapShowsItInEveryState) {
    HWND hwnd = host.AddButton(kButtonId, L"1", 100, 60, 9, 9, BS_PUSHBUTTON | BS_FLAT);
    CVELQSkinButton dot;
    ASSERT_TRUE(dot.SubclassWindow(hwnd));
    ASSERT_EQ(dot.LoadStateBitmaps(IDB_DOT_CURRENT, kMagenta, 0, 0, 0, 0), 0u);
    dot.FitToImage();
    dot.DrawTransparent();
    dot.HideBorder();
    dot.EnableBalloonTooltip();

    CRect client;
    dot.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 7);
    EXPECT_EQ(client.Height(), 7);
    CRect window;
    dot.GetWindowRect(&window);
    host.ScreenToClient(&window);
    EXPECT_EQ(window.TopLeft(), CPoint(100, 60)) << "fitting does not move the button";

    HBITMAP reference = static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_DOT_CURRENT), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(reference, nullptr);
    // The caption is drawn over the right half; the left columns are image only.
    auto expectImage = [&](int shift, const char* state) {
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 3; ++x) {
                COLORREF want = kParentColour;
                if (x >= shift && y >= shift) {
                    COLORREF source = BitmapPixel(reference, x - shift, y - shift);
                    if (source != kMagenta) want = source;
                }
                EXPECT_EQ(HostPixel(host, 100 + x, 60 + y), want) << state << " at " << x << "," << y;
            }
        }
    };

    dot.PostMessage(WM_MOUSEMOVE, 0, At(3, 3));  // also creates the tooltip
    Pump();
    int balloons = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountBalloons, reinterpret_cast<LPARAM>(&balloons));
    EXPECT_EQ(balloons, 1);
    expectImage(0, "hover");

    dot.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
    Pump();
    expectImage(1, "pressed");

    dot.PostMessage(WM_LBUTTONUP, 0, At(3, 3));
    dot.PostMessage(WM_MOUSELEAVE, 0, 0);
    Pump();
    expectImage(0, "normal");
    EXPECT_EQ(host.clicks, 1);

    ::DeleteObject(reference);
    dot.DestroyWindow();
}

}  // namespace
