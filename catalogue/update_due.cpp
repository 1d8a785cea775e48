#include "catalogue/update_due.h"

#include "shared/files.h"
#include "shared/settings.h"

namespace {

// 7 days in units of 100 ns.
constexpr ULONGLONG UpdateInterval = 6048000000000ULL;

FILETIME Later(const FILETIME& time, ULONGLONG interval) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    value.QuadPart += interval;
    FILETIME later;
    later.dwLowDateTime = value.LowPart;
    later.dwHighDateTime = value.HighPart;
    return later;
}

FILETIME UtcNow() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    FILETIME time = {};
    SystemTimeToFileTime(&now, &time);
    return time;
}

}  // namespace

bool IsUpdateDue(const FILETIME& last, const FILETIME& now) {
    FILETIME due = Later(last, UpdateInterval);
    return CompareFileTime(&due, &now) <= 0 || CompareFileTime(&now, &last) < 0;
}

BOOL IsMappingTableUpdateDue() {
    SYSTEMTIME stored = ReadMappingTableUpdateTime();
    FILETIME last = {};
    SystemTimeToFileTime(&stored, &last);
    return IsUpdateDue(last, UtcNow());
}

BOOL IsFileUpdateDue(std::wstring path) {
    return IsUpdateDue(GetFileWriteTime(path), UtcNow());
}
