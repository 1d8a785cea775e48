// This process's environment variables as tests read and set them.
#pragma once

#include <string>

namespace wendaro_test {

// The variable's value; empty when it is not set.
std::wstring Environment(const wchar_t* name);

// One variable set for a scope and put back as it was afterwards.
class ScopedEnvironment {
public:
    // A null value removes the variable for the scope.
    ScopedEnvironment(const wchar_t* name, const wchar_t* value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::wstring m_name;
    std::wstring m_old;
    bool m_hadOld;
};

}  // namespace wendaro_test
