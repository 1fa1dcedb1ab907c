#include "main/DataTables.h"

#include "classlib/db/DBTablesConnection.h"

namespace {

struct TDataTableDef {
    const wchar_t* ComponentName;
    const wchar_t* TableName;
    TTable* TDataTables::*Member;
    std::vector<TFieldDef> Fields;
    // What the program is delivered with, in field order; written only into a new table.
    std::vector<std::vector<String>> FirstRecords = {};
};

// In the order the main window opens them.
const std::vector<TDataTableDef>& Definitions() {
    static const std::vector<TDataTableDef> Tables{
        {L"RecoveryFilesTable",
         L"RecoveryFiles",
         &TDataTables::RecoveryFilesTable,
         {{L"Date", ftDateTime},
          {L"OriginalFileName", ftString},
          {L"NewLocation", ftString},
          {L"NewFileName", ftString}}},
        {L"FolderCleanerTable",
         L"FolderCleaner",
         &TDataTables::FolderCleanerTable,
         {{L"Folder", ftString}}},
        {L"SplitTable",
         L"Split",
         &TDataTables::SplitTable,
         {{L"Date", ftDateTime}, {L"OriginalFileName", ftString}, {L"NewFileName", ftString}}},
        {L"LocalBackupTable",
         L"LocalBackup",
         &TDataTables::LocalBackupTable,
         {{L"Date", ftDateTime}, {L"FileName", ftString}}},
        {L"FTPBackupTable",
         L"FTPBackup",
         &TDataTables::FTPBackupTable,
         {{L"Date", ftDateTime},
          {L"Session", ftString},
          {L"Host", ftString},
          {L"Port", ftString},
          {L"Dir", ftString},
          {L"User", ftString},
          {L"Password", ftString},
          {L"FileName", ftString}}},
        {L"DuplicatesTable",
         L"Duplicates",
         &TDataTables::DuplicatesTable,
         {{L"FileName", ftString}}},
        {L"JunkFilesTable",
         L"JunkFiles",
         &TDataTables::JunkFilesTable,
         {{L"Extension", ftString}, {L"ExtensionDescription", ftString}},
         {{L"*.tmp", L"Temporary files"},
          {L"*.temp", L"Temporary files"},
          {L"*.$$$", L"Temporary files"},
          {L"*._mp", L"Temporary files"},
          {L"*.~*", L"Temporary copies"},
          {L"*.bak", L"Backup copies"},
          {L"*.old", L"Old versions"},
          {L"*.chk", L"Recovered file fragments"},
          {L"*.dmp", L"Memory dumps"},
          {L"*.gid", L"Help index files"},
          {L"*.fts", L"Help search index files"},
          {L"*.ftg", L"Help search index files"}}},
        {L"FTPConnectionsTable",
         L"FTPConnections",
         &TDataTables::FTPConnectionsTable,
         {{L"Session", ftString},
          {L"Host", ftString},
          {L"Port", ftString},
          {L"Dir", ftString},
          {L"User", ftString},
          {L"Password", ftString}}},
        // Kept for the file's sake only: the shutdown settings live in the ini file.
        {L"ShutdownTable",
         L"Shutdown",
         &TDataTables::ShutdownTable,
         {{L"Enabled", ftInteger},
          {L"Type", ftInteger},
          {L"Hour", ftInteger},
          {L"Min", ftInteger},
          {L"Sec", ftInteger},
          {L"Every", ftInteger},
          {L"Ask", ftInteger}}},
        // Spelled so on purpose: it is the table's name in the database file.
        {L"OrganizeToFoldersTable",
         L"OraganizeToFolders",
         &TDataTables::OrganizeToFoldersTable,
         {{L"Folder", ftString}}},
    };
    return Tables;
}

void AppendRecords(TTable& Table, const std::vector<std::vector<String>>& Records) {
    for (const std::vector<String>& Values : Records) {
        Table.Append();
        for (size_t I = 0; I < Values.size(); ++I)
            Table.FieldByName(Table.FieldDefs()[I].Name).SetAsString(Values[I]);
        Table.Post();
    }
    Table.First();
}

} // namespace

const std::vector<TFieldDef>& DataTableFields(const String& TableName) {
    for (const TDataTableDef& Def : Definitions())
        if (SameText(Def.TableName, TableName))
            return Def.Fields;
    throw EDatabaseError(L"Unknown table '" + TableName + L"'");
}

void TDataTables::OpenAll() const {
    for (const TDataTableDef& Def : Definitions()) {
        TTable& Table = *(this->*Def.Member);
        Table.Open();
        if (Table.CreatedByOpen())
            AppendRecords(Table, Def.FirstRecords);
    }
}

std::vector<String> MissingTables(const String& AppDir) {
    const auto Connection = TDatabaseConnection::Acquire(AppDir + L"Data");
    std::vector<String> Missing;
    for (const TDataTableDef& Def : Definitions()) {
        TStatement Query =
            Connection->Prepare(L"SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
        Query.BindText(1, Def.TableName);
        if (!Query.Step())
            Missing.push_back(Def.TableName);
    }
    return Missing;
}

TDataTables CreateDataTables(TComponent* Owner, const String& AppDir) {
    TDataTables Tables;
    for (const TDataTableDef& Def : Definitions()) {
        auto* Table = new TTable(Owner);
        Table->Name = Def.ComponentName;
        Table->SetDatabaseName(AppDir + L"Data");
        Table->SetTableName(Def.TableName);
        Table->SetFieldDefs(Def.Fields);
        Tables.*Def.Member = Table;
    }
    return Tables;
}

void AppendRecord(TTable& Table, const std::function<void(TTable&)>& SetFields) {
    try {
        Table.Append();
        SetFields(Table);
        Table.Post();
    } catch (...) {
        Table.Cancel();
        throw;
    }
}

bool DeleteRecordWithId(TTable& Table, int64_t ID) {
    try {
        for (Table.First(); !Table.Eof(); Table.Next()) {
            if (Table.FieldByName(AutoIncFieldName).AsInteger() == ID) {
                Table.Delete();
                return true;
            }
        }
    } catch (const Exception&) {
    }
    return false;
}
