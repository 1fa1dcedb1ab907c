// The main window as the user drives it: the pages, titles and buttons each step shows, the busy
// rule during a scan, the report offer at close, the report viewer without the built-in view,
// and a language file that matches the windows' controls.
#include "app/FileInfo.h"
#include "app/FlatForm.h"
#include "app/FlatMessageBox.h"
#include "app/InputQueryForm.h"
#include "app/PleaseWaitForm.h"
#include "app/ProgressForm.h"
#include "app/QRVDataMod.h"
#include "app/SplashForm.h"
#include "classlib/gui/WindowProbe.h"
#include "classlib/gui/Menus.h"
#include "controls/FlatCheckBox.h"
#include "main/dialogs/DuplicatesOptionsEdit.h"
#include "main/dialogs/FTPConnectionsFprm.h"
#include "main/dialogs/CookieListForm.h"
#include "main/dialogs/FilterForm.h"
#include "main/MainForm.h"
#include "main/dialogs/OrganizeForm.h"
#include "main/dialogs/StartUpEditForm.h"
#include "main/Report.h"
#include "main/dialogs/ViewReportForm.h"
#include "tests/main/MainFormFixture.h"
#include "tests/main/ScanTestSupport.h"
#include "tests/support/FakeOleObject.h"
#include "tests/support/FakeProgress.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/SchedulerSections.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <set>
#include <tuple>

TEST_F(MainFormTest, EachStepShowsItsPageTitleAndButtons) {
    MakeForm();
    const struct {
        const char* Step;
        const wchar_t* Click; // null: the start state
        TMainPage Page;
        bool Back, Next, LeftColumn;
        int Bevel; // the area whose bevel shows, -1 none
    } Steps[] = {
        {"start", nullptr, pgMainForm, false, false, false, -1},
        {"the area's picture", L"btnCleanMyComputer", pgCleanMyComputer, true, false, true, 0},
        {"a feature", L"labJunkFiles", pgDrives, true, true, true, 0},
        {"next", L"btnNext", pgCleanOptions, true, true, true, 0},
        {"back", L"btnBack", pgDrives, true, true, true, 0},
        {"back again", L"btnBack", pgCleanMyComputer, true, false, true, 0},
        {"back to the start", L"btnBack", pgMainForm, false, false, false, -1},
        {"an area's link on the start page", L"labAdvancedFeatures", pgAdvancedFeatures, true,
         false, true, 3},
    };
    for (const auto& Step : Steps) {
        SCOPED_TRACE(Step.Step);
        if (Step.Click)
            Click(Step.Click);
        TMainCore& Core = Form->Core();
        EXPECT_EQ(Core.Flow.Page(), Step.Page);
        EXPECT_EQ(Form->MainNotebook->PageIndex(), Step.Page);
        EXPECT_EQ(Form->labActivePage->Caption(),
                  Step.Page == pgMainForm && !Step.Click
                      ? String()
                      : Core.Titles.Title(Step.Page, Core.Flow.Mode()));
        EXPECT_EQ(Form->btnBack->Visible(), Step.Back);
        EXPECT_EQ(Form->btnNext->Visible(), Step.Next);
        for (int Area = 0; Area < 5; ++Area) {
            EXPECT_EQ(Form->AreaPictures[Area]->Visible(), Step.LeftColumn);
            EXPECT_EQ(Form->AreaBevels[Area]->Visible(), Area == Step.Bevel);
        }
    }
    // A mode's title shows on its pages.
    Click(L"btnICleanMyComputer");
    Click(L"labLargeFiles");
    EXPECT_EQ(Form->labActivePage->Caption(), Form->Core().Message(L"sModLargeFiles"));
}

TEST_F(MainFormTest, HintsTakeTheFlatHintsPausesAndShowSeeThrough) {
    App->HintPause = 1;
    TfrmMain& F = MakeForm();
    ASSERT_NE(F.FlatHint1, nullptr);
    EXPECT_EQ(App->HintShortPause, 25);
    EXPECT_EQ(App->HintPause, 500);
    EXPECT_EQ(App->HintHidePause, 5000);
    // The main window puts its own see-through window over the flat hint's.
    std::unique_ptr<THintWindow> Hint(App->HintWindowClass()(nullptr));
    EXPECT_NE(dynamic_cast<TTransparentHint*>(Hint.get()), nullptr);
}

