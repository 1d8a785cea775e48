// Stored pictures: which files reach GDI+ (whole ones, every side within the
// bound, the format told by the content), that GDI+ shows the odd ones that
// are let through, and which the update run stores: those the carousel's
// loader draws.
#include <windows.h>

#include <algorithm>
using std::max;
using std::min;
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "shared/gdi_holders.h"
#include "shared/gdiplus_bitmap.h"
#include "shared/picture_file.h"
#include "tests/support/gdiplus_session.h"
#include "tests/support/pictures.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wine_path.h"

using namespace wendaro_test;

namespace {

class PictureFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gdiplus.started()); }

    // A 30 x 20 picture as GDI+ encodes it.
    std::string Encoded(const wchar_t* mimeType);

    GdiPlusSession gdiplus;
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

std::string PictureFileTest::Encoded(const wchar_t* mimeType) {
    CLSID encoder;
    const std::wstring path = folder / L"encoded";
    Gdiplus::Bitmap source(30, 20, PixelFormat24bppRGB);
    if (!EncoderFor(mimeType, encoder) || source.Save(path.c_str(), &encoder, nullptr) != Gdiplus::Ok) return {};
    return ReadFileBytes(path);
}

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

std::string LittleEndian(uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> 8 * i);
    return out;
}

std::string BigEndian(uint32_t value, int bytes) {
    std::string out = LittleEndian(value, bytes);
    return std::string(out.rbegin(), out.rend());
}

// The bytes with `inserted` put in front of the first `marker` (two bytes).
std::string InsertBefore(std::string bytes, const std::string& marker, const std::string& inserted) {
    const size_t at = bytes.find(marker);
    return at == std::string::npos ? std::string() : bytes.insert(at, inserted);
}

// The bytes with the field `offset` bytes after the first `marker` replaced.
std::string Patched(std::string bytes, const std::string& marker, size_t offset, const std::string& field) {
    const size_t at = bytes.find(marker);
    return at == std::string::npos ? std::string() : bytes.replace(at + offset, field.size(), field);
}

std::string Cut(const std::string& bytes, size_t keep) { return bytes.substr(0, keep); }

// The GIF with its first frame's data cut to half its first sub-block, so
// that the frame ends before its LZW end code; its framing stays whole.
std::string GifCutInItsData(const std::string& gif) {
    const size_t at = gif.find(',') + 11;  // the descriptor, the LZW code size, then the block's size
    const size_t size = static_cast<unsigned char>(gif[at]) / 2;
    return gif.substr(0, at) + static_cast<char>(size) + gif.substr(at + 1, size) + std::string("\0;", 2);
}

struct GifFrame {
    unsigned left, top, width, height;
};

std::string Gif(unsigned screenWidth, unsigned screenHeight, GifFrame frame) {
    return GifWithFrame(screenWidth, screenHeight, frame.width, frame.height, frame.left, frame.top);
}

// A BMP of zeros, a core header (12 bytes) or the 40-byte info header,
// whose height below zero means top-down: uncompressed rows, or with rle8
// each row in runs of up to 255 pixels and the data's size in the header.
std::string Bmp(int headerSize, int width, int height, int bitsPerPixel, bool rle8 = false) {
    const int paletteBytes = bitsPerPixel <= 8 ? (headerSize == 12 ? 3 : 4) << bitsPerPixel : 0;
    const uint32_t offset = 14 + headerSize + paletteBytes;
    std::string pixels(size_t(width * bitsPerPixel + 31) / 32 * 4 * std::abs(height), '\0');
    if (rle8) {
        pixels.clear();
        for (int row = 0; row < std::abs(height); ++row) {
            for (int left = width; left > 0; left -= 255) pixels += Bytes({std::min(left, 255), 0});
            pixels += Bytes({0, 0});  // the end of the row
        }
        pixels += Bytes({0, 1});  // the end of the bitmap
    }
    std::string info = headerSize == 12 ? LittleEndian(width, 2) + LittleEndian(height, 2)
                                        : LittleEndian(width, 4) + LittleEndian(height, 4);
    info += LittleEndian(1, 2) + LittleEndian(bitsPerPixel, 2);
    if (rle8) info += LittleEndian(1, 4) + LittleEndian(uint32_t(pixels.size()), 4);
    info.resize(headerSize - 4);
    return "BM" + LittleEndian(offset + uint32_t(pixels.size()), 4) + LittleEndian(0, 4) + LittleEndian(offset, 4) +
           LittleEndian(headerSize, 4) + info + std::string(paletteBytes, '\0') + pixels;
}

