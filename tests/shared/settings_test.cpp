#include "shared/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "shared/endpoints.h"
#include "tests/support/registry_guard.h"

using namespace wendaro_test;

namespace {

void SetValue(HKEY root, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(root, ProductRegistryKey, name, type, data, size));
}

std::wstring ReadString(const wchar_t* key, const wchar_t* name, DWORD* type) {
    wchar_t buffer[512] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, type, buffer, &size) !=
        ERROR_SUCCESS)
        return L"<unreadable>";
    return buffer;
}

}  // namespace

TEST(Settings, MissingKeyMeansOnConsentDueAndDefaultUrl) {
    ProductRegistry guard;
    EXPECT_TRUE(IsVELQEnabled());
    EXPECT_TRUE(IsFirstUse());
    EXPECT_EQ(DefaultMappingURL, GetMappingURL());
}

TEST(Settings, EnableVELQReadsEveryCallAndOnlyZeroTurnsOff) {
    ProductRegistry guard;
    const struct { DWORD value; BOOL enabled; } cases[] = {{0, FALSE}, {1, TRUE}, {2, TRUE},
                                                           {0xFFFFFFFF, TRUE}, {0, FALSE}};
    for (const auto& c : cases) {
        ASSERT_TRUE(SetDword(HKEY_CURRENT_USER, ProductRegistryKey, EnableVELQ, c.value));
        EXPECT_EQ(c.enabled, IsVELQEnabled()) << "EnableVELQ " << c.value;
    }
}

TEST(Settings, FirstUseZeroOrMissingMeansConsentDue) {
    ProductRegistry guard;
    const struct { DWORD value; BOOL firstUse; } cases[] = {{1, FALSE}, {0, TRUE}, {2, FALSE}};
    for (const auto& c : cases) {
        ASSERT_TRUE(SetDword(HKEY_CURRENT_USER, ProductRegistryKey, FirstUse, c.value));
        EXPECT_EQ(c.firstUse, IsFirstUse()) << "FirstUse " << c.value;
    }
}

// Under Wine a wrong-typed read overwrites the caller's variable before it
// fails; the readers must still fall back to their defaults.
TEST(Settings, ValuesOfAnotherTypeCountAsMissing) {
    ProductRegistry guard;
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, ProductRegistryKey, EnableVELQ, L"0"));
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, ProductRegistryKey, FirstUse, L"1"));
    EXPECT_TRUE(IsVELQEnabled());
    EXPECT_TRUE(IsFirstUse());

    const BYTE zeros[4] = {};
    SetValue(HKEY_CURRENT_USER, EnableVELQ, REG_BINARY, zeros, sizeof zeros);
    const BYTE one[4] = {1, 0, 0, 0};
    SetValue(HKEY_CURRENT_USER, FirstUse, REG_BINARY, one, sizeof one);
    EXPECT_TRUE(IsVELQEnabled());
    EXPECT_TRUE(IsFirstUse());
}

TEST(Settings, MappingUrlFromRegistryOnlyWhenUsableHttpAddress) {
    ProductRegistry guard;
    const std::wstring longHttp = L"http://config.test/" + std::wstring(2094 - 19, L'a');
    const std::wstring fitsBufferButPathTooLong = L"http://config.test/" + std::wstring(2093 - 19, L'a');
    const std::wstring longButUsable = L"http://config.test/" + std::wstring(1500, L'b');
    const struct { std::wstring value; std::wstring expected; } cases[] = {
        {longButUsable, longButUsable},
        {L"https://mirror.test/table.xml", L"https://mirror.test/table.xml"},
        {L"http://mirror.test:8080/t?x=1", L"http://mirror.test:8080/t?x=1"},
        {L"HTTP://MIRROR.TEST/T", L"HTTP://MIRROR.TEST/T"},
        {L"ftp://mirror.test/table.xml", DefaultMappingURL},
        {L"", DefaultMappingURL},
        {L"not a url", DefaultMappingURL},
        {L"file:///C:/table.xml", DefaultMappingURL},
        {longHttp, DefaultMappingURL},
        {fitsBufferButPathTooLong, DefaultMappingURL},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(SetString(HKEY_LOCAL_MACHINE, ProductRegistryKey, MappingURL, c.value));
        EXPECT_EQ(c.expected, GetMappingURL()) << "MappingURL of " << c.value.size() << " chars";
    }
    // The user's hive is not consulted for the machine-wide setting.
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, ProductRegistryKey, MappingURL, L"https://user.test/"));
    ASSERT_TRUE(SetString(HKEY_LOCAL_MACHINE, ProductRegistryKey, MappingURL, L""));
    EXPECT_EQ(DefaultMappingURL, GetMappingURL());
}

// An expandable string is expanded by the system and read as a plain one;
// any other type is ignored even when its bytes spell a good address.
TEST(Settings, MappingUrlOfAnotherTypeIsIgnored) {
    ProductRegistry guard;
    const wchar_t url[] = L"https://mirror.test/table.xml";
    SetValue(HKEY_LOCAL_MACHINE, MappingURL, REG_BINARY, url, sizeof url);
    EXPECT_EQ(DefaultMappingURL, GetMappingURL());
    SetValue(HKEY_LOCAL_MACHINE, MappingURL, REG_MULTI_SZ, L"https://mirror.test/\0\0", 46);
    EXPECT_EQ(DefaultMappingURL, GetMappingURL());
    const DWORD number = 1;
    SetValue(HKEY_LOCAL_MACHINE, MappingURL, REG_DWORD, &number, sizeof number);
    EXPECT_EQ(DefaultMappingURL, GetMappingURL());
}

TEST(Settings, IsHttpUrlAcceptsOnlyHttpAndHttps) {
    const std::wstring hostTooLong = L"http://" + std::wstring(300, L'h') + L".test/";
    // The registry reader's cases cover the common schemes; these are the rest.
    const struct { const wchar_t* url; BOOL expected; } cases[] = {
        {L"HtTpS://a.test", TRUE}, {L"www.a.test/path", FALSE},
        {nullptr, FALSE},          {hostTooLong.c_str(), FALSE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, IsHttpUrl(c.url)) << (c.url ? c.url : L"(null)");
}

TEST(Settings, RegisterSearchWritesBothExplorerValuesEveryTime) {
    RegistryGuard policies(HKEY_CURRENT_USER,
                           L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer");
    for (int run = 0; run < 2; ++run) {
        EXPECT_TRUE(RegisterSearch()) << "run " << run;
        DWORD type = 0;
        EXPECT_EQ(L"Find Software on Dravik Download Store",
                  ReadString(SearchExtensions, L"InternetExtensionName", &type));
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
        EXPECT_EQ(SearchActionURL, ReadString(SearchExtensions, L"InternetExtensionAction", &type));
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    }
}
