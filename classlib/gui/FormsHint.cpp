// The application's hint manager: which control the mouse rests on, the pauses before a hint
// shows and before it hides, and the one hint window.
#include "classlib/gui/Forms.h"

#include "classlib/gui/HintWindow.h"

#include <algorithm>

namespace {

// The control whose hint shows for the control under the mouse: the first one up the parent
// chain with ShowHint. Its Hint may be empty: a control may give a hint of its own for the
// point (CM_HINTSHOW), and an empty one shows nothing.
TControl* HintTarget(TControl* Control) {
    for (; Control; Control = Control->Parent())
        if (Control->ShowHint())
            return Control;
    return nullptr;
}

bool IsButtonMessage(UINT Msg) {
    return Msg >= WM_LBUTTONDOWN && Msg <= WM_MBUTTONDBLCLK;
}

} // namespace

THintWindow* DefaultHintWindow(TComponent* Owner) {
    return new THintWindow(Owner);
}

void TApplication::SetShowHint(bool Value) {
    if (FShowHint == Value)
        return;
    FShowHint = Value;
    CancelHint();
    // Made again, with the hint window class of now, at the next hint.
    DestroyHintWindow();
}

void TApplication::SetHintWindowClass(THintWindowClass Class, TComponent* Installer) {
    FHintWindowClass = Class ? std::move(Class) : THintWindowClass(&DefaultHintWindow);
    Track(FHintClassInstaller, Installer);
    CancelHint();
    DestroyHintWindow();
}

void TApplication::SetOnShowHint(TShowHintEvent Handler, TComponent* Installer) {
    FOnShowHint = std::move(Handler);
    Track(FShowHintInstaller, Installer);
}

void TApplication::UnhookInstaller(TComponent* Installer) {
    std::erase_if(FHooks, [Installer](const THook& Hook) { return Hook.Installer == Installer; });
}

void TApplication::Track(TComponent*& Slot, TComponent* Installer) {
    Slot = Installer;
    if (Installer)
        Installer->FreeNotification(this);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    // What a component put into the application goes with it.
    if (AComponent == FHintControl) {
        FHintControl = nullptr;
        CancelHint();
    }
    if (AComponent == FShowHintInstaller) {
        FShowHintInstaller = nullptr;
        FOnShowHint = nullptr;
    }
    if (AComponent == FHintClassInstaller) {
        FHintClassInstaller = nullptr;
        SetHintWindowClass(nullptr);
    }
    if (AComponent == FHintWindow)
        FHintWindow = nullptr;
    UnhookInstaller(AComponent);
}

void TApplication::SetHintControl(TControl* Control) {
    SetNotifiedReference(FHintControl, Control);
}

void TApplication::DestroyHintWindow() {
    delete std::exchange(FHintWindow, nullptr);
}

void TApplication::StartHintTimer(int Milliseconds, THintTimer Purpose) {
    StopHintTimer();
    FHintTimer = Purpose;
    SetTimer(FHandle, HintTimerId, static_cast<UINT>(std::max(Milliseconds, 1)), nullptr);
}

void TApplication::StopHintTimer() {
    if (FHintTimer == htNone)
        return;
    KillTimer(FHandle, HintTimerId);
    FHintTimer = htNone;
}

void TApplication::HintTimerExpired() {
    const THintTimer Purpose = FHintTimer;
    StopHintTimer();
    if (Purpose == htShow && FHintControl)
        ShowHintFor(*FHintControl, Screen->CursorPos());
    else if (Purpose == htHide)
        HideHint();
}

void TApplication::HideHint() {
    const bool WasShown = FHintWindow && FHintWindow->Visible();
    if (WasShown)
        FHintWindow->ReleaseHandle();
    // The next control's hint follows at once (after the short pause) while hints are being read.
    FHintShownRecently = FHintShownRecently || WasShown;
}

void TApplication::CancelHint() {
    StopHintTimer();
    HideHint();
    FHintShownRecently = false;
    SetHintControl(nullptr);
}

void TApplication::HintMouseMessage(TControl* Control, const TMessage& Message) {
    if (!FShowHint || dynamic_cast<THintWindow*>(Control))
        return;
    if (IsButtonMessage(Message.Msg)) {
        CancelHint();
        return;
    }
    if (Message.Msg == CM_MOUSELEAVE) {
        if (Control == FHintControl) {
            StopHintTimer();
            HideHint();
            SetHintControl(nullptr);
        }
        return;
    }
    if (Message.Msg != WM_MOUSEMOVE)
        return;
    TControl* Target = HintTarget(Control);
    if (Target == FHintControl)
        return;
    StopHintTimer();
    HideHint();
    SetHintControl(Target);
    if (Target)
        StartHintTimer(FHintShownRecently ? HintShortPause : HintPause, htShow);
}

void TApplication::ActivateHint(TPoint CursorPos) {
    TControl* Target = HintTarget(FindDragTarget(CursorPos, false));
    StopHintTimer();
    HideHint();
    SetHintControl(Target);
    if (Target)
        ShowHintFor(*Target, CursorPos);
}

void TApplication::ShowHintFor(TControl& Control, TPoint CursorPos) {
    if (!FShowHint)
        return;
    THintInfo Info;
    Info.HintControl = &Control;
    Info.HintPos = TPoint{CursorPos.X, CursorPos.Y + GetSystemMetrics(SM_CYCURSOR) * 3 / 4};
    Info.HintMaxWidth = Screen->MonitorAt(CursorPos).WorkArea.Width();
    Info.HintColor = clInfoBk;
    Info.CursorRect = Control.ClientRect();
    Info.CursorPos = Control.ScreenToClient(CursorPos);
    Info.HideTimeout = HintHidePause;
    Info.HintStr = GetShortHint(Control.Hint);
    const TAliveToken Alive = Control.AliveToken();
    bool CanShow = Control.Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&Info)) == 0;
    if (CanShow && FOnShowHint)
        FOnShowHint(Info.HintStr, CanShow, Info);
    if (!Alive.Alive() || !CanShow || Info.HintStr.empty()) {
        HideHint();
        return;
    }
    if (!FHintWindow) {
        FHintWindow = FHintWindowClass(this);
    }
    FHintWindow->SetColor(Info.HintColor);
    TRect Rect = FHintWindow->CalcHintRect(Info.HintMaxWidth, Info.HintStr, Info.HintData);
    Rect = Bounds(Info.HintPos.X, Info.HintPos.Y, Rect.Width(), Rect.Height());
    FHintWindow->ActivateHint(Rect, Info.HintStr);
    FHintShownRecently = true;
    if (Info.HideTimeout > 0)
        StartHintTimer(Info.HideTimeout, htHide);
}
