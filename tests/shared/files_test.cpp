#include "shared/files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shared/handle.h"
#include "shared/work_files.h"
#include "tests/support/program.h"
#include "tests/support/text.h"
#include "tests/support/environment.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_times.h"

using namespace wendaro_test;

namespace {

KernelHandle HoldForWriting(const std::wstring& path) {
    return KernelHandle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::wstring NameOf(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

// A copy that must fail, leaving why in the last error.
void ExpectCopyFails(const std::wstring& source, const std::wstring& destination, DWORD error) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(CopyFileOpenAccess(source, destination)) << Narrow(source) << " to " << Narrow(destination);
    EXPECT_EQ(error, GetLastError()) << Narrow(source) << " to " << Narrow(destination);
}

std::vector<std::wstring> FolderEntries(const TempFolder& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry = {};
    FindHandle search(FindFirstFileW((folder / L"*").c_str(), &entry));
    if (!search) return names;
    do {
        std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search.get(), &entry));
    return names;
}

}  // namespace

TEST(CopyFileOpenAccess, ReplacesTheDestinationWithAFreshCopy) {
    TempFolder folder;
    std::string content;
    for (int i = 0; i < 3000; ++i) content += static_cast<char>('a' + i % 26);
    content += std::string(5000, '\0') + "end";  // several 4096-byte blocks
    const std::wstring source = folder / L"source.xml";
    const std::wstring destination = folder / L"destination.xml";
    ASSERT_TRUE(WriteFileBytes(source, content));
    SYSTEMTIME old = UtcTime(2001, 2, 3, 4, 5, 6);
    ASSERT_TRUE(SetFileWriteTime(source, &old));
    ASSERT_TRUE(WriteFileBytes(destination, "an older and rather longer stored table"));

    ULONGLONG before = NowTicks();
    EXPECT_TRUE(CopyFileOpenAccess(source, destination));
    EXPECT_EQ(content, ReadFileBytes(destination));
    // The copy is a new file: stamped with the time of the copy, not the source's.
    EXPECT_GE(Ticks(GetFileWriteTime(destination)) + 20000000, before);
    EXPECT_EQ(2u, FolderEntries(folder).size()) << "nothing left beside the destination";
}

TEST(CopyFileOpenAccess, CreatesAMissingDestination) {
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / L"s", ""));
    EXPECT_TRUE(CopyFileOpenAccess(folder / L"s", folder / L"d"));
    EXPECT_TRUE(FileExists(folder / L"d"));
    EXPECT_EQ(0u, GetFileSize32(folder / L"d"));
}

TEST(CopyFileOpenAccess, UnusableSourceLeavesTheDestinationAlone) {
    TempFolder folder;
    const std::wstring destination = folder / L"destination.xml";
    const std::wstring held = folder / L"held.xml";
    ASSERT_TRUE(WriteFileBytes(destination, "stored"));
    ASSERT_TRUE(WriteFileBytes(held, "being written"));
    ASSERT_TRUE(CreateDirectoryW((folder / L"sub").c_str(), nullptr));
    KernelHandle writer = HoldForWriting(held);
    ASSERT_TRUE(writer.valid());

    // The last error says why, also where no system call failed.
    const struct {
        std::wstring source;
        DWORD error;
    } cases[] = {
        {folder / L"sub", ERROR_ACCESS_DENIED},
        {folder / L"missing.xml", ERROR_FILE_NOT_FOUND},
        {L"", ERROR_FILE_NOT_FOUND},
        {held, ERROR_SHARING_VIOLATION},
    };
    for (const auto& c : cases) {
        ExpectCopyFails(c.source, destination, c.error);
        EXPECT_EQ("stored", ReadFileBytes(destination)) << Narrow(c.source);
    }
    EXPECT_EQ(3u, FolderEntries(folder).size());
}

