// Shared pieces of the download job's tests: a temporary folder, the local
// catalogue service, a job run with a bounded wait, and a window that
// collects the job's progress messages.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "catalogue/http_file.h"
#include "tests/support/test_times.h"
#include "tests/support/catalogue_service.h"
#include "tests/support/temp_folder.h"
#include "tests/support/text.h"
#include "tests/support/trace_capture.h"

namespace wendaro_test {

using VELQCOMMON::CVELQHttpFile;

constexpr DWORD JobTimeoutMs = 20000;

// A message-only window; the job posts to it, the test thread collects.
class ProgressWindow {
public:
    ProgressWindow()
        : m_window(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   nullptr, nullptr)) {}
    ~ProgressWindow() { DestroyWindow(m_window); }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    HWND get() const { return m_window; }

    // Moves the posted progress messages into messages(); true when any came.
    bool Collect() {
        MSG msg;
        bool any = false;
        while (PeekMessageW(&msg, m_window, VELQCOMMON::WM_DOWNLOADPROGRESS,
                            VELQCOMMON::WM_DOWNLOADPROGRESS, PM_REMOVE)) {
            m_messages.emplace_back(msg.wParam, msg.lParam);
            any = true;
        }
        return any;
    }
    const std::vector<std::pair<WPARAM, LPARAM>>& messages() const { return m_messages; }

private:
    HWND m_window;
    std::vector<std::pair<WPARAM, LPARAM>> m_messages;
};

// Waits for a started job's end; a job still running after the bounded wait
// is stopped and the test fails.
inline DWORD WaitToEnd(CVELQHttpFile& job) {
    if (WaitForSingleObject(job.threadHandle, JobTimeoutMs) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the job did not end in time";
        job.SetStopEvent();
        // The job must not outlive its object, even in a failed test.
        if (WaitForSingleObject(job.threadHandle, JobTimeoutMs) != WAIT_OBJECT_0) job.Terminate();
    }
    return job.GetExitCode();
}

inline DWORD RunToEnd(CVELQHttpFile& job) {
    if (!job.Start()) {
        ADD_FAILURE() << "the job did not start";
        return job.GetExitCode();
    }
    return WaitToEnd(job);
}

class HttpFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service.Running()) << "the catalogue service is not running"; }

    std::string Url(const std::string& scheme, const std::string& tag, const std::string& path) {
        return scheme + "://" + UniqueHost(tag) + path;
    }

    // One job for url into target with the cached copy given, run to its end.
    DWORD Download(CVELQHttpFile& job, const std::string& url, const std::wstring& target) {
        job.SetSourceUrl(Widen(url).c_str());
        job.SetTargetPath(target.c_str());
        return RunToEnd(job);
    }

    TempFolder folder;
    CatalogueService service;
};

}  // namespace wendaro_test
