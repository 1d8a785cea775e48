// Decodes a stored product picture (JPEG, PNG, GIF or BMP) with GDI+ and hands
// it on as a plain GDI bitmap: the carousel's loader, and the update run's
// last test of a downloaded picture. GDI+ must have been started by the caller.
#pragma once

#include <windows.h>

namespace Gdiplus {
class Bitmap;
}

namespace VELQGDIPLUS {

class CVELQGdiPlusBitmap {
public:
    CVELQGdiPlusBitmap();
    virtual ~CVELQGdiPlusBitmap();
    CVELQGdiPlusBitmap(const CVELQGdiPlusBitmap&) = delete;
    CVELQGdiPlusBitmap& operator=(const CVELQGdiPlusBitmap&) = delete;

    // Drops any picture held, then decodes the file; true when it decoded. The
    // GDI+ object is kept even when decoding failed; a file that is not a
    // showable picture (shared/picture_file.h) gets none.
    bool Load(const wchar_t* path);

    Gdiplus::Bitmap* bitmap;
};

}  // namespace VELQGDIPLUS

// *out receives a new bitmap that belongs to the caller, or null when the file
// could not be decoded. Transparent parts of the picture come out black.
void LoadPictureBitmap(const wchar_t* path, HBITMAP* out);

// True when the carousel draws the file: LoadPictureBitmap makes a bitmap of
// it (which is freed at once). GDI+ has let go of the file when this returns.
bool IsDrawnPicture(const wchar_t* path);
