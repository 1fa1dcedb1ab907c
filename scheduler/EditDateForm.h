// The small calendar dialog in which the date of the on-a-date interval is picked.
#pragma once

#include "app/FlatForm.h"
#include "classlib/gui/ComCtrls.h"
#include "controls/FlatButton.h"

class TfrmEditDate : public TFlatForm {
public:
    explicit TfrmEditDate(TComponent* AOwner);

    void btnOKClick(TObject* Sender);
    void btnCancelClick(TObject* Sender);

    TMonthCalendar* MonthCalendar;
    TFlatButton* btnOK;
    TFlatButton* btnCancel;
};

// The date the calendar opens on when the field holds no date.
TDateTime EditDateFormDate();

// Opens the dialog on DateText read in the user's short date format, or on the form date when
// the text is no date. On OK, DateText becomes the picked date in that format and the answer is
// true; on Cancel nothing changes.
bool EditDateText(String& DateText);
