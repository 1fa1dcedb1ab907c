// The folder cleaner: the folders the user empties now and then, with the buttons and the
// list's popup menu to add, remove, explore and empty one.
#include "app/FileInfo.h"
#include "app/QRVDataMod.h"
#include "app/TreeLists.h"
#include "classlib/gui/Menus.h"
#include "main/FolderCleaner.h"
#include "main/MainForm.h"

void TfrmMain::CreateFolderCleanerPage(TPage& Page) {
    MakeLabel(Page, L"labFolderCleanerTitle", Bounds(16, 8, 500, 15));
    lvFolderCleaner = MakeTreeList(*this, Page, L"lvFolderCleaner", Bounds(16, 28, 515, 340));
    lvFolderCleaner->SetImages(SystemImages);
    lvFolderCleaner->SetImages2(SecurityImageList);

    struct TCommand {
        const wchar_t* Button;
        const wchar_t* MenuKey; // the popup entry's message
        int Glyph;
        void (TfrmMain::*Click)();
    };
    const TCommand Commands[] = {
        {L"btnFolderCleanerAddFolder", L"sAdd", GlyphAddItem,
         &TfrmMain::btnFolderCleanerAddFolderClick},
        {L"btnFolderCleanerRemoveFolder", L"sDelete", GlyphRemove,
         &TfrmMain::btnFolderCleanerRemoveFolderClick},
        {L"btnFolderCleanerExploreFolder", L"mnExplore", GlyphBrowse,
         &TfrmMain::btnFolderCleanerExploreFolderClick},
        {L"btnFolderCleanerEmptyFolder", L"mnEmpty", GlyphDiscard,
         &TfrmMain::btnFolderCleanerEmptyFolderClick},
    };
    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    mnFolderCleaner = new TPopupMenu(this);
    mnFolderCleaner->Name = L"mnFolderCleaner";
    int Left = 16;
    for (const TCommand& Command : Commands) {
        const auto Click = [this, Action = Command.Click] { (this->*Action)(); };
        MakeButton(Page, Command.Button, Bounds(Left, 378, 124, 25), Inside, Command.Glyph, Click);
        auto* Entry = new TMenuItem(this);
        Entry->Caption = FCore->Message(Command.MenuKey);
        Entry->OnClick = Guarded(Click);
        mnFolderCleaner->Items().Add(Entry);
        Left += 130;
    }
    lvFolderCleaner->SetPopupMenu(mnFolderCleaner);
}

void TfrmMain::ShowFolderCleanerFolders() {
    lvFolderCleaner->HeaderControl().Sections().RemoveAllSections();
    AddHeaderColumn(*lvFolderCleaner, FCore->Text(L"lvFolderCleanerColumnName1", L"Caption"), 350);
    lvFolderCleaner->Items().BeginUpdate();
    lvFolderCleaner->Items().RemoveAll();
    const std::vector<String>& Folders = FFolderCleaner->Folders();
    String TypeName;
    const int FolderIcon = GetFileTypeInfo(FCore->AppDir(), TypeName);
    for (int I = 0; I < static_cast<int>(Folders.size()); ++I)
        AddTreeRow(*lvFolderCleaner, nullptr, Folders[I], {}, I)->SetMainImage(FolderIcon);
    lvFolderCleaner->Items().EndUpdate();
    FitColumnsToList(*lvFolderCleaner);
    if (lvFolderCleaner->Items().TotalCount() > 0)
        lvFolderCleaner->SetFocusedItem(lvFolderCleaner->Items().ItemAtIndex(0));
}

void TfrmMain::btnFolderCleanerClick() {
    FFolderCleaner->Load();
    FCore->Flow.EnterMode(mdFolderCleaner);
    ShowFolderCleanerFolders();
    lvFolderCleaner->SetFocus();
}

void TfrmMain::btnFolderCleanerAddFolderClick() {
    String Folder;
    if (!PickFolder(L"Select Folder", Folder))
        return;
    FFolderCleaner->Add(Folder);
    ShowFolderCleanerFolders();
    lvFolderCleaner->SetFocusedItem(
        lvFolderCleaner->Items().ItemAtIndex(lvFolderCleaner->Items().TotalCount() - 1));
}

void TfrmMain::btnFolderCleanerRemoveFolderClick() {
    const int Index = FocusedRowPlace(*lvFolderCleaner);
    if (Index >= 0 && FFolderCleaner->Remove(Index))
        ShowFolderCleanerFolders();
}

void TfrmMain::btnFolderCleanerExploreFolderClick() {
    const int Index = FocusedRowPlace(*lvFolderCleaner);
    if (Index >= 0)
        FFolderCleaner->Explore(Index);
}

void TfrmMain::btnFolderCleanerEmptyFolderClick() {
    const int Index = FocusedRowPlace(*lvFolderCleaner);
    if (Index >= 0)
        RunLoop([&] { FFolderCleaner->Empty(Index); });
}
