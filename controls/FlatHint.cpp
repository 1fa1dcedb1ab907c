#include "controls/FlatHint.h"

namespace {

constexpr UINT FlatHintTextFlags = DT_WORDBREAK | DT_NOPREFIX;
// The strip's width inside the frame, and what the box adds to the measured text.
constexpr int StripWidth = 14;
constexpr int ExtraWidth = 22;
constexpr int ExtraHeight = 6;

// The arrow of side 0, from its anchor; the other sides mirror it.
constexpr TPoint ArrowOfSide0[18] = {{0, 0},  {0, 6},  {-1, 6}, {-1, 0}, {-6, 0}, {-6, 1},
                                     {-2, 1}, {-2, 4}, {-5, 7}, {-6, 7}, {-3, 4}, {-3, 3},
                                     {-6, 6}, {-7, 6}, {-3, 2}, {-4, 2}, {-7, 5}, {-7, 6}};

const TFlatHint* MainFormFlatHint() {
    const TForm* Main = Application ? Application->MainForm() : nullptr;
    if (!Main)
        return nullptr;
    for (int I = 0; I < Main->ComponentCount(); ++I)
        if (const auto* Hint = dynamic_cast<const TFlatHint*>(Main->Components(I)))
            return Hint;
    return nullptr;
}

} // namespace

TFlatHint::TFlatHint(TComponent* AOwner) : TComponent(AOwner) {
    if (!Application || (AOwner && AOwner->ComponentState().Contains(csDesigning)))
        return;
    Application->SetHintWindowClass([](TComponent* Owner) { return new TFlatHintWindow(Owner); });
    // Turning hints off and on makes the hint window again, of the new class.
    Application->SetShowHint(!Application->ShowHint());
    Application->SetShowHint(!Application->ShowHint());
    // Named as installer, so the handler goes with this component and never calls a dead one.
    Application->SetOnShowHint(
        [this](String& HintStr, bool& CanShow, THintInfo& HintInfo) {
            if (OnShowHint)
                OnShowHint(HintStr, CanShow, HintInfo);
        },
        this);
    Application->HintShortPause = 25;
    Application->HintPause = 500;
    Application->HintHidePause = 5000;
}

int FlatHintSide(TPoint Pointer, const TRect& Monitor) {
    const bool Left = Pointer.X < Monitor.Left + Monitor.Width() / 2;
    const bool Top = Pointer.Y < Monitor.Top + Monitor.Height() / 2;
    if (Top)
        return Left ? 1 : 0;
    return Left ? 3 : 2;
}

int FlatHintGap(int Side) {
    return Side == 1 ? 12 : 5;
}

TRect FlatHintBounds(int Side, TPoint Pointer, int Width, int Height) {
    const int Gap = FlatHintGap(Side);
    const bool Right = Side == 1 || Side == 3;
    const bool Below = Side == 0 || Side == 1;
    const int Left = Right ? Pointer.X + Gap : Pointer.X - Width - Gap;
    const int Top = Below ? Pointer.Y + Gap : Pointer.Y - Height - Gap;
    return Bounds(Left, Top, Width, Height);
}

TFlatHintParts FlatHintParts(int Side, const TRect& Client) {
    const TRect& C = Client;
    const bool StripLeft = Side == 1 || Side == 3;
    const bool PointsUp = Side == 0 || Side == 1;
    TFlatHintParts Parts;
    if (StripLeft) {
        Parts.Strip = TRect(C.Left + 1, C.Top + 1, C.Left + 1 + StripWidth, C.Bottom - 1);
        Parts.TextArea = TRect(C.Left + 1 + StripWidth, C.Top + 1, C.Right - 1, C.Bottom - 1);
    } else {
        Parts.Strip = TRect(C.Right - 1 - StripWidth, C.Top + 1, C.Right - 1, C.Bottom - 1);
        Parts.TextArea = TRect(C.Left + 1, C.Top + 1, C.Right - 1 - StripWidth, C.Bottom - 1);
    }
    const TRect& S = Parts.Strip;
    const TPoint Anchor{StripLeft ? S.Left + 2 : S.Right - 3, PointsUp ? S.Top + 2 : S.Bottom - 3};
    const int XSign = StripLeft ? -1 : 1;
    const int YSign = PointsUp ? 1 : -1;
    for (size_t I = 0; I < Parts.Arrow.size(); ++I)
        Parts.Arrow[I] =
            TPoint{Anchor.X + XSign * ArrowOfSide0[I].X, Anchor.Y + YSign * ArrowOfSide0[I].Y};
    return Parts;
}

void PaintFlatHint(TCanvas& Canvas, int Side, const TRect& Client, const TFlatHintLook& Look,
                   const String& Text) {
    const TFlatHintParts Parts = FlatHintParts(Side, Client);
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(Look.ColorArrowBackground);
    Canvas.FillRect(Parts.Strip);
    Canvas.Brush().SetColor(Look.ColorBackground);
    Canvas.FillRect(Parts.TextArea);
    Canvas.Brush().SetColor(Look.ColorBorder);
    Canvas.FrameRect(Client);
    Canvas.Pen().SetColor(Look.ColorArrow);
    Canvas.Polyline(Parts.Arrow.data(), static_cast<int>(Parts.Arrow.size()));
    Canvas.Brush().SetStyle(bsClear);
    const TRect& Area = Parts.TextArea;
    TRect TextRect(Area.Left + 3, Area.Top + 1, Area.Right - 3, Area.Bottom - 1);
    Canvas.TextRect(TextRect, Text, FlatHintTextFlags);
}

TFlatHintWindow::TFlatHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

void TFlatHintWindow::CreateParams(TCreateParams& Params) const {
    THintWindow::CreateParams(Params);
    Params.Style &= ~static_cast<DWORD>(WS_BORDER);
}

TFlatHintLook TFlatHintWindow::TakeSettings(TFont& Font) const {
    const TFlatHint* Hint = MainFormFlatHint();
    Font.Assign(Hint ? Hint->Font() : THintWindow::Font());
    return Hint ? Hint->Look() : TFlatHintLook{};
}

void TFlatHintWindow::ActivateHint(TRect Rect, const String& Hint) {
    SetCaption(Hint);
    const TClientDC ScreenDC(nullptr);
    TCanvas Measure;
    const TCanvasDC Attached(Measure, ScreenDC.Handle());
    const TFlatHintLook Look = TakeSettings(Measure.Font());
    Rect.Right = Rect.Left + Look.MaxHintWidth - ExtraWidth;
    Measure.TextRect(Rect, VisibleHintText(Hint), FlatHintTextFlags | DT_CALCRECT);
    const int Width = Rect.Width() + ExtraWidth;
    const int Height = Rect.Height() + ExtraHeight;

    const TPoint Pointer = Screen->CursorPos();
    FSide = FlatHintSide(Pointer, Screen->MonitorAt(Pointer).Bounds);
    const TRect Box = FlatHintBounds(FSide, Pointer, Width, Height);
    SetBoundsRect(Box);
    SetWindowPos(Handle(), HWND_TOPMOST, Box.Left, Box.Top, Width, Height,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetVisible(true);
    Invalidate();
}

void TFlatHintWindow::Paint() {
    TCanvas& C = Canvas();
    const TFlatHintLook Look = TakeSettings(C.Font());
    PaintFlatHint(C, FSide, ClientRect(), Look, VisibleHintText(Caption()));
}
