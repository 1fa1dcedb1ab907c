// The deleted-file store as the user sees it: the stored files by the day they were stored,
// restored to their old places or dropped from the list.
#include "app/QRVDataMod.h"
#include "app/TreeLists.h"
#include "main/MainForm.h"
#include "main/RecoveryStore.h"

void TfrmMain::CreateRecoveryFilesPage(TPage& Page) {
    MakeLabel(Page, L"labRecoveryFiles", Bounds(16, 8, 500, 15));
    lvRecoveryFiles = MakeTreeList(*this, Page, L"lvRecoveryFiles", Bounds(16, 26, 515, 342));
    lvRecoveryFiles->ShowCheckboxes = true;
    lvRecoveryFiles->SetImages(RecoveryFilesImageList);
    lvRecoveryFiles->SortMode = smClick;
    lvRecoveryFiles->OnItemChecked =
        GuardedCheck([this](TCvTreeItem* Item) { SelectCheckedRow(*lvRecoveryFiles, *Item); });
    AddHeaderColumn(*lvRecoveryFiles, FCore->Text(L"lvRecoveryFilesColumnName1", L"Caption"), 480);
    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    MakeButton(Page, L"btnSelectAllRecoveryFiles", Bounds(16, 378, 110, 25), Inside, GlyphSelectAll,
               [this] { btnSelectAllRecoveryFilesClick(); });
    MakeButton(Page, L"btnUnselectAllRecoveryFiles", Bounds(132, 378, 110, 25), Inside,
               GlyphSelectNone, [this] { btnUnselectAllRecoveryFilesClick(); });
    MakeButton(Page, L"btnRecoveryFiles", Bounds(281, 378, 110, 25), Inside, GlyphStoredFiles,
               [this] { btnRecoveryFilesClick(); });
    MakeButton(Page, L"btnDeleteRecoveryFiles", Bounds(397, 378, 134, 25), Inside, GlyphDiscard,
               [this] { btnDeleteRecoveryFilesClick(); });
}

void TfrmMain::ShowRecoveryFiles() {
    EnsurePageControls(pgRecoveryFiles);
    lvRecoveryFiles->Items().BeginUpdate();
    lvRecoveryFiles->Items().RemoveAll();
    for (TRecoveryDay& Day : FRecoveryList->Days) {
        TCvTreeItem* DayRow = AddTreeRow(*lvRecoveryFiles, nullptr, DateToStr(Day.Date));
        DayRow->SetMainImage(lpDay);
        for (TRecoveryRow& File : Day.Files) {
            TCvTreeItem* Row = AddTreeRow(*lvRecoveryFiles, DayRow, File.Entry.OriginalFileName);
            Row->SetMainImage(lpFile);
            Row->SetCheckBoxShown(true);
            Row->SetFlag(ifCheckBoxEnabled, true);
            Row->SetCheckMark(File.Checked);
            Row->Data = &File;
        }
        DayRow->SetExpanded(true);
    }
    lvRecoveryFiles->Items().EndUpdate();
    FitColumnsToList(*lvRecoveryFiles);
}

void TfrmMain::ReadRecoveryChecks() {
    for (int I = 0; I < lvRecoveryFiles->Items().TotalCount(); ++I) {
        const TCvTreeItem* Row = lvRecoveryFiles->Items().ItemAtIndex(I);
        if (auto* File = static_cast<TRecoveryRow*>(Row->Data))
            File->Checked = Row->IsChecked();
    }
}

void TfrmMain::btnRestoreDeletedFilesClick() {
    FCore->Flow.EnterArea(arRestoreDeletedFiles);
    try {
        FRecoveryList->Fill();
    } catch (const Exception&) {
        FRecoveryList->Days.clear();
    }
    ShowRecoveryFiles();
}

void TfrmMain::btnSelectAllRecoveryFilesClick() {
    FRecoveryList->CheckAll(true);
    ShowRecoveryFiles();
}

void TfrmMain::btnUnselectAllRecoveryFilesClick() {
    FRecoveryList->CheckAll(false);
    ShowRecoveryFiles();
}

void TfrmMain::btnRecoveryFilesClick() {
    ReadRecoveryChecks();
    if (!FContext->Confirm(FCore->Message(L"RecoverFilesConfirm")))
        return;
    RunLoop([this] { FRecoveryList->RestoreChecked(); });
    ShowRecoveryFiles();
}

void TfrmMain::btnDeleteRecoveryFilesClick() {
    ReadRecoveryChecks();
    if (!FContext->Confirm(FCore->Message(L"DeleteRecoveryFilesConfirm")))
        return;
    FRecoveryList->DropChecked();
    ShowRecoveryFiles();
}
