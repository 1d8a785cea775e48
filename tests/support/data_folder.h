// The product's data folder under a stand-in %ALLUSERSPROFILE% (a test's
// TempFolder, set with ScopedEnvironment), named from the program's own
// constants.
#pragma once

#include <string>

namespace wendaro_test {

// <root>\Dravik\Wendaro\ , with its closing backslash.
std::wstring DataFolderUnder(const std::wstring& root);
// Makes the data folder under root (and the maker's folder above it); true
// when it exists afterwards. Returns its path through folder when given.
bool MakeDataFolderUnder(const std::wstring& root, std::wstring* folder = nullptr);
// The data folder's picture folder of an extension, without a closing
// backslash; made with every level above it.
std::wstring MakePictureFolderUnder(const std::wstring& root, const std::wstring& extension);

}  // namespace wendaro_test
