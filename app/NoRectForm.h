// A window's region made from a mask picture: red and white pixels keep the window, blue, green
// and black ones cut it away.
#pragma once

#include "classlib/gui/Forms.h"

enum TPixelClass { pcWhite, pcRed, pcBlue, pcGreen, pcBlack };

// The class of a mask pixel of red R, green G and blue B, the first rule that holds.
TPixelClass PixelClass(int R, int G, int B);
constexpr bool PixelClassKept(TPixelClass Class) {
    return Class == pcWhite || Class == pcRed;
}

class TNonRectForm : public TComponent {
public:
    // The owner is the form whose region is built.
    explicit TNonRectForm(TComponent* AOwner);

    TForm* Form() const { return FForm; }
    TBitmap& Mask() { return FMask; }

    // Makes the form borderless and gives it the region of Mask's kept pixels within its width;
    // the system owns the region from then on.
    void ApplyRegion();

private:
    TForm* FForm;
    TBitmap FMask;
};
