// The dialogs are laid out in pixels designed for 96 dots per inch.
#pragma once

// A 96-DPI measure times a scale factor, truncated toward zero.
inline int Scale(int pixels, double factor) { return static_cast<int>(pixels * factor); }