TEST_F(MainFormTest, TheSpinEditsArrowsTakeTheHiddenButtonsColours) {
    TfrmMain& F = MakeForm();
    ASSERT_NE(F.btnBTNForSpins, nullptr);
    EXPECT_FALSE(F.btnBTNForSpins->Visible());
    F.btnBTNForSpins->SetColor(TColor(0x102030));
    F.btnBTNForSpins->SetFlatColor(fbcBorder, TColor(0x405060));
    F.btnBTNForSpins->SetFlatColor(fbcShadow, TColor(0x708090));
    F.CreateAllPages(); // the pages are made when first shown
    for (TCustomFlatSpinEdit* Spin :
         {static_cast<TCustomFlatSpinEdit*>(F.edLargeOldLarge),
          static_cast<TCustomFlatSpinEdit*>(F.edLargeOldOld),
          static_cast<TCustomFlatSpinEdit*>(F.edSplitFilesVolumeSize)}) {
        for (TTimerSpeedButton* Arrow :
             {&Spin->Button().UpButton(), &Spin->Button().DownButton()}) {
            EXPECT_EQ(Arrow->Color(), TColor(0x102030)) << ToUtf8(Spin->Name);
            EXPECT_EQ(Arrow->ColorBorder(), TColor(0x405060)) << ToUtf8(Spin->Name);
            EXPECT_EQ(Arrow->ColorShadow(), TColor(0x708090)) << ToUtf8(Spin->Name);
        }
        // Made with its page, the edit fits its text.
        EXPECT_GE(Spin->Height(), SpinEditMinHeight(Spin->Font())) << ToUtf8(Spin->Name);
    }
}

TEST_F(MainFormTest, AJunkMaskAddedOnTheOptionsPageJoinsTheList) {
    std::vector<std::pair<String, String>> Answers{{L"*.bak", L"Backup copies"}, {L" ", L"Blank"}};
    Environment.AskJunkMask = [&](String& Extension, String& Description) {
        if (Answers.empty())
            return false;
        std::tie(Extension, Description) = Answers.front();
        Answers.erase(Answers.begin());
        return true;
    };
    MakeForm();
    Click(L"btnCleanMyComputer");
    Click(L"labJunkFiles");
    Click(L"btnNext");
    const auto Masks = [this] {
        std::vector<String> Texts;
        for (const TJunkMask& Mask : Form->Core().JunkMasks().Items())
            Texts.push_back(Mask.Extension);
        return Texts;
    };
    const size_t Before = Masks().size();
    for (int Press = 0; Press < 3; ++Press) // a mask, a blank one, then Cancel
        Click(L"btnAddJunkFilesOption");
    ASSERT_EQ(Masks().size(), Before + 1);
    EXPECT_EQ(Masks().back(), L"*.bak");
}

TEST_F(MainFormTest, DuringAScanOnlyStopActsAndCloseWaitsForTheLoop) {
    TTempFolder Fixture;
    for (int I = 0; I < 300; ++I)
        Fixture.AddFile(L"f" + IntToStr(I) + L".tmp", "junk");
    MakeForm();
    OpenJunkOptions(Fixture);

    // Queued for the scan's own message pump: a click on an area picture, then the window's close.
    Form->Core().OnScanStarted = [this, Started = Form->Core().OnScanStarted](bool ShowsPath) {
        Started(ShowsPath);
        const TPoint Centre =
            Form->AreaPictures[arSystemConfiguration]->ClientToScreen(TPoint{27, 27});
        PostClick(Centre);
        PostMessageW(Form->Handle(), WM_CLOSE, 0, 0);
    };
    Form->btnNextClick();

    EXPECT_FALSE(Form->Busy());
    EXPECT_EQ(Form->Core().LastScanOutcome(), soStopped) << "the close asked the scan to stop";
    EXPECT_EQ(Form->Core().Flow.Page(), pgScanResults);
    EXPECT_EQ(Form->Core().Flow.ActiveArea(), arCleanMyComputer) << "the click was ignored";
    EXPECT_EQ(Form->Core().Flow.Mode(), mdJunkFiles);
    EXPECT_FALSE(Form->Visible()) << "the window closed once the loop was over";
}

