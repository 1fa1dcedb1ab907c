#include "main/MainCore.h"

#include "app/Language.h"
#include "app/QRVUtils.h"
#include "classlib/db/DBTablesConnection.h"
#include "classlib/rtl/IniFiles.h"
#include "classlib/rtl/TextEncoding.h"
#include "tests/main/ScanTestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

const char* const LanguageText = "[Application]\r\n"
                                 "Caption=Corvanta\r\n"
                                 "[Messages]\r\n"
                                 "sLoading1=Step one\r\n"
                                 "sLoading2=Step two\r\n"
                                 "sLoading3=Step three\r\n"
                                 "sLoading4=Step four\r\n"
                                 "sLoading5=Step five\r\n"
                                 "sNothingFound=Nothing found\r\n"
                                 "LaunchFileConfirm=Open %s now?\r\n"
                                 "sModJunkFiles=Junk files\r\n";

class TRecordingStatus : public IStatusSink {
public:
    std::vector<String> Lines;
    void SetStatus(const String& Text) override { Lines.push_back(Text); }
};

class MainCoreTest : public ::testing::Test {
protected:
    MainCoreTest() {
        Tree.AddFile(L"Languages\\test.lng", LanguageText);
        Language.LoadFromFile(Tree.Path() + L"Languages\\test.lng");
        for (wchar_t L = L'A'; L <= L'Z'; ++L)
            Drives.Types[L] = DRIVE_NO_ROOT_DIR;
        Drives.Types[static_cast<wchar_t>(towupper(Tree.Path()[0]))] = DRIVE_FIXED;
    }

    TMainCoreEnvironment Environment() {
        TMainCoreEnvironment Env;
        Env.AppDir = Tree.Path() + L"App";
        Env.WindowsFolder = Tree.Path() + L"Windows";
        Env.BackupFolder = Tree.Path() + L"Backups";
        Env.Language = &Language;
        Env.Drives = &Drives;
        Env.Clock = &Clock;
        Env.Status = &Status;
        Env.Prompt = &Prompt;
        Env.Shell = &Shell;
        return Env;
    }

    std::unique_ptr<TMainCore> OpenCore() {
        auto Core = std::make_unique<TMainCore>(Environment());
        Core->Open();
        Core->OnScanStarted = [this](bool ShowsPath) { Started.push_back(ShowsPath); };
        Core->OnScanEnded = [this] { ++Ended; };
        Core->OnStatisticsChanged = [this](const TScanStatistics& S) { Statistics.push_back(S); };
        return Core;
    }

    // The scan path list holds exactly these folders.
    static void ScanOnly(TMainCore& Core, const std::vector<String>& Folders) {
        Core.ScanPaths.Clear();
        for (const String& Folder : Folders)
            Core.ScanPaths.AddFolder(Folder);
    }

    // Next on the options page of the mode starts its scan.
    static void ScanFromOptionsPage(TMainCore& Core, int Mode) {
        Core.Flow.EnterMode(Mode);
        Core.Flow.ShowPage(pgCleanOptions);
        Core.Next();
    }

    // A junk scan of the folder "scan" with "*.tmp" on the junk list.
    std::unique_ptr<TMainCore> JunkScanOfScanFolder() {
        auto Core = OpenCore();
        Core->AddJunkMask(L"*.tmp", L"");
        ScanOnly(*Core, {Tree.Path() + L"scan"});
        ScanFromOptionsPage(*Core, mdJunkFiles);
        return Core;
    }

    std::set<String> FoundNames(const TMainCore& Core) const {
        std::set<String> Names;
        for (int I = 0; I < Core.Results.Count(); ++I) {
            String Name = Core.Results.File(I).FullName();
            Names.insert(Name.erase(0, Tree.Path().size()));
        }
        return Names;
    }

    TTempFolder Tree;
    TLanguage Language;
    TFakeDrives Drives;
    TFakeClock Clock{EncodeDate(2024, 6, 15) + 0.5};
    TRecordingStatus Status;
    TFakePrompt Prompt;
    TFakeShell Shell;
    std::vector<bool> Started;
    int Ended = 0;
    std::vector<TScanStatistics> Statistics;
};

