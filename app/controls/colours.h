// The two colours the dialogs and their skinned controls share.
#pragma once

#include <windows.h>

// Marks the pixels of the logo and the button bitmaps that are left out.
constexpr COLORREF TransparentColour = RGB(0xFF, 0x00, 0xFF);
// The one-pixel line above each dialog's buttons.
constexpr COLORREF SeparatorGrey = RGB(0xC6, 0xC6, 0xC6);
