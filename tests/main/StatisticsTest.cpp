#include "main/Statistics.h"

#include "classlib/rtl/IniFiles.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr std::int64_t GiB = 1024LL * 1024 * 1024;

TEST(Statistics, CountsGoToTheirCategoryForTheRunAndForAllTime) {
    TStatistics Stats;
    EXPECT_FALSE(Stats.ReportPending());
    Stats.AddStatistics(1, 3, 3000);
    Stats.AddStatistics(4, 1, 10);
    Stats.AddStatistics(1, 1, 24);
    EXPECT_TRUE(Stats.ReportPending());
    EXPECT_EQ(Stats.CurrentCount(1), 4);
    EXPECT_EQ(Stats.CurrentSize(1), 3024);
    EXPECT_EQ(Stats.TotalCount(1), 4);
    EXPECT_EQ(Stats.TotalSize(1), 3024);
    EXPECT_EQ(Stats.CurrentCount(4), 1);
    EXPECT_EQ(Stats.TotalSize(4), 10);
    for (const int Other : {2, 3, 5, 6}) {
        EXPECT_EQ(Stats.CurrentCount(Other), 0) << Other;
        EXPECT_EQ(Stats.TotalSize(Other), 0) << Other;
    }
}

TEST(Statistics, SizesAdd64Bit) {
    TStatistics Stats;
    Stats.AddStatistics(2, 1, 3 * GiB);
    Stats.AddStatistics(2, 1, 3 * GiB);
    EXPECT_EQ(Stats.CurrentSize(2), 6 * GiB);
    EXPECT_EQ(Stats.TotalSize(2), 6 * GiB);
}

TEST(Statistics, CategoryOutsideOneToSixCountsNowhere) {
    TStatistics Stats;
    Stats.AddStatistics(0, 1, 100);
    Stats.AddStatistics(7, 1, 100);
    EXPECT_FALSE(Stats.ReportPending());
    for (int Category = 0; Category <= 7; ++Category)
        EXPECT_EQ(Stats.TotalCount(Category), 0) << Category;
}

TEST(Statistics, LogLinesKeepTheirOrderAndMakeAReportPending) {
    TStatistics Stats;
    Stats.AddLogLine(L"first");
    EXPECT_TRUE(Stats.ReportPending());
    Stats.ClearReportPending();
    EXPECT_FALSE(Stats.ReportPending());
    Stats.AddLogLine(L"second");
    EXPECT_TRUE(Stats.ReportPending());
    ASSERT_EQ(Stats.LogLines().Count(), 2);
    EXPECT_EQ(Stats.LogLines().Strings(0), L"first");
    EXPECT_EQ(Stats.LogLines().Strings(1), L"second");
}

// qv.ini keeps each total whole, past 2 and 4 GB too, so the report is right after a restart.
TEST(Statistics, TotalsSurviveInQvIniWhole) {
    struct TCase {
        std::int64_t Value;
        const wchar_t* Stored;
        std::int64_t ReadBack;
    };
    const std::vector<TCase> Cases = {
        {0, L"0", 0},
        {3000, L"3000", 3000},
        {2147483647, L"2147483647", 2147483647},
        {2147484441, L"2147484441", 2147484441},
        {5 * GiB, L"5368709120", 5 * GiB},
        {3 * GiB, L"3221225472", 3 * GiB},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Value);
        TTempFolder Folder;
        const String Ini = Folder.Path() + L"qv.ini";
        TStatistics Written;
        Written.AddStatistics(3, Case.Value, Case.Value);
        Written.SaveTotals(Ini);

        const TIniFile File(Ini);
        EXPECT_EQ(File.ReadString(L"Report", L"TotalFiles3", L"?"), Case.Stored);
        EXPECT_EQ(File.ReadString(L"Report", L"TotalSpace3", L"?"), Case.Stored);
        EXPECT_EQ(File.ReadString(L"Report", L"TotalFiles6", L"?"), L"0");

        TStatistics Read;
        Read.LoadTotals(Ini);
        EXPECT_EQ(Read.TotalCount(3), Case.ReadBack);
        EXPECT_EQ(Read.TotalSize(3), Case.ReadBack);
        EXPECT_EQ(Read.CurrentCount(3), 0);
        EXPECT_FALSE(Read.ReportPending());
    }
}

// Earlier versions wrote the low 32 bits, signed: a negative total is read as those bits.
TEST(Statistics, AnOldNegativeTotalReadsAsItsUnsigned32Bits) {
    const struct {
        const wchar_t* Stored;
        std::int64_t Read;
    } Cases[] = {
        {L"-2147482855", 2147484441}, {L"-1", 4294967295}, {L"-2147483648", 2147483648},
        {L"-9999999999", 0},          {L"12", 12},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(ToUtf8(Case.Stored));
        TTempFolder Folder;
        const String Ini = Folder.Path() + L"qv.ini";
        TIniFile(Ini).WriteString(L"Report", L"TotalSpace2", Case.Stored);
        TStatistics Read;
        Read.LoadTotals(Ini);
        EXPECT_EQ(Read.TotalSize(2), Case.Read);
    }
}

TEST(Statistics, LoadedTotalsGrowWithTheRun) {
    TTempFolder Folder;
    const String Ini = Folder.Path() + L"qv.ini";
    {
        TIniFile File(Ini);
        for (int Category = 1; Category <= 6; ++Category) {
            File.WriteInteger(L"Report", L"TotalFiles" + IntToStr(Category), Category);
            File.WriteInteger(L"Report", L"TotalSpace" + IntToStr(Category), Category * 100);
        }
        File.WriteString(L"Report", L"TotalSpace5", L"not a number");
    }
    TStatistics Stats;
    Stats.LoadTotals(Ini);
    EXPECT_EQ(Stats.TotalCount(6), 6);
    EXPECT_EQ(Stats.TotalSize(6), 600);
    EXPECT_EQ(Stats.TotalSize(5), 0);
    Stats.AddStatistics(6, 2, 50);
    EXPECT_EQ(Stats.TotalCount(6), 8);
    EXPECT_EQ(Stats.TotalSize(6), 650);
    EXPECT_EQ(Stats.CurrentCount(6), 2);
}

TEST(Statistics, MissingQvIniLoadsZeros) {
    TTempFolder Folder;
    TStatistics Stats;
    Stats.LoadTotals(Folder.Path() + L"qv.ini");
    for (int Category = 1; Category <= 6; ++Category) {
        EXPECT_EQ(Stats.TotalCount(Category), 0);
        EXPECT_EQ(Stats.TotalSize(Category), 0);
    }
}

TEST(Statistics, CategoryOfARemovalFollowsTheMode) {
    const std::vector<std::pair<int, int>> ModeToCategory = {
        {1, 1}, {2, 2}, {3, 3}, {4, 1}, {5, 1}, {7, 5}, {8, 6}, {9, 1}, {14, 4}, {0, 1}, {12, 1},
    };
    for (const auto& [Mode, Category] : ModeToCategory)
        EXPECT_EQ(StatisticsCategory(Mode), Category) << "mode " << Mode;
}

} // namespace
