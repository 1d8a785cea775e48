#include "shared/task/thread.h"

namespace VELQTASKCOMMON {

CVELQThread::CVELQThread()
    : notifyWindow(nullptr),
      stopEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      threadRoutine(nullptr) {}

CVELQThread::~CVELQThread() {
    if (stopEvent) CloseHandle(stopEvent);
}

BOOL CVELQThread::Start() {
    LogEvent(0, 3, 0x100, L"Create Thread!");
    if (!threadRoutine) return FALSE;
    ResetStopEvent();
    // A job started again lets go of its earlier thread.
    if (HasThread()) CloseHandle(threadHandle);
    DWORD threadId = 0;
    threadHandle = CreateThread(nullptr, 0, threadRoutine, this, 0, &threadId);
    return threadHandle != nullptr;
}

DWORD CVELQThread::Terminate() {
    SetStopEvent();
    // INVALID_HANDLE_VALUE is also the current process's pseudo-handle: a
    // wait on it would never return.
    if (!HasThread()) return GetExitCode();
    TerminateThread(threadHandle, JobCancelled);
    WaitForSingleObject(threadHandle, INFINITE);
    return GetExitCode();
}

void CVELQThread::ResetStopEvent() { ResetEvent(stopEvent); }

DWORD CVELQThread::SetStopEvent() {
    SetEvent(stopEvent);
    return 0;
}

}  // namespace VELQTASKCOMMON
