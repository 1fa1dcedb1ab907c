#pragma once
// What the user sets before a file scan: the scan path list (fixed drives and added folders),
// the junk-extension list kept in the table JunkFiles, and the large-file and old-file options.

#include "app/QRVUtils.h"
#include "classlib/rtl/SysUtils.h"
#include "main/MainServices.h"

#include <cstdint>
#include <memory>
#include <vector>

class TTable;

// One row of the scan path list (DrivesList).
struct TScanPathRow {
    // The row's data object: caption (the shell's display name), path, and whether the path
    // lies on a drive that is not a fixed disk (the file scan skips such rows).
    std::unique_ptr<TDirItem> Item;
    // In the system small-icon list.
    int ImageIndex = 0;
    bool Checked = true;
};

// The scan path list. Rows are made by the shared folder-row routine, which adds them here.
class TScanPathList : public TDirRowList {
public:
    explicit TScanPathList(const IDriveInfo& Drives) : FDrives(Drives) {}

    // Cleared, then one checked row per fixed drive from C to Z (A and B are never offered).
    void FillFixedDrives();
    // A checked row for a folder; a folder on a drive that is not a fixed disk is added too,
    // and the file scan skips it. Returns the new row's index.
    int AddFolder(const String& Folder);
    // Nothing happens for an index that is not a row.
    void DeleteRow(int Index);
    void Clear() { FRows.clear(); }

    int Count() const { return static_cast<int>(FRows.size()); }
    const TScanPathRow& Row(int Index) const { return FRows.at(Index); }
    const TDirItem& Item(int Index) const { return *Row(Index).Item; }
    void SetChecked(int Index, bool Checked) { FRows.at(Index).Checked = Checked; }

    // The folders the file scan walks, in row order: checked rows on fixed disks. A folder
    // listed twice, or lying inside another listed folder, is walked once.
    std::vector<String> ScanRoots() const;
    // The folders the empty-folder search walks: every checked row, each folder once.
    std::vector<String> CheckedRoots() const;

    // The window the shell may use as owner when it names a folder.
    void SetOwnerWindow(HWND Window) { FOwnerWindow = Window; }
    HWND OwnerWindow() const override { return FOwnerWindow; }
    TCvTreeItem* AddRow(TCvTreeItem* Parent, const String& Text, int ImageIndex,
                        const String& FirstColumnText, std::unique_ptr<TDirItem> Item) override;

private:
    const IDriveInfo& FDrives;
    std::vector<TScanPathRow> FRows;
    HWND FOwnerWindow = nullptr;
};

// The folders of Paths in their order, without the ones that equal or lie inside an earlier or
// later one (compared without regard to case, after the spelling is made canonical).
std::vector<String> DistinctRoots(const std::vector<String>& Paths);

struct TJunkMask {
    String Extension;
    String Description;
};

// The junk-extension list: one entry per record of JunkFiles, in table order.
class TJunkMaskList {
public:
    explicit TJunkMaskList(TTable& Table) : FTable(Table) {}

    // Read again from the table.
    void Reload();
    const std::vector<TJunkMask>& Items() const { return FItems; }
    // The masks joined with "; " (JunkMaskList). Blank masks are left out: a blank mask would
    // match every file and make the whole disk junk. Empty when no mask remains.
    String MaskText() const;

    // Appends a record and reloads. A blank mask is refused (false) and nothing is stored. A
    // failing append is undone, the list reloaded, and the error passed on.
    bool Add(const String& Extension, const String& Description);
    // Deletes every record whose Extension equals the text (case counts) and reloads when one
    // went; returns how many went. Records that fail to delete are skipped.
    int Delete(const String& Extension);

private:
    TTable& FTable;
    std::vector<TJunkMask> FItems;
};

// The units of the size and period drop-down lists; an index outside the list counts as the
// first unit.
std::int64_t SizeUnitBytes(int UnitIndex); // Bytes 1, KB 1024, MB 1048576, GB 1073741824
int PeriodDays(int PeriodIndex);           // Days 1, Weeks 7, Months 30, Years 365
// Value times the unit, truncated to whole bytes; saturates at the 64-bit limits, and a value
// that is not a number gives 0.
std::int64_t SizeInBytes(double Value, int UnitIndex);

// The large-file and old-file options, with the defaults of the options page.
struct TScanOptions {
    double LargeValue = 20;
    int SizeUnit = 2; // MB
    double OldValue = 5;
    int Period = 3; // Years

    // Size in bytes above which a file is large: value times unit, truncated.
    std::uint64_t LargeFileThreshold() const;
    // Age in days for old files: the value truncated, times the period.
    int OldFileDays() const;
};