TEST_F(MainCoreTest, CreationMakesFoldersOpensTablesAndListsFixedDrives) {
    auto Core = std::make_unique<TMainCore>(Environment());
    EXPECT_EQ(Core->Flow.Mode(), mdNone);
    EXPECT_EQ(Core->Flow.Page(), pgMainForm);
    EXPECT_EQ(Core->Titles.Title(pgDrives, mdJunkFiles), L"Junk files");
    for (int Step = 1; Step <= 5; ++Step)
        Core->ReportLoading(Step);
    EXPECT_EQ(Status.Lines, (std::vector<String>{L"Step one", L"Step two", L"Step three",
                                                 L"Step four", L"Step five"}));

    Core->Open();
    EXPECT_TRUE(DirectoryExists(Tree.Path() + L"App\\Data"));
    EXPECT_TRUE(DirectoryExists(Tree.Path() + L"App\\Temp"));
    EXPECT_TRUE(DirectoryExists(Tree.Path() + L"Backups"));
    EXPECT_TRUE(FileExists(Tree.Path() + L"App\\Data\\qrv.db"));
    EXPECT_EQ(Core->ProtectedPaths(),
              (std::vector<String>{Tree.Path() + L"Windows", Tree.Path() + L"Backups"}));
    EXPECT_TRUE(Core->Tables().JunkFilesTable->Active());
    EXPECT_TRUE(Core->Tables().ShutdownTable->Active());
    ASSERT_EQ(Core->ScanPaths.Count(), 1);
    EXPECT_EQ(Core->ScanPaths.Item(0).Path, Tree.Path().substr(0, 3));
    EXPECT_NE(Core->Matcher().Owner(), nullptr);
}

TEST_F(MainCoreTest, ADamagedDatabaseIsRefusedAndLeftAsItWas) {
    const String Database = Tree.Path() + L"App\\Data\\qrv.db";
    // A sound database of the program, then the same without one of its tables.
    std::make_unique<TMainCore>(Environment())->Open();
    TDatabaseConnection::Acquire(Tree.Path() + L"App\\Data")->Execute(L"DROP TABLE \"Split\"");
    const std::string WithoutTable = ReadFileBytes(Database);
    std::string Random(20000, '\0');
    for (size_t I = 0; I < Random.size(); ++I)
        Random[I] = static_cast<char>(I * 7919 % 251);
    const struct {
        const char* Damage;
        std::string Bytes;
    } Cases[] = {{"empty", ""}, {"not a database", Random}, {"a table missing", WithoutTable}};
    // The settings too: a refused start writes no totals back.
    const String Settings = Tree.Path() + L"App\\qv.ini";
    const std::string Totals = "[Report]\r\nTotalFiles1=7\r\n";
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Damage);
        WriteFileBytes(Database, Case.Bytes);
        WriteFileBytes(Settings, Totals);
        auto Core = std::make_unique<TMainCore>(Environment());
        EXPECT_THROW(Core->Open(), EDatabaseError);
        Core.reset();
        EXPECT_EQ(ReadFileBytes(Database), Case.Bytes);
        EXPECT_EQ(ReadFileBytes(Settings), Totals);
    }
}

TEST_F(MainCoreTest, BackupFolderLiesAtTheRootOfTheProgramDrive) {
    EXPECT_EQ(BackupFolderFor(L"C:\\Program Files\\Corvanta\\"), L"C:\\System Corvanta Backups");
    EXPECT_EQ(BackupFolderFor(L"\\\\server\\apps\\Corvanta\\"),
              L"\\\\server\\apps\\System Corvanta Backups");
}

TEST_F(MainCoreTest, TotalsAreReadAtOpenAndWrittenBackAtTheEnd) {
    Tree.AddFile(L"App\\qv.ini", "[Report]\r\nTotalFiles1=7\r\nTotalSpace1=700\r\n");
    {
        auto Core = OpenCore();
        EXPECT_EQ(Core->Stats.TotalCount(1), 7);
        Core->Stats.AddStatistics(2, 3, 4000);
    }
    TMemIniFile Ini(Tree.Path() + L"App\\qv.ini");
    EXPECT_EQ(Ini.ReadInteger(L"Report", L"TotalFiles1", 0), 7);
    EXPECT_EQ(Ini.ReadInteger(L"Report", L"TotalFiles2", 0), 3);
    EXPECT_EQ(Ini.ReadInteger(L"Report", L"TotalSpace2", 0), 4000);
}

