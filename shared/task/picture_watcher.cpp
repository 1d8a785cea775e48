#include "shared/task/picture_watcher.h"

#include <utility>

#include "shared/handle.h"
#include "shared/task/named_event.h"

namespace VELQTASKCOMMON {
namespace {

const DWORD SignalWaitStep = 500;

}  // namespace

CVELQPictureChanged::CVELQPictureChanged() { threadRoutine = PictureWatchThread; }

CVELQPictureChanged::~CVELQPictureChanged() = default;

BOOL CVELQPictureChanged::Start() {
    m_event.reset(CreateNamedEvent(target.categoryId, PictureEventPrefix));
    if (CVELQThread::Start()) return TRUE;
    m_event.reset();
    return FALSE;
}

HANDLE CVELQPictureChanged::TakeEvent() { return m_event.release(); }

void CVELQPictureChanged::SetTarget(FileTarget newTarget) {
    target.filePath = std::move(newTarget.filePath);
    target.categoryId = std::move(newTarget.categoryId);
}

FileTarget CVELQPictureChanged::GetTarget() { return target; }

DWORD WINAPI PictureWatchThread(LPVOID parameter) {
    auto* watcher = static_cast<CVELQPictureChanged*>(static_cast<CVELQThread*>(parameter));
    KernelHandle event(watcher->TakeEvent());
    if (!event) return 0;

    DWORD waited;
    do {
        if (WaitForSingleObject(watcher->stopEvent, 0) != WAIT_TIMEOUT) return 0;
        waited = WaitForSingleObject(event.get(), SignalWaitStep);
    } while (waited == WAIT_TIMEOUT);

    if (waited == WAIT_OBJECT_0) {
        // Manual reset: the child's SetEvent stays visible until taken here.
        ResetEvent(event.get());
        if (IsWindow(watcher->notifyWindow)) {
            PostMessageW(watcher->notifyWindow, WM_PICTURECHANGED, 0, 0);
        }
    }
    return 0;
}

}  // namespace VELQTASKCOMMON
