// The whole road with the real program: a file of a mapped extension without
// a default program brings up the prompt; the prompt's hidden child fetches
// the category's list and pictures from the local catalogue service and sets
// the event; the prompt shows the pictures; then each way of ending it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "resources/dialog_ids.h"
#include "shared/constants.h"
#include "shared/endpoints.h"
#include "shared/launch.h"
#include "shared/settings.h"
#include "tests/app/dialogs/dialog_fixture.h"
#include "tests/support/catalogue_service.h"
#include "tests/support/data_folder.h"
#include "tests/support/pictures.h"
#include "tests/support/program.h"
#include "tests/support/text.h"
#include "tests/support/wine_path.h"

using namespace wendaro_test;

namespace {

const COLORREF ServedColour = RGB(0x30, 0x90, 0x50);

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
class Road : public WithSettingsAtDpi<96> {
protected:
    void SetUp() override {
        WithSettingsAtDpi<96>::SetUp();
        if (IsSkipped()) return;
        category = std::to_wstring(70000 + GetCurrentProcessId() % 10000);
        std::wstring product = DataFolderUnder(folder.root());
        folder.Pictures(L"keep");  // makes the product folder
        std::string table =
            "<?xml version=\"1.0\"?><cfg:Configuration xmlns:cfg=\"http://config.dravik.example/cfg/\">"
            "<cfg:CfgGroup><cfg:CfgItem><cfg:E name=\"e\">rdx</cfg:E><cfg:C name=\"c\">" +
            Narrow(category) + "</cfg:C></cfg:CfgItem></cfg:CfgGroup></cfg:Configuration>";
        wendaro_test::WriteFileBytes(product + MappingTableFileName, table);

        const wchar_t* key = ProductRegistryKey;
        wendaro_test::SetDword(HKEY_CURRENT_USER, key, FirstUse, 1);
        SYSTEMTIME now = {};
        GetSystemTime(&now);
        RegSetKeyValueW(HKEY_CURRENT_USER, key, MTABLE_UPDATE, REG_BINARY, &now, sizeof now);

        file = folder.File(L"road report.rdx");
        wendaro_test::WriteFileBytes(file, "data");
    }

    // Serves a list of two products with pictures for the category; with
    // giantFirst the first picture is one of 30,000 x 30,000 pixels.
    void ServeCategory(bool giantFirst = false) {
        std::string company = "road" + std::to_string(GetCurrentProcessId());
        std::string picturesFolder = std::string(WENDARO_SCREENSHOT_DIR) + "/road-" + company;
        CreateDirectoryW(wendaro_test::WindowsPathOf(WENDARO_SCREENSHOT_DIR).c_str(), nullptr);
        CreateDirectoryW(wendaro_test::WindowsPathOf(picturesFolder).c_str(), nullptr);
        std::string products;
        std::vector<wendaro_test::Route> routes;
        for (int i = 1; i <= 2; ++i) {
            // Picture names of 6 characters or fewer are not taken as addresses.
            std::string name = "product" + std::to_string(i) + ".png";
            std::wstring served = wendaro_test::WindowsPathOf(picturesFolder + "/" + name);
            if (giantFirst && i == 1) {
                ASSERT_TRUE(wendaro_test::WriteFileBytes(served, GiantPng(30000, 30000)));
            } else {
                WritePicture(served, 80, 90, ServedColour);
            }
            products += "<products><productKey><companyID>" + company + "</companyID><productID>" +
                        std::to_string(i) + "</productID></productKey><baseFields><name>P" +
                        std::to_string(i) + "</name></baseFields><attributes><name>channelThumbnail</name>"
                        "<value>" + name + "</value></attributes><pricing><totalPriceWithDiscount>"
                        "<amount>9.99</amount></totalPriceWithDiscount></pricing></products>\n";
            wendaro_test::Route picture(Narrow(ImageHostAddress) + company + "/images/product/thumbnail/" + name);
            picture.bodyFile = picturesFolder + "/" + name;
            routes.push_back(picture);
        }
        wchar_t listUrl[2084] = {};
        _snwprintf_s(listUrl, 2084, _TRUNCATE, StoreProductListURLFormat, category.c_str());
        wendaro_test::Route list(Narrow(listUrl));
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
        Finish();
        process = wendaro_test::StartProgram(wendaro_test::QuoteArgument(file));
        if (!process) return nullptr;
        return WaitForDialog(GetProcessId(process), PromptCaption, 20000);
    }
    bool Ended(DWORD timeoutMs) { return WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0; }
    // Waits for the program to end (killing it after 10 s) and lets it go.
    void Finish() {
        if (!process) return;
        if (!Ended(10000)) TerminateProcess(process, 1);
        CloseHandle(process);
        process = nullptr;
    }
    void TearDown() override { Finish(); }

