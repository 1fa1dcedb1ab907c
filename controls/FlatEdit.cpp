#include "controls/FlatEdit.h"

#include "classlib/gui/Forms.h"

void PaintFlatEditFrame(HDC DC, const TRect& Window, TColor Border, TColor Inner) {
    const TBrushObject BorderBrush(CreateSolidBrush(ColorToRGB(Border)));
    const TBrushObject InnerBrush(CreateSolidBrush(ColorToRGB(Inner)));
    RECT R = Window;
    FrameRect(DC, &R, BorderBrush.Get());
    for (int Line = 0; Line < 2; ++Line) {
        InflateRect(&R, -1, -1);
        FrameRect(DC, &R, InnerBrush.Get());
    }
}

int FlatEditHeight(const TFont& Font) {
    return GetFontMetrics(Font).tmHeight + 6;
}

template <class TBase> TFlatEditFrame<TBase>::TFlatEditFrame(TComponent* AOwner) : TBase(AOwner) {
    TBase::SetParentFont(true);
    TBase::SetAutoSize(false);
    TBase::SetCtl3D(false);
    // The frame is ours: the class library's colour following would only fight the repaint.
    TBase::SetParentColor(false);
    TBase::SetBounds(0, 0, 121, 19);
}

template <class TBase> void TFlatEditFrame<TBase>::CreateParams(TCreateParams& Params) const {
    TBase::CreateParams(Params);
    Params.Style &= ~static_cast<DWORD>(WS_BORDER);
    Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
}

template <class TBase> void TFlatEditFrame<TBase>::CreateWnd() {
    TBase::CreateWnd();
    // The system sized the client before our handler saw the window: size it again with the
    // frame taken off.
    SetWindowPos(TBase::Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawBorder();
}

template <class TBase> bool TFlatEditFrame<TBase>::Highlighted() const {
    const TWinControl* Active = Screen->ActiveControl();
    return FlatEditHighlighted(TBase::ComponentState().Contains(csDesigning), TBase::Focused(),
                               FMouseInControl, Active && SameFlatClass(*Active));
}

template <class TBase> void TFlatEditFrame<TBase>::RedrawBorder() {
    if (!TBase::HandleAllocated())
        return;
    const bool Lit = Highlighted();
    const TColor Inner = Lit ? FColorFocused : FColorFlat;
    // Only a change repaints the text, so a frame paint never feeds another one.
    if (TBase::Color() != Inner)
        TBase::SetColor(Inner);
    const TClientDC DC(TBase::Handle(), true);
    RECT Window{};
    GetWindowRect(TBase::Handle(), &Window);
    OffsetRect(&Window, -Window.left, -Window.top);
    PaintFlatEditFrame(DC.Handle(), Window, FColorBorder, Inner);
}

template <class TBase> void TFlatEditFrame<TBase>::SetFrameColor(TColor& Field, TColor Value) {
    if (StoreChanged(Field, Value))
        RedrawBorder();
}

template <class TBase> void TFlatEditFrame<TBase>::SetColorFlat(TColor Value) {
    FParentColor = false;
    SetFrameColor(FColorFlat, Value);
}

template <class TBase> void TFlatEditFrame<TBase>::SetParentColor(bool Value) {
    FParentColor = Value;
    if (Value && TBase::Parent()) {
        FColorFlat = TBase::Parent()->Color();
        RedrawBorder();
    }
}

template <class TBase> void TFlatEditFrame<TBase>::SetUseAdvColors(bool Value) {
    FAdv.Use = Value;
    SetParentColor(Value);
    TakeParentColors();
}

template <class TBase> void TFlatEditFrame<TBase>::SetAdvColorFocused(int Value) {
    FAdv.Focused = Value;
    TakeParentColors();
}

template <class TBase> void TFlatEditFrame<TBase>::SetAdvColorBorder(int Value) {
    FAdv.Border = Value;
    TakeParentColors();
}

template <class TBase> void TFlatEditFrame<TBase>::TakeParentColors() {
    if (FAdv.Use || FParentColor) {
        if (TBase::Parent())
            FColorFlat = TBase::Parent()->Color();
    }
    if (FAdv.Use) {
        TFlatColorSet Derived{FColorFocused, FColorFocused, FColorBorder};
        RecomputeAdvColors(FColorFlat, FAdv, Derived);
        FColorFocused = Derived.Focused;
        FColorBorder = Derived.Border;
    }
    RedrawBorder();
}

template <class TBase> void TFlatEditFrame<TBase>::FitHeight() {
    TBase::SetHeight(FlatEditHeight(TBase::Font()));
}

template <class TBase> void TFlatEditFrame<TBase>::Loaded() {
    TBase::Loaded();
    if (!TBase::ComponentState().Contains(csDesigning))
        FitHeight();
}

template <class TBase> void TFlatEditFrame<TBase>::FontChanged() {
    TBase::FontChanged();
    const TComponentState State = TBase::ComponentState();
    if (!(State.Contains(csDesigning) && State.Contains(csLoading)))
        FitHeight();
}

template <class TBase> void TFlatEditFrame<TBase>::WndProc(TMessage& Message) {
    // Each of these adds to the edit's own handling.
    TBase::WndProc(Message);
    switch (Message.Msg) {
    case WM_NCCALCSIZE:
        InflateRect(reinterpret_cast<RECT*>(Message.LParam), -3, -3);
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (!TBase::ComponentState().Contains(csDesigning))
            RedrawBorder();
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        FMouseInControl = Message.Msg == CM_MOUSEENTER && Screen->ActiveWindow();
        RedrawBorder();
        break;
    case WM_NCPAINT:
    case CM_ENABLEDCHANGED:
        RedrawBorder();
        break;
    case CM_SYSCOLORCHANGE:
    case CM_PARENTCOLORCHANGED:
        TakeParentColors();
        break;
    default:
        break;
    }
}

template class TFlatEditFrame<TCustomEdit>;
template class TFlatEditFrame<TCustomMaskEdit>;

bool TCustomFlatEdit::SameFlatClass(const TWinControl& Other) const {
    return dynamic_cast<const TFlatEdit*>(&Other) != nullptr;
}
