#include "app/InputQueryForm.h"

#include "app/Language.h"
#include "classlib/gui/NamedChild.h"

#include <memory>

namespace {

TFlatButton* MakeFlatButton(TfrmInputQuery& Form, const wchar_t* Name, const wchar_t* Caption,
                            TModalResult Result, int Top) {
    auto* Button = MakeNamedChild<TFlatButton>(Form, Form, Name, Bounds(360, Top, 81, 25));
    Button->SetLayout(blGlyphLeft);
    Button->ModalResult = Result;
    String Text = Caption;
    if (AppLanguage && AppLanguage->IsLoaded())
        AppLanguage->GetText(Name, L"Caption", Text);
    Button->SetCaption(Text);
    return Button;
}

TButton* MakeHiddenButton(TfrmInputQuery& Form, const wchar_t* Name, TModalResult Result,
                          int Left) {
    // Outside the window: there only for Enter and Escape.
    auto* Button = MakeNamedChild<TButton>(Form, Form, Name, Bounds(Left, -100, 75, 25));
    Button->ModalResult = Result;
    Button->SetTabStop(false);
    return Button;
}

} // namespace

TfrmInputQuery::TfrmInputQuery(TComponent* AOwner) : TFlatForm(AOwner) {
    Name = L"frmInputQuery";
    SetBounds(Left(), Top(), 474, 183);
    Position = poScreenCenter;
    labPrompt = MakeNamedChild<TLabel>(*this, *this, L"labPrompt", Bounds(24, 40, 300, 13));
    edSession = MakeNamedChild<TFlatMaskEdit>(*this, *this, L"edSession", Bounds(24, 56, 329, 19));
    btnOK = MakeFlatButton(*this, L"btnOK", L"OK", mrOk, 56);
    btnCancel = MakeFlatButton(*this, L"btnCancel", L"Cancel", mrCancel, 88);
    btnDefault = MakeHiddenButton(*this, L"btnDefault", mrOk, -200);
    btnDefault->SetDefault(true);
    Button1 = MakeHiddenButton(*this, L"Button1", mrCancel, -300);
    Button1->Cancel = true;
    // The skin pass of the first show has run when this does.
    OnShow = [this](TObject*) { labPrompt->SetCaption(FPrompt); };
}

void TfrmInputQuery::SetPrompt(const String& Value) {
    FPrompt = Value;
    labPrompt->SetCaption(Value);
}

bool FlatInputQuery(const String& Caption, const String& Prompt, String& Value, int MaxLength,
                    const String& PasswordChar) {
    std::unique_ptr<TfrmInputQuery> Dialog(NewForm<TfrmInputQuery>(Application));
    Dialog->SetFormCaption(Caption);
    Dialog->SetPrompt(Prompt);
    Dialog->edSession->SetText(Value);
    Dialog->edSession->SetMaxLength(MaxLength);
    Dialog->edSession->SetPasswordChar(PasswordChar.empty() ? L'\0' : PasswordChar[0]);
    Dialog->SetActiveControl(Dialog->edSession);
    if (Dialog->ShowFlatModal() != mrOk)
        return false;
    Value = Dialog->edSession->Text();
    return true;
}
