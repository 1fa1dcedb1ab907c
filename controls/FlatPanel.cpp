#include "controls/FlatPanel.h"

#include "classlib/gui/StdCtrls.h"

#include <algorithm>

namespace {

// Fills Buffer with Color, or with what lies behind Control when see-through.
void PaintBackdrop(TWinControl& Control, TBitmap& Buffer, bool Transparent, TColor Color) {
    if (Transparent) {
        PaintParentBackground(Control, Buffer.Canvas().Handle());
        return;
    }
    Buffer.Canvas().Brush().SetColor(Color);
    Buffer.Canvas().FillRect(TRect(0, 0, Buffer.Width(), Buffer.Height()));
}

void MakeBuffer(TBitmap& Buffer, const TRect& Client) {
    Buffer.SetPixelFormat(pf24bit);
    Buffer.SetSize(Client.Width(), Client.Height());
}

} // namespace

// ------------------------------------------------------------ TFlatPanel

TFlatPanel::TFlatPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents,
                                 csDoubleClicks,    csSetCaption,   csOpaque};
    SetBounds(Left(), Top(), 185, 41);
    SetParentFont(true);
    SetParentColor(true);
    SetTabStop(false);
}

void TFlatPanel::SetTransparent(bool Value) {
    FTransparent = Value;
    Invalidate();
}

void TFlatPanel::SetColorHighLight(TColor Value) {
    FColorHighLight = Value;
    Invalidate();
}

void TFlatPanel::SetColorShadow(TColor Value) {
    FColorShadow = Value;
    Invalidate();
}

void TFlatPanel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Invalidate();
}

void TFlatPanel::WndProc(TMessage& Message) {
    TCustomControl::WndProc(Message);
    if (Message.Msg == CM_ENABLEDCHANGED || Message.Msg == CM_TEXTCHANGED ||
        Message.Msg == CM_FONTCHANGED || Message.Msg == CM_COLORCHANGED)
        Invalidate();
}

void TFlatPanel::Paint() {
    const TRect Client = ClientRect();
    if (Client.IsEmpty())
        return;
    TBitmap Buffer;
    MakeBuffer(Buffer, Client);
    TCanvas& Off = Buffer.Canvas();
    PaintBackdrop(*this, Buffer, FTransparent, Color());
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

TFlatGroupBox::TFlatGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
    ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents,
                                 csDoubleClicks,    csSetCaption,   csOpaque};
    SetBounds(Left(), Top(), 185, 105);
    SetParentFont(true);
    SetParentColor(true);
    SetTabStop(false);
}

void TFlatGroupBox::SetTransparent(bool Value) {
    FTransparent = Value;
    Invalidate();
}

void TFlatGroupBox::SetBorder(TGroupBoxBorder Value) {
    FBorder = Value;
    Invalidate();
}

void TFlatGroupBox::SetColorBorder(TColor Value) {
    FColorBorder = Value;
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
        TCustomControl::WndProc(Message);
        if (FAdv.Use)
            RecomputeColors();
        return;
    case WM_MOVE:
    case WM_SIZE:
        TCustomControl::WndProc(Message);
        if (FTransparent)
            Invalidate();
        return;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
    if (Message.Msg == CM_ENABLEDCHANGED || Message.Msg == CM_TEXTCHANGED ||
        Message.Msg == CM_FONTCHANGED || Message.Msg == CM_COLORCHANGED)
        Invalidate();
}

void TFlatGroupBox::Paint() {
    const TRect Client = ClientRect();
    if (Client.IsEmpty())
        return;
    TBitmap Buffer;
    MakeBuffer(Buffer, Client);
    TCanvas& Off = Buffer.Canvas();
    Off.Font().Assign(Font());
    const TSize Text = Off.TextExtent(Caption());
    // An empty caption still leaves the line height's room at the top.
    const int TextHeight = Caption().empty() ? Off.TextHeight(L"Wg") : Text.cy;
    PaintBackdrop(*this, Buffer, FTransparent, Color());
    Off.Pen().SetColor(FColorBorder);
    for (const std::vector<TPoint>& Line : GroupBoxLines(Client, Text.cx, TextHeight, FBorder))
        Off.Polyline(Line.data(), static_cast<int>(Line.size()));
    DrawControlCaption(
        Off, TRect(Client.Left + 10, Client.Top, Client.Right - 10, Client.Top + TextHeight),
        Caption(), DT_SINGLELINE, Enabled());
    Canvas().Draw(0, 0, Buffer);
}
