// CString: the framework's wide string, a thin value type over std::wstring.
#pragma once

#include <windows.h>

#include <string>

class CString {
public:
    CString() = default;
    CString(LPCWSTR text) : m_text(text ? text : L"") {}
    CString(LPCWSTR text, int length) : m_text(text ? text : L"", text ? length : 0) {}
    CString(const std::wstring& text) : m_text(text) {}
    CString(wchar_t ch, int repeat = 1) : m_text(repeat > 0 ? repeat : 0, ch) {}

    operator LPCWSTR() const { return m_text.c_str(); }
    LPCWSTR GetString() const { return m_text.c_str(); }
    const std::wstring& str() const { return m_text; }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }

    // printf-style formatting with the C runtime's wide conventions (%s is a
    // wide string).
    void Format(LPCWSTR format, ...);
    void AppendFormat(LPCWSTR format, ...);

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    // -1 when not found.
    int ReverseFind(wchar_t ch) const;
    // Lowers only the letters A-Z, as the C runtime's default locale does.
    CString& MakeLower();

    CString& operator=(LPCWSTR text) {
        m_text = text ? text : L"";
        return *this;
    }
    CString& operator+=(const CString& other) {
        m_text += other.m_text;
        return *this;
    }
    CString& operator+=(LPCWSTR text) {
        if (text) m_text += text;
        return *this;
    }
    CString& operator+=(wchar_t ch) {
        m_text += ch;
        return *this;
    }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_text + b.m_text); }
    friend CString operator+(const CString& a, LPCWSTR b) { return CString(a.m_text + (b ? b : L"")); }
    friend CString operator+(LPCWSTR a, const CString& b) { return CString((a ? a : L"") + b.m_text); }
    friend CString operator+(const CString& a, wchar_t b) { return CString(a.m_text + b); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, LPCWSTR b) { return a.m_text == (b ? b : L""); }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, LPCWSTR b) { return !(a == b); }

private:
    void AppendFormatV(LPCWSTR format, va_list args);

    std::wstring m_text;
};
