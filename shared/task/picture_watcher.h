// Waits for the update child to say that a category's pictures are on disk,
// and tells the prompt with one posted WM_PICTURECHANGED.
#pragma once

#include <windows.h>

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

    void SetTarget(FileTarget newTarget);
    FileTarget GetTarget();

    FileTarget target;
};

DWORD WINAPI PictureWatchThread(LPVOID watcher);

}  // namespace VELQTASKCOMMON
