#include "scheduler/EditDateForm.h"

#include "classlib/gui/NamedChild.h"

#include <memory>

namespace {

TFlatButton* MakeButton(TfrmEditDate& Form, const wchar_t* Name, const wchar_t* Caption, int Top) {
    auto* Button = MakeNamedChild<TFlatButton>(Form, Form, Name, Bounds(272, Top, 81, 25));
    Button->SetCaption(Caption);
    return Button;
}

} // namespace

TDateTime EditDateFormDate() {
    return EncodeDate(2002, 4, 30);
}

TfrmEditDate::TfrmEditDate(TComponent* AOwner) : TFlatForm(AOwner) {
    Name = L"frmEditDate";
    SetFormCaption(L"Edit Date");
    SetBounds(Left(), Top(), 370, 212);
    Position = poScreenCenter;
    MonthCalendar =
        MakeNamedChild<TMonthCalendar>(*this, *this, L"MonthCalendar", Bounds(16, 44, 226, 150));
    MonthCalendar->SetWeekNumbers(true);
    MonthCalendar->SetDate(EditDateFormDate());
    btnOK = MakeButton(*this, L"btnOK", L"OK", 44);
    btnOK->OnClick = [this](TObject* Sender) { btnOKClick(Sender); };
    btnCancel = MakeButton(*this, L"btnCancel", L"Cancel", 76);
    btnCancel->OnClick = [this](TObject* Sender) { btnCancelClick(Sender); };
}

void TfrmEditDate::btnOKClick(TObject*) {
    SetModalResult(mrOk);
}

void TfrmEditDate::btnCancelClick(TObject*) {
    SetModalResult(mrCancel);
}

bool EditDateText(String& DateText) {
    std::unique_ptr<TfrmEditDate> Dialog(NewForm<TfrmEditDate>(Application));
    TDateTime Shown = 0;
    if (TryStrToDate(DateText, Shown))
        Dialog->MonthCalendar->SetDate(Shown);
    if (Dialog->ShowFlatModal() != mrOk)
        return false;
    DateText = DateToStr(Dialog->MonthCalendar->Date());
    return true;
}
