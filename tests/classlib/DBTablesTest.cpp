#include "classlib/db/DBTables.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

const std::vector<TFieldDef> ItemFields{
    {L"Name", ftString}, {L"Stamp", ftDateTime}, {L"Count", ftInteger}};

class DBTablesTest : public ::testing::Test {
protected:
    // A closed table component in the temp folder, owned by the fixture.
    TTable& MakeTable(const String& TableName = L"Items",
                      const std::vector<TFieldDef>& Fields = ItemFields) {
        auto* Table = new TTable(&Owner);
        Table->SetDatabaseName(Tree.Path());
        Table->SetTableName(TableName);
        Table->SetFieldDefs(Fields);
        return *Table;
    }

    TTable& OpenItems(const std::vector<const wchar_t*>& Names) {
        TTable& Table = MakeTable();
        Table.Open();
        for (const wchar_t* Name : Names) {
            Table.Append();
            Table.FieldByName(L"Name").SetAsString(Name);
            Table.Post();
        }
        Table.First();
        return Table;
    }

    static String Names(TTable& Table) {
        String Result;
        for (Table.First(); !Table.Eof(); Table.Next())
            Result += Table.FieldByName(L"Name").AsString() + L",";
        return Result;
    }

    String DatabaseFile() const { return Tree.Path() + DatabaseFileName; }

    TTempFolder Tree;
    TComponent Owner{nullptr};
};

TEST_F(DBTablesTest, OpenCreatesTheFileAndAMissingTable) {
    TTable& Table = MakeTable();
    EXPECT_FALSE(Table.Active());
    Table.Open();
    EXPECT_TRUE(Table.Active());
    EXPECT_EQ(Table.State(), dsBrowse);
    EXPECT_EQ(Table.RecordCount(), 0);
    EXPECT_TRUE(Table.Eof());
    EXPECT_TRUE(Table.Bof());
    EXPECT_TRUE(PathPresent(DatabaseFile()));

    // A second table joins the same file; the first keeps its records.
    Table.Append();
    Table.FieldByName(L"Name").SetAsString(L"kept");
    Table.Post();
    TTable& Other = MakeTable(L"Other", {{L"Folder", ftString}});
    Other.Open();
    EXPECT_EQ(Other.RecordCount(), 0);
    EXPECT_EQ(Names(Table), L"kept,");
}

TEST_F(DBTablesTest, RecordsKeepTheirValuesAndOrderAcrossReopening) {
    const TDateTime Stamp = 45123.5;
    {
        TTable& Table = MakeTable();
        Table.Open();
        for (const wchar_t* Name : {L"charlie", L"alpha", L"bravo"}) {
            Table.Append();
            Table.FieldByName(L"Name").SetAsString(Name);
            Table.FieldByName(L"Stamp").SetAsDateTime(Stamp);
            Table.FieldByName(L"Count").SetAsInteger(int64_t{1} << 40);
            Table.Post();
            EXPECT_EQ(Table.FieldByName(L"Name").AsString(), Name); // cursor on the new record
        }
        delete &Table;
    }
    TTable& Table = MakeTable();
    Table.Open();
    EXPECT_EQ(Table.RecordCount(), 3);
    EXPECT_EQ(Names(Table), L"charlie,alpha,bravo,");
    int64_t LastId = 0;
    for (Table.First(); !Table.Eof(); Table.Next()) {
        EXPECT_EQ(Table.FieldByName(L"Stamp").AsDateTime(), Stamp);
        EXPECT_EQ(Table.FieldByName(L"Count").AsInteger(), int64_t{1} << 40);
        EXPECT_GT(Table.FieldByName(L"ID").AsInteger(), LastId);
        LastId = Table.FieldByName(L"ID").AsInteger();
    }
}

TEST_F(DBTablesTest, UnsetFieldsReadEmpty) {
    TTable& Table = OpenItems({L"only a name"});
    EXPECT_EQ(Table.FieldByName(L"Stamp").AsDateTime(), 0);
    EXPECT_EQ(Table.FieldByName(L"Stamp").AsString(), L"");
    EXPECT_EQ(Table.FieldByName(L"Count").AsInteger(), 0);
    EXPECT_EQ(Table.FieldByName(L"Count").AsString(), L"");
}

