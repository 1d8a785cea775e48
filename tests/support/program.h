// Starting the real wendaro.exe from a test and waiting for it, bounded.
#pragma once

#include <windows.h>

#include <string>

namespace wendaro_test {

// This test executable's own path.
std::wstring SelfPath();

// The Windows path of the program built beside the tests (WENDARO_EXE_PATH is
// its Unix path, given by the build).
std::wstring ProgramPath();

// Quotes one argument for a command line the way CommandLineToArgvW reads it.
std::wstring QuoteArgument(const std::wstring& argument);

struct ProgramRun {
    bool started = false;
    bool finished = false;  // false: still running when the wait ran out (it is killed)
    DWORD exitCode = 0;
};

// Runs the program with the given text after its quoted path (the text is
// put on the command line as is) and waits up to timeoutMs for it to end.
// The child inherits this process's environment.
ProgramRun RunProgram(const std::wstring& arguments, DWORD timeoutMs = 30000);

// The same, without waiting: returns the process handle (the caller closes it).
HANDLE StartProgram(const std::wstring& arguments);

// The same for another program, e.g. a copy of this test executable started
// with CREATE_NO_WINDOW.
ProgramRun RunProgramAt(const std::wstring& program, const std::wstring& arguments,
                        DWORD timeoutMs = 30000, DWORD creationFlags = 0);
HANDLE StartProgramAt(const std::wstring& program, const std::wstring& arguments,
                      DWORD creationFlags = 0);

}  // namespace wendaro_test
