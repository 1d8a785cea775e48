#include "tests/app/dialogs/prompt_driver.h"

#include <algorithm>
using std::max;
using std::min;
#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <thread>
#include <vector>

#include "app/dialogs/open_as_dlg.h"
#include "tests/support/program.h"

namespace prompttest {

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindPrompt(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    wchar_t className[32] = {};
    wchar_t caption[64] = {};
    GetClassNameW(window, className, 32);
    GetWindowTextW(window, caption, 64);
    if (std::wstring(className) == L"#32770" && std::wstring(caption) == L"Wendaro") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 2000,
                        &copied);
    return text;
}

BOOL CALLBACK ReadChild(HWND child, LPARAM param) {
    auto* state = reinterpret_cast<std::pair<HWND, PromptState*>*>(param);
    ControlState control;
    GetWindowRect(child, &control.rect);
    MapWindowPoints(nullptr, state->first, reinterpret_cast<POINT*>(&control.rect), 2);
    control.visible = (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0;
    control.text = WindowText(child);
    state->second->controls[GetDlgCtrlID(child)] = control;
    return TRUE;
}

std::wstring ScreenshotFolder() {
    std::wstring folder = testsupport::WindowsPathOf(WENDARO_SCREENSHOT_DIR);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

}  // namespace

HWND WaitForPrompt(DWORD processId, DWORD timeoutMs) {
    Search search = {processId, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(FindPrompt, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

bool WaitForPromptGone(HWND dialog, DWORD timeoutMs) {
    return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, timeoutMs);
}

bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (predicate()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
}

PromptState ReadPrompt(HWND dialog) {
    PromptState state;
    GetWindowRect(dialog, &state.window);
    state.size = {state.window.right - state.window.left, state.window.bottom - state.window.top};
    std::pair<HWND, PromptState*> param(dialog, &state);
    EnumChildWindows(dialog, ReadChild, reinterpret_cast<LPARAM>(&param));
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) {
        state.focus = info.hwndFocus;
    }
    return state;
}

void Click(HWND dialog, int controlId) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0, SMTO_BLOCK, 5000, &result);
}

void Repaint(HWND dialog) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
    // A message round trip lets the dialog's thread finish painting.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 2000, &ignored);
    GdiFlush();
}

std::wstring SaveScreenshot(HWND dialog, const std::wstring& name) {
    Repaint(dialog);

    RECT rect = {};
    GetWindowRect(dialog, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP shot = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, shot);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    std::wstring path = ScreenshotFolder() + L"\\" + name + L".png";
    const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    bool saved = false;
    {
        Gdiplus::Bitmap image(shot, nullptr);
        saved = image.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    DeleteObject(shot);
    return saved ? path : std::wstring();
}

COLORREF ScreenPixel(HWND dialog, POINT client) {
    ClientToScreen(dialog, &client);
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, client.x, client.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool WritePicture(const std::wstring& path, int width, int height, COLORREF colour) {
    const int rowSize = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = rowSize * height;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;

    std::vector<BYTE> pixels(info.biSizeImage);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            BYTE* pixel = &pixels[y * rowSize + x * 3];
            pixel[0] = GetBValue(colour);
            pixel[1] = GetGValue(colour);
            pixel[2] = GetRValue(colour);
        }
    }
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(handle, &file, sizeof file, &written, nullptr) &&
              WriteFile(handle, &info, sizeof info, &written, nullptr) &&
              WriteFile(handle, pixels.data(), info.biSizeImage, &written, nullptr);
    CloseHandle(handle);
    return ok;
}

int RunPrompt(const std::wstring& filePath, const std::wstring& categoryId,
              const std::function<void(HWND)>& driver) {
    bool appeared = false;
    DWORD modalThread = GetCurrentThreadId();
    std::thread driving([&] {
        HWND dialog = WaitForPrompt(GetCurrentProcessId(), 10000);
        if (!dialog) {
            // Ends a modal loop whose window was never found.
            PostThreadMessageW(modalThread, WM_QUIT, 0, 0);
            return;
        }
        appeared = true;
        driver(dialog);
        // Always end the dialog, whatever the driver did.
        if (IsWindow(dialog) && IsWindowVisible(dialog)) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    int result;
    {
        CVELQOpenAsDlg prompt(FileTarget{filePath, categoryId});
        result = static_cast<int>(prompt.DoModal());
    }
    driving.join();
    return appeared ? result : -2;
}

}  // namespace prompttest
