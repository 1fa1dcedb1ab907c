// The main window's system pages as the user drives them: the tweak page's round trip on a test
// root, the shutdown controls by type, the five privacy cleaners and the cookie picker, the
// uninstaller wait, startup entries through their dialog, the registry findings and their own
// menu, help through its handler, and the about box.
#include "app/FlatForm.h"
#include "app/Help.h"
#include "app/PrivacyCleaner.h"
#include "app/QRVDataMod.h"
#include "app/QRVUtils.h"
#include "classlib/gui/Menus.h"
#include "controls/FlatCheckBox.h"
#include "controls/FlatRadioButton.h"
#include "main/dialogs/AboutForm.h"
#include "main/AddRemovePrograms.h"
#include "main/dialogs/CookieListForm.h"
#include "main/InternetPrivacy.h"
#include "main/MainForm.h"
#include "main/RegistryCleaner.h"
#include "main/ShutdownManager.h"
#include "main/dialogs/StartUpEditForm.h"
#include "main/StartupManager.h"
#include "tests/main/FeatureTestSupport.h"
#include "tests/main/MainWindowSupport.h"
#include "tests/main/RegistryTestSupport.h"
#include "tests/main/TweakTestSupport.h"
#include "tests/support/ListPress.h"
#include "treelist/CvTree.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Answers the cookie picker: Close, or Remove with the rows of the given paths checked.
class TFakeCookiePicker : public ICookiePicker {
public:
    bool Remove = false;
    std::set<String> Check;
    std::vector<String> Listed;
    bool Pick(std::vector<TCookieRow>& Rows) override {
        Listed.clear();
        for (TCookieRow& Row : Rows) {
            Listed.push_back(Row.File.Path);
            Row.Checked = Check.count(Row.File.Path) > 0;
        }
        return Remove;
    }
};

class SystemPages : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Environment.CookiePicker = &Picker;
        Environment.ShellRun = [this](const TShellRequest& Request) {
            ShellRequests.push_back(Request);
        };
        Environment.AdjustTweaks = [this](TTweakEnvironment& Env) {
            Env = TestTweakEnvironment(TWindowsVersion{false, 10, 0}, Registry, Folder.Path());
        };
        Environment.AdjustStartup = [this](TStartupEnvironment& Env) {
            Env.CurrentUser = Registry.Root(L"HKCU");
            Env.LocalMachine = Registry.Root(L"HKLM");
            Env.CommonStartup = Folder.Path() + L"CommonStartup";
            Env.UserStartup = Folder.Path() + L"UserStartup";
        };
        Environment.AdjustUninstall = [this](TUninstallEnvironment& Env) {
            Env.Machine = Registry.Root(L"HKLM");
        };
        Environment.AdjustShutdown = [](TShutdownEnvironment& Env) {
            Env.TaskName = L"QrvTest Shutdown Task";
            Env.FillAccounts = [](TStrings& Accounts) { Accounts.Add(L"tester"); };
        };
        Folder.AddFolder(L"CommonStartup");
        Folder.AddFolder(L"UserStartup");
        Previous = SetHelpHandler([this](const String& HelpFile, const String& Topic) {
            HelpShown.push_back(ExtractFileName(HelpFile) + Topic);
        });
    }
    void TearDown() override {
        SetHelpHandler(std::move(Previous));
        MainWindowTest::TearDown();
    }

    // What a click on the named control runs (the busy rule included).
    void Click(const String& Name) {
        auto* Control = dynamic_cast<TControl*>(Form->FindComponent(Name));
        ASSERT_TRUE(Control) << ToUtf8(Name);
        ASSERT_TRUE(Control->OnClick) << ToUtf8(Name) << " does nothing";
        Control->OnClick(Control);
        App->ProcessMessages();
    }
    template <class T> T& Find(const String& Name) {
        auto* Found = dynamic_cast<T*>(Form->FindComponent(Name));
        if (!Found)
            throw std::runtime_error("no control " + ToUtf8(Name));
        return *Found;
    }
    std::vector<String> Notices() const {
        std::vector<String> Texts;
        for (const auto& Asked : Prompt.Asked)
            Texts.push_back(Asked.Text);
        return Texts;
    }
    std::vector<String> RowTexts(const TCvTree& List) const {
        std::vector<String> Texts;
        for (int I = 0; I < List.Items().TotalCount(); ++I)
            Texts.emplace_back(List.Items().ItemAtIndex(I)->Text());
        return Texts;
    }
    String Message(const String& Key) const { return Form->Core().Message(Key); }

    TTestRegistry Registry{L"SystemPages"};
    TFakeCookiePicker Picker;
    std::vector<TShellRequest> ShellRequests;
    std::vector<String> HelpShown;
    THelpHandler Previous;
};

