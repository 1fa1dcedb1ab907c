#pragma once
// The scheduler's one window: the configuration window, hidden while the program sits in the
// tray. It owns the schedule, runs the timer's check, answers the main program's messages and
// the session's end, and keeps the Run-key value in step with the scheduler's on/off state.
// Its controls are the view of the shown function: showing and storing move a record in and out
// of them.

#include "app/BFolder.h"
#include "app/Clock.h"
#include "app/FlatForm.h"
#include "classlib/gui/Dialogs.h"
#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/ImgList.h"
#include "controls/FlatButton.h"
#include "controls/FlatCheckBox.h"
#include "controls/FlatComboBox.h"
#include "controls/FlatEdit.h"
#include "controls/FlatHint.h"
#include "controls/FlatPanel.h"
#include "controls/FlatRadioButton.h"
#include "controls/FlatSpinEdit.h"
#include "scheduler/CvTrayIcon.h"
#include "scheduler/SchedCheck.h"
#include "scheduler/SchedFunc.h"
#include "scheduler/SchedRunners.h"
#include "scheduler/SchedShell.h"
#include "treelist/CvTree.h"

#include <array>
#include <functional>
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
    // Asks for a folder, owned by Owner and titled Title; empty: the window's folder browser.
    std::function<bool(HWND Owner, const String& Title, String& Folder)> PickFolder;
    // Tells the user Text with an OK button; empty: the skinned message box.
    std::function<void(const String& Text)> Notice;
};

// The page of each function's list, by function index.
extern const std::array<const wchar_t*, SchedFuncCount> SchedPageNames;

class TfrmSchedulerMain : public TFlatForm {
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
    void CvTrayIconDblClick();
    // The function buttons (0 to 4) and the window's buttons.
    void FuncButtonClick(int Index);
    void btnOKClick();
    void btnCancelClick();
    void btnRunNowClick();
    // The date of the on-a-date interval, picked in the calendar dialog.
    void btnDateClick();
    void TimerTimer();
    // The list pages: Add appends what the folder browser or the open dialog picked, Delete
    // removes the selected row.
    void btnAddFolderClick() { AddPickedFolder(*FoldersTree); }
    void btnJunkAddClick() { AddPickedFolder(*lvJunkFolders); }
    void btnAddLaunchClick();
    void btnDeleteFolderClick() { DeleteSelectedRow(*FoldersTree); }
    void btnDeleteLaunchClick() { DeleteSelectedRow(*LaunchTree); }
    void btnJunkDeleteClick() { DeleteSelectedRow(*lvJunkFolders); }

    // The state the tray menu and icon show.
    bool SchedulerOn() const { return FSchedulerOn; }
    bool HideTrayIcon() const { return FHideTrayIcon; }
    bool AllowClose() const { return FAllowClose; }
    const TTrayIconState& TrayIcon() const { return FTrayIcon; }
    // Where the shell sends the icon's mouse messages.
    HWND TrayIconWindow() const { return CvTrayIcon->IconWindow(); }
    TPopupMenu& TrayPopupMenu() const { return *TrayMenu; }

    // The schedule.
    TSchedFuncs Funcs;
    TSchedFuncs SavedFuncs;
    int FuncIndex() const { return FFuncIndex; }
    TModalResult ModalResult = mrNone;
    // What the shared controls and function Index's list hold now.
    TSchedView ShownView(int Index);

    TSchedRunner& Runner() { return *FRunner; }
    TTimer& Timer() { return *FTimer; }

