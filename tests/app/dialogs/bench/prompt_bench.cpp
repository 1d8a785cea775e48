// Start-up time and memory of the Open-As prompt against a minimal dialog
// program, with ordinary pictures and with pictures at the picture check's
// bound.
//
//   prompt_bench <wendaro.exe> <minimal_dialog.exe> <runs>   (Unix or Windows paths)
//
// Each sample starts the program in a job of its own and polls (every
// millisecond) for its visible top-level dialog; the time from just before
// CreateProcess to the moment the window is found is the sample. Once the
// dialog has answered a message (its pictures are loaded before it shows),
// the process's peak working set and peak commit are read. The dialog
// is then cancelled, and the next sample waits until every process of the
// job has ended (the prompt's hidden update child too) and a short pause
// has passed, so no sample competes with what the one before left running.
// The two programs take turns, each going first in every other run. The
// prompt's data folder holds a mapping table and five pictures for the
// extension, and its settings skip the consent dialog and any mapping-table
// download, so the prompt opens showing the pictures at once. The five
// pictures are in turn ordinary ones (100 x 140, as the demo's), PNGs at the
// bound, and GIFs at the bound of as many frames as the check lets through.
#include <windows.h>
#include <psapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "shared/constants.h"
#include "shared/picture_file.h"
#include "tests/app/dialogs/dialog_driver.h"
#include "tests/support/data_folder.h"
#include "tests/support/environment.h"
#include "tests/support/median.h"
#include "tests/support/pictures.h"
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

// What one start of a program cost.
struct Sample {
    double ms = -1;          // to its dialog on the screen
    double peakMb = 0;       // the process's peak working set by then
    double pagefileMb = 0;   // and its peak commit (under Wine: its private memory now)
};

// A sample whose ms is negative when the dialog did not show within 20 s
// or its processes did not end within 30 s after it was cancelled.
Sample TimeToDialog(const std::wstring& program, const std::wstring& arguments, const wchar_t* caption) {
    Sample sample;
    Job job;
    if (!job.ready()) return sample;
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &process)) {
        return sample;
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
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (window) {
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, nullptr);
        GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    }
    const bool ended = joined ? job.WaitForAllToEnd(30000)
                              : WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    Sleep(PauseBetweenSamplesMs);
    if (joined && ended) {
        sample.ms = elapsed;
        sample.peakMb = memory.PeakWorkingSetSize / 1048576.0;
        sample.pagefileMb = memory.PeakPagefileUsage / 1048576.0;
    }
    return sample;
}

// The five pictures the prompt shows, one kind at a time.
struct PictureSet {
    const wchar_t* name;
    const wchar_t* extension;
    std::function<bool(const std::wstring& path, int number)> write;
};

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
}

// Replaces the stored pictures with five of the set.
bool StorePictures(const wendaro_test::TempFolder& data, const PictureSet& set) {
    std::wstring pictures = wendaro_test::MakePictureFolderUnder(data.path(), Extension);
    for (int i = 1; i <= PictureCount; ++i) {
        for (const wchar_t* extension : {L".png", L".gif"}) {
            DeleteFileW((pictures + L"\\pic0" + std::to_wstring(i) + extension).c_str());
        }
        if (!set.write(pictures + L"\\pic0" + std::to_wstring(i) + set.extension, i)) return false;
    }
    return true;
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

    const unsigned side = MaxPictureSide;
    const PictureSet sets[] = {
        {L"ordinary, 100 x 140", L".png",
         [](const std::wstring& path, int i) {
             return wendaro_test::WritePicture(path, 100, 140, RGB(40 * i, 100, 200 - 30 * i));
         }},
        {L"png at the bound", L".png",
         [side](const std::wstring& path, int i) {
             return wendaro_test::WriteFileBytes(path, wendaro_test::RgbPng(side, side, std::to_string(i)));
         }},
        // As many frames as a GIF may hold, together as large as the bound.
        {L"gif at the bound, most frames", L".gif",
         [side](const std::wstring& path, int) {
             return wendaro_test::WriteFileBytes(
                 path, wendaro_test::GifOfFrames(side, side, side, side / MaxGifFrames, MaxGifFrames));
         }},
    };
    auto promptSample = [&] { return TimeToDialog(wendaro, L"\"" + file + L"\"", L"Wendaro"); };
    auto baselineSample = [&] { return TimeToDialog(minimal, L"", L"Minimal"); };
    for (const PictureSet& set : sets) {
        if (!StorePictures(data, set)) {
            wprintf(L"%ls: the pictures could not be written\n", set.name);
            return 1;
        }
        wprintf(L"-- pictures: %ls\n", set.name);
        std::vector<double> prompt, baseline, peak, pagefile;
        // One unmeasured run of each warms the file cache and the wineserver.
        promptSample();
        baselineSample();
        for (int i = 0; i < runs; ++i) {
            Sample p, b;
            if (i % 2 == 0) {
                p = promptSample();
                b = baselineSample();
            } else {
                b = baselineSample();
                p = promptSample();
            }
            if (p.ms < 0 || b.ms < 0) {
                wprintf(L"run %d: a dialog did not show, or its processes did not end\n", i + 1);
                return 1;
            }
            prompt.push_back(p.ms);
            baseline.push_back(b.ms);
            peak.push_back(p.peakMb);
            pagefile.push_back(p.pagefileMb);
            wprintf(L"run %2d: prompt %7.1f ms, peak %6.1f MB, commit %6.1f MB   minimal dialog %7.1f ms\n", i + 1,
                    p.ms, p.peakMb, p.pagefileMb, b.ms);
        }
        const double mp = wendaro_test::Median(prompt), mb = wendaro_test::Median(baseline);
        wprintf(L"median over %d runs: prompt %.1f ms (slowest %.1f ms), peak working set %.1f MB, peak commit %.1f MB;"
                L" minimal dialog %.1f ms, ratio %.2f\n",
                runs, mp, *std::max_element(prompt.begin(), prompt.end()), wendaro_test::Median(peak),
                wendaro_test::Median(pagefile), mb, mp / mb);
    }
    return 0;
}
