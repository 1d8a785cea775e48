// The update worker in this process: what a run mode cannot show from outside
// (a stop request, OLE on the worker's thread, a picture without address, the
// result of a run whose copy a reader refused).
#include "catalogue/update.h"

#include <windows.h>
#include <objbase.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "catalogue/category_mgr.h"
#include "catalogue/download_into_place.h"
#include "tests/catalogue/update_test_support.h"
#include "tests/support/gdiplus_session.h"

using namespace wendaro_test;
using VELQCOMMON::CVELQHttpFile;
using VELQCOMMON::CVELQUpdate;
using VELQCOMMON::Placement;

namespace {

constexpr DWORD WaitLimitMs = 20000;

// Runs the thread routine on a thread of its own, as Start would, and tells
// whether OLE was left uninitialised there: a thread still in the worker's
// single-threaded apartment could not join the multithreaded one.
DWORD RunRoutineOnNewThread(CVELQUpdate& worker, bool* oleReleased) {
    DWORD result = 0;
    std::thread thread([&] {
        result = CVELQUpdate::UpdateThread(&worker);
        HRESULT joined = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        *oleReleased = joined == S_OK;
        if (SUCCEEDED(joined)) CoUninitialize();
    });
    thread.join();
    return result;
}

class UpdateWorkerTest : public UpdateFixture {
protected:
    GdiPlusSession gdiplus;

    // Starts the worker and waits (bounded) for its result; 0xFFFFFFFF when
    // it did not start or end.
    static DWORD RunToItsEnd(CVELQUpdate& worker) {
        if (!worker.Start()) return 0xFFFFFFFF;
        if (WaitForSingleObject(worker.threadHandle, WaitLimitMs) != WAIT_OBJECT_0) return 0xFFFFFFFF;
        return worker.GetExitCode();
    }

    static KernelHandle OpenSharingNoDeletion(const std::wstring& path) {
        return KernelHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    }

    // Waits (bounded) until the service has seen a GET of the address.
    bool WaitForRequest(const std::string& url) {
        for (DWORD waited = 0; waited < WaitLimitMs; waited += 20) {
            if (Gets(url) > 0) return true;
            Sleep(20);  // the service's log is a file: nothing to wait on
        }
        return false;
    }
};

TEST_F(UpdateWorkerTest, AStopDuringTheTableDownloadEndsTheWorkerWithCancelled) {
    InstallTable();
    Route slow = TableRoute("");
    slow.bodySize = 200000;
    slow.chunkSize = 1000;
    slow.chunkDelayMs = 100;  // 20 s for the whole body
    ASSERT_TRUE(service.SetRoutes({slow}));

    CVELQUpdate worker(Document(), Widen(categoryId));
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(WaitForRequest(mappingUrl));
    worker.SetStopEvent();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(worker.threadHandle, WaitLimitMs));

    EXPECT_EQ(ERROR_CANCELLED, worker.GetExitCode());
    EXPECT_EQ(LocalTable(), ReadFileBytes(TablePath()));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, ProductRegistryKey, MTABLE_UPDATE));
    EXPECT_EQ(0u, CatalogueGets());
}

// A reader that holds a stored file open without sharing its deletion (a
// scanner, a second prompt reading the table) refuses the copy into its
// place. The table is then tried again by the next run, and the category
// step goes on meanwhile; a list not copied fails its step.
TEST_F(UpdateWorkerTest, ACopyThatAReaderRefusesFailsItsStepAndTheNextRunTriesAgain) {
    // Each run ends well within the wait for it.
    ScopedEnvironment limits(VELQCOMMON::UpdateTimeLimitsVariable, L"4000,8000");
    MakePictureFolder();
    const std::string newTable = LocalTable() + "<!-- refreshed -->\n";
    const std::string firstList = ProductList({ImageUrl("y1.png")});
    ASSERT_TRUE(service.SetRoutes({TableRoute(newTable), ListRoute(firstList), PictureRoute("y1.png")}));
    WaitingPrompt prompt(categoryId);
    {
        KernelHandle reader = OpenSharingNoDeletion(TablePath());
        ASSERT_TRUE(reader);
        CVELQUpdate worker(Document(), Widen(categoryId));
        EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), RunToItsEnd(worker)) << "the table's copy failed first";
    }
    EXPECT_EQ(LocalTable(), ReadFileBytes(TablePath()));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, ProductRegistryKey, MTABLE_UPDATE));
    EXPECT_EQ(firstList, ReadFileBytes(ListPath())) << "the category step ran";
    EXPECT_EQ(TinyPng("y1.png"), ReadFileBytes(Picture(L"pic01.png")));
    EXPECT_TRUE(prompt.Signalled());

    // The table's reader gone, the list's held: a list of the same length,
    // another picture.
    const std::string secondList = ProductList({ImageUrl("z1.png")});
    ASSERT_TRUE(service.SetRoutes({TableRoute(newTable), ListRoute(secondList), PictureRoute("z1.png")}));
    SetWriteTicks(ListPath(), NowTicks() - Week - Minute);
    const ULONGLONG listTime = WriteTicks(ListPath());
    prompt.Reset();
    {
        KernelHandle reader = OpenSharingNoDeletion(ListPath());
        ASSERT_TRUE(reader);
        CVELQUpdate worker(Document(), Widen(categoryId));
        EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), RunToItsEnd(worker)) << "the list's copy";
    }
    EXPECT_EQ(newTable, ReadFileBytes(TablePath()));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, ProductRegistryKey, MTABLE_UPDATE));
    EXPECT_EQ(firstList, ReadFileBytes(ListPath()));
    EXPECT_EQ(listTime, WriteTicks(ListPath()));
    EXPECT_EQ(0u, Gets(ImageUrl("z1.png")));
    EXPECT_FALSE(prompt.Signalled());
}

