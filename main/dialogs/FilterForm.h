#pragma once
// The filter of the results: which files stay shown, by name, date, size and safety class. Made
// once and kept, so that each show starts from what the user set last time.

#include "app/FlatForm.h"
#include "classlib/gui/ComCtrls.h"
#include "classlib/gui/StdCtrls.h"
#include "controls/FlatCheckBox.h"
#include "controls/FlatComboBox.h"
#include "controls/FlatEdit.h"
#include "controls/FlatPanel.h"
#include "controls/FlatSpinEdit.h"
#include "main/ScanResults.h"

#include <array>

class TfrmFilter : public TFlatForm {
public:
    explicit TfrmFilter(TComponent* AOwner);

    // Shows the dialog modally; true on OK with Criteria as set.
    bool Execute(TFilterCriteria& Criteria);
    TFilterCriteria Criteria() const;

    TLabel* labKeepFiles;
    TFlatGroupBox* grpByName;
    TFlatCheckBox* chkName;
    TFlatEdit* edName;
    TFlatGroupBox* grpByDate;
    TFlatCheckBox* chkNotOlderThan;
    TMonthCalendar* MonthCalendar1;
    TFlatCheckBox* chkNewerThan;
    TMonthCalendar* MonthCalendar2;
    TFlatGroupBox* grpBySize;
    TFlatCheckBox* chkSmallerThan;
    TFlatSpinEditFloat* edSmallerThan;
    TFlatComboBox* cmbSmallerThan;
    TFlatCheckBox* chkLargerThan;
    TFlatSpinEditFloat* edLargenThan;
    TFlatComboBox* cmbLargenThan;
    TFlatGroupBox* grpBySecurity;
    // Safe, warning, critical.
    std::array<TFlatCheckBox*, 3> SafetyChecks{};
    TavImageExpandButton* btnOK;
    TavImageExpandButton* btnCancel;

private:
    // The first show starts from nothing chosen; later shows keep the last choice.
    void FirstShow();
    bool FShown = false;
};
