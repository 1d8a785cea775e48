// Whether a stored product picture may be handed to GDI+: the prompt decodes
// a picture whole, so one of 30,000 x 30,000 pixels would take gigabytes, and
// a file the update child has not finished writing would show half a picture.
#pragma once

// The carousel decodes each of its five pictures whole and draws it unscaled
// in a place of 105 x 154 dialog units (about 160 x 230 pixels at 144 DPI):
// a side of 1,024 still fills the place at several times that scale, while
// five such pictures (4 MiB each decoded) leave the prompt's start quick and
// its memory well under twice what it takes with small pictures. Neither
// side of anything a decoder allocates may be longer.
constexpr unsigned MaxPictureSide = 1024;
// The most frames a GIF may hold. Each costs the picture loader about as
// much as 8,000 pixels besides its own (under Wine: 128 small frames in each
// of five pictures delay the prompt as much as five pictures at the bound).
constexpr unsigned MaxGifFrames = 128;

// True only for a whole PNG, GIF, BMP or JPEG file (told by its content, not
// its name) whose every side is 1 to MaxPictureSide pixels. A PNG's image
// data is inflated and counted; a JPEG's scans and a GIF's LZW data are only
// walked over to their ends, not decoded.
bool IsShowablePicture(const wchar_t* path);
