#include "main/ScanResults.h"

#include "main/ScanSetup.h"
#include "tests/main/ScanTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct TRowSpec {
    const wchar_t* Name;
    std::uint64_t Size;
    TSafetyLevel Safety;
    TDateTime Written; // local
};

class ScanResultsTest : public ::testing::Test {
protected:
    void Fill(const std::vector<TRowSpec>& Rows) {
        Results.Clear();
        for (const TRowSpec& Spec : Rows) {
            auto File = std::make_unique<TFile>();
            File->SetPath(L"C:\\Data\\");
            File->Name = Spec.Name;
            File->Size = Spec.Size;
            File->GroupSize = Spec.Size;
            File->Safety = Spec.Safety;
            File->Time = LocalFileTime(Spec.Written);
            Results.Append(std::move(File), String());
        }
    }
    std::vector<bool> Hidden() const {
        std::vector<bool> Result;
        for (int I = 0; I < Results.Count(); ++I)
            Result.push_back(Results.Row(I).Hidden);
        return Result;
    }
    std::vector<bool> Checked() const {
        std::vector<bool> Result;
        for (int I = 0; I < Results.Count(); ++I)
            Result.push_back(Results.Row(I).Checked);
        return Result;
    }
    static TFilterCriteria AllClasses() {
        TFilterCriteria Criteria;
        Criteria.Safe = Criteria.Warning = Criteria.Critical = true;
        return Criteria;
    }

    TScanResults Results;
    TFakeDrives Drives;
    TScanPathList Paths{Drives};
};

const TDateTime May1 = EncodeDate(2024, 5, 1);

const std::vector<TRowSpec> Sample{
    {L"a.tmp", 100, slSafe, May1 + 0.5},
    {L"b.log", 2000, slWarning, May1 - 10},
    {L"c.dll", 30000, slCritical, May1 + 20},
    {L"d.tmp", 5ULL << 30, slSafe, May1 + 1},
};

TEST_F(ScanResultsTest, CountsAndSizesByClass) {
    Fill(Sample);
    Paths.AddFolder(L"C:\\Data");
    Paths.AddFolder(L"c:\\Other"); // same drive: counted once
    Paths.AddFolder(L"E:\\");
    Paths.AddFolder(L"\\\\server\\share"); // adds nothing
    Paths.SetChecked(2, false);            // checked or not, its drive counts
    Drives.Sizes[L'C'] = 1000000000000;
    Drives.Sizes[L'E'] = 500;

    const TScanStatistics Stats = ComputeScanStatistics(Results, mdLargeFiles, Paths, Drives);
    const std::uint64_t All = 100 + 2000 + 30000 + (5ULL << 30);
    EXPECT_EQ(Stats.VisibleCount, 4);
    EXPECT_EQ(Stats.VisibleSize, All) << "sizes past 4 GB are summed in full";
    EXPECT_EQ(Stats.DiskTotal, 1000000000500);
    EXPECT_EQ(Drives.SizeQueries, (std::vector<String>{L"C:\\", L"E:\\"}));
    EXPECT_FALSE(Stats.SingleBar);
    EXPECT_TRUE(Stats.Bars[0].Visible);
    EXPECT_EQ(Stats.Bars[0].Max, 1000000000500);
    EXPECT_EQ(Stats.Bars[0].Position, static_cast<std::int64_t>(All));
    EXPECT_EQ(Stats.Bars[1].Position, static_cast<std::int64_t>(100 + (5ULL << 30)));
    EXPECT_EQ(Stats.Bars[2].Position, 2000);
    EXPECT_EQ(Stats.Bars[3].Position, 30000);
    for (int Bar = 1; Bar < 4; ++Bar) {
        EXPECT_TRUE(Stats.Bars[Bar].Visible);
        EXPECT_EQ(Stats.Bars[Bar].Max, static_cast<std::int64_t>(All));
    }
}

TEST_F(ScanResultsTest, JunkAndBrokenLinksShowOneBarOfTheDisks) {
    Fill(Sample);
    Paths.AddFolder(L"C:\\");
    Drives.Sizes[L'C'] = 1LL << 40;
    for (const int Mode : {mdJunkFiles, mdBrokenLinks}) {
        const TScanStatistics Stats = ComputeScanStatistics(Results, Mode, Paths, Drives);
        EXPECT_TRUE(Stats.SingleBar);
        EXPECT_FALSE(Stats.Bars[0].Visible);
        EXPECT_TRUE(Stats.Bars[1].Visible);
        EXPECT_FALSE(Stats.Bars[2].Visible);
        EXPECT_FALSE(Stats.Bars[3].Visible);
        EXPECT_EQ(Stats.Bars[1].Max, 1LL << 40);
        EXPECT_EQ(Stats.Bars[1].Position, static_cast<std::int64_t>(32100 + (5ULL << 30)));
    }
}

