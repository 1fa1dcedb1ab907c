#pragma once
// The main program's window: a borderless face over the background picture with the left
// column of areas, the top-right buttons, the page title, the notebook of the wizard's pages and
// Back and Next. The logic lives in TMainCore; the window turns clicks into its calls and shows
// what it reports. Each page makes its controls when it is first shown (MainForm<Page>.cpp).

#include "classlib/gui/ComCtrls.h"
#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/Forms.h"
#include "classlib/gui/HintWindow.h"
#include "classlib/gui/ImgList.h"
#include "classlib/gui/StdCtrls.h"
#include "controls/BitmapProgress.h"
#include "controls/FlatButton.h"
#include "controls/FlatHint.h"
#include "controls/FlatComboBox.h"
#include "controls/FlatSpinEdit.h"
#include "controls/HyperLabel.h"
#include "controls/avImageExpandButton.h"
#include "main/Backup.h"
#include "main/FileActions.h"
#include "main/FileKinds.h"
#include "main/Launchers.h"
#include "main/MainCore.h"
#include "main/SystemTweaks.h"
#include "treelist/CvTree.h"

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <vector>

class TFeatureContext;
class TCvTree;
class TCvTreeItem;
class TFlatCheckBox;
class TFlatEdit;
class TFlatRadioButton;
class TFlatSpinEditInteger;
class TDuplicateFinder;
class TFileActions;
class TFolderCleaner;
class TOrganizeFolders;
class TRecoveryList;
class TRecoveryStore;
class TSplitPages;
class TImageList;
class TRoundedFlatSpeedButton;
class TStartupManager;
class TAddRemovePrograms;
class TShutdownManager;
class TRegistryCleaner;
class TInternetPrivacy;
class ICookiePicker;
struct TStartupEntry;
struct TStartupEnvironment;
struct TUninstallEnvironment;
struct TShutdownEnvironment;
class TMenuItem;
class TPopupMenu;
class TfrmFilter;
class TfrmOrganize;
class TfrmProgress;

// The hint window of the main program: see-through (alpha 200 of 255).
class TTransparentHint : public THintWindow {
public:
    using THintWindow::THintWindow;
    static constexpr BYTE Alpha = 200;

protected:
    void CreateParams(TCreateParams& Params) const override;
    void CreateWnd() override;
};

// Asks for a folder: true with Folder set when the user chose one.
using TFolderPicker = std::function<bool(HWND Owner, const String& Caption, String& Folder)>;

struct TMainFormEnvironment {
    TMainCoreEnvironment Core;
    // Null: the shell's folder picker.
    TFolderPicker PickFolder;
    // Null: the scheduler is started or asked as the launcher does it.
    std::function<void()> ShowScheduler;
    // Null: the report viewer is shown modally. Tests look at the viewer instead.
    std::function<void()> ShowReportViewer;
    // Asks for a new junk mask and its description; null: the junk-mask dialog.
    std::function<bool(String& Extension, String& Description)> AskJunkMask;

