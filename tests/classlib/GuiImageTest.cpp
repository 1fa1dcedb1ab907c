#include "GuiTestSupport.h"
#include "tests/support/GdiCount.h"

#include "classlib/gui/ExtCtrls.h"

namespace {

constexpr COLORREF WhitePixel = RGB(255, 255, 255);
constexpr COLORREF RedPixel = RGB(255, 0, 0);
constexpr COLORREF GreenPixel = RGB(0, 255, 0);

// A borderless white form of 100 x 80 with a 20 x 20 image at 10, 10.
class GuiImageTest : public PlainFormTest<100, 80> {
protected:
    void SetUp() override {
        PlainFormTest::SetUp();
        Image = new TImage(Form);
        Image->SetParent(Form);
        Image->SetBounds(10, 10, 20, 20);
    }

    // A red picture of Width x Height whose bottom-left pixel is green.
    void LoadPicture(int Width, int Height) {
        TBitmap& Bitmap = Image->Picture().Bitmap();
        Bitmap.SetPixelFormat(pf24bit);
        Bitmap.SetSize(Width, Height);
        Bitmap.Canvas().Brush().SetColor(clRed);
        Bitmap.Canvas().FillRect(Bounds(0, 0, Width, Height));
        Bitmap.Canvas().SetPixel(0, Height - 1, clLime);
        Image->Invalidate();
    }

    // The rectangle the red pixels of the form cover.
    static TRect RedBox(const TClientPixels& Pixels) {
        TRect Box(Pixels.Width, Pixels.Height, 0, 0);
        for (int Y = 0; Y < Pixels.Height; ++Y)
            for (int X = 0; X < Pixels.Width; ++X)
                if (Pixels.At(X, Y) == RedPixel) {
                    Box.Left = std::min(Box.Left, X);
                    Box.Top = std::min(Box.Top, Y);
                    Box.Right = std::max(Box.Right, X + 1);
                    Box.Bottom = std::max(Box.Bottom, Y + 1);
                }
        return Box;
    }

    TImage* Image = nullptr;
};

} // namespace

TEST_F(GuiImageTest, ThePictureIsPlacedCornerCentredOrStretched) {
    const struct {
        const char* Name;
        bool Center;
        bool Stretch;
        TRect Expected; // where the red pixels lie on the form
    } Cases[] = {
        {"corner", false, false, Bounds(10, 10, 8, 4)},
        {"centred", true, false, Bounds(16, 18, 8, 4)},
        {"stretched", false, true, Bounds(10, 10, 20, 20)},
        {"stretch wins over centre", true, true, Bounds(10, 10, 20, 20)},
    };
    LoadPicture(8, 4);
    Form->Show();
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Image->SetCenter(Case.Center);
        Image->SetStretch(Case.Stretch);
        const TClientPixels Pixels(*Form);
        EXPECT_EQ(RedBox(Pixels), Case.Expected);
        // Nothing outside the image's bounds.
        EXPECT_EQ(
            Pixels.Count(Image->BoundsRect(), false, [](COLORREF P) { return P != WhitePixel; }),
            0);
    }
}

TEST_F(GuiImageTest, ATransparentImageLetsItsTransparentColourThrough) {
    LoadPicture(8, 4);
    Form->Show();
    const TClientPixels Opaque(*Form);
    EXPECT_EQ(Opaque.At(10, 13), GreenPixel);

    Image->SetTransparent(true); // the bottom-left pixel's colour is the transparent one
    const TClientPixels Transparent(*Form);
    EXPECT_EQ(
        Transparent.Count(Image->BoundsRect(), true, [](COLORREF P) { return P == GreenPixel; }),
        0);
    EXPECT_EQ(Transparent.At(10, 13), WhitePixel);
    EXPECT_EQ(Transparent.At(11, 13), RedPixel);

    // A picture assigned later is drawn the same way.
    TBitmap Other;
    Other.SetSize(3, 3);
    Other.Canvas().Brush().SetColor(clRed);
    Other.Canvas().FillRect(Bounds(0, 0, 3, 3));
    Other.Canvas().SetPixel(0, 2, clLime);
    Image->Picture().Assign(Other);
    EXPECT_TRUE(Image->Picture().Bitmap().Transparent);
}

TEST_F(GuiImageTest, AnAutoSizedImageTakesThePicturesSize) {
    LoadPicture(8, 4);
    EXPECT_EQ(Image->BoundsRect(), Bounds(10, 10, 20, 20)); // not auto-sized yet
    Image->SetAutoSize(true);
    EXPECT_EQ(Image->BoundsRect(), Bounds(10, 10, 8, 4));
    Image->Picture().Bitmap().SetSize(32, 16);
    EXPECT_EQ(Image->BoundsRect(), Bounds(10, 10, 32, 16));
    TBitmap Other;
    Other.SetSize(5, 6);
    Image->Picture().Assign(Other);
    EXPECT_EQ(Image->BoundsRect(), Bounds(10, 10, 5, 6));
}

TEST_F(GuiImageTest, AnEmptyImagePaintsNothing) {
    Form->Show();
    const TClientPixels Pixels(*Form);
    EXPECT_EQ(Pixels.Count(TRect(), false, [](COLORREF P) { return P != WhitePixel; }), 0);
}

TEST_F(GuiImageTest, ImagesLeaveNoGdiObjectsBehind) {
    Form->Show();
    EXPECT_EQ(GdiGrowth([&] {
                  auto* Other = new TImage(Form);
                  Other->SetParent(Form);
                  Other->SetStretch(true);
                  Other->SetTransparent(true);
                  Other->Picture().Bitmap().SetSize(16, 16);
                  Other->Picture().Bitmap().Canvas().FillRect(Bounds(0, 0, 8, 8));
                  const TClientPixels Painted(*Form);
                  delete Other;
              }),
              0);
}
