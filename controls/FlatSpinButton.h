// The pair of small arrow buttons of the spin edits: two flat speed buttons that repeat while
// held, side by side in a window that hands the focus to the control they step.
#pragma once

#include "classlib/gui/ExtCtrls.h"
#include "controls/FlatSpeedButton.h"

#include <memory>

// A flat speed button that clicks again and again while it is held: the first repeat after
// 400 ms, then every 100 ms, as long as it is pressed and holds the mouse.
class TTimerSpeedButton : public TFlatSpeedButton {
public:
    explicit TTimerSpeedButton(TComponent* AOwner);
    ~TTimerSpeedButton() override;

    static constexpr UINT FirstRepeatDelay = 400;
    static constexpr UINT RepeatInterval = 100;

    // Whether holding the button repeats its click.
    bool Repeating = false;
    // Whether the button stands for its spin button's focus; kept, not drawn.
    bool FocusMarked = false;
    // The repeat timer, made at the first press; null before.
    TTimer* RepeatTimer() const { return FRepeatTimer.get(); }

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CaptureLost() override;

private:
    void RepeatTick();

    std::unique_ptr<TTimer> FRepeatTimer;
};

// Two repeating buttons, up at the left and down at the right, each 11 pixels wide and as high as
// the control, overlapping by one column. A press on either moves the focus to FocusControl; with
// the focus itself the control steps with the arrow keys and Space.
class TSpinButton : public TWinControl {
public:
    explicit TSpinButton(TComponent* AOwner);

    static constexpr int ButtonWidth = 11;

    TTimerSpeedButton& UpButton() { return *FUpButton; }
    TTimerSpeedButton& DownButton() { return *FDownButton; }
    // The button Space clicks.
    TTimerSpeedButton& FocusedButton() { return *FFocusedButton; }

    // Null restores the built-in arrow.
    TBitmap& UpGlyph() { return FUpButton->Glyph(); }
    void SetUpGlyph(TBitmap* Value);
    TBitmap& DownGlyph() { return FDownButton->Glyph(); }
    void SetDownGlyph(TBitmap* Value);
    TNumGlyphs UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
    void SetUpNumGlyphs(TNumGlyphs Value) { FUpButton->SetNumGlyphs(Value); }
    TNumGlyphs DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
    void SetDownNumGlyphs(TNumGlyphs Value) { FDownButton->SetNumGlyphs(Value); }

    // Not owned; forgotten when it goes.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

protected:
    void WndProc(TMessage& Message) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void Loaded() override;
    // The arrows look and act as the control does.
    void EnabledChanged() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TTimerSpeedButton* MakeButton();
    // The built-in arrow of Button, at its edge.
    void RestoreArrow(TTimerSpeedButton& Button);
    void ArrangeButtons(int AHeight);
    void ButtonPressed(TTimerSpeedButton& Button, TMouseButton MouseButton);
    void SetFocusedButton(TTimerSpeedButton& Button);
    void MarkFocus(bool Value);

    TTimerSpeedButton* FUpButton;
    TTimerSpeedButton* FDownButton;
    TTimerSpeedButton* FFocusedButton;
    TWinControl* FFocusControl = nullptr;
};
