// How an owner starts a job, waits for it and stops it. Every owner in the
// program uses these instead of writing the loops out:
//
//   auto job = std::make_shared<CVELQHttpFile>();  ...set its inputs...
//   DWORD result = RunJob(job, stopEvent, deadline);  // gives up at deadline
//
//   if (worker.Start()) WaitForJob(worker, nullptr, nullptr, budget);
//   StopJob(m_pictureWatcher);               // a job that runs until told
//
// Waits are 500 ms at a time on the job's thread handle, so an owner sees
// both the job's end and its own stop request within about half a second.
//
// Nothing ends a thread blocked in a network call (closing its handles does
// not, under Wine), so an owner with a deadline does not wait for such a
// thread: it gives the job up, and the job object lives on for its thread.
#pragma once

#include <windows.h>

#include <memory>

#include "shared/task/deadline.h"
#include "shared/task/thread.h"

namespace VELQTASKCOMMON {

// Start with the owner's failure report: ERROR_SUCCESS when the thread runs;
// otherwise GetLastError(), or 1450 when that is 0.
DWORD StartJob(CVELQThread& job);

// Waits while the job's thread runs (exit code 259). With an owner stop event,
// a set event asks the job to stop and the wait goes on until its thread has
// ended; *stopped (when given) tells whether that happened. The result is the
// job's exit code, 6 when it has no thread, or 1460 when giveUp came first:
// the job's thread may then still run (its stop event is set), so a caller
// that gives a deadline must keep the job alive (RunJob) or end the process.
DWORD WaitForJob(CVELQThread& job, HANDLE ownerStopEvent = nullptr, bool* stopped = nullptr,
                 Deadline giveUp = Deadline::Never());

// StartJob, then WaitForJob until giveUp. The start failure code, 1223 when
// the owner's stop event ended the wait (after the job's thread has ended),
// 1460 when the job was given up (or giveUp had passed before the start),
// else the job's exit code. A job given up is kept alive until its thread
// ends, whenever that is.
DWORD RunJob(const std::shared_ptr<CVELQThread>& job, HANDLE ownerStopEvent = nullptr,
             Deadline giveUp = Deadline::Never());

// The job has a thread and it has not ended.
bool IsJobRunning(CVELQThread& job);

// Whether this process gave up on a job whose thread has not ended yet.
bool HasAbandonedJobs();

// For a job that runs until told to stop: sets its stop event and waits until
// its thread has ended. A job that never started returns at once.
void StopJob(CVELQThread& job);

}  // namespace VELQTASKCOMMON
