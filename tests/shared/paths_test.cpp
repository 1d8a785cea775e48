#include "shared/paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "shared/constants.h"
#include "tests/support/environment.h"
#include "tests/support/program.h"
#include "tests/support/temp_folder.h"

using namespace wendaro_test;

namespace {

constexpr wchar_t ModuleDirectorySwitch[] = L"--write-module-directory";

bool IsDirectory(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Runs a copy of this test program at `program`, which writes what
// GetModuleDirectory gives it into `output`.
bool RunCopyWritingModuleDirectory(const std::wstring& program, const std::wstring& output) {
    return RunProgramAt(program, std::wstring(ModuleDirectorySwitch) + L" " + QuoteArgument(output))
        .finished;
}

// A file whose long form is `length` characters: levels of 200 characters
// below the folder, `tag` telling one such tree from another, and a name that
// makes up the rest. Empty when it cannot be made.
std::wstring FileWithLongForm(const TempFolder& folder, wchar_t tag, size_t length) {
    std::wstring path = folder.path();
    while (length - path.size() > 256) {
        path += L"\\" + std::wstring(200, tag);
        if (!CreateDirectoryW((L"\\\\?\\" + path).c_str(), nullptr)) return L"";
    }
    path += L"\\" + std::wstring(length - path.size() - 5, L'f') + L".txt";
    return WriteFileBytes(L"\\\\?\\" + path, "x") ? path : L"";
}

// The system's short form of an existing path; empty when it has none.
std::wstring ShortForm(const std::wstring& path) {
    wchar_t buffer[MAX_PATH] = {};
    DWORD length = GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? buffer : L"";
}

// start followed by levels of at most 200 characters, `length` in all.
std::wstring PathOfLength(const std::wstring& start, size_t length) {
    std::wstring path = start;
    while (path.size() + 1 < length) {
        size_t level = std::min<size_t>(200, length - path.size() - 1);
        // Never leave one character over: a level takes two at least.
        if (length - path.size() - 1 - level == 1) --level;
        path += L"\\" + std::wstring(level, L'd');
    }
    return path;
}

std::wstring ReadWide(const std::wstring& path) {
    std::string bytes = ReadFileBytes(path);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
}

}  // namespace

TEST(Paths, DataFolderLayoutUnderAllUsersProfile) {
    ScopedEnvironment profile(L"ALLUSERSPROFILE", L"C:\\ProgramData");
    EXPECT_EQ(L"C:\\ProgramData\\Dravik\\Wendaro\\", GetProductDataFolder());
    EXPECT_EQ(L"C:\\ProgramData\\Dravik\\Wendaro\\Mappingtable.xml",
              GetProductDataFolder() + MappingTableFileName);
    EXPECT_EQ(L"C:\\ProgramData\\Dravik\\Wendaro\\Images\\", GetImagesFolder());
    EXPECT_EQ(L"C:\\ProgramData\\Dravik\\Wendaro\\Images\\XYZ\\",
              GetExtensionImagesFolder(L"C:\\docs\\report.XYZ"));
}

TEST(Paths, CategoryXmlPathCreatesTheExtensionFolder) {
    TempFolder folder;
    ScopedEnvironment profile(L"ALLUSERSPROFILE", folder.path().c_str());
    EXPECT_EQ(folder.path() + L"\\Dravik\\Wendaro\\Images\\XYZ\\123.xml",
              GetCategoryXmlPath(L"123", L"C:\\docs\\report.XYZ"));
    EXPECT_TRUE(IsDirectory(folder.path() + L"\\Dravik\\Wendaro\\Images\\XYZ"));
}

TEST(Paths, WithoutAllUsersProfileThePicturesGoBelowTheCurrentFolder) {
    TempFolder folder;
    ScopedEnvironment profile(L"ALLUSERSPROFILE", nullptr);
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.path().c_str()));

    EXPECT_EQ(L"", GetProductDataFolder());
    EXPECT_EQ(L"Images\\", GetImagesFolder());
    EXPECT_EQ(L"Images\\abc\\7.xml", GetCategoryXmlPath(L"7", L"C:\\x\\file.abc"));
    EXPECT_TRUE(IsDirectory(folder / L"Images\\abc"));
    SetCurrentDirectoryW(previous);
}

