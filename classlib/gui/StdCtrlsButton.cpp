#include "classlib/gui/StdCtrls.h"

TButton::TButton(TComponent* AOwner) : TSystemControl(AOwner) {
    // The system button reports its clicks; the mouse must not make a second one.
    ControlStyle.Exclude(csClickEvents);
    ControlStyle.Exclude(csDoubleClicks);
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& Params) const {
    TSystemControl::CreateParams(Params);
    Params.WinClassName = L"BUTTON";
    Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool Value) {
    if (FDefault == Value)
        return;
    FDefault = Value;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETSTYLE, Value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
    if (ModalResult != mrNone)
        if (TForm* Form = GetParentForm(this))
            Form->SetModalResult(ModalResult);
    TSystemControl::Click();
}

bool TButton::TakesDialogKey(WORD Key) const {
    if (!Showing() || !Enabled())
        return false;
    if (Key == VK_ESCAPE)
        return Cancel;
    if (Key != VK_RETURN)
        return false;
    // A focused button takes Enter itself; otherwise the default button does.
    const TForm* Form = GetParentForm(this);
    const TWinControl* Focused = Form ? Form->ActiveControl() : nullptr;
    if (Focused == this)
        return true;
    return FDefault && !dynamic_cast<const TButton*>(Focused);
}

void TButton::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case CN_COMMAND:
        if (HIWORD(Message.WParam) == BN_CLICKED)
            Click();
        return;
    case CM_DIALOGKEY:
        if (TakesDialogKey(static_cast<WORD>(Message.WParam))) {
            Click();
            Message.Result = 1;
        }
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<wchar_t>(Message.WParam), Caption()) && CanFocus()) {
            Click();
            Message.Result = 1;
        }
        return;
    default:
        TSystemControl::WndProc(Message);
        return;
    }
}
