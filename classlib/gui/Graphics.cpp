#include "classlib/gui/Graphics.h"

#include <algorithm>
#include <climits>
#include <vector>

std::function<COLORREF(int Index)> SysColorSource;

namespace {

// Counts the changes of the system colours, so that a brush knows whether its handle is older.
unsigned SysColorsVersion = 0;

bool IsSystemColor(TColor Color) {
    return Color != clNone && Color != clDefault && (Color & clSystemColor) == clSystemColor;
}

// A handle made in Color when the system colours were at Seen no longer shows that colour.
bool SysColorStale(TColor Color, unsigned Seen) {
    return Seen != SysColorsVersion && IsSystemColor(Color);
}

} // namespace

COLORREF ColorToRGB(TColor Color) {
    if (Color == clNone || Color == clDefault)
        return 0;
    if (IsSystemColor(Color)) {
        const int Index = static_cast<int>(Color & 0xFF);
        return SysColorSource ? SysColorSource(Index) : GetSysColor(Index);
    }
    return static_cast<COLORREF>(Color) & 0xFFFFFF;
}

void SysColorsChanged() {
    ++SysColorsVersion;
}

namespace {

struct TColorName {
    const wchar_t* Name;
    TColor Color;
};

const TColorName ColorNames[] = {
    {L"clBlack", clBlack},
    {L"clMaroon", clMaroon},
    {L"clGreen", clGreen},
    {L"clOlive", clOlive},
    {L"clNavy", clNavy},
    {L"clPurple", clPurple},
    {L"clTeal", clTeal},
    {L"clGray", clGray},
    {L"clSilver", clSilver},
    {L"clRed", clRed},
    {L"clLime", clLime},
    {L"clYellow", clYellow},
    {L"clBlue", clBlue},
    {L"clFuchsia", clFuchsia},
    {L"clAqua", clAqua},
    {L"clWhite", clWhite},
    {L"clMoneyGreen", clMoneyGreen},
    {L"clSkyBlue", clSkyBlue},
    {L"clCream", clCream},
    {L"clMedGray", clMedGray},
    {L"clNone", clNone},
    {L"clDefault", clDefault},
    {L"clScrollBar", clScrollBar},
    {L"clBackground", clBackground},
    {L"clActiveCaption", clActiveCaption},
    {L"clInactiveCaption", clInactiveCaption},
    {L"clMenu", clMenu},
    {L"clWindow", clWindow},
    {L"clWindowFrame", clWindowFrame},
    {L"clMenuText", clMenuText},
    {L"clWindowText", clWindowText},
    {L"clCaptionText", clCaptionText},
    {L"clActiveBorder", clActiveBorder},
    {L"clInactiveBorder", clInactiveBorder},
    {L"clAppWorkSpace", clAppWorkSpace},
    {L"clHighlight", clHighlight},
    {L"clHighlightText", clHighlightText},
    {L"clBtnFace", clBtnFace},
    {L"clBtnShadow", clBtnShadow},
    {L"clGrayText", clGrayText},
    {L"clBtnText", clBtnText},
    {L"clInactiveCaptionText", clInactiveCaptionText},
    {L"clBtnHighlight", clBtnHighlight},
    {L"cl3DDkShadow", cl3DDkShadow},
    {L"cl3DLight", cl3DLight},
    {L"clInfoText", clInfoText},
    {L"clInfoBk", clInfoBk},
    {L"clHotLight", clHotLight},
    {L"clGradientActiveCaption", clGradientActiveCaption},
    {L"clGradientInactiveCaption", clGradientInactiveCaption},
};

} // namespace

bool IdentToColor(const String& Ident, TColor& Color) {
    for (const TColorName& N : ColorNames)
        if (CompareStringOrdinal(Ident.c_str(), static_cast<int>(Ident.size()), N.Name, -1, TRUE) ==
            CSTR_EQUAL) {
            Color = N.Color;
            return true;
        }
    return false;
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
    if (FHandle && SysColorStale(FColor, FSysColorsSeen)) {
        // Made before the system colours changed. The old brush dies only after the listeners
        // have had the chance to deselect it.
        const TBrushObject Old = std::move(FHandle);
        if (OnChange)
            OnChange(const_cast<TBrush*>(this));
    }
    if (!FHandle) {
        FHandle.Reset(CreateSolidBrush(ColorToRGB(FColor)));
        FSysColorsSeen = SysColorsVersion;
    }
    return FHandle.Get();
}

