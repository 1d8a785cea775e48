// What the update worker's tests share: a machine of their own (data folder,
// temporary folder, the product's registry keys), the catalogue documents the
// services would serve, and routes for them on the local catalogue service.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "shared/endpoints.h"
#include "shared/handle.h"
#include "shared/settings.h"
#include "shared/task/named_event.h"
#include "tests/support/test_times.h"
#include "tests/support/catalogue_service.h"
#include "tests/support/environment.h"
#include "tests/support/pictures.h"
#include "tests/support/registry_guard.h"
#include "tests/support/temp_folder.h"
#include "tests/support/text.h"

namespace wendaro_test {

// The server time the picture routes announce.
inline ULONGLONG ServerTicks() { return Ticks(ServerTime()); }

// MTABLE_UPDATE as the worker stores it; false when it is not 16 bytes.
inline bool StoredUpdateTicks(ULONGLONG* ticks) {
    SYSTEMTIME time = {};
    DWORD size = sizeof time;
    if (RegGetValueW(HKEY_CURRENT_USER, ProductRegistryKey, MTABLE_UPDATE, RRF_RT_REG_BINARY, nullptr,
                     &time, &size) != ERROR_SUCCESS ||
        size != sizeof time)
        return false;
    *ticks = Ticks(time);
    return true;
}

inline bool StoreUpdateBytes(const void* bytes, DWORD size) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, ProductRegistryKey, MTABLE_UPDATE, REG_BINARY, bytes,
                           size) == ERROR_SUCCESS;
}

inline bool StoreUpdateTicks(ULONGLONG ticks) {
    SYSTEMTIME stored = AsSystemTime(ticks);
    return StoreUpdateBytes(&stored, sizeof stored);
}

// A mapping table in the configuration namespace with an item for each
// extension and its category.
inline std::string MappingTable(const std::vector<std::pair<std::string, std::string>>& extensionsAndCategories) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<cfg:Configuration xmlns:cfg=\"" +
                      Narrow(ConfigNamespaceURI) + "\"><cfg:CfgGroup>";
    for (const auto& item : extensionsAndCategories) {
        xml += "<cfg:CfgItem><cfg:Ext name=\"ext\">" + item.first + "</cfg:Ext><cfg:Cat name=\"cat\">" +
               item.second + "</cfg:Cat></cfg:CfgItem>";
    }
    return xml + "</cfg:CfgGroup></cfg:Configuration>\n";
}
inline std::string MappingTable(const std::string& extension, const std::string& categoryId) {
    return MappingTable({{extension, categoryId}});
}

// A store response with one product per address, in this order; an empty
// address gives a product without any picture element.
inline std::string ProductList(const std::vector<std::string>& imageUrls) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ns1:SearchProductResponse xmlns:ns1=\"" +
                      Narrow(ShoppingCartNamespaceURI) + "\">\n";
    for (size_t i = 0; i < imageUrls.size(); ++i) {
        std::string number = std::to_string(i + 1);
        xml += "<products><productKey><companyID>co" + number + "</companyID><productID>P" + number +
               "</productID></productKey><baseFields><name>Product " + number + "</name>";
        if (!imageUrls[i].empty()) xml += "<thumbnailImage>" + imageUrls[i] + "</thumbnailImage>";
        xml += "</baseFields></products>\n";
    }
    return xml + "</ns1:SearchProductResponse>\n";
}

const std::string ProductListPrefix =
    "https://services.fernhollow.example/integration/job/request/ShoppingCartService/morvane/site/"
    "productList/siteID.morvane/locale.en_US/categoryID.";
const std::string ImageHostPath = "https://images.fernhollow.example/FHHM/Storefront/Company/";

// A prompt's watcher as the update worker sees it: the category's event,
// created before the run and held through it.
class WaitingPrompt {
public:
    explicit WaitingPrompt(const std::string& categoryId)
        : m_event(CreateNamedEvent(Widen(categoryId), PictureEventPrefix)) {}
    bool Signalled() const { return WaitForSingleObject(m_event.get(), 0) == WAIT_OBJECT_0; }
    void Reset() { ResetEvent(m_event.get()); }

private:
    KernelHandle m_event;
};

