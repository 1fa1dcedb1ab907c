#include "main/dialogs/FilterForm.h"

#include "app/Language.h"
#include "app/QRVUtils.h"
#include "classlib/gui/NamedChild.h"

namespace {

const wchar_t* const SizeUnits[] = {L"Bytes", L"KB", L"MB", L"GB"};
constexpr int DefaultSizeUnit = 2;
constexpr int ButtonGap = 8;

struct TSafetyCheck {
    const wchar_t* Name;
    int Left;
};
constexpr TSafetyCheck SafetyCheckLayout[] = {
    {L"chkSafe", 16}, {L"chkWarning", 200}, {L"chkCritical", 384}};

} // namespace

TfrmFilter::TfrmFilter(TComponent* AOwner) : TFlatForm(AOwner) {
    Name = L"frmFilter";
    SetClientWidth(624);
    SetClientHeight(503);
    Position = poDesktopCenter;
    labKeepFiles = MakeNamedChild<TLabel>(*this, *this, L"labKeepFiles", Bounds(24, 36, 576, 15));

    grpByName = MakeNamedChild<TFlatGroupBox>(*this, *this, L"grpByName", Bounds(24, 56, 576, 56));
    chkName = MakeNamedChild<TFlatCheckBox>(*this, *grpByName, L"chkName", Bounds(16, 22, 200, 17));
    edName = MakeNamedChild<TFlatEdit>(*this, *grpByName, L"edName", Bounds(224, 20, 336, 19));
    edName->OnChange = [this](TObject*) { chkName->SetChecked(!edName->Text().empty()); };

    grpByDate =
        MakeNamedChild<TFlatGroupBox>(*this, *this, L"grpByDate", Bounds(24, 120, 576, 208));
    chkNotOlderThan = MakeNamedChild<TFlatCheckBox>(*this, *grpByDate, L"chkNotOlderThan",
                                                    Bounds(16, 22, 260, 17));
    MonthCalendar1 = MakeNamedChild<TMonthCalendar>(*this, *grpByDate, L"MonthCalendar1",
                                                    Bounds(16, 44, 260, 154));
    chkNewerThan =
        MakeNamedChild<TFlatCheckBox>(*this, *grpByDate, L"chkNewerThan", Bounds(300, 22, 260, 17));
    MonthCalendar2 = MakeNamedChild<TMonthCalendar>(*this, *grpByDate, L"MonthCalendar2",
                                                    Bounds(300, 44, 260, 154));

    grpBySize = MakeNamedChild<TFlatGroupBox>(*this, *this, L"grpBySize", Bounds(24, 336, 576, 80));
    struct TSizeRow {
        const wchar_t* Check;
        const wchar_t* Edit;
        const wchar_t* Units;
        TFlatCheckBox** CheckBox;
        TFlatSpinEditFloat** Value;
        TFlatComboBox** Unit;
    };
    const TSizeRow SizeRows[] = {
        {L"chkSmallerThan", L"edSmallerThan", L"cmbSmallerThan", &chkSmallerThan, &edSmallerThan,
         &cmbSmallerThan},
        {L"chkLargerThan", L"edLargenThan", L"cmbLargenThan", &chkLargerThan, &edLargenThan,
         &cmbLargenThan},
    };
    int Top = 22;
    for (const TSizeRow& Row : SizeRows) {
        *Row.CheckBox =
            MakeNamedChild<TFlatCheckBox>(*this, *grpBySize, Row.Check, Bounds(16, Top, 200, 17));
        *Row.Value = MakeNamedChild<TFlatSpinEditFloat>(*this, *grpBySize, Row.Edit,
                                                        Bounds(224, Top - 2, 90, 19));
        (*Row.Value)->Increment = 0.5;
        (*Row.Value)->MaxValue = 100;
        (*Row.Value)->SetDigits(2);
        *Row.Unit = MakeNamedChild<TFlatComboBox>(*this, *grpBySize, Row.Units,
                                                  Bounds(322, Top - 2, 80, 21));
        (*Row.Unit)->SetStyle(csDropDownList);
        for (const wchar_t* Unit : SizeUnits)
            (*Row.Unit)->Items().Add(Unit);
        (*Row.Unit)->SetItemIndex(DefaultSizeUnit);
        Top += 26;
    }

    grpBySecurity =
        MakeNamedChild<TFlatGroupBox>(*this, *this, L"grpBySecurity", Bounds(24, 424, 576, 44));
    for (size_t I = 0; I < SafetyChecks.size(); ++I)
        SafetyChecks[I] =
            MakeNamedChild<TFlatCheckBox>(*this, *grpBySecurity, SafetyCheckLayout[I].Name,
                                          Bounds(SafetyCheckLayout[I].Left, 20, 176, 17));

    btnOK = MakeDialogButton(L"btnOK", Bounds(398, 474, 98, 25), mrOk);
    btnCancel = MakeDialogButton(L"btnCancel", Bounds(502, 474, 98, 25), mrCancel);
    // The skinned frame's bottom edge is drawn inside the window: the buttons keep clear of it.
    SetClientHeight(btnOK->Top() + btnOK->Height() + ButtonGap + FrameMargin);
    ApplySkinAndLanguage(*this);
    for (TFlatGroupBox* Group : {grpByName, grpByDate, grpBySize, grpBySecurity})
        Group->SetCaption(AppCaption(Group->Name));
    SetFormCaption(AppCaption(Name));
}

void TfrmFilter::FirstShow() {
    for (TFlatCheckBox* Check : {chkName, chkNotOlderThan, chkNewerThan, chkSmallerThan,
                                 chkLargerThan, SafetyChecks[0], SafetyChecks[1], SafetyChecks[2]})
        Check->SetChecked(false);
    edName->SetText(String());
    edSmallerThan->SetValue(0);
    edLargenThan->SetValue(0);
    btnOK->BringToFront();
    btnCancel->BringToFront();
}

TFilterCriteria TfrmFilter::Criteria() const {
    TFilterCriteria C;
    C.ByName = chkName->Checked();
    C.NameMask = edName->Text();
    C.NotOlderThan = chkNotOlderThan->Checked();
    C.NotOlderThanDate = MonthCalendar1->Date();
    C.NewerThan = chkNewerThan->Checked();
    C.NewerThanDate = MonthCalendar2->Date();
    C.SmallerThan = chkSmallerThan->Checked();
    C.SmallerValue = edSmallerThan->Value();
    C.SmallerUnit = cmbSmallerThan->ItemIndex();
    C.LargerThan = chkLargerThan->Checked();
    C.LargerValue = edLargenThan->Value();
    C.LargerUnit = cmbLargenThan->ItemIndex();
    C.Safe = SafetyChecks[0]->Checked();
    C.Warning = SafetyChecks[1]->Checked();
    C.Critical = SafetyChecks[2]->Checked();
    return C;
}

bool TfrmFilter::Execute(TFilterCriteria& Result) {
    if (!FShown) {
        FShown = true;
        FirstShow();
    }
    if (ShowFlatModal() != mrOk)
        return false;
    Result = Criteria();
    return true;
}
