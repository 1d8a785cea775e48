#include "shared/url_parts.h"

namespace VELQCOMMON {

UrlParts::UrlParts() : host(L"localhost"), path(L"/"), port(80), scheme(INTERNET_SCHEME_HTTP) {}

UrlParts::UrlParts(const UrlParts& other)
    : host(other.host), path(other.path), port(other.port), scheme(other.scheme) {}

bool SplitUrl(const std::wstring& url, UrlParts* parts) {
    wchar_t host[256] = {};
    wchar_t path[2048] = {};
    URL_COMPONENTSW split = {};
    split.dwStructSize = sizeof split;
    split.lpszHostName = host;
    split.dwHostNameLength = ARRAYSIZE(host);
    split.lpszUrlPath = path;
    split.dwUrlPathLength = ARRAYSIZE(path);
    if (InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), ICU_ESCAPE, &split) != TRUE) {
        return false;
    }
    parts->port = split.nPort;
    parts->scheme = split.nScheme;
    parts->host = host;
    parts->path = path;
    return true;
}

bool IsWebScheme(INTERNET_SCHEME scheme) {
    return scheme == INTERNET_SCHEME_HTTP || scheme == INTERNET_SCHEME_HTTPS;
}

}  // namespace VELQCOMMON
