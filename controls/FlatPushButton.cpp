#include "controls/FlatPushButton.h"

#include "classlib/gui/StdCtrls.h"

#include <algorithm>
#include <typeinfo>

TWinPushButton::TWinPushButton(TComponent* AOwner, THoverGroup& Group)
    : TCustomControl(AOwner), FHover(Group) {
    // The machine below fires Click itself, so the library's click events stay off.
    ControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
    SetParentFont(true);
    SetParentColor(true);
    SetCursor(crHandPoint);
    FHover.AddInstance();
}

TWinPushButton::~TWinPushButton() {
    FHover.RemoveInstance(*this);
}

void TWinPushButton::SetGlyph(TBitmap& Value) {
    FGlyph.Assign(Value);
    if (!FGlyph.Empty())
        FNumGlyphs = NumGlyphsForGlyph(FGlyph.Width(), FGlyph.Height(), FNumGlyphs);
    Invalidate();
}

void TWinPushButton::SetNumGlyphs(TNumGlyphs Value) {
    Value = std::clamp(Value, 1, 4);
    if (Value == FNumGlyphs)
        return;
    FNumGlyphs = Value;
    Invalidate();
}

void TWinPushButton::SetLayout(TButtonLayout Value) {
    FLayout = Value;
    Invalidate();
}

void TWinPushButton::SetMargin(int Value) {
    if (Value < -1)
        return;
    FMargin = Value;
    Invalidate();
}

void TWinPushButton::SetSpacing(int Value) {
    FSpacing = Value;
    Invalidate();
}

void TWinPushButton::SetGroupIndex(int Value) {
    FGroupIndex = Value;
    UpdateExclusive();
}

void TWinPushButton::SetAllowAllUp(bool Value) {
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TWinPushButton::SetDown(bool Value) {
    if (FGroupIndex == 0)
        Value = false;
    // A latched button of a group is released by another one, not by itself.
    if (Value == FDown || (FDown && !FAllowAllUp))
        return;
    FDown = Value;
    if (Value) {
        const bool WasUp = FState == bsUp;
        FState = bsLatched;
        if (WasUp)
            Repaint();
        UpdateExclusive();
    } else {
        FState = bsUp;
        Repaint();
    }
}

void TWinPushButton::SetDefault(bool Value) {
    FDefault = Value;
    if (HandleAllocated())
        if (TForm* Form = GetParentForm(this))
            Form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Form->ActiveControl()));
    Invalidate();
}

void TWinPushButton::Click() {
    if (TForm* Form = GetParentForm(this))
        Form->SetModalResult(ModalResult);
    TCustomControl::Click();
}

void TWinPushButton::EnterHot() {
    if (!Enabled() || FMouseInControl)
        return;
    FMouseInControl = true;
    Repaint();
}

void TWinPushButton::LeaveHot() {
    // While the button is held the timer goes on and ends the hot state after the release.
    if (!Enabled() || !FMouseInControl || FDragging)
        return;
    FMouseInControl = false;
    FHover.Release(*this);
    Repaint();
}

void TWinPushButton::RecheckHot() {
    if (!Enabled())
        return;
    if (ControlUnderCursor() == this) {
        FMouseInControl = true;
        Repaint();
    } else if (!FDragging) {
        FMouseInControl = false;
        FHover.Release(*this);
        Repaint();
    }
}

void TWinPushButton::UpdateExclusive() {
    if (FGroupIndex == 0 || !Parent())
        return;
    TMessage Message{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex),
                     reinterpret_cast<LPARAM>(static_cast<TControl*>(this)), 0};
    Parent()->Broadcast(Message);
}

void TWinPushButton::ButtonPressed(TMessage& Message) {
    if (FGroupIndex == 0 || Message.WParam != static_cast<WPARAM>(FGroupIndex))
        return;
    auto* Sender = dynamic_cast<TWinPushButton*>(reinterpret_cast<TControl*>(Message.LParam));
    if (!Sender || Sender == this || typeid(*Sender) != typeid(*this))
        return;
    if (Sender->FDown && FDown) {
        FDown = false;
        FState = bsUp;
        Repaint();
    }
    FAllowAllUp = Sender->FAllowAllUp;
}

void TWinPushButton::DialogChar(TMessage& Message) {
    if (!IsAccel(static_cast<wchar_t>(Message.WParam), Caption()) || !Enabled() || !Showing())
        return;
    if (FGroupIndex != 0)
        SetDown(true);
    Click();
    Message.Result = 1;
}

void TWinPushButton::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case CM_BUTTONPRESSED:
        ButtonPressed(Message);
        return;
    case CM_DIALOGCHAR:
        DialogChar(Message);
        if (Message.Result)
            return;
        break;
    case WM_SETFOCUS:
        TCustomControl::WndProc(Message);
        // Focus makes the button hot without taking the timer.
        if (Enabled()) {
            FMouseInControl = true;
            Repaint();
        }
        return;
    case WM_KILLFOCUS:
        TCustomControl::WndProc(Message);
        LeaveHot();
        return;
    case WM_MOVE:
    case WM_SIZE:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
    case CM_SYSCOLORCHANGE:
        TCustomControl::WndProc(Message);
        Invalidate();
        return;
    case CM_MOUSEENTER:
        TCustomControl::WndProc(Message);
        if (OnMouseEnter)
            OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        TCustomControl::WndProc(Message);
        if (OnMouseLeave)
            OnMouseLeave(this);
        return;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

