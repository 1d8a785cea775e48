// Starting the real wendaro.exe from a test and waiting for it, bounded.
#pragma once

#include <windows.h>

#include <string>

namespace wendaro_test {

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

}  // namespace wendaro_test
