#include "catalogue/picture_name.h"

#include <stdio.h>
#include <wchar.h>

namespace {

constexpr size_t NameBufferSize = 260;
const wchar_t ReservedCharacters[] = L"\\/:*?\"<>|";

}  // namespace

std::wstring FormatPictureName(int number, const std::wstring& extension) {
    // A NUL inside the extension would end the text early and name another file.
    if (extension.find(L'\0') != std::wstring::npos) return std::wstring();
    wchar_t name[NameBufferSize] = {};
    if (_snwprintf_s(name, NameBufferSize, _TRUNCATE, L"pic%.2d.%s", number, extension.c_str()) < 0)
        return std::wstring();
    return name;
}

bool IsPlainFileName(const std::wstring& name) {
    if (name.empty() || name.size() >= NameBufferSize) return false;
    for (wchar_t c : name) {
        if (c < 0x20 || c == 0x7F) return false;
        if (wcschr(ReservedCharacters, c)) return false;
    }
    return true;
}
