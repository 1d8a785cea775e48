// The 7-day gate that keeps update runs off the network, and the time stamp of
// the mapping table's last download (HKCU Software\Dravik\Wendaro,
// MTABLE_UPDATE: a UTC SYSTEMTIME as 16 bytes of REG_BINARY).
#pragma once

#include <windows.h>

#include <string>

// Due when the last time is 7 days or more before now, or lies after now
// (the clock was set back).
bool IsUpdateDue(const FILETIME& last, const FILETIME& now);

// The time of the last mapping-table download that ended with 0; 1970-01-01
// when the value is missing, not 16 bytes of REG_BINARY or no valid time.
SYSTEMTIME ReadMappingTableUpdateTime();
// Stores the current UTC time as MTABLE_UPDATE; the result is the registry's.
LSTATUS WriteMappingTableUpdateTime();

BOOL IsMappingTableUpdateDue();
// Gated by the file's last-write time (1970-01-01 for a missing file).
BOOL IsFileUpdateDue(std::wstring path);
