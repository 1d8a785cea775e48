#include "tests/support/data_folder.h"

#include <windows.h>

#include "shared/constants.h"
#include "shared/paths.h"

namespace wendaro_test {

namespace {

bool MakeFolder(const std::wstring& path) {
    return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

std::wstring DataFolderUnder(const std::wstring& root) {
    return root + MakerFolderName + ProductFolderName;
}

bool MakeDataFolderUnder(const std::wstring& root, std::wstring* folder) {
    std::wstring data = DataFolderUnder(root);
    if (folder) *folder = data;
    return MakeFolder(root + MakerFolderName) && MakeFolder(data);
}

std::wstring MakePictureFolderUnder(const std::wstring& root, const std::wstring& extension) {
    std::wstring images = DataFolderUnder(root) + ImagesFolderName;
    MakeDataFolderUnder(root);
    MakeFolder(images);
    MakeFolder(images + extension);
    return images + extension;
}

}  // namespace wendaro_test
