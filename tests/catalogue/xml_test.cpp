#include "catalogue/xml.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "tests/catalogue/catalogue_test_support.h"
#include "tests/support/temp_folder.h"

using namespace wendaro_test;
using VELQCOMMON::Bstr;
using VELQCOMMON::CVELQXML;
using VELQCOMMON::Variant;

namespace {

constexpr wchar_t ItemQuery[] = L"//cfg:Configuration/cfg:CfgGroup/cfg:CfgItem";

// Lets a test look at the document the wrapper holds.
class InspectableXml : public CVELQXML {
public:
    IXMLDOMDocument2* doc() const { return document.get(); }

    std::wstring StringProperty(const wchar_t* name) const {
        Variant value;
        document->getProperty(Bstr(name).get(), value.put());
        return value.str();
    }
    // The first node the query selects (prefix cfg bound by an earlier Parse).
    VELQCOMMON::ComPtr<IXMLDOMNode> Select(const wchar_t* query) const {
        VELQCOMMON::ComPtr<IXMLDOMNode> node;
        document->selectSingleNode(Bstr(query).get(), node.put());
        return node;
    }
};

class XmlTest : public ::testing::Test {
protected:
    ComScope com;
};

struct MatchCase {
    const wchar_t* key;
    HRESULT status;
    const wchar_t* matched;  // null: no OnMatch
    const wchar_t* other;
};

void ExpectMatches(const std::wstring& file, const MatchCase* cases, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const MatchCase& c = cases[i];
        SCOPED_TRACE(testing::Message() << "key #" << i);
        CVELQXML xml;
        ASSERT_EQ(0, xml.Load(DataPath(file)));
        RecordingSink sink;
        EXPECT_EQ(c.status, xml.Parse(ItemQuery, c.key, &sink));
        if (!c.matched) {
            EXPECT_TRUE(sink.matches.empty());
            continue;
        }
        ASSERT_EQ(1u, sink.matches.size());
        EXPECT_EQ(c.matched, sink.matches[0].first);
        EXPECT_EQ(c.other, sink.matches[0].second);
        EXPECT_TRUE(sink.products.empty());
        EXPECT_EQ(0, sink.reservedCalls);
    }
}

TEST_F(XmlTest, ParseReportsTheFirstMatchingItemOfAnIndentedTable) {
    const MatchCase cases[] = {
        {L"pdf", 1, L"pdf", L"1001"},
        {L"PDF", 1, L"pdf", L"1001"},          // A-Z without case
        {L"1001", 1, L"1001", L"pdf"},         // either order
        {L"epub", 1, L"epub", L"1002"},        // the extension as last child
        {L"mix", 1, L"mix", L"Mix"},           // both sides match: the last wins
        {L"MIX", 1, L"mix", L"Mix"},
        {L"solo", 1, L"solo", L"solo"},        // one child is first and last
        {L"\u00E9tude", 1, L"\u00E9tude", L"2001"},
        {L"\u00E9TUDE", 1, L"\u00E9tude", L"2001"},
        {L"\u00C9tude", 0, nullptr, nullptr},  // letters beyond A-Z compared exactly
        {L"txt", 1, L"txt", L"6001"},
        {L"ignored middle child", 0, nullptr, nullptr},
        {L"deep", 1, L"deep", L"8001"},        // all descendant text
        {L"blank", 1, L"blank", L"12 34"},
        {L"doc", 1, L"doc", L"1010"},          // the earlier group wins
        {L"DOC", 1, L"doc", L"1010"},
        {L"late", 1, L"late", L"1500"},        // the last group is reached
        {L"nothing", 0, nullptr, nullptr},
    };
    ExpectMatches(L"mapping_indented.xml", cases, std::size(cases));
}

TEST_F(XmlTest, ChildrenWithoutANameAttributeReadAsEmptyText) {
    const MatchCase cases[] = {
        {L"nameless", 0, nullptr, nullptr},
        {L"", 1, L"", L"3001"},                 // the first item with an empty side
        {L"cmtfirst", 0, nullptr, nullptr},     // a comment is the first child
        {L"4001", 1, L"4001", L""},
        {L"cmtlast", 1, L"cmtlast", L""},       // a comment is the last child
    };
    ExpectMatches(L"mapping_indented.xml", cases, std::size(cases));
}

