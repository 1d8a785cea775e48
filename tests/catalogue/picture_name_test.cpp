#include "catalogue/picture_name.h"

#include <gtest/gtest.h>

#include <string>

TEST(PictureName, NumberWithTwoDigitsAndThePicturesOwnExtension) {
    EXPECT_EQ(L"pic01.png", FormatPictureName(1, L"png"));
    EXPECT_EQ(L"pic05.jpg", FormatPictureName(5, L"jpg"));
    EXPECT_EQ(L"pic03.", FormatPictureName(3, L""));
    // "pic01." and 253 characters make 259, the most a name may have.
    EXPECT_EQ(259u, FormatPictureName(1, std::wstring(253, L'e')).size());
    EXPECT_EQ(L"", FormatPictureName(1, std::wstring(254, L'e')));
    EXPECT_EQ(L"", FormatPictureName(1, std::wstring(L"png\0.exe", 8)));
}

TEST(PictureName, OnlyPlainFileNamesAreUsed) {
    struct Case {
        std::wstring name;
        bool plain;
    } cases[] = {
        {L"pic01.png", true},
        {L"pic01.tar.gz", true},
        {L"pic01.b/..\\..\\x", false},
        {L"pic01.example/FHHM/Storefront/Company/", false},
        {L"pic01.b\\evil", false},
        {L"pic01.png:stream", false},
        {L"pic01.*", false},
        {L"pic01.png?x=1", false},
        {L"pic01.\"png\"", false},
        {L"pic01.<png>", false},
        {L"pic01.p|g", false},
        {L"pic01.p\tg", false},
        {L"pic01.p\x7Fg", false},
        {L"", false},
        {L"pic01." + std::wstring(253, L'e'), true},
        {L"pic01." + std::wstring(254, L'e'), false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.plain, IsPlainFileName(c.name)) << c.name.c_str();
}
