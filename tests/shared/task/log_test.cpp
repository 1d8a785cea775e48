#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "shared/task/debug_info.h"
#include "shared/task/log.h"
#include "shared/task/thread.h"
#include "tests/support/registry_guard.h"
#include "tests/support/trace_capture.h"

using namespace VELQTASKCOMMON;
using namespace wendaro_test;

namespace {

const wchar_t MachineKey[] = L"SOFTWARE\\Dravik\\Wendaro";

// Stands in for the event log, which Wine only stubs.
struct FakeEventLog {
    struct Event {
        HANDLE source;
        WORD type;
        WORD category;
        DWORD id;
        WORD stringCount;
        std::wstring text;
    };
    static inline std::vector<std::wstring> registeredNames;
    static inline std::vector<Event> events;
    static inline std::vector<HANDLE> deregistered;
    static inline bool refuseRegistration = false;

    static HANDLE WINAPI Register(LPCWSTR, LPCWSTR name) {
        registeredNames.push_back(name);
        return refuseRegistration ? nullptr : Source();
    }
    static BOOL WINAPI Report(HANDLE source, WORD type, WORD category, DWORD id, PSID,
                              WORD count, DWORD, LPCWSTR* strings, LPVOID) {
        events.push_back({source, type, category, id, count, count ? strings[0] : L""});
        return TRUE;
    }
    static BOOL WINAPI Deregister(HANDLE source) {
        deregistered.push_back(source);
        return TRUE;
    }
    static HANDLE Source() { return reinterpret_cast<HANDLE>(0x5eed); }
};

class EventLog : public ::testing::Test {
protected:
    void SetUp() override {
        FakeEventLog::registeredNames.clear();
        FakeEventLog::events.clear();
        FakeEventLog::deregistered.clear();
        FakeEventLog::refuseRegistration = false;
        m_previous = SetEventLogApi(
            {FakeEventLog::Register, FakeEventLog::Report, FakeEventLog::Deregister});
    }
    void TearDown() override { SetEventLogApi(m_previous); }

    static void EnableDebugInfo() { SetDword(HKEY_LOCAL_MACHINE, MachineKey, L"DebugInfo", 1); }

    ProductRegistry m_registry;
    EventLogApi m_previous{};
};

DWORD WINAPI ReturnZero(LPVOID) { return 0; }

}  // namespace

TEST(DebugInfo, OnlyANonZeroDwordTurnsItOn) {
    ProductRegistry registry;
    EXPECT_FALSE(IsDebugInfoEnabled());  // no key at all
    SetDword(HKEY_LOCAL_MACHINE, MachineKey, L"DebugInfo", 0);
    EXPECT_FALSE(IsDebugInfoEnabled());
    SetDword(HKEY_LOCAL_MACHINE, MachineKey, L"DebugInfo", 1);
    EXPECT_TRUE(IsDebugInfoEnabled());
    SetDword(HKEY_LOCAL_MACHINE, MachineKey, L"DebugInfo", 2);
    EXPECT_TRUE(IsDebugInfoEnabled());
    SetString(HKEY_LOCAL_MACHINE, MachineKey, L"DebugInfo", L"1");
    EXPECT_FALSE(IsDebugInfoEnabled());
}

TEST_F(EventLog, EveryJobRegistersTheSourceAndDeregistersIt) {
    {
        CVELQThread job;
        EXPECT_EQ(FakeEventLog::Source(), job.eventSource);
        EXPECT_FALSE(job.debugEnabled);
    }
    ASSERT_EQ(1u, FakeEventLog::registeredNames.size());
    EXPECT_EQ(L"DravikVELQZeroC", FakeEventLog::registeredNames[0]);
    ASSERT_EQ(1u, FakeEventLog::deregistered.size());
    EXPECT_EQ(FakeEventLog::Source(), FakeEventLog::deregistered[0]);
}

TEST_F(EventLog, StartingAJobWritesNothingEvenWithDebugInfoOn) {
    EnableDebugInfo();
    CVELQThread job;
    ASSERT_TRUE(job.debugEnabled);
    job.threadRoutine = ReturnZero;
    ASSERT_TRUE(job.Start());
    WaitForSingleObject(job.threadHandle, 10000);
    EXPECT_TRUE(FakeEventLog::events.empty());
}

