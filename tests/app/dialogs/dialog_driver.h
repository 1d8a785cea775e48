// Driving the Open-As prompt from a test: find its window, read its controls,
// click them, take screenshots, and make picture files to show.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

namespace prompttest {

struct ControlState {
    RECT rect = {};  // in the dialog's client coordinates
    bool visible = false;
    std::wstring text;
};

struct PromptState {
    RECT window = {};    // screen coordinates
    SIZE size = {};      // of the whole window
    std::map<int, ControlState> controls;
    HWND focus = nullptr;
};

// The visible top-level dialog captioned "Wendaro" of the process, or null
// once the wait runs out.
HWND WaitForPrompt(DWORD processId, DWORD timeoutMs);
// Waits until the window is gone (or hidden); false when it still shows.
bool WaitForPromptGone(HWND dialog, DWORD timeoutMs);

PromptState ReadPrompt(HWND dialog);
// Clicks a control through the dialog's own command path (BM_CLICK, sent).
void Click(HWND dialog, int controlId);
// Polls (every 20 ms, up to timeoutMs) until the predicate holds.
bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs);

// Makes the dialog and its controls paint what is pending, now.
void Repaint(HWND dialog);
// Repaints the window and saves what the screen shows of it as a PNG under
// the build folder's screenshots/; returns the file's path (empty on failure).
std::wstring SaveScreenshot(HWND dialog, const std::wstring& name);
// The colour on the screen at a point of the dialog's client area.
COLORREF ScreenPixel(HWND dialog, POINT client);

// A 24-bit BMP of one colour; GDI+ reads it whatever the file's name says.
bool WritePicture(const std::wstring& path, int width, int height, COLORREF colour);

// Runs the prompt modally on this thread while driver(dialog) runs on another
// one; the dialog is cancelled afterwards if the driver left it open. Returns
// DoModal's result, or -2 when no prompt window appeared within 10 s.
int RunPrompt(const std::wstring& filePath, const std::wstring& categoryId,
              const std::function<void(HWND)>& driver);

}  // namespace prompttest
