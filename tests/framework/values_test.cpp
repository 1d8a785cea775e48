// Value behaviour of the framework: point fonts, file enumeration, the
// drawing primitives the dialogs' painting relies on, and strings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/afx.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace wendaro_test;

// Runs at the prefix's screen DPI: 96 normally, 120 in the prefix that
// WENDARO_EXPECT_DPI announces (test_framework_values_120dpi).
TEST(PointFont, DescriptionIsZeroButHeightCharsetAndFace) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (const char* expected = std::getenv("WENDARO_EXPECT_DPI")) {
        ASSERT_EQ(std::atoi(expected), dpi);
    }
    const std::map<int, std::vector<LONG>> heights = {{96, {-11, -12, -13}}, {120, {-13, -15, -17}}};
    ASSERT_EQ(1u, heights.count(dpi)) << dpi;

    const int tenths[] = {80, 90, 100};
    for (int i = 0; i < 3; ++i) {
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(tenths[i], L"Tahoma Bold"));
        LOGFONTW lf{};
        ASSERT_EQ(static_cast<int>(sizeof(lf)), GetObjectW(font.m_hObject, sizeof(lf), &lf));
        EXPECT_EQ(heights.at(dpi)[i], lf.lfHeight) << tenths[i];
        EXPECT_EQ(DEFAULT_CHARSET, lf.lfCharSet);
        EXPECT_STREQ(L"Tahoma Bold", lf.lfFaceName);
        EXPECT_EQ(0, lf.lfWidth);
        EXPECT_EQ(FW_DONTCARE, lf.lfWeight);
        EXPECT_EQ(0, lf.lfItalic + lf.lfUnderline + lf.lfStrikeOut + lf.lfOutPrecision + lf.lfQuality +
                         lf.lfPitchAndFamily + lf.lfClipPrecision + lf.lfEscapement + lf.lfOrientation);
    }
}

TEST(PointFont, DestructorDeletesTheFont) {
    HGDIOBJ handle = nullptr;
    {
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(80, L"Tahoma"));
        handle = font.m_hObject;
        LOGFONTW lf;
        ASSERT_NE(0, GetObjectW(handle, sizeof(lf), &lf));
    }
    LOGFONTW lf;
    EXPECT_EQ(0, GetObjectW(handle, sizeof(lf), &lf));
}

class FileFindTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t* name : {L"a.png", L"b.JPG", L"c.xml"}) ASSERT_TRUE(WriteFileBytes(folder / name, "x"));
        ASSERT_TRUE(CreateDirectoryW((folder / L"sub").c_str(), nullptr));
    }

    // Enumerates the way the carousel does: handle the current entry after
    // every FindNextFile, also after the one that returns FALSE.
    std::vector<std::wstring> Enumerate(const std::wstring& pattern, std::set<std::wstring>* folders = nullptr) {
        std::vector<std::wstring> names;
        CFileFind finder;
        BOOL more = finder.FindFile(pattern.c_str());
        if (more) {
            EXPECT_TRUE(finder.GetFileName().IsEmpty());
        }
        while (more) {
            more = finder.FindNextFile();
            names.push_back(static_cast<LPCWSTR>(finder.GetFileName()));
            if (folders && finder.IsDirectory()) folders->insert(names.back());
        }
        return names;
    }

    TempFolder folder;
};

TEST_F(FileFindTest, EveryEntryIncludingTheLastIsCurrentOnce) {
    std::set<std::wstring> folders;
    std::vector<std::wstring> names = Enumerate(folder / L"*.*", &folders);
    EXPECT_EQ((std::multiset<std::wstring>{L".", L"..", L"a.png", L"b.JPG", L"c.xml", L"sub"}),
              std::multiset<std::wstring>(names.begin(), names.end()));
    EXPECT_EQ((std::set<std::wstring>{L".", L"..", L"sub"}), folders);
}