// Unchecked picker rows of cookie files named by Names.
std::vector<TCookieRow> CookieRows(std::initializer_list<const wchar_t*> Names) {
    std::vector<TCookieRow> Rows;
    for (const wchar_t* Name : Names)
        Rows.push_back({TCookieFile{String(L"C:\\cookies\\") + Name + L".txt", Name}, false});
    return Rows;
}

} // namespace

// ---------------------------------------------------------------- system tweaks

TEST_F(SystemPages, TheTweakCategoriesComeFromTheStoredListAndChooseTheirPage) {
    MakeForm().btnSystemTweakClick();
    TCvTree& List = *Form->lvSystemTweakSelector;
    const std::pair<const wchar_t*, int> Rows[] = {{L"sTweakExplorer", 0}, {L"sTweakInterface", 1},
                                                   {L"sTweakMouse", 3},    {L"sTweakStartMenu", 4},
                                                   {L"sTweakSystem", 5},   {L"sTweakBootMenu", 7},
                                                   {L"sTweakWinNT", 8}};
    ASSERT_EQ(List.Items().TotalCount(), 7);
    for (int I = 0; I < 7; ++I) {
        EXPECT_EQ(List.Items().ItemAtIndex(I)->Text(), Message(Rows[I].first));
        EXPECT_EQ(List.Items().ItemAtIndex(I)->Tag, Rows[I].second);
    }
    EXPECT_EQ(Form->Core().Flow.Page(), pgSystemTweak);
    EXPECT_EQ(Form->RegTweakNotebook->PageIndex(), 0) << "the first category shows at opening";

    // On the NT family the boot menu of Windows 9x shows disabled, the NT page enabled.
    const struct {
        int Row;
        bool Enabled;
    } Choices[] = {{5, false}, {6, true}, {1, true}};
    for (const auto& Choice : Choices) {
        List.SetFocusedItem(List.Items().ItemAtIndex(Choice.Row));
        EXPECT_EQ(Form->RegTweakNotebook->PageIndex(), Rows[Choice.Row].second);
        EXPECT_EQ(Form->RegTweakNotebook->Enabled(), Choice.Enabled);
        EXPECT_EQ(Form->labRegTweakCategory->Caption(), Message(Rows[Choice.Row].first));
    }
}

TEST_F(SystemPages, AnUntouchedOkWritesNothingAndAChangeWritesOnlyItsValue) {
    const String Update = L"HKLM\\System\\CurrentControlSet\\Control\\Update";
    const String Desktop = L"HKCU\\Control Panel\\Desktop";
    Registry.SetInteger(Update, L"UpdateMode", 1);
    Registry.SetString(Desktop, L"MenuShowDelay", L"400");
    Registry.SetString(Desktop, L"MinAnimate", L"1");
    // A position no list item stands for: the list cannot show it and must not write it back.
    Registry.SetInteger(Desktop, L"WallpaperStyle", 7);
    Registry.SetString(L"HKCU\\Software\\Microsoft\\Internet Explorer\\Main", L"SearchPage",
                       L"http://search.example/");
    const auto Before = Registry.Dump();

    MakeForm().btnSystemTweakClick();
    Form->btnSystemTweakOKClick();
    EXPECT_EQ(Registry.Dump(), Before);
    EXPECT_EQ(Form->Core().Flow.Page(), pgSystemConfiguration);

    const String UpdateMode = L"\\HKLM\\System\\CurrentControlSet\\Control\\Update\\UpdateMode";
    const struct {
        bool Checked;
        const wchar_t* Value;
    } Steps[] = {{false, L"dword:0"}, {true, L"dword:1"}};
    for (const auto& Step : Steps) {
        Form->btnSystemTweakClick();
        auto& Box = Find<TFlatCheckBox>(L"chkInstantRefresh");
        EXPECT_NE(Box.Checked(), Step.Checked);
        Box.SetChecked(Step.Checked);
        Form->btnSystemTweakOKClick();
        auto Expected = Before;
        Expected[UpdateMode] = Step.Value;
        EXPECT_EQ(Registry.Dump(), Expected);
    }
}

// ---------------------------------------------------------------- shutdown manager

