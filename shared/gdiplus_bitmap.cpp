#include "shared/gdiplus_bitmap.h"

// GDI+'s C++ headers expect min and max and the object model from these.
#include <algorithm>
using std::max;
using std::min;
#include <objidl.h>
#include <gdiplus.h>

#include "shared/gdi_holders.h"
#include "shared/picture_file.h"

namespace VELQGDIPLUS {

CVELQGdiPlusBitmap::CVELQGdiPlusBitmap() : bitmap(nullptr) {}

CVELQGdiPlusBitmap::~CVELQGdiPlusBitmap() { delete bitmap; }

bool CVELQGdiPlusBitmap::Load(const wchar_t* path) {
    delete bitmap;
    bitmap = nullptr;
    // Decided before GDI+ sees the file: it would decode a giant picture whole
    // and show a half-written one.
    if (!IsShowablePicture(path)) return false;
    // FALSE: no embedded colour management, which is GdipCreateBitmapFromFile.
    bitmap = new Gdiplus::Bitmap(path, FALSE);
    return bitmap->GetLastStatus() == Gdiplus::Ok;
}

}  // namespace VELQGDIPLUS

void LoadPictureBitmap(const wchar_t* path, HBITMAP* out) {
    *out = nullptr;
    auto* picture = new VELQGDIPLUS::CVELQGdiPlusBitmap;
    if (picture->Load(path)) {
        HBITMAP converted = nullptr;
        if (picture->bitmap->GetHBITMAP(Gdiplus::Color(0xFF000000), &converted) == Gdiplus::Ok) {
            *out = converted;
        }
    }
    delete picture;
}

bool IsDrawnPicture(const wchar_t* path) {
    GdiBitmap drawn;
    LoadPictureBitmap(path, drawn.put());
    return static_cast<bool>(drawn);
}
