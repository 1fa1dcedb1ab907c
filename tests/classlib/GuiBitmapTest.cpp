// Canvas shapes, bitmaps and image lists, read back pixel by pixel from memory bitmaps.
#include "classlib/gui/ImgList.h"
#include "tests/support/GdiCount.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

TColor RgbOf(int R, int G, int B) {
    return static_cast<TColor>(R | (G << 8) | (B << 16));
}

// A white bitmap of the size.
void MakeWhite(TBitmap& Bitmap, int Width, int Height) {
    Bitmap.SetSize(Width, Height);
    Bitmap.Canvas().Brush().SetColor(clWhite);
    Bitmap.Canvas().FillRect(TRect(0, 0, Width, Height));
}

// A 24-bit BMP file of Width x Height in one colour, with pixel (0, 0) in Corner.
std::string BmpBytes(int Width, int Height, TColor Fill, TColor Corner) {
    const int Stride = (Width * 3 + 3) & ~3;
    std::string Body;
    for (int Row = Height - 1; Row >= 0; --Row) { // bottom-up
        std::string Line;
        for (int X = 0; X < Width; ++X) {
            const TColor C = (X == 0 && Row == 0) ? Corner : Fill;
            Line += static_cast<char>((C >> 16) & 0xFF);
            Line += static_cast<char>((C >> 8) & 0xFF);
            Line += static_cast<char>(C & 0xFF);
        }
        Line.resize(Stride, '\0');
        Body += Line;
    }
    auto Le = [](std::uint32_t V, int Bytes) {
        std::string S;
        for (int I = 0; I < Bytes; ++I)
            S += static_cast<char>((V >> (8 * I)) & 0xFF);
        return S;
    };
    return "BM" + Le(54 + Body.size(), 4) + Le(0, 4) + Le(54, 4) + Le(40, 4) + Le(Width, 4) +
           Le(Height, 4) + Le(1, 2) + Le(24, 2) + Le(0, 4) + Le(Body.size(), 4) + Le(2835, 4) +
           Le(2835, 4) + Le(0, 4) + Le(0, 4) + Body;
}

TEST(GuiBitmap, ShapesUseThePenAndTheBrush) {
    TBitmap B;
    MakeWhite(B, 40, 30);
    TCanvas& C = B.Canvas();
    C.Pen().SetColor(clRed);
    C.Brush().SetColor(clBlue);
    C.Rectangle(TRect(2, 2, 12, 12));
    EXPECT_EQ(C.Pixel(2, 2), clRed);   // outline
    EXPECT_EQ(C.Pixel(11, 11), clRed); // last pixel inside the rectangle
    EXPECT_EQ(C.Pixel(6, 6), clBlue);  // fill
    EXPECT_EQ(C.Pixel(12, 12), clWhite);

    // A colour change while the pen is selected takes effect at the next line.
    C.Pen().SetColor(clLime);
    C.MoveTo(20, 5);
    C.LineTo(30, 5);
    EXPECT_EQ(C.Pixel(20, 5), clLime);
    EXPECT_EQ(C.Pixel(29, 5), clLime);
    EXPECT_EQ(C.Pixel(30, 5), clWhite); // the end point is not drawn
    EXPECT_EQ(C.PenPos().X, 30);

    C.Brush().SetStyle(bsClear);
    C.Ellipse(TRect(14, 14, 34, 28));
    EXPECT_EQ(C.Pixel(24, 21), clWhite); // clear brush: inside untouched
    C.Brush().SetStyle(bsSolid);
    C.Brush().SetColor(clYellow);
    C.Polygon({{2, 20}, {10, 20}, {6, 28}});
    EXPECT_EQ(C.Pixel(6, 22), clYellow);

    C.Brush().SetColor(clNavy);
    C.FrameRect(TRect(0, 0, 40, 30));
    EXPECT_EQ(C.Pixel(0, 15), clNavy);
    EXPECT_EQ(C.Pixel(39, 29), clNavy);
}

TEST(GuiBitmap, InvertingPenDrawnTwiceLeavesNoTrace) {
    TBitmap B;
    MakeWhite(B, 10, 10);
    TCanvas& C = B.Canvas();
    C.Pen().SetMode(pmNot);
    for (int Pass = 0; Pass < 2; ++Pass) {
        C.MoveTo(0, 4);
        C.LineTo(10, 4);
        EXPECT_EQ(C.Pixel(3, 4), Pass == 0 ? clBlack : clWhite);
    }
}