TEST_F(DBTablesTest, EditPostAndCancel) {
    TTable& Table = OpenItems({L"a", L"b", L"c"});
    Table.Next();
    Table.Edit();
    EXPECT_EQ(Table.State(), dsEdit);
    Table.FieldByName(L"Name").SetAsString(L"B");
    Table.Post();
    EXPECT_EQ(Table.State(), dsBrowse);
    EXPECT_EQ(Names(Table), L"a,B,c,");

    Table.First();
    Table.Edit();
    Table.FieldByName(L"Name").SetAsString(L"discarded");
    Table.Cancel();
    EXPECT_EQ(Table.FieldByName(L"Name").AsString(), L"a");

    Table.Append();
    Table.FieldByName(L"Name").SetAsString(L"discarded");
    Table.Cancel();
    EXPECT_EQ(Table.FieldByName(L"Name").AsString(), L"a");
    EXPECT_EQ(Table.RecordCount(), 3);

    // Leaving a modified record posts it, as a dataset does.
    Table.Edit();
    Table.FieldByName(L"Name").SetAsString(L"A");
    Table.Next();
    EXPECT_EQ(Names(Table), L"A,B,c,");

    // Changes are lost only when the table is closed while editing.
    Table.First();
    Table.Edit();
    Table.FieldByName(L"Name").SetAsString(L"lost");
    Table.Close();
    Table.Open();
    EXPECT_EQ(Names(Table), L"A,B,c,");
}

TEST_F(DBTablesTest, NavigationFlagsAndMoveBy) {
    struct TCase {
        int64_t Distance;
        int64_t Moved;
        const wchar_t* Name;
        bool Bof, Eof;
    };
    const TCase Cases[] = {
        {0, 0, L"a", true, false}, {1, 1, L"b", false, false}, {2, 2, L"c", false, false},
        {3, 2, L"c", false, true}, {9, 2, L"c", false, true},  {-1, 0, L"a", true, false},
    };
    TTable& Table = OpenItems({L"a", L"b", L"c"});
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Distance);
        Table.First();
        EXPECT_EQ(Table.MoveBy(Case.Distance), Case.Moved);
        EXPECT_EQ(Table.FieldByName(L"Name").AsString(), Case.Name);
        EXPECT_EQ(Table.Bof(), Case.Bof);
        EXPECT_EQ(Table.Eof(), Case.Eof);
    }

    // Back from the end, one step at a time, to Bof on the first record.
    Table.First();
    Table.MoveBy(5);
    EXPECT_EQ(Table.MoveBy(-1), -1);
    EXPECT_EQ(Table.FieldByName(L"Name").AsString(), L"b");
    EXPECT_FALSE(Table.Eof());
    Table.Prior();
    Table.Prior();
    EXPECT_TRUE(Table.Bof());
    EXPECT_EQ(Table.FieldByName(L"Name").AsString(), L"a");
}

TEST_F(DBTablesTest, DeleteMovesToTheFollowingRecord) {
    TTable& Table = OpenItems({L"a", L"b", L"c"});
    Table.Next();
    Table.Delete();
    EXPECT_EQ(Table.FieldByName(L"Name").AsString(), L"c");
    EXPECT_FALSE(Table.Eof());

    Table.Delete(); // the last one: Eof, on the record before it
    EXPECT_TRUE(Table.Eof());
    EXPECT_EQ(Table.FieldByName(L"Name").AsString(), L"a");

    Table.Delete(); // the only one left
    EXPECT_TRUE(Table.Eof());
    EXPECT_TRUE(Table.Bof());
    EXPECT_EQ(Table.RecordCount(), 0);
    EXPECT_EQ(Table.FieldByName(L"Name").AsString(), L"");
    EXPECT_THROW(Table.Delete(), EDatabaseError);
    EXPECT_THROW(Table.Edit(), EDatabaseError);
}

