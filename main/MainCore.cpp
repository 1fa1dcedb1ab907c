#include "main/MainCore.h"

#include "app/Language.h"
#include "app/QRVUtils.h"
#include "classlib/db/DBTables.h"
#include "classlib/gui/Forms.h"
#include "classlib/rtl/PathLayer.h"

namespace {

const wchar_t BackupFolderName[] = L"System Corvanta Backups";
const wchar_t NoEmptyFolders[] = L"No 'empty folders' found.";

bool IsEmptyFile(const String& FileName) {
    WIN32_FILE_ATTRIBUTE_DATA Data{};
    return GetFileAttributesExW(ExtendedPath(FileName).c_str(), GetFileExInfoStandard, &Data) &&
           !(Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && Data.nFileSizeHigh == 0 &&
           Data.nFileSizeLow == 0;
}

} // namespace

String BackupFolderFor(const String& AppDir) {
    return IncludeTrailingBackslash(ExtractFileDrive(AppDir)) + BackupFolderName;
}

TMainCore::TMainCore(const TMainCoreEnvironment& Environment)
    : FAppDir(IncludeTrailingBackslash(Environment.AppDir)),
      FBackupFolder(Environment.BackupFolder.empty() ? BackupFolderFor(FAppDir)
                                                     : Environment.BackupFolder),
      FWindowsFolder(Environment.WindowsFolder.empty() ? GetWindowsFolder()
                                                       : Environment.WindowsFolder),
      FLanguage(Environment.Language ? *Environment.Language : *AppLanguage),
      FOwnDrives(Environment.Drives ? nullptr : std::make_unique<TSystemDriveInfo>()),
      FOwnClock(Environment.Clock ? nullptr : std::make_unique<TSystemClock>()),
      FOwnStatus(Environment.Status ? nullptr : std::make_unique<TSplashStatus>()),
      FDrives(Environment.Drives ? *Environment.Drives : *FOwnDrives),
      FClock(Environment.Clock ? *Environment.Clock : *FOwnClock),
      FStatus(Environment.Status ? *Environment.Status : *FOwnStatus), FPrompt(Environment.Prompt),
      FShell(Environment.Shell), ScanPaths(FDrives) {
    Titles.Load([this](const String& Key) { return Message(Key); });
    FMatcher = new TMatch(&FComponents);
    FMatcher->Name = L"Matcher";
    FScan = std::make_unique<TFileScan>(FSearchEngine, *FMatcher, Safety, FDrives, FClock);
    FScan->ShortcutTarget = GetShortcutTarget;
}

TMainCore::~TMainCore() {
    // Totals that were never read would overwrite the stored ones with this run's alone, and a
    // start refused over a damaged database leaves qv.ini as it was.
    if (!FTotalsLoaded)
        return;
    try {
        Stats.SaveTotals(FAppDir + L"qv.ini");
    } catch (...) {
    }
}

void TMainCore::ReportLoading(int Step) {
    FStatus.SetStatus(Message(L"sLoading" + IntToStr(Step)));
}

void TMainCore::Open() {
    for (const String& Folder : {FAppDir + L"Data", FAppDir + L"Temp", FBackupFolder})
        ForceDirectories(Folder);

    bool TotalsLoaded = false;
    try {
        Stats.LoadTotals(FAppDir + L"qv.ini");
        TotalsLoaded = true;
    } catch (const Exception&) {
        // An unreadable qv.ini starts the totals from zero and is left as it is.
    }

    // An empty database file is a damaged one, not a new one: opening would fill it.
    const String DatabaseFile = FAppDir + L"Data\\" + DatabaseFileName;
    if (IsEmptyFile(DatabaseFile))
        throw EDatabaseError(L"The database '" + DatabaseFile + L"' is an empty file");
    // A database the program made holds every table: one that lacks some is damaged, and
    // making them would change it.
    if (FileExists(DatabaseFile)) {
        const std::vector<String> Missing = MissingTables(FAppDir);
        if (!Missing.empty())
            throw EDatabaseError(L"The database '" + DatabaseFile + L"' lacks the table '" +
                                 Missing.front() + L"'");
    }
    FTables = CreateDataTables(&FComponents, FAppDir);
    FTables.OpenAll();

    ScanPaths.FillFixedDrives();
    FJunkMasks = std::make_unique<TJunkMaskList>(*FTables.JunkFilesTable);
    ReloadJunkMasks();
    Safety.SetProtectedPaths({FWindowsFolder, FBackupFolder});
    FTotalsLoaded = TotalsLoaded;
}

String TMainCore::Message(const String& Key) const {
    String Result = Key;
    FLanguage.GetMessageText(Key, Result);
    return Result;
}

String TMainCore::Text(const String& Section, const String& Ident) const {
    String Result = Section;
    FLanguage.GetText(Section, Ident, Result);
    return Result;
}

void TMainCore::ShowNotice(const String& Text) {
    if (FPrompt)
        FPrompt->MessageBox(this->Text(L"Application", L"Caption"), Text, IPrompt::IconQuestion,
                            IPrompt::ButtonsOk);
}

// ------------------------------------------------------------ page flow

void TMainCore::Next() {
    switch (Flow.Next()) {
    case naFileScan:
        StartScanning();
        break;
    case naEmptyFolderSearch:
        SearchEmptyFolders();
        break;
    case naRegistryScan:
        if (OnRegistryScan)
            OnRegistryScan();
        break;
    case naBackupStep:
        if (OnBackupStep)
            OnBackupStep();
        break;
    case naCleanOptions:
    case naNone:
        break;
    }
}

// ----------------------------------------------------------- scan setup

void TMainCore::ReloadJunkMasks() {
    FJunkMasks->Reload();
    JunkMasksChanged();
}

bool TMainCore::AddJunkMask(const String& Extension, const String& Description) {
    const bool Added = FJunkMasks->Add(Extension, Description);
    JunkMasksChanged();
    return Added;
}

int TMainCore::DeleteJunkMask(const String& Extension) {
    const int Deleted = FJunkMasks->Delete(Extension);
    JunkMasksChanged();
    return Deleted;
}

void TMainCore::JunkMasksChanged() {
    Safety.SetJunkMasks(FJunkMasks->MaskText());
}

// ---------------------------------------------------------------- scans

TScanSettings TMainCore::SettingsForMode(int Mode) const {
    TScanSettings Settings;
    Settings.Mode = Mode;
    Settings.JunkMasks = FJunkMasks->MaskText();
    Settings.AllowedDuplicateMasks = AllowedDuplicateMasks;
    if (Mode == mdLargeFiles)
        Settings.LargeFileThreshold = Options.LargeFileThreshold();
    if (Mode == mdOldFiles)
        Settings.OldFileDays = Options.OldFileDays();
    return Settings;
}

void TMainCore::StartScanning() {
    if (FScan->Running() || FSearchEngine.Busy())
        return;
    const TScanSettings Settings = SettingsForMode(Flow.Mode());
    if (OnScanStarted)
        OnScanStarted(true);
    Flow.ShowPage(pgScan);
    FLastOutcome = FScan->Run(ScanPaths.ScanRoots(), Settings, Results);
    if (OnScanEnded)
        OnScanEnded();
    if (OnResultsFilled)
        OnResultsFilled();

    UpdateScanStatistics();
    Flow.ShowPage(pgScanResults);
    if (Results.Count() == 0)
        ShowNotice(Message(L"sNothingFound"));
}

void TMainCore::SearchEmptyFolders() {
    if (FScan->Running() || FSearchEngine.Busy())
        return;
    if (OnScanStarted)
        OnScanStarted(false);
    Flow.ShowPage(pgScan);
    ProcessPendingMessages();

    TStringList Folders;
    FLastOutcome = soCompleted;
    FSearchEngine.Stop = false;
    try {
        for (const String& Root : ScanPaths.CheckedRoots()) {
            if (FSearchEngine.Stop)
                break;
            FindEmptyFolders(Root, Folders, FSearchEngine.Stop);
        }
    } catch (...) {
        FLastOutcome = soFailed;
    }
    if (FLastOutcome == soCompleted && FSearchEngine.Stop)
        FLastOutcome = soStopped;
    if (OnScanEnded)
        OnScanEnded();

    Results.Clear();
    for (int I = 0; I < Folders.Count(); ++I) {
        auto Folder = std::make_unique<TFile>();
        Folder->SetPath(Folders.Strings(I));
        const TSafetyLevel Level = Safety.GetSafetyLevel(*Folder);
        Folder->Safety = Level == slWarning ? slSafe : Level;
        Results.Append(std::move(Folder), String());
    }
    if (OnResultsFilled)
        OnResultsFilled();
    UpdateScanStatistics();
    Flow.ShowPage(pgScanResults);
    if (Results.Count() == 0)
        ShowNotice(NoEmptyFolders);
}

void TMainCore::StopScan() {
    if (Flow.Mode() == mdRegistryCleaner) {
        if (OnStopRegistryScan)
            OnStopRegistryScan();
        return;
    }
    FScan->Stop();
}

// -------------------------------------------------------------- results

void TMainCore::UpdateScanStatistics() {
    const TScanStatistics Statistics =
        ComputeScanStatistics(Results, Flow.Mode(), ScanPaths, FDrives);
    if (OnStatisticsChanged)
        OnStatisticsChanged(Statistics);
}

void TMainCore::ApplyFilter(const TFilterCriteria& Criteria) {
    Results.ApplyFilter(Criteria);
    UpdateScanStatistics();
}

void TMainCore::ClearFilter() {
    Results.ClearFilter();
    UpdateScanStatistics();
}

void TMainCore::OpenResult(int Index) {
    if (!FPrompt || Index < 0 || Index >= Results.Count())
        return;
    const String FileName = Results.File(Index).FullName();
    const String Question = Format(Message(L"LaunchFileConfirm"), {FileName});
    if (FPrompt->MessageBox(Text(L"Application", L"Caption"), Question, IPrompt::IconQuestion,
                            IPrompt::ButtonsYesNo) != IPrompt::ResultYes)
        return;
    try {
        if (FShell)
            FShell->OpenFile(FileName);
    } catch (...) {
    }
}
