// What the configuration window shows of its state: the shown function's button stays down,
// Run now ends in front with a word of what ran, and only lists whose check marks are stored
// show check boxes.
#include "tests/scheduler/SchedFormFixture.h"

#include <vector>

namespace {

// The names of the function buttons that are down.
std::vector<String> DownButtons(const TfrmSchedulerMain& W) {
    std::vector<String> Down;
    for (const TFlatButton* Button : W.FuncButtons)
        if (Button->Down())
            Down.push_back(Button->Name);
    return Down;
}

std::vector<const TCvTreeItem*> AllRows(const TCvTree& List) {
    std::vector<const TCvTreeItem*> Rows;
    for (int I = 0; I < List.Items().TotalCount(); ++I)
        Rows.push_back(List.Items().ItemAtIndex(I));
    return Rows;
}

} // namespace

TEST_F(SchedMainFormTest, TheShownFunctionsButtonAloneStaysDown) {
    Folder.AddFile(L"qvsched.ini", "");
    TfrmSchedulerMain& W = Start();
    EXPECT_EQ(DownButtons(W), std::vector<String>{L"btnRegistryCleaner"});
    W.FuncButtonClick(sfFolderCleaner);
    EXPECT_EQ(DownButtons(W), std::vector<String>{L"btnFolderCleaner"});
    W.FuncButtonClick(sfJunkFiles);
    W.FuncButtonClick(sfJunkFiles); // a second press keeps it down
    EXPECT_EQ(DownButtons(W), std::vector<String>{L"btnJunkFiles"});
    W.btnCancelClick();
    W.mnConfigClick();
    EXPECT_EQ(DownButtons(W), std::vector<String>{L"btnJunkFiles"}) << "opened again";
}

TEST_F(SchedMainFormTest, RunNowEndsWithTheWindowInFrontAndANoticeOfWhatRan) {
    Folder.AddFile(L"Clean\\a.tmp", "x");
    TfrmSchedulerMain& W = Start();
    W.mnConfigClick();
    W.FuncButtonClick(sfFolderCleaner);
    SetRows(*W.FoldersTree, {Folder.Path() + L"Clean"});
    W.btnRunNowClick();
    EXPECT_FALSE(PathPresent(Folder.Path() + L"Clean\\a.tmp"));
    ASSERT_EQ(Notices.size(), 1u);
    EXPECT_EQ(Notices[0].Text, W.Funcs[sfFolderCleaner].Name + L" has run.");
    EXPECT_EQ(Notices[0].Active, W.Handle()) << "the window is in front when the run ends";
    EXPECT_TRUE(IsWindowEnabled(W.Handle()));

    // A run the timer starts tells nothing: the user did not ask for it.
    Notices.clear();
    W.Funcs[sfFolderCleaner].Enabled = true;
    W.Funcs[sfFolderCleaner].Intervals = siMinutes;
    Clock.Value += 1;
    W.TimerTimer();
    EXPECT_TRUE(Notices.empty());
}

TEST_F(SchedMainFormTest, OnlyListsWhoseCheckMarksAreStoredShowCheckBoxes) {
    const std::string Text =
        "[Section3]\r\nParameters=C:\\Old|\r\n[Section4]\r\nParameters=C:\\a.exe|"
        "\r\n[Section5]\r\nParameters=C:\\Junk|\r\n";
    Folder.AddFile(L"qvsched.ini", Text);
    TfrmSchedulerMain& W = Start();
    W.mnConfigClick();
    for (const TCvTree* List : {W.RegistryList, W.PrivacyTree}) {
        SCOPED_TRACE(ToUtf8(List->Name));
        int Boxes = 0;
        for (const TCvTreeItem* Row : AllRows(*List))
            Boxes += Row->CheckBoxShown();
        EXPECT_EQ(Boxes, List == W.RegistryList ? 3 : 9);
    }
    NextPick = L"C:\\Picked";
    const struct {
        int Func;
        TCvTree* List;
        void (TfrmSchedulerMain::*Add)();
    } Lists[] = {{sfFolderCleaner, W.FoldersTree, &TfrmSchedulerMain::btnAddFolderClick},
                 {sfAppLauncher, W.LaunchTree, nullptr},
                 {sfJunkFiles, W.lvJunkFolders, &TfrmSchedulerMain::btnJunkAddClick}};
    for (const auto& L : Lists) {
        SCOPED_TRACE(ToUtf8(L.List->Name));
        W.FuncButtonClick(L.Func);
        if (L.Add)
            (W.*L.Add)();
        const auto Rows = AllRows(*L.List);
        EXPECT_EQ(Rows.size(), L.Add ? 2u : 1u) << "the stored row, and the added one";
        for (const TCvTreeItem* Row : Rows)
            EXPECT_FALSE(Row->CheckBoxShown()) << ToUtf8(Row->Text());
    }
}
