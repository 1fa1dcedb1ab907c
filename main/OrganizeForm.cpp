#include "main/OrganizeForm.h"

#include "app/FlatMessageBox.h"
#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "app/QRVUtils.h"
#include "app/TreeLists.h"
#include "classlib/gui/NamedChild.h"
#include "controls/FlatPanel.h"

namespace {

String MessageText(const wchar_t* Key) {
    String Text = Key;
    AppLanguage->GetMessageText(Key, Text);
    return Text;
}

// The folder's own name, or the path itself for a drive.
String FolderCaption(const String& Folder) {
    const String Name = ExtractFileName(ExcludeTrailingBackslash(Folder));
    return Name.empty() ? Folder : Name;
}

} // namespace

TfrmOrganize::TfrmOrganize(TComponent* AOwner, TOrganizeFolders& Folders, TPickFolder PickFolder)
    : TFlatForm(AOwner), FFolders(Folders), FPickFolder(std::move(PickFolder)) {
    Name = L"frmOrganize";
    SetBounds(0, 0, 522, 329);
    Position = poScreenCenter;
    labFolders = MakeNamedChild<TLabel>(*this, *this, L"labFolders", Bounds(24, 40, 470, 15));
    auto* Panel = MakeNamedChild<TFlatPanel>(*this, *this, L"pnlFolders", Bounds(24, 58, 474, 206));
    lvFolders = MakeTreeList(*this, *Panel, L"lvFolders", Bounds(1, 1, 472, 204));
    lvFolders->SetAlign(alClient);
    AddHeaderColumn(*lvFolders, MessageText(L"sFolder"), 150);
    AddHeaderColumn(*lvFolders, MessageText(L"sPath"), 300);
    struct TButtonEntry {
        const wchar_t* Name;
        int Left;
        TavImageExpandButton** Button;
        void (TfrmOrganize::*Click)();
    };
    const TButtonEntry Buttons[] = {
        {L"btnAdd", 24, &btnAdd, &TfrmOrganize::btnAddClick},
        {L"btnRemove", 128, &btnRemove, &TfrmOrganize::btnRemoveClick},
        {L"btnOK", 296, &btnOK, &TfrmOrganize::btnOKClick},
        {L"btnCancel", 400, &btnCancel, nullptr},
    };
    for (const TButtonEntry& Entry : Buttons) {
        auto* Button = MakeNamedChild<TavImageExpandButton>(*this, *this, Entry.Name,
                                                            Bounds(Entry.Left, 280, 98, 25));
        Button->Tag = -1;
        if (frmDM)
            Button->SetImageList(frmDM->avILBig);
        if (Entry.Click)
            Button->OnClick = [this, Click = Entry.Click](TObject*) { (this->*Click)(); };
        *Entry.Button = Button;
    }
    btnCancel->ModalResult = mrCancel;
    ApplySkinAndLanguage(*this);
    labFolders->SetCaption(MessageText(L"sFolders"));
}

void TfrmOrganize::LoadFolders() {
    lvFolders->Items().BeginUpdate();
    lvFolders->Items().RemoveAll();
    try {
        for (const String& Folder : FFolders.Folders())
            AddTreeRow(*lvFolders, nullptr, FolderCaption(Folder), {Folder});
    } catch (const Exception&) {
        // The rows read so far stay.
    }
    lvFolders->Items().EndUpdate();
    if (lvFolders->Items().TotalCount() > 0)
        lvFolders->SetFocusedItem(lvFolders->Items().ItemAtIndex(0));
}

void TfrmOrganize::btnAddClick() {
    String Folder;
    if (!FPickFolder(Handle(), L"Folder", Folder))
        return;
    FFolders.Add(Folder);
    AddTreeRow(*lvFolders, nullptr, FolderCaption(Folder), {Folder});
}

void TfrmOrganize::btnRemoveClick() {
    TCvTreeItem* Row = lvFolders->GetFocusedItem();
    if (!Row)
        return;
    const String Folder(Row->ColumnTextList()->Strings(0));
    lvFolders->Items().Delete(Row);
    FFolders.Remove(Folder);
}

void TfrmOrganize::btnOKClick() {
    const TCvTreeItem* Row = lvFolders->GetFocusedItem();
    if (!Row) {
        ShowFlatMessage(this, MessageText(L"sOrganizeNoFolders"));
        return;
    }
    SelectedFolder = String(Row->ColumnTextList()->Strings(0));
    SetModalResult(mrOk);
}

bool TfrmOrganize::Ask(String& Folder) {
    if (!FShown) {
        FShown = true;
        SelectedFolder.clear();
        LoadFolders();
    }
    if (ShowFlatModal() != mrOk)
        return false;
    Folder = SelectedFolder;
    return true;
}
