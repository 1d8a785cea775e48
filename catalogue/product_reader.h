// Finds the fields of the product at one position of a store product list:
// the elements that "//ns1:SearchProductResponse/products[i]/<path>" names,
// and of them the first in document order. A query from the root walks the
// whole document, so one per field makes a list's parse quadratic; the
// reader walks the document once and gives the same texts, also where one
// response lies inside another.
#pragma once

#include <windows.h>
#include <msxml2.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "shared/com_holders.h"

namespace VELQCOMMON {

class ProductReader {
public:
    // The one walk of the document; the HRESULT of a failing DOM call.
    HRESULT Collect(IXMLDOMDocument2* document);

    // Moves to the product at position i (1-based).
    void MoveTo(long i) { m_position = i; }
    // The text of the first element that path (up to three child steps, no
    // prefix) names under the product; empty when there is none.
    HRESULT Text(const wchar_t* path, std::wstring& text);
    // The positions of "attributes" elements worth reading: past them every
    // attribute read is empty.
    long AttributeCount();
    // Like Text (up to two steps), under the product's attributes[j] (1-based).
    HRESULT AttributeText(long j, const wchar_t* path, std::wstring& text);

private:
    using Fields = std::unordered_map<std::wstring, ComPtr<IXMLDOMNode>>;
    struct Position {
        Fields fields;                   // by path below the products element
        std::vector<Fields> attributes;  // by path below its j-th attributes child
    };
    struct Open;

    Position* Current();
    HRESULT Visit(const ComPtr<IXMLDOMNode>& node, Open* parent, Open& element);

    std::vector<Position> m_products;  // by position
    long m_position = 0;
};

}  // namespace VELQCOMMON
