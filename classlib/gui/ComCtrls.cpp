#include "classlib/gui/ComCtrls.h"

#include <commctrl.h>

#include <algorithm>
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

// The pictures of the clips that move files: a folder, a waste bin and the sheet in flight.
constexpr TColor FolderFace = TColor(0x60D0F0);
constexpr TColor FolderEdge = TColor(0x2088B0);
constexpr TColor BinFace = TColor(0xC8C8C8);
constexpr TColor BinEdge = TColor(0x606060);

void DrawFolder(TCanvas& Surface, const TRect& R) {
    Surface.Pen().SetColor(FolderEdge);
    Surface.Brush().SetColor(FolderFace);
    const int Tab = std::max(2, R.Height() / 6);
    Surface.Rectangle(TRect(R.Left, R.Top, R.Left + R.Width() * 2 / 5, R.Top + Tab + 1));
    Surface.Rectangle(TRect(R.Left, R.Top + Tab, R.Right, R.Bottom));
}

void DrawBin(TCanvas& Surface, const TRect& R) {
    Surface.Pen().SetColor(BinEdge);
    Surface.Brush().SetColor(BinFace);
    const int Lid = std::max(2, R.Height() / 6);
    const int Inset = R.Width() / 6;
    Surface.Rectangle(TRect(R.Left, R.Top, R.Right, R.Top + Lid));
    Surface.Polygon({TPoint{R.Left + 1, R.Top + Lid}, TPoint{R.Right - 2, R.Top + Lid},
                     TPoint{R.Right - 1 - Inset, R.Bottom - 1},
                     TPoint{R.Left + Inset, R.Bottom - 1}});
    for (int X = R.Left + R.Width() / 3; X < R.Right - R.Width() / 4; X += R.Width() / 4) {
        Surface.MoveTo(X, R.Top + Lid + 2);
        Surface.LineTo(X, R.Bottom - 3);
    }
}

void DrawSheet(TCanvas& Surface, const TRect& R) {
    Surface.Pen().SetColor(clHighlight);
    Surface.Brush().SetColor(clWhite);
    Surface.Rectangle(R);
    for (int Y = R.Top + 3; Y < R.Bottom - 2; Y += 3) {
        Surface.MoveTo(R.Left + 2, Y);
        Surface.LineTo(R.Right - 2, Y);
    }
}

// Where the clip carries its sheet to: a folder for a copy, the bin for a delete; nothing for
// the others, which show the strip of blocks.
enum class TClipTarget { None, Folder, Bin };
TClipTarget ClipTarget(TCommonAVI Clip) {
    switch (Clip) {
    case aviCopyFiles:
    case aviCopyFile:
        return TClipTarget::Folder;
    case aviDeleteFile:
    case aviRecycleFile:
    case aviEmptyRecycle:
        return TClipTarget::Bin;
    default:
        return TClipTarget::None;
    }
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
    if (const TClipTarget Target = ClipTarget(FCommonAVI); Target != TClipTarget::None) {
        // A sheet flies in an arc from the folder on the left to the target on the right, and
        // only while the animation runs.
        const int Size = std::max(6, std::min(Client.Height() - 2, Client.Width() / 5));
        const int Top = Client.Top + (Client.Height() - Size) / 2;
        const TRect From(Client.Left + 2, Top, Client.Left + 2 + Size, Top + Size);
        const TRect To(Client.Right - 2 - Size, Top, Client.Right - 2, Top + Size);
        DrawFolder(Surface, From);
        if (Target == TClipTarget::Folder)
            DrawFolder(Surface, To);
        else
            DrawBin(Surface, To);
        if (!FActive)
            return;
        const int Sheet = std::max(4, Size / 2);
        const double Share = static_cast<double>(FFrame) / (FrameCount - 1);
        const int X = From.Left + static_cast<int>((To.Left - From.Left) * Share) + Size / 4;
        const int Lift = static_cast<int>(std::sin(Share * 3.14159265358979) * Size / 2);
        const int Y = std::max(Client.Top, Top - Lift);
        DrawSheet(Surface, TRect(X, Y, X + Sheet * 3 / 4, Y + Sheet));
        return;
    }
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
