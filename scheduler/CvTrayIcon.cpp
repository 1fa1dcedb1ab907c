#include "scheduler/CvTrayIcon.h"

#include "classlib/gui/Forms.h"

#include <algorithm>

namespace {

TNotifyIconCall& NotifyIconCall() {
    static TNotifyIconCall Call;
    return Call;
}

// The shell's broadcast after Explorer restarts; registered once for the program.
UINT TaskbarCreatedMessage() {
    static const UINT Message = RegisterWindowMessageW(L"TaskbarCreated");
    return Message;
}

TShiftState TrayShiftState(TMouseButton Button) {
    TShiftState Shift;
    if (GetAsyncKeyState(VK_SHIFT) < 0)
        Shift.Include(ssShift);
    if (GetAsyncKeyState(VK_CONTROL) < 0)
        Shift.Include(ssCtrl);
    if (GetAsyncKeyState(VK_MENU) < 0)
        Shift.Include(ssAlt);
    Shift.Include(Button == mbLeft ? ssLeft : Button == mbRight ? ssRight : ssMiddle);
    return Shift;
}

TPoint CursorPoint() {
    POINT P{};
    GetCursorPos(&P);
    return TPoint{P.x, P.y};
}

} // namespace

void SetNotifyIconCall(TNotifyIconCall Call) {
    NotifyIconCall() = std::move(Call);
}

TCvTrayIcon::TCvTrayIcon(TComponent* Owner)
    : TComponent(Owner), FIconWindow([this](TMessage& M) { return IconWindowProc(M); }),
      FCycleTimer(std::make_unique<TTimer>(nullptr)),
      FClickTimer(std::make_unique<TTimer>(nullptr)) {
    TaskbarCreatedMessage();
    FData.cbSize = sizeof(FData);
    FData.hWnd = FIconWindow.Handle();
    FData.uID = 1;
    FData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    FData.uCallbackMessage = WM_TRAYICON;

    FCycleTimer->SetEnabled(false);
    FCycleTimer->SetInterval(FCycleInterval);
    FCycleTimer->OnTimer = [this](TObject*) { CycleTimerFired(); };
    FClickTimer->SetEnabled(false);
    FClickTimer->SetInterval(GetDoubleClickTime());
    FClickTimer->OnTimer = [this](TObject*) { ClickTimerFired(); };

    if (Application)
        FAppHook = Application->HookMainWindow([this](TMessage& M) { return AppWindowHook(M); });
    HookParent();
}

TCvTrayIcon::~TCvTrayIcon() {
    if (FAdded)
        CallShell(NIM_DELETE);
    UnhookParent();
    if (Application && FAppHook)
        Application->UnhookMainWindow(FAppHook);
}

// ------------------------------------------------------------------- the shell

bool TCvTrayIcon::CallShell(DWORD Message) {
    const TNotifyIconCall& Call = NotifyIconCall();
    return Call ? Call(Message, FData) : Shell_NotifyIconW(Message, &FData) != FALSE;
}

void TCvTrayIcon::InitIcon() {
    FData.hIcon = FIcon.Handle();
    std::fill(std::begin(FData.szTip), std::end(FData.szTip), L'\0');
    if (!FHint.empty() && FShowHint) {
        // The shell's tip holds 127 characters and the terminator.
        const size_t Length = std::min<size_t>(FHint.size(), std::size(FData.szTip) - 1);
        std::copy_n(FHint.begin(), Length, FData.szTip);
    }
}

bool TCvTrayIcon::ShowIcon() {
    FIconVisible = true;
    InitIcon();
    if (FAdded)
        return CallShell(NIM_MODIFY);
    FAdded = CallShell(NIM_ADD);
    return FAdded;
}

bool TCvTrayIcon::HideIcon() {
    FIconVisible = false;
    const bool Deleted = CallShell(NIM_DELETE);
    FAdded = false;
    return Deleted;
}

bool TCvTrayIcon::ModifyIcon() {
    InitIcon();
    return CallShell(NIM_MODIFY);
}

// ------------------------------------------------------------------ properties

void TCvTrayIcon::SetIconVisible(bool Value) {
    if (Value)
        ShowIcon();
    else
        HideIcon();
}

void TCvTrayIcon::SetIcon(const TIcon& Value) {
    FIcon.Assign(Value);
    ModifyIcon();
}

void TCvTrayIcon::SetHint(const String& Value) {
    FHint = Value;
    ModifyIcon();
}

