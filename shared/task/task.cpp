#include "shared/task/task.h"

#include "shared/task/exit_codes.h"

namespace VELQTASKCOMMON {

CVELQTask::CVELQTask() : threadHandle(INVALID_HANDLE_VALUE) {}

CVELQTask::~CVELQTask() {
    if (HasThread()) CloseHandle(threadHandle);
}

DWORD CVELQTask::GetExitCode() {
    if (threadHandle == INVALID_HANDLE_VALUE) return JobHasNoThread;
    DWORD code = 0;
    GetExitCodeThread(threadHandle, &code);
    return code;
}

DWORD CVELQTask::Close() {
    if (!HasThread()) return JobHasNoThread;
    DWORD code = GetExitCode();
    CloseHandle(threadHandle);
    threadHandle = INVALID_HANDLE_VALUE;
    return code;
}

void CVELQTask::ResetStopEvent() {}

}  // namespace VELQTASKCOMMON
