// A stored picture's size in pixels, read from its file's header without
// decoding it, and the largest picture the prompt decodes: GDI+ decodes a
// picture whole, so one of 30,000 x 30,000 pixels would take gigabytes.
#pragma once

#include <windows.h>

// Neither side may be longer (at most 16 megapixels, 64 MiB decoded).
constexpr unsigned MaxPictureSide = 4096;

struct PictureSize {
    unsigned width = 0;
    unsigned height = 0;
};

// The size a PNG, GIF, BMP or JPEG file declares (the format is told by the
// content, not the name); false for any other file or a header cut short.
bool ReadPictureSize(const wchar_t* path, PictureSize& size);

// A size was read and each side is 1 to MaxPictureSide pixels.
bool HasShowableSize(const wchar_t* path);