// Readers of a stored table see it whole: one that holds the destination
// open through a copy reads the old content, whether the system lets the
// copy replace a file held open or not (Wine does not).
TEST(CopyFileOpenAccess, AReaderOfTheDestinationKeepsTheOldContent) {
    TempFolder folder;
    const std::wstring source = folder / L"source.xml";
    const std::wstring destination = folder / L"destination.xml";
    const std::string fresh(9000, 'n'), stored = "the stored table";
    ASSERT_TRUE(WriteFileBytes(source, fresh));
    ASSERT_TRUE(WriteFileBytes(destination, stored));
    KernelHandle reader(CreateFileW(destination.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader.valid());

    const bool copied = CopyFileOpenAccess(source, destination) != FALSE;
    char seen[64] = {};
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(reader.get(), seen, sizeof seen, &read, nullptr));
    EXPECT_EQ(stored, std::string(seen, read));
    EXPECT_TRUE(ReadFileBytes(destination) == (copied ? fresh : stored)) << "copied " << copied;
    EXPECT_EQ(2u, FolderEntries(folder).size()) << "nothing left beside the destination";
}

// A source that opens but whose reads fail leaves the destination as it was.
// Wine does not keep a reader out of a locked range; the process's own
// memory file fails its first read (nothing is mapped at address 0), after
// the copy has begun.
TEST(CopyFileOpenAccess, AReadThatFailsLeavesTheDestinationAlone) {
    TempFolder folder;
    const std::wstring destination = folder / L"destination.xml";
    ASSERT_TRUE(WriteFileBytes(destination, "stored"));
    const std::wstring failingSource = L"Z:\\proc\\self\\mem";
    KernelHandle probe(CreateFileW(failingSource.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(probe.valid()) << "the source opens";

    EXPECT_FALSE(CopyFileOpenAccess(failingSource, destination));
    EXPECT_TRUE(ReadFileBytes(destination) == "stored");
    EXPECT_EQ(1u, FolderEntries(folder).size()) << "nothing left beside the destination";
}

// The copy is written beside the destination: a folder in the destination's
// place, or a reader of it that shares no deletion, lets the copy through and
// only then refuses it. The last error tells the caller why.
TEST(CopyFileOpenAccess, DestinationThatCannotBeWrittenFailsCleanly) {
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / L"source.xml", "new"));
    ASSERT_TRUE(CreateDirectoryW((folder / L"taken").c_str(), nullptr));
    const std::wstring held = folder / L"held.xml";
    ASSERT_TRUE(WriteFileBytes(held, "stored"));
    KernelHandle reader(CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader.valid());
    const struct {
        std::wstring destination;
        DWORD error;
    } cases[] = {
        {folder / L"no such folder\\d.xml", ERROR_PATH_NOT_FOUND},
        {folder / L"taken", ERROR_ACCESS_DENIED},
        {held, ERROR_ACCESS_DENIED},
    };
    for (const auto& c : cases) ExpectCopyFails(folder / L"source.xml", c.destination, c.error);
    EXPECT_EQ("stored", ReadFileBytes(held));
    EXPECT_EQ(3u, FolderEntries(folder).size()) << "nothing left beside the destination";
}

TEST(FileWriteTime, UnreadableFilesGiveTheStartOf1970) {
    TempFolder folder;
    const std::wstring held = folder / L"held";
    ASSERT_TRUE(WriteFileBytes(held, "x"));
    KernelHandle writer = HoldForWriting(held);
    ASSERT_TRUE(writer.valid());
    for (const std::wstring& path : {std::wstring(), folder / L"missing", held})
        EXPECT_EQ(Epoch1970, Ticks(GetFileWriteTime(path))) << path;
}

TEST(FileWriteTime, SetThenGetRoundTripsInUtc) {
    TempFolder folder;
    const std::wstring file = folder / L"f";
    ASSERT_TRUE(WriteFileBytes(file, "x"));
    SYSTEMTIME stamp = UtcTime(2024, 2, 29, 23, 59, 58);
    stamp.wMilliseconds = 7;
    EXPECT_TRUE(SetFileWriteTime(file, &stamp));
    EXPECT_EQ(Ticks(stamp), Ticks(GetFileWriteTime(file)));
}

