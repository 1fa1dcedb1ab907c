// The self-drawn scroll bar: geometry, input and painting.
#include "treelist/CvScrollBar.h"

#include "classlib/gui/Forms.h"
#include "treelist/CvHintWnd.h"
#include "treelist/CvUxTheme.h"
#include "treelist/CvVCLUtils.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

// The visual-style parts and states of the scroll bar class.
constexpr int ThemeArrowButton = 1;
constexpr int ThemeThumbHorz = 2;
constexpr int ThemeThumbVert = 3;
constexpr int ThemeLowerTrackHorz = 4;
constexpr int ThemeUpperTrackHorz = 5;
constexpr int ThemeLowerTrackVert = 6;
constexpr int ThemeUpperTrackVert = 7;
constexpr int ThemeGripperHorz = 8;
constexpr int ThemeGripperVert = 9;
// Arrow states come in fours (normal, hot, pressed, disabled) for up, down, left and right.
constexpr int ArrowStateBase[] = {1, 5, 9, 13};

bool Decreasing(TCvScrollBarPart Part, TCvSecButtonsKind Kind) {
    switch (Part) {
    case sbpLeftArrow:
    case sbpLeftTop:
        return true;
    case sbpLeftSndArrow:
        return Kind == sbkPage;
    case sbpRightSndArrow:
        return Kind == sbkOpposite;
    default:
        return false;
    }
}

TColor QuarterDarker(TColor Color) {
    const std::uint32_t HLS = RGBToHLS(static_cast<TColor>(ColorToRGB(Color)));
    return HLSToRGB(PackHLS(static_cast<int>(HLS & 0xFF),
                            static_cast<int>((HLS >> 8) & 0xFF) * 3 / 4,
                            static_cast<int>(HLS >> 16)));
}

} // namespace

// ------------------------------------------------------------ geometry

int CvMulDiv(int Number, int Numerator, int Denominator) {
    if (Denominator == 0)
        return -1;
    const long long Product = static_cast<long long>(Number) * Numerator;
    long long Quotient = Product / Denominator;
    const long long Remainder = Product % Denominator;
    if (2 * std::llabs(Remainder) >= std::llabs(static_cast<long long>(Denominator)))
        Quotient += (Product < 0) != (Denominator < 0) ? -1 : 1;
    return static_cast<int>(std::clamp<long long>(Quotient, INT_MIN, INT_MAX));
}

int ScrollButtonLength(const TCvScrollMetrics& M) {
    const int Buttons = M.LeftButtons + M.RightButtons;
    if (Buttons > 0 && M.Length < M.ButtonSize * Buttons)
        return M.Length / Buttons;
    return M.ButtonSize;
}

int ScrollThumbLength(const TCvScrollMetrics& M) {
    if (M.ThumbMode == etmFixed)
        return M.ThumbSize;
    const int Track = M.Length - ScrollButtonLength(M) * (M.LeftButtons + M.RightButtons);
    if (Track < 0)
        return 0;
    const int Range = M.Max - M.Min;
    int T = Track;
    if (M.Page > 0 && Range >= M.Page && M.Max > M.Min)
        T = CvMulDiv(std::min(M.Page, Range + 1), Track, Range + 1);
    else if (M.Page == 0 && M.Max > M.Min)
        T = M.SystemThumb;
    T = std::max(T, M.MinThumbSize);
    return Track < T ? 0 : T;
}

int ScrollThumbPos(const TCvScrollMetrics& M) {
    const int B = ScrollButtonLength(M);
    const int Buttons = M.LeftButtons + M.RightButtons;
    const int T = ScrollThumbLength(M);
    if (T + B * Buttons < M.Length && M.Max >= M.Min) {
        const int Span = M.Max - M.Min - std::min(M.Page, M.Max - M.Min + 1) + 1;
        return M.LeftButtons * B +
               std::max(0, CvMulDiv(M.Length - Buttons * B - T,
                                    std::min(M.Max - M.Page + 1, M.Position) - M.Min, Span));
    }
    return M.LeftButtons * B;
}

int ScrollPositionFromThumb(const TCvScrollMetrics& M, int ThumbPos) {
    const int B = ScrollButtonLength(M);
    const int Buttons = M.LeftButtons + M.RightButtons;
    return M.Min + CvMulDiv(ThumbPos - M.LeftButtons * B,
                            M.Max - M.Min - std::min(M.Page, M.Max - M.Min + 1) + 1,
                            M.Length - Buttons * B - ScrollThumbLength(M));
}

TCvScrollBarPart ScrollHitPart(const TCvScrollMetrics& M, int C, bool Across, bool Secondary) {
    if (!Across)
        return sbpNowhere;
    const int B = ScrollButtonLength(M);
    if (M.LeftButtons > 0 && C >= 0 && C <= B)
        return sbpLeftArrow;
    if (M.RightButtons > 0 && C > M.Length - B)
        return sbpRightArrow;
    if (Secondary) {
        if (M.LeftButtons > 0 && C >= B && C <= 2 * B)
            return sbpLeftSndArrow;
        if (M.RightButtons > 0 && C >= M.Length - 2 * B && C <= M.Length - B)
            return sbpRightSndArrow;
    }
    const int ThumbPos = ScrollThumbPos(M);
    if (C < ThumbPos)
        return sbpLeftTop;
    if (C < ThumbPos + ScrollThumbLength(M))
        return sbpThumb;
    return sbpRightBottom;
}

