#include "main/SplitPages.h"

#include "app/QRVUtils.h"
#include "main/DataTables.h"
#include "tests/main/FeatureTestSupport.h"
#include "tests/support/FakeProgress.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const char* const Messages = "OverwriteFileConfirm=Replace %s?\r\n"
                             "CombineUnSplitFileOK=Joined\r\n"
                             "SplitFileOK=Split\r\n"
                             "RemoveUnSplitFileOK=Forgotten\r\n"
                             "EnterSplitVolumeSize=Size of the next part\r\n"
                             "sSplitSizeOutOfRange=Size refused\r\n";

// Bytes 0, 1, ..., 250, 0, 1, ...: every part of a split holds a different stretch.
std::string Pattern(std::size_t Size) {
    std::string Bytes(Size, '\0');
    for (std::size_t I = 0; I < Size; ++I)
        Bytes[I] = static_cast<char>(I % 251);
    return Bytes;
}

class SplitPages : public ::testing::Test {
protected:
    TTempFolder Files;
    TFeatureTestContext Test{Messages};
    TFakeClock Clock{EncodeDate(2026, 12, 10) + 0.75};
    TFakeProgress Progress;
    TTable Table{nullptr};
    TSplitPages Pages{Table, Test.Context, Clock, &Progress};

    SplitPages() {
        Files.AddFolder(L"Data");
        Files.AddFolder(L"Parts");
        Table.SetDatabaseName(Files.Path() + L"Data");
        Table.SetTableName(L"Split");
        Table.SetFieldDefs(DataTableFields(L"Split"));
        Table.Open();
    }

    std::int64_t SizeOf(const String& Relative) const {
        return static_cast<std::int64_t>(Files.Read(Relative).size());
    }
};