TEST_F(MainCoreTest, TotalsNeverReadAreNotWrittenOverTheStoredOnes) {
    const std::string Stored = "[Report]\r\nTotalFiles1=7\r\nTotalSpace1=700\r\n";
    Tree.AddFile(L"App\\qv.ini", Stored);
    // A creation that ends before Open (a failure on the way) must leave the totals alone.
    { TMainCore Core(Environment()); }
    EXPECT_EQ(ReadBytes(Tree.Path() + L"App\\qv.ini"), Stored);
}

TEST_F(MainCoreTest, JunkScanThroughNextShowsTheResults) {
    Tree.AddFile(L"scan\\a.junk", "a");
    Tree.AddFile(L"scan\\b.txt", "b");
    Tree.AddFile(L"scan\\c.tmp", "c"); // the list the program comes with knows it
    auto Core = OpenCore();
    EXPECT_FALSE(Core->AddJunkMask(L" ", L"blank"));
    EXPECT_TRUE(Core->AddJunkMask(L"*.junk", L"Leftovers"));
    ScanOnly(*Core, {Tree.Path() + L"scan"});

    Core->Flow.EnterMode(mdJunkFiles);
    Core->Next();
    EXPECT_EQ(Core->Flow.Page(), pgCleanOptions);
    EXPECT_TRUE(Started.empty());
    Core->Next();
    EXPECT_EQ(Started, std::vector<bool>{true});
    EXPECT_EQ(Ended, 1);
    EXPECT_EQ(Core->Flow.Page(), pgScanResults);
    EXPECT_EQ(Core->LastScanOutcome(), soCompleted);
    EXPECT_EQ(FoundNames(*Core), (std::set<String>{L"scan\\a.junk", L"scan\\c.tmp"}));
    ASSERT_EQ(Statistics.size(), 1u);
    EXPECT_EQ(Statistics[0].VisibleCount, 2);
    EXPECT_TRUE(Prompt.Asked.empty());
    EXPECT_EQ(Core->CurrentScanPath(), Tree.Path() + L"scan\\");

    // The safety rule follows the junk list.
    EXPECT_EQ(Core->Safety.GetSafetyLevel(L"C:\\x\\", L"y.junk"), slSafe);
    EXPECT_EQ(Core->DeleteJunkMask(L"*.junk"), 1);
    EXPECT_EQ(Core->Safety.GetSafetyLevel(L"C:\\x\\", L"y.junk"), slWarning);
}

TEST_F(MainCoreTest, AScanOverNoCheckedPathEndsWithTheNothingFoundNotice) {
    auto Core = OpenCore();
    Core->AddJunkMask(L"*.tmp", L"");
    Core->ScanPaths.SetChecked(0, false);
    Core->Flow.EnterMode(mdBrokenLinks);
    Core->Next();
    EXPECT_EQ(Core->Flow.Page(), pgScanResults);
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Caption, L"Corvanta");
    EXPECT_EQ(Prompt.Asked[0].Text, L"Nothing found");
    EXPECT_EQ(Prompt.Asked[0].Icon, IPrompt::IconQuestion);
    EXPECT_EQ(Prompt.Asked[0].Buttons, IPrompt::ButtonsOk);
}

TEST_F(MainCoreTest, LargeScanTakesTheOptions) {
    Tree.AddFile(L"scan\\big.bin", std::string(3000, 'x'));
    Tree.AddFile(L"scan\\small.bin", std::string(2000, 'x'));
    auto Core = OpenCore();
    ScanOnly(*Core, {Tree.Path() + L"scan"});
    Core->Options.LargeValue = 2;
    Core->Options.SizeUnit = 1;
    ScanFromOptionsPage(*Core, mdLargeFiles);
    EXPECT_EQ(FoundNames(*Core), std::set<String>{L"scan\\big.bin"});
}

