// Draws the dialogs' 38 x 38 logo with its magenta (0xFF00FF) pixels left out.
#pragma once

#include <windows.h>

// Copies the 38 x 38 pixels at the source's origin to (x, y) of the target.
// The target's background and text colours are left as white and black.
void DrawMaskedBitmap(HDC target, int x, int y, HDC source);

// The same for a logo bitmap; it keeps its own 38 x 38 pixels at every scale.
void DrawLogo(HDC target, int x, int y, HBITMAP logo);
