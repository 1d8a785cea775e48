#include "shared/task/named_event.h"

#include "shared/security.h"

HANDLE CreateNamedEvent(std::wstring suffix, std::wstring prefix) {
    std::wstring name = prefix + suffix;
    OpenAccessAttributes attributes;
    return CreateEventW(attributes.get(), TRUE, FALSE, name.c_str());
}

HANDLE OpenNamedEvent(std::wstring suffix, std::wstring prefix) {
    std::wstring name = prefix + suffix;
    return OpenEventW(EVENT_ALL_ACCESS, FALSE, name.c_str());
}
