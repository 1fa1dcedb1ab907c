#include "tests/scheduler/SchedFormFixture.h"

#include "app/FlatMessageBox.h"
#include "app/Help.h"
#include "app/Language.h"
#include "tests/support/ModalTestSupport.h"

#include <algorithm>

TEST_F(SchedMainFormTest, AnswersTheMessagesOfTheMainProgramAndOtherPrograms) {
    TfrmSchedulerMain& W = Start({L"/hide"});
    EXPECT_TRUE(W.StartHidden());
    EXPECT_FALSE(W.Visible());
    EXPECT_EQ(Ini(L"General", L"Handle"),
              IntToStr(static_cast<int>(reinterpret_cast<std::intptr_t>(W.Handle()))));

    EXPECT_EQ(Send(WM_SCHED_PING), 123456);
    EXPECT_FALSE(W.Visible());
    EXPECT_EQ(Send(3524, 0, GetCurrentProcessId()), 1);
    EXPECT_TRUE(W.Visible());

    W.btnCancelClick();
    EXPECT_FALSE(W.Visible());
    EXPECT_EQ(Send(WM_SCHED_COMMAND, 0xC000 + 0x3FFF), 0) << "an unreadable atom is ignored";
    EXPECT_FALSE(W.Visible());
    const ATOM Shut = GlobalAddAtomW(L"shutdown");
    Send(WM_SCHED_COMMAND, Shut);
    EXPECT_FALSE(W.Visible());
    GlobalDeleteAtom(Shut);
    const ATOM Open = GlobalAddAtomW(L"please OPEN it");
    Send(WM_SCHED_COMMAND, Open);
    EXPECT_TRUE(W.Visible());
    GlobalDeleteAtom(Open);

    EXPECT_EQ(Send(WM_QUERYENDSESSION), 1);
    EXPECT_TRUE(W.AllowClose());
    Send(WM_ENDSESSION, FALSE); // another program cancelled the shutdown
    EXPECT_FALSE(W.AllowClose());

    Destroy();
    EXPECT_EQ(Ini(L"General", L"Handle"), L"0");
    EXPECT_EQ(Ini(L"General", L"Enabled"), L"1");
}

TEST_F(SchedMainFormTest, TheCommandLineHidesOnlyWithAnExactFirstHideAndEnablesInAnyCase) {
    struct TCase {
        std::vector<String> Params;
        bool Hide;
        std::size_t Commands;
    };
    const TCase Cases[] = {{{L"/hide"}, true, 0},
                           {{L"/HIDE"}, false, 0},
                           {{L"/show", L"/hide"}, false, 0},
                           {{L"/hide", L"/Enable", L"/STARTUP"}, true, 2},
                           {{L"/show"}, false, 0}};
    for (const TCase& Case : Cases) {
        const TSchedCommandLine Line = ParseSchedCommandLine(Case.Params);
        EXPECT_EQ(Line.Hide, Case.Hide);
        EXPECT_EQ(Line.Commands.size(), Case.Commands);
    }

    Folder.AddFile(L"qvsched.ini", "[General]\r\nEnabled=0\r\n");
    TfrmSchedulerMain& W = Start({L"/hide", L"/ENABLE"});
    EXPECT_TRUE(W.SchedulerOn());
    EXPECT_TRUE(W.Timer().Enabled());
    EXPECT_EQ(RunValue(), L"\"C:\\Program Files\\QRV\\qrvsched.exe\" /startup");
}