TEST(GuiBitmap, SizeFormatsAndScanLines) {
    TBitmap B;
    EXPECT_TRUE(B.Empty());
    MakeWhite(B, 5, 4);
    B.Canvas().SetPixel(1, 2, RgbOf(10, 20, 30));
    B.SetPixelFormat(pf24bit);
    const std::uint8_t* Row = B.ScanLine(2);
    EXPECT_EQ(Row[3], 30); // B, G, R of pixel 1
    EXPECT_EQ(Row[4], 20);
    EXPECT_EQ(Row[5], 10);
    EXPECT_THROW(B.ScanLine(4), EInvalidGraphic);

    // Growing keeps what fits; new pixels are white.
    B.SetSize(8, 8);
    EXPECT_EQ(B.Canvas().Pixel(1, 2), RgbOf(10, 20, 30));
    EXPECT_EQ(B.Canvas().Pixel(7, 7), clWhite);
    B.Canvas().Pixel(0, 0); // a canvas in use survives the change of size
    B.SetSize(2, 2);
    EXPECT_EQ(B.Width(), 2);
    EXPECT_EQ(B.Canvas().Pixel(1, 1), clWhite);
}

TEST(GuiBitmap, MonochromeTurnsTheBrushColourWhite) {
    TBitmap B;
    MakeWhite(B, 4, 1);
    TCanvas& C = B.Canvas();
    C.SetPixel(0, 0, clRed);
    C.SetPixel(1, 0, clBlue);
    C.SetPixel(2, 0, clRed);
    C.Brush().SetColor(clRed);
    B.SetMonochrome(true);
    EXPECT_TRUE(B.Monochrome());
    B.SetMonochrome(false);
    EXPECT_EQ(B.Canvas().Pixel(0, 0), clWhite);
    EXPECT_EQ(B.Canvas().Pixel(1, 0), clBlack);
    EXPECT_EQ(B.Canvas().Pixel(2, 0), clWhite);
    EXPECT_EQ(B.Canvas().Pixel(3, 0), clBlack); // white is not the brush colour
}

TEST(GuiBitmap, TransparentDrawLeavesOutTheKeyColour) {
    TBitmap Sprite;
    MakeWhite(Sprite, 3, 3);
    Sprite.Canvas().Brush().SetColor(clFuchsia);
    Sprite.Canvas().FillRect(TRect(0, 0, 3, 3));
    Sprite.Canvas().SetPixel(1, 1, clGreen);
    EXPECT_EQ(Sprite.TransparentColor(), clFuchsia); // the bottom-left pixel
    Sprite.Transparent = true;

    TBitmap Target;
    MakeWhite(Target, 6, 6);
    Target.Canvas().Draw(2, 2, Sprite);
    EXPECT_EQ(Target.Canvas().Pixel(2, 2), clWhite);
    EXPECT_EQ(Target.Canvas().Pixel(3, 3), clGreen);

    Sprite.Transparent = false;
    Target.Canvas().StretchDraw(TRect(0, 0, 6, 6), Sprite);
    EXPECT_EQ(Target.Canvas().Pixel(0, 0), clFuchsia);
    EXPECT_EQ(Target.Canvas().Pixel(2, 2), clGreen); // doubled: source pixel (1, 1)
}

TEST(GuiBitmap, AssignCopiesPixelsNotTheSurface) {
    TBitmap A;
    MakeWhite(A, 3, 3);
    A.Canvas().SetPixel(0, 0, clRed);
    TBitmap B;
    B.Assign(A);
    A.Canvas().SetPixel(0, 0, clBlue);
    EXPECT_EQ(B.Width(), 3);
    EXPECT_EQ(B.Canvas().Pixel(0, 0), clRed);
}

TEST(GuiBitmap, LoadingFilesAndItsFailures) {
    const TTempFolder Temp;
    const String Good = Temp.AddFile(L"good.bmp", BmpBytes(5, 3, clTeal, clRed));
    const String Bad = Temp.AddFile(L"bad.bmp", "not a bitmap at all");
    TBitmap B;
    B.LoadFromFile(Good);
    EXPECT_EQ(B.Width(), 5);
    EXPECT_EQ(B.Height(), 3);
    EXPECT_EQ(B.PixelFormat(), pf24bit);
    EXPECT_EQ(B.Canvas().Pixel(0, 0), clRed);
    EXPECT_EQ(B.Canvas().Pixel(4, 2), clTeal);

    EXPECT_THROW(B.LoadFromFile(Temp.Path() + L"missing.bmp"), EFOpenError);
    EXPECT_THROW(B.LoadFromFile(Bad), EInvalidGraphic);
    EXPECT_EQ(B.Width(), 5); // a failed load changes nothing
    EXPECT_EQ(B.Canvas().Pixel(0, 0), clRed);
}

