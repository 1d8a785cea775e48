// How every download of the update run replaces stored data: the job writes
// a side file, the side file is checked for being what it claims to be, and
// only then put in the stored file's place. The side file never stays.
//
//   auto job = std::make_shared<CVELQHttpFile>();  ...url, side file, cached copy...
//   StoredFile list{listPath, IsProductListFile, Placing::Copy};
//   Placement placement = DownloadIntoPlace(job, list, stopEvent, runDeadline);
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
    // Whether the side file is of the stored file's kind (a mapping table, a
    // product list, a picture the carousel shows).
    bool (*isOfKind)(const std::wstring& sideFile);
    Placing placing;
};

// What became of a download and its side file.
struct Placement {
    enum class What {
        Placed,     // the side file took the stored one's place
        Unchanged,  // the server's copy is the stored one: nothing to place
        Refused,    // the side file is not of the stored file's kind
        Failed,     // the download failed
        NotPlaced,  // downloaded, yet the copy or rename into the stored
                    // file's place failed: the stored file stays as it was
    } what;
    DWORD error;  // Failed: the job's result; NotPlaced: the copy's or the
                  // rename's error; else 0

    // As one result code: 0 when placed or unchanged, ERROR_INVALID_DATA when
    // refused, else the error.
    DWORD Code() const;
};

// Runs the download (RunDownload) into the job's target, its side file, and
// puts a side file of the stored file's kind in its place.
Placement DownloadIntoPlace(const std::shared_ptr<CVELQHttpFile>& job, const StoredFile& stored,
                            HANDLE ownerStopEvent, VELQTASKCOMMON::Deadline ownerDeadline);

}  // namespace VELQCOMMON
