#include "tests/support/gdiplus_session.h"

// GDI+'s C++ headers expect min and max and the object model from these.
#include <algorithm>
using std::max;
using std::min;
#include <objidl.h>
#include <gdiplus.h>

namespace wendaro_test {

GdiPlusSession::GdiPlusSession() {
    Gdiplus::GdiplusStartupInput input;
    m_started = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
}

GdiPlusSession::~GdiPlusSession() {
    if (m_started) Gdiplus::GdiplusShutdown(m_token);
}

}  // namespace wendaro_test
