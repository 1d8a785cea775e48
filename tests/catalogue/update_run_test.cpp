// The "/update" run of the real program against the local catalogue service.
// Each test sees only what a user's machine would show: the files of the data
// folder and their times, MTABLE_UPDATE, the requests that reached the
// services, and the pictures-ready event of the category.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shared/handle.h"
#include "shared/picture_file.h"
#include "shared/work_files.h"
#include "tests/catalogue/update_test_support.h"
#include "tests/support/environment.h"
#include "tests/support/program.h"
#include "tests/support/wine_path.h"

using namespace wendaro_test;

namespace {

bool FolderExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Every file below folder, with its path relative to it.
void ListFiles(const std::wstring& folder, const std::wstring& relative, std::vector<std::wstring>* files) {
    WIN32_FIND_DATAW entry = {};
    FindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!search) return;
    do {
        std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFiles(folder + L"\\" + name, relative + name + L"\\", files);
        else
            files->push_back(relative + name);
    } while (FindNextFileW(search.get(), &entry));
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> files;
    ListFiles(folder, L"", &files);
    return files;
}

// The program's own work files below folder (those of this process aside).
std::vector<std::wstring> WorkFiles(const std::wstring& folder) {
    std::vector<std::wstring> work;
    for (const std::wstring& file : FilesIn(folder)) {
        std::wstring name = file.substr(file.rfind(L'\\') + 1);
        DWORD owner = WorkFileOwner(name);
        if (owner != 0 && owner != GetCurrentProcessId()) work.push_back(file);
    }
    return work;
}

class UpdateRunTest : public UpdateFixture {
protected:
    // Downloads the run left in its temporary folder.
    size_t TemporaryDownloads() const { return WorkFiles(tempFolder).size(); }

    // "/update <file>" (or "/update" alone for an empty path) run to its end.
    void Update(const std::wstring& path) {
        std::wstring arguments = L"/update";
        if (!path.empty()) arguments += L" " + QuoteArgument(path);
        ProgramRun run = RunProgram(arguments, 60000);
        ASSERT_TRUE(run.started) << "error " << GetLastError();
        ASSERT_TRUE(run.finished) << "the update run did not end";
        EXPECT_EQ(0u, run.exitCode) << "the update run's exit code";
    }
    void UpdateDocument() { Update(Document()); }

    // Routes for a valid table, a list of these pictures and the pictures
    // themselves (TinyPng(name)); routes in more replace those of the same
    // address (the service takes the last).
    void Serve(const std::vector<std::string>& pictures, const std::vector<Route>& more = {}) {
        std::vector<std::string> urls;
        std::vector<Route> routes = {TableRoute(LocalTable())};
        for (const std::string& name : pictures) {
            urls.push_back(name.empty() ? "" : ImageUrl(name));
            if (!name.empty()) routes.push_back(PictureRoute(name));
        }
        routes.push_back(ListRoute(ProductList(urls)));
        routes.insert(routes.end(), more.begin(), more.end());
        ASSERT_TRUE(service.SetRoutes(routes));
    }

    void ExpectPicture(const std::wstring& file, const std::string& served) {
        EXPECT_EQ(TinyPng(served), ReadFileBytes(Picture(file))) << Narrow(file);
        EXPECT_EQ(ServerTicks(), WriteTicks(Picture(file))) << Narrow(file);
    }

    void MakeListDue() { SetWriteTicks(ListPath(), NowTicks() - Week - Minute); }

    static Route Redirect(const std::string& from, const std::string& to, int status = 302) {
        Route route(from);
        route.status = status;
        route.Header("Location", to);
        return route;
    }

    // Stored pictures 1-5 of a day before the server's time, with a list.
    void StorePictures(const std::string& bytes) {
        if (!FileExists(ListPath())) {
            ASSERT_TRUE(WriteFileBytes(ListPath(), ProductList({})));
        }
        for (int n = 1; n <= 5; ++n) {
            std::wstring name = L"pic0" + std::to_wstring(n) + L".png";
            ASSERT_TRUE(WriteFileBytes(Picture(name), bytes));
            SetWriteTicks(Picture(name), ServerTicks() - Day);
        }
    }
    void ExpectStoredPicture(int n, const std::string& bytes) {
        std::wstring name = L"pic0" + std::to_wstring(n) + L".png";
        EXPECT_EQ(bytes, ReadFileBytes(Picture(name))) << n;
        EXPECT_EQ(ServerTicks() - Day, WriteTicks(Picture(name))) << n;
    }

    // A run with five pictures served by these routes (addresses of their
    // own where the route's is not the picture's).
    void ServePictureRoutes(const std::vector<Route>& pictures, std::vector<Route> more = {}) {
        std::vector<std::string> urls;
        for (const Route& picture : pictures) urls.push_back(picture.url);
        more.insert(more.end(), pictures.begin(), pictures.end());
        more.push_back(ListRoute(ProductList(urls)));
        ASSERT_TRUE(service.SetRoutes(more));
    }
};

