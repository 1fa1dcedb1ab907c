#include "main/DuplicatesOptionsEdit.h"

#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "app/QRVUtils.h"
#include "classlib/gui/NamedChild.h"

#include <memory>

namespace {

String MessageText(const wchar_t* Key) {
    String Text = Key;
    AppLanguage->GetMessageText(Key, Text);
    return Text;
}

} // namespace

TfrmDuplicatesOptionsEdit::TfrmDuplicatesOptionsEdit(TComponent* AOwner) : TFlatForm(AOwner) {
    Name = L"frmDuplicatesOptionsEdit";
    SetClientWidth(348);
    SetClientHeight(136);
    Position = poDesktopCenter;
    labFileName = MakeNamedChild<TLabel>(*this, *this, L"labFileName", Bounds(24, 44, 300, 15));
    edFileName = MakeNamedChild<TFlatEdit>(*this, *this, L"edFileName", Bounds(24, 62, 300, 19));
    btnOk = MakeNamedChild<TavImageExpandButton>(*this, *this, L"btnOk", Bounds(122, 96, 98, 25));
    btnCancel =
        MakeNamedChild<TavImageExpandButton>(*this, *this, L"btnCancel", Bounds(226, 96, 98, 25));
    for (TavImageExpandButton* Button : {btnOk, btnCancel}) {
        Button->Tag = -1;
        if (frmDM)
            Button->SetImageList(frmDM->avILBig);
    }
    btnOk->ModalResult = mrOk;
    btnCancel->ModalResult = mrCancel;
    ApplySkinAndLanguage(*this);
    SetFormCaption(MessageText(L"sDuplicateAddAllowed"));
    labFileName->SetCaption(MessageText(L"sFileName"));
}

bool AskAllowedDuplicate(String& Name) {
    const std::unique_ptr<TfrmDuplicatesOptionsEdit> Dialog(
        NewForm<TfrmDuplicatesOptionsEdit>(Application));
    if (Dialog->ShowFlatModal() != mrOk)
        return false;
    Name = Dialog->edFileName->Text();
    return true;
}