// The download job passes an all-zero time when the server sent none.
TEST(FileWriteTime, TimeThatDoesNotConvertLeavesTheFileAsItWas) {
    TempFolder folder;
    const std::wstring file = folder / L"f";
    ASSERT_TRUE(WriteFileBytes(file, "x"));
    SYSTEMTIME stamp = UtcTime(2010, 6, 15, 12, 0, 0);
    ASSERT_TRUE(SetFileWriteTime(file, &stamp));
    SYSTEMTIME zero = {};
    EXPECT_TRUE(SetFileWriteTime(file, &zero));
    EXPECT_TRUE(SetFileWriteTime(file, nullptr));
    EXPECT_EQ(Ticks(stamp), Ticks(GetFileWriteTime(file)));
}

TEST(FileWriteTime, SettingAMissingFileCreatesNothing) {
    TempFolder folder;
    SYSTEMTIME stamp = UtcTime(2010, 6, 15, 12, 0, 0);
    EXPECT_FALSE(SetFileWriteTime(folder / L"missing", &stamp));
    EXPECT_FALSE(FileExists(folder / L"missing"));
}

TEST(FileSize32, KeepsOnlyTheLow32Bits) {
    TempFolder folder;
    const std::wstring big = folder / L"big";
    {
        // Sparse: instant, and takes no disk space.
        KernelHandle file(CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file.valid());
        LARGE_INTEGER size;
        size.QuadPart = (1LL << 32) + 10;
        ASSERT_TRUE(SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.get()));
    }
    EXPECT_EQ(10u, GetFileSize32(big));
    ASSERT_TRUE(WriteFileBytes(folder / L"small", "12345"));
    EXPECT_EQ(5u, GetFileSize32(folder / L"small"));
    EXPECT_EQ(0u, GetFileSize32(folder / L"missing"));
    EXPECT_EQ(0u, GetFileSize32(L""));
}

TEST(TempFilePath, GivesDistinctNamesThatDoNotExist) {
    const std::wstring first = GetTempFilePath(TempFilePrefix);
    const std::wstring second = GetTempFilePath(TempFilePrefix);
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, second);
    EXPECT_FALSE(FileExists(first));
    EXPECT_FALSE(FileExists(second));

    wchar_t tempFolder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, tempFolder);
    const std::wstring expectedStart = std::wstring(tempFolder) + L"VEL";
    EXPECT_EQ(0, _wcsnicmp(first.c_str(), expectedStart.c_str(), expectedStart.size())) << first;
    EXPECT_EQ(L".tmp", first.substr(first.size() - 4));
}

