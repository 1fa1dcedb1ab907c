#include "app/NoRectForm.h"

#include "controls/FlatTypes.h"

#include <algorithm>
#include <vector>

TPixelClass PixelClass(int R, int G, int B) {
    if (R > 147 && G > 147 && B > 147)
        return pcWhite;
    if (R > 147 && G <= 200 && B <= 200)
        return pcRed;
    if (R <= 108 && G <= 108 && B > 147)
        return pcBlue;
    if (R <= 108 && G > 147 && B <= 108)
        return pcGreen;
    return pcBlack;
}

TNonRectForm::TNonRectForm(TComponent* AOwner)
    : TComponent(AOwner), FForm(dynamic_cast<TForm*>(AOwner)) {}

void TNonRectForm::ApplyRegion() {
    if (!FForm)
        return;
    FForm->SetBorderStyle(bsNone);
    FForm->SetBorderIcons(TBorderIcons{});
    FMask.SetPixelFormat(pf24bit);
    const int Width = std::min(FMask.Width(), FForm->Width());
    std::vector<const std::uint8_t*> Rows;
    for (int Y = 0; Y < FMask.Height(); ++Y)
        Rows.push_back(FMask.ScanLine(Y));
    TRegionObject Region = RegionFromRowRuns(Width, FMask.Height(), [&](int X, int Y) {
        const std::uint8_t* P = Rows[static_cast<size_t>(Y)] + 3 * X; // B, G, R
        return PixelClassKept(PixelClass(P[2], P[1], P[0]));
    });
    if (SetWindowRgn(FForm->Handle(), Region.Get(), TRUE))
        Region.Release();
}
