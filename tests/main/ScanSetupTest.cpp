#include "main/ScanSetup.h"

#include "main/DataTables.h"
#include "tests/main/ScanTestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <vector>

namespace {

TEST(ScanPathListTest, FixedDrivesFromCToZChecked) {
    TFakeDrives Drives;
    for (wchar_t L = L'A'; L <= L'Z'; ++L)
        Drives.Types[L] = DRIVE_NO_ROOT_DIR;
    Drives.Types[L'A'] = DRIVE_FIXED; // never offered
    Drives.Types[L'B'] = DRIVE_FIXED;
    Drives.Types[L'C'] = DRIVE_FIXED;
    Drives.Types[L'D'] = DRIVE_CDROM;
    Drives.Types[L'E'] = DRIVE_FIXED;
    Drives.Types[L'N'] = DRIVE_REMOTE;

    TScanPathList Paths(Drives);
    Paths.AddFolder(L"C:\\Old"); // the refill clears the list
    Paths.FillFixedDrives();
    ASSERT_EQ(Paths.Count(), 2);
    EXPECT_EQ(Paths.Item(0).Path, L"C:\\");
    EXPECT_FALSE(Paths.Item(0).Caption.empty()) << "the shell's name of the drive";
    EXPECT_EQ(Paths.Item(0).CSIDL, 102);
    EXPECT_EQ(Paths.Item(1).Path, L"E:\\");
    EXPECT_EQ(Paths.Item(1).CSIDL, 103);
    for (int I = 0; I < Paths.Count(); ++I) {
        EXPECT_TRUE(Paths.Row(I).Checked);
        EXPECT_FALSE(Paths.Item(I).NotFixedDrive);
        EXPECT_EQ(Paths.Item(I).Flag, 1);
    }
}

TEST(ScanPathListTest, FoldersOnOtherDrivesAreListedButNotScanned) {
    TFakeDrives Drives;
    Drives.Types[L'D'] = DRIVE_CDROM;
    TTempFolder Tree;
    Tree.AddFolder(L"a");
    TScanPathList Paths(Drives);
    EXPECT_EQ(Paths.AddFolder(Tree.Path() + L"a"), 0);
    EXPECT_EQ(Paths.AddFolder(L"D:\\Setup"), 1);
    EXPECT_EQ(Paths.AddFolder(L"\\\\server\\share\\docs"), 2);
    EXPECT_FALSE(Paths.Item(0).NotFixedDrive);
    EXPECT_TRUE(Paths.Item(1).NotFixedDrive);
    EXPECT_TRUE(Paths.Item(2).NotFixedDrive);
    EXPECT_EQ(Paths.Item(2).CSIDL, 104);
    EXPECT_TRUE(Paths.Row(1).Checked);

    EXPECT_EQ(Paths.ScanRoots(), std::vector<String>{Tree.Path() + L"a"});
    EXPECT_EQ(Paths.CheckedRoots().size(), 3u) << "the empty-folder search takes every drive";

    Paths.SetChecked(0, false);
    EXPECT_TRUE(Paths.ScanRoots().empty());
}

TEST(ScanPathListTest, DeleteRowIgnoresIndicesOutsideTheList) {
    TFakeDrives Drives;
    TScanPathList Paths(Drives);
    Paths.AddFolder(L"C:\\A");
    Paths.AddFolder(L"C:\\B");
    Paths.DeleteRow(-1);
    Paths.DeleteRow(2);
    EXPECT_EQ(Paths.Count(), 2);
    Paths.DeleteRow(0);
    ASSERT_EQ(Paths.Count(), 1);
    EXPECT_EQ(Paths.Item(0).Path, L"C:\\B");
    Paths.Clear();
    EXPECT_EQ(Paths.Count(), 0);
}

TEST(ScanPathListTest, DistinctRootsDropRepeatedAndNestedFolders) {
    TTempFolder Tree;
    Tree.AddFolder(L"Data\\Sub");
    Tree.AddFolder(L"DataX");
    const String T = Tree.Path();
    struct TCase {
        std::vector<String> Paths;
        std::vector<String> Expected;
    };
    const std::vector<TCase> Cases{
        {{T + L"Data", T + L"data\\"}, {T + L"Data"}},
        {{T + L"Data\\Sub", T + L"Data"}, {T + L"Data"}},
        {{T + L"Data", T + L"DataX"}, {T + L"Data", T + L"DataX"}}, // a prefix is no parent
        {{T + L"DataX", T, T + L"Data\\Sub"}, {T}},
        {{T + L"Data\\.\\Sub", T + L"Data\\Sub\\"}, {T + L"Data\\.\\Sub"}},
        {{L"", T + L"Data"}, {T + L"Data"}},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(DistinctRoots(Case.Paths), Case.Expected) << ToUtf8(Case.Paths[0]);
}

class JunkMaskListTest : public ::testing::Test {
protected:
    JunkMaskListTest() {
        Tree.AddFolder(L"Data");
        Tables.JunkFilesTable->Open();
    }
    void AppendRaw(const String& Extension) {
        TTable& Table = *Tables.JunkFilesTable;
        Table.Append();
        Table.FieldByName(L"Extension").SetAsString(Extension);
        Table.FieldByName(L"ExtensionDescription").SetAsString(L"raw");
        Table.Post();
    }
    std::vector<String> Extensions() const {
        std::vector<String> Result;
        for (const TJunkMask& Mask : List.Items())
            Result.push_back(Mask.Extension);
        return Result;
    }

    TTempFolder Tree;
    TComponent Owner{nullptr};
    TDataTables Tables = CreateDataTables(&Owner, Tree.Path());
    TJunkMaskList List{*Tables.JunkFilesTable};
};

TEST_F(JunkMaskListTest, AddAndDeleteKeepTableOrderAndDeleteEveryExactMatch) {
    EXPECT_TRUE(List.Add(L"*.tmp", L"Temporary files"));
    EXPECT_TRUE(List.Add(L"*.bak", L"Backups"));
    EXPECT_TRUE(List.Add(L"*.tmp", L"again"));
    EXPECT_TRUE(List.Add(L"*.TMP", L"other case"));
    EXPECT_EQ(Extensions(), (std::vector<String>{L"*.tmp", L"*.bak", L"*.tmp", L"*.TMP"}));
    EXPECT_EQ(List.Items()[0].Description, L"Temporary files");
    EXPECT_EQ(List.MaskText(), L"*.tmp; *.bak; *.tmp; *.TMP");

    EXPECT_EQ(List.Delete(L"*.tmp"), 2);
    EXPECT_EQ(Extensions(), (std::vector<String>{L"*.bak", L"*.TMP"}));
    EXPECT_EQ(List.Delete(L"*.none"), 0);

    // What the table holds is what a fresh list reads.
    TJunkMaskList Again(*Tables.JunkFilesTable);
    Again.Reload();
    EXPECT_EQ(Again.MaskText(), L"*.bak; *.TMP");
}

TEST_F(JunkMaskListTest, BlankMasksAreRefusedAndLeftOutOfTheMaskText) {
    EXPECT_FALSE(List.Add(L"", L"nothing"));
    EXPECT_FALSE(List.Add(L"  ", L"blank"));
    EXPECT_TRUE(List.Items().empty());
    EXPECT_EQ(Tables.JunkFilesTable->RecordCount(), 0);

    // Blank records already in the table are shown, but match nothing.
    AppendRaw(L" ");
    AppendRaw(L"*.old");
    List.Reload();
    EXPECT_EQ(List.Items().size(), 2u);
    EXPECT_EQ(List.MaskText(), L"*.old");
    EXPECT_EQ(List.Delete(L" "), 1);
    EXPECT_EQ(Extensions(), std::vector<String>{L"*.old"});
}

TEST_F(JunkMaskListTest, AFailedAddLeavesTheTableUsable) {
    EXPECT_TRUE(List.Add(L"*.bak", L"Backups"));
    // Another writer of the database refuses every new record, as a full disk would.
    sqlite3* Db = nullptr;
    ASSERT_EQ(sqlite3_open(ToUtf8(Tree.Path() + L"Data\\qrv.db").c_str(), &Db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(Db,
                           "CREATE TRIGGER Refuse BEFORE INSERT ON JunkFiles "
                           "BEGIN SELECT RAISE(ABORT, 'disk full'); END;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);

    EXPECT_THROW(List.Add(L"*.tmp", L"Temporary files"), EDatabaseError);
    EXPECT_EQ(Extensions(), std::vector<String>{L"*.bak"});

    ASSERT_EQ(sqlite3_exec(Db, "DROP TRIGGER Refuse;", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(Db);
    EXPECT_EQ(List.Delete(L"*.bak"), 1);
    EXPECT_TRUE(List.Add(L"*.old", L"Old versions"));
    EXPECT_EQ(Extensions(), std::vector<String>{L"*.old"});
}

TEST(ScanOptionsTest, ThresholdsFromValueAndUnit) {
    struct TCase {
        double Value;
        int Unit;
        std::uint64_t Expected;
    };
    const std::vector<TCase> Sizes{
        {20, 2, 20971520ULL},  {1.5, 1, 1536ULL},     {0.5, 0, 0ULL}, {100, 0, 100ULL},
        {5, 3, 5368709120ULL}, {4, 3, 4294967296ULL}, {-3, 2, 0ULL},  {7, 9, 7ULL},
    };
    for (const TCase& Case : Sizes) {
        TScanOptions Options;
        Options.LargeValue = Case.Value;
        Options.SizeUnit = Case.Unit;
        EXPECT_EQ(Options.LargeFileThreshold(), Case.Expected) << Case.Value << " " << Case.Unit;
    }
    struct TDays {
        double Value;
        int Period;
        int Expected;
    };
    const std::vector<TDays> Ages{{5, 3, 1825}, {2.9, 1, 14}, {3, 2, 90}, {1, 0, 1}, {0.5, 3, 0}};
    for (const TDays& Case : Ages) {
        TScanOptions Options;
        Options.OldValue = Case.Value;
        Options.Period = Case.Period;
        EXPECT_EQ(Options.OldFileDays(), Case.Expected) << Case.Value << " " << Case.Period;
    }
    const TScanOptions Defaults;
    EXPECT_EQ(Defaults.LargeFileThreshold(), 20971520ULL);
    EXPECT_EQ(Defaults.OldFileDays(), 1825);
}

} // namespace