    // The window's controls, all owned as its components.
    std::array<TFlatButton*, SchedFuncCount> FuncButtons{};
    TNotebook* Notebook = nullptr;
    TLabel* labFuncName = nullptr;
    TFlatCheckBox* chkEnabled = nullptr;
    TCvTree* RegistryList = nullptr;
    TCvTree* PrivacyTree = nullptr;
    TCvTree* FoldersTree = nullptr;
    TCvTree* LaunchTree = nullptr;
    TCvTree* lvJunkFolders = nullptr;
    TFlatGroupBox* grpIntervals = nullptr;
    // radEvery1 ... radEvery8 and edTime1 ... edTime5, by their number less one.
    std::array<TFlatRadioButton*, 8> radEvery{};
    std::array<TFlatSpinEditFloat*, 5> edTime{};
    TFlatSpinEditFloat* edHour = nullptr;
    TFlatSpinEditFloat* edMin = nullptr;
    TFlatComboBox* cmbDays = nullptr;
    TFlatSpinEditFloat* edDayofMonth = nullptr;
    TFlatSpinEditFloat* edMB = nullptr;
    TFlatEdit* edDate = nullptr;
    TFlatButton* btnDate = nullptr;
    TFlatSpinEditFloat* edOnDateHour = nullptr;
    TFlatSpinEditFloat* edOnDateMin = nullptr;
    TavImageExpandButton* btnRunNow = nullptr;
    TavImageExpandButton* btnOK = nullptr;
    TavImageExpandButton* btnCancel = nullptr;
    // The hidden template of the spin edits' arrow colours.
    TFlatButton* btnBTNForSpins = nullptr;
    TFlatHint* FlatHint1 = nullptr;
    TBrowseFolder* BrowseFolder = nullptr;
    TOpenDialog* OpenDialog = nullptr;

protected:
    void WndProc(TMessage& Message) override;

private:
    // Window building, one part per file.
    void CreateControls();
    void CreateFunctionButtons();
    void CreateRegistryPage(TPage& Page);
    void CreatePrivacyPage(TPage& Page);
    void CreateListPages();
    void CreateIntervals();
    void CreateTrayMenu();
    TavImageExpandButton* MakeButton(TWinControl& Parent, const String& Name, const TRect& Bounds,
                                     bool Big, int Glyph, void (TfrmSchedulerMain::*Handler)());
    // CheckBoxes: only where the rows' check marks are stored.
    TCvTree* MakeList(TWinControl& Parent, const String& Name, int Width, const String& ColumnKey,
                      bool CheckBoxes);
    // The list of function Index (its page's tree-list).
    TCvTree* ListOf(int Index) const;
    void PutView(int Index, const TSchedView& View);
    void ReadList(int Index, TSchedView& View) const;
    void PutList(int Index, const TSchedView& View);

    void AddPickedFolder(TCvTree& List);
    void DeleteSelectedRow(TCvTree& List);
    String MessageText(const String& Ident) const;
    void LoadSettings();
    void RunStartupCommands();
    void ShowSchedFunc(int Index);
    void StoreShownFunc();
    void SwitchSchedulerOn();
    void UpdateTrayIcon();
    void SaveAll();
    void HideWindow();
    void CloseFromTray();
    void RunningChanged(bool Running);
    void FormClose(TCloseAction& Action);
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
    TTimer* FTimer = nullptr;         // owned as a component of the window
    TImageList* ImageList1 = nullptr; // owned as a component of the window: on, off
    TImageList* ImageList2 = nullptr; // the tray menu's pictures
    TImageList* InternetPrivacyImageList = nullptr;
    TCvTrayIcon* CvTrayIcon = nullptr; // owned as a component of the window
    // The tray menu and the items whose checks and pictures follow the state; all owned as
    // components of the window.
    TPopupMenu* TrayMenu = nullptr;
    TMenuItem* mnEnabled = nullptr;
    TMenuItem* mnConfig = nullptr;
    TMenuItem* HideTrayIcon1 = nullptr;
    int FFuncIndex = 0;
    bool FControlsLoaded = false;
    bool FSchedulerOn = true;
    bool FHideTrayIcon = false;
    bool FAllowClose = false;
    // Tray Close and Disable & Close never store the shown function.
    bool FClosingFromTray = false;
    // A tray Close during a run waits for the run's end.
    bool FCloseAfterRun = false;
    // The window was enabled when the run began, and the run disabled it.
    bool FRunDisabledWindow = false;
    TTrayIconState FTrayIcon;
};