TEST_F(XmlTest, OnlyElementsOfTheConfigurationNamespaceAreFound) {
    const MatchCase cases[] = {
        {L"zip", 1, L"zip", L"7001"},   // nested, another prefix
        {L"rar", 1, L"rar", L"7002"},   // default namespace
        {L"iso", 0, nullptr, nullptr},  // prefix cfg bound to another URI
        {L"img", 0, nullptr, nullptr},  // no namespace
        {L"jar", 0, nullptr, nullptr},  // an item outside any group
    };
    ExpectMatches(L"mapping_compact.xml", cases, std::size(cases));
}

TEST_F(XmlTest, LoadReportsFilesThatDoNotLoadAsOne) {
    TempFolder folder;
    CVELQXML missing;
    EXPECT_EQ(1, missing.Load(folder / L"missing.xml"));
    RecordingSink sink;
    EXPECT_EQ(0, missing.Parse(ItemQuery, L"pdf", &sink));  // an empty document
    EXPECT_TRUE(sink.matches.empty());

    CVELQXML broken;
    EXPECT_EQ(1, broken.Load(DataPath(L"mapping_broken.xml")));
    CVELQXML folderAsFile;
    EXPECT_EQ(1, folderAsFile.Load(folder.path()));
}

TEST_F(XmlTest, ParseWithoutDocumentSinkOrNodes) {
    RecordingSink sink;
    CVELQXML notLoaded;
    EXPECT_EQ(1, notLoaded.Parse(ItemQuery, L"pdf", &sink));

    InspectableXml xml;
    ASSERT_EQ(0, xml.Load(DataPath(L"mapping_indented.xml")));
    // A null sink returns before the namespace binding is made.
    EXPECT_EQ(0, xml.Parse(ItemQuery, L"pdf", nullptr));
    EXPECT_EQ(L"", xml.StringProperty(L"SelectionNamespaces"));

    EXPECT_EQ(0, xml.Parse(L"//cfg:Nothing", L"pdf", &sink));
    EXPECT_EQ(L"xmlns:cfg='http://config.dravik.example/cfg/'",
              xml.StringProperty(L"SelectionNamespaces"));
    EXPECT_LT(xml.Parse(L"//cfg:[", L"pdf", &sink), 0);  // not an XPath
    EXPECT_TRUE(sink.matches.empty());
    EXPECT_EQ(0, sink.reservedCalls);
}

TEST_F(XmlTest, ReadNamedChildReadsTheNameAttributeAndTheText) {
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / L"t.xml",
        "<c:Configuration xmlns:c='http://config.dravik.example/cfg/'>"
        "<c:Named name='ext'>p<b>d</b>f</c:Named>"
        "<c:EmptyName name=''>x</c:EmptyName>"
        "<c:Unnamed other='1'>y</c:Unnamed>"
        "<!--note-->"
        "</c:Configuration>"));
    InspectableXml xml;
    ASSERT_EQ(0, xml.Load(folder / L"t.xml"));
    RecordingSink sink;
    xml.Parse(L"//c:none", L"", &sink);  // binds the prefix cfg

    std::wstring name = L"keep", text = L"keep";
    EXPECT_EQ(0, xml.ReadNamedChild(xml.Select(L"//cfg:Named").get(), name, text));
    EXPECT_EQ(L"ext", name);
    EXPECT_EQ(L"pdf", text);

    EXPECT_EQ(0, xml.ReadNamedChild(xml.Select(L"//cfg:EmptyName").get(), name, text));
    EXPECT_EQ(L"", name);
    EXPECT_EQ(L"x", text);

    name = text = L"keep";
    EXPECT_EQ(1, xml.ReadNamedChild(xml.Select(L"//cfg:Unnamed").get(), name, text));
    EXPECT_EQ(1, xml.ReadNamedChild(xml.Select(L"//comment()").get(), name, text));
    EXPECT_EQ(L"keep", name);
    EXPECT_EQ(L"keep", text);
}

// Windows refuses the DOCTYPE while loading; Wine loads the document (it
// accepts ProhibitDTD without keeping it), and the wrapper refuses it then.
TEST_F(XmlTest, DocumentsWithADtdAreRefused) {
    CVELQXML xml;
    EXPECT_EQ(1, xml.Load(DataPath(L"mapping_external_entity.xml")));
    RecordingSink sink;
    xml.Parse(ItemQuery, L"pdf", &sink);
    EXPECT_TRUE(sink.matches.empty());
}

}  // namespace
