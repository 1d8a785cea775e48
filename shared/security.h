// The open-access security attributes: a present but null DACL, which grants
// every user full access. Used for the folders below the data folder, copied
// and downloaded files, and the named event, so that the prompt's process and
// an update child of another user can share them. Build one for each call.
#pragma once

#include <windows.h>

class OpenAccessAttributes {
public:
    OpenAccessAttributes();
    OpenAccessAttributes(const OpenAccessAttributes&) = delete;
    OpenAccessAttributes& operator=(const OpenAccessAttributes&) = delete;

    SECURITY_ATTRIBUTES* get() { return &m_attributes; }

private:
    SECURITY_DESCRIPTOR m_descriptor;
    SECURITY_ATTRIBUTES m_attributes;
};