    // ---- the duplicate, store, folder-cleaner, split and backup pages; null: the program's own
    // Files to open: one, or several with Multi; true when chosen.
    std::function<bool(HWND Owner, bool Multi, std::vector<String>& Files)> PickFiles;
    // A name or mask allowed to have copies (TfrmDuplicatesOptionsEdit).
    std::function<bool(String& Name)> AskAllowedDuplicate;
    // A stored FTP connection (TfrmFTPConnections).
    std::function<bool(TBackup& Backup, TFtpConnection& Connection)> PickFtpConnection;
    // The please-wait window's stand-in.
    IProgress* PleaseWait = nullptr;
    // ---- pages II
    // Shows a startup entry's dialog; null: TfrmStartUpEdit. Accept checks the fields and
    // keeps the dialog open when it answers false.
    using TStartupAccept =
        std::function<bool(const String& Name, const String& CommandLine, int Location)>;
    std::function<void(const TStartupEntry* Editing, const TStartupAccept& Accept)> EditStartup;
    // The cookie picker; null: TfrmCookieList.
    ICookiePicker* CookiePicker = nullptr;
    // The about box; null: TfrmAbout, shown modally.
    std::function<void()> ShowAbout;
    // Where the startup manager, the uninstaller list, the tweaks and the shutdown task act;
    // null: the system's places. Tests point them at keys of their own.
    std::function<void(TStartupEnvironment&)> AdjustStartup;
    std::function<void(TUninstallEnvironment&)> AdjustUninstall;
    std::function<void(TTweakEnvironment&)> AdjustTweaks;
    std::function<void(TShutdownEnvironment&)> AdjustShutdown;
    // The shell calls of the launchers (mail, support page, defragmenter) and of the folder
    // cleaner (explore); null: the shell.
    std::function<void(const TShellRequest&)> ShellRun;
    // Asks for the result filter; false on Cancel. Null: the filter dialog.
    std::function<bool(TFilterCriteria& Criteria)> AskFilter;
    // The progress of removals, zips, backups, splits and joins; null: the progress window.
    IProgress* Progress = nullptr;
    // Opens a popup menu at the mouse; null: the menu pops up.
    std::function<void(TPopupMenu& Menu)> PopupMenu;
    // Asks for the name of a zip archive to write; null: the save dialog (".zip" added to a name
    // typed without one, replacing an existing file asked).
    std::function<bool(String& ArchiveName)> AskArchiveName;
    // Asks for the folder found files are moved into; null: the organize dialog.
    std::function<bool(String& Folder)> PickOrganizeFolder;
    // The pictures and type names of the result rows; null: the shell.
    TFileKindLookup FileKindLookup;
};

// The large pictures of the pages, in the order they are loaded from Data\Buttons\Big\: the
// component's name and its file.
struct TPictureFile {
    const wchar_t* Name;
    const wchar_t* File;
};
extern const std::array<TPictureFile, 31> BigPictures;
// The pictures load in order under one guard: the first that cannot be read leaves it and every
// later one empty. Returns how many load, given whether each file can be read.
int LoadablePictureCount(const std::vector<bool>& Readable);

// The save dialog of an archive name: "ZIP Files(*.zip)|*.zip", ".zip" added to a name typed
// without an extension, and replacing an existing file asked. Show: the system's dialog when null.
bool AskArchiveFileName(HWND Owner, const String& Title, String& FileName,
                        std::function<bool(OPENFILENAMEW& Params)> Show = nullptr);
// The menu pages place their features in a grid of two columns: the top left of slot Slot.
inline constexpr int MenuColumnWidth = 262;
TPoint MenuSlotOrigin(int Slot);
// The pages of two choices (backup or restore, local or remote, split or combine) stack them:
// the top left of choice Index, its link beside the picture and its help button under the link.
TPoint ChoiceOrigin(int Index);
inline constexpr int ChoiceTextLeft = 80;
inline constexpr int ChoiceLinkTop = 22, ChoiceHelpTop = 44;
// Appends to List one 16-pixel picture per colour: a dot of the colour, or nothing for clNone.
void AddDotPictures(TImageList& List, std::initializer_list<TColor> Colours);
// The pictures of the store, split, backup and restore lists by index.
enum TListPicture : int {
    lpDay = 0,
    lpFile = 1,
    lpFolder = 3,
};
// Appends the 16-pixel list pictures in the order of their indices (2 stays blank).
void AddListPictures(TImageList& List);

class TfrmMain : public TForm {
public:
    TfrmMain(TComponent* AOwner, TMainFormEnvironment Environment);
    ~TfrmMain() override;

    TMainCore& Core() { return *FCore; }

    // While a scan loop runs only Stop and Minimize act, and Close waits for the loop to end.
    bool Busy() const { return FBusy; }
    // Makes the controls of every page now, as showing each would (for checks of the layout).
    void CreateAllPages();

    // ---- handlers (the buttons, pictures and labels call these)
    void AreaClick(TMainArea Area);
    void ModeClick(int Mode);
    void btnBackClick();
    void btnNextClick();
    void btnCloseClick();
    void btnMinimizeClick();
    void btnSchedulerClick();
    void btnStopScanClick();
    void btnScanStaticticsClick();
    void btnAllDrivesClick();
    void btnAddScanDriveClick();
    void btnClearAllPathsClick();
    void btnAddJunkFilesOptionClick();
    void btnScanResultsSelectAllClick();
    void btnScanResultsUnSelectAllClick();

