// A private folder for one test, removed with everything in it afterwards,
// and a scoped override of one environment variable of this process.
#pragma once

#include <windows.h>

#include <string>

namespace wendaro_test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, without a trailing backslash.
    const std::wstring& path() const { return m_path; }
    std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

// Writes a file with the given bytes; true on success.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The whole content of a file, or an empty string when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
// Removes a folder and everything below it.
void RemoveTree(const std::wstring& path);

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
