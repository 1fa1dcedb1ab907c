// Commands act on exactly what the user chose: the row a right press points at, and the files
// that were checked when a loop started, whatever is clicked while the loop runs.
#include "app/TreeLists.h"
#include "classlib/rtl/PathLayer.h"
#include "main/DuplicateFinder.h"
#include "tests/main/MainFormFixture.h"
#include "tests/support/ListPress.h"

#include <functional>

namespace {

class ChosenRowsTest : public MainFormTest {
protected:
    TMenuItem& MenuEntry(TPopupMenu& Menu, int Index) { return *Menu.Items().Items(Index); }
    // The junk road's results over a.tmp, b.tmp and c.tmp.
    void ScanThreeJunkFiles() {
        for (const wchar_t* Name : {L"a.tmp", L"b.tmp", L"c.tmp"})
            Junk.AddFile(Name, "junk");
        MakeForm();
        ScanForJunk(Junk);
    }

    TTempFolder Files;
    TTempFolder Junk;
};

} // namespace

TEST_F(ChosenRowsTest, ARightPressOnAFolderCleanerRowEmptiesThatFolder) {
    const String Names[] = {L"One", L"Two", L"Three"};
    for (const String& Name : Names)
        Files.AddFile(Name + L"\\inside.bin", "x");
    MakeForm();
    Click(L"btnCleanMyComputer");
    Click(L"labFolderCleaner");
    for (const String& Name : Names) {
        PickedFolder = Files.Path() + Name;
        Click(L"btnFolderCleanerAddFolder");
    }
    TCvTree& List = *Form->lvFolderCleaner;
    ASSERT_EQ(ShownRows(List).size(), 3u);
    EXPECT_FALSE(List.MultiSelect());

    RightPressRow(List, Files.Path() + L"Two");
    App->ProcessMessages();
    EXPECT_EQ(List.SelectedCount(), 1) << "one row stays highlighted";
    Prompt.Answer = IPrompt::ResultYes;
    MenuEntry(*Form->mnFolderCleaner, 3).Click(); // Empty
    for (const String& Name : Names)
        EXPECT_EQ(FileExists(Files.Path() + Name + L"\\inside.bin"), Name != L"Two")
            << ToUtf8(Name);
}

TEST_F(ChosenRowsTest, DeleteFileFromThePopupDeletesTheRowUnderThePointerNotACheckedOne) {
    ScanThreeJunkFiles();
    ClickRow(L"lvScanResults", L"a.tmp", pqRowCheckBox);
    ClickRow(L"lvScanResults", L"c.tmp", pqRowCheckBox);

    RightPressRow(*Form->lvScanResults, L"b.tmp");
    App->ProcessMessages();
    EXPECT_EQ(Form->lvScanResults->SelectedCount(), 1);
    Prompt.Answer = IPrompt::ResultYes;
    ChooseMenuItem(L"mnDeleteFile");
    EXPECT_TRUE(FileExists(Junk.Path() + L"a.tmp"));
    EXPECT_FALSE(FileExists(Junk.Path() + L"b.tmp"));
    EXPECT_TRUE(FileExists(Junk.Path() + L"c.tmp"));
    EXPECT_EQ(ShownRows(*Form->lvScanResults), (std::vector<String>{L"a.tmp", L"c.tmp"}));
}

TEST_F(ChosenRowsTest, AGroupChosenWhileCheckedDuplicatesAreDeletedKeepsItsFiles) {
    for (const wchar_t* Copy :
         {L"a\\report.doc", L"b\\report.doc", L"a\\notes.txt", L"b\\notes.txt", L"c\\notes.txt"})
        Files.AddFile(Copy, "same");
    MakeForm();
    Form->Core().ScanPaths.Clear();
    Form->Core().ScanPaths.AddFolder(ExcludeTrailingBackslash(Files.Path()));
    Click(L"labAdvancedFeatures");
    Click(L"labDuplicateFiles");
    Click(L"btnNext");
    Click(L"btnNext");
    ASSERT_EQ(Form->Core().Flow.Page(), pgScanResults);
    TCvTree& Groups = *Form->lvDuplicatesScanResults;
    ASSERT_EQ(ShownRows(Groups).size(), 2u);
    const String Shown = ShownRows(*Form->lvScanResults).at(0);
    const String Other = AnsiSameText(Shown, L"report.doc") ? L"notes.txt" : L"report.doc";
    Click(L"btnScanResultsSelectAll");

    // While the first file goes, the user clicks the other group.
    int Pumps = 0;
    Progress.OnPump = [&] {
        if (++Pumps == 1)
            ClickRow(L"lvDuplicatesScanResults", Other);
    };
    Prompt.Answer = IPrompt::ResultYes;
    Click(L"btnScanResultsCleanAll");
    ChooseMenuItem(L"mnDeleteFiles");
    Progress.OnPump = nullptr;

    EXPECT_EQ(String(Groups.GetSelectedItem()->Text()), Shown) << "the group stays chosen";
    for (const wchar_t* Folder : {L"a\\", L"b\\", L"c\\"}) {
        EXPECT_FALSE(FileExists(Files.Path() + Folder + Shown)) << ToUtf8(Folder);
        // Only the notes have a copy in c.
        if (Folder != String(L"c\\") || Other == L"notes.txt") {
            EXPECT_TRUE(FileExists(Files.Path() + Folder + Other)) << ToUtf8(Folder);
        }
    }
}

