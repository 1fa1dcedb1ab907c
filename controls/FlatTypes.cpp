#include "controls/FlatTypes.h"

#include <cmath>

namespace {

// One axis of the layout: the glyph and text along it, and where each starts.
struct TAxis {
    int Client;
    int Glyph;
    int Text;
};

void PlaceAlongAxis(const TAxis& A, bool GlyphFirst, int Spacing, int Margin, int& GlyphPos,
                    int& TextPos) {
    if (Margin == -1 && Spacing == -1) {
        Margin = (A.Client - A.Glyph - A.Text) / 3;
        Spacing = Margin;
    } else if (Margin == -1) {
        Margin = (A.Client - (A.Glyph + Spacing + A.Text) + 1) / 2;
    } else if (Spacing == -1) {
        Spacing = (A.Client - Margin - A.Glyph - A.Text) / 2;
    }
    if (GlyphFirst) {
        GlyphPos = Margin;
        TextPos = GlyphPos + A.Glyph + Spacing;
    } else {
        GlyphPos = A.Client - Margin - A.Glyph;
        TextPos = GlyphPos - Spacing - A.Text;
    }
}

} // namespace

TGlyphLayout LayoutGlyphAndCaptionSized(const TRect& Client, TPoint Offset, TButtonLayout Layout,
                                        int Spacing, int Margin, TSize GlyphSize, TSize TextSize) {
    const TSize ClientSize{Client.Width(), Client.Height()};
    if (TextSize.cx == 0 || GlyphSize.cx == 0)
        Spacing = 0;
    TPoint GlyphPos;
    TPoint TextPos;
    const bool Horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
    if (Horizontal) {
        GlyphPos.Y = (ClientSize.cy - GlyphSize.cy + 1) / 2;
        TextPos.Y = (ClientSize.cy - TextSize.cy + 1) / 2;
        PlaceAlongAxis({ClientSize.cx, GlyphSize.cx, TextSize.cx}, Layout == blGlyphLeft, Spacing,
                       Margin, GlyphPos.X, TextPos.X);
    } else {
        GlyphPos.X = (ClientSize.cx - GlyphSize.cx + 1) / 2;
        TextPos.X = (ClientSize.cx - TextSize.cx + 1) / 2;
        PlaceAlongAxis({ClientSize.cy, GlyphSize.cy, TextSize.cy}, Layout == blGlyphTop, Spacing,
                       Margin, GlyphPos.Y, TextPos.Y);
    }
    const int DX = Client.Left + Offset.X;
    const int DY = Client.Top + Offset.Y;
    TGlyphLayout Result;
    Result.GlyphPos = {GlyphPos.X + DX, GlyphPos.Y + DY};
    Result.TextBounds = Bounds(TextPos.X + DX, TextPos.Y + DY, TextSize.cx, TextSize.cy);
    return Result;
}

TGlyphLayout LayoutGlyphAndCaption(TCanvas& Canvas, const TRect& Client, TPoint Offset,
                                   TButtonLayout Layout, int Spacing, int Margin,
                                   const TSize& GlyphBitmapSize, TNumGlyphs NumGlyphs,
                                   const String& Caption) {
    TSize GlyphSize;
    if (GlyphBitmapSize.cx > 0 && NumGlyphs > 0)
        GlyphSize = {GlyphBitmapSize.cx / NumGlyphs, GlyphBitmapSize.cy};
    TSize TextSize;
    if (!Caption.empty()) {
        TRect Measured(0, 0, Client.Width(), 0);
        Canvas.TextRect(Measured, Caption, DT_CALCRECT | DT_SINGLELINE);
        TextSize = {Measured.Width(), Measured.Height()};
    }
    return LayoutGlyphAndCaptionSized(Client, Offset, Layout, Spacing, Margin, GlyphSize, TextSize);
}

TNumGlyphs NumGlyphsForGlyph(int Width, int Height, TNumGlyphs Current) {
    if (Width <= 0 || Height <= 0 || Width % Height != 0)
        return Current;
    const int Cells = Width / Height;
    return Cells > 4 ? 1 : Cells;
}

int GlyphCellIndex(TNumGlyphs NumGlyphs, TButtonState State) {
    switch (State) {
    case bsUp:
        return 0;
    case bsDisabled:
        return NumGlyphs >= 2 ? 1 : 0;
    case bsPressed:
        return NumGlyphs >= 3 ? 2 : 0;
    case bsLatched:
        return NumGlyphs == 4 ? 3 : NumGlyphs == 3 ? 2 : 0;
    }
    return 0;
}

int FontLineHeightFor(int TmHeight) {
    return static_cast<int>(std::nearbyint(TmHeight + TmHeight / 8.0));
}
