// Waits for the update child to say that a category's pictures are on disk,
// and tells the prompt with one posted WM_PICTURECHANGED.
#pragma once

#include <windows.h>

#include "shared/handle.h"
#include "shared/task/file_target.h"
#include "shared/task/thread.h"

// Posted with wParam 0 and lParam 0 to the watcher's notifyWindow.
inline constexpr UINT WM_PICTURECHANGED = WM_USER + 1021;

namespace VELQTASKCOMMON {

// Runs until the event PictureEventPrefix + target.categoryId is set or the
// stop event is; exit code 0 on every path. Stop it with StopJob.
class CVELQPictureChanged : public CVELQThread {
public:
    CVELQPictureChanged();
    ~CVELQPictureChanged() override;

    // Creates the event, then the thread, which takes the event over and
    // closes it when it ends. So the event exists once Start returns, and an
    // update child launched right after cannot find it missing.
    BOOL Start() override;

    void SetTarget(FileTarget newTarget);
    FileTarget GetTarget();
    // The event Start created, for the thread; null once taken, or when it
    // could not be created.
    HANDLE TakeEvent();

    FileTarget target;

private:
    KernelHandle m_event;
};

DWORD WINAPI PictureWatchThread(LPVOID watcher);

}  // namespace VELQTASKCOMMON
