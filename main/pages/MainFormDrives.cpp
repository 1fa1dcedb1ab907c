// The drive page: which paths the scan walks. The path list stands between the title and the
// buttons; it shows the core's rows and writes its check boxes back to them.
#include "app/QRVDataMod.h"
#include "app/TreeLists.h"
#include "main/MainForm.h"

void TfrmMain::CreateDrivesPage(TPage& Page) {
    MakeLabel(Page, L"labSelectPathsToScan", Bounds(16, 10, 500, 15));
    DrivesList = MakeTreeList(*this, Page, L"DrivesList", Bounds(16, 30, 515, 340));
    DrivesList->ShowCheckboxes = true;
    DrivesList->SetImages(SystemImages);
    DrivesList->ChangeDelay = 0;
    AddHeaderColumn(*DrivesList, FCore->Message(L"sDrivePath"), 200);
    AddHeaderColumn(*DrivesList, FCore->Message(L"sFullPath"), 290);
    DrivesList->OnItemChecked = GuardedCheck([this](TCvTreeItem* Item) {
        FCore->ScanPaths.SetChecked(Item->AbsIndex(), Item->IsChecked());
        SelectCheckedRow(*DrivesList, *Item);
    });
    TavImageList* Inside = frmDM ? frmDM->avILInside : nullptr;
    MakeButton(Page, L"btnAllDrives", Bounds(16, 378, 120, 25), Inside, GlyphAllDrives,
               [this] { btnAllDrivesClick(); });
    MakeButton(Page, L"btnAddScanDrive", Bounds(144, 378, 120, 25), Inside, GlyphAddItem,
               [this] { btnAddScanDriveClick(); });
    MakeButton(Page, L"btnDeleteDrive", Bounds(272, 378, 120, 25), Inside, GlyphRemove,
               [this] { btnDeleteDriveClick(); });
    MakeButton(Page, L"btnClearAllPaths", Bounds(400, 378, 120, 25), Inside, GlyphDiscard,
               [this] { btnClearAllPathsClick(); });
    FillDrivesList();
}

void TfrmMain::FillDrivesList() {
    if (!DrivesList)
        return;
    TCvTreeItems& Items = DrivesList->Items();
    Items.BeginUpdate();
    Items.RemoveAll();
    for (int I = 0; I < FCore->ScanPaths.Count(); ++I) {
        const TScanPathRow& Row = FCore->ScanPaths.Row(I);
        TCvTreeItem* Item = Items.AddChild(nullptr, Row.Item->Caption);
        Item->ColumnTextList()->Add(Row.Item->Path);
        Item->SetMainImage(Row.ImageIndex);
        Item->SetCheckBoxShown(true);
        Item->SetFlag(ifCheckBoxEnabled, true);
        Item->SetCheckBoxState(Row.Checked ? 1 : 0);
    }
    Items.EndUpdate();
    FitColumnsToList(*DrivesList);
}

void TfrmMain::btnDeleteDriveClick() {
    const TCvTreeItem* Focused = DrivesList->GetFocusedItem();
    if (!Focused)
        return;
    const int Index = Focused->AbsIndex();
    FCore->ScanPaths.DeleteRow(Index);
    FillDrivesList();
    // The focus stays in place: on the next row, or the last one.
    const int Count = DrivesList->Items().TotalCount();
    if (Count == 0)
        return;
    TCvTreeItem* Next = DrivesList->Items().ItemAtIndex(std::min(Index, Count - 1));
    DrivesList->SetFocusedItem(Next);
    Next->SetSelected(true);
}
