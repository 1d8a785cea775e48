#include "tests/support/program.h"

#include <vector>

#include "shared/handle.h"
#include "tests/support/wine_path.h"

namespace wendaro_test {

std::wstring SelfPath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return self;
}

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

HANDLE StartProgramAt(const std::wstring& program, const std::wstring& arguments,
                      DWORD creationFlags) {
    std::wstring commandLine = QuoteArgument(program);
    if (!arguments.empty()) commandLine += L" " + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, creationFlags,
                        nullptr, nullptr, &startup, &info))
        return nullptr;
    KernelHandle thread(info.hThread);
    return info.hProcess;
}

HANDLE StartProgram(const std::wstring& arguments) { return StartProgramAt(ProgramPath(), arguments); }

ProgramRun RunProgramAt(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs,
                        DWORD creationFlags) {
    ProgramRun run;
    KernelHandle process(StartProgramAt(program, arguments, creationFlags));
    if (!process) return run;
    run.started = true;
    if (WaitForSingleObject(process.get(), timeoutMs) == WAIT_OBJECT_0) {
        run.finished = true;
        GetExitCodeProcess(process.get(), &run.exitCode);
    } else {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 5000);
    }
    return run;
}

ProgramRun RunProgram(const std::wstring& arguments, DWORD timeoutMs) {
    return RunProgramAt(ProgramPath(), arguments, timeoutMs);
}

}  // namespace wendaro_test
