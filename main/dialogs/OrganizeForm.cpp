#include "main/dialogs/OrganizeForm.h"

#include "app/FlatMessageBox.h"
#include "app/Language.h"
#include "app/QRVUtils.h"
#include "app/TreeLists.h"
#include "classlib/gui/NamedChild.h"

TfrmOrganize::TfrmOrganize(TComponent* AOwner, TOrganizeFolders& Folders, TPickFolder PickFolder)
    : TFlatForm(AOwner), FFolders(Folders), FPickFolder(std::move(PickFolder)) {
    Name = L"frmOrganize";
    SetBounds(0, 0, 522, 329);
    Position = poScreenCenter;
    HelpButton->Hide();
    labFolders = MakeNamedChild<TLabel>(*this, *this, L"labFolders", Bounds(16, 34, 400, 15));
    pnlFolders = MakeNamedChild<TFlatPanel>(*this, *this, L"pnlFolders", Bounds(16, 52, 490, 228));
    lvFolders = MakeTreeList(*this, *pnlFolders, L"lvFolders", Bounds(1, 1, 488, 226));
    AddHeaderColumn(*lvFolders, AppMessage(L"sFolder"), 150);
    AddHeaderColumn(*lvFolders, AppMessage(L"sPath"), 320);
    struct TButton {
        const wchar_t* Name;
        int Left;
        TavImageExpandButton** Field;
    };
    const TButton Buttons[] = {{L"btnAdd", 16, &btnAdd},
                               {L"btnRemove", 120, &btnRemove},
                               {L"btnOK", 304, &btnOK},
                               {L"btnCancel", 408, &btnCancel}};
    for (const TButton& B : Buttons)
        *B.Field = MakeDialogButton(B.Name, Bounds(B.Left, 290, 98, 25));
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
    for (const String& Folder : FFolders.Folders())
        Items.AddChild(nullptr, ExtractFileName(ExcludeTrailingBackslash(Folder)))
            ->ColumnTextList()
            ->Add(Folder);
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
