#include "catalogue/http_file.h"

#include <algorithm>

#include "catalogue/http_query.h"
#include "shared/files.h"
#include "shared/handle.h"
#include "shared/internet_handle.h"
#include "shared/security.h"
#include "shared/task/job_control.h"

namespace VELQCOMMON {

namespace {

// Redirects are followed by the job, between its tests of the time limit:
// WinINet's own loop has no end. No request gets a timeout of its own: a
// receive timeout never fires on a trickle, and under Wine a TLS handshake
// that times out ends the whole process inside WinINet. The owner bounds a
// blocked call instead (RunDownload). Bodies stay out of WinINet's cache, which
// would write each one a second time.
constexpr DWORD HttpRequestFlags = INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_NO_AUTO_REDIRECT |
                                   INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD;
constexpr DWORD HttpsRequestFlags = INTERNET_FLAG_SECURE | HttpRequestFlags;
constexpr DWORD ErrorDialogFlags = FLAGS_ERROR_UI_FILTER_FOR_ERRORS |
                                   FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS |
                                   FLAGS_ERROR_UI_FLAGS_GENERATE_DATA;
constexpr int MaxFailedSends = 5;

bool IsStopRequested(HANDLE stopEvent) { return WaitForSingleObject(stopEvent, 0) != WAIT_TIMEOUT; }

// Send errors that no dialog can help with (name not resolved, cannot
// connect, timeout, ...).
bool IsNetworkError(DWORD code) { return code > 12000 && code < 12036; }

bool IsRedirect(DWORD status) {
    return status == HTTP_STATUS_MOVED || status == HTTP_STATUS_REDIRECT ||
           status == HTTP_STATUS_REDIRECT_METHOD || status == HTTP_STATUS_REDIRECT_KEEP_VERB ||
           status == HTTP_STATUS_PERMANENT_REDIRECT;
}

bool SameFileTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

}  // namespace

CVELQHttpFile::CVELQHttpFile()
    : cachedWriteTime(GetFileWriteTime(L"")),
      cachedSize(0),
      contentChanged(1),
      timeLimitMs(DownloadTimeLimitMs),
      deadline(VELQTASKCOMMON::Deadline::Never()) {
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

BOOL CVELQHttpFile::CrackUrl() { return SplitUrl(sourceUrl, &urlParts) ? 1 : 0; }

DWORD CVELQHttpFile::DownloadHttpFile() {
    // The job's own address goes where a redirect may: WinINet would send a
    // GET over HTTP to an ftp: host's port.
    if (!IsWebScheme(urlParts.scheme)) {
        Trace(L"DownloadHttpFile refused the scheme of %ls, error<%d>", sourceUrl.c_str(),
              ERROR_INTERNET_UNRECOGNIZED_SCHEME);
        return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    }
    InternetHandle session(
        InternetOpenW(DownloadUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) {
        DWORD error = GetLastError();
        Trace(L"DownloadHttpFile failed to create session, error<%d>", error);
        return error;
    }
    Target target{sourceUrl, urlParts};
    DWORD result = ERROR_SUCCESS;
    for (int hop = 0;; ++hop) {
        // HTTPS uses the same service; the request carries the secure flag.
        InternetHandle connection(InternetConnectW(session.get(), target.parts.host.c_str(), target.parts.port,
                                                   L"", L"", INTERNET_SERVICE_HTTP, 0, 0));
        if (!connection) {
            result = GetLastError();
            Trace(L"InternetConnect failed, error<%d>", result);
            break;
        }
        wchar_t objectName[2084] = {};
        _snwprintf_s(objectName, ARRAYSIZE(objectName), _TRUNCATE, L"%s", target.parts.path.c_str());
        Outcome outcome = Fetch(connection.get(), objectName, targetPath.c_str(), target);
        result = outcome.result;
        if (result != ERROR_SUCCESS || outcome.redirect.empty()) break;
        Trace(L"Redirect:%ls", outcome.redirect.c_str());
        NextTarget next = FollowRedirect(target, outcome.redirect, hop);
        result = next.refusal;
        if (result != ERROR_SUCCESS) break;
        target = next.target;
    }
    session.reset();
    Trace(L"DownloadHttpFile complete, error<%d>", result);
    return result;
}

// Goes where WinINet itself would: to http or https, never from https down to
// http, and at most MaxRedirects times in a row. WinINet's own loop has no
// end and takes ftp: for http.
CVELQHttpFile::NextTarget CVELQHttpFile::FollowRedirect(const Target& from, const std::wstring& location,
                                                        int hop) {
    NextTarget next{ERROR_SUCCESS, {location, {}}};
    if (hop >= MaxRedirects) {
        next.refusal = ERROR_HTTP_REDIRECT_FAILED;
    } else if (!SplitUrl(location, &next.target.parts)) {
        next.refusal = ERROR_INTERNET_INVALID_URL;
    } else if (!IsWebScheme(next.target.parts.scheme)) {
        next.refusal = ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    } else if (from.parts.scheme == INTERNET_SCHEME_HTTPS && next.target.parts.scheme != INTERNET_SCHEME_HTTPS) {
        next.refusal = ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR;
    }
    return next;
}

DWORD CVELQHttpFile::GetURL(HINTERNET connection, const wchar_t* objectName,
                            const wchar_t* targetFileName) {
    // Alone it follows no redirect, like a request WinINet does not redirect.
    Outcome outcome = Fetch(connection, objectName, targetFileName, {sourceUrl, urlParts});
    return outcome.redirect.empty() ? outcome.result : DWORD(ERROR_NOT_FOUND);
}

CVELQHttpFile::Outcome CVELQHttpFile::Fetch(HINTERNET connection, const wchar_t* objectName,
                                            const wchar_t* targetFileName, const Target& target) {
    OpenAccessAttributes access;
    Trace(L"URL:%ls", target.url.c_str());
    DWORD flags = target.parts.scheme == INTERNET_SCHEME_HTTPS ? HttpsRequestFlags : HttpRequestFlags;
    InternetHandle request(
        HttpOpenRequestW(connection, L"GET", objectName, L"HTTP/1.1", L"", nullptr, flags, 0));
    if (!request) {
        DWORD error = GetLastError();
        Trace(L"HttpOpenRequest failed, error<%d>", error);
        return {error, {}};
    }
    Response response = ReadResponse(request.get(), target);
    Outcome outcome{response.result, {}};
    if (response.next == Response::Next::Redirect) outcome.redirect = response.location;
    // The target file is closed before the request.
    if (response.next == Response::Next::Body) {
        outcome.result = StoreBody(request.get(), response, targetFileName, access.get());
    }
    request.reset();
    Trace(L"GetURL complete, return<%d>", outcome.result);
    return outcome;
}

// The send, the status and the headers the body depends on.
CVELQHttpFile::Response CVELQHttpFile::ReadResponse(HINTERNET request, const Target& target) {
    Response response{Response::Next::Fail, ERROR_SUCCESS, {}, 0, false, false, {}};
    response.result = Send(request, target.parts.scheme);
    bool sent = response.result == ERROR_SUCCESS;
    if (!sent && response.result != ERROR_NOT_FOUND) return response;
    // A request that was never sent has no status of its own, although
    // through a proxy WinINet may report that of the tunnel's CONNECT; and a
    // reply without a status line is no answer at all.
    DWORD status = sent && HasStatusLine(request) ? QueryStatusCode(request) : DWORD(HTTP_STATUS_NOT_FOUND);
    Trace(L"status: %d", status);
    if (IsRedirect(status) && QueryRedirectTarget(request, target.url, &response.location)) {
        response.next = Response::Next::Redirect;
        response.result = ERROR_SUCCESS;
        return response;
    }
    response.result = ERROR_NOT_FOUND;
    if (status != HTTP_STATUS_OK) return response;

    ULONGLONG announced = 0;
    response.lengthAnnounced = QueryContentLength(request, &announced) && announced != 0;
    if (announced > MaxBodySize) {
        Trace(L"ContentLength = %I64u", announced);
        response.result = ERROR_FILE_TOO_LARGE;
        return response;
    }
    // A chunked or unannounced body is read to its end, up to the bound.
    response.total = response.lengthAnnounced ? static_cast<DWORD>(announced) : MaxBodySize;
    Trace(L"ContentLength = %d", response.total);
    response.hasServerTime = QueryServerTime(request, &response.serverTime);
    response.next = Response::Next::Body;
    response.result = ERROR_SUCCESS;
    return response;
}

// The body into the target file, unless the owner's local copy is the
// server's; a body read whole is stamped with the server's time.
DWORD CVELQHttpFile::StoreBody(HINTERNET request, const Response& response, const wchar_t* targetFileName,
                               SECURITY_ATTRIBUTES* access) {
    if (response.hasServerTime && IsCachedCopy(response.total, response.serverTime)) {
        Trace(L"Content has not changed![%s]", sourceUrl.c_str());
        contentChanged = 0;
        Notify(WM_DOWNLOADPROGRESS, response.total, response.total);
        return ERROR_SUCCESS;
    }
    // Others may delete the file while it is written: an owner that gave up
    // on a job removes its file without waiting for the job's thread.
    KernelHandle file(CreateFileW(targetFileName, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  access, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        Trace(L"Open localfile %s, failed:0x%x", targetFileName, GetLastError());
        return ERROR_INVALID_HANDLE;
    }
    // Stopped before the file was there: the owner may have removed it
    // already, and the file it left must not stay.
    if (IsStopRequested(stopEvent)) {
        file.reset();
        DeleteFileW(targetFileName);
        return ERROR_CANCELLED;
    }
    Notify(WM_DOWNLOADPROGRESS, response.total, 0);
    DWORD result = ReceiveBody(request, file.get(), response.total, response.lengthAnnounced);
    if (result != ERROR_SUCCESS) return result;

    file.reset();
    // Without a server time the file keeps the time of its writing.
    if (response.hasServerTime) SetFileWriteTime(targetFileName, &response.serverTime);
    Notify(WM_DOWNLOADPROGRESS, response.total, response.total);
    return ERROR_SUCCESS;
}

// The owner's local copy has the server's length and time in all 64 bits.
bool CVELQHttpFile::IsCachedCopy(DWORD total, const SYSTEMTIME& serverTime) const {
    FILETIME serverFileTime = {};
    SystemTimeToFileTime(&serverTime, &serverFileTime);
    return total == cachedSize && SameFileTime(serverFileTime, cachedWriteTime);
}

// Moves the body through one fixed buffer into the file, testing the time
// limit and the stop event before each chunk.
DWORD CVELQHttpFile::ReceiveBody(HINTERNET request, HANDLE file, DWORD total,
                                 bool lengthAnnounced) {
    BYTE buffer[DownloadBufferSize];
    DWORD done = 0;
    while (!lengthAnnounced || done < total) {
        if (deadline.Expired()) return ERROR_TIMEOUT;
        if (IsStopRequested(stopEvent)) return ERROR_CANCELLED;
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request, &available, 0, 0)) {
            DWORD error = GetLastError();
            Trace(L"InternetQueryDataAvailable failed:%d", error);
            return error;
        }
        DWORD wanted = std::min(available, DownloadBufferSize);
        // Never more than announced, even when the server sends more.
        if (lengthAnnounced) wanted = std::min(wanted, total - done);
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
        if (read > MaxBodySize - done) {
            Trace(L"Body longer than %d bytes", MaxBodySize);
            return ERROR_FILE_TOO_LARGE;
        }
        DWORD written = 0;
        if (!WriteFile(file, buffer, read, &written, nullptr) || written != read) {
            DWORD error = GetLastError();
            Trace(L"WriteFile failed:%d", error);
            return error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
        }
        Notify(WM_DOWNLOADPROGRESS, total, done);
        done += read;
    }
    return ERROR_SUCCESS;
}

DWORD CVELQHttpFile::SendRequest(HINTERNET request) {
    DWORD result = Send(request, urlParts.scheme);
    return result == ERROR_NOT_FOUND ? DWORD(ERROR_SUCCESS) : result;
}

DWORD CVELQHttpFile::Send(HINTERNET request, INTERNET_SCHEME scheme) {
    if (scheme == INTERNET_SCHEME_HTTPS) IgnoreRevocation(request);
    for (int failedSends = 0;; ++failedSends) {
        // The deadline first: an owner that gives up at it sets the stop
        // event too, and the job's own end is the timeout.
        if (deadline.Expired()) return ERROR_TIMEOUT;
        if (IsStopRequested(stopEvent)) return ERROR_CANCELLED;
        bool sent = HttpSendRequestW(request, nullptr, 0, nullptr, 0) != FALSE;
        if (sent || failedSends >= MaxFailedSends) {
            // A stop during the last send counts as one between two sends.
            if (IsStopRequested(stopEvent)) return ERROR_CANCELLED;
            return sent ? ERROR_SUCCESS : ERROR_NOT_FOUND;
        }
        DWORD code = GetLastError();
        if (IsNetworkError(code)) return code;
        Trace(L"HttpSendRequest error<%d>", code);
        DWORD answer = InternetErrorDlg(notifyWindow, request, code, ErrorDialogFlags, nullptr);
        Trace(L"InternetErrorDlg error<%d>", answer);
        if (answer == ERROR_CANCELLED) return ERROR_CANCELLED;
    }
}

DWORD WINAPI __VELQHttpRetrieve(LPVOID parameter) {
    // Start passes the job as its base class.
    auto* job = static_cast<CVELQHttpFile*>(static_cast<VELQTASKCOMMON::CVELQThread*>(parameter));
    job->Trace(L"__VELQHttpRetrieve thID<%x>", GetCurrentThreadId());
    DWORD result = job->CrackUrl() == 1 ? job->DownloadHttpFile() : ERROR_INTERNET_INVALID_URL;
    job->Trace(L"__VELQHttpRetrieve complete<%d>", result);
    return result;
}

DWORD RunDownload(const std::shared_ptr<CVELQHttpFile>& job, HANDLE ownerStopEvent,
                  VELQTASKCOMMON::Deadline ownerDeadline) {
    job->deadline = ownerDeadline.Earlier(VELQTASKCOMMON::Deadline::In(job->timeLimitMs));
    return VELQTASKCOMMON::RunJob(job, ownerStopEvent, job->deadline);
}

}  // namespace VELQCOMMON