    // ---- the lists: paths, junk masks and results
    void btnDeleteDriveClick();
    void btnDeleteJunkFilesOptionsClick();
    void btnScaResultsFilterClick();
    void btnScaResultsClearFilterClick();
    void btnScanResultsCleanAllClick();
    void lvScanResultsDblClick();
    // The one-file commands act on the focused row of the results; the checked-file commands on
    // the checked rows.
    void RemoveFocusedResult(TRemoveKind Kind);
    void RemoveCheckedResults(TRemoveKind Kind);
    void btnScanResultsPackClick();
    void btnScanResultsOrganizeClick();
    void ZipFocusedResult();
    void BackupFocusedResult();
    void MoveFocusedResult();
    // The record of a result row.
    static TFile* RecordOf(const TCvTreeItem* Item);

    // ---- the window's own controls
    TImage* MainImage = nullptr;
    TNotebook* MainNotebook = nullptr;
    TImage* nimage = nullptr;
    TLabel* labActivePage = nullptr;
    TavImageExpandButton* btnBack = nullptr;
    TavImageExpandButton* btnNext = nullptr;
    TavImageExpandButton* btnMinimize = nullptr;
    TavImageExpandButton* btnClose = nullptr;
    TavImageExpandButton* btnScheduler = nullptr;
    // The left column, by TMainArea.
    std::array<TImage*, 5> AreaPictures{};
    std::array<THyperLabel*, 5> AreaLabels{};
    std::array<TBevel*, 5> AreaBevels{};
    TTimer* TimerScan = nullptr;

    // ---- page controls, made with their pages
    // Scan
    TAnimate* ScanAnimate = nullptr;
    TLabel* labScanTitle = nullptr;
    TLabel* labScanFile = nullptr;
    TLabel* labScanningFileName = nullptr;
    TavImageExpandButton* btnStopScan = nullptr;
    // CleanOptions
    TNotebook* CleanOptionsNoteBook = nullptr;
    TImage* oimage = nullptr;
    TLabel* labCleanOptionsTitleDescription = nullptr;
    TFlatSpinEditFloat* edLargeOldLarge = nullptr;
    TFlatComboBox* cmbSizeUM = nullptr;
    TFlatSpinEditFloat* edLargeOldOld = nullptr;
    TFlatComboBox* cmbPeriods = nullptr;
    // ScanResults
    TLabel* labScanResultsFilesFoundValue = nullptr;
    TLabel* labScanResultsWastingValue = nullptr;
    TavImageExpandButton* btnScanStatictics = nullptr;
    // ScanStatistics
    std::array<TBitmapProgress*, 4> Progress{};
    std::array<TLabel*, 4> labProgress{};
    // The lists, made with their pages.
    TCvTree* DrivesList = nullptr;
    TCvTree* lvJunkFilesOptions = nullptr;
    TPanel* pnlScanResults = nullptr;
    TCvTree* lvScanResults = nullptr;
    TavImageExpandButton* btnScaResultsClearFilter = nullptr;
    // Zip and move the checked files: offered where ResultCommandsShown holds.
    std::array<TavImageExpandButton*, 2> CheckedFileButtons{};
    // The shell's small icons (shared) and the pictures of the three safety classes.
    TImageList* SystemImages = nullptr;
    TImageList* SecurityImageList = nullptr;
    // The day, file and folder pictures of the store, split, backup and restore lists.
    TImageList* RecoveryFilesImageList = nullptr;
    // The application's hint look and pauses; the main window then shows its hints see-through.
    TFlatHint* FlatHint1 = nullptr;
    // Hidden: the spin edits' arrows take its colours.
    TFlatButton* btnBTNForSpins = nullptr;
    // The results list's one-file menu and the clean-all menu of the checked rows.
    TPopupMenu* mnLocalScanResults = nullptr;
    TPopupMenu* mnScanResultsCleanAll = nullptr;

