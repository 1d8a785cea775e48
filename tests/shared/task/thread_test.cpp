#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "shared/handle.h"
#include "shared/task/job_control.h"
#include "shared/task/thread.h"

using namespace VELQTASKCOMMON;

namespace {

const DWORD Bound = 10000;  // no wait in these tests should come near it

// A job whose routine is chosen by the test; `gate` holds it back until set.
struct TestJob : CVELQThread {
    explicit TestJob(LPTHREAD_START_ROUTINE routine) { threadRoutine = routine; }
    DWORD result = 0;
    KernelHandle gate{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    KernelHandle running{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> finished{false};
};

TestJob* JobOf(LPVOID parameter) {
    return static_cast<TestJob*>(static_cast<CVELQThread*>(parameter));
}

DWORD WINAPI ReturnResult(LPVOID parameter) { return JobOf(parameter)->result; }

DWORD WINAPI WaitForGate(LPVOID parameter) {
    TestJob* job = JobOf(parameter);
    SetEvent(job->running.get());
    WaitForSingleObject(job->gate.get(), Bound);
    return job->result;
}

// Ends only when asked to stop, and then only once the gate opens.
DWORD WINAPI StopThenGate(LPVOID parameter) {
    TestJob* job = JobOf(parameter);
    SetEvent(job->running.get());
    if (WaitForSingleObject(job->stopEvent, Bound) != WAIT_OBJECT_0) return 99;
    WaitForSingleObject(job->gate.get(), Bound);
    job->finished = true;
    return job->result;
}

DWORD WINAPI RunUntilStopped(LPVOID parameter) {
    return WaitForSingleObject(JobOf(parameter)->stopEvent, Bound) == WAIT_OBJECT_0 ? 0 : 99;
}

bool IsSet(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

DWORD WINAPI RunCall(LPVOID call) {
    (*static_cast<std::function<void()>*>(call))();
    return 0;
}

// False when call has not returned within Bound; it then goes on running, so
// whatever it uses must outlive the test.
bool ReturnsInTime(std::function<void()>* call) {
    KernelHandle thread(CreateThread(nullptr, 0, RunCall, call, 0, nullptr));
    return WaitForSingleObject(thread.get(), Bound) == WAIT_OBJECT_0;
}

}  // namespace

TEST(JobLifeCycle, FreshJobHasNoThread) {
    TestJob job(ReturnResult);
    EXPECT_EQ(INVALID_HANDLE_VALUE, job.threadHandle);
    EXPECT_EQ(nullptr, job.notifyWindow);
    ASSERT_NE(nullptr, job.stopEvent);
    EXPECT_FALSE(IsSet(job.stopEvent));
    EXPECT_EQ(6u, job.GetExitCode());
    EXPECT_EQ(6u, job.Close());
}

TEST(JobLifeCycle, EndedJobReportsItsResultUntilClosed) {
    for (DWORD result : {0ul, 42ul, 12029ul}) {
        TestJob job(ReturnResult);
        job.result = result;
        ASSERT_TRUE(job.Start());
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(job.threadHandle, Bound));
        EXPECT_EQ(result, job.GetExitCode());
        EXPECT_EQ(result, job.GetExitCode());
        EXPECT_EQ(result, job.Close());
        EXPECT_EQ(INVALID_HANDLE_VALUE, job.threadHandle);
        EXPECT_EQ(6u, job.GetExitCode());
        EXPECT_EQ(6u, job.Close());
    }
}

// The earlier thread's handle is closed: its value names no thread any more,
// or the new one when the system gave the value out again.
TEST(JobLifeCycle, StartingAgainLetsGoOfTheEarlierThread) {
    TestJob job(ReturnResult);
    ASSERT_TRUE(job.Start());
    for (int restart = 0; restart < 3; ++restart) {
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(job.threadHandle, Bound));
        const HANDLE earlier = job.threadHandle;
        ASSERT_NE(0u, GetThreadId(earlier));
        ASSERT_TRUE(job.Start());
        const DWORD named = GetThreadId(earlier);
        EXPECT_TRUE(named == 0 || named == GetThreadId(job.threadHandle)) << restart;
    }
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(job.threadHandle, Bound));
    EXPECT_EQ(0u, job.Close());
}

TEST(JobLifeCycle, CloseOnRunningJobLeavesTheThreadRunning) {
    TestJob job(WaitForGate);
    job.result = 5;
    ASSERT_TRUE(job.Start());
    HANDLE copy = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), job.threadHandle, GetCurrentProcess(), &copy,
                                0, FALSE, DUPLICATE_SAME_ACCESS));
    KernelHandle thread(copy);

    EXPECT_EQ(STILL_ACTIVE, job.Close());
    EXPECT_EQ(INVALID_HANDLE_VALUE, job.threadHandle);
    EXPECT_EQ(6u, job.GetExitCode());
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(thread.get(), 0));

    SetEvent(job.gate.get());
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.get(), Bound));
    DWORD code = 0;
    GetExitCodeThread(thread.get(), &code);
    EXPECT_EQ(5u, code);
}

TEST(JobLifeCycle, StartWithoutRoutineCreatesNoThread) {
    TestJob job(nullptr);
    EXPECT_FALSE(job.Start());
    EXPECT_EQ(INVALID_HANDLE_VALUE, job.threadHandle);
    EXPECT_EQ(6u, job.GetExitCode());
}

TEST(JobLifeCycle, StartClearsAStopRequestLeftFromBefore) {
    TestJob job(RunUntilStopped);
    job.SetStopEvent();
    ASSERT_TRUE(job.Start());
    EXPECT_FALSE(IsSet(job.stopEvent));
    EXPECT_EQ(STILL_ACTIVE, job.GetExitCode());
    EXPECT_EQ(0u, job.SetStopEvent());
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(job.threadHandle, Bound));
    EXPECT_EQ(0u, job.GetExitCode());
}