void TBrush::SetColor(TColor Value) {
    if (FColor == Value)
        return;
    FColor = Value;
    // The old brush dies only after the listeners have had the chance to deselect it.
    TBrushObject Old = std::move(FHandle);
    if (OnChange)
        OnChange(this);
}

void TBrush::SetStyle(TBrushStyle Value) {
    if (FStyle == Value)
        return;
    FStyle = Value;
    if (OnChange)
        OnChange(this);
}

// ------------------------------------------------------------------- TPen

void TPen::Assign(const TPersistent& Source) {
    const auto* Other = dynamic_cast<const TPen*>(&Source);
    if (!Other) {
        TPersistent::Assign(Source);
        return;
    }
    FColor = Other->FColor;
    FWidth = Other->FWidth;
    FStyle = Other->FStyle;
    FMode = Other->FMode;
    Changed();
}

HPEN TPen::Handle() const {
    if (FHandle && SysColorStale(FColor, FSysColorsSeen)) {
        const TGdiObject<HPEN> Old = std::move(FHandle); // deselected by the listeners first
        if (OnChange)
            OnChange(const_cast<TPen*>(this));
    }
    if (!FHandle) {
        static const int Styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_NULL};
        FHandle.Reset(CreatePen(Styles[FStyle], FWidth, ColorToRGB(FColor)));
        FSysColorsSeen = SysColorsVersion;
    }
    return FHandle.Get();
}

void TPen::SetColor(TColor Value) {
    if (FColor != Value) {
        FColor = Value;
        Changed();
    }
}

void TPen::SetWidth(int Value) {
    if (Value >= 0 && FWidth != Value) {
        FWidth = Value;
        Changed();
    }
}

void TPen::SetStyle(TPenStyle Value) {
    if (FStyle != Value) {
        FStyle = Value;
        Changed();
    }
}

void TPen::SetMode(TPenMode Value) {
    if (FMode != Value) {
        FMode = Value;
        Changed();
    }
}

