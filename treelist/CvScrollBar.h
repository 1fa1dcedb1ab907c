// A scroll bar control that draws and runs itself: flat or raised, coloured, owner-drawable,
// with optional second buttons, a thumb sized by the page, a repeat timer on the buttons and
// page areas, and a hint that follows the dragged thumb.
#pragma once

#include "classlib/gui/Controls.h"
#include "classlib/gui/ExtCtrls.h"
#include "treelist/CvVCLUtils.h"
#include "treelist/CvXPThemedControl.h"

#include <functional>
#include <memory>

class TCvHintWindow;
struct THintInfo;

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TCvScrollBarPart {
    sbpNowhere,
    sbpLeftArrow,
    sbpLeftSndArrow,
    sbpRightSndArrow,
    sbpRightArrow,
    sbpThumb,
    sbpLeftTop,
    sbpRightBottom
};
enum TCvScrollCode {
    escLineUp,
    escLineDown,
    escPageUp,
    escPageDown,
    escPosition,
    escTrack,
    escTop,
    escBottom,
    escEndScroll,
    escSndLineUp,
    escSndLineDown
};
enum TCvScrollThumbMode { etmAuto, etmFixed };
enum TCvSecButtonsKind { sbkOpposite, sbkPage, sbkCustom };

// ------------------------------------------------------------ geometry, without a window

// Multiplies in 64 bits and divides rounding to the nearest; a zero divisor gives -1.
int CvMulDiv(int Number, int Numerator, int Denominator);

// What the bar's layout depends on. Length runs along the bar.
struct TCvScrollMetrics {
    int Length = 0;
    int ButtonSize = 16;  // before it is shrunk to fit
    int LeftButtons = 1;  // 0, 1 or 2
    int RightButtons = 1; // 0, 1 or 2
    int Min = 0;
    int Max = 100;
    int Page = 14;
    int Position = 0;
    TCvScrollThumbMode ThumbMode = etmAuto;
    int ThumbSize = 0;    // in etmFixed
    int MinThumbSize = 4; // in etmAuto
    int SystemThumb = 16; // the thumb of a bar with no page
};

// The button length, shrunk so that the buttons fit.
int ScrollButtonLength(const TCvScrollMetrics& M);
// The thumb length; 0 for no thumb.
int ScrollThumbLength(const TCvScrollMetrics& M);
// The thumb's offset from the start.
int ScrollThumbPos(const TCvScrollMetrics& M);
// The position a thumb at ThumbPos stands for.
int ScrollPositionFromThumb(const TCvScrollMetrics& M, int ThumbPos);
// The part at coordinate C along the bar (Across: whether the point lies on the bar at all).
TCvScrollBarPart ScrollHitPart(const TCvScrollMetrics& M, int C, bool Across, bool Secondary);

struct TCvScrollStep {
    TCvScrollCode Code;
    int Position;
};
// What pressing (or holding) Part does; OverPart: the mouse is still over that part.
TCvScrollStep ScrollButtonStep(TCvScrollBarPart Part, TCvSecButtonsKind Kind, int Position, int Min,
                               int Max, int Step, int Page, bool OverPart);
// Notches of a wheel delta: whole lines, or (with ByPage) whole pages. Lines is the system's
// setting: a page-scroll setting or one above 120 lines scrolls a page per notch.
struct TCvWheelPlan {
    int Steps = 0; // positive: towards the start
    bool ByPage = false;
};
TCvWheelPlan PlanWheel(int Delta, UINT Lines);

// The track's checker: an 8 x 8 pattern of Color and a lighter shade, aligned to the DC's origin.
void FillChecker(HDC DC, const TRect& R, TColor Color);

// ------------------------------------------------------------ the control

using TCvScrollEvent =
    std::function<void(TObject* Sender, TCvScrollCode ScrollCode, int& ScrollPos, bool& DoChange)>;
using TCvScrollHintNeededEvent =
    std::function<void(TObject* Sender, int TrackPosition, String& Hint)>;
