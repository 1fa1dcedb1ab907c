// The duplicate, store, folder-cleaner, split and backup pages as the user drives them, with the
// pickers and the message box faked: each page shows its logic's data and runs its commands.
#include "app/QRVUtils.h"
#include "app/TreeLists.h"
#include "classlib/gui/Menus.h"
#include "controls/FlatCheckBox.h"
#include "controls/FlatEdit.h"
#include "controls/FlatSpinEdit.h"
#include "classlib/rtl/PathLayer.h"
#include "main/DuplicateFinder.h"
#include "main/FileActions.h"
#include "main/FolderCleaner.h"
#include "main/RecoveryStore.h"
#include "main/SplitPages.h"
#include "tests/main/MainFormFixture.h"

namespace {

class MainFormPagesTest : public MainFormTest {
protected:
    static void Focus(TCvTree& List, int Index) {
        List.SetFocusedItem(List.Items().ItemAtIndex(Index));
    }

    TTempFolder Files;
};

} // namespace

TEST_F(MainFormPagesTest, ChoosingADuplicateGroupShowsItsFilesThatAreStillOnDisk) {
    for (const wchar_t* Copy : {L"a\\report.doc", L"b\\report.doc", L"c\\REPORT.doc"})
        Files.AddFile(Copy, "same size");
    Files.AddFile(L"a\\notes.txt", "1");
    Files.AddFile(L"b\\notes.txt", "2");
    Files.AddFile(L"a\\single.txt", "alone");
    MakeForm();
    Form->Core().ScanPaths.Clear();
    Form->Core().ScanPaths.AddFolder(ExcludeTrailingBackslash(Files.Path()));
    Click(L"labAdvancedFeatures");
    Click(L"labDuplicateFiles");
    ASSERT_EQ(Form->Core().Flow.Mode(), mdDuplicateFiles);
    Click(L"btnNext");
    ASSERT_EQ(Form->CleanOptionsNoteBook->ActivePage(), L"DuplicatesFiles");
    Click(L"btnNext");

    ASSERT_EQ(Form->Core().Flow.Page(), pgScanResults);
    TCvTree& Groups = *Form->lvDuplicatesScanResults;
    EXPECT_TRUE(Groups.Visible());
    ASSERT_EQ(ShownRows(Groups).size(), 2u) << "report.doc three times, notes.txt twice; no single";
    const int Report = AnsiSameText(ShownRows(Groups)[0], L"report.doc") ? 0 : 1;

    DeleteFileW(ExtendedPath(Files.Path() + L"b\\report.doc").c_str());
    Groups.SetSelectedItem(Groups.Items().ItemAtIndex(1 - Report));
    Groups.SetSelectedItem(Groups.Items().ItemAtIndex(Report));
    const TScanResults& Results = Form->Core().Results;
    ASSERT_EQ(Results.Count(), 2) << "the copy deleted since the scan is not shown";
    for (int I = 0; I < Results.Count(); ++I) {
        EXPECT_TRUE(FileExists(Results.File(I).FullName()));
        EXPECT_TRUE(AnsiSameText(Results.File(I).Name, L"report.doc"));
    }
    // The splitter beside the groups gives room to one list from the other.
    TControl& Splitter = *static_cast<TControl*>(Form->FindComponent(L"spScanResultsSplitter"));
    const int FilesRight = Form->lvScanResults->Left() + Form->lvScanResults->Width();
    const int GroupsWidth = Groups.Width();
    const HWND Panel = Form->pnlScanResults->Handle();
    const int X = Splitter.Left() + 2, Y = Splitter.Top() + 20;
    SendMessageW(Panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
    SendMessageW(Panel, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(X + 40, Y));
    SendMessageW(Panel, WM_LBUTTONUP, 0, MAKELPARAM(X + 40, Y));
    EXPECT_EQ(Groups.Width(), GroupsWidth + 40);
    EXPECT_EQ(Form->lvScanResults->Left(), Splitter.Left() + Splitter.Width());
    EXPECT_EQ(Form->lvScanResults->Left() + Form->lvScanResults->Width(), FilesRight);
}

TEST_F(MainFormPagesTest, TheAllowedListTakesNamesAndItsNamesAreNeverGrouped) {
    std::vector<String> Answers{L"*.tmp", L"  "};
    Environment.AskAllowedDuplicate = [&](String& Name) {
        if (Answers.empty())
            return false;
        Name = Answers.front();
        Answers.erase(Answers.begin());
        return true;
    };
    MakeForm();
    Click(L"labAdvancedFeatures");
    Click(L"labDuplicateFiles");
    Click(L"btnNext");
    for (int Press = 0; Press < 3; ++Press) // a mask, a blank name, then Cancel
        Click(L"btnAddAllowedDuplicates");
    EXPECT_EQ(ShownRows(*Form->lvDuplicatesOptions), std::vector<String>{L"*.tmp"});
    EXPECT_EQ(Form->Core().AllowedDuplicateMasks, L"*.tmp");

    Focus(*Form->lvDuplicatesOptions, 0);
    Click(L"btnDeleteAllowedDuplicates");
    EXPECT_TRUE(ShownRows(*Form->lvDuplicatesOptions).empty());
    EXPECT_EQ(Form->Core().Tables().DuplicatesTable->RecordCount(), 0);
}

TEST_F(MainFormPagesTest, TheFolderCleanerAddsEmptiesAndRemovesAFolder) {
    Files.AddFile(L"Downloads\\a.bin", std::string(100, 'a'));
    Files.AddFile(L"Downloads\\sub\\b.bin", std::string(200, 'b'));
    PickedFolder = Files.Path() + L"Downloads";
    MakeForm();
    Click(L"btnCleanMyComputer");
    Click(L"labFolderCleaner");
    ASSERT_EQ(Form->Core().Flow.Page(), pgFolderCleaner);
    EXPECT_EQ(Form->labActivePage->Caption(), Form->Core().Message(L"sModFolderCleaner"));
    Click(L"btnFolderCleanerAddFolder");
    ASSERT_EQ(ShownRows(*Form->lvFolderCleaner), std::vector<String>{PickedFolder});

    Prompt.Answers = {IPrompt::ResultNo};
    Click(L"btnFolderCleanerEmptyFolder");
    EXPECT_TRUE(FileExists(PickedFolder + L"\\a.bin")) << "No empties nothing";

    Prompt.Answer = IPrompt::ResultYes;
    Click(L"btnFolderCleanerEmptyFolder");
    EXPECT_FALSE(FileExists(PickedFolder + L"\\a.bin"));
    EXPECT_FALSE(DirectoryExists(PickedFolder + L"\\sub"));
    EXPECT_TRUE(DirectoryExists(PickedFolder)) << "the folder itself stays";
    EXPECT_EQ(Form->Core().Stats.CurrentCount(FolderCleanerCategory), 2);
    EXPECT_EQ(Form->Core().Stats.CurrentSize(FolderCleanerCategory), 300);
    EXPECT_FALSE(Form->Busy());

    // The list's popup offers the same commands.
    ASSERT_EQ(Form->mnFolderCleaner->Items().Count(), 4);
    Focus(*Form->lvFolderCleaner, 0);
    Form->mnFolderCleaner->Items().Items(1)->Click();
    EXPECT_TRUE(ShownRows(*Form->lvFolderCleaner).empty());
    EXPECT_EQ(Form->Core().Tables().FolderCleanerTable->RecordCount(), 0);
}

TEST_F(MainFormPagesTest, AFileSplitOnTheSplitPageIsJoinedBackFromTheCombinePage) {
    std::string Bytes(250000, '\0');
    for (size_t I = 0; I < Bytes.size(); ++I)
        Bytes[I] = static_cast<char>(I * 7 % 251);
    const String Original = Files.AddFile(L"big.dat", Bytes);
    const String Parts = Files.Path() + L"parts\\";
    ForceDirectories(Parts);
    MakeForm();
    Click(L"labAdvancedFeatures");
    Click(L"labSplitCombineFiles");
    Click(L"labSplitFiles");
    ASSERT_EQ(Form->Core().Flow.Page(), pgSplitFiles);

    // A size out of range is refused with the logic's message; nothing is written.
    Form->edSplitFilesFileToSplit->SetText(Original);
    Form->edSplitFilesDestination->SetText(Parts);
    Form->edSplitFilesVolumeSize->SetText(L"10");
    Click(L"btnSplitFilesSplit");
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, Form->Core().Message(L"sSplitSizeOutOfRange"));
    EXPECT_FALSE(FileExists(Parts + L"big.spl"));
    EXPECT_EQ(Form->Core().Flow.Page(), pgSplitFiles);

    Form->edSplitFilesVolumeSize->SetText(L"100");
    Form->cmbSplitFilesSizeUM->SetItemIndex(1); // KB
    Form->chkSplitFilesDeleteFile->SetChecked(true);
    Click(L"btnSplitFilesSplit");
    EXPECT_TRUE(FileExists(Parts + L"big.spl"));
    EXPECT_TRUE(FileExists(Parts + L"big.002"));
    EXPECT_FALSE(FileExists(Original)) << "deleted after the split";
    EXPECT_EQ(Prompt.Asked.back().Text, Form->Core().Message(L"SplitFileOK"));

    Click(L"btnBack");
    Click(L"labCombineFiles");
    ASSERT_EQ(ShownRows(*Form->lvUnSplitFiles), std::vector<String>{L"big.dat"});
    Form->lvUnSplitFiles->SetSelectedItem(Form->lvUnSplitFiles->Items().ItemAtIndex(0));
    EXPECT_EQ(Form->edUnsplitFilesDestination->Text(), Files.Path());
    Focus(*Form->lvUnSplitFiles, 0);
    Prompt.Answer = IPrompt::ResultOk;
    Click(L"btnUnsplitFilesCombine");
    EXPECT_EQ(ReadBytes(Original), Bytes);

    Click(L"btnUnsplitFilesDelete");
    EXPECT_TRUE(ShownRows(*Form->lvUnSplitFiles).empty());
    EXPECT_TRUE(FileExists(Parts + L"big.spl")) << "forgetting leaves the parts";
}

