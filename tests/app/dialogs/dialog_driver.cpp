#include "tests/app/dialogs/dialog_driver.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
using std::max;
using std::min;
#include <objidl.h>
#include <gdiplus.h>

#include <atomic>
#include <cstddef>
#include <thread>

#include "app/dialogs/first_use_dlg.h"
#include "app/dialogs/open_as_dlg.h"
#include "app/dialogs/turn_on_dlg.h"
#include "resources/dialog_ids.h"
#include "shared/gdi_holders.h"
#include "tests/support/program.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wine_path.h"

namespace wendaro_test {

namespace {

struct Search {
    DWORD processId;
    const wchar_t* caption;  // null: any caption
    HWND except;
    HWND found;
};

// EnumWindows walks the top-level windows from the top of the Z order down.
BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || window == search->except || !IsWindowVisible(window)) return TRUE;
    wchar_t className[32] = {};
    wchar_t caption[64] = {};
    GetClassNameW(window, className, 32);
    GetWindowTextW(window, caption, 64);
    if (std::wstring(className) != L"#32770") return TRUE;
    if (search->caption && std::wstring(caption) != search->caption) return TRUE;
    search->found = window;
    return FALSE;
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 2000,
                        &copied);
    return text;
}

BOOL CALLBACK ReadChild(HWND child, LPARAM param) {
    auto* state = reinterpret_cast<std::pair<HWND, DialogState*>*>(param);
    ControlState control;
    GetWindowRect(child, &control.rect);
    MapWindowPoints(nullptr, state->first, reinterpret_cast<POINT*>(&control.rect), 2);
    control.visible = (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0;
    control.text = WindowText(child);
    state->second->controls[GetDlgCtrlID(child)] = control;
    return TRUE;
}

std::wstring ScreenshotFolder() {
    std::wstring folder = WindowsPathOf(WENDARO_SCREENSHOT_DIR);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

int RunModal(const wchar_t* caption, const std::function<INT_PTR()>& run,
             const std::function<void(HWND)>& driver) {
    bool appeared = false;
    std::atomic<bool> returned{false};
    DWORD modalThread = GetCurrentThreadId();
    std::thread driving([&] {
        HWND dialog = WaitForDialog(GetCurrentProcessId(), caption, 10000);
        if (!dialog) {
            // Ends a modal loop whose window was never found.
            PostThreadMessageW(modalThread, WM_QUIT, 0, 0);
            return;
        }
        appeared = true;
        driver(dialog);
        WaitUntil(
            [&] {
                if (returned) return true;
                if (HWND open = FindDialog(GetCurrentProcessId(), nullptr)) {
                    PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
                    WaitForGone(open, 2000);
                }
                return false;
            },
            15000);
    });
    INT_PTR result = run();
    returned = true;
    driving.join();
    return appeared ? static_cast<int>(result) : -2;
}

BOOL CALLBACK FindToolTip(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<std::pair<HWND, HWND>*>(param);
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (std::wstring(className) == TOOLTIPS_CLASSW && GetWindow(window, GW_OWNER) == search->first) {
        search->second = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (predicate()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
}

HWND FindDialog(DWORD processId, const wchar_t* caption, HWND except) {
    Search search = {processId, caption, except, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialog(DWORD processId, const wchar_t* caption, DWORD timeoutMs, HWND except) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindDialog(processId, caption, except)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitForGone(HWND dialog, DWORD timeoutMs) {
    return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, timeoutMs);
}

HWND OtherDialogAfter(HWND dialog, DWORD graceMs) {
    WaitForGone(dialog, 5000);
    return WaitForDialog(GetCurrentProcessId(), nullptr, graceMs, dialog);
}

DialogState ReadDialog(HWND dialog) {
    DialogState state;
    GetWindowRect(dialog, &state.window);
    state.size = {state.window.right - state.window.left, state.window.bottom - state.window.top};
    std::pair<HWND, DialogState*> param(dialog, &state);
    EnumChildWindows(dialog, ReadChild, reinterpret_cast<LPARAM>(&param));
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) {
        state.focus = info.hwndFocus;
    }
    return state;
}

std::vector<int> ChildOrder(HWND dialog) {
    std::vector<int> order;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        order.push_back(GetDlgCtrlID(child));
    }
    return order;
}

int CheckState(HWND dialog, int controlId) {
    return static_cast<int>(SendDlgItemMessageW(dialog, controlId, BM_GETCHECK, 0, 0));
}

void Click(HWND dialog, int controlId) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0, SMTO_BLOCK, 5000, &result);
}

void PressOk(HWND dialog) { PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); }

