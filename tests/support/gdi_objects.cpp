#include "tests/support/gdi_objects.h"

#include <windows.h>

namespace wendaro_test {

int LiveGdiObjects() {
    if (DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) {
        return static_cast<int>(counted);
    }
    // Wine takes a handle's table index alone (the low word, without the
    // generation bits) as that slot's current object.
    int live = 0;
    for (UINT_PTR index = 1; index <= 0xFFFF; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++live;
    }
    return live;
}

}  // namespace wendaro_test