TEST_F(SystemPages, TheShutdownControlsFollowTheTypeAndTheEnableBox) {
    MakeForm().CreateAllPages();
    const struct {
        int Type;
        bool Interval, RunOn, WeekDay, MonthDay, Date;
        const wchar_t* Unit;
    } Types[] = {
        {0, false, false, false, false, true, nullptr},
        {1, true, false, false, false, false, L"sDays"},
        {2, true, true, true, false, false, L"sWeeks"},
        {3, true, true, false, true, false, L"sMonths"},
    };
    for (const auto& Type : Types) {
        SCOPED_TRACE(Type.Type);
        Form->cmbShutdownManagerWhen->SetItemIndex(Type.Type);
        Form->cmbShutdownManagerWhenClick();
        EXPECT_EQ(Form->edShutdownManagerEvery->Visible(), Type.Interval);
        EXPECT_EQ(Form->lablShutdownManagerUM->Visible(), Type.Interval);
        EXPECT_EQ(Form->labShutdownRunOn->Visible(), Type.RunOn);
        EXPECT_EQ(Form->cbWeekDay->Visible(), Type.WeekDay);
        EXPECT_EQ(Form->edMonthlyDay->Visible(), Type.MonthDay);
        EXPECT_EQ(Form->labMonthlyMonth->Visible(), Type.MonthDay);
        EXPECT_EQ(Form->edShutdownRunYear->Visible(), Type.Date);
        EXPECT_EQ(Form->labShutdownDate[2]->Visible(), Type.Date);
        EXPECT_EQ(Form->labShutdownRunDate->Visible(), Type.Date);
        EXPECT_EQ(Form->lablShutdownManagerUM->Caption(),
                  Type.Unit ? Message(Type.Unit) : String());
    }
    for (const bool On : {false, true}) {
        Form->chkShutdownManagerEnable->SetChecked(On);
        Form->chkShutdownManagerEnableClick();
        EXPECT_TRUE(Form->chkShutdownManagerEnable->Enabled());
        EXPECT_TRUE(Find<TControl>(L"btnShutdownManOk").Enabled());
        for (TControl* Control : {static_cast<TControl*>(Form->cmbShutdownManagerWhen),
                                  static_cast<TControl*>(Form->chkShutdownManagerAsk),
                                  static_cast<TControl*>(Form->edShutdownManPassword),
                                  static_cast<TControl*>(Form->labNextRunTime)})
            EXPECT_EQ(Control->Enabled(), On) << ToUtf8(Control->Name);
    }
}

// ---------------------------------------------------------------- internet privacy

TEST_F(SystemPages, EachPrivacyCleanerEndsWithItsNoticeAndTheCookiePickerDecides) {
    MakeForm();
    TTempFolder Cache, Cookies, History, Recent;
    TPrivacyPlaces& Places = Form->InternetPrivacy().Places;
    Places.InternetCacheFolder = Cache.Path();
    Places.CookiesFolder = Cookies.Path();
    Places.HistoryFolder = History.Path();
    Places.RecentFolder = Recent.Path();
    Places.TypedUrls = {TRegistryRootKey::CurrentUser, Registry.Path(L"TypedURLs")};
    Places.RecentDocs = {TRegistryRootKey::CurrentUser, Registry.Path(L"RecentDocs")};
    Registry.SetString(L"TypedURLs", L"url1", L"http://a.example/");
    const String Kept = Cookies.AddFile(L"kept.txt", "a\nb\nkept.example\nd\n");
    const String Picked = Cookies.AddFile(L"picked.txt", "a\nb\npicked.example\nd\n");
    Form->Core().Flow.EnterMode(mdInternetPrivacy);
    ASSERT_EQ(Form->Core().Flow.Page(), pgInternetPrivacy);

    const struct {
        const wchar_t* Link;
        const wchar_t* Notice; // null: none
    } Steps[] = {
        {L"labCleanInternetCache", L"InternetCacheCleaned"},
        {L"labCleanInternetRecentURL", L"InternetRecentURLCleaned"},
        {L"labCleanInternetHistory", L"InternetHistoryCleaned"},
        {L"labCleanRecentDocuments", L"RecentDocumentsCleaned"},
        {L"labCleanInternetCookieFiles", nullptr}, // the picker is closed
        {L"btnCleanInternetCookieFiles", L"InternetCookiesCleaned"},
    };
    for (const auto& Step : Steps) {
        SCOPED_TRACE(ToUtf8(Step.Link));
        Prompt.Asked.clear();
        if (!Step.Notice) {
            Picker.Remove = false;
        } else {
            Picker.Remove = true;
            Picker.Check = {Picked};
        }
        Click(Step.Link);
        EXPECT_EQ(Notices(),
                  Step.Notice ? std::vector<String>{Message(Step.Notice)} : std::vector<String>{});
    }
    EXPECT_EQ(Registry.Value(L"TypedURLs", L"url1"), L"") << "the typed addresses went";
    EXPECT_TRUE(Registry.KeyExists(L"TypedURLs")) << "their key stays";
    EXPECT_TRUE(FileExists(Kept));
    EXPECT_FALSE(FileExists(Picked));
    EXPECT_EQ(Form->Core().Stats.LogLines().Count(), 5) << "no line for the closed picker";
    EXPECT_FALSE(Form->Busy());
}

