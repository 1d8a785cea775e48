// The base of every background job: a thread routine that gets the job object
// as its parameter, a manual-reset stop event and a window to post to.
//
// Owners set a job's inputs before Start and read its results after its thread
// has ended; nothing else synchronises the two threads. Destroying a job does
// not stop or wait for its thread: see shared/task/job_control.h.
#pragma once

#include <windows.h>

#include "shared/task/exit_codes.h"
#include "shared/task/task.h"

namespace VELQTASKCOMMON {

class CVELQThread : public CVELQTask {
public:
    CVELQThread();
    ~CVELQThread() override;  // closes the stop event, then the thread handle

    // Logs "Create Thread!", resets the stop event and creates the thread,
    // closing the handle of a thread started before. FALSE without a routine
    // or when CreateThread fails.
    BOOL Start() override;
    // Asks the thread to stop and kills it with exit code 1223; for a job
    // without a thread it only reports GetExitCode.
    DWORD Terminate() override;
    void ResetStopEvent() override;
    virtual DWORD SetStopEvent();

    HWND notifyWindow;
    HANDLE stopEvent;  // manual reset; routines poll it with zero-timeout waits
    LPTHREAD_START_ROUTINE threadRoutine;
};

}  // namespace VELQTASKCOMMON
