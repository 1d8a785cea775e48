#include "shared/work_files.h"

#include <stdio.h>
#include <string.h>

#include "shared/files.h"
#include "shared/handle.h"

namespace {

std::wstring Number(DWORD value) { return std::to_wstring(value); }

// Reads a decimal number at text[at]; false when there is none or it does not
// fit 32 bits.
bool ReadNumber(const std::wstring& text, size_t& at, DWORD& value) {
    size_t start = at;
    unsigned long long number = 0;
    while (at < text.size() && text[at] >= L'0' && text[at] <= L'9' && at - start < 10) number = number * 10 + (text[at++] - L'0');
    if (at == start || number > MAXDWORD) return false;
    value = static_cast<DWORD>(number);
    return true;
}

bool ReadText(const std::wstring& text, size_t& at, const wchar_t* expected) {
    size_t length = wcslen(expected);
    if (text.compare(at, length, expected) != 0) return false;
    at += length;
    return true;
}

// <prefix><pid>-<n>.tmp
DWORD TemporaryOwner(const std::wstring& name) {
    size_t at = 0;
    DWORD pid = 0, n = 0;
    bool whole = ReadText(name, at, TempFilePrefix) && ReadNumber(name, at, pid) && ReadText(name, at, L"-") &&
                 ReadNumber(name, at, n) && ReadText(name, at, L".tmp") && at == name.size();
    return whole ? pid : 0;
}

// <stored name>.~<pid>-<tid>
DWORD CopyOwner(const std::wstring& name) {
    size_t mark = name.rfind(L".~");
    if (mark == std::wstring::npos || mark == 0) return 0;
    size_t at = mark + 2;
    DWORD pid = 0, tid = 0;
    bool whole = ReadNumber(name, at, pid) && ReadText(name, at, L"-") && ReadNumber(name, at, tid) &&
                 at == name.size();
    return whole ? pid : 0;
}

// ~picNN.<pid>.part
DWORD PictureOwner(const std::wstring& name) {
    size_t at = 0;
    DWORD number = 0, pid = 0;
    bool whole = ReadText(name, at, L"~pic") && ReadNumber(name, at, number) && at == 6 &&
                 ReadText(name, at, L".") && ReadNumber(name, at, pid) && ReadText(name, at, L".part") &&
                 at == name.size();
    return whole ? pid : 0;
}

// A process of that id exists and has not ended. One that cannot be opened
// for another reason than its absence counts as running: its files stay.
bool IsProcessRunning(DWORD pid) {
    if (pid == GetCurrentProcessId()) return true;
    KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    if (!process) return GetLastError() != ERROR_INVALID_PARAMETER;
    return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

// Removed only when nobody holds it: opened without sharing, it goes as the
// handle closes.
void RemoveUnheld(const std::wstring& path) {
    KernelHandle file(CreateFileW(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE,
                                  nullptr));
}

}  // namespace

std::wstring TemporaryWorkFile(const std::wstring& folder, const std::wstring& prefix, unsigned n) {
    return folder + prefix + Number(GetCurrentProcessId()) + L"-" + Number(n) + L".tmp";
}

std::wstring CopySideFile(const std::wstring& destination) {
    return destination + L".~" + Number(GetCurrentProcessId()) + L"-" + Number(GetCurrentThreadId());
}

std::wstring PictureSideFile(const std::wstring& folder, int number) {
    wchar_t name[48] = {};
    _snwprintf_s(name, _countof(name), _TRUNCATE, L"~pic%.2d.%lu.part", number, GetCurrentProcessId());
    return folder + name;
}

DWORD WorkFileOwner(const std::wstring& name) {
    if (DWORD pid = TemporaryOwner(name)) return pid;
    if (DWORD pid = PictureOwner(name)) return pid;
    return CopyOwner(name);
}

void RemoveLeftWorkFiles(const std::wstring& folder, const std::wstring& pattern, bool ownToo) {
    if (folder.empty()) return;
    WIN32_FIND_DATAW entry = {};
    FindHandle search(FindFirstFileW((folder + pattern).c_str(), &entry));
    if (!search) return;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const DWORD owner = WorkFileOwner(entry.cFileName);
        if (owner == 0) continue;  // another program's, or a stored file
        const std::wstring path = folder + entry.cFileName;
        if (owner == GetCurrentProcessId()) {
            if (ownToo) DeleteFileW(path.c_str());
        } else if (!IsProcessRunning(owner)) {
            RemoveUnheld(path);
        }
    } while (FindNextFileW(search.get(), &entry));
}
