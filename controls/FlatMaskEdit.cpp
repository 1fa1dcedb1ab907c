#include "controls/FlatMaskEdit.h"

bool TFlatMaskEdit::SameFlatClass(const TWinControl& Other) const {
    return dynamic_cast<const TFlatMaskEdit*>(&Other) != nullptr;
}
