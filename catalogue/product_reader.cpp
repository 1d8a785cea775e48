#include "catalogue/product_reader.h"

#include "shared/endpoints.h"

namespace VELQCOMMON {

namespace {

constexpr int kDeepestPath = 3;

// What ProductReader keeps per product and per attributes element.
using NodesByPath = std::unordered_map<std::wstring, ComPtr<IXMLDOMNode>>;

// The walk is in document order, so the first element kept at a path wins.
HRESULT Keep(NodesByPath& fields, const std::wstring& path, const ComPtr<IXMLDOMNode>& node) {
    ComPtr<IXMLDOMNode>& kept = fields[path];
    return kept ? S_OK : node->QueryInterface(IID_IXMLDOMNode, kept.put_void());
}

HRESULT TextOf(NodesByPath& fields, const wchar_t* path, std::wstring& text) {
    auto found = fields.find(path);
    if (found == fields.end()) return S_OK;
    Bstr content;
    HRESULT hr = found->second->get_text(content.put());
    if (SUCCEEDED(hr)) text = content.str();
    return hr;
}

}  // namespace

// An open element and where it stands: a response, or within a products
// child of one (its position, its path there and, inside the j-th attributes
// child, j and the path below that).
struct ProductReader::Open {
    ComPtr<IXMLDOMNode> node;
    bool response = false;
    long responseProducts = 0;  // the products children met so far
    long position = 0;          // 0: not within a product
    int depth = 0;              // steps below the products element
    std::wstring path;
    long attribute = 0;
    std::wstring attributePath;
    long productAttributes = 0;  // the attributes children met so far (depth 0)
};

// One walk of the whole tree in document order, with the first element at
// each product path and attribute path kept per position: the elements the
// root queries would find, whatever holds what, with no query per field.
// The open elements are kept on an explicit stack, not in recursive calls:
// the document is downloaded, and one nested deeply enough must not
// overflow the thread's stack.
HRESULT ProductReader::Collect(IXMLDOMDocument2* document) {
    std::vector<Open> open;  // the elements around the current node, outermost first
    ComPtr<IXMLDOMNode> node;
    HRESULT hr = document->get_firstChild(node.put());
    for (;;) {
        while (SUCCEEDED(hr) && node) {
            DOMNodeType type;
            if (FAILED(hr = node->get_nodeType(&type))) return hr;
            ComPtr<IXMLDOMNode> next;
            if (type == NODE_ELEMENT) {
                Open element;
                if (FAILED(hr = Visit(node, open.empty() ? nullptr : &open.back(), element))) return hr;
                if (FAILED(hr = node->get_firstChild(next.put()))) return hr;
                if (next) {
                    element.node = std::move(node);
                    open.push_back(std::move(element));
                    node = std::move(next);
                    continue;
                }
            }
            hr = node->get_nextSibling(next.put());
            node = std::move(next);
        }
        if (FAILED(hr) || open.empty()) return FAILED(hr) ? hr : S_OK;
        node = std::move(open.back().node);
        open.pop_back();
        ComPtr<IXMLDOMNode> next;
        hr = node->get_nextSibling(next.put());
        node = std::move(next);
    }
}

HRESULT ProductReader::Text(const wchar_t* path, std::wstring& text) {
    text.clear();
    Position* product = Current();
    return product ? TextOf(product->fields, path, text) : S_OK;
}

long ProductReader::AttributeCount() {
    Position* product = Current();
    return product ? static_cast<long>(product->attributes.size()) : 0;
}

HRESULT ProductReader::AttributeText(long j, const wchar_t* path, std::wstring& text) {
    text.clear();
    Position* product = Current();
    if (!product || j < 1 || j > static_cast<long>(product->attributes.size())) return S_OK;
    return TextOf(product->attributes[j - 1], path, text);
}

// Null past the last position any response has.
ProductReader::Position* ProductReader::Current() {
    if (m_position < 1 || m_position > static_cast<long>(m_products.size())) return nullptr;
    return &m_products[m_position - 1];
}

HRESULT ProductReader::Visit(const ComPtr<IXMLDOMNode>& node, Open* parent, Open& element) {
    Bstr name, uri;
    HRESULT hr;
    if (FAILED(hr = node->get_baseName(name.put()))) return hr;
    if (FAILED(hr = node->get_namespaceURI(uri.put()))) return hr;
    const std::wstring local = name.str();
    if (uri.str() == ShoppingCartNamespaceURI) {
        element.response = local == L"SearchProductResponse";
        return S_OK;
    }
    // Only names without a namespace match the unprefixed steps.
    if (!parent || !uri.str().empty()) return S_OK;
    if (parent->response && local == L"products") {
        element.position = ++parent->responseProducts;
        if (static_cast<long>(m_products.size()) < element.position) m_products.resize(element.position);
        return S_OK;
    }
    if (parent->position == 0 || parent->depth >= kDeepestPath) return S_OK;
    element.position = parent->position;
    element.depth = parent->depth + 1;
    element.path = parent->depth == 0 ? local : parent->path + L"/" + local;
    Position& product = m_products[element.position - 1];
    if (FAILED(hr = Keep(product.fields, element.path, node))) return hr;
    if (parent->depth == 0 && local == L"attributes") {
        element.attribute = ++parent->productAttributes;
        if (static_cast<long>(product.attributes.size()) < element.attribute)
            product.attributes.resize(element.attribute);
    } else if (parent->attribute) {
        element.attribute = parent->attribute;
        element.attributePath =
            parent->attributePath.empty() ? local : parent->attributePath + L"/" + local;
        if (FAILED(hr = Keep(product.attributes[element.attribute - 1], element.attributePath, node)))
            return hr;
    }
    return S_OK;
}

}  // namespace VELQCOMMON
