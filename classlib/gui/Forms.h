// Forms and the application object.
#pragma once

#include "classlib/gui/Controls.h"

#include <functional>
#include <map>
#include <utility>
#include <vector>

// ------------------------------------------------------------------- TForm

enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

enum TFormStyle { fsNormal, fsStayOnTop };
// Applied each time the form is shown: poDesktopCenter and poScreenCenter centre it in the work
// area of the monitor the main form is on (the pointer's without one), poMainFormCenter over the
// main form (in that work area without one).
enum TPosition { poDesigned, poDesktopCenter, poScreenCenter, poMainFormCenter };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TEnumSet<TBorderIcon>;

// What ShowModal returns: the ModalResult that ended it.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrAll = mrNo + 1;
constexpr TModalResult mrNoToAll = mrAll + 1;
constexpr TModalResult mrYesToAll = mrNoToAll + 1;

class TForm;
// The form a control stands on, or nullptr.
TForm* GetParentForm(const TControl* Control);

// A top-level window. Create forms with NewForm or Application->CreateForm, so that OnCreate
// runs after the most derived constructor has built the form's controls and bound its handlers.
// OnDestroy runs from ~TForm, when only the TForm part is left: a derived form releases its own
// members in its own destructor.
class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    // Runs OnCreate; an exception from it goes to the application's exception handling.
    virtual void AfterConstruction();

    // Shows the form (OnShow runs first) and brings it to the top.
    void Show();
    // The close sequence: OnCloseQuery may refuse; OnClose picks the action (caHide by
    // default). Closing the main form ends the application's message loop instead.
    void Close();
    // Deletes the form once the message loop is back at its outermost level, so that no handler
    // of the form, nor a nested loop one runs (a modal window, a pump), is left on the stack.
    void Release();

    // Shows the form and handles messages, with the program's other windows disabled, until
    // ModalResult is set (a button, Close, or the system close box, which gives mrCancel) or
    // the application terminates (mrCancel). Hides the form and returns the result. Nests.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    bool Modal() const { return FModal; }

    // The control that has (or gets, when the form is next active) the focus.
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Control);
    // Moves the focus to the next (or previous) control in tab order after Current.
    void SelectNext(TWinControl* Current, bool Forward);
    bool Active() const { return FActive; }

    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);

    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    // Applied whenever the form is shown.
    TPosition Position = poDesigned;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

protected:
    void CreateParams(TCreateParams& Params) const override;
    HWND WindowParent() override;
    void WndProc(TMessage& Message) override;
    void VisibleChanged() override;

    virtual bool CloseQuery();
    virtual void DoClose(TCloseAction& Action);

private:
    friend class TApplication;
    friend class TWinControl;
    void ApplyWindowStyles();
    void ApplyPosition();
    // The focus went to Control: CM_EXIT up from the old one, CM_ENTER down to the new one.
    void FocusControlChanged(TWinControl* Control);
    void Activated(bool Active);
    // Control leaves the form: it cannot stay the active control.
    void ControlRemoved(const TControl* Control);
    // The dialog keys, without the system's dialog manager: Tab and Shift+Tab move the focus,
    // Enter and Escape go to the buttons as CM_DIALOGKEY, an Alt+letter (or a letter the
    // focused control does not type) goes to the controls as CM_DIALOGCHAR. Keys the control
    // asks for (WM_GETDLGCODE) stay with it. Msg is WM_KEYDOWN, WM_CHAR or WM_SYSCHAR from
    // Source; true when the form used the key.
    bool DialogKey(TWinControl& Source, UINT Msg, WORD Key);
    // What the form does with CM_DIALOGKEY and CM_DIALOGCHAR that reach it.
    LRESULT DefaultDialogKey(UINT Msg, WORD Key);

    TFormStyle FFormStyle = fsNormal;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FActive = false;
    TWinControl* FActiveControl = nullptr;
};

// Creates a form owned by Owner and runs its OnCreate.
template <class TFormClass, class... TArgs>
TFormClass* NewForm(TComponent* Owner, TArgs&&... Args) {
    auto* Form = new TFormClass(Owner, std::forward<TArgs>(Args)...);
    Form->AfterConstruction();
    return Form;
}

// ------------------------------------------------------------ TApplication

// Sees every message sent or posted to the application window; true when it handled it.
using TWindowHook = std::function<bool(TMessage& Message)>;

class THintWindow;
// Makes the application's hint window, owned by Owner.
using THintWindowClass = std::function<THintWindow*(TComponent* Owner)>;
THintWindow* DefaultHintWindow(TComponent* Owner);

