#include "main/dialogs/DuplicatesOptionsEdit.h"

#include "app/Language.h"
#include "app/QRVUtils.h"
#include "classlib/gui/NamedChild.h"

#include <memory>

TfrmDuplicatesOptionsEdit::TfrmDuplicatesOptionsEdit(TComponent* AOwner) : TFlatForm(AOwner) {
    Name = L"frmDuplicatesOptionsEdit";
    SetClientWidth(348);
    SetClientHeight(136);
    Position = poDesktopCenter;
    labFileName = MakeNamedChild<TLabel>(*this, *this, L"labFileName", Bounds(24, 44, 300, 15));
    edFileName = MakeNamedChild<TFlatEdit>(*this, *this, L"edFileName", Bounds(24, 62, 300, 19));
    btnOk = MakeDialogButton(L"btnOk", Bounds(122, 96, 98, 25), mrOk);
    btnCancel = MakeDialogButton(L"btnCancel", Bounds(226, 96, 98, 25), mrCancel);
    ApplySkinAndLanguage(*this);
    SetFormCaption(AppMessage(L"sDuplicateAddAllowed"));
    labFileName->SetCaption(AppMessage(L"sFileName"));
}

bool AskAllowedDuplicate(String& Name) {
    const std::unique_ptr<TfrmDuplicatesOptionsEdit> Dialog(
        NewForm<TfrmDuplicatesOptionsEdit>(Application));
    if (Dialog->ShowFlatModal() != mrOk)
        return false;
    Name = Dialog->edFileName->Text();
    return true;
}
