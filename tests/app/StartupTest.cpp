#include "app/AppStartup.h"
#include "app/Language.h"
#include "classlib/gui/Forms.h"
#include "classlib/rtl/Classes.h"
#include "classlib/rtl/TextEncoding.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A program folder of its own for each test, as AppDir.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        FSavedAppDir = AppDir;
        AppDir = Folder.Path();
    }
    void TearDown() override { AppDir = FSavedAppDir; }

    String FileText(const String& Name) const {
        TStringList Lines;
        Lines.LoadFromFile(Folder.Path() + Name);
        return Lines.Text();
    }

    TTempFolder Folder;

private:
    String FSavedAppDir;
};

String LoadingText() {
    String Text;
    AppLanguage->GetMessageText(L"sLoading", Text);
    return Text;
}

} // namespace

TEST_F(StartupTest, TheConfigurationNamesTheLanguageAndOnlyAPlainNameIsTaken) {
    Folder.AddFile(L"Languages\\english.lng", "[Messages]\r\nsLoading=Loading...\r\n");
    Folder.AddFile(L"Languages\\german.lng", "[Messages]\r\nsLoading=Laden...\r\n");
    Folder.AddFile(L"evil.lng", "[Messages]\r\nsLoading=EVIL\r\n");
    struct TCase {
        const wchar_t* Ini;  // the configuration file's name
        const char* Content; // nullptr: no such file
        const wchar_t* Expected;
    };
    const TCase Cases[] = {
        {L"missing.ini", nullptr, L"Loading..."},
        {L"nolang.ini", "[General]\r\nOther=1\r\n", L"Loading..."},
        {L"german.ini", "[General]\r\nLang=german\r\n", L"Laden..."},
        {L"escape.ini", "[General]\r\nLang=..\\evil\r\n", L"Loading..."},
        {L"absolute.ini", "[General]\r\nLang=C:\\evil\r\n", L"Loading..."},
        // A language without a file: lookups fall back to their keys.
        {L"klingon.ini", "[General]\r\nLang=klingon\r\n", L"sLoading"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Ini);
        if (Case.Content)
            Folder.AddFile(Case.Ini, Case.Content);
        LoadAppLanguage(AppDir + Case.Ini);
        EXPECT_EQ(LoadingText(), Case.Expected);
    }
}

TEST_F(StartupTest, TheWriteTestLeavesNoTestKey) {
    ConfigWriteTest(ConfigFileName()); // a new file keeps the empty section
    EXPECT_EQ(FileText(L"qv.ini"), L"[Report]\r\n");

    Folder.AddFile(L"kept.ini", "[General]\r\nLang=german\r\n[Report]\r\nTotalFiles1=5\r\n");
    ConfigWriteTest(AppDir + L"kept.ini");
    const String Kept = FileText(L"kept.ini");
    EXPECT_NE(Kept.find(L"Lang=german"), String::npos);
    EXPECT_NE(Kept.find(L"TotalFiles1=5"), String::npos);
    EXPECT_EQ(Kept.find(L"Test"), String::npos);
}

TEST_F(StartupTest, AConfigurationThatCannotBeWrittenDoesNotStopTheStart) {
    Folder.AddFolder(L"locked.ini"); // a folder in its place: no write can succeed
    EXPECT_NO_THROW(ConfigWriteTest(AppDir + L"locked.ini"));
    EXPECT_NO_THROW(LoadAppLanguage(AppDir + L"locked.ini"));
}

TEST(InstanceKey, OneProgramCopyHasOneKeyHoweverItsPathIsSpelled) {
    const String Key = InstanceKey(L"C:\\Program Files\\Qrv\\qrv.exe");
    EXPECT_EQ(InstanceKey(L"c:\\program files\\QRV\\QRV.EXE"), Key);
    EXPECT_EQ(Key.find(L'\\'), String::npos); // not allowed in kernel object names
    EXPECT_NE(InstanceKey(L"C:\\Program Files\\Qrv2\\qrv.exe"), Key);
    EXPECT_NE(InstanceKey(L"C:\\Program Files\\Qrv\\qrvsched.exe"), Key);
}