TEST_F(MainFormTest, ThePathListArrivesFocusedWritesChecksBackAndDeletesTheFocusedRow) {
    Drives.Types[L'E'] = DRIVE_FIXED;
    Drives.Types[L'Q'] = DRIVE_FIXED;
    MakeForm();
    Click(L"btnCleanMyComputer");
    Click(L"labJunkFiles");
    TCvTree& List = *Form->DrivesList;
    TScanPathList& Paths = Form->Core().ScanPaths;
    ASSERT_EQ(List.Items().TotalCount(), 3);
    const auto PathOf = [&](int Row) { return List.Items().ItemAtIndex(Row)->CellText(1); };
    EXPECT_EQ(PathOf(0), L"C:\\");
    EXPECT_EQ(List.GetFocusedItem(), List.Items().ItemAtIndex(0)) << "C: is focused on arrival";
    EXPECT_TRUE(List.HeaderControl().Showing()) << "the columns have their header";
    EXPECT_GT(List.HeaderControl().Height(), 10);
    EXPECT_TRUE(List.Items().ItemAtIndex(0)->IsSelected());

    // A check box click reaches the scan's rows.
    const String EText(List.Items().ItemAtIndex(1)->Text());
    ClickRow(L"DrivesList", EText, pqRowCheckBox);
    EXPECT_FALSE(Paths.Row(1).Checked);
    EXPECT_TRUE(Paths.Row(0).Checked);
    EXPECT_EQ(List.GetFocusedItem(), List.Items().ItemAtIndex(1)) << "the checked row is focused";

    // Delete takes the focused row; the focus stays in place for the next one.
    List.SetFocusedItem(List.Items().ItemAtIndex(0));
    Click(L"btnDeleteDrive");
    Click(L"btnDeleteDrive");
    ASSERT_EQ(Paths.Count(), 1);
    EXPECT_EQ(Paths.Item(0).Path, L"Q:\\");
    ASSERT_EQ(List.Items().TotalCount(), 1);
    EXPECT_EQ(PathOf(0), L"Q:\\");
    Click(L"btnDeleteDrive");
    Click(L"btnDeleteDrive"); // nothing left to delete
    EXPECT_EQ(Paths.Count(), 0);
}

TEST_F(MainFormTest, ResultRowsCarryTheirRecordsAndTheCheckedOnesAreDeleted) {
    TTempFolder Fixture;
    Fixture.AddFile(L"a.tmp", "a");
    Fixture.AddFile(L"sub\\b.bak", "bb");
    Fixture.AddFile(L"sub\\c.old", "ccc");
    const String Kept = Fixture.AddFile(L"keep.txt", "keep");
    MakeForm();
    ScanForJunk(Fixture);
    TCvTree& List = *Form->lvScanResults;
    TScanResults& Results = Form->Core().Results;
    ASSERT_EQ(Results.Count(), 3);
    ASSERT_EQ(List.Items().TotalCount(), 3);
    EXPECT_EQ(List.HeaderControl().Sections().SectionCount(), 5);
    EXPECT_TRUE(List.HeaderControl().Showing()) << "a scan's columns have their header";
    for (int I = 0; I < 3; ++I) {
        const TCvTreeItem* Item = List.Items().ItemAtIndex(I);
        const TFile* File = TfrmMain::RecordOf(Item);
        ASSERT_NE(File, nullptr);
        EXPECT_EQ(Item->GetItemText(), File->Name);
        EXPECT_EQ(Item->CellText(1), File->Path());
    }
    EXPECT_EQ(Form->labScanResultsFilesFoundValue->Caption(), L"3");

    // Nothing checked: the clean-all button says so and opens no menu.
    Prompt.Answer = IPrompt::ResultOk;
    Click(L"btnScanResultsCleanAll");
    EXPECT_TRUE(PoppedUp.empty());
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, Form->Core().Message(L"sNoSelectedFiles"));

    // One check box, then all, written back to the records.
    ClickRow(L"lvScanResults", L"b.bak", pqRowCheckBox);
    const auto CheckedNames = [&] {
        std::set<String> Names;
        for (int I = 0; I < Results.Count(); ++I)
            if (Results.Row(I).Checked)
                Names.insert(Results.File(I).Name);
        return Names;
    };
    EXPECT_EQ(CheckedNames(), (std::set<String>{L"b.bak"}));
    Click(L"btnScanResultsSelectAll");
    EXPECT_EQ(CheckedNames().size(), 3u);
    for (int I = 0; I < 3; ++I)
        EXPECT_TRUE(List.Items().ItemAtIndex(I)->IsChecked());
    Click(L"btnScanResultsCleanAll");
    EXPECT_EQ(PoppedUp, (std::vector<String>{L"mnScanResultsCleanAll"}));

    // Delete Files, answered Yes: the files and their rows go, the rest stays.
    Prompt.Asked.clear();
    Prompt.Answer = IPrompt::ResultYes;
    ChooseMenuItem(L"mnDeleteFiles");
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, Form->Core().Message(L"DeleteFilesConfirm"));
    EXPECT_FALSE(FileExists(Fixture.Path() + L"a.tmp"));
    EXPECT_FALSE(FileExists(Fixture.Path() + L"sub\\b.bak"));
    EXPECT_TRUE(FileExists(Kept));
    EXPECT_EQ(Results.Count(), 0);
    EXPECT_EQ(List.Items().TotalCount(), 0);
    EXPECT_EQ(Form->labScanResultsFilesFoundValue->Caption(), L"0");
    EXPECT_EQ(Form->Core().Stats.ReportPending(), true);
    EXPECT_FALSE(Progress.Running) << "the progress closed";
}

