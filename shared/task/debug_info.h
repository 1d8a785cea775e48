// The machine-wide debug switch that lets jobs write to the event log.
#pragma once

#include <windows.h>

namespace VELQTASKCOMMON {

// TRUE when HKEY_LOCAL_MACHINE\SOFTWARE\Dravik\Wendaro "DebugInfo" (64-bit
// view) is a non-zero REG_DWORD; FALSE when it is missing, 0 or another type.
BOOL IsDebugInfoEnabled();

}  // namespace VELQTASKCOMMON
