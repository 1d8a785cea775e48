// A URL split into what a WinINet connection and request need. The one
// splitter of the program: the download job and the check of a configured
// address split alike.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <string>

namespace VELQCOMMON {

struct UrlParts {
    UrlParts();
    UrlParts(const UrlParts& other);
    UrlParts& operator=(const UrlParts& other) = default;

    std::wstring host;
    std::wstring path;  // with any query part
    INTERNET_PORT port;
    INTERNET_SCHEME scheme;
};

// Splits url into *parts (escaping unsafe characters in the path); false, and
// *parts unchanged, when it does not split or its host is longer than 255 or
// its path longer than 2047 characters.
bool SplitUrl(const std::wstring& url, UrlParts* parts);

// The schemes a download goes to: http and https.
bool IsWebScheme(INTERNET_SCHEME scheme);

}  // namespace VELQCOMMON
