#pragma once
// The deleted-file store: files moved by a rename into a folder at the root of their own drive,
// one RecoveryFiles record each, listed by day, moved back or forgotten.

#include "main/DataTables.h"
#include "classlib/rtl/SysUtils.h"
#include "main/MainServices.h"

#include <cstdint>
#include <functional>
#include <vector>

// "<drive of FileName>\System Corvanta Recycled\"; empty for a path without a drive.
String RecoveryFolderFor(const String& FileName);
// Whether Path is the store folder of its drive or lies below it. What the store keeps is the
// user's to recover: no scan lists it, and deleting it would leave its records pointing at
// nothing.
bool IsInRecoveryStore(const String& Path);

// One RecoveryFiles record.
struct TRecoveryFile {
    std::int64_t ID = 0;
    TDateTime Date = 0;
    String OriginalFileName;
    String NewLocation;
    String NewFileName;
};

// A file row of the restore list.
struct TRecoveryRow {
    TRecoveryFile Entry;
    bool Checked = false;
};

// A day row: the files stored on that calendar day, the latest-stored first.
struct TRecoveryDay {
    TDateTime Date = 0;
    std::vector<TRecoveryRow> Files;
};

class TRecoveryStore {
public:
    // Where the files of a path are stored, with a trailing backslash; empty refuses the file.
    using TFolderFor = std::function<String(const String& FileName)>;

    TRecoveryStore(TTable& Table, const IClock& Clock, TFolderFor FolderFor = RecoveryFolderFor);

    // Moves a file into the store under a digits-only name not yet taken there and records it.
    // False when the file stays where it was; a record that cannot be written leaves the file
    // stored without one.
    bool Store(const String& FileName);

    // RestoreRecoveryFile: moves the stored file back to its old full path; false when that
    // name is taken again or its folder is gone.
    bool RestoreRecoveryFile(const TRecoveryFile& Entry);
    // DeleteRecoveryRow: deletes the record of that entry; false when none has its ID.
    bool DeleteRecoveryRow(const TRecoveryFile& Entry);

    // The restore list: one day per calendar day in the order the days first appear in the
    // table, each day's files in the reverse of table order, none checked.
    std::vector<TRecoveryDay> List();

private:
    TTable& FTable;
    const IClock& FClock;
    TFolderFor FFolderFor;
};

// The restore page's list.
class TRecoveryList {
public:
    explicit TRecoveryList(TRecoveryStore& Store) : FStore(Store) {}

    // Reads the table again; every row unchecked.
    void Fill() { Days = FStore.List(); }
    // FindRecoveryDayGroup: the day row of that calendar day; null when there is none.
    TRecoveryDay* FindRecoveryDayGroup(TDateTime Date);
    // Checks or unchecks every file row; day rows have no check box.
    void CheckAll(bool Checked);
    // Restores every checked file; a row goes when both its file and its record went back,
    // and a day row with its last file row. Returns how many were restored.
    int RestoreChecked();
    // Forgets every checked entry: the record goes, the stored file stays; a day row goes with
    // its last file row. Returns how many.
    int DropChecked();

    std::vector<TRecoveryDay> Days;

private:
    // Runs Action on each checked row and removes the rows for which it answers true.
    int RemoveCheckedWhere(const std::function<bool(const TRecoveryFile&)>& Action);

    TRecoveryStore& FStore;
};