    // ---- duplicates, found-file actions, deleted-file store, folder cleaner, split and
    //      combine, backup and restore
    TDuplicateFinder& Duplicates() { return *FDuplicates; }
    TFileActions& FileActions() { return *FFileActions; }
    TRecoveryList& RecoveryList() { return *FRecoveryList; }
    TFolderCleaner& FolderCleaner() { return *FFolderCleaner; }
    TSplitPages& SplitPages() { return *FSplitPages; }
    TBackup& Backup() { return *FBackup; }

    void btnDuplicateFilesClick();
    void btnAddAllowedDuplicatesClick();
    void btnDeleteAllowedDuplicatesClick();
    void lvDuplicatesScanResultsItemSelectedChange();
    void ShowDuplicateGroups();
    // The results list's commands on the checked rows.
    void mnLocalScanResultsBackupFilesClick();
    void btnRestoreDeletedFilesClick();
    void btnSelectAllRecoveryFilesClick();
    void btnUnselectAllRecoveryFilesClick();
    void btnRecoveryFilesClick();
    void btnDeleteRecoveryFilesClick();
    void btnFolderCleanerClick();
    void btnFolderCleanerAddFolderClick();
    void btnFolderCleanerRemoveFolderClick();
    void btnFolderCleanerExploreFolderClick();
    void btnFolderCleanerEmptyFolderClick();
    void btnSplitFilesClick();
    void btnSplitFilesFileToSplitBrowseClick();
    void edSplitFilesDestinationBrowseClick();
    void btnSplitFilesSplitClick();
    void btnCombineFilesClick();
    void lvUnSplitFilesItemSelectedChange();
    void btnUnSplitFilesBrowseClick();
    void btnUnsplitFilesCombineClick();
    void btnUnsplitFilesDeleteClick();
    void btnBackupDataClick();
    void btnBackupModeClick(int Mode);
    void btnBackupSelectFilesAddFolderClick();
    void btnBackupSelectFilesAddFileClick();
    void btnBackupSelectFilesRemoveClick();
    void btnBackupSelectFilesBackupClick();
    void btnBackupLocalBrowseZIPFileNameClick();
    void chkZipPasswordClick();
    void edZipPasswordChange();
    void btnSaveFTPConnectionClick();
    void btnLoadFTPConnectionClick();
    void btnBackupClick();
    void btnBackupRestoreRestoreFilesClick();
    void btnLocalBackupRestoreClick();
    void btnLocalBackupRemoveClick();
    void btnFTPBackupRestoreClick();
    void btnFTPBackupRemoveClick();

