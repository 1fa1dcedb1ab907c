#include "main/RegistryCleaner.h"

#include "tests/main/RegistryTestSupport.h"
#include "tests/main/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class RegistryCleanerTest : public ::testing::Test {
protected:
    RegistryCleanerTest() {
        Cleaner.Starts = {{TRegistryRootKey::CurrentUser, BaseOf(Key)}};
        Cleaner.ClassKeys = {TRegistryRootKey::CurrentUser, Key.Path(L"CLSID")};
        Cleaner.OnRowsChanged = [this] { ++RowsChanged; };
    }

    // Next on the options page of the registry cleaner.
    void ScanFromOptionsPage() {
        Cleaner.Open();
        EXPECT_EQ(F.Core->Flow.Page(), pgCleanOptions);
        F.Core->Next();
    }

    std::vector<String> RowNames() const {
        std::vector<String> Names;
        for (const TRegistryRow& Row : Cleaner.Rows())
            Names.push_back(Row.Finding.Name);
        std::sort(Names.begin(), Names.end());
        return Names;
    }

    int RowOf(const String& Name) const {
        const auto& Rows = Cleaner.Rows();
        const auto It = std::find_if(Rows.begin(), Rows.end(), [&](const TRegistryRow& Row) {
            return Row.Finding.Name == Name;
        });
        return It == Rows.end() ? -1 : static_cast<int>(It - Rows.begin());
    }

    TCoreFixture F{"DeleteRegistryEntriesConfirm=Delete them?\r\n"
                   "sDeletingRegistry=Deleting registry entries\r\n"
                   "S_Log_RegistryDeleteItem=Registry entries deleted\r\n"};
    TTestRegistry Key{L"RegistryCleaner"};
    TRegistryCleaner Cleaner{*F.Core, *F.Context, {&F.Progress, &F.Pump}};
    int RowsChanged = 0;
    // Missing files on a fixed disk: an executable (critical), a document (a warning) and a
    // temporary file (safe: it matches the junk masks).
    const String MissingExe = F.Tree.Path() + L"gone\\tool.exe";
    const String MissingDoc = F.Tree.Path() + L"gone\\letter.doc";
    const String MissingJunk = F.Tree.Path() + L"gone\\cache.tmp";
};

TEST_F(RegistryCleanerTest, NextOnTheOptionsPageScansAndShowsTheResults) {
    Key.SetString(L"App", L"tool", MissingExe);
    Key.SetString(L"App", L"cache", MissingJunk);
    Key.SetString(L"Services\\Gone", L"ImagePath", F.Tree.Path() + L"Windows\\gone\\gone.tmp");
    Key.SetString(L"App", L"odd", MissingDoc + L";" + MissingDoc);
    Key.SetString(L"CLSID\\{A}\\LocalServer32", L"", MissingDoc);
    int Started = 0, Ended = 0;
    F.Core->OnScanStarted = [&](bool ShowsPath) { Started += ShowsPath ? 1 : 100; };
    F.Core->OnScanEnded = [&] { ++Ended; };

    ScanFromOptionsPage();
    EXPECT_EQ(F.Core->Flow.Mode(), mdRegistryCleaner);
    EXPECT_EQ(F.Core->Flow.Page(), pgRegistryCleaner);
    EXPECT_EQ(Started, 1);
    EXPECT_EQ(Ended, 1);
    // Simple mode, offered as safe for every user, lists only what the safety rule calls safe:
    // not the executable, the document (the class key's server default, an ordinary value to
    // the walk) nor the temporary file under the Windows folder.
    EXPECT_EQ(RowNames(), (std::vector<String>{L"cache"}));
    for (const TRegistryRow& Row : Cleaner.Rows()) {
        EXPECT_EQ(Row.Safety, slSafe);
        EXPECT_FALSE(Row.Checked);
    }
    EXPECT_EQ(Cleaner.Rows()[RowOf(L"cache")].Text(), L"HKEY_CURRENT_USER\\" + Key.Path(L"App"));
    EXPECT_EQ(Cleaner.CurrentScanPath().substr(0, 18), L"HKEY_CURRENT_USER\\");

    Cleaner.Advanced = true;
    F.Core->Flow.ShowPage(pgCleanOptions);
    F.Core->Next();
    EXPECT_EQ(RowNames(),
              (std::vector<String>{L"", L"ImagePath", L"cache", L"odd", L"tool", L"{A}"}));
    const TRegistryRow& Tool = Cleaner.Rows()[RowOf(L"tool")];
    EXPECT_EQ(Tool.Safety, slCritical);
    EXPECT_EQ(Cleaner.Rows()[RowOf(L"ImagePath")].Safety, slCritical);
    EXPECT_EQ(Cleaner.Rows()[RowOf(L"cache")].Safety, slSafe);
    EXPECT_EQ(Cleaner.Rows()[RowOf(L"")].Safety, slWarning);
    EXPECT_EQ(Tool.Finding.Text, MissingExe);
    EXPECT_EQ(Cleaner.Rows()[RowOf(L"{A}")].Finding.Kind, TRegistryFindingKind::ClassKey);
    EXPECT_EQ(Cleaner.Rows()[RowOf(L"{A}")].Safety, slWarning);
    EXPECT_GT(RowsChanged, 0);
}

TEST_F(RegistryCleanerTest, StopKeepsTheRowsFoundAndShowsThem) {
    for (int I = 0; I < 6; ++I)
        Key.SetString(L"K" + std::to_wstring(I), L"v" + std::to_wstring(I), MissingJunk);
    // The Stop button is pressed while the walk processes messages, after two rows.
    F.Pump.OnPump = [this] {
        if (Cleaner.Rows().size() == 2)
            F.Core->StopScan();
    };
    ScanFromOptionsPage();
    EXPECT_EQ(Cleaner.Rows().size(), 2u);
    EXPECT_EQ(F.Core->Flow.Page(), pgRegistryCleaner);
    EXPECT_FALSE(Cleaner.Scanning());
}

