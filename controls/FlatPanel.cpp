#include "controls/FlatPanel.h"

#include "classlib/gui/StdCtrls.h"

#include <algorithm>

// ------------------------------------------------------------ TFlatContainer

TFlatContainer::TFlatContainer(TComponent* AOwner, int DefaultHeight) : TCustomControl(AOwner) {
    ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents,
                                 csDoubleClicks,    csSetCaption,   csOpaque};
    SetBounds(Left(), Top(), 185, DefaultHeight);
    SetParentFont(true);
    SetParentColor(true);
    SetTabStop(false);
}

void TFlatContainer::SetTransparent(bool Value) {
    if (StoreChanged(FTransparent, Value))
        Invalidate();
}

void TFlatContainer::WndProc(TMessage& Message) {
    TCustomControl::WndProc(Message);
    switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
        Invalidate();
        break;
    case WM_MOVE:
    case WM_SIZE:
        // What shows through has moved with it.
        if (FTransparent)
            Invalidate();
        break;
    default:
        break;
    }
}

void TFlatContainer::StartBuffer(TBitmap& Buffer) {
    const TRect Client = ClientRect();
    Buffer.SetPixelFormat(pf24bit);
    Buffer.SetSize(Client.Width(), Client.Height());
    if (FTransparent) {
        PaintParentBackground(*this, Buffer.Canvas().Handle());
        return;
    }
    Buffer.Canvas().Brush().SetColor(Color());
    Buffer.Canvas().FillRect(Client);
}

// ------------------------------------------------------------ TFlatPanel

TFlatPanel::TFlatPanel(TComponent* AOwner) : TFlatContainer(AOwner, 41) {}

void TFlatPanel::SetColorHighLight(TColor Value) {
    if (StoreChanged(FColorHighLight, Value))
        Invalidate();
}

void TFlatPanel::SetColorShadow(TColor Value) {
    if (StoreChanged(FColorShadow, Value))
        Invalidate();
}

void TFlatPanel::SetAlignment(TAlignment Value) {
    if (StoreChanged(FAlignment, Value))
        Invalidate();
}

void TFlatPanel::Paint() {
    const TRect Client = ClientRect();
    if (Client.IsEmpty())
        return;
    TBitmap Buffer;
    StartBuffer(Buffer);
    TCanvas& Off = Buffer.Canvas();
    DrawBevelFrame(Off, Client, FColorHighLight, FColorShadow, 1);
    Off.Font().Assign(Font());
    UINT Flags = DT_SINGLELINE | DT_VCENTER;
    if (FAlignment == taRightJustify)
        Flags |= DT_RIGHT;
    else if (FAlignment == taCenter)
        Flags |= DT_CENTER;
    DrawControlCaption(Off, Client, Caption(), Flags, Enabled());
    Canvas().Draw(0, 0, Buffer);
}

// ------------------------------------------------------------ TFlatGroupBox

std::vector<std::vector<TPoint>> GroupBoxLines(const TRect& Client, int CaptionWidth,
                                               int TextHeight, TGroupBoxBorder Border) {
    const int CL = Client.Left, CT = Client.Top, CR = Client.Right, CB = Client.Bottom;
    const int Y0 = CT + TextHeight / 2;
    const int GapEnd = CL + CaptionWidth + 12;
    if (Border == brFull)
        return {
            {{CL + 5, Y0}, {CL, Y0}, {CL, CB - 1}, {CR - 1, CB - 1}, {CR - 1, Y0}, {GapEnd, Y0}}};
    return {{{CL + 5, Y0}, {CL, Y0}}, {{CR - 1, Y0}, {GapEnd, Y0}}};
}

TFlatGroupBox::TFlatGroupBox(TComponent* AOwner) : TFlatContainer(AOwner, 105) {}

void TFlatGroupBox::SetBorder(TGroupBoxBorder Value) {
    if (StoreChanged(FBorder, Value))
        Invalidate();
}

void TFlatGroupBox::SetColorBorder(TColor Value) {
    if (StoreChanged(FColorBorder, Value))
        Invalidate();
}

void TFlatGroupBox::SetUseAdvColors(bool Value) {
    FAdv.Use = Value;
    SetParentColor(Value);
    RecomputeColors();
}

void TFlatGroupBox::SetAdvColorBorder(int Value) {
    FAdv.Border = std::clamp(Value, 0, 100);
    RecomputeColors();
}

void TFlatGroupBox::RecomputeColors() {
    TFlatColorSet Derived{FColorBorder, FColorBorder, FColorBorder};
    RecomputeAdvColors(Color(), FAdv, Derived);
    FColorBorder = Derived.Border;
    Invalidate();
}

void TFlatGroupBox::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<wchar_t>(Message.WParam), Caption()) && CanFocus()) {
            SetFocus();
            Message.Result = 1;
            return;
        }
        break;
    case CM_SYSCOLORCHANGE:
    case CM_PARENTCOLORCHANGED:
        TFlatContainer::WndProc(Message);
        if (FAdv.Use)
            RecomputeColors();
        return;
    default:
        break;
    }
    TFlatContainer::WndProc(Message);
}

void TFlatGroupBox::Paint() {
    const TRect Client = ClientRect();
    if (Client.IsEmpty())
        return;
    TBitmap Buffer;
    StartBuffer(Buffer);
    TCanvas& Off = Buffer.Canvas();
    Off.Font().Assign(Font());
    const TSize Text = Off.TextExtent(Caption());
    // An empty caption still leaves the line height's room at the top.
    const int TextHeight = Caption().empty() ? Off.TextHeight(L"Wg") : Text.cy;
    Off.Pen().SetColor(FColorBorder);
    for (const std::vector<TPoint>& Line : GroupBoxLines(Client, Text.cx, TextHeight, FBorder))
        Off.Polyline(Line.data(), static_cast<int>(Line.size()));
    DrawControlCaption(
        Off, TRect(Client.Left + 10, Client.Top, Client.Right - 10, Client.Top + TextHeight),
        Caption(), DT_SINGLELINE, Enabled());
    Canvas().Draw(0, 0, Buffer);
}
