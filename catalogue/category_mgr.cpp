#include "catalogue/category_mgr.h"

#include <memory>

#include "shared/constants.h"

namespace {

std::wstring LowerAsciiCopy(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

}  // namespace

void ReplaceAll(std::wstring& text, const std::wstring& piece, const std::wstring& replacement) {
    if (piece.empty()) return;
    for (size_t at = text.find(piece); at != std::wstring::npos;
         at = text.find(piece, at + replacement.size())) {
        text.replace(at, piece.size(), replacement);
    }
}

CVELQCategoryMgr::~CVELQCategoryMgr() {
    for (ProductInfo* record : products) delete record;
}

std::vector<ProductInfo*>* CVELQCategoryMgr::GetProducts() {
    // Products delivered before a failure stay in the list.
    parser.Parse(L"//ns1:SearchProductResponse/products", std::wstring(), this);
    return &products;
}

void CVELQCategoryMgr::OnProduct(const std::wstring& productID, const std::wstring& reserved,
                                 const std::wstring& name, const std::wstring& imageUrl,
                                 const std::wstring& companyID, float price) {
    // The record is owned by the list before it is filled, so a failing copy
    // cannot leak it.
    auto owned = std::make_unique<ProductInfo>();
    products.push_back(owned.get());
    ProductInfo* record = owned.release();
    record->productID = productID;
    record->reserved = reserved;
    record->name = name;
    record->imageUrl = imageUrl;
    record->companyID = companyID;
    record->price = price;

    const std::wstring lowered = LowerAsciiCopy(record->imageUrl);
    if (lowered.find(L"http:") == std::wstring::npos && lowered.find(L"https:") == std::wstring::npos)
        record->imageUrl = ImageHostPrefix + record->imageUrl;
    ReplaceAll(record->imageUrl, StoreSiteId, record->companyID);
}
