// Flat panel, group box and progress bar: the block arithmetic, the position rules, snapping of
// the bar's length, orientation, and the pixels each one paints.
#include "controls/FlatPanel.h"
#include "controls/FlatProgressBar.h"
#include "tests/controls/ControlsTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(FlatProgressMaths, LengthsSnapToWholeBlocks) {
    const struct {
        int Asked, Kept;
    } Cases[] = {{228, 228}, {236, 228}, {237, 237}, {147, 147},
                 {13, 12},   {12, 12},   {11, 12},   {0, 12}};
    for (const auto& C : Cases)
        EXPECT_EQ(SnapProgressLength(C.Asked), C.Kept) << C.Asked;
}

TEST(FlatProgressMaths, FilledBlocks) {
    const struct {
        int Position, Min, Max, Places, Filled;
    } Cases[] = {
        {50, 0, 100, 25, 12}, {100, 0, 100, 25, 25}, {0, 0, 100, 25, 0}, {99, 0, 100, 25, 24},
        {30, 20, 40, 10, 5},  {5, 5, 5, 25, 0},      {50, 0, 100, 0, 0}, {3, 0, 3, 3, 3},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(ProgressFilledBlocks(C.Position, C.Min, C.Max, C.Places), C.Filled)
            << C.Position << " in " << C.Min << ".." << C.Max << " over " << C.Places;
    EXPECT_EQ(ProgressBlockPlaces(228), 25);
    EXPECT_EQ(ProgressBlockPlaces(2), 0);
}

class FlatPanelsTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form->SetColor(clWhite);
    }
    // A pixel of a windowless control, read through its parent.
    COLORREF PixelOf(TControl& Control, int X, int Y) {
        return TClientPixels(*Form).At(Control.Left() + X, Control.Top() + Y);
    }
    TFlatProgressBar* Bar(int Width, int Height) {
        auto* B = Place<TFlatProgressBar>(Bounds(10, 10, Width, Height));
        B->SetColor(clWhite);
        B->SetColorElement(clBlue);
        B->SetColorBorder(clRed);
        return B;
    }
};

TEST_F(FlatPanelsTest, PositionIsHeldInsideMinAndMax) {
    TFlatProgressBar* B = Bar(147, 16);
    B->SetPosition(150);
    EXPECT_EQ(B->Position(), 100);
    B->SetPosition(-5);
    EXPECT_EQ(B->Position(), 0);
    B->SetPosition(80);
    B->SetMax(60);
    EXPECT_EQ(B->Position(), 60);
    EXPECT_EQ(B->Max(), 60);
    B->SetPosition(0);
    B->SetStep(25);
    B->StepIt();
    B->StepIt();
    EXPECT_EQ(B->Position(), 50);
    B->StepIt();
    EXPECT_EQ(B->Position(), 60);
}

TEST_F(FlatPanelsTest, BlocksOfTheProgressWindowsBar) {
    TFlatProgressBar* B = Bar(228, 16);
    EXPECT_EQ(B->Width(), 228);
    B->SetPosition(50);
    // Block 12 (index 11) starts at 2 + 11 x 9 = 101 and is 8 wide; block 13 is empty.
    EXPECT_EQ(PixelOf(*B, 101, 8), ColorToRGB(clBlue));
    EXPECT_EQ(PixelOf(*B, 108, 8), ColorToRGB(clBlue));
    EXPECT_EQ(PixelOf(*B, 109, 8), ColorToRGB(clWhite)); // the gap
    EXPECT_EQ(PixelOf(*B, 111, 8), ColorToRGB(clWhite));
    EXPECT_EQ(PixelOf(*B, 0, 0), ColorToRGB(clRed));
    EXPECT_EQ(PixelOf(*B, 227, 15), ColorToRGB(clRed));
    B->SetPosition(100);
    EXPECT_EQ(PixelOf(*B, 2 + 24 * 9 + 7, 8), ColorToRGB(clBlue));
    B->SetPosition(10); // shrinking repaints the whole bar
    EXPECT_EQ(PixelOf(*B, 2 + 2 * 9, 8), ColorToRGB(clWhite));
    EXPECT_EQ(PixelOf(*B, 2, 8), ColorToRGB(clBlue));
}

