// Finds the fields of the product at one position of a store product list:
// the elements that "//ns1:SearchProductResponse/products[i]/<path>" names,
// and of them the first in document order. A query from the root walks the
// whole document, so one per field makes a list's parse quadratic; the
// reader made here walks the document once and gives the same texts, also
// where one response lies inside another.
#pragma once

#include <windows.h>
#include <msxml2.h>

#include <memory>
#include <string>

#include "shared/com_holders.h"

namespace VELQCOMMON {

class ProductReader {
public:
    virtual ~ProductReader() = default;

    // Moves to the product at position i (1-based); positions only grow.
    virtual HRESULT MoveTo(long i) = 0;
    // The text of the first element that path (up to three child steps, no
    // prefix) names under the product; empty when there is none.
    virtual HRESULT Text(const wchar_t* path, std::wstring& text) = 0;
    // The positions of "attributes" elements worth reading: past them every
    // attribute read is empty.
    virtual HRESULT CountAttributes(long& count) = 0;
    // Like Text (up to two steps), under the product's attributes[j] (1-based).
    virtual HRESULT AttributeText(long j, const wchar_t* path, std::wstring& text) = 0;
};

// The reader for the document. Fails with the HRESULT of a failing DOM call.
HRESULT MakeProductReader(IXMLDOMDocument2* document, std::unique_ptr<ProductReader>& reader);

}  // namespace VELQCOMMON
