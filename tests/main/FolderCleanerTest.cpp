#include "main/FolderCleaner.h"

#include "main/DataTables.h"
#include "tests/main/FeatureTestSupport.h"
#include "tests/support/FakeProgress.h"

#include <gtest/gtest.h>

namespace {

const char* const Messages = "FolderCleanerEmptyFolder=Empty it?\r\n"
                             "sCleaningEmptyFolder=Cleaning\r\n"
                             "FolderCleaned=Cleaned\r\n"
                             "sFolderCleanerMissing=Missing %s\r\n"
                             "sFolderCleanerRefused=Refused %s\r\n"
                             "S_Log_FolderCleaner_DeleteFolder=Emptied %s\r\n";

class FolderCleaner : public ::testing::Test {
protected:
    TTempFolder Files;
    TFeatureTestContext Test{Messages};
    TFakeProgress Wait;
    std::vector<TShellRequest> Requests;
    TTable Table{nullptr};
    std::unique_ptr<TFolderCleaner> Cleaner;

    FolderCleaner() {
        Files.AddFolder(L"Data");
        Table.SetDatabaseName(Files.Path() + L"Data");
        Table.SetTableName(L"FolderCleaner");
        Table.SetFieldDefs(DataTableFields(L"FolderCleaner"));
        Table.Open();
        Cleaner = std::make_unique<TFolderCleaner>(
            Table, Test.Context, &Wait,
            [this](const TShellRequest& Request) { Requests.push_back(Request); });
        Test.Prompt.Answer = IPrompt::ResultYes;
    }

    std::vector<String> Stored() {
        TFolderCleaner Reader(Table, Test.Context, nullptr);
        Reader.Load();
        return Reader.Folders();
    }
};

TEST_F(FolderCleaner, TwoRecordsOfOneFolderShowTwoRowsAndGoTogether) {
    const String A = Files.Path() + L"a";
    const String B = Files.Path() + L"b";
    ASSERT_TRUE(Cleaner->Add(A));
    ASSERT_TRUE(Cleaner->Add(B));
    ASSERT_TRUE(Cleaner->Add(A));
    EXPECT_EQ(Stored(), (std::vector<String>{A, B, A}));
    // The folder's text must match exactly: another spelling is another record.
    EXPECT_FALSE(Cleaner->DeleteFolderCleanerRow(UpperCase(B)));

    EXPECT_TRUE(Cleaner->Remove(2));
    EXPECT_EQ(Cleaner->Folders(), std::vector<String>{B});
    EXPECT_EQ(Stored(), std::vector<String>{B});
    EXPECT_FALSE(Cleaner->Remove(5));
}

TEST_F(FolderCleaner, EmptyingCountsWhatWentAndKeepsTheFolder) {
    Files.AddFile(L"junk\\one.tmp", std::string(100, 'a'));
    Files.AddFile(L"junk\\two.tmp", std::string(100, 'b'));
    const String ReadOnly = Files.AddFile(L"junk\\three.tmp", std::string(100, 'c'));
    SetFileAttributesW(ReadOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    Files.AddFile(L"junk\\sub\\four.tmp", std::string(100, 'd'));
    Files.AddFile(L"junk\\sub\\five.tmp", std::string(100, 'e'));
    const String Folder = Files.Path() + L"junk";
    Cleaner->Add(Folder);

    EXPECT_EQ(Cleaner->Empty(0), feEmptied);
    EXPECT_TRUE(DirectoryExists(Folder));
    EXPECT_FALSE(PathPresent(Folder + L"\\sub"));
    EXPECT_FALSE(PathPresent(ReadOnly));
    EXPECT_EQ(Test.Stats.CurrentCount(5), 5);
    EXPECT_EQ(Test.Stats.CurrentSize(5), 500);
    EXPECT_EQ(Test.Asked(), (std::vector<String>{L"Empty it?", L"Cleaned"}));
    EXPECT_EQ(Test.LogLines(), std::vector<String>{L"Emptied " + Folder});
    EXPECT_EQ(Wait.Labels, std::vector<String>{L"Cleaning"});
    EXPECT_FALSE(Wait.Running);
}

TEST_F(FolderCleaner, AMissingOrRefusedFolderIsNamedAndNothingCounted) {
    Files.AddFile(L"plain.txt", "a file, not a folder");
    struct {
        String Folder;
        TFolderEmptying Outcome;
        const wchar_t* Said;
    } const Cases[] = {
        {Files.Path() + L"gone", feMissing, L"Missing "},
        {Files.Path() + L"plain.txt", feRefused, L"Refused "},
        {L"relative\\folder", feRefused, L"Refused "},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(ToUtf8(Case.Folder));
        Cleaner->Add(Case.Folder);
        EXPECT_EQ(Cleaner->Empty(Cleaner->Folders().size() - 1), Case.Outcome);
        EXPECT_EQ(Test.Asked().back(), Case.Said + Case.Folder);
        EXPECT_EQ(Test.Prompt.Asked.back().Icon, IPrompt::IconStop);
    }
    EXPECT_EQ(Test.Stats.CurrentCount(5), 0);
    EXPECT_TRUE(Test.LogLines().empty());
    EXPECT_TRUE(PathPresent(Files.Path() + L"plain.txt"));
}

TEST_F(FolderCleaner, NoToTheQuestionAndTheExplorerView) {
    Files.AddFile(L"keep\\file.txt", "kept");
    Cleaner->Add(Files.Path() + L"keep");
    Test.Prompt.Answer = IPrompt::ResultNo;
    EXPECT_EQ(Cleaner->Empty(0), feNothing);
    EXPECT_EQ(Cleaner->Empty(3), feNothing);
    EXPECT_TRUE(PathPresent(Files.Path() + L"keep\\file.txt"));
    EXPECT_TRUE(Wait.Labels.empty());

    Cleaner->Explore(0);
    Cleaner->Explore(9);
    EXPECT_EQ(Requests,
              (std::vector<TShellRequest>{{L"explore", Files.Path() + L"keep\\", L"", L""}}));
}

} // namespace
