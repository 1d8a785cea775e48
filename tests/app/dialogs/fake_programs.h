// Stand-ins for the programs the dialogs start, played by the test executable
// itself.
//
//   <exe> /Update "<path>"       the update child: appends its command line to
//                                %WENDARO_FAKE_CHILD_LOG%; when
//                                %WENDARO_FAKE_CHILD_PICTURES% names a folder,
//                                copies its files into
//                                %WENDARO_FAKE_CHILD_TARGET% and then sets the
//                                event %WENDARO_FAKE_CHILD_EVENT%
//   <exe> /FakeBrowser <url>     a browser: writes the URL to
//                                %WENDARO_FAKE_BROWSER_LOG%
//   a copy named rundll32.exe    the system's Open With helper: writes its
//                                command line to %WENDARO_FAKE_RUNDLL_LOG%
//
// FakeBrowser and FakeOpenWith point the system at these stand-ins for the
// life of a test.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/environment.h"
#include "tests/support/registry_guard.h"
#include "tests/support/temp_folder.h"

namespace wendaro_test {

// True when this run is one of the stand-ins; *exitCode is its result.
bool RunAsFakeProgram(int argc, wchar_t** argv, int* exitCode);

// Appends one line (UTF-16 text stored as UTF-8) to a file.
void AppendLine(const std::wstring& path, const std::wstring& line);
// The file's lines.
std::wstring ReadText(const std::wstring& path);

// The http handler of the prefix (the one ShellExecuteW of a web address
// uses here) points at this program, which logs each address it gets into
// browser.log of the folder.
class FakeBrowser {
public:
    explicit FakeBrowser(const std::wstring& folder);
    std::wstring Log() const;
    // The log once it holds `lines` lines, or what it holds after 10 s.
    std::wstring WaitForLines(size_t lines) const;

private:
    wendaro_test::RegistryGuard m_http{HKEY_CLASSES_ROOT, L"http\\shell\\open\\command"};
    std::wstring m_log;
    wendaro_test::ScopedEnvironment m_logTo;
};

// The system's Open With helper is %SystemRoot%\system32\rundll32.exe: a copy
// of this program below the folder logs its command line into rundll.log.
// SystemRoot is redirected only while a Redirect lives.
class FakeOpenWith {
public:
    explicit FakeOpenWith(const std::wstring& folder);
    bool ready() const { return m_ready; }
    std::wstring Log() const;

    class Redirect {
    public:
        explicit Redirect(const FakeOpenWith& fake) : m_root(L"SystemRoot", fake.m_root.c_str()) {}

    private:
        wendaro_test::ScopedEnvironment m_root;
    };

private:
    std::wstring m_root;
    std::wstring m_log;
    wendaro_test::ScopedEnvironment m_logTo;
    bool m_ready = false;
};

}  // namespace wendaro_test
