// The class library's own controls: labels in their states, an image, and what a canvas draws.
#include "classlib/gui/ExtCtrls.h"
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

        // Shapes: outlined in the pen, filled with the brush.
        C.Pen().SetColor(clNavy);
        C.Pen().SetWidth(2);
        C.Brush().SetStyle(bsSolid);
        C.Brush().SetColor(0x80E0FF);
        C.Rectangle(Bounds(8, 100, 40, 30));
        C.Brush().SetColor(0xFFC080);
        C.Ellipse(Bounds(56, 100, 40, 30));
        C.Brush().SetColor(0xA0FFA0);
        C.Polygon({{120, 100}, {144, 130}, {104, 130}});
        C.Pen().SetWidth(1);
        C.Pen().SetColor(clMaroon);
        C.Polyline({{152, 100}, {160, 130}, {168, 100}, {176, 130}});
        C.Pen().SetStyle(psDot);
        C.MoveTo(8, 138);
        C.LineTo(176, 138);
        C.Pen().SetStyle(psSolid);
    }
};

TLabel* AddLabel(TForm& Form, int Top, const String& Caption) {
    return GalleryPut<TLabel>(Form, Bounds(12, Top, 0, 0), Caption);
}

// A fixed, framed label to show where its alignment and layout put the text.
void AddPlacedLabel(TForm& Form, TRect Where, TAlignment Alignment, TTextLayout Layout,
                    const String& Caption) {
    auto* Label = GalleryPlace<TLabel>(Form, Where);
    Label->SetAutoSize(false);
    Label->SetColor(0xF0F0F0);
    Label->SetAlignment(Alignment);
    Label->SetLayout(Layout);
    Label->SetCaption(Caption);
}

// A small picture drawn in code: a blue square with a white cross on magenta, the magenta
// being the colour a transparent image leaves out.
void DrawPicture(TBitmap& Bitmap) {
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(24, 24);
    TCanvas& C = Bitmap.Canvas();
    C.Brush().SetColor(clFuchsia);
    C.FillRect(Bounds(0, 0, 24, 24));
    C.Brush().SetColor(0xC06000);
    C.FillRect(Bounds(3, 3, 18, 18));
    C.Brush().SetColor(clWhite);
    C.FillRect(Bounds(10, 5, 4, 14));
    C.FillRect(Bounds(5, 10, 14, 4));
}

TImage* AddImage(TForm& Form, TRect Where) {
    auto* Image = GalleryPlace<TImage>(Form, Where);
    DrawPicture(Image->Picture().Bitmap());
    return Image;
}

void Build(TForm& Form) {
    Form.SetClientWidth(460);
    Form.SetClientHeight(340);

    AddLabel(Form, 12, L"Plain label (parent font and colour)");
    TLabel* Coloured = AddLabel(Form, 36, L"Label with its own colour");
    Coloured->SetColor(0xC0FFFF);
    TLabel* Bold = AddLabel(Form, 60, L"Bold, italic, 10 pt, red");
    Bold->Font().SetStyle({fsBold, fsItalic});
    Bold->Font().SetSize(10);
    Bold->Font().SetColor(0x0000C0);
    AddLabel(Form, 84, L"A caption over\ntwo lines");
    TLabel* Fixed = AddLabel(Form, 116, L"Fixed size, not auto-sized: cut off at its width");
    Fixed->SetAutoSize(false);
    Fixed->SetBounds(12, 116, 150, 17);
    Fixed->SetColor(0xE0E0E0);
    TLabel* Disabled = AddLabel(Form, 138, L"Disabled label");
    Disabled->SetEnabled(false);
    TLabel* Wrapped = AddLabel(Form, 160, L"");
    Wrapped->SetColor(0xE0FFE0);
    Wrapped->SetBounds(12, 160, 150, 0);
    Wrapped->SetWordWrap(true);
    Wrapped->SetCaption(L"A word-wrapped label breaks its caption between words to fit.");

    AddPlacedLabel(Form, Bounds(12, 226, 90, 44), taLeftJustify, tlTop, L"Left, top");
    AddPlacedLabel(Form, Bounds(108, 226, 90, 44), taCenter, tlCenter, L"Centre");
    AddPlacedLabel(Form, Bounds(204, 226, 90, 44), taRightJustify, tlBottom, L"Right, bottom");

    GalleryPlace<TCanvasSample>(Form, Bounds(240, 12, 190, 146));

    // Images: as it is, centred, stretched, and transparent on a coloured label.
    AddImage(Form, Bounds(12, 280, 24, 24));
    AddImage(Form, Bounds(44, 280, 40, 40))->SetCenter(true);
    AddImage(Form, Bounds(92, 280, 48, 40))->SetStretch(true);
    auto* Behind = GalleryPlace<TLabel>(Form, Bounds(148, 280, 40, 40));
    Behind->SetAutoSize(false);
    Behind->SetColor(0x60C060);
    AddImage(Form, Bounds(156, 288, 24, 24))->SetTransparent(true);
}

const TGalleryPage Page(L"classlib", &Build);

} // namespace
