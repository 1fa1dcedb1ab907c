#include "controls/RoundedFlatButton.h"

namespace {
THoverGroup RoundedButtonHover(100);
} // namespace

TRoundedFlatSpeedButton::TRoundedFlatSpeedButton(TComponent* AOwner)
    : TFlatFaceButton(AOwner, RoundedButtonHover) {
    ControlStyle.Exclude(csOpaque);
}

void TRoundedFlatSpeedButton::PaintBackground(TBitmap& Buffer) {
    // No face and no border, whatever the colours: only glyph and caption cover the parent.
    CopyWhatLiesBehind(*this, Buffer);
}

int TRoundedFlatSpeedButton::GlyphCellNow() const {
    if (NumGlyphs() != 2)
        return TFlatFaceButton::GlyphCellNow();
    const bool Second = (State() == bsUp && MouseInControl()) || State() == bsDisabled;
    return Second ? 1 : 0;
}
