#include "catalogue/update.h"

#include <ole2.h>

#include <algorithm>
#include <memory>

#include "catalogue/cat_id_parser.h"
#include "catalogue/category.h"
#include "catalogue/download_into_place.h"
#include "catalogue/mapping_table.h"
#include "catalogue/mt_mgr.h"
#include "catalogue/update_due.h"
#include "shared/files.h"
#include "shared/handle.h"
#include "shared/paths.h"
#include "shared/settings.h"
#include "shared/task/named_event.h"
#include "shared/work_files.h"

namespace VELQCOMMON {
namespace {

// Tells a prompt's watcher, if one waits for this category, that its pictures
// are on disk. Without a watcher the event does not exist and nothing happens.
void SignalPicturesReady(const std::wstring& categoryId) {
    KernelHandle event(OpenNamedEvent(categoryId, PictureEventPrefix));
    if (event) SetEvent(event.get());
}

// What the run keeps after its last download.
constexpr DWORD WrapUpMs = 1000;

DWORD RunSteps(CVELQUpdate& worker) {
    RemoveRunWorkFiles(false);
    const DWORD table = worker.UpdateMappingTable();
    // A table downloaded but not copied leaves the stored one whole, and the
    // category was looked up there before the run began: a prompt waiting
    // for its pictures need not lose them because a reader held the table.
    // A failed download (the network) ends the run.
    if (table != ERROR_SUCCESS && worker.TablePlacement() != Placement::What::NotPlaced) return table;

    FileTarget target = worker.GetTarget();
    if (target.filePath.empty() || target.categoryId.empty()) return table;
    const DWORD category = worker.UpdateCategory();
    if (category == ERROR_SUCCESS) SignalPicturesReady(target.categoryId);
    // The first failure: the table's copy, when it failed, whatever the
    // category step did.
    return table != ERROR_SUCCESS ? table : category;
}

}  // namespace

void RemoveRunWorkFiles(bool ownToo) {
    RemoveLeftWorkFiles(GetTempFolder(), std::wstring(TempFilePrefix) + L"*.tmp", ownToo);
    const std::wstring data = GetProductDataFolder();
    if (data.empty()) return;  // no data folder: nothing relative to wherever the run stands
    RemoveLeftWorkFiles(data, L"*.~*", ownToo);
    // Every extension's picture folder, not only this run's: what a run for
    // another extension left would otherwise wait for that extension's next
    // prompt, which may never come.
    const std::wstring images = data + ImagesFolderName;
    WIN32_FIND_DATAW entry = {};
    FindHandle folders(FindFirstFileW((images + L"*").c_str(), &entry));
    if (!folders) return;
    do {
        const std::wstring name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
            RemoveLeftWorkFiles(images + name + L"\\", L"*~*", ownToo);
    } while (FindNextFileW(folders.get(), &entry));
}

UpdateTimeLimits ReadUpdateTimeLimits() {
    UpdateTimeLimits limits;
    wchar_t text[64] = {};
    DWORD length = GetEnvironmentVariableW(UpdateTimeLimitsVariable, text, ARRAYSIZE(text));
    if (length == 0 || length >= ARRAYSIZE(text)) return limits;
    unsigned long download = 0, run = 0;
    if (swscanf(text, L"%lu,%lu", &download, &run) != 2) return limits;
    // Only ever shorter, never longer.
    if (download > 0 && download < limits.downloadMs) limits.downloadMs = download;
    if (run > 0 && run < limits.runMs) limits.runMs = run;
    return limits;
}

CVELQUpdate::CVELQUpdate(std::wstring filePath, std::wstring categoryId)
    : limits(ReadUpdateTimeLimits()),
      runDeadline(VELQTASKCOMMON::Deadline::In(limits.runMs)) {
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

Placement CVELQUpdate::Download(const std::shared_ptr<CVELQHttpFile>& job, const StoredFile& stored) {
    job->notifyWindow = notifyWindow;
    job->timeLimitMs = limits.downloadMs;
    // Downloads end a moment before the run, to put the last one in place.
    VELQTASKCOMMON::Deadline downloadsEnd = runDeadline.Before(std::min(limits.runMs / 10, WrapUpMs));
    return DownloadIntoPlace(job, stored, stopEvent, downloadsEnd);
}

DWORD CVELQUpdate::UpdateMappingTable() {
    // Built also when nothing is due, as the job's construction is cheap and
    // reads the local table's size and time for the "not changed" test.
    auto job = std::make_shared<CVELQMappingTable>();
    tablePlacement = Placement::What::Unchanged;
    if (!IsMappingTableUpdateDue()) return ERROR_SUCCESS;

    Placement placement = Download(job, {job->localPath, IsMappingTableFile, Placing::Copy});
    tablePlacement = placement.what;
    // A table that is no mapping table is not copied, yet the time stamp is
    // written all the same, so that the next try is 7 days away. One that
    // failed to download or to be copied is tried again by the next run.
    if (placement.what == Placement::What::Failed || placement.what == Placement::What::NotPlaced)
        return placement.error;
    WriteMappingTableUpdateTime();
    return ERROR_SUCCESS;
}

DWORD CVELQUpdate::UpdateCategory() {
    FileTarget current = GetTarget();
    // Creates the extension's picture folder, also when nothing is due.
    std::wstring path = GetCategoryXmlPath(current.categoryId, current.filePath);
    if (!IsFileUpdateDue(path)) return ERROR_SUCCESS;

    auto job = std::make_shared<CVELQCategory>(current.categoryId, current.filePath);
    job->cachedWriteTime = GetFileWriteTime(path);
    job->cachedSize = GetFileSize32(path);
    // Only a product list replaces the stored one: an error page served as
    // 200 would otherwise be trusted for 7 days. A rejected list, or one that
    // could not be copied into place, fails the step like a failed download,
    // so the stored list keeps its time and the next run asks again.
    DWORD result = Download(job, {job->categoryXmlPath, IsProductListFile, Placing::Copy}).Code();
    if (result != ERROR_SUCCESS) return result;
    return DownloadPictures(path);
}

}  // namespace VELQCOMMON