void TWinPushButton::EnabledChanged() {
    TCustomControl::EnabledChanged();
    if (!Enabled()) {
        FMouseInControl = false;
        FState = bsDisabled;
        FHover.Release(*this);
    }
    RecheckHot();
    Repaint();
}

void TWinPushButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const TAliveToken Alive = AliveToken();
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (!Alive.Alive() || Button != mbLeft || !Enabled())
        return;
    if (!FDown) {
        FState = bsPressed;
        Repaint();
    }
    FDragging = true;
    if (CanFocus() && !Focused())
        SetFocus();
}

void TWinPushButton::MouseMove(TShiftState Shift, int X, int Y) {
    const TAliveToken Alive = AliveToken();
    TCustomControl::MouseMove(Shift, X, Y);
    if (!Alive.Alive())
        return;
    FHover.MouseMoved(*this);
    if (!FDragging)
        return;
    TButtonState New = PointInButton(X, Y, ClientWidth(), ClientHeight()) ? bsPressed : bsUp;
    if (FDown)
        New = bsLatched;
    if (New != FState) {
        FState = New;
        Repaint();
    }
}

void TWinPushButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const TAliveToken Alive = AliveToken();
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (!Alive.Alive() || !FDragging)
        return;
    FDragging = false;
    const bool Inside = PointInButton(X, Y, ClientWidth(), ClientHeight());
    if (FGroupIndex == 0) {
        FState = bsUp;
        FMouseInControl = false;
        if (Inside)
            Repaint();
    } else if (Inside) {
        SetDown(!FDown);
        if (FDown)
            Repaint();
    } else {
        if (FDown)
            FState = bsLatched;
        Repaint();
    }
    if (Inside) {
        Click();
        if (!Alive.Alive())
            return;
    } else {
        LeaveHot();
    }
    RecheckHot();
}

void TWinPushButton::DblClick() {
    if (FDown && OnDblClick)
        OnDblClick(this);
}

void TWinPushButton::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key != VK_SPACE)
        return;
    if (FGroupIndex != 0)
        SetDown(true);
    else
        FState = bsPressed;
    Repaint();
}

void TWinPushButton::KeyUp(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyUp(Key, Shift);
    if (Key != VK_SPACE)
        return;
    if (FGroupIndex != 0)
        SetDown(false);
    else
        FState = bsUp;
    const TAliveToken Alive = AliveToken();
    Click();
    if (Alive.Alive())
        Repaint();
}

std::unique_ptr<TBitmap> TWinPushButton::GlyphCell() {
    const int Cells = std::clamp(FNumGlyphs, 1, 4);
    const int Width = FGlyph.Width() / Cells;
    const int Height = FGlyph.Height();
    auto Cell = std::make_unique<TBitmap>();
    Cell->SetPixelFormat(pf24bit);
    Cell->SetSize(Width, Height);
    const int Left = GlyphCellIndex(Cells, FState) * Width;
    Cell->Canvas().CopyRect(TRect(0, 0, Width, Height), FGlyph.Canvas(),
                            TRect(Left, 0, Left + Width, Height));
    if (Cells == 1 && FState == bsDisabled)
        return MakeDisabledGlyph(*Cell);
    return Cell;
}

void TWinPushButton::Paint() {
    const int Width = ClientWidth();
    const int Height = ClientHeight();
    if (Width <= 0 || Height <= 0)
        return;
    TBitmap Buffer;
    Buffer.SetPixelFormat(pf24bit);
    Buffer.SetSize(Width, Height);
    TCanvas& Off = Buffer.Canvas();
    Off.Font().Assign(Font());

    const bool Sunk = FState == bsPressed || FState == bsLatched;
    const TGlyphLayout Placed =
        LayoutGlyphAndCaption(Off, TRect(0, 0, Width, Height), Sunk ? TPoint{1, 1} : TPoint{0, 0},
                              FLayout, FSpacing, FMargin, TSize{FGlyph.Width(), FGlyph.Height()},
                              FGlyph.Empty() ? 0 : FNumGlyphs, Caption());
    FGlyphPos = Placed.GlyphPos;
    FTextBounds = Placed.TextBounds;

    if (!Enabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsLatched : bsUp;
    }

    PaintBackground(Buffer);
    if (!FGlyph.Empty()) {
        const std::unique_ptr<TBitmap> Cell = GlyphCell();
        PaintGlyphCell(Buffer, *Cell, FGlyphPos);
    }
    DrawControlCaption(Off, FTextBounds, Caption(), DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                       FState != bsDisabled);
    Canvas().Draw(0, 0, Buffer);
}