TEST_F(SystemPages, TheCookiePickerChecksOnlyTheRowsItShows) {
    const std::unique_ptr<TfrmCookieList> List(NewForm<TfrmCookieList>(App.get()));
    std::vector<TCookieRow> Rows = CookieRows({L"a", L"b", L"c"});
    List->SetRows(Rows);
    ASSERT_EQ(List->lvCookies->Items().TotalCount(), 3);
    EXPECT_EQ(List->lvCookies->Items().ItemAtIndex(1)->Text(), L"b");
    EXPECT_EQ(List->lvCookies->Items().ItemAtIndex(1)->ColumnTextList()->Strings(0),
              L"C:\\cookies\\b.txt");
    List->lvCookies->Items().ItemAtIndex(1)->SetHiddenState(true);

    List->btnSelectAllClick();
    List->GetChecks(Rows);
    EXPECT_EQ((std::vector<bool>{Rows[0].Checked, Rows[1].Checked, Rows[2].Checked}),
              (std::vector<bool>{true, false, true}));
    List->btnUnselectAllClick();
    List->GetChecks(Rows);
    EXPECT_EQ((std::vector<bool>{Rows[0].Checked, Rows[1].Checked, Rows[2].Checked}),
              (std::vector<bool>{false, false, false}));
}

TEST_F(SystemPages, ASortedCookiePickerDeletesTheCookiesCheckedAndNoOthers) {
    const std::unique_ptr<TfrmCookieList> List(NewForm<TfrmCookieList>(App.get()));
    std::vector<TCookieRow> Rows = CookieRows({L"c", L"a", L"b"});
    List->SetRows(Rows);
    TCvTree& Tree = *List->lvCookies;
    EXPECT_EQ(Tree.SortMode, smClick);
    Tree.SortByHeaderClick(Tree.HeaderControl().Sections().ItemByIndex(0), false);
    ASSERT_EQ(Tree.Items().ItemAtIndex(0)->Text(), L"a");
    Tree.Items().ItemAtIndex(0)->SetCheckMark(true);
    List->GetChecks(Rows);
    EXPECT_EQ((std::vector<bool>{Rows[0].Checked, Rows[1].Checked, Rows[2].Checked}),
              (std::vector<bool>{false, true, false}))
        << "the row shown first is the cookie the user checked";
}

// ---------------------------------------------------------------- add/remove programs

TEST_F(SystemPages, TheWindowTakesNoInputWhileAnUninstallerRuns) {
    const String Uninstall = L"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    Registry.SetString(Uninstall + L"Self", L"DisplayName", L"Tidy");
    // A helper uninstaller that removes its own entry.
    Registry.SetString(Uninstall + L"Self", L"UninstallString",
                       L"reg delete \"HKCU\\" + Registry.Path(Uninstall + L"Self") + L"\" /f");
    Registry.SetString(Uninstall + L"Left", L"DisplayName", L"Left over");
    Registry.SetString(Uninstall + L"Left", L"UninstallString",
                       L"\"" + Folder.Path() + L"gone\\uninst.exe\" /S");
    std::vector<bool> EnabledWhileRunning;
    Environment.AdjustUninstall = [&](TUninstallEnvironment& Env) {
        Env.Machine = Registry.Root(L"HKLM");
        Env.RunAndWait = [&](const String& Command) {
            EnabledWhileRunning.push_back(Form->Enabled());
            return RunAndWait(Command, SW_HIDE);
        };
    };
    Prompt.Answer = IPrompt::ResultYes;
    MakeForm().btnAddRemoveProgramsClick();
    TCvTree& List = *Form->lvAddRemovePrograms;
    ASSERT_EQ(RowTexts(List), (std::vector<String>{L"Left over", L"Tidy"}));
    EXPECT_EQ(List.Items().ItemAtIndex(0)->MainImage(), 5);
    EXPECT_EQ(List.Items().ItemAtIndex(1)->MainImage(), 4);

    List.SetFocusedItem(List.Items().ItemAtIndex(1));
    Form->btnAddRemoveProgramsUninstallClick();
    EXPECT_EQ(EnabledWhileRunning, std::vector<bool>{false});
    EXPECT_TRUE(Form->Enabled());
    EXPECT_EQ(RowTexts(List), std::vector<String>{L"Left over"});

    // An entry whose uninstaller is gone: Delete asks and removes it.
    List.SetFocusedItem(List.Items().ItemAtIndex(0));
    Prompt.Asked.clear();
    Form->btnAddRemoveProgramsDeleteClick();
    EXPECT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_TRUE(RowTexts(List).empty());
    EXPECT_FALSE(Registry.KeyExists(Uninstall + L"Left"));
}

