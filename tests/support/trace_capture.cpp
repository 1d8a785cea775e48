#include "trace_capture.h"

#include <atomic>

#ifndef DBG_PRINTEXCEPTION_WIDE_C
#define DBG_PRINTEXCEPTION_WIDE_C 0x4001000AL
#endif

namespace wendaro_test {
namespace {

std::atomic<TraceCapture*> activeCapture{nullptr};

std::wstring Widen(const char* text, size_t length) {
    if (!text || length == 0) return {};
    int count = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    std::wstring wide(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), &wide[0], count);
    return wide;
}

}  // namespace

TraceCapture::TraceCapture() : m_handler(nullptr) {
    activeCapture.store(this);
    m_handler = AddVectoredExceptionHandler(1, Handler);
}

TraceCapture::~TraceCapture() {
    RemoveVectoredExceptionHandler(m_handler);
    activeCapture.store(nullptr);
}

std::vector<std::wstring> TraceCapture::Lines() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::wstring> texts;
    for (const Line& line : m_lines) texts.push_back(line.text);
    return texts;
}

std::vector<std::wstring> TraceCapture::LinesOfThread(DWORD threadId) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::wstring> texts;
    for (const Line& line : m_lines) {
        if (line.threadId == threadId) texts.push_back(line.text);
    }
    return texts;
}

void TraceCapture::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.clear();
}

void TraceCapture::Add(std::wstring text) {
    if (m_hook) m_hook(text);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.push_back({GetCurrentThreadId(), std::move(text)});
}

// The exception arguments: the length with the terminator and the text; the
// wide form carries the wide text first, then the ANSI one.
LONG CALLBACK TraceCapture::Handler(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    TraceCapture* capture = activeCapture.load();
    if (!capture || record->NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
    size_t length = static_cast<size_t>(record->ExceptionInformation[0]);
    if (length > 0) --length;
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C) {
        const auto* text = reinterpret_cast<const wchar_t*>(record->ExceptionInformation[1]);
        capture->Add(text ? std::wstring(text, length) : std::wstring());
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_C) {
        capture->Add(Widen(reinterpret_cast<const char*>(record->ExceptionInformation[1]), length));
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace wendaro_test
