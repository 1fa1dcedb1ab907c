#pragma once
// The main window's logic without the window: its folders, tables, statistics, page flow, scan
// setup, walk engine and matcher, the file scan, the empty-folder search and the scan results.
// The form creates one, turns user actions into its calls and shows what its events report.

#include "app/Match.h"
#include "app/TreeSearchEngine.h"
#include "classlib/rtl/Classes.h"
#include "classlib/rtl/SysUtils.h"
#include "main/DataTables.h"
#include "main/FileScan.h"
#include "main/MainServices.h"
#include "main/PageFlow.h"
#include "main/ScanResults.h"
#include "main/ScanSetup.h"
#include "main/Statistics.h"

#include <functional>
#include <memory>
#include <vector>

class TLanguage;

// What the main window's logic takes from outside. Null services take the system's.
struct TMainCoreEnvironment {
    // The program folder, with a trailing backslash.
    String AppDir;
    // Empty: the system's Windows folder.
    String WindowsFolder;
    // Empty: "<drive of AppDir>\System Corvanta Backups".
    String BackupFolder;
    // Null: AppLanguage.
    const TLanguage* Language = nullptr;
    const IDriveInfo* Drives = nullptr;
    const IClock* Clock = nullptr;
    IStatusSink* Status = nullptr; // null: the splash window
    IPrompt* Prompt = nullptr;     // null: notices are not shown, questions answered No
    IShell* Shell = nullptr;       // null: files are not opened
};

// "<drive of AppDir>\System Corvanta Backups".
String BackupFolderFor(const String& AppDir);

class TMainCore {
    // First, so that every member below can rely on them.
    String FAppDir;
    String FBackupFolder;
    String FWindowsFolder;
    const TLanguage& FLanguage;
    std::unique_ptr<IDriveInfo> FOwnDrives;
    std::unique_ptr<IClock> FOwnClock;
    std::unique_ptr<IStatusSink> FOwnStatus;
    const IDriveInfo& FDrives;
    const IClock& FClock;
    IStatusSink& FStatus;
    IPrompt* FPrompt;
    IShell* FShell;

    // Owns the matcher and the tables.
    TComponent FComponents{nullptr};

public:
    // Mode 0 on the start page; the mode and page titles are read.
    explicit TMainCore(const TMainCoreEnvironment& Environment);
    // Writes the all-time statistics back to qv.ini when Open read them (a failure is
    // swallowed).
    ~TMainCore();
    TMainCore(const TMainCore&) = delete;
    TMainCore& operator=(const TMainCore&) = delete;

    // Reports the message "sLoading<Step>" (1 to 5) to the status sink.
    void ReportLoading(int Step);
    // The rest of the creation: the folders Data, Temp and the backup folder (failures
    // ignored), the all-time statistics, the tables (EDatabaseError when the database is
    // unusable), every fixed drive in the path list, the junk list and the protected paths.
    void Open();

    const String& AppDir() const { return FAppDir; }
    const IClock& Clock() const { return FClock; }
    const String& BackupFolder() const { return FBackupFolder; }
    // The Windows folder, then the backup folder; files below them are critical.
    const std::vector<String>& ProtectedPaths() const { return Safety.ProtectedPaths(); }
    const TDataTables& Tables() const { return FTables; }
    TMatch& Matcher() { return *FMatcher; }
    TTreeSearchEngine& SearchEngine() { return FSearchEngine; }

    // Texts of the language file: a message, and a component's text (default the section).
    String Message(const String& Key) const;
    String Text(const String& Section, const String& Ident) const;

    // ---- page flow
    TPageFlow Flow;
    TPageTitles Titles;
    // btnNextClick: the page flow's step, then what it asks for.
    void Next();
    // Run by Next where other features take over (registry scan, backup step).
    std::function<void()> OnRegistryScan;
    std::function<void()> OnBackupStep;
    // The Stop button in the registry cleaner's mode.
    std::function<void()> OnStopRegistryScan;

    // ---- scan setup (the junk list after Open)
    TScanPathList ScanPaths;
    TScanOptions Options;
    TSafetyRule Safety;
    const TJunkMaskList& JunkMasks() const { return *FJunkMasks; }
    // btnJunkFilesOptionsDefaultClick; the safety rule follows the list.
    void ReloadJunkMasks();
    // False for a blank mask, which is not stored.
    bool AddJunkMask(const String& Extension, const String& Description);
    // Every record of that mask; returns how many went.
    int DeleteJunkMask(const String& Extension);
    // The duplicate finder's allowed names joined with "; ", used in mode 14.
    String AllowedDuplicateMasks;
    void SetDuplicateGrouper(IDuplicateGrouper* Grouper) { FScan->Grouper = Grouper; }

    // ---- scans
    // btnCleanStartScanningClick: the settings of the active mode, then RunScan.
    void StartScanning();
    // The empty-folder search of every checked path row (mode 5).
    void SearchEmptyFolders();
    // btnStopScanClick.
    void StopScan();
    const String& CurrentScanPath() const { return FScan->CurrentScanPath(); }
    TScanOutcome LastScanOutcome() const { return FLastOutcome; }
    // The scan page is shown right after; false: no current folder is shown (empty folders).
    std::function<void(bool ShowsCurrentPath)> OnScanStarted;
    // The walk is over; the results page is shown right after.
    std::function<void()> OnScanEnded;
    // The results hold the rows of the scan just ended, before their page and notice show.
    std::function<void()> OnResultsFilled;

    // ---- results
    TScanResults Results;
    // UpdateScanStatistics: recounts and reports through OnStatisticsChanged.
    void UpdateScanStatistics();
    std::function<void(const TScanStatistics& Statistics)> OnStatisticsChanged;
    void CheckAll(bool Checked) { Results.CheckAll(Checked); }
    void ApplyFilter(const TFilterCriteria& Criteria);
    void ClearFilter();
    // lvScanResultsDblClick: asks "LaunchFileConfirm" and opens the file on Yes.
    void OpenResult(int Index);

    TStatistics Stats;
    TStringList BackupFileList;

private:
    void ShowNotice(const String& Text);
    // The safety rule follows the junk list.
    void JunkMasksChanged();
    TScanSettings SettingsForMode(int Mode) const;

    TDataTables FTables;
    std::unique_ptr<TJunkMaskList> FJunkMasks;
    TMatch* FMatcher = nullptr;
    TTreeSearchEngine FSearchEngine;
    std::unique_ptr<TFileScan> FScan;
    TScanOutcome FLastOutcome = soCompleted;
    bool FTotalsLoaded = false;
};