TEST_F(DBTablesTest, DeletingMatchesWhileWalking) {
    struct TCase {
        std::vector<const wchar_t*> Records;
        const wchar_t* Left;
    };
    const TCase Cases[] = {
        {{L"a", L"x", L"b", L"x", L"x", L"c", L"x"}, L"a,b,c,"},
        {{L"x", L"x", L"x"}, L""},
        {{L"x", L"a"}, L"a,"},
        {{L"a", L"b"}, L"a,b,"},
        {{}, L""},
    };
    for (const TCase& Case : Cases) {
        TTable& Table = OpenItems(Case.Records);
        Table.First();
        while (!Table.Eof()) {
            if (Table.FieldByName(L"Name").AsString() == L"x")
                Table.Delete();
            else
                Table.Next();
        }
        EXPECT_EQ(Names(Table), Case.Left) << Names(Table);
        delete &Table;
        DeleteFileW(DatabaseFile().c_str());
    }
}

TEST_F(DBTablesTest, DateTimesAndTextsRoundTripExactly) {
    const TDateTime Moments[] = {
        0.0, 45123.456789012345, 1e-10, -700.25, 2958465.999988426, 36526.0, 1.0 / 3};
    const String Texts[] = {L"", L"plain", L"quote \" and ' and ;", L"\x00e9\x4e2d\xd83d\xde00"};
    {
        TTable& Table = MakeTable();
        Table.Open();
        for (size_t Index = 0; Index < std::size(Moments); ++Index) {
            Table.Append();
            Table.FieldByName(L"Stamp").SetAsDateTime(Moments[Index]);
            Table.FieldByName(L"Name").SetAsString(Texts[Index % std::size(Texts)]);
            Table.Post();
        }
        delete &Table;
    }
    TTable& Table = MakeTable();
    Table.Open();
    for (size_t Index = 0; Index < std::size(Moments); ++Index, Table.Next()) {
        const TDateTime Read = Table.FieldByName(L"Stamp").AsDateTime();
        EXPECT_EQ(std::memcmp(&Read, &Moments[Index], sizeof Read), 0) << Index;
        EXPECT_EQ(Table.FieldByName(L"Name").AsString(), Texts[Index % std::size(Texts)]);
    }
}

TEST_F(DBTablesTest, DateTimeTextLikeADataset) {
    TTable& Table = OpenItems({L"a"});
    Table.Edit();
    Table.FieldByName(L"Stamp").SetAsDateTime(EncodeDate(2024, 2, 29));
    EXPECT_EQ(Table.FieldByName(L"Stamp").AsString(), DateToStr(EncodeDate(2024, 2, 29)));
    const TDateTime WithTime = EncodeDate(2024, 2, 29) + EncodeTime(13, 5, 9, 0);
    Table.FieldByName(L"Stamp").SetAsDateTime(WithTime);
    EXPECT_EQ(Table.FieldByName(L"Stamp").AsString(), DateTimeToStr(WithTime));
}

TEST_F(DBTablesTest, FieldAccessErrors) {
    TTable& Table = OpenItems({L"a"});
    try {
        Table.FieldByName(L"Nope");
        FAIL() << "no error";
    } catch (const EDatabaseError& E) {
        EXPECT_EQ(E.Message(), L"Field 'Nope' not found");
    }
    EXPECT_EQ(&Table.FieldByName(L"name"), &Table.FieldByName(L"NAME")); // case-insensitive

    EXPECT_THROW(Table.FieldByName(L"Name").SetAsString(L"not editing"), EDatabaseError);
    EXPECT_THROW(Table.Post(), EDatabaseError);
    Table.Edit();
    EXPECT_THROW(Table.FieldByName(L"ID").SetAsInteger(7), EDatabaseError);
    EXPECT_THROW(Table.FieldByName(L"Count").AsDateTime(), EDatabaseError);
    EXPECT_THROW(Table.FieldByName(L"Stamp").SetAsInteger(1), EDatabaseError);
    EXPECT_THROW(Table.FieldByName(L"Count").SetAsString(L"twelve"), EConvertError);
    Table.FieldByName(L"Count").SetAsString(L"12");
    EXPECT_EQ(Table.FieldByName(L"Count").AsInteger(), 12);
    Table.Cancel();
    EXPECT_EQ(Table.FieldByName(L"Count").AsString(), L"");
}

