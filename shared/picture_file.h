// Whether a stored product picture may be handed to GDI+: the prompt decodes
// a picture whole, so one of 30,000 x 30,000 pixels would take gigabytes, and
// a file the update child has not finished writing would show half a picture.
#pragma once

// Neither side of anything a decoder allocates may be longer (at most 16
// megapixels, 64 MiB decoded).
constexpr unsigned MaxPictureSide = 4096;

// True only for a whole PNG, GIF, BMP or JPEG file (told by its content, not
// its name) whose every side is 1 to MaxPictureSide pixels. The file is
// walked to its end marker but no pixel is decoded.
bool IsShowablePicture(const wchar_t* path);
