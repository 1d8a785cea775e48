#include "catalogue/xml.h"

#include <cwchar>

#include "shared/endpoints.h"

// mingw-w64 ships no msxml6.h: the 6.0 document class and the interface id
// are defined here.
extern "C" const CLSID CLSID_DOMDocument60 = {
    0x88D96A05, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}};
extern "C" const IID IID_IXMLDOMDocument2 = {
    0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

namespace VELQCOMMON {

namespace {

// Reads one child of an item, leaving both texts empty when it carries no
// "name" attribute. 1 when the child is missing.
HRESULT ReadItemChild(CVELQXML& xml, IXMLDOMNode* item, bool first, std::wstring& text) {
    ComPtr<IXMLDOMNode> child;
    HRESULT hr = first ? item->get_firstChild(child.put()) : item->get_lastChild(child.put());
    if (FAILED(hr)) return hr;
    if (!child) return 1;
    std::wstring name;
    xml.ReadNamedChild(child.get(), name, text);
    return 0;
}

// True also when the question cannot be answered: such a document is not
// trusted.
bool HasDocumentType(IXMLDOMDocument2* document) {
    ComPtr<IXMLDOMDocumentType> type;
    if (FAILED(document->get_doctype(type.put()))) return true;
    return static_cast<bool>(type);
}

}  // namespace

HRESULT SelectAndCount(IXMLDOMDocument2* document, const std::wstring& xpath,
                       ComPtr<IXMLDOMNodeList>& nodes, long& length) {
    HRESULT hr = document->selectNodes(Bstr(xpath).get(), nodes.put());
    if (FAILED(hr)) return hr;
    if (!nodes) return 1;
    if (FAILED(hr = nodes->get_length(&length))) return hr;
    return S_OK;
}

int64_t CVELQXML::Load(const std::wstring& path) {
    Variant source(path);
    HRESULT hr = CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IXMLDOMDocument2, document.put_void());
    if (FAILED(hr)) return hr;
    if (FAILED(hr = document->put_async(VARIANT_FALSE))) return hr;
    if (FAILED(hr = document->put_validateOnParse(VARIANT_TRUE))) return hr;
    if (FAILED(hr = document->put_resolveExternals(VARIANT_TRUE))) return hr;
    // The files come from the network. MSXML 6 refuses DTDs by default on
    // Windows; saying so explicitly keeps every engine from processing one.
    if (FAILED(hr = document->setProperty(Bstr(L"ProhibitDTD").get(), Variant(true).get())))
        return hr;
    VARIANT_BOOL loaded = VARIANT_FALSE;
    hr = document->load(source.get(), &loaded);
    if (loaded != VARIANT_TRUE) return 1;
    // Wine's MSXML ignores ProhibitDTD: a document with a DOCTYPE is refused
    // here, as Windows refuses it while loading, and none of it is kept.
    if (HasDocumentType(document.get())) {
        document.reset();
        return 1;
    }
    return hr;
}

HRESULT CVELQXML::Parse(const std::wstring& xpath, const std::wstring& key, IVELQXMLSink* sink) {
    if (!sink) return 0;
    ComPtr<IXMLDOMNodeList> nodes;
    long length = 0;
    HRESULT hr = SelectInNamespace(L"cfg", ConfigNamespaceURI, xpath, nodes, length);
    if (hr != S_OK) return hr;

    for (long i = 0; i < length; ++i) {
        ComPtr<IXMLDOMNode> item;
        if (FAILED(hr = nodes->nextNode(item.put()))) return hr;
        if (!item) return 1;
        std::wstring firstText, lastText;
        if ((hr = ReadItemChild(*this, item.get(), true, firstText)) != 0) return hr;
        if ((hr = ReadItemChild(*this, item.get(), false, lastText)) != 0) return hr;
        if (_wcsicmp(lastText.c_str(), key.c_str()) == 0) {
            sink->OnMatch(lastText, firstText);
            return 1;
        }
        if (_wcsicmp(firstText.c_str(), key.c_str()) == 0) {
            sink->OnMatch(firstText, lastText);
            return 1;
        }
    }
    return 0;
}

HRESULT CVELQXML::ReadNamedChild(IXMLDOMNode* node, std::wstring& name, std::wstring& text) {
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    HRESULT hr = node->get_attributes(attributes.put());
    if (FAILED(hr)) return hr;
    if (!attributes) return 1;

    ComPtr<IXMLDOMNode> attribute;
    if (FAILED(hr = attributes->getNamedItem(Bstr(L"name").get(), attribute.put()))) return hr;
    if (!attribute) return 1;

    Variant value;
    if (FAILED(hr = attribute->get_nodeValue(value.put()))) return hr;
    name = value.str();

    Bstr content;
    if (FAILED(hr = node->get_text(content.put()))) return hr;
    text = content.str();
    return 0;
}

HRESULT CVELQXML::BindPrefix(const std::wstring& prefix, const std::wstring& namespaceUri) {
    Variant declaration(L"xmlns:" + prefix + L"='" + namespaceUri + L"'");
    return document->setProperty(Bstr(L"SelectionNamespaces").get(), declaration.get());
}

HRESULT CVELQXML::SelectInNamespace(const std::wstring& prefix, const std::wstring& namespaceUri,
                                    const std::wstring& xpath, ComPtr<IXMLDOMNodeList>& nodes,
                                    long& length) {
    if (!document) return 1;
    BindPrefix(prefix, namespaceUri);
    return SelectAndCount(document.get(), xpath, nodes, length);
}

bool CVELQXML::Holds(const std::wstring& prefix, const std::wstring& namespaceUri,
                     const std::wstring& xpath) {
    ComPtr<IXMLDOMNodeList> nodes;
    long count = 0;
    return SelectInNamespace(prefix, namespaceUri, xpath, nodes, count) == S_OK && count > 0;
}

}  // namespace VELQCOMMON
