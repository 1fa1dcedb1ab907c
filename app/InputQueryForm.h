// The skinned dialog that asks for one line of text.
#pragma once

#include "app/FlatForm.h"
#include "classlib/gui/StdCtrls.h"
#include "controls/FlatButton.h"
#include "controls/FlatMaskEdit.h"

class TfrmInputQuery : public TFlatForm {
public:
    explicit TfrmInputQuery(TComponent* AOwner);

    TLabel* labPrompt;
    TFlatMaskEdit* edSession;
    TFlatButton* btnOK;
    TFlatButton* btnCancel;
    // Out of sight: the default button (Enter) and the cancel button (Escape).
    TButton* btnDefault;
    TButton* Button1;

    // The prompt stays the caller's, also when the language file has a section for the label.
    void SetPrompt(const String& Value);

private:
    String FPrompt;
};

// Asks for one line under Prompt; true when confirmed, and then Value holds the text typed.
// The first character of PasswordChar masks the input; MaxLength limits it.
bool FlatInputQuery(const String& Caption, const String& Prompt, String& Value, int MaxLength,
                    const String& PasswordChar);
