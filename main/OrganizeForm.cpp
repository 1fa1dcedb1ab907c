#include "main/OrganizeForm.h"

#include "app/FlatMessageBox.h"
#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "app/QRVUtils.h"
#include "app/TreeLists.h"
#include "classlib/gui/NamedChild.h"

namespace {

String MessageText(const String& Key) {
    String Text = Key;
    if (AppLanguage)
        AppLanguage->GetMessageText(Key, Text);
    return Text;
}

String CaptionOf(const String& Section) {
    String Text = Section;
    if (AppLanguage)
        AppLanguage->GetText(Section, L"Caption", Text);
    return Text;
}

} // namespace

TfrmOrganize::TfrmOrganize(TComponent* AOwner, TOrganizeFolders& Folders, TPickFolder PickFolder)
    : TFlatForm(AOwner), FFolders(Folders), FPickFolder(std::move(PickFolder)) {
    Name = L"frmOrganize";
    SetBounds(0, 0, 522, 329);
    Position = poScreenCenter;
    HelpButton->Hide();
    labFolders = MakeNamedChild<TLabel>(*this, *this, L"labFolders", Bounds(16, 34, 400, 15));
    pnlFolders = MakeNamedChild<TFlatPanel>(*this, *this, L"pnlFolders", Bounds(16, 52, 490, 228));
    lvFolders = MakeTreeList(*this, *pnlFolders, L"lvFolders", Bounds(1, 1, 488, 226));
    AddHeaderColumn(*lvFolders, MessageText(L"sFolder"), 150);
    AddHeaderColumn(*lvFolders, MessageText(L"sPath"), 320);
    struct TButton {
        const wchar_t* Name;
        int Left;
        TavImageExpandButton** Field;
    };
    const TButton Buttons[] = {{L"btnAdd", 16, &btnAdd},
                               {L"btnRemove", 120, &btnRemove},
                               {L"btnOK", 304, &btnOK},
                               {L"btnCancel", 408, &btnCancel}};
    for (const TButton& B : Buttons) {
        *B.Field =
            MakeNamedChild<TavImageExpandButton>(*this, *this, B.Name, Bounds(B.Left, 290, 98, 25));
        (*B.Field)->Tag = -1;
        if (frmDM)
            (*B.Field)->SetImageList(frmDM->avILBig);
    }
    btnAdd->OnClick = [this](TObject*) { btnAddClick(); };
    btnRemove->OnClick = [this](TObject*) { btnRemoveClick(); };
    btnOK->OnClick = [this](TObject*) { btnOKClick(); };
    btnCancel->ModalResult = mrCancel;
    ApplySkinAndLanguage(*this);
    SetFormCaption(CaptionOf(Name));
    labFolders->SetCaption(MessageText(L"sFolders"));
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
    if (!FPickFolder(Handle(), MessageText(L"sFolder"), Folder))
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
        ShowFlatMessage(this, MessageText(L"sOrganizeNoFolders"));
        return;
    }
    SelectedFolder = Focused->CellText(1);
    SetModalResult(mrOk);
}
