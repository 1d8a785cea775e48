// The download job against the local catalogue service, over HTTP and HTTPS
// on real sockets: what lands in the target file, its time, and the result.
#include "tests/catalogue/http_file_fixture.h"

#include <functional>
#include <optional>
#include <thread>

using namespace wendaro_test;

namespace {

class SchemeTest : public HttpFileTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(SchemeTest, WritesTheBodyAndStampsItWithLastModified) {
    std::string host = UniqueHost("body-" + GetParam());
    std::string url = GetParam() + "://" + host + "/files/list.xml?c=121&s=x";
    Route route(url);
    route.bodySize = 25000;
    route.Header("Last-Modified", HttpDate(ServerTime()));
    ASSERT_TRUE(service.SetRoutes({route}));

    CVELQHttpFile job;
    std::wstring target = folder / L"list.xml";
    EXPECT_EQ(0u, Download(job, url, target));
    EXPECT_EQ(GeneratedBody(25000), ReadFileBytes(target));
    EXPECT_EQ(Ticks(FileTimeOf(ServerTime())), WriteTicks(target));
    EXPECT_EQ(1, job.contentChanged);

    auto requests = service.RequestsTo(host);
    ASSERT_FALSE(requests.empty());
    const auto& get = requests.back();
    EXPECT_EQ("GET", get.method);
    EXPECT_EQ(url, get.url);
    EXPECT_EQ("VELQ Agent", get.userAgent);
    // The secure flag is what makes WinINet tunnel the request instead of
    // sending plain HTTP to port 443.
    if (GetParam() == "https") {
        ASSERT_EQ(2u, requests.size());
        EXPECT_EQ("CONNECT", requests[0].method);
        EXPECT_EQ(host + ":443", requests[0].url);
    } else {
        EXPECT_EQ(1u, requests.size());
    }
}

TEST_P(SchemeTest, ChunkedAndUnannouncedBodiesAreWrittenWhole) {
    for (const char* framing : {"chunked", "close"}) {
        SCOPED_TRACE(framing);
        std::string url = Url(GetParam(), std::string("framing-") + framing, "/a.bin");
        Route route(url);
        route.bodySize = 30000;
        route.framing = framing;
        route.chunkSize = 7000;
        ASSERT_TRUE(service.SetRoutes({route}));
        TraceCapture capture;
        CVELQHttpFile job;
        std::wstring target = folder / Widen(framing);
        EXPECT_EQ(0u, Download(job, url, target));
        EXPECT_EQ(GeneratedBody(30000), ReadFileBytes(target));
        std::vector<std::wstring> lines = capture.LinesOfThread(GetThreadId(job.threadHandle));
        ASSERT_GE(lines.size(), 4u);
        EXPECT_EQ(0u, lines[3].find(L"ContentLength = 10485760[")) << "the total assumed";
    }
}

// Only 200 carries the body: another success status is no download either.
TEST_P(SchemeTest, ErrorStatusesLeaveTheTargetUntouched) {
    for (int status : {404, 500, 201, 206}) {
        SCOPED_TRACE(status);
        std::string url = Url(GetParam(), "status" + std::to_string(status), "/missing");
        Route route(url);
        route.status = status;
        route.body = "error page";
        ASSERT_TRUE(service.SetRoutes({route}));
        std::wstring existing = folder / L"existing";
        ASSERT_TRUE(WriteFileBytes(existing, "old copy"));
        ULONGLONG before = WriteTicks(existing);

        CVELQHttpFile job;
        EXPECT_EQ(ERROR_NOT_FOUND, Download(job, url, existing));
        EXPECT_EQ("old copy", ReadFileBytes(existing));
        EXPECT_EQ(before, WriteTicks(existing));

        CVELQHttpFile second;
        std::wstring absent = folder / L"absent";
        EXPECT_EQ(ERROR_NOT_FOUND, Download(second, url, absent));
        EXPECT_FALSE(FileExists(absent));
    }
}

TEST_P(SchemeTest, ABodyCutShortFailsAndIsNotStamped) {
    std::string url = Url(GetParam(), "cut", "/cut.bin");
    Route route(url);
    route.bodySize = 40000;
    route.dropAfter = 15000;
    route.Header("Last-Modified", HttpDate(ServerTime()));
    ASSERT_TRUE(service.SetRoutes({route}));

    CVELQHttpFile job;
    std::wstring target = folder / L"cut.bin";
    ULONGLONG started = NowTicks();
    DWORD result = Download(job, url, target);
    EXPECT_NE(0u, result);
    EXPECT_NE(STILL_ACTIVE, result);
    EXPECT_GE(WriteTicks(target) + 20000000, started);  // the time of writing, not 2001
    EXPECT_LE(ReadFileBytes(target).size(), 15000u);
}

INSTANTIATE_TEST_SUITE_P(Schemes, SchemeTest, ::testing::Values("http", "https"));

TEST_F(HttpFileTest, DateStandsInForAMissingLastModified) {
    std::string url = Url("http", "date", "/d");
    Route route(url);
    route.body = "dated";
    route.date = false;  // the route's own Date only
    route.Header("Date", HttpDate(ServerTime(7)));
    ASSERT_TRUE(service.SetRoutes({route}));
    CVELQHttpFile job;
    std::wstring target = folder / L"d";
    EXPECT_EQ(0u, Download(job, url, target));
    EXPECT_EQ(Ticks(FileTimeOf(ServerTime(7))), WriteTicks(target));
}

TEST_F(HttpFileTest, WithoutAnyServerTimeTheFileKeepsTheTimeOfWriting) {
    std::string url = Url("http", "notime", "/n");
    Route route(url);
    route.body = "no time";
    route.date = false;
    ASSERT_TRUE(service.SetRoutes({route}));
    CVELQHttpFile job;
    std::wstring target = folder / L"n";
    ULONGLONG started = NowTicks();
    EXPECT_EQ(0u, Download(job, url, target));
    EXPECT_EQ("no time", ReadFileBytes(target));
    EXPECT_GE(WriteTicks(target) + 20000000, started);
    EXPECT_LE(WriteTicks(target), NowTicks() + 20000000);
}

TEST_F(HttpFileTest, OnlyBothLengthAndTimeEqualCountAsUnchanged) {
    std::string url = Url("http", "changed", "/c");
    Route route(url);
    route.bodySize = 3000;
    route.Header("Last-Modified", HttpDate(ServerTime(9)));
    ASSERT_TRUE(service.SetRoutes({route}));
    struct {
        DWORD size;
        SYSTEMTIME time;
    } cached[] = {{3000, ServerTime()}, {2999, ServerTime(9)}};
    for (const auto& copy : cached) {
        std::wstring target = folder / L"c";
        ASSERT_TRUE(WriteFileBytes(target, "local copy"));
        CVELQHttpFile job;
        job.cachedSize = copy.size;
        job.cachedWriteTime = FileTimeOf(copy.time);
        EXPECT_EQ(0u, Download(job, url, target));
        EXPECT_EQ(1, job.contentChanged);
        EXPECT_EQ(GeneratedBody(3000), ReadFileBytes(target));
    }
}

// Only where WinINet would go by itself: http or https, never from https down
// to plain http, and a handful of hops at most. Each hop starts from the
// last: its Location is resolved against that one's URL.
TEST_F(HttpFileTest, RedirectsAreFollowedOnlyToTheWebAndNotDownward) {
    struct Case {
        const char* what;
        int status;
        std::string from, to;
        DWORD result;
        size_t gets;  // of `to`; without one, of anything on `from`'s host
        std::optional<std::string> location = {};  // the last hop's, when not `to` (else `from`) itself
        std::string via = "";  // a first hop: `from` redirects here, here redirects on
    } cases[] = {
        {"302 to https", 302, Url("http", "redirect", "/a"), Url("https", "redirect", "/a2"), 0, 1},
        {"307", 307, Url("https", "redirect", "/b"), Url("https", "redirect", "/b2"), 0, 1},
        {"308", 308, Url("http", "redirect", "/c"), Url("http", "redirect", "/c2"), 0, 1},
        {"https to http", 301, Url("https", "redirect", "/d"), Url("http", "redirect", "/d2"), 12040, 0},
        {"to ftp", 302, Url("http", "redirect", "/e"), "ftp://" + UniqueHost("redirect") + "/e2", 12006, 0},
        {"to gopher", 302, Url("http", "redirect", "/f"), "gopher://" + UniqueHost("redirect") + "/f2", 12006, 0},
        {"to itself", 302, Url("https", "redirect-loop", "/g"), "", 12156, 6},
        // The service sends header values as Latin-1: the Location holds the
        // UTF-8 bytes of an e acute and a euro sign, which go on
        // percent-encoded.
        {"raw UTF-8", 302, Url("http", "redirect", "/h"), Url("http", "redirect", "/h2/%C3%A9%E2%82%AC"), 0, 1,
         Url("http", "redirect", "/h2/\xC3\x83\xC2\xA9\xC3\xA2\xC2\x82\xC2\xAC")},
        {"relative, second hop", 302, Url("http", "redirect", "/i"), Url("https", "redirect-on", "/i2/c"), 0, 1,
         "c", Url("https", "redirect-on", "/i2/b")},
        {"https to http, second hop", 302, Url("http", "redirect", "/j"), Url("http", "redirect", "/j3"), 12040, 0,
         {}, Url("https", "redirect", "/j2")},
        // No redirect at all: combined with the address it would lead back
        // to it, or under Wine to its host's root.
        {"empty Location", 302, Url("http", "redirect-empty", "/k"), "", 1168, 1, ""},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string last = c.location ? *c.location : c.to.empty() ? c.from : c.to;
        std::vector<Route> routes = {Route(c.from), Route(c.to.empty() ? c.from + "/unused" : c.to)};
        if (!c.via.empty()) routes.push_back(Route(c.via));
        routes[0].status = c.status;
        routes[0].Header("Location", c.via.empty() ? last : c.via);
        routes[1].body = "moved here";
        if (!c.via.empty()) {
            routes[2].status = c.status;
            routes[2].Header("Location", last);
        }
        ASSERT_TRUE(service.SetRoutes(routes));
        CVELQHttpFile job;
        std::wstring target = folder / L"r";
        ASSERT_TRUE(WriteFileBytes(target, "kept"));
        EXPECT_EQ(c.result, Download(job, c.from, target));
        EXPECT_EQ(c.result == 0 ? "moved here" : "kept", ReadFileBytes(target));
        size_t gets = 0;
        std::string counted = c.to.empty() ? c.from.substr(0, c.from.find('/', c.from.find("//") + 2))
                                           : c.to.substr(c.to.find("//"));
        for (const LoggedRequest& request : service.RequestsTo(counted)) gets += request.method == "GET";
        EXPECT_EQ(c.gets, gets);
    }
}

TEST_F(HttpFileTest, ABodyLongerThanItsContentLengthIsCutAtTheLength) {
    // On a connection the server closes, WinINet hands over everything sent.
    for (bool closing : {false, true}) {
        SCOPED_TRACE(closing ? "closing" : "kept alive");
        std::string url = Url("http", closing ? "long-close" : "long", "/l");
        Route route(url);
        route.bodySize = 30000;
        route.contentLength = 20000;
        if (closing) route.Header("Connection", "close");
        ASSERT_TRUE(service.SetRoutes({route}));
        CVELQHttpFile job;
        std::wstring target = folder / L"l";
        EXPECT_EQ(0u, Download(job, url, target));
        EXPECT_EQ(GeneratedBody(20000), ReadFileBytes(target));
    }
}

TEST_F(HttpFileTest, ConnectionDroppedBeforeTheResponse) {
    // Plain HTTP: the send succeeds on the dropped connection and no status
    // can be read. HTTPS: WinINet opens a new tunnel and sends again.
    std::string http = Url("http", "drop", "/x");
    std::string https = Url("https", "drop", "/x");
    Route plain(http), secure(https);
    plain.body = secure.body = "second try";
    plain.dropBeforeResponse = secure.dropBeforeResponse = 1;
    ASSERT_TRUE(service.SetRoutes({plain, secure}));
    std::wstring target = folder / L"x";
    CVELQHttpFile first;
    EXPECT_EQ(ERROR_NOT_FOUND, Download(first, http, target));
    EXPECT_FALSE(FileExists(target));
    CVELQHttpFile second;
    EXPECT_EQ(0u, Download(second, https, target));
    EXPECT_EQ("second try", ReadFileBytes(target));
}

// No body may pass 10 MiB, however it is framed; a length of 2^32 or more is
// a length, not a missing one.
TEST_F(HttpFileTest, BodiesAreBoundedAt10MiB) {
    const long long bound = VELQCOMMON::MaxBodySize;
    struct Case {
        const char* framing;
        long long size;
        long long announced;
        DWORD result;
    } cases[] = {
        {"length", bound, -1, 0},
        {"length", bound + 1, -1, ERROR_FILE_TOO_LARGE},
        {"length", 5, (1ll << 32) + 5, ERROR_FILE_TOO_LARGE},
        {"chunked", bound, -1, 0},
        {"chunked", bound + 1, -1, ERROR_FILE_TOO_LARGE},
        {"close", bound + 3 * 65536, -1, ERROR_FILE_TOO_LARGE},
    };
    for (const Case& c : cases) {
        std::string what = std::string(c.framing) + " " + std::to_string(c.size) + " announced " +
                           std::to_string(c.announced);
        SCOPED_TRACE(what);
        std::string url = Url("http", "bound", "/" + std::to_string(&c - cases));
        Route route(url);
        route.bodySize = c.size;
        route.framing = c.framing;
        route.contentLength = c.announced;
        route.Header("Last-Modified", HttpDate(ServerTime()));
        ASSERT_TRUE(service.SetRoutes({route}));
        CVELQHttpFile job;
        std::wstring target = folder / L"bounded";
        DeleteFileW(target.c_str());
        EXPECT_EQ(c.result, Download(job, url, target));
        if (c.result == 0) {
            EXPECT_EQ(ULONGLONG(c.size), ReadFileBytes(target).size());
            EXPECT_EQ(Ticks(FileTimeOf(ServerTime())), WriteTicks(target));
        } else if (std::string(c.framing) == "length") {
            EXPECT_FALSE(FileExists(target)) << "nothing is written";
        } else {
            EXPECT_LE(ReadFileBytes(target).size(), ULONGLONG(bound));
            EXPECT_NE(Ticks(FileTimeOf(ServerTime())), WriteTicks(target)) << "never stamped";
        }
    }
}

// Runs each case on a thread of its own and waits for all of them; each
// case's own waits are bounded.
void RunConcurrently(size_t count, const std::function<void(size_t)>& runCase) {
    std::vector<std::thread> threads;
    for (size_t i = 0; i < count; ++i) threads.emplace_back(runCase, i);
    for (std::thread& thread : threads) thread.join();
}

// A job ends by its time limit (shortened here) wherever the host stalls,
// also inside a blocked WinINet call.
TEST_F(HttpFileTest, AJobEndsAtItsTimeLimit) {
    const DWORD limit = 3000;
    struct Case {
        const char* what;
        const char* scheme;
    } cases[] = {
        {"never answers", "http"},
        {"never answers", "https"},
        {"stalls inside the body", "https"},
        {"trickles its body", "http"},
        // The job stops reading at 10 MiB (223); closing the request may then
        // read on for as long as the body comes.
        {"sends an endless body", "https"},
    };
    std::vector<Route> routes;
    for (const Case& c : cases) {
        Route route(Url(c.scheme, "limit", "/" + std::to_string(&c - cases)));
        route.bodySize = 100000;
        route.Header("Last-Modified", HttpDate(ServerTime()));
        switch (&c - cases) {
            case 0:
            case 1: route.stallBeforeResponse = true; break;
            case 2: route.stallAfter = 1000; break;
            case 3: route.chunkSize = 64; route.chunkDelayMs = 100; break;
            case 4: route.framing = "chunked"; route.endless = true; break;
        }
        routes.push_back(route);
    }
    ASSERT_TRUE(service.SetRoutes(routes));
    RunConcurrently(routes.size(), [&](size_t i) {
        const Case& c = cases[i];
        SCOPED_TRACE(std::string(c.what) + " over " + c.scheme);
        // A job given up on lives on for its thread: it is never freed here.
        auto job = std::make_shared<CVELQHttpFile>();
        job->timeLimitMs = limit;
        std::wstring target = folder / (L"limited" + std::to_wstring(i));
        job->SetSourceUrl(Widen(routes[i].url).c_str());
        job->SetTargetPath(target.c_str());
        ULONGLONG started = GetTickCount64();
        DWORD result = VELQCOMMON::RunDownload(job, nullptr, VELQTASKCOMMON::Deadline::Never());
        ULONGLONG took = GetTickCount64() - started;
        EXPECT_LT(took, limit + 1000u);
        if (routes[i].endless && result == ERROR_FILE_TOO_LARGE) return;
        EXPECT_EQ(DWORD(ERROR_TIMEOUT), result);
        EXPECT_GE(took, limit - 100u);
        if (FileExists(target)) {
            EXPECT_NE(Ticks(FileTimeOf(ServerTime())), WriteTicks(target)) << "never stamped";
        }
        DeleteFileW(target.c_str());
    });
}

// The owner's deadline, earlier than the job's own limit, is the one both
// keep: the owner gives up at it between two polls, and the thread of a job
// that gets a chance to look (a trickle) ends by itself at it as well.
TEST_F(HttpFileTest, AJobAndItsOwnerEndAtTheOwnersDeadline) {
    const DWORD bound = 1250;  // off the owner's 500 ms polls
    const DWORD jobMargin = 400;
    std::vector<Route> routes = {Route(Url("http", "owner-deadline", "/trickle")),
                                 Route(Url("http", "owner-deadline", "/stall"))};
    routes[0].bodySize = routes[1].bodySize = 100000;
    routes[0].chunkSize = 64;
    routes[0].chunkDelayMs = 100;
    routes[1].stallAfter = 1000;
    ASSERT_TRUE(service.SetRoutes(routes));
    RunConcurrently(routes.size(), [&](size_t i) {
        SCOPED_TRACE(routes[i].url);
        // A job given up on lives on for its thread: it is never freed here.
        auto job = std::make_shared<CVELQHttpFile>();
        job->SetSourceUrl(Widen(routes[i].url).c_str());
        job->SetTargetPath((folder / (L"owned" + std::to_wstring(i))).c_str());
        ULONGLONG end = GetTickCount64() + bound;
        DWORD result = VELQCOMMON::RunDownload(job, nullptr, VELQTASKCOMMON::Deadline::In(bound));
        ULONGLONG returned = GetTickCount64();
        EXPECT_EQ(DWORD(ERROR_TIMEOUT), result);
        EXPECT_GE(returned, end);
        EXPECT_LT(returned, end + 100) << "the owner returns at the deadline";
        if (routes[i].stallAfter >= 0) return;  // a blocked call nothing ends
        DWORD left = end + jobMargin > returned ? DWORD(end + jobMargin - returned) : 0;
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(job->threadHandle, left)) << "the job's thread ends by itself";
        EXPECT_EQ(DWORD(ERROR_TIMEOUT), job->GetExitCode());
    });
}

TEST_F(HttpFileTest, ATargetThatCannotBeCreatedGivesInvalidHandle) {
    std::string url = Url("http", "target", "/t");
    Route route(url);
    route.body = "body";
    ASSERT_TRUE(service.SetRoutes({route}));
    CVELQHttpFile job;
    EXPECT_EQ(ERROR_INVALID_HANDLE, Download(job, url, folder / L"no such folder\\t"));
}

}  // namespace
