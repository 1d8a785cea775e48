#include "catalogue/mt_mgr.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <thread>

#include "shared/endpoints.h"
#include "tests/catalogue/catalogue_test_support.h"
#include "tests/support/environment.h"
#include "tests/support/temp_folder.h"

using namespace wendaro_test;

namespace {

// A data folder of its own for every test, with or without a table in it.
class MtMgrTest : public ::testing::Test {
protected:
    MtMgrTest() : profile(L"ALLUSERSPROFILE", folder.path().c_str()) {}

    std::wstring TablePath() const { return folder.path() + L"\\Dravik\\Wendaro\\Mappingtable.xml"; }

    void InstallTable(const std::string& content) {
        CreateDirectoryW((folder / L"Dravik").c_str(), nullptr);
        CreateDirectoryW((folder / L"Dravik\\Wendaro").c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(TablePath(), content));
    }
    void InstallSample(const wchar_t* name) { InstallTable(ReadFileBytes(DataPath(name))); }

    static std::wstring Lookup(const std::wstring& extension) {
        CVELQMtMgr manager;
        return manager.Lookup(extension);
    }

    ComScope com;
    TempFolder folder;
    ScopedEnvironment profile;
};

TEST_F(MtMgrTest, TablePathFollowsTheAllUsersProfile) {
    EXPECT_EQ(TablePath(), GetMappingTablePath());
    {
        ScopedEnvironment set(L"ALLUSERSPROFILE", L"C:\\ProgramData");
        EXPECT_EQ(L"C:\\ProgramData\\Dravik\\Wendaro\\Mappingtable.xml", GetMappingTablePath());
    }
    {
        ScopedEnvironment unset(L"ALLUSERSPROFILE", nullptr);
        EXPECT_EQ(L"", GetMappingTablePath());
        EXPECT_EQ(L"", Lookup(L"pdf"));
    }
    {
        // Too long for the buffer: no path rather than a cut one.
        std::wstring longValue = L"C:\\" + std::wstring(256, L'p');
        ScopedEnvironment tooLong(L"ALLUSERSPROFILE", longValue.c_str());
        EXPECT_EQ(L"", GetMappingTablePath());
    }
}

// Which item matches is the wrapper's matter (xml_test); here: the category
// is the other side of the match, and nothing is kept from a non-match.
TEST_F(MtMgrTest, LookupGivesTheOtherTextOfTheFirstMatchingItem) {
    InstallSample(L"mapping_indented.xml");
    EXPECT_EQ(L"1001", Lookup(L"PDF"));
    EXPECT_EQ(L"1002", Lookup(L"epub"));     // extension as the last child
    EXPECT_EQ(L"Mix", Lookup(L"mix"));       // both sides match: the last wins
    EXPECT_EQ(L"solo", Lookup(L"solo"));     // one child
    EXPECT_EQ(L"1010", Lookup(L"DOC"));      // the earlier group wins
    EXPECT_EQ(L"", Lookup(L"cmtlast"));      // the other side is a comment
    EXPECT_EQ(L"", Lookup(L"exe"));
}

TEST_F(MtMgrTest, AMissingOrBrokenTableIsNoCategory) {
    EXPECT_EQ(L"", Lookup(L"pdf"));
    InstallSample(L"mapping_broken.xml");
    EXPECT_EQ(L"", Lookup(L"pdf"));
    InstallTable("");
    EXPECT_EQ(L"", Lookup(L"pdf"));
}

TEST_F(MtMgrTest, LookupWithoutComIsNoCategory) {
    InstallSample(L"mapping_indented.xml");
    std::wstring result = L"unset";
    std::thread([&] { result = Lookup(L"pdf"); }).join();  // COM not initialised there
    EXPECT_EQ(L"", result);
}

// Ids go into file names, an event name and a URL: only plain tokens count.
TEST_F(MtMgrTest, CategoryIdsThatAreNoPlainTokenAreNoCategory) {
    const size_t urlWithoutId = wcslen(StoreProductListURLFormat) - 2;  // without %s
    const std::string longestId(2083 - urlWithoutId, '7');
    const struct {
        const char* extension;
        std::string id;  // as written in the table
        const wchar_t* expected;
    } cases[] = {
        {"dot", ".", L""},              {"dotdot", "..", L""},
        {"spaceddots", " .. ", L""},    {"up", "..\\evil", L""},
        {"slash", "a/b", L""},          {"colon", "c:x", L""},
        {"star", "a*", L""},            {"question", "a?", L""},
        {"quote", "a&quot;b", L""},     {"less", "a&lt;b", L""},
        {"greater", "a&gt;b", L""},     {"pipe", "a|b", L""},
        {"tab", "a&#9;b", L""},         {"newline", "a&#10;b", L""},
        {"c1", "a&#x85;b", L""},        {"blanks", "   ", L""},
        {"longest", longestId, nullptr}, {"toolong", longestId + "7", L""},
        {"spaced", "12 34", L"12 34"},  {"dotted", "v1.2", L"v1.2"},
        {"wide", "&#x30AB;&#x30C6;", L"\u30AB\u30C6"},
        // The list file "<id>.xml" must not be a device...
        {"dnul", "NUL", L""},            {"dcon", "con", L""},
        {"daux", "Aux", L""},            {"dprn", "prn .txt", L""},
        {"dnultxt", "nul.txt", L""},     {"dcom1", "COM1", L""},
        {"dlpt9", "lpt9.x.y", L""},      {"dcomsup", "COM&#xB9;", L""},
        {"dconout", "CONOUT$", L""},     {"dcom10", "COM10", L"COM10"},
        {"dnulls", "nullsoft", L"nullsoft"}, {"dconnul", "con-nul", L"con-nul"},
        // ...nor a picture, which clearing that number would delete.
        {"ppic", "pic03", L""},          {"ppicext", "PIC01.v2", L""},
        {"ppic3", "pic003", L"pic003"},  {"ppicx", "pic01x", L"pic01x"},
    };
    std::string table = "<c:Configuration xmlns:c='http://config.dravik.example/cfg/'><c:CfgGroup>";
    for (const auto& c : cases)
        table += std::string("<c:CfgItem><c:E name='e'>") + c.extension + "</c:E><c:C name='c'>" + c.id +
                 "</c:C></c:CfgItem>";
    InstallTable(table + "</c:CfgGroup></c:Configuration>");

    for (const auto& c : cases) {
        std::wstring extension(c.extension, c.extension + strlen(c.extension));
        std::wstring expected = c.expected ? c.expected : std::wstring(longestId.begin(), longestId.end());
        EXPECT_EQ(expected, Lookup(extension)) << c.extension;
    }
}

TEST_F(MtMgrTest, IsValidXmlFileAcceptsOnlyLoadableDocuments) {
    EXPECT_TRUE(IsValidXmlFile(DataPath(L"mapping_indented.xml")));
    EXPECT_TRUE(IsValidXmlFile(DataPath(L"store_products.xml")));
    EXPECT_FALSE(IsValidXmlFile(DataPath(L"mapping_broken.xml")));
    EXPECT_FALSE(IsValidXmlFile(folder / L"missing.xml"));
    EXPECT_FALSE(IsValidXmlFile(L""));
    ASSERT_TRUE(WriteFileBytes(folder / L"empty.xml", ""));
    EXPECT_FALSE(IsValidXmlFile(folder / L"empty.xml"));
}

}  // namespace
