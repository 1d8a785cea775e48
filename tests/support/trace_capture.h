// Records what this process sends to the debugger output (OutputDebugString)
// while the capture exists. Wine raises only the ANSI exception for
// OutputDebugStringW, Windows the wide one first; both are taken. Lines come
// from any thread of the process. One capture at a time.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace wendaro_test {

class TraceCapture {
public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    // Every text sent so far, in order, exactly as sent (CR LF included).
    std::vector<std::wstring> Lines() const;
    // The lines sent by one thread.
    std::vector<std::wstring> LinesOfThread(DWORD threadId) const;
    void Clear();
    // Called with each text as it is sent, on the sending thread, which
    // waits for it: a test acts at that point of the sender's work. Set it
    // before the sender starts.
    void OnLine(std::function<void(const std::wstring&)> hook) { m_hook = std::move(hook); }

private:
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* info);
    void Add(std::wstring text);

    struct Line {
        DWORD threadId;
        std::wstring text;
    };
    mutable std::mutex m_mutex;
    std::vector<Line> m_lines;
    std::function<void(const std::wstring&)> m_hook;
    PVOID m_handler;
};

}  // namespace wendaro_test
