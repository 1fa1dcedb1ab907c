// The windowless flat push button; also the base of the spin buttons.
#pragma once

#include "controls/FlatButton.h"

class TFlatSpeedButton : public TFlatFaceButton<TGraphicPushButton> {
public:
    explicit TFlatSpeedButton(TComponent* AOwner);
};
