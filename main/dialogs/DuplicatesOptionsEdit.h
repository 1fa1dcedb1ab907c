#pragma once
// The dialog that adds a name or mask allowed to have copies.

#include "app/FlatForm.h"
#include "classlib/gui/StdCtrls.h"
#include "controls/FlatEdit.h"

class TfrmDuplicatesOptionsEdit : public TFlatForm {
public:
    explicit TfrmDuplicatesOptionsEdit(TComponent* AOwner);

    TLabel* labFileName;
    TFlatEdit* edFileName;
    TavImageExpandButton* btnOk;
    TavImageExpandButton* btnCancel;
};

// Shows the dialog with an empty edit; true on OK with the text as typed.
bool AskAllowedDuplicate(String& Name);
