// Names of the local data files and folders, how many pictures a category
// has, and the fixed pieces of the store's picture addresses. Each including
// source file gets its own copies.
#pragma once

#include <string>

#include "shared/endpoints.h"

// The pictures of a category: the update worker stores pic01 to pic05 and the
// prompt shows as many.
inline constexpr int PictureCount = 5;

static const std::wstring MappingTableFileName = L"Mappingtable.xml";
static const std::wstring MakerFolderName = L"\\Dravik";
static const std::wstring ProductFolderName = L"\\Wendaro\\";
static const std::wstring ImageHostPrefix = ImageHostAddress;
static const std::wstring ThumbnailImagePath = L"/images/product/thumbnail/";
static const std::wstring DetailImagePath = L"/images/product/detail/";
static const std::wstring StoreSiteId = L"morvane";
