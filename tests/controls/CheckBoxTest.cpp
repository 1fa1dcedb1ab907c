// Flat check box and radio button: marks by pixels, toggling only while hot, radio groups, keys.
#include "controls/FlatCheckBox.h"
#include "controls/FlatRadioButton.h"
#include "tests/controls/ControlsTestSupport.h"
#include "tests/support/GdiCount.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Face = 0x40C040;

class CheckBoxTest : public ControlsTest {
protected:
    template <class T> T* Check(int Top, const wchar_t* Caption = L"Option") {
        auto* C = Place<T>(Bounds(10, Top, 121, 17));
        C->SetCaption(Caption);
        C->SetColor(Face);
        C->HandleNeeded();
        return C;
    }
    void ClickOn(TWinControl& C, int X = 5, int Y = 8) {
        MoveOver(C, X, Y);
        SendMessageW(C.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(X, Y));
        SendMessageW(C.Handle(), WM_LBUTTONUP, 0, At(X, Y));
    }
};

TEST_F(CheckBoxTest, BoxFillFollowsFocusHotAndPressAndTheTickIsSixStrokes) {
    auto* Box = Check<TFlatCheckBox>(10);
    Box->SetColorFocused(clWhite);
    Box->SetColorDown(clYellow);
    Box->SetColorBorder(clBlue);
    // The box of the left layout: (1, 3) to (12, 14); its inside starts at (2, 4).
    EXPECT_EQ(TClientPixels(*Box).At(2, 4), ColorToRGB(Face));
    EXPECT_EQ(TClientPixels(*Box).At(1, 3), ColorToRGB(clBlue));
    EXPECT_EQ(TClientPixels(*Box).At(11, 13), ColorToRGB(clBlue));
    MoveOver(*Box, 5, 8);
    EXPECT_EQ(TClientPixels(*Box).At(2, 4), ColorToRGB(clWhite));
    SendMessageW(Box->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 8));
    EXPECT_EQ(TClientPixels(*Box).At(2, 4), ColorToRGB(clYellow));
    SendMessageW(Box->Handle(), WM_LBUTTONUP, 0, At(5, 8));
    ASSERT_TRUE(Box->Checked());

    const TClientPixels Ticked(*Box);
    const int L = 1, T = 3;
    for (const TPoint P : {TPoint{L + 2, T + 4}, TPoint{L + 5, T + 7}, TPoint{L + 4, T + 8},
                           TPoint{L + 8, T + 2}, TPoint{L + 6, T + 4}})
        EXPECT_EQ(Ticked.At(P.X, P.Y), RGB(0, 0, 0)) << P.X << "," << P.Y;
    // Each stroke stops before its end point.
    EXPECT_NE(Ticked.At(L + 6, T + 8), RGB(0, 0, 0));
    EXPECT_NE(Ticked.At(L + 5, T + 9), RGB(0, 0, 0));

    // Disabled: the tick in the button shadow.
    Box->SetEnabled(false);
    EXPECT_EQ(TClientPixels(*Box).At(L + 2, T + 4), ColorToRGB(clBtnShadow));

    // The right layout puts the box at the right edge.
    Box->SetRightLayout(true);
    const TClientPixels Right(*Box);
    EXPECT_EQ(Right.At(121 - 12, 3), ColorToRGB(clBlue));
    EXPECT_EQ(Right.At(1, 3), ColorToRGB(Face));
}

TEST_F(CheckBoxTest, ACheckBoxTogglesOnlyWhileHot) {
    auto* Box = Check<TFlatCheckBox>(10);
    int Clicks = 0;
    Box->OnClick = [&](TObject*) { ++Clicks; };
    // Never hovered with a window active: the click is refused.
    Active = false;
    ClickOn(*Box);
    EXPECT_FALSE(Box->Checked());
    Active = true;
    ClickOn(*Box);
    EXPECT_TRUE(Box->Checked());
    ClickOn(*Box);
    EXPECT_FALSE(Box->Checked());
    EXPECT_EQ(Clicks, 2); // in both directions
    // Other buttons are not handled at all.
    int Downs = 0;
    Box->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++Downs; };
    SendMessageW(Box->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(5, 8));
    SendMessageW(Box->Handle(), WM_RBUTTONUP, 0, At(5, 8));
    EXPECT_EQ(Downs, 0);
    EXPECT_FALSE(Box->Checked());
}

// After Tab takes the focus away with the mouse over a box, the box must still become hot again
// and toggle on a click.
TEST_F(CheckBoxTest, AFocusLossLetsTheBoxBecomeHotAgain) {
    auto* Box = Check<TFlatCheckBox>(10);
    auto* Other = Check<TFlatCheckBox>(40);
    ClickOn(*Box);
    ASSERT_TRUE(Box->Checked());
    Other->SetFocus(); // Tab away while the mouse stays over Box
    EXPECT_FALSE(Box->MouseInControl());
    EXPECT_EQ(TFlatCheckBox::HoverGroup().HotControl(), nullptr);
    ClickOn(*Box);
    EXPECT_FALSE(Box->Checked());
}

