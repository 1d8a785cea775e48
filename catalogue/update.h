// The update worker: the whole work of an "/update" run. On its own thread it
// refreshes, one download at a time,
//   1. the mapping table, when its last download is 7 days old or more
//      (MTABLE_UPDATE, see shared/settings.h);
//   2. for a file with a category: the category's product list, when the
//      stored list is missing or 7 days old or more, and with it pictures 1-5
//      (a download that is no XML document replaces nothing);
//   3. the category's named pictures-ready event, which a prompt's watcher
//      may wait on (set only when step 2 ended with 0).
//
// How a run mode drives it (the main thread has no stop event of its own):
//
//   CVELQMtMgr table;
//   std::wstring categoryId = table.Lookup(GetFileExtension(path));
//   VELQCOMMON::CVELQUpdate worker(path, categoryId);
//   if (worker.Start()) VELQTASKCOMMON::WaitForJob(worker);   // 500 ms steps
//   // the thread's exit code is the worker's result (see below)
//
// The worker's result:
//   0      every step done or not due (also when the server's copy was unchanged)
//   1223   the worker's stop event was set while a download ran
//   13     ERROR_INVALID_DATA: the downloaded product list is no XML document
//          (or has a DOCTYPE); the stored list, its time and the pictures stay
//   other  the failed step's code: a download's exit code (catalogue/http_file.h),
//          or the reason its job could not start (GetLastError(), else 1450)
#pragma once

#include <windows.h>

#include <string>

#include "shared/task/file_target.h"
#include "shared/task/thread.h"

struct ProductInfo;

namespace VELQCOMMON {

class CVELQUpdate : public VELQTASKCOMMON::CVELQThread {
public:
    // Either may be empty: then only the mapping table is refreshed.
    CVELQUpdate(std::wstring filePath, std::wstring categoryId);
    ~CVELQUpdate() override;  // neither stops nor waits for the thread

    FileTarget GetTarget() const;

    // The thread routine; its parameter is the worker. OLE is initialised for
    // the thread's XML documents and uninitialised before every return.
    static DWORD WINAPI UpdateThread(LPVOID worker);

    // The steps, each a result code as above.
    DWORD UpdateMappingTable();
    DWORD UpdateCategory();
    // Pictures 1-5 from the products of the stored category file; removes the
    // pictures of numbers beyond a shorter list. Always 0.
    DWORD DownloadPictures(std::wstring categoryXmlPath);
    // One picture (number 1-5) into the extension's picture folder: it is
    // downloaded into "~picNN.part" beside the stored picture, which it
    // replaces only when the download ended with 0 (a failed one is removed,
    // the stored picture stays as it was). The download's exit code (or why
    // the replacement failed), or ERROR_INVALID_NAME for an address that
    // gives no plain file name in that folder (the image host's bare prefix
    // of a product without picture, or a hostile one): then nothing is
    // downloaded and every stored picture of that number is removed.
    DWORD DownloadPicture(const ProductInfo& product, int number);

private:
    FileTarget target;
};

}  // namespace VELQCOMMON
