// The shutdown manager's page: when the computer is shut down (once, daily, weekly or monthly at
// a time of day), whether the user is asked first and under which account the task runs.
#include "app/QRVDataMod.h"
#include "classlib/gui/NamedChild.h"
#include "controls/FlatCheckBox.h"
#include "controls/FlatEdit.h"
#include "main/MainForm.h"
#include "main/ShutdownManager.h"

namespace {

constexpr int LabelLeft = 16;
constexpr int FieldLeft = 150;

} // namespace

void TfrmMain::CreateShutdownManagerPage(TPage& Page) {
    const auto Spin = [&](const wchar_t* Name, const TRect& At, int Min, int Max) {
        auto* Edit = MakeNamedChild<TFlatSpinEditInteger>(*this, Page, Name, At);
        Edit->MinValue = Min;
        Edit->MaxValue = Max;
        Edit->SetValue(Min);
        return Edit;
    };
    const auto Combo = [&](const wchar_t* Name, const TRect& At,
                           std::initializer_list<const wchar_t*> Keys) {
        auto* Box = MakeNamedChild<TFlatComboBox>(*this, Page, Name, At);
        Box->SetStyle(csDropDownList);
        for (const wchar_t* Key : Keys)
            Box->Items().Add(FCore->Message(Key));
        return Box;
    };

    chkShutdownManagerEnable = MakeNamedChild<TFlatCheckBox>(
        *this, Page, L"chkShutdownManagerEnable", Bounds(LabelLeft, 12, 400, 17));
    chkShutdownManagerEnable->SetTransparent(true);
    chkShutdownManagerEnable->OnClick = [this](TObject*) { chkShutdownManagerEnableClick(); };

    MakeLabel(Page, L"labShutdownManagerWhen", Bounds(LabelLeft, 48, 130, 15));
    cmbShutdownManagerWhen = Combo(L"cmbShutdownManagerWhen", Bounds(FieldLeft, 44, 140, 21),
                                   {L"sOnce", L"sDaily", L"sWeekly", L"sMonthly"});
    cmbShutdownManagerWhen->OnChange = [this](TObject*) { cmbShutdownManagerWhenClick(); };

    MakeLabel(Page, L"labShutdownManagerAt", Bounds(LabelLeft, 80, 130, 15));
    edShutdownManagerHour = Spin(L"edShutdownManagerHour", Bounds(FieldLeft, 76, 50, 19), 0, 23);
    edShutdownManagerMin = Spin(L"edShutdownManagerMin", Bounds(FieldLeft + 60, 76, 50, 19), 0, 59);

    labShutdownManagerEvery =
        MakeLabel(Page, L"labShutdownManagerEvery", Bounds(LabelLeft, 112, 130, 15));
    edShutdownManagerEvery = Spin(L"edShutdownManagerEvery", Bounds(FieldLeft, 108, 50, 19), 1, 23);
    lablShutdownManagerUM =
        MakeLabel(Page, L"lablShutdownManagerUM", Bounds(FieldLeft + 60, 112, 120, 15));

    // Weekly and monthly: the day; once: the date. They share the row.
    labShutdownRunOn = MakeLabel(Page, L"labShutdownRunOn", Bounds(LabelLeft, 144, 130, 15));
    labShutdownRunDate = MakeLabel(Page, L"labShutdownRunDate", Bounds(LabelLeft, 144, 130, 15));
    cbWeekDay = Combo(L"cbWeekDay", Bounds(FieldLeft, 140, 140, 21),
                      {L"sMonday", L"sTuesday", L"sWednesday", L"sThursday", L"sFriday",
                       L"sSaturday", L"sSunday"});
    edMonthlyDay = Spin(L"edMonthlyDay", Bounds(FieldLeft, 140, 50, 19), 1, 31);
    edMonthlyDay->OnChange = [this](TObject*) { chkShutdownManagerEnableClick(); };
    labMonthlyMonth = MakeLabel(Page, L"labMonthlyMonth", Bounds(FieldLeft + 60, 144, 160, 15));
    const struct {
        const wchar_t* Edit;
        const wchar_t* Label;
        int Min, Max, Width;
        TFlatSpinEditInteger* TfrmMain::*Member;
    } DateParts[] = {
        {L"edShutdownRunDay", L"labShutdownRunDay", 1, 31, 44, &TfrmMain::edShutdownRunDay},
        {L"edShutdownRunMonth", L"labShutdownRunMonth", 1, 12, 44, &TfrmMain::edShutdownRunMonth},
        {L"edShutdownRunYear", L"labShutdownRunYear", 2000, 2030, 60, &TfrmMain::edShutdownRunYear},
    };
    int Left = FieldLeft;
    for (std::size_t I = 0; I < std::size(DateParts); ++I) {
        const auto& Field = DateParts[I];
        this->*Field.Member =
            Spin(Field.Edit, Bounds(Left, 140, Field.Width, 19), Field.Min, Field.Max);
        labShutdownDate[I] = MakeLabel(Page, Field.Label, Bounds(Left, 162, Field.Width, 15));
        Left += Field.Width + 10;
    }

    chkShutdownManagerAsk = MakeNamedChild<TFlatCheckBox>(*this, Page, L"chkShutdownManagerAsk",
                                                          Bounds(LabelLeft, 190, 400, 17));
    chkShutdownManagerAsk->SetTransparent(true);
    MakeLabel(Page, L"labShutdownManUsername", Bounds(LabelLeft, 226, 130, 15));
    edShutdownManUsername = MakeNamedChild<TFlatComboBox>(*this, Page, L"edShutdownManUsername",
                                                          Bounds(FieldLeft, 222, 200, 21));
    edShutdownManUsername->SetStyle(csDropDownList);
    MakeLabel(Page, L"labShutdownManPassword", Bounds(LabelLeft, 258, 130, 15));
    edShutdownManPassword = MakeNamedChild<TFlatEdit>(*this, Page, L"edShutdownManPassword",
                                                      Bounds(FieldLeft, 254, 200, 19));
    edShutdownManPassword->SetPasswordChar(L'*');
    MakeLabel(Page, L"labNextRunTimeCaption", Bounds(LabelLeft, 294, 130, 15));
    labNextRunTime = MakeLabel(Page, L"labNextRunTime", Bounds(FieldLeft, 294, 300, 15));

    MakeButton(Page, L"btnShutdownManOk", Bounds(421, 378, 110, 25),
               frmDM ? frmDM->avILInside : nullptr, GlyphNone, [this] { btnShutdownManOkClick(); });
}

