#pragma once
// The scan results: the rows with their records, check boxes and filter state, the counts and
// sizes shown on the results and statistics pages, and the filter.

#include "classlib/rtl/SysUtils.h"
#include "main/FileScan.h"
#include "main/MainMode.h"
#include "main/MainServices.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class TScanPathList;

// Kept lean: a scan may list hundreds of thousands of rows.
struct TScanRow {
    std::unique_ptr<TFile> File;
    bool Checked = false;
    // Hidden by the filter; a hidden row keeps its place.
    bool Hidden = false;
};

// What the filter dialog keeps: a row is hidden when one of the checked tests fails.
struct TFilterCriteria {
    bool ByName = false;
    String NameMask; // a mask list
    bool NotOlderThan = false;
    TDateTime NotOlderThanDate = 0; // the day counts from its midnight
    bool NewerThan = false;
    TDateTime NewerThanDate = 0;
    bool SmallerThan = false;
    double SmallerValue = 0;
    int SmallerUnit = 2; // index of "Bytes", "KB", "MB", "GB"
    bool LargerThan = false;
    double LargerValue = 0;
    int LargerUnit = 2;
    bool Safe = false;
    bool Warning = false;
    bool Critical = false;
};

class TScanResults : public IScanRows {
public:
    void EndUpdate() override;
    void Clear() override;
    void Append(std::unique_ptr<TFile> File, const String& LinkTarget) override;
    int Count() const override { return static_cast<int>(FRows.size()); }

    const TScanRow& Row(int Index) const { return FRows.at(Index); }
    TFile& File(int Index) const { return *FRows.at(Index).File; }
    // The shortcut's target of a row in the broken-links mode; empty for other rows.
    const String& LinkTarget(int Index) const;
    // The row that holds a record; -1 when none does. Constant time: a list shows its rows by
    // their records.
    int IndexOf(const TFile* File) const;
    void Delete(int Index);
    // Deletes the rows whose flag is set, in one pass; the others keep their order.
    void DeleteMarked(const std::vector<bool>& Marked);
    // Deletes the rows of these files (full names, any case), in one pass; the others keep
    // their order. A name no row holds is passed over.
    void DeleteFiles(const std::vector<String>& FullNames);
    // Keeps the first Count rows and drops the others.
    void KeepFirst(int Count);

    void SetChecked(int Index, bool Checked) { FRows.at(Index).Checked = Checked; }
    // Check all or uncheck all: rows hidden by the filter keep their state.
    void CheckAll(bool Checked);
    int CheckedCount() const;

    // Each filter replaces the previous one: hidden rows are examined again. A row that is
    // hidden is unchecked.
    void ApplyFilter(const TFilterCriteria& Criteria);
    // Every row shown again and unchecked.
    void ClearFilter();
    // The list's filtered-visibility mode: on while the filter hides a row.
    bool FilteredVisibility() const;

private:
    void ForgetLinkTarget(const TFile* File);

    std::vector<TScanRow> FRows;
    // Few rows have a target: they keep it here rather than each row a string.
    std::unordered_map<const TFile*, String> FLinkTargets;
    // Record to row, sorted by record, rebuilt when rows were added or moved: half the memory
    // of a hash map.
    mutable std::vector<std::pair<const TFile*, int>> FIndex;
    mutable bool FIndexValid = false;
};

// The filter's verdict on records.
class TResultFilter {
public:
    explicit TResultFilter(const TFilterCriteria& Criteria);
    bool Hides(const TFile& File) const;

private:
    TFilterCriteria FCriteria;
    TMatch FNames{nullptr};
};

// One bar of the statistics page (Progress1 to Progress4).
struct TStatisticsBar {
    bool Visible = true;
    std::int64_t Max = 0;
    std::int64_t Position = 0;
};

// UpdateScanStatistics: the numbers of the results page and the bars of the statistics page.
struct TScanStatistics {
    // Rows not hidden by the filter, and the sum of their sizes.
    int VisibleCount = 0;
    std::uint64_t VisibleSize = 0;
    // Total capacity of the drives of the path list (each drive once).
    std::int64_t DiskTotal = 0;
    // Junk files and broken links: only the second bar, captioned "sSafeToDeleteOfTotalSpace",
    // showing all found sizes against the disk total.
    bool SingleBar = false;
    // Progress1 (found against the disks), Progress2..4 (safe, warning, critical against all
    // found), over every row, hidden ones included.
    std::array<TStatisticsBar, 4> Bars;
};

TScanStatistics ComputeScanStatistics(const TScanResults& Results, int Mode,
                                      const TScanPathList& Paths, const IDriveInfo& Drives);

// One column of a result list: its caption is the language text of section CaptionSection,
// key "Caption", or, with Message set, the message of that key.
struct TResultColumn {
    String CaptionSection;
    int Width = 0;
    bool CustomCompare = false; // sorted by CompareFiles
    bool Message = false;
    // Sizes and dates are read whole: they keep their width when the list is too narrow, and a
    // date column is at least as wide as a date.
    bool GivesWay = true;
    bool Date = false;
};

// The columns of lvScanResults in a mode (the empty-folder list in mode 5).
std::vector<TResultColumn> ResultColumns(int Mode);
// The columns of lvDuplicatesScanResults (mode 14).
std::vector<TResultColumn> DuplicateGroupColumns();

// Column widths that fill Available exactly. Too wide: the column with the widest room for text
// that gives way shrinks, and each next widest with it once they are alike, none below
// MinColumnWidth of text (the columns may then stay too wide); the first column's text starts
// FirstIndent in, after its check box and pictures. Too narrow: the last column takes the rest.
constexpr int MinColumnWidth = 60;
std::vector<int> FitColumnWidths(std::vector<int> Widths, const std::vector<bool>& GivesWay,
                                 int Available, int FirstIndent = 0);

// Whether the zip, backup and move commands of the results page (the three buttons and the
// entries of both result menus) are offered after a scan in a mode.
bool ResultCommandsShown(int Mode);