TEST_F(FlatPanelsTest, ABarWithoutARangeDrawsItsFrameAndNoBlocks) {
    TFlatProgressBar* B = Bar(147, 16);
    B->SetMax(0);
    B->SetPosition(0);
    EXPECT_EQ(PixelOf(*B, 0, 0), ColorToRGB(clRed));
    EXPECT_EQ(PixelOf(*B, 3, 8), ColorToRGB(clWhite));
    B->SetSmooth(true);
    EXPECT_EQ(PixelOf(*B, 3, 8), ColorToRGB(clWhite));
}

TEST_F(FlatPanelsTest, SnappingHappensWhenSizedAndOrientationTurnsTheBar) {
    TFlatProgressBar* B = Bar(230, 16);
    EXPECT_EQ(B->Width(), 228);
    B->SetSmooth(true);
    B->SetBounds(10, 10, 230, 16);
    EXPECT_EQ(B->Width(), 230);
    B->SetSmooth(false);
    EXPECT_EQ(B->Width(), 228);

    TFlatProgressBar* Turned = Bar(147, 16);
    Turned->SetOrientation(pbVertical);
    EXPECT_EQ(Turned->Width(), 16);
    EXPECT_EQ(Turned->Height(), 147);
    Turned->SetBounds(10, 10, 16, 150);
    EXPECT_EQ(Turned->Height(), 147);
}

TEST_F(FlatPanelsTest, VerticalAndSmoothBarsFillFromTheirStart) {
    TFlatProgressBar* V = Bar(16, 147);
    V->SetOrientation(pbVertical);
    V->SetBounds(10, 10, 16, 147);
    V->SetPosition(50); // 16 places, 8 filled from the bottom
    EXPECT_EQ(PixelOf(*V, 8, 146 - 2), ColorToRGB(clBlue));
    EXPECT_EQ(PixelOf(*V, 8, 147 - 10 - 7 * 9), ColorToRGB(clBlue));
    EXPECT_EQ(PixelOf(*V, 8, 147 - 10 - 8 * 9), ColorToRGB(clWhite));

    TFlatProgressBar* S = Bar(104, 16);
    S->SetSmooth(true);
    S->SetBounds(40, 60, 104, 16);
    S->SetPosition(50); // (104 - 4) x 50 / 100 = 50 pixels from x = 2
    EXPECT_EQ(PixelOf(*S, 51, 8), ColorToRGB(clBlue));
    EXPECT_EQ(PixelOf(*S, 52, 8), ColorToRGB(clWhite));
}

TEST_F(FlatPanelsTest, GroupBoxLeavesAGapForItsCaption) {
    auto* G = Place<TFlatGroupBox>(Bounds(10, 10, 120, 80));
    G->SetColor(clWhite);
    G->SetColorBorder(clRed);
    G->HandleNeeded();
    TClientPixels Empty(*G);
    int Y0 = -1;
    for (int Y = 0; Y < Empty.Height && Y0 < 0; ++Y)
        if (Empty.At(0, Y) == ColorToRGB(clRed))
            Y0 = Y;
    ASSERT_GE(Y0, 0);
    EXPECT_EQ(Empty.At(5, Y0), ColorToRGB(clRed));
    for (int X = 6; X <= 12; ++X)
        EXPECT_EQ(Empty.At(X, Y0), ColorToRGB(clWhite)) << X;
    EXPECT_EQ(Empty.At(13, Y0), ColorToRGB(clRed));
    EXPECT_EQ(Empty.At(0, 79), ColorToRGB(clRed));
    EXPECT_EQ(Empty.At(119, 79), ColorToRGB(clRed));

    G->SetCaption(L"Options");
    TBitmap Measure;
    Measure.Canvas().Font().Assign(G->Font());
    const int W = Measure.Canvas().TextWidth(L"Options");
    const TClientPixels Captioned(*G);
    EXPECT_EQ(Captioned.At(W + 13, Y0), ColorToRGB(clRed));
    EXPECT_EQ(Captioned.At(W + 12, Y0), ColorToRGB(clWhite));

    G->SetBorder(brOnlyTopLine);
    const TClientPixels TopOnly(*G);
    EXPECT_EQ(TopOnly.At(1, Y0), ColorToRGB(clRed));
    EXPECT_EQ(TopOnly.At(0, Y0), ColorToRGB(clWhite)); // no side line, so no corner
    EXPECT_EQ(TopOnly.At(0, 60), ColorToRGB(clWhite));
    EXPECT_EQ(TopOnly.At(60, 79), ColorToRGB(clWhite));
}

