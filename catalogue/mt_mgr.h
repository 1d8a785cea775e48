// The mapping table "Mappingtable.xml" in the data folder pairs file
// extensions with store category ids:
//
//   <cfg:Configuration>               any depth, in the configuration namespace
//     <cfg:CfgGroup>                  any number
//       <cfg:CfgItem>                 any number; one pair each
//         <any name="...">pdf</any>   first child: extension or category id
//         <any name="...">123</any>   last child: the other one
//
// CVELQMtMgr answers which category belongs to an extension; the first item
// in document order that matches wins.
#pragma once

#include <windows.h>

#include <string>

#include "catalogue/xml.h"

// The local table: %ALLUSERSPROFILE%\Dravik\Wendaro\Mappingtable.xml; empty
// when the variable is not set (or too long to be used whole).
std::wstring GetMappingTablePath();

// TRUE when the file loads as an XML document.
BOOL IsValidXmlFile(std::wstring path);

// The file is a mapping table: an XML document (IsValidXmlFile) that holds a
// Configuration element of the configuration namespace. An error page is not.
bool IsMappingTableFile(const std::wstring& path);

class CVELQMtMgr final : public VELQCOMMON::IVELQXMLSink {
public:
    CVELQMtMgr() = default;
    ~CVELQMtMgr() = default;

    // The category id of the extension (given without its dot); empty when
    // the table has none, cannot be read, or names an id that is not usable
    // as a file name and URL part (see IsUsableCategoryId).
    std::wstring Lookup(const std::wstring& extension);

    void Reserved() override {}
    void OnMatch(const std::wstring& matched, const std::wstring& other) override;
    void OnProduct(const std::wstring&, const std::wstring&, const std::wstring&,
                   const std::wstring&, const std::wstring&, float) override {}

private:
    VELQCOMMON::CVELQXML xml;
    std::wstring categoryId;
};
