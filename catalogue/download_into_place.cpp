#include "catalogue/download_into_place.h"

#include "shared/files.h"

namespace VELQCOMMON {
namespace {

DWORD PutInPlace(const std::wstring& sideFile, const StoredFile& stored) {
    if (!stored.isWhole(sideFile)) return ERROR_INVALID_DATA;
    if (stored.placing == Placing::Copy) {
        CopyFileOpenAccess(sideFile, stored.path);
        return ERROR_SUCCESS;
    }
    if (MoveFileExW(sideFile.c_str(), stored.path.c_str(), MOVEFILE_REPLACE_EXISTING)) return ERROR_SUCCESS;
    return GetLastError();
}

}  // namespace

DWORD DownloadIntoPlace(const std::shared_ptr<CVELQHttpFile>& job, const StoredFile& stored,
                        HANDLE ownerStopEvent, VELQTASKCOMMON::Deadline ownerDeadline) {
    const std::wstring sideFile = job->GetTargetPath();
    DWORD result = RunDownload(job, ownerStopEvent, ownerDeadline);
    // An unchanged copy wrote nothing.
    if (result == ERROR_SUCCESS && job->contentChanged) result = PutInPlace(sideFile, stored);
    // Also when a job given up on still writes it: the file was opened for
    // sharing its deletion, and goes once that job lets go of it.
    DeleteFileW(sideFile.c_str());
    return result;
}

}  // namespace VELQCOMMON