TEST_F(UpdateRunTest, FirstRunFetchesEverythingAndAnImmediateSecondRunMakesNoRequest) {
    InstallTable();
    const std::string newTable = LocalTable() + "<!-- refreshed -->\n";
    const std::vector<std::string> pictures = {"a1.png", "a2.png", "a3.jpg", "a4.gif", "a5.png"};
    Serve(pictures, {TableRoute(newTable)});
    WaitingPrompt prompt(categoryId);

    const ULONGLONG before = NowTicks();
    UpdateDocument();
    const ULONGLONG after = NowTicks();

    EXPECT_EQ(newTable, ReadFileBytes(TablePath()));
    ULONGLONG stamped = 0;
    ASSERT_TRUE(StoredUpdateTicks(&stamped));
    EXPECT_LE(before / Millisecond, stamped / Millisecond);
    EXPECT_GE(after / Millisecond, stamped / Millisecond);
    EXPECT_EQ(ProductList({ImageUrl("a1.png"), ImageUrl("a2.png"), ImageUrl("a3.jpg"), ImageUrl("a4.gif"),
                           ImageUrl("a5.png")}),
              ReadFileBytes(ListPath()));
    ExpectPicture(L"pic01.png", "a1.png");
    ExpectPicture(L"pic02.png", "a2.png");
    ExpectPicture(L"pic03.jpg", "a3.jpg");
    ExpectPicture(L"pic04.gif", "a4.gif");
    ExpectPicture(L"pic05.png", "a5.png");
    EXPECT_TRUE(prompt.Signalled());
    EXPECT_EQ(1u, TableGets());
    EXPECT_EQ(6u, CatalogueGets());  // the list and five pictures
    EXPECT_EQ(0u, TemporaryDownloads()) << "table and list copied into place";

    // Nothing is due: no request at all, and the waiting prompt is told again
    // that the pictures it has are the current ones.
    prompt.Reset();
    UpdateDocument();
    EXPECT_EQ(1u, TableGets());
    EXPECT_EQ(6u, CatalogueGets());
    EXPECT_TRUE(prompt.Signalled());
}

// A stored time of another size or no valid time counts as missing: see
// update_due_test.
TEST_F(UpdateRunTest, MappingTableIsDueAfterSevenDaysOrWhenItsTimeLiesAhead) {
    Serve({});
    struct Case {
        const char* what;
        ULONGLONG stored;
        bool due;
    } cases[] = {
        {"7 days ago", NowTicks() - Week, true},
        {"a minute short of 7 days", NowTicks() - Week + Minute, false},
        {"a day in the future", NowTicks() + Day, true},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(StoreUpdateTicks(c.stored)) << c.what;
        size_t requests = TableGets();
        Update(L"");
        EXPECT_EQ(requests + (c.due ? 1 : 0), TableGets()) << c.what;
    }
    EXPECT_FALSE(FolderExists(DataFolder() + L"Images")) << "no category step without a file";
}

TEST_F(UpdateRunTest, CategoryListIsDueAfterSevenDaysOrWhenItsTimeLiesAhead) {
    MakePictureFolder();
    ASSERT_TRUE(StoreUpdateTicks(NowTicks()));
    Serve({"b1.png"});
    ASSERT_TRUE(WriteFileBytes(ListPath(), ProductList({ImageUrl("b1.png")})));
    WaitingPrompt prompt(categoryId);

    struct Case {
        const char* what;
        ULONGLONG listTime;
        bool due;
    } cases[] = {
        {"a minute short of 7 days", NowTicks() - Week + Minute, false},
        {"7 days ago", NowTicks() - Week, true},
        {"a day in the future", NowTicks() + Day, true},
    };
    for (const Case& c : cases) {
        SetWriteTicks(ListPath(), c.listTime);
        size_t requests = Gets(ListUrl());
        prompt.Reset();
        UpdateDocument();
        EXPECT_EQ(requests + (c.due ? 1 : 0), Gets(ListUrl())) << c.what;
        EXPECT_TRUE(prompt.Signalled()) << c.what;  // also when the list was not due
    }
    EXPECT_EQ(0u, TableGets());
}

TEST_F(UpdateRunTest, AnInvalidTableIsNotCopiedButItsTimeIsWritten) {
    InstallTable();
    Serve({"c1.png"}, {TableRoute("<cfg:Configuration")});
    WaitingPrompt prompt(categoryId);

    // Well-formed, and still no table.
    RegDeleteKeyValueW(HKEY_CURRENT_USER, ProductRegistryKey, MTABLE_UPDATE);
    ASSERT_TRUE(service.SetRoutes({TableRoute("<?xml version=\"1.0\"?>\n<html xmlns=\"http://www.w3.org/1999/xhtml\">"
                                              "<body><p>Moved</p></body></html>\n")}));
    Update(L"");
    EXPECT_EQ(LocalTable(), ReadFileBytes(TablePath()));

    RegDeleteKeyValueW(HKEY_CURRENT_USER, ProductRegistryKey, MTABLE_UPDATE);
    Serve({"c1.png"}, {TableRoute("<cfg:Configuration")});
    UpdateDocument();
    EXPECT_EQ(LocalTable(), ReadFileBytes(TablePath()));
    ULONGLONG stamped = 0;
    EXPECT_TRUE(StoredUpdateTicks(&stamped));
    EXPECT_EQ(1u, Gets(ListUrl())) << "the run goes on";
    EXPECT_TRUE(FileExists(Picture(L"pic01.png")));
    EXPECT_TRUE(prompt.Signalled());
    EXPECT_EQ(0u, TemporaryDownloads()) << "the rejected table";
}

