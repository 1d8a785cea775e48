#include "shared/task/log.h"

#include <stdarg.h>
#include <stdio.h>

#include "shared/task/debug_info.h"

namespace VELQTASKCOMMON {
namespace {

const EventLogApi SystemEventLogApi = {RegisterEventSourceW, ReportEventW, DeregisterEventSource};

// Replaced only by tests, while no job exists.
EventLogApi currentApi = SystemEventLogApi;

}  // namespace

EventLogApi SetEventLogApi(const EventLogApi& api) {
    EventLogApi next = SystemEventLogApi;
    if (api.registerSource) next.registerSource = api.registerSource;
    if (api.report) next.report = api.report;
    if (api.deregisterSource) next.deregisterSource = api.deregisterSource;
    EventLogApi previous = currentApi;
    currentApi = next;
    return previous;
}

CVELQLog::CVELQLog()
    : eventSource(currentApi.registerSource(nullptr, EventLogSourceName)),
      debugEnabled(IsDebugInfoEnabled()) {}

CVELQLog::~CVELQLog() {
    if (eventSource) currentApi.deregisterSource(eventSource);
}

void CVELQLog::LogEvent(WORD type, WORD category, WORD eventNumber, const wchar_t* format, ...) {
    if (!debugEnabled) return;

    wchar_t text[260] = {};
    va_list args;
    va_start(args, format);
    _vsnwprintf_s(text, 260, _TRUNCATE, format, args);
    va_end(args);

    if (text[0] == L'\0' || !eventSource) return;
    if (type != EVENTLOG_ERROR_TYPE && type != EVENTLOG_INFORMATION_TYPE) return;
    LPCWSTR strings[1] = {text};
    currentApi.report(eventSource, type, category, eventNumber | EventIdBits, nullptr, 1, 0,
                             strings, nullptr);
}

void CVELQLog::Trace(const wchar_t* format, ...) {
    wchar_t message[1024] = {};
    va_list args;
    va_start(args, format);
    _vsnwprintf_s(message, 1024, _TRUNCATE, format, args);
    va_end(args);
    if (message[0] == L'\0') return;

    wchar_t line[1024] = {};
    _snwprintf_s(line, 1024, _TRUNCATE, L"%s[Thread:%d]\r\n", message,
                 static_cast<int>(GetCurrentThreadId()));
    OutputDebugStringW(line);
}

}  // namespace VELQTASKCOMMON
