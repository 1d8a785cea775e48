// What the download job reads from a sent request's response headers.
#pragma once

#include <windows.h>
#include <wininet.h>

namespace VELQCOMMON {

// The HTTP status; 404 when it cannot be read.
DWORD QueryStatusCode(HINTERNET request);

// The Content-Length header as a number; false when the response has none.
bool QueryAnnouncedLength(HINTERNET request, DWORD* length);

// The server's time: Last-Modified, else Date. False (and an all-zero time)
// when the response gives neither.
bool QueryServerTime(HINTERNET request, SYSTEMTIME* time);

// Switches the certificate-revocation check off for an HTTPS request, keeping
// the other security flags; when they cannot be read, sets that flag alone.
void IgnoreRevocation(HINTERNET request);

}  // namespace VELQCOMMON
