// Folders deeper than MAX_PATH: the file actions on found files and the join of split files
// work there as anywhere else.
#include "main/FileActions.h"
#include "main/SplitPages.h"

#include "main/MainMode.h"
#include "tests/main/FeatureTestSupport.h"
#include "tests/main/FileFeatureSupport.h"
#include "tests/support/PathFixtures.h"

#include <gtest/gtest.h>

namespace {

const size_t Lengths[] = {300, 1000};

class LongPathsTest : public ::testing::Test {
protected:
    TFeatureFixture F;
    TStatistics Stats;
    // Where the store keeps files: set by each test.
    String StoreFolder;
    TRecoveryStore Store{*F.Fx.Tables.RecoveryFilesTable, F.Clock,
                         [this](const String&) { return StoreFolder; }};
    TBackup Backup{F.Context};
    TFileActions Actions{F.Context, Stats, Store, Backup, [] { return int(mdLargeFiles); }};
};

TEST_F(LongPathsTest, FoundFilesAreZippedBackedUpMovedAndStored) {
    for (const size_t Length : Lengths) {
        SCOPED_TRACE(Length);
        const String Folder =
            AddDeepFolder(F.Fx.App.Path() + L"L" + IntToStr(int(Length)), Length) + L"\\";
        const String File = Folder + L"found.txt";
        WriteBytes(Raw(File), "found");
        TScanResults Results;
        AddResult(Results, File, true);

        EXPECT_TRUE(Actions.ZipOne(Results, 0, Folder + L"found.zip"));
        F.Prompt.Asked.clear();
        EXPECT_TRUE(Actions.BackupOne(Results, 0, Folder + L"backup.zip"));
        EXPECT_EQ(F.ShownKeys(), std::vector<String>{L"BackupOK"});
        EXPECT_TRUE(PathPresent(Raw(Folder + L"found.zip")));
        EXPECT_TRUE(PathPresent(Raw(Folder + L"backup.zip")));

        ASSERT_TRUE(CreateDirectoryW(Raw(Folder + L"moved").c_str(), nullptr));
        EXPECT_TRUE(Actions.MoveOne(Results, 0, Folder + L"moved"));
        EXPECT_EQ(ReadBytes(Raw(Folder + L"moved\\found.txt")), "found");

        StoreFolder = Folder + L"store\\";
        const std::int64_t Stored = F.Fx.Tables.RecoveryFilesTable->RecordCount();
        EXPECT_EQ(Actions.RemoveFile(Folder + L"moved\\found.txt", true, false), 0);
        EXPECT_FALSE(PathPresent(Raw(Folder + L"moved\\found.txt")));
        EXPECT_EQ(F.Fx.Tables.RecoveryFilesTable->RecordCount(), Stored + 1);
        const auto InStore = Snapshot(StoreFolder);
        ASSERT_EQ(InStore.size(), 1u);
        EXPECT_EQ(InStore.begin()->second, "found");
    }
}

TEST_F(LongPathsTest, SplitFilesJoinIntoADeepFolder) {
    TFeatureTestContext Test("CombineUnSplitFileOK=Joined\r\n");
    TSplitPages Pages(*F.Fx.Tables.SplitTable, Test.Context, F.Clock, nullptr);
    const std::string Original(5000, 'j');
    for (const size_t Length : Lengths) {
        SCOPED_TRACE(Length);
        const String Folder =
            AddDeepFolder(F.Fx.App.Path() + L"J" + IntToStr(int(Length)), Length) + L"\\";
        const String File = Folder + L"joined.bin";
        WriteBytes(Raw(File), Original);
        ASSERT_EQ(Pages.Split(File, Folder, L"2000", 0, true, false), spSplit);
        Pages.LoadRecords();
        ASSERT_FALSE(Pages.Records().empty());
        EXPECT_EQ(Pages.Combine(Pages.Records().size() - 1, Folder), cbJoined);
        EXPECT_EQ(ReadBytes(Raw(File)), Original);
        EXPECT_EQ(Test.Asked().back(), L"Joined");
        for (const auto& [Name, Bytes] : Snapshot(Folder))
            EXPECT_NE(ExtractFileExt(Name), L".tmp") << "no temporary file stays";
    }
}

} // namespace
