#include "classlib/gui/ImgList.h"

#include <algorithm>

TChangeLink::~TChangeLink() {
    if (FSender)
        FSender->UnRegisterChanges(this);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() {
    for (TChangeLink* Link : FLinks)
        Link->FSender = nullptr;
    SetHandle(nullptr);
}

void TCustomImageList::CreateList() const {
    if (!FHandle)
        FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR32 | (Masked ? ILC_MASK : 0), 4, 4);
}

HIMAGELIST TCustomImageList::Handle() const {
    CreateList();
    return FHandle;
}

void TCustomImageList::SetHandle(HIMAGELIST List) {
    if (FHandle && !ShareImages)
        ImageList_Destroy(FHandle);
    FHandle = List;
    if (List) {
        int W = 0;
        int H = 0;
        ImageList_GetIconSize(List, &W, &H);
        FWidth = W;
        FHeight = H;
    }
    Change();
}

void TCustomImageList::SetSize(int Width, int Height) {
    if (Width == FWidth && Height == FHeight)
        return;
    if (FHandle && !ShareImages)
        ImageList_Destroy(FHandle);
    FHandle = nullptr;
    ShareImages = false;
    FWidth = std::max(Width, 1);
    FHeight = std::max(Height, 1);
    Change();
}

int TCustomImageList::Count() const {
    return FHandle ? ImageList_GetImageCount(FHandle) : 0;
}

int TCustomImageList::Add(TBitmap& Image, TBitmap* Mask) {
    CreateList();
    // The list copies the pixels; the bitmaps must not be selected into a DC meanwhile.
    TBitmap Copy;
    Copy.Assign(Image);
    TBitmap MaskCopy;
    if (Mask) {
        MaskCopy.Assign(*Mask);
        MaskCopy.SetMonochrome(true);
    }
    const int Index = ImageList_Add(FHandle, Copy.Handle(), Mask ? MaskCopy.Handle() : nullptr);
    Change();
    return Index;
}

int TCustomImageList::AddMasked(TBitmap& Image, TColor MaskColor) {
    CreateList();
    TBitmap Copy;
    Copy.Assign(Image);
    const TColor Key = MaskColor == clDefault ? Image.TransparentColor() : MaskColor;
    const int Index = ImageList_AddMasked(FHandle, Copy.Handle(), ColorToRGB(Key));
    Change();
    return Index;
}

int TCustomImageList::AddIcon(TIcon& Icon) {
    CreateList();
    const int Index = ImageList_AddIcon(FHandle, Icon.Handle());
    Change();
    return Index;
}

void TCustomImageList::Delete(int Index) {
    if (FHandle && ImageList_Remove(FHandle, Index))
        Change();
}

void TCustomImageList::Clear() {
    if (FHandle && ImageList_Remove(FHandle, -1))
        Change();
}

bool TCustomImageList::Overlay(int ImageIndex, int OverlayIndex) {
    return FHandle && ImageList_SetOverlayImage(FHandle, ImageIndex, OverlayIndex + 1);
}

void TCustomImageList::DrawImage(HDC DC, int X, int Y, int Index, UINT Style, bool Enabled) const {
    if (!FHandle || Index < 0 || Index >= Count())
        return;
    if (Enabled) {
        static const UINT Styles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
        const COLORREF Back = BkColor == clNone ? CLR_NONE : ColorToRGB(BkColor);
        ImageList_DrawEx(FHandle, Index, DC, X, Y, 0, 0, Back, CLR_DEFAULT,
                         Styles[DrawingStyle] | Style);
        return;
    }
    // Disabled: the image's shape stamped in highlight at (1, 1) and shadow at (0, 0). The shape
    // is what does not differ between drawings over black and over white.
    TBitmap OverBlack;
    TBitmap OverWhite;
    TBitmap Mask;
    for (TBitmap* B : {&OverBlack, &OverWhite, &Mask}) {
        B->SetPixelFormat(pf32bit);
        B->SetSize(FWidth, FHeight);
    }
    OverBlack.Canvas().Brush().SetColor(clBlack);
    OverBlack.Canvas().FillRect(TRect(0, 0, FWidth, FHeight));
    ImageList_Draw(FHandle, Index, OverBlack.Canvas().Handle(), 0, 0, ILD_TRANSPARENT);
    ImageList_Draw(FHandle, Index, OverWhite.Canvas().Handle(), 0, 0, ILD_TRANSPARENT);
    for (int Row = 0; Row < FHeight; ++Row) {
        const auto* Black = reinterpret_cast<const std::uint32_t*>(OverBlack.ScanLine(Row));
        const auto* White = reinterpret_cast<const std::uint32_t*>(OverWhite.ScanLine(Row));
        auto* Shape = reinterpret_cast<std::uint32_t*>(Mask.ScanLine(Row));
        for (int X = 0; X < FWidth; ++X)
            Shape[X] = ((Black[X] ^ White[X]) & 0xFFFFFF) ? 0 : 0xFFFFFF;
    }
    Mask.Canvas().Brush().SetColor(clWhite);
    Mask.SetMonochrome(true);
    const HDC MaskDC = Mask.Canvas().Handle();
    const COLORREF OldText = SetTextColor(DC, RGB(0, 0, 0));
    const COLORREF OldBack = SetBkColor(DC, RGB(255, 255, 255));
    for (const auto& [Colour, Offset] : {std::pair{clBtnHighlight, 1}, std::pair{clBtnShadow, 0}}) {
        const TBrushObject Brush(CreateSolidBrush(ColorToRGB(Colour)));
        const TSelectObject SelectBrush(DC, Brush.Get());
        // DSPDxax: the brush where the mask is white (the shape), the target elsewhere.
        BitBlt(DC, X + Offset, Y + Offset, FWidth, FHeight, MaskDC, 0, 0, 0x00E20746);
    }
    SetTextColor(DC, OldText);
    SetBkColor(DC, OldBack);
}

