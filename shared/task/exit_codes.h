// The 32-bit codes a job's thread ends with, as GetExitCodeThread reports
// them. Any other value is the routine's own Win32 or WinINet error number.
#pragma once

#include <windows.h>

namespace VELQTASKCOMMON {

inline constexpr DWORD JobSucceeded = ERROR_SUCCESS;                  // 0
inline constexpr DWORD JobHasNoThread = ERROR_INVALID_HANDLE;         // 6
inline constexpr DWORD JobStillActive = STILL_ACTIVE;                 // 259
inline constexpr DWORD JobCancelled = ERROR_CANCELLED;                // 1223
// What an owner reports when a job does not start and GetLastError is 0.
inline constexpr DWORD JobNotStarted = ERROR_NO_SYSTEM_RESOURCES;     // 1450
// What an owner reports for a job it gave up on at its deadline.
inline constexpr DWORD JobTimedOut = ERROR_TIMEOUT;                   // 1460

}  // namespace VELQTASKCOMMON
