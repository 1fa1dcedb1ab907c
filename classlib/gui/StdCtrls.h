// Standard controls.
#pragma once

#include "classlib/gui/Controls.h"

// A caption painted by its parent. Line breaks in the caption start new lines; '&' is shown as
// it stands. With AutoSize the label takes the size of its text; a label that is not Transparent
// first fills its bounds with its Color.
class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* AOwner);

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);

protected:
    void Paint() override;
    void CaptionChanged() override;
    void FontChanged() override;

private:
    void AdjustBounds();

    bool FAutoSize = true;
    bool FTransparent = false;
};