TEST_F(CheckBoxTest, SpaceAndTheAcceleratorToggle) {
    auto* Box = Check<TFlatCheckBox>(10, L"&Wrap");
    EXPECT_EQ(Box->Perform(CM_DIALOGCHAR, L' '), 0); // not focused
    EXPECT_EQ(Box->Perform(CM_DIALOGCHAR, L'w'), 1);
    EXPECT_TRUE(Box->Focused());
    EXPECT_TRUE(Box->Checked());
    EXPECT_EQ(Box->Perform(CM_DIALOGCHAR, L' '), 1);
    EXPECT_FALSE(Box->Checked());
    EXPECT_EQ(Box->Perform(CM_DIALOGCHAR, L'x'), 0);
}

TEST_F(CheckBoxTest, RadioGroupsAmongSiblings) {
    auto* A = Check<TFlatRadioButton>(10);
    auto* B = Check<TFlatRadioButton>(30);
    auto* Other = Check<TFlatRadioButton>(50);
    Other->GroupIndex = 1;
    int Clicks = 0;
    A->OnClick = [&](TObject*) { ++Clicks; };
    EXPECT_FALSE(A->TabStop());
    Other->SetChecked(true);
    A->SetChecked(true);
    EXPECT_TRUE(A->TabStop());
    EXPECT_EQ(Clicks, 1);
    B->SetChecked(true);
    EXPECT_FALSE(A->Checked());
    EXPECT_FALSE(A->TabStop());
    EXPECT_EQ(Clicks, 1); // no click on unchecking
    EXPECT_TRUE(Other->Checked());

    // A click checks; a click on a checked button changes nothing and fires nothing.
    ClickOn(*A);
    EXPECT_TRUE(A->Checked());
    EXPECT_FALSE(B->Checked());
    EXPECT_EQ(Clicks, 2);
    ClickOn(*A);
    EXPECT_EQ(Clicks, 2);
    // A release just beyond the edge still counts (the right and bottom edges are inside).
    SendMessageW(B->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageW(B->Handle(), WM_LBUTTONUP, 0, At(B->Width(), B->Height()));
    EXPECT_TRUE(B->Checked());
    SendMessageW(A->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageW(A->Handle(), WM_LBUTTONUP, 0, At(A->Width() + 1, 5));
    EXPECT_FALSE(A->Checked());

    // The accelerator only focuses.
    A->SetCaption(L"&First");
    EXPECT_EQ(A->Perform(CM_DIALOGCHAR, L'f'), 1);
    EXPECT_TRUE(A->Focused());
    EXPECT_FALSE(A->Checked());
}

TEST_F(CheckBoxTest, RadioDotAndDisabledDot) {
    auto* R = Check<TFlatRadioButton>(10);
    R->SetColorDot(clRed);
    R->SetChecked(true);
    // The circle's box is (1, 3) to (11, 13); the dot covers (4, 6) to (8, 10).
    EXPECT_EQ(TClientPixels(*R).At(6, 8), ColorToRGB(clRed));
    R->SetEnabled(false);
    EXPECT_EQ(TClientPixels(*R).At(6, 8), ColorToRGB(clBtnShadow));
}

TEST_F(CheckBoxTest, DerivedColoursFollowTheParent) {
    auto* Box = Check<TFlatCheckBox>(10);
    Form->SetColor(0xE1EAEB);
    Box->SetUseAdvColors(true);
    EXPECT_TRUE(Box->ParentColor());
    EXPECT_EQ(Box->Color(), 0xE1EAEB);
    EXPECT_EQ(Box->ColorFocused(), 0x557B80);
    EXPECT_EQ(Box->ColorBorder(), 0xADC6C9);
    Form->SetColor(0x000000);
    EXPECT_EQ(Box->ColorFocused(), 0x151515);
    Box->SetUseAdvColors(false); // the last derived colours stay
    EXPECT_EQ(Box->ColorFocused(), 0x151515);
}

TEST_F(CheckBoxTest, CaptionLineBreakWrapsWithinTheHeight) {
    auto* Box = Check<TFlatCheckBox>(10, L"Remove\rselected");
    Box->SetBounds(10, 10, 121, 34);
    Box->Font().SetColor(clBlack);
    const TClientPixels Pixels(*Box);
    const auto Ink = [](COLORREF C) { return C == RGB(0, 0, 0); };
    const int Line = FontLineHeight(Box->Font());
    EXPECT_GT(Pixels.Count(TRect(16, 0, 121, Line), true, Ink), 0);
    EXPECT_GT(Pixels.Count(TRect(16, Line + 1, 121, 34), true, Ink), 0);
}

TEST_F(CheckBoxTest, ChecksLeaveNoGdiObjectsBehind) {
    const int Growth = GdiGrowth([&] {
        auto* Box = Check<TFlatCheckBox>(10);
        auto* Radio = Check<TFlatRadioButton>(30);
        Box->SetTransparent(true);
        ClickOn(*Box);
        Radio->SetChecked(true);
        Box->SetBounds(10, 10, 150, 20);
        const TClientPixels A(*Box);
        const TClientPixels B(*Radio);
        delete Box;
        delete Radio;
    });
    EXPECT_EQ(Growth, 0);
}

} // namespace