TEST_F(ScanResultsTest, DrivesWithoutAMediumAddNothing) {
    Paths.AddFolder(L"C:\\");
    Paths.AddFolder(L"A:\\");
    Drives.Sizes[L'C'] = 1000;
    Drives.Sizes[L'A'] = -1;
    EXPECT_EQ(ComputeScanStatistics(Results, mdOldFiles, Paths, Drives).DiskTotal, 1000);
}

TEST_F(ScanResultsTest, CheckAllTouchesOnlyVisibleRows) {
    Fill(Sample);
    TFilterCriteria Criteria = AllClasses();
    Criteria.Critical = false;
    Results.ApplyFilter(Criteria);
    EXPECT_EQ(Hidden(), (std::vector<bool>{false, false, true, false}));

    Results.CheckAll(true);
    EXPECT_EQ(Checked(), (std::vector<bool>{true, true, false, true}));
    EXPECT_EQ(Results.CheckedCount(), 3);
    Results.SetChecked(1, false);
    EXPECT_EQ(Results.CheckedCount(), 2);
    Results.CheckAll(false);
    EXPECT_EQ(Results.CheckedCount(), 0);

    const TScanStatistics Stats = ComputeScanStatistics(Results, mdLargeFiles, Paths, Drives);
    EXPECT_EQ(Stats.VisibleCount, 3);
    EXPECT_EQ(Stats.VisibleSize, 2100 + (5ULL << 30)) << "hidden rows leave the label";
    EXPECT_EQ(Stats.Bars[3].Position, 30000) << "but stay in the bars";
}

TEST_F(ScanResultsTest, FilterCases) {
    Fill(Sample);
    struct TCase {
        const char* What;
        TFilterCriteria Criteria;
        std::vector<bool> Hidden;
    };
    auto With = [](auto Change) {
        TFilterCriteria Criteria = AllClasses();
        Change(Criteria);
        return Criteria;
    };
    const std::vector<TCase> Cases{
        {"nothing checked hides every row", TFilterCriteria{}, {true, true, true, true}},
        {"all classes keep every row", AllClasses(), {false, false, false, false}},
        {"only safe",
         With([](TFilterCriteria& C) { C.Warning = C.Critical = false; }),
         {false, true, true, false}},
        {"name mask",
         With([](TFilterCriteria& C) {
             C.ByName = true;
             C.NameMask = L"*.TMP; c*";
         }),
         {false, true, false, false}},
        {"not older than May 1 (the day from its midnight)",
         With([](TFilterCriteria& C) {
             C.NotOlderThan = true;
             C.NotOlderThanDate = May1 + 0.75;
         }),
         {false, true, false, false}},
        {"not newer than May 1",
         With([](TFilterCriteria& C) {
             C.NewerThan = true;
             C.NewerThanDate = May1;
         }),
         {true, false, true, true}},
        {"smaller than 2000 bytes",
         With([](TFilterCriteria& C) {
             C.SmallerThan = true;
             C.SmallerValue = 2000;
             C.SmallerUnit = 0;
         }),
         {false, true, true, true}},
        {"a negative upper bound hides every row",
         With([](TFilterCriteria& C) {
             C.SmallerThan = true;
             C.SmallerValue = -1;
         }),
         {true, true, true, true}},
        {"larger than 1.95 KB",
         With([](TFilterCriteria& C) {
             C.LargerThan = true;
             C.LargerValue = 1.95;
             C.LargerUnit = 1;
         }),
         {true, false, false, false}},
        {"larger than 4 GB keeps the 5 GB file",
         With([](TFilterCriteria& C) {
             C.LargerThan = true;
             C.LargerValue = 4;
             C.LargerUnit = 3;
         }),
         {true, true, true, false}},
    };
    for (const TCase& Case : Cases) {
        Results.ClearFilter();
        Results.CheckAll(true);
        Results.ApplyFilter(Case.Criteria);
        EXPECT_EQ(Hidden(), Case.Hidden) << Case.What;
        for (int I = 0; I < Results.Count(); ++I)
            EXPECT_EQ(Results.Row(I).Checked, !Case.Hidden[I]) << Case.What << " row " << I;
        const bool AnyHidden =
            std::find(Case.Hidden.begin(), Case.Hidden.end(), true) != Case.Hidden.end();
        EXPECT_EQ(Results.FilteredVisibility(), AnyHidden) << Case.What;
    }
}

TEST_F(ScanResultsTest, EachFilterReexaminesHiddenRowsAndClearShowsAllUnchecked) {
    Fill(Sample);
    TFilterCriteria OnlyCritical;
    OnlyCritical.Critical = true;
    Results.ApplyFilter(OnlyCritical);
    TFilterCriteria OnlySafe;
    OnlySafe.Safe = true;
    Results.ApplyFilter(OnlySafe);
    EXPECT_EQ(Hidden(), (std::vector<bool>{false, true, true, false}));

    Results.CheckAll(true);
    Results.ClearFilter();
    EXPECT_FALSE(Results.FilteredVisibility());
    EXPECT_EQ(Hidden(), (std::vector<bool>(4, false)));
    EXPECT_EQ(Checked(), (std::vector<bool>(4, false)));
}

