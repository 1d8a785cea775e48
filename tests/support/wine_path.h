// Paths between the Linux side and the Wine prefix: the build hands tests
// Unix paths (sources, build folder), which Wine shows on drive Z:.
#pragma once

#include <string>

namespace wendaro_test {

// The Z: drive path of a Unix path ("/a/b" -> "Z:\a\b"); a Windows path comes
// back with its slashes turned into backslashes.
std::wstring WindowsPathOf(const std::wstring& path);
std::wstring WindowsPathOf(const std::string& path);

}  // namespace wendaro_test