TEST_F(MainFormPagesTest, TheStorePageRestoresAndDropsByRecord) {
    const String Kept = Files.AddFile(L"keep.txt", "restore me");
    const String Dropped = Files.AddFile(L"drop.txt", "forget me");
    MakeForm();
    ASSERT_TRUE(Form->FileActions().RemoveFile(Kept, true, false) == 0);
    ASSERT_TRUE(Form->FileActions().RemoveFile(Dropped, true, false) == 0);
    ASSERT_FALSE(FileExists(Kept));
    TTable& Table = *Form->Core().Tables().RecoveryFilesTable;
    ASSERT_EQ(Table.RecordCount(), 2);
    const String StoreFolder = RecoveryFolderFor(Kept);

    Click(L"labRestoreDeletedFiles");
    ASSERT_EQ(Form->Core().Flow.Page(), pgRecoveryFiles);
    TCvTree& List = *Form->lvRecoveryFiles;
    ASSERT_EQ(ShownRows(List).size(), 3u) << "one day, two files";
    EXPECT_EQ(ShownRows(List)[1], Dropped) << "the later-stored file first";

    List.Items().ItemAtIndex(2)->SetCheckMark(true);
    Prompt.Answer = IPrompt::ResultYes;
    Click(L"btnRecoveryFiles");
    EXPECT_EQ(ReadBytes(Kept), "restore me");
    EXPECT_EQ(ShownRows(List), (std::vector<String>{ShownRows(List)[0], Dropped}))
        << "the day row stays";
    EXPECT_EQ(Table.RecordCount(), 1);

    Click(L"btnSelectAllRecoveryFiles");
    EXPECT_FALSE(List.Items().ItemAtIndex(0)->CheckBoxShown()) << "day rows have no check box";
    Click(L"btnDeleteRecoveryFiles");
    EXPECT_EQ(Table.RecordCount(), 0);
    EXPECT_TRUE(ShownRows(List).empty()) << "no empty day heading stays";
    EXPECT_FALSE(FileExists(Dropped)) << "dropping leaves the stored file in the store";
    DeleteFolderFiles(StoreFolder, true, true);
}

