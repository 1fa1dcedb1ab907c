#include "main/DataTables.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

struct TExpected {
    TTable* TDataTables::*Member;
    const wchar_t* ComponentName;
    const wchar_t* TableName;
    const wchar_t* Fields; // name:kind, s string, d date-time, i integer
};

const TExpected Expected[] = {
    {&TDataTables::RecoveryFilesTable, L"RecoveryFilesTable", L"RecoveryFiles",
     L"Date:d OriginalFileName:s NewLocation:s NewFileName:s "},
    {&TDataTables::FolderCleanerTable, L"FolderCleanerTable", L"FolderCleaner", L"Folder:s "},
    {&TDataTables::SplitTable, L"SplitTable", L"Split",
     L"Date:d OriginalFileName:s NewFileName:s "},
    {&TDataTables::LocalBackupTable, L"LocalBackupTable", L"LocalBackup", L"Date:d FileName:s "},
    {&TDataTables::FTPBackupTable, L"FTPBackupTable", L"FTPBackup",
     L"Date:d Session:s Host:s Port:s Dir:s User:s Password:s FileName:s "},
    {&TDataTables::DuplicatesTable, L"DuplicatesTable", L"Duplicates", L"FileName:s "},
    {&TDataTables::JunkFilesTable, L"JunkFilesTable", L"JunkFiles",
     L"Extension:s ExtensionDescription:s "},
    {&TDataTables::FTPConnectionsTable, L"FTPConnectionsTable", L"FTPConnections",
     L"Session:s Host:s Port:s Dir:s User:s Password:s "},
    {&TDataTables::ShutdownTable, L"ShutdownTable", L"Shutdown",
     L"Enabled:i Type:i Hour:i Min:i Sec:i Every:i Ask:i "},
    {&TDataTables::OrganizeToFoldersTable, L"OrganizeToFoldersTable", L"OraganizeToFolders",
     L"Folder:s "},
};

String Describe(const std::vector<TFieldDef>& Fields) {
    const wchar_t Kinds[] = {L's', L'i', L'd'}; // in TFieldType order
    String Result;
    for (const TFieldDef& Def : Fields)
        Result += Def.Name + L":" + Kinds[Def.DataType] + L" ";
    return Result;
}

// A value of the field's kind that differs from field to field.
void Fill(TField& Field, int Seed) {
    switch (Field.DataType()) {
    case ftString:
        Field.SetAsString(Field.FieldName() + L"-" + IntToStr(Seed));
        break;
    case ftInteger:
        Field.SetAsInteger(Seed);
        break;
    case ftDateTime:
        Field.SetAsDateTime(45000.25 + Seed);
        break;
    }
}

bool Holds(TField& Field, int Seed) {
    switch (Field.DataType()) {
    case ftString:
        return Field.AsString() == Field.FieldName() + L"-" + IntToStr(Seed);
    case ftInteger:
        return Field.AsInteger() == Seed;
    case ftDateTime:
        return Field.AsDateTime() == 45000.25 + Seed;
    }
    return false;
}

TEST(DataTablesTest, FieldsByTableName) {
    for (const TExpected& Table : Expected)
        EXPECT_EQ(Describe(DataTableFields(Table.TableName)), Table.Fields) << Table.TableName;
    EXPECT_THROW(DataTableFields(L"OrganizeToFolders"), EDatabaseError);
}

// Only the junk list comes with records of its own.
int64_t ShippedRecords(const TTable& Table) {
    return Table.TableName() == L"JunkFiles" ? 12 : 0;
}

TEST(DataTablesTest, AllTablesOpenInAFreshDataFolder) {
    TTempFolder AppDir;
    AppDir.AddFolder(L"Data");
    {
        TComponent Owner(nullptr);
        const TDataTables Tables = CreateDataTables(&Owner, AppDir.Path());
        EXPECT_EQ(Owner.ComponentCount(), 10);
        Tables.OpenAll();
        int Seed = 0;
        for (const TExpected& Expect : Expected) {
            SCOPED_TRACE(Expect.ComponentName);
            TTable* Table = Tables.*Expect.Member;
            ASSERT_NE(Table, nullptr);
            EXPECT_EQ(Table->Owner(), &Owner);
            EXPECT_EQ(Table->Name, Expect.ComponentName);
            EXPECT_EQ(Table->TableName(), Expect.TableName);
            EXPECT_EQ(Table->DatabaseName(), AppDir.Path() + L"Data");
            EXPECT_TRUE(Table->Active());
            EXPECT_EQ(Table->RecordCount(), ShippedRecords(*Table));
            Table->Append();
            for (const TFieldDef& Def : Table->FieldDefs())
                Fill(Table->FieldByName(Def.Name), ++Seed);
            Table->Post();
        }
    }
    EXPECT_TRUE(PathPresent(AppDir.Path() + L"Data\\qrv.db"));

    // A second start finds every record as it was written.
    TComponent Owner(nullptr);
    const TDataTables Tables = CreateDataTables(&Owner, AppDir.Path());
    Tables.OpenAll();
    int Seed = 0;
    for (const TExpected& Expect : Expected) {
        SCOPED_TRACE(Expect.ComponentName);
        TTable& Table = *(Tables.*Expect.Member);
        ASSERT_EQ(Table.RecordCount(), ShippedRecords(Table) + 1);
        Table.MoveBy(ShippedRecords(Table));
        for (const TFieldDef& Def : Table.FieldDefs())
            EXPECT_TRUE(Holds(Table.FieldByName(Def.Name), ++Seed)) << Def.Name;
    }
}

TEST(DataTablesTest, TheShippedJunkListIsWrittenOnlyIntoANewTable) {
    TTempFolder AppDir;
    AppDir.AddFolder(L"Data");
    auto OpenJunkList = [&](TComponent& Owner) -> TTable& {
        const TDataTables Tables = CreateDataTables(&Owner, AppDir.Path());
        Tables.OpenAll();
        return *Tables.JunkFilesTable;
    };
    {
        TComponent Owner(nullptr);
        TTable& Junk = OpenJunkList(Owner);
        ASSERT_EQ(Junk.RecordCount(), 12);
        EXPECT_EQ(Junk.FieldByName(L"Extension").AsString(), L"*.tmp");
        EXPECT_EQ(Junk.FieldByName(L"ExtensionDescription").AsString(), L"Temporary files");
        // The user empties the list: it must stay empty at the next start.
        while (!Junk.Eof())
            Junk.Delete();
    }
    TComponent Owner(nullptr);
    EXPECT_EQ(OpenJunkList(Owner).RecordCount(), 0);
}

} // namespace
