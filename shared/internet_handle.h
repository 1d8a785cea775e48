// WinINet handles (root, connection, request) closed by their owner's scope.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "shared/handle.h"

struct InternetHandleTraits : NullHandleTraits<HINTERNET> {
    static void close(type h) noexcept { InternetCloseHandle(h); }
};
using InternetHandle = UniqueHandle<InternetHandleTraits>;
