#include "classlib/gui/ExtCtrls.h"

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 105, 105);
    FPicture.OnChange = [this](TObject*) { PictureChanged(); };
}

void TImage::SetStretch(bool Value) {
    if (FStretch == Value)
        return;
    FStretch = Value;
    Invalidate();
}

void TImage::SetCenter(bool Value) {
    if (FCenter == Value)
        return;
    FCenter = Value;
    Invalidate();
}

void TImage::SetTransparent(bool Value) {
    if (FTransparent == Value)
        return;
    FTransparent = Value;
    PictureChanged();
}

void TImage::SetAutoSize(bool Value) {
    if (FAutoSize == Value)
        return;
    FAutoSize = Value;
    PictureChanged();
}

void TImage::PictureChanged() {
    if (!FPicture.Empty()) {
        TBitmap& Bitmap = FPicture.Bitmap();
        Bitmap.Transparent = FTransparent;
        if (FAutoSize)
            SetBounds(Left(), Top(), Bitmap.Width(), Bitmap.Height());
    }
    Invalidate();
}

TRect TImage::DestRect() {
    const TRect Client = ClientRect();
    if (FStretch)
        return Client;
    const TBitmap& Bitmap = FPicture.Bitmap();
    if (!FCenter)
        return Bounds(0, 0, Bitmap.Width(), Bitmap.Height());
    return Bounds((Client.Width() - Bitmap.Width()) / 2, (Client.Height() - Bitmap.Height()) / 2,
                  Bitmap.Width(), Bitmap.Height());
}

void TImage::Paint() {
    if (FPicture.Empty())
        return;
    const TRect Dest = DestRect();
    TBitmap& Bitmap = FPicture.Bitmap();
    if (Dest.Width() == Bitmap.Width() && Dest.Height() == Bitmap.Height())
        Canvas().Draw(Dest.Left, Dest.Top, Bitmap);
    else
        Canvas().StretchDraw(Dest, Bitmap);
}
