// The tree-list's background painter: a picture tiled, stretched, centred or at the top-left
// corner of an area, or a plain colour.
#pragma once

#include "classlib/gui/Graphics.h"
#include "treelist/CvVCLUtils.h"

// Paints R from Bitmap laid out in A (or fills R with FillColor). The top-left corner of O is
// taken from R before the picture is placed and again from each piece before it is drawn.
// TileOffset shifts the first tile. Blend lays BlendColor on a dither of every piece; Invert
// draws the pieces with SRCINVERT. The gradient types draw nothing: the tree draws them itself.
// Wnd is not used.
void DrawExtBackground(HDC DC, HWND Wnd, TPoint TileOffset, TCvBkGndType Type, TBitmap* Bitmap,
                       bool Blend, TColor BlendColor, TColor FillColor, bool Invert, const TRect& R,
                       const TRect& O, const TRect& A);
