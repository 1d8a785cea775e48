#include "shared/task/open_with.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "shared/handle.h"
#include "shared/task/job_control.h"

namespace {

const DWORD ControlPollStep = 50;
const OPEN_AS_INFO_FLAGS OpenWithFlags =
    static_cast<OPEN_AS_INFO_FLAGS>(OAIF_REGISTER_EXT | OAIF_EXEC | OAIF_FORCE_REGISTRATION);

}  // namespace

BOOL ShowSystemOpenWithDialog(HWND /*owner*/, const wchar_t* path) {
    if (!PathFileExistsW(path) || PathIsDirectoryW(path)) return 0;

    VELQTASKCOMMON::CVELQThread control;
    control.threadRoutine = VELQTASKCOMMON::EnableOpenWithControlThread;

    OPENASINFO request = {};
    request.pcszFile = path;
    request.pcszClass = nullptr;
    request.oaifInFlags = OpenWithFlags;

    if (!control.Start()) return 0;
    SHOpenWithDialog(nullptr, &request);

    control.SetStopEvent();
    VELQTASKCOMMON::WaitForJob(control);
    return 1;
}

namespace VELQTASKCOMMON {

DWORD WINAPI EnableOpenWithControlThread(LPVOID parameter) {
    auto* job = static_cast<CVELQThread*>(parameter);
    HWND ownWindow = job->notifyWindow;
    // Nothing sets it: waiting on it is the 50 ms step.
    KernelHandle timer(CreateEventW(nullptr, TRUE, FALSE, nullptr));

    do {
        if (WaitForSingleObject(timer.get(), ControlPollStep) == WAIT_OBJECT_0) break;
        HWND foreground = GetForegroundWindow();
        if (foreground && foreground != ownWindow) {
            HWND item = GetDlgItem(foreground, OpenWithControlItemId);
            if (item) {
                EnableWindow(item, TRUE);
                break;
            }
        }
    } while (WaitForSingleObject(job->stopEvent, 0) == WAIT_TIMEOUT);
    return 0;
}

}  // namespace VELQTASKCOMMON