TEST_F(MainFormTest, TheFilterHidesRowsTheClearShowsThemAndADoubleClickOpensTheFocusedFile) {
    TTempFolder Fixture;
    Fixture.AddFile(L"a.tmp", "a");
    Fixture.AddFile(L"b.tmp", "bbbb");
    // Each filter click takes the next answer; none: the dialog is cancelled.
    std::vector<std::optional<TFilterCriteria>> Answers;
    Environment.AskFilter = [&](TFilterCriteria& Criteria) {
        const std::optional<TFilterCriteria> Answer = Answers.front();
        Answers.erase(Answers.begin());
        if (Answer)
            Criteria = *Answer;
        return Answer.has_value();
    };
    MakeForm();
    ScanForJunk(Fixture);
    TCvTree& List = *Form->lvScanResults;
    Click(L"btnScanResultsSelectAll");

    TFilterCriteria OnlyA;
    OnlyA.ByName = true;
    OnlyA.NameMask = L"a*";
    OnlyA.Safe = OnlyA.Warning = OnlyA.Critical = true;
    // A first OK without choices keeps no safety class: every row is hidden.
    Answers = {std::nullopt, TFilterCriteria{}, OnlyA};
    const struct {
        const char* Step;
        const wchar_t* Click;
        std::vector<String> Shown;
        bool ClearEnabled;
    } Steps[] = {
        {"cancelled", L"btnScaResultsFilter", {L"a.tmp", L"b.tmp"}, false},
        {"nothing chosen", L"btnScaResultsFilter", {}, true},
        {"the name", L"btnScaResultsFilter", {L"a.tmp"}, true},
        {"cleared", L"btnScaResultsClearFilter", {L"a.tmp", L"b.tmp"}, false},
    };
    for (const auto& Step : Steps) {
        SCOPED_TRACE(Step.Step);
        Click(Step.Click);
        EXPECT_EQ(ShownRows(List), Step.Shown);
        EXPECT_EQ(Form->labScanResultsFilesFoundValue->Caption(), IntToStr(Step.Shown.size()));
        EXPECT_EQ(Form->btnScaResultsClearFilter->Enabled(), Step.ClearEnabled);
    }
    // Hidden rows were unchecked and the clear leaves every row unchecked.
    for (int I = 0; I < List.Items().TotalCount(); ++I)
        EXPECT_FALSE(List.Items().ItemAtIndex(I)->IsChecked());

    Prompt.Answer = IPrompt::ResultYes;
    ClickRow(L"lvScanResults", L"b.tmp");
    Form->lvScanResultsDblClick();
    ASSERT_EQ(Shell.Opened.size(), 1u);
    EXPECT_EQ(Shell.Opened[0], Fixture.Path() + L"b.tmp");
}

