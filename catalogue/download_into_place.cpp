#include "catalogue/download_into_place.h"

#include "shared/files.h"

namespace VELQCOMMON {
namespace {

Placement PutInPlace(const std::wstring& sideFile, const StoredFile& stored) {
    if (!stored.isOfKind(sideFile)) return {Placement::What::Refused, ERROR_SUCCESS};
    bool placed = stored.placing == Placing::Copy
                      ? CopyFileOpenAccess(sideFile, stored.path) != FALSE
                      : MoveFileExW(sideFile.c_str(), stored.path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    if (placed) return {Placement::What::Placed, ERROR_SUCCESS};
    return {Placement::What::NotPlaced, GetLastError()};
}

}  // namespace

DWORD Placement::Code() const {
    if (what == What::Refused) return ERROR_INVALID_DATA;
    return what == What::Failed || what == What::NotPlaced ? error : DWORD(ERROR_SUCCESS);
}

Placement DownloadIntoPlace(const std::shared_ptr<CVELQHttpFile>& job, const StoredFile& stored,
                            HANDLE ownerStopEvent, VELQTASKCOMMON::Deadline ownerDeadline) {
    const std::wstring sideFile = job->GetTargetPath();
    DWORD result = RunDownload(job, ownerStopEvent, ownerDeadline);
    Placement placement{Placement::What::Failed, result};
    // An unchanged copy wrote nothing.
    if (result == ERROR_SUCCESS) {
        placement = job->contentChanged ? PutInPlace(sideFile, stored)
                                        : Placement{Placement::What::Unchanged, ERROR_SUCCESS};
    }
    // Also when a job given up on still writes it: the file was opened for
    // sharing its deletion, and goes once that job lets go of it.
    DeleteFileW(sideFile.c_str());
    return placement;
}

}  // namespace VELQCOMMON
