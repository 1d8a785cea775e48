#include "tests/support/program.h"

#include <vector>

#include "tests/support/wine_path.h"

namespace wendaro_test {

std::wstring ProgramPath() {
#ifdef WENDARO_EXE_PATH
    return WindowsPathOf(WENDARO_EXE_PATH);
#else
    return std::wstring();
#endif
}

std::wstring QuoteArgument(const std::wstring& argument) {
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

HANDLE StartProgram(const std::wstring& arguments) {
    std::wstring program = ProgramPath();
    std::wstring commandLine = QuoteArgument(program);
    if (!arguments.empty()) commandLine += L" " + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

ProgramRun RunProgram(const std::wstring& arguments, DWORD timeoutMs) {
    ProgramRun run;
    HANDLE process = StartProgram(arguments);
    if (!process) return run;
    run.started = true;
    if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0) {
        run.finished = true;
        GetExitCodeProcess(process, &run.exitCode);
    } else {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
    return run;
}

}  // namespace wendaro_test
