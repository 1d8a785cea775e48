// Every web address the program uses, in one place. The services live
// outside the program: the maker's redirect service, the store operator's
// web service, image host and store site, and the two XML namespaces that the
// mapping table and the store's product lists are written in.
#pragma once

// Hosts, for code that needs to know who it is talking to (and for tests
// that stand in for these services).
inline constexpr wchar_t RedirectServiceHost[] = L"rdr.dravik.example";
inline constexpr wchar_t StoreServiceHost[] = L"services.fernhollow.example";
inline constexpr wchar_t ImageHost[] = L"images.fernhollow.example";
inline constexpr wchar_t StoreSiteHost[] = L"shop.fernhollow.example";

// The mapping table, unless the machine's MappingURL value names another one.
inline constexpr wchar_t DefaultMappingURL[] =
    L"http://rdr.dravik.example/svs/rdr"
    L"?locale=en_us&bd=all&pf=all&c=121&tp=velq&s=conf_srv_pub&TYPE=4";

// The two privacy statements linked from the consent dialog.
inline constexpr wchar_t StorePrivacyURL[] =
    L"http://rdr.dravik.example/svs/rdr"
    L"?locale=en_us&bd=all&pf=all&c=121&s=fh_privacy_stmt&tp=velq&TYPE=4";
inline constexpr wchar_t MakerPrivacyURL[] =
    L"http://rdr.dravik.example/svs/rdr"
    L"?locale=en_us&bd=all&pf=all&s=privacystatement&c=121&tp=velq&TYPE=4";

// A category's product list; %s takes the category id as it is (no escaping).
inline constexpr wchar_t StoreProductListURLFormat[] =
    L"https://services.fernhollow.example/integration/job/request/ShoppingCartService"
    L"/morvane/site/productList/siteID.morvane/locale.en_US/categoryID.%s/";

// Start of every product picture's address; the company id follows directly.
inline constexpr wchar_t ImageHostAddress[] =
    L"https://images.fernhollow.example/FHHM/Storefront/Company/";

// The store's category page: prefix + category id + suffix.
inline constexpr wchar_t StoreCategoryPagePrefix[] =
    L"http://shop.fernhollow.example/store/morvane/en_US/DisplayCategoryProductListPage/categoryID.";
inline constexpr wchar_t StoreCategoryPageSuffix[] = L"/?jumpid=ex_dkds_tessaly";

// Namespaces: the mapping table's elements (bound to the prefix cfg) and the
// store's SearchProductResponse (bound to the prefix ns1).
inline constexpr wchar_t ConfigNamespaceURI[] = L"http://config.dravik.example/cfg/";
inline constexpr wchar_t ShoppingCartNamespaceURI[] =
    L"http://services.fernhollow.example/ShoppingCartService";

// Explorer's "search the Internet" action; Explorer puts the search terms in
// place of %w. Stored from a fixed 116-character buffer, so at most 115.
inline constexpr wchar_t SearchActionURL[] =
    L"http://rdr.dravik.example/svs/rdr"
    L"?locale=en_us&bd=all&pf=all&c=121&tp=velq&s=search&TYPE=4&q=%w";
static_assert(sizeof SearchActionURL / sizeof(wchar_t) <= 116, "search action too long");
