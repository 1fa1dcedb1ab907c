// Types, layout and drawing routines shared by the flat-drawn controls.
#pragma once

#include "classlib/gui/Graphics.h"

#include <functional>
#include <memory>
#include <type_traits>

// Stores Value in Field and tells whether that changed it: a setter repaints (or recomputes)
// only on a change, as the class library's setters do.
template <class T> bool StoreChanged(T& Field, const std::type_identity_t<T>& Value) {
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}

enum TTransparentMode { tmAlways, tmNotFocused, tmNone };
enum TCheckBoxLayout { checkboxLeft, checkboxRight };
enum TRadioButtonLayout { radioLeft, radioRight };
enum TProgressBarOrientation { pbHorizontal, pbVertical };
enum TGroupBoxBorder { brFull, brOnlyTopLine };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Field `State` of every push button.
enum TButtonState { bsUp = 0, bsDisabled = 1, bsPressed = 2, bsLatched = 3 };

using TNumGlyphs = int; // 1..4

struct TGlyphLayout {
    TPoint GlyphPos;
    TRect TextBounds;
};

// Places a glyph of GlyphSize (one cell) and a caption of TextSize inside Client; Margin and
// Spacing of -1 mean "share the free space". Offset moves both, (1, 1) while pressed.
TGlyphLayout LayoutGlyphAndCaptionSized(const TRect& Client, TPoint Offset, TButtonLayout Layout,
                                        int Spacing, int Margin, TSize GlyphSize, TSize TextSize);

// The same, measuring Caption in the canvas's font and the cell from Glyph and NumGlyphs.
TGlyphLayout LayoutGlyphAndCaption(TCanvas& Canvas, const TRect& Client, TPoint Offset,
                                   TButtonLayout Layout, int Spacing, int Margin,
                                   const TSize& GlyphBitmapSize, TNumGlyphs NumGlyphs,
                                   const String& Caption);

// NumGlyphs after a glyph of Width x Height is assigned: whole cells of the height's width, at
// most 4, else 1; a width that is no whole multiple keeps Current.
TNumGlyphs NumGlyphsForGlyph(int Width, int Height, TNumGlyphs Current);

// The cell drawn in a state; Disabled with one cell draws cell 0 made grey.
int GlyphCellIndex(TNumGlyphs NumGlyphs, TButtonState State);

// The inside test of the push buttons: the bottom edge counts as inside.
constexpr bool PointInButton(int X, int Y, int ClientWidth, int ClientHeight) {
    return X >= 0 && X < ClientWidth && Y >= 0 && Y <= ClientHeight;
}

// Nearest integer to tmHeight x 9/8.
int FontLineHeightFor(int TmHeight);
// The metrics of Font as the screen renders it.
TEXTMETRICW GetFontMetrics(const TFont& Font);
int FontLineHeight(const TFont& Font);
inline unsigned short MinWord(unsigned short A, unsigned short B) {
    return A < B ? A : B;
}
inline bool RectsIntersect(const TRect& A, const TRect& B) {
    return A.Intersects(B);
}

// The runs of one row of a region mask: each maximal run of pixels for which Keep holds becomes
// a rectangle one row high. Regions built this way cost one rectangle per run, not per pixel.
template <class TKeep> void AddRowRuns(int Row, int Width, TKeep Keep, auto&& AddRect) {
    int X = 0;
    while (X < Width) {
        const bool Kept = Keep(X);
        int End = X + 1;
        while (End < Width && Keep(End) == Kept)
            ++End;
        if (Kept)
            AddRect(TRect(X, Row, End, Row + 1));
        X = End;
    }
}

// A region of Width x Height made of the row runs of the points for which Keep(X, Y) holds.
using TRegionObject = TGdiObject<HRGN>;
TRegionObject RegionFromRowRuns(int Width, int Height, const std::function<bool(int, int)>& Keep);

// A frame Width pixels thick inside R: top and left edges in TopColor, right and bottom in
// BottomColor. Equal colours give a plain frame.
void DrawBevelFrame(TCanvas& Canvas, TRect R, TColor TopColor, TColor BottomColor, int Width);

// Source as a disabled control shows it: BackColor everywhere, and the pixels of OutlineColor
// (the glyph's drawing) stamped in ShadowColor, with a HighlightColor copy one pixel down and
// right below it when DrawHighlight.
std::unique_ptr<TBitmap> MakeDisabledGlyph(TBitmap& Source, TColor OutlineColor, TColor BackColor,
                                           TColor HighlightColor, TColor ShadowColor,
                                           bool DrawHighlight);
// With the arguments every control of the family passes.
std::unique_ptr<TBitmap> MakeDisabledGlyph(TBitmap& Source);

// Draws Caption into R with a clear brush: in the font's colour, or, when not Enabled, embossed
// (a highlight copy one pixel down and right, then the shadow in place).
void DrawControlCaption(TCanvas& Canvas, const TRect& R, const String& Caption, UINT Flags,
                        bool Enabled);

// The percentages of the derived colours and whether they are used.
struct TAdvColors {
    bool Use = false;
    int Focused = 10;
    int Down = 10;
    int Border = 50;
};

// The colours of the push buttons, check boxes and radio buttons that derive from Color.
struct TFlatColorSet {
    TColor Focused;
    TColor Down;
    TColor Border;
};

// While Adv.Use: focused lighter, down and border darker than Base, each by its percentage.
void RecomputeAdvColors(TColor Base, const TAdvColors& Adv, TFlatColorSet& Colors);