TCvScrollStep ScrollButtonStep(TCvScrollBarPart Part, TCvSecButtonsKind Kind, int Position, int Min,
                               int Max, int Step, int Page, bool OverPart) {
    const TCvScrollStep LineUp{escLineUp, std::max(Min, Position - Step)};
    const TCvScrollStep LineDown{escLineDown, std::min(Max, Position + Step)};
    switch (Part) {
    case sbpLeftArrow:
        return LineUp;
    case sbpRightArrow:
        return LineDown;
    case sbpLeftSndArrow:
        if (Kind == sbkOpposite)
            return LineDown;
        if (Kind == sbkPage)
            return {escPageUp, std::max(Min, Position - Page)};
        return {escSndLineDown, Position};
    case sbpRightSndArrow:
        if (Kind == sbkOpposite)
            return LineUp;
        if (Kind == sbkPage)
            return {escPageDown, std::min(Max, Position + Page)};
        return {escSndLineUp, Position};
    case sbpLeftTop:
        return {escPageUp, OverPart ? std::max(Min, Position - Page) : Position};
    case sbpRightBottom:
        return {escPageDown, OverPart ? std::min(Max, Position + Page) : Position};
    default:
        return {escEndScroll, Position};
    }
}

TCvWheelPlan PlanWheel(int Delta, UINT Lines) {
    if (Lines == WHEEL_PAGESCROLL || Lines > WHEEL_DELTA)
        return {Delta / WHEEL_DELTA, true};
    const int PerLine = WHEEL_DELTA / static_cast<int>(std::max(1u, Lines));
    return {Delta / PerLine, false};
}

// ------------------------------------------------------------ construction

TCustomCvScrollBar::TCustomCvScrollBar(TComponent* AOwner)
    : TCvXPThemedControl(AOwner), FTimer(std::make_unique<TTimer>(nullptr)) {
    ControlStyle = TControlStyle{csFramed};
    SetParentColor(false);
    SetColor(clBtnFace);
    SetTabStop(true);
    FTimer->SetEnabled(false);
    FTimer->OnTimer = [this](TObject*) { TimerTick(); };
    SetBounds(Left(), Top(), 121, GetSystemMetrics(SM_CYHSCROLL));
    ApplySystemSizes();
}

TCustomCvScrollBar::~TCustomCvScrollBar() = default;

bool TCustomCvScrollBar::IsThemed() const {
    return IsThemeApplied();
}

int TCustomCvScrollBar::BarLength() const {
    return FKind == sbHorizontal ? ClientWidth() : ClientHeight();
}

int TCustomCvScrollBar::Thickness() const {
    return FKind == sbHorizontal ? ClientHeight() : ClientWidth();
}

TCvScrollMetrics TCustomCvScrollBar::Metrics() const {
    TCvScrollMetrics M;
    M.Length = BarLength();
    M.ButtonSize = FUseSystemMetrics
                       ? GetSystemMetrics(FKind == sbHorizontal ? SM_CXHSCROLL : SM_CYVSCROLL)
                       : FButtonSize;
    M.LeftButtons = FShowLeftArrows ? (FSecondaryButtons ? 2 : 1) : 0;
    M.RightButtons = FShowRightArrows ? (FSecondaryButtons ? 2 : 1) : 0;
    M.Min = FMin;
    M.Max = FMax;
    M.Page = FPage;
    M.Position = FPosition;
    M.ThumbMode = FThumbMode;
    M.SystemThumb = GetSystemMetrics(FKind == sbHorizontal ? SM_CXHTHUMB : SM_CYVTHUMB);
    M.ThumbSize = FUseSystemMetrics && FThumbMode == etmFixed ? M.SystemThumb : FThumbSize;
    M.MinThumbSize = FMinThumbSize;
    return M;
}

int TCustomCvScrollBar::ThumbLength() const {
    return ScrollThumbLength(Metrics());
}

void TCustomCvScrollBar::UpdateThumb() {
    FThumbPos = ScrollThumbPos(Metrics());
}

void TCustomCvScrollBar::ApplySystemSizes() {
    if (!FUseSystemMetrics)
        return;
    if (FKind == sbHorizontal) {
        FButtonSize = GetSystemMetrics(SM_CXHSCROLL);
        SetHeight(GetSystemMetrics(SM_CYHSCROLL));
    } else {
        FButtonSize = GetSystemMetrics(SM_CYVSCROLL);
        SetWidth(GetSystemMetrics(SM_CXVSCROLL));
    }
    UpdateThumb();
}

// ------------------------------------------------------------ properties

void TCustomCvScrollBar::SetKind(TScrollBarKind Value) {
    if (FKind == Value)
        return;
    FKind = Value;
    if (!ComponentState().Contains(csLoading))
        SetBounds(Left(), Top(), Height(), Width());
    if (FUseSystemMetrics)
        ApplySystemSizes();
    UpdateThumb();
    Invalidate();
}

void TCustomCvScrollBar::SetMin(int Value) {
    FMin = Value;
    FMax = std::max(FMax, FMin);
    FPage = std::min(FPage, FMax - FMin + 1);
    FPosition = std::clamp(FPosition, FMin, FMax);
    UpdateThumb();
    Invalidate();
}

