#include "shared/settings.h"

#include "shared/endpoints.h"
#include "shared/files.h"
#include "shared/handle.h"
#include "shared/url_parts.h"

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

LSTATUS WriteUserDword(const wchar_t* name, DWORD value) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, ProductRegistryKey, name, REG_DWORD, &value,
                           sizeof value);
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

LSTATUS WriteVELQEnabled(BOOL enabled) { return WriteUserDword(EnableVELQ, enabled ? 1 : 0); }

LSTATUS WriteFirstUseAnswered() { return WriteUserDword(FirstUse, 1); }

LSTATUS WriteMappingTableUpdateTime() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return RegSetKeyValueW(HKEY_CURRENT_USER, ProductRegistryKey, MTABLE_UPDATE, REG_BINARY, &now,
                           sizeof now);
}

BOOL IsHttpUrl(const wchar_t* url) {
    if (url == nullptr || *url == L'\0') return FALSE;
    VELQCOMMON::UrlParts parts;
    return VELQCOMMON::SplitUrl(url, &parts) && VELQCOMMON::IsWebScheme(parts.scheme);
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
