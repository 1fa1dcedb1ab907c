// The configuration window's controls: its pages and interval rows, showing and storing a
// function through them, editing the lists, the tray icon's mouse messages and the ways the
// window closes.
#include "app/Language.h"
#include "classlib/gui/WindowProbe.h"
#include "scheduler/EditDateForm.h"
#include "tests/scheduler/SchedFormFixture.h"
#include "tests/support/ListPress.h"
#include "tests/support/ModalTestSupport.h"
#include "tests/support/SchedulerSections.h"

#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <functional>

namespace {

std::vector<String> RowTexts(const TCvTree& List) {
    std::vector<String> Texts;
    for (int I = 0; I < List.GetRoot()->ChildrenCount(); ++I)
        Texts.emplace_back(List.GetRoot()->GetChild(I)->Text());
    return Texts;
}

// Ends the menu that is about to pop up, once its loop runs.
void EndMenuSoon() {
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR Id, DWORD) {
        KillTimer(nullptr, Id);
        EndMenu();
    });
}

} // namespace

TEST_F(SchedMainFormTest, TheWindowHoldsItsPagesListsAndIntervalRowsInTheirOrder) {
    TfrmSchedulerMain& W = Start({L"/hide"});
    ASSERT_EQ(W.Notebook->PageCount(), SchedFuncCount);
    for (int I = 0; I < SchedFuncCount; ++I)
        EXPECT_EQ(W.Notebook->IndexOfPage(SchedPageNames[I]), I);
    EXPECT_EQ(RowTexts(*W.RegistryList),
              (std::vector<String>{L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE", L"HKEY_USERS"}));

    // Two expanded groups; the check rows at absolute rows 1-4 and 6-10 with their pictures.
    TCvTreeItems& Privacy = W.PrivacyTree->Items();
    ASSERT_EQ(Privacy.TotalCount(), 11);
    String Layout;
    for (int Row = 0; Row < Privacy.TotalCount(); ++Row) {
        const TCvTreeItem& Item = *Privacy.ItemAtIndex(Row);
        Layout += Item.ChildrenCount() > 0
                      ? (Item.IsExpanded() ? L"G+" : L"G-")
                      : (Item.CheckBoxShown() ? L"c" : L"?") + IntToStr(Item.MainImage());
        Layout += L" ";
    }
    EXPECT_EQ(Layout, L"G+ c0 c0 c0 c0 G+ c1 c2 c3 c4 c4 ");
    for (TCvTree* List : {W.FoldersTree, W.LaunchTree, W.lvJunkFolders}) {
        EXPECT_FALSE(List->ShowCheckboxes) << List->Name << ": its check marks are not stored";
        EXPECT_EQ(List->SortMode, smClick) << List->Name << " sorts on a header click";
        EXPECT_TRUE(List->ShowColumns()) << List->Name;
    }

    // The date row stands above the free-space row; the others follow their numbers.
    std::vector<int> Tops;
    for (const int Number : {1, 2, 3, 4, 5, 6, 8, 7})
        Tops.push_back(W.radEvery[Number - 1]->Top());
    EXPECT_TRUE(std::is_sorted(Tops.begin(), Tops.end()) &&
                std::adjacent_find(Tops.begin(), Tops.end()) == Tops.end());
    const String RadioCaptions[] = {L"sEvery", L"sEvery",  L"sEvery",  L"sEvery",
                                    L"sEvery", L"sEvery6", L"sEvery8", L"sEvery7"};
    for (int I = 0; I < 8; ++I)
        EXPECT_EQ(W.radEvery[I]->Caption(), RadioCaptions[I]) << "radEvery" << I + 1;

    const struct {
        const wchar_t* Name;
        double Low, High;
    } Spins[] = {{L"edTime1", 1, 100},     {L"edTime5", 1, 100},   {L"edDayofMonth", 1, 31},
                 {L"edMB", 1, 1000000000}, {L"edHour", 0, 23},     {L"edOnDateHour", 0, 23},
                 {L"edMin", 0, 59},        {L"edOnDateMin", 0, 59}};
    for (const auto& Spin : Spins) {
        auto* Edit = dynamic_cast<TFlatSpinEditFloat*>(W.FindComponent(Spin.Name));
        ASSERT_NE(Edit, nullptr) << Spin.Name;
        EXPECT_EQ(Edit->MinValue, Spin.Low) << Spin.Name;
        EXPECT_EQ(Edit->MaxValue, Spin.High) << Spin.Name;
        EXPECT_EQ(Edit->Button().UpButton().ColorBorder(), W.btnBTNForSpins->ColorBorder());
    }
    ASSERT_EQ(W.cmbDays->Items().Count(), 7);
    EXPECT_EQ(W.cmbDays->Items().Strings(0), L"sSunday");
    EXPECT_EQ(W.cmbDays->Items().Strings(6), L"sSaturday");
    EXPECT_EQ(W.FuncButtons[sfJunkFiles]->Caption(), L"sModSchedJunkFiles");
    EXPECT_FALSE(W.btnBTNForSpins->Visible());

    // The probe finds the controls by their names while the window shows.
    W.mnConfigClick();
    const ATOM Name = GlobalAddAtomW(L"edOnDateMin");
    EXPECT_TRUE(ProbeAnswered(SendMessageW(W.Handle(), ProbeMessage(), pqControlCentre, Name)));
    GlobalDeleteAtom(Name);
}

TEST_F(SchedMainFormTest, TheWindowsControlsShowFlatHintsAfterTheFlatHintsPauses) {
    App->HintPause = 1;
    TfrmSchedulerMain& W = Start({L"/hide"});
    ASSERT_NE(W.FlatHint1, nullptr);
    EXPECT_EQ(App->HintShortPause, 25);
    EXPECT_EQ(App->HintPause, 500);
    EXPECT_EQ(App->HintHidePause, 5000);
    EXPECT_TRUE(W.ShowHint());
    for (const TControl* Control :
         {static_cast<TControl*>(W.btnRunNow), static_cast<TControl*>(W.FuncButtons[sfJunkFiles]),
          static_cast<TControl*>(W.edMB)})
        EXPECT_TRUE(Control->ShowHint()) << ToUtf8(Control->Name);
}

TEST_F(SchedMainFormTest, EveryLanguageSectionOfTheWindowNamesOneOfItsControls) {
    TfrmSchedulerMain& W = Start({L"/hide"});
    for (const wchar_t* Section : SchedulerWindowSections) {
        const bool Named = String(Section) == W.Name || FindNamedComponent(W, Section) != nullptr;
        EXPECT_TRUE(Named) << "no control is named " << ToUtf8(Section);
    }
}

TEST_F(SchedMainFormTest, AFunctionSwitchStoresTheShownFunctionAndShowsTheNext) {
    Folder.AddFile(L"qvsched.ini", "[Section1]\r\nParameters=1|0|\r\n"
                                   "[Section3]\r\nIntervals=8\r\nOnDate=2024-07-04\r\n"
                                   "OnDateHour=9\r\nOnDateMin=30\r\n"
                                   "[Section4]\r\nIntervals=4\r\nTime4=2\r\nDayOfWeek=3\r\n"
                                   "Parameters=C:\\a.exe|C:\\b.exe|\r\n");
    TfrmSchedulerMain& W = Start();
    W.mnConfigClick();
    EXPECT_EQ(W.Notebook->PageIndex(), sfRegistryCleaner);
    EXPECT_EQ(W.labFuncName->Caption(), L"sFuncRegistryCleaner");
    EXPECT_EQ(W.ShownView(sfRegistryCleaner).Flags, (std::vector<bool>{true, false, true}))
        << "a missing flag takes its default";
    EXPECT_EQ(W.ShownView(sfRegistryCleaner).CheckedInterval, 0) << "kind 0 checks no button";

    W.RegistryList->GetRoot()->GetChild(0)->SetCheckMark(false);
    W.edTime[0]->SetValue(7.9);
    W.edTime[1]->SetText(L"500"); // typed, still in the edit
    W.edMin->SetText(L"x");
    W.FuncButtonClick(sfAppLauncher);
    EXPECT_EQ(W.Funcs[sfRegistryCleaner].Parameters, L"0|0|1|");
    EXPECT_EQ(W.Funcs[sfRegistryCleaner].Time1, 7) << "spin values are truncated";
    EXPECT_EQ(W.Funcs[sfRegistryCleaner].Time2, 100) << "and kept in their range";
    EXPECT_EQ(W.Funcs[sfRegistryCleaner].Min, 0) << "a text that is no number is the lowest";
    EXPECT_EQ(W.Notebook->PageIndex(), sfAppLauncher);
    EXPECT_TRUE(W.radEvery[siWeeks - 1]->Checked());
    EXPECT_EQ(W.edTime[3]->Value(), 2);
    EXPECT_EQ(W.cmbDays->ItemIndex(), 3);
    EXPECT_EQ(RowTexts(*W.LaunchTree), (std::vector<String>{L"C:\\a.exe", L"C:\\b.exe"}));

    W.FuncButtonClick(sfFolderCleaner);
    EXPECT_TRUE(W.radEvery[siOnDate - 1]->Checked());
    EXPECT_EQ(W.edDate->Text(), DateToStr(EncodeDate(2024, 7, 4)));
    EXPECT_EQ(W.edOnDateHour->Value(), 9);
    EXPECT_EQ(W.edOnDateMin->Value(), 30);

    // The date round trip, and a date text that is none keeps the stored date and its time.
    W.edDate->SetText(DateToStr(EncodeDate(2025, 1, 2)));
    W.FuncButtonClick(sfJunkFiles);
    ASSERT_TRUE(W.Funcs[sfFolderCleaner].OnDate.has_value());
    EXPECT_EQ(*W.Funcs[sfFolderCleaner].OnDate, EncodeDate(2025, 1, 2));
    W.FuncButtonClick(sfFolderCleaner);
    EXPECT_EQ(W.edDate->Text(), DateToStr(EncodeDate(2025, 1, 2)));
    W.edDate->SetText(L"31 Feb");
    W.edOnDateHour->SetValue(5);
    W.FuncButtonClick(sfJunkFiles);
    EXPECT_EQ(*W.Funcs[sfFolderCleaner].OnDate, EncodeDate(2025, 1, 2));
    EXPECT_EQ(W.Funcs[sfFolderCleaner].OnDateHour, 9);

    W.btnOKClick();
    EXPECT_EQ(Ini(L"Section1", L"Parameters"), L"0|0|1|");
    EXPECT_EQ(Ini(L"Section3", L"OnDate"), L"2025-01-02 00:00:00");
    EXPECT_EQ(Ini(L"Section5", L"Intervals"), L"0") << "OK saves every section";
}

TEST_F(SchedMainFormTest, AddAppendsThePickedEntryCancelAddsNothingAndDeleteTakesTheSelectedRow) {
    TfrmSchedulerMain& W = Start();
    W.mnConfigClick();
    String DialogFilter;
    DWORD DialogFlags = 0;
    W.OpenDialog->ShowDialog = [&](OPENFILENAMEW& Params) {
        DialogFilter.clear();
        for (const wchar_t* P = Params.lpstrFilter; *P; P += wcslen(P) + 1)
            DialogFilter += String(P) + L"|";
        DialogFlags = Params.Flags;
        if (!NextPick)
            return false;
        wcscpy(Params.lpstrFile, NextPick->c_str());
        return true;
    };
    const struct {
        int Func;
        TCvTree* List;
        void (TfrmSchedulerMain::*Add)();
        void (TfrmSchedulerMain::*Delete)();
        const wchar_t* Picked;
    } Lists[] = {
        {sfFolderCleaner, W.FoldersTree, &TfrmSchedulerMain::btnAddFolderClick,
         &TfrmSchedulerMain::btnDeleteFolderClick, L"C:\\Temp"},
        {sfAppLauncher, W.LaunchTree, &TfrmSchedulerMain::btnAddLaunchClick,
         &TfrmSchedulerMain::btnDeleteLaunchClick, L"C:\\Tools\\run.exe"},
        {sfJunkFiles, W.lvJunkFolders, &TfrmSchedulerMain::btnJunkAddClick,
         &TfrmSchedulerMain::btnJunkDeleteClick, L"D:\\Downloads"},
    };
    for (const auto& L : Lists) {
        SCOPED_TRACE(L.List->Name);
        W.FuncButtonClick(L.Func);
        SetRows(*L.List, {L"first"});
        NextPick.reset();
        (W.*L.Add)();
        EXPECT_EQ(RowTexts(*L.List), (std::vector<String>{L"first"})) << "Cancel adds nothing";
        NextPick = L.Picked;
        (W.*L.Add)();
        (W.*L.Add)();
        EXPECT_EQ(RowTexts(*L.List), (std::vector<String>{L"first", L.Picked, L.Picked}))
            << "appended, a duplicate kept";

        L.List->SetSelectedItem(nullptr);
        (W.*L.Delete)();
        EXPECT_EQ(RowTexts(*L.List).size(), 3u) << "Delete without a selection changes nothing";
        L.List->SetSelectedItem(L.List->GetRoot()->GetChild(0));
        (W.*L.Delete)();
        EXPECT_EQ(RowTexts(*L.List), (std::vector<String>{L.Picked, L.Picked}));
    }
    ASSERT_EQ(PickerCalls.size(), 6u);
    EXPECT_EQ(PickerCalls[0].Owner, W.Handle());
    EXPECT_EQ(PickerCalls[0].Title, L"Choose the Folder");
    EXPECT_EQ(DialogFilter, L"Any File (*.*)|*.*|");
    const DWORD Wanted =
        OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING;
    EXPECT_EQ(DialogFlags & Wanted, Wanted);

    W.FuncButtonClick(sfFolderCleaner); // stores the launcher list
    EXPECT_EQ(W.Funcs[sfAppLauncher].Parameters, L"C:\\Tools\\run.exe|C:\\Tools\\run.exe|");
}

TEST_F(SchedMainFormTest, TrayIconMessagesOpenTheWindowOnceOrPopUpTheMenu) {
    Folder.AddFile(L"qvsched.ini", "[Section1]\r\nTime1=45\r\n");
    TfrmSchedulerMain& W = Start({L"/hide"});
    const auto Mouse = [&W](UINT Message) {
        SendMessageW(W.TrayIconWindow(), WM_TRAYICON, 1, Message);
    };
    // A double click runs the open command twice (its own handler and the menu's default item);
    // the second finds the window open and keeps the snapshot of the first.
    Mouse(WM_LBUTTONDOWN);
    Mouse(WM_LBUTTONUP);
    Mouse(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(W.Visible());
    W.edTime[0]->SetValue(10);
    W.FuncButtonClick(sfFolderCleaner);
    EXPECT_EQ(W.Funcs[sfRegistryCleaner].Time1, 10);
    // Opening it again while it shows keeps the snapshot taken when it opened.
    SendMessageW(W.Handle(), WM_SCHED_REVIVE, 0, GetCurrentProcessId());
    Mouse(WM_LBUTTONDBLCLK);
    W.btnCancelClick();
    EXPECT_EQ(W.Funcs[sfRegistryCleaner].Time1, 45) << "Cancel restores what was there before";

    bool Popped = false;
    W.TrayPopupMenu().OnPopup = [&Popped](TObject*) {
        Popped = true;
        EndMenuSoon();
    };
    Mouse(WM_RBUTTONDOWN);
    Mouse(WM_RBUTTONUP);
    EXPECT_TRUE(Popped) << "a right click opens the menu";
    EXPECT_FALSE(W.Visible());
}

TEST_F(SchedMainFormTest, ThePicturesComeFromTheProgramFoldersSchedulerArt) {
    // The program folder's art, as the build lays it out.
    const String Built = ExtractFilePath(TApplication::ExeName()) + L"..\\dist\\";
    const String Art = L"Data\\Buttons\\Scheduler\\";
    for (const wchar_t* File :
         {L"RegistryCleaner.bmp", L"InternetPrivacy.bmp", L"FolderCleaner.bmp", L"AppLauncher.bmp",
          L"StartupManager.bmp", L"Menu.bmp", L"Privacy.bmp"}) {
        std::ifstream In(ToUtf8(Built + Art + File), std::ios::binary);
        const std::string Bytes{std::istreambuf_iterator<char>(In), {}};
        ASSERT_FALSE(Bytes.empty()) << ToUtf8(File);
        Folder.AddFile(Art + File, Bytes);
    }
    TfrmSchedulerMain& W = Start({L"/hide"});
    for (TFlatButton* Button : W.FuncButtons)
        EXPECT_EQ(Button->Glyph().Width(), 32) << ToUtf8(Button->Name);
    ASSERT_NE(W.PrivacyTree->Images(), nullptr);
    EXPECT_EQ(W.PrivacyTree->Images()->Count(), 5);

    // The on/off pictures follow the state; each other item has one of its own.
    ASSERT_NE(W.TrayPopupMenu().Images(), nullptr);
    EXPECT_EQ(W.TrayPopupMenu().Images()->Count(), 6);
    TMenuItem& Items = W.TrayPopupMenu().Items();
    String Pictures;
    for (int I = 0; I < Items.Count(); ++I)
        Pictures += IntToStr(Items.Items(I)->ImageIndex) + L" ";
    EXPECT_EQ(Pictures, L"2 -1 0 3 1 -1 4 5 ");
}

TEST_F(SchedMainFormTest, ClosingHidesFromTheTitleBarAndEndsFromTheTrayOrTheSession) {
    const struct {
        const char* What;
        std::function<void(TfrmSchedulerMain&)> Close;
        bool Ends;
        const wchar_t* Enabled; // "General" "Enabled" once the program ended
    } Cases[] = {
        {"title bar", [](TfrmSchedulerMain& W) { SendMessageW(W.Handle(), WM_CLOSE, 0, 0); }, false,
         L"1"},
        {"skinned close button", [](TfrmSchedulerMain& W) { W.CloseButtonClick(nullptr); }, false,
         L"1"},
        {"Escape", [](TfrmSchedulerMain& W) { W.Perform(CM_DIALOGKEY, VK_ESCAPE); }, false, L"1"},
        {"tray Close", [](TfrmSchedulerMain& W) { W.mnCloseClick(); }, true, L"1"},
        {"tray Disable & Close", [](TfrmSchedulerMain& W) { W.mnDisableClick(); }, true, L"0"},
        {"session end",
         [](TfrmSchedulerMain& W) {
             SendMessageW(W.Handle(), WM_QUERYENDSESSION, 0, 0);
             SendMessageW(W.Handle(), WM_CLOSE, 0, 0);
         },
         true, L"1"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.What);
        NewApplication();
        DeleteFileW(IniFile().c_str()); // each case starts from the defaults
        TfrmSchedulerMain& W = Start();
        W.mnConfigClick();
        W.HideTrayIcon1Click(); // the icon shows only with the window
        C.Close(W);
        EXPECT_EQ(App->Terminated(), C.Ends);
        if (!C.Ends) {
            EXPECT_FALSE(W.Visible());
            EXPECT_FALSE(W.TrayIcon().Visible) << "every hide updates the tray icon";
            EXPECT_EQ(ShellCalls.back(), DWORD(NIM_DELETE));
        }
        Destroy();
        EXPECT_EQ(Ini(L"General", L"Enabled"), C.Enabled);
    }
}

TEST_F(SchedMainFormTest, ATrayCloseDuringARunEndsTheProgramAfterTheRun) {
    Folder.AddFile(L"Clean\\a.tmp", "x");
    Folder.AddFile(L"Clean\\b.tmp", "x");
    TfrmSchedulerMain& W = Start();
    W.mnConfigClick();
    W.FuncButtonClick(sfFolderCleaner);
    SetRows(*W.FoldersTree, {Folder.Path() + L"Clean"});
    // The menu's command arrives while the run pumps messages.
    PostMessageW(W.TrayPopupMenu().WindowHandle(), WM_COMMAND,
                 W.TrayPopupMenu().Items().Items(7)->Command(), 0);
    W.btnRunNowClick();
    EXPECT_FALSE(PathPresent(Folder.Path() + L"Clean\\b.tmp")) << "the run went to its end";
    EXPECT_TRUE(W.AllowClose()) << "the tray's Close arrived during the run";
    EXPECT_FALSE(App->Terminated()) << "nothing is closed under a running function";
    App->ProcessMessages();
    EXPECT_TRUE(App->Terminated()) << "the program ends once the run is over";
}

TEST_F(SchedMainFormTest, ATrayCloseDuringARunStartsNoFunctionQueuedAtTheSameTick) {
    Folder.AddFile(L"Clean\\a.tmp", "x");
    const String Junk = Folder.AddFile(L"Junk\\left.tmp", "x");
    TfrmSchedulerMain& W = Start();
    for (const int Index : {sfFolderCleaner, sfJunkFiles}) {
        W.Funcs[Index].Enabled = true;
        W.Funcs[Index].Intervals = siMinutes;
        W.Funcs[Index].LastRun = 0;
    }
    W.Funcs[sfFolderCleaner].Parameters = Folder.Path() + L"Clean|";
    W.Funcs[sfJunkFiles].Parameters = Folder.Path() + L"Junk|";
    // Close arrives while the folder cleaner, the first of the two due, pumps messages.
    PostMessageW(W.TrayPopupMenu().WindowHandle(), WM_COMMAND,
                 W.TrayPopupMenu().Items().Items(7)->Command(), 0);
    W.TimerTimer();
    EXPECT_FALSE(PathPresent(Folder.Path() + L"Clean\\a.tmp")) << "the run under way ends";
    EXPECT_TRUE(PathPresent(Junk)) << "the queued function never starts";
    EXPECT_FALSE(W.Timer().Enabled());
    App->ProcessMessages();
    EXPECT_TRUE(App->Terminated());
}

TEST_F(SchedMainFormTest, ARunEndingUnderTheDateDialogLeavesTheWindowDisabled) {
    TfrmSchedulerMain& W = Start();
    W.mnConfigClick();
    W.Runner().RunSchedFunc(sfAppLauncher, String());
    EXPECT_TRUE(IsWindowEnabled(W.Handle())) << "a run alone gives the window back";

    std::optional<bool> EnabledAfterRun;
    WhenWindowShown<TfrmEditDate>(L"Edit Date", [&](TfrmEditDate& Dialog) {
        // The five-second check starts a function while the dialog is up.
        W.Runner().RunSchedFunc(sfAppLauncher, String());
        EnabledAfterRun = IsWindowEnabled(W.Handle()) != FALSE;
        Dialog.btnCancelClick(nullptr);
    });
    W.btnDateClick();
    ASSERT_TRUE(EnabledAfterRun.has_value());
    EXPECT_FALSE(*EnabledAfterRun) << "the dialog keeps its window disabled";
    EXPECT_TRUE(IsWindowEnabled(W.Handle())) << "the dialog gives it back as it closes";
}

TEST_F(SchedMainFormTest, ARightPressChoosesTheRowThatDeleteRemoves) {
    TfrmSchedulerMain& W = Start();
    W.mnConfigClick();
    W.FuncButtonClick(sfFolderCleaner);
    TCvTree& List = *W.FoldersTree;
    SetRows(List, {L"C:\\One", L"C:\\Two", L"C:\\Three"});
    EXPECT_FALSE(List.MultiSelect());
    // Focus moved in code leaves one row chosen.
    List.SetFocusedItem(List.Items().ItemAtIndex(0));
    List.SetFocusedItem(List.Items().ItemAtIndex(2));
    EXPECT_EQ(List.SelectedCount(), 1);

    RightPressRow(List, L"C:\\Two");
    App->ProcessMessages();
    W.btnDeleteFolderClick();
    EXPECT_EQ(RowTexts(List), (std::vector<String>{L"C:\\One", L"C:\\Three"}));
}

TEST_F(SchedMainFormTest, EnterConfirmsTheWindowEscapeCancelsItAndBothKeysPressAFocusedButton) {
    TfrmSchedulerMain& W = Start();
    const auto Press = [this](TWinControl& Control, WORD Key) {
        Control.SetFocus();
        PostMessageW(GetFocus(), WM_KEYDOWN, Key, 1);
        PostMessageW(GetFocus(), WM_KEYUP, Key, 1 | (3u << 30));
        App->ProcessMessages();
    };
    W.mnConfigClick();
    W.edTime[0]->SetValue(12);
    Press(*W.edTime[0], VK_RETURN);
    EXPECT_FALSE(W.Visible());
    EXPECT_EQ(Ini(L"Section1", L"Time1"), L"12") << "Enter is OK: the shown function is saved";

    W.mnConfigClick();
    W.edTime[0]->SetValue(20);
    W.FuncButtonClick(sfInternetPrivacy);
    Press(*W.edTime[0], VK_ESCAPE);
    EXPECT_FALSE(W.Visible());
    EXPECT_EQ(W.Funcs[sfRegistryCleaner].Time1, 12) << "Escape is Cancel";

    W.mnConfigClick();
    Press(*W.FuncButtons[sfJunkFiles], VK_RETURN);
    EXPECT_TRUE(W.Visible());
    EXPECT_EQ(W.FuncIndex(), sfJunkFiles) << "Enter presses the focused button";
    Press(*W.btnCancel, VK_SPACE);
    EXPECT_FALSE(W.Visible()) << "Space presses the focused button";
}

TEST_F(SchedMainFormTest, WithTheLanguageFileEveryTextOfTheWindowAndItsMenuIsPlainEnglish) {
    AppLanguage->LoadFromFile(ExtractFilePath(TApplication::ExeName()) +
                              L"..\\dist\\Languages\\english.lng");
    ASSERT_TRUE(AppLanguage->IsLoaded());
    TfrmSchedulerMain& W = Start();
    W.mnConfigClick(); // the skin-and-language pass runs at the first show
    // A text still in the form of a message key or a control's name was not found.
    const auto Plain = [](const String& Text, const String& Name) {
        const bool KeyLike = Text.size() > 2 && (Text[0] == L's' || Text[0] == L'm') &&
                             (iswupper(Text[1]) || (Text[1] == L'n' && iswupper(Text[2])));
        return !Text.empty() && Text != Name && !KeyLike;
    };
    std::vector<String> Texts;
    // Named controls that show a caption (lists, edits and the notebook show none of their own;
    // the frame's parts are nameless).
    const auto Captioned = [](const TControl* Control) {
        return Control && !Control->Name.empty() && Control->Visible() &&
               !dynamic_cast<const TCvTree*>(Control) &&
               !dynamic_cast<const TCustomFlatEdit*>(Control) &&
               !dynamic_cast<const TNotebook*>(Control) &&
               !dynamic_cast<const TFlatComboBox*>(Control);
    };
    for (int I = 0; I < W.ComponentCount(); ++I) {
        const auto* Control = dynamic_cast<const TControl*>(W.Components(I));
        if (Captioned(Control)) {
            EXPECT_TRUE(Plain(Control->Caption(), Control->Name))
                << ToUtf8(Control->Name) << ": " << ToUtf8(Control->Caption());
        }
    }
    for (int I = 0; I < W.cmbDays->Items().Count(); ++I)
        Texts.push_back(W.cmbDays->Items().Strings(I));
    for (TCvTree* List : {W.RegistryList, W.PrivacyTree, W.FoldersTree, W.LaunchTree})
        Texts.push_back(List->HeaderControl().Sections().ItemByIndex(0)->Text());
    for (int Row = 0; Row < W.PrivacyTree->Items().TotalCount(); ++Row)
        Texts.emplace_back(W.PrivacyTree->Items().ItemAtIndex(Row)->Text());
    TMenuItem& Menu = W.TrayPopupMenu().Items();
    for (int I = 0; I < Menu.Count(); ++I)
        if (!Menu.Items(I)->IsLine())
            Texts.push_back(Menu.Items(I)->Caption);
    for (const String& Text : Texts)
        EXPECT_TRUE(Plain(Text, L"")) << ToUtf8(Text);
    EXPECT_EQ(W.grpIntervals->Caption(), L"When the function runs");
    EXPECT_EQ(W.labFuncName->Caption(), L"Registry Cleaner");
    AppLanguage->LoadFromFile(Folder.Path()); // no language for the tests after this one
}

TEST_F(SchedMainFormTest, TabWalksTheWindowInItsLayoutOrder) {
    TfrmSchedulerMain& W = Start();
    W.mnConfigClick();
    W.FuncButtonClick(sfFolderCleaner);
    W.SetActiveControl(W.FuncButtons[0]);
    // A list takes the focus in its inner view, which is known by the list's name.
    const auto FocusName = [&W] {
        const TWinControl* Focused = W.ActiveControl();
        if (Focused && Focused->Name.empty() && Focused->Parent())
            Focused = Focused->Parent();
        return Focused ? Focused->Name : String(L"<none>");
    };
    std::vector<String> Visited;
    do {
        Visited.push_back(FocusName());
        W.SelectNext(W.ActiveControl(), true);
    } while (W.ActiveControl() != W.FuncButtons[0] && Visited.size() < 80);
    EXPECT_EQ(Visited, (std::vector<String>{L"btnRegistryCleaner",
                                            L"btnInternetPrivacy",
                                            L"btnFolderCleaner",
                                            L"btnApplicationLauncher",
                                            L"btnJunkFiles",
                                            L"chkEnabled",
                                            L"FoldersTree",
                                            L"btnAddFolder",
                                            L"btnDeleteFolder",
                                            L"edTime1",
                                            L"edTime2",
                                            L"edTime3",
                                            L"edHour",
                                            L"edMin",
                                            L"edTime4",
                                            L"cmbDays",
                                            L"edTime5",
                                            L"edDayofMonth",
                                            L"edDate",
                                            L"btnDate",
                                            L"edOnDateHour",
                                            L"edOnDateMin",
                                            L"edMB",
                                            L"btnRunNow",
                                            L"btnOK",
                                            L"btnCancel"}));
}