using TCvScrollHitTestEvent =
    std::function<void(TObject* Sender, int X, int Y, TCvScrollBarPart& Part, bool& DefaultTest)>;
using TCvScrollDrawPartEvent =
    std::function<void(TObject* Sender, TCanvas& Canvas, const TRect& R, TCvScrollBarPart Part,
                       bool Enabled, bool Focused, bool Pressed, bool& DefaultDraw)>;

class TCustomCvScrollBar : public TCvXPThemedControl {
public:
    explicit TCustomCvScrollBar(TComponent* AOwner);
    ~TCustomCvScrollBar() override;

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    int Page() const { return FPage; }
    void SetPage(int Value);
    int Step = 1;
    TCvScrollThumbMode ThumbMode() const { return FThumbMode; }
    void SetThumbMode(TCvScrollThumbMode Value);
    int ThumbSize() const { return FThumbSize; }
    void SetThumbSize(int Value);
    int MinThumbSize() const { return FMinThumbSize; }
    void SetMinThumbSize(int Value);
    int ButtonSize() const { return FButtonSize; }
    void SetButtonSize(int Value);
    bool UseSystemMetrics() const { return FUseSystemMetrics; }
    void SetUseSystemMetrics(bool Value);
    bool ShowLeftArrows() const { return FShowLeftArrows; }
    void SetShowLeftArrows(bool Value);
    bool ShowRightArrows() const { return FShowRightArrows; }
    void SetShowRightArrows(bool Value);
    bool SecondaryButtons() const { return FSecondaryButtons; }
    void SetSecondaryButtons(bool Value);
    TCvSecButtonsKind SecondBtnKind = sbkOpposite;
    bool NoDisableButtons = false;
    bool AltDisablingArrows = false;
    bool Flat = true;
    bool ActiveFlat = false;
    bool DrawFrames() const { return FDrawFrames; }
    void SetDrawFrames(bool Value);
    bool DrawArrowFrames = true;
    bool ThinFrames = false;
    bool DrawBars = true;
    unsigned BarOffset = 2;
    TColor BarColor = clBtnShadow;
    TColor ArrowColor = clBtnText;
    TColor ArrowHotTrackColor = clHighlight;
    bool SystemBkColor = true;
    bool BlendBackground = true;
    bool ChangeColorsOnScroll = true;
    bool NoSunkenThumb = false;
    bool OwnerDraw = false;
    bool ShowTrackHint = false;
    bool IsHTML = false;
    TColor HintColor = clInfoBk;
    TColor HintTextColor = clInfoText;
    // Set by the tree on its bars: the parent gets no scroll messages from a thumb drag.
    bool NoScrollMessages = false;
    const String& WideHint() const { return FWideHint; }
    void SetWideHint(const String& Value);

    // Layout as it stands.
    TCvScrollMetrics Metrics() const;
    int ThumbPos() const { return FThumbPos; }
    int ThumbLength() const;
    TCvScrollBarPart HitTest(int X, int Y);
    bool CanScrollUp() const;
    bool CanScrollDown() const;
    TCvScrollBarPart PressedPart() const { return FPressedPart; }
    TCvScrollBarPart HotPart() const { return FHotPart; }
    bool Tracking() const { return FTracking; }
    // The repeat timer of the buttons and page areas.
    TTimer& RepeatTimer() { return *FTimer; }
    // Stops a running press as if the button were released.
    void EndTracking();

