#include "classlib/gui/Forms.h"
#include "classlib/gui/WindowProbe.h"

#include <algorithm>

TApplication* Application = nullptr;

namespace {

// Posted to the application window to delete the forms released since.
constexpr UINT WM_RELEASE_FORMS = WM_APP + 1;

void LogException(const String& Message) {
    OutputDebugStringW((L"Unhandled exception: " + Message + L"\n").c_str());
}

// Hands the exception being handled (call it inside a catch block) to Report as an Exception;
// an EAbort is silent.
template <class TReport> void ReportCurrentException(TReport Report) noexcept {
    try {
        throw;
    } catch (const EAbort&) {
    } catch (const Exception& E) {
        Report(E);
    } catch (const std::exception& E) {
        Report(Exception(FromUtf8(E.what())));
    } catch (...) {
        Report(Exception(L"Unknown exception"));
    }
}

DWORD BorderIconBits(TFormBorderStyle Style, TBorderIcons Icons) {
    DWORD Bits = 0;
    if (Style == bsNone || !Icons.Contains(biSystemMenu))
        return Bits;
    Bits |= WS_SYSMENU;
    if (Style == bsDialog)
        return Bits;
    if (Icons.Contains(biMinimize))
        Bits |= WS_MINIMIZEBOX;
    if (Icons.Contains(biMaximize))
        Bits |= WS_MAXIMIZEBOX;
    return Bits;
}

DWORD BorderStyleBits(TFormBorderStyle Style) {
    switch (Style) {
    case bsNone:
        return WS_POPUP;
    case bsSingle:
        return WS_CAPTION;
    case bsDialog:
        return WS_POPUP | WS_CAPTION;
    case bsSizeable:
        break;
    }
    return WS_CAPTION | WS_THICKFRAME;
}

} // namespace

void HandleCurrentException(TObject* Sender) noexcept {
    if (Application)
        Application->HandleException(Sender);
    else
        ReportCurrentException([](const Exception& E) { LogException(E.Message()); });
}

// -------------------------------------------------------------------- TForm

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
    // The layout the constructors make is loaded once, when NewForm runs AfterConstruction.
    BeginLoading();
    SetVisible(false);
    SetParentFont(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
}

TForm::~TForm() {
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            HandleCurrentException(this);
        }
    }
    if (Application)
        Application->FormDestroyed(this);
}

void TForm::AfterConstruction() {
    // The constructor made the layout inside the load bracket its TForm part opened: each
    // component applies it once, now, before OnCreate.
    EndLoading();
    if (!OnCreate)
        return;
    try {
        OnCreate(this);
    } catch (...) {
        HandleCurrentException(this);
    }
}

void TForm::CreateParams(TCreateParams& Params) const {
    TWinControl::CreateParams(Params);
    Params.WinClassName = L"TForm";
    Params.Style = WS_CLIPCHILDREN | BorderStyleBits(FBorderStyle) |
                   BorderIconBits(FBorderStyle, FBorderIcons);
    Params.ExStyle = 0;
    if (FBorderIcons.Contains(biHelp) && FBorderStyle == bsDialog)
        Params.ExStyle |= WS_EX_CONTEXTHELP;
    if (FBorderStyle == bsDialog)
        Params.ExStyle |= WS_EX_DLGMODALFRAME;
    if (FFormStyle == fsStayOnTop)
        Params.ExStyle |= WS_EX_TOPMOST;
    if (Application && Application->MainForm() == this)
        Params.ExStyle |= WS_EX_APPWINDOW;
}

// The main form is a window of its own on the taskbar; the other forms belong to it (or to the
// hidden application window before there is one), so they stay above it and carry no button.
HWND TForm::WindowParent() {
    if (!Application || Application->MainForm() == this)
        return nullptr;
    TForm* Main = Application->MainForm();
    return Main && Main->HandleAllocated() ? Main->Handle() : Application->Handle();
}

