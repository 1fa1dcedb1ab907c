#include "main/FileActions.h"

#include "main/MainMode.h"
#include "tests/main/FileFeatureSupport.h"
#include "tests/support/PathFixtures.h"

#include <gtest/gtest.h>

namespace {

using Keys = std::vector<String>;

class FileActionsTest : public ::testing::Test {
protected:
    TFeatureFixture F;
    TStatistics Stats;
    TRecoveryStore Store{*F.Fx.Tables.RecoveryFilesTable, F.Clock,
                         [this](const String&) { return F.Fx.App.Path() + L"store\\"; }};
    TBackup Backup{F.Context};
    int Mode = 1;
    TFileActions Actions{F.Context, Stats, Store, Backup, [this] { return Mode; }};
    TScanResults Results;

    // Count and size of every category, 1..6.
    std::vector<std::pair<std::int64_t, std::int64_t>> Counted() const {
        std::vector<std::pair<std::int64_t, std::int64_t>> All;
        for (int Category = 1; Category <= 6; ++Category)
            All.emplace_back(Stats.CurrentCount(Category), Stats.CurrentSize(Category));
        return All;
    }
};

TEST_F(FileActionsTest, RemoveFileByModeKindAndEntry) {
    const struct {
        int Mode;
        bool Store, Shred, Folder, Empty;
        int Result;
        int Category; // 0: nothing counted
        std::int64_t Size;
        bool Recorded;
    } Cases[] = {
        {2, false, false, false, true, 0, 2, 5, false}, // delete counts in large files
        {2, true, false, false, true, 0, 0, 0, true},   // storing counts nothing
        {2, false, true, false, true, 0, 2, 5, false},  // shredding counts
        {3, true, true, false, true, 0, 3, 5, false},   // the shred wins over the store
        {14, false, false, true, true, 0, 4, 0, false}, // a folder counts 0 bytes
        {5, true, false, true, true, 0, 0, 0, false},   // a stored folder is only removed
        {1, false, true, true, true, 0, 1, 0, false},
        {1, false, false, true, false, 1, 0, 0, false},  // a folder with files stays
        {6, false, false, false, false, 1, 0, 0, false}, // a missing file
    };
    int Step = 0;
    for (const auto& Case : Cases) {
        SCOPED_TRACE(++Step);
        Mode = Case.Mode;
        const auto Before = Counted();
        const String Entry = F.Fx.App.Path() + L"case" + IntToStr(Step) + L"\\entry";
        if (Case.Folder) {
            F.Fx.App.AddFolder(L"case" + IntToStr(Step) + L"\\entry");
            if (!Case.Empty)
                F.Fx.App.AddFile(L"case" + IntToStr(Step) + L"\\entry\\inside.txt", "x");
        } else if (Case.Empty) {
            F.Fx.App.AddFile(L"case" + IntToStr(Step) + L"\\entry", "12345");
        }
        const int64_t RecordsBefore = F.Fx.Tables.RecoveryFilesTable->RecordCount();
        EXPECT_EQ(Actions.RemoveFile(Entry, Case.Store, Case.Shred), Case.Result);
        auto Expected = Before;
        if (Case.Category) {
            Expected[Case.Category - 1].first += 1;
            Expected[Case.Category - 1].second += Case.Size;
        }
        EXPECT_EQ(Counted(), Expected);
        EXPECT_EQ(F.Fx.Tables.RecoveryFilesTable->RecordCount() - RecordsBefore,
                  Case.Recorded ? 1 : 0);
        EXPECT_EQ(PathPresent(Entry), Case.Result != 0 && Case.Empty == false && Case.Folder);
    }
}

TEST_F(FileActionsTest, ALockedMiddleRowStaysCheckedWhileTheOthersGo) {
    for (const TRemoveKind Kind :
         {TRemoveKind::Delete, TRemoveKind::Shred, TRemoveKind::SecureDelete}) {
        SCOPED_TRACE(static_cast<int>(Kind));
        Results.Clear();
        const String Files[] = {F.Fx.App.AddFile(L"rows\\one.txt", "1"),
                                F.Fx.App.AddFile(L"rows\\two.txt", "2"),
                                F.Fx.App.AddFile(L"rows\\three.txt", "3")};
        for (const String& File : Files)
            AddResult(Results, File, true);
        const TOwnedHandle Lock = OwnHandle(
            CreateFileW(Files[1].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(Lock);
        F.Progress.Positions.clear();
        F.Prompt.Answer = IPrompt::ResultYes;
        EXPECT_EQ(Actions.RemoveChecked(Results, Kind), 2);
        EXPECT_EQ(F.Progress.Positions, (std::vector<std::int64_t>{0, 0, 33, 66}));
        EXPECT_FALSE(F.Progress.CancelVisible);
        EXPECT_FALSE(F.Progress.Running);
        ASSERT_EQ(Results.Count(), 1);
        EXPECT_EQ(Results.File(0).Name, L"two.txt");
        EXPECT_TRUE(Results.Row(0).Checked);
        EXPECT_FALSE(PathPresent(Files[0]));
        EXPECT_TRUE(PathPresent(Files[1]));
        EXPECT_FALSE(PathPresent(Files[2]));
    }
}

TEST_F(FileActionsTest, RowsRefilledWhileTheLoopRunsNeitherChangeNorLoseWhatItActsOn) {
    const String Chosen[] = {F.Fx.App.AddFile(L"chosen\\one.txt", "1"),
                             F.Fx.App.AddFile(L"chosen\\two.txt", "2")};
    const String Clicked[] = {F.Fx.App.AddFile(L"clicked\\three.txt", "3"),
                              F.Fx.App.AddFile(L"clicked\\four.txt", "4"),
                              F.Fx.App.AddFile(L"clicked\\five.txt", "5")};
    for (const String& File : Chosen)
        AddResult(Results, File, true);
    // At the first pump the rows are filled again with other files, more of them and checked,
    // as a click on another duplicate group did.
    F.Progress.OnPump = [&] {
        if (Results.Count() != 2 || Results.File(0).Name != L"one.txt")
            return;
        Results.Clear();
        for (const String& File : Clicked)
            AddResult(Results, File, true);
    };
    F.Prompt.Answer = IPrompt::ResultYes;
    EXPECT_EQ(Actions.RemoveChecked(Results, TRemoveKind::Delete), 2);
    F.Progress.OnPump = nullptr;
    for (const String& File : Chosen)
        EXPECT_FALSE(PathPresent(File)) << ToUtf8(File);
    for (const String& File : Clicked)
        EXPECT_TRUE(PathPresent(File)) << ToUtf8(File);
    EXPECT_EQ(Results.Count(), 3) << "the rows of files it did not touch stay";
}

TEST_F(FileActionsTest, ConfirmationsGuardEveryRemoval) {
    const String File = F.Fx.App.AddFile(L"one\\keep.txt", "k");
    AddResult(Results, File, false);
    F.Prompt.Answer = IPrompt::ResultNo;
    EXPECT_FALSE(Actions.RemoveOne(Results, 0, TRemoveKind::Delete));
    EXPECT_FALSE(Actions.CanRemoveChecked(Results));
    Results.SetChecked(0, true);
    EXPECT_EQ(Actions.RemoveChecked(Results, TRemoveKind::Shred), 0);
    EXPECT_EQ(F.ShownKeys(),
              (Keys{L"DeleteFileConfirm", L"sNoSelectedFiles", L"ShredFilesConfirm"}));
    EXPECT_TRUE(PathPresent(File));
    EXPECT_EQ(F.Progress.Starts, 0);

    F.Prompt.Answer = IPrompt::ResultYes;
    Mode = mdOldFiles;
    EXPECT_TRUE(Actions.RemoveOne(Results, 0, TRemoveKind::Shred));
    EXPECT_EQ(Results.Count(), 0);
    EXPECT_EQ(Stats.CurrentCount(3), 1);
    EXPECT_FALSE(PathPresent(File));
}

TEST_F(FileActionsTest, MovesKeepTheRowsWhoseFileDidNotMove) {
    const String A = F.Fx.App.AddFile(L"from\\a.txt", "a");
    const String B = F.Fx.App.AddFile(L"from\\b.txt", "b");
    AddResult(Results, A, true);
    AddResult(Results, B, true);
    const String Target = F.Fx.App.Path() + L"to\\deep";

    F.Prompt.Answer = IPrompt::ResultNo;
    EXPECT_EQ(Actions.MoveChecked(Results, Target), -1);
    EXPECT_FALSE(PathPresent(Target));
    EXPECT_EQ(Results.Count(), 2);

    F.Fx.App.AddFile(L"to\\deep\\b.txt", "taken");
    F.Prompt.Asked.clear();
    EXPECT_EQ(Actions.MoveChecked(Results, Target), 1);
    EXPECT_TRUE(F.Prompt.Asked.empty()) << "an existing folder is not asked for";
    EXPECT_EQ(ReadBytes(Target + L"\\a.txt"), "a");
    EXPECT_EQ(ReadBytes(Target + L"\\b.txt"), "taken");
    EXPECT_EQ(ReadBytes(B), "b");
    ASSERT_EQ(Results.Count(), 1);
    EXPECT_TRUE(Results.Row(0).Checked);
    EXPECT_EQ(Stats.CurrentCount(1), 0) << "moves are not counted";

    EXPECT_FALSE(Actions.MoveOne(Results, 0, Target));
    EXPECT_TRUE(Actions.MoveOne(Results, 0, F.Fx.App.Path() + L"to"));
    EXPECT_EQ(Results.Count(), 0);
}

TEST_F(FileActionsTest, ZipAndBackupOfFoundFiles) {
    const String A = F.Fx.App.AddFile(L"z\\a.txt", "a");
    const String Twin = F.Fx.App.AddFile(L"z\\sub\\a.txt", "twin");
    AddResult(Results, A, true);
    AddResult(Results, Twin, true);
    const String Zip = F.Fx.App.Path() + L"found.zip";

    EXPECT_TRUE(Actions.ZipOne(Results, 0, Zip));
    EXPECT_TRUE(F.Prompt.Asked.empty()) << "the one-file zip tells nothing on success";
    EXPECT_FALSE(Actions.ZipChecked(Results, Zip)) << "two files named a.txt";
    EXPECT_EQ(F.ShownKeys(), Keys{L"BackupFailed"});

    F.Prompt.Asked.clear();
    EXPECT_TRUE(Actions.BackupOne(Results, 1, F.Fx.App.Path() + L"one.zip"));
    EXPECT_EQ(F.ShownKeys(), Keys{L"BackupOK"});
    EXPECT_EQ(Backup.LocalBackups().size(), 1u);

    Mode = mdOldFiles;
    EXPECT_TRUE(Actions.BackupChecked(Results));
    EXPECT_TRUE(Backup.BackupFromResults);
    EXPECT_EQ(Backup.ResultsMode, mdOldFiles);
}

// Under wine a found file that is a link looks like a plain file, and deleting it deletes its
// target. No action acts through it: the row stays and so do the link and its target.
TEST_F(FileActionsTest, AFoundFileLinkIsNeverActedOnThroughIt) {
    const String Links = FileLinkFixtures();
    ASSERT_FALSE(Links.empty()) << "QRV_FIXTURES is not set";
    // Store and move on the links' own drive, where a rename would succeed.
    TRecoveryStore LinkStore{*F.Fx.Tables.RecoveryFilesTable, F.Clock,
                             [&](const String&) { return Links + L"store\\"; }};
    TFileActions LinkActions{F.Context, Stats, LinkStore, Backup, [this] { return Mode; }};
    const String MovedTo = Links + L"moved";
    F.Prompt.Answer = IPrompt::ResultYes;

    const struct {
        const wchar_t* Name;
        std::function<bool(TScanResults&)> Act;
    } Cases[] = {
        {L"delete",
         [&](TScanResults& R) { return LinkActions.RemoveOne(R, 0, TRemoveKind::Delete); }},
        {L"shred",
         [&](TScanResults& R) { return LinkActions.RemoveOne(R, 0, TRemoveKind::Shred); }},
        {L"store",
         [&](TScanResults& R) {
             return LinkActions.RemoveChecked(R, TRemoveKind::SecureDelete) > 0;
         }},
        {L"move", [&](TScanResults& R) { return LinkActions.MoveChecked(R, MovedTo) > 0; }},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(ToUtf8(Case.Name));
        const String Link = Links + L"found\\" + Case.Name + L".tmp";
        const String Target = Links + L"targets\\" + Case.Name + L".tmp";
        ASSERT_EQ(ReadBytes(Raw(Target)), "target " + ToUtf8(Case.Name)) << "fixture missing";
        Results.Clear();
        AddResult(Results, Link, true);
        EXPECT_FALSE(Case.Act(Results));
        EXPECT_EQ(Results.Count(), 1);
        EXPECT_TRUE(PathPresent(Link));
        EXPECT_EQ(ReadBytes(Raw(Target)), "target " + ToUtf8(Case.Name));
    }
    EXPECT_EQ(F.Fx.Tables.RecoveryFilesTable->RecordCount(), 0);
    EXPECT_EQ(Stats.CurrentCount(1), 0);
    RemoveDirectoryW(Raw(Links + L"store").c_str());
    RemoveDirectoryW(Raw(MovedTo).c_str());
}

// Removing a name that a plain path would take for its neighbour's counts the size of the
// entry removed, and leaves the neighbour alone.
TEST_F(FileActionsTest, RemovingAnAwkwardNameCountsItsOwnSize) {
    const struct {
        const wchar_t* Name;
        const wchar_t* Neighbour;
        bool Shred;
    } Cases[] = {
        {L"keep.doc.", L"keep.doc", false},
        {L"name ", L"name", false},
        {L"shred.doc.", L"shred.doc", true},
    };
    Mode = mdLargeFiles;
    for (const auto& Case : Cases) {
        SCOPED_TRACE(ToUtf8(Case.Name));
        const String Own = F.Fx.App.Path() + Case.Name;
        const String Neighbour = F.Fx.App.Path() + Case.Neighbour;
        WriteBytes(Raw(Own), "dot");
        WriteBytes(Raw(Neighbour), "the neighbour");
        const auto Before = Counted();
        EXPECT_EQ(Actions.RemoveFile(Own, false, Case.Shred), 0);
        auto Expected = Before;
        Expected[1] = {Before[1].first + 1, Before[1].second + 3};
        EXPECT_EQ(Counted(), Expected);
        EXPECT_FALSE(PathPresent(Raw(Own)));
        EXPECT_EQ(ReadBytes(Raw(Neighbour)), "the neighbour");
    }
}

TEST(OrganizeFoldersTest, RemoveMatchesWithoutCaseOrTrailingBackslash) {
    TTablesFixture Fx;
    TOrganizeFolders Folders(*Fx.Tables.OrganizeToFoldersTable);
    Folders.Add(L"C:\\Sorted\\Pictures");
    Folders.Add(L"D:\\Music\\");
    EXPECT_EQ(Folders.Folders(), (std::vector<String>{L"C:\\Sorted\\Pictures", L"D:\\Music\\"}));
    EXPECT_TRUE(Folders.Remove(L"c:\\sorted\\pictures\\"));
    EXPECT_FALSE(Folders.Remove(L"c:\\sorted\\pictures"));
    EXPECT_TRUE(Folders.Remove(L"D:\\MUSIC"));
    EXPECT_TRUE(Folders.Folders().empty());
}

} // namespace
