// Whole picture files built in memory, for tests that serve or store
// pictures: each is a valid file a decoder takes.
#pragma once

#include <string>

namespace wendaro_test {

// An uncompressed 8-bit RGB PNG of width x height pixels (a gradient) with
// tag in a tEXt chunk: pictures of other tags differ, and tags of one length
// give pictures of one length. About 3 bytes a pixel.
std::string RgbPng(unsigned width, unsigned height, const std::string& tag);
// The zlib stream of RgbPng's rows, each led by its filter byte; when
// interlaced, the rows of the Adam7 passes in turn.
std::string RgbPngData(unsigned width, unsigned height, bool interlaced = false);
// An 8-bit RGB PNG whose one IDAT chunk holds zlib as given (a picture's data
// with a fault put in, say), every chunk with its right CRC.
std::string PngWithData(unsigned width, unsigned height, const std::string& zlib, bool interlaced = false,
                        const std::string& tag = {});
// RgbPng of 2 x 2 pixels, about 100 bytes.
std::string TinyPng(const std::string& tag);
// A black RGB PNG far larger in pixels than in bytes, for pictures no viewer
// should decode in full: its deflate stream repeats one 2-bit match, about
// 2.6 MB for 30,000 x 30,000 pixels, built in a few milliseconds.
std::string GiantPng(unsigned width, unsigned height);
// A GIF of one white frame of frameW x frameH pixels at the top left of a
// screenW x screenH screen (which the frame may overflow).
std::string GifWithFrame(unsigned screenW, unsigned screenH, unsigned frameW, unsigned frameH,
                         unsigned left = 0, unsigned top = 0);
// A GIF of count white frames of frameW x frameH pixels, laid side by side
// in rows across the screen and over again from its top left once it is full.
std::string GifOfFrames(unsigned screenW, unsigned screenH, unsigned frameW, unsigned frameH, unsigned count);

}  // namespace wendaro_test
