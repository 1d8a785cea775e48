#include "shared/files.h"

#include <wchar.h>

#include "shared/handle.h"
#include "shared/security.h"
#include "shared/work_files.h"

namespace {

constexpr DWORD CopyBufferSize = 4096;
// Names of this process already in the folder (left by an ended process of
// the same id) are passed over, this many at most.
constexpr int MaxTempNameTries = 1000;

// 1970-01-01 00:00:00.000 UTC: what a missing or unreadable file is stamped as.
FILETIME DefaultWriteTime() {
    SYSTEMTIME epoch = EpochSystemTime();
    FILETIME time = {};
    SystemTimeToFileTime(&epoch, &time);
    return time;
}

KernelHandle OpenForReading(const std::wstring& path) {
    return KernelHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// ERROR_SUCCESS for a plain file; why a search finds none; for a folder
// what opening it as a file would give.
DWORD PlainFileError(const std::wstring& path) {
    WIN32_FIND_DATAW data = {};
    FindHandle found(FindFirstFileW(path.c_str(), &data));
    if (!found) return GetLastError();
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? DWORD(ERROR_ACCESS_DENIED) : DWORD(ERROR_SUCCESS);
}

// Copies every byte: ERROR_SUCCESS, or why a read or write failed (a short
// write is a write fault).
DWORD CopyAll(HANDLE source, HANDLE target) {
    char buffer[CopyBufferSize];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(source, buffer, CopyBufferSize, &read, nullptr)) return GetLastError();
        if (read == 0) return ERROR_SUCCESS;
        DWORD written = 0;
        if (!WriteFile(target, buffer, read, &written, nullptr)) return GetLastError();
        if (written != read) return ERROR_WRITE_FAULT;
    }
}

// The copy goes to a new file beside the destination, which replaces the
// destination only when every byte arrived: a failed copy must not cost the
// stored mapping table or category list. ERROR_SUCCESS, or the error of the
// call that failed, taken before anything is cleaned up.
DWORD CopyOver(const std::wstring& source, const std::wstring& destination) {
    if (source.empty()) return ERROR_FILE_NOT_FOUND;
    if (DWORD error = PlainFileError(source)) return error;
    KernelHandle input = OpenForReading(source);
    if (!input) return GetLastError();

    // A name beside the destination that no other copier uses at the same
    // time: the prompt's process and update children may fill the same
    // folder. A run that ends meanwhile may delete it.
    OpenAccessAttributes access;
    std::wstring sideFile = CopySideFile(destination);
    KernelHandle output(CreateFileW(sideFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, access.get(),
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output) return GetLastError();
    DWORD error = CopyAll(input.get(), output.get());
    output.reset();
    input.reset();
    if (error == ERROR_SUCCESS) {
        // Refused while another program holds the destination without
        // sharing its deletion (a scanner, a prompt reading the table).
        if (MoveFileExW(sideFile.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING)) return ERROR_SUCCESS;
        error = GetLastError();
    }
    DeleteFileW(sideFile.c_str());
    return error;
}

}  // namespace

BOOL CopyFileOpenAccess(std::wstring source, std::wstring destination) {
    DWORD error = CopyOver(source, destination);
    if (error == ERROR_SUCCESS) return 1;
    SetLastError(error);
    return 0;
}

BOOL DeleteOtherVariants(std::wstring path, std::wstring folder, std::wstring keepName) {
    size_t dot = path.rfind(L'.');
    std::wstring pattern = (dot == std::wstring::npos ? path : path.substr(0, dot)) + L".*";
    WIN32_FIND_DATAW entry = {};
    FindHandle search(FindFirstFileW(pattern.c_str(), &entry));
    if (!search) return 1;
    do {
        if (_wcsicmp(entry.cFileName, L".") == 0 || _wcsicmp(entry.cFileName, L"..") == 0 ||
            _wcsicmp(entry.cFileName, keepName.c_str()) == 0)
            continue;
        DeleteFileW((folder + entry.cFileName).c_str());
    } while (FindNextFileW(search.get(), &entry));
    return 1;
}

std::wstring GetTempFolder() {
    wchar_t folder[MAX_PATH] = {};
    DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    DWORD attributes = GetFileAttributesW(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return std::wstring();
    return folder;
}

// The name carries the process id, so no other process is ever given it, and
// nothing but this process removes it while this process runs. The system's
// own unique names do not do that once their file is deleted to leave only
// the name: two update runs could be given the same one, and each remove the
// other's download.
std::wstring GetTempFilePath(std::wstring prefix) {
    // Without a usable temporary folder there is no name: callers must not
    // fall back to some arbitrary path.
    const std::wstring folder = GetTempFolder();
    if (folder.empty()) return std::wstring();
    static LONG names = 0;
    for (int tries = 0; tries < MaxTempNameTries; ++tries) {
        std::wstring path = TemporaryWorkFile(folder, prefix, static_cast<unsigned>(InterlockedIncrement(&names)));
        if (path.size() >= MAX_PATH) return std::wstring();
        // One an ended process of the same id left stays for the sweep.
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return path;
    }
    return std::wstring();
}

SYSTEMTIME EpochSystemTime() {
    SYSTEMTIME epoch = {};
    epoch.wYear = 1970;
    epoch.wMonth = 1;
    epoch.wDayOfWeek = 4;
    epoch.wDay = 1;
    return epoch;
}

FILETIME GetFileWriteTime(std::wstring path) {
    if (!path.empty()) {
        KernelHandle file = OpenForReading(path);
        FILETIME written = {};
        if (file && GetFileTime(file.get(), nullptr, nullptr, &written)) return written;
    }
    return DefaultWriteTime();
}

BOOL SetFileWriteTime(std::wstring path, const SYSTEMTIME* time) {
    OpenAccessAttributes access;
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, access.get(),
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME written = {};
    // A time that does not convert (the server sent none) leaves the file as
    // it is rather than stamping it with an undefined value.
    bool converted = time != nullptr && SystemTimeToFileTime(time, &written);
    if (!file) return 0;
    if (converted) SetFileTime(file.get(), nullptr, nullptr, &written);
    return 1;
}

DWORD GetFileSize32(std::wstring path) {
    KernelHandle file = OpenForReading(path);
    if (!file) return 0;
    DWORD high = 0;
    return GetFileSize(file.get(), &high);
}
