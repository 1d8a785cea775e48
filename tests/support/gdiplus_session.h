// GDI+ started for a scope, as the program starts it before any run mode:
// the carousel's loader and the update run's picture check need it.
#pragma once

#include <windows.h>

namespace wendaro_test {

class GdiPlusSession {
public:
    GdiPlusSession();
    ~GdiPlusSession();
    GdiPlusSession(const GdiPlusSession&) = delete;
    GdiPlusSession& operator=(const GdiPlusSession&) = delete;

    bool started() const { return m_started; }

private:
    ULONG_PTR m_token = 0;
    bool m_started = false;
};

}  // namespace wendaro_test
