#include "controls/FlatSpinButton.h"

// ------------------------------------------------------------ TTimerSpeedButton

TTimerSpeedButton::TTimerSpeedButton(TComponent* AOwner) : TFlatSpeedButton(AOwner) {}

TTimerSpeedButton::~TTimerSpeedButton() = default;

void TTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const TAliveToken Alive = AliveToken();
    TFlatSpeedButton::MouseDown(Button, Shift, X, Y);
    if (!Alive.Alive() || !Repeating)
        return;
    if (!FRepeatTimer) {
        FRepeatTimer = std::make_unique<TTimer>(nullptr);
        FRepeatTimer->SetEnabled(false);
        FRepeatTimer->OnTimer = [this](TObject*) { RepeatTick(); };
    }
    // Restarted, so that a press shortly after a release waits the whole first delay again.
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->SetInterval(FirstRepeatDelay);
    FRepeatTimer->SetEnabled(true);
}

void TTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // Stopped first: the release's click steps, and a step that throws must not leave it running.
    if (FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
    TFlatSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TTimerSpeedButton::CaptureLost() {
    if (FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
    TFlatSpeedButton::CaptureLost();
}

void TTimerSpeedButton::RepeatTick() {
    FRepeatTimer->SetInterval(RepeatInterval);
    if (State() != bsPressed || !MouseCapture())
        return;
    const TAliveToken Alive = AliveToken();
    try {
        Click();
    } catch (...) {
        // A failing step would fail again every 100 ms.
        if (Alive.Alive())
            FRepeatTimer->SetEnabled(false);
        throw;
    }
}

// ------------------------------------------------------------ TSpinButton

TSpinButton::TSpinButton(TComponent* AOwner) : TWinControl(AOwner) {
    ControlStyle.Exclude(csAcceptsControls);
    ControlStyle.Exclude(csSetCaption);
    ControlStyle.Include(csFramed);
    ControlStyle.Include(csOpaque);
    FUpButton = MakeButton();
    FUpButton->OnClick = [this](TObject*) {
        if (OnUpClick)
            OnUpClick(this);
    };
    FDownButton = MakeButton();
    FDownButton->OnClick = [this](TObject*) {
        if (OnDownClick)
            OnDownClick(this);
    };
    FFocusedButton = FUpButton;
    RestoreArrow(*FUpButton);
    RestoreArrow(*FDownButton);
    SetBounds(Left(), Top(), 21, 10);
}

TTimerSpeedButton* TSpinButton::MakeButton() {
    auto* Button = new TTimerSpeedButton(this);
    Button->SetParent(this);
    Button->Repeating = true;
    Button->OnMouseDown = [this, Button](TObject*, TMouseButton MouseButton, TShiftState, int,
                                         int) { ButtonPressed(*Button, MouseButton); };
    return Button;
}

void TSpinButton::RestoreArrow(TTimerSpeedButton& Button) {
    const bool Up = &Button == FUpButton;
    TBitmap Arrow;
    Arrow.LoadFromResourceName(GetModuleHandleW(nullptr), Up ? L"FlatUp" : L"FlatDown");
    Button.SetGlyph(Arrow);
    Button.SetNumGlyphs(1);
    Button.SetMargin(2);
    Button.SetLayout(Up ? blGlyphTop : blGlyphBottom);
}

void TSpinButton::SetUpGlyph(TBitmap* Value) {
    if (Value)
        FUpButton->SetGlyph(*Value);
    else
        RestoreArrow(*FUpButton);
}

void TSpinButton::SetDownGlyph(TBitmap* Value) {
    if (Value)
        FDownButton->SetGlyph(*Value);
    else
        RestoreArrow(*FDownButton);
}

void TSpinButton::SetFocusControl(TWinControl* Value) {
    SetNotifiedReference(FFocusControl, Value);
}

void TSpinButton::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TSpinButton::ArrangeButtons(int AHeight) {
    if (ComponentState().Contains(csLoading))
        return;
    FUpButton->SetBounds(0, 0, ButtonWidth, AHeight);
    FDownButton->SetBounds(ButtonWidth - 1, 0, ButtonWidth, AHeight);
}

void TSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    // The requested height: the stored one is still the old one here.
    ArrangeButtons(AHeight);
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TSpinButton::Loaded() {
    TWinControl::Loaded();
    ArrangeButtons(Height());
}

void TSpinButton::EnabledChanged() {
    TWinControl::EnabledChanged();
    FUpButton->SetEnabled(Enabled());
    FDownButton->SetEnabled(Enabled());
}

void TSpinButton::ButtonPressed(TTimerSpeedButton& Button, TMouseButton MouseButton) {
    if (MouseButton != mbLeft)
        return;
    if (TabStop() && CanFocus())
        SetFocusedButton(Button);
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() &&
        !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (TabStop() && !Focused())
        SetFocus();
}

void TSpinButton::SetFocusedButton(TTimerSpeedButton& Button) {
    if (&Button == FFocusedButton)
        return;
    const bool Marked = FFocusedButton->FocusMarked;
    MarkFocus(false);
    FFocusedButton = &Button;
    MarkFocus(Marked);
}

void TSpinButton::MarkFocus(bool Value) {
    FFocusedButton->FocusMarked = Value;
    FFocusedButton->Invalidate();
}

void TSpinButton::KeyDown(WORD& Key, TShiftState Shift) {
    TWinControl::KeyDown(Key, Shift);
    switch (Key) {
    case VK_SPACE:
        FFocusedButton->Click();
        break;
    case VK_UP:
        SetFocusedButton(*FUpButton);
        FUpButton->Click();
        break;
    case VK_DOWN:
        SetFocusedButton(*FDownButton);
        FDownButton->Click();
        break;
    default:
        break;
    }
}

void TSpinButton::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS;
        return;
    case WM_SIZE:
        TWinControl::WndProc(Message);
        ArrangeButtons(Height());
        Message.Result = 0;
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TWinControl::WndProc(Message);
        MarkFocus(Message.Msg == WM_SETFOCUS);
        return;
    default:
        TWinControl::WndProc(Message);
        return;
    }
}
