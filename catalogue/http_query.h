// What the download job reads from a sent request's response headers, and
// what it sets on a request before sending it.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <string>

namespace VELQCOMMON {

// Whether the reply began with a status line. For one that did not (an
// HTTP/0.9 answer, or bytes a host sent past an earlier body on the same
// connection) WinINet makes up "HTTP/1.0 200 OK" without any header line,
// so a reply counts only with a status line and at least one header.
bool HasStatusLine(HINTERNET request);

// The HTTP status; 404 when it cannot be read.
DWORD QueryStatusCode(HINTERNET request);

// The Content-Length header, read as text so that 4 GiB and more keep their
// value (a longer number saturates); false when the response has none or it
// is not a decimal number.
bool QueryContentLength(HINTERNET request, ULONGLONG* length);

// The Location of a redirect, its bytes past ASCII percent-encoded, made
// absolute against the URL the request was sent to; false when the response
// has none that combines into a URL.
bool QueryRedirectTarget(HINTERNET request, const std::wstring& requestUrl, std::wstring* target);

// The server's time: Last-Modified, else Date. False (and an all-zero time)
// when the response gives neither.
bool QueryServerTime(HINTERNET request, SYSTEMTIME* time);

// Switches the certificate-revocation check off for an HTTPS request, keeping
// the other security flags; when they cannot be read, sets that flag alone.
void IgnoreRevocation(HINTERNET request);

}  // namespace VELQCOMMON
