// CString: the framework's wide string, a thin value type over std::wstring.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

class CString {
public:
    CString() = default;
    CString(LPCWSTR text) : m_text(text ? text : L"") {}

    operator LPCWSTR() const { return m_text.c_str(); }

    bool IsEmpty() const { return m_text.empty(); }

    // printf-style formatting with the C runtime's wide conventions (%s is a
    // wide string).
    void AppendFormat(LPCWSTR format, ...);

    // From first to the end; empty when first is past the end.
    CString Mid(int first) const;
    // -1 when not found.
    int ReverseFind(wchar_t ch) const;
    // Lowers only the letters A-Z, as the C runtime's default locale does.
    CString& MakeLower();

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_text + b.m_text); }
    friend CString operator+(const CString& a, LPCWSTR b) { return CString(a.m_text + (b ? b : L"")); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, LPCWSTR b) { return a.m_text == (b ? b : L""); }

private:
    explicit CString(std::wstring text) : m_text(std::move(text)) {}

    std::wstring m_text;
};
