#include "shared/settings.h"

#include <wininet.h>

#include "shared/endpoints.h"
#include "shared/handle.h"

namespace {

constexpr wchar_t SearchCaption[] = L"Find Software on Dravik Download Store";

// The user's DWORD under the product key; false when it cannot be read as a
// DWORD (missing, or of another type).
bool ReadUserDword(const wchar_t* name, DWORD* value) {
    DWORD type = 0;
    DWORD size = sizeof *value;
    return RegGetValueW(HKEY_CURRENT_USER, ProductRegistryKey, name, RRF_RT_REG_DWORD, &type,
                        value, &size) == ERROR_SUCCESS;
}

}  // namespace

BOOL IsVELQEnabled() {
    DWORD value = 1;
    if (!ReadUserDword(EnableVELQ, &value)) return TRUE;
    return value != 0;
}

BOOL IsFirstUse() {
    DWORD value = 0;
    if (!ReadUserDword(FirstUse, &value)) return TRUE;
    return value == 0;
}

BOOL IsHttpUrl(const wchar_t* url) {
    if (url == nullptr || *url == L'\0') return FALSE;
    wchar_t host[256] = {};
    wchar_t path[2048] = {};
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 2048;
    if (!InternetCrackUrlW(url, static_cast<DWORD>(wcslen(url)), ICU_ESCAPE, &parts)) return FALSE;
    return parts.nScheme == INTERNET_SCHEME_HTTP || parts.nScheme == INTERNET_SCHEME_HTTPS;
}

std::wstring GetMappingURL() {
    std::wstring url = DefaultMappingURL;
    wchar_t buffer[2094] = {};
    DWORD size = sizeof buffer;
    DWORD type = REG_SZ;
    LSTATUS status = RegGetValueW(HKEY_LOCAL_MACHINE, ProductRegistryKey, MappingURL,
                                  RRF_RT_REG_SZ, &type, buffer, &size);
    // Under Wine a value of another type fails after filling the buffer, so
    // the buffer is looked at only after a successful read.
    if (status == ERROR_SUCCESS && type == REG_SZ && buffer[0] != L'\0' && IsHttpUrl(buffer))
        url = buffer;
    return url;
}

BOOL RegisterSearch() {
    // A level that cannot be made shows as a failed write below.
    const wchar_t* const levels[] = {
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies",
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
        SearchExtensions,
    };
    for (const wchar_t* level : levels) {
        RegKey key;
        RegCreateKeyW(HKEY_CURRENT_USER, level, key.put());
    }

    LSTATUS nameStatus = RegSetKeyValueW(HKEY_CURRENT_USER, SearchExtensions,
                                         L"InternetExtensionName", REG_SZ, SearchCaption,
                                         sizeof SearchCaption);
    // The action is always stored from a full 116-character buffer.
    wchar_t action[116] = {};
    wcsncpy_s(action, SearchActionURL, _TRUNCATE);
    LSTATUS actionStatus = RegSetKeyValueW(HKEY_CURRENT_USER, SearchExtensions,
                                           L"InternetExtensionAction", REG_SZ, action,
                                           sizeof action);
    return nameStatus == ERROR_SUCCESS && actionStatus == ERROR_SUCCESS;
}