// The hint about to show, as the control (CM_HINTSHOW, LParam: a THintInfo*) and OnShowHint see
// it; either may change it. A control that answers CM_HINTSHOW non-zero shows no hint.
struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint HintPos;       // the hint's top-left corner on the screen
    int HintMaxWidth = 0; // where the text wraps
    TColor HintColor = clInfoBk;
    TRect CursorRect;    // in the control's client coordinates
    TPoint CursorPos;    // in the control's client coordinates
    int HideTimeout = 0; // milliseconds the hint stays; 0 until the mouse moves on
    String HintStr;      // UTF-16; may hold zero units
    void* HintData = nullptr;
};
using TShowHintEvent = std::function<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;
// Sees each message the loop takes from the queue, before it is dispatched; Handled stops it.
using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;

// The program's application object: its hidden application window, its message loop, its
// main form, and the owner of the forms created with it as owner, which it deletes (last
// first) when it goes. One exists at a time; while it lives it is the global Application.
class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    HWND Handle() const { return FHandle; }
    const String& Title() const { return FTitle; }
    void SetTitle(const String& Value);
    String HelpFile;
    // Full path of the running program.
    static String ExeName();

    TForm* MainForm() const { return FMainForm; }
    bool Terminated() const { return FTerminated; }

    // Nothing is left to prepare (the application window exists from construction); kept for
    // the order of the start-up code.
    void Initialize() {}
    // Creates a form owned by the application; the first one created so becomes the main form.
    template <class TFormClass, class... TArgs> TFormClass* CreateForm(TArgs&&... Args) {
        auto* Form = NewForm<TFormClass>(this, std::forward<TArgs>(Args)...);
        if (!FMainForm)
            SetMainForm(Form);
        return Form;
    }
    // Run shows the main form first unless this is false (a program that starts hidden).
    bool ShowMainForm = true;
    // Shows the main form and handles messages until the application terminates (normally when
    // the main form closes). Returns at once without a main form.
    void Run();
    // Handles the messages waiting now, then returns.
    void ProcessMessages();
    // Ends the message loop.
    void Terminate();
    // Restores the main form when it is minimised.
    void Restore();
    // Brings the main form (or, before there is one, the newest visible form) to the foreground.
    void BringToFront();

    // Reports the exception being handled; call it inside a catch block. Goes to OnException,
    // or to the debugger output without one. An EAbort is silent.
    void HandleException(TObject* Sender) noexcept;
    std::function<void(TObject* Sender, const Exception& E)> OnException;

    // Minimises the main form.
    void Minimize();
    TMessageEvent OnMessage;

    // A hook stays until it is taken out with the number it was given, or until the application
    // goes. Whatever a component installs (a hook, the show-hint handler, the hint window class)
    // may name the component as its Installer: it is taken out when the Installer goes.
    int HookMainWindow(TWindowHook Hook, TComponent* Installer = nullptr);
    void UnhookMainWindow(int HookId);

    // ----- hints
    // A control's hint shows HintPause ms after the mouse comes to rest on it, HintShortPause
    // after another hint was just shown, and hides after HintHidePause (0: when the mouse
    // leaves). A click, a key or leaving the control ends it.
    bool ShowHint() const { return FShowHint; }
    // Turning hints off and on again makes the hint window again, of the class set now.
    void SetShowHint(bool Value);
    int HintPause = 500;
    int HintShortPause = 50;
    int HintHidePause = 2500;
    const THintWindowClass& HintWindowClass() const { return FHintWindowClass; }
    void SetHintWindowClass(THintWindowClass Class, TComponent* Installer = nullptr);
    const TShowHintEvent& OnShowHint() const { return FOnShowHint; }
    void SetOnShowHint(TShowHintEvent Handler, TComponent* Installer = nullptr);
    // The mouse message Message reached Control: the hint manager follows the mouse.
    void HintMouseMessage(TControl* Control, const TMessage& Message);
    // Shows the hint of the control at CursorPos (screen coordinates) now.
    void ActivateHint(TPoint CursorPos);
    // Hides the hint and forgets the control it was for.
    void CancelHint();
    // The hint window, once a hint was shown; null before.
    THintWindow* HintWindow() const { return FHintWindow; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TForm;
    template <class TTarget> friend LRESULT CALLBACK ObjectWndProc(HWND, UINT, WPARAM, LPARAM);
    void WindowProc(TMessage& Message);
    bool ProcessMessage();
    void ShowException(TObject* Sender, const Exception& E) noexcept;
    void SetMainForm(TForm* Form);
    void ReleaseForm(TForm* Form);
    void DeleteReleasedForms();
    void FormDestroyed(TForm* Form);

    enum THintTimer { htNone, htShow, htHide };
    static constexpr UINT_PTR HintTimerId = 1; // of the application window
    void Track(TComponent*& Slot, TComponent* Installer);
    void SetHintControl(TControl* Control);
    void DestroyHintWindow();
    void StartHintTimer(int Milliseconds, THintTimer Purpose);
    void StopHintTimer();
    void HintTimerExpired();
    void HideHint();
    void ShowHintFor(TControl& Control, TPoint CursorPos);

    void UnhookInstaller(TComponent* Installer);

    struct THook {
        int Id;
        TWindowHook Hook;
        TComponent* Installer;
    };

    HWND FHandle = nullptr;
    String FTitle;
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    std::vector<TForm*> FReleased;
    // Dispatches of this loop under way; released forms go when the outermost one returns.
    int FDispatching = 0;
    std::vector<THook> FHooks;
    int FLastHookId = 0;
    bool FShowHint = true;
    THintWindowClass FHintWindowClass = &DefaultHintWindow;
    TComponent* FHintClassInstaller = nullptr;
    TShowHintEvent FOnShowHint;
    TComponent* FShowHintInstaller = nullptr;
    THintWindow* FHintWindow = nullptr;
    TControl* FHintControl = nullptr;
    THintTimer FHintTimer = htNone;
    bool FHintShownRecently = false;
};