TEST_F(MainCoreTest, EmptyFolderSearchListsFoldersWithTheirSafety) {
    Tree.AddFolder(L"scan\\empty");
    Tree.AddFolder(L"scan\\nested\\inner");
    Tree.AddFile(L"scan\\full\\x.txt", "x");
    Tree.AddFolder(L"Windows\\unused");
    auto Core = OpenCore();
    ScanOnly(*Core, {Tree.Path() + L"scan", Tree.Path() + L"Windows", Tree.Path() + L"scan"});

    Core->Flow.EnterMode(mdEmptyFolders);
    Core->Next();
    EXPECT_EQ(Started, std::vector<bool>{false});
    EXPECT_EQ(Core->Flow.Page(), pgScanResults);
    EXPECT_EQ(FoundNames(*Core),
              (std::set<String>{L"scan\\empty", L"scan\\nested\\inner", L"Windows\\unused"}));
    for (int I = 0; I < Core->Results.Count(); ++I) {
        const TFile& Folder = Core->Results.File(I);
        EXPECT_TRUE(Folder.Name.empty());
        EXPECT_EQ(Folder.Size, 0u);
        const bool Protected = Folder.Path().find(L"Windows") != String::npos;
        EXPECT_EQ(Folder.Safety, Protected ? slCritical : slSafe) << ToUtf8(Folder.Path());
    }
    EXPECT_TRUE(Prompt.Asked.empty());
    ASSERT_EQ(Statistics.size(), 1u);
    EXPECT_EQ(Statistics[0].VisibleCount, 3);
}

TEST_F(MainCoreTest, EmptyFolderSearchWithNoCheckedPathSaysSo) {
    auto Core = OpenCore();
    Core->ScanPaths.Clear();
    Core->Flow.EnterMode(mdEmptyFolders);
    Core->Next();
    EXPECT_EQ(Core->Flow.Page(), pgScanResults);
    EXPECT_EQ(Core->Results.Count(), 0);
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, L"No 'empty folders' found.");
    EXPECT_EQ(Prompt.Asked[0].Caption, L"Corvanta");
}

TEST_F(MainCoreTest, OpeningAResultAsksFirst) {
    Tree.AddFile(L"scan\\a.tmp", "a");
    auto Core = JunkScanOfScanFolder();
    ASSERT_EQ(Core->Results.Count(), 1);

    const String FileName = Tree.Path() + L"scan\\a.tmp";
    Prompt.Answer = 7; // No
    Core->OpenResult(0);
    EXPECT_TRUE(Shell.Opened.empty());
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, L"Open " + FileName + L" now?");
    EXPECT_EQ(Prompt.Asked[0].Buttons, IPrompt::ButtonsYesNo);

    Prompt.Answer = IPrompt::ResultYes;
    Core->OpenResult(0);
    Core->OpenResult(5);
    EXPECT_EQ(Shell.Opened, std::vector<String>{FileName});
}

TEST_F(MainCoreTest, FilterAndClearFilterRecountTheResults) {
    Tree.AddFile(L"scan\\a.tmp", "a");
    Tree.AddFile(L"scan\\b.tmp", "bb");
    auto Core = JunkScanOfScanFolder();

    TFilterCriteria Criteria;
    Criteria.Safe = true;
    Criteria.ByName = true;
    Criteria.NameMask = L"b*";
    Core->ApplyFilter(Criteria);
    EXPECT_EQ(Statistics.back().VisibleCount, 1);
    EXPECT_EQ(Statistics.back().VisibleSize, 2u);
    Core->ClearFilter();
    EXPECT_EQ(Statistics.back().VisibleCount, 2);
}

TEST_F(MainCoreTest, OtherFeaturesTakeOverWhereNextAsksForThem) {
    auto Core = OpenCore();
    int RegistryScans = 0, BackupSteps = 0, RegistryStops = 0;
    Core->OnRegistryScan = [&] { ++RegistryScans; };
    Core->OnBackupStep = [&] { ++BackupSteps; };
    Core->OnStopRegistryScan = [&] { ++RegistryStops; };

    Core->Flow.EnterMode(mdRegistryCleaner);
    Core->Next();
    Core->StopScan();
    Core->Flow.EnterMode(mdBackupLocal);
    Core->Next();
    EXPECT_EQ(RegistryScans, 1);
    EXPECT_EQ(RegistryStops, 1);
    EXPECT_EQ(BackupSteps, 1);
    EXPECT_TRUE(Started.empty());
}

} // namespace