    wendaro_test::CatalogueService service;
    std::wstring category;
    std::wstring file;
    HANDLE process = nullptr;
};

TEST_F(Road, ThePromptShowsThePicturesItsChildFetched) {
    ServeCategory();
    HWND dialog = Start();
    ASSERT_TRUE(dialog) << "no prompt";
    DialogState first = ReadDialog(dialog);
    EXPECT_EQ(L"road report.rdx", first.controls[IDC_STATIC_FILENAME].text);

    DialogState later;
    bool shown = WaitUntil(
        [&] {
            later = ReadDialog(dialog);
            return VisibleDots(later) == 2 && !later.controls[IDC_ANIMATION].visible &&
                   later.controls[IDC_PICTURE].visible;
        },
        30000);
    ASSERT_TRUE(shown) << "the served pictures never showed; the folder holds: "
                       << Narrow(FolderListing(folder.Pictures(L"rdx")))
                       << ReadFileBytes(folder.Pictures(L"rdx") + L"\\" + category + L".xml");
    Repaint(dialog);
    RECT picture = later.controls[IDC_PICTURE].rect;
    EXPECT_EQ(ServedColour, ScreenPixel(dialog, {(picture.left + picture.right) / 2,
                                                 (picture.top + picture.bottom) / 2}));
    SaveScreenshot(dialog, L"road-served-pictures");
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(Ended(10000));
}

// A picture far too large to show counts as one that does not load, whether
// it is stored when the prompt opens or arrives while it is open: the prompt
// stays up, shows the other picture, and its child still replaces pictures.
TEST_F(Road, AGiantPictureIsPassedOverAndTheChildStillRuns) {
    std::wstring pictures = folder.Pictures(L"rdx");
    ASSERT_TRUE(WriteFileBytes(pictures + L"\\pic01.png", GiantPng(30000, 30000)));
    WritePicture(pictures + L"\\pic02.bmp", 70, 40, RGB(0xC0, 0x40, 0x40));
    ServeCategory(true);
    HWND dialog = Start();
    ASSERT_TRUE(dialog) << "no prompt";

    // Steps through both pictures; the giant one leaves the picture before it.
    auto sizesShown = [&] {
        std::vector<std::pair<LONG, LONG>> sizes;
        for (int step = 0; step < 2; ++step) {
            RECT rect = ReadDialog(dialog).controls[IDC_PICTURE].rect;
            sizes.emplace_back(rect.right - rect.left, rect.bottom - rect.top);
            Click(dialog, IDC_BTN_NEXT);
        }
        return sizes;
    };
    auto shows = [](const std::vector<std::pair<LONG, LONG>>& sizes, LONG cx, LONG cy) {
        return std::find(sizes.begin(), sizes.end(), std::make_pair(cx, cy)) != sizes.end();
    };
    // Stored or already replaced by the served one: either is the other picture.
    std::vector<std::pair<LONG, LONG>> first = sizesShown();
    EXPECT_EQ(2, VisibleDots(ReadDialog(dialog)));
    EXPECT_TRUE(shows(first, 70, 40) || shows(first, 80, 90));

    bool replaced = WaitUntil(
        [&] { return VisibleDots(ReadDialog(dialog)) == 2 && shows(sizesShown(), 80, 90); }, 30000);
    EXPECT_TRUE(replaced) << Narrow(FolderListing(pictures));
    SaveScreenshot(dialog, L"road-giant-picture");
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(Ended(10000));
    DWORD exitCode = 1;
    GetExitCodeProcess(process, &exitCode);
    EXPECT_EQ(0u, exitCode);
}

// The page is that of the category the mapping table gave the extension.
TEST_F(Road, StoreChoiceSendsTheCategoryPageToTheBrowser) {
    FakeBrowser browser(folder.root());
    HWND dialog = Start();
    ASSERT_TRUE(dialog);
    Click(dialog, IDOK);
    EXPECT_TRUE(Ended(10000));
    EXPECT_EQ(GetStoreCategoryURL(category) + L"\n", browser.WaitForLines(1));
}

// Every other way out of the prompt ends the program too; only the Windows
// choice switches Wendaro off. Wine gives a new process its own SystemRoot,
// so the system prompt that the Windows choice starts is seen only in process
// (open_as_dlg_test.cpp).
TEST_F(Road, EveryOtherEndingEndsTheProgram) {
    struct Ending {
        const char* name;
        std::function<void(HWND)> act;
        bool switchesOff;
        DWORD withinMs;
    };
    const Ending endings[] = {
        {"open with", [](HWND dialog) { Click(dialog, IDC_RADIO_OPENWITH); Click(dialog, IDOK); }, false, 10000},
        {"windows", [](HWND dialog) { Click(dialog, IDC_RADIO_WINDOWS); Click(dialog, IDOK); }, true, 10000},
        {"escape", PressEscape, false, 10000},
        // The watcher still waits: it stops within one of its 500 ms steps.
        {"cancel", [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }, false, 2000},
    };
    for (const Ending& ending : endings) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, ProductRegistryKey, EnableVELQ);
        HWND dialog = Start();
        ASSERT_TRUE(dialog) << ending.name;
        DWORD acted = GetTickCount();
        ending.act(dialog);
        EXPECT_TRUE(Ended(10000)) << ending.name;
        EXPECT_LT(GetTickCount() - acted, ending.withinMs) << ending.name;
        DWORD enabled = 1;
        const bool stored = StoredSetting(L"EnableVELQ", &enabled);
        EXPECT_EQ(ending.switchesOff, stored && enabled == 0) << ending.name;
        EXPECT_EQ(ending.switchesOff, stored) << ending.name;
    }
}

}  // namespace
