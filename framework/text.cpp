#include "framework/text.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

void CString::AppendFormatV(LPCWSTR format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int needed = _vscwprintf(format, copy);
    va_end(copy);
    if (needed <= 0) return;
    std::vector<wchar_t> buffer(static_cast<size_t>(needed) + 1);
    _vsnwprintf(buffer.data(), buffer.size(), format, args);
    m_text.append(buffer.data(), static_cast<size_t>(needed));
}

void CString::Format(LPCWSTR format, ...) {
    m_text.clear();
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(LPCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

int CString::ReverseFind(wchar_t ch) const {
    size_t at = m_text.rfind(ch);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
    if (first < 0) first = 0;
    if (count < 0) count = 0;
    if (first >= GetLength()) return CString();
    return CString(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString& CString::MakeLower() {
    for (wchar_t& c : m_text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return *this;
}
