// The skin button's bitmap table: masks, key colours, ownership and the
// loads from the program's resources. The host window stays hidden.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/controls/skin_button.h"
#include "resources/dialog_ids.h"
#include "tests/app/controls/skin_host.h"
#include "tests/support/gdi_objects.h"

using VELQUIControls::CVELQSkinButton;
using namespace wendaro_test;

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

class ButtonBitmapsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Create(0, 0, 100, 100, false));
        ASSERT_TRUE(button.SubclassWindow(host.AddButton(kButtonId, L"", 0, 0, 20, 20, BS_PUSHBUTTON)));
    }
    void TearDown() override { host.DestroyWindow(); }

    Host host;
    CVELQSkinButton button;
};

// Every pixel of the stored bitmap and its mask: key pixels black in the
// bitmap and white in the mask, all others unchanged and black in the mask.
void ExpectMasked(const CVELQSkinButton::StateImage& image, int border, COLORREF inner) {
    ASSERT_NE(image.bitmap, nullptr);
    ASSERT_NE(image.mask, nullptr);
    for (int y = 0; y < static_cast<int>(image.height); ++y) {
        for (int x = 0; x < static_cast<int>(image.width); ++x) {
            bool key = x < border || y < border || x >= static_cast<int>(image.width) - border ||
                       y >= static_cast<int>(image.height) - border;
            EXPECT_EQ(BitmapPixel(image.bitmap, x, y), key ? kBlack : inner) << x << "," << y;
            EXPECT_EQ(BitmapPixel(image.mask, x, y), key ? kWhite : kBlack) << x << "," << y;
        }
    }
}

TEST_F(ButtonBitmapsTest, MasksEachBitmapWithItsOwnKeyColour) {
    const COLORREF green = RGB(0, 255, 0), teal = RGB(0, 128, 128);
    ASSERT_EQ(button.AssignStateBitmaps(MakeKeyedBitmap(8, 6, 1, RGB(200, 0, 0)), RGB(1, 2, 3),
                                        MakeKeyedBitmap(9, 7, 2, RGB(0, 0, 200), green), green,
                                        MakeKeyedBitmap(10, 5, 1, RGB(90, 90, 90), teal), teal),
              0u);

    const auto& hover = button.GetStateImage(CVELQSkinButton::kHoverImage);
    EXPECT_EQ(hover.width, 8u);
    EXPECT_EQ(hover.height, 6u);
    EXPECT_EQ(hover.transparent, kMagenta) << "the hover bitmap is always keyed with magenta";
    ExpectMasked(hover, 1, RGB(200, 0, 0));

    const auto& normal = button.GetStateImage(CVELQSkinButton::kNormalImage);
    EXPECT_EQ(normal.width, 9u);
    EXPECT_EQ(normal.height, 7u);
    EXPECT_EQ(normal.transparent, green);
    ExpectMasked(normal, 2, RGB(0, 0, 200));

    const auto& pressed = button.GetStateImage(CVELQSkinButton::kPressedImage);
    EXPECT_EQ(pressed.transparent, teal);
    ExpectMasked(pressed, 1, RGB(90, 90, 90));
}

TEST_F(ButtonBitmapsTest, NullHoverStoresNothing) {
    HBITMAP pressed = MakeKeyedBitmap(4, 4, 1, RGB(1, 1, 1));
    EXPECT_EQ(button.AssignStateBitmaps(nullptr, kMagenta, nullptr, 0, pressed, kMagenta), 0u);
    for (int i = 0; i < CVELQSkinButton::kImageCount; ++i) {
        EXPECT_EQ(button.GetStateImage(i).bitmap, nullptr);
        EXPECT_EQ(button.GetStateImage(i).mask, nullptr);
    }
    EXPECT_EQ(::GetObjectType(pressed), static_cast<DWORD>(OBJ_BITMAP)) << "not taken over";
    ::DeleteObject(pressed);
}