TEST_F(UpdateRunTest, AFailedTableDownloadEndsTheRun) {
    InstallTable();
    Route broken = TableRoute("server error");
    broken.status = 500;
    Serve({"d1.png"}, {broken});
    WaitingPrompt prompt(categoryId);

    UpdateDocument();
    EXPECT_EQ(1u, TableGets());
    EXPECT_EQ(LocalTable(), ReadFileBytes(TablePath()));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, ProductRegistryKey, MTABLE_UPDATE));
    EXPECT_EQ(0u, CatalogueGets());
    EXPECT_FALSE(FileExists(ListPath()));
    EXPECT_FALSE(prompt.Signalled());
}

TEST_F(UpdateRunTest, ThreeProductsRemoveEveryFourthAndFifthPicture) {
    MakePictureFolder();
    for (const wchar_t* name : {L"pic01.gif", L"pic04.jpg", L"pic04", L"pic05.png", L"pic05.bmp"})
        ASSERT_TRUE(WriteFileBytes(Picture(name), "old"));
    Serve({"e1.png", "e2.png", "e3.png"});

    UpdateDocument();
    ExpectPicture(L"pic01.png", "e1.png");
    ExpectPicture(L"pic02.png", "e2.png");
    ExpectPicture(L"pic03.png", "e3.png");
    for (const wchar_t* name : {L"pic01.gif", L"pic04.jpg", L"pic04", L"pic05.png", L"pic05.bmp"})
        EXPECT_FALSE(FileExists(Picture(name))) << Narrow(name);
}

TEST_F(UpdateRunTest, SevenProductsGiveTheFirstFivePictures) {
    MakePictureFolder();
    Serve({"f1.png", "f2.png", "f3.png", "f4.png", "f5.png", "f6.png", "f7.png"});

    UpdateDocument();
    for (int n = 1; n <= 5; ++n)
        ExpectPicture(L"pic0" + std::to_wstring(n) + L".png", "f" + std::to_string(n) + ".png");
    EXPECT_EQ(0u, Gets(ImageUrl("f6.png")));
    EXPECT_EQ(0u, Gets(ImageUrl("f7.png")));
}

// A broken list never gets stored: see OnlyACompleteListReplacesTheStoredOne.
TEST_F(UpdateRunTest, AnEmptyListLeavesThePicturesAsTheyAre) {
    MakePictureFolder();
    ASSERT_TRUE(StoreUpdateTicks(NowTicks()));
    ASSERT_TRUE(WriteFileBytes(Picture(L"pic01.png"), "kept 1"));
    ASSERT_TRUE(WriteFileBytes(Picture(L"pic05.jpg"), "kept 5"));
    SetWriteTicks(Picture(L"pic01.png"), ServerTicks());
    ASSERT_TRUE(service.SetRoutes({ListRoute(ProductList({}))}));
    WaitingPrompt prompt(categoryId);

    UpdateDocument();
    EXPECT_EQ(ProductList({}), ReadFileBytes(ListPath()));
    EXPECT_EQ("kept 1", ReadFileBytes(Picture(L"pic01.png")));
    EXPECT_EQ(ServerTicks(), WriteTicks(Picture(L"pic01.png")));
    EXPECT_EQ("kept 5", ReadFileBytes(Picture(L"pic05.jpg")));
    EXPECT_TRUE(prompt.Signalled());
    EXPECT_EQ(1u, CatalogueGets());  // the list, no picture
}

TEST_F(UpdateRunTest, APictureInAnotherFormatReplacesTheOldFile) {
    MakePictureFolder();
    ASSERT_TRUE(WriteFileBytes(Picture(L"pic02.jpg"), "old jpeg"));
    Serve({"g1.jpg", "g2.png"});

    UpdateDocument();
    EXPECT_FALSE(FileExists(Picture(L"pic02.jpg")));
    ExpectPicture(L"pic02.png", "g2.png");
}

// Its address is the image host's bare prefix: the pictures of its number
// show a product no longer listed.
TEST_F(UpdateRunTest, AProductWithoutPictureLeavesNoPictureOfItsNumber) {
    MakePictureFolder();
    ASSERT_TRUE(WriteFileBytes(Picture(L"pic02.jpg"), "old 2"));
    ASSERT_TRUE(WriteFileBytes(Picture(L"pic02.png"), "old 2"));
    Serve({"h1.png", "", "h3.png"});
    WaitingPrompt prompt(categoryId);

    UpdateDocument();
    ExpectPicture(L"pic01.png", "h1.png");
    EXPECT_FALSE(FileExists(Picture(L"pic02.jpg")));
    EXPECT_FALSE(FileExists(Picture(L"pic02.png")));
    ExpectPicture(L"pic03.png", "h3.png");
    EXPECT_EQ(3u, CatalogueGets());  // the list and two pictures
    EXPECT_TRUE(prompt.Signalled());
}

