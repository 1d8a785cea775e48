#include "catalogue/http_file.h"

#include <algorithm>

#include "catalogue/http_query.h"
#include "catalogue/internet_handle.h"
#include "shared/files.h"
#include "shared/handle.h"
#include "shared/security.h"

namespace VELQCOMMON {

namespace {

constexpr DWORD HttpsRequestFlags = INTERNET_FLAG_SECURE | INTERNET_FLAG_KEEP_CONNECTION;
constexpr DWORD HttpRequestFlags = INTERNET_FLAG_KEEP_CONNECTION;
constexpr DWORD ErrorDialogFlags = FLAGS_ERROR_UI_FILTER_FOR_ERRORS |
                                   FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS |
                                   FLAGS_ERROR_UI_FLAGS_GENERATE_DATA;
constexpr int MaxFailedSends = 5;

bool IsStopRequested(HANDLE stopEvent) { return WaitForSingleObject(stopEvent, 0) != WAIT_TIMEOUT; }

// Send errors that no dialog can help with (name not resolved, cannot
// connect, timeout, ...).
bool IsNetworkError(DWORD code) { return code > 12000 && code < 12036; }

bool SameFileTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

}  // namespace

UrlParts::UrlParts() : host(L"localhost"), path(L"/"), port(80), scheme(INTERNET_SCHEME_HTTP) {}

UrlParts::UrlParts(const UrlParts& other)
    : host(other.host), path(other.path), port(other.port), scheme(other.scheme) {}

CVELQHttpFile::CVELQHttpFile()
    : cachedWriteTime(GetFileWriteTime(L"")), cachedSize(0), contentChanged(1) {
    threadRoutine = __VELQHttpRetrieve;
}

CVELQHttpFile::~CVELQHttpFile() = default;

LRESULT CVELQHttpFile::Notify(UINT, WPARAM wParam, LPARAM lParam) {
    if (IsWindow(notifyWindow)) PostMessageW(notifyWindow, WM_DOWNLOADPROGRESS, wParam, lParam);
    return 1;
}

BOOL CVELQHttpFile::EnsureStarted() {
    if (GetExitCode() == STILL_ACTIVE) return TRUE;
    return Start();
}

void CVELQHttpFile::SetSourceUrl(const wchar_t* url) { sourceUrl = url; }
void CVELQHttpFile::SetTargetPath(const wchar_t* path) { targetPath = path; }
std::wstring CVELQHttpFile::GetSourceUrl() const { return sourceUrl; }
std::wstring CVELQHttpFile::GetTargetPath() const { return targetPath; }
UrlParts CVELQHttpFile::GetUrlParts() const { return urlParts; }

BOOL CVELQHttpFile::CrackUrl() {
    wchar_t host[256] = {};
    wchar_t path[2048] = {};
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = ARRAYSIZE(host);
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = ARRAYSIZE(path);
    if (InternetCrackUrlW(sourceUrl.c_str(), static_cast<DWORD>(sourceUrl.size()), ICU_ESCAPE,
                          &parts) != TRUE) {
        return 0;
    }
    urlParts.port = parts.nPort;
    urlParts.scheme = parts.nScheme;
    urlParts.host = host;
    urlParts.path = path;
    return 1;
}

DWORD CVELQHttpFile::DownloadHttpFile() {
    InternetHandle session(
        InternetOpenW(DownloadUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) {
        DWORD error = GetLastError();
        Trace(L"DownloadHttpFile failed to create session, error<%d>", error);
        return error;
    }
    DWORD result = 0;
    // HTTPS uses the same service; the request carries the secure flag.
    InternetHandle connection(InternetConnectW(session.get(), urlParts.host.c_str(), urlParts.port,
                                               L"", L"", INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
        result = GetLastError();
        Trace(L"InternetConnect failed, error<%d>", result);
    } else {
        wchar_t objectName[2084] = {};
        _snwprintf_s(objectName, ARRAYSIZE(objectName), _TRUNCATE, L"%s", urlParts.path.c_str());
        result = GetURL(connection.get(), objectName, targetPath.c_str());
        connection.reset();
    }
    session.reset();
    Trace(L"DownloadHttpFile complete, error<%d>", result);
    return result;
}

DWORD CVELQHttpFile::GetURL(HINTERNET connection, const wchar_t* objectName,
                            const wchar_t* targetFileName) {
    OpenAccessAttributes access;
    Trace(L"URL:%ls", sourceUrl.c_str());
    DWORD flags = urlParts.scheme == INTERNET_SCHEME_HTTPS ? HttpsRequestFlags : HttpRequestFlags;
    InternetHandle request(
        HttpOpenRequestW(connection, L"GET", objectName, L"HTTP/1.1", L"", nullptr, flags, 0));
    if (!request) {
        DWORD error = GetLastError();
        Trace(L"HttpOpenRequest failed, error<%d>", error);
        return error;
    }
    DWORD result = ReceiveResponse(request.get(), targetFileName, access.get());
    request.reset();
    Trace(L"GetURL complete, return<%d>", result);
    return result;
}

// Everything between the open request and its closing: the send, the status,
// the test for an unchanged copy and the body. The target file is closed
// before the caller closes the request.
DWORD CVELQHttpFile::ReceiveResponse(HINTERNET request, const wchar_t* targetFileName,
                                     SECURITY_ATTRIBUTES* access) {
    bool sent = false;
    DWORD result = SendRequest(request, &sent);
    if (result != ERROR_SUCCESS) return result;

    // A request that was never sent has no status of its own, although
    // through a proxy WinINet may report that of the tunnel's CONNECT.
    DWORD status = sent ? QueryStatusCode(request) : DWORD(HTTP_STATUS_NOT_FOUND);
    Trace(L"status: %d", status);
    if (status != HTTP_STATUS_OK) return ERROR_NOT_FOUND;

    DWORD total = QueryContentLength(request);
    if (total == 0) total = UnknownContentLength;
    Trace(L"ContentLength = %d", total);

    SYSTEMTIME serverTime = {};
    bool hasServerTime = QueryServerTime(request, &serverTime);
    if (hasServerTime && IsCachedCopy(total, serverTime)) {
        Trace(L"Content has not changed![%s]", sourceUrl.c_str());
        contentChanged = 0;
        Notify(WM_DOWNLOADPROGRESS, total, total);
        return ERROR_SUCCESS;
    }

    KernelHandle file(CreateFileW(targetFileName, GENERIC_WRITE, FILE_SHARE_READ, access,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        Trace(L"Open localfile %s, failed:0x%x", targetFileName, GetLastError());
        return ERROR_INVALID_HANDLE;
    }
    Notify(WM_DOWNLOADPROGRESS, total, 0);
    DWORD announced = 0;
    bool lengthAnnounced = QueryAnnouncedLength(request, &announced) && announced != 0;
    result = ReceiveBody(request, file.get(), total, lengthAnnounced);
    if (result != ERROR_SUCCESS) return result;

    file.reset();
    // Without a server time the file keeps the time of its writing.
    if (hasServerTime) SetFileWriteTime(targetFileName, &serverTime);
    Notify(WM_DOWNLOADPROGRESS, total, total);
    return ERROR_SUCCESS;
}

// The owner's local copy has the server's length and time in all 64 bits.
bool CVELQHttpFile::IsCachedCopy(DWORD total, const SYSTEMTIME& serverTime) const {
    FILETIME serverFileTime = {};
    SystemTimeToFileTime(&serverTime, &serverFileTime);
    return total == cachedSize && SameFileTime(serverFileTime, cachedWriteTime);
}

// Moves the body through one fixed buffer into the file, testing the stop
// event before each chunk.
DWORD CVELQHttpFile::ReceiveBody(HINTERNET request, HANDLE file, DWORD total,
                                 bool lengthAnnounced) {
    BYTE buffer[DownloadBufferSize];
    DWORD remaining = total;
    while (remaining != 0) {
        if (IsStopRequested(stopEvent)) return ERROR_CANCELLED;
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request, &available, 0, 0)) {
            DWORD error = GetLastError();
            Trace(L"InternetQueryDataAvailable failed:%d", error);
            return error;
        }
        DWORD wanted = std::min(available, DownloadBufferSize);
        // Never more than announced, even when the server sends more.
        if (lengthAnnounced) wanted = std::min(wanted, remaining);
        DWORD read = 0;
        SetLastError(ERROR_SUCCESS);
        if (!InternetReadFile(request, buffer, wanted, &read) || read == 0) {
            DWORD error = GetLastError();
            // A closed connection reads as a clean end: with a length
            // announced, fewer bytes than that is a cut-off body.
            if (error == ERROR_SUCCESS && lengthAnnounced) error = ERROR_INTERNET_CONNECTION_RESET;
            if (error == ERROR_SUCCESS) break;
            Trace(L"InternetReadFile failed:%d", error);
            return error;
        }
        DWORD written = 0;
        WriteFile(file, buffer, read, &written, nullptr);
        Notify(WM_DOWNLOADPROGRESS, total, total - remaining);
        remaining -= read;
    }
    return ERROR_SUCCESS;
}

DWORD CVELQHttpFile::SendRequest(HINTERNET request) {
    bool sent = false;
    return SendRequest(request, &sent);
}

DWORD CVELQHttpFile::SendRequest(HINTERNET request, bool* sent) {
    if (urlParts.scheme == INTERNET_SCHEME_HTTPS) IgnoreRevocation(request);
    int failedSends = 0;
    while (!IsStopRequested(stopEvent)) {
        *sent = HttpSendRequestW(request, nullptr, 0, nullptr, 0) != FALSE;
        if (*sent) break;
        if (failedSends >= MaxFailedSends) break;
        DWORD code = GetLastError();
        if (IsNetworkError(code)) return code;
        Trace(L"HttpSendRequest error<%d>", code);
        DWORD answer = InternetErrorDlg(notifyWindow, request, code, ErrorDialogFlags, nullptr);
        Trace(L"InternetErrorDlg error<%d>", answer);
        if (answer == ERROR_CANCELLED) return ERROR_CANCELLED;
        ++failedSends;
    }
    return IsStopRequested(stopEvent) ? ERROR_CANCELLED : ERROR_SUCCESS;
}

DWORD WINAPI __VELQHttpRetrieve(LPVOID parameter) {
    // Start passes the job as its base class.
    auto* job = static_cast<CVELQHttpFile*>(static_cast<VELQTASKCOMMON::CVELQThread*>(parameter));
    job->Trace(L"__VELQHttpRetrieve thID<%x>", GetCurrentThreadId());
    DWORD result = job->CrackUrl() == 1 ? job->DownloadHttpFile() : ERROR_INTERNET_INVALID_URL;
    job->Trace(L"__VELQHttpRetrieve complete<%d>", result);
    return result;
}

}  // namespace VELQCOMMON
