// The class library's own controls: labels in their states and what a canvas draws.
#include "classlib/gui/StdCtrls.h"
#include "tests/gallery/Gallery.h"

namespace {

// A painted area that shows the canvas's drawing calls side by side.
class TCanvasSample : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {
        TCanvas& C = Canvas();
        C.Brush().SetColor(clWhite);
        C.FillRect(ClientRect());
        const TColor Fills[] = {0x0000C0, 0x00A000, 0xC00000, 0x00C0C0};
        for (int I = 0; I < 4; ++I) {
            C.Brush().SetColor(Fills[I]);
            C.FillRect(Bounds(8 + I * 28, 8, 24, 24));
        }
        C.Brush().SetColor(clWhite);
        C.Font().SetColor(clBlack);
        C.TextOut(8, 40, L"TextOut on white");
        C.Brush().SetStyle(bsClear);
        TRect Box = Bounds(8, 60, 140, 40);
        C.TextRect(Box, L"TextRect, centred\nover two lines", DT_CENTER | DT_NOPREFIX);
    }
};

TLabel* AddLabel(TForm& Form, int Top, const String& Caption) {
    auto* Label = new TLabel(&Form);
    Label->SetParent(&Form);
    Label->SetBounds(12, Top, 0, 0);
    Label->SetCaption(Caption);
    return Label;
}

void Build(TForm& Form) {
    Form.SetClientWidth(420);
    Form.SetClientHeight(260);

    AddLabel(Form, 12, L"Plain label (parent font and colour)");
    TLabel* Coloured = AddLabel(Form, 36, L"Label with its own colour");
    Coloured->SetColor(0xC0FFFF);
    TLabel* Bold = AddLabel(Form, 60, L"Bold, italic, 10 pt, red");
    Bold->Font().SetStyle({fsBold, fsItalic});
    Bold->Font().SetSize(10);
    Bold->Font().SetColor(0x0000C0);
    AddLabel(Form, 84, L"A caption over\ntwo lines");
    TLabel* Fixed = AddLabel(Form, 124, L"Fixed size, not auto-sized: cut off at its width");
    Fixed->SetAutoSize(false);
    Fixed->SetBounds(12, 124, 150, 17);
    Fixed->SetColor(0xE0E0E0);

    auto* Sample = new TCanvasSample(&Form);
    Sample->SetParent(&Form);
    Sample->SetBounds(240, 12, 168, 110);
}

const TGalleryPage Page(L"classlib", &Build);

} // namespace
