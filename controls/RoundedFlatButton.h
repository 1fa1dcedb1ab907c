// A windowless button that paints only its glyph and caption over its parent; a two-cell glyph
// shows its second picture under the mouse.
#pragma once

#include "controls/FlatButton.h"

class TRoundedFlatSpeedButton : public TGraphicPushButton {
public:
    explicit TRoundedFlatSpeedButton(TComponent* AOwner);

    // Stored; the button has no face to round.
    int Feather = 10;

protected:
    void PaintBackground(TBitmap& Buffer) override;
    void PaintGlyphCell(TBitmap& Buffer, TBitmap& Cell, TPoint Pos) override;
    int GlyphCellNow() const override;
};