void TForm::WndProc(TMessage& Message) {
    if (Message.Msg == ProbeMessage()) {
        Message.Result = AnswerProbe(*this, Message.WParam, Message.LParam);
        return;
    }
    switch (Message.Msg) {
    case WM_CLOSE:
        Close(); // the close sequence decides; the window itself stays until the form goes
        return;
    case WM_ACTIVATE:
        DefaultHandler(Message);
        Activated(LOWORD(Message.WParam) != WA_INACTIVE);
        return;
    case WM_SYSCOLORCHANGE:
        Perform(CM_SYSCOLORCHANGE);
        break;
    case WM_SYSCOMMAND:
        if (Application && SendMessageW(Application->Handle(), CM_APPSYSCOMMAND, 0,
                                        reinterpret_cast<LPARAM>(&Message)))
            return;
        break;
    case CM_ACTIVATE:
        if (OnActivate)
            OnActivate(this);
        return;
    case CM_DEACTIVATE:
        if (OnDeactivate)
            OnDeactivate(this);
        return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
        Message.Result = DefaultDialogKey(Message.Msg, static_cast<WORD>(Message.WParam));
        return;
    default:
        break;
    }
    TWinControl::WndProc(Message);
}

void TForm::Activated(bool Active) {
    if (FActive == Active)
        return;
    FActive = Active;
    if (Active && FActiveControl && FActiveControl->CanFocus() && !FActiveControl->Focused())
        FActiveControl->SetFocus();
    Perform(Active ? CM_ACTIVATE : CM_DEACTIVATE);
}

void TForm::SetActiveControl(TWinControl* Control) {
    if (Control && GetParentForm(Control) != this)
        throw EInvalidOperation(L"The control is not on this form");
    if (Control && HandleAllocated() && FActive && Control->CanFocus()) {
        Control->SetFocus(); // WM_SETFOCUS runs the exit and enter notices
        return;
    }
    FocusControlChanged(Control);
}

void TForm::FocusControlChanged(TWinControl* Control) {
    TWinControl* Old = FActiveControl;
    if (Old == Control)
        return;
    FActiveControl = Control;
    const auto Chain = [this](TWinControl* C) {
        std::vector<TWinControl*> Links;
        for (; C && C != this; C = C->Parent())
            Links.push_back(C);
        return Links;
    };
    auto Leaving = Chain(Old);
    auto Entering = Chain(Control);
    while (!Leaving.empty() && !Entering.empty() && Leaving.back() == Entering.back()) {
        Leaving.pop_back();
        Entering.pop_back();
    }
    for (TWinControl* C : Leaving)
        C->Perform(CM_EXIT);
    for (auto It = Entering.rbegin(); It != Entering.rend(); ++It)
        (*It)->Perform(CM_ENTER);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
}

void TForm::ControlRemoved(const TControl* Control) {
    for (const TControl* C = FActiveControl; C; C = C->Parent())
        if (C == Control) {
            FActiveControl = nullptr;
            return;
        }
}

void TForm::SelectNext(TWinControl* Current, bool Forward) {
    const auto List = TabList();
    if (List.empty())
        return;
    const auto It = std::find(List.begin(), List.end(), Current);
    size_t Index = 0;
    if (It == List.end())
        Index = Forward ? 0 : List.size() - 1;
    else if (Forward)
        Index = (static_cast<size_t>(It - List.begin()) + 1) % List.size();
    else
        Index = (static_cast<size_t>(It - List.begin()) + List.size() - 1) % List.size();
    SetActiveControl(List[Index]);
}

void TForm::SetBorderIcons(TBorderIcons Value) {
    if (FBorderIcons == Value)
        return;
    FBorderIcons = Value;
    ApplyWindowStyles();
}

TModalResult TForm::ShowModal() {
    if (Visible() || FModal)
        throw EInvalidOperation(L"Cannot make a visible window modal");
    if (!Application)
        throw EInvalidOperation(L"A form can be shown modally only while the application exists");
    const TFlagScope Modal(FModal);
    FModalResult = mrNone;
    {
        // The other windows take no input while this one is up; enabled again before it hides,
        // so that the activation goes back to them.
        const TThreadWindowsDisabled Others;
        Show();
        const TAliveToken Alive = AliveToken();
        while (FModalResult == mrNone) {
            if (Application->Terminated()) {
                FModalResult = mrCancel;
                break;
            }
            if (!Application->ProcessMessage())
                WaitMessage();
            if (!Alive.Alive())
                return mrCancel;
            if (FModalResult != mrNone) {
                // The close sequence may refuse: the form stays up.
                TCloseAction Action = CloseQuery() ? caHide : caNone;
                if (Action != caNone)
                    DoClose(Action);
                if (Action == caNone)
                    FModalResult = mrNone;
            }
        }
    }
    Hide();
    return FModalResult;
}

