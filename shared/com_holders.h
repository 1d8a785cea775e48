// Owners for COM pieces: interface pointers, BSTRs and VARIANTs. Each
// releases what it holds when it goes out of scope, so an early return never
// leaks an interface, a node or a string.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <new>
#include <string>
#include <utility>

namespace VELQCOMMON {

template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { reset(); }

    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : m_ptr(std::exchange(other.m_ptr, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            m_ptr = std::exchange(other.m_ptr, nullptr);
        }
        return *this;
    }

    T* get() const noexcept { return m_ptr; }
    T* operator->() const noexcept { return m_ptr; }
    explicit operator bool() const noexcept { return m_ptr != nullptr; }

    // For calls that hand out a new reference through an out parameter.
    T** put() noexcept {
        reset();
        return &m_ptr;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    void reset() noexcept {
        if (m_ptr) std::exchange(m_ptr, nullptr)->Release();
    }

private:
    T* m_ptr = nullptr;
};

class Bstr {
public:
    Bstr() noexcept = default;
    // Throws std::bad_alloc when the string cannot be allocated.
    explicit Bstr(const std::wstring& text)
        : m_bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
        if (!m_bstr) throw std::bad_alloc();
    }
    ~Bstr() { SysFreeString(m_bstr); }

    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR get() const noexcept { return m_bstr; }
    BSTR* put() noexcept {
        SysFreeString(std::exchange(m_bstr, nullptr));
        return &m_bstr;
    }
    BSTR release() noexcept { return std::exchange(m_bstr, nullptr); }

    // A null BSTR is the empty string.
    std::wstring str() const { return m_bstr ? std::wstring(m_bstr, SysStringLen(m_bstr)) : std::wstring(); }

private:
    BSTR m_bstr = nullptr;
};

class Variant {
public:
    Variant() noexcept { VariantInit(&m_value); }
    // A VT_BSTR variant holding a copy of the text; throws std::bad_alloc.
    explicit Variant(const std::wstring& text) : Variant() {
        Bstr copy(text);
        V_VT(&m_value) = VT_BSTR;
        V_BSTR(&m_value) = copy.release();
    }
    explicit Variant(bool flag) noexcept : Variant() {
        V_VT(&m_value) = VT_BOOL;
        V_BOOL(&m_value) = flag ? VARIANT_TRUE : VARIANT_FALSE;
    }
    ~Variant() { VariantClear(&m_value); }

    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    const VARIANT& get() const noexcept { return m_value; }
    VARIANT* put() noexcept {
        VariantClear(&m_value);
        return &m_value;
    }

    // The string a VT_BSTR variant holds; empty for anything else (VT_NULL
    // is what an attribute without a value gives).
    std::wstring str() const {
        if (V_VT(&m_value) != VT_BSTR || !V_BSTR(&m_value)) return std::wstring();
        return std::wstring(V_BSTR(&m_value), SysStringLen(V_BSTR(&m_value)));
    }

private:
    VARIANT m_value;
};

}  // namespace VELQCOMMON
