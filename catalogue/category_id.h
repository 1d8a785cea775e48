// What a store category id may be. An id comes from a mapping table fetched
// over plain HTTP and ends up in a file name (the category's product list),
// a named event and the product-list URL, so only a plain token is usable.
#pragma once

#include <string>

namespace VELQCOMMON {

// The store web-service address of a category's product list, with the id in
// it as it is (no escaping); empty when it would be longer than 2083
// characters.
std::wstring FormatProductListUrl(const std::wstring& categoryId);

// False for an id that is empty or blank, holds \ / : * ? " < > | or a
// control character, is "." or "..", or makes the product-list URL too long;
// also for an id whose list file "<id>.xml" would be a device (CON, PRN,
// AUX, NUL, CONIN$, CONOUT$, COM0-COM9, LPT0-LPT9, COM and LPT with a
// superscript 1-3; any case, before an extension) or a picture ("picNN" or
// "picNN.<anything>", NN two digits, any case).
bool IsUsableCategoryId(const std::wstring& categoryId);

}  // namespace VELQCOMMON
