// The registry settings: the user's two choices, the mapping table's address
// and last download time, and the Explorer search extension. Every call
// opens, reads or writes and closes; nothing is cached, so a value written a
// moment ago is seen.
#pragma once

#include <windows.h>

#include <string>

// Under HKEY_CURRENT_USER: the user's choices and the update time stamp.
// Under HKEY_LOCAL_MACHINE: MappingURL and DebugInfo, read only.
inline constexpr wchar_t ProductRegistryKey[] = L"Software\\Dravik\\Wendaro";
// Explorer's policy key, under HKEY_CURRENT_USER.
inline constexpr wchar_t SearchExtensions[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\SearchExtensions";

// Value names under ProductRegistryKey.
inline constexpr wchar_t EnableVELQ[] = L"EnableVELQ";        // REG_DWORD, HKCU
inline constexpr wchar_t FirstUse[] = L"FirstUse";            // REG_DWORD, HKCU
inline constexpr wchar_t MTABLE_UPDATE[] = L"MTABLE_UPDATE";  // REG_BINARY SYSTEMTIME (UTC), HKCU
inline constexpr wchar_t MappingURL[] = L"MappingURL";        // REG_SZ, HKLM
inline constexpr wchar_t DebugInfo[] = L"DebugInfo";          // REG_DWORD, HKLM

// FALSE only when EnableVELQ is a DWORD 0; missing or unreadable means on.
BOOL IsVELQEnabled();
// TRUE when FirstUse is missing, unreadable or 0.
BOOL IsFirstUse();
// The time of the last mapping-table download that ended with 0; 1970-01-01
// when MTABLE_UPDATE is missing, not 16 bytes of REG_BINARY or no valid time.
SYSTEMTIME ReadMappingTableUpdateTime();

// The writers create the product key when it is missing; each result is the
// registry's, and the dialogs go on whatever it is.
// EnableVELQ as the DWORD 1 or 0.
LSTATUS WriteVELQEnabled(BOOL enabled);
// FirstUse as the DWORD 1: the user has answered the consent dialog.
LSTATUS WriteFirstUseAnswered();
// The current UTC time as MTABLE_UPDATE.
LSTATUS WriteMappingTableUpdateTime();
// The machine's MappingURL when it is a usable HTTP(S) address, else
// DefaultMappingURL.
std::wstring GetMappingURL();
// TRUE when the text cracks as an http or https URL.
BOOL IsHttpUrl(const wchar_t* url);
// Writes the two Explorer search values; TRUE only when both writes succeed.
BOOL RegisterSearch();
