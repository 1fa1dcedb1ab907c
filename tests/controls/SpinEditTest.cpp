// Spin buttons and spin edits: the ranges, the character filter, the number parser, the layout
// from the measured text height, the repeat timer, the keys, pasting and the check on leaving.
#include "classlib/gui/ExtCtrls.h"
#include "controls/FlatSpinEdit.h"
#include "tests/controls/ControlsTestSupport.h"
#include "tests/support/GdiCount.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

TEST(SpinRules, IntegerRangeWrapsAndFloatRangeClamps) {
    const struct {
        std::int64_t Value;
        int Min, Max, Wrapped;
        double FloatValue, FloatMin, FloatMax, Clamped;
    } Cases[] = {
        // inside the range
        {15, 1, 31, 15, 5, 0.5, 10, 5},
        // one past the top: wraps to the bottom, clamps at the top
        {32, 1, 31, 1, 10.5, 0.5, 10, 10},
        // one below the bottom: wraps to the top, clamps at the bottom
        {0, 1, 31, 31, 0, 0.5, 10, 0.5},
        // the bounds themselves stay
        {31, 1, 31, 31, 10, 0.5, 10, 10},
        {1, 1, 31, 1, 0.5, 0.5, 10, 0.5},
        // equal bounds are no range
        {-7, 0, 0, -7, -7.25, 0, 0, -7.25},
        {1000, 5, 5, 1000, 1000, 5, 5, 1000},
        // no range: a step past the largest int stays the largest, not the smallest
        {std::int64_t{INT_MAX} + 1, 0, 0, INT_MAX, 1e300, 0, 0, 1e300},
        {std::int64_t{INT_MIN} - 1, 0, 0, INT_MIN, -1e300, 0, 0, -1e300},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(WrapSpinValue(C.Value, C.Min, C.Max), C.Wrapped) << C.Value;
        EXPECT_EQ(ClampSpinValue(C.FloatValue, C.FloatMin, C.FloatMax), C.Clamped) << C.FloatValue;
    }
}

TEST(SpinRules, AcceptsSignsDigitsTheSeparatorAndControlKeysButCarriageReturn) {
    const struct {
        wchar_t Key;
        bool Editing, WithEditorOff;
    } Cases[] = {
        {L'0', true, false},  {L'9', true, false},  {L'+', true, false},  {L'-', true, false},
        {L',', true, false},  {L'.', false, false}, {L'a', false, false}, {L'e', false, false},
        {L' ', false, false}, {L'/', false, false}, {L'\b', true, false}, {L'\r', false, false},
        {0x16, true, true},   {0x03, true, true},   {L'\t', true, true},  {0x1B, true, true},
    };
    // A locale with a comma for decimals: the point is no separator then.
    for (const auto& C : Cases) {
        EXPECT_EQ(SpinEditAcceptsChar(C.Key, true, L','), C.Editing) << int(C.Key);
        EXPECT_EQ(SpinEditAcceptsChar(C.Key, false, L','), C.WithEditorOff) << int(C.Key);
    }
    EXPECT_TRUE(SpinEditAcceptsChar(L'.', true, L'.'));
}

TEST(SpinRules, FloatParserIgnoresCurrencyBlanksAndThousandsAndReadsParenthesesAsNegative) {
    TFormatSettings Settings = TFormatSettings::Invariant();
    Settings.DecimalSeparator = L'.';
    Settings.ThousandSeparator = L',';
    Settings.CurrencyString = L"EUR";
    const struct {
        const wchar_t* Text;
        bool Read;
        double Value;
    } Cases[] = {
        {L"1.5", true, 1.5},         {L"(1.5)", true, -1.5}, {L"1,234.5", true, 1234.5},
        {L"1 234.5", true, 1234.5},  {L"", true, 0},         {L"   ", true, 0},
        {L"EUR 12.25", true, 12.25}, {L"12EUR", true, 12},   {L"-3", true, -3},
        {L"(2", true, -2},           {L"abc", false, 0},     {L"1.2.3", false, 0},
        {L"()", false, 0},           {L"1e999", false, 0},   {L"--1", false, 0},
    };
    for (const auto& C : Cases) {
        double Value = 99;
        EXPECT_EQ(ParseSpinFloat(C.Text, Settings, Value), C.Read) << C.Text;
        if (C.Read) {
            EXPECT_EQ(Value, C.Value) << C.Text;
        }
    }
    // The locale decides: a comma for decimals and a point for thousands.
    Settings.DecimalSeparator = L',';
    Settings.ThousandSeparator = L'.';
    double Value = 0;
    ASSERT_TRUE(ParseSpinFloat(L"1.234,5", Settings, Value));
    EXPECT_EQ(Value, 1234.5);
}