void TCustomCvScrollBar::SetMax(int Value) {
    FMax = std::max(Value, FMin);
    FPage = std::min(FPage, FMax - FMin + 1);
    FPosition = std::clamp(FPosition, FMin, FMax);
    UpdateThumb();
    Invalidate();
}

void TCustomCvScrollBar::SetPage(int Value) {
    if (Value < 0)
        return;
    FPage = std::min(Value, FMax - FMin + 1);
    UpdateThumb();
    Invalidate();
}

void TCustomCvScrollBar::SetPosition(int Value) {
    if (ComponentState().Contains(csLoading)) {
        FPosition = Value;
        return;
    }
    const int Old = FPosition;
    FPosition = std::clamp(Value, FMin, FMax);
    UpdateThumb();
    if (FPosition != Old)
        Invalidate();
    int Asked = Value;
    bool DoChange = true;
    NotifyScroll(escPosition, Asked, DoChange);
}

void TCustomCvScrollBar::SetThumbMode(TCvScrollThumbMode Value) {
    FThumbMode = Value;
    UpdateThumb();
    Invalidate();
}

void TCustomCvScrollBar::SetThumbSize(int Value) {
    if (Value <= 0)
        return;
    FThumbSize = Value;
    UpdateThumb();
    Invalidate();
}

void TCustomCvScrollBar::SetMinThumbSize(int Value) {
    if (Value <= 0)
        return;
    FMinThumbSize = Value;
    UpdateThumb();
    Invalidate();
}

void TCustomCvScrollBar::SetButtonSize(int Value) {
    if (Value <= 0 || (HandleAllocated() && 2 * Value > BarLength()))
        return;
    FButtonSize = Value;
    UpdateThumb();
    Invalidate();
}

void TCustomCvScrollBar::SetUseSystemMetrics(bool Value) {
    FUseSystemMetrics = Value;
    if (Value && !ComponentState().Contains(csLoading))
        ApplySystemSizes();
    UpdateThumb();
    Invalidate();
}

void TCustomCvScrollBar::SetShowLeftArrows(bool Value) {
    FShowLeftArrows = Value;
    UpdateThumb();
    Invalidate();
}

void TCustomCvScrollBar::SetShowRightArrows(bool Value) {
    FShowRightArrows = Value;
    UpdateThumb();
    Invalidate();
}

void TCustomCvScrollBar::SetSecondaryButtons(bool Value) {
    FSecondaryButtons = Value;
    UpdateThumb();
    Invalidate();
}

void TCustomCvScrollBar::SetDrawFrames(bool Value) {
    FDrawFrames = Value;
    if (!Value)
        DrawArrowFrames = false;
    Invalidate();
}

void TCustomCvScrollBar::SetWideHint(const String& Value) {
    FWideHint = Value;
    Hint = PackedHintString(Value);
}

void TCustomCvScrollBar::HintShow(THintInfo& Info) const {
    // The class library shows a hint's short part: the wide one is cut alike.
    Info.HintStr = PackedHintString(ShortHintOf(FWideHint));
}

void TCustomCvScrollBar::Loaded() {
    TCvXPThemedControl::Loaded();
    FMax = std::max(FMax, FMin);
    FPage = std::min(FPage, FMax - FMin + 1);
    FPosition = std::clamp(FPosition, FMin, FMax);
    ApplySystemSizes();
    UpdateThumb();
}

void TCustomCvScrollBar::ColorChanged() {
    TCvXPThemedControl::ColorChanged();
    Invalidate();
}

void TCustomCvScrollBar::EnabledChanged() {
    TCvXPThemedControl::EnabledChanged();
    Invalidate();
}

void TCustomCvScrollBar::WMWindowPosChanged(TWMWindowPosChanged& Message) {
    TCvXPThemedControl::WMWindowPosChanged(Message);
    UpdateThumb();
    Invalidate();
}

// ------------------------------------------------------------ notifications

void TCustomCvScrollBar::NotifyChange() {
    if (OnChange)
        OnChange(this);
}

void TCustomCvScrollBar::NotifyScroll(TCvScrollCode Code, int& Position, bool& DoChange) {
    if (OnScroll)
        OnScroll(this, Code, Position, DoChange);
}

void TCustomCvScrollBar::NotifyScrollHintNeeded(int TrackPosition, String& Hint) {
    if (OnScrollHintNeeded)
        OnScrollHintNeeded(this, TrackPosition, Hint);
}

void TCustomCvScrollBar::NotifyHitTest(int X, int Y, TCvScrollBarPart& Part, bool& DefaultTest) {
    if (OnHitTest)
        OnHitTest(this, X, Y, Part, DefaultTest);
}

bool TCustomCvScrollBar::Scroll(TCvScrollCode Code, int NewPosition) {
    bool DoChange = true;
    NotifyScroll(Code, NewPosition, DoChange);
    if (!DoChange)
        return false;
    const int Old = FPosition;
    FPosition = std::clamp(NewPosition, FMin, FMax);
    UpdateThumb();
    if (FPosition != Old)
        Invalidate();
    return true;
}

// ------------------------------------------------------------ hit testing and stepping

TCvScrollBarPart TCustomCvScrollBar::HitTest(int X, int Y) {
    TCvScrollBarPart Part = sbpNowhere;
    bool DefaultTest = true;
    NotifyHitTest(X, Y, Part, DefaultTest);
    if (!DefaultTest)
        return Part;
    const int Across = FKind == sbHorizontal ? Y : X;
    return ScrollHitPart(Metrics(), Along(X, Y), Across >= 0 && Across < Thickness(),
                         FSecondaryButtons);
}

