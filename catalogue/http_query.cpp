#include "catalogue/http_query.h"

#include <cwchar>

#include "catalogue/http_file.h"

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

DWORD QueryStatusCode(HINTERNET request) {
    DWORD status = 0;
    return QueryNumber(request, HTTP_QUERY_STATUS_CODE, &status) ? status : HTTP_STATUS_NOT_FOUND;
}

bool QueryAnnouncedLength(HINTERNET request, DWORD* length) {
    return QueryNumber(request, HTTP_QUERY_CONTENT_LENGTH, length);
}

DWORD QueryContentLength(HINTERNET request) {
    DWORD length = 0;
    if (QueryAnnouncedLength(request, &length)) return length;

    wchar_t encoding[260] = {};
    DWORD size = sizeof encoding;
    DWORD index = 0;
    if (HttpQueryInfoW(request, HTTP_QUERY_TRANSFER_ENCODING, encoding, &size, &index) &&
        _wcsicmp(encoding, L"chunked") == 0) {
        return UnknownContentLength;
    }
    return 0;
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
