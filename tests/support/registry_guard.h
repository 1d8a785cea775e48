// Keeps a registry key of the test prefix as it was: the key is saved and
// removed when the guard is made, and restored (or removed) when it goes.
// Tests that use it run under the "registry" resource lock.
#pragma once

#include <windows.h>

#include <string>

#include "shared/settings.h"

namespace wendaro_test {

class RegistryGuard {
public:
    RegistryGuard(HKEY root, const wchar_t* subKey);
    ~RegistryGuard();
    RegistryGuard(const RegistryGuard&) = delete;
    RegistryGuard& operator=(const RegistryGuard&) = delete;

private:
    HKEY m_root;
    std::wstring m_subKey;
    std::wstring m_saved;  // a temporary key holding the original content
    bool m_existed;
};

// The product's own keys under both hives.
struct ProductRegistry {
    RegistryGuard user{HKEY_CURRENT_USER, ProductRegistryKey};
    RegistryGuard machine{HKEY_LOCAL_MACHINE, ProductRegistryKey};
};

bool SetDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD value);
bool SetString(HKEY root, const wchar_t* subKey, const wchar_t* name, const std::wstring& value);
// True and the value when the DWORD exists.
bool GetDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD* value);
bool ValueExists(HKEY root, const wchar_t* subKey, const wchar_t* name);

}  // namespace wendaro_test
