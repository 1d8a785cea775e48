// The 7-day gate that keeps update runs off the network: the mapping table is
// gated by the time stamp of its last download (MTABLE_UPDATE, read and
// written in shared/settings.h), a category's files by their last-write time.
#pragma once

#include <windows.h>

#include <string>

// Due when the last time is 7 days or more before now, or lies after now
// (the clock was set back).
bool IsUpdateDue(const FILETIME& last, const FILETIME& now);

// Gated by MTABLE_UPDATE (1970-01-01 when it is missing or unusable).
BOOL IsMappingTableUpdateDue();
// Gated by the file's last-write time (1970-01-01 for a missing file).
BOOL IsFileUpdateDue(std::wstring path);
