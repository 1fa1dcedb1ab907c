#include "controls/BitmapProgress.h"

#include "controls/FlatTypes.h"

#include <algorithm>

std::int64_t GaugeBarLength(std::int64_t Position, std::int64_t Min, std::int64_t Max, int Width) {
    if (Max == Min)
        return 0;
    // The product is taken wider than 64 bits: a size in bytes times a width must not wrap.
    const __int128 Product = static_cast<__int128>(Position - Min) * Width;
    return static_cast<std::int64_t>(Product / (static_cast<__int128>(Max) - Min));
}

String GaugePercentText(std::int64_t Position, std::int64_t Min, std::int64_t Max) {
    double Percent = 0;
    if (Max != Min)
        Percent = static_cast<double>(
                      static_cast<long double>(static_cast<__int128>(Position - Min) * 100)) /
                  static_cast<double>(static_cast<__int128>(Max) - Min);
    return Format(L"%3.2f%%", {Percent});
}

TBitmapProgress::TBitmapProgress(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 200, 20);
}

void TBitmapProgress::SetBarBitmap(TBitmap& Value) {
    FBar.Assign(Value);
    Invalidate();
}

void TBitmapProgress::SetBackBitmap(TBitmap& Value) {
    FBack.Assign(Value);
    Invalidate();
}

void TBitmapProgress::SetValue(std::int64_t& Field, std::int64_t Value) {
    if (StoreChanged(Field, Value))
        Invalidate();
}

void TBitmapProgress::SetMin(std::int64_t Value) {
    SetValue(FMin, Value);
}

void TBitmapProgress::SetMax(std::int64_t Value) {
    SetValue(FMax, Value);
}

void TBitmapProgress::SetPosition(std::int64_t Value) {
    SetValue(FPosition, Value);
}

void TBitmapProgress::SetShadowColor(TColor Value) {
    if (StoreChanged(FShadowColor, Value))
        Invalidate();
}

void TBitmapProgress::Paint() {
    const int W = Width();
    const int H = Height();
    if (W <= 0 || H <= 0)
        return;
    TBitmap Buffer;
    Buffer.SetPixelFormat(pf24bit);
    Buffer.SetSize(W, H);
    TCanvas& Off = Buffer.Canvas();
    SetStretchBltMode(Off.Handle(), COLORONCOLOR);
    if (!FBack.Empty())
        Off.StretchDraw(TRect(0, 0, W, H), FBack);
    const std::int64_t Length = GaugeBarLength(FPosition, FMin, FMax, W);
    // A bar beyond the gauge is stretched beyond it and clipped; GDI's coordinates end at 2^27.
    constexpr std::int64_t Longest = 1 << 26;
    if (Length > 0 && !FBar.Empty())
        Off.StretchDraw(TRect(0, 0, static_cast<int>(std::min(Length, Longest)), H), FBar);
    const String Text = GaugePercentText(FPosition, FMin, FMax);
    Off.Font().Assign(Font());
    Off.Brush().SetStyle(bsClear);
    const TSize Size = Off.TextExtent(Text);
    const int X = (W - Size.cx) / 2;
    const int Y = (H - Size.cy) / 2;
    const TColor TextColour = Font().Color();
    Off.Font().SetColor(FShadowColor);
    TRect Shadow(X + 1, Y + 1, W, H);
    Off.TextRect(Shadow, Text, DT_SINGLELINE | DT_NOPREFIX);
    Off.Font().SetColor(TextColour);
    TRect Face(X, Y, W, H);
    Off.TextRect(Face, Text, DT_SINGLELINE | DT_NOPREFIX);
    Canvas().Draw(0, 0, Buffer);
}
