#include "main/RecoveryStore.h"

#include "tests/main/ScanTestSupport.h"
#include "tests/main/TablesFixture.h"

#include <gtest/gtest.h>

namespace {

// Stores of files below App\src go to App\store<n>\, n the first letter of the file's folder
// after src (so a test can have two "drives").
class RecoveryStoreTest : public ::testing::Test {
protected:
    TTablesFixture Fx;
    TFakeClock Clock{EncodeDate(2024, 3, 9) + EncodeTime(10, 20, 30, 400)};
    TTable& Table = *Fx.Tables.RecoveryFilesTable;

    String FolderFor(const String& FileName) const {
        const String Below = FileName.substr(Fx.App.Path().size() + 4);
        return Fx.App.Path() + L"store" + Below.substr(0, 1) + L"\\";
    }
    TRecoveryStore MakeStore(const IClock& UseClock) {
        return TRecoveryStore(Table, UseClock, [this](const String& F) { return FolderFor(F); });
    }
    std::vector<TRecoveryDay> Days() { return MakeStore(Clock).List(); }
};

TEST(RecoveryFolderTest, IsAtTheRootOfTheFilesOwnDrive) {
    EXPECT_EQ(RecoveryFolderFor(L"D:\\docs\\a.txt"), L"D:\\System Corvanta Recycled\\");
    EXPECT_EQ(RecoveryFolderFor(L"\\\\srv\\share\\a.txt"),
              L"\\\\srv\\share\\System Corvanta Recycled\\");
    EXPECT_EQ(RecoveryFolderFor(L"a.txt"), L"");
}

TEST_F(RecoveryStoreTest, StoreAndRestoreGiveTheSameBytesAndTime) {
    const String Original = Fx.App.AddFile(L"src\\a\\report.doc", std::string("\0\x01"
                                                                              "data\xff",
                                                                              7));
    const FILETIME Written = WriteTimeOf(Original);
    TRecoveryStore Store = MakeStore(Clock);

    ASSERT_TRUE(Store.Store(Original));
    EXPECT_FALSE(PathPresent(Original));
    std::vector<TRecoveryDay> Listed = Store.List();
    ASSERT_EQ(Listed.size(), 1u);
    ASSERT_EQ(Listed[0].Files.size(), 1u);
    const TRecoveryFile Entry = Listed[0].Files[0].Entry;
    EXPECT_EQ(Entry.OriginalFileName, Original);
    EXPECT_EQ(Entry.NewLocation, Fx.App.Path() + L"storea\\");
    EXPECT_EQ(Entry.NewFileName.find_first_not_of(L"0123456789"), String::npos);
    EXPECT_DOUBLE_EQ(Entry.Date, Clock.Now());
    EXPECT_TRUE(PathPresent(Entry.NewLocation + Entry.NewFileName));

    TRecoveryList List(Store);
    List.Fill();
    List.CheckAll(true);
    EXPECT_EQ(List.RestoreChecked(), 1);
    EXPECT_EQ(ReadBytes(Original), std::string("\0\x01"
                                               "data\xff",
                                               7));
    EXPECT_TRUE(SameTime(WriteTimeOf(Original), Written));
    EXPECT_EQ(Table.RecordCount(), 0);
    EXPECT_TRUE(List.Days.empty()) << "no empty day heading stays";
}

TEST_F(RecoveryStoreTest, TwoStoresInOneMillisecondGetTwoNames) {
    const String First = Fx.App.AddFile(L"src\\a\\one.txt", "1");
    const String Second = Fx.App.AddFile(L"src\\a\\two.txt", "2");
    TRecoveryStore Store = MakeStore(Clock);
    ASSERT_TRUE(Store.Store(First));
    ASSERT_TRUE(Store.Store(Second));
    const std::vector<TRecoveryDay> Listed = Store.List();
    ASSERT_EQ(Listed.size(), 1u);
    ASSERT_EQ(Listed[0].Files.size(), 2u);
    EXPECT_NE(Listed[0].Files[0].Entry.NewFileName, Listed[0].Files[1].Entry.NewFileName);
    TRecoveryList List(Store);
    List.Fill();
    List.CheckAll(true);
    EXPECT_EQ(List.RestoreChecked(), 2);
    EXPECT_EQ(ReadBytes(First), "1");
    EXPECT_EQ(ReadBytes(Second), "2");
}

TEST_F(RecoveryStoreTest, FilesAreListedByDayTheLaterStoredFirst) {
    const TDateTime Day1 = EncodeDate(2024, 3, 9);
    const String Names[] = {L"first.txt", L"second.txt", L"third.txt"};
    const TDateTime Times[] = {Day1 + 0.25, Day1 + 0.75, Day1 + 1.1};
    for (int I = 0; I < 3; ++I) {
        TFakeClock At(Times[I]);
        ASSERT_TRUE(MakeStore(At).Store(Fx.App.AddFile(L"src\\a\\" + Names[I], "x")));
    }
    TRecoveryStore Store = MakeStore(Clock);
    TRecoveryList List(Store);
    List.Fill();
    ASSERT_EQ(List.Days.size(), 2u);
    ASSERT_EQ(List.Days[0].Files.size(), 2u);
    EXPECT_EQ(ExtractFileName(List.Days[0].Files[0].Entry.OriginalFileName), L"second.txt");
    EXPECT_EQ(ExtractFileName(List.Days[0].Files[1].Entry.OriginalFileName), L"first.txt");
    ASSERT_EQ(List.Days[1].Files.size(), 1u);
    EXPECT_EQ(ExtractFileName(List.Days[1].Files[0].Entry.OriginalFileName), L"third.txt");
    EXPECT_EQ(List.FindRecoveryDayGroup(Day1 + 0.9), &List.Days[0]);
    EXPECT_EQ(List.FindRecoveryDayGroup(Day1 + 1.0), &List.Days[1]);
    EXPECT_EQ(List.FindRecoveryDayGroup(Day1 + 2.0), nullptr);

    // A day keeps its heading while it has a file row, and loses it with its last one.
    List.Days[0].Files[0].Checked = true;
    List.Days[1].Files[0].Checked = true;
    EXPECT_EQ(List.DropChecked(), 2);
    ASSERT_EQ(List.Days.size(), 1u);
    EXPECT_EQ(ExtractFileName(List.Days[0].Files.at(0).Entry.OriginalFileName), L"first.txt");
}

TEST_F(RecoveryStoreTest, ATakenOldNameKeepsRowRecordAndBothFiles) {
    const String Original = Fx.App.AddFile(L"src\\a\\taken.txt", "stored");
    TRecoveryStore Store = MakeStore(Clock);
    ASSERT_TRUE(Store.Store(Original));
    Fx.App.AddFile(L"src\\a\\taken.txt", "new one");

    TRecoveryList List(Store);
    List.Fill();
    List.CheckAll(true);
    EXPECT_EQ(List.RestoreChecked(), 0);
    EXPECT_EQ(ReadBytes(Original), "new one");
    ASSERT_EQ(List.Days[0].Files.size(), 1u);
    EXPECT_TRUE(List.Days[0].Files[0].Checked);
    const TRecoveryFile& Entry = List.Days[0].Files[0].Entry;
    EXPECT_EQ(ReadBytes(Entry.NewLocation + Entry.NewFileName), "stored");
    EXPECT_EQ(Table.RecordCount(), 1);
}

TEST_F(RecoveryStoreTest, ARecordIsFoundByItsIdNotByItsStoredName) {
    // The same clock on two "drives" gives the same stored name in two store folders.
    const String OnA = Fx.App.AddFile(L"src\\a\\same.txt", "A");
    const String OnB = Fx.App.AddFile(L"src\\b\\same.txt", "B");
    TRecoveryStore Store = MakeStore(Clock);
    ASSERT_TRUE(Store.Store(OnA));
    ASSERT_TRUE(Store.Store(OnB));
    TRecoveryList List(Store);
    List.Fill();
    ASSERT_EQ(List.Days[0].Files.size(), 2u);
    ASSERT_EQ(List.Days[0].Files[0].Entry.NewFileName, List.Days[0].Files[1].Entry.NewFileName);
    ASSERT_EQ(List.Days[0].Files[0].Entry.OriginalFileName, OnB);
    List.Days[0].Files[0].Checked = true;

    EXPECT_EQ(List.RestoreChecked(), 1);
    EXPECT_EQ(ReadBytes(OnB), "B");
    List.Fill();
    ASSERT_EQ(List.Days[0].Files.size(), 1u);
    EXPECT_EQ(List.Days[0].Files[0].Entry.OriginalFileName, OnA);
}

TEST_F(RecoveryStoreTest, DroppingForgetsTheRecordAndLeavesTheStoredFile) {
    const String Original = Fx.App.AddFile(L"src\\a\\drop.txt", "kept");
    TRecoveryStore Store = MakeStore(Clock);
    ASSERT_TRUE(Store.Store(Original));
    TRecoveryList List(Store);
    List.Fill();
    const TRecoveryFile Entry = List.Days[0].Files[0].Entry;
    List.CheckAll(false);
    EXPECT_EQ(List.DropChecked(), 0);
    List.CheckAll(true);
    EXPECT_EQ(List.DropChecked(), 1);
    EXPECT_EQ(Table.RecordCount(), 0);
    EXPECT_EQ(ReadBytes(Entry.NewLocation + Entry.NewFileName), "kept");
    EXPECT_FALSE(PathPresent(Original));
}

TEST_F(RecoveryStoreTest, RefusedStoresLeaveTheFileWhereItWas) {
    const String Original = Fx.App.AddFile(L"src\\a\\stay.txt", "here");
    TRecoveryStore NoFolder(Table, Clock, [](const String&) { return String(); });
    EXPECT_FALSE(NoFolder.Store(Original));
    EXPECT_FALSE(MakeStore(Clock).Store(Fx.App.Path() + L"src\\a\\missing.txt"));
    EXPECT_EQ(ReadBytes(Original), "here");
    EXPECT_EQ(Table.RecordCount(), 0);
}

} // namespace
