// A job's thread handle and its exit code.
#pragma once

#include <windows.h>

#include "shared/task/log.h"

namespace VELQTASKCOMMON {

class CVELQTask : public CVELQLog {
public:
    CVELQTask();
    ~CVELQTask() override;  // closes the thread handle; does not wait

    // 6 when there is no thread, 259 while it runs, else its exit code. A null
    // handle (CreateThread failed) gives 0.
    virtual DWORD GetExitCode();
    virtual BOOL Start() = 0;
    // Closes the thread handle without waiting and returns the exit code read
    // just before (259 for a thread that goes on running); 6 without a thread.
    virtual DWORD Close();
    virtual DWORD Terminate() = 0;
    virtual void ResetStopEvent();

    // A thread was created and its handle is still held.
    bool HasThread() const {
        return threadHandle != INVALID_HANDLE_VALUE && threadHandle != nullptr;
    }

    // INVALID_HANDLE_VALUE: no thread (after construction and Close); null
    // after a failed CreateThread.
    HANDLE threadHandle;
};

}  // namespace VELQTASKCOMMON
