#include "main/PageFlow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(PageFlowTest, PageNamesRoundTripInNotebookOrder) {
    EXPECT_EQ(PageName(pgMainForm), L"MainForm");
    EXPECT_EQ(PageName(pgScanStatistics), L"ScanStatistics");
    EXPECT_EQ(PageName(pgSystemTweak), L"SystemTweak");
    for (int I = 0; I < MainPageCount; ++I) {
        const auto Page = static_cast<TMainPage>(I);
        EXPECT_EQ(PageByName(PageName(Page)), Page) << I;
    }
    EXPECT_FALSE(PageByName(L"drives").has_value()); // notebook names are exact
}

struct TBackCase {
    TMainPage Page;
    int Mode;
    TMainPage Expected;
};

TEST(PageFlowTest, BackTableCoversEveryPage) {
    const std::vector<TBackCase> Cases{
        {pgScanStatistics, mdJunkFiles, pgScanResults},
        {pgRegistryCleaner, mdRegistryCleaner, pgCleanOptions},
        {pgSystemConfiguration, mdNone, pgMainForm},
        {pgStartUpManager, mdNone, pgSystemConfiguration},
        {pgShutdownManager, mdNone, pgSystemConfiguration},
        {pgSystemTweak, mdNone, pgSystemConfiguration},
        {pgAddRemovePrograms, mdNone, pgSystemConfiguration},
        {pgInternetPrivacy, mdInternetPrivacy, pgCleanMyComputer},
        {pgDrives, mdDuplicateFiles, pgAdvancedFeatures},
        {pgDrives, mdJunkFiles, pgCleanMyComputer},
        {pgDrives, mdEmptyFolders, pgCleanMyComputer},
        {pgCleanOptions, mdRegistryCleaner, pgAdvancedFeatures},
        {pgCleanOptions, mdDuplicateFiles, pgDrives},
        {pgCleanOptions, mdLargeFiles, pgDrives},
        {pgCleanMyComputer, mdNone, pgMainForm},
        {pgScanResults, mdDuplicateFiles, pgAdvancedFeatures},
        {pgScanResults, mdOldFiles, pgCleanMyComputer},
        {pgRecoveryFiles, mdNone, pgMainForm},
        {pgAdvancedFeatures, mdNone, pgMainForm},
        {pgFolderCleaner, mdFolderCleaner, pgCleanMyComputer},
        {pgSplitCombine, mdNone, pgAdvancedFeatures},
        {pgSplitFiles, mdSplitFiles, pgSplitCombine},
        {pgUnsplitFiles, mdCombineFiles, pgSplitCombine},
        {pgBackupSelectFiles, mdBackupLocal, pgBackup},
        {pgBackupRestore, mdNone, pgMainForm},
        {pgBackup, mdNone, pgBackupRestore},
        {pgBackupOptions, mdBackupRemote, pgBackupRestore},
        {pgRestore, mdNone, pgBackupRestore},
        {pgMainForm, mdNone, pgMainForm},
        {pgScan, mdJunkFiles, pgScan},
    };
    std::vector<bool> Seen(MainPageCount, false);
    for (const TBackCase& Case : Cases) {
        EXPECT_EQ(BackTarget(Case.Page, Case.Mode), Case.Expected)
            << PageName(Case.Page) << " mode " << Case.Mode;
        Seen[Case.Page] = true;
    }
    for (int I = 0; I < MainPageCount; ++I)
        EXPECT_TRUE(Seen[I]) << "no case for " << PageName(static_cast<TMainPage>(I));
}

