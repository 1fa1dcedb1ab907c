#pragma once
// The backup area's logic: the list of what to back up, the archive names it suggests, local
// and FTP backups with their records, the restore of a recorded backup, the stored FTP
// connections. The window turns its controls into these calls.

#include "app/Progress.h"
#include "classlib/db/DBTables.h"
#include "classlib/rtl/SysUtils.h"
#include "main/BackupFtp.h"
#include "main/BackupZip.h"
#include "main/DataTables.h"
#include "main/MainServices.h"
#include "main/ScanResults.h"

#include <cstdint>
#include <functional>
#include <vector>

// What the file features take from the main window.
struct TFileFeatureContext {
    TDataTables Tables;
    const IClock& Clock;
    // Null: notices are not shown and questions are answered No (Cancel for the five-button set).
    IPrompt* Prompt;
    IProgress& Progress;
    // The language file's message of a key.
    std::function<String(const String& Key)> Message;
    // The caption of message boxes ("Application"/"Caption").
    String Caption;
    // Where remote backups are made and downloads land, with a trailing backslash.
    String WorkFolder;

    // A notice with OK.
    void Notice(const String& Text, int Icon = IPrompt::IconExclamation) const;
    // A question with Yes and No; true on Yes only.
    bool Confirm(const String& Text) const;
};

// A row of the selection list.
struct TBackupSource {
    String Path;
    bool IsFolder = false;
};

// AddFolderToBackupList: every entry below Folder, each sub-folder after its contents; the
// folder itself is not added. Folder links are not entered.
void AddFolderToBackupList(const String& Folder, std::vector<String>& List);

// The full names of the checked rows, in row order; EachRow runs after each row looked at.
std::vector<String> CheckedResultPaths(const TScanResults& Results,
                                       const std::function<void()>& EachRow = nullptr);

// The name suggested for a backup of Source: "<drive>\<last name>.zip" for a folder,
// "<drive>\<name with .zip>" for a file, empty without a source.
String SuggestedArchiveName(const String& Source, bool IsFolder);
// The remote archive's name: the edit's bare name, ".zip" added when it has no extension,
// or hour, minute, second and millisecond run together with ".zip" when it is empty.
String RemoteArchiveName(const String& Edit, TDateTime Now);

// One recorded local or FTP backup.
struct TBackupRecord {
    std::int64_t ID = 0;
    TDateTime Date = 0;
    String FileName;
    // FTP records only.
    String Session;
    TFtpTarget Target;
};

// One stored FTP connection.
struct TFtpConnection {
    String Session;
    TFtpTarget Target;
};

class TBackup {
public:
    explicit TBackup(const TFileFeatureContext& Context) : FContext(Context) {}

    // The selection list, and whether the checked results are backed up in its place.
    std::vector<TBackupSource> Selection;
    bool BackupFromResults = false;

    // BuildBackupFileList.
    std::vector<String> BuildBackupFileList(const TScanResults& Results) const;
    // The first source of the backup and the name it suggests.
    String SuggestedArchiveName(const TScanResults& Results) const;

    // Mode 12: builds the list, writes the archive and records it; tells the user how it ended.
    // Nothing happens without an archive name. True on success.
    bool LocalBackup(const TScanResults& Results, const String& ArchiveName, const String& Password,
                     int Level);
    // Mode 13: the archive is made in the working folder under RemoteArchiveName(ArchiveEdit)
    // and uploaded; an empty remote folder becomes "/" (written back). True on success.
    bool RemoteBackup(const TScanResults& Results, const String& Session, TFtpTarget& Target,
                      const String& ArchiveEdit, const String& Password, int Level);

    // CreateBackupZip of the results list's zip command: bare names, no list, level 9.
    TZipOutcome ZipFiles(const String& ArchiveName, const std::vector<String>& Paths);
    // The checked files of the results list, listed first ("sBuildingList"), then zipped as
    // ZipFiles does ("sCreatingBackup").
    TZipOutcome ZipChecked(const String& ArchiveName, const TScanResults& Results);
    // The results list's one-file backup: that file alone, with its list; a LocalBackup
    // record on success.
    TZipOutcome BackupFiles(const String& ArchiveName, const std::vector<String>& Paths);

    // Tells how a backup or zip ended: "BackupOK", cancelled, or "BackupFailed" with why.
    void ReportBackup(const TZipOutcome& Outcome) const;

    // The restore page's lists, in table order.
    std::vector<TBackupRecord> LocalBackups() const;
    std::vector<TBackupRecord> FtpBackups() const;
    // Restores a recorded backup, asking before it overwrites; tells the user how it ended.
    bool RestoreLocal(const TBackupRecord& Record);
    // Downloads the archive to a fresh temporary file of the working folder, restores it only
    // when the download was complete, and deletes that file afterwards.
    bool RestoreFtp(const TBackupRecord& Record);
    // Forgets a backup: its record goes, the archive stays.
    bool ForgetLocal(const TBackupRecord& Record);
    bool ForgetFtp(const TBackupRecord& Record);

    // The stored connections: a session name matched exactly is updated, else one is added.
    void SaveConnection(const TFtpConnection& Connection);
    std::vector<TFtpConnection> Connections() const;
    // Every connection of that name, without regard to case; returns how many went.
    int RemoveConnection(const String& Session);

private:
    TZipOutcome MakeArchive(const String& ArchiveName, const std::vector<String>& Paths,
                            const TBackupZipOptions& Options);
    bool RecordLocalBackup(const String& ArchiveName);
    bool RecordFtpBackup(const String& Session, const TFtpTarget& Target, const String& Name);
    bool Restore(const String& ArchiveName);
    TRestoreQuestions Questions() const;

    const TFileFeatureContext& FContext;
};
