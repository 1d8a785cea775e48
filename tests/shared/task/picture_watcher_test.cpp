#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>

#include <string>

#include "shared/handle.h"
#include "shared/task/job_control.h"
#include "shared/task/named_event.h"
#include "shared/task/picture_watcher.h"
#include "tests/support/program.h"

using namespace VELQTASKCOMMON;

namespace {

const DWORD Bound = 10000;

// Categories unique to this process: tests run in parallel in one wineserver.
std::wstring NewCategoryId() {
    static int counter = 0;
    return L"wdtest" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
}

// The second process of the cross-process test: opens the category's event
// the way the update child does and sets it.
int SetPictureEventFor(const wchar_t* categoryId) {
    KernelHandle event(OpenNamedEvent(categoryId, PictureEventPrefix));
    if (!event) return 1;
    return SetEvent(event.get()) ? 0 : 2;
}

DWORD RunSetterProcess(const std::wstring& categoryId) {
    // No console window: it would take the foreground from the desktop tests.
    wendaro_test::ProgramRun run = wendaro_test::RunProgramAt(
        wendaro_test::SelfPath(), L"/set-event " + categoryId, Bound, CREATE_NO_WINDOW);
    if (!run.started) return 100;
    return run.finished ? run.exitCode : 101;
}

// A hidden window whose queue the test reads.
class MessageWindow {
public:
    MessageWindow()
        : m_window(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   nullptr, nullptr)) {}
    ~MessageWindow() {
        if (IsWindow(m_window)) DestroyWindow(m_window);
    }
    HWND get() const { return m_window; }

    // Waits up to timeoutMs for WM_PICTURECHANGED; true and its parameters when it came.
    bool WaitForPictureChanged(DWORD timeoutMs, MSG* received = nullptr) {
        DWORD start = GetTickCount();
        for (;;) {
            MSG msg;
            if (PeekMessageW(&msg, m_window, WM_PICTURECHANGED, WM_PICTURECHANGED, PM_REMOVE)) {
                if (received) *received = msg;
                return true;
            }
            DWORD elapsed = GetTickCount() - start;
            if (elapsed >= timeoutMs) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_POSTMESSAGE);
        }
    }

private:
    HWND m_window;
};

bool IsSet(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

void StartWatcher(CVELQPictureChanged& watcher, const std::wstring& categoryId, HWND window) {
    watcher.SetTarget({L"C:\\docs\\report.xyz", categoryId});
    watcher.notifyWindow = window;
    ASSERT_TRUE(watcher.Start());
}

}  // namespace

TEST(NamedEvent, CreatedManualResetUnsetAndOpenToEveryone) {
    std::wstring category = NewCategoryId();
    KernelHandle missing(OpenNamedEvent(category, PictureEventPrefix));
    EXPECT_FALSE(missing);

    KernelHandle created(CreateNamedEvent(category, PictureEventPrefix));
    ASSERT_TRUE(created);
    EXPECT_FALSE(IsSet(created.get()));
    PACL dacl = reinterpret_cast<PACL>(1);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, GetSecurityInfo(created.get(), SE_KERNEL_OBJECT,
                                             DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                             nullptr, &descriptor));
    EXPECT_EQ(nullptr, dacl);  // present but null: full access for everyone
    LocalFree(descriptor);

    // The name is the prefix followed directly by the category id.
    std::wstring name = std::wstring(L"6AFF990C-C3E4-4835-A942-ECA02A9AB50E_") + category;
    KernelHandle byName(OpenEventW(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, name.c_str()));
    ASSERT_TRUE(byName);
    SetEvent(byName.get());
    EXPECT_TRUE(IsSet(created.get()));
    EXPECT_TRUE(IsSet(created.get()));  // manual reset: stays set

    // Creating it again opens the same event with its state kept.
    KernelHandle again(CreateNamedEvent(category, PictureEventPrefix));
    ASSERT_TRUE(again);
    EXPECT_TRUE(IsSet(again.get()));
}