extern TApplication* Application;

// The one way to keep windows alive during long work on the window thread: dispatches the
// messages waiting now and returns. False when the program is quitting (the application was
// terminated, or a WM_QUIT arrived; it is left for the main loop), so the work should stop.
bool ProcessPendingMessages();

// ProcessPendingMessages for loops that would pump once per item (a file, a folder, a block, a
// registry key): pumps only when WorkPumpIntervalMs have passed since the last pump, otherwise
// answers as that pump did. Under wine every look into an empty queue is a round trip to the
// server, dearer than the item's work; one clock read is cheap. A Stop posted to the window is
// still seen within about WorkPumpIntervalMs of work.
inline constexpr int WorkPumpIntervalMs = 15;
bool ProcessMessagesDuringWork();

// As under a modal dialog, this thread's windows keep painting and answering while it lives but
// take no input: a click must not start another command in the middle of this one. The windows
// it disabled are enabled again in the reverse order, those that still exist.
class TThreadWindowsDisabled {
public:
    TThreadWindowsDisabled();
    ~TThreadWindowsDisabled();
    TThreadWindowsDisabled(const TThreadWindowsDisabled&) = delete;
    TThreadWindowsDisabled& operator=(const TThreadWindowsDisabled&) = delete;

private:
    std::vector<HWND> FDisabled;
};

// ----------------------------------------------------------------- TScreen

// The screen as the program sees it. Its Cursor, when not crDefault, overrides every window's
// own cursor (the hourglass during long work).
class TScreen : public TObject {
public:
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    // The cursor handle for a TCursor: a system cursor, or a positive one of the program's
    // cursor resources (crHSplit/crVSplit/crDrag/crNoDrop too, with system stand-ins); crDefault
    // and unknown ones give the arrow.
    HCURSOR Cursors(TCursor Index) const;
    // Shows Cursor for Index from now on; nullptr puts the default back. Not owned: a shared
    // cursor, such as one loaded from a system library.
    void SetCursors(TCursor Index, HCURSOR Cursor);

    // The primary screen and its work area (without the taskbar).
    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    // The monitor at a screen point, or the one a window is on (the nearest when none is), as
    // MonitorFromPoint / MonitorFromWindow and GetMonitorInfo tell. Empty sources ask the
    // system; a test answers with monitors of its own.
    struct TMonitorArea {
        TRect Bounds;
        TRect WorkArea; // without the taskbar
    };
    TMonitorArea MonitorAt(TPoint Point) const;
    TMonitorArea MonitorOf(HWND Wnd) const;
    std::function<TMonitorArea(TPoint)> MonitorAtSource;
    std::function<TMonitorArea(HWND)> MonitorOfSource;
    int PixelsPerInch() const { return ScreenPixelsPerInch(); }

    // The focused control of the active form, and that form; null when another program is
    // active.
    TWinControl* ActiveControl() const;
    TForm* ActiveForm() const;

    // Where the mouse is, and which window is active: one seam for both, so that tests can
    // answer instead of the system. Empty functions ask the system.
    TPoint CursorPos() const;
    HWND ActiveWindow() const;
    std::function<TPoint()> CursorPosSource;
    std::function<HWND()> ActiveWindowSource;

private:
    TCursor FCursor = crDefault;
    std::map<TCursor, HCURSOR> FCursors;
};

extern TScreen* const Screen;

// Where a box of Width x Height goes to stand centred in Area.
TRect CentredIn(const TRect& Area, int Width, int Height);
// Rect moved (not resized) as little as it takes to stand inside Area, its top-left corner
// first when it is the larger.
TRect MovedInside(const TRect& Rect, const TRect& Area);

// Sets the screen cursor for the life of the scope, then puts the previous one back.
class TScreenCursor {
public:
    explicit TScreenCursor(TCursor Cursor) : FPrevious(Screen->Cursor()) {
        Screen->SetCursor(Cursor);
    }
    ~TScreenCursor() { Screen->SetCursor(FPrevious); }
    TScreenCursor(const TScreenCursor&) = delete;
    TScreenCursor& operator=(const TScreenCursor&) = delete;

private:
    TCursor FPrevious;
};
