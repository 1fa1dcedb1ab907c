#include "controls/FlatPushButton.h"

#include "classlib/gui/StdCtrls.h"

#include <algorithm>
#include <type_traits>
#include <typeinfo>
#include <utility>

template <class TBase>
TPushButtonMachine<TBase>::TPushButtonMachine(TComponent* AOwner, THoverGroup& Group)
    : TBase(AOwner), FHover(Group) {
    // The machine below fires Click itself, so the library's click events stay off.
    this->ControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
    this->SetParentFont(true);
    this->SetParentColor(true);
    this->SetCursor(crHandPoint);
    FHover.AddInstance();
}

template <class TBase> TPushButtonMachine<TBase>::~TPushButtonMachine() {
    FHover.RemoveInstance(*this);
}

template <class TBase> void TPushButtonMachine<TBase>::SetGlyph(TBitmap& Value) {
    FGlyph.Assign(Value);
    if (!FGlyph.Empty())
        FNumGlyphs = NumGlyphsForGlyph(FGlyph.Width(), FGlyph.Height(), FNumGlyphs);
    this->Invalidate();
}

template <class TBase> void TPushButtonMachine<TBase>::SetNumGlyphs(TNumGlyphs Value) {
    Value = std::clamp(Value, 1, 4);
    if (Value == FNumGlyphs)
        return;
    FNumGlyphs = Value;
    this->Invalidate();
}

template <class TBase> void TPushButtonMachine<TBase>::SetLayout(TButtonLayout Value) {
    if (StoreChanged(FLayout, Value))
        this->Invalidate();
}

template <class TBase> void TPushButtonMachine<TBase>::SetMargin(int Value) {
    if (Value < -1)
        return;
    FMargin = Value;
    this->Invalidate();
}

template <class TBase> void TPushButtonMachine<TBase>::SetSpacing(int Value) {
    if (StoreChanged(FSpacing, Value))
        this->Invalidate();
}

template <class TBase> void TPushButtonMachine<TBase>::SetGroupIndex(int Value) {
    if (StoreChanged(FGroupIndex, Value))
        UpdateExclusive();
}

template <class TBase> void TPushButtonMachine<TBase>::SetAllowAllUp(bool Value) {
    if (StoreChanged(FAllowAllUp, Value))
        UpdateExclusive();
}

template <class TBase> void TPushButtonMachine<TBase>::SetDown(bool Value) {
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
            this->Repaint();
        UpdateExclusive();
    } else {
        FState = bsUp;
        this->Repaint();
    }
}

template <class TBase> void TPushButtonMachine<TBase>::SetDefault(bool Value) {
    FDefault = Value;
    if constexpr (std::is_base_of_v<TWinControl, TBase>) {
        if (this->HandleAllocated())
            if (TForm* Form = GetParentForm(this))
                Form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Form->ActiveControl()));
    }
    this->Invalidate();
}

template <class TBase> void TPushButtonMachine<TBase>::Click() {
    if (TForm* Form = GetParentForm(this))
        Form->SetModalResult(ModalResult);
    TBase::Click();
}

template <class TBase> void TPushButtonMachine<TBase>::EnterHot() {
    if (!this->Enabled() || FMouseInControl)
        return;
    FMouseInControl = true;
    this->Repaint();
}

template <class TBase> void TPushButtonMachine<TBase>::LeaveHot() {
    // While the button is held the timer goes on and ends the hot state after the release.
    if (!this->Enabled() || !FMouseInControl || FDragging)
        return;
    FMouseInControl = false;
    FHover.Release(*this);
    this->Repaint();
}

template <class TBase> void TPushButtonMachine<TBase>::RecheckHot() {
    if (!this->Enabled())
        return;
    if (ControlUnderCursor() == this) {
        FMouseInControl = true;
        this->Repaint();
    } else if (!FDragging) {
        FMouseInControl = false;
        FHover.Release(*this);
        this->Repaint();
    }
}

