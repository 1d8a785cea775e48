// The event-log writer and the debug trace under every job.
#pragma once

#include <windows.h>

namespace VELQTASKCOMMON {

inline constexpr wchar_t EventLogSourceName[] = L"DravikVELQZeroC";
// ORed into every event number written.
inline constexpr DWORD EventIdBits = 0x50020000;

class CVELQLog {
public:
    CVELQLog();
    virtual ~CVELQLog();
    CVELQLog(const CVELQLog&) = delete;
    CVELQLog& operator=(const CVELQLog&) = delete;

    // Writes an error (1) or information (4) event when DebugInfo was on at
    // construction; any other type is dropped. Texts longer than 259
    // characters are cut.
    void LogEvent(WORD type, WORD category, WORD eventNumber, const wchar_t* format, ...);
    // Always on: sends "<message>[Thread:<id>]\r\n" to the debugger output.
    // Messages are cut to 1023 characters; an empty one sends nothing.
    void Trace(const wchar_t* format, ...);

    HANDLE eventSource;  // null when the source could not be registered
    BOOL debugEnabled;
};

// The three event-log calls, replaceable because the event log is a stub under
// Wine and tests need to see what would be written. Passing null members
// restores the system's functions. Returns the set that was in use. Not
// thread-safe: replace it only while no job exists.
struct EventLogApi {
    HANDLE(WINAPI* registerSource)(LPCWSTR server, LPCWSTR sourceName);
    BOOL(WINAPI* report)(HANDLE source, WORD type, WORD category, DWORD eventId, PSID userSid,
                         WORD stringCount, DWORD dataSize, LPCWSTR* strings, LPVOID rawData);
    BOOL(WINAPI* deregisterSource)(HANDLE source);
};
EventLogApi SetEventLogApi(const EventLogApi& api);

}  // namespace VELQTASKCOMMON
