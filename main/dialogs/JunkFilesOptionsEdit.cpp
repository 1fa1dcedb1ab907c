#include "main/dialogs/JunkFilesOptionsEdit.h"

#include "app/Language.h"
#include "app/QRVUtils.h"
#include "classlib/gui/NamedChild.h"

#include <memory>

TfrmJunkFilesOptionsEdit::TfrmJunkFilesOptionsEdit(TComponent* AOwner) : TFlatForm(AOwner) {
    Name = L"frmJunkFilesOptionsEdit";
    SetBounds(0, 0, 342, 177);
    Position = poDesktopCenter;
    HelpButton->Hide();
    labExtension = MakeNamedChild<TLabel>(*this, *this, L"labExtension", Bounds(24, 40, 280, 15));
    edExtension = MakeNamedChild<TFlatEdit>(*this, *this, L"edExtension", Bounds(24, 56, 290, 19));
    labDescription =
        MakeNamedChild<TLabel>(*this, *this, L"labDescription", Bounds(24, 84, 280, 15));
    edDescription =
        MakeNamedChild<TFlatEdit>(*this, *this, L"edDescription", Bounds(24, 100, 290, 19));
    btnOk = MakeDialogButton(L"btnOk", Bounds(112, 136, 98, 25), mrOk);
    btnCancel = MakeDialogButton(L"btnCancel", Bounds(216, 136, 98, 25), mrCancel);
    ApplySkinAndLanguage(*this);
    SetFormCaption(AppMessage(L"sJunkAddExtension"));
    labExtension->SetCaption(AppMessage(L"sExtension"));
    labDescription->SetCaption(AppMessage(L"sDescription"));
}

bool AskJunkMask(String& Extension, String& Description) {
    const std::unique_ptr<TfrmJunkFilesOptionsEdit> Dialog(
        NewForm<TfrmJunkFilesOptionsEdit>(Application));
    if (Dialog->ShowFlatModal() != mrOk)
        return false;
    Extension = Dialog->edExtension->Text();
    Description = Dialog->edDescription->Text();
    return true;
}