    // DuplicatesFiles (options)
    TCvTree* lvDuplicatesOptions = nullptr;
    TFlatRadioButton* chkDupFileNameOnly = nullptr;
    TFlatRadioButton* chkDupFileNameAndSize = nullptr;
    // ScanResults (duplicate groups)
    TCvTree* lvDuplicatesScanResults = nullptr;
    // RecoveryFiles
    TCvTree* lvRecoveryFiles = nullptr;
    // FolderCleaner
    TCvTree* lvFolderCleaner = nullptr;
    TPopupMenu* mnFolderCleaner = nullptr;
    // SplitFiles
    TFlatEdit* edSplitFilesFileToSplit = nullptr;
    TFlatEdit* edSplitFilesDestination = nullptr;
    TFlatSpinEditInteger* edSplitFilesVolumeSize = nullptr;
    TFlatComboBox* cmbSplitFilesSizeUM = nullptr;
    TFlatCheckBox* chkVariableSize = nullptr;
    TFlatCheckBox* chkSplitFilesDeleteFile = nullptr;
    // UnsplitFiles
    TCvTree* lvUnSplitFiles = nullptr;
    TFlatEdit* edUnsplitFilesDestination = nullptr;
    // BackupSelectFiles
    TCvTree* lvBackupSelectFiles = nullptr;
    // BackupOptions
    TFlatComboBox* cmbZipCompression = nullptr;
    TFlatCheckBox* chkZipPassword = nullptr;
    TFlatEdit* edZipPassword = nullptr;
    TNotebook* BackupDestinationNotebook = nullptr;
    TImage* imgNBBackup = nullptr;
    TFlatEdit* edBackupLocalZIPFileName = nullptr;
    TFlatEdit* edBackupFTPSession = nullptr;
    TFlatEdit* edBackupFTPHost = nullptr;
    TFlatEdit* edBackupFTPPort = nullptr;
    TFlatEdit* edBackupFTPUser = nullptr;
    TFlatEdit* edBackupFTPPassword = nullptr;
    TFlatEdit* edBackupFTPRemoteDir = nullptr;
    TFlatEdit* edBackupFTPArchive = nullptr;
    // Restore
    TCvTree* lvLocalBackupRestore = nullptr;
    TCvTree* lvFTPBackupRestore = nullptr;
    // ---- pages II: help and launchers, system configuration, startup manager, add/remove
    // programs, shutdown manager, system tweaks, registry cleaner, internet privacy
    void btnHelpClick();
    void btnSupportClick();
    void btnTellAFriendClick();
    void btnAboutClick();
    void btnDefragment2Click();
    // A small help button: the help file at its topic.
    void HelpButtonClick(const String& ButtonName);
    void btnStartUpManagerClick();
    void btnRefreshStartupClick();
    void btnAddStartupClick();
    void btnEditStartupClick();
    void btnDeleteStartupClick();
    void btnAddRemoveProgramsClick();
    void btnAddRemoveProgramsRefreshClick();
    void btnAddRemoveProgramsUninstallClick();
    void btnAddRemoveProgramsDeleteClick();
    void Properties1Click();
    void btnShutDownManagerClick();
    void chkShutdownManagerEnableClick();
    void cmbShutdownManagerWhenClick();
    void btnShutdownManOkClick();
    void btnSystemTweakClick();
    void btnSystemTweakOKClick();
    void chkTweakLogonEnabledClick();
    void btnRegistryCleanerClick();
    void btnRegistryCleanerSelectAllClick();
    void btnRegistryCleanerUnselectAllClick();
    void btnRegistryCleanerRemoveClick();
    TStartupManager& StartupManager() { return *FStartup; }
    TAddRemovePrograms& AddRemovePrograms() { return *FUninstall; }
    TShutdownManager& ShutdownManager() { return *FShutdown; }
    TSystemTweaks& SystemTweaks() { return *FTweaks; }
    TRegistryCleaner& RegistryCleaner() { return *FRegistry; }
    TInternetPrivacy& InternetPrivacy() { return *FPrivacy; }

    // The status pictures of the startup, uninstaller and registry lists.
    TImageList* StatusImages = nullptr;
    TavImageExpandButton* btnTellAFriend = nullptr;
    TavImageExpandButton* btnHelp = nullptr;
    TavImageExpandButton* btnSupport = nullptr;
    TavImageExpandButton* btnAbout = nullptr;
    // StartUpManager
    TCvTree* lvStartupManager = nullptr;
    TPopupMenu* mnStartUp = nullptr;
    // AddRemovePrograms
    TCvTree* lvAddRemovePrograms = nullptr;
    TPopupMenu* mnUninstallPrograms = nullptr;
    // ShutdownManager
    TFlatCheckBox* chkShutdownManagerEnable = nullptr;
    TFlatComboBox* cmbShutdownManagerWhen = nullptr;
    TFlatSpinEditInteger* edShutdownManagerHour = nullptr;
    TFlatSpinEditInteger* edShutdownManagerMin = nullptr;
    TFlatSpinEditInteger* edShutdownManagerEvery = nullptr;
    TLabel* labShutdownManagerEvery = nullptr;
    TLabel* lablShutdownManagerUM = nullptr;
    TLabel* labShutdownRunOn = nullptr;
    TFlatComboBox* cbWeekDay = nullptr;
    TFlatSpinEditInteger* edMonthlyDay = nullptr;
    TLabel* labMonthlyMonth = nullptr;
    TFlatSpinEditInteger* edShutdownRunDay = nullptr;
    TFlatSpinEditInteger* edShutdownRunMonth = nullptr;
    TFlatSpinEditInteger* edShutdownRunYear = nullptr;
    // The date of a single run: its caption, and DD, MM and YYYY under the edits.
    TLabel* labShutdownRunDate = nullptr;
    std::array<TLabel*, 3> labShutdownDate{};
    TFlatCheckBox* chkShutdownManagerAsk = nullptr;
    TFlatComboBox* edShutdownManUsername = nullptr;
    TFlatEdit* edShutdownManPassword = nullptr;
    TLabel* labNextRunTime = nullptr;
    // SystemTweak
    TCvTree* lvSystemTweakSelector = nullptr;
    TNotebook* RegTweakNotebook = nullptr;
    TImage* imgTweak = nullptr;
    TLabel* labRegTweakCategory = nullptr;
    TControl* FlatGroupBox4 = nullptr;
    // RegistryCleaner (options and results)
    TFlatRadioButton* rdRegistryCleanerSimple = nullptr;
    TFlatRadioButton* rdRegistryCleanerAdvanced = nullptr;
    TCvTree* lvRegistryCleaner = nullptr;
    TPopupMenu* mnRegistryCleaner = nullptr;

protected:
    void WndProc(TMessage& Message) override;

private:
    // The creation sequence, in the order of the start-up's steps.
    void FormCreate();
    void CreateFrame();
    void CreateLeftColumn();
    void CreateTopButtons();
    void LoadSmallPictures();
    void LoadBackground();

