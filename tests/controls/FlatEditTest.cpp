// Flat edits: the frame painter, the highlight rule, the client inside the frame, the height from
// the font, the colour that follows the frame and the parent.
#include "controls/FlatCheckBox.h"
#include "controls/FlatEdit.h"
#include "controls/FlatMaskEdit.h"
#include "controls/FlatSpinEdit.h"
#include "tests/controls/ControlsTestSupport.h"
#include "tests/support/GdiCount.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(FlatEditRules, HighlightIsFocusOrHotWithoutAFocusedTwin) {
    const struct {
        bool Designing, Focused, Hot, TwinFocused, Lit;
    } Cases[] = {
        {false, false, false, false, false}, {false, true, false, false, true},
        {false, false, true, false, true},   {false, false, true, true, false},
        {false, true, true, true, true},     {true, true, true, false, false},
        {true, false, true, false, false},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(FlatEditHighlighted(C.Designing, C.Focused, C.Hot, C.TwinFocused), C.Lit)
            << C.Designing << C.Focused << C.Hot << C.TwinFocused;
}

TEST(FlatEditRules, FramePainterDrawsOneBorderLineAndTwoInnerLines) {
    TBitmap Bitmap;
    FillBitmap(Bitmap, 30, 20, clBlack);
    PaintFlatEditFrame(Bitmap.Canvas().Handle(), TRect(0, 0, 30, 20), clBlue, clYellow);
    TCanvas& C = Bitmap.Canvas();
    const struct {
        int X, Y;
        TColor Color;
    } Pixels[] = {
        {0, 0, clBlue},    {29, 19, clBlue},   {15, 0, clBlue},    {0, 10, clBlue},
        {1, 1, clYellow},  {2, 2, clYellow},   {28, 18, clYellow}, {27, 17, clYellow},
        {15, 2, clYellow}, {27, 10, clYellow}, {3, 3, clBlack},    {26, 16, clBlack},
    };
    for (const auto& P : Pixels)
        EXPECT_EQ(C.Pixel(P.X, P.Y), ColorToRGB(P.Color)) << P.X << "," << P.Y;
}

class FlatEditTest : public ControlsTest {
protected:
    template <class T> T* Edit(int Top) {
        auto* E = Place<T>(Bounds(10, Top, 121, 19));
        E->HandleNeeded();
        return E;
    }
    static TRect WindowRect(TWinControl& C) {
        RECT R{};
        GetWindowRect(C.Handle(), &R);
        return R;
    }
    static TRect Client(TWinControl& C) {
        RECT R{};
        GetClientRect(C.Handle(), &R);
        return R;
    }
};

TEST_F(FlatEditTest, TheClientIsThreePixelsInsideTheWindowOnEverySide) {
    for (TWinControl* E : {static_cast<TWinControl*>(Edit<TFlatEdit>(10)),
                           static_cast<TWinControl*>(Edit<TFlatMaskEdit>(40))}) {
        EXPECT_EQ(Client(*E).Width(), WindowRect(*E).Width() - 6);
        EXPECT_EQ(Client(*E).Height(), WindowRect(*E).Height() - 6);
        EXPECT_FALSE(GetWindowLongW(E->Handle(), GWL_STYLE) & WS_BORDER);
    }
}

TEST_F(FlatEditTest, HeightIsTheMeasuredTextHeightPlusSixAfterLoadAndFontChange) {
    auto* E = Edit<TFlatEdit>(10);
    EXPECT_EQ(E->Height(), 19); // as made, until loaded
    E->BeginLoading();
    E->EndLoading();
    const int Loaded = E->Height();
    EXPECT_EQ(Loaded, GetFontMetrics(E->Font()).tmHeight + 6);
    E->Font().SetSize(16);
    EXPECT_EQ(E->Height(), GetFontMetrics(E->Font()).tmHeight + 6);
    EXPECT_GT(E->Height(), Loaded);
    auto* M = Edit<TFlatMaskEdit>(50);
    M->Font().SetSize(12);
    EXPECT_EQ(M->Height(), GetFontMetrics(M->Font()).tmHeight + 6);
}

