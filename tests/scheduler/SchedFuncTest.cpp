#include "scheduler/SchedFunc.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

const TDateTime StartTime = EncodeDate(2024, 3, 14) + EncodeTime(9, 30, 0, 0);

TSchedFunc Loaded(const TTempFolder& Folder, const String& Name, int Index) {
    TSchedFunc Func;
    TSchedSettings(Folder.Path() + Name).LoadSchedFunc(Index, Func, StartTime);
    return Func;
}

std::vector<String> Items(const TStringList& List) {
    std::vector<String> Result;
    for (int I = 0; I < List.Count(); ++I)
        Result.push_back(List.Strings(I));
    return Result;
}

} // namespace

TEST(SchedPipeListTest, SplitsItemsAsStored) {
    struct TCase {
        const wchar_t* Text;
        std::vector<String> Expected;
    };
    const TCase Cases[] = {
        {L"", {}},
        {L"C:\\Temp\\|D:\\Cache\\|", {L"C:\\Temp\\", L"D:\\Cache\\"}},
        {L"C:\\Temp\\|D:\\Cache\\", {L"C:\\Temp\\", L"D:\\Cache\\"}},
        {L"a||", {L"a", L""}},
        {L"||", {L"", L""}},
        {L" a | b|", {L" a ", L" b"}},
    };
    for (const TCase& Case : Cases) {
        EXPECT_EQ(Items(*SplitPipeList(Case.Text)), Case.Expected) << ToUtf8(Case.Text);
        EXPECT_EQ(DecodePipeItems(Case.Text), Case.Expected) << ToUtf8(Case.Text);
    }
    EXPECT_EQ(EncodePipeItems({L"C:\\A", L"D:\\B"}), L"C:\\A|D:\\B|");
}

