#include "controls/FlatSpeedButton.h"

TFlatSpeedButton::TFlatSpeedButton(TComponent* AOwner) : TFlatFaceButton(AOwner) {
    // The parent may show through, so it paints beneath the button.
    ControlStyle.Exclude(csOpaque);
}