// Each handler that can change a list or the page does nothing while a loop runs, and acts
// once it is over.
TEST_F(ChosenRowsTest, TheBusyRuleHoldsForEveryHandlerThatChangesAListOrThePage) {
    ScanThreeJunkFiles();
    for (const TMainPage Page : {pgDrives, pgRegistryCleaner, pgRecoveryFiles, pgUnsplitFiles,
                                 pgSystemTweak, pgScanResults})
        Form->Core().Flow.ShowPage(Page);
    // Rows for the lists the junk road leaves empty.
    for (TCvTree* List : {Form->lvRegistryCleaner, Form->lvRecoveryFiles,
                          Form->lvDuplicatesScanResults, Form->lvUnSplitFiles}) {
        const bool Boxes = List == Form->lvRegistryCleaner || List == Form->lvRecoveryFiles;
        for (const wchar_t* Row : {L"first", L"second"})
            AddListRow(*List, Row, {}, -1, Boxes);
    }
    for (TCvTree* List :
         {Form->lvDuplicatesScanResults, Form->lvUnSplitFiles, Form->lvSystemTweakSelector})
        List->SetFocusedItem(List->Items().ItemAtIndex(0));

    // A check box clicked as the mouse does; what the list and its model show after it.
    const auto Toggle = [](TCvTree& List, int Row) {
        TCvTreeItem* Item = List.Items().ItemAtIndex(Row);
        Item->SetCheckMark(!Item->IsChecked());
        List.OnItemChecked(&List, Item);
    };
    const auto Box = [](const TCvTree& List, int Row) {
        return List.Items().ItemAtIndex(Row)->IsChecked() ? String(L"checked") : L"clear";
    };
    const auto Focused = [](const TCvTree& List) { return IntToStr(FocusedRowIndex(List)); };
    const TScanResults& Results = Form->Core().Results;
    struct TCase {
        const char* Handler;
        std::function<void()> Fire;
        std::function<String()> State;
    };
    const TCase Cases[] = {
        {"a result's check box", [&] { Toggle(*Form->lvScanResults, 1); },
         [&] {
             return Box(*Form->lvScanResults, 1) +
                    (Results.Row(1).Checked ? String(L" kept") : L" not kept");
         }},
        {"a scan path's check box", [&] { Toggle(*Form->DrivesList, 0); },
         [&] {
             return Box(*Form->DrivesList, 0) +
                    (Form->Core().ScanPaths.Row(0).Checked ? String(L" kept") : L" not kept");
         }},
        {"a registry finding's check box", [&] { Toggle(*Form->lvRegistryCleaner, 1); },
         [&] { return Box(*Form->lvRegistryCleaner, 1); }},
        {"a stored file's check box", [&] { Toggle(*Form->lvRecoveryFiles, 1); },
         [&] { return Box(*Form->lvRecoveryFiles, 1); }},
        {"a duplicate group", [&] { FocusRowAt(*Form->lvDuplicatesScanResults, 1); },
         [&] { return Focused(*Form->lvDuplicatesScanResults); }},
        {"a recorded split", [&] { FocusRowAt(*Form->lvUnSplitFiles, 1); },
         [&] { return Focused(*Form->lvUnSplitFiles); }},
        {"a tweak category", [&] { FocusRowAt(*Form->lvSystemTweakSelector, 1); },
         [&] {
             return Focused(*Form->lvSystemTweakSelector) + L" page " +
                    IntToStr(Form->RegTweakNotebook->PageIndex());
         }},
    };
    Click(L"btnScanResultsSelectAll");
    Click(L"btnScanResultsUnSelectAll");
    ClickRow(L"lvScanResults", L"a.tmp", pqRowCheckBox);

    // A loop over the checked results, with every handler fired while it pumps.
    std::vector<String> Before, During;
    int Pumps = 0;
    Progress.OnPump = [&] {
        if (++Pumps != 1)
            return;
        EXPECT_TRUE(Form->Busy());
        for (const TCase& Case : Cases) {
            Before.push_back(Case.State());
            Case.Fire();
            During.push_back(Case.State());
        }
    };
    Prompt.Answer = IPrompt::ResultYes;
    ChooseMenuItem(L"mnDeleteFiles");
    Progress.OnPump = nullptr;
    ASSERT_EQ(During.size(), std::size(Cases));
    EXPECT_FALSE(FileExists(Junk.Path() + L"a.tmp"));
    EXPECT_TRUE(FileExists(Junk.Path() + L"b.tmp")) << "checked during the loop: left alone";

    for (size_t I = 0; I < std::size(Cases); ++I) {
        SCOPED_TRACE(Cases[I].Handler);
        EXPECT_EQ(During[I], Before[I]) << "nothing changes under the loop";
        const String Idle = Cases[I].State();
        Cases[I].Fire();
        EXPECT_NE(Cases[I].State(), Idle) << "the handler acts once the loop is over";
    }
}