TEST_F(ScanResultsTest, RowsOwnTheirRecords) {
    Fill(Sample);
    const TFile* Third = &Results.File(2);
    EXPECT_EQ(Results.IndexOf(Third), 2);
    Results.Delete(0);
    EXPECT_EQ(Results.IndexOf(Third), 1);
    Results.Delete(7);
    EXPECT_EQ(Results.Count(), 3);
    EXPECT_EQ(Results.IndexOf(nullptr), -1);
}

TEST(ScanResultsRemoval, ManyMarkedRowsGoInOnePassAndTheRestKeepOrderAndRecords) {
    // A hundred thousand rows, every other one marked: a row-by-row erase would move the rest
    // of the list for each, a single pass moves each row once.
    constexpr int Count = 100000;
    TScanResults Results;
    std::vector<const TFile*> Records;
    for (int I = 0; I < Count; ++I) {
        auto File = std::make_unique<TFile>();
        File->Name = IntToStr(I);
        Records.push_back(File.get());
        Results.Append(std::move(File), String());
    }
    EXPECT_EQ(Results.IndexOf(Records[Count - 1]), Count - 1);
    std::vector<bool> Marked(Count);
    for (int I = 0; I < Count; I += 2)
        Marked[I] = true;
    Results.DeleteMarked(Marked);
    ASSERT_EQ(Results.Count(), Count / 2);
    for (int I = 0; I < Count / 2; I += 997) {
        EXPECT_EQ(Results.File(I).Name, IntToStr(2 * I + 1));
        EXPECT_EQ(Results.IndexOf(Records[2 * I + 1]), I) << "records are found where they went";
    }
}

TEST(ResultLayoutTest, ColumnsAndCommandsByMode) {
    const std::vector<TResultColumn> Files = ResultColumns(mdOldFiles);
    ASSERT_EQ(Files.size(), 5u);
    EXPECT_EQ(Files[0].CaptionSection, L"lvScanResultsJunkFilesColumnName1");
    EXPECT_EQ(Files[2].Width, 50);
    for (size_t I = 0; I < Files.size(); ++I)
        EXPECT_EQ(Files[I].CustomCompare, I == 2) << "only the size column sorts by size";
    EXPECT_EQ(ResultColumns(mdDuplicateFiles).size(), 5u);

    const std::vector<TResultColumn> Links = ResultColumns(mdBrokenLinks);
    ASSERT_EQ(Links.size(), 3u);
    EXPECT_EQ(Links[2].CaptionSection, L"lvScanResultsJunkFilesColumnName6");
    EXPECT_EQ(Links[2].Width, 250);
    EXPECT_EQ(ResultColumns(mdEmptyFolders).size(), 1u) << "no second, empty folder column";
    EXPECT_FALSE(Files[2].GivesWay);
    EXPECT_TRUE(Files[4].Date);
    EXPECT_FALSE(Files[4].GivesWay);

    const std::vector<TResultColumn> Groups = DuplicateGroupColumns();
    ASSERT_EQ(Groups.size(), 3u);
    EXPECT_TRUE(Groups[0].Message);
    EXPECT_TRUE(Groups[2].CustomCompare);

    for (const int Mode : {mdJunkFiles, mdBrokenLinks, mdEmptyFolders})
        EXPECT_FALSE(ResultCommandsShown(Mode)) << Mode;
    for (const int Mode : {mdLargeFiles, mdOldFiles, mdDuplicateFiles})
        EXPECT_TRUE(ResultCommandsShown(Mode)) << Mode;
}

TEST(ResultLayoutTest, ColumnsFitTheListWidth) {
    const struct {
        std::vector<int> Widths;
        std::vector<bool> GivesWay;
        int Available;
        std::vector<int> Expected;
    } Cases[] = {
        // The widest text columns give way together; size and date keep theirs.
        {{135, 175, 50, 100, 100}, {true, true, false, true, false}, 494, {122, 122, 50, 100, 100}},
        {{150, 300, 250}, {true, true, true}, 494, {150, 172, 172}},
        // Too narrow: the last column reaches the edge.
        {{200, 290}, {true, true}, 511, {200, 311}},
        {{460}, {true}, 494, {494}},
        // Nothing below the smallest width, even when the columns then stay too wide.
        {{100, 100}, {true, false}, 60, {MinColumnWidth, 100}},
        {{}, {}, 300, {}},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(FitColumnWidths(Case.Widths, Case.GivesWay, Case.Available), Case.Expected)
            << Case.Available;
    // The first column's check box and pictures leave its text less room.
    EXPECT_EQ(FitColumnWidths({150, 130}, {true, true}, 250, 40), (std::vector<int>{145, 105}));
}

} // namespace
