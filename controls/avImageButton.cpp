#include "controls/avImageButton.h"

#include "classlib/gui/ImgList.h"

THoverGroup& TavImageButton::HoverGroup() {
    static THoverGroup Group(75);
    return Group;
}

TavImageButton::TavImageButton(TComponent* AOwner) : TavSkinnedButton(AOwner, HoverGroup()) {
    SetTabStop(true);
}

TavImageButton::~TavImageButton() = default;

void TavImageButton::SetImagePath(TSkinImage Index, const String& Path) {
    FImages.SetPath(Index, Path);
    RefreshFromImages();
}

void TavImageButton::ApplySizeRules(int AWidth, int AHeight) {
    TBitmap& Middle = FImages.Image(siNormalMiddle);
    if (!Middle.Empty() && AHeight != Middle.Height())
        SetHeight(Middle.Height());
    // Without both caps the button is one middle piece wide.
    if ((FImages.Image(siNormalLeft).Empty() || FImages.Image(siNormalRight).Empty()) &&
        AWidth != Middle.Width())
        SetWidth(Middle.Width());
}

void TavImageButton::PaintGlyphCell(TBitmap& Buffer, TBitmap& Cell, TPoint Pos) {
    TImageList List(nullptr);
    List.SetSize(Cell.Width(), Cell.Height());
    List.AddMasked(Cell, Cell.Canvas().Pixel(0, Cell.Height() - 1));
    List.Draw(Buffer.Canvas(), Pos.X, Pos.Y, 0);
}