TEST_F(ButtonBitmapsTest, ReplacingTheTableDestroysTheOldBitmaps) {
    HBITMAP first = MakeKeyedBitmap(4, 4, 1, RGB(1, 1, 1));
    ASSERT_EQ(button.AssignStateBitmaps(first, kMagenta, nullptr, 0, nullptr, 0), 0u);
    HBITMAP firstMask = button.GetStateImage(0).mask;
    ASSERT_EQ(button.AssignStateBitmaps(MakeKeyedBitmap(4, 4, 1, RGB(2, 2, 2)), kMagenta, nullptr, 0, nullptr, 0),
              0u);
    EXPECT_EQ(::GetObjectType(first), 0u);
    EXPECT_EQ(::GetObjectType(firstMask), 0u);
}

TEST_F(ButtonBitmapsTest, UnreadableBitmapEmptiesTheTable) {
    HBITMAP hover = MakeKeyedBitmap(4, 4, 1, RGB(1, 1, 1));
    HBITMAP gone = MakeKeyedBitmap(4, 4, 1, RGB(2, 2, 2));
    ::DeleteObject(gone);
    EXPECT_EQ(button.AssignStateBitmaps(hover, kMagenta, gone, kMagenta, nullptr, 0), 1u);
    EXPECT_EQ(button.GetStateImage(0).bitmap, nullptr);
    EXPECT_EQ(button.GetStateImage(1).bitmap, nullptr);
    EXPECT_EQ(::GetObjectType(hover), 0u) << "the stored hover bitmap is destroyed too";
}

TEST_F(ButtonBitmapsTest, DotLoadsOneEntry) {
    EXPECT_EQ(button.LoadStateBitmaps(IDB_DOT_CURRENT, kMagenta, 0, 0, 0, 0), 0u);
    const auto& hover = button.GetStateImage(CVELQSkinButton::kHoverImage);
    ASSERT_NE(hover.bitmap, nullptr);
    EXPECT_NE(hover.mask, nullptr);
    EXPECT_EQ(hover.width, 7u);
    EXPECT_EQ(hover.height, 7u);
    EXPECT_EQ(BitmapPixel(hover.bitmap, 0, 0), kBlack) << "a magenta corner turned black";
    EXPECT_EQ(BitmapPixel(hover.mask, 0, 0), kWhite);
    EXPECT_EQ(BitmapPixel(hover.mask, 3, 3), kBlack);
    EXPECT_EQ(button.GetStateImage(CVELQSkinButton::kNormalImage).bitmap, nullptr);
    EXPECT_EQ(button.GetStateImage(CVELQSkinButton::kPressedImage).bitmap, nullptr);
}

// Every entry stays a live bitmap: the button owns them all once loaded.
TEST_F(ButtonBitmapsTest, ArrowLoadsThreeEntries) {
    EXPECT_EQ(button.LoadStateBitmaps(IDB_PREV_HOVER, kMagenta, IDB_PREV_NORMAL, kMagenta, IDB_PREV_PRESSED,
                                      kMagenta),
              0u);
    for (int i = 0; i < CVELQSkinButton::kImageCount; ++i) {
        const auto& image = button.GetStateImage(i);
        EXPECT_EQ(::GetObjectType(image.bitmap), static_cast<DWORD>(OBJ_BITMAP)) << i;
        EXPECT_EQ(::GetObjectType(image.mask), static_cast<DWORD>(OBJ_BITMAP)) << i;
        EXPECT_EQ(image.width, 17u) << i;
        EXPECT_EQ(image.height, 18u) << i;
    }
}

TEST_F(ButtonBitmapsTest, MissingHoverResourceLeavesNoImagesAndFreesTheOthers) {
    const int before = LiveGdiObjects();
    EXPECT_EQ(button.LoadStateBitmaps(9999, kMagenta, IDB_PREV_NORMAL, kMagenta, IDB_PREV_PRESSED, kMagenta),
              0u);
    EXPECT_EQ(button.GetStateImage(CVELQSkinButton::kHoverImage).bitmap, nullptr);
    EXPECT_EQ(button.GetStateImage(CVELQSkinButton::kNormalImage).bitmap, nullptr);
    EXPECT_EQ(button.GetStateImage(CVELQSkinButton::kPressedImage).bitmap, nullptr);
    EXPECT_EQ(before, LiveGdiObjects()) << "the normal and pressed bitmaps loaded are freed";
}

}  // namespace