template <class TBase> void TPushButtonMachine<TBase>::UpdateExclusive() {
    if (FGroupIndex == 0 || !this->Parent())
        return;
    TMessage Message{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex),
                     reinterpret_cast<LPARAM>(static_cast<TControl*>(this)), 0};
    this->Parent()->Broadcast(Message);
}

template <class TBase> void TPushButtonMachine<TBase>::ButtonPressed(TMessage& Message) {
    if (FGroupIndex == 0 || Message.WParam != static_cast<WPARAM>(FGroupIndex))
        return;
    auto* Sender = dynamic_cast<TPushButtonMachine*>(reinterpret_cast<TControl*>(Message.LParam));
    if (!Sender || Sender == this || typeid(*Sender) != typeid(*this))
        return;
    if (Sender->FDown && FDown) {
        FDown = false;
        FState = bsUp;
        this->Repaint();
    }
    FAllowAllUp = Sender->FAllowAllUp;
}

template <class TBase> void TPushButtonMachine<TBase>::DialogChar(TMessage& Message) {
    if (!IsAccel(static_cast<wchar_t>(Message.WParam), this->Caption()) || !this->Enabled() ||
        !this->Showing())
        return;
    // A windowless button only clicks; a windowed one latches its group first.
    if (FGroupIndex != 0 && std::is_base_of_v<TWinControl, TBase>)
        SetDown(true);
    Click();
    Message.Result = 1;
}

template <class TBase> void TPushButtonMachine<TBase>::WndProc(TMessage& Message) {
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
        TBase::WndProc(Message);
        // Focus makes the button hot without taking the timer.
        if (this->Enabled()) {
            FMouseInControl = true;
            this->Repaint();
        }
        return;
    case WM_KILLFOCUS:
        TBase::WndProc(Message);
        LeaveHot();
        return;
    case WM_MOVE:
    case WM_SIZE:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
    case CM_SYSCOLORCHANGE:
        TBase::WndProc(Message);
        this->Invalidate();
        return;
    case CM_MOUSEENTER:
        TBase::WndProc(Message);
        if (OnMouseEnter)
            OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        TBase::WndProc(Message);
        if (OnMouseLeave)
            OnMouseLeave(this);
        return;
    default:
        break;
    }
    TBase::WndProc(Message);
}

template <class TBase> void TPushButtonMachine<TBase>::EnabledChanged() {
    TBase::EnabledChanged();
    if (!this->Enabled()) {
        FMouseInControl = false;
        FState = bsDisabled;
        FHover.Release(*this);
    }
    RecheckHot();
    this->Repaint();
}

template <class TBase>
void TPushButtonMachine<TBase>::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const TAliveToken Alive = this->AliveToken();
    TBase::MouseDown(Button, Shift, X, Y);
    if (!Alive.Alive() || Button != mbLeft || !this->Enabled())
        return;
    if (!FDown) {
        FState = bsPressed;
        this->Repaint();
    }
    FDragging = true;
}

template <class TBase> void TPushButtonMachine<TBase>::MouseMove(TShiftState Shift, int X, int Y) {
    const TAliveToken Alive = this->AliveToken();
    TBase::MouseMove(Shift, X, Y);
    if (!Alive.Alive())
        return;
    FHover.MouseMoved(*this);
    if (!FDragging)
        return;
    TButtonState New =
        PointInButton(X, Y, this->ClientWidth(), this->ClientHeight()) ? bsPressed : bsUp;
    if (FDown)
        New = bsLatched;
    if (New != FState) {
        FState = New;
        this->Repaint();
    }
}