// ---------------------------------------------------------------- startup manager

TEST_F(SystemPages, StartupEntriesAreAddedChangedAndDeletedThroughTheirDialog) {
    const String Run = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    // What the dialog is filled with, one answer per OK; it stays open while Accept refuses.
    std::vector<std::tuple<String, String, int>> Answers;
    std::vector<bool> Accepted;
    std::vector<bool> NameFixed;
    Environment.EditStartup = [&](const TStartupEntry* Editing,
                                  const TMainFormEnvironment::TStartupAccept& Accept) {
        NameFixed.push_back(Editing != nullptr);
        while (!Answers.empty()) {
            const auto [Name, Command, Location] = Answers.front();
            Answers.erase(Answers.begin());
            const bool Ok = Accept(Editing ? Editing->Name : Name, Command, Location);
            Accepted.push_back(Ok);
            if (Ok)
                return;
        }
    };
    MakeForm().btnStartUpManagerClick();
    TCvTree& List = *Form->lvStartupManager;
    ASSERT_TRUE(RowTexts(List).empty());

    Answers = {{L"..\\evil", L"cmd.exe", 0}, {L"Notes", L"notepad.exe /x", 0}};
    Form->btnAddStartupClick();
    EXPECT_EQ(Accepted, (std::vector<bool>{false, true}));
    EXPECT_EQ(Notices(), std::vector<String>{Message(L"sStartupNameInvalid")});
    EXPECT_EQ(Registry.Value(Run, L"Notes"), L"sz:notepad.exe /x");
    ASSERT_EQ(RowTexts(List), std::vector<String>{L"Notes"});
    EXPECT_EQ(List.Items().ItemAtIndex(0)->ColumnTextList()->Strings(0), L"notepad.exe /x");

    List.SetFocusedItem(List.Items().ItemAtIndex(0));
    Answers = {{String(), L"notepad.exe /y", 0}};
    Form->btnEditStartupClick();
    EXPECT_EQ(NameFixed, (std::vector<bool>{false, true}));
    EXPECT_EQ(Registry.Value(Run, L"Notes"), L"sz:notepad.exe /y");
    EXPECT_EQ(List.Items().ItemAtIndex(0)->ColumnTextList()->Strings(0), L"notepad.exe /y");

    // No keeps the entry; Yes deletes it.
    Prompt.Answers = {IPrompt::ResultNo, IPrompt::ResultYes};
    for (const char* Answer : {"no", "yes"}) {
        SCOPED_TRACE(Answer);
        List.SetFocusedItem(List.Items().ItemAtIndex(0));
        Form->btnDeleteStartupClick();
    }
    EXPECT_EQ(Registry.Value(Run, L"Notes"), L"");
    EXPECT_TRUE(RowTexts(List).empty());
}

TEST_F(SystemPages, ARightPressOnAStartupEntryDeletesThatEntry) {
    const String Run = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    std::vector<String> Names{L"Alpha", L"Beta", L"Gamma"};
    Environment.EditStartup = [&](const TStartupEntry*,
                                  const TMainFormEnvironment::TStartupAccept& Accept) {
        Accept(Names.front(), L"notepad.exe", 0);
        Names.erase(Names.begin());
    };
    MakeForm().btnStartUpManagerClick();
    for (int I = 0; I < 3; ++I)
        Form->btnAddStartupClick();
    TCvTree& List = *Form->lvStartupManager;
    ASSERT_EQ(RowTexts(List).size(), 3u);
    List.SetFocusedItem(List.Items().ItemAtIndex(0));
    List.SetFocusedItem(List.Items().ItemAtIndex(2));

    RightPressRow(List, L"Beta");
    App->ProcessMessages();
    Prompt.Answer = IPrompt::ResultYes;
    Form->mnStartUp->Items().Items(2)->Click(); // Delete
    EXPECT_EQ(Registry.Value(Run, L"Beta"), L"");
    EXPECT_EQ(Registry.Value(Run, L"Alpha"), L"sz:notepad.exe");
    EXPECT_EQ(Registry.Value(Run, L"Gamma"), L"sz:notepad.exe");
}

