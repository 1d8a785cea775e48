#include "shared/security.h"

OpenAccessAttributes::OpenAccessAttributes() {
    m_attributes.nLength = sizeof m_attributes;
    m_attributes.bInheritHandle = FALSE;
    m_attributes.lpSecurityDescriptor = &m_descriptor;
    InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&m_descriptor, TRUE, nullptr, FALSE);
}