bool TCustomCvScrollBar::CanScrollUp() const {
    return FPosition > FMin && FMax - FMin >= FPage;
}

bool TCustomCvScrollBar::CanScrollDown() const {
    const int End = AltDisablingArrows ? FMax - FPage + 1 : FMax;
    return FPosition < End && FMax - FMin >= FPage;
}

bool TCustomCvScrollBar::StepCanMove(TCvScrollBarPart Part) const {
    if (SecondBtnKind == sbkCustom && (Part == sbpLeftSndArrow || Part == sbpRightSndArrow))
        return true;
    return Decreasing(Part, SecondBtnKind) ? CanScrollUp() : CanScrollDown();
}

bool TCustomCvScrollBar::StepPressed(bool First) {
    const bool Over = HitTest(FPressPoint.X, FPressPoint.Y) == FPressedPart;
    const int Page = First || FPage != 0 ? FPage : 1;
    const TCvScrollStep Step = ScrollButtonStep(FPressedPart, SecondBtnKind, FPosition, FMin, FMax,
                                                this->Step, Page, Over);
    const bool Taken = Scroll(Step.Code, Step.Position);
    if (Taken && First)
        NotifyChange();
    return Taken;
}

void TCustomCvScrollBar::TimerTick() {
    FTimer->SetInterval(static_cast<UINT>(KeyboardTimingMs(SPI_GETKEYBOARDSPEED)));
    if (FTracking && FPressedPart != sbpThumb && FPressedPart != sbpNowhere)
        StepPressed(false);
}

// ------------------------------------------------------------ mouse and keys

void TCustomCvScrollBar::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        Message.Result = 1;
        return;
    case WM_GETDLGCODE:
        TCvXPThemedControl::WndProc(Message);
        Message.Result |= DLGC_WANTARROWS;
        return;
    case SBM_GETSCROLLINFO:
        Message.Result = GetScrollInfoMessage(reinterpret_cast<SCROLLINFO*>(Message.LParam));
        return;
    case SBM_SETSCROLLINFO:
        Message.Result = SetScrollInfoMessage(reinterpret_cast<const SCROLLINFO*>(Message.LParam),
                                              Message.WParam != 0);
        return;
    case CM_HINTSHOW:
        HintShow(*reinterpret_cast<THintInfo*>(Message.LParam));
        Message.Result = 0;
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if ((Flat && !ActiveFlat) || IsThemed())
            Invalidate();
        break;
    case CM_MOUSEENTER:
        FMouseInside = true;
        if ((Flat && !ActiveFlat) || IsThemed())
            Invalidate();
        break;
    case CM_MOUSELEAVE: {
        FMouseInside = false;
        const TCvScrollBarPart Old = std::exchange(FHotPart, sbpNowhere);
        const bool ButtonWasHot = Old == sbpLeftArrow || Old == sbpRightArrow ||
                                  Old == sbpLeftSndArrow || Old == sbpRightSndArrow;
        if ((Flat && !ActiveFlat) || IsThemed() || ButtonWasHot)
            Invalidate();
        break;
    }
    default:
        break;
    }
    TCvXPThemedControl::WndProc(Message);
}

void TCustomCvScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && !FTracking) {
        const TCvScrollBarPart Part = HitTest(X, Y);
        const bool Changed = Part != FPressedPart;
        FPressedPart = Part;
        FHotPart = Part;
        FPressPoint = TPoint{X, Y};
        bool Start = false;
        if (Part == sbpThumb) {
            Start = FPage < FMax - FMin + 1 && FMax != FMin;
            if (Start) {
                FPressPosition = FPosition;
                FPressThumbPos = FThumbPos;
                FGrab = Along(X, Y) - FThumbPos;
            }
        } else if (Part != sbpNowhere) {
            Start = StepCanMove(Part) || NoDisableButtons;
        }
        if (Start) {
            FTracking = true;
            const HWND Previous = GetCapture();
            FPreviousCapture = Previous == Handle() ? nullptr : Previous;
            SetCapture(Handle());
            if (Part == sbpThumb) {
                if (ShowTrackHint)
                    UpdateTrackHint();
            } else {
                FTimer->SetInterval(static_cast<UINT>(KeyboardTimingMs(SPI_GETKEYBOARDDELAY)));
                FTimer->SetEnabled(true);
                StepPressed(true);
            }
        } else {
            FPressedPart = sbpNowhere;
        }
        if (Changed || Start)
            Invalidate();
    }
    TCvXPThemedControl::MouseDown(Button, Shift, X, Y);
}

void TCustomCvScrollBar::MouseMove(TShiftState Shift, int X, int Y) {
    if (!FTracking || FPressedPart != sbpThumb) {
        const TCvScrollBarPart Under = HitTest(X, Y);
        if (FTracking) {
            FPressPoint = TPoint{X, Y};
            // Holding repeats only over the pressed part; away from it the press pauses.
            FTimer->SetEnabled(Under == FPressedPart);
        }
        if (Under != FHotPart) {
            FHotPart = Under;
            Invalidate();
        }
    } else {
        DragThumb(Along(X, Y));
    }
    TCvXPThemedControl::MouseMove(Shift, X, Y);
}

