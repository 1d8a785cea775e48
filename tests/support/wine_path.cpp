#include "tests/support/wine_path.h"

#include "tests/support/text.h"

namespace wendaro_test {

std::wstring WindowsPathOf(const std::wstring& path) {
    std::wstring out = !path.empty() && path[0] == L'/' ? L"Z:" + path : path;
    for (wchar_t& c : out) {
        if (c == L'/') c = L'\\';
    }
    return out;
}

std::wstring WindowsPathOf(const std::string& path) { return WindowsPathOf(Widen(path)); }

}  // namespace wendaro_test
