// A point in time that a job or a whole run must not pass, as a value: the
// owner computes it once and hands it to whatever must end by then.
//
//   Deadline deadline = Deadline::In(60000).Earlier(runDeadline);
//   if (deadline.Expired()) ...;
//   WaitForSingleObject(thread, deadline.Share(500));
#pragma once

#include <windows.h>

#include <algorithm>

namespace VELQTASKCOMMON {

class Deadline {
public:
    // No bound at all: Left() is INFINITE and it never expires.
    static Deadline Never() { return Deadline(~0ull); }
    static Deadline In(DWORD milliseconds) { return Deadline(GetTickCount64() + milliseconds); }

    bool Expired() const { return GetTickCount64() >= m_tick; }
    // Milliseconds left, 0 once expired; INFINITE for Never.
    DWORD Left() const {
        if (m_tick == ~0ull) return INFINITE;
        ULONGLONG now = GetTickCount64();
        return now >= m_tick ? 0 : static_cast<DWORD>(std::min<ULONGLONG>(m_tick - now, INFINITE - 1));
    }
    // The next wait: at most longest, and never past the deadline.
    DWORD Share(DWORD longest) const { return std::min(Left(), longest); }
    Deadline Earlier(Deadline other) const { return Deadline(std::min(m_tick, other.m_tick)); }
    // A moment before this one.
    Deadline Before(DWORD milliseconds) const {
        return m_tick == ~0ull ? *this : Deadline(m_tick - std::min<ULONGLONG>(m_tick, milliseconds));
    }

private:
    explicit Deadline(ULONGLONG tick) : m_tick(tick) {}
    ULONGLONG m_tick;  // GetTickCount64 value
};

}  // namespace VELQTASKCOMMON