TEST(FlatGroupBoxLines, FullFrameAndTopLine) {
    const auto Full = GroupBoxLines(TRect(0, 0, 100, 50), 20, 14, brFull);
    ASSERT_EQ(Full.size(), 1u);
    const std::vector<TPoint> Expected{{5, 7}, {0, 7}, {0, 49}, {99, 49}, {99, 7}, {32, 7}};
    ASSERT_EQ(Full[0].size(), Expected.size());
    for (size_t I = 0; I < Expected.size(); ++I) {
        EXPECT_EQ(Full[0][I].X, Expected[I].X) << I;
        EXPECT_EQ(Full[0][I].Y, Expected[I].Y) << I;
    }
    EXPECT_EQ(GroupBoxLines(TRect(0, 0, 100, 50), 20, 14, brOnlyTopLine).size(), 2u);
}

TEST_F(FlatPanelsTest, PanelFillsAndBevels) {
    auto* P = Place<TFlatPanel>(Bounds(10, 10, 100, 40));
    P->SetColor(clYellow);
    P->SetColorHighLight(clRed);
    P->SetColorShadow(clBlue);
    P->HandleNeeded();
    const TClientPixels Pixels(*P);
    EXPECT_EQ(Pixels.At(0, 0), ColorToRGB(clRed));
    EXPECT_EQ(Pixels.At(99, 39), ColorToRGB(clBlue));
    EXPECT_EQ(Pixels.At(5, 5), ColorToRGB(clYellow));
    Form->SetColor(clLime);
    P->SetTransparent(true);
    EXPECT_EQ(TClientPixels(*P).At(5, 5), ColorToRGB(clLime));
}

} // namespace

TEST_F(FlatPanelsTest, ASetterGivenTheValueItHoldsRepaintsNothing) {
    auto* Panel = Place<TFlatPanel>(Bounds(10, 40, 100, 50));
    TFlatProgressBar* Gauge = Bar(147, 16); // painted on the form's window
    struct TCase {
        const char* Name;
        HWND Painted;
        std::function<void()> Set;
    };
    const TCase Cases[] = {
        {"panel highlight", Panel->Handle(), [&] { Panel->SetColorHighLight(clLime); }},
        {"panel alignment", Panel->Handle(), [&] { Panel->SetAlignment(taRightJustify); }},
        {"gauge element colour", Form->Handle(), [&] { Gauge->SetColorElement(clGreen); }},
        {"gauge transparency", Form->Handle(), [&] { Gauge->SetTransparent(true); }},
    };
    const auto Pending = [](HWND Wnd) { return GetUpdateRect(Wnd, nullptr, FALSE) != FALSE; };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        ValidateRect(Case.Painted, nullptr);
        Case.Set(); // a change
        EXPECT_TRUE(Pending(Case.Painted));
        ValidateRect(Case.Painted, nullptr);
        Case.Set(); // the same again
        EXPECT_FALSE(Pending(Case.Painted));
    }
}
