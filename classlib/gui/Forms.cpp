#include "classlib/gui/Forms.h"

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

DWORD BorderStyleBits(TFormBorderStyle Style) {
    switch (Style) {
    case bsNone:
        return WS_POPUP;
    case bsSingle:
        return WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    case bsDialog:
        return WS_POPUP | WS_CAPTION | WS_SYSMENU;
    case bsSizeable:
        break;
    }
    return WS_OVERLAPPEDWINDOW;
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
    Params.Style = WS_CLIPCHILDREN | BorderStyleBits(FBorderStyle);
    Params.ExStyle = 0;
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
    if (Message.Msg == WM_CLOSE) {
        Close(); // the close sequence decides; the window itself stays until the form goes
        return;
    }
    TWinControl::WndProc(Message);
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
    if (Position == poDesktopCenter)
        SetBounds((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2,
                  (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2, Width(), Height());
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

void TApplication::WndProc(TMessage& Message) {
    if (Message.Msg == WM_RELEASE_FORMS) {
        DeleteReleasedForms();
        return;
    }
    for (const TWindowHook& Hook : FHooks)
        if (Hook(Message))
            return;
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
    TranslateMessage(&Msg);
    DispatchMessageW(&Msg);
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

bool ProcessPendingMessages() {
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
    };
    if (Index == crNone)
        return nullptr;
    for (const auto& Entry : System)
        if (Entry.Cursor == Index)
            return LoadCursorW(nullptr, Entry.Id);
    return LoadCursorW(nullptr, IDC_ARROW);
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
