#include "shared/task/job_control.h"

namespace VELQTASKCOMMON {
namespace {

const DWORD PollInterval = 500;

bool IsClear(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_TIMEOUT; }

// One poll of a job that looked alive: true once its thread has ended. The
// exit code alone cannot tell, since a routine may return 259 itself.
bool WaitedToEnd(CVELQThread& job) {
    return WaitForSingleObject(job.threadHandle, PollInterval) == WAIT_OBJECT_0;
}

void WaitWhileRunning(CVELQThread& job) {
    while (job.HasThread() && job.GetExitCode() == JobStillActive) {
        if (WaitedToEnd(job)) break;
    }
}

}  // namespace

DWORD StartJob(CVELQThread& job) {
    if (job.Start()) return ERROR_SUCCESS;
    DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : JobNotStarted;
}

DWORD WaitForJob(CVELQThread& job, HANDLE ownerStopEvent, bool* stopped) {
    while ((!ownerStopEvent || IsClear(ownerStopEvent)) && job.HasThread() &&
           job.GetExitCode() == JobStillActive) {
        if (WaitedToEnd(job)) break;
    }
    bool stopRequested = ownerStopEvent && !IsClear(ownerStopEvent);
    if (stopRequested) {
        job.SetStopEvent();
        WaitWhileRunning(job);
    }
    if (stopped) *stopped = stopRequested;
    return job.HasThread() ? job.GetExitCode() : JobHasNoThread;
}

DWORD RunJob(CVELQThread& job, HANDLE ownerStopEvent) {
    DWORD started = StartJob(job);
    if (started != ERROR_SUCCESS) return started;
    bool stopped = false;
    DWORD result = WaitForJob(job, ownerStopEvent, &stopped);
    return stopped ? JobCancelled : result;
}

void StopJob(CVELQThread& job) {
    while (job.GetExitCode() == JobStillActive) {
        job.SetStopEvent();
        if (job.GetExitCode() == JobStillActive && WaitedToEnd(job)) break;
    }
}

}  // namespace VELQTASKCOMMON
