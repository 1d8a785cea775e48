// The files an update run works in before what they hold takes a stored
// file's place: temporary downloads in the temporary folder, copy side files
// beside a stored file and picture side files in a picture folder. Each name
// carries the id of the process that made it:
//   <prefix><pid>-<n>.tmp         a download (the prefix is TempFilePrefix)
//   <stored name>.~<pid>-<tid>    a copy on its way to the stored name
//   ~picNN.<pid>.part             picture NN on its way to picNN.<ext>
// Several runs work side by side, and any of them can be ended at any moment
// (its budget, a log-off, a kill). The id lets a later run tell what an ended
// run left from what a running one still needs, also while that run holds the
// file closed between two of its steps.
#pragma once

#include <windows.h>

#include <string>

// A temporary name of this process in the folder (with its backslash); n
// tells the process's names apart.
std::wstring TemporaryWorkFile(const std::wstring& folder, const std::wstring& prefix, unsigned n);
// Where a copy to destination is written first (one per process and thread).
std::wstring CopySideFile(const std::wstring& destination);
// Where picture number (1-5) is downloaded first, in its folder.
std::wstring PictureSideFile(const std::wstring& folder, int number);

// The process that made a work file of that name (no folder); 0 when the
// name is none of the program's work files.
DWORD WorkFileOwner(const std::wstring& name);

// Removes the work files of the folder (with its backslash) that match the
// pattern and whose process has ended. With ownToo, also this process's own,
// which only a run that is about to end may ask for: its jobs open their
// files sharing deletion, so they go once the process lets go of them. A file
// that another process still holds open stays. One directory search.
void RemoveLeftWorkFiles(const std::wstring& folder, const std::wstring& pattern, bool ownToo);
