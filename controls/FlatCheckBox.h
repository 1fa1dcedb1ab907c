// Flat check box: a small flat box with a tick and a word-wrapped caption beside it. Its twin,
// the radio button, shares the base below.
#pragma once

#include "controls/FlatHover.h"
#include "controls/FlatTypes.h"

// What the flat check box and radio button share: the mark beside a caption, its colours, the
// hot, focused and pressed flags and the class-wide hover state.
class TCustomFlatCheck : public TCustomControl, public IHoverClient {
public:
    ~TCustomFlatCheck() override;

    bool Checked() const { return FChecked; }
    virtual void SetChecked(bool Value) = 0;

    // The mark at the right of the caption instead of the left.
    bool RightLayout() const { return FRightLayout; }
    void SetRightLayout(bool Value);
    // The parent's picture shows behind the control.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);

    // The mark's fill while hot or focused, while held, the tick or dot, and its outline; Color
    // fills it otherwise.
    TColor ColorFocused() const { return FColors.Focused; }
    void SetColorFocused(TColor Value) { SetFlatColor(FColors.Focused, Value); }
    TColor ColorDown() const { return FColors.Down; }
    void SetColorDown(TColor Value) { SetFlatColor(FColors.Down, Value); }
    TColor ColorBorder() const { return FColors.Border; }
    void SetColorBorder(TColor Value) { SetFlatColor(FColors.Border, Value); }

    // Focused lighter, down and border darker than Color, by these percentages; switching it
    // makes the control follow its parent's colour (or stop following it).
    bool UseAdvColors() const { return FAdv.Use; }
    void SetUseAdvColors(bool Value);
    void SetAdvColorFocused(int Value) { SetAdvPercent(FAdv.Focused, Value); }
    void SetAdvColorDown(int Value) { SetAdvPercent(FAdv.Down, Value); }
    void SetAdvColorBorder(int Value) { SetAdvPercent(FAdv.Border, Value); }

    bool MouseInControl() const { return FMouseInControl; }
    bool Pressed() const { return FPressed; }
    bool FocusedFlag() const { return FFocused; }

    // IHoverClient
    TControl& HoverControl() override { return *this; }
    void EnterHot() override;
    void LeaveHot() override;

protected:
    TCustomFlatCheck(TComponent* AOwner, THoverGroup& Group);

    // The rectangle of the box or circle in client coordinates.
    virtual TRect MarkRect() const = 0;
    virtual void PaintMark(TCanvas& Canvas, const TRect& Mark, TColor Fill) = 0;
    // CM_DIALOGCHAR: true when the character was taken.
    virtual bool DialogChar(wchar_t Char) = 0;

    TColor& MarkColor() { return FMarkColor; }
    TColor MarkColorValue() const { return FMarkColor; }
    void SetFlatColor(TColor& Field, TColor Value);
    void StoreChecked(bool Value) { FChecked = Value; }

    void WndProc(TMessage& Message) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The release of the left button on an enabled control, X and Y in client coordinates.
    virtual void LeftReleased(int X, int Y) = 0;
    void DoEnter() override;
    void DoExit() override;
    void EnabledChanged() override;

private:
    void SetAdvPercent(int& Field, int Value);
    void RecomputeColors();

    THoverGroup& FHover;
    bool FChecked = false;
    bool FRightLayout = false;
    bool FTransparent = false;
    TFlatColorSet FColors{clWhite, 0xC5D6D9, 0x8396A0};
    TColor FMarkColor = clBlack;
    TAdvColors FAdv;
    bool FMouseInControl = false;
    bool FPressed = false;
    bool FFocused = false;
};

class TFlatCheckBox : public TCustomFlatCheck {
public:
    explicit TFlatCheckBox(TComponent* AOwner);

    // Fires OnClick in both directions.
    void SetChecked(bool Value) override;
    TColor ColorCheck() const { return MarkColorValue(); }
    void SetColorCheck(TColor Value) { SetFlatColor(MarkColor(), Value); }

    static THoverGroup& HoverGroup();

protected:
    TRect MarkRect() const override;
    void PaintMark(TCanvas& Canvas, const TRect& Mark, TColor Fill) override;
    bool DialogChar(wchar_t Char) override;
    // Toggles only while hot: a box the mouse never came over with a window active stays.
    void LeftReleased(int X, int Y) override;
};
