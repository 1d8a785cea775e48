#include "catalogue/cat_id_parser.h"

#include <cstdlib>
#include <cwchar>

#include "shared/constants.h"
#include "shared/endpoints.h"

namespace VELQCOMMON {

namespace {

// Every field is found by its own query from the root, with the product's
// position (and the attribute's) written into the query text.
constexpr wchar_t kCompanyIdQuery[] = L"//ns1:SearchProductResponse/products[%d]/productKey/companyID";
constexpr wchar_t kProductIdQuery[] = L"//ns1:SearchProductResponse/products[%d]/productKey/productID";
constexpr wchar_t kNameQuery[] = L"//ns1:SearchProductResponse/products[%d]/baseFields/name";
constexpr wchar_t kAttributesQuery[] = L"//ns1:SearchProductResponse/products[%d]/attributes";
constexpr wchar_t kAttributeNameQuery[] = L"//ns1:SearchProductResponse/products[%d]/attributes[%d]/name";
constexpr wchar_t kAttributeValueQuery[] = L"//ns1:SearchProductResponse/products[%d]/attributes[%d]/value";
constexpr wchar_t kThumbnailImageQuery[] = L"//ns1:SearchProductResponse/products[%d]/baseFields/thumbnailImage";
constexpr wchar_t kProductImageQuery[] = L"//ns1:SearchProductResponse/products[%d]/baseFields/productImage";
constexpr wchar_t kAmountQuery[] =
    L"//ns1:SearchProductResponse/products[%d]/pricing/totalPriceWithDiscount/amount";

constexpr wchar_t kThumbnailAttribute[] = L"channelThumbnail";
constexpr wchar_t kDetailAttribute[] = L"channelDetailImage";

constexpr size_t kQueryChars = 260;
using QueryBuffer = wchar_t[kQueryChars];

const wchar_t* FormatQuery(QueryBuffer& buffer, const wchar_t* format, long i) {
    _snwprintf(buffer, kQueryChars - 1, format, static_cast<int>(i));
    return buffer;
}

const wchar_t* FormatQuery(QueryBuffer& buffer, const wchar_t* format, long i, long j) {
    _snwprintf(buffer, kQueryChars - 1, format, static_cast<int>(i), static_cast<int>(j));
    return buffer;
}

// The text of the one element the query finds; empty when it finds none.
HRESULT ReadText(IXMLDOMDocument2* document, const wchar_t* query, std::wstring& text) {
    text.clear();
    ComPtr<IXMLDOMNode> node;
    HRESULT hr = document->selectSingleNode(Bstr(query).get(), node.put());
    if (FAILED(hr)) return hr;
    if (!node) return S_OK;
    Bstr content;
    if (FAILED(hr = node->get_text(content.put()))) return hr;
    text = content.str();
    return S_OK;
}

// The working values of one product; all empty when its turn begins.
struct ProductFields {
    std::wstring companyID, productID, name, attributeName;
    std::wstring thumbnailValue, detailValue, thumbnailImage, productImage, imageUrl;
    const std::wstring reserved;  // never written
    float price = 0;
};

// Scans the product's attributes for the thumbnail and detail file names. The
// scan ends as soon as a thumbnail name longer than 3 characters is known.
HRESULT ScanAttributes(IXMLDOMDocument2* document, long i, QueryBuffer& query, ProductFields& p) {
    ComPtr<IXMLDOMNodeList> attributes;
    long count = 0;
    HRESULT hr = SelectAndCount(document, FormatQuery(query, kAttributesQuery, i), attributes, count);
    if (hr != S_OK) return hr;
    for (long j = 1; j <= count; ++j) {
        if (FAILED(hr = ReadText(document, FormatQuery(query, kAttributeNameQuery, i, j), p.attributeName)))
            return hr;
        if (p.attributeName == kThumbnailAttribute &&
            FAILED(hr = ReadText(document, FormatQuery(query, kAttributeValueQuery, i, j), p.thumbnailValue)))
            return hr;
        if (p.thumbnailValue.size() > 3) break;
        if (p.attributeName == kDetailAttribute &&
            FAILED(hr = ReadText(document, FormatQuery(query, kAttributeValueQuery, i, j), p.detailValue)))
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

// Reads product i (1-based) and hands it to the sink.
HRESULT ParseProduct(IXMLDOMDocument2* document, long i, IVELQXMLSink* sink) {
    QueryBuffer query = {};
    ProductFields p;
    HRESULT hr;
    if (FAILED(hr = ReadText(document, FormatQuery(query, kCompanyIdQuery, i), p.companyID))) return hr;
    if (FAILED(hr = ReadText(document, FormatQuery(query, kProductIdQuery, i), p.productID))) return hr;
    if (FAILED(hr = ReadText(document, FormatQuery(query, kNameQuery, i), p.name))) return hr;
    if ((hr = ScanAttributes(document, i, query, p)) != S_OK) return hr;
    if (FAILED(hr = ReadText(document, FormatQuery(query, kThumbnailImageQuery, i), p.thumbnailImage)))
        return hr;
    if (p.thumbnailImage.size() <= 4 &&
        FAILED(hr = ReadText(document, FormatQuery(query, kProductImageQuery, i), p.productImage)))
        return hr;
    p.imageUrl = ChooseImageUrl(p);

    std::wstring amount;
    if (FAILED(hr = ReadText(document, FormatQuery(query, kAmountQuery, i), amount))) return hr;
    p.price = static_cast<float>(_wtof(amount.c_str()));

    sink->OnProduct(p.productID, p.reserved, p.name, p.imageUrl, p.companyID, p.price);
    return S_OK;
}

}  // namespace

HRESULT CVELQCatIDParser::Parse(const std::wstring& xpath, const std::wstring& /*key*/,
                                IVELQXMLSink* sink) {
    if (!sink) return 0;
    if (!document) return 1;
    BindPrefix(L"ns1", ShoppingCartNamespaceURI);

    ComPtr<IXMLDOMNodeList> products;
    long count = 0;
    HRESULT hr = SelectAndCount(document.get(), xpath, products, count);
    if (hr != S_OK) return hr;
    // The list is only counted; each product is addressed by its position.
    products.reset();
    for (long i = 1; i <= count; ++i) {
        if ((hr = ParseProduct(document.get(), i, sink)) != S_OK) return hr;
    }
    return 0;
}

}  // namespace VELQCOMMON
