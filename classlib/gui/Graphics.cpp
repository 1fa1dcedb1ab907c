#include "classlib/gui/Graphics.h"

#include <algorithm>

COLORREF ColorToRGB(TColor Color) {
    if ((Color & clSystemColor) == clSystemColor)
        return GetSysColor(Color & 0xFF);
    return static_cast<COLORREF>(Color) & 0xFFFFFF;
}

int ScreenPixelsPerInch() {
    static const int PixelsPerInch = [] {
        const TClientDC Screen(nullptr);
        const int Value = GetDeviceCaps(Screen.Handle(), LOGPIXELSY);
        return Value > 0 ? Value : 96;
    }();
    return PixelsPerInch;
}

// ------------------------------------------------------------------ TFont

TFont::TFont() : FName(L"Tahoma"), FHeight(-MulDiv(8, ScreenPixelsPerInch(), 72)) {}

void TFont::Assign(const TPersistent& Source) {
    const auto* Other = dynamic_cast<const TFont*>(&Source);
    if (!Other) {
        TPersistent::Assign(Source);
        return;
    }
    const bool ShapeChanged =
        FName != Other->FName || FHeight != Other->FHeight || !(FStyle == Other->FStyle);
    if (!ShapeChanged && FColor == Other->FColor)
        return;
    FName = Other->FName;
    FHeight = Other->FHeight;
    FStyle = Other->FStyle;
    FColor = Other->FColor;
    Changed(ShapeChanged);
}

HFONT TFont::Handle() const {
    if (!FHandle) {
        LOGFONTW Log{};
        Log.lfHeight = FHeight;
        Log.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        Log.lfItalic = FStyle.Contains(fsItalic);
        Log.lfUnderline = FStyle.Contains(fsUnderline);
        Log.lfStrikeOut = FStyle.Contains(fsStrikeOut);
        Log.lfCharSet = DEFAULT_CHARSET;
        Log.lfQuality = DEFAULT_QUALITY;
        FName.copy(Log.lfFaceName, LF_FACESIZE - 1);
        FHandle.Reset(CreateFontIndirectW(&Log));
    }
    return FHandle.Get();
}

void TFont::SetName(const String& Value) {
    if (FName == Value)
        return;
    FName = Value;
    Changed(true);
}

void TFont::SetHeight(int Value) {
    if (FHeight == Value)
        return;
    FHeight = Value;
    Changed(true);
}

int TFont::Size() const {
    return -MulDiv(FHeight, 72, ScreenPixelsPerInch());
}

void TFont::SetSize(int Value) {
    SetHeight(-MulDiv(Value, ScreenPixelsPerInch(), 72));
}

void TFont::SetStyle(TFontStyles Value) {
    if (FStyle == Value)
        return;
    FStyle = Value;
    Changed(true);
}

void TFont::SetColor(TColor Value) {
    if (FColor == Value)
        return;
    FColor = Value;
    Changed(false);
}

void TFont::Changed(bool ShapeChanged) {
    // The old font dies only after the listeners have had the chance to deselect it.
    TFontObject Old;
    if (ShapeChanged)
        Old = std::move(FHandle);
    if (OnChange)
        OnChange(this);
}

// ----------------------------------------------------------------- TBrush

void TBrush::Assign(const TPersistent& Source) {
    const auto* Other = dynamic_cast<const TBrush*>(&Source);
    if (!Other) {
        TPersistent::Assign(Source);
        return;
    }
    SetColor(Other->FColor);
    SetStyle(Other->FStyle);
}

HBRUSH TBrush::Handle() const {
    if (!FHandle)
        FHandle.Reset(CreateSolidBrush(ColorToRGB(FColor)));
    return FHandle.Get();
}

void TBrush::SetColor(TColor Value) {
    if (FColor == Value)
        return;
    FColor = Value;
    // A brush is never selected into a DC by the canvas, so it can go at once.
    FHandle.Reset();
}

void TBrush::SetStyle(TBrushStyle Value) {
    FStyle = Value;
}

// ---------------------------------------------------------------- TCanvas

TCanvas::TCanvas() {
    FFont.OnChange = [this](TObject*) { DeselectFont(); };
}

TCanvas::~TCanvas() {
    SetHandle(nullptr);
}

void TCanvas::SetHandle(HDC DC) {
    if (DC == FHandle)
        return;
    if (FHandle)
        RestoreDC(FHandle, FSavedState);
    FFontSelected = false;
    FHandle = DC;
    FSavedState = DC ? SaveDC(DC) : 0;
}

void TCanvas::DeselectFont() {
    if (!FFontSelected)
        return;
    SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
    FFontSelected = false;
}

void TCanvas::RequireText() {
    if (!FFontSelected) {
        SelectObject(FHandle, FFont.Handle());
        FFontSelected = true;
    }
    SetTextColor(FHandle, ColorToRGB(FFont.Color()));
    if (FBrush.Style() == bsClear) {
        SetBkMode(FHandle, TRANSPARENT);
    } else {
        SetBkMode(FHandle, OPAQUE);
        SetBkColor(FHandle, ColorToRGB(FBrush.Color()));
    }
}

void TCanvas::FillRect(const TRect& R) {
    if (FBrush.Style() == bsClear)
        return;
    const RECT Area = R;
    ::FillRect(FHandle, &Area, FBrush.Handle());
}

void TCanvas::TextOut(int X, int Y, const String& Text) {
    RequireText();
    ::TextOutW(FHandle, X, Y, Text.c_str(), static_cast<int>(Text.size()));
}

int TCanvas::TextRect(TRect& R, const String& Text, UINT Flags) {
    RequireText();
    RECT Area = R;
    const int Height =
        ::DrawTextW(FHandle, Text.c_str(), static_cast<int>(Text.size()), &Area, Flags);
    R = Area;
    return Height;
}

TSize TCanvas::TextExtent(const String& Text) {
    RequireText();
    SIZE Extent{};
    ::GetTextExtentPoint32W(FHandle, Text.c_str(), static_cast<int>(Text.size()), &Extent);
    return TSize{Extent.cx, Extent.cy};
}

// ------------------------------------------------------------ TBackBuffer

TBackBuffer::~TBackBuffer() {
    Release();
}

HDC TBackBuffer::Prepare(int Width, int Height) {
    Width = std::max(Width, 1);
    Height = std::max(Height, 1);
    if (FDC && Width == FWidth && Height == FHeight)
        return FDC.Handle();
    Release();
    const TClientDC Screen(nullptr);
    FDC = TMemoryDC(Screen.Handle());
    FBitmap.Reset(CreateCompatibleBitmap(Screen.Handle(), Width, Height));
    FOriginalBitmap = SelectObject(FDC.Handle(), FBitmap.Get());
    FWidth = Width;
    FHeight = Height;
    return FDC.Handle();
}

void TBackBuffer::Release() noexcept {
    // The bitmap must be out of the DC before either is deleted.
    if (FDC)
        SelectObject(FDC.Handle(), FOriginalBitmap);
    FBitmap.Reset();
    FDC = TMemoryDC();
    FOriginalBitmap = nullptr;
    FWidth = FHeight = 0;
}
