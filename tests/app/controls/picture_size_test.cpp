// Stored pictures: the size each format declares in its header, and the
// bound above which a picture is never handed to GDI+.
#include <windows.h>

#include <algorithm>
using std::max;
using std::min;
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/controls/gdiplus_bitmap.h"
#include "app/controls/picture_size.h"
#include "tests/support/temp_folder.h"

using namespace wendaro_test;

namespace {

class PictureSizeTest : public ::testing::Test {
protected:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token, &input, nullptr));
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(token); }

    ULONG_PTR token = 0;
    TempFolder folder;
};

bool EncoderFor(const wchar_t* mimeType, CLSID& clsid) {
    UINT count = 0, bytes = 0;
    Gdiplus::GetImageEncodersSize(&count, &bytes);
    std::vector<BYTE> buffer(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (bytes == 0 || Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == mimeType) {
            clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

void ExpectSizedAndDecoded(const std::wstring& path) {
    PictureSize size;
    ASSERT_TRUE(ReadPictureSize(path.c_str(), size));
    EXPECT_EQ(30u, size.width);
    EXPECT_EQ(20u, size.height);
    HBITMAP decoded = nullptr;
    LoadPictureBitmap(path.c_str(), &decoded);
    ASSERT_NE(nullptr, decoded);
    BITMAP info = {};
    GetObjectW(decoded, sizeof info, &info);
    EXPECT_EQ(30, info.bmWidth);
    DeleteObject(decoded);
}

TEST_F(PictureSizeTest, EveryFormatIsSizedFromItsHeaderAndDecoded) {
    // Named .png whatever they hold: the content tells the format.
    for (const wchar_t* mimeType : {L"image/png", L"image/jpeg", L"image/bmp"}) {
        SCOPED_TRACE(testing::Message() << std::string(mimeType, mimeType + wcslen(mimeType)));
        CLSID encoder;
        ASSERT_TRUE(EncoderFor(mimeType, encoder));
        std::wstring path = folder / (std::wstring(mimeType + 6) + L".png");
        Gdiplus::Bitmap source(30, 20, PixelFormat24bppRGB);
        ASSERT_EQ(Gdiplus::Ok, source.Save(path.c_str(), &encoder, nullptr));
        ExpectSizedAndDecoded(path);
    }
    // Wine's GDI+ cannot read the GIFs it writes: one as a common encoder writes it.
    std::wstring gif = folder / L"gif.png";
    ASSERT_TRUE(WriteFileBytes(
        gif, Bytes({0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x1e, 0x00, 0x14, 0x00, 0xf0, 0x00, 0x00, 0x30, 0x50,
                    0xc0, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00,
                    0x00, 0x00, 0x1e, 0x00, 0x14, 0x00, 0x00, 0x02, 0x17, 0x84, 0x8f, 0xa9, 0xcb, 0xed, 0x0f,
                    0xa3, 0x9c, 0xb4, 0xda, 0x8b, 0xb3, 0xde, 0xbc, 0xfb, 0x0f, 0x86, 0xe2, 0x48, 0x96, 0x66,
                    0x52, 0x00, 0x00, 0x3b})));
    SCOPED_TRACE("gif");
    ExpectSizedAndDecoded(gif);
}

TEST_F(PictureSizeTest, ASideOverTheBoundOrNoSizeKeepsTheFileFromGdiPlus) {
    const std::string gif = "GIF89a";
    const std::string bmp = Bytes({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0});
    // A fill byte, then an application segment before the frame header.
    const std::string jfif = Bytes({0xFF, 0xD8, 0xFF, 0xFF, 0xE0, 0, 16}) + std::string(14, 'j');
    struct Case {
        const char* name;
        std::string bytes;
        bool showable;
    } cases[] = {
        {"gif 4096 x 4096", gif + Bytes({0x00, 0x10, 0x00, 0x10}), true},
        {"gif 4097 wide", gif + Bytes({0x01, 0x10, 0x01, 0x00}), false},
        {"gif 0 high", gif + Bytes({0x01, 0x00, 0x00, 0x00}), false},
        {"bmp top-down 4097 high", bmp + Bytes({40, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xEF, 0xFF, 0xFF}), false},
        {"bmp top-down 4096 high", bmp + Bytes({40, 0, 0, 0, 1, 0, 0, 0, 0x00, 0xF0, 0xFF, 0xFF}), true},
        {"bmp core 50000 wide", bmp + Bytes({12, 0, 0, 0, 0x50, 0xC3, 1, 0}), false},
        {"progressive jpeg 4097 high", jfif + Bytes({0xFF, 0xC2, 0, 17, 8, 0x10, 0x01, 0, 1}), false},
        {"jpeg 4096 high", jfif + Bytes({0xFF, 0xC0, 0, 17, 8, 0x10, 0x00, 0, 1}), true},
        {"jpeg scan before any frame", jfif + Bytes({0xFF, 0xDA, 0, 2}), false},
        {"png cut short", Bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0}), false},
        {"not a picture", "not a picture", false},
    };
    for (const Case& c : cases) {
        std::wstring path = folder / L"header.png";
        ASSERT_TRUE(WriteFileBytes(path, c.bytes));
        EXPECT_EQ(c.showable, HasShowableSize(path.c_str())) << c.name;
        VELQGDIPLUS::CVELQGdiPlusBitmap picture;
        if (!c.showable) {
            EXPECT_FALSE(picture.Load(path.c_str())) << c.name;
            EXPECT_EQ(nullptr, picture.bitmap) << c.name;
        }
    }
}

}  // namespace
