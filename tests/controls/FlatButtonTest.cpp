// Flat push buttons: face and bevel for every mode, state and hot flag, the Default border, the
// glyph masked by its bottom-left pixel, and the indexed colour setter.
#include "controls/FlatButton.h"
#include "controls/HSLUtils.h"
#include "controls/FlatSpeedButton.h"
#include "controls/RoundedFlatButton.h"
#include "tests/controls/ControlsTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Face = 0x808080;
constexpr TColor Focused = 0x00FFFF;
constexpr TColor Down = 0xFF0000;
constexpr TColor Border = 0x0000FF;
constexpr TColor HighLight = clWhite;
constexpr TColor Shadow = clBlack;
constexpr TColor ParentFace = 0x00FF00;

enum class TMake { Up, Pressed, Latched, Disabled };

class FlatButtonTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form->SetColor(ParentFace);
    }

    TFlatButton* Button(TTransparentMode Mode) {
        auto* B = Place<TFlatButton>(Bounds(10, 10, 40, 30));
        B->SetColor(Face);
        B->SetFlatColor(fbcFocused, Focused);
        B->SetFlatColor(fbcDown, Down);
        B->SetFlatColor(fbcBorder, Border);
        B->SetFlatColor(fbcHighLight, HighLight);
        B->SetFlatColor(fbcShadow, Shadow);
        B->SetTransparentMode(Mode);
        B->HandleNeeded();
        return B;
    }
};

struct TLookCase {
    TTransparentMode Mode;
    TMake Make;
    bool Hot;
    bool Default;
    TColor ExpectedFace;
    TColor TopLeft;
    TColor BottomRight;
    TColor Inner; // (1, 1): the second ring of a 2-pixel border, else the face
};