void TCvTrayIcon::SetShowHint(bool Value) {
    FShowHint = Value;
    ModifyIcon();
}

void TCvTrayIcon::SetIconList(TCustomImageList* Value) {
    SetNotifiedReference(FIconList, Value);
    SetIconIndex(0);
}

void TCvTrayIcon::SetIconIndex(int Value) {
    const int Last = FIconList ? FIconList->Count() - 1 : 0;
    FIconIndex = std::max(0, std::min(Value, Last));
    if (FIconList && FIconList->Count() > 0) {
        TIcon Picked;
        FIconList->GetIcon(FIconIndex, Picked);
        FIcon.Assign(Picked);
    }
    ModifyIcon();
}

void TCvTrayIcon::SetCycleIcons(bool Value) {
    FCycleIcons = Value;
    if (Value)
        SetIconIndex(0);
    FCycleTimer->SetEnabled(Value);
}

void TCvTrayIcon::SetCycleInterval(UINT Value) {
    FCycleInterval = Value;
    FCycleTimer->SetInterval(Value);
}

void TCvTrayIcon::SetPopupMenu(TPopupMenu* Value) {
    SetNotifiedReference(FPopupMenu, Value);
}

void TCvTrayIcon::Loaded() {
    TComponent::Loaded();
    if (OwnerControl() && StartMinimized && !ComponentState().Contains(csDesigning) &&
        Application) {
        Application->ShowMainForm = false;
        ShowWindow(Application->Handle(), SW_HIDE);
    }
    ModifyIcon();
    SetIconVisible(FIconVisible);
}

void TCvTrayIcon::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FIconList) {
        FIconList = nullptr;
        SetIconIndex(0);
    }
    if (AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

// ---------------------------------------------------------------------- events

void TCvTrayIcon::Click() {
    if (OnClick)
        OnClick(this);
}

void TCvTrayIcon::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TCvTrayIcon::Cycle(int NextIndex) {
    if (OnCycle)
        OnCycle(this, NextIndex);
}

void TCvTrayIcon::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TCvTrayIcon::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TCvTrayIcon::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TCvTrayIcon::DoMinimizeToTray() {
    HideMainForm();
    ShowIcon();
}

// ------------------------------------------------------------ the icon window

bool TCvTrayIcon::IconWindowProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_TRAYICON:
        if (Enabled)
            TrayMouseMessage(static_cast<UINT>(Message.LParam));
        return true;
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_USERCHANGED:
    case WM_NCDESTROY:
        Message.Result = 1;
        return true;
    default:
        // The icon window is top-level, so it hears the broadcast itself; the shell lost the
        // icon with the old taskbar, so it is added anew.
        if (Message.Msg == TaskbarCreatedMessage() && FIconVisible) {
            FAdded = false;
            ShowIcon();
        }
        return false;
    }
}

void TCvTrayIcon::TrayMouseMessage(UINT MouseMessage) {
    const TPoint P = CursorPoint();
    switch (MouseMessage) {
    case WM_MOUSEMOVE:
        MouseMove(TrayShiftState(mbLeft).Exclude(ssLeft), P.X, P.Y);
        break;
    case WM_LBUTTONDOWN:
        FClickTimer->SetEnabled(true);
        MouseDown(mbLeft, TrayShiftState(mbLeft), P.X, P.Y);
        FClickStarted = true;
        if (LeftPopup)
            ShowMenu();
        break;
    case WM_LBUTTONUP:
        if (FClickStarted) {
            FClickPending = true;
            // Held longer than the double-click time: the timer is gone, so the click is now.
            if (!FClickTimer->Enabled()) {
                FClickPending = false;
                Click();
            }
        }
        FClickStarted = false;
        MouseUp(mbLeft, TrayShiftState(mbLeft), P.X, P.Y);
        break;
    case WM_LBUTTONDBLCLK:
        FClickPending = false;
        FDoubleClicked = true;
        DblClick();
        if (FPopupMenu && FPopupMenu->AutoPopup && !LeftPopup)
            ClickDefaultMenuItem();
        break;
    case WM_RBUTTONDOWN:
        MouseDown(mbRight, TrayShiftState(mbRight), P.X, P.Y);
        ShowMenu();
        break;
    case WM_RBUTTONUP:
        MouseUp(mbRight, TrayShiftState(mbRight), P.X, P.Y);
        break;
    case WM_MBUTTONDOWN:
        MouseDown(mbMiddle, TrayShiftState(mbMiddle), P.X, P.Y);
        break;
    case WM_MBUTTONUP:
        MouseUp(mbMiddle, TrayShiftState(mbMiddle), P.X, P.Y);
        break;
    default:
        break;
    }
}

