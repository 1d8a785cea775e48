// The addresses the services are reached at, and the picture addresses built
// from the shared constants.
#include "shared/endpoints.h"

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <string>

#include "shared/constants.h"
#include "shared/settings.h"

namespace {

struct Cracked {
    INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
    std::wstring host, path, query;
};

Cracked Crack(const std::wstring& url) {
    wchar_t host[256] = {}, path[2048] = {}, query[1024] = {};
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 2048;
    parts.lpszExtraInfo = query;
    parts.dwExtraInfoLength = 1024;
    Cracked result;
    if (!InternetCrackUrlW(url.c_str(), 0, 0, &parts)) return result;
    result.scheme = parts.nScheme;
    result.host = host;
    result.path = path;
    result.query = query;
    return result;
}

std::wstring ProductListURL(const wchar_t* categoryId) {
    wchar_t buffer[INTERNET_MAX_URL_LENGTH] = {};
    _snwprintf_s(buffer, _countof(buffer), _TRUNCATE, StoreProductListURLFormat, categoryId);
    return buffer;
}

}  // namespace

TEST(Endpoints, EachAddressHasItsFixedSchemeHostPathAndQuery) {
    const struct {
        std::wstring url;
        INTERNET_SCHEME scheme;
        const wchar_t* host;
        const wchar_t* path;
        const wchar_t* query;
    } cases[] = {
        {DefaultMappingURL, INTERNET_SCHEME_HTTP, RedirectServiceHost, L"/svs/rdr",
         L"?locale=en_us&bd=all&pf=all&c=121&tp=velq&s=conf_srv_pub&TYPE=4"},
        {StorePrivacyURL, INTERNET_SCHEME_HTTP, RedirectServiceHost, L"/svs/rdr",
         L"?locale=en_us&bd=all&pf=all&c=121&s=fh_privacy_stmt&tp=velq&TYPE=4"},
        {MakerPrivacyURL, INTERNET_SCHEME_HTTP, RedirectServiceHost, L"/svs/rdr",
         L"?locale=en_us&bd=all&pf=all&s=privacystatement&c=121&tp=velq&TYPE=4"},
        {ProductListURL(L"4711"), INTERNET_SCHEME_HTTPS, StoreServiceHost,
         L"/integration/job/request/ShoppingCartService/morvane/site/productList/siteID.morvane/"
         L"locale.en_US/categoryID.4711/",
         L""},
        {std::wstring(StoreCategoryPagePrefix) + L"42" + StoreCategoryPageSuffix,
         INTERNET_SCHEME_HTTP, StoreSiteHost,
         L"/store/morvane/en_US/DisplayCategoryProductListPage/categoryID.42/",
         L"?jumpid=ex_dkds_tessaly"},
        {ImageHostPrefix, INTERNET_SCHEME_HTTPS, ImageHost, L"/FHHM/Storefront/Company/", L""},
        {ConfigNamespaceURI, INTERNET_SCHEME_HTTP, L"config.dravik.example", L"/cfg/", L""},
        {ShoppingCartNamespaceURI, INTERNET_SCHEME_HTTP, StoreServiceHost,
         L"/ShoppingCartService", L""},
    };
    for (const auto& c : cases) {
        Cracked cracked = Crack(c.url);
        EXPECT_EQ(c.scheme, cracked.scheme) << c.url;
        EXPECT_EQ(c.host, cracked.host) << c.url;
        EXPECT_EQ(c.path, cracked.path) << c.url;
        EXPECT_EQ(c.query, cracked.query) << c.url;
    }
    EXPECT_TRUE(IsHttpUrl(DefaultMappingURL));
}

TEST(Constants, PicturePiecesJoinWithoutExtraSeparators) {
    EXPECT_EQ(L"https://images.fernhollow.example/FHHM/Storefront/Company/77/images/product/thumbnail/t.jpg",
              ImageHostPrefix + L"77" + ThumbnailImagePath + L"t.jpg");
    EXPECT_EQ(L"https://images.fernhollow.example/FHHM/Storefront/Company/77/images/product/detail/d.png",
              ImageHostPrefix + L"77" + DetailImagePath + L"d.png");
    EXPECT_EQ(L"morvane", StoreSiteId);
}
