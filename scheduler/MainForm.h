#pragma once
// The scheduler's one window: the configuration window, hidden while the program sits in the
// tray. It owns the schedule, runs the timer's check, answers the main program's messages and
// the session's end, and keeps the Run-key value in step with the scheduler's on/off state.
// Its controls and the tray icon attach to the view model and the tray state held here.

#include "app/Clock.h"
#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/Forms.h"
#include "classlib/gui/ImgList.h"
#include "scheduler/CvTrayIcon.h"
#include "scheduler/SchedCheck.h"
#include "scheduler/SchedFunc.h"
#include "scheduler/SchedRunners.h"
#include "scheduler/SchedShell.h"

#include <memory>

// Messages the window answers.
constexpr UINT WM_SCHED_REVIVE = WM_USER + 2500; // from the main program: open the window
constexpr UINT WM_SCHED_PING = 0x8065;           // answered with SchedPingReply
constexpr UINT WM_SCHED_ACTIVATE = 0x8066;
constexpr UINT WM_SCHED_COMMAND = 0x8067; // WParam: a global atom; "open" opens the window
constexpr LRESULT SchedPingReply = 123456;

// Where the window keeps its settings and what started it.
struct TSchedEnvironment {
    // With a trailing backslash.
    String ProgramFolder;
    String ExePath;
    // qvsched.ini.
    String SettingsFile;
    // Under HKEY_CURRENT_USER.
    String RunKeyPath = SchedRunKeyPath;
    std::vector<String> Params;
    // Null: the system clock.
    const IClock* Clock = nullptr;
};

class TfrmSchedulerMain : public TForm {
public:
    TfrmSchedulerMain(TComponent* Owner, TSchedEnvironment Environment);
    ~TfrmSchedulerMain() override;

    // The command line asked to start hidden.
    bool StartHidden() const { return FCommandLine.Hide; }

    // The tray menu.
    void mnStartMSTClick();
    void mnEnabledClick();
    void mnConfigClick();
    void HideTrayIcon1Click();
    void mnDisableClick();
    void mnCloseClick();
    // The function buttons (0 to 4) and the window's buttons.
    void FuncButtonClick(int Index);
    void btnOKClick();
    void btnCancelClick();
    void btnRunNowClick();
    // The date of the on-a-date interval, picked in the calendar dialog.
    void btnDateClick();
    void TimerTimer();

    // The state the tray menu and icon show.
    bool SchedulerOn() const { return FSchedulerOn; }
    bool HideTrayIcon() const { return FHideTrayIcon; }
    bool AllowClose() const { return FAllowClose; }
    const TTrayIconState& TrayIcon() const { return FTrayIcon; }
    // Where the shell sends the icon's mouse messages.
    HWND TrayIconWindow() const { return CvTrayIcon->IconWindow(); }
    TPopupMenu& TrayPopupMenu() const { return *TrayMenu; }

    // The schedule and what the window's controls show.
    TSchedFuncs Funcs;
    TSchedFuncs SavedFuncs;
    int FuncIndex() const { return FFuncIndex; }
    TSchedView View;
    TModalResult ModalResult = mrNone;

    TSchedRunner& Runner() { return *FRunner; }
    TTimer& Timer() { return *FTimer; }

protected:
    void WndProc(TMessage& Message) override;
    void DoClose(TCloseAction& Action) override;

private:
    String MessageText(const String& Ident) const;
    void LoadSettings();
    void RunStartupCommands();
    void ShowSchedFunc(int Index);
    void StoreShownFunc();
    void SwitchSchedulerOn();
    void CreateTrayMenu();
    void UpdateTrayIcon();
    void SaveAll();
    void HideWindow();
    void EndSession(bool Ending);
    bool OpenCommand(WPARAM Atom);

    TSchedEnvironment FEnv;
    TSchedCommandLine FCommandLine;
    std::unique_ptr<IClock> FOwnClock;
    const IClock& FClock;
    TSchedSettings FSettings;
    std::unique_ptr<IProgress> FPleaseWait;
    std::unique_ptr<TSchedRunner> FRunner;
    std::unique_ptr<TScheduleCheck> FCheck;
    TTimer* FTimer = nullptr;          // owned as a component of the window
    TImageList* ImageList1 = nullptr;  // owned as a component of the window: on, off
    TCvTrayIcon* CvTrayIcon = nullptr; // owned as a component of the window
    // The tray menu and the items whose checks and pictures follow the state; all owned as
    // components of the window.
    TPopupMenu* TrayMenu = nullptr;
    TMenuItem* mnEnabled = nullptr;
    TMenuItem* HideTrayIcon1 = nullptr;
    int FFuncIndex = 0;
    bool FControlsLoaded = false;
    bool FSchedulerOn = true;
    bool FHideTrayIcon = false;
    bool FAllowClose = false;
    // Tray Close and Disable & Close never store the shown function.
    bool FClosingFromTray = false;
    TTrayIconState FTrayIcon;
};
