#include "framework/file_find.h"

#include <cwchar>

CFileFind::~CFileFind() { Close(); }

BOOL CFileFind::FindFile(LPCWSTR pstrName) {
    Close();
    if (wcslen(pstrName) >= MAX_PATH) {
        ::SetLastError(ERROR_BAD_ARGUMENTS);
        return FALSE;
    }
    m_hFind = ::FindFirstFileW(pstrName, &m_next);
    if (m_hFind == INVALID_HANDLE_VALUE) return FALSE;
    m_hasNext = TRUE;
    return TRUE;
}

BOOL CFileFind::FindNextFile() {
    if (!m_hasNext) return FALSE;
    m_found = m_next;
    m_hasFound = TRUE;
    m_hasNext = ::FindNextFileW(m_hFind, &m_next) ? TRUE : FALSE;
    return m_hasNext;
}

void CFileFind::Close() {
    if (m_hFind != INVALID_HANDLE_VALUE) ::FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
    m_hasFound = m_hasNext = FALSE;
}

CString CFileFind::GetFileName() const { return m_hasFound ? CString(m_found.cFileName) : CString(); }

BOOL CFileFind::IsDirectory() const {
    return m_hasFound && (m_found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? TRUE : FALSE;
}
