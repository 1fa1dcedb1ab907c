#include "controls/FlatCheckBox.h"

#include "classlib/gui/Forms.h"
#include "classlib/gui/StdCtrls.h"

#include <algorithm>

// -------------------------------------------------------- TCustomFlatCheck

TCustomFlatCheck::TCustomFlatCheck(TComponent* AOwner, THoverGroup& Group)
    : TCustomControl(AOwner), FHover(Group) {
    // Click comes from the Checked setter, not from the library's click events.
    ControlStyle.Exclude(csClickEvents);
    SetParentColor(true);
    SetParentFont(true);
    SetBounds(0, 0, 121, 17);
    FHover.AddInstance();
}

TCustomFlatCheck::~TCustomFlatCheck() {
    FHover.RemoveInstance(*this);
}

void TCustomFlatCheck::SetRightLayout(bool Value) {
    if (StoreChanged(FRightLayout, Value))
        Invalidate();
}

void TCustomFlatCheck::SetTransparent(bool Value) {
    if (StoreChanged(FTransparent, Value))
        Invalidate();
}

void TCustomFlatCheck::SetFlatColor(TColor& Field, TColor Value) {
    if (StoreChanged(Field, Value))
        Invalidate();
}

void TCustomFlatCheck::SetUseAdvColors(bool Value) {
    FAdv.Use = Value;
    SetParentColor(Value);
    RecomputeColors();
}

void TCustomFlatCheck::SetAdvPercent(int& Field, int Value) {
    Field = std::clamp(Value, 0, 100);
    RecomputeColors();
}

void TCustomFlatCheck::RecomputeColors() {
    RecomputeAdvColors(Color(), FAdv, FColors);
    Invalidate();
}

void TCustomFlatCheck::EnterHot() {
    if (!Enabled() || FMouseInControl)
        return;
    FMouseInControl = true;
    Repaint();
}

void TCustomFlatCheck::LeaveHot() {
    if (!Enabled() || !FMouseInControl || FPressed)
        return;
    FMouseInControl = false;
    FHover.Release(*this);
    Repaint();
}

void TCustomFlatCheck::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case CM_DIALOGCHAR:
        if (DialogChar(static_cast<wchar_t>(Message.WParam))) {
            Message.Result = 1;
            return;
        }
        break;
    case WM_SETFOCUS:
        TCustomControl::WndProc(Message);
        if (Enabled()) {
            FFocused = true;
            Repaint();
        }
        return;
    case WM_KILLFOCUS:
        TCustomControl::WndProc(Message);
        if (Enabled()) {
            // The timer goes too: kept, it would stop this control from becoming hot again
            // until another one of its class had been, and clicks would stop toggling.
            FMouseInControl = false;
            FFocused = false;
            FHover.Release(*this);
            Repaint();
        }
        return;
    case CM_SYSCOLORCHANGE:
    case CM_PARENTCOLORCHANGED:
        TCustomControl::WndProc(Message);
        if (FAdv.Use) {
            if (!ParentColor())
                SetParentColor(true);
            RecomputeColors();
        }
        Invalidate();
        return;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        TCustomControl::WndProc(Message);
        Invalidate();
        return;
    case WM_MOVE:
    case WM_SIZE:
        TCustomControl::WndProc(Message);
        if (FTransparent)
            Invalidate();
        return;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

void TCustomFlatCheck::Paint() {
    TCanvas& C = Canvas();
    if (FTransparent)
        PaintParentBackground(*this, C.Handle());
    TColor Fill = Color();
    if (FFocused || FMouseInControl)
        Fill = FPressed ? FColors.Down : FColors.Focused;
    PaintMark(C, MarkRect(), Fill);
    const TRect Client = ClientRect();
    C.Font().Assign(Font());
    const TRect Text =
        FRightLayout ? TRect(Client.Left + 1, Client.Top + 1, Client.Right - 16, Client.Bottom - 1)
                     : TRect(Client.Left + 16, Client.Top + 1, Client.Right - 1, Client.Bottom - 1);
    DrawControlCaption(C, Text, Caption(), DT_WORDBREAK | (FRightLayout ? DT_RIGHT : 0), Enabled());
}