void TPen::Changed() {
    TGdiObject<HPEN> Old = std::move(FHandle);
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------- TCanvas

TCanvas::TCanvas() {
    FFont.OnChange = [this](TObject*) { DeselectFont(); };
    FBrush.OnChange = [this](TObject*) { DeselectBrush(); };
    FPen.OnChange = [this](TObject*) { DeselectPen(); };
}

TCanvas::~TCanvas() {
    SetHandle(nullptr);
}

void TCanvas::SetHandle(HDC DC) {
    if (DC == FHandle)
        return;
    if (FHandle)
        RestoreDC(FHandle, FSavedState);
    FFontSelected = FBrushSelected = FPenSelected = false;
    FHandle = DC;
    FSavedState = DC ? SaveDC(DC) : 0;
}

void TCanvas::DeselectFont() {
    if (!FFontSelected)
        return;
    SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
    FFontSelected = false;
}

void TCanvas::DeselectBrush() {
    if (!FBrushSelected)
        return;
    SelectObject(FHandle, GetStockObject(NULL_BRUSH));
    FBrushSelected = false;
}

void TCanvas::DeselectPen() {
    if (!FPenSelected)
        return;
    SelectObject(FHandle, GetStockObject(NULL_PEN));
    FPenSelected = false;
}

void TCanvas::RequireShape() {
    if (!FPenSelected) {
        SelectObject(FHandle, FPen.Handle());
        FPenSelected = true;
    }
    if (!FBrushSelected) {
        SelectObject(FHandle,
                     FBrush.Style() == bsClear ? GetStockObject(NULL_BRUSH) : FBrush.Handle());
        FBrushSelected = true;
    }
    static const int Modes[] = {R2_COPYPEN, R2_NOT, R2_XORPEN};
    SetROP2(FHandle, Modes[FPen.Mode()]);
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
    if (FBrush.Style() == bsClear || FBrush.Color() == clNone)
        return;
    const RECT Area = R;
    ::FillRect(FHandle, &Area, FBrush.Handle());
}

void TCanvas::FrameRect(const TRect& R) {
    const RECT Area = R;
    ::FrameRect(FHandle, &Area, FBrush.Handle());
}

void TCanvas::MoveTo(int X, int Y) {
    ::MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
    RequireShape();
    ::LineTo(FHandle, X, Y);
}

TPoint TCanvas::PenPos() const {
    POINT P{};
    ::GetCurrentPositionEx(FHandle, &P);
    return TPoint{P.x, P.y};
}

void TCanvas::Polyline(const TPoint* Points, int Count) {
    RequireShape();
    ::Polyline(FHandle, reinterpret_cast<const POINT*>(Points), Count);
}

void TCanvas::Polygon(const TPoint* Points, int Count) {
    RequireShape();
    ::Polygon(FHandle, reinterpret_cast<const POINT*>(Points), Count);
}

void TCanvas::Rectangle(const TRect& R) {
    RequireShape();
    ::Rectangle(FHandle, R.Left, R.Top, R.Right, R.Bottom);
}

void TCanvas::Ellipse(const TRect& R) {
    RequireShape();
    ::Ellipse(FHandle, R.Left, R.Top, R.Right, R.Bottom);
}

void TCanvas::Draw(int X, int Y, TBitmap& Bitmap) {
    if (Bitmap.Empty())
        return;
    const HDC Source = Bitmap.DrawingDC();
    if (Bitmap.Transparent)
        ::TransparentBlt(FHandle, X, Y, Bitmap.Width(), Bitmap.Height(), Source, 0, 0,
                         Bitmap.Width(), Bitmap.Height(), ColorToRGB(Bitmap.TransparentColor()));
    else
        ::BitBlt(FHandle, X, Y, Bitmap.Width(), Bitmap.Height(), Source, 0, 0, SRCCOPY);
}

void TCanvas::StretchDraw(const TRect& R, TBitmap& Bitmap) {
    if (Bitmap.Empty())
        return;
    const HDC Source = Bitmap.DrawingDC();
    // Whole source pixels, so a stretched picture has no blended edges.
    const int OldMode = ::SetStretchBltMode(FHandle, COLORONCOLOR);
    if (Bitmap.Transparent)
        ::TransparentBlt(FHandle, R.Left, R.Top, R.Width(), R.Height(), Source, 0, 0,
                         Bitmap.Width(), Bitmap.Height(), ColorToRGB(Bitmap.TransparentColor()));
    else
        ::StretchBlt(FHandle, R.Left, R.Top, R.Width(), R.Height(), Source, 0, 0, Bitmap.Width(),
                     Bitmap.Height(), SRCCOPY);
    ::SetStretchBltMode(FHandle, OldMode);
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas& Source, const TRect& SourceRect) {
    const int OldMode = ::SetStretchBltMode(FHandle, COLORONCOLOR);
    ::StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Source.Handle(),
                 SourceRect.Left, SourceRect.Top, SourceRect.Width(), SourceRect.Height(),
                 CopyMode);
    ::SetStretchBltMode(FHandle, OldMode);
}

TColor TCanvas::Pixel(int X, int Y) const {
    const COLORREF C = ::GetPixel(FHandle, X, Y);
    return C == CLR_INVALID ? clNone : static_cast<TColor>(C);
}

void TCanvas::SetPixel(int X, int Y, TColor Color) {
    ::SetPixelV(FHandle, X, Y, ColorToRGB(Color));
}

TRect TCanvas::ClipRect() const {
    RECT R{};
    ::GetClipBox(FHandle, &R);
    return TRect(R);
}

void TCanvas::TextOut(int X, int Y, const String& Text) {
    RequireText();
    const int Count = static_cast<int>(Text.size());
    // Each glyph goes where the measured extent says: wine draws some glyphs (a "w") wider
    // than it measures them, which would push text out of a box sized by TextExtent.
    std::vector<int> Ends(Text.size());
    int Fit = 0;
    SIZE Extent{};
    if (Count == 0 || !::GetTextExtentExPointW(FHandle, Text.c_str(), Count, INT_MAX, &Fit,
                                               Ends.data(), &Extent)) {
        ::TextOutW(FHandle, X, Y, Text.c_str(), Count);
        return;
    }
    std::vector<int> Advances(Text.size());
    for (size_t I = 0; I < Text.size(); ++I)
        Advances[I] = Ends[I] - (I ? Ends[I - 1] : 0);
    ::ExtTextOutW(FHandle, X, Y, 0, nullptr, Text.c_str(), static_cast<UINT>(Count),
                  Advances.data());
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
