#include "framework/text.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

void CString::AppendFormat(LPCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int needed = _vscwprintf(format, copy);
    va_end(copy);
    if (needed > 0) {
        std::vector<wchar_t> buffer(static_cast<size_t>(needed) + 1);
        _vsnwprintf(buffer.data(), buffer.size(), format, args);
        m_text.append(buffer.data(), static_cast<size_t>(needed));
    }
    va_end(args);
}

int CString::ReverseFind(wchar_t ch) const {
    size_t at = m_text.rfind(ch);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

CString CString::Mid(int first) const {
    if (first < 0) first = 0;
    if (static_cast<size_t>(first) >= m_text.size()) return CString();
    return CString(m_text.substr(static_cast<size_t>(first)));
}

CString& CString::MakeLower() {
    for (wchar_t& c : m_text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return *this;
}
