// Throughput of the download job against a plain WinINet read loop with a
// 1 MiB buffer (and one with the job's 10 KiB buffer), all writing the body
// to a file, over HTTP and HTTPS through the local catalogue service; and the
// job's peak working set after small and after large bodies, to show that
// its memory does not grow with the body.
//
//   bench_download <http base URL> <https base URL>
// Each base URL serves /1m (1 MiB) and /10m (10 MiB, the largest body the job
// takes). Run by
// `make bench-download` (scripts/bench_download.sh), which starts the service.
#include <windows.h>
#include <psapi.h>
#include <wininet.h>

#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/http_file.h"
#include "shared/handle.h"
#include "shared/internet_handle.h"
#include "tests/support/median.h"

namespace {

constexpr double MiB = 1024.0 * 1024.0;
constexpr int Runs = 5;

double Seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

double PeakWorkingSetMiB() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return double(counters.PeakWorkingSetSize) / MiB;
}

ULONGLONG FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// One download with the job; the bytes written, or 0 on failure.
ULONGLONG RunJob(const std::wstring& url, const std::wstring& target) {
    VELQCOMMON::CVELQHttpFile job;
    job.SetSourceUrl(url.c_str());
    job.SetTargetPath(target.c_str());
    if (!job.Start()) return 0;
    WaitForSingleObject(job.threadHandle, INFINITE);
    return job.GetExitCode() == 0 ? FileSize(target) : 0;
}

// The same GET in the simplest loop: the whole response read into a buffer
// of the given size and written.
ULONGLONG PlainLoop(const std::wstring& url, const std::wstring& target, DWORD bufferSize) {
    URL_COMPONENTSW parts = {};
    wchar_t host[256] = {}, path[2048] = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = ARRAYSIZE(host);
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = ARRAYSIZE(path);
    if (!InternetCrackUrlW(url.c_str(), 0, 0, &parts)) return 0;
    InternetHandle session(InternetOpenW(VELQCOMMON::DownloadUserAgent, INTERNET_OPEN_TYPE_PRECONFIG,
                                         nullptr, nullptr, 0));
    InternetHandle connection(InternetConnectW(session.get(), host, parts.nPort, L"", L"",
                                               INTERNET_SERVICE_HTTP, 0, 0));
    DWORD flags = INTERNET_FLAG_KEEP_CONNECTION |
                  (parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0);
    InternetHandle request(HttpOpenRequestW(connection.get(), L"GET", path, L"HTTP/1.1", L"",
                                            nullptr, flags, 0));
    if (!request || !HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0)) return 0;
    KernelHandle file(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::vector<BYTE> buffer(bufferSize);
    ULONGLONG total = 0;
    DWORD read = 0;
    while (InternetReadFile(request.get(), buffer.data(), DWORD(buffer.size()), &read) && read > 0) {
        DWORD written = 0;
        WriteFile(file.get(), buffer.data(), read, &written, nullptr);
        total += read;
    }
    return total;
}

ULONGLONG PlainLoop1MiB(const std::wstring& url, const std::wstring& target) {
    return PlainLoop(url, target, 1 << 20);
}

// The job's buffer size, to tell the cost of the small buffer under Wine from
// that of the job's own steps (the stop test, the data-available query).
ULONGLONG PlainLoop10KiB(const std::wstring& url, const std::wstring& target) {
    return PlainLoop(url, target, VELQCOMMON::DownloadBufferSize);
}

using Downloader = ULONGLONG (*)(const std::wstring&, const std::wstring&);

// The median throughput in MiB/s of a few runs; 0 when one failed.
double Throughput(Downloader download, const std::wstring& url, const std::wstring& target) {
    std::vector<double> rates;
    for (int run = 0; run < Runs; ++run) {
        double start = Seconds();
        ULONGLONG bytes = download(url, target);
        double elapsed = Seconds() - start;
        DeleteFileW(target.c_str());
        if (bytes == 0) return 0;
        rates.push_back(double(bytes) / MiB / elapsed);
    }
    return wendaro_test::Median(rates);
}

std::wstring TargetPath() {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"wendaro-bench-download.bin";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        fwprintf(stderr, L"usage: bench_download <http base URL> <https base URL>\n");
        return 2;
    }
    const std::wstring bases[] = {argv[1], argv[2]};
    const wchar_t* names[] = {L"http", L"https"};
    std::wstring target = TargetPath();

    // The job alone first, so that the peak working set is its own: once
    // after 1 MiB bodies, once after 10 MiB bodies over both schemes.
    for (const std::wstring& base : bases) {
        if (RunJob(base + L"/1m", target) == 0) {
            fwprintf(stderr, L"bench_download: %ls/1m failed; is the service running?\n", base.c_str());
            return 1;
        }
        DeleteFileW(target.c_str());
    }
    double peakSmall = PeakWorkingSetMiB();
    double job[2], plain[2], small[2];
    for (int i = 0; i < 2; ++i) job[i] = Throughput(RunJob, bases[i] + L"/10m", target);
    double peakLarge = PeakWorkingSetMiB();
    for (int i = 0; i < 2; ++i) {
        plain[i] = Throughput(PlainLoop1MiB, bases[i] + L"/10m", target);
        small[i] = Throughput(PlainLoop10KiB, bases[i] + L"/10m", target);
    }

    wprintf(L"10 MiB through the local catalogue service, MiB/s, median of %d runs\n", Runs);
    wprintf(L"scheme        job   plain 1 MiB   ratio   plain 10 KiB   job/plain 10 KiB\n");
    for (int i = 0; i < 2; ++i) {
        wprintf(L"%-6ls   %8.1f      %8.1f    %4.2f       %8.1f               %4.2f\n", names[i],
                job[i], plain[i], plain[i] > 0 ? job[i] / plain[i] : 0.0, small[i],
                small[i] > 0 ? job[i] / small[i] : 0.0);
    }
    wprintf(L"job's peak working set: %.1f MiB after 1 MiB bodies, %.1f MiB after 10 MiB bodies\n",
            peakSmall, peakLarge);
    return job[0] > 0 && job[1] > 0 && plain[0] > 0 && plain[1] > 0 ? 0 : 1;
}