TEST_F(MainFormTest, TheOneFileCommandsActOnTheFocusedRowAndZipAndMoveSkipJunk) {
    TTempFolder Fixture;
    const String Letter = Fixture.AddFile(L"letter.doc", "a letter");
    Fixture.AddFile(L"photo.bmp", "a photo");
    TTempFolder Target;
    Environment.PickOrganizeFolder = [&](String& Folder) {
        Folder = ExcludeTrailingBackslash(Target.Path());
        return true;
    };
    int Archives = 0;
    Environment.AskArchiveName = [&](String& Name) {
        Name = Target.Path() + L"archive" + IntToStr(++Archives) + L".zip";
        return true;
    };
    MakeForm();
    const auto Shown = [this](const wchar_t* Name) {
        return static_cast<TMenuItem*>(Form->FindComponent(Name))->Visible;
    };
    ScanForJunk(Fixture); // nothing found: junk has no zip, backup or move
    EXPECT_FALSE(Shown(L"mnZipFile"));
    EXPECT_FALSE(Shown(L"mnMoveFile"));
    EXPECT_FALSE(Form->CheckedFileButtons[1]->Visible());

    Prompt.Answer = IPrompt::ResultOk;
    Click(L"btnBack");
    Click(L"labLargeFiles");
    Click(L"btnNext");
    Form->edLargeOldLarge->SetValue(0); // every file is large
    Form->btnNextClick();
    ASSERT_EQ(Form->Core().Results.Count(), 2);
    EXPECT_TRUE(Shown(L"mnZipFile"));
    EXPECT_TRUE(Shown(L"mnBackupFile"));
    EXPECT_TRUE(Shown(L"mnMoveFile"));

    EXPECT_TRUE(Form->CheckedFileButtons[0]->Showing());
    Click(L"btnScanResultsSelectAll");
    Click(L"btnScanResultsPack");
    EXPECT_TRUE(FileExists(Target.Path() + L"archive1.zip"));
    Click(L"btnScanResultsUnSelectAll");

    ClickRow(L"lvScanResults", L"letter.doc");
    ChooseMenuItem(L"mnZipFile");
    EXPECT_TRUE(FileExists(Target.Path() + L"archive2.zip"));
    EXPECT_TRUE(FileExists(Letter)) << "zipping leaves the file";
    ChooseMenuItem(L"mnMoveFile");
    EXPECT_FALSE(FileExists(Letter));
    EXPECT_TRUE(FileExists(Target.Path() + L"letter.doc"));
    EXPECT_EQ(ShownRows(*Form->lvScanResults), (std::vector<String>{L"photo.bmp"}));
    EXPECT_EQ(Form->labScanResultsFilesFoundValue->Caption(), L"1");

    // The checked files into the organize folder.
    Click(L"btnScanResultsSelectAll");
    Click(L"btnScanResultsOrganize");
    EXPECT_TRUE(FileExists(Target.Path() + L"photo.bmp"));
    EXPECT_EQ(Form->lvScanResults->Items().TotalCount(), 0);
}

TEST_F(MainFormTest, DuringARemovalOnlyMinimizeActsAndCloseWaitsForIt) {
    TTempFolder Fixture;
    for (int I = 0; I < 5; ++I)
        Fixture.AddFile(L"f" + IntToStr(I) + L".tmp", "junk");
    MakeForm();
    ScanForJunk(Fixture);
    Click(L"btnScanResultsSelectAll");
    Prompt.Answer = IPrompt::ResultYes;
    // Queued for the removal's own message pump: a click on an area picture, a second removal
    // command and the window's close.
    Progress.OnPump = [this, Posted = false]() mutable {
        if (Posted)
            return;
        Posted = true;
        PostClick(Form->AreaPictures[arSystemConfiguration]->ClientToScreen(TPoint{27, 27}));
        Form->btnScanResultsSelectAllClick();
        ChooseMenuItem(L"mnDeleteFiles");
        PostMessageW(Form->Handle(), WM_CLOSE, 0, 0);
    };
    ChooseMenuItem(L"mnDeleteFiles");

    EXPECT_FALSE(Form->Busy());
    const auto Confirmations =
        std::count_if(Prompt.Asked.begin(), Prompt.Asked.end(), [&](auto& A) {
            return A.Text == Form->Core().Message(L"DeleteFilesConfirm");
        });
    EXPECT_EQ(Confirmations, 1) << "the second removal did not start inside the first";
    EXPECT_EQ(Form->Core().Results.Count(), 0) << "the removal ran to its end";
    EXPECT_EQ(Form->Core().Flow.ActiveArea(), arCleanMyComputer) << "the click was ignored";
    EXPECT_FALSE(Form->Visible()) << "the window closed once the removal was over";
}

