// CFileFind: enumerates the entries that match a pattern.
//
// FindFile fetches the first entry but makes none current; each
// FindNextFile makes the fetched entry current and fetches the next one. It
// returns FALSE when the entry it made current is the last (that entry is
// still valid), so a loop handles the current entry after every call.
#pragma once

#include <windows.h>

#include "framework/object.h"
#include "framework/text.h"

class CFileFind : public CObject {
public:
    CFileFind() = default;
    ~CFileFind() override;
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // A pattern of MAX_PATH characters or more fails.
    BOOL FindFile(LPCWSTR pstrName);
    BOOL FindNextFile();
    void Close();

    CString GetFileName() const;
    BOOL IsDirectory() const;

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW m_found{};
    WIN32_FIND_DATAW m_next{};
    BOOL m_hasFound = FALSE;
    BOOL m_hasNext = FALSE;
};
