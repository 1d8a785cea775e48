#include "shared/task/debug_info.h"

#include <stdio.h>

#include "shared/handle.h"

namespace VELQTASKCOMMON {

BOOL IsDebugInfoEnabled() {
    wchar_t keyPath[260] = {};
    _snwprintf_s(keyPath, 260, 259, L"%s", L"SOFTWARE\\Dravik\\Wendaro");

    // The machine's 64-bit view, whatever the bitness of the process.
    RegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ | KEY_WOW64_64KEY, key.put()) !=
        ERROR_SUCCESS) {
        return FALSE;
    }
    DWORD value = 0;
    DWORD type = REG_DWORD;
    DWORD size = sizeof value;
    LONG status = RegQueryValueExW(key.get(), L"DebugInfo", nullptr, &type,
                                   reinterpret_cast<BYTE*>(&value), &size);
    return status == ERROR_SUCCESS && type == REG_DWORD && value != 0;
}

}  // namespace VELQTASKCOMMON