// A window whose layout sets the edits' heights, as a designer would.
class TEditsForm : public TForm {
public:
    explicit TEditsForm(TComponent* Owner) : TForm(Owner) {
        Plain = Make<TFlatEdit>(10);
        Masked = Make<TFlatMaskEdit>(50);
        Spin = Make<TFlatSpinEditInteger>(90);
    }
    TFlatEdit* Plain;
    TFlatMaskEdit* Masked;
    TFlatSpinEditInteger* Spin;

private:
    template <class T> T* Make(int Top) {
        auto* E = new T(this);
        E->SetParent(this);
        E->SetBounds(10, Top, 121, 30);
        return E;
    }
};

TEST_F(FlatEditTest, EditsMadeWithTheirWindowFitTheirTextOnceItIsMade) {
    auto* Form = NewForm<TEditsForm>(App.get());
    const int Fitted = GetFontMetrics(Form->Plain->Font()).tmHeight + 6;
    EXPECT_EQ(Form->Plain->Height(), Fitted);
    EXPECT_EQ(Form->Masked->Height(), Fitted);
    EXPECT_EQ(Form->Spin->Height(), std::max(Fitted, SpinEditMinHeight(Form->Spin->Font())));
}

TEST_F(FlatEditTest, FocusTurnsBackgroundAndInnerFrameToTheFocusColour) {
    auto* E = Edit<TFlatEdit>(10);
    auto* Other = Edit<TFlatCheckBox>(60);
    E->SetColorFlat(clSilver);
    E->SetColorFocused(clYellow);
    EXPECT_EQ(E->Color(), clSilver);
    E->SetFocus();
    ASSERT_TRUE(E->Focused());
    EXPECT_TRUE(E->Highlighted());
    EXPECT_EQ(E->Color(), clYellow);
    Other->SetFocus();
    EXPECT_FALSE(E->Highlighted());
    EXPECT_EQ(E->Color(), clSilver);
}

TEST_F(FlatEditTest, HoverLightsAnEditOnlyWhileNoOtherEditOfItsClassHasTheFocus) {
    auto* First = Edit<TFlatEdit>(10);
    auto* Second = Edit<TFlatEdit>(35);
    auto* Mask = Edit<TFlatMaskEdit>(60);
    auto* Box = Edit<TFlatCheckBox>(90);
    First->SetFocus();
    Second->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(Second->MouseInControl());
    EXPECT_FALSE(Second->Highlighted());
    // A masked edit is another class: the focused plain edit does not hold it back.
    Mask->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(Mask->Highlighted());
    Box->SetFocus();
    EXPECT_TRUE(Second->Highlighted());
    Second->RedrawBorder(); // as the next frame paint does
    EXPECT_EQ(Second->Color(), Second->ColorFocused());
    Second->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(Second->Highlighted());
    EXPECT_EQ(Second->Color(), Second->ColorFlat());
    // No active window: entering does not make it hot.
    Active = false;
    Second->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(Second->MouseInControl());
}

TEST_F(FlatEditTest, ColorFlatFollowsTheParentUntilSetItself) {
    Form->SetColor(0x336699);
    auto* E = Edit<TFlatEdit>(10);
    EXPECT_TRUE(E->ParentColor());
    EXPECT_EQ(E->ColorFlat(), 0x336699);
    EXPECT_EQ(E->Color(), 0x336699);
    Form->SetColor(0x224466);
    EXPECT_EQ(E->ColorFlat(), 0x224466);
    E->SetColorFlat(clAqua);
    EXPECT_FALSE(E->ParentColor());
    Form->SetColor(0x112233);
    EXPECT_EQ(E->ColorFlat(), clAqua);
    E->SetParentColor(true);
    EXPECT_EQ(E->ColorFlat(), 0x112233);
}

TEST_F(FlatEditTest, CreatingPaintingAndFreeingLeavesNoGdiObjects) {
    EXPECT_EQ(GdiGrowth([&] {
                  auto* E = Edit<TFlatEdit>(10);
                  auto* M = Edit<TFlatMaskEdit>(40);
                  E->SetText(L"text");
                  RedrawWindow(E->Handle(), nullptr, nullptr,
                               RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
                  E->SetFocus();
                  M->SetFocus();
                  delete E;
                  delete M;
              }),
              0);
}

} // namespace
