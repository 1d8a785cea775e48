// Times in tests: FILETIME values as 100 ns ticks, the current UTC time, a
// file's last-write time, and the fixed time that the catalogue service's
// test routes announce as the server's.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "shared/handle.h"

namespace wendaro_test {

constexpr ULONGLONG Millisecond = 10000ULL;
constexpr ULONGLONG Minute = 60 * 1000 * Millisecond;
constexpr ULONGLONG Day = 24 * 60 * Minute;
constexpr ULONGLONG Week = 7 * Day;
// 1970-01-01 00:00:00 UTC, the time of a missing file.
constexpr ULONGLONG Epoch1970 = 116444736000000000ULL;

inline ULONGLONG Ticks(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

inline FILETIME AsFileTime(ULONGLONG ticks) {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

// All zero when the time does not convert.
inline FILETIME FileTimeOf(const SYSTEMTIME& time) {
    FILETIME result = {};
    SystemTimeToFileTime(&time, &result);
    return result;
}

inline ULONGLONG Ticks(const SYSTEMTIME& time) { return Ticks(FileTimeOf(time)); }

inline SYSTEMTIME AsSystemTime(ULONGLONG ticks) {
    FILETIME time = AsFileTime(ticks);
    SYSTEMTIME result = {};
    FileTimeToSystemTime(&time, &result);
    return result;
}

inline ULONGLONG NowTicks() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return Ticks(now);
}

// The file's last-write time; 0 when it cannot be read.
inline ULONGLONG WriteTicks(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return Ticks(data.ftLastWriteTime);
}

inline void SetWriteTicks(const std::wstring& path, ULONGLONG ticks) {
    KernelHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file.valid()) << testing::PrintToString(path);
    FILETIME time = AsFileTime(ticks);
    ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &time)) << testing::PrintToString(path);
}

// A UTC time to the second; the day of the week is left 0.
inline SYSTEMTIME UtcTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

// The server's time of the test routes: 2001-02-03 04:05:06 UTC, or another
// day of that month.
inline SYSTEMTIME ServerTime(WORD day = 3) { return UtcTime(2001, 2, day, 4, 5, 6); }

}  // namespace wendaro_test