TEST_F(MainFormTest, TheReportIsOfferedOnlyWhenSomethingWasCounted) {
    const struct {
        const char* Case;
        bool Counted;
        int Answer;
        size_t Questions;
        int Viewers;
    } Cases[] = {
        {"nothing counted", false, IPrompt::ResultYes, 0, 0},
        {"counted, declined", true, IPrompt::ResultNo, 1, 0},
        {"counted, accepted", true, IPrompt::ResultYes, 1, 1},
    };
    Folder.AddFile(L"App\\Data\\Template\\Report.htm", "<p>%s</p>");
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Case);
        Prompt.Asked.clear();
        Prompt.Answer = Case.Answer;
        ViewerShown = 0;
        MakeForm();
        if (Case.Counted)
            Form->Core().Stats.AddStatistics(1, 3, 3000);
        Form->Close();
        EXPECT_EQ(Prompt.Asked.size(), Case.Questions);
        EXPECT_EQ(ViewerShown, Case.Viewers);
        EXPECT_FALSE(Form->Core().Stats.ReportPending());
        delete Form;
    }
}

// ------------------------------------------------------------------ the viewer

namespace {

class ViewReportTest : public MainFormTest {
protected:
    TfrmViewReport& MakeViewer() {
        Stats.AddStatistics(1, 3, 3000);
        const String AppDir = Folder.Path() + L"App\\";
        ForceDirectories(AppDir + L"Temp");
        std::ofstream(ToUtf8(AppDir + L"Temp\\Report.htm")) << "<html>report</html>";
        TReportViewerEnvironment Viewer;
        Viewer.AppDir = AppDir;
        Viewer.Stats = &Stats;
        Viewer.PickFolder = [this](HWND, const String&, String& Chosen) {
            if (Picked.empty())
                return false;
            Chosen = Picked;
            return true;
        };
        Viewer.OpenInBrowser = [this](const String& FileName) { Opened.push_back(FileName); };
        Viewer.HtmlEngineAvailable = [this] { return EngineAvailable; };
        Viewer.OpenBrowser = [this](TWebBrowser& Browser) { return Browser.HostObject(&Object); };
        View.reset(NewForm<TfrmViewReport>(nullptr, Viewer));
        return *View;
    }
    // The viewer's own controls that show the report, and whether each is visible.
    static std::vector<bool> OwnViewShown(TfrmViewReport& V) {
        return {V.labNoBuiltInView->Visible(), V.Values[0][0]->Visible(), V.Values[5][3]->Visible(),
                V.lvReportActions->Visible()};
    }

    bool EngineAvailable = false;
    TFakeOleObject Object;

    TStatistics Stats;
    String Picked;
    std::vector<String> Opened;
    std::unique_ptr<TfrmViewReport> View;
};

} // namespace

TEST_F(ViewReportTest, WithoutTheHtmlEngineTheViewerShowsTheNumbersAndSays) {
    TfrmViewReport& V = MakeViewer();
    EXPECT_FALSE(V.HasBuiltInView());
    EXPECT_TRUE(V.labNoBuiltInView->Visible());
    EXPECT_EQ(V.Values[0][0]->Caption(), L"3") << "junk files this run";
    EXPECT_EQ(V.Values[0][1]->Caption(), FormatFileSize64(3000));
    EXPECT_EQ(V.Values[5][2]->Caption(), L"3") << "the sum of all time";
    EXPECT_EQ(V.Values[1][0]->Caption(), L"0");
}

TEST_F(ViewReportTest, WithoutTheHtmlEngineTheActionLogFollowsTheNumbers) {
    Stats.AddLogLine(L"Registry value removed: HKCU\\Software\\Old");
    Stats.AddLogLine(L"Folder emptied: C:\\Temp <1>");
    TfrmViewReport& V = MakeViewer();
    EXPECT_EQ(V.WebBrowser1, nullptr);
    EXPECT_EQ(Object.Verbs.size(), 0u) << "no browser is made without the engine";
    EXPECT_EQ(OwnViewShown(V), std::vector<bool>(4, true));
    ASSERT_EQ(V.lvReportActions->GetRoot()->ChildrenCount(), 2);
    EXPECT_EQ(V.lvReportActions->GetRoot()->GetChild(0)->Text(),
              L"Registry value removed: HKCU\\Software\\Old");
    EXPECT_EQ(V.lvReportActions->GetRoot()->GetChild(1)->Text(), L"Folder emptied: C:\\Temp <1>")
        << "shown as written, not as HTML";
    EXPECT_GT(V.lvReportActions->Top(), V.Values[5][0]->Top() + V.Values[5][0]->Height());
    EXPECT_LE(V.lvReportActions->Top() + V.lvReportActions->Height(), V.btnClose->Top());
}