// A spin edit that counts its beeps instead of sounding them.
template <class TEditClass> class TCounting : public TEditClass {
public:
    using TEditClass::TEditClass;
    int Beeps = 0;

protected:
    void Beep() override { ++Beeps; }
};
using TIntegerEdit = TCounting<TFlatSpinEditInteger>;
using TFloatEdit = TCounting<TFlatSpinEditFloat>;

class SpinEditTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Saved = FormatSettings();
        FormatSettings().DecimalSeparator = L'.';
        FormatSettings().ThousandSeparator = L',';
    }
    void TearDown() override {
        ControlsTest::TearDown();
        FormatSettings() = Saved;
    }

    template <class T> T* Edit(int Top) {
        auto* E = Place<T>(Bounds(10, Top, 100, 19));
        E->BeginLoading();
        E->EndLoading();
        E->HandleNeeded();
        return E;
    }
    static void Type(TWinControl& Control, const String& Keys) {
        for (const wchar_t Key : Keys)
            SendMessageW(Control.Handle(), WM_CHAR, Key, 1);
    }
    static void Key(TWinControl& Control, WORD Code) {
        SendMessageW(Control.Handle(), WM_KEYDOWN, Code, 1);
        SendMessageW(Control.Handle(), WM_KEYUP, Code, 1);
    }
    // A left click on the up (or down) arrow of Spin.
    static void Press(TSpinButton& Spin, bool Up) {
        SendMessageW(Spin.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(Up ? 3 : 16, 4));
    }
    static void Release(TSpinButton& Spin, bool Up) {
        SendMessageW(Spin.Handle(), WM_LBUTTONUP, 0, At(Up ? 3 : 16, 4));
    }
    static void ClickArrow(TSpinButton& Spin, bool Up) {
        Press(Spin, Up);
        Release(Spin, Up);
    }
    static void SetClipboardText(const String& Text) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        const SIZE_T Bytes = (Text.size() + 1) * sizeof(wchar_t);
        const HGLOBAL Memory = GlobalAlloc(GMEM_MOVEABLE, Bytes);
        memcpy(GlobalLock(Memory), Text.c_str(), Bytes);
        GlobalUnlock(Memory);
        SetClipboardData(CF_UNICODETEXT, Memory);
        CloseClipboard();
    }

    TFormatSettings Saved;
};

TEST_F(SpinEditTest, HeightIsTheMeasuredTextHeightPlusSevenAndTheArrowsFillTheClient) {
    auto* E = Edit<TIntegerEdit>(10);
    for (const int Size : {8, 14}) {
        E->Font().SetSize(Size);
        const int TextHeight = GetFontMetrics(E->Font()).tmHeight;
        EXPECT_EQ(E->Height(), TextHeight + 7) << Size;
        TSpinButton& Spin = E->Button();
        EXPECT_EQ(Spin.BoundsRect(), Bounds(E->Width() - 22 - 5, 0, 22, E->Height() - 6)) << Size;
        EXPECT_EQ(Spin.UpButton().BoundsRect(), Bounds(0, 0, 11, Spin.Height())) << Size;
        EXPECT_EQ(Spin.DownButton().BoundsRect(), Bounds(10, 0, 11, Spin.Height())) << Size;
    }
    // Too low a height is raised again; a larger one is kept and the arrows follow it.
    const int Least = E->Height();
    E->SetHeight(10);
    EXPECT_EQ(E->Height(), Least);
    E->SetBounds(10, 10, 150, Least + 10);
    EXPECT_EQ(E->Button().BoundsRect(), Bounds(150 - 27, 0, 22, Least + 4));
    EXPECT_EQ(E->Button().DownButton().Height(), Least + 4);
}

TEST_F(SpinEditTest, TextStopsShortOfTheArrows) {
    auto* E = Edit<TFloatEdit>(10);
    EXPECT_TRUE(GetWindowLongW(E->Handle(), GWL_STYLE) & ES_MULTILINE);
    RECT Text{};
    SendMessageW(E->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&Text));
    // The edit keeps its own margins inside the rectangle it is given.
    const auto Margins = static_cast<DWORD>(SendMessageW(E->Handle(), EM_GETMARGINS, 0, 0));
    EXPECT_EQ(Text.left, LOWORD(Margins));
    EXPECT_EQ(Text.right, E->ClientWidth() - 22 - 3 - HIWORD(Margins));
    EXPECT_LT(Text.right, E->Button().Left());
}