TEST_F(SchedMainFormTest, TitleBarCloseHidesAndTrayCloseEndsAndStoresTheState) {
    TfrmSchedulerMain& W = Start();
    W.mnConfigClick();
    SendMessageW(W.Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(W.Visible());
    EXPECT_FALSE(App->Terminated()) << "the program stays in the tray";

    W.mnEnabledClick(); // off
    EXPECT_EQ(RunValue(), L"<none>");
    W.mnCloseClick();
    EXPECT_TRUE(App->Terminated());
    EXPECT_EQ(Ini(L"General", L"Enabled"), L"0");
}

TEST_F(SchedMainFormTest, DisableAndCloseAfterAnOkLeavesTheSchedulerOff) {
    TfrmSchedulerMain& W = Start();
    W.mnConfigClick();
    W.FuncButtonClick(sfFolderCleaner);
    W.chkEnabled->SetChecked(true);
    W.radEvery[siMinutes - 1]->SetChecked(true);
    W.btnOKClick(); // switches the scheduler on and writes the Run value
    EXPECT_NE(RunValue(), L"<none>");
    EXPECT_EQ(Ini(L"Section3", L"Enabled"), L"1");

    W.mnDisableClick();
    EXPECT_TRUE(App->Terminated());
    Destroy();
    EXPECT_EQ(Ini(L"General", L"Enabled"), L"0");
    EXPECT_EQ(RunValue(), L"<none>");
}

TEST_F(SchedMainFormTest, OkSwitchesTheSchedulerOnAndCancelRestoresButKeepsLastRun) {
    Folder.AddFile(L"qvsched.ini", "[General]\r\nEnabled=0\r\n[Section3]\r\nTime1=45\r\n");
    TfrmSchedulerMain& W = Start();
    EXPECT_FALSE(W.SchedulerOn());
    W.mnConfigClick();
    W.FuncButtonClick(sfFolderCleaner);
    EXPECT_EQ(W.edTime[0]->Value(), 45);
    W.edTime[0]->SetValue(10);
    SetRows(*W.FoldersTree, {L"C:\\Added\\"});
    W.FuncButtonClick(sfAppLauncher); // stores the edit into the live record
    EXPECT_EQ(W.Funcs[sfFolderCleaner].Parameters, L"C:\\Added\\|");
    W.Funcs[sfFolderCleaner].LastRun = 45000.25; // a run while the window is open
    W.btnCancelClick();
    EXPECT_EQ(W.Funcs[sfFolderCleaner].Time1, 45);
    EXPECT_EQ(W.Funcs[sfFolderCleaner].Parameters, L"");
    EXPECT_EQ(W.Funcs[sfFolderCleaner].LastRun, 45000.25);
    EXPECT_FALSE(W.SchedulerOn());
    EXPECT_EQ(W.ShownView(sfFolderCleaner).Rows, (std::vector<String>{L"C:\\Added\\"}))
        << "the list keeps its edit until the function is shown again";

    W.mnConfigClick();
    W.FuncButtonClick(sfFolderCleaner);
    EXPECT_EQ(W.ShownView(sfFolderCleaner).Rows, (std::vector<String>{}));
    W.chkEnabled->SetChecked(true);
    W.btnOKClick();
    EXPECT_TRUE(W.SchedulerOn());
    EXPECT_TRUE(W.Timer().Enabled());
    EXPECT_FALSE(W.Visible());
}

TEST_F(SchedMainFormTest, HideTrayIconIsWrittenAndTheIconFollowsTheWindow) {
    TfrmSchedulerMain& W = Start({L"/hide"});
    EXPECT_EQ(W.TrayIcon(), (TTrayIconState{0, true}));
    W.HideTrayIcon1Click();
    EXPECT_EQ(Ini(L"General", L"HideTrayIcon"), L"1");
    EXPECT_EQ(W.TrayIcon(), (TTrayIconState{0, false}));
    W.mnConfigClick();
    EXPECT_EQ(W.TrayIcon(), (TTrayIconState{0, true})) << "opening the window shows the icon";
    W.btnCancelClick();
    EXPECT_EQ(W.TrayIcon(), (TTrayIconState{0, false}));
    W.mnEnabledClick();
    EXPECT_EQ(W.TrayIcon().ImageIndex, 1);
}

TEST_F(SchedMainFormTest, TheTrayIconReachesTheShellAndItsDoubleClickOpensTheWindow) {
    TfrmSchedulerMain& W = Start({L"/hide"});
    ASSERT_FALSE(ShellCalls.empty());
    EXPECT_EQ(std::count(ShellCalls.begin(), ShellCalls.end(), DWORD(NIM_ADD)), 1);
    EXPECT_EQ(ShellTip, L"System Corvanta 2 Scheduler");
    W.HideTrayIcon1Click();
    EXPECT_EQ(ShellCalls.back(), DWORD(NIM_DELETE));
    const auto Hidden = ShellCalls.size();

    SendMessageW(W.TrayIconWindow(), WM_TRAYICON, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(W.Visible()) << "a double click on the icon opens the window";
    EXPECT_EQ(std::count(ShellCalls.begin() + Hidden, ShellCalls.end(), DWORD(NIM_ADD)), 1)
        << "the open window shows its icon";
    EXPECT_EQ(std::count(ShellCalls.begin() + Hidden, ShellCalls.end(), DWORD(NIM_DELETE)), 0);
}

TEST_F(SchedMainFormTest, TheTrayMenuRunsItsItemsAndShowsTheState) {
    TfrmSchedulerMain& W = Start({L"/hide"});
    TMenuItem& Items = W.TrayPopupMenu().Items();
    ASSERT_EQ(Items.Count(), 8);
    String Lines;
    for (int I = 0; I < Items.Count(); ++I)
        Lines += (Items.Items(I)->Default ? L"*" : L"") + Items.Items(I)->Caption +
                 (Items.Items(I)->Checked ? L" [x]" : L"") + L"|";
    EXPECT_EQ(Lines, L"mnStartQRV|-|mnEnableSched [x]|*mnOpenSched|mnHideTrayIcon|-|"
                     L"mnDisableClose|mnClose|");

    TMenuItem& Hide = *Items.Items(4);
    EXPECT_EQ(Hide.ImageIndex, 1);
    ASSERT_TRUE(W.TrayPopupMenu().DispatchCommand(Hide.Command()));
    EXPECT_TRUE(W.HideTrayIcon());
    EXPECT_TRUE(Hide.Checked);
    EXPECT_EQ(Hide.ImageIndex, 0);

    TMenuItem& Enabled = *Items.Items(2);
    Enabled.Click();
    EXPECT_FALSE(W.SchedulerOn());
    EXPECT_FALSE(Enabled.Checked);
    EXPECT_EQ(Enabled.ImageIndex, 1);

    Items.Items(7)->Click();
    EXPECT_TRUE(App->Terminated()) << "Close ends the program";
}

TEST_F(SchedMainFormTest, StartupRunsTheWindowsStartFunctionsWithTheirStoredLists) {
    Folder.AddFile(L"Clean\\a.tmp", "x");
    Folder.AddFile(L"Other\\b.tmp", "x");
    const std::string Text =
        "[Section3]\r\nEnabled=1\r\nIntervals=6\r\nParameters=" + ToUtf8(Folder.Path()) +
        "Clean|\r\nLastRun=2024-01-01 00:00:00\r\n" +
        "[Section5]\r\nEnabled=0\r\nIntervals=6\r\nParameters=" + ToUtf8(Folder.Path()) +
        "Other|\r\n";
    Folder.AddFile(L"qvsched.ini", Text);
    TfrmSchedulerMain& W = Start({L"/startup"});
    EXPECT_FALSE(PathPresent(Folder.Path() + L"Clean\\a.tmp"));
    EXPECT_TRUE(PathPresent(Folder.Path() + L"Other\\b.tmp")) << "a disabled function stays";
    EXPECT_EQ(W.Funcs[sfFolderCleaner].LastRun, EncodeDate(2024, 1, 1));
}

TEST_F(SchedMainFormTest, RunNowTakesTheShownListAndTheTimerRunsTheStoredOne) {
    Folder.AddFile(L"Stored\\a.txt", "x");
    Folder.AddFile(L"Shown\\b.txt", "x");
    const std::string Text =
        "[Section3]\r\nEnabled=1\r\nIntervals=1\r\nParameters=" + ToUtf8(Folder.Path()) +
        "Stored|\r\nLastRun=2024-06-01 11:59:00\r\n";
    Folder.AddFile(L"qvsched.ini", Text);
    TfrmSchedulerMain& W = Start();
    W.mnConfigClick();
    W.FuncButtonClick(sfFolderCleaner);
    SetRows(*W.FoldersTree, {Folder.Path() + L"Shown"});
    W.btnRunNowClick();
    EXPECT_FALSE(PathPresent(Folder.Path() + L"Shown\\b.txt"));
    EXPECT_TRUE(PathPresent(Folder.Path() + L"Stored\\a.txt"));
    EXPECT_EQ(W.Funcs[sfFolderCleaner].LastRun, EncodeDate(2024, 6, 1) + EncodeTime(11, 59, 0, 0))
        << "Run now leaves LastRun alone";

    Folder.AddFile(L"Shown\\c.txt", "x");
    Clock.Value += 31.0 / 1440;
    W.TimerTimer();
    EXPECT_FALSE(PathPresent(Folder.Path() + L"Stored\\a.txt"));
    EXPECT_TRUE(PathPresent(Folder.Path() + L"Shown\\c.txt")) << "the check uses the stored list";
    EXPECT_EQ(W.ShownView(sfFolderCleaner).Rows, (std::vector<String>{Folder.Path() + L"Shown"}))
        << "the check does not reload the window";
    EXPECT_EQ(Ini(L"Section3", L"LastRun"), SchedDateTimeText(Clock.Value));
}

TEST_F(SchedMainFormTest, AMainProgramThatCannotBeStartedIsTold) {
    App->SetTitle(L"Sched start test");
    Folder.AddFile(L"test.lng", "[Messages]\r\nsProgramNotStarted=%s did not start.\r\n");
    AppLanguage->LoadFromFile(Folder.Path() + L"test.lng");
    Start({L"/hide"});
    // The test's program folder holds no qrv.exe.
    String Told;
    WhenWindowShown<TfrmFlatMessageBox>(L"Sched start test", [&Told](TfrmFlatMessageBox& Box) {
        Told = Box.Label1->Caption();
        PostClick(Box.btnOk->Handle());
    });
    Form->mnStartMSTClick();
    AppLanguage->LoadFromFile(Folder.Path()); // a folder: nothing is loaded
    EXPECT_EQ(Told, Folder.Path() + L"qrv.exe did not start.\n\n" +
                        Trim(SysErrorMessage(ERROR_FILE_NOT_FOUND)));
}

TEST_F(SchedMainFormTest, ItsHelpAsksForTheSchedulersHelpFileAtItsDefaultTopic) {
    App->HelpFile = Folder.Path() + L"System_Corvanta.chm";
    std::vector<String> Asked;
    const THelpHandler Saved = SetHelpHandler(
        [&Asked](const String& File, const String& Topic) { Asked.push_back(File + Topic); });
    Start({L"/hide"}).ShowHelp();
    SetHelpHandler(Saved);
    EXPECT_EQ(Asked, std::vector<String>{Folder.Path() + L"System_Corvanta.chm"});
}
