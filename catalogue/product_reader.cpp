#include "catalogue/product_reader.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "catalogue/xml.h"

namespace VELQCOMMON {

namespace {

constexpr wchar_t kResponsesQuery[] = L"//ns1:SearchProductResponse";
constexpr wchar_t kResponseInResponseQuery[] =
    L"//ns1:SearchProductResponse[ancestor::ns1:SearchProductResponse]";
constexpr wchar_t kProductQuery[] = L"//ns1:SearchProductResponse/products[%d]/%s";
constexpr wchar_t kAttributesQuery[] = L"//ns1:SearchProductResponse/products[%d]/attributes";
constexpr wchar_t kAttributeQuery[] = L"//ns1:SearchProductResponse/products[%d]/attributes[%d]/%s";

constexpr size_t kQueryChars = 260;

// The text of the first element the query finds from context; found tells
// whether there was one (the text is then empty).
HRESULT ReadText(IXMLDOMNode* context, const wchar_t* query, std::wstring& text, bool& found) {
    text.clear();
    found = false;
    ComPtr<IXMLDOMNode> node;
    HRESULT hr = context->selectSingleNode(Bstr(query).get(), node.put());
    if (FAILED(hr) || !node) return FAILED(hr) ? hr : S_OK;
    found = true;
    Bstr content;
    if (FAILED(hr = node->get_text(content.put()))) return hr;
    text = content.str();
    return S_OK;
}

HRESULT SelectChildren(IXMLDOMNode* context, const wchar_t* query, ComPtr<IXMLDOMNodeList>& nodes,
                       long& length) {
    length = 0;
    HRESULT hr = context->selectNodes(Bstr(query).get(), nodes.put());
    if (FAILED(hr)) return hr;
    if (!nodes) return 1;
    return nodes->get_length(&length);
}

// Every field by its own query from the root, the positions written into
// the query text. Exact for any document; its cost grows with the document.
class RootQueryReader : public ProductReader {
public:
    explicit RootQueryReader(IXMLDOMDocument2* document) : m_document(document) {}

    HRESULT MoveTo(long i) override {
        m_position = static_cast<int>(i);
        return S_OK;
    }

    HRESULT Text(const wchar_t* path, std::wstring& text) override {
        wchar_t query[kQueryChars] = {};
        _snwprintf(query, kQueryChars - 1, kProductQuery, m_position, path);
        bool found;
        return ReadText(m_document, query, text, found);
    }

    HRESULT CountAttributes(long& count) override {
        wchar_t query[kQueryChars] = {};
        _snwprintf(query, kQueryChars - 1, kAttributesQuery, m_position);
        ComPtr<IXMLDOMNodeList> attributes;
        return SelectAndCount(m_document, query, attributes, count);
    }

    HRESULT AttributeText(long j, const wchar_t* path, std::wstring& text) override {
        wchar_t query[kQueryChars] = {};
        _snwprintf(query, kQueryChars - 1, kAttributeQuery, m_position, static_cast<int>(j), path);
        bool found;
        return ReadText(m_document, query, text, found);
    }

private:
    IXMLDOMDocument2* m_document;
    int m_position = 0;
};

// The responses' products held as lists. Product i is the i-th products
// child of every response that has one; as no response holds another, their
// subtrees follow one another in document order, so the first of them that
// has a field gives the text the root query would.
class ResponseReader : public ProductReader {
public:
    HRESULT Collect(IXMLDOMDocument2* document) {
        ComPtr<IXMLDOMNodeList> responses;
        long count = 0;
        HRESULT hr = SelectAndCount(document, kResponsesQuery, responses, count);
        if (hr != S_OK) return hr;
        for (long k = 0; k < count; ++k) {
            ComPtr<IXMLDOMNode> response;
            if (FAILED(hr = responses->get_item(k, response.put()))) return hr;
            if (!response) return 1;
            Listed products;
            if ((hr = SelectChildren(response.get(), L"products", products.nodes, products.count)) != S_OK)
                return hr;
            if (products.count > 0) m_responses.push_back(std::move(products));
        }
        return S_OK;
    }

    HRESULT MoveTo(long i) override {
        // Responses with fewer products have none at this position or later.
        DropShorterThan(m_responses, i);
        m_products.clear();
        m_attributes.clear();
        HRESULT hr;
        for (Listed& response : m_responses) {
            ComPtr<IXMLDOMNode> product;
            if (FAILED(hr = response.nodes->get_item(i - 1, product.put()))) return hr;
            if (!product) return 1;
            m_products.push_back(std::move(product));
        }
        return S_OK;
    }

    HRESULT Text(const wchar_t* path, std::wstring& text) override {
        for (ComPtr<IXMLDOMNode>& product : m_products) {
            bool found;
            HRESULT hr = ReadText(product.get(), path, text, found);
            if (FAILED(hr) || found) return hr;
        }
        text.clear();
        return S_OK;
    }

    HRESULT CountAttributes(long& count) override {
        count = 0;
        m_attributes.clear();
        for (ComPtr<IXMLDOMNode>& product : m_products) {
            Listed attributes;
            HRESULT hr = SelectChildren(product.get(), L"attributes", attributes.nodes, attributes.count);
            if (hr != S_OK) return hr;
            count = std::max(count, attributes.count);
            if (attributes.count > 0) m_attributes.push_back(std::move(attributes));
        }
        return S_OK;
    }

    HRESULT AttributeText(long j, const wchar_t* path, std::wstring& text) override {
        DropShorterThan(m_attributes, j);
        for (Listed& attributes : m_attributes) {
            ComPtr<IXMLDOMNode> attribute;
            HRESULT hr = attributes.nodes->get_item(j - 1, attribute.put());
            if (FAILED(hr)) return hr;
            if (!attribute) return 1;
            bool found;
            hr = ReadText(attribute.get(), path, text, found);
            if (FAILED(hr) || found) return hr;
        }
        text.clear();
        return S_OK;
    }

private:
    struct Listed {
        ComPtr<IXMLDOMNodeList> nodes;
        long count = 0;
    };

    // Keeps the lists that hold a position; positions only grow, so each
    // list is dropped once and the whole walk stays linear.
    static void DropShorterThan(std::vector<Listed>& lists, long position) {
        lists.erase(std::remove_if(lists.begin(), lists.end(),
                                   [position](const Listed& list) { return list.count < position; }),
                    lists.end());
    }

    std::vector<Listed> m_responses;        // in document order
    std::vector<ComPtr<IXMLDOMNode>> m_products;  // the current position's products
    std::vector<Listed> m_attributes;       // their attribute lists
};

}  // namespace

HRESULT MakeProductReader(IXMLDOMDocument2* document, std::unique_ptr<ProductReader>& reader) {
    // A response inside another can put an inner product's fields between
    // an outer product's: only the root queries order those exactly.
    ComPtr<IXMLDOMNode> inner;
    HRESULT hr = document->selectSingleNode(Bstr(kResponseInResponseQuery).get(), inner.put());
    if (FAILED(hr)) return hr;
    if (inner) {
        reader = std::make_unique<RootQueryReader>(document);
        return S_OK;
    }
    auto responses = std::make_unique<ResponseReader>();
    if ((hr = responses->Collect(document)) != S_OK) return hr;
    reader = std::move(responses);
    return S_OK;
}

}  // namespace VELQCOMMON