TEST(SchedPipeListTest, FlagIsSetOnlyByAnExactOneAndMissingFlagsTakeTheDefault) {
    struct TCase {
        const wchar_t* Text;
        int Index;
        bool Default;
        bool Expected;
    };
    const TCase Cases[] = {
        {L"1|0|", 0, false, true},  {L"1|0|", 1, true, false},  {L"1|0|", 2, true, true},
        {L"1|0|", 2, false, false}, {L"true|", 0, true, false}, {L" 1|", 0, true, false},
        {L"1", 0, false, true},     {L"", 0, true, true},       {L"1|0|", -1, true, true},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(GetPipeFlag(Case.Text, Case.Index, Case.Default), Case.Expected)
            << ToUtf8(Case.Text) << " #" << Case.Index;

    String Text;
    AppendPipeFlag(Text, true);
    AppendPipeFlag(Text, false);
    EXPECT_EQ(Text, L"1|0|");
    // Registry cleaner: "1|0|" reads as HKCU set, HKLM clear, HKU set (missing: default).
    EXPECT_EQ(DecodePipeFlags(L"1|0|", RegistryFlagCount), (std::vector<bool>{true, false, true}));
}

TEST(SchedSettingsTest, WithoutAFileEveryFunctionHasItsDefaults) {
    TTempFolder Folder;
    const TSchedSettings Settings(Folder.Path() + L"qvsched.ini");
    EXPECT_TRUE(Settings.ReadEnabled());
    EXPECT_FALSE(Settings.ReadHideTrayIcon());
    for (int I = 0; I < SchedFuncCount; ++I) {
        const TSchedFunc F = Loaded(Folder, L"qvsched.ini", I);
        EXPECT_FALSE(F.Enabled);
        EXPECT_EQ(F.Intervals, siNone);
        EXPECT_EQ(F.Time1, 30);
        EXPECT_EQ((std::array{F.Time2, F.Time3, F.Time4, F.Time5}), (std::array{1, 1, 1, 1}));
        EXPECT_EQ((std::array{F.Hour, F.Min, F.DayOfWeek, F.DayOfMonth}), (std::array{0, 0, 1, 1}));
        EXPECT_EQ(F.MB, 200);
        EXPECT_EQ(F.OnDate, std::optional<TDateTime>(StartTime));
        EXPECT_EQ(F.LastRun, 0);
        EXPECT_EQ(F.Parameters, L"");
    }
    EXPECT_FALSE(PathPresent(Folder.Path() + L"qvsched.ini")) << "reading must not make the file";
}

TEST(SchedSettingsTest, EveryKeyRoundTripsAndDatesAreWrittenInOneForm) {
    TTempFolder Folder;
    const String FileName = Folder.Path() + L"qvsched.ini";
    TSchedFunc Saved;
    Saved.Enabled = true;
    Saved.Intervals = siOnDate;
    Saved.Time1 = 90;
    Saved.Time2 = 48;
    Saved.Time3 = 3;
    Saved.Time4 = 2;
    Saved.Time5 = 6;
    Saved.Hour = 23;
    Saved.Min = 59;
    Saved.DayOfWeek = 6;
    Saved.DayOfMonth = 31;
    Saved.MB = 1000000000;
    Saved.Parameters = L"C:\\Temp\\|D:\\\u00c4rger \u65e5\u672c\\|"; // outside the ANSI page
    Saved.OnDate = EncodeDate(2002, 4, 30);
    Saved.OnDateHour = 15;
    Saved.OnDateMin = 5;
    Saved.LastRun = EncodeDate(2024, 3, 14) + EncodeTime(10, 0, 3, 0);
    {
        TSchedSettings Settings(FileName);
        Settings.SaveSchedFunc(sfFolderCleaner, Saved);
        Settings.WriteEnabled(false);
        Settings.WriteHideTrayIcon(true);
    }
    const TSchedSettings Settings(FileName);
    EXPECT_FALSE(Settings.ReadEnabled());
    EXPECT_TRUE(Settings.ReadHideTrayIcon());
    const TSchedFunc F = Loaded(Folder, L"qvsched.ini", sfFolderCleaner);
    EXPECT_EQ(F.Enabled, Saved.Enabled);
    EXPECT_EQ(F.Intervals, Saved.Intervals);
    EXPECT_EQ((std::array{F.Time1, F.Time2, F.Time3, F.Time4, F.Time5}),
              (std::array{90, 48, 3, 2, 6}));
    EXPECT_EQ((std::array{F.Hour, F.Min, F.DayOfWeek, F.DayOfMonth, F.MB}),
              (std::array{23, 59, 6, 31, 1000000000}));
    EXPECT_EQ(F.Parameters, Saved.Parameters);
    EXPECT_EQ(F.OnDate, Saved.OnDate);
    EXPECT_EQ((std::array{F.OnDateHour, F.OnDateMin}), (std::array{15, 5}));
    EXPECT_DOUBLE_EQ(F.LastRun, Saved.LastRun);

    const TIniFile Ini(FileName);
    EXPECT_EQ(Ini.ReadString(L"Section3", L"LastRun", L""), L"2024-03-14 10:00:03");
    EXPECT_EQ(Ini.ReadString(L"Section3", L"OnDate", L""), L"2002-04-30 00:00:00");
    EXPECT_EQ(Ini.ReadString(L"Section3", L"Enabled", L""), L"1");
}

TEST(SchedSettingsTest, DatesInTheUsersLocaleFormStillRead) {
    TTempFolder Folder;
    const TDateTime LastRun = EncodeDate(2024, 3, 14) + EncodeTime(22, 5, 7, 0);
    const std::string Text = "[Section1]\r\nOnDate=" + ToUtf8(DateToStr(EncodeDate(2002, 4, 30))) +
                             "\r\nLastRun=" + ToUtf8(DateTimeToStr(LastRun)) + "\r\n";
    Folder.AddFile(L"qvsched.ini", Text);
    const TSchedFunc F = Loaded(Folder, L"qvsched.ini", sfRegistryCleaner);
    EXPECT_EQ(F.OnDate, std::optional<TDateTime>(EncodeDate(2002, 4, 30)));
    EXPECT_DOUBLE_EQ(F.LastRun, LastRun);
}

TEST(SchedSettingsTest, ADamagedFileGivesDefaultsAndIsLeftAsItIs) {
    TTempFolder Folder;
    const std::string Damaged =
        "[General]\r\nEnabled=yes\r\n"
        "[Section1]\r\nEnabled=x\r\nIntervals=12\r\nTime1=0\r\nTime2=-5\r\n"
        "Time3=100000\r\nTime4=\r\nTime5=1e3\r\nHour=24\r\nMin=-1\r\n"
        "DayOfWeek=7\r\nDayOfMonth=0\r\nMB=-200\r\nLastRun=x\r\n"
        "OnDate=31.02.20x\r\nOnDateHour=99\r\nOnDateMin=60\r\nParameters=a||";
    Folder.AddFile(L"qvsched.ini", Damaged);
    const TSchedFunc F = Loaded(Folder, L"qvsched.ini", sfRegistryCleaner);
    EXPECT_FALSE(F.Enabled);
    EXPECT_EQ(F.Intervals, siNone);
    EXPECT_EQ((std::array{F.Time1, F.Time2, F.Time3, F.Time4, F.Time5}),
              (std::array{1, 1, 100, 1, 1}));
    EXPECT_EQ((std::array{F.Hour, F.Min, F.DayOfWeek, F.DayOfMonth, F.MB}),
              (std::array{23, 0, 1, 1, 1}));
    EXPECT_EQ(F.Parameters, L"a||");
    EXPECT_FALSE(F.OnDate) << "an unreadable date is no date, not today";
    EXPECT_EQ((std::array{F.OnDateHour, F.OnDateMin}), (std::array{23, 59}));
    EXPECT_EQ(F.LastRun, 0);
    EXPECT_TRUE(TSchedSettings(Folder.Path() + L"qvsched.ini").ReadEnabled());
    EXPECT_EQ(Folder.Read(L"qvsched.ini"), Damaged);
}

TEST(SchedSettingsTest, AnUnreadableDateStaysInTheFileWhenTheSectionIsSaved) {
    TTempFolder Folder;
    Folder.AddFile(L"qvsched.ini", "[Section2]\r\nOnDate=someday\r\n");
    TSchedSettings Settings(Folder.Path() + L"qvsched.ini");
    TSchedFunc F;
    Settings.LoadSchedFunc(sfInternetPrivacy, F, StartTime);
    ASSERT_FALSE(F.OnDate);
    F.Time1 = 45;
    Settings.SaveSchedFunc(sfInternetPrivacy, F);
    const TIniFile Ini(Folder.Path() + L"qvsched.ini");
    EXPECT_EQ(Ini.ReadString(L"Section2", L"OnDate", L""), L"someday");
    EXPECT_EQ(Ini.ReadInteger(L"Section2", L"Time1", 0), 45);
}

TEST(SchedSettingsTest, LastRunIsSavedAloneAndHandleAsANumber) {
    TTempFolder Folder;
    TSchedSettings Settings(Folder.Path() + L"qvsched.ini");
    TSchedFunc F;
    F.Time1 = 77; // an edit not confirmed yet
    F.LastRun = EncodeDate(2025, 1, 2) + EncodeTime(3, 4, 5, 0);
    Settings.SaveLastRun(sfJunkFiles, F);
    Settings.WriteHandle(reinterpret_cast<HWND>(static_cast<std::intptr_t>(0x1234)));
    const TIniFile Ini(Folder.Path() + L"qvsched.ini");
    EXPECT_EQ(Ini.ReadString(L"Section5", L"LastRun", L""), L"2025-01-02 03:04:05");
    EXPECT_FALSE(Ini.ValueExists(L"Section5", L"Time1"));
    EXPECT_EQ(Ini.ReadInteger(L"General", L"Handle", 0), 0x1234);
}

TEST(SchedSettingsTest, AWriteThatFailsIsDroppedQuietly) {
    TTempFolder Folder;
    Folder.AddFolder(L"qvsched.ini"); // a folder where the file should be
    TSchedSettings Settings(Folder.Path() + L"qvsched.ini");
    TSchedFunc F;
    EXPECT_NO_THROW(Settings.SaveSchedFunc(sfRegistryCleaner, F));
    EXPECT_NO_THROW(Settings.WriteEnabled(false));
}

TEST(SchedFuncTest, TheSnapshotKeepsTheLiveLastRun) {
    TSchedFunc Live;
    Live.Time1 = 10;
    Live.LastRun = 45000.5;
    TSchedFunc Snapshot;
    Snapshot.Time1 = 60;
    Snapshot.LastRun = 1;
    CopySchedSettings(Live, Snapshot);
    EXPECT_EQ(Live.Time1, 60);
    EXPECT_EQ(Live.LastRun, 45000.5);
}

TEST(SchedViewTest, ShowAndStoreMoveEveryFieldAndTheList) {
    TSchedFunc F;
    F.Name = L"Folder cleaner";
    F.Enabled = true;
    F.Intervals = siWeeks;
    F.Time1 = 5;
    F.Time4 = 3;
    F.Hour = 7;
    F.Min = 8;
    F.DayOfWeek = 0;
    F.DayOfMonth = 28;
    F.MB = 512;
    F.OnDate = EncodeDate(2024, 12, 24);
    F.OnDateHour = 18;
    F.Parameters = L"C:\\A\\|C:\\B\\|";
    TSchedView View;
    ShowSchedFunc(sfFolderCleaner, F, View);
    EXPECT_EQ(View.FuncName, F.Name);
    EXPECT_EQ(View.CheckedInterval, siWeeks);
    EXPECT_EQ(View.Time, (std::array{5, 1, 1, 3, 1}));
    EXPECT_EQ(View.DateText, DateToStr(EncodeDate(2024, 12, 24)));
    EXPECT_EQ(View.DayIndex, 0);
    EXPECT_EQ(View.Rows, (std::vector<String>{L"C:\\A\\", L"C:\\B\\"}));

    View.Rows.push_back(L"D:\\C\\");
    View.OnDateMin = 30;
    TSchedFunc Stored;
    StoreSchedFunc(sfFolderCleaner, View, Stored);
    EXPECT_EQ(Stored.Parameters, L"C:\\A\\|C:\\B\\|D:\\C\\|");
    EXPECT_EQ((std::array{Stored.Intervals, Stored.Time1, Stored.Time4, Stored.Hour, Stored.Min}),
              (std::array{int(siWeeks), 5, 3, 7, 8}));
    EXPECT_EQ((std::array{Stored.DayOfWeek, Stored.DayOfMonth, Stored.MB}),
              (std::array{0, 28, 512}));
    EXPECT_EQ(Stored.OnDate, F.OnDate);
    EXPECT_EQ((std::array{Stored.OnDateHour, Stored.OnDateMin}), (std::array{18, 30}));
}

TEST(SchedViewTest, FlagListsAndRadioButtonsFollowTheKindOfFunction) {
    TSchedFunc F;
    F.Intervals = siNone;
    F.Parameters = L"1|0|";
    TSchedView View;
    View.CheckedInterval = 3;
    ShowSchedFunc(sfInternetPrivacy, F, View);
    EXPECT_EQ(View.CheckedInterval, 0) << "kind 0 checks no radio button";
    EXPECT_EQ(View.Flags,
              (std::vector<bool>{true, false, true, true, true, true, true, true, true}));
    EXPECT_TRUE(View.Rows.empty());

    View.Flags[8] = false;
    StoreSchedFunc(sfInternetPrivacy, View, F);
    EXPECT_EQ(F.Parameters, L"1|0|1|1|1|1|1|1|0|");
}

TEST(SchedViewTest, ADateTextThatIsNoDateKeepsTheStoredDate) {
    TSchedFunc F;
    F.OnDate = EncodeDate(2024, 5, 1);
    F.OnDateHour = 6;
    F.OnDateMin = 7;
    TSchedView View;
    ShowSchedFunc(sfAppLauncher, F, View);
    View.DateText = L"not a date";
    View.OnDateHour = 20;
    View.Hour = 11;
    StoreSchedFunc(sfAppLauncher, View, F);
    EXPECT_EQ(F.OnDate, std::optional<TDateTime>(EncodeDate(2024, 5, 1)));
    EXPECT_EQ(F.OnDateHour, 6);
    EXPECT_EQ(F.Hour, 11);
}
