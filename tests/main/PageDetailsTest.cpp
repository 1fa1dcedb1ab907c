// The pages' finer points as the user meets them: the clean menu's zip, backup and move, the
// lists' pictures, sorting and check boxes, columns that fit their list, the focus on arrival,
// the empty-folder results and the help buttons of the pages of two choices.
#include "app/FileInfo.h"
#include "app/Help.h"
#include "app/TreeLists.h"
#include "classlib/gui/Menus.h"
#include "controls/RoundedFlatButton.h"
#include "main/dialogs/CookieListForm.h"
#include "main/dialogs/FTPConnectionsFprm.h"
#include "main/dialogs/OrganizeForm.h"
#include "main/FolderCleaner.h"
#include "main/RecoveryStore.h"
#include "tests/main/MainFormFixture.h"
#include "tests/support/ModalTestSupport.h"

#include <memory>

namespace {

int SectionsWidth(const TCvTree& List) {
    int Width = 0;
    const TCvHeaderSections& Sections = List.HeaderControl().Sections();
    for (int I = 0; I < Sections.SectionCount(); ++I)
        Width += Sections.ItemByIndex(I)->Width();
    return Width;
}

int ListRoom(const TCvTree& List) {
    return List.ClientWidth() - (List.VertBarVisible() ? List.VertScrollBar().Width() : 0);
}

} // namespace

TEST_F(MainFormTest, TheCleanMenuZipsBacksUpAndMovesWhereTheButtonsShow) {
    TTempFolder Fixture;
    Fixture.AddFile(L"letter.doc", "a letter");
    TTempFolder Target;
    Environment.AskArchiveName = [&](String& Name) {
        Name = Target.Path() + L"checked.zip";
        return true;
    };
    MakeForm();
    const auto Shown = [this](const wchar_t* Name) {
        return static_cast<TMenuItem*>(Form->FindComponent(Name))->Visible;
    };
    ScanForJunk(Fixture);
    TMenuItem& Menu = Form->mnScanResultsCleanAll->Items();
    ASSERT_EQ(Menu.Count(), 7);
    for (int I = 3; I < Menu.Count(); ++I)
        EXPECT_FALSE(Menu.Items(I)->Visible) << "junk is not zipped, backed up or moved: " << I;

    Prompt.Answer = IPrompt::ResultOk;
    Click(L"btnBack");
    Click(L"labLargeFiles");
    Click(L"btnNext");
    Form->edLargeOldLarge->SetValue(0);
    Form->btnNextClick();
    ASSERT_EQ(Form->Core().Results.Count(), 1);
    for (int I = 3; I < Menu.Count(); ++I)
        EXPECT_TRUE(Menu.Items(I)->Visible) << I;
    EXPECT_EQ(Menu.Items(4)->Caption, Form->Core().Message(L"mnZipFiles"));
    EXPECT_TRUE(Shown(L"mnBackupFiles"));
    EXPECT_TRUE(Shown(L"mnMoveFiles"));

    // The checked-file zip lists the files first, then makes the archive.
    Click(L"btnScanResultsSelectAll");
    Progress.Labels.clear();
    ChooseMenuItem(L"mnZipFiles");
    EXPECT_TRUE(FileExists(Target.Path() + L"checked.zip"));
    EXPECT_EQ(Progress.Labels, (std::vector<String>{Form->Core().Message(L"sBuildingList"),
                                                    Form->Core().Message(L"sCreatingBackup")}));

    ChooseMenuItem(L"mnBackupFiles");
    EXPECT_EQ(Form->Core().Flow.Page(), pgBackup) << "the backup wizard takes the checked files";
}

TEST_F(MainFormTest, ResultColumnsFitTheListAndShowSizesAndDatesWhole) {
    TTempFolder Fixture;
    Fixture.AddFile(L"five.txt", "12345");
    MakeForm();
    EXPECT_EQ(Form->ActiveControl(), Form->MainNotebook) << "the window opens on its pages";
    Click(L"btnCleanMyComputer");
    Click(L"labLargeFiles");
    // The list hands the focus to its view inside.
    const TWinControl* Active = Form->ActiveControl();
    EXPECT_TRUE(Active && (Active == Form->DrivesList || Active->Parent() == Form->DrivesList))
        << "a scan mode opens on the path list";
    EXPECT_EQ(SectionsWidth(*Form->DrivesList), ListRoom(*Form->DrivesList))
        << "the path list's header reaches its right edge";

    Form->Core().ScanPaths.Clear();
    Form->Core().ScanPaths.AddFolder(ExcludeTrailingBackslash(Fixture.Path()));
    Click(L"btnNext");
    Form->edLargeOldLarge->SetValue(0);
    Form->btnNextClick();
    TCvTree& List = *Form->lvScanResults;
    ASSERT_EQ(List.Items().TotalCount(), 1);
    EXPECT_EQ(SectionsWidth(List), ListRoom(List)) << "every header shows without scrolling";

    const TCvTreeItem* Row = List.Items().ItemAtIndex(0);
    EXPECT_EQ(Row->CellText(2), L"5 " + Form->Core().Message(L"sBytes"));
    const String Date = Row->CellText(4);
    TBitmap Measure;
    Measure.Canvas().Font().Assign(List.Font());
    EXPECT_GT(List.HeaderControl().Sections().ItemByIndex(4)->Width(),
              Measure.Canvas().TextWidth(Date))
        << "the date is not cut: " << ToUtf8(Date);
    EXPECT_TRUE(Form->labScanResultsWastingValue->Visible());
}