template <class TBase>
void TPushButtonMachine<TBase>::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const TAliveToken Alive = this->AliveToken();
    TBase::MouseUp(Button, Shift, X, Y);
    if (!Alive.Alive() || !FDragging)
        return;
    FDragging = false;
    const bool Inside = PointInButton(X, Y, this->ClientWidth(), this->ClientHeight());
    if (FGroupIndex == 0) {
        FState = bsUp;
        FMouseInControl = false;
        if (Inside)
            this->Repaint();
    } else if (Inside) {
        SetDown(!FDown);
        if (FDown)
            this->Repaint();
    } else {
        if (FDown)
            FState = bsLatched;
        this->Repaint();
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

template <class TBase> void TPushButtonMachine<TBase>::CaptureLost() {
    TBase::CaptureLost();
    if (!std::exchange(FDragging, false))
        return;
    if (FState != bsDisabled)
        FState = FDown ? bsLatched : bsUp;
    this->Invalidate();
    RecheckHot();
}

template <class TBase> void TPushButtonMachine<TBase>::DblClick() {
    if (FDown && this->OnDblClick)
        this->OnDblClick(this);
}

template <class TBase> std::unique_ptr<TBitmap> TPushButtonMachine<TBase>::GlyphCell() {
    const int Cells = std::clamp(FNumGlyphs, 1, 4);
    const int Width = FGlyph.Width() / Cells;
    const int Height = FGlyph.Height();
    auto Cell = std::make_unique<TBitmap>();
    Cell->SetPixelFormat(pf24bit);
    Cell->SetSize(Width, Height);
    const int Left = std::clamp(GlyphCellNow(), 0, Cells - 1) * Width;
    Cell->Canvas().CopyRect(TRect(0, 0, Width, Height), FGlyph.Canvas(),
                            TRect(Left, 0, Left + Width, Height));
    if (Cells == 1 && FState == bsDisabled)
        return MakeDisabledGlyph(*Cell);
    return Cell;
}

template <class TBase> void TPushButtonMachine<TBase>::Paint() {
    const int Width = this->ClientWidth();
    const int Height = this->ClientHeight();
    if (Width <= 0 || Height <= 0)
        return;
    TBitmap Buffer;
    Buffer.SetPixelFormat(pf24bit);
    Buffer.SetSize(Width, Height);
    TCanvas& Off = Buffer.Canvas();
    Off.Font().Assign(this->Font());

    const bool Sunk = FState == bsPressed || FState == bsLatched;
    const TGlyphLayout Placed =
        LayoutGlyphAndCaption(Off, TRect(0, 0, Width, Height), Sunk ? TPoint{1, 1} : TPoint{0, 0},
                              FLayout, FSpacing, FMargin, TSize{FGlyph.Width(), FGlyph.Height()},
                              FGlyph.Empty() ? 0 : FNumGlyphs, this->Caption());
    FGlyphPos = Placed.GlyphPos;
    FTextBounds = Placed.TextBounds;

    if (!this->Enabled()) {
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
    DrawControlCaption(Off, FTextBounds, this->Caption(), DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                       FState != bsDisabled);
    this->Canvas().Draw(0, 0, Buffer);
}

template class TPushButtonMachine<TCustomControl>;
template class TPushButtonMachine<TGraphicControl>;

// ------------------------------------------------------------ TWinPushButton

void TWinPushButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const TAliveToken Alive = AliveToken();
    TPushButtonMachine::MouseDown(Button, Shift, X, Y);
    if (Alive.Alive() && Button == mbLeft && Enabled() && CanFocus() && !Focused())
        SetFocus();
}

void TWinPushButton::KeyDown(WORD& Key, TShiftState Shift) {
    TPushButtonMachine::KeyDown(Key, Shift);
    if (Key != VK_SPACE)
        return;
    if (GroupIndex() != 0)
        SetDown(true);
    else
        SetState(bsPressed);
    Repaint();
}

void TWinPushButton::KeyUp(WORD& Key, TShiftState Shift) {
    TPushButtonMachine::KeyUp(Key, Shift);
    if (Key != VK_SPACE)
        return;
    if (GroupIndex() != 0)
        SetDown(false);
    else
        SetState(bsUp);
    const TAliveToken Alive = AliveToken();
    Click();
    if (Alive.Alive())
        Repaint();
}