void TCustomCvScrollBar::DragThumb(int C) {
    const TCvScrollMetrics M = Metrics();
    const int Length = M.Length;
    const int Old = FThumbPos;
    if (C < -Length / 2 || C > Length + Length / 2) {
        FThumbPos = FPressThumbPos; // too far off: back to where the drag began
        FPosition = std::clamp(ScrollPositionFromThumb(M, FThumbPos), FMin, FMax);
        Invalidate();
    } else {
        const int B = ScrollButtonLength(M);
        const int Low = M.LeftButtons * B;
        const int High = Length - M.RightButtons * B - ScrollThumbLength(M);
        FThumbPos = std::clamp(C - FGrab, Low, std::max(Low, High));
        FPosition = std::clamp(ScrollPositionFromThumb(M, FThumbPos), FMin, FMax);
        if (!NoScrollMessages)
            SendThumbPosition();
        int Position = FPosition;
        bool DoChange = true;
        NotifyScroll(escTrack, Position, DoChange);
        if (FThumbPos != Old)
            Invalidate();
    }
    if (ShowTrackHint)
        UpdateTrackHint();
}

void TCustomCvScrollBar::SendThumbPosition() {
    if (!Parent() || !Parent()->HandleAllocated())
        return;
    SendMessageW(Parent()->Handle(), FKind == sbHorizontal ? WM_HSCROLL : WM_VSCROLL,
                 MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(FPosition)),
                 reinterpret_cast<LPARAM>(Handle()));
}

void TCustomCvScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && FTracking)
        StopTracking(true);
    TCvXPThemedControl::MouseUp(Button, Shift, X, Y);
}

void TCustomCvScrollBar::CaptureLost() {
    TCvXPThemedControl::CaptureLost();
    if (FTracking)
        StopTracking(true); // as a release: the thumb's position is taken
}

void TCustomCvScrollBar::EndTracking() {
    if (FTracking)
        StopTracking(true);
}

void TCustomCvScrollBar::StopTracking(bool Notify) {
    FTimer->SetEnabled(false);
    FTracking = false;
    if (FPreviousCapture && IsWindow(FPreviousCapture))
        SetCapture(FPreviousCapture);
    else if (HandleAllocated() && GetCapture() == Handle())
        ReleaseCapture();
    FPreviousCapture = nullptr;
    const TCvScrollBarPart Part = std::exchange(FPressedPart, sbpNowhere);
    if (Notify) {
        bool Taken = false;
        if (Part == sbpThumb) {
            FTrackHint.reset();
            Taken = Scroll(escPosition, ScrollPositionFromThumb(Metrics(), FThumbPos));
        } else {
            Taken = Scroll(escEndScroll, FPosition);
        }
        if (Taken)
            NotifyChange();
    }
    UpdateThumb();
    Invalidate();
}

void TCustomCvScrollBar::KeyDown(WORD& Key, TShiftState Shift) {
    if (!Shift.Empty() || Key == VK_TAB) {
        TCvXPThemedControl::KeyDown(Key, Shift);
        return;
    }
    TCvScrollCode Code = escEndScroll;
    int Target = FPosition;
    switch (Key) {
    case VK_PRIOR:
        Code = escPageUp;
        Target = std::max(FMin, FPosition - FPage);
        break;
    case VK_NEXT:
        Code = escPageDown;
        Target = std::min(FMax, FPosition + FPage);
        break;
    case VK_END:
        Code = escBottom;
        Target = FMax;
        break;
    case VK_HOME:
        Code = escTop;
        Target = FMin;
        break;
    case VK_LEFT:
    case VK_UP:
        Code = escLineUp;
        Target = std::max(FMin, FPosition - 1);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        Code = escLineDown;
        Target = std::min(FMax, FPosition + 1);
        break;
    default:
        Key = 0; // taken, with no effect
        return;
    }
    Key = 0;
    bool DoChange = true;
    NotifyScroll(Code, Target, DoChange);
    if (DoChange && Target != FPosition) {
        FPosition = std::clamp(Target, FMin, FMax);
        UpdateThumb();
        Invalidate();
        NotifyChange();
    }
}

bool TCustomCvScrollBar::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (TCvXPThemedControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    UINT Lines = 3;
    if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0))
        Lines = 3;
    const TCvWheelPlan Plan = PlanWheel(WheelDelta, Lines);
    const int Distance = Plan.ByPage ? std::max(1, FPage) : 1;
    for (int I = 0; I < std::abs(Plan.Steps); ++I) {
        const bool Forward = Plan.Steps > 0;
        const TCvScrollCode Code =
            Plan.ByPage ? (Forward ? escPageUp : escPageDown) : (Forward ? escLineUp : escLineDown);
        if (!Scroll(Code, Forward ? FPosition - Distance : FPosition + Distance))
            break;
    }
    Scroll(escEndScroll, FPosition);
    return true;
}

// ------------------------------------------------------------ scroll-info messages

LRESULT TCustomCvScrollBar::GetScrollInfoMessage(SCROLLINFO* Info) {
    if (!Info || Info->cbSize < 28)
        return 0;
    if (Info->fMask & SIF_RANGE) {
        Info->nMin = FMin;
        Info->nMax = FMax;
    }
    if (Info->fMask & SIF_PAGE)
        Info->nPage = static_cast<UINT>(FPage);
    if (Info->fMask & SIF_POS)
        Info->nPos = FPosition;
    if (Info->fMask & SIF_TRACKPOS)
        Info->nTrackPos = ScrollPositionFromThumb(Metrics(), FThumbPos);
    return TRUE;
}

