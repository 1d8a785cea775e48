// Start-up time of the Open-As prompt against a minimal dialog program.
//
//   prompt_bench <wendaro.exe> <minimal_dialog.exe> <runs>   (Unix or Windows paths)
//
// Each sample starts the program in a job of its own and polls (every
// millisecond) for its visible top-level dialog; the time from just before
// CreateProcess to the moment the window is found is the sample. The dialog
// is then cancelled, and the next sample waits until every process of the
// job has ended (the prompt's hidden update child too) and a short pause
// has passed, so no sample competes with what the one before left running.
// The two programs take turns, each going first in every other run. The
// prompt's data folder holds a mapping table and five pictures for the
// extension, and its settings skip the consent dialog and any mapping-table
// download, so the prompt opens showing the pictures at once.
#include <windows.h>
#include <shlwapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "shared/constants.h"
#include "tests/app/dialogs/dialog_driver.h"
#include "tests/support/data_folder.h"
#include "tests/support/environment.h"
#include "tests/support/median.h"
#include "tests/support/registry_guard.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wine_path.h"

namespace {

const wchar_t Extension[] = L"wdx";
const wchar_t Category[] = L"4711";

const DWORD PauseBetweenSamplesMs = 250;

// A job whose processes can be awaited: every process it holds has ended
// once its port reports that none is active.
class Job {
public:
    Job()
        : m_job(CreateJobObjectW(nullptr, nullptr)),
          m_port(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1)) {
        JOBOBJECT_ASSOCIATE_COMPLETION_PORT port = {};
        port.CompletionKey = m_job;
        port.CompletionPort = m_port;
        m_ready = m_job && m_port &&
                  SetInformationJobObject(m_job, JobObjectAssociateCompletionPortInformation, &port,
                                          sizeof port);
    }
    ~Job() {
        if (m_job) CloseHandle(m_job);
        if (m_port) CloseHandle(m_port);
    }
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    bool ready() const { return m_ready; }
    HANDLE get() const { return m_job; }

    // False when a process still ran after timeoutMs; the job is then ended.
    bool WaitForAllToEnd(DWORD timeoutMs) {
        const DWORD start = GetTickCount();
        for (;;) {
            const DWORD spent = GetTickCount() - start;
            DWORD message = 0;
            ULONG_PTR key = 0;
            LPOVERLAPPED detail = nullptr;
            if (spent >= timeoutMs ||
                !GetQueuedCompletionStatus(m_port, &message, &key, &detail, timeoutMs - spent)) {
                TerminateJobObject(m_job, 1);
                return false;
            }
            if (key == reinterpret_cast<ULONG_PTR>(m_job) &&
                message == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO) {
                return true;
            }
        }
    }

private:
    HANDLE m_job;
    HANDLE m_port;
    bool m_ready = false;
};

// Milliseconds from the start of the process to its dialog on the screen;
// negative when it did not show within 20 s or its processes did not end
// within 30 s after it was cancelled.
double TimeToDialog(const std::wstring& program, const std::wstring& arguments,
                    const wchar_t* caption) {
    Job job;
    if (!job.ready()) return -1;
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &process)) {
        return -1;
    }
    // Joined before its first instruction, so that whatever it starts joins too.
    const bool joined = AssignProcessToJobObject(job.get(), process.hProcess) != FALSE;
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    HWND window = nullptr;
    double elapsed = -1;
    for (;;) {
        window = wendaro_test::FindDialog(process.dwProcessId, caption);
        QueryPerformanceCounter(&now);
        double ms = 1000.0 * (now.QuadPart - start.QuadPart) / frequency.QuadPart;
        if (window) {
            elapsed = ms;
            break;
        }
        if (ms > 20000) break;
        Sleep(1);
    }
    if (window) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    const bool ended = joined ? job.WaitForAllToEnd(30000)
                              : WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    Sleep(PauseBetweenSamplesMs);
    return joined && ended ? elapsed : -1;
}

void PrepareData(const wendaro_test::TempFolder& data) {
    std::wstring product = wendaro_test::DataFolderUnder(data.path());
    std::wstring pictures = wendaro_test::MakePictureFolderUnder(data.path(), Extension);
    wendaro_test::WriteFileBytes(
        product + MappingTableFileName,
        "<?xml version=\"1.0\"?><cfg:Configuration xmlns:cfg=\"http://config.dravik.example/cfg/\">"
        "<cfg:CfgGroup><cfg:CfgItem><cfg:E name=\"e\">wdx</cfg:E><cfg:C name=\"c\">4711</cfg:C>"
        "</cfg:CfgItem></cfg:CfgGroup></cfg:Configuration>");
    // A fresh category list: the child has nothing to fetch.
    wendaro_test::WriteFileBytes(pictures + L"\\" + Category + L".xml", "<list/>");
    for (int i = 1; i <= 5; ++i) {
        wendaro_test::WritePicture(pictures + L"\\pic0" + std::to_wstring(i) + L".png", 100, 140,
                                 RGB(40 * i, 100, 200 - 30 * i));
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        fwprintf(stderr, L"usage: prompt_bench <wendaro.exe> <minimal_dialog.exe> <runs>\n");
        return 2;
    }
    const std::wstring wendaro = wendaro_test::WindowsPathOf(argv[1]);
    const std::wstring minimal = wendaro_test::WindowsPathOf(argv[2]);
    const int runs = _wtoi(argv[3]);

    wendaro_test::TempFolder data;
    PrepareData(data);
    wendaro_test::ScopedEnvironment profile(L"ALLUSERSPROFILE", data.path().c_str());
    wendaro_test::ProductRegistry registry;
    wendaro_test::SetDword(HKEY_CURRENT_USER, ProductRegistryKey, FirstUse, 1);
    SYSTEMTIME now = {};
    GetSystemTime(&now);
    RegSetKeyValueW(HKEY_CURRENT_USER, ProductRegistryKey, MTABLE_UPDATE, REG_BINARY, &now,
                    sizeof now);
    std::wstring file = data / L"Quarterly report.wdx";
    wendaro_test::WriteFileBytes(file, "sample");

    std::vector<double> prompt, baseline;
    auto promptSample = [&] { return TimeToDialog(wendaro, L"\"" + file + L"\"", L"Wendaro"); };
    auto baselineSample = [&] { return TimeToDialog(minimal, L"", L"Minimal"); };
    // One unmeasured run of each warms the file cache and the wineserver.
    promptSample();
    baselineSample();
    for (int i = 0; i < runs; ++i) {
        double p = 0, b = 0;
        if (i % 2 == 0) {
            p = promptSample();
            b = baselineSample();
        } else {
            b = baselineSample();
            p = promptSample();
        }
        if (p < 0 || b < 0) {
            wprintf(L"run %d: a dialog did not show, or its processes did not end\n", i + 1);
            return 1;
        }
        prompt.push_back(p);
        baseline.push_back(b);
        wprintf(L"run %2d: prompt %7.1f ms   minimal dialog %7.1f ms\n", i + 1, p, b);
    }
    double mp = wendaro_test::Median(prompt), mb = wendaro_test::Median(baseline);
    wprintf(L"median over %d runs: prompt %.1f ms, minimal dialog %.1f ms, ratio %.2f\n", runs, mp, mb,
            mp / mb);
    return 0;
}
