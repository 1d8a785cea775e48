// A small move-only owner for Win32 handles. Each kind of handle says by its
// traits what "no handle" is and how to close one.
#pragma once

#include <windows.h>

#include <utility>

template <class Traits>
class UniqueHandle {
public:
    using handle_type = typename Traits::type;

    UniqueHandle() noexcept : m_handle(Traits::none()) {}
    explicit UniqueHandle(handle_type handle) noexcept : m_handle(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    handle_type get() const noexcept { return m_handle; }
    bool valid() const noexcept { return Traits::valid(m_handle); }
    explicit operator bool() const noexcept { return valid(); }

    // For APIs that return a handle through an out parameter.
    handle_type* put() noexcept {
        reset();
        return &m_handle;
    }

    handle_type release() noexcept { return std::exchange(m_handle, Traits::none()); }

    void reset(handle_type handle = Traits::none()) noexcept {
        if (Traits::valid(m_handle)) Traits::close(m_handle);
        m_handle = handle;
    }

private:
    handle_type m_handle;
};

// Traits for handles whose "none" is NULL; each kind adds its close().
template <class T>
struct NullHandleTraits {
    using type = T;
    static type none() noexcept { return nullptr; }
    static bool valid(type h) noexcept { return h != nullptr; }
};

// Kernel objects: files, events, threads, processes. Both NULL and
// INVALID_HANDLE_VALUE mean "none", because the APIs use one or the other.
struct KernelHandleTraits {
    using type = HANDLE;
    static type none() noexcept { return nullptr; }
    static bool valid(type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(type h) noexcept { CloseHandle(h); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

struct RegKeyTraits : NullHandleTraits<HKEY> {
    static void close(type h) noexcept { RegCloseKey(h); }
};
using RegKey = UniqueHandle<RegKeyTraits>;

struct FindHandleTraits {
    using type = HANDLE;
    static type none() noexcept { return INVALID_HANDLE_VALUE; }
    static bool valid(type h) noexcept { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void close(type h) noexcept { FindClose(h); }
};
using FindHandle = UniqueHandle<FindHandleTraits>;
