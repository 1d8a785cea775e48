// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDR_MAINFRAME 128

// Further identifiers (dialog templates, controls, bitmaps, animation) live
// in dialog_ids.h beside this file.