// A run removes what ended runs left, whatever its step, and nothing that a
// running run still needs (also closed, between two of its steps), nor any
// other program's file; its own go only as it ends.
TEST(WorkFiles, OnlyThoseOfEndedRunsGo) {
    TempFolder folder;
    const std::wstring dir = folder.path() + L"\\";
    // Process ids are multiples of four: this one never runs.
    const std::wstring ended = L"99999";
    KernelHandle sibling(StartProgramAt(SelfPath(), L"", CREATE_SUSPENDED));
    ASSERT_TRUE(sibling);
    const std::wstring running = std::to_wstring(GetProcessId(sibling.get()));

    struct Case {
        std::wstring name;
        bool leftAfterSweep;
        bool leftAfterOwnEnd;
    } cases[] = {
        {L"VELQ" + ended + L"-1.tmp", false, false},
        {L"Mappingtable.xml.~" + ended + L"-12", false, false},
        {L"~pic01." + ended + L".part", false, false},
        {L"VELQ" + running + L"-1.tmp", true, true},
        {L"list.xml.~" + running + L"-12", true, true},
        {L"~pic02." + running + L".part", true, true},
        // This process's own, as it names them.
        {NameOf(GetTempFilePath(TempFilePrefix)), true, false},
        {NameOf(CopySideFile(dir + L"list.xml")), true, false},
        {NameOf(PictureSideFile(dir, 3)), true, false},
        // Not the program's work files.
        {L"VEL1A2B.tmp", true, true},
        {L"VELQ" + ended + L".tmp", true, true},
        {L"VELQ" + ended + L"-x.tmp", true, true},
        {L"notes.~txt", true, true},
        {L".~" + ended + L"-1", true, true},
        {L"~pic1." + ended + L".part", true, true},
        {L"pic01.png", true, true},
    };
    for (const Case& c : cases) ASSERT_TRUE(WriteFileBytes(dir + c.name, "x")) << Narrow(c.name);
    // What an ended run left that another process holds open stays, also
    // once that process lets go, whether it shares the file's deletion or not.
    const std::wstring held[] = {L"~pic04." + ended + L".part", L"~pic05." + ended + L".part"};
    const DWORD sharing[] = {FILE_SHARE_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE};
    {
        KernelHandle holders[2];
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(WriteFileBytes(dir + held[i], "x"));
            holders[i].reset(CreateFileW((dir + held[i]).c_str(), GENERIC_READ, sharing[i], nullptr,
                                         OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(holders[i].valid());
        }
        RemoveLeftWorkFiles(dir, L"*", false);
    }
    for (const std::wstring& name : held) EXPECT_TRUE(FileExists(dir + name)) << Narrow(name);
    for (const Case& c : cases) EXPECT_EQ(c.leftAfterSweep, FileExists(dir + c.name)) << Narrow(c.name);

    RemoveLeftWorkFiles(dir, L"*", true);
    for (const Case& c : cases) EXPECT_EQ(c.leftAfterOwnEnd, FileExists(dir + c.name)) << Narrow(c.name);
    for (const std::wstring& name : held) EXPECT_FALSE(FileExists(dir + name)) << Narrow(name);
    TerminateProcess(sibling.get(), 0);
}

TEST(TempFilePath, NoUsableTemporaryFolderGivesNoName) {
    TempFolder folder;
    const std::wstring missing = folder / L"gone\\";
    ScopedEnvironment tmp(L"TMP", missing.c_str());
    ScopedEnvironment temp(L"TEMP", missing.c_str());
    EXPECT_EQ(L"", GetTempFilePath(TempFilePrefix));
}

TEST(DeleteOtherVariants, RemovesOtherExtensionsOfTheSameName) {
    TempFolder folder;
    const std::wstring dir = folder.path() + L"\\";
    for (const wchar_t* name : {L"PIC01.PNG", L"pic01.jpg", L"pic01.gif", L"pic01", L"pic02.jpg",
                                L"pic010.jpg"})
        ASSERT_TRUE(WriteFileBytes(dir + name, "x"));

    EXPECT_TRUE(DeleteOtherVariants(dir + L"pic01.png", dir, L"pic01.png"));
    EXPECT_TRUE(FileExists(dir + L"PIC01.PNG"));
    EXPECT_FALSE(FileExists(dir + L"pic01.jpg"));
    EXPECT_FALSE(FileExists(dir + L"pic01.gif"));
    EXPECT_FALSE(FileExists(dir + L"pic01"));
    EXPECT_TRUE(FileExists(dir + L"pic02.jpg"));
    EXPECT_TRUE(FileExists(dir + L"pic010.jpg"));

    // A name that is not there keeps nothing.
    EXPECT_TRUE(DeleteOtherVariants(dir + L"pic01.x", dir, L"pic01.x"));
    EXPECT_FALSE(FileExists(dir + L"PIC01.PNG"));
    EXPECT_TRUE(DeleteOtherVariants(dir + L"pic05.x", dir, L"pic05.x"));
}
