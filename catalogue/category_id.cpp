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

bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The system takes a file whose name before its first dot is a device name
// (ignoring case and blanks around it) for that device: the list file
// "NUL.xml" would swallow every download.
bool IsDeviceName(const std::wstring& categoryId) {
    std::wstring base = Trimmed(categoryId.substr(0, categoryId.find(L'.')));
    for (wchar_t& c : base) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"}) {
        if (base == device) return true;
    }
    if (base.size() != 4 || (base.compare(0, 3, L"COM") != 0 && base.compare(0, 3, L"LPT") != 0))
        return false;
    return IsAsciiDigit(base[3]) || base[3] == L'\u00B9' || base[3] == L'\u00B2' ||
           base[3] == L'\u00B3';
}

// The list file "picNN.xml" (or "picNN.anything.xml") lies in the picture
// folder, where clearing picture NN removes every "picNN.*".
bool IsPictureFileName(const std::wstring& categoryId) {
    if (categoryId.size() < 5 || _wcsnicmp(categoryId.c_str(), L"pic", 3) != 0) return false;
    if (!IsAsciiDigit(categoryId[3]) || !IsAsciiDigit(categoryId[4])) return false;
    return categoryId.size() == 5 || categoryId[5] == L'.';
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
    if (IsDeviceName(categoryId) || IsPictureFileName(categoryId)) return false;
    return !FormatProductListUrl(categoryId).empty();
}

}  // namespace VELQCOMMON