LRESULT TCustomCvScrollBar::SetScrollInfoMessage(const SCROLLINFO* Info, bool Redraw) {
    if (!Info || Info->cbSize < 28)
        return FPosition;
    const bool HasPage = (Info->fMask & SIF_PAGE) != 0;
    const bool HasPos = (Info->fMask & SIF_POS) != 0;
    const int Page = static_cast<int>(std::min<UINT>(Info->nPage, INT_MAX));
    if (Info->fMask & SIF_RANGE) {
        if (Info->nMax >= Info->nMin) {
            const bool Inside = FPosition >= Info->nMin && FPosition <= Info->nMax;
            if (HasPos || Inside) {
                if (HasPos)
                    FPosition = Info->nPos >= Info->nMin && Info->nPos <= Info->nMax ? Info->nPos
                                                                                     : Info->nMax;
                FMin = Info->nMin;
                FMax = Info->nMax;
                if (HasPage)
                    FPage = Page;
            }
        }
    } else if (HasPos) {
        if (Info->nPos >= FMin && Info->nPos <= FMax) {
            FPosition = Info->nPos;
            if (HasPage)
                FPage = Page;
        }
    } else if (HasPage) {
        FPage = Page;
    }
    FPage = std::min(FPage, FMax - FMin + 1);
    UpdateThumb();
    if (Redraw)
        Invalidate();
    return FPosition;
}

// ------------------------------------------------------------ track hint

void TCustomCvScrollBar::UpdateTrackHint() {
    String Text;
    NotifyScrollHintNeeded(FPosition, Text);
    if (Text.empty()) {
        FTrackHint.reset();
        return;
    }
    if (!FTrackHint)
        FTrackHint = std::make_unique<TCvHintWindow>(nullptr);
    FTrackHint->Font().Assign(Font());
    FTrackHint->Font().SetColor(clInfoText);
    FTrackHint->SetColor(clInfoBk);
    FTrackHint->IsHTML = IsHTML;
    const TPoint At =
        ClientToScreen(FKind == sbVertical ? TPoint{-2, FThumbPos - 2} : TPoint{FThumbPos - 2, -5});
    // Measured and placed for the monitor the scroll bar is on.
    const TRect Monitor = Screen->MonitorAt(At).WorkArea;
    const TRect Size = FTrackHint->MeasureHint(Monitor.Width(), Text);
    const TRect Placed = ClampToDesktop(
        Bounds(At.X - 1 - Size.Width(), At.Y - 1 - Size.Height(), Size.Width(), Size.Height()),
        Monitor);
    FTrackHint->ActivateWideHint(Placed, Text);
}

// ------------------------------------------------------------ painting

TRect TCustomCvScrollBar::PartRect(TCvScrollBarPart Part) const {
    const TCvScrollMetrics M = Metrics();
    const int B = ScrollButtonLength(M);
    const int L = M.Length;
    const int T = ScrollThumbLength(M);
    const int TrackStart = M.LeftButtons * B;
    const int TrackEnd = L - M.RightButtons * B;
    int From = 0;
    int To = 0;
    switch (Part) {
    case sbpLeftArrow:
        To = B;
        break;
    case sbpLeftSndArrow:
        From = B;
        To = 2 * B;
        break;
    case sbpRightSndArrow:
        From = L - 2 * B;
        To = L - B;
        break;
    case sbpRightArrow:
        From = L - B;
        To = L;
        break;
    case sbpLeftTop:
        From = TrackStart;
        To = FThumbPos;
        break;
    case sbpThumb:
        From = FThumbPos;
        To = FThumbPos + T;
        break;
    case sbpRightBottom:
        From = FThumbPos + T;
        To = TrackEnd;
        break;
    case sbpNowhere:
        From = TrackStart;
        To = TrackEnd;
        break;
    }
    const int Across = Thickness();
    return FKind == sbHorizontal ? TRect(From, 0, To, Across) : TRect(0, From, Across, To);
}

bool TCustomCvScrollBar::PartEnabled(TCvScrollBarPart Part) const {
    if (!Enabled())
        return false;
    if (Part == sbpThumb || Part == sbpLeftTop || Part == sbpRightBottom || NoDisableButtons)
        return true;
    return StepCanMove(Part);
}

void TCustomCvScrollBar::Paint() {
    TCanvas& C = Canvas();
    std::vector<TCvScrollBarPart> Parts;
    if (FShowLeftArrows)
        Parts.push_back(sbpLeftArrow);
    if (FShowRightArrows)
        Parts.push_back(sbpRightArrow);
    if (FSecondaryButtons) {
        if (FShowLeftArrows)
            Parts.push_back(sbpLeftSndArrow);
        if (FShowRightArrows)
            Parts.push_back(sbpRightSndArrow);
    }
    const bool TrackLive = ThumbLength() > 0 && Enabled();
    if (TrackLive) {
        Parts.push_back(sbpLeftTop);
        Parts.push_back(sbpThumb);
        Parts.push_back(sbpRightBottom);
    } else {
        Parts.push_back(sbpNowhere); // the whole track, disabled
    }
    for (const TCvScrollBarPart Part : Parts) {
        const TRect R = PartRect(Part);
        if (R.IsEmpty())
            continue;
        const bool PartOn = Part == sbpNowhere ? false : PartEnabled(Part);
        if (OwnerDraw && OnDrawPart) {
            bool DefaultDraw = true;
            const bool Pressed = Part == FPressedPart && Part == FHotPart;
            OnDrawPart(this, C, R, Part, PartOn, RaisedLook(Part), Pressed, DefaultDraw);
            if (!DefaultDraw)
                continue;
        }
        DrawPart(C, Part, R, PartOn);
    }
}