void TfrmMain::ShutdownSettingsToPage() {
    const TShutdownSettings& S = FShutdown->Settings;
    chkShutdownManagerEnable->SetChecked(S.Enabled);
    cmbShutdownManagerWhen->SetItemIndex(S.Type);
    edShutdownManagerHour->SetValue(S.Hour);
    edShutdownManagerMin->SetValue(S.Min);
    edShutdownManagerEvery->SetValue(S.Every);
    chkShutdownManagerAsk->SetChecked(S.Ask);
    cbWeekDay->SetItemIndex(S.WeekDay);
    edMonthlyDay->SetValue(S.MonthDay);
    edShutdownManUsername->Items().Clear();
    for (int I = 0; I < FShutdown->Accounts.Count(); ++I)
        edShutdownManUsername->Items().Add(FShutdown->Accounts.Strings(I));
    edShutdownManUsername->SetItemIndex(FShutdown->Accounts.IndexOf(S.RunAsUsername));
    edShutdownManPassword->SetText(S.RunAsPassword);
    edShutdownRunDay->SetValue(S.Day);
    edShutdownRunMonth->SetValue(S.Month);
    edShutdownRunYear->SetValue(S.Year);
    labNextRunTime->SetCaption(FShutdown->NextRunText());
}

void TfrmMain::ShutdownPageToSettings() {
    TShutdownSettings& S = FShutdown->Settings;
    S.Enabled = chkShutdownManagerEnable->Checked();
    S.Type = std::max(0, cmbShutdownManagerWhen->ItemIndex());
    S.Hour = edShutdownManagerHour->Value();
    S.Min = edShutdownManagerMin->Value();
    S.Every = edShutdownManagerEvery->Value();
    S.Ask = chkShutdownManagerAsk->Checked();
    S.WeekDay = std::max(0, cbWeekDay->ItemIndex());
    S.MonthDay = edMonthlyDay->Value();
    S.RunAsUsername =
        edShutdownManUsername->ItemIndex() >= 0 ? edShutdownManUsername->Text() : String();
    S.RunAsPassword = edShutdownManPassword->Text();
    S.Day = edShutdownRunDay->Value();
    S.Month = edShutdownRunMonth->Value();
    S.Year = edShutdownRunYear->Value();
}

void TfrmMain::btnShutDownManagerClick() {
    EnsurePageControls(pgShutdownManager);
    FShutdownPageLoading = true;
    FShutdown->OpenPage();
    ShutdownSettingsToPage();
    cmbShutdownManagerWhenClick();
    chkShutdownManagerEnableClick();
    FShutdownPageLoading = false;
    FCore->Flow.ShowPage(pgShutdownManager);
}

void TfrmMain::chkShutdownManagerEnableClick() {
    const bool Enabled = chkShutdownManagerEnable->Checked();
    TWinControl& Page = *MainNotebook->Pages(pgShutdownManager);
    for (int I = 0; I < Page.ControlCount(); ++I) {
        TControl& Control = *Page.Controls(I);
        if (&Control == chkShutdownManagerEnable || dynamic_cast<TavImageExpandButton*>(&Control) ||
            &Control == nimage)
            continue;
        Control.SetEnabled(Enabled);
    }
}

void TfrmMain::cmbShutdownManagerWhenClick() {
    const TShutdownTypeView View = ShutdownTypeView(cmbShutdownManagerWhen->ItemIndex());
    lablShutdownManagerUM->SetCaption(View.UnitMessage.empty() ? String()
                                                               : FCore->Message(View.UnitMessage));
    for (TControl* Control : {static_cast<TControl*>(labShutdownManagerEvery),
                              static_cast<TControl*>(edShutdownManagerEvery),
                              static_cast<TControl*>(lablShutdownManagerUM)})
        Control->SetVisible(View.Interval);
    labShutdownRunOn->SetVisible(View.RunOn);
    cbWeekDay->SetVisible(View.WeekDay);
    edMonthlyDay->SetVisible(View.MonthDay);
    labMonthlyMonth->SetVisible(View.MonthDay);
    for (TControl* Control :
         {static_cast<TControl*>(edShutdownRunDay), static_cast<TControl*>(edShutdownRunMonth),
          static_cast<TControl*>(edShutdownRunYear)})
        Control->SetVisible(View.Date);
    for (TLabel* Label : labShutdownDate)
        Label->SetVisible(View.Date);
    labShutdownRunDate->SetVisible(View.Date);
}

void TfrmMain::btnShutdownManOkClick() {
    if (FShutdownPageLoading)
        return;
    ShutdownPageToSettings();
    try {
        FShutdown->Ok();
    } catch (const Exception& E) {
        // qv.ini could not be written: the task is left as it was.
        FContext->Notice(E.Message(), IPrompt::IconStop);
    }
    labNextRunTime->SetCaption(FShutdown->NextRunText());
}
