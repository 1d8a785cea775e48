// Scoped GDI pieces for code that works on raw handles: a GDI object deleted
// with DeleteObject, a memory device context deleted with DeleteDC, a
// window's device context released with ReleaseDC, and an object selected
// into a device context for a scope. Declare them in the order object, device
// context, selection: scopes end in reverse, so the old object is selected
// back before the device context and the object go.
#pragma once

#include <windows.h>

#include "shared/handle.h"

template <class T>
struct GdiObjectTraits : NullHandleTraits<T> {
    static void close(T h) noexcept { DeleteObject(h); }
};
using GdiBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;

// Only for device contexts made with CreateCompatibleDC; window DCs are
// released, not deleted.
struct MemoryDcTraits : NullHandleTraits<HDC> {
    static void close(type h) noexcept { DeleteDC(h); }
};
using MemoryDc = UniqueHandle<MemoryDcTraits>;

// A window's device context (GetDC; null: the screen's), released to that
// window at the end of the scope. Null when GetDC failed.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : m_window(window), m_dc(GetDC(window)) {}
    ~WindowDc() {
        if (m_dc) ReleaseDC(m_window, m_dc);
    }

    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const noexcept { return m_dc; }
    explicit operator bool() const noexcept { return m_dc != nullptr; }

private:
    HWND m_window;
    HDC m_dc;
};

// Selects an object into a device context; the destructor selects back what
// was selected before. A failed selection leaves nothing to put back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (m_previous) SelectObject(m_dc, m_previous);
    }

    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};
