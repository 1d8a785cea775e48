// How an owner starts a job, waits for it and stops it. Every owner in the
// program uses these instead of writing the loops out:
//
//   CVELQHttpFile job;  ...set its inputs...
//   DWORD result = RunJob(job, stopEvent);   // a worker with a stop event
//   DWORD result = RunJob(job);              // the main thread
//
//   StopJob(m_pictureWatcher);               // a job that runs until told
//
// Waits are 500 ms at a time on the job's thread handle, so an owner sees
// both the job's end and its own stop request within about half a second.
#pragma once

#include <windows.h>

#include "shared/task/thread.h"

namespace VELQTASKCOMMON {

// Start with the owner's failure report: ERROR_SUCCESS when the thread runs;
// otherwise GetLastError(), or 1450 when that is 0.
DWORD StartJob(CVELQThread& job);

// Waits while the job's thread runs (exit code 259). With an owner stop event,
// a set event asks the job to stop and the wait goes on until its thread has
// ended; *stopped (when given) tells whether that happened. The result is the
// job's exit code, or 6 when it has no thread.
DWORD WaitForJob(CVELQThread& job, HANDLE ownerStopEvent = nullptr, bool* stopped = nullptr);

// StartJob, then WaitForJob. The start failure code, 1223 when the owner's
// stop event ended the wait (only after the job's thread has ended), else
// the job's exit code.
DWORD RunJob(CVELQThread& job, HANDLE ownerStopEvent = nullptr);

// For a job that runs until told to stop: sets its stop event and waits until
// its thread has ended. A job that never started returns at once.
void StopJob(CVELQThread& job);

}  // namespace VELQTASKCOMMON