// One test's machine and catalogue: its own all-users profile and temporary
// folder (the program started from the test inherits both), the product's
// registry keys cleared, and a category id, extension folder and service
// addresses that no other test uses.
class UpdateFixture : public ::testing::Test {
protected:
    UpdateFixture()
        : profileFolder(MakeFolder(L"ProgramData")),
          tempFolder(MakeFolder(L"Temp")),
          profile(L"ALLUSERSPROFILE", profileFolder.c_str()),
          tmp(L"TMP", tempFolder.c_str()),
          temp(L"TEMP", tempFolder.c_str()) {}

    void SetUp() override {
        ASSERT_TRUE(service.Running()) << "the catalogue service is not running";
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        std::string tag = std::string("t") + test->name();
        for (char& c : tag) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        std::string host = UniqueHost(tag);
        // Not a part of the table's address, so the two sets of requests
        // can be told apart.
        categoryId = "c" + host.substr(0, host.find('.'));
        mappingUrl = "http://" + host + "/svs/rdr?TYPE=4";
        ASSERT_TRUE(SetString(HKEY_LOCAL_MACHINE, ProductRegistryKey, MappingURL,
                                           Widen(mappingUrl)));
    }

    std::wstring DataFolder() const { return profileFolder + L"\\Dravik\\Wendaro\\"; }
    std::wstring TablePath() const { return DataFolder() + L"Mappingtable.xml"; }
    std::wstring PictureFolder() const { return DataFolder() + L"Images\\" + Extension + L"\\"; }
    std::wstring ListPath() const { return PictureFolder() + Widen(categoryId) + L".xml"; }
    std::wstring Picture(const std::wstring& name) const { return PictureFolder() + name; }
    // The file the run is for; it need not exist.
    std::wstring Document() const { return root.path() + L"\\docs\\report." + Extension; }

    std::string ListUrl() const { return ProductListPrefix + categoryId + "/"; }
    std::string ImageUrl(const std::string& name) const {
        return ImageHostPath + categoryId + "/images/product/thumbnail/" + name;
    }

    Route TableRoute(const std::string& body) const {
        Route route(mappingUrl);
        route.body = body;
        return route;
    }
    Route ListRoute(const std::string& body) const {
        Route route(ListUrl());
        route.body = body;
        return route;
    }
    // The picture of that name, stamped with the server time; by default a
    // whole PNG of its own (TinyPng(name)).
    Route PictureRoute(const std::string& name, const std::string& body) const {
        Route route(ImageUrl(name));
        route.body = body;
        route.Header("Last-Modified", HttpDate(ServerTime()));
        return route;
    }
    Route PictureRoute(const std::string& name) const { return PictureRoute(name, TinyPng(name)); }

    // The local table as an installed program has it: the extension mapped
    // to this test's category.
    void InstallTable() {
        CreateDirectoryW((profileFolder + L"\\Dravik").c_str(), nullptr);
        CreateDirectoryW(DataFolder().c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(TablePath(), LocalTable()));
    }
    std::string LocalTable() const { return MappingTable(Narrow(Extension), categoryId); }

    void MakePictureFolder() {
        InstallTable();
        CreateDirectoryW((DataFolder() + L"Images").c_str(), nullptr);
        CreateDirectoryW(PictureFolder().c_str(), nullptr);
    }

    // GET requests that reached the service with text in their address.
    size_t Gets(const std::string& text) const {
        size_t count = 0;
        for (const auto& request : service.RequestsTo(text)) count += request.method == "GET";
        return count;
    }
    // Requests of this test's mapping table, product list and pictures.
    size_t TableGets() const { return Gets(mappingUrl.substr(0, mappingUrl.find('?'))); }
    size_t CatalogueGets() const { return Gets(categoryId); }

    const std::wstring Extension = L"wdx";
    TempFolder root;
    std::wstring profileFolder;
    std::wstring tempFolder;
    ScopedEnvironment profile;
    ScopedEnvironment tmp;
    ScopedEnvironment temp;
    ProductRegistry registry;
    CatalogueService service;
    std::string categoryId;
    std::string mappingUrl;

private:
    std::wstring MakeFolder(const wchar_t* name) {
        std::wstring path = root / name;
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }
};

}  // namespace wendaro_test
