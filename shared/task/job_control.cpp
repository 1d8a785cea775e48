#include "shared/task/job_control.h"

#include <utility>

#include "shared/handle.h"

namespace VELQTASKCOMMON {
namespace {

const DWORD PollInterval = 500;

LONG g_abandonedJobs = 0;

bool IsClear(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_TIMEOUT; }

bool IsRunning(CVELQThread& job) { return job.HasThread() && job.GetExitCode() == JobStillActive; }

// One poll of a job that looked alive: true once its thread has ended. The
// exit code alone cannot tell, since a routine may return 259 itself.
bool WaitedToEnd(CVELQThread& job, const Deadline& giveUp) {
    return WaitForSingleObject(job.threadHandle, giveUp.Share(PollInterval)) == WAIT_OBJECT_0;
}

// Holds the last reference to a job given up on until its thread ends.
DWORD WINAPI ReleaseWhenEnded(LPVOID parameter) {
    std::unique_ptr<std::shared_ptr<CVELQThread>> job(static_cast<std::shared_ptr<CVELQThread>*>(parameter));
    WaitForSingleObject((*job)->threadHandle, INFINITE);
    InterlockedDecrement(&g_abandonedJobs);
    return 0;
}

void Abandon(std::shared_ptr<CVELQThread> job) {
    InterlockedIncrement(&g_abandonedJobs);
    auto* held = new std::shared_ptr<CVELQThread>(std::move(job));
    // Without a waiter, held is never freed: the job's thread may still use it.
    KernelHandle waiter(CreateThread(nullptr, 0, ReleaseWhenEnded, held, 0, nullptr));
}

}  // namespace

DWORD StartJob(CVELQThread& job) {
    if (job.Start()) return ERROR_SUCCESS;
    DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : JobNotStarted;
}

DWORD WaitForJob(CVELQThread& job, HANDLE ownerStopEvent, bool* stopped, Deadline giveUp) {
    while ((!ownerStopEvent || IsClear(ownerStopEvent)) && IsRunning(job) && !giveUp.Expired()) {
        if (WaitedToEnd(job, giveUp)) break;
    }
    bool stopRequested = ownerStopEvent && !IsClear(ownerStopEvent);
    if (stopRequested) {
        job.SetStopEvent();
        while (IsRunning(job) && !giveUp.Expired()) {
            if (WaitedToEnd(job, giveUp)) break;
        }
    }
    if (stopped) *stopped = stopRequested;
    if (!job.HasThread()) return JobHasNoThread;
    if (WaitForSingleObject(job.threadHandle, 0) == WAIT_TIMEOUT) {
        job.SetStopEvent();  // so that it ends soon should its call return
        return JobTimedOut;
    }
    return job.GetExitCode();
}

DWORD RunJob(const std::shared_ptr<CVELQThread>& job, HANDLE ownerStopEvent, Deadline giveUp) {
    if (giveUp.Expired()) return JobTimedOut;  // not even started
    DWORD started = StartJob(*job);
    if (started != ERROR_SUCCESS) return started;
    bool stopped = false;
    DWORD result = WaitForJob(*job, ownerStopEvent, &stopped, giveUp);
    if (result == JobTimedOut && WaitForSingleObject(job->threadHandle, 0) == WAIT_TIMEOUT) {
        Abandon(job);
        return JobTimedOut;
    }
    return stopped ? JobCancelled : result;
}

bool HasAbandonedJobs() { return InterlockedCompareExchange(&g_abandonedJobs, 0, 0) != 0; }

void StopJob(CVELQThread& job) {
    Deadline never = Deadline::Never();
    while (job.GetExitCode() == JobStillActive) {
        job.SetStopEvent();
        if (job.GetExitCode() == JobStillActive && WaitedToEnd(job, never)) break;
    }
}

}  // namespace VELQTASKCOMMON
