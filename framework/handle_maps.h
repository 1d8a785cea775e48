// Temporary wrappers that FromHandle makes, per thread, for handles no
// object owns. They live as long as the thread (pointers to them may be kept
// across nested modal loops) and let go of their handles, without closing
// them, when the thread ends.
#pragma once

#include <windows.h>

#include <memory>
#include <unordered_map>

namespace afxmap {

// Holder(Object&) is the member that keeps the handle (m_hWnd, m_hDC, ...).
template <class Object, class Handle, Handle& (*Holder)(Object&)>
class TemporaryMap {
public:
    TemporaryMap() = default;
    TemporaryMap(const TemporaryMap&) = delete;
    TemporaryMap& operator=(const TemporaryMap&) = delete;
    ~TemporaryMap() {
        for (auto& entry : m_objects) Holder(*entry.second) = nullptr;
    }

    Object* Get(Handle handle) {
        std::unique_ptr<Object>& object = m_objects[handle];
        if (!object) {
            object = std::make_unique<Object>();
            Holder(*object) = handle;
        }
        return object.get();
    }

private:
    std::unordered_map<Handle, std::unique_ptr<Object>> m_objects;
};

}  // namespace afxmap
