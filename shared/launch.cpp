#include "shared/launch.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <stdio.h>

#include "shared/com_holders.h"
#include "shared/endpoints.h"
#include "shared/handle.h"
#include "shared/paths.h"

namespace {

const size_t ChildCommandLineSize = 780;  // characters, terminator included

}  // namespace

BOOL LaunchUpdateProcess(std::wstring path) {
    wchar_t program[MAX_PATH] = {};
    DWORD programLength = GetModuleFileNameW(GetModuleHandleW(nullptr), program, MAX_PATH);
    if (programLength == 0 || programLength >= MAX_PATH) return FALSE;  // cut path

    std::wstring commandText = L"\"" + std::wstring(program) + L"\" /Update \"" + path + L"\"";
    // A cut command line would hand the child another file, or none.
    if (commandText.size() >= ChildCommandLineSize) return FALSE;
    wchar_t commandLine[ChildCommandLineSize] = {};
    _snwprintf_s(commandLine, ChildCommandLineSize, _TRUNCATE, L"%s", commandText.c_str());

    std::wstring workingFolder = GetModuleDirectory();

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.c_str(), &startup, &process)) {
        return FALSE;
    }
    // Nobody waits for the child: both handles go at once, the process's first.
    KernelHandle child(process.hProcess);
    KernelHandle childThread(process.hThread);
    child.reset();
    return TRUE;
}

void RunOpenAsFallback(std::wstring path) {
    if (!PathFileExistsW(path.c_str()) || PathIsDirectoryW(path.c_str())) return;

    wchar_t program[260] = {};
    ExpandEnvironmentStringsW(L"%SystemRoot%\\system32\\rundll32.exe", program, 260);
    wchar_t prefix[1024] = {};
    ExpandEnvironmentStringsW(L"\"%SystemRoot%\\system32\\shell32.dll\",OpenAs_RunDLL ", prefix,
                              1024);
    // The rundll entry takes the rest of the line as the path, blanks and all.
    std::wstring parameters = std::wstring(prefix) + path;
    ShellExecuteW(nullptr, L"open", program, parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

BOOL HasDefaultAssociation(std::wstring path) {
    std::wstring query = L"." + GetFileExtension(path);

    VELQCOMMON::ComPtr<IApplicationAssociationRegistration> registration;
    HRESULT created = CoCreateInstance(CLSID_ApplicationAssociationRegistration, nullptr,
                                       CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                       IID_IApplicationAssociationRegistration,
                                       registration.put_void());
    if (FAILED(created)) return FALSE;

    LPWSTR program = nullptr;
    HRESULT queried =
        registration->QueryCurrentDefault(query.c_str(), AT_FILEEXTENSION, AL_EFFECTIVE, &program);
    registration.reset();

    BOOL found = queried == S_OK && program != nullptr;
    if (program) CoTaskMemFree(program);
    return found;
}

std::wstring GetStoreCategoryURL(std::wstring categoryId) {
    return StoreCategoryPagePrefix + categoryId + StoreCategoryPageSuffix;
}