TEST_F(UpdateWorkerTest, OleIsReleasedOnEveryReturn) {
    InstallTable();
    Route broken = TableRoute("no table");
    broken.status = 404;
    ASSERT_TRUE(service.SetRoutes({broken}));

    bool released = false;
    CVELQUpdate failing(Document(), Widen(categoryId));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_FOUND), RunRoutineOnNewThread(failing, &released));
    EXPECT_TRUE(released) << "after a failed table download";

    ASSERT_TRUE(StoreUpdateTicks(NowTicks()));
    CVELQUpdate quiet(L"", L"");
    EXPECT_EQ(0u, RunRoutineOnNewThread(quiet, &released));
    EXPECT_TRUE(released) << "after a run with nothing due";
}

TEST_F(UpdateWorkerTest, APictureWithoutAddressRemovesOnlyItsOtherVariants) {
    MakePictureFolder();
    for (const wchar_t* name : {L"pic01.jpg", L"pic01.png", L"pic02.png"})
        ASSERT_TRUE(WriteFileBytes(Picture(name), "old"));
    CVELQUpdate worker(Document(), Widen(categoryId));
    ProductInfo product;

    EXPECT_EQ(static_cast<DWORD>(ERROR_INTERNET_INVALID_URL), worker.DownloadPicture(product, 1));
    EXPECT_EQ("old", ReadFileBytes(Picture(L"pic01.jpg")));
    EXPECT_FALSE(FileExists(Picture(L"pic01.png")));
    EXPECT_TRUE(FileExists(Picture(L"pic02.png")));
}

// The bounds a download of the run gets, read from its job as soon as it has
// ended (its address does not split): the earlier of the download limit and
// the end of the run's downloads, which leave the run a moment to put the
// last one in place. The environment only ever shortens the limits.
TEST_F(UpdateWorkerTest, EachDownloadEndsByItsLimitOrBeforeTheRunsBudget) {
    const DWORD slack = 400;  // the worker's construction and the job's run
    struct {
        const wchar_t* limits;  // nullptr: not set
        DWORD runLeft, downloadLeft;
    } cases[] = {
        {nullptr, 120000, 60000},
        {L"900000,900000", 120000, 60000},
        {L"2000,100000", 100000, 2000},
        {L"60000,50000", 50000, 49000},
        {L"60000,5000", 5000, 4500},  // a tenth of a short run
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limits ? Narrow(c.limits) : "not set");
        ScopedEnvironment limits(VELQCOMMON::UpdateTimeLimitsVariable, c.limits);
        CVELQUpdate worker(Document(), Widen(categoryId));
        auto job = std::make_shared<CVELQHttpFile>();
        job->SetSourceUrl(L"not a url");
        job->SetTargetPath((root / L"side").c_str());
        VELQCOMMON::StoredFile stored{root / L"stored", [](const std::wstring&) { return true; },
                                      VELQCOMMON::Placing::Copy};
        Placement placement = worker.Download(job, stored);
        EXPECT_EQ(Placement::What::Failed, placement.what);
        EXPECT_EQ(DWORD(ERROR_INTERNET_INVALID_URL), placement.error);
        DWORD runLeft = worker.runDeadline.Left(), downloadLeft = job->deadline.Left();
        EXPECT_LE(runLeft, c.runLeft);
        EXPECT_GT(runLeft + slack, c.runLeft);
        EXPECT_LE(downloadLeft, c.downloadLeft);
        EXPECT_GT(downloadLeft + slack, c.downloadLeft);
    }
}

}  // namespace
