#include "shared/task/job_control.h"

#include <utility>

#include "shared/handle.h"

namespace VELQTASKCOMMON {
namespace {

const DWORD PollInterval = 500;

LONG g_abandonedJobs = 0;

bool IsClear(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_TIMEOUT; }

// One poll of a running job, never past giveUp.
void Poll(CVELQThread& job, const Deadline& giveUp) {
    WaitForSingleObject(job.threadHandle, giveUp.Share(PollInterval));
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

bool IsJobRunning(CVELQThread& job) {
    // Not the exit code: a routine may return 259 itself.
    return job.HasThread() && WaitForSingleObject(job.threadHandle, 0) == WAIT_TIMEOUT;
}

DWORD WaitForJob(CVELQThread& job, HANDLE ownerStopEvent, bool* stopped, Deadline giveUp) {
    while ((!ownerStopEvent || IsClear(ownerStopEvent)) && IsJobRunning(job) && !giveUp.Expired()) Poll(job, giveUp);
    bool stopRequested = ownerStopEvent && !IsClear(ownerStopEvent);
    if (stopRequested) {
        job.SetStopEvent();
        while (IsJobRunning(job) && !giveUp.Expired()) Poll(job, giveUp);
    }
    if (stopped) *stopped = stopRequested;
    if (!job.HasThread()) return JobHasNoThread;
    if (IsJobRunning(job)) {
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
    if (IsJobRunning(*job)) {
        Abandon(job);
        return JobTimedOut;
    }
    return stopped ? JobCancelled : result;
}

bool HasAbandonedJobs() { return InterlockedCompareExchange(&g_abandonedJobs, 0, 0) != 0; }

void StopJob(CVELQThread& job) {
    while (IsJobRunning(job)) {
        job.SetStopEvent();
        Poll(job, Deadline::Never());
    }
}

}  // namespace VELQTASKCOMMON
