// The interval group shared by all functions: one row per kind, each a radio button followed by
// the kind's values; and the moves between these controls and the view of a function.
#include "app/Language.h"
#include "app/QRVUtils.h"
#include "classlib/gui/NamedChild.h"
#include "scheduler/MainForm.h"

#include <algorithm>
#include <cmath>

namespace {

enum TPartKind { pkRadio, pkSpin, pkLabel, pkDays, pkDate, pkDateButton };

struct TIntervalPart {
    int Row;
    TPartKind Kind;
    const wchar_t* Name;
    int Left;
    int Width;
    // The range of a spin edit.
    int Low = 0;
    int High = 0;
};

constexpr int FirstRowTop = 22;
constexpr int RowStep = 23;
constexpr int PartHeight = 21;

// In the rows' order on screen: the date row stands above the free-space row.
const TIntervalPart IntervalParts[] = {
    {0, pkRadio, L"radEvery1", 12, 62},
    {0, pkSpin, L"edTime1", 76, 56, 1, 100},
    {0, pkLabel, L"labEveryMinutes", 138, 200},
    {1, pkRadio, L"radEvery2", 12, 62},
    {1, pkSpin, L"edTime2", 76, 56, 1, 100},
    {1, pkLabel, L"labEveryHours", 138, 200},
    {2, pkRadio, L"radEvery3", 12, 62},
    {2, pkSpin, L"edTime3", 76, 56, 1, 100},
    {2, pkLabel, L"labEveryDaysAt", 138, 52},
    {2, pkSpin, L"edHour", 192, 54, 0, 23},
    {2, pkLabel, L"labHourColon", 249, 6},
    {2, pkSpin, L"edMin", 258, 54, 0, 59},
    {3, pkRadio, L"radEvery4", 12, 62},
    {3, pkSpin, L"edTime4", 76, 56, 1, 100},
    {3, pkLabel, L"labEveryWeeksOn", 138, 60},
    {3, pkDays, L"cmbDays", 200, 120},
    {4, pkRadio, L"radEvery5", 12, 62},
    {4, pkSpin, L"edTime5", 76, 56, 1, 100},
    {4, pkLabel, L"labEveryMonthsOnDay", 138, 90},
    {4, pkSpin, L"edDayofMonth", 230, 54, 1, 31},
    {5, pkRadio, L"radEvery6", 12, 300},
    {6, pkRadio, L"radEvery8", 12, 62},
    {6, pkDate, L"edDate", 76, 90},
    {6, pkDateButton, L"btnDate", 168, 22},
    {6, pkLabel, L"labOnDateAt", 196, 20},
    {6, pkSpin, L"edOnDateHour", 218, 54, 0, 23},
    {6, pkLabel, L"labOnDateColon", 275, 6},
    {6, pkSpin, L"edOnDateMin", 284, 54, 0, 59},
    {7, pkRadio, L"radEvery7", 12, 230},
    {7, pkSpin, L"edMB", 244, 100, 1, 1000000000},
    {7, pkLabel, L"labFreeSpaceMB", 350, 40},
};

const wchar_t* const DayKeys[] = {L"sSunday",   L"sMonday", L"sTuesday", L"sWednesday",
                                  L"sThursday", L"sFriday", L"sSaturday"};

template <class TControlClass> TControlClass* Named(const TComponent& Owner, const String& Name) {
    return dynamic_cast<TControlClass*>(Owner.FindComponent(Name));
}

// The whole number a spin edit holds, in its range even while a typed value was not yet
// checked (the range check runs when the edit loses the focus).
int SpinValue(const TFlatSpinEditFloat& Spin) {
    return static_cast<int>(std::trunc(std::clamp(Spin.Value(), Spin.MinValue, Spin.MaxValue)));
}

} // namespace

