// Byte-for-character conversions for the ASCII texts tests compare: URLs,
// host names, extensions, XML written by hand. Not for text outside ASCII.
#pragma once

#include <string>

namespace wendaro_test {

std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);

}  // namespace wendaro_test
