#include "catalogue/mt_mgr.h"

#include "catalogue/category_id.h"
#include "shared/constants.h"
#include "shared/paths.h"

std::wstring GetMappingTablePath() {
    std::wstring folder = GetProductDataFolder();
    return folder.empty() ? folder : folder + MappingTableFileName;
}

BOOL IsValidXmlFile(std::wstring path) {
    VELQCOMMON::CVELQXML xml;
    return xml.Load(path) == 0 ? TRUE : FALSE;
}

bool IsMappingTableFile(const std::wstring& path) {
    VELQCOMMON::CVELQXML table;
    return table.Load(path) == 0 && table.Holds(L"cfg", ConfigNamespaceURI, L"//cfg:Configuration");
}

std::wstring CVELQMtMgr::Lookup(const std::wstring& extension) {
    if (xml.Load(GetMappingTablePath()) >= 0)
        xml.Parse(L"//cfg:Configuration/cfg:CfgGroup/cfg:CfgItem", extension, this);
    // The table arrives over plain HTTP and the id goes into file paths, an
    // event name and a URL: anything but a plain token is no category.
    if (!VELQCOMMON::IsUsableCategoryId(categoryId)) return std::wstring();
    return categoryId;
}

void CVELQMtMgr::OnMatch(const std::wstring& /*matched*/, const std::wstring& other) {
    categoryId = other;
}
