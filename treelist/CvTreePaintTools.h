// Small drawing steps the view's painting shares.
#pragma once

#include "classlib/gui/GdiHandles.h"
#include "classlib/gui/Graphics.h"
#include "treelist/CvVCLUtils.h"

#include <algorithm>
#include <string>

inline TRect Inflated(const TRect& R, int By) {
    return TRect(R.Left - By, R.Top - By, R.Right + By, R.Bottom + By);
}

// A one-pixel line from (X1, Y1) up to, not including, (X2, Y2); horizontal or vertical.
inline void DrawSolidLine(HDC DC, int X1, int Y1, int X2, int Y2, TColor Color) {
    if (Y1 == Y2)
        FillRectColor(DC, TRect(X1, Y1, X2, Y1 + 1), Color);
    else
        FillRectColor(DC, TRect(X1, Y1, X1 + 1, Y2), Color);
}

// A drop mark's line along Y with its ticks pointing into the row (Direction 1: downwards).
inline void DrawDropLine(HDC DC, const TRect& Mark, int Y, int Direction, TColor Color) {
    DrawSolidLine(DC, Mark.Left, Y, Mark.Right, Y, Color);
    for (const int X : {Mark.Left, Mark.Right - 2}) {
        const bool Outer = X == Mark.Left;
        const int OuterX = Outer ? X : X + 1;
        const int InnerX = Outer ? X + 1 : X;
        for (int D = 1; D <= 3; ++D)
            FillRectColor(DC, TRect(OuterX, Y + D * Direction, OuterX + 1, Y + D * Direction + 1),
                          Color);
        FillRectColor(DC, TRect(InnerX, Y + Direction, InnerX + 1, Y + Direction + 1), Color);
    }
}

// Text in Font and Color into R, the background left as it is.
inline void DrawTextIn(HDC DC, const TFont& Font, TColor Color, const std::wstring& Text, TRect R,
                       UINT Flags) {
    const TSaveDC Saved(DC);
    SelectObject(DC, Font.Handle());
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(Color));
    DrawTextWide(DC, Text.c_str(), static_cast<int>(Text.size()), R,
                 Flags | DT_NOPREFIX | DT_EXTERNALLEADING);
}

// Part of Picture at (X, Y), its Clear colour left out. Drawn from the bitmap's own canvas, where
// the bitmap stays selected.
inline void DrawPictureTransparent(HDC DC, TBitmap& Picture, int X, int Y, const TRect& Part,
                                   TColor Clear) {
    if (Part.IsEmpty())
        return;
    TransparentBlt(DC, X, Y, Part.Width(), Part.Height(), Picture.Canvas().Handle(), Part.Left,
                   Part.Top, Part.Width(), Part.Height(), ColorToRGB(Clear));
}

// Where a column cell's text goes between the cell's edges, and whether it is cut there.
struct TCvTextSpan {
    int Left = 0, Right = 0;
    bool Cut = false;
};
inline TCvTextSpan CellTextSpanOf(const TRect& Cell, UINT Align, int TextWidth, int ItemIndent) {
    const int W = TextWidth + 2;
    int L, R;
    if (Align == DT_CENTER) {
        const int Span = std::min(Cell.Width(), W + 3);
        L = Cell.Left + Cell.Width() / 2 - Span / 2;
        R = L + Span;
    } else if (Align == DT_RIGHT) {
        L = std::max(Cell.Right - ItemIndent / 3 - W, Cell.Left);
        R = std::max(Cell.Right - ItemIndent / 5, L);
    } else {
        R = std::min(Cell.Left + ItemIndent / 3 + W, Cell.Right);
        L = std::min(Cell.Left + ItemIndent / 5, R);
    }
    L = std::min(L, Cell.Right);
    R = std::max(R, Cell.Left);
    return TCvTextSpan{L, R, R - L < TextWidth};
}
