// Skinned buttons: tiles, key-colour regions, sizes, list links and glyph drawing.
#include "controls/avImageButton.h"
#include "controls/avImageExpandButton.h"
#include "tests/controls/ControlsTestSupport.h"
#include "tests/support/GdiCount.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr TColor Grey = 0x606060;
constexpr TColor Light = 0xA0A0A0;
constexpr TColor Key = 0xFF00FF;

std::vector<TRect> RegionRects(HRGN Region) {
    const DWORD Size = GetRegionData(Region, 0, nullptr);
    std::vector<std::uint8_t> Bytes(Size);
    auto* Data = reinterpret_cast<RGNDATA*>(Bytes.data());
    GetRegionData(Region, Size, Data);
    const auto* Rects = reinterpret_cast<const RECT*>(Data->Buffer);
    return std::vector<TRect>(Rects, Rects + Data->rdh.nCount);
}

TEST(SkinPictures, MiddleTilesFromTheLeftThenTheCaps) {
    TBitmap Left, Middle, Right, Target;
    FillBitmap(Middle, 30, 4, Grey);
    Middle.Canvas().SetPixel(0, 0, clRed); // marks where each tile starts
    FillBitmap(Left, 5, 4, clBlue);
    FillBitmap(Right, 14, 4, clYellow);
    BuildSkinBackground(Target, 100, 4, Left, Middle, Right);
    TCanvas& C = Target.Canvas();
    EXPECT_EQ(C.Pixel(2, 0), clBlue);
    EXPECT_EQ(C.Pixel(30, 0), clRed);
    EXPECT_EQ(C.Pixel(60, 0), clRed);
    EXPECT_EQ(C.Pixel(85, 0), Grey);
    EXPECT_EQ(C.Pixel(86, 0), clYellow); // 100 - 14
    EXPECT_EQ(C.Pixel(99, 3), clYellow);

    TBitmap Empty, Plain;
    BuildSkinBackground(Plain, 100, 4, Empty, Middle, Empty);
    for (const int X : {0, 30, 60, 90})
        EXPECT_EQ(Plain.Canvas().Pixel(X, 0), clRed) << X;
}

TEST(SkinPictures, RegionLeavesOutKeyPixelsRowByRow) {
    TBitmap Picture;
    FillBitmap(Picture, 4, 3, Grey);
    Picture.Canvas().SetPixel(1, 1, RGB(200, 50, 200)); // just a key colour
    Picture.Canvas().SetPixel(1, 2, RGB(199, 50, 200)); // just not
    Picture.Canvas().SetPixel(3, 2, RGB(255, 0, 255));
    const TRegionObject Region = SkinRegion(Picture);
    const std::vector<TRect> Expected = {TRect(0, 0, 4, 1), TRect(0, 1, 1, 2), TRect(2, 1, 4, 2),
                                         TRect(0, 2, 3, 3)};
    EXPECT_EQ(RegionRects(Region.Get()), Expected);
}

class ImageButtonTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        List = std::make_unique<TavImageList>(nullptr);
        FillBitmap(List->Image(siNormalMiddle), 10, 24, Grey);
        FillBitmap(List->Image(siHoverMiddle), 10, 24, Light);
        FillBitmap(List->Image(siNormalLeft), 3, 24, Grey);
        List->Image(siNormalLeft).Canvas().SetPixel(0, 0, Key); // a cut corner
    }
    void TearDown() override {
        List.reset();
        ControlsTest::TearDown();
    }
    TavImageExpandButton* Linked(const TRect& R) {
        auto* B = Place<TavImageExpandButton>(R);
        B->SetImageList(List.get());
        return B;
    }

    std::unique_ptr<TavImageList> List;
};

TEST_F(ImageButtonTest, HeightFollowsTheMiddlePieceAndTheWindowIsCutAtKeyPixels) {
    auto* B = Linked(Bounds(10, 10, 80, 50));
    EXPECT_EQ(B->Height(), 24);
    B->SetBounds(10, 10, 90, 40);
    EXPECT_EQ(B->Width(), 90);
    EXPECT_EQ(B->Height(), 24);
    EXPECT_EQ(B->NormalBackground().Width(), 90);

    const TRegionObject Region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(B->Handle(), Region.Get()), ERROR);
    EXPECT_FALSE(PtInRegion(Region.Get(), 0, 0));
    EXPECT_TRUE(PtInRegion(Region.Get(), 1, 0));
    EXPECT_TRUE(PtInRegion(Region.Get(), 89, 23));

    // Normal look, hover look while hot.
    EXPECT_EQ(TClientPixels(*B).At(40, 10), ColorToRGB(Grey));
    MoveOver(*B, 40, 10);
    ASSERT_TRUE(B->MouseInControl());
    EXPECT_EQ(TClientPixels(*B).At(40, 10), ColorToRGB(Light));
}

// A skin that could not be read must not make the button vanish: it keeps its size and shows a
// plain face.
TEST_F(ImageButtonTest, AListWithoutAMiddlePieceLeavesAPlainButtonOfItsOwnSize) {
    TavImageList Bare(nullptr);
    auto* B = Place<TavImageExpandButton>(Bounds(10, 10, 80, 30));
    B->SetImageList(&Bare);
    EXPECT_EQ(B->Height(), 30);
    B->SetBounds(10, 10, 80, 31);
    EXPECT_EQ(B->Height(), 31);
    EXPECT_EQ(TClientPixels(*B).At(40, 15), ColorToRGB(clBtnFace));
    B->SetImageList(nullptr);
}

