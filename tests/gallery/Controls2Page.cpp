// Skinned controls II: flat buttons in each state and transparent mode, the speed buttons, the
// panel, group boxes, block and smooth progress bars and a splitter beside a panel.
#include "controls/FlatButton.h"
#include "controls/FlatPanel.h"
#include "controls/FlatProgressBar.h"
#include "controls/FlatSpeedButton.h"
#include "controls/FlatSplitter.h"
#include "controls/RoundedFlatButton.h"
#include "tests/gallery/Gallery.h"

namespace {

void GlyphFromStrip(TBitmap& Glyph, int Index, int Cells) {
    TBitmap Strip;
    Strip.LoadFromResourceName(GetModuleHandleW(nullptr), L"Glyphs");
    Glyph.SetPixelFormat(pf24bit);
    Glyph.SetSize(21 * Cells, 17);
    for (int C = 0; C < Cells; ++C)
        Glyph.Canvas().CopyRect(TRect(21 * C, 0, 21 * C + 21, 17), Strip.Canvas(),
                                TRect(21 * (Index + C), 0, 21 * (Index + C) + 21, 17));
}

void Build(TForm& Form) {
    Form.SetClientWidth(600);
    Form.SetClientHeight(360);
    Form.SetColor(0xE1EAEB);
    TBitmap Glyph;
    GlyphFromStrip(Glyph, 2, 1);

    // Row 1: the windowed flat button: up, default, latched, disabled with a glyph, see-through.
    auto* Up = GalleryPut<TFlatButton>(Form, Bounds(10, 10, 80, 25), L"Up");
    Up->SetLayout(blGlyphLeft);
    auto* Default = GalleryPut<TFlatButton>(Form, Bounds(100, 10, 80, 25), L"Default");
    Default->SetDefault(true);
    auto* Latched = GalleryPut<TFlatButton>(Form, Bounds(190, 10, 80, 25), L"Latched");
    Latched->SetGroupIndex(1);
    Latched->SetDown(true);
    auto* Disabled = GalleryPut<TFlatButton>(Form, Bounds(280, 10, 90, 25), L"Disabled");
    Disabled->SetLayout(blGlyphLeft);
    Disabled->SetGlyph(Glyph);
    Disabled->SetEnabled(false);
    auto* Glyphed = GalleryPut<TFlatButton>(Form, Bounds(380, 4, 70, 40), L"Glyph");
    Glyphed->SetGlyph(Glyph);
    auto* Clear = GalleryPut<TFlatButton>(Form, Bounds(460, 10, 120, 25), L"tmAlways");
    Clear->SetTransparentMode(tmAlways);

    // Row 2: speed buttons and rounded buttons with one- and two-cell glyphs.
    auto* Speed = GalleryPut<TFlatSpeedButton>(Form, Bounds(10, 55, 80, 25), L"Speed");
    Speed->SetLayout(blGlyphLeft);
    auto* SpeedClear = GalleryPut<TFlatSpeedButton>(Form, Bounds(100, 55, 100, 25), L"NotFocused");
    SpeedClear->SetTransparentMode(tmNotFocused);
    auto* SpeedDown = GalleryPut<TFlatSpeedButton>(Form, Bounds(210, 55, 80, 25), L"Down");
    SpeedDown->SetGroupIndex(2);
    SpeedDown->SetDown(true);
    TBitmap Two;
    GlyphFromStrip(Two, 4, 2);
    auto* Rounded = GalleryPut<TRoundedFlatSpeedButton>(Form, Bounds(300, 50, 60, 40), L"Help");
    Rounded->SetGlyph(Two);
    Rounded->SetNumGlyphs(2);
    auto* RoundedOff = GalleryPut<TRoundedFlatSpeedButton>(Form, Bounds(370, 50, 60, 40), L"Off");
    RoundedOff->SetGlyph(Two);
    RoundedOff->SetNumGlyphs(2);
    RoundedOff->SetEnabled(false);

    // Row 3: panels and group boxes.
    auto* Panel = GalleryPut<TFlatPanel>(Form, Bounds(10, 100, 185, 41), L"Flat panel");
    Panel->SetColor(clWhite);
    GalleryPut<TFlatPanel>(Form, Bounds(205, 100, 185, 41), L"Right aligned")
        ->SetAlignment(taRightJustify);
    auto* Group = GalleryPut<TFlatGroupBox>(Form, Bounds(10, 150, 185, 90), L"Options");
    GalleryPut<TFlatButton>(*Group, Bounds(20, 30, 80, 25), L"Inside");
    GalleryPut<TFlatGroupBox>(Form, Bounds(205, 150, 170, 90), L"Top line")
        ->SetBorder(brOnlyTopLine);
    GalleryPut<TFlatGroupBox>(Form, Bounds(400, 100, 185, 60), L"")->SetEnabled(false);

    // Row 4: progress bars.
    auto* Half = GalleryPut<TFlatProgressBar>(Form, Bounds(10, 255, 228, 16));
    Half->SetPosition(50);
    auto* Full = GalleryPut<TFlatProgressBar>(Form, Bounds(10, 280, 228, 16));
    Full->SetPosition(100);
    auto* Smooth = GalleryPut<TFlatProgressBar>(Form, Bounds(10, 305, 228, 16));
    Smooth->SetSmooth(true);
    Smooth->SetPosition(70);
    auto* Upright = GalleryPut<TFlatProgressBar>(Form, Bounds(250, 190, 147, 16));
    Upright->SetOrientation(pbVertical);
    Upright->SetPosition(30);

    // A panel with a splitter beside it, inside a host panel.
    auto* Host = GalleryPut<TFlatPanel>(Form, Bounds(400, 170, 190, 180));
    auto* Side = GalleryPut<TFlatPanel>(*Host, Bounds(0, 0, 80, 180), L"Side");
    Side->SetAlign(alLeft);
    auto* Splitter = GalleryPut<TFlatSplitter>(*Host, Bounds(85, 0, 5, 180));
    Splitter->SetAlign(alLeft);
    GalleryPut<TFlatPanel>(*Host, Bounds(100, 0, 90, 180), L"Rest")->SetAlign(alClient);
}

const TGalleryPage Page(L"controls-2", &Build);

} // namespace
