#include "controls/FlatTypes.h"

#include "controls/HSLUtils.h"

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

TEXTMETRICW GetFontMetrics(const TFont& Font) {
    TEXTMETRICW Metrics{};
    const TClientDC Screen(nullptr);
    const TSelectObject Selected(Screen.Handle(), Font.Handle());
    GetTextMetricsW(Screen.Handle(), &Metrics);
    return Metrics;
}

int FontLineHeight(const TFont& Font) {
    return FontLineHeightFor(GetFontMetrics(Font).tmHeight);
}

void DrawBevelFrame(TCanvas& Canvas, TRect R, TColor TopColor, TColor BottomColor, int Width) {
    Canvas.Pen().SetWidth(1);
    --R.Right;
    --R.Bottom;
    for (int I = 0; I < Width; ++I) {
        Canvas.Pen().SetColor(TopColor);
        Canvas.Polyline({{R.Left, R.Bottom}, {R.Left, R.Top}, {R.Right, R.Top}});
        Canvas.Pen().SetColor(BottomColor);
        Canvas.Polyline({{R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left - 1, R.Bottom}});
        R = TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    }
}

namespace {

// DSPDxax: where the monochrome source is white (text colour black, background white) the
// brush is painted; where it is black the target stays.
constexpr DWORD StampThroughMask = 0x00E20746;

void Stamp(HDC Target, int X, int Y, int Width, int Height, HDC Mask, TColor Color) {
    const TBrushObject Brush(CreateSolidBrush(ColorToRGB(Color)));
    const TSaveDC Saved(Target);
    SelectObject(Target, Brush.Get());
    SetTextColor(Target, RGB(0, 0, 0));
    SetBkColor(Target, RGB(255, 255, 255));
    BitBlt(Target, X, Y, Width, Height, Mask, 0, 0, StampThroughMask);
}

} // namespace

std::unique_ptr<TBitmap> MakeDisabledGlyph(TBitmap& Source, TColor OutlineColor, TColor BackColor,
                                           TColor HighlightColor, TColor ShadowColor,
                                           bool DrawHighlight) {
    const int W = Source.Width();
    const int H = Source.Height();
    auto Result = std::make_unique<TBitmap>();
    Result->SetPixelFormat(pf24bit);
    Result->SetSize(W, H);
    TBitmap Mask;
    Mask.Assign(Source);
    if (Mask.Monochrome()) {
        Mask.Canvas().Font().SetColor(clWhite);
        Mask.Canvas().Brush().SetColor(clWhite);
        Mask.SetMonochrome(false);
    }
    // Made monochrome, the outline colour's pixels turn white and take the stamps.
    Mask.Canvas().Brush().SetColor(OutlineColor);
    Mask.SetMonochrome(true);
    TCanvas& Canvas = Result->Canvas();
    Canvas.Brush().SetColor(BackColor);
    Canvas.FillRect(TRect(0, 0, W, H));
    const HDC MaskDC = Mask.Canvas().Handle();
    if (DrawHighlight)
        Stamp(Canvas.Handle(), 1, 1, W, H, MaskDC, HighlightColor);
    Stamp(Canvas.Handle(), 0, 0, W, H, MaskDC, ShadowColor);
    return Result;
}

std::unique_ptr<TBitmap> MakeDisabledGlyph(TBitmap& Source) {
    return MakeDisabledGlyph(Source, clBlack, clBtnFace, clBtnHighlight, clBtnShadow, true);
}

void DrawControlCaption(TCanvas& Canvas, const TRect& R, const String& Caption, UINT Flags,
                        bool Enabled) {
    Canvas.Brush().SetStyle(bsClear);
    if (Enabled) {
        TRect Box = R;
        Canvas.TextRect(Box, Caption, Flags);
        return;
    }
    const TColor FontColor = Canvas.Font().Color();
    TRect Raised(R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1);
    Canvas.Font().SetColor(clBtnHighlight);
    Canvas.TextRect(Raised, Caption, Flags);
    TRect Box = R;
    Canvas.Font().SetColor(clBtnShadow);
    Canvas.TextRect(Box, Caption, Flags);
    Canvas.Font().SetColor(FontColor);
}

void RecomputeAdvColors(TColor Base, const TAdvColors& Adv, TFlatColorSet& Colors) {
    if (!Adv.Use)
        return;
    Colors.Focused = ComputeAdvColor(Base, Colors.Focused, Adv.Focused, false);
    Colors.Down = ComputeAdvColor(Base, Colors.Down, Adv.Down, true);
    Colors.Border = ComputeAdvColor(Base, Colors.Border, Adv.Border, true);
}

TRegionObject RegionFromRowRuns(int Width, int Height, const std::function<bool(int, int)>& Keep) {
    TRegionObject Whole(CreateRectRgn(0, 0, 0, 0));
    for (int Y = 0; Y < Height; ++Y)
        AddRowRuns(
            Y, Width, [&](int X) { return Keep(X, Y); },
            [&](const TRect& R) {
                const TRegionObject Run(CreateRectRgn(R.Left, R.Top, R.Right, R.Bottom));
                CombineRgn(Whole.Get(), Whole.Get(), Run.Get(), RGN_OR);
            });
    return Whole;
}
