// The download job for one store category's product list: from the store's
// web service into a new temporary file. It also carries the final path of
// the category file, where the owner copies the download once it succeeded.
#pragma once

#include <string>

#include "catalogue/http_file.h"

namespace VELQCOMMON {

class CVELQCategory : public CVELQHttpFile {
public:
    // filePath is the file whose extension names the picture folder; that
    // folder is created here when it is missing. The cached copy is left at
    // "none": the owner describes the stored category file before the start.
    CVELQCategory(std::wstring id, std::wstring filePath);
    ~CVELQCategory() override;

    // Sets the product-list URL of the id. An id that would make the URL
    // longer than 2083 characters leaves no URL, so the job ends with 12005.
    void SetCategoryId(std::wstring id);

    std::wstring reserved;  // not used
    std::wstring categoryId;
    // <picture folder of the file's extension>\<category id>.xml
    std::wstring categoryXmlPath;
};

}  // namespace VELQCOMMON
