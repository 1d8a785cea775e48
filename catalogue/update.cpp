#include "catalogue/update.h"

#include <ole2.h>

#include <utility>

#include "catalogue/category.h"
#include "catalogue/mapping_table.h"
#include "catalogue/mt_mgr.h"
#include "catalogue/update_due.h"
#include "shared/files.h"
#include "shared/handle.h"
#include "shared/paths.h"
#include "shared/settings.h"
#include "shared/task/job_control.h"
#include "shared/task/named_event.h"

namespace VELQCOMMON {
namespace {

// Tells a prompt's watcher, if one waits for this category, that its pictures
// are on disk. Without a watcher the event does not exist and nothing happens.
void SignalPicturesReady(const std::wstring& categoryId) {
    KernelHandle event(OpenNamedEvent(categoryId, PictureEventPrefix));
    if (event) SetEvent(event.get());
}

// The temporary file a job downloads into, removed when the step ends: it was
// copied into place, rejected, or left behind by a failed or stopped job.
// Made only once the job is about to start, so a step that downloads nothing
// never deletes a name that some other process may have been given since.
class DownloadedFile {
public:
    explicit DownloadedFile(std::wstring path) : m_path(std::move(path)) {}
    ~DownloadedFile() {
        if (!m_path.empty()) DeleteFileW(m_path.c_str());
    }
    DownloadedFile(const DownloadedFile&) = delete;
    DownloadedFile& operator=(const DownloadedFile&) = delete;

private:
    std::wstring m_path;
};

DWORD RunSteps(CVELQUpdate& worker) {
    DWORD result = worker.UpdateMappingTable();
    if (result != ERROR_SUCCESS) return result;

    FileTarget target = worker.GetTarget();
    if (target.filePath.empty() || target.categoryId.empty()) return ERROR_SUCCESS;
    result = worker.UpdateCategory();
    if (result != ERROR_SUCCESS) return result;
    SignalPicturesReady(target.categoryId);
    return ERROR_SUCCESS;
}

}  // namespace

CVELQUpdate::CVELQUpdate(std::wstring filePath, std::wstring categoryId) {
    target.filePath = filePath;
    target.categoryId = categoryId;
    threadRoutine = &CVELQUpdate::UpdateThread;
}

CVELQUpdate::~CVELQUpdate() = default;

FileTarget CVELQUpdate::GetTarget() const { return target; }

DWORD WINAPI CVELQUpdate::UpdateThread(LPVOID parameter) {
    auto* worker = static_cast<CVELQUpdate*>(parameter);
    OleInitialize(nullptr);
    DWORD result = RunSteps(*worker);
    OleUninitialize();
    return result;
}

DWORD CVELQUpdate::UpdateMappingTable() {
    // Built also when nothing is due, as the job's construction is cheap and
    // reads the local table's size and time for the "not changed" test.
    CVELQMappingTable job;
    job.notifyWindow = notifyWindow;
    if (!IsMappingTableUpdateDue()) return ERROR_SUCCESS;

    DownloadedFile downloaded(job.GetTargetPath());
    DWORD result = VELQTASKCOMMON::RunJob(job, stopEvent);
    if (result != ERROR_SUCCESS) return result;

    // An unchanged answer leaves no temporary file, which then fails the
    // test; the time stamp is written all the same, so that the next try is
    // 7 days away.
    if (IsValidXmlFile(job.GetTargetPath())) CopyFileOpenAccess(job.GetTargetPath(), job.localPath);
    WriteMappingTableUpdateTime();
    return ERROR_SUCCESS;
}

DWORD CVELQUpdate::UpdateCategory() {
    FileTarget current = GetTarget();
    // Creates the extension's picture folder, also when nothing is due.
    std::wstring path = GetCategoryXmlPath(current.categoryId, current.filePath);
    if (!IsFileUpdateDue(path)) return ERROR_SUCCESS;

    CVELQCategory job(current.categoryId, current.filePath);
    job.notifyWindow = notifyWindow;
    job.cachedWriteTime = GetFileWriteTime(path);
    job.cachedSize = GetFileSize32(path);
    DownloadedFile downloaded(job.GetTargetPath());
    DWORD result = VELQTASKCOMMON::RunJob(job, stopEvent);
    if (result != ERROR_SUCCESS) return result;

    // After an unchanged answer nothing was written and the stored list stays
    // as it is. Anything else replaces it only when it is a list: an error
    // page served as 200 would otherwise be trusted for 7 days. A rejected
    // list fails the step like a failed download, so the stored list keeps
    // its time and the next run asks again.
    if (job.contentChanged) {
        if (!IsValidXmlFile(job.GetTargetPath())) return ERROR_INVALID_DATA;
        CopyFileOpenAccess(job.GetTargetPath(), job.categoryXmlPath);
    }
    return DownloadPictures(path);
}

}  // namespace VELQCOMMON
