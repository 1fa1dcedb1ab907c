#include "treelist/CvBackground.h"

#include "tests/treelist/DibSurface.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Red = 0x0000FF;
constexpr TColor Green = 0x00FF00;
constexpr TColor Blue = 0xFF0000;
constexpr TColor Yellow = 0x00FFFF;
constexpr TColor Grey = 0x808080;

// A picture in four quarters: red, green / blue, yellow; so a pixel tells where it came from.
void Quarters(TBitmap& B, int Size) {
    B.SetPixelFormat(pf32bit);
    B.SetSize(Size, Size);
    const int H = Size / 2;
    const TColor Colors[2][2] = {{Red, Green}, {Blue, Yellow}};
    for (int Row = 0; Row < 2; ++Row)
        for (int Col = 0; Col < 2; ++Col) {
            B.Canvas().Brush().SetColor(Colors[Row][Col]);
            B.Canvas().FillRect(TRect(Col * H, Row * H, Col * H + H, Row * H + H));
        }
}

TColor QuarterAt(int X, int Y, int Size) {
    const TColor Colors[2][2] = {{Red, Green}, {Blue, Yellow}};
    return Colors[Y % Size >= Size / 2][X % Size >= Size / 2];
}

void Paint(TDibSurface& D, TCvBkGndType Type, TBitmap* B, TPoint Offset, const TRect& R,
           const TRect& A, bool Blend = false, bool Invert = false) {
    DrawExtBackground(D.DC(), nullptr, Offset, Type, B, Blend, Grey, Green, Invert, R,
                      TRect(0, 0, 0, 0), A);
}

} // namespace

TEST(CvBackground, TilesStartAtTheOffset) {
    TBitmap B;
    Quarters(B, 32);
    TDibSurface D(100, 100);
    Paint(D, bgtTileBitmap, &B, {8, 8}, TRect(0, 0, 100, 100), TRect(0, 0, 100, 100));
    // The strips left of and above the first tiles stay as they were.
    EXPECT_EQ(D.Pixel(4, 50), clWhite);
    EXPECT_EQ(D.Pixel(50, 7), clWhite);
    for (const TPoint P : {TPoint{8, 8}, TPoint{39, 39}, TPoint{40, 8}, TPoint{60, 70},
                           TPoint{99, 99}, TPoint{23, 90}})
        EXPECT_EQ(D.Pixel(P.X, P.Y), QuarterAt(P.X - 8, P.Y - 8, 32)) << P.X << "," << P.Y;

    // R inside one tile: that piece only.
    TDibSurface One(100, 100);
    Paint(One, bgtTileBitmap, &B, {8, 8}, TRect(45, 45, 60, 60), TRect(0, 0, 100, 100));
    EXPECT_EQ(One.Pixel(45, 45), QuarterAt(37, 37, 32));
    EXPECT_EQ(One.Pixel(59, 59), QuarterAt(51, 51, 32));
    EXPECT_EQ(One.Pixel(44, 50), clWhite);
    EXPECT_EQ(One.Pixel(60, 50), clWhite);
    EXPECT_EQ(One.Count(clWhite), 100 * 100 - 15 * 15);
}

TEST(CvBackground, StretchedCentredAndTopLeft) {
    TBitmap B;
    Quarters(B, 40);
    struct TCase {
        TCvBkGndType Type;
        TPoint Probe;
        TColor Expected;
    };
    // A is (10,10)-(30,30), R the whole surface.
    const TCase Cases[] = {
        {bgtStretchBitmap, {12, 12}, Red},
        {bgtStretchBitmap, {28, 28}, Yellow},
        {bgtStretchBitmap, {5, 5}, clWhite}, // outside A: untouched
        // Larger than A: its middle, clipped to A; the rest of R in the fill colour.
        {bgtCenterBitmap, {12, 12}, Red},
        {bgtCenterBitmap, {28, 12}, Green},
        {bgtCenterBitmap, {28, 28}, Yellow},
        {bgtCenterBitmap, {5, 5}, Green},
        {bgtCenterBitmap, {35, 20}, Green},
        {bgtTopLeftBitmap, {12, 12}, Red},
        {bgtTopLeftBitmap, {29, 29}, Red}, // only the top-left quarter fits
        {bgtTopLeftBitmap, {35, 35}, Green},
    };
    for (const TCase& Case : Cases) {
        TDibSurface D(40, 40);
        Paint(D, Case.Type, &B, {0, 0}, TRect(0, 0, 40, 40), TRect(10, 10, 30, 30));
        EXPECT_EQ(D.Pixel(Case.Probe.X, Case.Probe.Y), Case.Expected)
            << Case.Type << " at " << Case.Probe.X << "," << Case.Probe.Y;
    }
}

TEST(CvBackground, ColourGradientsAndNoPicture) {
    TBitmap B;
    Quarters(B, 8);
    TBitmap Empty;
    struct TCase {
        TCvBkGndType Type;
        TBitmap* Bitmap;
        int GreenPixels;
    };
    const TCase Cases[] = {
        {bgtColorFill, &B, 100},  {bgtTileBitmap, &Empty, 100}, {bgtStretchBitmap, nullptr, 100},
        {bgtHorzGradient, &B, 0}, {bgtVertGradient, &B, 0},
    };
    for (const TCase& Case : Cases) {
        TDibSurface D(20, 20);
        Paint(D, Case.Type, Case.Bitmap, {0, 0}, TRect(5, 5, 15, 15), TRect(0, 0, 20, 20));
        EXPECT_EQ(D.Count(Green), Case.GreenPixels) << Case.Type;
        EXPECT_EQ(D.Count(clWhite), 400 - Case.GreenPixels) << Case.Type;
    }
}

TEST(CvBackground, BlendDitherAndInvert) {
    TBitmap B;
    Quarters(B, 16);
    // Tiles: a checkerboard from each piece's corner.
    TDibSurface Tiled(16, 16);
    Paint(Tiled, bgtTileBitmap, &B, {0, 0}, TRect(0, 0, 16, 16), TRect(0, 0, 16, 16), true);
    EXPECT_EQ(Tiled.Pixel(0, 0), Red);
    EXPECT_EQ(Tiled.Pixel(1, 0), Grey);
    EXPECT_EQ(Tiled.Pixel(0, 1), Grey);
    EXPECT_EQ(Tiled.Pixel(1, 1), Red);
    EXPECT_EQ(Tiled.Count(Grey), 128);
    // The other pictures: pixels whose row and column are both odd.
    TDibSurface Stretched(16, 16);
    Paint(Stretched, bgtStretchBitmap, &B, {0, 0}, TRect(0, 0, 16, 16), TRect(0, 0, 16, 16), true);
    EXPECT_EQ(Stretched.Pixel(1, 1), Grey);
    EXPECT_EQ(Stretched.Pixel(1, 0), Red);
    EXPECT_EQ(Stretched.Pixel(0, 1), Red);
    EXPECT_EQ(Stretched.Count(Grey), 64);
    // Inverted: the picture is xor-ed onto what is there (white gives the complement).
    TDibSurface Inverted(16, 16);
    Paint(Inverted, bgtTileBitmap, &B, {0, 0}, TRect(0, 0, 16, 16), TRect(0, 0, 16, 16), false,
          true);
    EXPECT_EQ(Inverted.Pixel(0, 0), static_cast<TColor>(0xFFFFFF ^ Red));
    EXPECT_EQ(Inverted.Pixel(15, 15), static_cast<TColor>(0xFFFFFF ^ Yellow));
}
