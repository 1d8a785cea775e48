// A PNG far larger in pixels than on disk, for pictures no viewer should
// decode in full.
#pragma once

#include <string>

namespace wendaro_test {

// A black RGB PNG of width x height pixels, written in a few milliseconds:
// its deflate stream repeats one 2-bit match, about 2.6 MB for 30,000 x
// 30,000 pixels.
bool WriteGiantPng(const std::wstring& path, unsigned width, unsigned height);

}  // namespace wendaro_test
