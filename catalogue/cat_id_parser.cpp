#include "catalogue/cat_id_parser.h"

#include <cstdlib>
#include <cwchar>

#include "catalogue/product_reader.h"
#include "shared/constants.h"
#include "shared/endpoints.h"

namespace VELQCOMMON {

namespace {

// Paths below a product element, and below one of its attributes elements.
constexpr wchar_t kCompanyIdPath[] = L"productKey/companyID";
constexpr wchar_t kProductIdPath[] = L"productKey/productID";
constexpr wchar_t kNamePath[] = L"baseFields/name";
constexpr wchar_t kThumbnailImagePath[] = L"baseFields/thumbnailImage";
constexpr wchar_t kProductImagePath[] = L"baseFields/productImage";
constexpr wchar_t kAmountPath[] = L"pricing/totalPriceWithDiscount/amount";
constexpr wchar_t kAttributeNamePath[] = L"name";
constexpr wchar_t kAttributeValuePath[] = L"value";

constexpr wchar_t kThumbnailAttribute[] = L"channelThumbnail";
constexpr wchar_t kDetailAttribute[] = L"channelDetailImage";

// The working values of one product; all empty when its turn begins.
struct ProductFields {
    std::wstring companyID, productID, name, attributeName;
    std::wstring thumbnailValue, detailValue, thumbnailImage, productImage, imageUrl;
    const std::wstring reserved;  // never written
    float price = 0;
};

// Scans the product's attributes for the thumbnail and detail file names. The
// scan ends as soon as a thumbnail name longer than 3 characters is known.
HRESULT ScanAttributes(ProductReader& product, ProductFields& p) {
    HRESULT hr = S_OK;
    for (long j = 1, count = product.AttributeCount(); j <= count; ++j) {
        if (FAILED(hr = product.AttributeText(j, kAttributeNamePath, p.attributeName))) return hr;
        if (p.attributeName == kThumbnailAttribute &&
            FAILED(hr = product.AttributeText(j, kAttributeValuePath, p.thumbnailValue)))
            return hr;
        if (p.thumbnailValue.size() > 3) break;
        if (p.attributeName == kDetailAttribute &&
            FAILED(hr = product.AttributeText(j, kAttributeValuePath, p.detailValue)))
            return hr;
    }
    return S_OK;
}

// The first candidate longer than 6 characters becomes the picture address.
std::wstring ChooseImageUrl(const ProductFields& p) {
    const size_t kMinimum = 7;
    if (p.thumbnailValue.size() >= kMinimum)
        return ImageHostPrefix + p.companyID + ThumbnailImagePath + p.thumbnailValue;
    if (p.thumbnailImage.size() >= kMinimum) return p.thumbnailImage;
    if (p.productImage.size() >= kMinimum) return p.productImage;
    if (p.detailValue.size() >= kMinimum)
        return ImageHostPrefix + p.companyID + DetailImagePath + p.detailValue;
    return std::wstring();
}

// Reads the product the reader stands on and hands it to the sink.
HRESULT ParseProduct(ProductReader& product, IVELQXMLSink* sink) {
    ProductFields p;
    HRESULT hr;
    if (FAILED(hr = product.Text(kCompanyIdPath, p.companyID))) return hr;
    if (FAILED(hr = product.Text(kProductIdPath, p.productID))) return hr;
    if (FAILED(hr = product.Text(kNamePath, p.name))) return hr;
    if ((hr = ScanAttributes(product, p)) != S_OK) return hr;
    if (FAILED(hr = product.Text(kThumbnailImagePath, p.thumbnailImage))) return hr;
    if (p.thumbnailImage.size() <= 4 && FAILED(hr = product.Text(kProductImagePath, p.productImage)))
        return hr;
    p.imageUrl = ChooseImageUrl(p);

    std::wstring amount;
    if (FAILED(hr = product.Text(kAmountPath, amount))) return hr;
    p.price = static_cast<float>(_wtof(amount.c_str()));

    sink->OnProduct(p.productID, p.reserved, p.name, p.imageUrl, p.companyID, p.price);
    return S_OK;
}

}  // namespace

HRESULT CVELQCatIDParser::Parse(const std::wstring& xpath, const std::wstring& /*key*/,
                                IVELQXMLSink* sink) {
    if (!sink) return 0;
    ComPtr<IXMLDOMNodeList> products;
    long count = 0;
    HRESULT hr = SelectInNamespace(L"ns1", ShoppingCartNamespaceURI, xpath, products, count);
    if (hr != S_OK) return hr;
    // The list is only counted; each product is addressed by its position.
    products.reset();
    if (count <= 0) return 0;
    ProductReader reader;
    if ((hr = reader.Collect(document.get())) != S_OK) return hr;
    for (long i = 1; i <= count; ++i) {
        reader.MoveTo(i);
        if ((hr = ParseProduct(reader, sink)) != S_OK) return hr;
    }
    return 0;
}

bool IsProductListFile(const std::wstring& path) {
    CVELQXML list;
    return list.Load(path) == 0 && list.Holds(L"ns1", ShoppingCartNamespaceURI, L"//ns1:SearchProductResponse");
}

}  // namespace VELQCOMMON