TEST(PageFlowTest, NextActionByPageAndMode) {
    struct TCase {
        TMainPage Page;
        int Mode;
        TNextAction Expected;
    };
    const std::vector<TCase> Cases{
        {pgBackupSelectFiles, mdBackupLocal, naBackupStep},
        {pgDrives, mdBrokenLinks, naFileScan},
        {pgDrives, mdEmptyFolders, naEmptyFolderSearch},
        {pgDrives, mdJunkFiles, naCleanOptions},
        {pgDrives, mdDuplicateFiles, naCleanOptions},
        {pgCleanOptions, mdRegistryCleaner, naRegistryScan},
        {pgCleanOptions, mdOldFiles, naFileScan},
        {pgCleanOptions, mdDuplicateFiles, naFileScan},
        {pgScanResults, mdJunkFiles, naNone},
        {pgMainForm, mdNone, naNone},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(NextAction(Case.Page, Case.Mode), Case.Expected)
            << PageName(Case.Page) << " mode " << Case.Mode;
}

TEST(PageFlowTest, ButtonsByPage) {
    for (int I = 0; I < MainPageCount; ++I) {
        const auto Page = static_cast<TMainPage>(I);
        const TPageButtons Buttons = PageButtons(Page, mdJunkFiles);
        const bool WithNext =
            Page == pgDrives || Page == pgCleanOptions || Page == pgBackupSelectFiles;
        EXPECT_EQ(Buttons.Next, WithNext) << PageName(Page);
        EXPECT_EQ(Buttons.Back, Page != pgMainForm && Page != pgScan) << PageName(Page);
        EXPECT_EQ(Buttons.LeftColumn, Page != pgMainForm) << PageName(Page);
        EXPECT_EQ(Buttons.ScanStatistics.has_value(), Page == pgScanResults) << PageName(Page);
    }
    EXPECT_EQ(PageButtons(pgScanResults, mdLargeFiles).ScanStatistics, true);
    EXPECT_EQ(PageButtons(pgScanResults, mdEmptyFolders).ScanStatistics, false);
}

TEST(PageFlowTest, TitlesComeFromThePageElseTheMode) {
    TPageTitles Titles;
    Titles.Load([](const String& Key) { return L"<" + Key + L">"; });
    EXPECT_EQ(Titles.Title(pgMainForm, mdJunkFiles), L" ");
    EXPECT_EQ(Titles.Title(pgDrives, mdJunkFiles), L"<sModJunkFiles>");
    EXPECT_EQ(Titles.Title(pgFolderCleaner, mdFolderCleaner), L"<sModFolderCleaner>");
    EXPECT_EQ(Titles.Title(pgCleanMyComputer, mdJunkFiles), L"<sModCleanMyComputer>");
    EXPECT_EQ(Titles.Title(pgUnsplitFiles, mdCombineFiles), L"<sModCombineFiles>");
    EXPECT_EQ(Titles.Title(pgScanResults, 6), L"");
    EXPECT_EQ(Titles.Title(pgScanResults, mdNone), L"");
    EXPECT_EQ(Titles.Title(pgScanResults, 200), L"");
}

// Walks the wizard the way the user does and records every page shown.
class TFlowRecorder {
public:
    TFlowRecorder() {
        Flow.OnPageChanged = [this](TMainPage Page) { Shown.push_back(Page); };
    }
    TPageFlow Flow;
    std::vector<TMainPage> Shown;
};

struct TModePath {
    int Mode;
    TMainArea Area;
    // Pages shown by Next from the first page, and the action that ends the forward path.
    std::vector<TMainPage> Forward;
    TNextAction Action;
    // Pages shown by Back from the last forward page down to the start page.
    std::vector<TMainPage> Backward;
};

TEST(PageFlowTest, EveryModeFromItsButtonThroughNextAndBackToTheStart) {
    const std::vector<TModePath> Paths{
        {mdJunkFiles,
         arCleanMyComputer,
         {pgDrives, pgCleanOptions},
         naFileScan,
         {pgDrives, pgCleanMyComputer, pgMainForm}},
        {mdLargeFiles,
         arCleanMyComputer,
         {pgDrives, pgCleanOptions},
         naFileScan,
         {pgDrives, pgCleanMyComputer, pgMainForm}},
        {mdOldFiles,
         arCleanMyComputer,
         {pgDrives, pgCleanOptions},
         naFileScan,
         {pgDrives, pgCleanMyComputer, pgMainForm}},
        {mdBrokenLinks, arCleanMyComputer, {pgDrives}, naFileScan, {pgCleanMyComputer, pgMainForm}},
        {mdEmptyFolders,
         arCleanMyComputer,
         {pgDrives},
         naEmptyFolderSearch,
         {pgCleanMyComputer, pgMainForm}},
        {mdRegistryCleaner,
         arAdvancedFeatures,
         {pgCleanOptions},
         naRegistryScan,
         {pgAdvancedFeatures, pgMainForm}},
        {mdInternetPrivacy,
         arCleanMyComputer,
         {pgInternetPrivacy},
         naNone,
         {pgCleanMyComputer, pgMainForm}},
        {mdFolderCleaner,
         arCleanMyComputer,
         {pgFolderCleaner},
         naNone,
         {pgCleanMyComputer, pgMainForm}},
        {mdSplitFiles,
         arAdvancedFeatures,
         {pgSplitFiles},
         naNone,
         {pgSplitCombine, pgAdvancedFeatures, pgMainForm}},
        {mdCombineFiles,
         arAdvancedFeatures,
         {pgUnsplitFiles},
         naNone,
         {pgSplitCombine, pgAdvancedFeatures, pgMainForm}},
        {mdBackupLocal,
         arBackupData,
         {pgBackupSelectFiles},
         naBackupStep,
         {pgBackup, pgBackupRestore, pgMainForm}},
        {mdBackupRemote,
         arBackupData,
         {pgBackupSelectFiles},
         naBackupStep,
         {pgBackup, pgBackupRestore, pgMainForm}},
        {mdDuplicateFiles,
         arAdvancedFeatures,
         {pgDrives, pgCleanOptions},
         naFileScan,
         {pgDrives, pgAdvancedFeatures, pgMainForm}},
    };
    for (const TModePath& Path : Paths) {
        SCOPED_TRACE(testing::Message() << "mode " << Path.Mode);
        TFlowRecorder Recorder;
        TPageFlow& Flow = Recorder.Flow;
        Flow.EnterArea(Path.Area);
        EXPECT_EQ(Flow.ActiveArea(), Path.Area);
        Recorder.Shown.clear();

        Flow.EnterMode(Path.Mode);
        EXPECT_EQ(Flow.Page(), ModeEntry(Path.Mode).Page);
        TNextAction Action = naNone;
        for (size_t Step = 0; Step < 4; ++Step) {
            Action = Flow.Next();
            if (Action != naCleanOptions)
                break;
        }
        EXPECT_EQ(Recorder.Shown, Path.Forward);
        EXPECT_EQ(Action, Path.Action);
        EXPECT_EQ(Flow.Mode(), Path.Mode) << "Next keeps the mode";

        Recorder.Shown.clear();
        while (Flow.Page() != pgMainForm && Recorder.Shown.size() < 10) {
            Flow.Back();
            if (Flow.Page() != pgMainForm) {
                EXPECT_EQ(Flow.Mode(), Path.Mode) << "Back keeps the mode on the way";
            }
        }
        EXPECT_EQ(Recorder.Shown, Path.Backward);
        EXPECT_EQ(Flow.Mode(), mdNone);
        EXPECT_EQ(Flow.ActiveArea(), arNone);
    }
}

TEST(PageFlowTest, BackFromDuplicateResultsKeepsTheModeUntilTheStartPage) {
    TPageFlow Flow;
    Flow.EnterArea(arAdvancedFeatures);
    Flow.EnterMode(mdDuplicateFiles);
    Flow.ShowPage(pgScanResults);
    Flow.Back();
    EXPECT_EQ(Flow.Page(), pgAdvancedFeatures);
    EXPECT_EQ(Flow.Mode(), mdDuplicateFiles);
    EXPECT_EQ(Flow.ActiveArea(), arAdvancedFeatures);
    Flow.Back();
    EXPECT_EQ(Flow.Page(), pgMainForm);
    EXPECT_EQ(Flow.Mode(), mdNone);
    EXPECT_EQ(Flow.ActiveArea(), arNone);
}

TEST(PageFlowTest, AreaButtonsResetTheModeAndShowTheirPage) {
    TFlowRecorder Recorder;
    Recorder.Flow.EnterMode(mdLargeFiles);
    for (const auto& [Area, Page] : std::vector<std::pair<TMainArea, TMainPage>>{
             {arCleanMyComputer, pgCleanMyComputer},
             {arSystemConfiguration, pgSystemConfiguration},
             {arBackupData, pgBackupRestore},
             {arAdvancedFeatures, pgAdvancedFeatures},
             {arRestoreDeletedFiles, pgRecoveryFiles}}) {
        Recorder.Flow.EnterMode(mdLargeFiles);
        Recorder.Flow.EnterArea(Area);
        EXPECT_EQ(Recorder.Flow.Page(), Page);
        EXPECT_EQ(Recorder.Flow.Mode(), mdNone);
        EXPECT_EQ(Recorder.Flow.ActiveArea(), Area);
    }
}

TEST(PageFlowTest, NextOnPagesWithoutNextChangesNothing) {
    TFlowRecorder Recorder;
    Recorder.Flow.EnterMode(mdJunkFiles);
    Recorder.Flow.ShowPage(pgScanResults);
    Recorder.Shown.clear();
    EXPECT_EQ(Recorder.Flow.Next(), naNone);
    EXPECT_TRUE(Recorder.Shown.empty());
    EXPECT_EQ(Recorder.Flow.Page(), pgScanResults);
}

TEST(PageFlowTest, BackupModesMayStartOnTheOptionsPage) {
    TPageFlow Flow;
    Flow.EnterMode(mdBackupLocal, pgBackupOptions);
    EXPECT_EQ(Flow.Page(), pgBackupOptions);
    Flow.Back();
    EXPECT_EQ(Flow.Page(), pgBackupRestore);
    EXPECT_EQ(Flow.Mode(), mdBackupLocal);
}

} // namespace
