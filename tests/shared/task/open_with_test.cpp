#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <thread>

#include "shared/handle.h"
#include "shared/task/open_with.h"
#include "shared/task/thread.h"
#include "tests/support/temp_folder.h"

using namespace VELQTASKCOMMON;

namespace {

const DWORD Bound = 10000;

// Stands in for the system's Open With dialog, which Wine does not have: a
// foreground window on a thread of its own whose item 13577 starts disabled.
class FakeOpenWithDialog {
public:
    FakeOpenWithDialog() : m_ready(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        m_thread = std::thread([this] { Run(); });
        WaitForSingleObject(m_ready.get(), Bound);
    }
    ~FakeOpenWithDialog() {
        PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();
    }
    HWND window() const { return m_window; }
    HWND item() const { return m_item; }

private:
    void Run() {
        m_threadId = GetCurrentThreadId();
        m_window = CreateWindowExW(0, L"STATIC", L"Open With", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                                   10, 300, 200, nullptr, nullptr, nullptr, nullptr);
        m_item = CreateWindowExW(0, L"BUTTON", L"Always use", WS_CHILD | WS_VISIBLE | WS_DISABLED,
                                 10, 10, 120, 24, m_window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(OpenWithControlItemId)),
                                 nullptr, nullptr);
        SetForegroundWindow(m_window);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here
        SetEvent(m_ready.get());
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        DestroyWindow(m_window);
    }

    KernelHandle m_ready;
    std::thread m_thread;
    DWORD m_threadId = 0;
    HWND m_window = nullptr;
    HWND m_item = nullptr;
};

int ThreadsOfThisProcess() {
    KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more;
         more = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    }
    return count;
}

}  // namespace

TEST(OpenWithControlThread, EnablesTheItemOfTheForegroundDialogAndEnds) {
    FakeOpenWithDialog dialog;
    ASSERT_EQ(dialog.window(), GetForegroundWindow());
    ASSERT_FALSE(IsWindowEnabled(dialog.item()));

    CVELQThread control;
    control.threadRoutine = EnableOpenWithControlThread;
    DWORD started = GetTickCount();
    ASSERT_TRUE(control.Start());
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(control.threadHandle, Bound));
    EXPECT_LT(GetTickCount() - started, 1000u);
    EXPECT_TRUE(IsWindowEnabled(dialog.item()));
    EXPECT_EQ(0u, control.GetExitCode());
}

TEST(OpenWithControlThread, LeavesItsOwnWindowAloneAndEndsWhenStopped) {
    FakeOpenWithDialog dialog;
    ASSERT_EQ(dialog.window(), GetForegroundWindow());

    CVELQThread control;
    control.threadRoutine = EnableOpenWithControlThread;
    control.notifyWindow = dialog.window();
    ASSERT_TRUE(control.Start());
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(control.threadHandle, 300));
    EXPECT_FALSE(IsWindowEnabled(dialog.item()));

    control.SetStopEvent();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(control.threadHandle, Bound));
    EXPECT_EQ(0u, control.GetExitCode());
}

TEST(ShowSystemOpenWithDialog, RefusesFoldersAndMissingFiles) {
    wendaro_test::TempFolder folder;
    EXPECT_EQ(0, ShowSystemOpenWithDialog(nullptr, folder.path().c_str()));
    EXPECT_EQ(0, ShowSystemOpenWithDialog(nullptr, (folder / L"missing.xyz").c_str()));
}

TEST(ShowSystemOpenWithDialog, ReturnsOnceTheDialogClosedWithNoThreadLeft) {
    wendaro_test::TempFolder folder;
    std::wstring file = folder / L"a file.xyz";
    ASSERT_TRUE(wendaro_test::WriteFileBytes(file, "data"));
    FakeOpenWithDialog dialog;
    int threadsBefore = ThreadsOfThisProcess();

    EXPECT_EQ(1, ShowSystemOpenWithDialog(nullptr, file.c_str()));
    // The control thread had its look at the foreground window and has ended.
    EXPECT_TRUE(IsWindowEnabled(dialog.item()));
    EXPECT_EQ(threadsBefore, ThreadsOfThisProcess());
}