TEST(SplitSizes, PartSizeFromTextAndUnit) {
    struct {
        const wchar_t* Text;
        int Unit;
        std::optional<std::int32_t> Size;
    } const Cases[] = {
        {L"1457664", 0, 1457664},
        {L"1024", 1, 1048576},
        {L"1", 2, 1 << 20},
        {L"1", 3, 1 << 30},
        {L"33", 0, 33},
        {L" 40 ", 0, 40},
        {L"32", 0, std::nullopt},
        {L"0", 1, std::nullopt},
        {L"2", 3, std::nullopt},
        {L"4", 3, std::nullopt},
        {L"-5", 0, std::nullopt},
        {L"abc", 0, std::nullopt},
        {L"", 0, std::nullopt},
        {L"2147483647", 0, 2147483647},
        {L"2097152", 1, std::nullopt},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(SplitPartSize(Case.Text, Case.Unit), Case.Size)
            << ToUtf8(Case.Text) << " unit " << Case.Unit;
}

TEST(SplitSizes, FirstPartNameDropsOnlyTheLastExtension) {
    EXPECT_EQ(SplitFirstPartName(L"C:\\Out", L"C:\\In\\report.doc"), L"C:\\Out\\report.spl");
    EXPECT_EQ(SplitFirstPartName(L"C:\\Out\\", L"C:\\In\\a.tar.gz"), L"C:\\Out\\a.tar.spl");
    EXPECT_EQ(SplitFirstPartName(L"C:\\Out", L"C:\\In\\README"), L"C:\\Out\\README.spl");
    EXPECT_EQ(SplitFirstPartName(L"C:\\Out", L"C:\\In\\doc.doc"), L"C:\\Out\\doc.spl");
}

TEST_F(SplitPages, DefaultSizeSplitMakesThreePartsAndOneRecord) {
    const String File = Files.AddFile(L"big.bin", Pattern(3000000));
    EXPECT_EQ(Pages.Split(File, Files.Path() + L"Parts", L"1457664", 0, false, false), spSplit);
    EXPECT_EQ(SizeOf(L"Parts\\big.spl"), 1457664);
    EXPECT_EQ(SizeOf(L"Parts\\big.001"), 1457664);
    EXPECT_EQ(SizeOf(L"Parts\\big.002"), 3000000 + 32 - 2 * 1457664);
    EXPECT_FALSE(PathPresent(Files.Path() + L"Parts\\big.003"));
    EXPECT_TRUE(PathPresent(File));
    EXPECT_TRUE(Test.Prompt.Queried.empty());
    EXPECT_EQ(Progress.Labels.front(), L"big.bin");
    EXPECT_FALSE(Progress.Running);
    // The split ends with a word that it is done.
    EXPECT_EQ(Test.Asked(), std::vector<String>{L"Split"});
    EXPECT_EQ(Test.Prompt.Asked.back().Icon, IPrompt::IconInformation);

    Pages.LoadRecords();
    ASSERT_EQ(Pages.Records().size(), 1u);
    EXPECT_EQ(Pages.Records()[0].OriginalFileName, File);
    EXPECT_EQ(Pages.Records()[0].NewFileName, Files.Path() + L"Parts\\big.spl");
    EXPECT_DOUBLE_EQ(Pages.Records()[0].Date, std::floor(Clock.Now()));
}

TEST_F(SplitPages, KilobytesAndDeleteAfter) {
    const String File = Files.AddFile(L"k.bin", Pattern(2000000));
    EXPECT_EQ(Pages.Split(File, Files.Path() + L"Parts", L"1024", 1, true, false), spSplit);
    EXPECT_EQ(Pages.Splitter().Size, 1048576);
    EXPECT_EQ(SizeOf(L"Parts\\k.spl"), 1048576);
    EXPECT_FALSE(PathPresent(File));
}

// 3000 bytes in parts of 2000: the first part holds 1968 of them, so 1032 remain for the rest.
TEST_F(SplitPages, AskingEachSizeLimitsTheLaterParts) {
    struct {
        const wchar_t* Answer;
        std::int64_t Second;
    } const Cases[] = {{L"1000", 1000}, {L"5000", 1032}, {L"0", 1032}, {L"many", 1032}};
    for (const auto& Case : Cases) {
        SCOPED_TRACE(ToUtf8(Case.Answer));
        const String File = Files.AddFile(L"ask.bin", Pattern(3000));
        Test.Prompt.InputAnswer = Case.Answer;
        Test.Prompt.Queried.clear();
        ASSERT_EQ(Pages.Split(File, Files.Path() + L"Parts", L"2000", 0, false, true), spSplit);
        EXPECT_EQ(SizeOf(L"Parts\\ask.spl"), 2000);
        EXPECT_EQ(SizeOf(L"Parts\\ask.001"), Case.Second);
        ASSERT_FALSE(Test.Prompt.Queried.empty());
        EXPECT_EQ(Test.Prompt.Queried[0].Caption, L"Split");
        EXPECT_EQ(Test.Prompt.Queried[0].Text, L"Size of the next part");
        for (int I = 0; I < 5; ++I)
            DeleteFileW(TFileSplitter::PartFileName(Files.Path() + L"Parts\\ask.spl", I).c_str());
    }
}

TEST_F(SplitPages, RefusedSizesAndKeptPartsWriteNothing) {
    const String File = Files.AddFile(L"r.bin", Pattern(5000));
    EXPECT_EQ(Pages.Split(File, Files.Path() + L"Parts", L"2", 3, false, false), spSizeRefused);
    EXPECT_EQ(Pages.Split(File, Files.Path() + L"Parts", L"32", 0, false, false), spSizeRefused);
    EXPECT_EQ(Test.Asked(), (std::vector<String>{L"Size refused", L"Size refused"}));
    EXPECT_FALSE(PathPresent(Files.Path() + L"Parts\\r.spl"));

    Files.AddFile(L"Parts\\r.spl", "earlier");
    Test.Prompt.Answer = IPrompt::ResultNo;
    EXPECT_EQ(Pages.Split(File, Files.Path() + L"Parts", L"1000", 0, false, false), spNotConfirmed);
    EXPECT_EQ(Test.Asked().back(), L"Replace " + Files.Path() + L"Parts\\r.spl?");
    EXPECT_EQ(Files.Read(L"Parts\\r.spl"), "earlier");

    Pages.LoadRecords();
    EXPECT_TRUE(Pages.Records().empty());
}

// data.bin of 5000 bytes in parts of 2000 writes data.spl, data.001 and data.002.
TEST_F(SplitPages, AnyFileTheSplitWouldReplaceIsAskedAboutOnce) {
    const String File = Files.AddFile(L"data.bin", Pattern(5000));
    const String Own = Files.AddFile(L"Parts\\data.002", "the user's own file");
    Test.Prompt.Answer = IPrompt::ResultNo;
    EXPECT_EQ(Pages.Split(File, Files.Path() + L"Parts", L"2000", 0, false, false), spNotConfirmed);
    EXPECT_EQ(Test.Asked(), std::vector<String>{L"Replace " + Own + L"?"});
    EXPECT_EQ(Files.Read(L"Parts\\data.002"), "the user's own file");
    EXPECT_FALSE(PathPresent(Files.Path() + L"Parts\\data.spl"));
    EXPECT_FALSE(PathPresent(Files.Path() + L"Parts\\data.001"));

    // Asking each part's size: a smaller answer may reach a part name further on.
    Files.AddFile(L"Parts\\data.007", "kept");
    DeleteFileW(Own.c_str());
    EXPECT_EQ(Pages.Split(File, Files.Path() + L"Parts", L"2000", 0, false, true), spNotConfirmed);
    EXPECT_EQ(Test.Asked().back(), L"Replace " + Files.Path() + L"Parts\\data.007?");
    EXPECT_TRUE(Test.Prompt.Queried.empty()) << "no size is asked before the answer";

    // A part name beyond what the split writes is not asked about and stays.
    Test.Prompt.Asked.clear();
    EXPECT_EQ(Pages.Split(File, Files.Path() + L"Parts", L"2000", 0, false, false), spSplit);
    EXPECT_EQ(Test.Asked(), std::vector<String>{L"Split"});
    EXPECT_EQ(Files.Read(L"Parts\\data.007"), "kept");
    Pages.LoadRecords();
    EXPECT_EQ(Pages.Records().size(), 1u);
}

// 9000 bytes split at 2000 make five parts; 3000 bytes split under the same name make two.
TEST_F(SplitPages, JoiningAfterAShorterSplitOfTheSameNameGivesTheShorterFile) {
    ASSERT_EQ(Pages.Split(Files.AddFile(L"same.bin", Pattern(9000)), Files.Path() + L"Parts",
                          L"2000", 0, false, false),
              spSplit);
    const std::string Newer(3000, 'n');
    Test.Prompt.Answer = IPrompt::ResultYes;
    ASSERT_EQ(Pages.Split(Files.AddFile(L"same.bin", Newer), Files.Path() + L"Parts", L"2000", 0,
                          true, false),
              spSplit);
    ASSERT_TRUE(PathPresent(Files.Path() + L"Parts\\same.004"));

    Pages.LoadRecords();
    ASSERT_EQ(Pages.Records().size(), 2u);
    EXPECT_EQ(Pages.Combine(1, Files.Path()), cbJoined);
    EXPECT_EQ(SizeOf(L"same.bin"), 3000);
    EXPECT_TRUE(Files.Read(L"same.bin") == Newer);
    EXPECT_EQ(SizeOf(L"Parts\\same.004"), 1032);
}

TEST_F(SplitPages, AMissingInputIsReportedAndNotRecorded) {
    EXPECT_EQ(
        Pages.Split(Files.Path() + L"none.bin", Files.Path() + L"Parts", L"1000", 0, true, false),
        spFailed);
    ASSERT_EQ(Test.Prompt.Asked.size(), 1u);
    EXPECT_EQ(Test.Prompt.Asked[0].Icon, IPrompt::IconStop);
    Pages.LoadRecords();
    EXPECT_TRUE(Pages.Records().empty());
}

TEST_F(SplitPages, ForgettingTheSecondOfThreeLeavesTheOthers) {
    for (const wchar_t* Name : {L"one.bin", L"two.bin", L"three.bin"}) {
        const String File = Files.AddFile(Name, Pattern(100));
        ASSERT_EQ(Pages.Split(File, Files.Path() + L"Parts", L"1000", 0, false, false), spSplit);
    }
    Pages.LoadRecords();
    ASSERT_EQ(Pages.Records().size(), 3u);
    EXPECT_TRUE(Pages.Forget(1));
    // The list's positions moved: forgetting position 1 again means the third split.
    EXPECT_EQ(ExtractFileName(Pages.Records()[1].OriginalFileName), L"three.bin");
    EXPECT_EQ(Test.Asked().back(), L"Forgotten");

    TSplitPages Again(Table, Test.Context, Clock, nullptr);
    Again.LoadRecords();
    ASSERT_EQ(Again.Records().size(), 2u);
    EXPECT_EQ(ExtractFileName(Again.Records()[0].OriginalFileName), L"one.bin");
    EXPECT_EQ(ExtractFileName(Again.Records()[1].OriginalFileName), L"three.bin");
    EXPECT_TRUE(PathPresent(Files.Path() + L"Parts\\two.spl"));
}

TEST_F(SplitPages, JoiningOntoAnExistingFileAsksAndAMissingPartLeavesItIntact) {
    const std::string Original = Pattern(5000);
    const String File = Files.AddFile(L"joined.bin", Original);
    ASSERT_EQ(Pages.Split(File, Files.Path() + L"Parts", L"2000", 0, true, false), spSplit);
    Pages.LoadRecords();
    EXPECT_EQ(TSplitPages::JoinFolderFor(Pages.Records()[0]), Files.Path());

    Files.AddFile(L"joined.bin", "the user's newer file");
    Test.Prompt.Answer = IPrompt::ResultNo;
    EXPECT_EQ(Pages.Combine(0, Files.Path()), cbNotConfirmed);
    EXPECT_EQ(Test.Asked().back(), L"Replace " + File + L"?");
    EXPECT_EQ(Files.Read(L"joined.bin"), "the user's newer file");

    // The last part is gone: nothing replaces the file, and no success is shown.
    const String Last = Files.Path() + L"Parts\\joined.002";
    const std::string LastBytes = ReadBytes(Last);
    DeleteFileW(Last.c_str());
    Test.Prompt.Answer = IPrompt::ResultYes;
    EXPECT_EQ(Pages.Combine(0, Files.Path()), cbFailed);
    EXPECT_EQ(Files.Read(L"joined.bin"), "the user's newer file");
    EXPECT_EQ(Test.Prompt.Asked.back().Icon, IPrompt::IconStop);

    WriteBytes(Last, LastBytes);
    EXPECT_EQ(Pages.Combine(0, Files.Path()), cbJoined);
    EXPECT_EQ(Files.Read(L"joined.bin"), Original);
    EXPECT_EQ(Test.Asked().back(), L"Joined");

    // Only the joined file and the parts are in the folders: no temporary file stays.
    TStringList Left;
    ListFolderFiles(Files.Path(), L"*.tmp", Left);
    EXPECT_EQ(Left.Count(), 0);
}

} // namespace
