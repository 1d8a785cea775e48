// The reader of a store product-list response (a SearchProductResponse in the
// shopping-cart service namespace, bound to the prefix ns1). Parse walks the
// products in document order and hands each one, with one picture address
// chosen from up to four candidates, to the sink's OnProduct.
#pragma once

#include <string>

#include "catalogue/xml.h"

namespace VELQCOMMON {

class CVELQCatIDParser : public CVELQXML {
public:
    // xpath selects the products to count; each product is then read by its
    // position i: its fields are what "//ns1:SearchProductResponse/products[i]"
    // followed by the field's path finds (product_reader.h). key is not used.
    // 0: every product delivered (also with no sink); 1: no document, or a
    // node-list query gave no list; negative: a DOM call failed, and the
    // products delivered before it stay delivered.
    HRESULT Parse(const std::wstring& xpath, const std::wstring& key, IVELQXMLSink* sink) override;
};

// The file is a product list: well-formed, without a DOCTYPE, and with the
// response element the reader reads (an empty response is still a list). An
// error page or a SOAP fault is not.
bool IsProductListFile(const std::wstring& path);

}  // namespace VELQCOMMON