TEST_F(ImageButtonTest, LinksFontsAndUnlinking) {
    List->Font().SetColor(clRed);
    auto* A = Linked(Bounds(10, 10, 60, 24));
    auto* B = Linked(Bounds(80, 10, 60, 24));
    EXPECT_EQ(A->Font().Color(), clRed);
    TFont Blue;
    Blue.SetColor(clBlue);
    List->SetFont(Blue);
    EXPECT_EQ(A->Font().Color(), clRed); // copied at linking only
    EXPECT_EQ(List->Buttons().size(), 2u);

    delete A;
    EXPECT_EQ(List->Buttons(), std::vector<TavImageExpandButton*>{B});
    List.reset();
    EXPECT_EQ(B->ImageList(), nullptr);
    EXPECT_EQ(B->Height(), 24); // the look stays as it was
}

TEST_F(ImageButtonTest, PathsLoadAndAMissingFileLeavesAnEmptyPicture) {
    const TTempFolder Folder;
    const String Path = Folder.Path() + L"m.bmp";
    WriteBytes(Path, BmpFileBytes(7, 20, [](int, int) { return Light; }));
    TavImageList Loaded(nullptr);
    Loaded.SetImagePath(siNormalMiddle, Path);
    EXPECT_EQ(Loaded.Image(siNormalMiddle).Height(), 20);
    Loaded.SetImagePath(siNormalMiddle, Folder.Path() + L"missing.bmp");
    EXPECT_TRUE(Loaded.Image(siNormalMiddle).Empty());
    EXPECT_EQ(Loaded.ImagePath(siNormalMiddle), Folder.Path() + L"missing.bmp");
    WriteBytes(Path, "not a bitmap");
    Loaded.SetImagePath(siNormalMiddle, Path);
    EXPECT_TRUE(Loaded.Image(siNormalMiddle).Empty());
}

TEST_F(ImageButtonTest, OnlyPureWhiteGlyphPixelsAreLeftOut) {
    auto* B = Linked(Bounds(10, 10, 60, 24));
    TBitmap Glyph;
    FillBitmap(Glyph, 3, 2, clWhite); // not whole square cells: one cell
    Glyph.Canvas().SetPixel(1, 0, RGB(254, 255, 255));
    Glyph.Canvas().SetPixel(2, 0, clBlack);
    B->SetGlyph(Glyph);
    const TClientPixels Pixels(*B);
    const TPoint G = B->GlyphPos();
    EXPECT_EQ(Pixels.At(G.X, G.Y), ColorToRGB(Grey));
    EXPECT_EQ(Pixels.At(G.X + 1, G.Y), RGB(254, 255, 255));
    EXPECT_EQ(Pixels.At(G.X + 2, G.Y), RGB(0, 0, 0));

    // Disabled: the one cell embossed on the button face; only pure white is left out.
    B->SetEnabled(false);
    const TClientPixels Disabled(*B);
    EXPECT_EQ(Disabled.At(G.X + 2, G.Y), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Disabled.At(G.X + 1, G.Y), ColorToRGB(clBtnFace));
}

TEST_F(ImageButtonTest, DefaultChangesNoPixel) {
    auto* B = Linked(Bounds(10, 10, 60, 24));
    B->SetCaption(L"OK");
    const TClientPixels Before(*B);
    B->SetDefault(true);
    const TClientPixels After(*B);
    EXPECT_EQ(Before.Count(TRect(0, 0, 60, 24), true, [](COLORREF) { return true; }), 60 * 24);
    for (int Y = 0; Y < 24; ++Y)
        for (int X = 0; X < 60; ++X)
            ASSERT_EQ(Before.At(X, Y), After.At(X, Y)) << X << "," << Y;
}

TEST_F(ImageButtonTest, OwnPicturesSetTheSizeAndTheGlyphIsMaskedByItsCorner) {
    const TTempFolder Folder;
    const String Middle = Folder.Path() + L"m.bmp";
    WriteBytes(Middle, BmpFileBytes(16, 22, [](int, int) { return Grey; }));
    auto* B = Place<TavImageButton>(Bounds(10, 10, 80, 40));
    EXPECT_TRUE(B->TabStop());
    B->SetImagePath(siNormalMiddle, Middle);
    // Without both caps the button is one middle piece wide.
    EXPECT_EQ(B->Height(), 22);
    EXPECT_EQ(B->Width(), 16);

    TBitmap Glyph;
    FillBitmap(Glyph, 4, 4, clLime);
    Glyph.Canvas().SetPixel(1, 1, clBlue);
    B->SetGlyph(Glyph);
    const TClientPixels Pixels(*B);
    const TPoint G = B->GlyphPos();
    EXPECT_EQ(Pixels.At(G.X, G.Y), ColorToRGB(Grey)); // the bottom-left colour is transparent
    EXPECT_EQ(Pixels.At(G.X + 1, G.Y + 1), ColorToRGB(clBlue));
}

TEST_F(ImageButtonTest, ButtonsLeaveNoGdiObjectsBehind) {
    const int Growth = GdiGrowth([&] {
        auto* B = Linked(Bounds(10, 10, 60, 24));
        TBitmap Glyph;
        FillBitmap(Glyph, 8, 8, clBlack);
        B->SetGlyph(Glyph);
        B->SetCaption(L"Go");
        const TClientPixels Painted(*B);
        B->SetBounds(10, 10, 120, 24);
        MoveOver(*B, 5, 5);
        const TClientPixels Hot(*B);
        auto* Own = Place<TavImageButton>(Bounds(100, 50, 60, 24));
        Own->Image(siNormalMiddle).Assign(List->Image(siNormalMiddle));
        Own->SetBounds(100, 50, 70, 24);
        const TClientPixels OwnPainted(*Own);
        delete Own;
        delete B;
    });
    EXPECT_EQ(Growth, 0);
}

} // namespace
