#include "controls/RoundedFlatButton.h"

namespace {
THoverGroup RoundedButtonHover(100);
} // namespace

TRoundedFlatSpeedButton::TRoundedFlatSpeedButton(TComponent* AOwner)
    : TGraphicPushButton(AOwner, RoundedButtonHover) {
    ControlStyle.Exclude(csOpaque);
    SetBounds(Left(), Top(), 25, 25);
    SetLayout(blGlyphTop);
}

void TRoundedFlatSpeedButton::PaintBackground(TBitmap& Buffer) {
    // No face and no border, whatever the colours: only glyph and caption cover the parent.
    CopyWhatLiesBehind(*this, Buffer);
}

void TRoundedFlatSpeedButton::PaintGlyphCell(TBitmap& Buffer, TBitmap& Cell, TPoint Pos) {
    DrawMaskedGlyph(Buffer.Canvas(), Cell, Pos, GlyphMaskColor(*this, Cell));
}

int TRoundedFlatSpeedButton::GlyphCellNow() const {
    if (NumGlyphs() != 2)
        return TGraphicPushButton::GlyphCellNow();
    const bool Second = (State() == bsUp && MouseInControl()) || State() == bsDisabled;
    return Second ? 1 : 0;
}
