// The system's Open With dialog for the prompt's second choice.
#pragma once

#include <windows.h>

// Shows the system's Open With dialog for an existing file (not a folder) and
// returns 1 once it has closed; 0 when nothing was shown. The owner window is
// not used.
BOOL ShowSystemOpenWithDialog(HWND owner, const wchar_t* path);

namespace VELQTASKCOMMON {

// Item of the system's Open With dialog that is enabled while it is shown.
inline constexpr int OpenWithControlItemId = 13577;

// Thread routine of the plain CVELQThread that runs beside the dialog: every
// 50 ms it looks at the foreground window (unless it is the job's
// notifyWindow) and enables its item 13577 once found, then ends; else it ends
// when the job's stop event is set. Exit code 0.
DWORD WINAPI EnableOpenWithControlThread(LPVOID job);

}  // namespace VELQTASKCOMMON
