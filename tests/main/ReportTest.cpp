#include "main/Report.h"

#include "app/FileInfo.h"
#include "tests/support/PathFixtures.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

String ReadText(const String& FileName) {
    return FromUtf8(ReadBytes(FileName));
}

int CountOf(const String& Text, const String& Part) {
    int Count = 0;
    for (auto At = Text.find(Part); At != String::npos; At = Text.find(Part, At + Part.size()))
        ++Count;
    return Count;
}

// A file of the source tree, reached through the drive wine maps to the Linux root.
String SourceFile(const String& Relative) {
    String Tests = FromUtf8(__FILE__); // .../tests/main/ReportTest.cpp
    for (wchar_t& C : Tests)
        if (C == L'/')
            C = L'\\';
    const String Root = ExtractFilePath(ExcludeTrailingBackslash(
        ExtractFilePath(ExcludeTrailingBackslash(ExtractFilePath(Tests)))));
    return (Root.size() > 1 && Root[1] == L':' ? L"" : L"Z:") + Root + Relative;
}

// A template that marks every place: "[%s]" on lines of their own.
String MarkedTemplate(int Placeholders) {
    String Text = L"<html><body>\r\n";
    for (int I = 0; I < Placeholders; ++I)
        Text += L"[%s]\r\n";
    return Text + L"</body></html>\r\n";
}

TEST(Report, EscapeHtml) {
    const std::vector<std::pair<String, String>> Cases = {
        {L"plain text", L"plain text"},
        {L"C:\\a&b\\<x>.txt", L"C:\\a&amp;b\\&lt;x&gt;.txt"},
        {L"\"quoted\" 'single'", L"&quot;quoted&quot; &#39;single&#39;"},
        {L"<script>alert(1)</script>", L"&lt;script&gt;alert(1)&lt;/script&gt;"},
        {L"&amp;", L"&amp;amp;"},
        {L"", L""},
    };
    for (const auto& [Text, Expected] : Cases)
        EXPECT_EQ(EscapeHtml(Text), Expected) << ToUtf8(Text);
}

TEST(Report, FillPlaceholdersInOrder) {
    EXPECT_EQ(FillPlaceholders(L"a%sb%sc", {L"1", L"2"}), L"a1b2c");
    // Values without a place are dropped; places without a value stay.
    EXPECT_EQ(FillPlaceholders(L"a%sb", {L"1", L"2", L"3"}), L"a1b");
    EXPECT_EQ(FillPlaceholders(L"%s-%s-%s", {L"1"}), L"1-%s-%s");
    // A value that itself holds "%s" is not filled again.
    EXPECT_EQ(FillPlaceholders(L"%s|%s", {L"file%s.txt", L"2"}), L"file%s.txt|2");
    EXPECT_EQ(FillPlaceholders(L"100% sure %s", {L"x"}), L"100% sure x");
}

TEST(Report, ValuesFollowTheTemplateOrder) {
    TTempFolder Folder;
    const String Ini = Folder.Path() + L"qv.ini";
    {
        TStatistics Earlier; // the totals of earlier runs: 100 items of 100000 bytes in category 1
        Earlier.AddStatistics(1, 100, 100000);
        Earlier.SaveTotals(Ini);
    }
    TStatistics Stats;
    Stats.LoadTotals(Ini);
    for (int Category = 1; Category <= 6; ++Category)
        Stats.AddStatistics(Category, Category, Category * 1000);
    const std::vector<String> Values = ReportValues(Stats, L"NOW");
    ASSERT_EQ(Values.size(), 26u);
    EXPECT_EQ(Values[0], L"NOW");
    for (int Category = 1; Category <= 5; ++Category) {
        EXPECT_EQ(Values[2 * Category - 1], IntToStr(Category)) << Category;
        EXPECT_EQ(Values[2 * Category], FormatFileSize64(Category * 1000)) << Category;
    }
    // Sums of categories 1 to 5; category 6 is kept but not shown.
    EXPECT_EQ(Values[11], L"15");
    EXPECT_EQ(Values[12], FormatFileSize64(15000));
    EXPECT_EQ(Values[13], L"101");
    EXPECT_EQ(Values[14], FormatFileSize64(101000));
    for (std::size_t I = 3; I <= 10; ++I)
        EXPECT_EQ(Values[I + 12], Values[I]) << I;
    EXPECT_EQ(Values[23], L"115");
    EXPECT_EQ(Values[24], FormatFileSize64(115000));
    EXPECT_EQ(Values[25], L"");
}

TEST(Report, ThreeJunkFilesOfAThousandBytes) {
    TStatistics Stats;
    for (int I = 0; I < 3; ++I)
        Stats.AddStatistics(1, 1, 1000);
    const std::vector<String> Values = ReportValues(Stats, L"");
    const String Size = FormatFileSize64(3000);
    EXPECT_NE(Size.find(L"92 Kb"), String::npos);
    for (const std::size_t At : {1u, 11u, 13u, 23u}) {
        EXPECT_EQ(Values[At], L"3") << At;
        EXPECT_EQ(Values[At + 1], Size) << At;
    }
}

