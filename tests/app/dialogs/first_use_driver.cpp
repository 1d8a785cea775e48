#include "tests/app/dialogs/first_use_driver.h"

#include <commctrl.h>
#include <richedit.h>

#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

#include "app/dialogs/first_use_dlg.h"
#include "app/dialogs/turn_on_dlg.h"
#include "tests/app/dialogs/prompt_driver.h"

namespace firstusetest {

namespace {

struct Search {
    DWORD processId;
    const wchar_t* caption;  // null: any caption
    HWND except;
    HWND found;
};

// EnumWindows walks the top-level windows from the top of the Z order down.
BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
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

HWND TopVisibleDialog(DWORD processId) {
    Search search = {processId, nullptr, nullptr, nullptr};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
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
        // Cancels what the driver left open, innermost (topmost) first.
        prompttest::WaitUntil(
            [&] {
                if (returned) return true;
                if (HWND open = TopVisibleDialog(GetCurrentProcessId())) {
                    PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
                    prompttest::WaitForPromptGone(open, 2000);
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

HWND WaitForDialog(DWORD processId, const wchar_t* caption, DWORD timeoutMs, HWND except) {
    Search search = {processId, caption, except, nullptr};
    prompttest::WaitUntil(
        [&] {
            EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
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
    tool.hwnd = GetDlgItem(dialog, 1004);
    tool.uId = 1004;
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

}  // namespace firstusetest
