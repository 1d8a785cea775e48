// How every download of the update run replaces stored data: the job writes
// a side file, the side file is checked for being what it claims to be, and
// only then put in the stored file's place. The side file never stays.
//
//   auto job = std::make_shared<CVELQHttpFile>();  ...url, side file, cached copy...
//   StoredFile list{listPath, IsProductListFile, Placing::Copy};
//   DWORD result = DownloadIntoPlace(job, list, stopEvent, runDeadline);
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "catalogue/http_file.h"
#include "shared/task/deadline.h"

namespace VELQCOMMON {

enum class Placing {
    Copy,    // CopyFileOpenAccess: the stored file gets the open-access rights
    Rename,  // the side file lies beside the stored one and keeps the server's time
};

struct StoredFile {
    std::wstring path;
    bool (*isWhole)(const std::wstring& sideFile);
    Placing placing;
};

// Runs the download (RunDownload) into the job's target, its side file. The
// job's result when it failed; ERROR_SUCCESS when the server's copy was
// unchanged (nothing to place) or the side file took the stored one's place
// (a failed copy is not reported: the stored file stays as it was);
// ERROR_INVALID_DATA when the check refused the side file; the error of a
// failed rename.
DWORD DownloadIntoPlace(const std::shared_ptr<CVELQHttpFile>& job, const StoredFile& stored,
                        HANDLE ownerStopEvent, VELQTASKCOMMON::Deadline ownerDeadline);

}  // namespace VELQCOMMON
