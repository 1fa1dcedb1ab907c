#include "controls/avImageExpandButton.h"

#include <algorithm>

THoverGroup& TavImageExpandButton::HoverGroup() {
    static THoverGroup Group(75);
    return Group;
}

void TSkinImages::SetPath(TSkinImage Index, const String& Path) {
    FPaths[Index] = Path;
    TBitmap& Image = FImages[Index];
    Image.SetSize(0, 0);
    try {
        Image.LoadFromFile(Path);
    } catch (...) {
        // A skin picture that cannot be read leaves a plain button; the window still opens.
        Image.SetSize(0, 0);
    }
}

void BuildSkinBackground(TBitmap& Target, int Width, int Height, TBitmap& Left, TBitmap& Middle,
                         TBitmap& Right) {
    Target.SetPixelFormat(pf24bit);
    Target.SetSize(Width, Height);
    TCanvas& Canvas = Target.Canvas();
    if (!Middle.Empty())
        for (int X = 0; X < Width; X += Middle.Width())
            Canvas.Draw(X, 0, Middle);
    if (!Left.Empty())
        Canvas.Draw(0, 0, Left);
    if (!Right.Empty())
        Canvas.Draw(Width - Right.Width(), 0, Right);
}

TRegionObject SkinRegion(TBitmap& Background) {
    Background.SetPixelFormat(pf24bit);
    std::vector<const std::uint8_t*> Rows;
    for (int Y = 0; Y < Background.Height(); ++Y)
        Rows.push_back(Background.ScanLine(Y));
    return RegionFromRowRuns(Background.Width(), Background.Height(), [&](int X, int Y) {
        const std::uint8_t* P = Rows[static_cast<size_t>(Y)] + 3 * X; // B, G, R
        return !IsSkinKeyPixel(P[2], P[1], P[0]);
    });
}

// -------------------------------------------------------- TavSkinnedButton

void TavSkinnedButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TWinPushButton::SetBounds(ALeft, ATop, AWidth, AHeight);
    ApplySizeRules(AWidth, AHeight);
    BuildBackgrounds();
    BuildRegion();
    Invalidate();
}

void TavSkinnedButton::BuildBackgrounds() {
    TSkinImages* Images = SkinImages();
    if (!Images || Images->Image(siNormalMiddle).Empty())
        return;
    BuildSkinBackground(FNormal, Width(), Height(), Images->Image(siNormalLeft),
                        Images->Image(siNormalMiddle), Images->Image(siNormalRight));
    BuildSkinBackground(FHover, Width(), Height(), Images->Image(siHoverLeft),
                        Images->Image(siHoverMiddle), Images->Image(siHoverRight));
}

void TavSkinnedButton::BuildRegion() {
    if (!SkinImages() || !HandleAllocated())
        return; // a window made later takes its region when it is created
    TRegionObject Region = FNormal.Empty() ? TRegionObject(CreateRectRgn(0, 0, Width(), Height()))
                                           : SkinRegion(FNormal);
    // The window owns the region from here on.
    if (SetWindowRgn(Handle(), Region.Get(), TRUE))
        Region.Release();
    Invalidate();
}

void TavSkinnedButton::RefreshFromImages() {
    TSkinImages* Images = SkinImages();
    if (Images && !Images->Image(siNormalMiddle).Empty())
        SetHeight(Images->Image(siNormalMiddle).Height());
    BuildBackgrounds();
    BuildRegion();
    Invalidate();
}

void TavSkinnedButton::WndProc(TMessage& Message) {
    TWinPushButton::WndProc(Message);
    if (Message.Msg == WM_CREATE)
        BuildRegion();
}

void TavSkinnedButton::PaintBackground(TBitmap& Buffer) {
    TBitmap& Look = MouseInControl() ? FHover : FNormal;
    if (!Look.Empty()) {
        Buffer.Canvas().Draw(0, 0, Look);
        return;
    }
    // No skin could be read: a plain button face.
    const TRect All(0, 0, Buffer.Width(), Buffer.Height());
    Buffer.Canvas().Brush().SetColor(clBtnFace);
    Buffer.Canvas().FillRect(All);
    DrawBevelFrame(Buffer.Canvas(), All, clBtnHighlight, clBtnShadow, 1);
}

// ------------------------------------------------------------ TavImageList

TavImageList::TavImageList(TComponent* AOwner) : TComponent(AOwner) {}

TavImageList::~TavImageList() {
    while (!FButtons.empty())
        FButtons.back()->SetImageList(nullptr);
}

void TavImageList::SetFont(const TFont& Value) {
    FFont.Assign(Value);
    UpdateButtons();
}

void TavImageList::UpdateButtons() {
    for (size_t I = FButtons.size(); I-- > 0;)
        FButtons[I]->RefreshFromImageList();
}

// ---------------------------------------------------- TavImageExpandButton

TavImageExpandButton::TavImageExpandButton(TComponent* AOwner)
    : TavSkinnedButton(AOwner, HoverGroup()) {}

TavImageExpandButton::~TavImageExpandButton() {
    if (FImageList)
        std::erase(FImageList->FButtons, this);
}

void TavImageExpandButton::SetImageList(TavImageList* List) {
    if (List == FImageList)
        return;
    if (FImageList)
        std::erase(FImageList->FButtons, this);
    FImageList = List;
    if (List) {
        List->FButtons.push_back(this);
        SetFont(List->Font());
    }
    RefreshFromImageList();
}

void TavImageExpandButton::RefreshFromImageList() {
    RefreshFromImages();
}

TSkinImages* TavImageExpandButton::SkinImages() {
    return FImageList ? &FImageList->Images() : nullptr;
}

void TavImageExpandButton::ApplySizeRules(int /*AWidth*/, int AHeight) {
    if (!FImageList)
        return;
    // A list whose middle piece could not be read leaves the height alone: forced to 0 the
    // button would vanish, and with it the way to close a window.
    const TBitmap& Middle = FImageList->Image(siNormalMiddle);
    if (!Middle.Empty() && AHeight != Middle.Height())
        SetHeight(Middle.Height());
}

void TavImageExpandButton::PaintGlyphCell(TBitmap& Buffer, TBitmap& Cell, TPoint Pos) {
    Cell.SetPixelFormat(pf24bit);
    for (int Y = 0; Y < Cell.Height(); ++Y) {
        const int TargetY = Pos.Y + Y;
        if (TargetY < 0 || TargetY >= Buffer.Height())
            continue;
        const std::uint8_t* From = Cell.ScanLine(Y);
        std::uint8_t* To = Buffer.ScanLine(TargetY);
        for (int X = 0; X < Cell.Width(); ++X) {
            const int TargetX = Pos.X + X;
            const std::uint8_t* P = From + 3 * X;
            if (TargetX < 0 || TargetX >= Buffer.Width() ||
                (P[0] == 255 && P[1] == 255 && P[2] == 255))
                continue;
            std::copy(P, P + 3, To + 3 * TargetX);
        }
    }
}