    TCvScrollEvent OnScroll;
    TNotifyEvent OnChange;
    TCvScrollHintNeededEvent OnScrollHintNeeded;
    TCvScrollHitTestEvent OnHitTest;
    TCvScrollDrawPartEvent OnDrawPart;

protected:
    String GetThemedClassName() const override { return L"SCROLLBAR"; }
    void Paint() override;
    void WndProc(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // Another window or the system took the mouse: the press ends as a release would.
    void CaptureLost() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void WMWindowPosChanged(TWMWindowPosChanged& Message) override;
    void Loaded() override;
    void ColorChanged() override;
    void EnabledChanged() override;

    virtual void NotifyChange();
    virtual void NotifyScroll(TCvScrollCode Code, int& Position, bool& DoChange);
    virtual void NotifyScrollHintNeeded(int TrackPosition, String& Hint);
    virtual void NotifyHitTest(int X, int Y, TCvScrollBarPart& Part, bool& DefaultTest);

private:
    void UpdateThumb();
    void ApplySystemSizes();
    bool IsThemed() const;
    int Along(int X, int Y) const { return FKind == sbHorizontal ? X : Y; }
    int BarLength() const;
    int Thickness() const;
    // One step of a held part; true when the bar took a new position.
    bool StepPressed(bool First);
    bool StepCanMove(TCvScrollBarPart Part) const;
    // Asks OnScroll, then takes the position when it lets it.
    bool Scroll(TCvScrollCode Code, int NewPosition);
    void TimerTick();
    void StopTracking(bool Notify);
    void DragThumb(int C);
    void UpdateTrackHint();
    void HintShow(THintInfo& Info) const;
    void SendThumbPosition();
    LRESULT GetScrollInfoMessage(SCROLLINFO* Info);
    LRESULT SetScrollInfoMessage(const SCROLLINFO* Info, bool Redraw);
    TRect PartRect(TCvScrollBarPart Part) const;
    void DrawPart(TCanvas& Canvas, TCvScrollBarPart Part, const TRect& R, bool Enabled);
    void DrawButton(TCanvas& Canvas, TCvScrollBarPart Part, const TRect& R, bool Enabled);
    void DrawTrack(TCanvas& Canvas, TCvScrollBarPart Part, const TRect& R, bool Enabled);
    void DrawThumb(TCanvas& Canvas, const TRect& R);
    bool PartEnabled(TCvScrollBarPart Part) const;
    bool RaisedLook(TCvScrollBarPart Part) const;
    int ThemeState(TCvScrollBarPart Part, bool Enabled) const;
    TCvArrowDirection ArrowOf(TCvScrollBarPart Part) const;
    TColor TrackColor() const;
    bool UsesChecker() const;

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPage = 14;
    TCvScrollThumbMode FThumbMode = etmAuto;
    int FThumbSize = 0;
    int FMinThumbSize = 4;
    int FButtonSize = 16;
    bool FUseSystemMetrics = true;
    bool FShowLeftArrows = true;
    bool FShowRightArrows = true;
    bool FSecondaryButtons = false;
    bool FDrawFrames = true;
    String FWideHint;

    int FThumbPos = 0;
    TCvScrollBarPart FPressedPart = sbpNowhere;
    TCvScrollBarPart FHotPart = sbpNowhere;
    bool FTracking = false;
    bool FMouseInside = false;
    HWND FPreviousCapture = nullptr;
    TPoint FPressPoint;
    int FGrab = 0;
    int FPressPosition = 0;
    int FPressThumbPos = 0;
    std::unique_ptr<TTimer> FTimer;
    std::unique_ptr<TCvHintWindow> FTrackHint;
};

class TCvScrollBar : public TCustomCvScrollBar {
public:
    using TCustomCvScrollBar::TCustomCvScrollBar;
};

// The settings of one bar as a block a tree publishes for each of its bars. Width is the bar's
// thickness (its width when vertical, its height when horizontal).
class TCvScrollBarStyles : public TPersistent {
public:
    // Raises when either is missing.
    TCvScrollBarStyles(TCustomCvScrollBar* Bar, TComponent* Owner);
    void Assign(const TPersistent& Source) override;

    TCustomCvScrollBar& Bar() const { return *FBar; }
    int Width() const;
    void SetWidth(int Value);
    bool UseSystemMetrics() const { return FBar->UseSystemMetrics(); }
    void SetUseSystemMetrics(bool Value);
    bool ShowTrackHint() const { return FBar->ShowTrackHint; }
    void SetShowTrackHint(bool Value) { FBar->ShowTrackHint = Value; }
    TNotifyEvent OnChange;

private:
    TCustomCvScrollBar* FBar;
    TComponent* FOwner;
};
