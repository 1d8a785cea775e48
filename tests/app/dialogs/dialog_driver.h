// Driving the program's dialogs from a test: run one modally in this process
// while a driver works on it from another thread, or find one that the real
// program shows; read its controls, click them, take screenshots and pixels,
// and make picture files for the prompt to show.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "shared/handle.h"
#include "shared/task/file_target.h"

namespace wendaro_test {

// A window hook, unhooked when it goes: for tests that watch the messages a
// dialog is sent (WH_CALLWNDPROC on its thread).
struct HookTraits : NullHandleTraits<HHOOK> {
    static void close(HHOOK hook) noexcept { UnhookWindowsHookEx(hook); }
};
using Hook = UniqueHandle<HookTraits>;

// The prompt and the consent dialog share their caption.
inline constexpr wchar_t PromptCaption[] = L"Wendaro";
inline constexpr wchar_t ConsentCaption[] = L"Wendaro";
inline constexpr wchar_t NoticeCaption[] = L"Enable Wendaro";

struct ControlState {
    RECT rect = {};  // in the dialog's client coordinates
    bool visible = false;
    std::wstring text;
};

struct DialogState {
    RECT window = {};  // screen coordinates
    SIZE size = {};    // of the whole window
    std::map<int, ControlState> controls;
    HWND focus = nullptr;
};

// Polls (every 20 ms, up to timeoutMs) until the predicate holds.
bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs);

// The topmost visible top-level dialog of the process with the caption (any
// caption when null), other than `except`; null when there is none.
HWND FindDialog(DWORD processId, const wchar_t* caption, HWND except = nullptr);
// The same, polled until one shows; null once the wait runs out.
HWND WaitForDialog(DWORD processId, const wchar_t* caption, DWORD timeoutMs, HWND except = nullptr);
// Waits until the window is gone (or hidden); false when it still shows.
bool WaitForGone(HWND dialog, DWORD timeoutMs);
// Once the dialog has gone, any other dialog of this process that shows
// within graceMs, or null.
HWND OtherDialogAfter(HWND dialog, DWORD graceMs = 300);

DialogState ReadDialog(HWND dialog);
// The ids of the dialog's children from the top of the Z order down.
std::vector<int> ChildOrder(HWND dialog);
// BM_GETCHECK of a button.
int CheckState(HWND dialog, int controlId);

// Clicks a control through the dialog's own command path (BM_CLICK, sent).
void Click(HWND dialog, int controlId);
// Clicks OK with a posted BM_CLICK: its handler may run a nested dialog.
void PressOk(HWND dialog);
// The Escape key, pressed on OK.
void PressEscape(HWND dialog);
// Moves the dialog's focus to the control and presses Enter there, through
// the dialog's message loop as a key of the keyboard would come.
void PressEnterOn(HWND dialog, HWND control);

// Makes the dialog and its controls paint what is pending, now.
void Repaint(HWND dialog);
// Repaints the window and saves what the screen shows of it as a PNG under
// the build folder's screenshots/; returns the file's path (empty on failure).
std::wstring SaveScreenshot(HWND dialog, const std::wstring& name);
// The colour on the screen at a point of the dialog's client area.
COLORREF ScreenPixel(HWND dialog, POINT client);
// What the screen shows in one line's band of a control's text.
struct LinePixels {
    int dark = 0;        // the text's
    int background = 0;  // of the colour asked about (the dialog's face)
    int white = 0;
};
// For each line that a control's text wraps into (in the control's font,
// with word breaks), its pixels on the screen: a line that another window
// paints over shows no dark pixel, a control that paints a box of its own
// shows its colour around the text.
std::vector<LinePixels> PixelsPerLine(HWND dialog, int controlId, COLORREF background);

// A 24-bit BMP of one colour; GDI+ reads it whatever the file's name says.
bool WritePicture(const std::wstring& path, int width, int height, COLORREF colour);

// Each runs its dialog modally on this thread while driver(dialog) runs on
// another one. Whatever dialog the driver leaves open (the one run, or a
// notice or prompt it brought up) is cancelled afterwards, innermost first.
// The result is DoModal's, or -2 when the dialog did not appear within 10 s.
int RunPrompt(const std::wstring& filePath, const std::wstring& categoryId,
              const std::function<void(HWND)>& driver);
int RunFirstUse(const FileTarget& target, const std::function<void(HWND)>& driver);
// The notice alone, with the desktop window as its parent.
int RunTurnOn(const std::function<void(HWND)>& driver);

// What a screenshot cannot tell of the consent dialog.
struct ToolTipState {
    bool found = false;
    RECT rect = {};  // the tool, in the notice's client coordinates
    std::wstring text;
    int maxWidth = 0;
};
// The dialog's tooltip and its tool for the notice (IDC_RICH_INFO).
ToolTipState ReadNoticeToolTip(HWND dialog);
// The characters of a rich edit control that carry a dotted underline.
std::wstring DottedUnderlinedText(HWND richEdit);
// Clicks a link control's first link with the mouse (down and up at a point
// inside its text).
void ClickLink(HWND link);

}  // namespace wendaro_test
