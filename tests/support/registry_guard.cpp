#include "tests/support/registry_guard.h"

#include <shlwapi.h>

namespace wendaro_test {

RegistryGuard::RegistryGuard(HKEY root, const wchar_t* subKey) : m_root(root), m_subKey(subKey) {
    HKEY key = nullptr;
    m_existed = RegOpenKeyExW(root, subKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (m_existed) {
        wchar_t name[80];
        _snwprintf_s(name, _countof(name), _TRUNCATE, L"Software\\WendaroTestSaved\\%lu_%p",
                     GetCurrentProcessId(), static_cast<void*>(this));
        m_saved = name;
        SHDeleteKeyW(root, m_saved.c_str());
        HKEY saved = nullptr;
        if (RegCreateKeyExW(root, m_saved.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &saved,
                            nullptr) == ERROR_SUCCESS) {
            SHCopyKeyW(key, nullptr, saved, 0);
            RegCloseKey(saved);
        }
        RegCloseKey(key);
    }
    SHDeleteKeyW(root, subKey);
}

RegistryGuard::~RegistryGuard() {
    SHDeleteKeyW(m_root, m_subKey.c_str());
    if (!m_existed) return;
    HKEY saved = nullptr, key = nullptr;
    if (RegOpenKeyExW(m_root, m_saved.c_str(), 0, KEY_READ, &saved) == ERROR_SUCCESS) {
        if (RegCreateKeyExW(m_root, m_subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) == ERROR_SUCCESS) {
            SHCopyKeyW(saved, nullptr, key, 0);
            RegCloseKey(key);
        }
        RegCloseKey(saved);
    }
    SHDeleteKeyW(m_root, m_saved.c_str());
}

bool SetDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD value) {
    return RegSetKeyValueW(root, subKey, name, REG_DWORD, &value, sizeof value) == ERROR_SUCCESS;
}

bool SetString(HKEY root, const wchar_t* subKey, const wchar_t* name, const std::wstring& value) {
    return RegSetKeyValueW(root, subKey, name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool GetDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD* value) {
    DWORD size = sizeof *value;
    return RegGetValueW(root, subKey, name, RRF_RT_REG_DWORD, nullptr, value, &size) == ERROR_SUCCESS;
}

bool ValueExists(HKEY root, const wchar_t* subKey, const wchar_t* name) {
    return RegGetValueW(root, subKey, name, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace wendaro_test
