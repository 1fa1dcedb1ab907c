#pragma once
// The main program's tables: names, fields and the components that the main window owns.

#include "classlib/db/DBTables.h"

#include <functional>
#include <vector>

// The fields of one of the program's tables; EDatabaseError for a name that is none of them.
const std::vector<TFieldDef>& DataTableFields(const String& TableName);

struct TDataTables {
    TTable* RecoveryFilesTable = nullptr;
    TTable* FolderCleanerTable = nullptr;
    TTable* SplitTable = nullptr;
    TTable* LocalBackupTable = nullptr;
    TTable* FTPBackupTable = nullptr;
    TTable* DuplicatesTable = nullptr;
    TTable* JunkFilesTable = nullptr;
    TTable* FTPConnectionsTable = nullptr;
    TTable* ShutdownTable = nullptr;
    TTable* OrganizeToFoldersTable = nullptr;

    // Opens the tables in the start-up order, the organize dialog's table last. A table that
    // does not exist yet is made, with the records the program is delivered with.
    void OpenAll() const;
};

// The tables that the database file of AppDir + "Data" lacks; the file is only read. Throws
// EDatabaseError when the file is not a sound database.
std::vector<String> MissingTables(const String& AppDir);

// Creates the ten table components, owned by Owner and bound to AppDir + "Data"; none is opened.
TDataTables CreateDataTables(TComponent* Owner, const String& AppDir);

// Appends one record with the fields SetFields writes and posts it. On a failure the pending
// record is cancelled (left pending, the table's next move would post it) and the error raised.
void AppendRecord(TTable& Table, const std::function<void(TTable&)>& SetFields);

// Deletes the record whose automatic ID is ID; false when there is none or the delete fails.
bool DeleteRecordWithId(TTable& Table, int64_t ID);