// A strip of three 4x4 images on a fuchsia background: red, green and blue squares of 2x2.
TBitmap& ThreeImageStrip(TBitmap& Strip) {
    Strip.SetSize(12, 4);
    TCanvas& C = Strip.Canvas();
    C.Brush().SetColor(clFuchsia);
    C.FillRect(TRect(0, 0, 12, 4));
    const TColor Colours[] = {clRed, clLime, clBlue};
    for (int I = 0; I < 3; ++I) {
        C.Brush().SetColor(Colours[I]);
        C.FillRect(Bounds(I * 4 + 1, 1, 2, 2));
    }
    return Strip;
}

TEST(GuiImageList, MaskedStripSplitsIntoImages) {
    TImageList List(nullptr);
    List.SetSize(4, 4);
    TBitmap Strip;
    EXPECT_EQ(List.AddMasked(ThreeImageStrip(Strip), clFuchsia), 0);
    EXPECT_EQ(List.Count(), 3);

    TBitmap Target;
    MakeWhite(Target, 4, 4);
    List.Draw(Target.Canvas(), 0, 0, 1);
    EXPECT_EQ(Target.Canvas().Pixel(0, 0), clWhite); // the mask colour is left out
    EXPECT_EQ(Target.Canvas().Pixel(1, 1), clLime);

    TBitmap Image;
    List.GetBitmap(2, Image);
    EXPECT_EQ(Image.Width(), 4);
    EXPECT_EQ(Image.Canvas().Pixel(2, 2), clBlue);
    EXPECT_EQ(Image.Canvas().Pixel(0, 3), clWhite);

    TIcon Icon;
    List.GetIcon(0, Icon);
    EXPECT_FALSE(Icon.Empty());
    EXPECT_EQ(Icon.Width(), 4);
}

TEST(GuiImageList, DisabledImagesAreEmbossed) {
    TImageList List(nullptr);
    List.SetSize(4, 4);
    TBitmap Strip;
    List.AddMasked(ThreeImageStrip(Strip), clFuchsia);
    TBitmap Target;
    MakeWhite(Target, 6, 6);
    List.Draw(Target.Canvas(), 0, 0, 0, false);
    const TColor Shadow = static_cast<TColor>(ColorToRGB(clBtnShadow));
    const TColor Highlight = static_cast<TColor>(ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Target.Canvas().Pixel(1, 1), Shadow);
    EXPECT_EQ(Target.Canvas().Pixel(3, 3), Highlight); // the highlight one pixel down-right
    EXPECT_EQ(Target.Canvas().Pixel(0, 0), clWhite);
}

TEST(GuiImageList, ChangeLinksOutliveNeitherSide) {
    int Changes = 0;
    auto Link = std::make_unique<TChangeLink>();
    Link->OnChange = [&](TObject*) { ++Changes; };
    {
        TImageList List(nullptr);
        List.RegisterChanges(Link.get());
        EXPECT_EQ(Link->Sender(), &List);
        TBitmap Strip;
        List.AddMasked(ThreeImageStrip(Strip), clFuchsia);
        EXPECT_EQ(Changes, 1);
        List.SetSize(8, 8); // a new size empties the list
        EXPECT_EQ(Changes, 2);
        EXPECT_EQ(List.Count(), 0);

        auto Other = std::make_unique<TChangeLink>();
        List.RegisterChanges(Other.get());
        Other.reset(); // a link that goes first unsubscribes
        List.Clear();
    }
    EXPECT_EQ(Link->Sender(), nullptr); // the list went first
}

TEST(GuiGraphics, NoGdiObjectOutlivesItsOwner) {
    EXPECT_EQ(GdiGrowth([] {
                  TBitmap B;
                  MakeWhite(B, 16, 16);
                  B.Canvas().Pen().SetColor(clRed);
                  B.Canvas().Rectangle(TRect(0, 0, 8, 8));
                  B.Canvas().TextOut(0, 0, L"x");
                  B.SetPixelFormat(pf24bit);
                  B.SetMonochrome(true);
                  TImageList List(nullptr);
                  List.SetSize(4, 4);
                  TBitmap Strip;
                  List.AddMasked(ThreeImageStrip(Strip), clFuchsia);
                  List.Draw(B.Canvas(), 0, 0, 0, false);
                  TIcon Icon;
                  List.GetIcon(0, Icon);
              }),
              0);
}

} // namespace