TEST_F(SystemPages, TheStartupDialogStaysOpenWhileItsFieldsAreRefused) {
    const std::unique_ptr<TfrmStartUpEdit> Dialog(NewForm<TfrmStartUpEdit>(App.get()));
    Dialog->Prepare(L"Add", nullptr);
    EXPECT_TRUE(Dialog->edProgramName->Enabled());
    EXPECT_EQ(Dialog->cmbLocation->ItemIndex(), 0);
    EXPECT_EQ(Dialog->cmbLocation->Items().Count(), 4);
    EXPECT_TRUE(Dialog->btnOk->Default()) << "Enter is OK";
    EXPECT_TRUE(Dialog->EscapeButton->Cancel) << "Escape is Cancel";
    EXPECT_EQ(Dialog->EscapeButton->ModalResult, mrCancel);
    int Asked = 0;
    bool Answer = false;
    Dialog->Accept = [&](const String&, const String&, int) {
        ++Asked;
        return Answer;
    };
    Dialog->btnOkClick();
    EXPECT_EQ(Dialog->ModalResult(), mrNone);
    Answer = true;
    Dialog->btnOkClick();
    EXPECT_EQ(Dialog->ModalResult(), mrOk);
    EXPECT_EQ(Asked, 2);

    TStartupEntry Entry;
    Entry.Name = L"Notes";
    Entry.CommandLine = L"notepad.exe";
    Entry.Location = slUserStartup;
    Dialog->Prepare(L"Edit", &Entry);
    EXPECT_FALSE(Dialog->edProgramName->Enabled());
    EXPECT_FALSE(Dialog->cmbLocation->Enabled());
    EXPECT_EQ(Dialog->edProgramName->Text(), L"Notes");
    EXPECT_EQ(Dialog->cmbLocation->ItemIndex(), static_cast<int>(slUserStartup));
}

// ---------------------------------------------------------------- registry cleaner

TEST_F(SystemPages, TheFindingsMenuActsOnTheFindingsAndRemovesOnlyTheChecked) {
    TTempFolder Files;
    const String Present = Files.AddFile(L"present.exe", "MZ");
    const String Missing = L"C:\\qrvtest-missing-" + IntToStr(GetCurrentProcessId()) + L"\\";
    Registry.SetString(L"Scan\\A", L"Gone", Missing + L"gone.tmp");
    Registry.SetString(L"Scan\\A", L"Here", Present);
    Registry.SetString(L"Scan\\B", L"Lost", Missing + L"lost.tmp");
    MakeForm();
    Form->RegistryCleaner().Starts = {{TRegistryRootKey::CurrentUser, Registry.Path(L"Scan")}};
    Form->btnRegistryCleanerClick();
    ASSERT_EQ(Form->Core().Flow.Page(), pgCleanOptions);
    Form->btnNextClick();
    ASSERT_EQ(Form->Core().Flow.Page(), pgRegistryCleaner);
    TCvTree& List = *Form->lvRegistryCleaner;
    ASSERT_EQ(List.Items().TotalCount(), 2);

    // The list's own menu checks the findings.
    ASSERT_EQ(List.PopupMenu(), Form->mnRegistryCleaner);
    Form->mnRegistryCleaner->Items().Items(0)->Click();
    for (const TRegistryRow& Row : Form->RegistryCleaner().Rows())
        EXPECT_TRUE(Row.Checked);
    Form->mnRegistryCleaner->Items().Items(1)->Click();
    Form->RegistryCleaner().SetChecked(0, true);

    Prompt.Answers = {IPrompt::ResultYes};
    Form->btnRegistryCleanerRemoveClick();
    EXPECT_EQ(Prompt.Asked.size(), 1u) << "asked once";
    EXPECT_EQ(Registry.Value(L"Scan\\A", L"Gone"), L"");
    EXPECT_EQ(Registry.Value(L"Scan\\A", L"Here"), L"sz:" + Present);
    EXPECT_EQ(Registry.Value(L"Scan\\B", L"Lost"), L"sz:" + Missing + L"lost.tmp");
    ASSERT_EQ(List.Items().TotalCount(), 1);
    EXPECT_EQ(List.Items().ItemAtIndex(0)->ColumnTextList()->Strings(0), L"Lost");
}

