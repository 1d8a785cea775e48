#include "catalogue/http_query.h"

namespace VELQCOMMON {

namespace {

// A numeric response header; false when the response has none.
bool QueryNumber(HINTERNET request, DWORD query, DWORD* number) {
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD index = 0;
    if (!HttpQueryInfoW(request, query | HTTP_QUERY_FLAG_NUMBER, &value, &size, &index)) return false;
    *number = value;
    return true;
}

}  // namespace

bool HasStatusLine(HINTERNET request) {
    DWORD size = 0;
    DWORD index = 0;
    HttpQueryInfoW(request, HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &size, &index);
    if (size == 0) return false;
    std::wstring raw(size / sizeof(wchar_t) + 1, L'\0');
    index = 0;
    if (!HttpQueryInfoW(request, HTTP_QUERY_RAW_HEADERS_CRLF, &raw[0], &size, &index)) return false;
    raw.resize(size / sizeof(wchar_t));
    size_t lineEnd = raw.find(L"\r\n");
    return raw.compare(0, 5, L"HTTP/") == 0 && lineEnd != std::wstring::npos &&
           raw.compare(lineEnd + 2, 2, L"\r\n") != 0 && lineEnd + 2 < raw.size();
}

DWORD QueryStatusCode(HINTERNET request) {
    DWORD status = 0;
    return QueryNumber(request, HTTP_QUERY_STATUS_CODE, &status) ? status : HTTP_STATUS_NOT_FOUND;
}

bool QueryContentLength(HINTERNET request, ULONGLONG* length) {
    // WinINet's own number query fails for 2^32 and more, which would read
    // as a body without any length.
    wchar_t text[64] = {};
    DWORD size = sizeof text - sizeof text[0];
    DWORD index = 0;
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, &index) || text[0] == 0) return false;
    ULONGLONG value = 0;
    for (const wchar_t* digit = text; *digit; ++digit) {
        if (*digit < L'0' || *digit > L'9') return false;
        unsigned digitValue = *digit - L'0';
        value = value > (~0ull - digitValue) / 10 ? ~0ull : value * 10 + digitValue;
    }
    *length = value;
    return true;
}

bool QueryRedirectTarget(HINTERNET request, const std::wstring& requestUrl, std::wstring* target) {
    // As bytes: a server may write UTF-8 into the header, and as wide text
    // those bytes would be the ANSI code page's characters, some of which
    // the request line then drops. Each byte past ASCII goes on
    // percent-encoded, as a browser sends it, which keeps the bytes exactly.
    std::string raw(INTERNET_MAX_URL_LENGTH, '\0');
    DWORD size = static_cast<DWORD>(raw.size());
    DWORD index = 0;
    if (!HttpQueryInfoA(request, HTTP_QUERY_LOCATION, &raw[0], &size, &index)) return false;
    raw.resize(size);
    const wchar_t hex[] = L"0123456789ABCDEF";
    std::wstring location;
    for (unsigned char byte : raw) {
        if (byte < 0x80) {
            location += static_cast<wchar_t>(byte);
        } else {
            location += {L'%', hex[byte >> 4], hex[byte & 15]};
        }
    }
    std::wstring combined(INTERNET_MAX_URL_LENGTH, L'\0');
    DWORD length = static_cast<DWORD>(combined.size());
    if (location.empty() ||
        !InternetCombineUrlW(requestUrl.c_str(), location.c_str(), &combined[0], &length, 0)) {
        return false;
    }
    combined.resize(length);
    *target = combined;
    return true;
}

bool QueryServerTime(HINTERNET request, SYSTEMTIME* time) {
    const DWORD queries[] = {HTTP_QUERY_LAST_MODIFIED, HTTP_QUERY_DATE};
    for (DWORD query : queries) {
        *time = SYSTEMTIME{};
        DWORD length = sizeof *time;
        if (HttpQueryInfoW(request, query | HTTP_QUERY_FLAG_SYSTEMTIME, time, &length, nullptr)) {
            return true;
        }
    }
    *time = SYSTEMTIME{};
    return false;
}

void IgnoreRevocation(HINTERNET request) {
    DWORD flags = 0;
    DWORD length = sizeof flags;
    if (!InternetQueryOptionW(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, &length)) flags = 0;
    flags |= SECURITY_FLAG_IGNORE_REVOCATION;
    InternetSetOptionW(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, sizeof flags);
}

}  // namespace VELQCOMMON
