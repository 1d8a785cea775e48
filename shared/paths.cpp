#include "shared/paths.h"

#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "shared/constants.h"
#include "shared/handle.h"
#include "shared/security.h"

namespace {

// Sizes of the parts the runtime splits a path into, terminator included.
constexpr size_t DriveSize = 3;
constexpr size_t DirSize = 256;
constexpr size_t PartSize = 256;
// The working copy of a folder path being created, terminator included.
constexpr size_t TreeBufferSize = MAX_PATH;
// ALLUSERSPROFILE's value with its terminator, one short of MAX_PATH.
constexpr DWORD ProfileBufferChars = MAX_PATH - 1;

// Wine's long-form conversion builds its result in a buffer of this many
// characters and writes past it for a longer one.
constexpr size_t LongFormBufferChars = 1024;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// How long the long form of the path grows, built the way the system builds
// it: part by part, each part's own text replaced by the name of the entry it
// finds below the long form so far. A part that is not found keeps its text,
// and so does every part after it. Counting stops once `limit` is reached, so
// no lookup is ever handed a path of `limit` characters or more.
size_t LongFormLength(const std::wstring& path, size_t limit) {
    std::wstring longForm;
    size_t start = 0;
    if (path.size() >= 2 && path[1] == L':' && !IsSeparator(path[0])) {
        longForm = path.substr(0, 2);
        start = 2;
    }
    bool found = true;
    while (start < path.size() && longForm.size() < limit) {
        if (IsSeparator(path[start])) {
            longForm += path[start++];
            continue;
        }
        size_t end = std::min(path.find_first_of(L"\\/", start), path.size());
        std::wstring part = path.substr(start, end - start);
        start = end;
        // The part's own text goes into the buffer before it is looked up.
        if (longForm.size() + part.size() >= limit) return limit;
        if (found && part != L"." && part != L"..") {
            WIN32_FIND_DATAW entry = {};
            FindHandle search(FindFirstFileW((longForm + part).c_str(), &entry));
            found = search.valid();
            if (found) part = entry.cFileName;
        }
        longForm += part;
    }
    return longForm.size();
}

// Whether every part of the path fits its splitting buffer. The runtime
// reports a part that does not fit as an invalid parameter, which can end
// the process, so such paths are refused before they are split.
bool SplitPartsFit(const std::wstring& path) {
    size_t start = (path.size() >= 2 && path[1] == L':') ? 2 : 0;
    size_t lastSeparator = path.find_last_of(L"\\/");
    size_t nameStart = (lastSeparator == std::wstring::npos || lastSeparator < start)
                           ? start
                           : lastSeparator + 1;
    size_t dot = path.rfind(L'.');
    size_t extStart = (dot == std::wstring::npos || dot < nameStart) ? path.size() : dot;
    return start < DriveSize && nameStart - start < DirSize && extStart - nameStart < PartSize &&
           path.size() - extStart < PartSize;
}

// An entry of that name exists and is a folder.
bool IsExistingDirectory(const wchar_t* path) {
    WIN32_FIND_DATAW data = {};
    FindHandle found(FindFirstFileW(path, &data));
    return found.valid() && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void EnsureDirectory(const wchar_t* path, OpenAccessAttributes& access) {
    if (!IsExistingDirectory(path)) CreateDirectoryW(path, access.get());
}

}  // namespace

std::wstring GetModuleDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(GetModuleHandleW(nullptr), buffer, MAX_PATH);
    // A cut-off program path would name some other folder.
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    wchar_t* lastBackslash = wcsrchr(buffer, L'\\');
    if (lastBackslash == nullptr) return std::wstring();
    lastBackslash[1] = L'\0';
    return buffer;
}

std::wstring GetFileExtension(std::wstring path) {
    if (!SplitPartsFit(path)) return std::wstring();
    wchar_t drive[DriveSize] = {};
    wchar_t dir[DirSize] = {};
    wchar_t name[PartSize] = {};
    wchar_t ext[PartSize] = {};
    if (_wsplitpath_s(path.c_str(), drive, DriveSize, dir, DirSize, name, PartSize, ext,
                      PartSize) != 0)
        return std::wstring();
    return ext[0] == L'.' ? std::wstring(ext + 1) : std::wstring(ext);
}

std::wstring GetLongPath(std::wstring path) {
    if (path.empty()) return path;
    // A path whose long form does not fit the system's buffer is kept as given.
    if (LongFormLength(path, LongFormBufferChars) >= LongFormBufferChars) return path;
    wchar_t probe[1] = {};
    DWORD needed = GetLongPathNameW(path.c_str(), probe, 1);
    if (needed <= 1) return path;
    std::vector<wchar_t> buffer(needed, L'\0');
    DWORD written = GetLongPathNameW(path.c_str(), buffer.data(), needed);
    if (written == 0 || written >= needed || buffer[0] == L'\0') return path;
    return std::wstring(buffer.data());
}

std::wstring GetImageExtension(std::wstring address) {
    size_t dot = address.rfind(L'.');
    if (dot == std::wstring::npos) return L"jpg";
    return address.substr(dot + 1);
}

bool ReadAllUsersProfile(std::wstring& value) {
    wchar_t buffer[ProfileBufferChars] = {};
    DWORD length = GetEnvironmentVariableW(L"ALLUSERSPROFILE", buffer, ProfileBufferChars);
    // A value that does not fit comes back as the size it needs, with nothing
    // in the buffer.
    if (length >= ProfileBufferChars) return false;
    value.assign(buffer, length);
    return true;
}

std::wstring GetProductDataFolder() {
    std::wstring profile;
    if (!ReadAllUsersProfile(profile) || profile.empty()) return std::wstring();
    return profile + MakerFolderName + ProductFolderName;
}

std::wstring GetImagesFolder() { return GetProductDataFolder() + ImagesFolderName; }

std::wstring GetExtensionImagesFolder(std::wstring filePath) {
    return GetImagesFolder() + GetFileExtension(filePath) + L"\\";
}

std::wstring GetCategoryXmlPath(std::wstring categoryId, std::wstring filePath) {
    std::wstring folder = GetExtensionImagesFolder(filePath);
    CreateFolderTree(folder);
    return folder + categoryId + L".xml";
}

BOOL CreateFolderTree(std::wstring path) {
    OpenAccessAttributes access;
    // Too long for the working copy: create nothing rather than a cut path.
    if (path.size() >= TreeBufferSize) return FALSE;
    wchar_t buffer[TreeBufferSize] = {};
    // When a separator is looked at, the buffer holds exactly the text before
    // it: one level of the tree. The separator after a drive's colon is not.
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsSeparator(path[i]) && i > 0 && path[i - 1] != L':') EnsureDirectory(buffer, access);
        buffer[i] = path[i];
    }
    EnsureDirectory(buffer, access);
    return IsExistingDirectory(path.c_str());
}