TEST_F(UpdateRunTest, WithoutAFileOrAUsableCategoryOnlyTheTableIsRefreshed) {
    InstallTable();
    Route deviceList(ProductListPrefix + "NUL/");
    deviceList.body = ProductList({ImageUrl("i1.png")});
    Serve({"i1.png"}, {deviceList});
    WaitingPrompt prompt(categoryId);

    Update(L"");
    EXPECT_EQ(1u, TableGets());
    ASSERT_TRUE(ValueExists(HKEY_CURRENT_USER, ProductRegistryKey, MTABLE_UPDATE));

    RegDeleteKeyValueW(HKEY_CURRENT_USER, ProductRegistryKey, MTABLE_UPDATE);
    Update(root.path() + L"\\docs\\unknown.zzq");
    EXPECT_EQ(2u, TableGets());

    // A list file "NUL.xml" would be the null device: nothing stored, never
    // due, asked for on every run.
    ASSERT_TRUE(WriteFileBytes(TablePath(), MappingTable(Narrow(Extension), "NUL")));
    WaitingPrompt device("NUL");
    const size_t deviceGets = Gets(deviceList.url);
    UpdateDocument();
    UpdateDocument();
    EXPECT_EQ(deviceGets, Gets(deviceList.url));
    EXPECT_FALSE(device.Signalled());

    EXPECT_EQ(2u, TableGets());
    EXPECT_EQ(0u, CatalogueGets());
    EXPECT_FALSE(FolderExists(DataFolder() + L"Images"));
    EXPECT_FALSE(prompt.Signalled());
}

// The list too: one due whose server copy has its length and time is not
// downloaded, and its pictures still come.
TEST_F(UpdateRunTest, UnchangedListsAndPicturesAreNotDownloadedAgain) {
    MakePictureFolder();
    Serve({"j1.png", "j2.png"});
    UpdateDocument();
    ExpectPicture(L"pic01.png", "j1.png");

    // Same length and time on the server, other bytes: a download would show.
    const std::string stored = ReadFileBytes(ListPath());
    SetWriteTicks(ListPath(), ServerTicks());  // years ago: due
    Route sameList = ListRoute(ProductList({ImageUrl("j2.png"), ImageUrl("j1.png")}));
    sameList.Header("Last-Modified", HttpDate(ServerTime()));
    Serve({"j1.png", "j2.png"}, {sameList, PictureRoute("j1.png", TinyPng("J1.PNG")),
                                 PictureRoute("j2.png", TinyPng("a longer j2.png"))});
    WaitingPrompt prompt(categoryId);
    UpdateDocument();
    EXPECT_EQ(2u, Gets(ListUrl()));
    EXPECT_EQ(stored, ReadFileBytes(ListPath()));
    EXPECT_EQ(ServerTicks(), WriteTicks(ListPath()));
    EXPECT_EQ(2u, Gets(ImageUrl("j1.png"))) << "asked again";
    ExpectPicture(L"pic01.png", "j1.png");
    EXPECT_EQ(TinyPng("a longer j2.png"), ReadFileBytes(Picture(L"pic02.png")));
    EXPECT_TRUE(prompt.Signalled());
}

TEST_F(UpdateRunTest, HostilePictureAddressesWriteNothingOutsideThePictureFolder) {
    MakePictureFolder();
    ASSERT_TRUE(WriteFileBytes(Picture(L"pic02.jpg"), "old 2"));
    const std::string base = ImageHostPath + categoryId + "/";
    const std::vector<std::string> hostile = {
        base + "a.b/..\\..\\evil1",
        base + "x.png:evil2",
        base + "evil3.*",
        base + "evil4." + std::string(300, 'e'),
    };
    std::vector<Route> routes = {TableRoute(LocalTable())};
    for (const std::string& url : hostile) {
        routes.push_back(Route(url));
        routes.back().body = "evil";
    }
    routes.push_back(ListRoute(ProductList({hostile[0], hostile[1], hostile[2], hostile[3], ImageUrl("k5.png")})));
    routes.push_back(PictureRoute("k5.png"));
    ASSERT_TRUE(service.SetRoutes(routes));
    WaitingPrompt prompt(categoryId);

    UpdateDocument();
    EXPECT_EQ(2u, CatalogueGets());  // the list and the fifth picture
    EXPECT_EQ(0u, Gets("evil"));
    ExpectPicture(L"pic05.png", "k5.png");
    EXPECT_FALSE(FileExists(Picture(L"pic02.jpg"))) << "no usable picture for number 2";
    EXPECT_TRUE(prompt.Signalled());

    const std::wstring pictures = L"ProgramData\\Dravik\\Wendaro\\Images\\" + Extension + L"\\";
    for (const std::wstring& file : FilesIn(root.path())) {
        bool expected = file == L"ProgramData\\Dravik\\Wendaro\\Mappingtable.xml" ||
                        file.rfind(pictures, 0) == 0 || file.rfind(L"Temp\\", 0) == 0;
        EXPECT_TRUE(expected) << Narrow(file);
    }
    EXPECT_EQ(2u, FilesIn(PictureFolder()).size());  // the list and pic05.png
}