    // One per notebook page that has controls, each in its own file.
    void CreateStartPage(TPage& Page);
    void CreateCleanMyComputerPage(TPage& Page);
    void CreateDrivesPage(TPage& Page);
    void CreateCleanOptionsPage(TPage& Page);
    void CreateScanPage(TPage& Page);
    void CreateScanResultsPage(TPage& Page);
    void CreateScanStatisticsPage(TPage& Page);
    void CreateDuplicatesOptionsPage(TPage& Page);
    // The results page's back-up command of the checked files and the duplicate groups.
    void CreateResultFileCommands(TPage& Page);
    void CreateDuplicateGroupList(TWinControl& Parent);
    // The files and the duplicate groups share the list's room.
    // The group list shows in the duplicate-files mode only.
    void ShowDuplicateGroupList(bool Shown);
    void CreateRecoveryFilesPage(TPage& Page);
    void CreateFolderCleanerPage(TPage& Page);
    void CreateSplitCombinePage(TPage& Page);
    void CreateSplitFilesPage(TPage& Page);
    void CreateUnsplitFilesPage(TPage& Page);
    void CreateBackupRestorePage(TPage& Page);
    void CreateBackupPage(TPage& Page);
    void CreateBackupSelectFilesPage(TPage& Page);
    void CreateBackupOptionsPage(TPage& Page);
    void CreateRestorePage(TPage& Page);
    // pages II
    void CreateAdvancedFeaturesPage(TPage& Page);
    void CreateSystemConfigurationPage(TPage& Page);
    void CreateStartUpManagerPage(TPage& Page);
    void CreateAddRemoveProgramsPage(TPage& Page);
    void CreateShutdownManagerPage(TPage& Page);
    void CreateSystemTweakPage(TPage& Page);
    void CreateRegistryCleanerPage(TPage& Page);
    void CreateRegistryCleanerOptions(TPage& Page);
    void CreateInternetPrivacyPage(TPage& Page);
    // The small help buttons of Page, from the help table.
    void CreateHelpButtons(TMainPage Page, TPage& Host);
    // Makes Page's controls the first time it is shown, then gives them the skin and language.
    void EnsurePageControls(TMainPage Page);

