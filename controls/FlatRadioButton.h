// Flat radio button: the check box's twin with a circle and a dot; the buttons of one parent
// with one GroupIndex are checked one at a time.
#pragma once

#include "controls/FlatCheckBox.h"

class TFlatRadioButton : public TCustomFlatCheck {
public:
    explicit TFlatRadioButton(TComponent* AOwner);

    // Checking takes it into the tab order and unchecks its group's other buttons among the
    // parent's controls; OnClick fires only when it becomes checked.
    void SetChecked(bool Value) override;
    TColor ColorDot() const { return MarkColorValue(); }
    void SetColorDot(TColor Value) { SetFlatColor(MarkColor(), Value); }
    int GroupIndex = 0;

    static THoverGroup& HoverGroup();

protected:
    TRect MarkRect() const override;
    void PaintMark(TCanvas& Canvas, const TRect& Mark, TColor Fill) override;
    bool DialogChar(wchar_t Char) override;
    void LeftReleased(int X, int Y) override;
    void DoEnter() override;
};
