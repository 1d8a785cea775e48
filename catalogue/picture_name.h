// Names of the stored product pictures: "pic01.png" ... "pic05.jpg", picture
// number and the picture's own extension. The extension comes from an address
// in a downloaded product list, so a name is used only when it is a plain
// file name of the picture folder.
#pragma once

#include <string>

#include "shared/constants.h"

// "pic%.2d.%s" of the number (1 to PictureCount) and the extension; empty when the name would not
// fit in 259 characters.
std::wstring FormatPictureName(int number, const std::wstring& extension);

// False for an empty name, one longer than 259 characters, or one holding a
// path separator, a drive or stream colon, a wildcard, " < > | or a control
// character.
bool IsPlainFileName(const std::wstring& name);
