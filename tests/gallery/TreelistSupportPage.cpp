// The tree-list's drawing helpers: the fifteen border types, arrows, gradients, wide text
// layout flags, the HTML renderer and the background painter's modes.
#include "tests/gallery/Gallery.h"
#include "treelist/CvBackground.h"
#include "treelist/CvVCLUtils.h"
#include "treelist/HTMLRender.h"

namespace {

class TSupportSample : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {
        const HDC DC = Canvas().Handle();
        FillRectColor(DC, ClientRect(), clSystemColor | COLOR_BTNFACE);
        const HGDIOBJ OldFont = SelectObject(DC, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(DC, TRANSPARENT);
        PaintBorders(DC);
        PaintArrowsAndGradients(DC);
        PaintText(DC);
        PaintHtml(DC);
        PaintBackgrounds(DC);
        SelectObject(DC, OldFont);
    }

private:
    static void Label(HDC DC, int X, int Y, const String& Text) {
        TRect R(X, Y, X + 200, Y + 14);
        DrawTextWide(DC, Text.c_str(), -1, R, DT_SINGLELINE | DT_NOPREFIX);
    }

    static void PaintBorders(HDC DC) {
        static const wchar_t* const Names[] = {
            L"Flat",        L"Sunken",      L"SunkenInner", L"SunkenOuter", L"Raised",
            L"RaisedInner", L"RaisedOuter", L"Bump",        L"BigBump",     L"Etched",
            L"Framed",      L"Line",        L"LineBorder",  L"None",        L"ColorLineBorder"};
        for (int I = 0; I < 15; ++I) {
            const int X = 12 + (I % 5) * 104;
            const int Y = 12 + (I / 5) * 52;
            FillRectColor(DC, TRect(X, Y, X + 92, Y + 30), clWhite);
            DrawTypedBorder(DC, TRect(X, Y, X + 92, Y + 30), 0x0000C0, 0xA0A0A0,
                            TCvBorderSides::All(), static_cast<TCvFlatBorderType>(I));
            Label(DC, X, Y + 32, Names[I]);
        }
    }

    static void PaintArrowsAndGradients(HDC DC) {
        const TCvArrowDirection Directions[] = {adLeft, adUp, adRight, adDown};
        for (int I = 0; I < 4; ++I) {
            const TRect Box(12 + I * 24, 180, 32 + I * 24, 200);
            DrawFlatButtonFrame(DC, Box, true);
            DrawArrow(DC, Directions[I], Box, clBlack, true);
            const TRect Off(12 + I * 24, 206, 32 + I * 24, 226);
            DrawFlatButtonFrame(DC, Off, false);
            DrawArrow(DC, Directions[I], Off, clBlack, false);
        }
        Label(DC, 12, 230, L"Arrows");
        GradientFillRect(DC, TRect(120, 180, 300, 200), 0x800000, 0xFFE0C0, 16, false);
        GradientFillRect(DC, TRect(120, 204, 300, 226), 0x004000, 0xC0FFC0, 8, true);
        Label(DC, 120, 230, L"Gradients: 16 columns, 8 rows");
        DrawButtonBevel(DC, TRect(310, 180, 380, 226), true, false, 0xC08040, false);
        DrawButtonBevel(DC, TRect(390, 180, 460, 226), true, true, 0xC08040, false);
        Label(DC, 310, 230, L"Bevels up and down");
    }

    static void PaintText(HDC DC) {
        struct TSample {
            const wchar_t* Text;
            UINT Format;
            const wchar_t* Caption;
        };
        const TSample Samples[] = {
            {L"&File and Save && Exit", DT_SINGLELINE, L"prefix, &&"},
            {L"&File and Save && Exit", DT_SINGLELINE | DT_NOPREFIX, L"DT_NOPREFIX"},
            {L"A long line that ends with an ellipsis", DT_SINGLELINE | DT_END_ELLIPSIS,
             L"DT_END_ELLIPSIS"},
            {L"Centred", DT_SINGLELINE | DT_CENTER, L"DT_CENTER"},
            {L"Right", DT_SINGLELINE | DT_RIGHT, L"DT_RIGHT"},
            {L"a\tb\tc (tabs)", DT_SINGLELINE | DT_EXPANDTABS, L"DT_EXPANDTABS"},
            {L"Word break wraps this text onto lines", DT_WORDBREAK, L"DT_WORDBREAK"},
        };
        int Y = 250;
        for (const TSample& S : Samples) {
            const int Height = (S.Format & DT_WORDBREAK) ? 40 : 16;
            FillRectColor(DC, TRect(12, Y, 172, Y + Height), clWhite);
            TRect R(12, Y, 172, Y + Height);
            DrawTextWide(DC, S.Text, -1, R, S.Format);
            Label(DC, 180, Y, S.Caption);
            Y += Height + 4;
        }
    }

    void PaintHtml(HDC DC) {
        FHtml.Data().DefFontName = L"Tahoma";
        FHtml.ParseMarkup(
            L"<html><b>Bold</b>, <i>italic</i>, <u>underlined</u>, <font color=red>red</font>, "
            L"<font color=#008000 size=+2>big green</font>, x<sup>2</sup> and H<sub>2</sub>O"
            L"<p align=center>A centred paragraph with a <a href=x>link</a>.<hr>"
            L"<ul><li>first item<li>second &amp; last</ul>&copy; &euro; &trade;");
        const TRect Box(300, 250, 510, 420);
        FillRectColor(DC, Box, clWhite);
        FHtml.PaintMarkup(DC, TPoint{}, Box, CvColorNone);
    }

    // A 24-pixel picture in four quarters, so that the modes tell apart.
    void MakePicture() {
        if (!FPicture.Empty())
            return;
        FPicture.SetSize(24, 24);
        const TColor Quarters[4] = {0x3050C0, 0x40A040, 0xC06030, 0x30C0E0};
        for (int I = 0; I < 4; ++I) {
            FPicture.Canvas().Brush().SetColor(Quarters[I]);
            FPicture.Canvas().FillRect(
                TRect((I % 2) * 12, (I / 2) * 12, (I % 2) * 12 + 12, (I / 2) * 12 + 12));
        }
    }

    void PaintBackgrounds(HDC DC) {
        MakePicture();
        struct TMode {
            TCvBkGndType Type;
            bool Blend;
            const wchar_t* Caption;
        };
        const TMode Modes[] = {
            {bgtTileBitmap, false, L"Tiled, offset 6"}, {bgtStretchBitmap, false, L"Stretched"},
            {bgtCenterBitmap, false, L"Centred"},       {bgtTopLeftBitmap, false, L"Top-left"},
            {bgtTileBitmap, true, L"Tiled, blended"},
        };
        for (int I = 0; I < 5; ++I) {
            const TRect Box(12 + I * 102, 440, 104 + I * 102, 490);
            DrawExtBackground(DC, nullptr, {6, 6}, Modes[I].Type, &FPicture, Modes[I].Blend,
                              clWhite, 0xE0E0E0, false, Box, TRect(0, 0, 0, 0), Box);
            Label(DC, Box.Left, 494, Modes[I].Caption);
        }
    }

    TCvHTMLRender FHtml;
    TBitmap FPicture;
};

void Build(TForm& Form) {
    Form.SetClientWidth(530);
    Form.SetClientHeight(515);
    GalleryPlace<TSupportSample>(Form, Bounds(0, 0, 530, 515));
}

const TGalleryPage Page(L"treelist-support", &Build);

} // namespace
