#include "classlib/gui/Graphics.h"
#include "classlib/rtl/SysUtils.h"

#include <algorithm>
#include <cstring>

namespace {

int BitsPerPixel(TPixelFormat Format) {
    switch (Format) {
    case pf1bit:
        return 1;
    case pf24bit:
        return 24;
    default:
        return 32;
    }
}

// A top-down DIB section (colour forms) or a 1-bit bitmap (the monochrome form), white.
TBitmapObject CreateSurface(int Width, int Height, TPixelFormat Format, void** Bits) {
    *Bits = nullptr;
    if (Width <= 0 || Height <= 0)
        return TBitmapObject();
    if (Format == pf1bit) {
        const int Stride = ((Width + 15) / 16) * 2;
        std::string White(static_cast<size_t>(Stride) * Height, '\xFF');
        return TBitmapObject(CreateBitmap(Width, Height, 1, 1, White.data()));
    }
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Info.bmiHeader.biWidth = Width;
    Info.bmiHeader.biHeight = -Height;
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = static_cast<WORD>(BitsPerPixel(Format));
    Info.bmiHeader.biCompression = BI_RGB;
    TBitmapObject Result(CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, Bits, nullptr, 0));
    if (!Result)
        throw EInvalidGraphic(L"Out of system resources");
    const int Stride = ((Width * BitsPerPixel(Format) + 31) / 32) * 4;
    std::memset(*Bits, 0xFF, static_cast<size_t>(Stride) * Height);
    return Result;
}

// Copies the top-left of what Source shows onto Target, mono pixels as black (0) and white (1).
void CopyPixels(HBITMAP Target, HDC Source, int Width, int Height) {
    const TClientDC Screen(nullptr);
    TMemoryDC To(Screen.Handle());
    const TSelectObject SelectTo(To.Handle(), Target);
    SetTextColor(To.Handle(), RGB(0, 0, 0));
    SetBkColor(To.Handle(), RGB(255, 255, 255));
    BitBlt(To.Handle(), 0, 0, Width, Height, Source, 0, 0, SRCCOPY);
}

} // namespace

// ---------------------------------------------------------------- TBitmap

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
    DetachCanvas();
}

void TBitmap::DetachCanvas() {
    if (FCanvas)
        FCanvas->SetHandle(nullptr);
    if (FDC && FOriginalBitmap)
        SelectObject(FDC.Handle(), FOriginalBitmap);
    FOriginalBitmap = nullptr;
}

HDC TBitmap::DrawingDC() const {
    if (!FDC) {
        const TClientDC Screen(nullptr);
        FDC = TMemoryDC(Screen.Handle());
    }
    if (!FOriginalBitmap && FHandle)
        FOriginalBitmap = SelectObject(FDC.Handle(), FHandle.Get());
    return FDC.Handle();
}

TCanvas& TBitmap::Canvas() {
    if (!FCanvas)
        FCanvas = std::make_unique<TCanvas>();
    const HDC DC = DrawingDC();
    if (FCanvas->Handle() != DC)
        FCanvas->SetHandle(DC);
    return *FCanvas;
}

void TBitmap::Replace(TBitmapObject NewHandle, int Width, int Height, TPixelFormat Format) {
    DetachCanvas();
    FHandle = std::move(NewHandle);
    FWidth = FHandle ? Width : 0;
    FHeight = FHandle ? Height : 0;
    FFormat = Format;
    Changed();
}

void TBitmap::Changed() {
    if (OnChange)
        OnChange(this);
}

void TBitmap::SetSize(int Width, int Height) {
    Width = std::max(Width, 0);
    Height = std::max(Height, 0);
    if (Width == FWidth && Height == FHeight)
        return;
    void* Bits = nullptr;
    TBitmapObject Surface = CreateSurface(Width, Height, FFormat, &Bits);
    if (Surface && FHandle)
        CopyPixels(Surface.Get(), DrawingDC(), std::min(Width, FWidth), std::min(Height, FHeight));
    FBits = Bits;
    Replace(std::move(Surface), Width, Height, FFormat);
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
    if (Value == FFormat)
        return;
    void* Bits = nullptr;
    TBitmapObject Surface = CreateSurface(FWidth, FHeight, Value, &Bits);
    if (Surface && FHandle) {
        // Colour to mono: pixels of the canvas's brush colour become white, the rest black.
        const COLORREF Background = ColorToRGB(FCanvas ? FCanvas->Brush().Color() : clWhite);
        const HDC From = DrawingDC();
        const COLORREF OldBack = SetBkColor(From, Background);
        CopyPixels(Surface.Get(), From, FWidth, FHeight);
        SetBkColor(From, OldBack);
    }
    FBits = Bits;
    Replace(std::move(Surface), FWidth, FHeight, Value);
}

void TBitmap::SetMonochrome(bool Value) {
    if (Value != Monochrome())
        SetPixelFormat(Value ? pf1bit : pfDevice);
}

std::uint8_t* TBitmap::ScanLine(int Row) {
    if (!FBits || Row < 0 || Row >= FHeight)
        throw EInvalidGraphic(L"Scan line index out of range");
    GdiFlush();
    const int Stride = ((FWidth * BitsPerPixel(FFormat) + 31) / 32) * 4;
    return static_cast<std::uint8_t*>(FBits) + static_cast<size_t>(Stride) * Row;
}

TColor TBitmap::TransparentColor() const {
    if (FTransparentColor != clDefault)
        return FTransparentColor;
    if (Empty())
        return clWhite;
    return static_cast<TColor>(GetPixel(DrawingDC(), 0, FHeight - 1));
}

