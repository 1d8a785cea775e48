// The data folder's layout and the paths into it:
//   %ALLUSERSPROFILE%\Dravik\Wendaro\            the data folder
//     Mappingtable.xml
//     Images\<extension>\<category id>.xml       a category's product list
//     Images\<extension>\picNN.<picture's ext>   up to five pictures
// Nothing here throws on a file-system failure; results are empty or
// unchanged strings instead.
#pragma once

#include <windows.h>

#include <string>

// The pictures' folder inside the data folder, with its closing backslash.
inline constexpr wchar_t ImagesFolderName[] = L"Images\\";

// The program's own folder with its trailing backslash; empty when the
// program's path has no backslash.
std::wstring GetModuleDirectory();
// The extension of the last path component without its dot; empty when there
// is none (or when a part of the path is too long to split).
std::wstring GetFileExtension(std::wstring path);
// The long form of a path, or the argument unchanged (also when the long form
// does not fit the system's conversion buffer).
std::wstring GetLongPath(std::wstring path);
// Everything after the last dot of the text; "jpg" when it has no dot.
std::wstring GetImageExtension(std::wstring address);
// The value of ALLUSERSPROFILE, empty when it is unset; false, with value
// untouched, when it is 259 characters or longer: no path into the data
// folder is built from part of the value, and every reader takes this bound.
bool ReadAllUsersProfile(std::wstring& value);
// %ALLUSERSPROFILE%\Dravik\Wendaro\ ; empty when the variable is unset (or
// too long to be used whole).
std::wstring GetProductDataFolder();
// The data folder + "Images\".
std::wstring GetImagesFolder();
// The images folder + the file path's extension + "\".
std::wstring GetExtensionImagesFolder(std::wstring filePath);
// The extension folder of filePath + categoryId + ".xml"; creates the folder.
std::wstring GetCategoryXmlPath(std::wstring categoryId, std::wstring filePath);
// Creates every missing level of the folder path with open access; TRUE when
// the path names an existing directory afterwards.
BOOL CreateFolderTree(std::wstring path);