// Whatever fails, the step fails: the stored list keeps its time (so the next
// run asks again), no picture is touched and the prompt is not told.
TEST_F(UpdateRunTest, OnlyACompleteListReplacesTheStoredOne) {
    MakePictureFolder();
    ASSERT_TRUE(StoreUpdateTicks(NowTicks()));
    const std::string stored = ProductList({ImageUrl("m1.png")});
    ASSERT_TRUE(WriteFileBytes(ListPath(), stored));
    ASSERT_TRUE(WriteFileBytes(Picture(L"pic01.png"), "kept"));
    const std::string fresh = ProductList({ImageUrl("n1.png"), ImageUrl("n2.png"), ImageUrl("n3.png")});
    Route truncated = ListRoute(fresh);
    truncated.dropAfter = static_cast<long long>(fresh.size() / 2);
    const Route bad[] = {
        truncated,
        ListRoute("<html><head><title>Service unavailable</title></head>\n"
                  "<body><p>Try again later.<br></body></html>\n"),
        ListRoute(fresh.substr(0, fresh.size() - 10)),
        ListRoute("<?xml version=\"1.0\"?>\n<!DOCTYPE ns1:SearchProductResponse [\n"
                  "<!ENTITY more \"more\">\n]>\n" + fresh.substr(fresh.find('<', 1))),
        // Well-formed, without a DOCTYPE, and still no list.
        ListRoute("<?xml version=\"1.0\"?>\n<html xmlns=\"http://www.w3.org/1999/xhtml\"><head>"
                  "<title>503</title></head><body><p>Service unavailable</p></body></html>\n"),
        ListRoute("<?xml version=\"1.0\"?>\n<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                  "<soap:Body><soap:Fault><faultcode>soap:Server</faultcode><faultstring>"
                  "categoryID unknown</faultstring></soap:Fault></soap:Body></soap:Envelope>\n"),
        Redirect(ListUrl(), "http://" + UniqueHost("plain") + "/list.xml"),
    };
    WaitingPrompt prompt(categoryId);

    for (const Route& list : bad) {
        SCOPED_TRACE(list.body.substr(0, 40) + list.url.substr(0, 40));
        Route plain("http://" + UniqueHost("plain") + "/list.xml");
        plain.body = fresh;
        ASSERT_TRUE(service.SetRoutes({list, PictureRoute("n1.png"), plain}));
        MakeListDue();
        const ULONGLONG listTime = WriteTicks(ListPath());
        const size_t requests = Gets(ListUrl());
        prompt.Reset();
        UpdateDocument();
        EXPECT_EQ(requests + 1, Gets(ListUrl()));
        EXPECT_EQ(stored, ReadFileBytes(ListPath()));
        EXPECT_EQ(listTime, WriteTicks(ListPath()));
        EXPECT_EQ("kept", ReadFileBytes(Picture(L"pic01.png")));
        EXPECT_FALSE(prompt.Signalled());
    }
    EXPECT_EQ(0u, Gets(ImageUrl("n1.png")));
    EXPECT_EQ(0u, TemporaryDownloads());
}

// ---- Picture hosts that fail or stall ----------------------------------------
// Only a complete picture replaces a stored one; no picture holds the run past
// the download time limit (the program's own: a minute).

