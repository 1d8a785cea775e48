// The download job's control: URL splitting, failures before any transfer,
// stopping, progress messages, security flags and the trace.

// Winsock before the fixture's windows.h.
#include <winsock2.h>

#include "tests/catalogue/http_file_fixture.h"

#include <cstdio>

#include "shared/internet_handle.h"

using namespace wendaro_test;

namespace {

using VELQCOMMON::UrlParts;

UrlParts Crack(const std::wstring& url, BOOL* cracked) {
    CVELQHttpFile job;
    job.SetSourceUrl(url.c_str());
    *cracked = job.CrackUrl();
    return job.GetUrlParts();
}

TEST(CrackUrlTest, SplitsHostPortSchemeAndPathWithQuery) {
    struct {
        const wchar_t* url;
        const wchar_t* host;
        const wchar_t* path;
        INTERNET_PORT port;
        INTERNET_SCHEME scheme;
    } cases[] = {
        {L"http://rdr.example/svs/rdr?locale=en_us&TYPE=4", L"rdr.example", L"/svs/rdr?locale=en_us&TYPE=4",
         80, INTERNET_SCHEME_HTTP},
        {L"https://img.example/a/b.png", L"img.example", L"/a/b.png", 443, INTERNET_SCHEME_HTTPS},
        {L"http://host:8080/x", L"host", L"/x", 8080, INTERNET_SCHEME_HTTP},
        {L"https://host:8443/categoryID.12/", L"host", L"/categoryID.12/", 8443, INTERNET_SCHEME_HTTPS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        BOOL cracked = 0;
        UrlParts parts = Crack(c.url, &cracked);
        EXPECT_EQ(1, cracked);
        EXPECT_EQ(c.host, parts.host);
        EXPECT_EQ(c.path, parts.path);
        EXPECT_EQ(c.port, parts.port);
        EXPECT_EQ(c.scheme, parts.scheme);
    }
}

TEST(CrackUrlTest, AFailedSplitLeavesTheDefaults) {
    std::wstring longHost = L"http://" + std::wstring(256, L'h') + L"/x";
    std::wstring longPath = L"http://host/" + std::wstring(2047, L'p');
    for (const std::wstring& url : {std::wstring(L"not a url"), std::wstring(), longHost, longPath}) {
        SCOPED_TRACE(url.substr(0, 40));
        BOOL cracked = 1;
        UrlParts parts = Crack(url, &cracked);
        EXPECT_EQ(0, cracked);
        EXPECT_EQ(L"localhost", parts.host);
        EXPECT_EQ(L"/", parts.path);
        EXPECT_EQ(80, parts.port);
        EXPECT_EQ(INTERNET_SCHEME_HTTP, parts.scheme);
    }
}

// The trace lines of the job's thread, without the "[Thread:n]\r\n" ending.
std::vector<std::wstring> JobTrace(const TraceCapture& capture, DWORD threadId) {
    std::vector<std::wstring> lines;
    wchar_t ending[32];
    _snwprintf_s(ending, ARRAYSIZE(ending), _TRUNCATE, L"[Thread:%lu]\r\n", threadId);
    for (std::wstring line : capture.LinesOfThread(threadId)) {
        size_t at = line.rfind(ending);
        EXPECT_NE(std::wstring::npos, at) << "line without its thread id";
        lines.push_back(at == std::wstring::npos ? line : line.substr(0, at));
    }
    return lines;
}

std::wstring Hex(DWORD value) {
    wchar_t text[16];
    _snwprintf_s(text, ARRAYSIZE(text), _TRUNCATE, L"%x", value);
    return text;
}

// A TCP port on 127.0.0.1 that tells whether anything connected to it. It
// accepts nothing: closing it resets what waits to be accepted.
class Listener {
public:
    Listener() {
        WSADATA data;
        m_started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
        m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        if (m_socket == INVALID_SOCKET ||
            bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(m_socket, 4) != 0 ||
            getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
            WSAEventSelect(m_socket, m_connected, FD_ACCEPT) != 0) {
            return;
        }
        m_port = ntohs(address.sin_port);
    }
    ~Listener() {
        Close();
        CloseHandle(m_connected);
        if (m_started) WSACleanup();
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    int port() const { return m_port; }  // 0 when it does not listen
    HANDLE connected() const { return m_connected; }
    void Close() {
        if (m_socket != INVALID_SOCKET) closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }

private:
    bool m_started = false;
    SOCKET m_socket = INVALID_SOCKET;
    HANDLE m_connected = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    int m_port = 0;
};

// A URL that does not split, or whose scheme is not http or https, ends
// before any connection; WinINet would send a GET over HTTP to an ftp: port
// (such a picture address keeps its "http:" and gets no host in front).
TEST_F(HttpFileTest, ABadOrNonWebUrlFailsWithoutNetwork) {
    Listener listener;
    ASSERT_NE(0, listener.port());
    std::wstring ftp = L"ftp://localhost:" + std::to_wstring(listener.port()) + L"/x.jpg?via=http:/x.jpg";
    struct {
        std::wstring url;
        DWORD result;
        std::wstring line;  // between the routine's first and last
    } cases[] = {
        {L"not a url", 12005, L""},
        {ftp, 12006, L"DownloadHttpFile refused the scheme of " + ftp + L", error<12006>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        TraceCapture capture;
        CVELQHttpFile job;
        job.SetSourceUrl(c.url.c_str());
        job.SetTargetPath((folder / L"bad").c_str());
        ASSERT_TRUE(job.Start());
        HANDLE ends[] = {job.threadHandle, listener.connected()};
        WaitForMultipleObjects(ARRAYSIZE(ends), ends, FALSE, JobTimeoutMs);
        bool connected = WaitForSingleObject(listener.connected(), 0) == WAIT_OBJECT_0;
        EXPECT_FALSE(connected) << "a connection was made";
        if (connected) listener.Close();  // which ends a request left unanswered
        EXPECT_EQ(c.result, WaitToEnd(job));
        EXPECT_FALSE(FileExists(folder / L"bad"));
        DWORD id = GetThreadId(job.threadHandle);
        std::vector<std::wstring> expected = {L"__VELQHttpRetrieve thID<" + Hex(id) + L">",
                                              L"__VELQHttpRetrieve complete<" + std::to_wstring(c.result) + L">"};
        if (!c.line.empty()) expected.insert(expected.begin() + 1, c.line);
        EXPECT_EQ(expected, JobTrace(capture, id));
    }
}

TEST_F(HttpFileTest, AnUnreachableServerIsReportedAtOnce) {
    // Nothing listens on port 1; dotless names bypass the proxy ("<local>"),
    // so this is the connection failure a dead proxy gives too.
    TraceCapture capture;
    CVELQHttpFile job;
    ULONGLONG started = GetTickCount64();
    DWORD result = Download(job, "http://localhost:1/x", folder / L"u");
    EXPECT_GT(result, 12000u);
    EXPECT_LT(result, 12036u);
    EXPECT_LT(GetTickCount64() - started, 10000u);
    EXPECT_FALSE(FileExists(folder / L"u"));
    for (const std::wstring& line : JobTrace(capture, GetThreadId(job.threadHandle))) {
        EXPECT_EQ(std::wstring::npos, line.find(L"HttpSendRequest error")) << "no dialog, no retry";
    }
}

// A stop that comes before the body leaves no file: before the first send
// nothing is sent; as the file is made the job removes it, since an owner
// that gave up on the job may have removed it already.
TEST_F(HttpFileTest, AStopBeforeTheBodyLeavesNoFile) {
    struct {
        const wchar_t* line;  // the stop comes as the job traces it
        size_t gets;
    } cases[] = {{L"URL:", 0}, {L"ContentLength = ", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        std::string url = Url("http", "stop", "/s" + std::to_string(&c - cases));
        Route route(url);
        route.body = "never";
        ASSERT_TRUE(service.SetRoutes({route}));
        CVELQHttpFile job;
        TraceCapture capture;
        capture.OnLine([&](const std::wstring& text) {
            if (text.compare(0, wcslen(c.line), c.line) == 0) job.SetStopEvent();
        });
        EXPECT_EQ(DWORD(ERROR_CANCELLED), Download(job, url, folder / L"s"));
        EXPECT_EQ(c.gets, service.RequestsTo(url).size());
        EXPECT_FALSE(FileExists(folder / L"s"));
    }
}

TEST_F(HttpFileTest, AStopDuringASlowBodyLeavesATruncatedUnstampedFile) {
    std::string url = Url("http", "slow", "/slow.bin");
    Route route(url);
    route.bodySize = 200000;
    route.chunkSize = 10000;
    route.chunkDelayMs = 100;
    route.Header("Last-Modified", HttpDate(ServerTime()));
    ASSERT_TRUE(service.SetRoutes({route}));

    ProgressWindow window;
    CVELQHttpFile job;
    job.notifyWindow = window.get();
    job.SetSourceUrl(Widen(url).c_str());
    std::wstring target = folder / L"slow.bin";
    job.SetTargetPath(target.c_str());
    ULONGLONG started = NowTicks();
    ASSERT_TRUE(job.EnsureStarted());
    HANDLE thread = job.threadHandle;
    // Stop once the first chunk has been written: (T,0) for the file, then
    // (T,0) for the chunk.
    ULONGLONG deadline = GetTickCount64() + JobTimeoutMs;
    while (window.messages().size() < 2 && GetTickCount64() < deadline) {
        MsgWaitForMultipleObjects(1, &thread, FALSE, 100, QS_POSTMESSAGE);
        window.Collect();
    }
    ASSERT_GE(window.messages().size(), 2u);
    EXPECT_TRUE(job.EnsureStarted());
    EXPECT_EQ(thread, job.threadHandle) << "a running job is not started twice";
    job.SetStopEvent();
    EXPECT_EQ(DWORD(ERROR_CANCELLED), WaitToEnd(job));
    size_t written = ReadFileBytes(target).size();
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, 200000u);
    EXPECT_GE(WriteTicks(target) + 20000000, started);  // not the server's 2001
}

TEST_F(HttpFileTest, ProgressRunsFromNothingToTheTotal) {
    std::string url = Url("http", "progress", "/p");
    Route route(url);
    route.bodySize = 45000;
    route.chunkSize = 9000;
    route.chunkDelayMs = 5;
    ASSERT_TRUE(service.SetRoutes({route}));
    ProgressWindow window;
    CVELQHttpFile job;
    job.notifyWindow = window.get();
    ASSERT_EQ(0u, Download(job, url, folder / L"p"));
    window.Collect();
    const auto& messages = window.messages();
    ASSERT_GE(messages.size(), 2u + 5u);  // the file, at least 5 chunks, the end
    EXPECT_EQ(std::make_pair(WPARAM(45000), LPARAM(0)), messages.front());
    EXPECT_EQ(std::make_pair(WPARAM(45000), LPARAM(0)), messages[1]);  // the first chunk
    EXPECT_EQ(std::make_pair(WPARAM(45000), LPARAM(45000)), messages.back());
    for (size_t i = 1; i < messages.size(); ++i) {
        EXPECT_EQ(WPARAM(45000), messages[i].first);
        EXPECT_LE(messages[i - 1].second, messages[i].second);
    }
    for (size_t i = 2; i + 1 < messages.size(); ++i) EXPECT_LT(messages[i - 1].second, messages[i].second);
}

// The request's security flags around SendRequest, which sends nothing with
// its stop event set.
DWORD FlagsChangedBySend(const wchar_t* url, bool* readable) {
    CVELQHttpFile job;
    job.SetSourceUrl(url);
    EXPECT_EQ(1, job.CrackUrl());
    InternetHandle session(InternetOpenW(L"test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    InternetHandle connection(InternetConnectW(session.get(), job.GetUrlParts().host.c_str(),
                                               job.GetUrlParts().port, L"", L"", INTERNET_SERVICE_HTTP, 0, 0));
    DWORD requestFlags = job.GetUrlParts().scheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0;
    InternetHandle request(HttpOpenRequestW(connection.get(), L"GET", L"/", L"HTTP/1.1", L"", nullptr,
                                            requestFlags, 0));
    EXPECT_TRUE(request.valid());
    DWORD before = 0, after = 0, length = sizeof before;
    *readable = InternetQueryOptionW(request.get(), INTERNET_OPTION_SECURITY_FLAGS, &before, &length);
    job.SetStopEvent();
    EXPECT_EQ(DWORD(ERROR_CANCELLED), job.SendRequest(request.get()));
    length = sizeof after;
    InternetQueryOptionW(request.get(), INTERNET_OPTION_SECURITY_FLAGS, &after, &length);
    return before ^ after;
}

TEST(SendRequestTest, OnlyHttpsSwitchesTheRevocationCheckOff) {
    bool readable = false;
    EXPECT_EQ(DWORD(SECURITY_FLAG_IGNORE_REVOCATION), FlagsChangedBySend(L"https://h.example/", &readable));
    EXPECT_TRUE(readable);
    EXPECT_EQ(0u, FlagsChangedBySend(L"http://h.example/", &readable));
}

TEST_F(HttpFileTest, TraceLinesFollowTheDownload) {
    std::string url = Url("http", "trace", "/t?a=1");
    std::string missing = Url("http", "trace", "/none");
    Route route(url);
    route.body = "traced";
    route.date = false;
    ASSERT_TRUE(service.SetRoutes({route}));
    TraceCapture capture;
    CVELQHttpFile job;
    ASSERT_EQ(0u, Download(job, url, folder / L"t"));
    CVELQHttpFile failing;
    ASSERT_EQ(DWORD(ERROR_NOT_FOUND), Download(failing, missing, folder / L"none"));

    DWORD id = GetThreadId(job.threadHandle);
    std::vector<std::wstring> expected = {
        L"__VELQHttpRetrieve thID<" + Hex(id) + L">", L"URL:" + Widen(url), L"status: 200",
        L"ContentLength = 6", L"GetURL complete, return<0>", L"DownloadHttpFile complete, error<0>",
        L"__VELQHttpRetrieve complete<0>"};
    EXPECT_EQ(expected, JobTrace(capture, id));
    id = GetThreadId(failing.threadHandle);
    expected = {L"__VELQHttpRetrieve thID<" + Hex(id) + L">", L"URL:" + Widen(missing), L"status: 404",
                L"GetURL complete, return<1168>", L"DownloadHttpFile complete, error<1168>",
                L"__VELQHttpRetrieve complete<1168>"};
    EXPECT_EQ(expected, JobTrace(capture, id));
}

// Each failed send (other than a network error) gets the error dialog, which
// under Wine returns at once without an owner window.
TEST_F(HttpFileTest, ARefusedCertificateIsTriedSixTimesAndFails) {
    std::string url = Url("https", "badcert", "/b");
    Route route(url);
    route.body = "never trusted";
    route.wrongCertificate = true;
    ASSERT_TRUE(service.SetRoutes({route}));
    TraceCapture capture;
    CVELQHttpFile job;
    EXPECT_EQ(DWORD(ERROR_NOT_FOUND), Download(job, url, folder / L"b"));
    EXPECT_FALSE(FileExists(folder / L"b"));
    EXPECT_EQ(6u, service.RequestsTo(UniqueHost("badcert")).size());

    std::vector<std::wstring> lines = JobTrace(capture, GetThreadId(job.threadHandle));
    ASSERT_EQ(2u + 5 * 2 + 4, lines.size());
    for (size_t i = 2; i < 12; i += 2) {
        EXPECT_EQ(L"HttpSendRequest error<" + std::to_wstring(ERROR_INTERNET_SEC_CERT_CN_INVALID) + L">",
                  lines[i]);
        EXPECT_EQ(0u, lines[i + 1].find(L"InternetErrorDlg error<"));
    }
    EXPECT_EQ(L"status: 404", lines[12]);
    EXPECT_EQ(L"GetURL complete, return<1168>", lines[13]);
}

// The local copy has the server's length and time: nothing is read or
// written, and only the end is reported.
TEST_F(HttpFileTest, AnUnchangedCopyIsNotDownloadedAgain) {
    std::string url = Url("https", "same", "/p/pic01.png");
    Route route(url);
    route.bodySize = 100;
    route.Header("Last-Modified", HttpDate(ServerTime()));
    ASSERT_TRUE(service.SetRoutes({route}));
    std::wstring target = folder / L"pic01.png";
    ASSERT_TRUE(WriteFileBytes(target, "local copy"));
    ULONGLONG before = WriteTicks(target);

    TraceCapture capture;
    ProgressWindow window;
    CVELQHttpFile job;
    job.notifyWindow = window.get();
    job.cachedSize = 100;
    job.cachedWriteTime = FileTimeOf(ServerTime());
    ASSERT_EQ(0u, Download(job, url, target));
    EXPECT_EQ(0, job.contentChanged);
    EXPECT_EQ("local copy", ReadFileBytes(target));
    EXPECT_EQ(before, WriteTicks(target));
    window.Collect();
    std::vector<std::pair<WPARAM, LPARAM>> onlyEnd = {{100, 100}};
    EXPECT_EQ(onlyEnd, window.messages());
    std::vector<std::wstring> lines = JobTrace(capture, GetThreadId(job.threadHandle));
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(L"ContentLength = 100", lines[3]);
    EXPECT_EQ(L"Content has not changed![" + Widen(url) + L"]", lines[4]);
}

}  // namespace
