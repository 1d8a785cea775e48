// The mapping-table and category-list jobs: what they are set up to fetch and
// where, and their downloads through the local catalogue service.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>

#include "catalogue/category.h"
#include "catalogue/category_mgr.h"
#include "catalogue/mapping_table.h"
#include "catalogue/mt_mgr.h"
#include "shared/paths.h"
#include "shared/settings.h"
#include "tests/catalogue/catalogue_test_support.h"
#include "tests/catalogue/http_file_fixture.h"
#include "tests/support/environment.h"
#include "tests/support/registry_guard.h"
#include "tests/support/text.h"

using namespace wendaro_test;
using VELQCOMMON::CVELQCategory;
using VELQCOMMON::CVELQMappingTable;

namespace {

const std::string ProductListPrefix =
    "https://services.fernhollow.example/integration/job/request/ShoppingCartService/morvane/site/"
    "productList/siteID.morvane/locale.en_US/categoryID.";

// A fresh temporary name: in the temporary folder, prefix VEL, not created.
void ExpectFreshTemporaryName(const std::wstring& path) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    EXPECT_EQ(0u, path.find(std::wstring(folder) + L"VEL")) << testing::PrintToString(path);
    EXPECT_FALSE(FileExists(path));
}

class DownloadJobTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service.Running()) << "the catalogue service is not running"; }

    std::wstring DataFolder() const { return folder.path() + L"\\Dravik\\Wendaro\\"; }

    // Makes url the machine's mapping-table address and serves the sample
    // there, stamped with the server's time.
    Route ServeTable(const std::string& url, const wchar_t* sample) {
        EXPECT_TRUE(SetString(HKEY_LOCAL_MACHINE, ProductRegistryKey, MappingURL, Widen(url)));
        Route route(url);
        route.body = ReadFileBytes(DataPath(sample));
        route.Header("Last-Modified", HttpDate(ServerTime()));
        EXPECT_TRUE(service.SetRoutes({route}));
        return route;
    }

    ComScope com;
    TempFolder folder;
    ScopedEnvironment profile{L"ALLUSERSPROFILE", folder.path().c_str()};
    ProductRegistry registry;
    CatalogueService service;
};

TEST_F(DownloadJobTest, MappingTableJobDownloadsIntoATemporaryFile) {
    std::string url = "http://" + UniqueHost("mtable") + "/svs/rdr?TYPE=4";
    Route route = ServeTable(url, L"mapping_indented.xml");

    CVELQMappingTable job;
    EXPECT_EQ(Widen(url), job.GetSourceUrl());
    EXPECT_EQ(DataFolder() + L"Mappingtable.xml", job.localPath);
    ExpectFreshTemporaryName(job.GetTargetPath());
    EXPECT_EQ(0u, job.cachedSize);  // no local table yet
    EXPECT_EQ(Epoch1970, Ticks(job.cachedWriteTime));

    EXPECT_EQ(0u, RunToEnd(job));
    EXPECT_EQ(route.body, ReadFileBytes(job.GetTargetPath()));
    EXPECT_TRUE(IsValidXmlFile(job.GetTargetPath()));
    EXPECT_FALSE(FileExists(job.localPath));  // the owner copies it, not the job
}

TEST_F(DownloadJobTest, AnUnchangedTableIsNotDownloadedAgain) {
    std::string url = "http://" + UniqueHost("mtable-same") + "/svs/rdr";
    Route route = ServeTable(url, L"mapping_compact.xml");
    ASSERT_TRUE(CreateFolderTree(folder.path() + L"\\Dravik\\Wendaro"));
    ASSERT_TRUE(WriteFileBytes(DataFolder() + L"Mappingtable.xml", route.body));
    SetWriteTicks(DataFolder() + L"Mappingtable.xml", Ticks(ServerTime()));

    CVELQMappingTable job;
    EXPECT_EQ(route.body.size(), job.cachedSize);
    EXPECT_EQ(Ticks(FileTimeOf(ServerTime())), Ticks(job.cachedWriteTime));
    EXPECT_EQ(0u, RunToEnd(job));
    EXPECT_EQ(0, job.contentChanged);
    EXPECT_FALSE(FileExists(job.GetTargetPath()));
    EXPECT_FALSE(IsValidXmlFile(job.GetTargetPath()));
}

TEST_F(DownloadJobTest, CategoryJobKnowsItsListAddressAndTheCategoryFile) {
    CVELQCategory job(L"4711", L"C:\\docs\\report.XYZ");
    EXPECT_EQ(Widen(ProductListPrefix) + L"4711/", job.GetSourceUrl());
    EXPECT_EQ(L"4711", job.categoryId);
    EXPECT_EQ(L"", job.reserved);
    EXPECT_EQ(DataFolder() + L"Images\\XYZ\\4711.xml", job.categoryXmlPath);
    EXPECT_TRUE(PathIsDirectoryW((DataFolder() + L"Images\\XYZ").c_str()));
    ExpectFreshTemporaryName(job.GetTargetPath());
    EXPECT_EQ(0u, job.cachedSize);  // the owner describes the stored list
    EXPECT_EQ(Epoch1970, Ticks(job.cachedWriteTime));

    // Characters that need escaping in a URL go in as they are.
    job.SetCategoryId(L"12 34%&x");
    EXPECT_EQ(Widen(ProductListPrefix) + L"12 34%&x/", job.GetSourceUrl());
    EXPECT_EQ(L"12 34%&x", job.categoryId);
    EXPECT_EQ(DataFolder() + L"Images\\XYZ\\4711.xml", job.categoryXmlPath);
}

TEST_F(DownloadJobTest, CategoryJobDownloadsTheStoreListOverHttps) {
    // Process ids come round again under Wine: the time keeps the id new.
    std::string id = "list-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    Route route(ProductListPrefix + id + "/");
    route.body = ReadFileBytes(DataPath(L"store_products.xml"));
    ASSERT_TRUE(service.SetRoutes({route}));

    CVELQCategory job(Widen(id), folder / L"a.pdf");
    EXPECT_EQ(0u, RunToEnd(job));
    EXPECT_EQ(route.body, ReadFileBytes(job.GetTargetPath()));
    auto requests = service.RequestsTo("categoryID." + id + "/");
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ(route.url, requests[0].url);

    CVELQCategoryMgr manager;
    ASSERT_EQ(0, manager.parser.Load(job.GetTargetPath()));
    EXPECT_EQ(10u, manager.GetProducts()->size());
}

TEST_F(DownloadJobTest, CategoryIdTooLongForTheUrlIsNeverRequested) {
    CVELQCategory job(std::wstring(2000, L'7'), folder / L"a.pdf");
    EXPECT_EQ(L"", job.GetSourceUrl());
    EXPECT_EQ(static_cast<DWORD>(ERROR_INTERNET_INVALID_URL), RunToEnd(job));
    EXPECT_FALSE(FileExists(job.GetTargetPath()));
}

}  // namespace
