// The flat edit's look over the masked edit.
#pragma once

#include "controls/FlatEdit.h"

class TFlatMaskEdit : public TFlatEditFrame<TCustomMaskEdit> {
public:
    explicit TFlatMaskEdit(TComponent* AOwner) : TFlatEditFrame(AOwner) {}

protected:
    bool SameFlatClass(const TWinControl& Other) const override;
};