TEST_F(MainFormPagesTest, CheckedResultsAreMovedIntoTheOrganizeFolderAndZipped) {
    const String First = Files.AddFile(L"found\\one.txt", "1");
    const String Second = Files.AddFile(L"found\\two.txt", "2");
    const String Target = Files.Path() + L"sorted";
    std::vector<String> Archives;
    Environment.PickOrganizeFolder = [&](String& Folder) {
        Folder = Target;
        return true;
    };
    Environment.AskArchiveName = [&](String& Name) {
        Name = Files.Path() + L"found.zip";
        Archives.push_back(Name);
        return true;
    };
    MakeForm();
    TMainCore& Core = Form->Core();
    for (const String& File : {First, Second}) {
        auto Row = std::make_unique<TFile>();
        Row->SetPath(ExtractFilePath(File));
        Row->Name = ExtractFileName(File);
        Core.Results.Append(std::move(Row), String());
        Core.Results.SetChecked(Core.Results.Count() - 1, true);
    }
    Prompt.Answer = IPrompt::ResultOk;
    Form->btnScanResultsPackClick();
    ASSERT_EQ(Archives.size(), 1u);
    EXPECT_TRUE(FileExists(Archives[0]));

    Prompt.Answer = IPrompt::ResultYes; // create the missing folder
    Form->btnScanResultsOrganizeClick();
    EXPECT_TRUE(FileExists(Target + L"\\one.txt"));
    EXPECT_TRUE(FileExists(Target + L"\\two.txt"));
    EXPECT_EQ(Core.Results.Count(), 0);
    EXPECT_FALSE(Form->Busy());
}

