// The whole road with the real program: a file of a mapped extension without
// a default program brings up the prompt; the prompt's hidden child fetches
// the category's list and pictures from the local catalogue service and sets
// the event; the prompt shows the pictures; then each way of ending it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shared/endpoints.h"
#include "shared/launch.h"
#include "shared/settings.h"
#include "tests/app/dialogs/prompt_fixture.h"
#include "tests/support/catalogue_service.h"
#include "tests/support/program.h"
#include "tests/support/registry_guard.h"

using namespace prompttest;

namespace {

const int Picture = 1016;
const int Animation = 1036;
const COLORREF ServedColour = RGB(0x30, 0x90, 0x50);

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The names and sizes of a folder's files, for failure messages.
std::wstring FolderListing(const std::wstring& folder) {
    std::wstring listing;
    WIN32_FIND_DATAW entry = {};
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return L"(no folder)";
    do {
        listing += std::wstring(entry.cFileName) + L" (" + std::to_wstring(entry.nFileSizeLow) + L") ";
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return listing;
}

// A run of the program on a file whose extension the local mapping table
// gives a category of this process's own; settings that skip the consent
// dialog and the mapping-table download.
class Road : public ::testing::Test {
protected:
    void SetUp() override {
        if (ScreenDpi() != 96) GTEST_SKIP() << "needs 96 DPI";
        category = std::to_wstring(70000 + GetCurrentProcessId() % 10000);
        std::wstring product = folder.root() + L"\\Dravik\\Wendaro";
        folder.Pictures(L"keep");  // makes the product folder
        std::string table =
            "<?xml version=\"1.0\"?><cfg:Configuration xmlns:cfg=\"http://config.dravik.example/cfg/\">"
            "<cfg:CfgGroup><cfg:CfgItem><cfg:E name=\"e\">rdx</cfg:E><cfg:C name=\"c\">" +
            Narrow(category) + "</cfg:C></cfg:CfgItem></cfg:CfgGroup></cfg:Configuration>";
        testsupport::WriteFileBytes(product + L"\\Mappingtable.xml", table);

        const wchar_t* key = ProductRegistryKey;
        testsupport::SetDword(HKEY_CURRENT_USER, key, FirstUse, 1);
        SYSTEMTIME now = {};
        GetSystemTime(&now);
        RegSetKeyValueW(HKEY_CURRENT_USER, key, MTABLE_UPDATE, REG_BINARY, &now, sizeof now);

        file = folder.File(L"road report.rdx");
        testsupport::WriteFileBytes(file, "data");
    }

    // Serves a list of two products with pictures for the category.
    void ServeCategory() {
        std::string company = "road" + std::to_string(GetCurrentProcessId());
        std::string picturesFolder = std::string(WENDARO_SCREENSHOT_DIR) + "/road-" + company;
        CreateDirectoryW(testsupport::WindowsPathOf(WENDARO_SCREENSHOT_DIR).c_str(), nullptr);
        CreateDirectoryW(testsupport::WindowsPathOf(picturesFolder).c_str(), nullptr);
        std::string products;
        std::vector<testsupport::Route> routes;
        for (int i = 1; i <= 2; ++i) {
            // Picture names of 6 characters or fewer are not taken as addresses.
            std::string name = "product" + std::to_string(i) + ".png";
            WritePicture(testsupport::WindowsPathOf(picturesFolder + "/" + name), 80, 90, ServedColour);
            products += "<products><productKey><companyID>" + company + "</companyID><productID>" +
                        std::to_string(i) + "</productID></productKey><baseFields><name>P" +
                        std::to_string(i) + "</name></baseFields><attributes><name>channelThumbnail</name>"
                        "<value>" + name + "</value></attributes><pricing><totalPriceWithDiscount>"
                        "<amount>9.99</amount></totalPriceWithDiscount></pricing></products>\n";
            testsupport::Route picture(Narrow(ImageHostAddress) + company + "/images/product/thumbnail/" + name);
            picture.bodyFile = picturesFolder + "/" + name;
            routes.push_back(picture);
        }
        wchar_t listUrl[2084] = {};
        _snwprintf_s(listUrl, 2084, _TRUNCATE, StoreProductListURLFormat, category.c_str());
        testsupport::Route list(Narrow(listUrl));
        list.body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<soap:Envelope "
                    "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>\n"
                    "<ns1:SearchProductResponse xmlns:ns1=\"" + Narrow(ShoppingCartNamespaceURI) + "\">\n" +
                    products + "</ns1:SearchProductResponse></soap:Body></soap:Envelope>\n";
        list.Header("Content-Type", "text/xml");
        routes.push_back(list);
        ASSERT_TRUE(service.SetRoutes(routes));
    }

    // Starts the program on the file and waits for its prompt.
    HWND Start() {
        process = testsupport::StartProgram(testsupport::QuoteArgument(file));
        if (!process) return nullptr;
        return WaitForPrompt(GetProcessId(process), 20000);
    }
    bool Ended(DWORD timeoutMs) { return WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0; }
    void TearDown() override {
        if (!process) return;
        if (!Ended(10000)) TerminateProcess(process, 1);
        CloseHandle(process);
    }
    bool EnableValue(DWORD* value) {
        return testsupport::GetDword(HKEY_CURRENT_USER, ProductRegistryKey, EnableVELQ, value);
    }

    testsupport::ProductRegistry registry;
    PromptFolder folder;
    testsupport::CatalogueService service;
    std::wstring category;
    std::wstring file;
    HANDLE process = nullptr;
};

TEST_F(Road, ThePromptShowsThePicturesItsChildFetched) {
    ServeCategory();
    HWND dialog = Start();
    ASSERT_TRUE(dialog) << "no prompt";
    PromptState first = ReadPrompt(dialog);
    EXPECT_EQ(L"road report.rdx", first.controls[1024].text);

    PromptState later;
    bool shown = WaitUntil(
        [&] {
            later = ReadPrompt(dialog);
            return VisibleDots(later) == 2 && !later.controls[Animation].visible &&
                   later.controls[Picture].visible;
        },
        30000);
    ASSERT_TRUE(shown) << "the served pictures never showed; the folder holds: "
                       << Narrow(FolderListing(folder.root() + L"\\Dravik\\Wendaro\\Images\\rdx"))
                       << testsupport::ReadFileBytes(folder.root() + L"\\Dravik\\Wendaro\\Images\\rdx\\" +
                                                     category + L".xml");
    Repaint(dialog);
    RECT picture = later.controls[Picture].rect;
    EXPECT_EQ(ServedColour, ScreenPixel(dialog, {(picture.left + picture.right) / 2,
                                                 (picture.top + picture.bottom) / 2}));
    SaveScreenshot(dialog, L"road-served-pictures");
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(Ended(10000));
}

TEST_F(Road, StoreChoiceSendsTheCategoryPageToTheBrowser) {
    testsupport::RegistryGuard http(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command");
    std::wstring browserLog = folder.File(L"browser.log");
    testsupport::ScopedEnvironment logTo(L"WENDARO_FAKE_BROWSER_LOG", browserLog.c_str());
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    ASSERT_TRUE(testsupport::SetString(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", L"",
                                       L"\"" + std::wstring(self) + L"\" /FakeBrowser \"%1\""));
    HWND dialog = Start();
    ASSERT_TRUE(dialog);
    Click(dialog, IDOK);
    EXPECT_TRUE(Ended(10000));
    std::wstring url;
    WaitUntil([&] { return !(url = ReadText(browserLog)).empty(); }, 10000);
    EXPECT_EQ(GetStoreCategoryURL(category) + L"\n", url);
}

TEST_F(Road, OpenWithChoiceHidesThePromptAndReturns) {
    HWND dialog = Start();
    ASSERT_TRUE(dialog);
    Click(dialog, 1005);
    Click(dialog, IDOK);
    EXPECT_TRUE(Ended(10000));
    DWORD enabled = 1;
    EXPECT_FALSE(EnableValue(&enabled));
}

// Wine gives a new process its own SystemRoot, so the system prompt that
// follows is seen only in process (open_as_dlg_test.cpp).
TEST_F(Road, WindowsChoiceSwitchesOffAndEnds) {
    HWND dialog = Start();
    ASSERT_TRUE(dialog);
    Click(dialog, 1006);
    Click(dialog, IDOK);
    EXPECT_TRUE(Ended(10000));
    DWORD enabled = 1;
    ASSERT_TRUE(EnableValue(&enabled));
    EXPECT_EQ(0u, enabled);
}

TEST_F(Road, EscapeEndsTheProgramWithoutChangingAnything) {
    HWND dialog = Start();
    ASSERT_TRUE(dialog);
    HWND ok = GetDlgItem(dialog, IDOK);
    PostMessageW(ok, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(ok, WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_TRUE(Ended(10000));
    DWORD enabled = 1;
    EXPECT_FALSE(EnableValue(&enabled));
}

TEST_F(Road, CancelWhileTheWatcherWaitsEndsWithinAStep) {
    HWND dialog = Start();
    ASSERT_TRUE(dialog);
    DWORD cancelled = GetTickCount();
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(Ended(10000));
    EXPECT_LT(GetTickCount() - cancelled, 2000u);
}

}  // namespace
