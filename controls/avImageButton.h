// A bitmap-skinned button that holds its own six skin pictures (see avImageExpandButton.h).
#pragma once

#include "controls/avImageExpandButton.h"

class TavImageButton : public TavSkinnedButton {
public:
    explicit TavImageButton(TComponent* AOwner);
    ~TavImageButton() override;

    // The hover state the class's instances share.
    static THoverGroup& HoverGroup();

    TBitmap& Image(TSkinImage Index) { return FImages.Image(Index); }
    const String& ImagePath(TSkinImage Index) const { return FImages.Path(Index); }
    // Loads the picture (a failure leaves it empty) and refreshes the button.
    void SetImagePath(TSkinImage Index, const String& Path);

protected:
    TSkinImages* SkinImages() override { return &FImages; }
    void ApplySizeRules(int AWidth, int AHeight) override;
    // Draws Cell through a masked image list whose transparent colour is its bottom-left pixel.
    void PaintGlyphCell(TBitmap& Buffer, TBitmap& Cell, TPoint Pos) override;

private:
    TSkinImages FImages;
};
