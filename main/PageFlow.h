#pragma once
// The main window's wizard: the active feature (mode), the pages of the main notebook, their
// titles and buttons, and where Back and Next lead. No window: the form shows what this says.

#include "classlib/rtl/SysUtils.h"
#include "main/MainMode.h"

#include <array>
#include <functional>
#include <optional>

// The pages of MainNotebook in index order.
enum TMainPage : int {
    pgMainForm,
    pgDrives,
    pgScan,
    pgCleanMyComputer,
    pgCleanOptions,
    pgScanResults,
    pgScanStatistics,
    pgRecoveryFiles,
    pgRegistryCleaner,
    pgAdvancedFeatures,
    pgInternetPrivacy,
    pgFolderCleaner,
    pgSplitCombine,
    pgSplitFiles,
    pgUnsplitFiles,
    pgBackupSelectFiles,
    pgBackupRestore,
    pgBackup,
    pgBackupOptions,
    pgRestore,
    pgSystemConfiguration,
    pgStartUpManager,
    pgAddRemovePrograms,
    pgShutdownManager,
    pgSystemTweak,
};
inline constexpr int MainPageCount = 25;

// The notebook's page name ("MainForm", "Drives", ...).
String PageName(TMainPage Page);
std::optional<TMainPage> PageByName(const String& Name);

// Message key of a mode's title ("sModJunkFiles"); empty for modes without one.
String ModeTitleKey(int Mode);
// Message key of a page's own title; empty when the page shows its mode's title. The start
// page has no key: its title is a single blank.
String PageTitleKey(TMainPage Page);

// The five areas of the left column and the start page; each shows its bevel when active.
enum TMainArea : int {
    arNone = -1,
    arCleanMyComputer,
    arSystemConfiguration,
    arBackupData,
    arAdvancedFeatures,
    arRestoreDeletedFiles,
};
TMainPage AreaPage(TMainArea Area);

// What a feature button leads to: the main page and the page of CleanOptionsNoteBook
// ("JunkFiles", "LargeFiles", "OldFiles", "DuplicatesFiles", "RegistryCleaner"; empty when the
// mode has no options page).
struct TModeEntry {
    TMainPage Page = pgMainForm;
    String OptionsPage;
};
TModeEntry ModeEntry(int Mode);

// Which of the window's navigation controls a page shows. ScanStatistics is set only on the
// results page; other pages leave that button as it is.
struct TPageButtons {
    bool Back = true;
    bool Next = false;
    std::optional<bool> ScanStatistics;
    // The five area pictures and their labels.
    bool LeftColumn = true;
};
TPageButtons PageButtons(TMainPage Page, int Mode);

// One step back from Page. Arriving at (or staying on) the start page resets the area.
TMainPage BackTarget(TMainPage Page, int Mode);

// What Next asks for on a page; pages without Next ask for nothing.
enum TNextAction {
    naNone,
    naBackupStep,        // the backup step of the backup selection
    naFileScan,          // the start step and scan run
    naEmptyFolderSearch, // mode 5 on the drive page
    naCleanOptions,      // show the options page
    naRegistryScan,      // mode 7 on the options page
};
TNextAction NextAction(TMainPage Page, int Mode);

// The two title tables, read once from the language file.
class TPageTitles {
public:
    using TMessageLookup = std::function<String(const String& Key)>;

    void Load(const TMessageLookup& Message);
    // The page's own title, else the mode's.
    const String& Title(TMainPage Page, int Mode) const;

private:
    std::array<String, MainModeCount> FModeTitles;
    std::array<String, MainPageCount> FPageTitles;
};

// The state of the wizard. Every change of page, including a step that stays on the same page,
// ends in OnPageChanged, after which the form reads Page(), Mode() and ActiveArea().
class TPageFlow {
public:
    TMainPage Page() const { return FPage; }
    int Mode() const { return FMode; }
    TMainArea ActiveArea() const { return FArea; }

    void ShowPage(TMainPage Page);
    // A feature button: the mode and the mode's first page. Page overrides that page (the
    // backup modes start on the options page when they take the checked scan results).
    void EnterMode(int Mode, std::optional<TMainPage> Page = std::nullopt);
    // An area button: the area is reset, its bevel shown and its page shown.
    void EnterArea(TMainArea Area);
    // Mode 0 and no active area (all bevels hidden).
    void ResetMainMenu();
    void Back();
    // Shows the options page itself; any other action is the caller's to run.
    TNextAction Next();

    std::function<void(TMainPage Page)> OnPageChanged;

private:
    TMainPage FPage = pgMainForm;
    int FMode = mdNone;
    TMainArea FArea = arNone;
};
