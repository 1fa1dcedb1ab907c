#include "controls/FlatRadioButton.h"

#include "classlib/gui/StdCtrls.h"

THoverGroup& TFlatRadioButton::HoverGroup() {
    static THoverGroup Group(100);
    return Group;
}

TFlatRadioButton::TFlatRadioButton(TComponent* AOwner) : TCustomFlatCheck(AOwner, HoverGroup()) {
    SetTabStop(false);
}

void TFlatRadioButton::SetChecked(bool Value) {
    if (Value == Checked())
        return;
    // Only the checked button of a group is reached by Tab.
    SetTabStop(Value);
    StoreChecked(Value);
    if (Value && Parent())
        for (int I = 0; I < Parent()->ControlCount(); ++I) {
            auto* Sibling = dynamic_cast<TFlatRadioButton*>(Parent()->Controls(I));
            if (Sibling && Sibling != this && Sibling->GroupIndex == GroupIndex)
                Sibling->SetChecked(false);
        }
    const TAliveToken Alive = AliveToken();
    if (Value)
        Click();
    if (Alive.Alive())
        Repaint();
}

TRect TFlatRadioButton::MarkRect() const {
    const TRect C = ClientRect();
    return RightLayout() ? TRect(C.Right - 11, C.Top + 3, C.Right - 1, C.Top + 13)
                         : TRect(C.Left + 1, C.Top + 3, C.Left + 11, C.Top + 13);
}

void TFlatRadioButton::PaintMark(TCanvas& Canvas, const TRect& Mark, TColor Fill) {
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(Fill);
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetColor(ColorBorder());
    Canvas.Ellipse(Mark);
    if (!Checked())
        return;
    const TColor Dot = Enabled() ? ColorDot() : clBtnShadow;
    Canvas.Brush().SetColor(Dot);
    Canvas.Pen().SetColor(Dot);
    Canvas.Ellipse(TRect(Mark.Left + 3, Mark.Top + 3, Mark.Left + 7, Mark.Top + 7));
}

bool TFlatRadioButton::DialogChar(wchar_t Char) {
    if (!IsAccel(Char, Caption()) || !CanFocus())
        return false;
    SetFocus();
    return true;
}

void TFlatRadioButton::LeftReleased(int X, int Y) {
    if (X >= 0 && X <= Width() && Y >= 0 && Y <= Height() && !Checked())
        SetChecked(true);
}

void TFlatRadioButton::DoEnter() {
    if (Pressed() && MouseInControl())
        SetChecked(true);
    TCustomFlatCheck::DoEnter();
}
