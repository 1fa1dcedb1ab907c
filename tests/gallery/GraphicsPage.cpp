// The class library's drawing: pen modes and shapes, bitmaps drawn plain, stretched and
// transparent, and an image list's images enabled and disabled.
#include "classlib/gui/ImgList.h"
#include "tests/gallery/Gallery.h"

namespace {

// Draws every sample on each paint from pictures it made once.
class TGraphicsSample : public TGraphicControl {
public:
    explicit TGraphicsSample(TComponent* AOwner) : TGraphicControl(AOwner), FImages(nullptr) {
        FSprite.SetSize(12, 12);
        TCanvas& S = FSprite.Canvas();
        S.Brush().SetColor(clFuchsia);
        S.FillRect(TRect(0, 0, 12, 12));
        S.Pen().SetColor(clNavy);
        S.Brush().SetColor(clYellow);
        S.Ellipse(TRect(1, 1, 11, 11));

        FImages.SetSize(16, 16);
        TBitmap Strip;
        Strip.SetSize(48, 16);
        TCanvas& C = Strip.Canvas();
        C.Brush().SetColor(clFuchsia);
        C.FillRect(TRect(0, 0, 48, 16));
        const TColor Colours[] = {clRed, clGreen, clBlue};
        for (int I = 0; I < 3; ++I) {
            C.Pen().SetColor(clBlack);
            C.Brush().SetColor(Colours[I]);
            C.Polygon({{I * 16 + 8, 1}, {I * 16 + 15, 14}, {I * 16 + 1, 14}});
        }
        FImages.AddMasked(Strip, clFuchsia);
    }

protected:
    void Paint() override {
        TCanvas& C = Canvas();
        C.Brush().SetColor(clWhite);
        C.FillRect(ClientRect());
        C.Pen().SetColor(clBlack);
        C.Brush().SetColor(0xE0C090);
        C.Rectangle(TRect(8, 8, 48, 40));
        C.Brush().SetColor(0x90E0A0);
        C.Ellipse(TRect(56, 8, 96, 40));
        C.Pen().SetColor(clRed);
        C.Pen().SetWidth(2);
        C.Polyline({{104, 38}, {116, 10}, {128, 38}, {140, 10}});
        C.Pen().SetWidth(1);
        C.Pen().SetStyle(psDot);
        C.Pen().SetColor(clBlue);
        C.MoveTo(8, 48);
        C.LineTo(140, 48);
        C.Pen().SetStyle(psSolid);

        FSprite.Transparent = false;
        C.Draw(8, 56, FSprite);
        C.StretchDraw(Bounds(28, 56, 24, 24), FSprite);
        FSprite.Transparent = true;
        C.Draw(60, 56, FSprite);

        for (int I = 0; I < 3; ++I) {
            FImages.Draw(C, 8 + I * 20, 88, I);
            FImages.Draw(C, 80 + I * 20, 88, I, false);
        }
    }

private:
    TBitmap FSprite;
    TImageList FImages;
};

void Build(TForm& Form) {
    Form.SetClientWidth(260); // wide enough for the whole caption
    Form.SetClientHeight(120);
    GalleryPlace<TGraphicsSample>(Form, Bounds(4, 4, 150, 110));
}

const TGalleryPage Page(L"classlib-graphics", &Build);

} // namespace