TEST(Report, CountsAbove32BitsAreShownWhole) {
    TStatistics Stats;
    Stats.AddStatistics(2, 5'000'000'000LL, 5LL * 1024 * 1024 * 1024);
    const std::vector<String> Values = ReportValues(Stats, L"");
    EXPECT_EQ(Values[3], L"5000000000");
    EXPECT_EQ(Values[4], FormatFileSize64(5LL * 1024 * 1024 * 1024));
}

TEST(Report, LogLinesAreEscapedAndEndWithBreaks) {
    TStatistics Stats;
    Stats.AddLogLine(L"Deleted C:\\Temp\\<b>&x.tmp");
    Stats.AddLogLine(L"Removed value \"Run\"");
    const std::vector<String> Values = ReportValues(Stats, L"");
    EXPECT_EQ(Values[25], L"Deleted C:\\Temp\\&lt;b&gt;&amp;x.tmp<br>\r\n"
                          L"Removed value &quot;Run&quot;<br>\r\n");
}

class ReportFilesTest : public ::testing::Test {
protected:
    TTempFolder App;
    TStatistics Stats;

    void AddTemplate(const String& Text) {
        App.AddFile(L"Data\\Template\\Report.htm", ToUtf8(Text));
    }
    String Written() const { return ReadText(App.Path() + L"Temp\\Report.htm"); }
};

TEST_F(ReportFilesTest, WritesTheFilledTemplateWithItsImages) {
    AddTemplate(MarkedTemplate(26));
    App.AddFile(L"Data\\Template\\Images\\junk.jpg", "JPEG junk");
    App.AddFile(L"Data\\Template\\Images\\old.jpg", "JPEG old");
    App.AddFile(L"Temp\\Images\\junk.jpg", "stale");
    Stats.AddStatistics(1, 3, 3000);
    Stats.AddLogLine(L"<i>x</i> & y");

    ASSERT_TRUE(WriteReport(App.Path(), Stats, L"2024-05-06 07:08:09"));
    const String Page = Written();
    EXPECT_EQ(CountOf(Page, L"%s"), 0);
    String Expected = L"<html><body>\r\n";
    for (const String& Value : ReportValues(Stats, L"2024-05-06 07:08:09"))
        Expected += L"[" + Value + L"]\r\n";
    Expected += L"</body></html>\r\n";
    EXPECT_EQ(Page, Expected);
    EXPECT_NE(Page.find(L"&lt;i&gt;x&lt;/i&gt; &amp; y<br>"), String::npos);
    EXPECT_EQ(Page.find(L"<i>"), String::npos);

    EXPECT_EQ(ReadText(App.Path() + L"Temp\\Images\\junk.jpg"), L"JPEG junk");
    EXPECT_EQ(ReadText(App.Path() + L"Temp\\Images\\old.jpg"), L"JPEG old");
    EXPECT_FALSE(FileExists(App.Path() + L"Temp\\Images\\list.jpg"));
}

TEST_F(ReportFilesTest, AwkwardNamesReachThePageAsTheyAre) {
    AddTemplate(MarkedTemplate(26));
    for (const auto& Entry : AwkwardFiles())
        Stats.AddLogLine(L"Deleted C:\\Data\\" + Entry.first);
    ASSERT_TRUE(WriteReport(App.Path(), Stats, L"T"));
    const String Page = Written();
    for (const auto& Entry : AwkwardFiles())
        EXPECT_NE(Page.find(L"Deleted C:\\Data\\" + Entry.first + L"<br>"), String::npos)
            << ToUtf8(Entry.first);
}

TEST_F(ReportFilesTest, TemplateWithMoreOrFewerPlaceholders) {
    Stats.AddStatistics(1, 1, 1);
    AddTemplate(MarkedTemplate(28));
    ASSERT_TRUE(WriteReport(App.Path(), Stats, L"T"));
    EXPECT_EQ(CountOf(Written(), L"[%s]"), 2);

    AddTemplate(L"only %s and %s");
    ASSERT_TRUE(WriteReport(App.Path(), Stats, L"T"));
    EXPECT_EQ(Written(), L"only T and 1\r\n");
}

TEST_F(ReportFilesTest, PicturesThatCannotBeCopiedOnlyLeaveTheReportWithoutThem) {
    AddTemplate(MarkedTemplate(26));
    App.AddFile(L"Data\\Template\\Images\\junk.jpg", "JPEG junk");
    App.AddFile(L"Temp\\Images", "a file where the picture folder belongs");
    ASSERT_TRUE(WriteReport(App.Path(), Stats, L"T"));
    EXPECT_EQ(CountOf(Written(), L"%s"), 0);

    TTempFolder Target;
    const TDateTime When = EncodeDate(2024, 5, 6) + EncodeTime(7, 8, 9, 0);
    const String Folder =
        Target.Path() + L"QRV_Report-" + MakeSafeFileName(DateTimeToStr(When)) + L"\\";
    Target.AddFile(Folder.substr(Target.Path().size()) + L"Images", "in the way");
    ASSERT_TRUE(SaveReportCopy(App.Path(), Target.Path(), When));
    EXPECT_EQ(ReadText(Folder + L"report.htm"), Written());
}

TEST_F(ReportFilesTest, MissingTemplateWritesNothing) {
    EXPECT_FALSE(WriteReport(App.Path(), Stats, L"T"));
    EXPECT_FALSE(FileExists(App.Path() + L"Temp\\Report.htm"));
}

TEST_F(ReportFilesTest, OfferAsksOnlyWhenSomethingWasDone) {
    AddTemplate(MarkedTemplate(26));
    int Asked = 0;
    int Shown = 0;
    const auto AskYes = [&] {
        ++Asked;
        return true;
    };
    const auto Show = [&] { ++Shown; };

    OfferReport(Stats, App.Path(), AskYes, Show);
    EXPECT_EQ(Asked, 0);
    EXPECT_EQ(Shown, 0);

    Stats.AddLogLine(L"x");
    const auto AskNo = [&] {
        ++Asked;
        return false;
    };
    OfferReport(Stats, App.Path(), AskNo, Show);
    EXPECT_EQ(Asked, 1);
    EXPECT_EQ(Shown, 0);
    EXPECT_FALSE(Stats.ReportPending());
    EXPECT_FALSE(FileExists(App.Path() + L"Temp\\Report.htm"));

    Stats.AddStatistics(1, 1, 10);
    OfferReport(Stats, App.Path(), AskYes, Show);
    EXPECT_EQ(Asked, 2);
    EXPECT_EQ(Shown, 1);
    EXPECT_FALSE(Stats.ReportPending());
    EXPECT_TRUE(FileExists(App.Path() + L"Temp\\Report.htm"));
}

TEST_F(ReportFilesTest, OfferEndsSilentlyWhenTheReportCannotBeMade) {
    Stats.AddLogLine(L"x");
    int Shown = 0;
    OfferReport(
        Stats, App.Path(), [] { return true; }, [&] { ++Shown; });
    EXPECT_EQ(Shown, 0);
    EXPECT_FALSE(Stats.ReportPending());

    AddTemplate(MarkedTemplate(26));
    Stats.AddLogLine(L"y");
    EXPECT_NO_THROW(OfferReport(
        Stats, App.Path(), [] { return true; }, [] { throw Exception(L"viewer failed"); }));
    EXPECT_FALSE(Stats.ReportPending());
}

TEST(Report, MakeSafeFileName) {
    EXPECT_EQ(MakeSafeFileName(L"06/05/2024 07:08:09 PM"), L"06_05_2024_07_08_09_PM");
    EXPECT_EQ(MakeSafeFileName(L"aZ09.-\u00e9\\"), L"aZ09____");
}

TEST_F(ReportFilesTest, SavedCopyHoldsTheReportAndItsImages) {
    App.AddFile(L"Temp\\Report.htm", "<html>report</html>");
    App.AddFile(L"Data\\Template\\Images\\tools.jpg", "JPEG tools");
    TTempFolder Target;
    const TDateTime When = EncodeDate(2024, 5, 6) + EncodeTime(7, 8, 9, 0);
    const String Folder =
        Target.Path() + L"QRV_Report-" + MakeSafeFileName(DateTimeToStr(When)) + L"\\";

    ASSERT_TRUE(SaveReportCopy(App.Path(), ExcludeTrailingBackslash(Target.Path()), When));
    EXPECT_EQ(ReadText(Folder + L"report.htm"), L"<html>report</html>");
    EXPECT_EQ(ReadText(Folder + L"Images\\tools.jpg"), L"JPEG tools");

    // A second save within the same second replaces the files.
    App.AddFile(L"Temp\\Report.htm", "<html>newer</html>");
    ASSERT_TRUE(SaveReportCopy(App.Path(), Target.Path(), When));
    EXPECT_EQ(ReadText(Folder + L"report.htm"), L"<html>newer</html>");
}

TEST_F(ReportFilesTest, SaveWithoutAWrittenReportFails) {
    TTempFolder Target;
    EXPECT_FALSE(SaveReportCopy(App.Path(), Target.Path(), Now()));
}

// The template shipped in the program folder.
TEST(Report, ShippedTemplateHoldsEveryPlaceholderAndImage) {
    const String Template = ReadText(SourceFile(L"data\\Data\\Template\\Report.htm"));
    ASSERT_FALSE(Template.empty());
    EXPECT_EQ(CountOf(Template, L"%s"), 26);
    for (const String& Image : ReportImageNames) {
        EXPECT_NE(Template.find(L"\"Images/" + Image + L"\""), String::npos) << ToUtf8(Image);
        EXPECT_TRUE(FileExists(SourceFile(L"data\\Data\\Template\\Images\\" + Image)))
            << ToUtf8(Image);
    }
    std::vector<String> Values(26, L"V");
    EXPECT_EQ(CountOf(FillPlaceholders(Template, Values), L"%s"), 0);
}

} // namespace