void TBitmap::TakeLoaded(HBITMAP Loaded) {
    TBitmapObject Owned(Loaded);
    BITMAP Info{};
    if (!GetObjectW(Loaded, sizeof(Info), &Info) || Info.bmWidth <= 0 || Info.bmHeight == 0)
        throw EInvalidGraphic(L"Bitmap image is not valid");
    const int Width = Info.bmWidth;
    const int Height = std::abs(Info.bmHeight);
    const TPixelFormat Kind = Info.bmBitsPixel == 24 ? pf24bit : pfDevice;
    void* Bits = nullptr;
    TBitmapObject Surface = CreateSurface(Width, Height, Kind, &Bits);
    {
        const TClientDC Screen(nullptr);
        TMemoryDC From(Screen.Handle());
        const TSelectObject Select(From.Handle(), Loaded);
        CopyPixels(Surface.Get(), From.Handle(), Width, Height);
    }
    FBits = Bits;
    Replace(std::move(Surface), Width, Height, Kind);
}

void TBitmap::LoadFromFile(const String& FileName) {
    const DWORD Attributes = GetFileAttributesW(FileName.c_str());
    if (Attributes == INVALID_FILE_ATTRIBUTES || (Attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw EFOpenError(
            Format(L"Cannot open file \"%s\". %s", {FileName, SysErrorMessage(GetLastError())}));
    const auto Loaded = static_cast<HBITMAP>(LoadImageW(nullptr, FileName.c_str(), IMAGE_BITMAP, 0,
                                                        0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!Loaded)
        throw EInvalidGraphic(Format(L"\"%s\" is not a valid bitmap", {FileName}));
    TakeLoaded(Loaded);
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const String& ResourceName) {
    const auto Loaded = static_cast<HBITMAP>(
        LoadImageW(Instance, ResourceName.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!Loaded)
        throw EInvalidGraphic(Format(L"Resource %s not found", {ResourceName}));
    TakeLoaded(Loaded);
}

void TBitmap::Assign(const TPersistent& Source) {
    const auto* Other = dynamic_cast<const TBitmap*>(&Source);
    if (!Other) {
        TPersistent::Assign(Source);
        return;
    }
    if (Other == this)
        return;
    void* Bits = nullptr;
    TBitmapObject Surface = CreateSurface(Other->FWidth, Other->FHeight, Other->FFormat, &Bits);
    if (Surface)
        CopyPixels(Surface.Get(), Other->DrawingDC(), Other->FWidth, Other->FHeight);
    Transparent = Other->Transparent;
    FTransparentColor = Other->FTransparentColor;
    FBits = Bits;
    Replace(std::move(Surface), Other->FWidth, Other->FHeight, Other->FFormat);
}

// ------------------------------------------------------------------ TIcon

TIcon::~TIcon() {
    SetHandle(nullptr);
}

void TIcon::SetHandle(HICON Icon) {
    if (FHandle && FHandle != Icon)
        DestroyIcon(FHandle);
    FHandle = Icon;
}

HICON TIcon::ReleaseHandle() {
    return std::exchange(FHandle, nullptr);
}

void TIcon::Assign(const TPersistent& Source) {
    const auto* Other = dynamic_cast<const TIcon*>(&Source);
    if (!Other) {
        TPersistent::Assign(Source);
        return;
    }
    if (Other != this)
        SetHandle(Other->FHandle ? CopyIcon(Other->FHandle) : nullptr);
}

namespace {

SIZE IconSize(HICON Icon) {
    SIZE Size{};
    ICONINFO Info{};
    if (!Icon || !GetIconInfo(Icon, &Info))
        return Size;
    const TBitmapObject Mask(Info.hbmMask);
    const TBitmapObject Colour(Info.hbmColor);
    BITMAP B{};
    if (GetObjectW(Info.hbmMask, sizeof(B), &B)) {
        Size.cx = B.bmWidth;
        // Without a colour plane the mask holds the AND and XOR halves one above the other.
        Size.cy = Info.hbmColor ? B.bmHeight : B.bmHeight / 2;
    }
    return Size;
}

} // namespace

int TIcon::Width() const {
    return IconSize(FHandle).cx;
}

int TIcon::Height() const {
    return IconSize(FHandle).cy;
}

void TIcon::LoadFromResourceName(HINSTANCE Instance, const String& ResourceName) {
    const auto Loaded =
        static_cast<HICON>(LoadImageW(Instance, ResourceName.c_str(), IMAGE_ICON, 0, 0, 0));
    if (!Loaded)
        throw EInvalidGraphic(Format(L"Resource %s not found", {ResourceName}));
    SetHandle(Loaded);
}

// --------------------------------------------------------------- TPicture

TBitmap& TPicture::Bitmap() {
    if (!FBitmap) {
        FBitmap = std::make_unique<TBitmap>();
        FBitmap->OnChange = [this](TObject*) {
            if (OnChange)
                OnChange(this);
        };
    }
    return *FBitmap;
}

void TPicture::Assign(const TPersistent& Source) {
    if (const auto* Other = dynamic_cast<const TPicture*>(&Source)) {
        if (Other == this)
            return;
        if (Other->FBitmap)
            Bitmap().Assign(*Other->FBitmap);
        else
            FBitmap.reset();
        return;
    }
    if (dynamic_cast<const TBitmap*>(&Source)) {
        Bitmap().Assign(Source);
        return;
    }
    TPersistent::Assign(Source);
}