void PressEscape(HWND dialog) {
    HWND ok = GetDlgItem(dialog, IDOK);
    PostMessageW(ok, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(ok, WM_KEYUP, VK_ESCAPE, 0);
}

void PressEnterOn(HWND dialog, HWND control) {
    // All posted, so that the dialog's thread moves the focus and takes the
    // key one right after the other, however busy it still is.
    PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    PostMessageW(control, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(control, WM_KEYUP, VK_RETURN, 0);
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
    GdiBitmap shot;
    {
        WindowDc screen(nullptr);
        MemoryDc memory(CreateCompatibleDC(screen.get()));
        shot.reset(CreateCompatibleBitmap(screen.get(), width, height));
        SelectedObject selected(memory.get(), shot.get());
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
    }

    std::wstring path = ScreenshotFolder() + L"\\" + name + L".png";
    const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    bool saved = false;
    {
        Gdiplus::Bitmap image(shot.get(), nullptr);
        saved = image.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    return saved ? path : std::wstring();
}

COLORREF ScreenPixel(HWND dialog, POINT client) {
    ClientToScreen(dialog, &client);
    WindowDc screen(nullptr);
    return GetPixel(screen.get(), client.x, client.y);
}

std::vector<LinePixels> PixelsPerLine(HWND dialog, int controlId, COLORREF background) {
    HWND control = GetDlgItem(dialog, controlId);
    RECT rect = {};
    GetWindowRect(control, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const std::wstring text = WindowText(control);

    // The lines as a static wraps them (DrawText with word breaks).
    TEXTMETRICW metrics = {};
    RECT wrapped = {0, 0, width, 0};
    {
        WindowDc dc(control);
        SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        GetTextMetricsW(dc.get(), &metrics);
        DrawTextW(dc.get(), text.c_str(), -1, &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    }
    const int lineHeight = metrics.tmHeight;
    if (lineHeight <= 0 || width <= 0 || height <= 0) return {};
    const int lines = min<int>(wrapped.bottom / lineHeight, (height + lineHeight - 1) / lineHeight);

    Repaint(dialog);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    GdiBitmap shot(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!shot) return {};
    MemoryDc memory(CreateCompatibleDC(nullptr));
    SelectedObject selected(memory.get(), shot.get());
    HDC screen = GetDC(nullptr);
    BitBlt(memory.get(), 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();

    std::vector<LinePixels> counted(lines);
    const auto* pixels = static_cast<const BYTE*>(bits);
    for (int y = 0; y < min(height, lines * lineHeight); ++y) {
        LinePixels& line = counted[y / lineHeight];
        for (int x = 0; x < width; ++x) {
            const BYTE* pixel = pixels + (static_cast<size_t>(y) * width + x) * 4;
            const COLORREF colour = RGB(pixel[2], pixel[1], pixel[0]);
            if (pixel[0] + pixel[1] + pixel[2] < 3 * 96) ++line.dark;
            if (colour == background) ++line.background;
            if (colour == RGB(0xFF, 0xFF, 0xFF)) ++line.white;
        }
    }
    return counted;
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

    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    std::string pixels(info.biSizeImage, '\0');
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            char* pixel = &pixels[y * rowSize + x * 3];
            pixel[0] = static_cast<char>(GetBValue(colour));
            pixel[1] = static_cast<char>(GetGValue(colour));
            pixel[2] = static_cast<char>(GetRValue(colour));
        }
    }
    return WriteFileBytes(path, bytes + pixels);
}

int RunPrompt(const std::wstring& filePath, const std::wstring& categoryId,
              const std::function<void(HWND)>& driver) {
    return RunModal(
        PromptCaption,
        [&] {
            CVELQOpenAsDlg prompt(FileTarget{filePath, categoryId});
            return prompt.DoModal();
        },
        driver);
}

int RunFirstUse(const FileTarget& target, const std::function<void(HWND)>& driver) {
    return RunModal(
        ConsentCaption,
        [&] {
            CVELQOpenAsFirstUseDlg dialog(target);
            return dialog.DoModal();
        },
        driver);
}

int RunTurnOn(const std::function<void(HWND)>& driver) {
    return RunModal(
        NoticeCaption,
        [] {
            CVELQTurnOn notice(CWnd::FromHandle(GetDesktopWindow()));
            return notice.DoModal();
        },
        driver);
}

ToolTipState ReadNoticeToolTip(HWND dialog) {
    ToolTipState state;
    std::pair<HWND, HWND> search(dialog, nullptr);
    EnumThreadWindows(GetWindowThreadProcessId(dialog, nullptr), FindToolTip,
                      reinterpret_cast<LPARAM>(&search));
    HWND tip = search.second;
    if (!tip) return state;

    TTTOOLINFOW tool = {};
    tool.cbSize = offsetof(TTTOOLINFOW, lpReserved);
    tool.hwnd = GetDlgItem(dialog, IDC_RICH_INFO);
    tool.uId = IDC_RICH_INFO;
    if (!SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) return state;
    state.found = true;
    state.rect = tool.rect;
    std::vector<wchar_t> text(1024);
    tool.lpszText = text.data();
    SendMessageW(tip, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
    state.text = text.data();
    state.maxWidth = static_cast<int>(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0));
    return state;
}

std::wstring DottedUnderlinedText(HWND richEdit) {
    int length = GetWindowTextLengthW(richEdit);
    std::vector<wchar_t> text(length + 1);
    GetWindowTextW(richEdit, text.data(), length + 1);
    std::wstring underlined;
    for (int i = 0; i < length; ++i) {
        CHARRANGE one = {i, i + 1};
        SendMessageW(richEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&one));
        CHARFORMAT2W format = {};
        format.cbSize = sizeof format;
        SendMessageW(richEdit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        if ((format.dwEffects & CFE_UNDERLINE) && format.bUnderlineType == CFU_UNDERLINEDOTTED) {
            underlined += text[i];
        }
    }
    CHARRANGE none = {-1, -1};
    SendMessageW(richEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&none));
    return underlined;
}

void ClickLink(HWND link) {
    // The link's text starts at the control's top left corner.
    const LPARAM point = MAKELPARAM(5, 5);
    PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(link, WM_LBUTTONUP, 0, point);
}

}  // namespace wendaro_test
