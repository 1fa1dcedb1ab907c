#pragma once
// The dialog that adds a junk-file mask: the mask and what it stands for.

#include "app/FlatForm.h"
#include "classlib/gui/StdCtrls.h"
#include "controls/FlatEdit.h"

class TfrmJunkFilesOptionsEdit : public TFlatForm {
public:
    explicit TfrmJunkFilesOptionsEdit(TComponent* AOwner);

    TLabel* labExtension;
    TLabel* labDescription;
    TFlatEdit* edExtension;
    TFlatEdit* edDescription;
    TavImageExpandButton* btnOk;
    TavImageExpandButton* btnCancel;
};

// Shows the dialog with both edits empty; true on OK, with the two texts as typed.
bool AskJunkMask(String& Extension, String& Description);
