// The picture step of the update worker: pictures 1-5 of a category's stored
// product list, each downloaded beside its stored copy and put in its place
// only once it is a whole picture the carousel shows.
#include "catalogue/update.h"

#include <stdio.h>

#include <memory>
#include <vector>

#include "catalogue/category_mgr.h"
#include "catalogue/download_into_place.h"
#include "catalogue/http_file.h"
#include "catalogue/picture_name.h"
#include "shared/constants.h"
#include "shared/files.h"
#include "shared/gdiplus_bitmap.h"
#include "shared/paths.h"
#include "shared/work_files.h"

namespace VELQCOMMON {
namespace {

// The products of the stored list in the store's order; empty when the file
// does not load. The records belong to the manager.
std::vector<ProductInfo*> LoadProducts(CVELQCategoryMgr& manager, const std::wstring& path) {
    if (manager.parser.Load(path) != 0) return {};
    return *manager.GetProducts();
}

// Removes every picture of this number except a file named exactly "picNN.x".
void RemovePicture(int number, const std::wstring& folder) {
    wchar_t name[260] = {};
    _snwprintf_s(name, _countof(name), _TRUNCATE, L"pic%.2d.x", number);
    DeleteOtherVariants(folder + name, folder, name);
}

// Loaded exactly as the carousel loads it: the check of the file's framing
// and bounds first (which keeps the decode small), then GDI+ and the bitmap
// the carousel shows. A file a decoder refuses would otherwise take the
// place of a picture that shows. GDI+ has let go of the side file when this
// returns, so it can be renamed.
bool IsWholePicture(const std::wstring& path) { return IsDrawnPicture(path.c_str()); }

}  // namespace

DWORD CVELQUpdate::DownloadPictures(std::wstring categoryXmlPath) {
    CVELQCategoryMgr manager;
    std::vector<ProductInfo*> products = LoadProducts(manager, categoryXmlPath);
    // An empty list (or a file that did not load) says nothing about the
    // pictures: they stay as they are.
    if (products.empty()) return ERROR_SUCCESS;

    int number = 1;
    for (ProductInfo* product : products) {
        if (number > PictureCount) break;
        if (product) DownloadPicture(*product, number);  // a failed picture does not stop the others
        ++number;
    }
    std::wstring folder = GetExtensionImagesFolder(GetTarget().filePath);
    for (int unused = static_cast<int>(products.size()) + 1; unused <= PictureCount; ++unused)
        RemovePicture(unused, folder);
    return ERROR_SUCCESS;
}

DWORD CVELQUpdate::DownloadPicture(const ProductInfo& product, int number) {
    // The extension is taken from an address in a downloaded list: a name
    // with separators or wildcards in it would reach outside the folder (or
    // delete more than this picture's variants), so such a picture is not
    // downloaded. A product without picture gets the image host's bare
    // prefix, whose "extension" holds slashes; what is stored under its
    // number shows some earlier product and goes.
    std::wstring name = FormatPictureName(number, GetImageExtension(product.imageUrl));
    std::wstring folder = GetExtensionImagesFolder(GetTarget().filePath);
    if (!IsPlainFileName(name)) {
        RemovePicture(number, folder);
        return ERROR_INVALID_NAME;
    }

    std::wstring finalPath = folder + name;
    // A picture whose format changed must leave no old copy beside the new one.
    DeleteOtherVariants(finalPath, folder, name);

    auto job = std::make_shared<CVELQHttpFile>();
    job->SetSourceUrl(product.imageUrl.c_str());
    // Downloaded beside the stored picture, so that the replacement is a
    // rename, under a name that neither the carousel (no picture extension)
    // nor any picNN.* clean-up takes up, and that no other run writes.
    job->SetTargetPath(PictureSideFile(folder, number).c_str());
    // The stored picture is what the server's copy is compared with.
    job->cachedWriteTime = GetFileWriteTime(finalPath);
    job->cachedSize = GetFileSize32(finalPath);
    // Renaming keeps the server's time the job stamped on the file.
    return Download(job, {finalPath, IsWholePicture, Placing::Rename}).Code();
}

}  // namespace VELQCOMMON