TEST_F(FlatButtonTest, FaceAndBevelFollowModeStateAndHot) {
    const TLookCase Cases[] = {
        {tmNone, TMake::Up, false, false, Face, Border, Border, Face},
        {tmNone, TMake::Up, true, false, Focused, HighLight, Shadow, Focused},
        {tmNone, TMake::Pressed, true, false, Down, Shadow, HighLight, Down},
        {tmNone, TMake::Latched, false, false, Down, Shadow, HighLight, Down},
        {tmNone, TMake::Latched, true, false, Focused, Shadow, HighLight, Focused},
        {tmNone, TMake::Disabled, false, false, Face, Border, Border, Face},
        {tmNone, TMake::Up, false, true, Face, Border, Border, Border},
        {tmNone, TMake::Up, true, true, Focused, HighLight, Shadow, Focused},
        {tmNone, TMake::Latched, false, true, Down, Shadow, HighLight, Down},
        {tmAlways, TMake::Up, false, false, ParentFace, Border, Border, ParentFace},
        {tmAlways, TMake::Up, true, false, ParentFace, HighLight, Shadow, ParentFace},
        {tmAlways, TMake::Pressed, true, false, ParentFace, Shadow, HighLight, ParentFace},
        {tmNotFocused, TMake::Up, false, false, ParentFace, Border, Border, ParentFace},
        {tmNotFocused, TMake::Latched, false, false, ParentFace, Shadow, HighLight, ParentFace},
        {tmNotFocused, TMake::Up, true, false, Focused, HighLight, Shadow, Focused},
        {tmNotFocused, TMake::Pressed, true, false, Down, Shadow, HighLight, Down},
        {tmNotFocused, TMake::Latched, true, false, Focused, Shadow, HighLight, Focused},
    };
    int Row = 0;
    for (const TLookCase& C : Cases) {
        SCOPED_TRACE(Row++);
        TFlatButton* B = Button(C.Mode);
        B->SetDefault(C.Default);
        if (C.Make == TMake::Latched) {
            B->SetGroupIndex(1);
            B->SetDown(true);
        }
        if (C.Make == TMake::Disabled)
            B->SetEnabled(false);
        if (C.Hot)
            MoveOver(*B, 5, 5);
        if (C.Make == TMake::Pressed)
            SendMessageW(B->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
        EXPECT_EQ(B->MouseInControl(), C.Hot);
        const TClientPixels P(*B);
        EXPECT_EQ(P.At(20, 15), ColorToRGB(C.ExpectedFace));
        EXPECT_EQ(P.At(0, 0), ColorToRGB(C.TopLeft));
        EXPECT_EQ(P.At(P.Width - 1, P.Height - 1), ColorToRGB(C.BottomRight));
        EXPECT_EQ(P.At(1, 1), ColorToRGB(C.Inner));
        if (C.Make == TMake::Pressed)
            SendMessageW(B->Handle(), WM_LBUTTONUP, 0, At(5, 5));
        MoveAway();
        delete B;
    }
}

TEST_F(FlatButtonTest, GlyphIsMaskedByItsBottomLeftPixelAndMovesWhenPressed) {
    TFlatButton* B = Button(tmNone);
    TBitmap Glyph;
    FillBitmap(Glyph, 8, 8, clWhite); // white is the glyph's background
    Glyph.Canvas().Brush().SetColor(clRed);
    Glyph.Canvas().FillRect(TRect(2, 2, 6, 6));
    B->SetGlyph(Glyph);
    const TClientPixels Up(*B);
    const TPoint G = B->GlyphPos();
    EXPECT_EQ(Up.At(G.X, G.Y), ColorToRGB(Face));
    EXPECT_EQ(Up.At(G.X + 2, G.Y + 2), ColorToRGB(clRed));
    EXPECT_EQ(Up.At(G.X + 6, G.Y + 6), ColorToRGB(Face));

    MoveOver(*B, 5, 5);
    SendMessageW(B->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    const TClientPixels Pressed(*B);
    EXPECT_EQ(B->GlyphPos().X, G.X + 1);
    EXPECT_EQ(B->GlyphPos().Y, G.Y + 1);
    EXPECT_EQ(Pressed.At(G.X + 2, G.Y + 2), ColorToRGB(Down));
    EXPECT_EQ(Pressed.At(G.X + 6, G.Y + 6), ColorToRGB(clRed));
    SendMessageW(B->Handle(), WM_LBUTTONUP, 0, At(5, 5));
}

TEST_F(FlatButtonTest, DisabledOneCellGlyphIsGreyedAndItsBackgroundStaysHidden) {
    TFlatButton* B = Button(tmNone);
    TBitmap Glyph;
    FillBitmap(Glyph, 8, 8, clWhite);
    Glyph.Canvas().Brush().SetColor(clBlack);
    Glyph.Canvas().FillRect(TRect(2, 2, 6, 6));
    B->SetGlyph(Glyph);
    B->SetEnabled(false);
    const TClientPixels P(*B);
    const TPoint G = B->GlyphPos();
    EXPECT_EQ(B->State(), bsDisabled);
    EXPECT_EQ(P.At(G.X, G.Y), ColorToRGB(Face));
    EXPECT_NE(P.At(G.X + 3, G.Y + 3), ColorToRGB(clBlack));
    EXPECT_NE(P.At(G.X + 3, G.Y + 3), ColorToRGB(Face));
}

TEST_F(FlatButtonTest, ConstructedAsTheFamilyDraws) {
    TFlatButton* B = Place<TFlatButton>(Bounds(0, 0, 25, 25));
    EXPECT_EQ(B->Color(), TColor(0xE1EAEB));
    EXPECT_EQ(B->ColorFocused(), TColor(0xE1EAEB));
    EXPECT_EQ(B->ColorDown(), TColor(0xC5D6D9));
    EXPECT_EQ(B->ColorBorder(), TColor(0x8396A0));
    EXPECT_EQ(B->ColorHighLight(), clWhite);
    EXPECT_EQ(B->ColorShadow(), clBlack);
    EXPECT_EQ(B->Layout(), blGlyphTop);
    EXPECT_EQ(B->TransparentMode(), tmNone);
    EXPECT_FALSE(B->TabStop());
}

} // namespace

namespace {

// The windowless buttons, read through the form they are drawn on.
class FlatSpeedButtonTest : public FlatButtonTest {
protected:
    template <class T> T* Speed() {
        auto* B = Place<T>(Bounds(20, 20, 44, 30));
        return B;
    }
    COLORREF PixelOf(TControl& C, int X, int Y) {
        return TClientPixels(*Form).At(C.Left() + X, C.Top() + Y);
    }
    void Hover(TControl& C) {
        Cursor = Form->ClientToScreen(TPoint{C.Left() + 5, C.Top() + 5});
        SendMessageW(Form->Handle(), WM_MOUSEMOVE, 0, At(C.Left() + 5, C.Top() + 5));
    }
    void PressOn(TControl& C) {
        SendMessageW(Form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(C.Left() + 5, C.Top() + 5));
    }
    void ReleaseOn(TControl& C) {
        SendMessageW(Form->Handle(), WM_LBUTTONUP, 0, At(C.Left() + 5, C.Top() + 5));
    }
};

TEST_F(FlatSpeedButtonTest, NotFocusedModeLeavesTheParentVisibleUntilHovered) {
    auto* B = Speed<TFlatSpeedButton>();
    B->SetColor(Face);
    B->SetFlatColor(fbcFocused, Focused);
    B->SetFlatColor(fbcBorder, Border);
    B->SetTransparentMode(tmNotFocused);
    EXPECT_EQ(PixelOf(*B, 20, 15), ColorToRGB(ParentFace));
    EXPECT_EQ(PixelOf(*B, 0, 0), ColorToRGB(Border));
    Hover(*B);
    EXPECT_TRUE(B->MouseInControl());
    EXPECT_EQ(PixelOf(*B, 20, 15), ColorToRGB(Focused));
    B->SetTransparentMode(tmNone);
    MoveAway();
    B->Perform(CM_MOUSELEAVE);
    B->LeaveHot();
    EXPECT_EQ(PixelOf(*B, 20, 15), ColorToRGB(Face));
}

TEST_F(FlatSpeedButtonTest, TheIndexedSetterGivesEachColourItsPlace) {
    auto* B = Speed<TFlatSpeedButton>();
    const TColor Values[] = {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F};
    for (int I = 0; I < 5; ++I)
        B->SetFlatColor(static_cast<TFlatButtonColor>(I), Values[I]);
    EXPECT_EQ(B->ColorFocused(), Values[0]);
    EXPECT_EQ(B->ColorDown(), Values[1]);
    EXPECT_EQ(B->ColorBorder(), Values[2]);
    EXPECT_EQ(B->ColorHighLight(), Values[3]);
    EXPECT_EQ(B->ColorShadow(), Values[4]);
}

TEST_F(FlatSpeedButtonTest, PressingAWindowlessButtonClicksWithoutTakingTheFocus) {
    auto* B = Speed<TFlatSpeedButton>();
    B->SetFlatColor(fbcDown, Down);
    int Clicks = 0;
    B->OnClick = [&](TObject*) { ++Clicks; };
    Hover(*B);
    PressOn(*B);
    EXPECT_EQ(B->State(), bsPressed);
    EXPECT_EQ(PixelOf(*B, 20, 15), ColorToRGB(Down));
    ReleaseOn(*B);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(B->State(), bsUp);
}

TEST_F(FlatSpeedButtonTest, RoundedButtonShowsOnlyItsGlyphAndTheSecondCellWhenHot) {
    auto* B = Speed<TRoundedFlatSpeedButton>();
    B->SetColor(clRed); // no face is ever drawn
    TBitmap Glyph;
    FillBitmap(Glyph, 44, 22, clWhite);
    Glyph.Canvas().Brush().SetColor(clBlue);
    Glyph.Canvas().FillRect(TRect(4, 4, 18, 18)); // left cell
    Glyph.Canvas().Brush().SetColor(clYellow);
    Glyph.Canvas().FillRect(TRect(26, 4, 40, 18)); // right cell
    B->SetGlyph(Glyph);
    EXPECT_EQ(B->NumGlyphs(), 2);
    EXPECT_EQ(PixelOf(*B, 0, 0), ColorToRGB(ParentFace));
    TPoint G = B->GlyphPos();
    EXPECT_EQ(PixelOf(*B, G.X + 10, G.Y + 10), ColorToRGB(clBlue));
    EXPECT_EQ(PixelOf(*B, G.X + 1, G.Y + 1), ColorToRGB(ParentFace));
    Hover(*B);
    EXPECT_EQ(PixelOf(*B, G.X + 10, G.Y + 10), ColorToRGB(clYellow));
    PressOn(*B);
    const COLORREF Pressed = PixelOf(*B, G.X + 11, G.Y + 11);
    EXPECT_EQ(B->GlyphPos().X, G.X + 1);
    EXPECT_EQ(Pressed, ColorToRGB(clBlue));
    EXPECT_EQ(PixelOf(*B, 0, 0), ColorToRGB(ParentFace));
    ReleaseOn(*B);
}

TEST_F(FlatSpeedButtonTest, RoundedButtonKeepsTheFlatColoursAndModesWithoutDrawingThem) {
    auto* B = Speed<TRoundedFlatSpeedButton>();
    EXPECT_EQ(B->Color(), TColor(0xE1EAEB));
    EXPECT_EQ(B->ColorFocused(), TColor(0xE1EAEB));
    EXPECT_EQ(B->ColorDown(), TColor(0xC5D6D9));
    EXPECT_EQ(B->ColorBorder(), TColor(0x8396A0));
    EXPECT_FALSE(B->UseAdvColors());
    EXPECT_EQ(B->AdvColorFocused(), 10);
    EXPECT_EQ(B->AdvColorDown(), 10);
    EXPECT_EQ(B->AdvColorBorder(), 50);
    EXPECT_EQ(B->TransparentMode(), tmNone);
    // Derived from the face: focused lighter, down and border darker.
    B->SetUseAdvColors(true); // takes the parent's colour as the face
    const TColor Base = B->Color();
    EXPECT_EQ(B->ColorFocused(), ComputeAdvColor(Base, 0, 10, false));
    EXPECT_EQ(B->ColorDown(), ComputeAdvColor(Base, 0, 10, true));
    EXPECT_EQ(B->ColorBorder(), ComputeAdvColor(Base, 0, 50, true));
    B->SetAdvColorBorder(20);
    EXPECT_EQ(B->AdvColorBorder(), 20);
    EXPECT_EQ(B->ColorBorder(), ComputeAdvColor(Base, 0, 20, true));
    // None of it shows: the parent stays visible around the glyph, hot or not.
    B->SetUseAdvColors(false);
    B->SetColor(clRed);
    B->SetFlatColor(fbcFocused, clLime);
    for (const TTransparentMode Mode : {tmNone, tmAlways, tmNotFocused}) {
        B->SetTransparentMode(Mode);
        EXPECT_EQ(B->TransparentMode(), Mode);
        EXPECT_EQ(PixelOf(*B, 0, 0), ColorToRGB(ParentFace)) << Mode;
        EXPECT_EQ(PixelOf(*B, 20, 15), ColorToRGB(ParentFace)) << Mode;
        Hover(*B);
        EXPECT_EQ(PixelOf(*B, 20, 15), ColorToRGB(ParentFace)) << Mode;
        MoveAway();
        B->Perform(CM_MOUSELEAVE);
        B->LeaveHot();
    }
}

} // namespace