TEST_F(PictureFileTest, OnlyWholePicturesWithinTheBoundReachGdiPlus) {
    const std::string png = Encoded(L"image/png"), jpeg = Encoded(L"image/jpeg"), bmp = Encoded(L"image/bmp");
    const std::string progressive = ReadFileBytes(WindowsPathOf(std::string(WENDARO_TEST_DATA "/progressive.jpg")));
    const std::string arithmetic = ReadFileBytes(WindowsPathOf(std::string(WENDARO_TEST_DATA "/arithmetic.jpg")));
    ASSERT_FALSE(png.empty() || jpeg.empty() || bmp.empty() || progressive.empty() || arithmetic.empty());
    const std::string rows = RgbPngData(30, 20), rle8 = Bmp(40, 300, 20, 8, true);
    std::string wrongChecksum = rows, spoiltText = PngWithData(30, 20, rows, false, "tag");
    wrongChecksum.back() ^= 1;
    spoiltText[spoiltText.find("tag")] = 'T';
    const std::string dqt = "\xFF\xDB", sof0 = "\xFF\xC0", sof2 = "\xFF\xC2";
    const std::string exif = Bytes({0xFF, 0xE1, 0, 22}) + std::string("Exif\0\0II*\0", 10) +
                             LittleEndian(8, 4) + LittleEndian(0, 2) + LittleEndian(0, 4);
    const GifFrame small = {0, 0, 30, 20};
    const std::string gif = Gif(30, 20, small);
    struct Case {
        const char* name;
        std::string bytes;
        bool showable;
        bool stored;  // the carousel's loader draws it, so the update run stores it
    } cases[] = {
        {"png", png, true, true},
        {"half a png", Cut(png, png.size() / 2), false, false},
        {"png without the last byte of its end chunk", Cut(png, png.size() - 1), false, false},
        {"png at the bound", GiantPng(1024, 1024), true, true},
        {"png a pixel wider than the bound", GiantPng(1025, 1024), false, false},
        {"png a pixel higher than the bound", GiantPng(1024, 1025), false, false},
        {"png image data cut at half", PngWithData(30, 20, Cut(rows, rows.size() / 2)), false, false},
        {"png of a row too few", PngWithData(30, 20, RgbPngData(30, 19)), false, false},
        {"png with a wrong data checksum", PngWithData(30, 20, wrongChecksum), false, false},
        {"png without image data", PngWithData(30, 20, rows).erase(33, 12 + rows.size()), false, false},
        {"png whose text chunk fails its crc", spoiltText, false, false},
        {"interlaced png", PngWithData(30, 20, RgbPngData(30, 20, true), true), true, true},
        {"interlaced png with empty passes", PngWithData(3, 3, RgbPngData(3, 3, true), true), true, true},
        {"png with a second header chunk", std::string(png).insert(33, png.substr(8, 25)), true, false},
        {"jpeg", jpeg, true, true},
        {"progressive jpeg", progressive, true, true},
        {"jpeg with exif and fill bytes", InsertBefore(jpeg.substr(0, 2) + exif + jpeg.substr(2), dqt, "\xFF\xFF"),
         true, true},
        {"jpeg with stray bytes between segments", InsertBefore(jpeg, dqt, Bytes({0, 0x12, 0x34})), true, true},
        {"jpeg at the bound high", Patched(jpeg, sof0, 5, BigEndian(1024, 2)), true, true},
        {"jpeg 0 high", Patched(jpeg, sof0, 5, BigEndian(0, 2)), false, false},
        {"progressive jpeg a pixel wider than the bound", Patched(progressive, sof2, 7, BigEndian(1025, 2)),
         false, false},
        {"jpeg without its end marker", Cut(jpeg, jpeg.size() - 2), false, false},
        {"lossless jpeg", Patched(jpeg, sof0, 1, "\xC3"), false, false},
        {"arithmetic-coded jpeg", arithmetic, false, false},
        {"jpeg of 12-bit samples", Patched(jpeg, sof0, 4, "\x0C"), false, false},
        {"progressive jpeg cut after its first scans", Cut(progressive, progressive.size() / 2), false, false},
        {"jpeg whose scan names a component its frame lacks", Patched(jpeg, "\xFF\xDA", 5, "\x09"), true, false},
        {"jpeg with a scan before its frame", jpeg.substr(0, 2) + Bytes({0xFF, 0xDA, 0, 2}) + jpeg.substr(2),
         false, false},
        {"bmp", bmp, true, true},
        {"bmp cut short", Cut(bmp, bmp.size() - 10), false, false},
        {"bmp with a file size of 0", Patched(bmp, "BM", 2, LittleEndian(0, 4)), true, true},
        {"bmp with a file size of 0 cut short", Cut(Patched(bmp, "BM", 2, LittleEndian(0, 4)), bmp.size() - 10),
         false, false},
        {"bmp whose file size is past its end", Patched(bmp, "BM", 2, LittleEndian(uint32_t(bmp.size()) + 1, 4)),
         false, false},
        {"bmp top-down at the bound high", Bmp(40, 1, -1024, 24), true, true},
        {"bmp top-down a pixel past the bound high", Bmp(40, 1, -1025, 24), false, false},
        {"bmp core header 5000 wide", Bmp(12, 5000, 1, 1), false, false},
        {"bmp of 0 bits a pixel", Bmp(40, 8, 8, 0), false, false},
        {"bmp of 1 bit a pixel in bit fields", Patched(Bmp(40, 8, 8, 1), "BM", 30, LittleEndian(3, 4)), true, false},
        {"rle8 bmp", rle8, true, true},
        {"rle8 bmp of 24 bits a pixel", Bmp(40, 300, 20, 24, true), false, false},
        {"rle8 bmp with a file size of 0 cut short", Cut(Patched(rle8, "BM", 2, LittleEndian(0, 4)), rle8.size() - 10),
         false, false},
        {"rle8 bmp without the size of its data", Patched(rle8, "BM", 34, LittleEndian(0, 4)), false, false},
        {"gif", gif, true, true},
        {"gif with a 0 x 0 screen", Gif(0, 0, small), true, true},
        {"gif frame larger than its screen", Gif(10, 10, {0, 0, 40, 30}), true, true},
        {"gif screen at the bound", Gif(1024, 1024, small), true, true},
        {"gif screen a pixel wider than the bound", Gif(1025, 20, small), false, false},
        {"gif screen a pixel higher than the bound", Gif(30, 1025, small), false, false},
        {"gif frame 5000 x 5000 on a small screen", Gif(30, 20, {0, 0, 5000, 5000}), false, false},
        {"gif frame at the bound high", Gif(30, 20, {0, 0, 30, 1024}), true, true},
        {"gif frame a pixel higher than the bound", Gif(30, 20, {0, 0, 30, 1025}), false, false},
        {"gif frame reaching the bound", Gif(30, 20, {924, 0, 100, 20}), true, true},
        {"gif frame reaching a pixel past the bound", Gif(30, 20, {924, 0, 101, 20}), false, false},
        {"gif frame reaching the bound downwards", Gif(30, 20, {0, 924, 30, 100}), true, true},
        {"gif frame reaching a pixel past the bound downwards", Gif(30, 20, {0, 924, 30, 101}), false, false},
        {"gif frame 0 high", Gif(30, 20, {0, 0, 30, 0}), false, false},
        {"gif of frames larger than the bound together", GifOfFrames(1024, 1024, 1024, 512, 3), false, false},
        {"gif of the most frames, as large as the bound together", GifOfFrames(1024, 1024, 1024, 8, 128), true,
         true},
        {"gif of a frame too many", GifOfFrames(1024, 1024, 1, 1, 129), false, false},
        {"gif whose frame ends before its end code", GifCutInItsData(gif), true, false},
        {"gif without an image", gif.substr(0, gif.find(',')) + ";", false, false},
        {"gif without its trailer", Cut(gif, gif.size() - 1), false, false},
        {"empty file", "", false, false},
        {"html page", "<!DOCTYPE html><html><body>Not found</body></html>", false, false},
    };
    int index = 0;
    for (const Case& c : cases) {
        // Named .png whatever they hold: the content tells the format.
        const std::wstring path = folder / (std::to_wstring(++index) + L".png");
        ASSERT_TRUE(WriteFileBytes(path, c.bytes)) << c.name;
        EXPECT_EQ(c.showable, IsShowablePicture(path.c_str())) << c.name;
        EXPECT_EQ(c.stored, IsDrawnPicture(path.c_str())) << c.name;
        if (c.stored) {
            Gdiplus::Bitmap direct(path.c_str(), FALSE);
            EXPECT_EQ(Gdiplus::Ok, direct.GetLastStatus()) << c.name;
            GdiBitmap shown;
            LoadPictureBitmap(path.c_str(), shown.put());
            BITMAP info = {};
            EXPECT_TRUE(shown && GetObjectW(shown.get(), sizeof info, &info)) << c.name;
            EXPECT_EQ(direct.GetWidth(), UINT(info.bmWidth)) << c.name;
        }
        if (!c.showable) {
            VELQGDIPLUS::CVELQGdiPlusBitmap picture;
            EXPECT_FALSE(picture.Load(path.c_str())) << c.name;
            EXPECT_EQ(nullptr, picture.bitmap) << c.name;
        }
    }
}

}  // namespace
