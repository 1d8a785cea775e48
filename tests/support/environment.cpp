#include "tests/support/environment.h"

#include <windows.h>

#include <vector>

namespace wendaro_test {

std::wstring Environment(const wchar_t* name) {
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return std::wstring();
    std::vector<wchar_t> value(size);
    DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    return length < size ? std::wstring(value.data(), length) : std::wstring();
}

ScopedEnvironment::ScopedEnvironment(const wchar_t* name, const wchar_t* value)
    : m_name(name), m_old(Environment(name)), m_hadOld(GetEnvironmentVariableW(name, nullptr, 0) > 0) {
    SetEnvironmentVariableW(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
    SetEnvironmentVariableW(m_name.c_str(), m_hadOld ? m_old.c_str() : nullptr);
}

}  // namespace wendaro_test
