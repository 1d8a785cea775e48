#include "catalogue/category_mgr.h"

#include <gtest/gtest.h>

#include <string>

#include "shared/constants.h"
#include "tests/catalogue/catalogue_test_support.h"

using namespace wendaro_test;

namespace {

TEST(CategoryMgrTest, OnProductMakesThePictureAddressAbsoluteAndPutsTheCompanyIn) {
    const struct {
        const wchar_t* imageUrl;
        const wchar_t* companyID;
        std::wstring expected;
    } cases[] = {
        {L"", L"acme", ImageHostPrefix},
        {L"pics/a.png", L"acme", ImageHostPrefix + L"pics/a.png"},
        {L"HTTPS://CDN.example/a.png", L"acme", L"HTTPS://CDN.example/a.png"},
        {L"Http://cdn.example/a.png", L"acme", L"Http://cdn.example/a.png"},
        {L"cdn.example/get?u=http://x/a.png", L"acme", L"cdn.example/get?u=http://x/a.png"},
        {L"https//cdn.example/a.png", L"acme", ImageHostPrefix + L"https//cdn.example/a.png"},
        {L"https://cdn.example/morvane/morvane.png", L"acme", L"https://cdn.example/acme/acme.png"},
        {L"https://cdn.example/Morvane/MORVANE.png", L"acme", L"https://cdn.example/Morvane/MORVANE.png"},
        {L"https://cdn.example/xmorvaney.png", L"acme", L"https://cdn.example/xacmey.png"},
        {L"morvane/a.png", L"acme", ImageHostPrefix + L"acme/a.png"},
        // A company id holding the site id: each old occurrence once.
        {L"https://cdn.example/morvane/a.png", L"morvane-shop", L"https://cdn.example/morvane-shop/a.png"},
        {L"https://cdn.example/morvanemorvane.png", L"morvanemorvane",
         L"https://cdn.example/morvanemorvanemorvanemorvane.png"},
        // An empty company id removes the site id.
        {L"https://cdn.example/morvane/a-morvane.png", L"", L"https://cdn.example//a-.png"},
    };
    CVELQCategoryMgr manager;
    for (const auto& c : cases) manager.OnProduct(L"id", L"", L"name", c.imageUrl, c.companyID, 1.5f);

    std::vector<ProductInfo*>* products = manager.GetProducts();  // nothing loaded: nothing added
    ASSERT_EQ(std::size(cases), products->size());
    for (size_t i = 0; i < std::size(cases); ++i) {
        const ProductInfo& record = *(*products)[i];
        EXPECT_EQ(cases[i].expected, record.imageUrl) << testing::PrintToString(std::wstring(cases[i].imageUrl));
        EXPECT_EQ(cases[i].companyID, record.companyID);
        EXPECT_EQ(L"id", record.productID);
        EXPECT_EQ(L"", record.reserved);
        EXPECT_EQ(L"name", record.name);
        EXPECT_FLOAT_EQ(1.5f, record.price);
    }
}

TEST(CategoryMgrTest, ReplaceAllNeverSearchesWhatItInserted) {
    std::wstring text = L"aXa";
    ReplaceAll(text, L"a", L"aa");
    EXPECT_EQ(L"aaXaa", text);
    ReplaceAll(text, L"aa", L"");
    EXPECT_EQ(L"X", text);
    ReplaceAll(text, L"", L"y");  // nothing to find
    EXPECT_EQ(L"X", text);
    ReplaceAll(text, L"x", L"y");  // exact case
    EXPECT_EQ(L"X", text);
}

TEST(CategoryMgrTest, GetProductsReadsTheLoadedListAndAppendsOnEveryCall) {
    ComScope com;
    CVELQCategoryMgr manager;
    ASSERT_EQ(0, manager.parser.Load(DataPath(L"store_products.xml")));
    std::vector<ProductInfo*>* products = manager.GetProducts();
    ASSERT_EQ(10u, products->size());
    EXPECT_EQ(L"P1", (*products)[0]->productID);
    EXPECT_EQ(ImageHostPrefix + L"f12.jpg", (*products)[5]->imageUrl);
    EXPECT_EQ(L"https://cdn.example/juliet/j/juliet.png", (*products)[9]->imageUrl);
    EXPECT_EQ(ImageHostPrefix, (*products)[4]->imageUrl);  // no picture at all

    ProductInfo* first = (*products)[0];
    EXPECT_EQ(products, manager.GetProducts());
    ASSERT_EQ(20u, products->size());
    EXPECT_EQ(first, (*products)[0]);
    EXPECT_EQ(L"P1", (*products)[10]->productID);
}

}  // namespace