    // Helpers of the page files.
    TavImageExpandButton* MakeButton(TWinControl& Parent, const String& Name, const TRect& Bounds,
                                     TavImageList* Images, int Glyph, std::function<void()> Action);
    // A button of the row under a page's list: its name, glyph and what a click does.
    struct TListButton {
        const wchar_t* Name;
        int Glyph;
        void (TfrmMain::*Click)();
    };
    // Sets the list's column widths so that together they fill its width (FitColumnWidths);
    // GivesWay tells the columns that may shrink, all of them when empty.
    static void FitColumnsToList(TCvTree& List, std::vector<bool> GivesWay = {});
    // A row whose check box the user changed becomes its list's focused and selected row.
    static void SelectCheckedRow(TCvTree& List, TCvTreeItem& Row);
    // The list that fills a page above its row of buttons, with the status images.
    TCvTree* MakePageList(TWinControl& Page, const String& Name);
    // The row of buttons under a page's list, from the left: each Width wide, Step from the last.
    void MakeListButtons(TWinControl& Page, std::initializer_list<TListButton> Buttons, int Width,
                         int Step);
    THyperLabel* MakeLink(TWinControl& Parent, const String& Name, const TRect& Bounds,
                          std::function<void()> Action);
    // A large picture of a page, loaded when its file is among the loadable ones.
    TImage* MakeBigPicture(TWinControl& Parent, const String& Name, const TRect& Bounds,
                           std::function<void()> Action);
    // A label whose caption comes from its language section.
    TLabel* MakeLabel(TWinControl& Parent, const String& Name, const TRect& Bounds);
    // Entry Slot of a menu page's grid of features: its large picture and its link.
    void MakeMenuEntry(TWinControl& Page, int Slot, const String& Picture, const String& Link,
                       std::function<void()> Action);
    // Choice Index of a page of two choices: its large picture and its link.
    void MakeChoiceEntry(TWinControl& Page, int Index, const String& Picture, const String& Link,
                         std::function<void()> Action);
    // Wraps a handler in the busy rule: while a loop runs, it does nothing.
    TNotifyEvent Guarded(std::function<void()> Action);
    // The busy rule for a list's check boxes: while a loop runs, a clicked box goes back as it
    // was and Checked is not called.
    TCvTreeCore::TItemEvent GuardedCheck(std::function<void(TCvTreeItem* Item)> Checked);
    // The busy rule for a list whose chosen row fills the page: while a loop runs, the user's
    // focus and selection stay where they are and Chosen is not called.
    void GuardChoice(TCvTree& List, std::function<void()> Chosen);
    bool ChoiceAllowed() const { return !FBusy || FChoosingInCode; }
    // A copy of the background placed so that it continues the window's behind Parent.
    TImage* MakeBackgroundCopy(TWinControl& Parent, const String& Name);
    void MoveBackgroundCopy(TImage& Copy, TWinControl& Page);

    // What the core reports.
    void PageChanged(TMainPage Page);
    void ScanStarted(bool ShowsCurrentPath);
    void ScanEnded();
    void StatisticsChanged(const TScanStatistics& Statistics);
    void ShowCurrentScanPath();
    void CleanOptionsPageChanged();
    // Runs a loop of the core under the busy rule; a Close asked for meanwhile follows it.
    void RunLoop(const std::function<void()>& Loop);

    // The lists show the core's rows: each is filled again from them after a change.
    void FillDrivesList();
    void FillJunkList();
    // One pass over the records; a row keeps its record as its ItemObject and takes its texts
    // and picture from it when painted. A long fill keeps the window answering, and Stop ends
    // it: the results then keep the rows listed.
    void FillResultsList();
    void FillResultRows();
    String ResultCellText(const TFile& File, int SectionIndex) const;
    // The commands the mode offers under the result list, which takes the room left.
    void PlaceResultCommands(int Mode);
    // The per-file pictures of the rows on screen, asked after they were painted.
    void ResolveResultPictures();
    // Check boxes and hidden state of the result rows from their records.
    void ShowResultStates();
    void SetResultColumns(int Mode);
    void ResultChecked(TCvTreeItem* Item);
    // The results' row of a list row; -1 when it has none.
    int ResultIndexOf(const TCvTreeItem* Item) const;
    // The record of a list row while the results hold it; null once it went.
    const TFile* ListedRecordOf(const TCvTreeItem* Item) const;
    TPopupMenu*
    MakeMenu(const String& Name,
             std::initializer_list<std::pair<const wchar_t*, std::function<void()>>> Items);
    void CreateListImages();
    void CreateFileActions();
    bool AskFilter(TFilterCriteria& Criteria);
    bool AskArchiveName(String& ArchiveName);
    bool PickOrganizeFolder(String& Folder);
    void ReadOptions();

