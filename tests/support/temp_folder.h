// A private folder for one test, removed with everything in it afterwards,
// and whole-file reads and writes.
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
// Adds the bytes at the end of a file, made when missing; true on success.
bool AppendFileBytes(const std::wstring& path, const std::string& bytes);
// The whole content of a file, or an empty string when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
// Removes a folder and everything below it.
void RemoveTree(const std::wstring& path);

}  // namespace wendaro_test
