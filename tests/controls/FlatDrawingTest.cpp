#include "controls/FlatTypes.h"
#include "controls/HSLUtils.h"
#include "tests/controls/ControlsTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Top = 0x0000FF;
constexpr TColor Bottom = 0xFF0000;

TEST(FlatDrawing, BevelFrameEdgesAndCorners) {
    TBitmap Bitmap;
    FillBitmap(Bitmap, 10, 8, clWhite);
    const TRect R(0, 0, 10, 8);
    DrawBevelFrame(Bitmap.Canvas(), R, Top, Bottom, 2);
    struct TCase {
        int X, Y;
        TColor Expected;
    } const Cases[] = {
        {0, 0, Top},    {5, 0, Top},    {0, 3, Top},    {8, 0, Top},     // top and left edges
        {9, 0, Bottom}, {9, 3, Bottom}, {0, 7, Bottom}, {5, 7, Bottom},  // right and bottom
        {1, 1, Top},    {8, 1, Bottom}, {1, 6, Bottom}, {2, 2, clWhite}, // second ring, inside
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(Bitmap.Canvas().Pixel(C.X, C.Y), C.Expected) << C.X << "," << C.Y;
    EXPECT_EQ(R, TRect(0, 0, 10, 8));
}

// The stamps land where the glyph has its outline colour; every other pixel, whatever its
// colour, becomes the back colour.
TEST(FlatDrawing, DisabledGlyphStampsTheOutlinePixels) {
    constexpr TColor Back = 0x00FF00;
    constexpr TColor Highlight = 0x0000FF;
    constexpr TColor Shadow = 0xFF0000;
    TBitmap Source;
    FillBitmap(Source, 4, 4, clWhite);
    Source.Canvas().SetPixel(0, 0, clBlack);
    Source.Canvas().SetPixel(3, 0, 0x00FFFF); // not the outline colour

    for (const bool Highlighted : {true, false}) {
        SCOPED_TRACE(Highlighted);
        auto Result = MakeDisabledGlyph(Source, clBlack, Back, Highlight, Shadow, Highlighted);
        ASSERT_EQ(Result->Width(), 4);
        ASSERT_EQ(Result->Height(), 4);
        TCanvas& C = Result->Canvas();
        EXPECT_EQ(C.Pixel(0, 0), Shadow);
        EXPECT_EQ(C.Pixel(1, 1), Highlighted ? Highlight : Back);
        EXPECT_EQ(C.Pixel(3, 0), Back);
        EXPECT_EQ(C.Pixel(2, 2), Back);
    }
    // The family's colours: the outline becomes the button shadow on the button face.
    auto Family = MakeDisabledGlyph(Source);
    EXPECT_EQ(ColorToRGB(Family->Canvas().Pixel(0, 0)), ColorToRGB(clBtnShadow));
    EXPECT_EQ(ColorToRGB(Family->Canvas().Pixel(2, 2)), ColorToRGB(clBtnFace));
}

TEST(FlatDrawing, DisabledCaptionIsEmbossedInTheSystemColours) {
    const auto Count = [](TBitmap& B, TColor Colour) {
        int N = 0;
        for (int Y = 0; Y < B.Height(); ++Y)
            for (int X = 0; X < B.Width(); ++X)
                N += ColorToRGB(B.Canvas().Pixel(X, Y)) == ColorToRGB(Colour);
        return N;
    };
    for (const bool Enabled : {true, false}) {
        TBitmap Bitmap;
        FillBitmap(Bitmap, 60, 30, 0x808000);
        Bitmap.Canvas().Font().SetHeight(-20);
        Bitmap.Canvas().Font().SetColor(clRed);
        DrawControlCaption(Bitmap.Canvas(), TRect(0, 0, 60, 30), L"MW", DT_SINGLELINE, Enabled);
        EXPECT_EQ(Count(Bitmap, clRed) > 0, Enabled);
        EXPECT_EQ(Count(Bitmap, clBtnShadow) > 0, !Enabled);
        EXPECT_EQ(Count(Bitmap, clBtnHighlight) > 0, !Enabled);
        EXPECT_EQ(Bitmap.Canvas().Font().Color(), clRed); // the caller's colour comes back
    }
}

TEST(FlatDrawing, DerivedColoursReplaceTheStoredOnesOnlyWhenUsed) {
    TFlatColorSet Colors{clWhite, 0xC5D6D9, 0x8396A0};
    TAdvColors Adv;
    RecomputeAdvColors(0xE1EAEB, Adv, Colors);
    EXPECT_EQ(Colors.Focused, clWhite);
    EXPECT_EQ(Colors.Border, 0x8396A0);
    Adv.Use = true;
    Adv.Down = 0; // a percentage of 0 keeps the stored colour
    RecomputeAdvColors(0xE1EAEB, Adv, Colors);
    EXPECT_EQ(Colors.Focused, 0x557B80);
    EXPECT_EQ(Colors.Down, 0xC5D6D9);
    EXPECT_EQ(Colors.Border, 0xADC6C9);
}

TEST(SkinResources, FramePiecesAndGlyphStripAreBuiltIn) {
    struct TCase {
        const wchar_t* Name;
        int Width, Height;
    } const Cases[] = {
        {L"TopLeft", 6, 25},      {L"Top", 794, 25},        {L"TopRight", 6, 25},
        {L"Left", 6, 500},        {L"Right", 6, 500},       {L"BottomLeft", 6, 6},
        {L"Bottom", 800, 6},      {L"BottomRight", 6, 6},   {L"TopLeftMask", 6, 25},
        {L"TopRightMask", 6, 25}, {L"Glyphs", 22 * 21, 17},
    };
    for (const TCase& C : Cases) {
        TBitmap Picture;
        Picture.LoadFromResourceName(GetModuleHandleW(nullptr), C.Name);
        EXPECT_EQ(Picture.Width(), C.Width) << ToUtf8(C.Name);
        EXPECT_EQ(Picture.Height(), C.Height) << ToUtf8(C.Name);
    }
}

} // namespace
