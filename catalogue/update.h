// The update worker: the whole work of an "/update" run. On its own thread it
// first removes the work files that ended runs left (RemoveRunWorkFiles), then
// refreshes, one download at a time,
//   1. the mapping table, when its last download is 7 days old or more
//      (MTABLE_UPDATE, see shared/settings.h);
//   2. for a file with a category: the category's product list, when the
//      stored list is missing or 7 days old or more, and with it pictures 1-5
//      (a download that is not a product list, or not a whole picture the
//      carousel shows, replaces nothing);
//   3. the category's named pictures-ready event, which a prompt's watcher
//      may wait on (set only when step 2 ended with 0).
//
// How a run mode drives it (the main thread has no stop event of its own):
//
//   CVELQMtMgr table;
//   std::wstring categoryId = table.Lookup(GetFileExtension(path));
//   VELQCOMMON::CVELQUpdate worker(path, categoryId);
//   if (worker.Start()) VELQTASKCOMMON::WaitForJob(worker, nullptr, nullptr, worker.runDeadline);
//   // the thread's exit code is the worker's result (see below)
//
// Bounds: each download ends within limits.downloadMs (60 s) and the whole run
// within limits.runMs (120 s) of the worker's construction. A download still
// blocked at its bound is given up, its thread left behind: the process that
// runs the worker ends once it is done or its budget is spent, whatever such
// threads are doing (see RunUpdate).
//
// The worker's result:
//   0      every step done or not due (also when the server's copy was unchanged)
//   1223   the worker's stop event was set while a download ran
//   13     ERROR_INVALID_DATA: the downloaded product list is no product list
//          (not XML, a DOCTYPE, or no response in the store's namespace); the
//          stored list, its time and the pictures stay
//   1460   ERROR_TIMEOUT: a download reached its bound or the run's
//   other  the failed step's code: a download's exit code (catalogue/http_file.h),
//          the reason its job could not start (GetLastError(), else 1450), or
//          why a downloaded table or list could not be copied into place
//          (another program held the stored one open): the stored file and
//          its time stay, so the next run downloads it again
// A failed table download ends the run; a table that was downloaded but not
// copied does not: the category step still runs (the category was looked up
// in the stored table before the run began), and the result is the copy's
// error, the first failure, whatever the category step then did.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "catalogue/download_into_place.h"
#include "catalogue/http_file.h"
#include "shared/task/deadline.h"
#include "shared/task/file_target.h"
#include "shared/task/thread.h"

struct ProductInfo;

namespace VELQCOMMON {

// How long one download and the whole update run may take. Tests of the
// program shorten them (never lengthen) with UpdateTimeLimitsVariable set to
// "<download ms>,<run ms>".
struct UpdateTimeLimits {
    DWORD downloadMs = DownloadTimeLimitMs;
    DWORD runMs = 120000;
};
inline constexpr wchar_t UpdateTimeLimitsVariable[] = L"WENDARO_UPDATE_TIME_LIMITS";
UpdateTimeLimits ReadUpdateTimeLimits();

// Removes the work files (shared/work_files.h) that ended runs left in the
// temporary folder, the data folder and its picture folders; with ownToo,
// also this process's own, for a run that is about to end. Every run does it
// first, whatever is due.
void RemoveRunWorkFiles(bool ownToo);

class CVELQUpdate : public VELQTASKCOMMON::CVELQThread {
public:
    // Either may be empty: then only the mapping table is refreshed.
    CVELQUpdate(std::wstring filePath, std::wstring categoryId);
    ~CVELQUpdate() override;  // neither stops nor waits for the thread

    FileTarget GetTarget() const;
    // What became of the table's download in UpdateMappingTable; Unchanged
    // when it was not due.
    Placement::What TablePlacement() const { return tablePlacement; }

    // The thread routine; its parameter is the worker. OLE is initialised for
    // the thread's XML documents and uninitialised before every return.
    static DWORD WINAPI UpdateThread(LPVOID worker);

    // The steps, each a result code as above. The table step keeps what
    // became of its download (TablePlacement).
    DWORD UpdateMappingTable();
    DWORD UpdateCategory();
    // Pictures 1-5 from the products of the stored category file; removes the
    // pictures of numbers beyond a shorter list, and first any side file an
    // interrupted run left. Always 0.
    DWORD DownloadPictures(std::wstring categoryXmlPath);
    // One picture (number 1-5) into the extension's picture folder: it is
    // downloaded into "~picNN.<process id>.part" beside the stored picture, which it
    // replaces only when the download ended with 0 and is a whole picture the
    // carousel shows (else it is removed and the stored picture stays as it
    // was). The download's exit code, ERROR_INVALID_DATA for a refused
    // picture, why the replacement failed, or ERROR_INVALID_NAME for an address that
    // gives no plain file name in that folder (the image host's bare prefix
    // of a product without picture, or a hostile one): then nothing is
    // downloaded and every stored picture of that number is removed.
    DWORD DownloadPicture(const ProductInfo& product, int number);

    // A download of the run: the worker's notify window, stop event and
    // bounds (limits.downloadMs, and the end of the run's downloads).
    Placement Download(const std::shared_ptr<CVELQHttpFile>& job, const StoredFile& stored);

    const UpdateTimeLimits limits;
    // The run's budget, counted from the construction.
    const VELQTASKCOMMON::Deadline runDeadline;

private:
    FileTarget target;
    Placement::What tablePlacement = Placement::What::Unchanged;
};

}  // namespace VELQCOMMON
