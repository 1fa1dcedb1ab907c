#include "main/dialogs/StartUpEditForm.h"

#include "app/Help.h"
#include "app/QRVDataMod.h"
#include "app/QRVUtils.h"
#include "classlib/gui/Dialogs.h"
#include "classlib/gui/NamedChild.h"
#include "main/StartupManager.h"

#include <memory>

TfrmStartUpEdit::TfrmStartUpEdit(TComponent* AOwner) : TFlatForm(AOwner) {
    Name = L"frmStartUpEdit";
    // The layout's client area of 474 x 147 inside the skinned frame.
    SetBounds(0, 0, 474 + 2 * FrameMargin, 147 + TitleBarHeight() + FrameMargin);
    Position = poDesktopCenter;
    const int Top = TitleBarHeight();
    labProgramName =
        MakeNamedChild<TLabel>(*this, *this, L"labProgramName", Bounds(24, Top + 8, 120, 15));
    edProgramName =
        MakeNamedChild<TFlatEdit>(*this, *this, L"edProgramName", Bounds(150, Top + 6, 300, 19));
    labCommandLine =
        MakeNamedChild<TLabel>(*this, *this, L"labCommandLine", Bounds(24, Top + 38, 120, 15));
    edCommandLine =
        MakeNamedChild<TFlatEdit>(*this, *this, L"edCommandLine", Bounds(150, Top + 36, 272, 19));
    btnAdd = MakeListButton(L"btnAdd", Bounds(426, Top + 35, 24, 21), GlyphAddItem);
    labLocation =
        MakeNamedChild<TLabel>(*this, *this, L"labLocation", Bounds(24, Top + 68, 120, 15));
    cmbLocation =
        MakeNamedChild<TFlatComboBox>(*this, *this, L"cmbLocation", Bounds(150, Top + 66, 300, 21));
    cmbLocation->SetStyle(csDropDownList);
    for (const String& Text : StartupLocationTexts())
        cmbLocation->Items().Add(Text);
    btnOk = MakeDialogButton(L"btnOk", Bounds(248, Top + 108, 98, 25));
    btnCancel = MakeDialogButton(L"btnCancel", Bounds(352, Top + 108, 98, 25), mrCancel);
    btnOk->OnClick = [this](TObject*) { btnOkClick(); };
    btnOk->SetDefault(true);
    // Escape: a standard button that takes the dialog's Cancel key, out of sight.
    EscapeButton =
        MakeNamedChild<TButton>(*this, *this, L"EscapeButton", Bounds(-200, -200, 75, 25));
    EscapeButton->Cancel = true;
    EscapeButton->ModalResult = mrCancel;
    EscapeButton->SetTabStop(false);
    btnAdd->OnClick = [this](TObject*) { btnAddClick(); };
    OpenDialog = new TOpenDialog(this);
    OpenDialog->Name = L"OpenDialog";
    OpenDialog->Options.Include(ofPathMustExist);
    OpenDialog->Options.Include(ofFileMustExist);
    ApplySkinAndLanguage(*this);
    // The small browse button beside the command line shows its glyph alone; the skin pass of
    // the first show gives it the organize dialog's "Add" again.
    btnAdd->SetCaption(String());
    OnShow = [this](TObject*) { btnAdd->SetCaption(String()); };
    HelpButton->Show();
}

void TfrmStartUpEdit::Prepare(const String& Caption, const TStartupEntry* Editing) {
    SetFormCaption(Caption);
    edProgramName->SetText(Editing ? Editing->Name : String());
    edCommandLine->SetText(Editing ? Editing->CommandLine : String());
    cmbLocation->SetItemIndex(Editing ? static_cast<int>(Editing->Location) : 0);
    edProgramName->SetEnabled(!Editing);
    cmbLocation->SetEnabled(!Editing);
}

void TfrmStartUpEdit::btnOkClick() {
    if (!Accept || Accept(edProgramName->Text(), edCommandLine->Text(), cmbLocation->ItemIndex()))
        SetModalResult(mrOk);
}

void TfrmStartUpEdit::btnAddClick() {
    if (!OpenDialog->Execute())
        return;
    edCommandLine->SetText(OpenDialog->FileName);
    if (edProgramName->Text().empty())
        edProgramName->SetText(ExtractFileName(OpenDialog->FileName));
}

void TfrmStartUpEdit::ShowHelp() {
    ShowHelpTopic(String());
}

void EditStartupEntry(const String& Caption, const TStartupEntry* Editing,
                      const TfrmStartUpEdit::TAccept& Accept) {
    const std::unique_ptr<TfrmStartUpEdit> Dialog(NewForm<TfrmStartUpEdit>(Application));
    Dialog->Prepare(Caption, Editing);
    Dialog->Accept = Accept;
    Dialog->ShowFlatModal();
}
