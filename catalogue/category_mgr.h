// The products of one stored category list, read through the store response
// parser, one record per product with its picture address made absolute and
// the store's site id in it replaced by the product's company id.
#pragma once

#include <string>
#include <vector>

#include "catalogue/cat_id_parser.h"

struct ProductInfo {
    std::wstring productID;
    std::wstring reserved;  // always empty
    std::wstring name;
    std::wstring imageUrl;
    std::wstring companyID;
    float price = 0;
};

// Replaces every exact occurrence of piece in text by replacement. The search
// goes on after the inserted text, so a replacement that holds the piece
// ends. An empty piece changes nothing.
void ReplaceAll(std::wstring& text, const std::wstring& piece, const std::wstring& replacement);

class CVELQCategoryMgr : public VELQCOMMON::IVELQXMLSink {
public:
    CVELQCategoryMgr() = default;
    CVELQCategoryMgr(const CVELQCategoryMgr&) = delete;
    CVELQCategoryMgr& operator=(const CVELQCategoryMgr&) = delete;

    void Reserved() override {}
    void OnMatch(const std::wstring&, const std::wstring&) override {}
    void OnProduct(const std::wstring& productID, const std::wstring& reserved,
                   const std::wstring& name, const std::wstring& imageUrl,
                   const std::wstring& companyID, float price) override;
    // Deletes every record.
    virtual ~CVELQCategoryMgr();

    // Parses the loaded list and appends its products, in document order, to
    // the records; returns the manager's own vector. Call only after
    // parser.Load returned 0. The records live as long as the manager.
    std::vector<ProductInfo*>* GetProducts();

    // The owner loads the category file through it.
    VELQCOMMON::CVELQCatIDParser parser;

private:
    std::vector<ProductInfo*> products;  // owned
};
