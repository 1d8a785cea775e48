// Named events shared by the prompt's process and its update child.
#pragma once

#include <windows.h>

#include <string>

// Name of the per-category "pictures ready" event; the category id follows.
inline constexpr wchar_t PictureEventPrefix[] = L"6AFF990C-C3E4-4835-A942-ECA02A9AB50E_";

// Creates (or opens, keeping its state) the manual-reset event prefix+suffix,
// non-signalled when new, open to every user. Null on failure.
HANDLE CreateNamedEvent(std::wstring suffix, std::wstring prefix);
// Opens the existing event prefix+suffix with full access; null when none.
HANDLE OpenNamedEvent(std::wstring suffix, std::wstring prefix);