void TForm::Show() {
    SetVisible(true);
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TForm::VisibleChanged() {
    if (Visible()) {
        HandleNeeded();
        ApplyPosition();
        if (OnShow)
            OnShow(this);
        ShowWindow(Handle(), SW_SHOW);
    } else if (HandleAllocated()) {
        ShowWindow(Handle(), SW_HIDE);
    }
}

void TForm::ApplyPosition() {
    if (Position == poDesigned)
        return;
    TForm* Main = Application ? Application->MainForm() : nullptr;
    if (Main == this || (Main && (!Main->Visible() || !Main->HandleAllocated())))
        Main = nullptr;
    TRect Around = Main ? Screen->MonitorOf(Main->Handle()).WorkArea
                        : Screen->MonitorAt(Screen->CursorPos()).WorkArea;
    if (Position == poMainFormCenter && Main)
        Around = Main->BoundsRect();
    SetBoundsRect(CentredIn(Around, Width(), Height()));
}

TForm* GetParentForm(const TControl* Control) {
    const TControl* Top = Control;
    while (Top && Top->Parent())
        Top = Top->Parent();
    return const_cast<TForm*>(dynamic_cast<const TForm*>(Top));
}

bool TForm::CloseQuery() {
    bool CanClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, CanClose);
    return CanClose;
}

void TForm::DoClose(TCloseAction& Action) {
    if (OnClose)
        OnClose(this, Action);
}

