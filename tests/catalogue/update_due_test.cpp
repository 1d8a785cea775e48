#include "catalogue/update_due.h"

#include <gtest/gtest.h>

#include <string>

#include "shared/settings.h"
#include "tests/support/test_times.h"
#include "tests/support/registry_guard.h"
#include "tests/support/temp_folder.h"

using namespace wendaro_test;

namespace {

bool StoreBytes(const void* bytes, DWORD size, DWORD type = REG_BINARY) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, ProductRegistryKey, MTABLE_UPDATE, type, bytes, size) ==
           ERROR_SUCCESS;
}

bool StoreTime(ULONGLONG value) {
    SYSTEMTIME time = AsSystemTime(value);
    return StoreBytes(&time, sizeof time);
}

bool IsNeverUpdated(const SYSTEMTIME& time) {
    return time.wYear == 1970 && time.wMonth == 1 && time.wDayOfWeek == 4 && time.wDay == 1 &&
           time.wHour == 0 && time.wMinute == 0 && time.wSecond == 0 && time.wMilliseconds == 0;
}

}  // namespace

TEST(UpdateDue, SevenDaysIsTheBoundary) {
    const ULONGLONG now = NowTicks();
    struct Case {
        const char* what;
        ULONGLONG last;
        bool due;
    } cases[] = {
        {"exactly 7 days ago", now - Week, true},
        {"7 days and 1 ms ago", now - Week - Millisecond, true},
        {"7 days minus 1 ms ago", now - Week + Millisecond, false},
        {"7 days minus one tick ago", now - Week + 1, false},
        {"just now", now, false},
        {"1 ms in the future", now + Millisecond, true},
        {"1970", Epoch1970, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.due, IsUpdateDue(AsFileTime(c.last), AsFileTime(now))) << c.what;
    }
}

TEST(UpdateDue, StoredTimeIsReadOnlyWhenItIsSixteenBytesOfAValidTime) {
    ProductRegistry registry;
    EXPECT_TRUE(IsNeverUpdated(ReadMappingTableUpdateTime())) << "missing";

    const ULONGLONG stored = NowTicks() - 3 * Day;
    ASSERT_TRUE(StoreTime(stored));
    EXPECT_EQ(stored / Millisecond, Ticks(ReadMappingTableUpdateTime()) / Millisecond);

    SYSTEMTIME time = AsSystemTime(stored);
    unsigned char longer[17] = {};
    memcpy(longer, &time, sizeof time);
    ASSERT_TRUE(StoreBytes(longer, sizeof longer));
    EXPECT_TRUE(IsNeverUpdated(ReadMappingTableUpdateTime())) << "17 bytes";
    ASSERT_TRUE(StoreBytes(&time, 15));
    EXPECT_TRUE(IsNeverUpdated(ReadMappingTableUpdateTime())) << "15 bytes";
    ASSERT_TRUE(StoreBytes(&time, sizeof time, REG_SZ));
    EXPECT_TRUE(IsNeverUpdated(ReadMappingTableUpdateTime())) << "another type";

    SYSTEMTIME invalid = time;
    invalid.wMonth = 13;
    ASSERT_TRUE(StoreBytes(&invalid, sizeof invalid));
    EXPECT_TRUE(IsNeverUpdated(ReadMappingTableUpdateTime())) << "month 13";
    invalid = time;
    invalid.wHour = 24;
    ASSERT_TRUE(StoreBytes(&invalid, sizeof invalid));
    EXPECT_TRUE(IsNeverUpdated(ReadMappingTableUpdateTime())) << "hour 24";
}

TEST(UpdateDue, MappingTableFollowsTheStoredTime) {
    ProductRegistry registry;
    EXPECT_TRUE(IsMappingTableUpdateDue()) << "never updated";

    ASSERT_EQ(ERROR_SUCCESS, WriteMappingTableUpdateTime());
    EXPECT_FALSE(IsMappingTableUpdateDue()) << "just written";
    SYSTEMTIME written = ReadMappingTableUpdateTime();
    EXPECT_LT(NowTicks() - Ticks(written), Minute);

    ASSERT_TRUE(StoreTime(NowTicks() - Week + Minute));
    EXPECT_FALSE(IsMappingTableUpdateDue()) << "a minute short of 7 days";
    ASSERT_TRUE(StoreTime(NowTicks() - Week));
    EXPECT_TRUE(IsMappingTableUpdateDue()) << "7 days";
    ASSERT_TRUE(StoreTime(NowTicks() + Day));
    EXPECT_TRUE(IsMappingTableUpdateDue()) << "in the future";

    SYSTEMTIME invalid = AsSystemTime(NowTicks());
    invalid.wDay = 32;
    ASSERT_TRUE(StoreBytes(&invalid, sizeof invalid));
    EXPECT_TRUE(IsMappingTableUpdateDue()) << "no valid time";
}

TEST(UpdateDue, FileFollowsItsLastWriteTime) {
    TempFolder folder;
    const std::wstring path = folder / L"42.xml";
    EXPECT_TRUE(IsFileUpdateDue(path)) << "missing";

    ASSERT_TRUE(WriteFileBytes(path, "<x/>"));
    // Not "now": the file's time has a finer grain than the system time the
    // gate reads, so a file of this very millisecond looks a little ahead.
    SetWriteTicks(path, NowTicks() - Minute);
    EXPECT_FALSE(IsFileUpdateDue(path)) << "a minute ago";
    SetWriteTicks(path, NowTicks() - Week + Minute);
    EXPECT_FALSE(IsFileUpdateDue(path)) << "a minute short of 7 days";
    // One millisecond more, for the same reason; the exact boundary is
    // SevenDaysIsTheBoundary's.
    SetWriteTicks(path, NowTicks() - Week - Millisecond);
    EXPECT_TRUE(IsFileUpdateDue(path)) << "7 days";
    SetWriteTicks(path, NowTicks() + Day);
    EXPECT_TRUE(IsFileUpdateDue(path)) << "in the future";
}
