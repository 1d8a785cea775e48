// The prompt's picture area, in 96-DPI pixels: the dialog paints it white,
// the loading animation is centred on it, a picture is fitted into a box in
// it and the row of dots under the picture is centred across it.
#pragma once

#include "app/dialogs/layout.h"

// The animation's frames have the area's 96-DPI size at every scale.
constexpr Placement PictureArea = {386, 20, 180, 194};
constexpr COLORREF PictureAreaColour = RGB(0xFF, 0xFF, 0xFF);
constexpr Placement PictureBox = {423, 29, 105, 154};

// One dot per picture: 7 x 7 pixels at every scale, 18 apart (11-pixel gaps).
constexpr int DotSize = 7;
constexpr int DotStep = 18;
constexpr int DotGap = DotStep - DotSize;
constexpr int DotRowTop = 195;