TEST_F(UpdateRunTest, OnlyAWholePictureReplacesTheStoredOne) {
    MakePictureFolder();
    ASSERT_TRUE(StoreUpdateTicks(NowTicks()));
    const std::string kept = TinyPng("kept");

    // Whole pictures, so that only the fault can be what turns them away.
    Route cut = PictureRoute("q1.png", RgbPng(128, 104, "q1.png"));
    cut.dropAfter = 15000;
    // 11 MB past the download bound in a picture within the side bound.
    Route oversized = PictureRoute("q2.png", RgbPng(MaxPictureSide, MaxPictureSide, std::string(8 << 20, 'q')));
    oversized.framing = "chunked";
    Route lastChunkMissing = PictureRoute("q3.png", RgbPng(128, 104, "q3.png"));
    lastChunkMissing.framing = "chunked";
    lastChunkMissing.dropAfter = 40000;
    Route cutAtClose = PictureRoute("q4.png", RgbPng(128, 104, "q4.png"));
    cutAtClose.framing = "close";
    cutAtClose.dropAfter = 20000;
    Route empty = PictureRoute("q5.png", "");

    Route page = PictureRoute("r1.png", "<html><body>Not here</body></html>\n");
    Route noStatusLine = PictureRoute("r2.png", TinyPng("r2.png"));
    noStatusLine.noStatusLine = true;
    Route tallFrame = PictureRoute("r3.png", GifWithFrame(50, 40, 5000, 40));
    // Its bytes past the length stay on the connection the next picture's
    // request takes: they must not become that picture.
    Route longerThanItsLength = PictureRoute("r4.png", TinyPng("r4.png"));
    longerThanItsLength.contentLength = static_cast<long long>(TinyPng("r4.png").size()) - 12;
    Route afterTheLongerOne = PictureRoute("r5.png");

    const std::string elsewhere = UniqueHost("elsewhere");
    Route giant = PictureRoute("s5.png", GiantPng(30000, 30000));  // 2.6 MB
    Route downward("http://" + elsewhere + "/s3.png");
    downward.body = TinyPng("s3.png");

    struct Case {
        const char* what;
        std::vector<Route> pictures;
        std::vector<Route> more;
    } cases[] = {
        {"cut, too large, no last chunk, cut at close, empty",
         {cut, oversized, lastChunkMissing, cutAtClose, empty}, {}},
        {"a page, no status line, a frame over the bound, longer than its length",
         {page, noStatusLine, tallFrame, longerThanItsLength, afterTheLongerOne}, {}},
        {"redirects to ftp, gopher, plain http and itself; a giant",
         {Redirect(ImageUrl("s1.png"), "ftp://" + elsewhere + "/s1.png"),
          Redirect(ImageUrl("s2.png"), "gopher://" + elsewhere + "/s2.png"),
          Redirect(ImageUrl("s3.png"), downward.url, 301), Redirect(ImageUrl("s4.png"), ImageUrl("s4.png")),
          giant},
         {downward}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StorePictures(kept);
        // Side files interrupted runs left, of numbers this run does not
        // download into.
        ASSERT_TRUE(WriteFileBytes(Picture(L"~pic07.99999.part"), "left"));
        ASSERT_TRUE(WriteFileBytes(Picture(L"~pic01.99999.part"), "left"));
        ServePictureRoutes(c.pictures, c.more);
        MakeListDue();
        UpdateDocument();
        for (size_t i = 0; i < c.pictures.size(); ++i) {
            EXPECT_LE(1u, Gets(c.pictures[i].url)) << i;
            if (c.pictures[i].url == afterTheLongerOne.url && ReadFileBytes(Picture(L"pic05.png")) != kept) {
                ExpectPicture(L"pic05.png", "r5.png");  // asked on a connection of its own
                continue;
            }
            ExpectStoredPicture(static_cast<int>(i) + 1, kept);
        }
        EXPECT_EQ(6u, FilesIn(PictureFolder()).size()) << "the list and five pictures, nothing else";
    }
    EXPECT_EQ(0u, Gets(elsewhere)) << "no redirect taken";
}

// 307 and 308 are followed; a picture that cannot take the stored one's
// place leaves it: its rename fails, or the carousel's loader does not draw it.
TEST_F(UpdateRunTest, RedirectedPicturesAreStoredAndOnesThatCannotTakeTheirPlaceKeepTheStoredOnes) {
    MakePictureFolder();
    ASSERT_TRUE(StoreUpdateTicks(NowTicks()));
    StorePictures(TinyPng("kept"));
    // Whole in its framing, with a second header chunk that the decoder refuses.
    std::string undrawn = TinyPng("u4.png");
    undrawn.insert(33, undrawn.substr(8, 25));
    ServePictureRoutes({Redirect(ImageUrl("u1.png"), ImageUrl("v1.png"), 307),
                        Redirect(ImageUrl("u2.png"), ImageUrl("v2.png"), 308), PictureRoute("u3.png"),
                        PictureRoute("u4.png", undrawn)},
                       {PictureRoute("v1.png"), PictureRoute("v2.png")});
    MakeListDue();
    {
        KernelHandle held(CreateFileW(Picture(L"pic03.png").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        UpdateDocument();
    }
    ExpectPicture(L"pic01.png", "v1.png");
    ExpectPicture(L"pic02.png", "v2.png");
    EXPECT_EQ(1u, Gets(ImageUrl("u3.png")));
    ExpectStoredPicture(3, TinyPng("kept"));
    EXPECT_EQ(1u, Gets(ImageUrl("u4.png")));
    ExpectStoredPicture(4, TinyPng("kept"));
    EXPECT_EQ(5u, FilesIn(PictureFolder()).size()) << "the list and four pictures, nothing else";
}

// Hosts that keep a download alive without end, in every state of it. The
// program's own bounds (a minute a download, two for the run) are shortened
// here; StalledHostsCostADownloadAMinuteAndTheRunTwo runs with the real ones.
TEST_F(UpdateRunTest, EveryStalledStateEndsWithinItsBound) {
    MakePictureFolder();
    ASSERT_TRUE(StoreUpdateTicks(NowTicks()));
    const DWORD download = 3000, run = 9000;
    ScopedEnvironment limits(L"WENDARO_UPDATE_TIME_LIMITS",
                             (std::to_wstring(download) + L"," + std::to_wstring(run)).c_str());
    const std::string kept = TinyPng("kept");
    StorePictures(kept);
    ASSERT_TRUE(WriteFileBytes(ListPath(), ProductList({})));
    const std::string stored = ReadFileBytes(ListPath());

    Route noTls(ImageHostPath.substr(0, 8) + UniqueHost("notls") + "/w1.png");
    noTls.tlsStall = true;
    Route trickledHeader = PictureRoute("w2.png");
    trickledHeader.headerDelayMs = 400;
    Route endless = PictureRoute("w4.png", "");
    endless.framing = "chunked";
    endless.endless = true;
    Route silent = PictureRoute("w5.png");
    silent.stallBeforeResponse = true;
    // The endless body goes first: closing its request reads on while the
    // next downloads run.
    ServePictureRoutes({endless, noTls, PictureRoute("w3.png"), trickledHeader, silent});
    MakeListDue();
    ULONGLONG started = GetTickCount64();
    UpdateDocument();
    ULONGLONG took = GetTickCount64() - started;
    EXPECT_LT(took, run + 3000u) << "the run's budget";
    EXPECT_GE(took, run - 1500u);
    ExpectPicture(L"pic03.png", "w3.png");  // reached: the two before it each ended at their bound
    for (int n : {1, 2, 4, 5}) ExpectStoredPicture(n, kept);
    EXPECT_EQ(6u, FilesIn(PictureFolder()).size()) << "the list and five pictures, nothing else";

    // The table over plain http and the list over https, each stalled: the
    // step fails at its bound and the run ends there.
    ASSERT_TRUE(WriteFileBytes(ListPath(), stored));
    Route tableTrickle = TableRoute(LocalTable());
    tableTrickle.headerDelayMs = 400;
    Route listNoTls = ListRoute(ProductList({ImageUrl("w3.png")}));
    listNoTls.tlsStall = true;
    struct Case {
        const char* what;
        Route route;
        bool tableDue;
    } cases[] = {{"table", tableTrickle, true}, {"list", listNoTls, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.tableDue ? StoreUpdateTicks(NowTicks() - Week) : StoreUpdateTicks(NowTicks()));
        ASSERT_TRUE(service.SetRoutes({c.route}));
        MakeListDue();
        const ULONGLONG listTime = WriteTicks(ListPath());
        WaitingPrompt prompt(categoryId);
        started = GetTickCount64();
        UpdateDocument();
        took = GetTickCount64() - started;
        EXPECT_GE(took, download - 500u);
        EXPECT_LT(took, download + 3000u);
        EXPECT_EQ(LocalTable(), ReadFileBytes(TablePath()));
        EXPECT_EQ(stored, ReadFileBytes(ListPath()));
        EXPECT_EQ(listTime, WriteTicks(ListPath()));
        EXPECT_FALSE(prompt.Signalled());
        EXPECT_EQ(0u, TemporaryDownloads());
    }
}

// ---- Runs that meet or are cut short ----------------------------------------

// Two prompts start two runs at once, each with the table and its list due,
// in a temporary folder where nearly every name the system would hand out is
// taken: each run still stores what it downloaded, and leaves nothing.
TEST_F(UpdateRunTest, TwoRunsAtOnceEachStoreTheirDownloads) {
    MakePictureFolder();
    const std::wstring otherExtension = L"wdy";
    const std::string otherCategory = categoryId + "y";
    const std::string twoItems = MappingTable({{Narrow(Extension), categoryId}, {Narrow(otherExtension), otherCategory}});
    ASSERT_TRUE(WriteFileBytes(TablePath(), twoItems));
    ASSERT_TRUE(StoreUpdateTicks(NowTicks() - Week));
    // Each download lasts a while, so that the two runs' downloads overlap.
    Route newTable = TableRoute(twoItems + "<!-- refreshed -->\n");
    Route list = ListRoute(ProductList({}));
    Route otherList(ProductListPrefix + otherCategory + "/");
    otherList.body = ProductList({""});
    for (Route* route : {&newTable, &list, &otherList}) {
        route->chunkSize = static_cast<int>(route->body.size() / 4 + 1);
        route->chunkDelayMs = 100;
    }
    ASSERT_TRUE(service.SetRoutes({newTable, list, otherList}));
    // Nearly every name the system hands out is taken (the build made the
    // folder): both runs' searches for a free one end at the same few.
    ScopedEnvironment takenTmp(L"TMP", WindowsPathOf(std::string(WENDARO_TAKEN_NAMES)).c_str());
    ScopedEnvironment takenTemp(L"TEMP", WindowsPathOf(std::string(WENDARO_TAKEN_NAMES)).c_str());

    const std::wstring otherDocument = root.path() + L"\\docs\\notes." + otherExtension;
    KernelHandle first(StartProgram(L"/update " + QuoteArgument(Document())));
    KernelHandle second(StartProgram(L"/update " + QuoteArgument(otherDocument)));
    ASSERT_TRUE(first && second);
    for (HANDLE run : {first.get(), second.get()}) {
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(run, 60000)) << "the update run did not end";
        DWORD exitCode = 1;
        EXPECT_TRUE(GetExitCodeProcess(run, &exitCode) && exitCode == 0);
    }
    EXPECT_EQ(newTable.body, ReadFileBytes(TablePath()));
    EXPECT_EQ(list.body, ReadFileBytes(ListPath()));
    EXPECT_EQ(otherList.body,
              ReadFileBytes(DataFolder() + L"Images\\" + otherExtension + L"\\" + Widen(otherCategory) + L".xml"));
    EXPECT_EQ(2u, TableGets());
    EXPECT_EQ(0u, WorkFiles(WindowsPathOf(std::string(WENDARO_TAKEN_NAMES))).size());
    EXPECT_EQ(0u, WorkFiles(DataFolder()).size());
}

// A run ended from outside (a log-off, a kill) in the middle of its list
// leaves its download; the next run, whatever is due, removes it and what
// ended runs left beside the stored files, and stores the list.
TEST_F(UpdateRunTest, WhatAnEndedRunLeftTheNextRunRemoves) {
    MakePictureFolder();
    ASSERT_TRUE(StoreUpdateTicks(NowTicks()));
    Route stalled = ListRoute(ProductList({}) + std::string(4000, ' '));
    stalled.stallAfter = 1000;
    ASSERT_TRUE(service.SetRoutes({stalled}));
    std::vector<std::wstring> left;
    {
        KernelHandle run(StartProgram(L"/update " + QuoteArgument(Document())));
        ASSERT_TRUE(run);
        KernelHandle changes(FindFirstChangeNotificationW(tempFolder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME));
        ASSERT_TRUE(changes);
        for (ULONGLONG end = GetTickCount64() + 20000; left.empty() && GetTickCount64() < end;) {
            WaitForSingleObject(changes.get(), 500);
            FindNextChangeNotification(changes.get());
            left = WorkFiles(tempFolder);
        }
        TerminateProcess(run.get(), 1);
        WaitForSingleObject(run.get(), 10000);
    }
    ASSERT_EQ(1u, left.size()) << "the list's download";
    // What other ended runs left: process ids are multiples of four, so
    // 99999 never runs.
    const std::wstring otherPictures = DataFolder() + L"Images\\pdf\\";
    ASSERT_TRUE(CreateDirectoryW(otherPictures.c_str(), nullptr));
    const std::vector<std::wstring> ended = {PictureFolder() + L"~pic02.99999.part", ListPath() + L".~99999-12",
                                             TablePath() + L".~99999-12", otherPictures + L"~pic01.99999.part"};
    // The system's unique name of another program, and a work file of a run
    // that still runs (this test, between two of its steps).
    const std::vector<std::wstring> kept = {
        tempFolder + L"\\VELB0B0.tmp",
        PictureFolder() + L"~pic03." + std::to_wstring(GetCurrentProcessId()) + L".part"};
    for (const std::wstring& file : ended) ASSERT_TRUE(WriteFileBytes(file, "left"));
    for (const std::wstring& file : kept) ASSERT_TRUE(WriteFileBytes(file, "kept"));

    Serve({});
    UpdateDocument();
    EXPECT_EQ(ProductList({}), ReadFileBytes(ListPath()));
    EXPECT_EQ(0u, TemporaryDownloads());
    for (const std::wstring& file : ended) EXPECT_FALSE(FileExists(file)) << Narrow(file);
    for (const std::wstring& file : kept) EXPECT_TRUE(FileExists(file)) << Narrow(file);
}

// Two machines update at once with the program's real bounds, so that the
// suite waits them out only once: the other machine's first picture
// trickles in at 64 bytes a second and costs its run a minute; this one's
// pictures stall in every state and spend the run's two minutes.
TEST_F(UpdateRunTest, StalledHostsCostADownloadAMinuteAndTheRunTwo) {
    MakePictureFolder();
    ASSERT_TRUE(StoreUpdateTicks(NowTicks()));  // each machine's own table names its category
    const std::string otherCategory = categoryId + "x";
    const std::wstring otherProfile = root / L"OtherProgramData";
    const std::wstring otherData = otherProfile + L"\\Dravik\\Wendaro\\";
    const std::wstring otherPictures = otherData + L"Images\\" + Extension + L"\\";
    for (const std::wstring& folder : {otherProfile, otherProfile + L"\\Dravik", otherData})
        CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(otherData + L"Mappingtable.xml", MappingTable(Narrow(Extension), otherCategory)));
    const std::string otherImages = ImageHostPath + otherCategory + "/images/product/thumbnail/";

    Route trickle(otherImages + "t1.png");
    trickle.body = RgbPng(182, 182, "t1.png");  // 100 kB
    trickle.chunkSize = 64;
    trickle.chunkDelayMs = 1000;
    Route otherPicture(otherImages + "t2.png");
    otherPicture.body = TinyPng("t2.png");
    Route otherList(ProductListPrefix + otherCategory + "/");
    otherList.body = ProductList({trickle.url, otherPicture.url});

    Route noTls(ImageHostPath.substr(0, 8) + UniqueHost("notls") + "/x1.png");
    noTls.tlsStall = true;
    Route trickledHeader = PictureRoute("x3.png");
    trickledHeader.headerDelayMs = 2000;
    Route silent = PictureRoute("x4.png");
    silent.stallBeforeResponse = true;
    Route endless = PictureRoute("x5.png", "");
    endless.framing = "chunked";
    endless.endless = true;
    ServePictureRoutes({noTls, PictureRoute("x2.png"), trickledHeader, silent, endless},
                       {TableRoute(LocalTable()), trickle, otherPicture, otherList});
    WaitingPrompt prompt(categoryId);

    const std::wstring arguments = L"/update " + QuoteArgument(Document());
    ULONGLONG started = GetTickCount64();
    KernelHandle first(StartProgram(arguments));
    KernelHandle second;
    {
        ScopedEnvironment other(L"ALLUSERSPROFILE", otherProfile.c_str());
        second.reset(StartProgram(arguments));
    }
    ASSERT_TRUE(first && second);
    ULONGLONG took[2] = {};
    HANDLE processes[2] = {second.get(), first.get()};
    for (int i = 0; i < 2; ++i) {
        if (WaitForSingleObject(processes[i], 150000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the update run did not end";
            TerminateProcess(processes[i], 1);
        }
        took[i] = GetTickCount64() - started;
    }
    EXPECT_GE(took[0], 59000u) << "the trickled picture's minute";
    EXPECT_LT(took[0], 66000u);
    EXPECT_GE(took[1], 118000u) << "the run's two minutes";
    EXPECT_LT(took[1], 124000u);

    ExpectPicture(L"pic02.png", "x2.png");
    EXPECT_EQ(1u, Gets(trickledHeader.url));
    EXPECT_TRUE(prompt.Signalled());
    EXPECT_EQ(2u, FilesIn(PictureFolder()).size()) << "the list and the second picture";
    EXPECT_EQ(1u, Gets(trickle.url));
    EXPECT_EQ(TinyPng("t2.png"), ReadFileBytes(otherPictures + L"pic02.png"));
    EXPECT_EQ(2u, FilesIn(otherPictures).size()) << "the list and the second picture";
}

}  // namespace