TEST_F(FileFindTest, ASingleMatchIsCurrentAfterTheFirstFindNextFile) {
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile((folder / L"a.*").c_str()));
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_EQ(CString(L"a.png"), finder.GetFileName());
    EXPECT_FALSE(finder.IsDirectory());
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_EQ(CString(L"a.png"), finder.GetFileName());
}

TEST_F(FileFindTest, NoMatchAndOverlongPatternsFail) {
    CFileFind finder;
    EXPECT_FALSE(finder.FindFile((folder / L"nothing*").c_str()));
    EXPECT_FALSE(finder.FindNextFile());

    std::wstring longPattern = folder.path() + L"\\";
    longPattern.append(MAX_PATH - longPattern.size(), L'x');
    ASSERT_EQ(static_cast<size_t>(MAX_PATH), longPattern.size());
    EXPECT_FALSE(finder.FindFile(longPattern.c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_BAD_ARGUMENTS), GetLastError());
    longPattern.pop_back();
    EXPECT_FALSE(finder.FindFile(longPattern.c_str()));
    EXPECT_NE(static_cast<DWORD>(ERROR_BAD_ARGUMENTS), GetLastError());
}

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        ASSERT_TRUE(bitmap.Attach(CreateBitmap(8, 8, 1, 32, nullptr)));
        old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 8, 8, kWhite);
    }
    void TearDown() override { dc.SelectObject(old); }

    static constexpr COLORREF kWhite = RGB(255, 255, 255);
    CDC dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;
};

TEST_F(DrawingTest, FillSolidRectFillsAndLeavesTheBackgroundColourSet) {
    dc.FillSolidRect(1, 2, 3, 3, RGB(0xC6, 0xC6, 0xC6));
    EXPECT_EQ(RGB(0xC6, 0xC6, 0xC6), GetBkColor(dc));
    EXPECT_EQ(RGB(0xC6, 0xC6, 0xC6), GetPixel(dc, 1, 2));
    EXPECT_EQ(RGB(0xC6, 0xC6, 0xC6), GetPixel(dc, 3, 4));
    EXPECT_EQ(kWhite, GetPixel(dc, 4, 4));
    EXPECT_EQ(kWhite, GetPixel(dc, 3, 5));
}

TEST_F(DrawingTest, Draw3dRectIsFourOnePixelLines) {
    const COLORREF light = RGB(255, 0, 0);
    const COLORREF dark = RGB(0, 0, 255);
    dc.Draw3dRect(CRect(1, 1, 6, 5), light, dark);
    const char* expected[] = {
        "........",
        ".LLLLD..",
        ".L...D..",
        ".L...D..",
        ".DDDDD..",
        "........",
    };
    for (int y = 0; y < 6; ++y) {
        std::string row;
        for (int x = 0; x < 8; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            row += c == light ? 'L' : c == dark ? 'D' : c == kWhite ? '.' : '?';
        }
        EXPECT_EQ(expected[y], row) << "row " << y;
    }
}

TEST_F(DrawingTest, SelectObjectGivesBackWhatWasSelected) {
    CBitmap other;
    ASSERT_TRUE(other.Attach(CreateBitmap(2, 2, 1, 32, nullptr)));
    CBitmap* previous = dc.SelectObject(&other);
    EXPECT_EQ(bitmap.m_hObject, previous->m_hObject);
    EXPECT_EQ(other.m_hObject, dc.SelectObject(previous)->m_hObject);
}

TEST(Text, FormatUsesWideStringsAndMakeLowerOnlyAsciiLetters) {
    CString text;
    text.AppendFormat(L"%s-%i", L"pic", 7);
    text.AppendFormat(L".%i", 42);
    EXPECT_EQ(CString(L"pic-7.42"), text);
    CString name(L"PIC01.JPG\x00C4");
    name.MakeLower();
    EXPECT_EQ(CString(L"pic01.jpg\x00C4"), name);
    EXPECT_EQ(5, name.ReverseFind(L'.'));
    EXPECT_EQ(CString(L"jpg\x00C4"), name.Mid(name.ReverseFind(L'.') + 1));
}

}  // namespace
