#pragma once
// The dialog of one startup entry: its name, its command line and where it is kept. Adding
// offers every field; editing changes only the command line.

#include "app/FlatForm.h"
#include "classlib/gui/StdCtrls.h"
#include "controls/FlatComboBox.h"
#include "controls/FlatEdit.h"

#include <functional>

class TOpenDialog;
struct TStartupEntry;

class TfrmStartUpEdit : public TFlatForm {
public:
    // Checks the fields when OK is pressed; false keeps the dialog open.
    using TAccept =
        std::function<bool(const String& Name, const String& CommandLine, int Location)>;

    explicit TfrmStartUpEdit(TComponent* AOwner);

    // Editing: the entry's fields, with its name and place fixed. Null: an empty new entry in
    // the current user's Run key.
    void Prepare(const String& Caption, const TStartupEntry* Editing);
    TAccept Accept;

    void btnOkClick();
    // Browse: the chosen program becomes the command line, and the name when none was typed.
    void btnAddClick();
    void ShowHelp() override;

    TLabel* labProgramName;
    TLabel* labCommandLine;
    TLabel* labLocation;
    TFlatEdit* edProgramName;
    TFlatEdit* edCommandLine;
    TFlatComboBox* cmbLocation;
    TavImageExpandButton* btnAdd;
    TavImageExpandButton* btnOk;
    TavImageExpandButton* btnCancel;
    TButton* EscapeButton;
    TOpenDialog* OpenDialog;
};

// Shows the dialog modally over the application; Accept decides on OK.
void EditStartupEntry(const String& Caption, const TStartupEntry* Editing,
                      const TfrmStartUpEdit::TAccept& Accept);