void TCustomFlatCheck::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // Only the left button of an enabled control counts; the others get no handling at all.
    if (Button != mbLeft || !Enabled())
        return;
    if (CanFocus() && !Focused())
        SetFocus();
    FPressed = true;
    Repaint();
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomFlatCheck::MouseMove(TShiftState Shift, int X, int Y) {
    const TAliveToken Alive = AliveToken();
    TCustomControl::MouseMove(Shift, X, Y);
    if (Alive.Alive())
        FHover.MouseMoved(*this);
}

void TCustomFlatCheck::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button != mbLeft || !Enabled())
        return;
    FPressed = false;
    const TAliveToken Alive = AliveToken();
    LeftReleased(X, Y);
    if (!Alive.Alive())
        return;
    Repaint();
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomFlatCheck::DoEnter() {
    FFocused = true;
    Repaint();
    TCustomControl::DoEnter();
}

void TCustomFlatCheck::DoExit() {
    FFocused = false;
    Repaint();
    TCustomControl::DoExit();
}

void TCustomFlatCheck::EnabledChanged() {
    TCustomControl::EnabledChanged();
    if (!Enabled()) {
        FMouseInControl = false;
        FPressed = false;
        FHover.Release(*this);
    }
    Repaint();
}

// ----------------------------------------------------------- TFlatCheckBox

THoverGroup& TFlatCheckBox::HoverGroup() {
    static THoverGroup Group(100);
    return Group;
}

TFlatCheckBox::TFlatCheckBox(TComponent* AOwner) : TCustomFlatCheck(AOwner, HoverGroup()) {
    SetTabStop(true);
}

void TFlatCheckBox::SetChecked(bool Value) {
    if (Value == Checked())
        return;
    StoreChecked(Value);
    const TAliveToken Alive = AliveToken();
    Click();
    if (Alive.Alive())
        Repaint();
}

TRect TFlatCheckBox::MarkRect() const {
    const TRect C = ClientRect();
    return RightLayout() ? TRect(C.Right - 12, C.Top + 3, C.Right - 1, C.Top + 14)
                         : TRect(C.Left + 1, C.Top + 3, C.Left + 12, C.Top + 14);
}

void TFlatCheckBox::PaintMark(TCanvas& Canvas, const TRect& Mark, TColor Fill) {
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(Fill);
    Canvas.FillRect(Mark);
    if (Checked()) {
        Canvas.Pen().SetStyle(psSolid);
        Canvas.Pen().SetWidth(1);
        Canvas.Pen().SetColor(Enabled() ? ColorCheck() : clBtnShadow);
        const int L = Mark.Left;
        const int T = Mark.Top;
        // The tick: six strokes, each up to and not including its end point.
        const TPoint Strokes[6][2] = {
            {{L + 2, T + 4}, {L + 6, T + 8}}, {{L + 2, T + 5}, {L + 5, T + 8}},
            {{L + 2, T + 6}, {L + 5, T + 9}}, {{L + 8, T + 2}, {L + 4, T + 6}},
            {{L + 8, T + 3}, {L + 4, T + 7}}, {{L + 8, T + 4}, {L + 5, T + 7}},
        };
        for (const auto& Stroke : Strokes) {
            Canvas.MoveTo(Stroke[0].X, Stroke[0].Y);
            Canvas.LineTo(Stroke[1].X, Stroke[1].Y);
        }
    }
    Canvas.Brush().SetColor(ColorBorder());
    Canvas.FrameRect(Mark);
}

bool TFlatCheckBox::DialogChar(wchar_t Char) {
    if (IsAccel(Char, Caption()) && CanFocus()) {
        SetFocus();
        SetChecked(!Checked());
        return true;
    }
    if (Char == L' ' && Focused()) {
        SetChecked(!Checked());
        return true;
    }
    return false;
}

void TFlatCheckBox::LeftReleased(int /*X*/, int /*Y*/) {
    if (MouseInControl())
        SetChecked(!Checked());
}
