#include "classlib/gui/ComCtrls.h"

#include <commctrl.h>

#include <cmath>

namespace {

SYSTEMTIME ToSystemTime(TDateTime Value) {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    DecodeDate(Value, Year, Month, Day);
    SYSTEMTIME Time{};
    Time.wYear = static_cast<WORD>(Year);
    Time.wMonth = static_cast<WORD>(Month);
    Time.wDay = static_cast<WORD>(Day);
    Time.wDayOfWeek = static_cast<WORD>(DayOfWeek(Value) - 1);
    return Time;
}

} // namespace

// ---------------------------------------------------------- TMonthCalendar

TMonthCalendar::TMonthCalendar(TComponent* AOwner)
    : TSystemControl(AOwner), FDate(std::floor(::Date())) {
    static const bool Registered = [] {
        INITCOMMONCONTROLSEX Classes{sizeof Classes, ICC_DATE_CLASSES};
        return InitCommonControlsEx(&Classes) != FALSE;
    }();
    (void)Registered;
    SetTabStop(true);
    SetBounds(0, 0, 225, 160);
}

void TMonthCalendar::CreateParams(TCreateParams& Params) const {
    TSystemControl::CreateParams(Params);
    Params.WinClassName = MONTHCAL_CLASSW;
    Params.Style |= WS_TABSTOP | (FWeekNumbers ? MCS_WEEKNUMBERS : 0);
}

void TMonthCalendar::CreateWnd() {
    TSystemControl::CreateWnd();
    SYSTEMTIME Selected = ToSystemTime(FDate);
    SendMessageW(Handle(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&Selected));
}

void TMonthCalendar::SetDate(TDateTime Value) {
    Value = std::floor(Value);
    if (Value == FDate)
        return;
    FDate = Value;
    if (HandleAllocated()) {
        SYSTEMTIME Selected = ToSystemTime(FDate);
        SendMessageW(Handle(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&Selected));
    }
}

void TMonthCalendar::SetWeekNumbers(bool Value) {
    if (FWeekNumbers == Value)
        return;
    FWeekNumbers = Value;
    RecreateWnd();
}

void TMonthCalendar::WndProc(TMessage& Message) {
    if (Message.Msg == CN_NOTIFY) {
        const auto* Header = reinterpret_cast<const NMHDR*>(Message.LParam);
        if (Header->code == MCN_SELCHANGE || Header->code == MCN_SELECT) {
            const auto* Change = reinterpret_cast<const NMSELCHANGE*>(Message.LParam);
            TDateTime Chosen = 0;
            if (TryEncodeDate(Change->stSelStart.wYear, Change->stSelStart.wMonth,
                              Change->stSelStart.wDay, Chosen))
                FDate = Chosen;
            if (Header->code == MCN_SELECT && OnClick)
                OnClick(this);
            return;
        }
    }
    TSystemControl::WndProc(Message);
}

// ---------------------------------------------------------------- TAnimate

TAnimate::TAnimate(TComponent* AOwner) : TGraphicControl(AOwner), FTimer(nullptr) {
    FTimer.SetEnabled(false);
    FTimer.SetInterval(100);
    FTimer.OnTimer = [this](TObject*) { Step(); };
    SetBounds(0, 0, 100, 16);
}

void TAnimate::SetActive(bool Value) {
    if (FActive == Value)
        return;
    FActive = Value;
    FTimer.SetEnabled(Value);
    Invalidate();
}

void TAnimate::SetCommonAVI(TCommonAVI Value) {
    if (FCommonAVI == Value)
        return;
    FCommonAVI = Value;
    FFrame = 0;
    Invalidate();
}

void TAnimate::Step() {
    FFrame = (FFrame + 1) % FrameCount;
    Invalidate();
}

void TAnimate::Paint() {
    TCanvas& Surface = Canvas();
    const TRect Client = ClientRect();
    Surface.Brush().SetStyle(bsSolid);
    Surface.Brush().SetColor(Color());
    Surface.FillRect(Client);
    if (FCommonAVI == aviNone && !FActive)
        return;
    // Blocks a third of the height apart; the bright one is where the work is.
    const int Gap = std::max(1, Client.Height() / 4);
    const int Block = std::max(2, (Client.Width() - Gap * (FrameCount - 1)) / FrameCount);
    const int Top = Client.Top + Gap;
    const int Bottom = Client.Bottom - Gap;
    for (int I = 0; I < FrameCount; ++I) {
        const bool Lit = FActive && I == FFrame;
        Surface.Brush().SetColor(Lit ? clHighlight : clBtnShadow);
        Surface.FillRect(TRect(Client.Left + I * (Block + Gap), Top,
                               Client.Left + I * (Block + Gap) + Block, Bottom));
    }
}
