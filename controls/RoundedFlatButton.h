// A windowless button that paints only its glyph and caption over its parent; a two-cell glyph
// shows its second picture under the mouse. It keeps the flat buttons' colours and transparent
// mode, which it stores without drawing them.
#pragma once

#include "controls/FlatButton.h"

class TRoundedFlatSpeedButton : public TFlatFaceButton<TGraphicPushButton> {
public:
    explicit TRoundedFlatSpeedButton(TComponent* AOwner);

    // Stored; the button has no face to round.
    int Feather = 10;

protected:
    void PaintBackground(TBitmap& Buffer) override;
    int GlyphCellNow() const override;
};
