#include "main/FileScan.h"

#include "app/FileInfo.h"
#include "classlib/gui/Forms.h"

#include <algorithm>
#include <cmath>

namespace {

std::uint64_t SortKey(const TFile& File) {
    return File.CopyCount > 1 ? File.GroupSize : File.Size;
}

bool IsZero(const FILETIME& Time) {
    return Time.dwLowDateTime == 0 && Time.dwHighDateTime == 0;
}

// Whether a shortcut's target can be judged from here: only targets on local fixed disks.
// A target on a network share, a removable or optical drive, or a drive letter that is not
// there now may merely be offline.
bool CanJudgeTarget(const IDriveInfo& Drives, const String& Target) {
    const String Root = DriveRoot(Target);
    if (Root.empty() || Root.compare(0, 2, L"\\\\") == 0)
        return false;
    const UINT Type = Drives.DriveType(Root);
    return Type == DRIVE_FIXED || Type == DRIVE_RAMDISK;
}

} // namespace

int CompareFiles(const TFile* File1, const TFile* File2) {
    if (!File1 || !File2)
        return (File1 != nullptr) - (File2 != nullptr);
    const std::uint64_t Key1 = SortKey(*File1);
    const std::uint64_t Key2 = SortKey(*File2);
    return (Key1 > Key2) - (Key1 < Key2);
}

// ------------------------------------------------------------------ scan

TFileScan::TFileScan(TTreeSearchEngine& Engine, TMatch& Matcher, const TSafetyRule& Safety,
                     const IDriveInfo& Drives, const IClock& Clock)
    : FEngine(Engine), FMatcher(Matcher), FSafety(Safety), FDrives(Drives), FClock(Clock) {
    FEngine.OnFileFound = [this](const String& Path, const String& Name,
                                 const WIN32_FIND_DATAW& FindData,
                                 TCvTreeItem*&) { ScanFileFound(Path, Name, FindData); };
    FEngine.OnEntrySkipped = [this](const String& Path, const String& Name, const WIN32_FIND_DATAW&,
                                    TCvTreeItem*&) {
        if (FRows)
            FSkippedFiles.push_back(Path + Name);
    };
}

TScanOutcome TFileScan::Run(const std::vector<String>& Roots, const TScanSettings& Settings,
                            IScanRows& Rows) {
    if (Running() || FEngine.Busy())
        return soStopped;

    struct TRunning {
        TFileScan& Scan;
        ~TRunning() { Scan.FRows = nullptr; }
    } const RunningGuard{*this};
    FRows = &Rows;
    FSettings = Settings;
    FCurrentScanPath.clear();
    FSkippedFiles.clear();
    FFolder = TSharedText();

    String MatcherMask;
    switch (Settings.Mode) {
    case mdJunkFiles:
    case mdLargeFiles:
    case mdOldFiles:
        MatcherMask = Settings.JunkMasks;
        break;
    case mdBrokenLinks:
        MatcherMask = L"*.lnk";
        break;
    case mdDuplicateFiles:
        MatcherMask = Settings.AllowedDuplicateMasks;
        break;
    default:
        break;
    }
    FMatchNone = TMatch::IsBlankMaskList(MatcherMask);
    FMatcher.SetMask(MatcherMask);
    FOldLimit = std::floor(FClock.Now()) - Settings.OldFileDays;

    Rows.BeginUpdate();
    Rows.Clear();
    if (Grouper)
        Grouper->Clear();

    TScanOutcome Outcome = soCompleted;
    FEngine.Stop = false;
    for (const String& Root : Roots) {
        if (FEngine.Stop)
            break;
        try {
            FEngine.Search(Root, nullptr, true);
        } catch (...) {
            Outcome = soFailed;
            break;
        }
    }
    if (Outcome == soCompleted && FEngine.Stop)
        Outcome = soStopped;

    if (Settings.Mode == mdDuplicateFiles && Grouper)
        Grouper->PostPass();
    Rows.EndUpdate();
    return Outcome;
}

void TFileScan::Stop() {
    FEngine.Stop = true;
}

bool TFileScan::MatcherMatches(std::wstring_view Name) const {
    return !FMatchNone && FMatcher.Matches(Name);
}

std::unique_ptr<TFile> TFileScan::MakeFile(const String& Path, const String& Name,
                                           const WIN32_FIND_DATAW& FindData) {
    auto File = std::make_unique<TFile>();
    // The walk reports a folder's files one after another: they take one copy of its path.
    if (!FFolder || FFolder.Text() != Path)
        FFolder = TSharedText(Path);
    File->SetPath(FFolder);
    File->Name = Name;
    File->Size = FindDataSize(FindData);
    File->Time = FindData.ftLastWriteTime;
    File->GroupSize = File->Size;
    return File;
}

bool TFileScan::IsOld(const WIN32_FIND_DATAW& FindData) const {
    // File systems that keep no access time report none; the last change then tells the age.
    const FILETIME& Used =
        IsZero(FindData.ftLastAccessTime) ? FindData.ftLastWriteTime : FindData.ftLastAccessTime;
    return FileTimeToLocalDateTime(Used) <= FOldLimit;
}

bool TFileScan::MayExamineLink(const String& Path) const {
    return FDrives.DriveType(DriveRoot(Path)) != DRIVE_REMOVABLE && Pos(L"NetHood", Path) == 0 &&
           Pos(L"PrintHood", Path) == 0;
}

bool TFileScan::IsMissingTarget(const String& Target) const {
    return CanJudgeTarget(FDrives, Target) && !DirectoryExists(Target) && !FileExists(Target);
}

void TFileScan::Classified(std::unique_ptr<TFile> File, bool SafeOnly) {
    File->Safety = FSafety.GetSafetyLevel(*File);
    if (!SafeOnly || File->Safety == slSafe)
        FRows->Append(std::move(File), String());
}

void TFileScan::ScanFileFound(const String& Path, const String& Name,
                              const WIN32_FIND_DATAW& FindData) {
    if (!FRows)
        return;
    FCurrentScanPath = Path;
    bool Pump = true;
    // A file whose test fails is skipped; the walk goes on.
    try {
        switch (FSettings.Mode) {
        case mdJunkFiles:
            if (MatcherMatches(Name) && Name != L"DATA.BAK")
                Classified(MakeFile(Path, Name, FindData), true);
            break;
        case mdLargeFiles:
            if (FindDataSize(FindData) > FSettings.LargeFileThreshold)
                Classified(MakeFile(Path, Name, FindData), false);
            break;
        case mdOldFiles:
            if (IsOld(FindData))
                Classified(MakeFile(Path, Name, FindData), false);
            break;
        case mdBrokenLinks: {
            Pump = false;
            if (!MatcherMatches(Name) || !MayExamineLink(Path))
                break;
            Pump = true;
            const String Target = ShortcutTarget ? ShortcutTarget(Path + Name) : String();
            if (IsMissingTarget(Target))
                FRows->Append(MakeFile(Path, Name, FindData), Target);
            break;
        }
        case mdDuplicateFiles:
            if (Grouper && !MatcherMatches(Name))
                Grouper->AddFile(Path, Name, FindDataSize(FindData), FindData.ftLastWriteTime);
            break;
        default:
            break;
        }
    } catch (...) {
    }
    if (Pump)
        ProcessMessagesDuringWork();
}
