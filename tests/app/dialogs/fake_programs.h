// Stand-ins that the prompt starts, played by the test executable itself.
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
#pragma once

#include <string>

namespace prompttest {

// True when this run is one of the stand-ins; *exitCode is its result.
bool RunAsFakeProgram(int argc, wchar_t** argv, int* exitCode);

// The environment value, or empty.
std::wstring Environment(const wchar_t* name);
// Appends one line (UTF-16 text stored as UTF-8) to a file.
void AppendLine(const std::wstring& path, const std::wstring& line);
// The file's lines.
std::wstring ReadText(const std::wstring& path);

}  // namespace prompttest