    // The feature logic of the duplicate, store, folder-cleaner, split and backup pages, made
    // once the tables are open.
    void CreateFileFeatures();
    // The lists show what their logic holds.
    void ShowAllowedDuplicates();
    void ShowRecoveryFiles();
    void ShowFolderCleanerFolders();
    void ShowSplitRecords();
    void ShowBackupSelection();
    void ShowBackupRecords();
    // The results changed under the list: it and the numbers follow.
    void ResultsChanged();
    bool PickFolder(const String& Caption, String& Folder);
    // A page's check boxes into its logic's rows.
    void ReadRecoveryChecks();
    // The folder picker's caption of the language section "SelectFolder".
    String SelectFolderCaption() const;
    // pages II: the logic behind them, made with the window.
    void CreateSystemFeatures();
    void FillStartupList();
    void FillProgramList();
    void ShutdownSettingsToPage();
    void ShutdownPageToSettings();
    void TweaksToPage();
    void PageToTweaks();
    void ShowTweakCategory(const TCvTreeItem* Row);
    void FillRegistryList();
    // The focused row's index of a list, none without one.
    static std::optional<std::size_t> FocusedIndex(const TCvTree& List);

    void FormCloseQuery(bool& CanClose);
    void FormClose();
    void ShowReportViewer();

    TMainFormEnvironment FEnvironment;
    std::unique_ptr<IPrompt> FPrompt;
    std::unique_ptr<IShell> FShell;
    std::unique_ptr<TMainCore> FCore;
    std::unique_ptr<TFeatureContext> FContext;
    std::unique_ptr<TLaunchers> FLaunchers;
    std::unique_ptr<TStartupManager> FStartup;
    std::unique_ptr<TAddRemovePrograms> FUninstall;
    std::unique_ptr<TShutdownManager> FShutdown;
    std::unique_ptr<TSystemTweaks> FTweaks;
    std::unique_ptr<TRegistryCleaner> FRegistry;
    std::unique_ptr<TInternetPrivacy> FPrivacy;
    std::unique_ptr<ICookiePicker> FOwnCookiePicker;
    class TfrmPleaseWait* FPleaseWaitForm = nullptr;
    bool FShutdownPageLoading = false;
    TWindowsVersion FTweakWindows;
    // What each tweak control showed after the settings were read.
    std::map<String, TTweakField> FTweakShown;
    int FLoadableBigPictures = 0;
    std::array<bool, MainPageCount> FPageBuilt{};
    bool FBusy = false;
    // A list's row chosen by the program itself, which the busy rule lets through.
    bool FChoosingInCode = false;
    bool FCloseWhenIdle = false;

    // The results' commands and what they need.
    std::unique_ptr<TfrmProgress> FProgressWindow;
    std::unique_ptr<TFileFeatureContext> FFileContext;
    std::unique_ptr<TRecoveryStore> FRecoveryStore;
    std::unique_ptr<TBackup> FBackup;
    std::unique_ptr<TFileActions> FFileActions;
    // Made at its first show and kept: later shows start from the last choice.
    std::unique_ptr<TfrmFilter> FFilter;
    std::unique_ptr<TOrganizeFolders> FOrganizeFolders;
    std::unique_ptr<TfrmOrganize> FOrganize;
    std::unique_ptr<TFileKinds> FFileKinds;
    TTimer* FFileKindTimer = nullptr;
    // The mode the result list was filled in: its columns.
    int FResultListMode = 0;
    // Stop or Close was asked while the result list filled.
    bool FResultFillStopped = false;

    // ---- the duplicate, store, folder-cleaner, split and backup logic (after the results'
    //      commands, whose store, backup and progress window it uses)
    IProgress* FProgress = nullptr;
    IProgress* FPleaseWait = nullptr;
    std::unique_ptr<TRecoveryList> FRecoveryList;
    std::unique_ptr<TDuplicateFinder> FDuplicates;
    std::unique_ptr<TFolderCleaner> FFolderCleaner;
    std::unique_ptr<TSplitPages> FSplitPages;
    std::vector<TBackupRecord> FLocalBackups;
    std::vector<TBackupRecord> FFtpBackups;
};