void TCvTrayIcon::ClickTimerFired() {
    FClickTimer->SetEnabled(false);
    if (!FDoubleClicked && FClickPending) {
        FClickPending = false;
        Click();
    }
    FDoubleClicked = false;
}

void TCvTrayIcon::CycleTimerFired() {
    if (!FCycleIcons || !FIconList || FIconList->Count() == 0)
        return;
    TIcon Current;
    FIconList->GetIcon(FIconIndex, Current);
    FIcon.Assign(Current);
    const int Next = (FIconIndex + 1) % FIconList->Count();
    Cycle(Next);
    ModifyIcon();
    FIconIndex = Next;
}

// ------------------------------------------------------------------------ menu

void TCvTrayIcon::ShowMenu() {
    if (!FPopupMenu || !FPopupMenu->AutoPopup)
        return;
    POINT P{};
    if (!GetCursorPos(&P))
        return;
    ProcessPendingMessages();
    SetForegroundWindow(FIconWindow.Handle());
    if (TWinControl* Owner = OwnerControl())
        SetForegroundWindow(Owner->Handle());
    FPopupMenu->PopupComponent = this;
    FPopupMenu->Popup(P.x, P.y);
    // Without a message after it, the menu would stay open when the user clicks elsewhere.
    if (TWinControl* Owner = OwnerControl())
        PostMessageW(Owner->Handle(), WM_NULL, 0, 0);
}

void TCvTrayIcon::ClickDefaultMenuItem() {
    TMenuItem& Items = FPopupMenu->Items();
    for (int I = 0; I < Items.Count(); ++I)
        if (Items.Items(I)->Default) {
            Items.Items(I)->Click();
            return;
        }
}

// --------------------------------------------------------------- window hooks

TWinControl* TCvTrayIcon::OwnerControl() const {
    return dynamic_cast<TWinControl*>(Owner());
}

void TCvTrayIcon::HideMainForm() {
    if (!OwnerControl() || !Application || !Application->MainForm())
        return;
    Application->MainForm()->Hide();
    ShowWindow(Application->Handle(), SW_HIDE);
}

bool TCvTrayIcon::AppWindowHook(TMessage& Message) {
    if (Message.Msg == WM_SIZE && Message.WParam == SIZE_MINIMIZED && MinimizeToTray)
        DoMinimizeToTray();
    else if (Message.Msg == WM_WINDOWPOSCHANGED && FStartPending && Application->MainForm())
        FStartPending = false;
    return false;
}

void TCvTrayIcon::HookParent() {
    TWinControl* Owner = OwnerControl();
    if (!Owner)
        return;
    FSavedParentProc = Owner->WindowProc;
    Owner->WindowProc = [this](TMessage& M) { ParentWindowProc(M); };
}

void TCvTrayIcon::UnhookParent() {
    if (TWinControl* Owner = OwnerControl(); Owner && FSavedParentProc) {
        Owner->WindowProc = std::move(FSavedParentProc);
        FSavedParentProc = nullptr;
    }
}

void TCvTrayIcon::ParentWindowProc(TMessage& Message) {
    if (Message.Msg == WM_ACTIVATE &&
        (LOWORD(Message.WParam) == WA_ACTIVE || LOWORD(Message.WParam) == WA_CLICKACTIVE)) {
        // Activation by a click on the form would leave the focus on the form, not on the
        // control that had it.
        if (TWinControl* Active = Screen->ActiveControl()) {
            TWinControl* Holder = Active->Parent() ? Active->Parent() : Active;
            const HWND Other = reinterpret_cast<HWND>(Message.LParam);
            if (!Holder->HandleAllocated() || Other != Holder->Handle())
                Active->SetFocus();
        }
    } else if (Message.Msg == WM_SHOWWINDOW && Message.WParam && Message.LParam == 0) {
        // Shown by a direct call, as from the tray: to the front. The application window stays
        // hidden here (each form has its own taskbar button), so it is not restored.
        SetForegroundWindow(OwnerControl()->Handle());
    }
    FSavedParentProc(Message);
}