TEST(JobLifeCycle, TerminateWithoutThreadReturnsAtOnce) {
    TestJob job(ReturnResult);
    EXPECT_EQ(6u, job.Terminate());
    EXPECT_TRUE(IsSet(job.stopEvent));
}

TEST(JobLifeCycle, TerminateKillsARunningThreadWith1223) {
    TestJob job(WaitForGate);
    ASSERT_TRUE(job.Start());
    // Killed only once it waits: a thread killed while it still starts up may
    // hold the loader's lock for good, and the next thread of the process hangs.
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(job.running.get(), Bound));
    EXPECT_EQ(1223u, job.Terminate());
    EXPECT_EQ(1223u, job.GetExitCode());
}

TEST(JobControl, RunJobReportsTheResultOrWhyTheJobDidNotStart) {
    auto failed = std::make_shared<TestJob>(ReturnResult);
    failed->result = 1168;
    EXPECT_EQ(1168u, RunJob(failed));

    auto job = std::make_shared<TestJob>(nullptr);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(1450u, RunJob(job));
}

// A thread blocked in a call nothing ends must not hold its owner: the owner
// gives up at the deadline, and the job lives on until its thread ends.
TEST(JobControl, AnOwnerGivesUpOnAJobAtItsDeadlineAndTheJobOutlivesIt) {
    auto job = std::make_shared<TestJob>(WaitForGate);
    job->result = 0;
    std::weak_ptr<TestJob> left = job;
    HANDLE gate = job->gate.get();
    DWORD started = GetTickCount();
    EXPECT_EQ(1460u, RunJob(job, nullptr, Deadline::In(300)));
    EXPECT_LT(GetTickCount() - started, 2000u);
    EXPECT_TRUE(IsSet(job->stopEvent));
    EXPECT_TRUE(HasAbandonedJobs());

    job.reset();
    EXPECT_FALSE(left.expired()) << "freed while its thread still runs";
    SetEvent(gate);
    for (int i = 0; i < 100 && !left.expired(); ++i) Sleep(50);
    EXPECT_TRUE(left.expired()) << "kept after its thread ended";
    for (int i = 0; i < 100 && HasAbandonedJobs(); ++i) Sleep(50);
    EXPECT_FALSE(HasAbandonedJobs());

    // The owner's stop request is bounded as well.
    KernelHandle ownerStop(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    auto stuck = std::make_shared<TestJob>(WaitForGate);
    HANDLE stuckGate = stuck->gate.get();
    EXPECT_EQ(1460u, RunJob(stuck, ownerStop.get(), Deadline::In(300)));
    SetEvent(stuckGate);
}

TEST(JobControl, OwnersStopIsReportedOnlyAfterTheJobEnded) {
    KernelHandle ownerStop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    auto shared = std::make_shared<TestJob>(StopThenGate);
    TestJob& job = *shared;
    job.result = 0;
    std::atomic<bool> returned{false};
    DWORD result = 0;
    bool finishedAtReturn = false;
    std::thread owner([&] {
        result = RunJob(shared, ownerStop.get());
        finishedAtReturn = job.finished;
        returned = true;
    });
    // Once the job runs, stop the owner: it must pass the request on to the
    // job and keep waiting while the job is held back.
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(job.running.get(), Bound));
    SetEvent(ownerStop.get());
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(job.stopEvent, Bound));
    EXPECT_FALSE(returned);
    SetEvent(job.gate.get());
    owner.join();
    EXPECT_EQ(1223u, result);
    EXPECT_TRUE(finishedAtReturn);
}

TEST(JobControl, WaitTellsWhetherTheOwnerStoppedTheJob) {
    KernelHandle ownerStop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    TestJob job(RunUntilStopped);
    ASSERT_EQ(0u, StartJob(job));
    SetEvent(ownerStop.get());
    bool stopped = false;
    EXPECT_EQ(0u, WaitForJob(job, ownerStop.get(), &stopped));
    EXPECT_TRUE(stopped);
}

TEST(JobControl, StopJobEndsAJobThatRunsUntilTold) {
    TestJob job(RunUntilStopped);
    ASSERT_TRUE(job.Start());
    DWORD started = GetTickCount();
    StopJob(job);
    EXPECT_LT(GetTickCount() - started, 2000u);
    EXPECT_EQ(0u, job.GetExitCode());

    TestJob neverStarted(RunUntilStopped);
    StopJob(neverStarted);
    EXPECT_EQ(6u, neverStarted.GetExitCode());
}

// 259 is also what GetExitCode reports for a running thread: only the wait on
// the thread's handle can tell that the job has ended.
TEST(JobControl, AJobThatReturned259HasEnded) {
    struct Run {
        std::shared_ptr<TestJob> job = std::make_shared<TestJob>(ReturnResult);
        KernelHandle ownerStop{CreateEventW(nullptr, TRUE, TRUE, nullptr)};
        DWORD result = 0, stoppedResult = 0;
        std::function<void()> call = [this] {
            result = RunJob(job);
            stoppedResult = WaitForJob(*job, ownerStop.get());
            StopJob(*job);
        };
    };
    auto* run = new Run;  // kept when a wait spins on
    run->job->result = STILL_ACTIVE;
    ASSERT_TRUE(ReturnsInTime(&run->call));
    EXPECT_EQ(DWORD(STILL_ACTIVE), run->result);
    EXPECT_EQ(DWORD(STILL_ACTIVE), run->stoppedResult);
    delete run;
}