TEST_F(ViewReportTest, WithTheEngineTheReportShowsInTheBrowserThatFollowsTheWindow) {
    EngineAvailable = true;
    TfrmViewReport& V = MakeViewer();
    ASSERT_NE(V.WebBrowser1, nullptr);
    EXPECT_TRUE(V.HasBuiltInView());
    EXPECT_TRUE(V.WebBrowser1->Visible());
    EXPECT_EQ(V.WebBrowser1->OleObject(), &Object);
    EXPECT_EQ(OwnViewShown(V), std::vector<bool>(4, false));
    V.SetBounds(V.Left(), V.Top(), 815, 604);
    ASSERT_FALSE(Object.Rects.empty());
    EXPECT_EQ(Object.Rects.back().right - Object.Rects.back().left, 667 + 100);
    EXPECT_EQ(Object.Rects.back().bottom - Object.Rects.back().top, 400 + 100);

    // This browser has no automation: it refuses the report, and the viewer shows its own view.
    V.ShowFlat();
    EXPECT_FALSE(V.HasBuiltInView());
    EXPECT_FALSE(V.WebBrowser1->Visible());
    EXPECT_EQ(OwnViewShown(V), std::vector<bool>(4, true));
    V.Hide();
}

TEST_F(ViewReportTest, ABrowserThatCannotBeMadeLeavesTheViewersOwnView) {
    EngineAvailable = true;
    Object.RefuseVerb = true;
    TfrmViewReport& V = MakeViewer();
    EXPECT_FALSE(V.HasBuiltInView());
    EXPECT_EQ(V.WebBrowser1, nullptr);
    EXPECT_EQ(OwnViewShown(V), std::vector<bool>(4, true));
    EXPECT_EQ(Object.References, 1u);
}

TEST_F(ViewReportTest, SaveCopiesTheReportAndCancellingThePickerKeepsTheViewerOpen) {
    TfrmViewReport& V = MakeViewer();
    V.btnSaveClick();
    EXPECT_EQ(V.ModalResult(), mrNone) << "no folder chosen: the viewer stays";

    TTempFolder Target;
    Picked = ExcludeTrailingBackslash(Target.Path());
    V.btnSaveClick();
    EXPECT_EQ(V.ModalResult(), mrOk);
    WIN32_FIND_DATAW Found{};
    const HANDLE Find = FindFirstFileW((Target.Path() + L"QRV_Report-*").c_str(), &Found);
    ASSERT_NE(Find, INVALID_HANDLE_VALUE);
    FindClose(Find);
    EXPECT_TRUE(FileExists(Target.Path() + Found.cFileName + L"\\report.htm"));
}

TEST_F(ViewReportTest, TheViewerClosesOnReturnOnlyAfterTheBrowserWasOpened) {
    TfrmViewReport& V = MakeViewer();
    V.OnActivate(&V); // opening, or back from its own folder picker
    EXPECT_EQ(V.ModalResult(), mrNone);
    V.btnViewInBrowserClick();
    ASSERT_EQ(Opened.size(), 1u);
    EXPECT_EQ(Opened[0], Folder.Path() + L"App\\Temp\\Report.htm");
    V.OnActivate(&V);
    EXPECT_EQ(V.ModalResult(), mrCancel);
}

// ---------------------------------------------------------------- the language

namespace {

// The sections of a language file, as written.
std::vector<String> SectionsOf(const String& FileName) {
    std::vector<String> Sections;
    std::ifstream In(ToUtf8(FileName));
    for (std::string Line; std::getline(In, Line);) {
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        if (Line.size() > 2 && Line.front() == '[' && Line.back() == ']')
            Sections.push_back(FromUtf8(Line.substr(1, Line.size() - 2)));
    }
    return Sections;
}

void CollectNames(const TComponent& Owner, std::set<String>& Names) {
    for (int I = 0; I < Owner.ComponentCount(); ++I) {
        const TComponent& C = *Owner.Components(I);
        if (!C.Name.empty())
            Names.insert(UpperCase(C.Name));
        CollectNames(C, Names);
    }
}

// Named controls that take their caption from the language: buttons, labels, check boxes.
void CollectCaptioned(const TComponent& Owner, std::vector<const TControl*>& Controls) {
    for (int I = 0; I < Owner.ComponentCount(); ++I) {
        const TComponent* C = Owner.Components(I);
        if (!C->Name.empty() &&
            (dynamic_cast<const TavImageExpandButton*>(C) || dynamic_cast<const TCustomLabel*>(C) ||
             dynamic_cast<const TFlatCheckBox*>(C)))
            Controls.push_back(static_cast<const TControl*>(C));
        CollectCaptioned(*C, Controls);
    }
}

} // namespace