TEST_F(RegistryCleanerTest, RemovalTakesExactlyTheCheckedEntries) {
    Key.SetString(L"App", L"Twin", MissingDoc);
    Key.SetString(L"App\\Twin", L"inner", L"kept");
    Key.SetString(L"App", L"", MissingDoc);
    Key.SetString(L"App", L"unchecked", MissingDoc);
    Key.SetString(L"CLSID\\{A}\\InprocServer32", L"", MissingDoc);
    Key.SetString(L"CLSID\\{B}\\InprocServer32", L"", MissingDoc);
    Cleaner.Advanced = true;
    ScanFromOptionsPage();
    for (const wchar_t* Name : {L"Twin", L"", L"{A}"})
        Cleaner.SetChecked(RowOf(Name), true);
    F.Prompt.Answer = IPrompt::ResultYes;

    const int Before = static_cast<int>(Cleaner.Rows().size());
    EXPECT_EQ(Cleaner.RemoveChecked(), 3);
    EXPECT_EQ(static_cast<int>(Cleaner.Rows().size()), Before - 3);
    EXPECT_EQ(ValueNames(Key, L"App"), std::vector<String>{L"unchecked"});
    EXPECT_TRUE(HasValue(Key, L"App\\Twin", L"inner"));
    EXPECT_FALSE(Key.KeyExists(L"CLSID\\{A}"));
    EXPECT_TRUE(Key.KeyExists(L"CLSID\\{B}\\InprocServer32"));

    ASSERT_EQ(F.Prompt.Asked.size(), 1u);
    EXPECT_EQ(F.Prompt.Asked[0].Caption, L"Corvanta");
    EXPECT_EQ(F.Prompt.Asked[0].Text, L"Delete them?");
    EXPECT_EQ(F.Prompt.Asked[0].Buttons, IPrompt::ButtonsYesNo);
    EXPECT_EQ(F.Progress.Labels.front(), L"Deleting registry entries");
    EXPECT_FALSE(F.Progress.CancelVisible);
    EXPECT_FALSE(F.Progress.Running);
    EXPECT_EQ(F.Core->Stats.LogLines().Count(), 1);
    EXPECT_EQ(F.Core->Stats.LogLines().Strings(0), L"Registry entries deleted");
}

TEST_F(RegistryCleanerTest, ARowCheckedWhileTheRemovalRunsIsLeftAlone) {
    for (const wchar_t* Name : {L"a", L"b", L"c"})
        Key.SetString(L"App", Name, MissingJunk);
    ScanFromOptionsPage();
    ASSERT_EQ(Cleaner.Rows().size(), 3u);
    const String Last = Cleaner.Rows().back().Finding.Name;
    const String Other = Cleaner.Rows().front().Finding.Name;
    Cleaner.SetChecked(Cleaner.Rows().size() - 1, true);
    // The user checks another row while the loop pumps messages.
    F.Progress.OnPump = [&] {
        if (const int Row = RowOf(Other); Row >= 0)
            Cleaner.SetChecked(Row, true);
    };
    F.Prompt.Answer = IPrompt::ResultYes;
    EXPECT_EQ(Cleaner.RemoveChecked(), 1);
    F.Progress.OnPump = nullptr;
    EXPECT_FALSE(HasValue(Key, L"App", Last));
    EXPECT_TRUE(HasValue(Key, L"App", Other)) << "not checked when the loop started";
    EXPECT_EQ(RowOf(Last), -1);
    EXPECT_GE(RowOf(Other), 0);
    EXPECT_EQ(Cleaner.Rows().size(), 2u);
}

TEST_F(RegistryCleanerTest, RemovalAsksFirstAndLogsOnceWhateverWasChecked) {
    Key.SetString(L"App", L"v", MissingJunk);
    ScanFromOptionsPage();
    ASSERT_EQ(Cleaner.Rows().size(), 1u);
    Cleaner.CheckAll(true);

    F.Prompt.Answer = IPrompt::ResultNo;
    EXPECT_EQ(Cleaner.RemoveChecked(), 0);
    EXPECT_TRUE(HasValue(Key, L"App", L"v"));
    EXPECT_EQ(F.Core->Stats.LogLines().Count(), 0);
    EXPECT_EQ(F.Progress.Starts, 0);

    Cleaner.CheckAll(false);
    F.Prompt.Answer = IPrompt::ResultYes;
    EXPECT_EQ(Cleaner.RemoveChecked(), 0);
    EXPECT_TRUE(HasValue(Key, L"App", L"v"));
    EXPECT_EQ(F.Progress.Starts, 1);
    EXPECT_EQ(F.Core->Stats.LogLines().Count(), 1);
}

TEST_F(RegistryCleanerTest, ARowWhoseValueVanishedLeavesTheList) {
    Key.SetString(L"App", L"vanishes", MissingJunk);
    Key.SetString(L"App\\vanishes", L"inner", L"kept");
    ScanFromOptionsPage();
    ASSERT_EQ(Cleaner.Rows().size(), 1u);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, Key.Path(L"App").c_str(), L"vanishes");
    Cleaner.CheckAll(true);
    F.Prompt.Answer = IPrompt::ResultYes;
    EXPECT_EQ(Cleaner.RemoveChecked(), 1);
    EXPECT_TRUE(Cleaner.Rows().empty());
    // The subkey of the same name is no value of it.
    EXPECT_TRUE(HasValue(Key, L"App\\vanishes", L"inner"));
}

} // namespace