TEST(ArchiveDialog, AsksWithTheSaveDialogForAZipAndAsksBeforeReplacing) {
    bool Asked = false;
    String Name;
    const bool Chosen = AskArchiveFileName(nullptr, L"Archive", Name, [&](OPENFILENAMEW& Params) {
        Asked = true;
        EXPECT_TRUE(Params.Flags & OFN_OVERWRITEPROMPT);
        EXPECT_FALSE(Params.Flags & OFN_FILEMUSTEXIST);
        EXPECT_STREQ(Params.lpstrDefExt, L"zip");
        EXPECT_STREQ(Params.lpstrFilter, L"ZIP Files(*.zip)");
        EXPECT_STREQ(Params.lpstrTitle, L"Archive");
        // It starts in the user's documents, not in the program's folder.
        EXPECT_FALSE(GetSpecialFolderPath(CSIDL_PERSONAL).empty());
        EXPECT_STREQ(Params.lpstrInitialDir, GetSpecialFolderPath(CSIDL_PERSONAL).c_str());
        wcscpy(Params.lpstrFile, L"C:\\backups\\docs.zip");
        return true;
    });
    EXPECT_TRUE(Asked);
    EXPECT_TRUE(Chosen);
    EXPECT_EQ(Name, L"C:\\backups\\docs.zip");
}

// Backing up checked results returns to them in the mode they were made in, so the left
// column, Back and the statistics of later removals follow that mode, not the backup's.
TEST_F(MainFormPagesTest, BackingUpCheckedResultsReturnsInTheirOwnMode) {
    Files.AddFile(L"big.bin", std::string(3000, 'b'));
    Files.AddFile(L"bigger.bin", std::string(4000, 'b'));
    MakeForm();
    Form->Core().ScanPaths.Clear();
    Form->Core().ScanPaths.AddFolder(ExcludeTrailingBackslash(Files.Path()));
    Click(L"btnCleanMyComputer");
    Click(L"labLargeFiles");
    Click(L"btnNext");
    Form->edLargeOldLarge->SetValue(2);
    Form->cmbSizeUM->SetItemIndex(1); // KB
    Form->btnNextClick();
    ASSERT_EQ(Form->Core().Flow.Page(), pgScanResults);
    ASSERT_EQ(Form->Core().Flow.Mode(), mdLargeFiles);
    const TMainArea Area = Form->Core().Flow.ActiveArea();
    ClickRow(L"lvScanResults", L"big.bin", pqRowCheckBox);
    Click(L"btnScanResultsBackup");
    ASSERT_EQ(Form->Core().Flow.Page(), pgBackup);
    Click(L"labBackupLocal");
    ASSERT_EQ(Form->Core().Flow.Page(), pgBackupOptions);
    const String Archive = Files.Path() + L"results.zip";
    Form->edBackupLocalZIPFileName->SetText(Archive);
    Prompt.Answer = IPrompt::ResultOk;
    Click(L"btnBackup");

    EXPECT_TRUE(FileExists(Archive));
    EXPECT_EQ(Form->Core().Flow.Page(), pgScanResults);
    EXPECT_EQ(Form->Core().Flow.Mode(), mdLargeFiles);
    EXPECT_EQ(Form->Core().Flow.ActiveArea(), Area);
    Click(L"btnBack");
    EXPECT_EQ(Form->Core().Flow.Page(), pgCleanMyComputer);
}