void TCustomImageList::Draw(TCanvas& Canvas, int X, int Y, int Index, bool Enabled) {
    DrawImage(Canvas.Handle(), X, Y, Index, 0, Enabled);
}

void TCustomImageList::DrawOverlay(TCanvas& Canvas, int X, int Y, int Index, int OverlayIndex,
                                   bool Enabled) {
    DrawImage(Canvas.Handle(), X, Y, Index, INDEXTOOVERLAYMASK(OverlayIndex + 1), Enabled);
}

void TCustomImageList::GetBitmap(int Index, TBitmap& Image) const {
    Image.SetSize(FWidth, FHeight);
    TCanvas& C = Image.Canvas();
    C.Brush().SetColor(BkColor == clNone ? clWhite : BkColor);
    C.FillRect(TRect(0, 0, FWidth, FHeight));
    if (FHandle && Index >= 0 && Index < Count())
        ImageList_Draw(FHandle, Index, C.Handle(), 0, 0, ILD_TRANSPARENT);
}

void TCustomImageList::GetIcon(int Index, TIcon& Icon) const {
    Icon.SetHandle(FHandle ? ImageList_GetIcon(FHandle, Index, ILD_TRANSPARENT) : nullptr);
}

void TCustomImageList::RegisterChanges(TChangeLink* Link) {
    if (!Link || std::find(FLinks.begin(), FLinks.end(), Link) != FLinks.end())
        return;
    if (Link->FSender)
        Link->FSender->UnRegisterChanges(Link);
    Link->FSender = this;
    FLinks.push_back(Link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Link) {
    const auto It = std::find(FLinks.begin(), FLinks.end(), Link);
    if (It == FLinks.end())
        return;
    Link->FSender = nullptr;
    FLinks.erase(It);
}

void TCustomImageList::Change() {
    // A listener may unsubscribe itself while being told.
    const std::vector<TChangeLink*> Links = FLinks;
    for (TChangeLink* Link : Links)
        if (std::find(FLinks.begin(), FLinks.end(), Link) != FLinks.end() && Link->OnChange)
            Link->OnChange(this);
    if (OnChange)
        OnChange(this);
}

// ------------------------------------------------------------ the screen drag image

TScreenDragImage::TScreenDragImage() = default;

TScreenDragImage::~TScreenDragImage() {
    TScreenDragImage::End();
}

void TScreenDragImage::Begin(TBitmap& Picture, TColor TransparentColor, TPoint HotSpot,
                             TPoint Pos) {
    End();
    FList = std::make_unique<TImageList>(nullptr);
    FList->SetSize(Picture.Width(), Picture.Height());
    if (FList->AddMasked(Picture, TransparentColor) < 0 ||
        !ImageList_BeginDrag(FList->Handle(), 0, HotSpot.X, HotSpot.Y)) {
        FList.reset();
        return;
    }
    FActive = true;
    FPos = Pos;
    Show();
}

void TScreenDragImage::Move(TPoint Pos) {
    FPos = Pos;
    if (FVisible)
        ImageList_DragMove(Pos.X, Pos.Y);
}

void TScreenDragImage::Hide() {
    if (!FVisible)
        return;
    ImageList_DragLeave(nullptr);
    FVisible = false;
}

void TScreenDragImage::Show() {
    // Without a lock window the desktop is locked, so the picture crosses every window.
    if (FActive && !FVisible)
        FVisible = ImageList_DragEnter(nullptr, FPos.X, FPos.Y) != FALSE;
}

void TScreenDragImage::End() {
    if (!FActive)
        return;
    Hide();
    ImageList_EndDrag();
    FList.reset();
    FActive = false;
}