TEST(PictureWatcher, SignalFromAnotherProcessPostsOneMessage) {
    MessageWindow window;
    std::wstring category = NewCategoryId();
    CVELQPictureChanged watcher;
    StartWatcher(watcher, category, window.get());
    // The prompt launches the child right after Start: the event must be
    // there already, not only once the watcher's thread runs.
    KernelHandle event(OpenNamedEvent(category, PictureEventPrefix));
    ASSERT_TRUE(event);

    ASSERT_EQ(0u, RunSetterProcess(category));
    DWORD setAt = GetTickCount();
    MSG msg = {};
    ASSERT_TRUE(window.WaitForPictureChanged(Bound, &msg));
    EXPECT_LT(GetTickCount() - setAt, 1000u);
    EXPECT_EQ(0u, msg.wParam);
    EXPECT_EQ(0, msg.lParam);

    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watcher.threadHandle, Bound));
    EXPECT_EQ(0u, watcher.GetExitCode());
    EXPECT_FALSE(IsSet(event.get()));  // the watcher took the signal
    EXPECT_FALSE(window.WaitForPictureChanged(0));
}

TEST(PictureWatcher, StopBeforeAnySignalEndsQuietly) {
    MessageWindow window;
    std::wstring category = NewCategoryId();
    CVELQPictureChanged watcher;
    StartWatcher(watcher, category, window.get());
    ASSERT_TRUE(KernelHandle(OpenNamedEvent(category, PictureEventPrefix)));

    DWORD started = GetTickCount();
    StopJob(watcher);
    EXPECT_LT(GetTickCount() - started, 1500u);
    EXPECT_EQ(0u, watcher.GetExitCode());
    EXPECT_FALSE(window.WaitForPictureChanged(0));
}

TEST(PictureWatcher, AnEventSetBeforeTheStartIsSeenAtOnce) {
    MessageWindow window;
    std::wstring category = NewCategoryId();
    KernelHandle event(CreateNamedEvent(category, PictureEventPrefix));
    ASSERT_TRUE(event);
    SetEvent(event.get());

    CVELQPictureChanged watcher;
    DWORD started = GetTickCount();
    StartWatcher(watcher, category, window.get());
    ASSERT_TRUE(window.WaitForPictureChanged(Bound));
    EXPECT_LT(GetTickCount() - started, 500u);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watcher.threadHandle, Bound));
    EXPECT_EQ(0u, watcher.GetExitCode());
    EXPECT_FALSE(IsSet(event.get()));
}

TEST(PictureWatcher, AGoneWindowGetsNothingButTheSignalIsTaken) {
    std::wstring category = NewCategoryId();
    KernelHandle event(CreateNamedEvent(category, PictureEventPrefix));
    SetEvent(event.get());
    HWND gone = nullptr;
    {
        MessageWindow window;
        gone = window.get();
    }
    ASSERT_FALSE(IsWindow(gone));

    CVELQPictureChanged watcher;
    StartWatcher(watcher, category, gone);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watcher.threadHandle, Bound));
    EXPECT_EQ(0u, watcher.GetExitCode());
    EXPECT_FALSE(IsSet(event.get()));
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_PICTURECHANGED, WM_PICTURECHANGED, PM_REMOVE));
}

TEST(PictureWatcher, EndsAtOnceWhenTheEventCannotBeCreated) {
    MessageWindow window;
    std::wstring category = NewCategoryId();
    // Another kind of object holds the name, so CreateEventW fails.
    std::wstring name = PictureEventPrefix + category;
    KernelHandle blocker(CreateMutexW(nullptr, FALSE, name.c_str()));
    ASSERT_TRUE(blocker);

    CVELQPictureChanged watcher;
    StartWatcher(watcher, category, window.get());
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watcher.threadHandle, Bound));
    EXPECT_EQ(0u, watcher.GetExitCode());
    EXPECT_FALSE(window.WaitForPictureChanged(0));
}

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"/set-event") return SetPictureEventFor(argv[2]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
