#include "catalogue/category_id.h"

#include <windows.h>
#include <wininet.h>

#include <cwchar>

#include "shared/endpoints.h"

namespace VELQCOMMON {

namespace {

bool IsControlCharacter(wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

std::wstring Trimmed(const std::wstring& text) {
    const wchar_t* blanks = L" \t\r\n\v\f";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

std::wstring FormatProductListUrl(const std::wstring& categoryId) {
    wchar_t url[INTERNET_MAX_URL_LENGTH] = {};
    if (_snwprintf_s(url, INTERNET_MAX_URL_LENGTH, _TRUNCATE, StoreProductListURLFormat,
                     categoryId.c_str()) < 0)
        return std::wstring();
    return url;
}

bool IsUsableCategoryId(const std::wstring& categoryId) {
    std::wstring trimmed = Trimmed(categoryId);
    if (trimmed.empty() || trimmed == L"." || trimmed == L"..") return false;
    for (wchar_t c : categoryId) {
        if (IsControlCharacter(c) || std::wcschr(L"\\/:*?\"<>|", c)) return false;
    }
    return !FormatProductListUrl(categoryId).empty();
}

}  // namespace VELQCOMMON