bool TCustomCvScrollBar::RaisedLook(TCvScrollBarPart Part) const {
    if (!Flat)
        return true;
    if (Part == sbpThumb)
        return (Focused() && !ActiveFlat) ||
               (FHotPart == sbpThumb && !ActiveFlat && FMax - FMin + 1 > FPage);
    return FHotPart == Part && !FTracking && !ActiveFlat && PartEnabled(Part);
}

void TCustomCvScrollBar::DrawPart(TCanvas& Canvas, TCvScrollBarPart Part, const TRect& R,
                                  bool Enabled) {
    switch (Part) {
    case sbpThumb:
        DrawThumb(Canvas, R);
        break;
    case sbpLeftTop:
    case sbpRightBottom:
    case sbpNowhere:
        DrawTrack(Canvas, Part, R, Enabled);
        break;
    default:
        DrawButton(Canvas, Part, R, Enabled);
        break;
    }
}

int TCustomCvScrollBar::ThemeState(TCvScrollBarPart Part, bool Enabled) const {
    if (!Enabled)
        return 4;
    if (Part == FPressedPart && Part == FHotPart)
        return 3;
    if (Part == FHotPart && !FTracking)
        return 2;
    return 1;
}

TCvArrowDirection TCustomCvScrollBar::ArrowOf(TCvScrollBarPart Part) const {
    bool TowardsStart = Part == sbpLeftArrow || Part == sbpRightSndArrow;
    if ((Part == sbpLeftSndArrow || Part == sbpRightSndArrow) && SecondBtnKind == sbkPage)
        TowardsStart = Part == sbpLeftSndArrow;
    if (FKind == sbHorizontal)
        return TowardsStart ? adLeft : adRight;
    return TowardsStart ? adUp : adDown;
}

void TCustomCvScrollBar::DrawButton(TCanvas& Canvas, TCvScrollBarPart Part, const TRect& R,
                                    bool Enabled) {
    const HDC DC = Canvas.Handle();
    const TCvArrowDirection Direction = ArrowOf(Part);
    const bool Second = Part == sbpLeftSndArrow || Part == sbpRightSndArrow;
    const int State = ThemeState(Part, Enabled);
    if (IsThemed()) {
        static constexpr int BaseByDirection[] = {2, 0, 3, 1}; // left, up, right, down
        const int ThemePart = Second ? ThemeThumbHorz : ThemeArrowButton;
        const int ThemeStateId =
            Second ? State : ArrowStateBase[BaseByDirection[Direction]] + State - 1;
        if (SUCCEEDED(DrawThemePart(Theme(), DC, ThemePart, ThemeStateId, R))) {
            if (Second)
                DrawArrow(DC, Direction, R, ArrowColor, Enabled);
            return;
        }
    }
    FillRectColor(DC, R, DrawArrowFrames ? Color() : TrackColor());
    const bool Down = Part == FPressedPart && Part == FHotPart;
    if (DrawArrowFrames)
        DrawButtonBevel(DC, R, RaisedLook(Part), Down, Color(), ThinFrames);
    const TColor Glyph = Part == FHotPart ? ArrowHotTrackColor : ArrowColor;
    if (Second && SecondBtnKind == sbkPage) {
        // Two arrows, 3 pixels apart, for a page step.
        TRect First = R;
        TRect Next = R;
        if (FKind == sbHorizontal) {
            First.Right -= 3;
            Next.Left += 3;
        } else {
            First.Bottom -= 3;
            Next.Top += 3;
        }
        DrawArrow(DC, Direction, First, Glyph, Enabled);
        DrawArrow(DC, Direction, Next, Glyph, Enabled);
    } else {
        DrawArrow(DC, Direction, R, Glyph, Enabled);
    }
}

TColor TCustomCvScrollBar::TrackColor() const {
    if (SystemBkColor)
        return clScrollBar;
    return Color();
}

bool TCustomCvScrollBar::UsesChecker() const {
    return (BlendBackground && !SystemBkColor) ||
           (SystemBkColor && GetSysColor(COLOR_SCROLLBAR) == GetSysColor(COLOR_BTNFACE));
}

void TCustomCvScrollBar::DrawTrack(TCanvas& Canvas, TCvScrollBarPart Part, const TRect& R,
                                   bool Enabled) {
    const HDC DC = Canvas.Handle();
    if (IsThemed()) {
        const bool Lower = Part != sbpRightBottom;
        const int ThemePart = FKind == sbHorizontal
                                  ? (Lower ? ThemeLowerTrackHorz : ThemeUpperTrackHorz)
                                  : (Lower ? ThemeLowerTrackVert : ThemeUpperTrackVert);
        if (SUCCEEDED(DrawThemePart(Theme(), DC, ThemePart, ThemeState(Part, Enabled), R)))
            return;
    }
    const bool PressedHere = Part != sbpNowhere && Part == FPressedPart && Part == FHotPart;
    if (PressedHere && ChangeColorsOnScroll) {
        FillRectColor(DC, R, Color() == clBtnFace ? clBtnShadow : QuarterDarker(Color()));
        return;
    }
    if (!UsesChecker()) {
        FillRectColor(DC, R, TrackColor());
        return;
    }
    FillChecker(DC, R, Color());
}

