// The file a prompt or an update run is about, and the store category its
// extension maps to. Passed by value between the run modes, the two prompt
// dialogs, the update worker and the picture watcher.
#pragma once

#include <string>

struct FileTarget {
    std::wstring filePath;
    std::wstring categoryId;  // empty when the extension has no category
};
