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

SYSTEMTIME ReadMappingTableUpdateTime() {
    SYSTEMTIME stored = EpochSystemTime();
    DWORD size = sizeof stored;
    LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, ProductRegistryKey, MTABLE_UPDATE,
                                  RRF_RT_REG_BINARY, nullptr, &stored, &size);
    // A failed read may have written into the buffer (Wine does for a value of
    // another type), and a value of another size or no valid time counts as
    // missing rather than as a time pieced together from it.
    FILETIME converted;
    if (status != ERROR_SUCCESS || size != sizeof stored || !SystemTimeToFileTime(&stored, &converted))
        return EpochSystemTime();
    return stored;
}

LSTATUS WriteMappingTableUpdateTime() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return RegSetKeyValueW(HKEY_CURRENT_USER, ProductRegistryKey, MTABLE_UPDATE, REG_BINARY, &now,
                           sizeof now);
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