TEST_F(SpinEditTest, ArrowsAndArrowKeysWrapWholeNumbersAndClampFloats) {
    auto* Days = Edit<TIntegerEdit>(10);
    Days->MinValue = 1;
    Days->MaxValue = 31;
    Days->SetValue(31);
    ClickArrow(Days->Button(), true);
    EXPECT_EQ(Days->Text(), L"1");
    ClickArrow(Days->Button(), false);
    EXPECT_EQ(Days->Text(), L"31");
    Key(*Days, VK_DOWN);
    EXPECT_EQ(Days->Value(), 30);
    Key(*Days, VK_UP);
    Key(*Days, VK_UP);
    EXPECT_EQ(Days->Value(), 1);

    auto* Size = Edit<TFloatEdit>(40);
    EXPECT_EQ(Size->Text(), L"0.00");
    Size->MinValue = 0.5;
    Size->MaxValue = 10;
    Size->SetValue(10);
    ClickArrow(Size->Button(), true);
    EXPECT_EQ(Size->Text(), L"10");
    Key(*Size, VK_DOWN);
    EXPECT_EQ(Size->Text(), L"9.5");
    Size->SetValue(0.75);
    Key(*Size, VK_DOWN);
    EXPECT_EQ(Size->Value(), 0.5);
    EXPECT_EQ(Days->Beeps + Size->Beeps, 0);
}

TEST_F(SpinEditTest, APressOnAnArrowMovesTheFocusToTheEdit) {
    auto* E = Edit<TIntegerEdit>(10);
    auto* Other = Edit<TFlatEdit>(40);
    Other->SetFocus();
    ClickArrow(E->Button(), true);
    EXPECT_TRUE(E->Focused());
    EXPECT_EQ(E->Value(), 1);
}

TEST_F(SpinEditTest, TypedCharactersOutsideTheFilterAreDroppedWithABeep) {
    auto* E = Edit<TIntegerEdit>(10);
    E->SetText(L"");
    Type(*E, L"1a2x");
    EXPECT_EQ(E->Text(), L"12");
    EXPECT_EQ(E->Beeps, 2);
    // A text that is no number reads as MinValue.
    E->SetText(L"seven");
    EXPECT_EQ(E->Value(), 0);
    E->MinValue = -5;
    E->MaxValue = 5;
    EXPECT_EQ(E->Value(), -5);
}

