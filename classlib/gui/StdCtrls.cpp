#include "classlib/gui/StdCtrls.h"

namespace {

constexpr UINT LabelTextFlags = DT_LEFT | DT_TOP | DT_EXPANDTABS | DT_NOPREFIX;

} // namespace

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 65, 17);
    AdjustBounds();
}

void TLabel::SetAutoSize(bool Value) {
    if (FAutoSize == Value)
        return;
    FAutoSize = Value;
    AdjustBounds();
}

void TLabel::SetTransparent(bool Value) {
    if (FTransparent == Value)
        return;
    FTransparent = Value;
    Invalidate();
}

void TLabel::CaptionChanged() {
    AdjustBounds();
    Invalidate();
}

void TLabel::FontChanged() {
    AdjustBounds();
    Invalidate();
}

void TLabel::AdjustBounds() {
    if (!FAutoSize)
        return;
    // Measured on the screen, where the label will be drawn; an empty caption keeps one line.
    const TClientDC Screen(nullptr);
    TCanvas Measure;
    const TCanvasDC Attached(Measure, Screen.Handle());
    Measure.Font().Assign(Font());
    TRect Extent;
    Measure.TextRect(Extent, Caption().empty() ? String(L" ") : Caption(),
                     LabelTextFlags | DT_CALCRECT);
    SetBounds(Left(), Top(), Extent.Width(), Extent.Height());
}

void TLabel::Paint() {
    TCanvas& Surface = Canvas();
    Surface.Font().Assign(Font());
    TRect Area = ClientRect();
    if (!FTransparent) {
        Surface.Brush().SetColor(Color());
        Surface.Brush().SetStyle(bsSolid);
        Surface.FillRect(Area);
    }
    Surface.Brush().SetStyle(bsClear);
    Surface.TextRect(Area, Caption(), LabelTextFlags);
}
