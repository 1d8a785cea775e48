// File helpers for moving downloads into the data folder and deciding whether
// a local copy is due for a refresh. Failures show only in the results.
#pragma once

#include <windows.h>

#include <string>

// Prefix of the temporary files that downloads are written to.
inline constexpr wchar_t TempFilePrefix[] = L"VELQ";

// Copies source over destination; the new file gets open access and the time
// of the copy. 1 when the whole file was copied; 0 otherwise, and then the
// destination is left as it was and the last error is that of the call that
// failed (a destination another program holds open without sharing its
// deletion refuses the copy).
BOOL CopyFileOpenAccess(std::wstring source, std::wstring destination);
// Deletes every file of the folder named like path with another extension
// (path up to its last dot + ".*"), except keepName. Always 1.
BOOL DeleteOtherVariants(std::wstring path, std::wstring folder, std::wstring keepName);
// The user's temporary folder with its backslash; empty when it is not a
// folder.
std::wstring GetTempFolder();
// A path in the temporary folder whose file does not exist, that belongs to
// this process alone (shared/work_files.h); empty without a usable folder.
std::wstring GetTempFilePath(std::wstring prefix);
// 1970-01-01 00:00:00.000 UTC (a Thursday): the time of anything never
// written or never updated.
SYSTEMTIME EpochSystemTime();
// The file's last-write time; 1970-01-01 00:00 UTC when it cannot be read.
FILETIME GetFileWriteTime(std::wstring path);
// Sets the last-write time from a UTC SYSTEMTIME; 1 when the file opened.
// A time that does not convert leaves the file's time as it was.
BOOL SetFileWriteTime(std::wstring path, const SYSTEMTIME* time);
// The low 32 bits of the file's size; 0 when it cannot be opened.
DWORD GetFileSize32(std::wstring path);