// The value is used whole or not at all: 258 characters fit the buffer.
TEST(Paths, OverlongAllUsersProfileGivesNoDataFolder) {
    const std::wstring fits = L"C:\\" + std::wstring(255, L'p');
    const std::wstring tooLong = fits + L"q";
    const std::wstring farTooLong = L"C:\\" + std::wstring(400, L'p');
    {
        ScopedEnvironment profile(L"ALLUSERSPROFILE", fits.c_str());
        EXPECT_EQ(fits + L"\\Dravik\\Wendaro\\", GetProductDataFolder());
    }
    for (const std::wstring& value : {tooLong, farTooLong}) {
        ScopedEnvironment profile(L"ALLUSERSPROFILE", value.c_str());
        EXPECT_EQ(L"", GetProductDataFolder()) << value.size() << " characters";
    }
}

TEST(Paths, FileExtensionOfTheLastComponentOnly) {
    const std::wstring longName(255, L'n');
    const struct { std::wstring path; std::wstring extension; } cases[] = {
        {L"C:\\a.b\\file", L""},
        {L"C:\\x\\archive.tar.gz", L"gz"},
        {L"C:\\x\\name.", L""},
        {L"C:\\x\\.profile", L"profile"},
        {L"C:\\docs\\report.XYZ", L"XYZ"},
        {L"C:/x.y/z.txt", L"txt"},
        {L"\\\\server\\share\\clip.mp4", L"mp4"},
        {L"noext", L""},
        {L"", L""},
        {L"C:\\x\\" + longName + L".txt", L"txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.extension, GetFileExtension(c.path)) << c.path;
}

// Path pieces that do not fit the splitting buffers are refused, not cut.
TEST(Paths, FileExtensionRefusesOverlongParts) {
    const std::wstring cases[] = {
        L"C:\\x\\" + std::wstring(256, L'n') + L".txt",       // file name
        L"C:\\" + std::wstring(300, L'd') + L"\\file.txt",    // directory
        L"C:\\x\\file." + std::wstring(300, L'e'),            // extension
    };
    for (const auto& path : cases) EXPECT_EQ(L"", GetFileExtension(path)) << path.size();
}

TEST(Paths, ImageExtensionIsTheTextAfterTheLastDot) {
    const struct { const wchar_t* address; const wchar_t* extension; } cases[] = {
        {L"https://images.fernhollow.example/x/a.png", L"png"},
        {L"nodotatall", L"jpg"},
        {L"", L"jpg"},
        {L"https://images.fernhollow.example/x/pic", L"example/x/pic"},
        {L"C:\\dir\\pic.JPEG", L"JPEG"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.extension, GetImageExtension(c.address)) << c.address;
}

// Short forms are made by the system: Wine's aliases are not ~1 names.
TEST(Paths, LongPathExpandsShortNamesAndKeepsOthers) {
    TempFolder folder;
    const std::wstring file = folder / L"A long file name.text";
    ASSERT_TRUE(WriteFileBytes(file, "x"));
    std::wstring deep = folder.path();
    for (const wchar_t* level : {L"one", L"two", L"three", L"four"}) {
        deep += L"\\Longer folder name " + std::wstring(level);
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    }
    const std::wstring deepFile = deep + L"\\A long file name.text";
    ASSERT_TRUE(WriteFileBytes(deepFile, "x"));
    // Wine writes a long form of 1,024 characters or more past its buffer:
    // 1,023 is the longest one asked for.
    const std::wstring longest = FileWithLongForm(folder, L'a', 1023);
    const std::wstring tooLong = FileWithLongForm(folder, L'b', 1024);
    const std::wstring overlong = FileWithLongForm(folder, L'c', 1100);
    const std::wstring shortFile = ShortForm(file), shortDeep = ShortForm(deepFile);
    ASSERT_NE(L"", shortFile);
    ASSERT_NE(file, shortFile);
    ASSERT_LE(5, std::count(shortDeep.begin(), shortDeep.end(), L'~')) << shortDeep;
    const std::wstring shortLongest = ShortForm(longest), shortTooLong = ShortForm(tooLong),
                       shortOverlong = ShortForm(overlong);
    for (const std::wstring* shortPath : {&shortLongest, &shortTooLong, &shortOverlong}) {
        ASSERT_NE(L"", *shortPath);
        ASSERT_LT(shortPath->size(), 200u) << *shortPath;
    }

    const struct { std::wstring path; std::wstring expected; } cases[] = {
        {shortFile, file},
        {shortDeep, deepFile},
        {shortLongest, longest},
        {shortTooLong, shortTooLong},
        {shortOverlong, shortOverlong},
        {file, file},
        {folder / L"missing file.txt", folder / L"missing file.txt"},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, GetLongPath(c.path)) << c.path;
}

TEST(Paths, ModuleDirectoryKeepsTheTrailingBackslash) {
    TempFolder folder;
    const std::wstring tool = folder / L"Program Files\\Tool";
    ASSERT_TRUE(CreateFolderTree(tool));
    const std::wstring program = tool + L"\\prog.exe";
    ASSERT_TRUE(CopyFileW(SelfPath().c_str(), program.c_str(), FALSE));
    const std::wstring output = folder / L"out.txt";
    ASSERT_TRUE(RunCopyWritingModuleDirectory(program, output));
    EXPECT_EQ(tool + L"\\", ReadWide(output));
}

TEST(Paths, FolderTreeIsCreatedLevelByLevel) {
    TempFolder folder;
    EXPECT_TRUE(CreateFolderTree(folder / L"a\\b\\c"));
    EXPECT_TRUE(IsDirectory(folder / L"a\\b\\c"));
    // Every level exists: nothing to do, and the answer is still yes.
    EXPECT_TRUE(CreateFolderTree(folder / L"a\\b\\c"));

    CreateFolderTree(folder / L"d\\e\\");
    EXPECT_TRUE(IsDirectory(folder / L"d\\e"));

    EXPECT_TRUE(CreateFolderTree(folder.path() + L"/f/g"));
    EXPECT_TRUE(IsDirectory(folder / L"f\\g"));
}

TEST(Paths, FolderTreeFailsOnAFileInTheWay) {
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / L"blocker", "x"));
    EXPECT_FALSE(CreateFolderTree(folder / L"blocker\\below"));
    EXPECT_TRUE(FileExists(folder / L"blocker"));
    EXPECT_FALSE(CreateFolderTree(folder / L"blocker"));
}

// The working copy holds 259 characters and the terminator: one more and
// nothing is created, not even the first level.
TEST(Paths, FolderTreeTooLongForItsBufferCreatesNothing) {
    TempFolder folder;
    const struct { const wchar_t* first; size_t length; bool created; } cases[] = {
        {L"fits", 259, true},
        {L"full", 260, false},
        {L"over", 300, false},
    };
    for (const auto& c : cases) {
        const std::wstring path = PathOfLength(folder / c.first, c.length);
        ASSERT_EQ(c.length, path.size());
        EXPECT_EQ(c.created, CreateFolderTree(path) != FALSE) << c.length;
        EXPECT_EQ(c.created, IsDirectory(path)) << c.length;
        EXPECT_EQ(c.created, IsDirectory(folder / c.first)) << c.length;
    }
}

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == ModuleDirectorySwitch) {
        std::wstring directory = GetModuleDirectory();
        std::string bytes(reinterpret_cast<const char*>(directory.data()),
                          directory.size() * sizeof(wchar_t));
        return WriteFileBytes(argv[2], bytes) ? 0 : 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