TEST_F(MainFormTest, TheLanguageFileAndTheWindowsNameTheSameControls) {
    const String LanguageFile =
        ExtractFilePath(TApplication::ExeName()) + L"..\\dist\\Languages\\english.lng";
    ASSERT_TRUE(FileExists(LanguageFile));
    MakeForm().CreateAllPages();
    TStatistics Stats;
    std::vector<std::unique_ptr<TForm>> Windows;
    TReportViewerEnvironment Viewer;
    Viewer.AppDir = Folder.Path();
    Viewer.Stats = &Stats;
    Windows.emplace_back(NewForm<TfrmViewReport>(App.get(), Viewer));
    for (auto& Dialog : MakeDialogs())
        Windows.push_back(std::move(Dialog));

    // Sections that hold texts rather than a control's; the scheduler's window's come from its own
    // list.
    std::set<String> Names{L"MESSAGES",
                           L"APPLICATION",
                           L"SELECTDIRECTORYCAPTION",
                           L"LABLARGEFILESOPTIONSDESCRIPTION",
                           L"LABOLDFILESOPTIONSDESCRIPTION",
                           L"ZIPOPENDIALOG",
                           L"SELECTFOLDER",
                           L"LVREGISTRYCLEANERCOLUMNNAME1",
                           L"LVREGISTRYCLEANERCOLUMNNAME2",
                           L"LVREGISTRYCLEANERCOLUMNNAME3",
                           L"FRMCOOKIESLISTCAPTION",
                           L"FRMCOOKIESLISTCOLUMNNAME1",
                           L"LVJUNKFILESOPTIONSCOLUMN1",
                           L"LVJUNKFILESOPTIONSCOLUMN2",
                           L"LVSCANRESULTSEMPTYFILESCOLUMNNAME1",
                           L"ZIPOPENDIALOG"};
    for (int Column = 1; Column <= 6; ++Column)
        Names.insert(L"LVSCANRESULTSJUNKFILESCOLUMNNAME" + IntToStr(Column));
    for (const wchar_t* Section : SchedulerWindowSections)
        Names.insert(UpperCase(Section));
    for (const TForm* Window : {static_cast<const TForm*>(Form)}) {
        Names.insert(UpperCase(Window->Name));
        CollectNames(*Window, Names);
    }
    for (const auto& Window : Windows) {
        Names.insert(UpperCase(Window->Name));
        CollectNames(*Window, Names);
    }
    for (const String& Section : SectionsOf(LanguageFile))
        // A list's column captions have sections of their own.
        EXPECT_TRUE(Section.find(L"Column") != String::npos || Names.count(UpperCase(Section)))
            << "no control is named " << ToUtf8(Section);

    // Labels whose text the windows write themselves.
    const std::set<String> Written{L"labActivePage",
                                   L"labScanTitle",
                                   L"labScanningFileName",
                                   L"labScanResultsFilesFoundValue",
                                   L"labScanResultsWastingValue",
                                   L"labCleanOptionsTitleDescription",
                                   L"labStatus",
                                   L"Label1",
                                   L"labPrompt",
                                   L"labText",
                                   L"labFile",
                                   L"labPleaseWait",
                                   L"labNextRunTime",
                                   L"lablShutdownManagerUM"};
    const std::vector<String> Sections = SectionsOf(LanguageFile);
    const std::set<String> Known(Sections.begin(), Sections.end());
    std::vector<const TControl*> Captioned;
    CollectCaptioned(*Form, Captioned);
    CollectCaptioned(*Windows[0], Captioned);
    for (const TControl* Control : Captioned) {
        if (Written.count(Control->Name))
            continue;
        EXPECT_TRUE(Known.count(Control->Name)) << "no section for " << ToUtf8(Control->Name);
    }
}
