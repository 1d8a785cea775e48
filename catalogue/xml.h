// A thin wrapper over one MSXML 6 DOM document: load one file synchronously,
// run XPath selections over it and report what is found to a sink.
//
// IVELQXMLSink  - what a caller implements to receive matches and products
// CVELQXML      - the document wrapper; its Parse serves the mapping table
//
// COM must be initialised on the thread that uses a wrapper; a wrapper is used
// by that one thread only.
#pragma once

#include <windows.h>
#include <msxml2.h>

#include <cstdint>
#include <string>

#include "shared/com_holders.h"

namespace VELQCOMMON {

// The caller's side of a Parse. The parser does not own the sink and uses it
// only during the call that receives it. No result of a sink call is used.
class IVELQXMLSink {
public:
    virtual void Reserved() = 0;
    // The first item whose first or last child's text equals the key.
    virtual void OnMatch(const std::wstring& matched, const std::wstring& other) = 0;
    // One product of a store response, in document order.
    virtual void OnProduct(const std::wstring& productID, const std::wstring& reserved,
                           const std::wstring& name, const std::wstring& imageUrl,
                           const std::wstring& companyID, float price) = 0;

protected:
    // Sinks are never destroyed through this interface.
    ~IVELQXMLSink() = default;
};

// Selects the nodes that xpath names and counts them. S_OK with the list and
// its length; 1 when MSXML gives no list; a failing HRESULT as it is.
HRESULT SelectAndCount(IXMLDOMDocument2* document, const std::wstring& xpath,
                       ComPtr<IXMLDOMNodeList>& nodes, long& length);

class CVELQXML {
public:
    CVELQXML() = default;
    virtual ~CVELQXML() = default;
    CVELQXML(const CVELQXML&) = delete;
    CVELQXML& operator=(const CVELQXML&) = delete;

    // 0: loaded and parsed; 1: not loaded (missing, unreadable, malformed,
    // invalid, or with a DOCTYPE); negative: the HRESULT of a failing COM call.
    virtual int64_t Load(const std::wstring& path);

    // Selects the nodes named by xpath and reports the first whose first or
    // last child's text equals key (A-Z compared without case) through
    // sink->OnMatch. 1: a match was reported, or a node or child is missing,
    // or no document is held; 0: no match, or no sink; negative: MSXML failed.
    virtual HRESULT Parse(const std::wstring& xpath, const std::wstring& key, IVELQXMLSink* sink);

    // Reads the "name" attribute of node into name and the node's text into
    // text. 0: both read; 1: no attribute map or no "name" attribute (nothing
    // written); negative: MSXML failed.
    HRESULT ReadNamedChild(IXMLDOMNode* node, std::wstring& name, std::wstring& text);

    // The loaded document holds an element that xpath selects, with prefix
    // bound to namespaceUri.
    bool Holds(const std::wstring& prefix, const std::wstring& namespaceUri, const std::wstring& xpath);

protected:
    // Binds an XPath prefix for the selections that follow, replacing any
    // earlier binding; the result is not looked at by the callers.
    HRESULT BindPrefix(const std::wstring& prefix, const std::wstring& namespaceUri);
    // Binds prefix to namespaceUri and selects what xpath names, as
    // SelectAndCount does; 1 when no document is held.
    HRESULT SelectInNamespace(const std::wstring& prefix, const std::wstring& namespaceUri,
                              const std::wstring& xpath, ComPtr<IXMLDOMNodeList>& nodes, long& length);

    // Created by Load (also when the file then fails to load, but dropped
    // again for a DOCTYPE); owned.
    ComPtr<IXMLDOMDocument2> document;
};

}  // namespace VELQCOMMON