TEST_F(MainFormTest, EmptyFolderResultsHaveOneColumnAndNoWastedSpace) {
    TTempFolder Fixture;
    Fixture.AddFile(L"full\\file.txt", "x");
    ASSERT_TRUE(CreateDir(Fixture.Path() + L"empty"));
    MakeForm();
    Click(L"btnCleanMyComputer");
    Click(L"labEmptyFolders");
    Form->Core().ScanPaths.Clear();
    Form->Core().ScanPaths.AddFolder(ExcludeTrailingBackslash(Fixture.Path()));
    Form->btnNextClick();
    ASSERT_EQ(Form->Core().Flow.Page(), pgScanResults);
    TCvTree& List = *Form->lvScanResults;
    ASSERT_EQ(List.Items().TotalCount(), 1);
    EXPECT_EQ(List.HeaderControl().Sections().SectionCount(), 1);
    EXPECT_EQ(SectionsWidth(List), ListRoom(List));
    EXPECT_FALSE(Form->labScanResultsWastingValue->Visible());
    EXPECT_FALSE(static_cast<TControl*>(Form->FindComponent(L"labScanResultsWasting"))->Visible());
}

TEST_F(MainFormTest, TheStoreListShowsDaysAndFilesSortsAndSelectsTheCheckedRow) {
    TTempFolder Files;
    const String First = Files.AddFile(L"first.txt", "1");
    const String Second = Files.AddFile(L"second.txt", "2");
    MakeForm();
    for (const String& File : {First, Second})
        ASSERT_EQ(Form->FileActions().RemoveFile(File, true, false), 0);
    Click(L"labRestoreDeletedFiles");
    TCvTree& List = *Form->lvRecoveryFiles;
    ASSERT_EQ(List.Items().TotalCount(), 3);
    EXPECT_EQ(List.Images(), Form->RecoveryFilesImageList);
    ASSERT_NE(List.Images(), nullptr);
    EXPECT_EQ(List.Images()->Count(), 4);
    EXPECT_EQ(List.Items().ItemAtIndex(0)->MainImage(), lpDay);
    EXPECT_EQ(List.Items().ItemAtIndex(1)->MainImage(), lpFile);
    EXPECT_EQ(List.SortMode, smClick);

    // Sorted by name, the rows still restore the file checked.
    List.SortByHeaderClick(List.HeaderControl().Sections().ItemByIndex(0), false);
    ASSERT_EQ(String(List.Items().ItemAtIndex(1)->Text()), First);
    ClickRow(L"lvRecoveryFiles", First, pqRowCheckBox);
    EXPECT_EQ(List.GetFocusedItem(), List.Items().ItemAtIndex(1)) << "the checked row is focused";
    EXPECT_TRUE(List.Items().ItemAtIndex(1)->IsSelected());
    Prompt.Answer = IPrompt::ResultYes;
    Click(L"btnRecoveryFiles");
    EXPECT_TRUE(FileExists(First));
    EXPECT_FALSE(FileExists(Second));
    Click(L"btnSelectAllRecoveryFiles");
    Click(L"btnDeleteRecoveryFiles");
    DeleteFolderFiles(RecoveryFolderFor(Second), true, true);
}

TEST_F(MainFormTest, TheOtherListsShowTheirPictures) {
    TTempFolder Files;
    const String Folder = ExcludeTrailingBackslash(Files.Path());
    const String File = Files.AddFile(L"notes.txt", "n");
    Environment.PickFolder = [&](HWND, const String&, String& Picked) {
        Picked = Folder;
        return true;
    };
    Environment.PickFiles = [&](HWND, bool, std::vector<String>& Picked) {
        Picked = {File};
        return true;
    };
    MakeForm().CreateAllPages();
    for (TCvTree* List : {Form->lvUnSplitFiles, Form->lvLocalBackupRestore,
                          Form->lvFTPBackupRestore, Form->lvBackupSelectFiles})
        EXPECT_EQ(List->Images(), Form->RecoveryFilesImageList) << ToUtf8(List->Name);
    EXPECT_EQ(Form->lvDuplicatesScanResults->SortMode, smClick);
    EXPECT_EQ(Form->lvDuplicatesScanResults->HeaderControl().Sections().ItemByIndex(2)->FieldType(),
              sftCustom)
        << "the group size sorts by its number";

    Form->btnBackupSelectFilesAddFolderClick();
    Form->btnBackupSelectFilesAddFileClick();
    ASSERT_EQ(Form->lvBackupSelectFiles->Items().TotalCount(), 2);
    EXPECT_EQ(Form->lvBackupSelectFiles->Items().ItemAtIndex(0)->MainImage(), lpFolder);
    EXPECT_EQ(Form->lvBackupSelectFiles->Items().ItemAtIndex(1)->MainImage(), lpFile);

    ASSERT_TRUE(Form->FolderCleaner().Add(Folder));
    Click(L"btnCleanMyComputer");
    Click(L"labFolderCleaner");
    ASSERT_EQ(Form->lvFolderCleaner->Items().TotalCount(), 1);
    String TypeName;
    EXPECT_EQ(Form->lvFolderCleaner->Items().ItemAtIndex(0)->MainImage(),
              GetFileTypeInfo(Form->Core().AppDir(), TypeName))
        << "a folder's icon";
}

