#include "classlib/gui/StdCtrls.h"

bool IsAccel(wchar_t Key, const String& Caption) {
    for (size_t I = 0; I + 1 < Caption.size(); ++I) {
        if (Caption[I] != L'&')
            continue;
        const wchar_t Next = Caption[I + 1];
        if (Next == L'&') {
            ++I; // an ampersand, not an accelerator
            continue;
        }
        wchar_t Pair[2] = {Key, Next};
        CharUpperBuffW(Pair, 2);
        return Pair[0] == Pair[1];
    }
    return false;
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
    SetNotifiedReference(FFocusControl, Value);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TCustomLabel::WndProc(TMessage& Message) {
    if (Message.Msg == CM_DIALOGCHAR && FFocusControl && Enabled() &&
        IsAccel(static_cast<wchar_t>(Message.WParam), Caption()) && FFocusControl->CanFocus()) {
        if (TForm* Form = GetParentForm(FFocusControl))
            Form->SetActiveControl(FFocusControl);
        Message.Result = 1;
        return;
    }
    TGraphicControl::WndProc(Message);
}
