#pragma once
// The folder cleaner without its window: the list of folders the user empties now and then,
// kept in the table FolderCleaner, and the emptying itself.

#include "app/Progress.h"
#include "classlib/db/DBTables.h"
#include "classlib/rtl/SysUtils.h"
#include "main/FeatureContext.h"
#include "main/Launchers.h"

#include <cstdint>
#include <vector>

// The statistics category the folder cleaner counts in.
inline constexpr int FolderCleanerCategory = 5;

enum TFolderEmptying {
    feNothing, // no such row, or the user said No
    feEmptied, // the folder was emptied (what could be deleted went and was counted)
    feMissing, // the folder is not there; nothing was counted or logged
    feRefused, // the folder may not be emptied (a drive root, the Windows folder, a link ...)
};

class TFolderCleaner {
public:
    // PleaseWait may be null; Shell null: RunShellRequest with no owner window.
    TFolderCleaner(TTable& FolderCleanerTable, const TFeatureContext& Context,
                   IProgress* PleaseWait, TShellRun Shell = nullptr);

    // The rows: one folder per record, in table order.
    const std::vector<String>& Folders() const { return FFolders; }
    // Rebuilds the rows from the table.
    void Load();
    // Stores Folder and appends its row; false when the record could not be posted.
    bool Add(const String& Folder);
    // Deletes every record of row Index's folder and the row.
    bool Remove(std::size_t Index);
    // Deletes the records whose Folder is exactly Folder; true when one was deleted.
    bool DeleteFolderCleanerRow(const String& Folder);
    // Opens row Index's folder in the explorer view.
    void Explore(std::size_t Index);
    // Asks "FolderCleanerEmptyFolder", then deletes everything below the folder, sub-folders
    // included; the folder itself stays. What went is counted in category 5 and logged.
    TFolderEmptying Empty(std::size_t Index);

private:
    TTable& FTable;
    const TFeatureContext& FContext;
    IProgress* FPleaseWait;
    TShellRun FShell;
    std::vector<String> FFolders;
};