TEST_F(SpinEditTest, WithTheEditorOffOnlyTheArrowsChangeTheValue) {
    auto* E = Edit<TIntegerEdit>(10);
    E->EditorEnabled = false;
    E->SetValue(4);
    SetClipboardText(L"77");
    Type(*E, L"5\b");
    EXPECT_EQ(E->Beeps, 2);
    SendMessageW(E->Handle(), EM_SETSEL, 0, -1);
    SendMessageW(E->Handle(), WM_PASTE, 0, 0);
    SendMessageW(E->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(E->Text(), L"4");
    ClickArrow(E->Button(), true);
    EXPECT_EQ(E->Text(), L"5");
}

TEST_F(SpinEditTest, AReadOnlyEditBeepsAtAStepAndKeepsItsValue) {
    auto* E = Edit<TFloatEdit>(10);
    E->SetValue(2);
    E->SetReadOnly(true);
    ClickArrow(E->Button(), true);
    Key(*E, VK_DOWN);
    EXPECT_EQ(E->Text(), L"2");
    EXPECT_EQ(E->Beeps, 2);
    SetClipboardText(L"3");
    SendMessageW(E->Handle(), EM_SETSEL, 0, -1);
    SendMessageW(E->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(E->Text(), L"2");
}

TEST_F(SpinEditTest, APasteOfTextTypingWouldRefuseIsRefused) {
    auto* E = Edit<TFloatEdit>(10);
    const struct {
        const wchar_t* Clipboard;
        const wchar_t* Text;
        int Beeps;
    } Cases[] = {
        {L"12.5", L"12.5", 0},
        {L"abc", L"0.00", 1},
        {L"1\r\n2", L"0.00", 1},
        {L"-3", L"-3", 0},
    };
    for (const auto& C : Cases) {
        E->SetText(L"0.00");
        E->Beeps = 0;
        SetClipboardText(C.Clipboard);
        SendMessageW(E->Handle(), EM_SETSEL, 0, -1);
        SendMessageW(E->Handle(), WM_PASTE, 0, 0);
        EXPECT_EQ(E->Text(), C.Text) << C.Clipboard;
        EXPECT_EQ(E->Beeps, C.Beeps) << C.Clipboard;
    }
}

TEST_F(SpinEditTest, LeavingRewritesAValueOutsideTheRange) {
    auto* Size = Edit<TFloatEdit>(10);
    auto* Days = Edit<TIntegerEdit>(40);
    auto* Free = Edit<TIntegerEdit>(70);
    auto* Away = Edit<TFlatEdit>(100);
    Size->MinValue = 0.5;
    Size->MaxValue = 10;
    Days->MinValue = 1;
    Days->MaxValue = 31;
    const struct {
        TCustomFlatSpinEdit* Edit;
        const wchar_t* Typed;
        const wchar_t* AfterLeaving;
    } Cases[] = {
        {Size, L"12", L"10"}, {Size, L"0.25", L"0.5"}, {Size, L"7.5", L"7.5"}, {Days, L"40", L"1"},
        {Days, L"0", L"31"},  {Days, L"15", L"15"},    {Free, L"-99", L"-99"},
    };
    for (const auto& C : Cases) {
        C.Edit->SetFocus();
        C.Edit->SetText(C.Typed);
        Away->SetFocus();
        EXPECT_EQ(C.Edit->Text(), C.AfterLeaving) << C.Typed;
    }
}

TEST_F(SpinEditTest, AHeldArrowRepeatsAfter400MsThenEvery100Ms) {
    auto* E = Edit<TIntegerEdit>(10);
    TTimerSpeedButton& Up = E->Button().UpButton();
    EXPECT_EQ(Up.RepeatTimer(), nullptr);
    Press(E->Button(), true);
    ASSERT_NE(Up.RepeatTimer(), nullptr);
    TTimer& Timer = *Up.RepeatTimer();
    EXPECT_TRUE(Timer.Enabled());
    EXPECT_EQ(Timer.Interval(), 400u);
    EXPECT_EQ(E->Value(), 0); // a press alone does not step
    Timer.OnTimer(&Timer);
    EXPECT_EQ(Timer.Interval(), 100u);
    EXPECT_EQ(E->Value(), 1);
    Timer.OnTimer(&Timer);
    Timer.OnTimer(&Timer);
    EXPECT_EQ(E->Value(), 3);
    Release(E->Button(), true); // the release inside clicks once more
    EXPECT_EQ(E->Value(), 4);
    EXPECT_FALSE(Timer.Enabled());
    // A tick that comes late, once the button is up, does nothing.
    Timer.OnTimer(&Timer);
    EXPECT_EQ(E->Value(), 4);

    // Dragged off the arrow the button is no longer pressed: no repeat, no click on release.
    Press(E->Button(), false);
    EXPECT_EQ(Timer.Interval(), 100u); // the up button's timer is its own
    TTimer& DownTimer = *E->Button().DownButton().RepeatTimer();
    EXPECT_EQ(DownTimer.Interval(), 400u);
    SendMessageW(E->Button().Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(16, 40));
    DownTimer.OnTimer(&DownTimer);
    SendMessageW(E->Button().Handle(), WM_LBUTTONUP, 0, At(16, 40));
    EXPECT_EQ(E->Value(), 4);
}

TEST_F(SpinEditTest, ARepeatWithoutTheMouseCaptureDoesNotClick) {
    auto* E = Edit<TIntegerEdit>(10);
    Press(E->Button(), true);
    TTimer& Timer = *E->Button().UpButton().RepeatTimer();
    ReleaseCapture(); // another window took the mouse
    E->Button().UpButton().SetMouseCapture(false);
    Timer.OnTimer(&Timer);
    EXPECT_EQ(E->Value(), 0);
}

TEST_F(SpinEditTest, AFocusedSpinButtonStepsWithArrowKeysAndSpace) {
    auto* Spin = Place<TSpinButton>(Bounds(10, 10, 21, 14));
    Spin->SetTabStop(true);
    int Ups = 0;
    int Downs = 0;
    Spin->OnUpClick = [&](TObject*) { ++Ups; };
    Spin->OnDownClick = [&](TObject*) { ++Downs; };
    EXPECT_EQ(Spin->Perform(WM_GETDLGCODE) & DLGC_WANTARROWS, DLGC_WANTARROWS);
    Spin->SetFocus();
    EXPECT_TRUE(Spin->UpButton().FocusMarked);
    Key(*Spin, VK_SPACE);
    EXPECT_EQ(Ups, 1);
    Key(*Spin, VK_DOWN);
    EXPECT_EQ(&Spin->FocusedButton(), &Spin->DownButton());
    EXPECT_TRUE(Spin->DownButton().FocusMarked);
    EXPECT_FALSE(Spin->UpButton().FocusMarked);
    Key(*Spin, VK_SPACE);
    EXPECT_EQ(Downs, 2);
    Key(*Spin, VK_UP);
    EXPECT_EQ(Ups, 2);
    // A press on a tab-stop spin button without FocusControl takes the focus itself and makes
    // the pressed button the focused one.
    auto* Other = Place<TFlatEdit>(Bounds(10, 40, 60, 19));
    Other->SetFocus();
    EXPECT_FALSE(Spin->DownButton().FocusMarked);
    ClickArrow(*Spin, false);
    EXPECT_TRUE(Spin->Focused());
    EXPECT_EQ(&Spin->FocusedButton(), &Spin->DownButton());
    EXPECT_EQ(Downs, 3);
}

TEST_F(SpinEditTest, FocusControlIsForgottenWhenItGoes) {
    auto* Spin = Place<TSpinButton>(Bounds(10, 10, 21, 14));
    auto* Target = Place<TFlatEdit>(Bounds(40, 10, 60, 19));
    Spin->SetFocusControl(Target);
    delete Target;
    EXPECT_EQ(Spin->FocusControl(), nullptr);
    ClickArrow(*Spin, true); // no focus to hand on, and nothing to crash on
}

TEST_F(SpinEditTest, ADisabledEditDisablesItsArrows) {
    auto* E = Edit<TIntegerEdit>(10);
    E->SetEnabled(false);
    EXPECT_FALSE(E->Button().UpButton().Enabled());
    EXPECT_FALSE(E->Button().DownButton().Enabled());
    E->SetEnabled(true);
    EXPECT_TRUE(E->Button().DownButton().Enabled());
}

TEST_F(SpinEditTest, EnterAndEscapeAreTheFormsKeysAndTheWindowAroundStays) {
    auto* Panel = Place<TPanel>(Bounds(0, 0, 200, 60));
    auto* E = ::Place<TIntegerEdit>(*Panel, Bounds(10, 10, 100, 19));
    E->HandleNeeded();
    std::vector<String> Clicks;
    const auto AddButton = [&](const wchar_t* Caption, int Left) {
        auto* Button = Place<TButton>(Bounds(Left, 100, 75, 25));
        Button->SetCaption(Caption);
        Button->OnClick = [&Clicks, Caption](TObject*) { Clicks.push_back(Caption); };
        return Button;
    };
    AddButton(L"OK", 10)->SetDefault(true);
    AddButton(L"Cancel", 90)->Cancel = true;
    Form->SetActiveControl(E);
    const HWND PanelWindow = Panel->Handle();
    Key(*E, VK_RETURN);
    Key(*E, VK_ESCAPE);
    App->ProcessMessages();
    EXPECT_EQ(Clicks, (std::vector<String>{L"OK", L"Cancel"}));
    EXPECT_TRUE(IsWindow(PanelWindow));
    EXPECT_EQ(E->Beeps, 0);
}

TEST_F(SpinEditTest, DigitsPrecisionAndFormatRewriteTheText) {
    auto* E = Edit<TFloatEdit>(10);
    E->SetValue(1.26);
    EXPECT_EQ(E->Text(), L"1.26");
    E->SetFloatFormat(ffFixed);
    EXPECT_EQ(E->Text(), L"1.26");
    E->SetDigits(3);
    EXPECT_EQ(E->Text(), L"1.260");
    E->SetPrecision(2);
    E->SetFloatFormat(ffGeneral);
    EXPECT_EQ(E->Text(), L"1.3");
}

TEST_F(SpinEditTest, CreatingPaintingAndFreeingLeavesNoGdiObjects) {
    EXPECT_EQ(GdiGrowth([&] {
                  auto* I = Edit<TIntegerEdit>(10);
                  auto* F = Edit<TFloatEdit>(40);
                  auto* S = Place<TSpinButton>(Bounds(10, 70, 21, 14));
                  for (TWinControl* C : {static_cast<TWinControl*>(I), static_cast<TWinControl*>(F),
                                         static_cast<TWinControl*>(S)})
                      RedrawWindow(C->Handle(), nullptr, nullptr,
                                   RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                  ClickArrow(I->Button(), true);
                  F->SetFocus();
                  delete I;
                  delete F;
                  delete S;
              }),
              0);
}

} // namespace