void TfrmSchedulerMain::CreateIntervals() {
    grpIntervals =
        MakeNamedChild<TFlatGroupBox>(*this, *this, L"grpIntervals", Bounds(180, 280, 446, 212));
    String Caption = grpIntervals->Name;
    AppLanguage->GetText(grpIntervals->Name, L"Caption", Caption);
    grpIntervals->SetCaption(Caption);
    btnBTNForSpins =
        MakeNamedChild<TFlatButton>(*this, *this, L"btnBTNForSpins", Bounds(0, 0, 10, 10));
    btnBTNForSpins->SetVisible(false);
    for (const TIntervalPart& Part : IntervalParts) {
        const TRect Where =
            Bounds(Part.Left, FirstRowTop + Part.Row * RowStep, Part.Width, PartHeight);
        switch (Part.Kind) {
        case pkRadio:
            // On the text line of the edits beside it.
            MakeNamedChild<TFlatRadioButton>(*this, *grpIntervals, Part.Name,
                                             Bounds(Part.Left, Where.Top + 2, Part.Width, 17));
            break;
        case pkSpin: {
            auto* Spin = MakeNamedChild<TFlatSpinEditFloat>(*this, *grpIntervals, Part.Name, Where);
            Spin->MinValue = Part.Low;
            Spin->MaxValue = Part.High;
            Spin->Increment = 1;
            Spin->SetPrecision(10);
            Spin->SetValue(Part.Low);
            CopySpinButtonColors(*Spin, *btnBTNForSpins);
            break;
        }
        case pkLabel: {
            auto* Label = MakeNamedChild<TLabel>(*this, *grpIntervals, Part.Name,
                                                 Bounds(Part.Left, Where.Top + 3, Part.Width, 15));
            Label->SetTransparent(true);
            break;
        }
        case pkDays: {
            auto* Days = MakeNamedChild<TFlatComboBox>(*this, *grpIntervals, Part.Name, Where);
            Days->SetStyle(csDropDownList);
            for (const wchar_t* Key : DayKeys)
                Days->Items().Add(MessageText(Key));
            break;
        }
        case pkDate:
            MakeNamedChild<TFlatEdit>(*this, *grpIntervals, Part.Name, Where);
            break;
        case pkDateButton: {
            auto* Button = MakeNamedChild<TFlatButton>(*this, *grpIntervals, Part.Name, Where);
            Button->SetCaption(L"...");
            Button->SetTabStop(true);
            Button->OnClick = [this](TObject*) { btnDateClick(); };
            break;
        }
        }
    }
    for (std::size_t I = 0; I < radEvery.size(); ++I)
        radEvery[I] = Named<TFlatRadioButton>(*this, L"radEvery" + IntToStr(int(I) + 1));
    for (std::size_t I = 0; I < edTime.size(); ++I)
        edTime[I] = Named<TFlatSpinEditFloat>(*this, L"edTime" + IntToStr(int(I) + 1));
    edHour = Named<TFlatSpinEditFloat>(*this, L"edHour");
    edMin = Named<TFlatSpinEditFloat>(*this, L"edMin");
    cmbDays = Named<TFlatComboBox>(*this, L"cmbDays");
    edDayofMonth = Named<TFlatSpinEditFloat>(*this, L"edDayofMonth");
    edMB = Named<TFlatSpinEditFloat>(*this, L"edMB");
    edDate = Named<TFlatEdit>(*this, L"edDate");
    btnDate = Named<TFlatButton>(*this, L"btnDate");
    edOnDateHour = Named<TFlatSpinEditFloat>(*this, L"edOnDateHour");
    edOnDateMin = Named<TFlatSpinEditFloat>(*this, L"edOnDateMin");

    // The radio captions are messages (the two last rows swap their keys).
    const wchar_t* const RadioKeys[] = {L"sEvery", L"sEvery",  L"sEvery",  L"sEvery",
                                        L"sEvery", L"sEvery6", L"sEvery8", L"sEvery7"};
    for (std::size_t I = 0; I < radEvery.size(); ++I)
        radEvery[I]->SetCaption(MessageText(RadioKeys[I]));
}

TSchedView TfrmSchedulerMain::ShownView(int Index) {
    TSchedView View;
    View.FuncName = labFuncName->Caption();
    View.Enabled = chkEnabled->Checked();
    for (std::size_t I = 0; I < radEvery.size(); ++I)
        if (radEvery[I]->Checked())
            View.CheckedInterval = int(I) + 1;
    for (std::size_t I = 0; I < edTime.size(); ++I)
        View.Time[I] = SpinValue(*edTime[I]);
    View.Hour = SpinValue(*edHour);
    View.Min = SpinValue(*edMin);
    View.DateText = edDate->Text();
    View.OnDateHour = SpinValue(*edOnDateHour);
    View.OnDateMin = SpinValue(*edOnDateMin);
    View.DayIndex = cmbDays->ItemIndex();
    View.DayOfMonth = SpinValue(*edDayofMonth);
    View.MB = SpinValue(*edMB);
    ReadList(Index, View);
    return View;
}

void TfrmSchedulerMain::PutView(int Index, const TSchedView& View) {
    labFuncName->SetCaption(View.FuncName);
    chkEnabled->SetChecked(View.Enabled);
    // Kind 0 leaves no button checked.
    for (std::size_t I = 0; I < radEvery.size(); ++I)
        radEvery[I]->SetChecked(View.CheckedInterval == int(I) + 1);
    for (std::size_t I = 0; I < edTime.size(); ++I)
        edTime[I]->SetValue(View.Time[I]);
    edHour->SetValue(View.Hour);
    edMin->SetValue(View.Min);
    edDate->SetText(View.DateText);
    edOnDateHour->SetValue(View.OnDateHour);
    edOnDateMin->SetValue(View.OnDateMin);
    cmbDays->SetItemIndex(View.DayIndex);
    edDayofMonth->SetValue(View.DayOfMonth);
    edMB->SetValue(View.MB);
    PutList(Index, View);
}
