// Keeps a rich edit control from covering what lies below its last line.
#pragma once

#include <windows.h>

// Gives the control a window region that ends with its last line of text in
// the given font, so that whatever lies beneath the rest of its rectangle
// shows through; a transparent rich edit that still paints an opaque
// background then hides nothing. The text and the size must be final. An
// empty control, or text that fills the rectangle, gets no region.
void ClipRichEditToItsText(HWND richEdit, HFONT font);
