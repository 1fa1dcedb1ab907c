#pragma once
// The file scan of the main window: the run that walks the scan roots with the walk engine and
// tests every file for the active mode.

#include "app/FoundFile.h"
#include "app/Match.h"
#include "app/TreeSearchEngine.h"
#include "classlib/rtl/Classes.h"
#include "classlib/rtl/SysUtils.h"
#include "main/MainMode.h"
#include "main/MainServices.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

// The order of the result lists: by GroupSize for a group of several files, else by Size.
// Three-way (<0, 0, >0) and a strict weak order; records that are missing sort first.
int CompareFiles(const TFile* File1, const TFile* File2);

// The list of result rows the scan fills. The rows own their records.
class IScanRows {
public:
    virtual ~IScanRows() = default;
    virtual void BeginUpdate() {}
    virtual void EndUpdate() {}
    virtual void Clear() = 0;
    // LinkTarget: the shortcut's target in the broken-links mode, else empty.
    virtual void Append(std::unique_ptr<TFile> File, const String& LinkTarget) = 0;
    virtual int Count() const = 0;
};

// The duplicate finder's grouping, fed by the scan in the duplicate-files mode.
class IDuplicateGrouper {
public:
    virtual ~IDuplicateGrouper() = default;
    // Drops the groups of the previous scan.
    virtual void Clear() = 0;
    virtual void AddFile(const String& Path, const String& Name, std::uint64_t Size,
                         const FILETIME& Time) = 0;
    // After the walk, also after a stopped one.
    virtual void PostPass() = 0;
};

// What the start step prepares for a scan run.
struct TScanSettings {
    int Mode = 0;
    // The junk masks joined with "; " (modes 1 to 3); blank: no file is junk.
    String JunkMasks;
    // The names allowed to have copies (mode 14); blank: none.
    String AllowedDuplicateMasks;
    std::uint64_t LargeFileThreshold = 0;
    int OldFileDays = 0;
};

enum TScanOutcome {
    soCompleted,
    soStopped, // the Stop button ended the walk; the rows hold what was found so far
    soFailed,  // the walk failed; the rows hold what was found until then
};

// Reads a shortcut file's target; empty when the file cannot be read as a shortcut.
using TShortcutTargetFunc = std::function<String(const String& LinkPath)>;

class TFileScan {
public:
    // The engine's file callback becomes this scan's ScanFileFound; Matcher is the window's.
    TFileScan(TTreeSearchEngine& Engine, TMatch& Matcher, const TSafetyRule& Safety,
              const IDriveInfo& Drives, const IClock& Clock);
    TFileScan(const TFileScan&) = delete;
    TFileScan& operator=(const TFileScan&) = delete;

    IDuplicateGrouper* Grouper = nullptr;
    TShortcutTargetFunc ShortcutTarget;

    // RunScan: drops the previous results, walks each root while Stop is not pressed, runs the
    // duplicate post-pass in mode 14. A call while a scan runs does nothing (soStopped).
    TScanOutcome Run(const std::vector<String>& Roots, const TScanSettings& Settings,
                     IScanRows& Rows);
    // btnStopScanClick: the walk ends before its next entry.
    void Stop();
    bool Running() const { return FRows != nullptr; }
    // The folder whose files are being tested (shown by the 50 ms timer).
    const String& CurrentScanPath() const { return FCurrentScanPath; }
    // Files the last scan left out because most programs reach a device by their names
    // ("CON.tmp"); they are neither listed nor counted.
    const std::vector<String>& SkippedFiles() const { return FSkippedFiles; }

    // The walk engine's file callback.
    void ScanFileFound(const String& Path, const String& Name, const WIN32_FIND_DATAW& FindData);

private:
    std::unique_ptr<TFile> MakeFile(const String& Path, const String& Name,
                                    const WIN32_FIND_DATAW& FindData);
    bool MatcherMatches(std::wstring_view Name) const;
    bool IsOld(const WIN32_FIND_DATAW& FindData) const;
    bool MayExamineLink(const String& Path) const;
    bool IsMissingTarget(const String& Target) const;
    void Classified(std::unique_ptr<TFile> File, bool SafeOnly);

    TTreeSearchEngine& FEngine;
    TMatch& FMatcher;
    const TSafetyRule& FSafety;
    const IDriveInfo& FDrives;
    const IClock& FClock;

    IScanRows* FRows = nullptr;
    TScanSettings FSettings;
    bool FMatchNone = false;
    TDateTime FOldLimit = 0;
    String FCurrentScanPath;
    std::vector<String> FSkippedFiles;
    // The folder of the last record made.
    TSharedText FFolder;
};
