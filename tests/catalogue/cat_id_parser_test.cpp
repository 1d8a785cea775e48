#include "catalogue/cat_id_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "shared/constants.h"
#include "tests/catalogue/catalogue_test_support.h"

using namespace wendaro_test;
using VELQCOMMON::Bstr;
using VELQCOMMON::CVELQCatIDParser;
using VELQCOMMON::Variant;

namespace {

constexpr wchar_t ProductsQuery[] = L"//ns1:SearchProductResponse/products";

class CatIDParserTest : public ::testing::Test {
protected:
    // Loads a sample response and parses it with the query the manager uses.
    std::vector<Product> ParseSample(const wchar_t* file, HRESULT expected = 0,
                                     const wchar_t* query = ProductsQuery) {
        CVELQCatIDParser parser;
        EXPECT_EQ(0, parser.Load(DataPath(file)));
        RecordingSink sink;
        EXPECT_EQ(expected, parser.Parse(query, L"", &sink));
        EXPECT_TRUE(sink.matches.empty());
        EXPECT_EQ(0, sink.reservedCalls);
        return sink.products;
    }

    ComScope com;
};

void ExpectProduct(const Product& actual, const wchar_t* id, const wchar_t* name,
                   const std::wstring& imageUrl, const wchar_t* company, float price) {
    SCOPED_TRACE(testing::Message() << "product " << testing::PrintToString(std::wstring(name)));
    EXPECT_EQ(id, actual.productID);
    EXPECT_EQ(L"", actual.reserved);
    EXPECT_EQ(name, actual.name);
    EXPECT_EQ(imageUrl, actual.imageUrl);
    EXPECT_EQ(company, actual.companyID);
    EXPECT_FLOAT_EQ(price, actual.price);
}

TEST_F(CatIDParserTest, EveryProductIsDeliveredWithThePictureChosenByTheRules) {
    std::vector<Product> products = ParseSample(L"store_products.xml");
    ASSERT_EQ(10u, products.size());
    const std::wstring thumbnail = L"/images/product/thumbnail/";
    const std::wstring detail = L"/images/product/detail/";
    // A thumbnail attribute longer than 6 characters.
    ExpectProduct(products[0], L"P1", L"Alpha Editor", ImageHostPrefix + L"acme" + thumbnail + L"alpha.png",
                  L"acme", 19.99f);
    // 5 characters end the scan; thumbnailImage is next.
    ExpectProduct(products[1], L"P2", L"Bravo Viewer", L"https://cdn.example/b-thumb.png", L"bravo", 5);
    // A detail attribute read before the scan ended.
    ExpectProduct(products[2], L"P3", L"Charlie Tools", ImageHostPrefix + L"charlie" + detail + L"detail-c.jpg",
                  L"charlie", 0);
    // thumbnailImage of exactly 4 characters: productImage is read and used.
    ExpectProduct(products[3], L"P4", L"Delta", L"http://p.example/d.jpg", L"delta", 0);
    // thumbnailImage of 5: productImage not read, nothing long enough.
    ExpectProduct(products[4], L"P5", L"Echo", L"", L"echo", 0);
    // A candidate of exactly 7 characters is used as it is.
    ExpectProduct(products[5], L"P6", L"Foxtrot", L"f12.jpg", L"fox", 0);
    // Attribute names in other letter case are ignored; "abc" is price 0.
    ExpectProduct(products[6], L"P7", L"Golf", L"", L"golf", 0);
    // No productKey: the address has no company id; a 3-character thumbnail
    // before the detail attribute does not end the scan; "  42.5xyz" reads 42.5.
    ExpectProduct(products[7], L"", L"Hotel", ImageHostPrefix + detail + L"h-detail.png", L"", 42.5f);
    // A later thumbnail attribute replaces a short earlier one.
    ExpectProduct(products[8], L"P9", L"India", ImageHostPrefix + L"india" + thumbnail + L"i-second.png",
                  L"india", 0);
    ExpectProduct(products[9], L"P10", L"Juliet & Co", L"https://cdn.example/morvane/j/morvane.png",
                  L"juliet", 0.1f);
}

TEST_F(CatIDParserTest, TheResponseIsFoundByNamespaceAtAnyDepth) {
    std::vector<Product> products = ParseSample(L"store_nested.xml");
    ASSERT_EQ(2u, products.size());  // the response outside the namespace is not read
    ExpectProduct(products[0], L"K1", L"Kilo", L"kilo-pic.png", L"kilo", 0);
    ExpectProduct(products[1], L"L1", L"Lima", L"", L"lima", 0);
}

// A product's position takes in the products at that position in every
// response; each field comes from the first of them, in document order, that
// has it, and a response inside a product is part of that order.
TEST_F(CatIDParserTest, SeveralResponsesAreReadPositionByPosition) {
    const std::wstring thumbnail = L"/images/product/thumbnail/";
    const std::wstring detail = L"/images/product/detail/";
    std::vector<Product> products = ParseSample(L"store_two_responses.xml");
    ASSERT_EQ(5u, products.size());
    // The detail value comes from the second response's first attribute.
    ExpectProduct(products[0], L"A1", L"First one", ImageHostPrefix + L"one" + detail + L"b1-detail.png",
                  L"one", 3.5f);
    ExpectProduct(products[1], L"B2", L"First two", L"http://a.example/1-2.png", L"two", 0);
    ExpectProduct(products[2], L"B3", L"Second three", ImageHostPrefix + thumbnail + L"b3-thumb.png", L"", 0);
    ExpectProduct(products[3], L"", L"", L"", L"", 0);
    ExpectProduct(products[4], L"", L"", L"", L"", 0);

    products = ParseSample(L"store_response_in_product.xml");
    ASSERT_EQ(2u, products.size());
    ExpectProduct(products[0], L"N1", L"Inner one", L"", L"inner", 0);
    ExpectProduct(products[1], L"", L"", L"", L"", 0);
}

TEST_F(CatIDParserTest, TheQueryOnlyCountsTheProducts) {
    std::vector<Product> products =
        ParseSample(L"store_products.xml", 0, L"//ns1:SearchProductResponse/products[position() > 7]");
    ASSERT_EQ(3u, products.size());
    EXPECT_EQ(L"P1", products[0].productID);  // positions 1 to 3, whatever was selected
    EXPECT_EQ(L"P3", products[2].productID);
}

TEST_F(CatIDParserTest, NoProductsNoDocumentNoSink) {
    EXPECT_TRUE(ParseSample(L"store_empty.xml").empty());

    RecordingSink sink;
    CVELQCatIDParser notLoaded;
    EXPECT_EQ(1, notLoaded.Parse(ProductsQuery, L"", &sink));

    CVELQCatIDParser parser;
    ASSERT_EQ(0, parser.Load(DataPath(L"store_products.xml")));
    EXPECT_EQ(0, parser.Parse(ProductsQuery, L"", nullptr));
    EXPECT_LT(parser.Parse(L"//ns1:[", L"", &sink), 0);
    EXPECT_TRUE(sink.products.empty());
}

}  // namespace