TEST_F(StartupTest, OnlyTheFirstStartOfAProgramCopyRuns) {
    const String Exe = AppDir + L"qrv.exe";
    {
        const TSingleInstance First(Exe);
        EXPECT_FALSE(First.AlreadyRunning());
        const TSingleInstance Second(AnsiUpperCase(Exe));
        EXPECT_TRUE(Second.AlreadyRunning());
        const TSingleInstance OtherCopy(AppDir + L"copy\\qrv.exe");
        EXPECT_FALSE(OtherCopy.AlreadyRunning());

        const String LongPath = AppDir + String(300, L'x') + L"\\qrv.exe";
        const TSingleInstance LongFirst(LongPath);
        EXPECT_FALSE(LongFirst.AlreadyRunning());
        EXPECT_TRUE(TSingleInstance(LongPath).AlreadyRunning());
    }
    EXPECT_FALSE(TSingleInstance(Exe).AlreadyRunning()); // the first one has gone
}

TEST_F(StartupTest, ALaterStartBringsTheRunningInstanceBack) {
    const String Exe = AppDir + L"qrv.exe";
    TApplication App;
    const TSingleInstance First(Exe);
    First.Serve(App);
    auto* Main = App.CreateForm<TForm>();
    Main->Show();
    ShowWindow(Main->Handle(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(Main->Handle()));

    const TSingleInstance Later(Exe);
    ASSERT_TRUE(Later.AlreadyRunning());
    EXPECT_TRUE(Later.ActivateRunningInstance());
    App.ProcessMessages();
    EXPECT_FALSE(IsIconic(Main->Handle()));
    EXPECT_TRUE(IsWindowVisible(Main->Handle()));

    // Another program copy has no window to find.
    EXPECT_FALSE(TSingleInstance(AppDir + L"other\\qrv.exe").ActivateRunningInstance());
}

TEST(IniText, LinesOfSectionsPairsAndCommentsAreTextAndBytesAreNot) {
    const struct {
        const wchar_t* Text;
        bool Ini;
    } Cases[] = {
        {L"", true},
        {L"[Messages]\r\nsLoading=Loading...\r\n\r\n; a note\r\n[Report]\r\nA=", true},
        {L"  [General]\n\tLang = english\n", true},
        {L"[Messages]\r\nno pair here\r\n", false},
        {L"[Report]\r\nTotalFiles1=3\x01\x02\r\n", false},
        {L"A=1\r\n\x7f"
         L"ELF\x02",
         false},
        {L"[Unclosed\r\n", false},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(IsIniText(Case.Text), Case.Ini) << ToUtf8(Case.Text);
}

TEST_F(StartupTest, AStartOverADamagedSettingsOrLanguageFileIsRefusedAndWritesNothing) {
    const std::string Language = "[Messages]\r\nsLoading=Loading...\r\n";
    const std::string Damaged("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    const struct {
        const char* Case;
        const char* Settings;     // null: no qv.ini
        std::string LanguageFile; // empty: none
        bool Refused;
    } Cases[] = {
        {"sound files", "[General]\r\nLang=english\r\n", Language, false},
        {"no settings yet", nullptr, Language, false},
        {"damaged settings", "\x01\x02garbage\xff", Language, true},
        {"damaged language", nullptr, Damaged, true},
        {"language without messages", nullptr, "[Other]\r\nA=1\r\n", true},
        {"no language", nullptr, "", true},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Case);
        TTempFolder App;
        AppDir = App.Path();
        if (Case.Settings)
            App.AddFile(L"qv.ini", Case.Settings);
        if (!Case.LanguageFile.empty())
            App.AddFile(L"Languages\\english.lng", Case.LanguageFile);
        const auto Listing = [&] {
            std::vector<std::string> Files;
            for (const wchar_t* Name : {L"qv.ini", L"Languages\\english.lng"})
                Files.push_back(FileExists(App.Path() + Name) ? ReadFileBytes(App.Path() + Name)
                                                              : "-");
            return Files;
        };
        const auto Before = Listing();
        bool Refused = false;
        try {
            CheckStartFiles(App.Path() + L"qv.ini");
        } catch (const Exception& E) {
            Refused = true;
            EXPECT_NE(E.Message().find(L"cannot start"), String::npos) << ToUtf8(E.Message());
        }
        EXPECT_EQ(Refused, Case.Refused);
        EXPECT_EQ(Listing(), Before);
    }
}