TEST_F(DBTablesTest, ClosedTablesAndBadDefinitionsAreRefused) {
    TTable& Closed = MakeTable();
    EXPECT_THROW(Closed.First(), EDatabaseError);
    EXPECT_THROW(Closed.FieldByName(L"Name"), EDatabaseError);
    EXPECT_THROW(Closed.RecordCount(), EDatabaseError);
    EXPECT_THROW(Closed.Append(), EDatabaseError);

    TTable& Open = OpenItems({});
    EXPECT_THROW(Open.SetTableName(L"Other"), EDatabaseError);

    const std::vector<TFieldDef> Doubled{{L"Name", ftString}, {L"NAME", ftInteger}};
    const std::vector<TFieldDef> Automatic{{L"id", ftInteger}};
    const std::vector<TFieldDef> Unnamed{{L"", ftString}};
    for (const auto* Fields : {&Doubled, &Automatic, &Unnamed}) {
        TTable& Table = MakeTable(L"Bad", *Fields);
        EXPECT_THROW(Table.Open(), EDatabaseError);
        EXPECT_FALSE(Table.Active());
    }
    EXPECT_THROW(MakeTable(L"Bad", {}).Open(), EDatabaseError);
    EXPECT_THROW(MakeTable(L"").Open(), EDatabaseError);
}

TEST_F(DBTablesTest, StoredTableLackingAFieldIsReported) {
    MakeTable(L"Items", {{L"Name", ftString}}).Open();
    TTable& Table = MakeTable();
    try {
        Table.Open();
        FAIL() << "no error";
    } catch (const EDatabaseError& E) {
        EXPECT_NE(E.Message().find(L"Items"), String::npos) << E.what();
        EXPECT_NE(E.Message().find(L"Stamp"), String::npos) << E.what();
    }
    EXPECT_FALSE(Table.Active());
}

TEST_F(DBTablesTest, MissingFolderGivesAnError) {
    TTable& Table = MakeTable();
    Table.SetDatabaseName(Tree.Path() + L"absent");
    EXPECT_THROW(Table.Open(), EDatabaseError);
    EXPECT_FALSE(Table.Active());
    EXPECT_FALSE(PathPresent(Tree.Path() + L"absent"));
}

TEST_F(DBTablesTest, DamagedDatabaseIsReportedAndLeftAlone) {
    // A sound file first, so that the second case damages a real table page.
    {
        TTable& Table = OpenItems({L"a", L"b"});
        delete &Table;
    }
    std::string Sound = ReadBytes(DatabaseFile());
    ASSERT_GE(Sound.size(), 3 * 4096u);
    std::string BadPage = Sound;
    std::memset(BadPage.data() + 4096, 0xFF, 4096);

    const std::string Contents[] = {std::string(5000, 'x'), BadPage};
    for (const std::string& Bytes : Contents) {
        WriteBytes(DatabaseFile(), Bytes);
        TTable& Table = MakeTable();
        try {
            Table.Open();
            ADD_FAILURE() << "opened a damaged file";
        } catch (const EDatabaseError& E) {
            EXPECT_NE(E.Message().find(L"damaged"), String::npos) << E.what();
        }
        EXPECT_FALSE(Table.Active());
        EXPECT_EQ(ReadBytes(DatabaseFile()), Bytes);
        EXPECT_FALSE(PathPresent(DatabaseFile() + L"-journal"));
    }
}

TEST_F(DBTablesTest, TablesOfOneFolderSeeEachOthersChanges) {
    TTable& First = OpenItems({L"a", L"b", L"c"});
    TTable& Second = MakeTable();
    Second.Open();
    EXPECT_EQ(Second.RecordCount(), 3);

    First.Next();
    Second.Next();
    Second.Delete(); // "b", under First's cursor
    First.Next();
    EXPECT_EQ(First.FieldByName(L"Name").AsString(), L"c");
    First.Prior();
    EXPECT_EQ(First.FieldByName(L"Name").AsString(), L"a");

    // Editing a record another component removed is refused, not silently lost.
    First.Next();
    EXPECT_EQ(First.FieldByName(L"Name").AsString(), L"c");
    Second.Delete(); // "c", still shown by First
    EXPECT_THROW(First.Edit(), EDatabaseError);
    First.Next();
    EXPECT_TRUE(First.Eof());
    EXPECT_EQ(Names(First), L"a,");
}

} // namespace
