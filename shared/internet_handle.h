// WinINet handles (root, connection, request) closed by their owner's scope.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "shared/handle.h"

struct InternetHandleTraits {
    using type = HINTERNET;
    static type none() noexcept { return nullptr; }
    static bool valid(type h) noexcept { return h != nullptr; }
    static void close(type h) noexcept { InternetCloseHandle(h); }
};
using InternetHandle = UniqueHandle<InternetHandleTraits>;