TEST_F(SystemPages, ASortedFindingsListChecksTheFindingTheUserChecked) {
    const String Missing = L"C:\\qrvtest-missing-" + IntToStr(GetCurrentProcessId()) + L"\\";
    Registry.SetString(L"Scan\\A", L"Gone", Missing + L"gone.tmp");
    Registry.SetString(L"Scan\\B", L"Lost", Missing + L"lost.tmp");
    MakeForm();
    Form->RegistryCleaner().Starts = {{TRegistryRootKey::CurrentUser, Registry.Path(L"Scan")}};
    Form->btnRegistryCleanerClick();
    Form->btnNextClick();
    TCvTree& List = *Form->lvRegistryCleaner;
    ASSERT_EQ(List.Items().TotalCount(), 2);
    EXPECT_EQ(List.SortMode, smClick);
    // Twice: descending, so that the second finding stands first.
    TCvHeaderSection* Key = List.HeaderControl().Sections().ItemByIndex(1);
    List.SortByHeaderClick(Key, false);
    List.SortByHeaderClick(Key, false);
    ASSERT_EQ(List.Items().ItemAtIndex(0)->ColumnTextList()->Strings(0), L"Lost");
    // As a click on the first row's check box does.
    TCvTreeItem* First = List.Items().ItemAtIndex(0);
    First->SetCheckMark(true);
    List.OnItemChecked(&List, First);
    const std::vector<TRegistryRow>& Rows = Form->RegistryCleaner().Rows();
    ASSERT_EQ(Rows.size(), 2u);
    EXPECT_EQ(Rows[0].Finding.Name, L"Gone");
    EXPECT_FALSE(Rows[0].Checked);
    EXPECT_TRUE(Rows[1].Checked) << "the finding of the row clicked";
    EXPECT_EQ(List.GetFocusedItem(), List.Items().ItemAtIndex(0));
}