void FillChecker(HDC DC, const TRect& R, TColor Color) {
    // Pixel (i, j) of the 8 x 8 pattern is Color when i xor j is odd, else a lighter shade.
    const COLORREF Dark = ColorToRGB(Color);
    const COLORREF Light = ColorToRGB(ColorLighten(static_cast<TColor>(Dark), 50));
    const TMemoryDC Memory(DC);
    const TBitmapObject Pattern(CreateCompatibleBitmap(DC, 8, 8));
    {
        const TSelectObject Use(Memory.Handle(), Pattern.Get());
        for (int I = 0; I < 8; ++I)
            for (int J = 0; J < 8; ++J)
                ::SetPixel(Memory.Handle(), I, J, ((I ^ J) & 1) ? Dark : Light);
    }
    const TBrushObject Brush(CreatePatternBrush(Pattern.Get()));
    const RECT Area = R;
    SetBrushOrgEx(DC, 0, 0, nullptr);
    FillRect(DC, &Area, Brush.Get());
}

void TCustomCvScrollBar::DrawThumb(TCanvas& Canvas, const TRect& R) {
    const HDC DC = Canvas.Handle();
    const bool Pressed = FPressedPart == sbpThumb;
    if (IsThemed()) {
        const int State = ThemeState(sbpThumb, Enabled());
        const int Thumb = FKind == sbHorizontal ? ThemeThumbHorz : ThemeThumbVert;
        if (SUCCEEDED(DrawThemePart(Theme(), DC, Thumb, State, R))) {
            if (DrawBars)
                DrawThemePart(Theme(), DC,
                              FKind == sbHorizontal ? ThemeGripperHorz : ThemeGripperVert, State,
                              R);
            return;
        }
    }
    FillRectColor(DC, R, Color());
    const bool Sunken = Pressed && !NoSunkenThumb;
    if (FDrawFrames)
        DrawButtonBevel(DC, R, RaisedLook(sbpThumb), Sunken, Color(), ThinFrames);
    const int Length = FKind == sbHorizontal ? R.Width() : R.Height();
    const int Across = Thickness();
    const int Offset = static_cast<int>(BarOffset) + (FDrawFrames ? 1 : 0);
    const int Shift = Sunken ? 1 : 0;
    if (!DrawBars || Length <= 14 || Across < 2 * Offset + 3)
        return;
    const int Middle = (FKind == sbHorizontal ? R.Left : R.Top) + Length / 2;
    for (const int Step : {-3, -1, 1, 3}) {
        const int At = Middle + Step + Shift;
        const TRect Line = FKind == sbHorizontal
                               ? TRect(At, Offset + Shift, At + 1, Across - Offset + Shift)
                               : TRect(Offset + Shift, At, Across - Offset + Shift, At + 1);
        FillRectColor(DC, Line, BarColor);
    }
}

// ------------------------------------------------------------ styles

TCvScrollBarStyles::TCvScrollBarStyles(TCustomCvScrollBar* Bar, TComponent* Owner)
    : FBar(Bar), FOwner(Owner) {
    if (!Bar || !Owner)
        throw Exception(L"No scrollbar specified when attempting to create TCvScrollBarStyles "
                        L"instance");
    FBar->SetUseSystemMetrics(true);
}

void TCvScrollBarStyles::Assign(const TPersistent& Source) {
    const auto* From = dynamic_cast<const TCvScrollBarStyles*>(&Source);
    if (!From) {
        TPersistent::Assign(Source);
        return;
    }
    TCustomCvScrollBar& To = *FBar;
    const TCustomCvScrollBar& Bar = *From->FBar;
    To.ActiveFlat = Bar.ActiveFlat;
    To.BlendBackground = Bar.BlendBackground;
    To.SetColor(Bar.Color());
    To.Flat = Bar.Flat;
    To.SetMinThumbSize(Bar.MinThumbSize());
    To.OwnerDraw = Bar.OwnerDraw;
    To.SetSecondaryButtons(Bar.SecondaryButtons());
    To.SecondBtnKind = Bar.SecondBtnKind;
    To.ShowTrackHint = Bar.ShowTrackHint;
    To.SetThumbMode(Bar.ThumbMode());
    To.SetThumbSize(Bar.ThumbSize());
    To.Invalidate();
}

int TCvScrollBarStyles::Width() const {
    return FBar->Kind() == sbVertical ? FBar->Width() : FBar->Height();
}

void TCvScrollBarStyles::SetWidth(int Value) {
    if (FBar->UseSystemMetrics() && !FOwner->ComponentState().Contains(csLoading)) {
        FBar->SetUseSystemMetrics(true); // the system's sizes win
    } else if (FBar->Kind() == sbVertical) {
        FBar->SetWidth(Value);
    } else {
        FBar->SetHeight(Value);
    }
    if (OnChange)
        OnChange(this);
}

void TCvScrollBarStyles::SetUseSystemMetrics(bool Value) {
    if (FBar->UseSystemMetrics() == Value)
        return;
    FBar->SetUseSystemMetrics(Value);
    if (OnChange)
        OnChange(this);
}