TEST_F(MainFormTest, TheHelpButtonsOfThePagesOfTwoChoicesStandUnderTheirLinks) {
    MakeForm().CreateAllPages();
    const struct {
        const wchar_t* Help;
        const wchar_t* Picture;
        const wchar_t* Link;
    } Choices[] = {
        {L"RoundedFlatSpeedButton20", L"btnSplitFiles", L"labSplitFiles"},
        {L"RoundedFlatSpeedButton21", L"btnCombineFiles", L"labCombineFiles"},
        {L"RoundedFlatSpeedButton22", L"btnBackupRestoreBackupFiles",
         L"labBackupRestoreBackupFiles"},
        {L"RoundedFlatSpeedButton23", L"btnBackupRestoreRestoreFiles",
         L"labBackupRestoreRestoreFiles"},
        {L"RoundedFlatSpeedButton24", L"btnBackupLocal", L"labBackupLocal"},
        {L"RoundedFlatSpeedButton25", L"btnBackupRemote", L"labBackupRemote"},
    };
    for (const auto& Choice : Choices) {
        SCOPED_TRACE(ToUtf8(Choice.Help));
        const auto* Help = dynamic_cast<TControl*>(Form->FindComponent(Choice.Help));
        const auto* Picture = dynamic_cast<TControl*>(Form->FindComponent(Choice.Picture));
        const auto* Link = dynamic_cast<TControl*>(Form->FindComponent(Choice.Link));
        ASSERT_TRUE(Help && Picture && Link);
        const TRect Button = Help->BoundsRect();
        EXPECT_GE(Button.Left, Picture->BoundsRect().Right) << "beside the picture, not on it";
        EXPECT_EQ(Button.Left, Link->Left());
        EXPECT_GE(Button.Top, Link->BoundsRect().Bottom);
        EXPECT_LT(Button.Bottom, Picture->BoundsRect().Bottom + 8) << "with its own choice";
    }
}

TEST_F(MainFormTest, TheOrganizeDialogShowsItsFoldersByTheirShellNamesAndIcons) {
    TTempFolder Files;
    const String Folder = Files.Path() + L"Sorted";
    ASSERT_TRUE(CreateDir(Folder));
    MakeForm();
    TOrganizeFolders Folders(*Form->Core().Tables().OrganizeToFoldersTable);
    Folders.Add(Folder);
    const std::unique_ptr<TfrmOrganize> Dialog(
        NewForm<TfrmOrganize>(App.get(), Folders, Environment.PickFolder));
    String Shown;
    int Image = -1;
    bool Pictures = false;
    WhenWindowShown<TfrmOrganize>(Dialog->Caption(), [&](TfrmOrganize& Shows) {
        const TCvTreeItem* Row = Shows.lvFolders->Items().ItemAtIndex(0);
        Shown = Row ? String(Row->Text()) : String();
        Image = Row ? Row->MainImage() : -1;
        Pictures = Shows.lvFolders->Images() != nullptr;
        ::PostClick(Shows.btnOK->Handle());
    });
    ASSERT_TRUE(Dialog->Execute());
    EXPECT_EQ(Dialog->SelectedFolder, Folder);
    SHFILEINFOW Info{};
    SHGetFileInfoW(Folder.c_str(), 0, &Info, sizeof(Info), SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX);
    EXPECT_EQ(Shown, String(Info.szDisplayName));
    EXPECT_EQ(Image, Info.iIcon);
    EXPECT_TRUE(Pictures) << "the system's icons";

    // Both pickers open the help file at its start; their title bars show no help button.
    std::vector<String> Topics;
    const THelpHandler Saved =
        SetHelpHandler([&](const String&, const String& Topic) { Topics.push_back(Topic); });
    const std::unique_ptr<TfrmFTPConnections> Connections(
        NewForm<TfrmFTPConnections>(App.get(), Form->Backup()));
    for (TFlatForm* Picker :
         {static_cast<TFlatForm*>(Dialog.get()), static_cast<TFlatForm*>(Connections.get())}) {
        EXPECT_FALSE(Picker->HelpButton->Visible());
        Picker->HelpButton->Click();
    }
    SetHelpHandler(Saved);
    EXPECT_EQ(Topics, (std::vector<String>{String(), String()}));
}
