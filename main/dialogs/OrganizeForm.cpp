#include "main/dialogs/OrganizeForm.h"

#include "app/FlatMessageBox.h"
#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "app/QRVUtils.h"
#include "app/TreeLists.h"
#include "classlib/gui/ImgList.h"
#include "classlib/gui/NamedChild.h"

namespace {

// Folder rows of the dialog's list: the shell's name and icon, the path beside them; the
// dialog keeps each row's entry.
class TFolderRows : public TDirRowList {
public:
    TFolderRows(TCvTree& Tree, std::vector<std::unique_ptr<TDirItem>>& Entries)
        : FTree(Tree), FEntries(Entries) {}
    HWND OwnerWindow() const override { return FTree.Handle(); }
    TCvTreeItem* AddRow(TCvTreeItem* Parent, const String& Text, int ImageIndex,
                        const String& FirstColumnText, std::unique_ptr<TDirItem> Item) override {
        TCvTreeItem* Row = FTree.Items().AddChildObject(Parent, Text, Item.get());
        Row->SetMainImage(ImageIndex);
        Row->ColumnTextList()->Add(FirstColumnText);
        FEntries.push_back(std::move(Item));
        return Row;
    }

private:
    TCvTree& FTree;
    std::vector<std::unique_ptr<TDirItem>>& FEntries;
};

} // namespace

TfrmOrganize::TfrmOrganize(TComponent* AOwner, TOrganizeFolders& Folders, TPickFolder PickFolder)
    : TFlatForm(AOwner), FFolders(Folders), FPickFolder(std::move(PickFolder)) {
    Name = L"frmOrganize";
    SetBounds(0, 0, 522, 329);
    Position = poScreenCenter;
    labFolders = MakeNamedChild<TLabel>(*this, *this, L"labFolders", Bounds(16, 34, 400, 15));
    pnlFolders = MakeNamedChild<TFlatPanel>(*this, *this, L"pnlFolders", Bounds(16, 52, 490, 228));
    lvFolders = MakeTreeList(*this, *pnlFolders, L"lvFolders", Bounds(1, 1, 488, 226));
    lvFolders->SetAlign(alClient);
    auto* SystemImages = new TImageList(this);
    SystemImages->ShareImages = true;
    SystemImages->SetHandle(SystemSmallImageList());
    lvFolders->SetImages(SystemImages);
    AddHeaderColumn(*lvFolders, AppMessage(L"sFolder"), 150);
    AddHeaderColumn(*lvFolders, AppMessage(L"sPath"), 320);
    btnAdd = MakeListButton(L"btnAdd", Bounds(16, 290, 98, 25), GlyphAddItem);
    btnRemove = MakeListButton(L"btnRemove", Bounds(120, 290, 98, 25), GlyphRemove);
    btnOK = MakeDialogButton(L"btnOK", Bounds(304, 290, 98, 25));
    btnCancel = MakeDialogButton(L"btnCancel", Bounds(408, 290, 98, 25));
    btnAdd->OnClick = [this](TObject*) { btnAddClick(); };
    btnRemove->OnClick = [this](TObject*) { btnRemoveClick(); };
    btnOK->OnClick = [this](TObject*) { btnOKClick(); };
    btnCancel->ModalResult = mrCancel;
    ApplySkinAndLanguage(*this);
    SetFormCaption(AppCaption(Name));
    labFolders->SetCaption(AppMessage(L"sFolders"));
}

void TfrmOrganize::FillList() {
    TCvTreeItems& Items = lvFolders->Items();
    Items.BeginUpdate();
    Items.RemoveAll();
    FRowEntries.clear();
    TFolderRows Rows(*lvFolders, FRowEntries);
    for (const String& Folder : FFolders.Folders())
        AddSpecialFolderNode(0, Rows, nullptr, Folder, String(), 0);
    Items.EndUpdate();
    if (Items.TotalCount() > 0)
        lvFolders->SetFocusedItem(Items.ItemAtIndex(0));
}

bool TfrmOrganize::Execute() {
    if (!FShown) {
        FShown = true;
        SelectedFolder.clear();
        FillList();
    }
    return ShowFlatModal() == mrOk;
}

void TfrmOrganize::btnAddClick() {
    String Folder;
    if (!FPickFolder(Handle(), AppMessage(L"sFolder"), Folder))
        return;
    FFolders.Add(Folder);
    FillList();
}

void TfrmOrganize::btnRemoveClick() {
    const TCvTreeItem* Focused = lvFolders->GetFocusedItem();
    if (!Focused)
        return;
    FFolders.Remove(Focused->CellText(1));
    FillList();
}

void TfrmOrganize::btnOKClick() {
    const TCvTreeItem* Focused = lvFolders->GetFocusedItem();
    if (!Focused) {
        ShowFlatMessage(this, AppMessage(L"sOrganizeNoFolders"));
        return;
    }
    SelectedFolder = Focused->CellText(1);
    SetModalResult(mrOk);
}
