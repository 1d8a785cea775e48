// The download job: one URL into one local file on the job's own thread,
// through synchronous WinINet with the system's proxy settings.
//
//   auto job = std::make_shared<CVELQHttpFile>();
//   job->SetSourceUrl(url);
//   job->SetTargetPath(path);
//   job->cachedWriteTime = ...; job->cachedSize = ...;   // optional local copy
//   DWORD result = RunDownload(job, stopEvent, runDeadline);
//   // result 0: written and stamped, or unchanged (contentChanged == 0)
//
// The thread's exit code is the download's result:
//   0      ERROR_SUCCESS               written, or the server's copy is unchanged
//   6      ERROR_INVALID_HANDLE        the target file could not be created
//   223    ERROR_FILE_TOO_LARGE        the body is longer than 10 MiB: announced
//                                      so (nothing written) or found so while read
//   1168   ERROR_NOT_FOUND             HTTP status other than 200, none readable,
//                                      or a reply without a status line
//   1223   ERROR_CANCELLED             stopped, or the error dialog was cancelled
//   1460   ERROR_TIMEOUT               the job reached its deadline (60 s, or the
//                                      owner's earlier one) between two calls; an
//                                      owner that gives up on a call blocked past
//                                      it reports the same (RunDownload)
//   12005  ERROR_INTERNET_INVALID_URL  the URL (or a redirect's) does not split
//   12006  ERROR_INTERNET_UNRECOGNIZED_SCHEME
//                                      the URL, or a redirect, is neither http
//                                      nor https (no connection is made to it)
//   12031  ERROR_INTERNET_CONNECTION_RESET
//                                      the connection ended before the announced
//                                      Content-Length arrived
//   12040  ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR
//                                      a redirect from https to plain http
//   12156  ERROR_HTTP_REDIRECT_FAILED  more than MaxRedirects redirects
//   12001-12035                        HttpSendRequestW failed (returned at once)
//   other                              the system's last error of the failed call
//                                      (the write to the target included)
// A failed body is never stamped with the server's time.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <string>

#include "shared/task/deadline.h"
#include "shared/task/thread.h"
#include "shared/url_parts.h"

namespace VELQCOMMON {

// Posted (never sent) to the notify window: wParam the total, lParam the
// body bytes done.
inline constexpr UINT WM_DOWNLOADPROGRESS = WM_USER + 1001;

inline constexpr wchar_t DownloadUserAgent[] = L"VELQ Agent";
// No body may be longer; it is also the total reported for a response that
// announces no length.
inline constexpr DWORD MaxBodySize = 0xA00000;
// How long a job may run, redirects and blocked calls included.
inline constexpr DWORD DownloadTimeLimitMs = 60000;
// The body moves through one buffer of this size.
inline constexpr DWORD DownloadBufferSize = 10240;
// Redirects followed at most, as WinINet itself would: http and https only,
// never from https down to http.
inline constexpr int MaxRedirects = 5;

class CVELQHttpFile : public VELQTASKCOMMON::CVELQThread {
public:
    CVELQHttpFile();
    ~CVELQHttpFile() override;

    // Posts WM_DOWNLOADPROGRESS to the notify window when it is a window; the
    // message argument is ignored. Always 1.
    virtual LRESULT Notify(UINT message, WPARAM wParam, LPARAM lParam);
    // TRUE when the thread runs already, else the result of Start.
    virtual BOOL EnsureStarted();

    void SetSourceUrl(const wchar_t* url);
    void SetTargetPath(const wchar_t* path);
    std::wstring GetSourceUrl() const;
    std::wstring GetTargetPath() const;
    UrlParts GetUrlParts() const;

    // Splits the source URL into urlParts; 0 (and urlParts unchanged) when
    // it does not split.
    BOOL CrackUrl();
    // Root handle, connection and GetURL, once the URL is known to be http
    // or https (else 12006 and no connection); the download's result code.
    DWORD DownloadHttpFile();
    // The GET of objectName on an open connection into targetFileName.
    DWORD GetURL(HINTERNET connection, const wchar_t* objectName, const wchar_t* targetFileName);
    // Sends the request, at most six times with the Internet error dialog in
    // between; 0 also when every try failed (the status query then fails).
    DWORD SendRequest(HINTERNET request);

protected:
    std::wstring sourceUrl;
    std::wstring targetPath;
    UrlParts urlParts;

public:
    // The local copy an owner describes before the start; a response with
    // the same length and time is not downloaded again.
    FILETIME cachedWriteTime;
    DWORD cachedSize;
    // Set to 0 by a run that found the server's copy unchanged.
    BOOL contentChanged;
    // DownloadTimeLimitMs unless the owner shortens it; RunDownload counts
    // it from the start.
    DWORD timeLimitMs;
    // The end the job keeps, read between its calls: RunDownload sets it
    // before the start to the earlier of its owner's deadline and
    // timeLimitMs. A job started by other means has none.
    VELQTASKCOMMON::Deadline deadline;

private:
    // Where one request goes: the URL (a relative Location is resolved
    // against it) and its parts.
    struct Target {
        std::wstring url;
        UrlParts parts;
    };
    // Where a redirect leads, or why the job does not go there (refusal not 0).
    struct NextTarget {
        DWORD refusal;
        Target target;
    };
    // What a response's head asks for next.
    struct Response {
        enum class Next { Fail, Redirect, Body } next;
        DWORD result;           // Fail: the request's result
        std::wstring location;  // Redirect: absolute
        DWORD total;            // Body: the announced length, else MaxBodySize
        bool lengthAnnounced;
        bool hasServerTime;
        SYSTEMTIME serverTime;
    };
    // What one request ended with: a result, or where a redirect points.
    struct Outcome {
        DWORD result;
        std::wstring redirect;  // not empty: go there next
    };

    static NextTarget FollowRedirect(const Target& from, const std::wstring& location, int hop);
    Outcome Fetch(HINTERNET connection, const wchar_t* objectName, const wchar_t* targetFileName,
                  const Target& target);
    // The send attempts: 0 once sent, ERROR_NOT_FOUND when every one failed
    // (nothing was sent, so there is no answer to read), else why they ended.
    DWORD Send(HINTERNET request, INTERNET_SCHEME scheme);
    Response ReadResponse(HINTERNET request, const Target& target);
    DWORD StoreBody(HINTERNET request, const Response& response, const wchar_t* targetFileName,
                    SECURITY_ATTRIBUTES* access);
    bool IsCachedCopy(DWORD total, const SYSTEMTIME& serverTime) const;
    DWORD ReceiveBody(HINTERNET request, HANDLE file, DWORD total, bool lengthAnnounced);
};

// The job's thread routine; its parameter is the CVELQHttpFile.
DWORD WINAPI __VELQHttpRetrieve(LPVOID job);

// The one way the program runs a download: the job's deadline becomes the
// earlier of ownerDeadline and its time limit from now; the job is stopped
// with ownerStopEvent, and given up at that deadline (its thread left to end
// by itself, the job kept alive for it). The job's result, or that of RunJob
// (job_control.h).
DWORD RunDownload(const std::shared_ptr<CVELQHttpFile>& job, HANDLE ownerStopEvent,
                  VELQTASKCOMMON::Deadline ownerDeadline);

}  // namespace VELQCOMMON
