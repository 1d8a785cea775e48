#include "catalogue/category.h"

#include "catalogue/category_id.h"
#include "shared/files.h"
#include "shared/paths.h"

namespace VELQCOMMON {

CVELQCategory::CVELQCategory(std::wstring id, std::wstring filePath) {
    SetCategoryId(id);
    SetTargetPath(GetTempFilePath(TempFilePrefix).c_str());
    categoryXmlPath = GetCategoryXmlPath(id, filePath);
}

CVELQCategory::~CVELQCategory() = default;

void CVELQCategory::SetCategoryId(std::wstring id) {
    std::wstring url = FormatProductListUrl(id);
    categoryId = id;
    sourceUrl = url;
}

}  // namespace VELQCOMMON
