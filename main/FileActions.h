#pragma once
// What the results list does with its found files: remove one or the checked ones (delete,
// move into the deleted-file store, shred), move them into a chosen folder, zip or back them
// up, and the organize dialog's stored folders. Logic only; the window asks for names.

#include "main/Backup.h"
#include "main/RecoveryStore.h"
#include "main/ScanResults.h"
#include "main/Statistics.h"

#include <functional>
#include <vector>

enum class TRemoveKind {
    SecureDelete, // into the deleted-file store
    Delete,
    Shred,
};

class TFileActions {
public:
    // Mode gives the main window's mode when a removal is counted.
    TFileActions(const TFileFeatureContext& Context, TStatistics& Stats, TRecoveryStore& Store,
                 TBackup& Backup, std::function<int()> Mode);

    // RemoveFile: 0 when the file or folder is gone (or stored), 1 when it is still there.
    // Shred wins over Store. Deletes and shreds count one item of the file's size in the
    // mode's category; a folder counts 0 bytes, and storing counts nothing.
    int RemoveFile(const String& FileName, bool Store, bool Shred);

    // One row: asks "<kind>FileConfirm" with the file's name, removes it on Yes, and deletes the
    // row when the file went. True when it went.
    bool RemoveOne(TScanResults& Results, int Index, TRemoveKind Kind);
    // btnScanResultsCleanAllClick: true when rows are checked; else tells "sNoSelectedFiles".
    bool CanRemoveChecked(const TScanResults& Results) const;
    // The checked rows: asks "<kind>FilesConfirm", then removes row after row with the progress
    // at done x 100 div total; a row stays checked when its file stays. Returns how many went.
    int RemoveChecked(TScanResults& Results, TRemoveKind Kind);

    // One row into Folder (which must exist); the row goes when the move succeeded.
    bool MoveOne(TScanResults& Results, int Index, const String& Folder);
    // The checked rows into Folder, created on "CreateFolderConfirm" when missing; a row goes
    // only when its file was moved (a name already taken there keeps it). Returns how many
    // went, -1 when the folder was refused.
    int MoveChecked(TScanResults& Results, const String& Folder);

    // The zip command: one row's file, or the checked rows' files, by bare name into
    // ArchiveName; failures and cancels are told, success of the checked zip too.
    bool ZipOne(const TScanResults& Results, int Index, const String& ArchiveName);
    bool ZipChecked(const TScanResults& Results, const String& ArchiveName);
    // The one-file backup: the file with its full path and the list; recorded and told.
    bool BackupOne(const TScanResults& Results, int Index, const String& ArchiveName);
    // The checked-files backup hands the checked rows, and the mode they were made in, to the
    // backup area; false when none.
    bool BackupChecked(const TScanResults& Results);

private:
    // Runs Act on each checked row's file with the progress at done x 100 div total; a row goes
    // when Act answers true. Returns how many went.
    int ForEachChecked(TScanResults& Results, const String& Label, TProgressAnimation Animation,
                       const std::function<bool(const String& FileName)>& Act);
    int RemoveFolder(const String& Folder, bool Count, int Category);

    const TFileFeatureContext& FContext;
    TStatistics& FStats;
    TRecoveryStore& FStore;
    TBackup& FBackup;
    std::function<int()> FMode;
};

// The organize dialog's folders (table "OraganizeToFolders").
class TOrganizeFolders {
public:
    explicit TOrganizeFolders(TTable& Table) : FTable(Table) {}
    // In table order.
    std::vector<String> Folders() const;
    void Add(const String& Folder);
    // The first record naming that folder, without regard to case or a trailing backslash.
    bool Remove(const String& Folder);

private:
    TTable& FTable;
};