void TForm::Close() {
    if (FModal) {
        FModalResult = mrCancel; // the modal loop runs the close sequence
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction Action = caHide;
    DoClose(Action);
    if (Action == caNone)
        return;
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else if (Action == caHide)
        Hide();
    else if (Action == caMinimize)
        ShowWindow(Handle(), SW_MINIMIZE);
    else
        Release();
}

void TForm::Release() {
    if (!Application)
        throw EInvalidOperation(L"A form can be released only while the application exists");
    Application->ReleaseForm(this);
}

void TForm::SetFormStyle(TFormStyle Value) {
    if (FFormStyle == Value)
        return;
    FFormStyle = Value;
    ApplyWindowStyles();
}

void TForm::SetBorderStyle(TFormBorderStyle Value) {
    if (FBorderStyle == Value)
        return;
    FBorderStyle = Value;
    ApplyWindowStyles();
}

void TForm::ApplyWindowStyles() {
    if (!HandleAllocated())
        return;
    const HWND Wnd = Handle();
    TCreateParams Params;
    CreateParams(Params);
    const LONG_PTR Kept =
        GetWindowLongPtrW(Wnd, GWL_STYLE) & (WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    const LONG_PTR OldExStyle = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
    SetWindowLongPtrW(Wnd, GWL_STYLE, static_cast<LONG_PTR>(Params.Style) | Kept);
    // Topmost is a place in the z-order: only SetWindowPos moves a window into or out of it
    // (and wine mishandles the bit when it comes through SetWindowLongPtr).
    SetWindowLongPtrW(Wnd, GWL_EXSTYLE, static_cast<LONG_PTR>(Params.ExStyle) & ~WS_EX_TOPMOST);
    const bool WasTopmost = (OldExStyle & WS_EX_TOPMOST) != 0;
    const bool Topmost = FFormStyle == fsStayOnTop;
    UINT Flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    if (WasTopmost == Topmost)
        Flags |= SWP_NOZORDER;
    SetWindowPos(Wnd, Topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, Flags);
}

// ------------------------------------------------------------- TApplication

TApplication::TApplication() : TComponent(nullptr) {
    if (Application)
        throw EInvalidOperation(L"An application object exists already");
    TCreateParams Params;
    Params.WinClassName = L"TApplication";
    RegisterWindowClass(Params, &ObjectWndProc<TApplication>);
    if (!CreateWindowExW(0, Params.WinClassName.c_str(), L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                         nullptr, GetModuleHandleW(nullptr), this))
        RaiseLastOSError();
    Application = this;
}

TApplication::~TApplication() {
    CancelHint();
    // The forms go first, while the application window they belong to and this object exist.
    DestroyComponents();
    if (FHandle)
        DestroyWindow(FHandle);
    // A quit message left by Terminate must not end the loop of a later application object.
    MSG Quit;
    while (PeekMessageW(&Quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    Application = nullptr;
}

String TApplication::ExeName() {
    String Path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD Length =
            GetModuleFileNameW(nullptr, Path.data(), static_cast<DWORD>(Path.size()));
        if (Length < Path.size()) {
            Path.resize(Length);
            return Path;
        }
        Path.resize(Path.size() * 2);
    }
}

void TApplication::SetTitle(const String& Value) {
    FTitle = Value;
    SetWindowTextW(FHandle, FTitle.c_str());
}

int TApplication::HookMainWindow(TWindowHook Hook, TComponent* Installer) {
    FHooks.push_back(THook{++FLastHookId, std::move(Hook), Installer});
    if (Installer)
        Installer->FreeNotification(this);
    return FLastHookId;
}

void TApplication::UnhookMainWindow(int HookId) {
    std::erase_if(FHooks, [HookId](const THook& Hook) { return Hook.Id == HookId; });
}

void TApplication::WindowProc(TMessage& Message) {
    if (Message.Msg == WM_RELEASE_FORMS) {
        // Inside a dispatch of ours the form's own handler may be running under a nested loop
        // (a modal window, a pump during long work): the outer loop deletes it on its return.
        if (FDispatching == 0)
            DeleteReleasedForms();
        return;
    }
    if (Message.Msg == WM_TIMER && Message.WParam == HintTimerId) {
        HintTimerExpired();
        return;
    }
    // By index: a hook may take itself, or another, out while it runs.
    for (size_t I = 0; I < FHooks.size(); ++I) {
        const TWindowHook Hook = FHooks[I].Hook;
        if (Hook(Message))
            return;
    }
    if (Message.Msg == WM_CLOSE) {
        // Closing the application closes its main form; the window itself stays.
        if (FMainForm)
            FMainForm->Close();
        return;
    }
    Message.Result = DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

bool TApplication::ProcessMessage() {
    MSG Msg;
    if (!PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (Msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    if (Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN) {
        CancelHint();
        if (Msg.wParam == VK_ESCAPE && DragActive()) {
            CancelDrag();
            return true;
        }
        if (SendMessageW(FHandle, CM_APPKEYDOWN, Msg.wParam, Msg.lParam))
            return true;
    }
    if (OnMessage) {
        bool Handled = false;
        OnMessage(Msg, Handled);
        if (Handled)
            return true;
    }
    {
        const TDepthScope Dispatching(FDispatching);
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }
    ReleaseCanvasDCs();
    if (FDispatching == 0 && !FReleased.empty())
        DeleteReleasedForms();
    return true;
}

void TApplication::ProcessMessages() {
    while (ProcessMessage()) {
    }
}

void TApplication::Run() {
    if (!FMainForm || FTerminated)
        return;
    if (ShowMainForm)
        FMainForm->Show();
    while (!FTerminated) {
        try {
            if (!ProcessMessage())
                WaitMessage();
        } catch (...) {
            HandleException(this);
        }
    }
}

void TApplication::Terminate() {
    FTerminated = true;
    PostQuitMessage(0); // also ends modal loops the system runs
}

void TApplication::Restore() {
    if (FMainForm && FMainForm->HandleAllocated() && IsIconic(FMainForm->Handle()))
        ShowWindow(FMainForm->Handle(), SW_RESTORE);
}

void TApplication::Minimize() {
    if (FMainForm && FMainForm->HandleAllocated())
        ShowWindow(FMainForm->Handle(), SW_MINIMIZE);
}

void TApplication::BringToFront() {
    HWND Target = nullptr;
    if (FMainForm && FMainForm->HandleAllocated() && IsWindowVisible(FMainForm->Handle()))
        Target = FMainForm->Handle();
    for (int I = ComponentCount() - 1; !Target && I >= 0; --I)
        if (auto* Form = dynamic_cast<TForm*>(Components(I));
            Form && Form->HandleAllocated() && IsWindowVisible(Form->Handle()))
            Target = Form->Handle();
    if (!Target || SetForegroundWindow(Target))
        return;
    // Without the right to take the foreground, share the input state of the thread that has it.
    const DWORD Own = GetCurrentThreadId();
    const DWORD Foreground = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    if (Foreground && Foreground != Own && AttachThreadInput(Own, Foreground, TRUE)) {
        BringWindowToTop(Target);
        SetForegroundWindow(Target);
        AttachThreadInput(Own, Foreground, FALSE);
    }
}

void TApplication::HandleException(TObject* Sender) noexcept {
    ReportCurrentException([this, Sender](const Exception& E) { ShowException(Sender, E); });
}

void TApplication::ShowException(TObject* Sender, const Exception& E) noexcept {
    if (OnException) {
        try {
            OnException(Sender, E);
            return;
        } catch (...) {
            // A failing handler leaves the report to the log below.
        }
    }
    LogException(E.Message());
}

void TApplication::SetMainForm(TForm* Form) {
    FMainForm = Form;
    if (!Form->HandleAllocated())
        return;
    // Its window was made before it became the main form: make it one now.
    const HWND Wnd = Form->Handle();
    SetWindowLongPtrW(Wnd, GWLP_HWNDPARENT, 0);
    SetWindowLongPtrW(Wnd, GWL_EXSTYLE, GetWindowLongPtrW(Wnd, GWL_EXSTYLE) | WS_EX_APPWINDOW);
}

void TApplication::ReleaseForm(TForm* Form) {
    if (std::find(FReleased.begin(), FReleased.end(), Form) != FReleased.end())
        return;
    FReleased.push_back(Form);
    PostMessageW(FHandle, WM_RELEASE_FORMS, 0, 0);
}

void TApplication::DeleteReleasedForms() {
    // Deleting one form may delete others on the list; each leaves it as it goes.
    while (!FReleased.empty())
        delete FReleased.back();
}

void TApplication::FormDestroyed(TForm* Form) {
    std::erase(FReleased, Form);
    if (FMainForm == Form) {
        FMainForm = nullptr;
        Terminate();
    }
}

// ---------------------------------------------------- message pump and input

namespace {

// When this thread last pumped through the shared route, and what that pump answered. The tick
// count is read from memory the system keeps current, where the performance counter is a call
// into the system under wine; its steps of up to 16 ms suit the interval.
thread_local ULONGLONG LastPump = 0;
thread_local bool LastPumpAnswer = true;

bool DispatchPendingMessages() {
    if (Application) {
        Application->ProcessMessages();
        return !Application->Terminated();
    }
    // Before the application object exists (and in tests) nobody else pumps.
    MSG Msg;
    while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
        if (Msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(Msg.wParam));
            return false;
        }
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }
    return true;
}

} // namespace

bool ProcessPendingMessages() {
    LastPump = GetTickCount64();
    LastPumpAnswer = DispatchPendingMessages();
    return LastPumpAnswer;
}

bool ProcessMessagesDuringWork() {
    if (GetTickCount64() - LastPump >= WorkPumpIntervalMs)
        return ProcessPendingMessages();
    return LastPumpAnswer && !(Application && Application->Terminated());
}

namespace {

BOOL CALLBACK CollectEnabledWindow(HWND Window, LPARAM Param) {
    if (IsWindowVisible(Window) && IsWindowEnabled(Window))
        reinterpret_cast<std::vector<HWND>*>(Param)->push_back(Window);
    return TRUE;
}

} // namespace

TThreadWindowsDisabled::TThreadWindowsDisabled() {
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabledWindow,
                      reinterpret_cast<LPARAM>(&FDisabled));
    for (const HWND Window : FDisabled)
        EnableWindow(Window, FALSE);
}

TThreadWindowsDisabled::~TThreadWindowsDisabled() {
    for (auto Window = FDisabled.rbegin(); Window != FDisabled.rend(); ++Window)
        if (IsWindow(*Window))
            EnableWindow(*Window, TRUE);
}

// ------------------------------------------------------------------ TScreen

namespace {

TScreen ScreenInstance;

} // namespace

TScreen* const Screen = &ScreenInstance;

int TScreen::Width() const {
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const {
    return GetSystemMetrics(SM_CYSCREEN);
}

TRect TScreen::WorkAreaRect() const {
    RECT Area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &Area, 0))
        return Bounds(0, 0, Width(), Height());
    return Area;
}

namespace {

TScreen::TMonitorArea AreaOfMonitor(HMONITOR Monitor) {
    MONITORINFO Info{};
    Info.cbSize = sizeof Info;
    if (!Monitor || !GetMonitorInfoW(Monitor, &Info))
        return {Screen->WorkAreaRect(), Screen->WorkAreaRect()};
    return {Info.rcMonitor, Info.rcWork};
}

} // namespace

TScreen::TMonitorArea TScreen::MonitorAt(TPoint Point) const {
    if (MonitorAtSource)
        return MonitorAtSource(Point);
    return AreaOfMonitor(MonitorFromPoint(POINT{Point.X, Point.Y}, MONITOR_DEFAULTTONEAREST));
}

TScreen::TMonitorArea TScreen::MonitorOf(HWND Wnd) const {
    if (MonitorOfSource)
        return MonitorOfSource(Wnd);
    return AreaOfMonitor(MonitorFromWindow(Wnd, MONITOR_DEFAULTTONEAREST));
}

TRect CentredIn(const TRect& Area, int Width, int Height) {
    return Bounds(Area.Left + (Area.Width() - Width) / 2, Area.Top + (Area.Height() - Height) / 2,
                  Width, Height);
}

TRect MovedInside(const TRect& Rect, const TRect& Area) {
    const int Left = std::max(Area.Left, std::min(Rect.Left, Area.Right - Rect.Width()));
    const int Top = std::max(Area.Top, std::min(Rect.Top, Area.Bottom - Rect.Height()));
    return Bounds(Left, Top, Rect.Width(), Rect.Height());
}

TPoint TScreen::CursorPos() const {
    if (CursorPosSource)
        return CursorPosSource();
    POINT Pos{};
    GetCursorPos(&Pos);
    return TPoint{Pos.x, Pos.y};
}

HWND TScreen::ActiveWindow() const {
    return ActiveWindowSource ? ActiveWindowSource() : GetActiveWindow();
}

TForm* TScreen::ActiveForm() const {
    return dynamic_cast<TForm*>(FindControl(ActiveWindow()));
}

TWinControl* TScreen::ActiveControl() const {
    const TForm* Form = ActiveForm();
    return Form ? Form->ActiveControl() : nullptr;
}

HCURSOR TScreen::Cursors(TCursor Index) const {
    static const struct {
        TCursor Cursor;
        const wchar_t* Id;
    } System[] = {
        {crArrow, IDC_ARROW},          {crCross, IDC_CROSS},
        {crIBeam, IDC_IBEAM},          {crSizeNESW, IDC_SIZENESW},
        {crSizeNS, IDC_SIZENS},        {crSizeNWSE, IDC_SIZENWSE},
        {crSizeWE, IDC_SIZEWE},        {crUpArrow, IDC_UPARROW},
        {crHourGlass, IDC_WAIT},       {crNo, IDC_NO},
        {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
        {crHandPoint, IDC_HAND},       {crSizeAll, IDC_SIZEALL},
        {crHSplit, IDC_SIZEWE},        {crVSplit, IDC_SIZENS},
        {crDrag, IDC_ARROW},           {crNoDrop, IDC_NO},
    };
    if (Index == crNone)
        return nullptr;
    if (const auto Set = FCursors.find(Index); Set != FCursors.end())
        return Set->second;
    if (Index > 0) {
        if (const HCURSOR Own = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(Index)))
            return Own;
    }
    for (const auto& Entry : System)
        if (Entry.Cursor == Index)
            return LoadCursorW(nullptr, Entry.Id);
    return LoadCursorW(nullptr, IDC_ARROW);
}

void TScreen::SetCursors(TCursor Index, HCURSOR Cursor) {
    if (Cursor)
        FCursors[Index] = Cursor;
    else
        FCursors.erase(Index);
}

void TScreen::SetCursor(TCursor Value) {
    if (FCursor == Value)
        return;
    FCursor = Value;
    if (Value != crDefault) {
        ::SetCursor(Cursors(Value));
        return;
    }
    // Back to each window's own cursor: ask the window under the pointer to set it.
    POINT Pointer{};
    if (!GetCursorPos(&Pointer))
        return;
    const HWND Under = WindowFromPoint(Pointer);
    if (Under && GetWindowThreadProcessId(Under, nullptr) == GetCurrentThreadId())
        SendMessageW(
            Under, WM_SETCURSOR, reinterpret_cast<WPARAM>(Under),
            MAKELPARAM(SendMessageW(Under, WM_NCHITTEST, 0, MAKELPARAM(Pointer.x, Pointer.y)),
                       WM_MOUSEMOVE));
    else
        ::SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}
