#pragma once
// Backup archives: files stored under their paths below the drive root (or under their bare
// names), with the list of their full paths as "~backupfilelist.tmp" at the archive's root, and
// the restore that puts every listed file back at its full path.

#include "app/Progress.h"
#include "classlib/rtl/SysUtils.h"

#include <functional>
#include <vector>

inline constexpr wchar_t BackupListName[] = L"~backupfilelist.tmp";

enum class TZipResult { Ok, Failed, Cancelled };

struct TZipOutcome {
    TZipResult Result = TZipResult::Ok;
    // What went wrong, naming the file or entry; empty on success and on cancel.
    String Error;
    bool Ok() const { return Result == TZipResult::Ok; }
};

struct TBackupZipOptions {
    // Store the paths below the drive root and add the list file; else bare names, no list.
    bool WithList = true;
    // Traditional PKWARE encryption of the files (never of the list file) when not empty.
    String Password;
    // 0 stores, 1 to 9 deflate.
    int Level = 9;
};

// CreateBackupZip: writes Paths (files, and folders as folder entries) into ArchiveName. The
// archive is written beside the target under a temporary name and replaces the target only on
// success; a failed or cancelled run leaves no partial archive. Two paths that would give one
// entry name, and paths that have no drive letter when WithList, refuse the backup.
TZipOutcome CreateBackupZip(const String& ArchiveName, const std::vector<String>& Paths,
                            const TBackupZipOptions& Options, IProgress& Progress);

// ZipExtractOverwrite's answers, as the message box's results.
enum class TOverwriteAnswer { Yes = 6, YesToAll = 10, No = 7, NoToAll = 9, Cancel = 2 };

struct TRestoreQuestions {
    // Whether to replace an existing file (Yes, Yes to all, No, No to all, Cancel).
    std::function<TOverwriteAnswer(const String& FileName)> Overwrite;
    // The archive's password, when an entry needs one; false: the user cancelled.
    std::function<bool(String& Password)> Password;
};

struct TRestoreOutcome : TZipOutcome {
    int Restored = 0;
    // List lines that were not restored: not a full path on a drive, not in the archive.
    std::vector<String> Refused;
};

// RestoreBackupZip: reads the archive's list in memory and extracts each listed file to its
// full path. Only lines of the form "X:\..." without "..", stream colons or device names are
// taken, and entry names come from those lines alone, so no entry lands elsewhere. A file is
// written under a temporary name and replaces the existing one only when complete. A list or
// entry whose bytes disagree with the size or CRC the archive records is damaged: a damaged list
// restores nothing, a damaged entry ends the restore as a failure with no more than its recorded
// size written. Refused lines make the result a failure once the others are restored.
TRestoreOutcome RestoreBackupZip(const String& ArchiveName, String Password, IProgress& Progress,
                                 const TRestoreQuestions& Ask);

// A list line is a full path that a restore may write to.
bool IsSafeRestoreTarget(const String& Path);
