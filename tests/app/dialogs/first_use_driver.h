// Driving the consent dialog and the turned-on notice from a test, on top of
// the prompt's driver (prompt_driver.h): finding a dialog by its caption,
// running the consent dialog modally with a driver thread, and reading what
// a screenshot cannot tell (the notice's tooltip and character formats).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "shared/task/file_target.h"

namespace firstusetest {

inline constexpr wchar_t ConsentCaption[] = L"Wendaro";
inline constexpr wchar_t NoticeCaption[] = L"Enable Wendaro";

// A visible top-level dialog of the process with the caption, other than
// `except`; null once the wait runs out.
HWND WaitForDialog(DWORD processId, const wchar_t* caption, DWORD timeoutMs, HWND except = nullptr);

// Runs the consent dialog modally on this thread while driver(dialog) runs on
// another. Whatever dialog the driver leaves open (consent, notice or prompt)
// is cancelled afterwards. Returns DoModal's result, or -2 when the dialog did
// not appear within 10 s.
int RunFirstUse(const FileTarget& target, const std::function<void(HWND)>& driver);
// The same for the notice alone, with the desktop window as its parent.
int RunTurnOn(const std::function<void(HWND)>& driver);

struct ToolTipState {
    bool found = false;
    RECT rect = {};  // the tool, in the notice's client coordinates
    std::wstring text;
    int maxWidth = 0;
};
// The dialog's tooltip and its tool for the notice (control 1004).
ToolTipState ReadNoticeToolTip(HWND dialog);

// The characters of a rich edit control that carry a dotted underline.
std::wstring DottedUnderlinedText(HWND richEdit);

// Clicks a link control's first link with the mouse (down and up at a point
// inside its text).
void ClickLink(HWND link);

}  // namespace firstusetest