TEST_F(EventLog, ErrorsAndInformationAreWrittenWithTheEventBits) {
    EnableDebugInfo();
    CVELQThread job;
    job.LogEvent(EVENTLOG_ERROR_TYPE, 3, 0x100, L"failed %s %d", L"download", 7);
    job.LogEvent(EVENTLOG_INFORMATION_TYPE, 1, 0x2, L"done");
    ASSERT_EQ(2u, FakeEventLog::events.size());
    const FakeEventLog::Event& error = FakeEventLog::events[0];
    EXPECT_EQ(FakeEventLog::Source(), error.source);
    EXPECT_EQ(EVENTLOG_ERROR_TYPE, error.type);
    EXPECT_EQ(3, error.category);
    EXPECT_EQ(0x50020100u, error.id);
    EXPECT_EQ(1, error.stringCount);
    EXPECT_EQ(L"failed download 7", error.text);
    EXPECT_EQ(EVENTLOG_INFORMATION_TYPE, FakeEventLog::events[1].type);
    EXPECT_EQ(0x50020002u, FakeEventLog::events[1].id);
}

TEST_F(EventLog, OtherTypesEmptyTextsNoSourceAndDebugOffWriteNothing) {
    {
        CVELQThread job;
        job.LogEvent(EVENTLOG_ERROR_TYPE, 1, 1, L"debug off");
    }
    EnableDebugInfo();
    {
        CVELQThread job;
        job.LogEvent(0, 3, 0x100, L"Create Thread!");
        job.LogEvent(EVENTLOG_WARNING_TYPE, 1, 1, L"warning");
        job.LogEvent(EVENTLOG_AUDIT_SUCCESS, 1, 1, L"audit");
        job.LogEvent(EVENTLOG_ERROR_TYPE, 1, 1, L"");
    }
    FakeEventLog::refuseRegistration = true;
    {
        CVELQThread job;
        EXPECT_EQ(nullptr, job.eventSource);
        job.LogEvent(EVENTLOG_ERROR_TYPE, 1, 1, L"no source");
    }
    EXPECT_TRUE(FakeEventLog::events.empty());
    EXPECT_EQ(2u, FakeEventLog::deregistered.size());  // not the one refused
}

TEST_F(EventLog, LongTextsAreCutTo259Characters) {
    EnableDebugInfo();
    CVELQThread job;
    std::wstring text(400, L'e');
    job.LogEvent(EVENTLOG_ERROR_TYPE, 1, 1, L"%s", text.c_str());
    ASSERT_EQ(1u, FakeEventLog::events.size());
    EXPECT_EQ(text.substr(0, 259), FakeEventLog::events[0].text);
}

TEST(Trace, SendsTheMessageWithTheThreadIdAndCrLfUnlessEmpty) {
    CVELQThread job;
    TraceCapture capture;
    job.Trace(L"abc");
    job.Trace(L"%s complete<%d> %x", L"__VELQHttpRetrieve", 12029, 0x1a2b);
    job.Trace(L"");
    job.Trace(L"%s", L"");  // empty messages send nothing
    wchar_t thread[32];
    _snwprintf_s(thread, 32, _TRUNCATE, L"[Thread:%lu]\r\n", GetCurrentThreadId());
    std::vector<std::wstring> lines = capture.LinesOfThread(GetCurrentThreadId());
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(std::wstring(L"abc") + thread, lines[0]);
    EXPECT_EQ(std::wstring(L"__VELQHttpRetrieve complete<12029> 1a2b") + thread, lines[1]);
}

TEST(Trace, CarriesTheIdOfTheCallingThread) {
    CVELQThread job;
    TraceCapture capture;
    DWORD otherId = 0;
    std::thread other([&] {
        otherId = GetCurrentThreadId();
        job.Trace(L"from worker");
    });
    other.join();
    wchar_t expected[64];
    _snwprintf_s(expected, 64, _TRUNCATE, L"from worker[Thread:%lu]\r\n", otherId);
    std::vector<std::wstring> lines = capture.LinesOfThread(otherId);
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(expected, lines[0]);
}

TEST(Trace, LongMessagesAreCutTo1023Characters) {
    CVELQThread job;
    TraceCapture capture;
    std::wstring message(2000, L'm');
    job.Trace(L"%s", message.c_str());
    // The message fills the line, so the thread id and CR LF are cut off.
    std::vector<std::wstring> lines = capture.LinesOfThread(GetCurrentThreadId());
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(message.substr(0, 1023), lines[0]);

    capture.Clear();
    std::wstring shorter(1015, L's');
    job.Trace(L"%s", shorter.c_str());
    wchar_t suffix[32];
    _snwprintf_s(suffix, 32, _TRUNCATE, L"[Thread:%lu]\r\n", GetCurrentThreadId());
    lines = capture.LinesOfThread(GetCurrentThreadId());
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ((shorter + suffix).substr(0, 1023), lines[0]);
}