TEST_F(SystemPages, StopOnTheScanPageEndsTheRegistryWalk) {
    const String Missing = L"C:\\qrvtest-missing-" + IntToStr(GetCurrentProcessId()) + L"\\";
    for (int I = 0; I < 200; ++I)
        Registry.MakeKey(L"Scan\\B\\K" + IntToStr(1000 + I));
    Registry.SetString(L"Scan\\Z", L"Late", Missing + L"late.tmp");
    MakeForm();
    Form->RegistryCleaner().Starts = {{TRegistryRootKey::CurrentUser, Registry.Path(L"Scan")}};
    Form->btnRegistryCleanerClick();
    // A press of Stop, queued for the walk's own message pump.
    Form->Core().OnScanStarted = [this, Started = Form->Core().OnScanStarted](bool ShowsPath) {
        Started(ShowsPath);
        EXPECT_EQ(Form->labScanTitle->Caption(), Message(L"sScanningRegistry"));
        const HWND Stop = Form->btnStopScan->Handle();
        PostMessageW(Stop, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(Stop, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    };
    Form->btnNextClick();
    EXPECT_FALSE(Form->Busy());
    EXPECT_EQ(Form->Core().Flow.Page(), pgRegistryCleaner);
    EXPECT_EQ(Form->lvRegistryCleaner->Items().TotalCount(), 0) << "the walk ended before Z";
}

// ---------------------------------------------------------------- help and launchers

TEST_F(SystemPages, HelpButtonsOpenTheirTopicsThroughTheHandler) {
    MakeForm().CreateAllPages();
    const struct {
        const wchar_t* Button;
        const wchar_t* Shown; // null: the button has no click action
    } Cases[] = {
        {L"btnHelp", L"Help.chm"},
        {L"RoundedFlatSpeedButton1", L"Help.chm::/Clean_My_Computer.htm"},
        {L"RoundedFlatSpeedButton4", L"Help.chm"},
        {L"RoundedFlatSpeedButton13", L"Help.chm::/Functions/Registry_Cleaner.htm"},
        {L"RoundedFlatSpeedButton19", L"Help.chm::/Functions/Internet_Privacy.htm"},
        {L"RoundedFlatSpeedButton28", L"Help.chm::/System_Tweak.htm"},
        {L"RoundedFlatSpeedButton14", nullptr},
        {L"RoundedFlatSpeedButton29", nullptr},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(ToUtf8(Case.Button));
        HelpShown.clear();
        auto& Button = Find<TControl>(Case.Button);
        if (!Case.Shown) {
            EXPECT_FALSE(Button.OnClick);
            continue;
        }
        Click(Case.Button);
        EXPECT_EQ(HelpShown, std::vector<String>{Case.Shown});
    }
    EXPECT_EQ(Find<TControl>(L"RoundedFlatSpeedButton9").Hint,
              L"Detects and removes empty folders.");

    HelpShown.clear();
    const std::unique_ptr<TfrmCookieList> Cookies(NewForm<TfrmCookieList>(App.get()));
    Cookies->ShowHelp();
    const std::unique_ptr<TfrmStartUpEdit> Startup(NewForm<TfrmStartUpEdit>(App.get()));
    Startup->ShowHelp();
    EXPECT_EQ(HelpShown,
              (std::vector<String>{L"Help.chm::/Functions/Internet_Privacy.htm", L"Help.chm"}));
    // Their title button draws the minimise picture: a modal dialog shows none.
    for (const TFlatForm* Dialog :
         {static_cast<TFlatForm*>(Cookies.get()), static_cast<TFlatForm*>(Startup.get())})
        EXPECT_FALSE(Dialog->HelpButton->Visible()) << ToUtf8(Dialog->Name);
}

TEST_F(SystemPages, TheTopRowAndTheDefragmenterGoThroughTheShell) {
    MakeForm().CreateAllPages();
    for (const wchar_t* Button : {L"btnSupport", L"btnTellAFriend", L"labDefragment"})
        Click(Button);
    ASSERT_EQ(ShellRequests.size(), 3u);
    EXPECT_EQ(ShellRequests[0].File, Form->Core().AppDir() + L"feedback.htm");
    EXPECT_TRUE(ShellRequests[1].File.starts_with(L"mailto:?subject="))
        << ToUtf8(ShellRequests[1].File);
    EXPECT_EQ(ShellRequests[2].File, L"defrag.exe");
}

namespace {

// A 24-bit bottom-up bitmap file of one colour.
std::string BitmapFile(int Width, int Height) {
    const int Row = (Width * 3 + 3) / 4 * 4;
    const auto Put = [](std::string& Out, std::uint32_t Value, int Bytes) {
        for (int I = 0; I < Bytes; ++I)
            Out += static_cast<char>((Value >> (8 * I)) & 0xFF);
    };
    std::string File = "BM";
    Put(File, 54 + Row * Height, 4);
    Put(File, 0, 4);
    Put(File, 54, 4);
    Put(File, 40, 4);
    Put(File, Width, 4);
    Put(File, Height, 4);
    Put(File, 1, 2);
    Put(File, 24, 2);
    Put(File, 0, 4);
    Put(File, Row * Height, 4);
    Put(File, 2835, 4);
    Put(File, 2835, 4);
    Put(File, 0, 8);
    File.append(static_cast<std::size_t>(Row * Height), '\x40');
    return File;
}

} // namespace

TEST_F(SystemPages, TheAboutBoxTakesItsPictureSizeAndPlacesTheNamesAfterTheirLeadIns) {
    TFeatureTestContext Texts("sAbout9=Brought to you by\r\n");
    struct {
        const char* Case;
        bool Picture;
        int Width, Height;
    } const Cases[] = {{"without the picture", false, 450, 310},
                       {"with the picture", true, 380, 260}};
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Case);
        TTempFolder AppFolder;
        if (Case.Picture)
            AppFolder.AddFile(L"Data\\about.bmp", BitmapFile(Case.Width, Case.Height));
        const std::unique_ptr<TfrmAbout> About(
            NewForm<TfrmAbout>(App.get(), AppFolder.Path(), Texts.Context));
        EXPECT_EQ(About->ClientWidth(), Case.Width);
        EXPECT_EQ(About->ClientHeight(), Case.Height);
        EXPECT_EQ(About->BorderStyle(), bsSingle);
        EXPECT_EQ(About->Caption(), L"About System Corvanta 2");
        EXPECT_EQ(About->Label9->Caption(), L"Brought to you by");
        EXPECT_GT(About->Label7->Width(), 0);
        EXPECT_EQ(About->Label11->Left(), About->Label7->Left() + About->Label7->Width() + 5);
        EXPECT_EQ(About->Label11->Top(), About->Label7->Top());
        EXPECT_EQ(About->Label10->Left(), About->Label9->Left() + About->Label9->Width() + 3);
        // A button of its own closes it, inside the picture, with Enter and Escape too.
        EXPECT_EQ(About->btnClose->ModalResult, mrCancel);
        EXPECT_TRUE(About->btnClose->Default());
        EXPECT_TRUE(About->btnClose->Cancel);
        EXPECT_LE(About->btnClose->Left() + About->btnClose->Width(), Case.Width);
        EXPECT_LE(About->btnClose->Top() + About->btnClose->Height(), Case.Height);
        for (const TLabel* Text : {About->Label3, About->Label10})
            EXPECT_TRUE(About->btnClose->Top() >= Text->Top() + Text->Height() ||
                        About->btnClose->Left() >= Text->Left() + Text->Width())
                << "the button covers " << ToUtf8(Text->Name);

        std::vector<String> Opened;
        About->OpenLink = [&](const String& Address) { Opened.push_back(Address); };
        for (TLabel* Link : {About->JvLabel2, About->Label11, About->Label10})
            Link->OnClick(Link);
        EXPECT_EQ(Opened, (std::vector<String>{TfrmAbout::ProductAddress, TfrmAbout::MakerAddress,
                                               TfrmAbout::PublisherAddress}));
    }
}
