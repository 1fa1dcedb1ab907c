#include "treelist/CvVCLUtils.h"

#include "classlib/gui/Forms.h"
#include "treelist/CvTools.h"

#include <algorithm>

// ------------------------------------------------------------------ colours

std::uint8_t ColorRed(TColor Color) {
    return GetRValue(ColorToRGB(Color));
}
std::uint8_t ColorGreen(TColor Color) {
    return GetGValue(ColorToRGB(Color));
}
std::uint8_t ColorBlue(TColor Color) {
    return GetBValue(ColorToRGB(Color));
}

namespace {

template <typename Fn> TColor MapComponents(TColor Color, Fn&& Map) {
    return RGBOf(static_cast<std::uint8_t>(Map(ColorRed(Color))),
                 static_cast<std::uint8_t>(Map(ColorGreen(Color))),
                 static_cast<std::uint8_t>(Map(ColorBlue(Color))));
}

} // namespace

TColor ColorLighten(TColor Color, int Percent) {
    return MapComponents(Color, [&](int C) { return C + MulDiv(255 - C, Percent, 100); });
}

TColor ColorDarken(TColor Color, int Percent) {
    return MapComponents(Color, [&](int C) { return std::max(MulDiv(C, Percent, 100), 0); });
}

std::uint32_t RGBToHLS(TColor Color) {
    const int R = ColorRed(Color), G = ColorGreen(Color), B = ColorBlue(Color);
    const int M = std::max({R, G, B});
    const int N = std::min({R, G, B});
    const int L = ((M + N) * HLSMax + 255) / 510;
    if (M == N)
        return PackHLS(HLSUndefinedHue, L, 0);
    const int D = M - N;
    const int S = L <= HLSMax / 2 ? (D * HLSMax + (M + N) / 2) / (M + N)
                                  : (D * HLSMax + (510 - M - N) / 2) / (510 - M - N);
    const int Rd = ((M - R) * (HLSMax / 6) + D / 2) / D;
    const int Gd = ((M - G) * (HLSMax / 6) + D / 2) / D;
    const int Bd = ((M - B) * (HLSMax / 6) + D / 2) / D;
    int H;
    if (R == M)
        H = Bd - Gd;
    else if (G == M)
        H = HLSMax / 3 + Rd - Bd;
    else
        H = 2 * HLSMax / 3 + Gd - Rd;
    return PackHLS(HueWrap(H), L, S);
}

int HueWrap(int Hue) {
    if (Hue < 0)
        return Hue + HLSMax;
    return Hue > HLSMax ? Hue - HLSMax : Hue;
}

int HueToRGB(int M1, int M2, int Hue) {
    Hue = HueWrap(Hue);
    if (Hue < HLSMax / 6)
        return M1 + (Hue * (M2 - M1) + HLSMax / 12) / (HLSMax / 6);
    if (Hue < HLSMax / 2)
        return M2;
    if (Hue >= 2 * HLSMax / 3)
        return M1;
    return M1 + ((2 * HLSMax / 3 - Hue) * (M2 - M1) + HLSMax / 12) / (HLSMax / 6);
}

TColor HLSToRGB(std::uint32_t Packed) {
    const int H = static_cast<int>(Packed & 0xFF);
    const int L = static_cast<int>((Packed >> 8) & 0xFF);
    const int S = static_cast<int>((Packed >> 16) & 0xFF);
    if (S == 0) {
        const auto Grey = static_cast<std::uint8_t>(std::min(L * 255 / HLSMax, 255));
        return RGBOf(Grey, Grey, Grey);
    }
    const int M2 = L <= HLSMax / 2 ? (L * (HLSMax + S) + HLSMax / 2) / HLSMax
                                   : L + S - (L * S + HLSMax / 2) / HLSMax;
    const int M1 = 2 * L - M2;
    const auto Component = [&](int Hue) {
        const int C = (HueToRGB(M1, M2, Hue) * 255 + HLSMax / 2) / HLSMax;
        return static_cast<std::uint8_t>(std::clamp(C, 0, 255));
    };
    return RGBOf(Component(H + HLSMax / 3), Component(H), Component(H - HLSMax / 3));
}

// ------------------------------------------------------------ fills and frames

void FillSolid(HDC DC, int X, int Y, int W, int H, TColor Color) {
    // A negative extent covers the pixels before X or Y, as GDI orders an inverted rectangle.
    const RECT R{std::min(X, X + W), std::min(Y, Y + H), std::max(X, X + W), std::max(Y, Y + H)};
    const COLORREF Old = SetBkColor(DC, ColorToRGB(Color));
    ExtTextOutW(DC, 0, 0, ETO_OPAQUE, &R, nullptr, 0, nullptr);
    SetBkColor(DC, Old);
}

void FillRectColor(HDC DC, const TRect& Rect, TColor Color) {
    FillSolid(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Color);
}

void DrawFrame3D(HDC DC, int X, int Y, int W, int H, TColor TopLeft, TColor BottomRight) {
    FillSolid(DC, X, Y, W - 1, 1, TopLeft);
    FillSolid(DC, X, Y, 1, H - 1, TopLeft);
    FillSolid(DC, X + W - 1, Y, 1, H, BottomRight);
    FillSolid(DC, X, Y + H - 1, W, 1, BottomRight);
}

namespace {

void DrawFrame3D(HDC DC, const TRect& R, TColor TopLeft, TColor BottomRight) {
    DrawFrame3D(DC, R.Left, R.Top, R.Width(), R.Height(), TopLeft, BottomRight);
}

TRect Inset(const TRect& R, int By) {
    return TRect(R.Left + By, R.Top + By, R.Right - By, R.Bottom - By);
}

TColor SystemColor(int Index) {
    return clSystemColor | Index;
}

} // namespace

void DrawFrame3DSystem(HDC DC, const TRect& Rect, int C1, int C2, int C3, int C4) {
    DrawFrame3D(DC, Rect, SystemColor(C1), SystemColor(C2));
    DrawFrame3D(DC, Inset(Rect, 1), SystemColor(C3), SystemColor(C4));
}

void DrawBevel(HDC DC, const TRect& Rect, TColor OuterTopLeft, TColor OuterBottomRight,
               TColor InnerTopLeft, TColor InnerBottomRight, bool SingleFrame) {
    DrawFrame3D(DC, Rect, OuterTopLeft, OuterBottomRight);
    if (!SingleFrame)
        DrawFrame3D(DC, Inset(Rect, 1), InnerTopLeft, InnerBottomRight);
}

void DrawSideLines(HDC DC, const TRect& Rect, TColor TopLeft, TColor BottomRight,
                   TCvBorderSides Sides, TRect& Inner) {
    const TRect R = Rect;
    Inner = Rect;
    if (Sides.Contains(ebsLeft)) {
        FillSolid(DC, R.Left, R.Top, 1, R.Height(), TopLeft);
        ++Inner.Left;
    }
    if (Sides.Contains(ebsTop)) {
        FillSolid(DC, R.Left, R.Top, R.Width(), 1, TopLeft);
        ++Inner.Top;
    }
    if (Sides.Contains(ebsRight)) {
        FillSolid(DC, R.Right - 1, R.Top, 1, R.Height(), BottomRight);
        --Inner.Right;
    }
    if (Sides.Contains(ebsBottom)) {
        FillSolid(DC, R.Left, R.Bottom - 1, R.Width(), 1, BottomRight);
        --Inner.Bottom;
    }
}

void DrawFlatButtonFrame(HDC DC, const TRect& Rect, bool Raised3D) {
    if (Raised3D)
        DrawFrame3DSystem(DC, Rect, COLOR_BTNFACE, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT,
                          COLOR_BTNSHADOW);
    else
        DrawFrame3DSystem(DC, Rect, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE,
                          COLOR_BTNFACE);
}

void DrawButtonBevel(HDC DC, const TRect& Rect, bool Raised3D, bool Down, TColor BaseColor,
                     bool SingleFrame) {
    TColor Highlight = SystemColor(COLOR_BTNHIGHLIGHT);
    TColor Dark = SystemColor(COLOR_3DDKSHADOW);
    TColor Shadow = SystemColor(COLOR_BTNSHADOW);
    const TColor Face = BaseColor;
    const std::uint32_t HLS = RGBToHLS(BaseColor);
    const int L = static_cast<int>((HLS >> 8) & 0xFF);
    if (BaseColor != clBtnFace && L > 0) {
        // The 239 cap is kept as the control always drew it.
        const auto WithLightness = [&](int Lightness) {
            return HLSToRGB((HLS & 0xFF00FFu) | static_cast<std::uint32_t>(std::min(239, Lightness))
                                                    << 8);
        };
        Highlight = WithLightness(L + L / 3);
        Dark = WithLightness(L - L / 2);
        Shadow = WithLightness(L - L / 3);
    }
    if (Down && Raised3D)
        DrawBevel(DC, Rect, Dark, Highlight, Shadow, Face, SingleFrame);
    else if (Down)
        DrawBevel(DC, Rect, Shadow, Highlight, Face, Face, SingleFrame);
    else if (Raised3D)
        DrawBevel(DC, Rect, Highlight, Dark, Face, Shadow, SingleFrame);
    else
        DrawBevel(DC, Rect, Highlight, Shadow, Face, Face, SingleFrame);
}

// ------------------------------------------------------------ glyphs and fills

namespace {

// The four runs of an arrow glyph from its box origin: 6, 4 and 2 pixels, then the tip.
void DrawArrowRuns(HDC DC, TCvArrowDirection Direction, int X, int Y, TColor Color) {
    for (int K = 0; K < 4; ++K) {
        const int Length = K < 3 ? 6 - 2 * K : 1;
        switch (Direction) {
        case adLeft:
            FillSolid(DC, X + 3 - K, Y + K, 1, Length, Color);
            break;
        case adRight:
            FillSolid(DC, X + K, Y + K, 1, Length, Color);
            break;
        case adUp:
            FillSolid(DC, X + K, Y + 3 - K, Length, 1, Color);
            break;
        case adDown:
            FillSolid(DC, X + K, Y + K, Length, 1, Color);
            break;
        }
    }
}

} // namespace

void DrawArrow(HDC DC, TCvArrowDirection Direction, const TRect& Rect, TColor Color, bool Enabled) {
    const bool Across = Direction == adLeft || Direction == adRight;
    const int BoxWidth = Across ? 4 : 7;
    const int BoxHeight = Across ? 7 : 4;
    if (Rect.Width() < (Across ? 3 : 6) || Rect.Height() < (Across ? 6 : 3))
        return;
    TRect Box;
    CenterRect(BoxWidth, Rect.Width(), BoxHeight, Box, Rect.Height());
    const int X = Rect.Left + Box.Left;
    const int Y = Rect.Top + Box.Top;
    if (Enabled) {
        DrawArrowRuns(DC, Direction, X, Y, Color);
        return;
    }
    DrawArrowRuns(DC, Direction, X + 1, Y + 1, SystemColor(COLOR_BTNHIGHLIGHT));
    DrawArrowRuns(DC, Direction, X, Y, SystemColor(COLOR_BTNSHADOW));
}

void GradientFillRect(HDC DC, const TRect& Rect, TColor StartColor, TColor EndColor, int Steps,
                      bool Vertical) {
    if (ColorToRGB(StartColor) == ColorToRGB(EndColor)) {
        FillRectColor(DC, Rect, StartColor);
        return;
    }
    if (Steps < 1)
        return;
    const int Extent = Vertical ? Rect.Height() : Rect.Width();
    const auto Blend = [&](int From, int To, int Step) {
        return Steps == 1 ? From : From + MulDiv(To - From, Step, Steps - 1);
    };
    for (int I = 0; I < Steps; ++I) {
        const int From = MulDiv(Extent, I, Steps);
        const int To = MulDiv(Extent, I + 1, Steps);
        const TColor Band =
            RGBOf(static_cast<std::uint8_t>(Blend(ColorRed(StartColor), ColorRed(EndColor), I)),
                  static_cast<std::uint8_t>(Blend(ColorGreen(StartColor), ColorGreen(EndColor), I)),
                  static_cast<std::uint8_t>(Blend(ColorBlue(StartColor), ColorBlue(EndColor), I)));
        const TBrushObject Brush(CreateSolidBrush(ColorToRGB(Band)));
        const TSelectObject Select(DC, Brush.Get());
        if (Vertical)
            PatBlt(DC, Rect.Left, Rect.Top + From, Rect.Width(), To - From, PATCOPY);
        else
            PatBlt(DC, Rect.Left + From, Rect.Top, To - From, Rect.Height(), PATCOPY);
    }
}

void DrawTransparentBitmapRect(HDC DC, HBITMAP Bitmap, int DestX, int DestY,
                               const TRect& SourceRect, TColor TransparentColor) {
    const int W = SourceRect.Width();
    const int H = SourceRect.Height();
    if (Bitmap == nullptr || W <= 0 || H <= 0)
        return;
    // The bitmap itself is only read: the work happens on copies.
    const TMemoryDC Source(DC);
    const TSelectObject SelectSource(Source.Handle(), Bitmap);

    // Mask: set where the bitmap has the transparent colour.
    const TMemoryDC Mask(DC);
    const TBitmapObject MaskBitmap(CreateBitmap(W, H, 1, 1, nullptr));
    const TSelectObject SelectMask(Mask.Handle(), MaskBitmap.Get());
    const COLORREF OldBack = SetBkColor(Source.Handle(), ColorToRGB(TransparentColor));
    BitBlt(Mask.Handle(), 0, 0, W, H, Source.Handle(), SourceRect.Left, SourceRect.Top, SRCCOPY);
    SetBkColor(Source.Handle(), OldBack);

    // Colour blits of the mask: set bits white, clear bits black.
    const auto PrepareForMask = [](HDC Target) {
        SetBkColor(Target, RGB(255, 255, 255));
        SetTextColor(Target, RGB(0, 0, 0));
    };
    // What shows through: the destination where the mask is set.
    const TMemoryDC Back(DC);
    const TBitmapObject BackBitmap(CreateCompatibleBitmap(DC, W, H));
    const TSelectObject SelectBack(Back.Handle(), BackBitmap.Get());
    PrepareForMask(Back.Handle());
    BitBlt(Back.Handle(), 0, 0, W, H, DC, DestX, DestY, SRCCOPY);
    BitBlt(Back.Handle(), 0, 0, W, H, Mask.Handle(), 0, 0, SRCAND);

    // The picture with its transparent pixels cleared.
    const TMemoryDC Front(DC);
    const TBitmapObject FrontBitmap(CreateCompatibleBitmap(DC, W, H));
    const TSelectObject SelectFront(Front.Handle(), FrontBitmap.Get());
    PrepareForMask(Front.Handle());
    BitBlt(Front.Handle(), 0, 0, W, H, Source.Handle(), SourceRect.Left, SourceRect.Top, SRCCOPY);
    constexpr DWORD DestAndNotSource = 0x00220326;
    BitBlt(Front.Handle(), 0, 0, W, H, Mask.Handle(), 0, 0, DestAndNotSource);

    BitBlt(Back.Handle(), 0, 0, W, H, Front.Handle(), 0, 0, SRCPAINT);
    BitBlt(DC, DestX, DestY, W, H, Back.Handle(), 0, 0, SRCCOPY);
}

namespace {

void FillWith(HDC DC, int L, int T, int R, int B, int SystemIndex) {
    const RECT Area{L, T, R, B};
    FillRect(DC, &Area, GetSysColorBrush(SystemIndex));
}

void FrameWith(HDC DC, int L, int T, int R, int B, int SystemIndex) {
    const RECT Area{L, T, R, B};
    FrameRect(DC, &Area, GetSysColorBrush(SystemIndex));
}

// Ring 1 on Rect and ring 2 inside it, both in LineColor; returns ring 1.
TRect TwoRings(HDC DC, const TRect& Rect, TColor Ring1, TColor Ring2, TCvBorderSides Sides) {
    TRect Inner1, Inner2;
    DrawSideLines(DC, Rect, Ring1, Ring1, Sides, Inner1);
    DrawSideLines(DC, Inner1, Ring2, Ring2, Sides, Inner2);
    return Rect;
}

void ShadedRings(HDC DC, const TRect& Rect, TColor LineColor, TCvBorderSides Sides) {
    TwoRings(DC, Rect, LineColor, LineColor, Sides);
    TRect Inner;
    DrawSideLines(DC, Rect, SystemColor(COLOR_BTNSHADOW), SystemColor(COLOR_BTNHIGHLIGHT), Sides,
                  Inner);
}

UINT EdgeOf(TCvFlatBorderType Type) {
    switch (Type) {
    case fbtSunken:
        return EDGE_SUNKEN;
    case fbtSunkenInner:
        return BDR_SUNKENINNER;
    case fbtSunkenOuter:
        return BDR_SUNKENOUTER;
    case fbtRaised:
        return EDGE_RAISED;
    case fbtRaisedInner:
        return BDR_RAISEDINNER;
    case fbtRaisedOuter:
        return BDR_RAISEDOUTER;
    case fbtBump:
    case fbtBigBump:
    case fbtFramed:
        return EDGE_BUMP;
    case fbtEtched:
        return EDGE_ETCHED;
    default:
        return 0;
    }
}

} // namespace

void DrawTypedBorder(HDC DC, const TRect& Rect, TColor BorderColor, TColor LineColor,
                     TCvBorderSides Sides, TCvFlatBorderType BorderType) {
    const bool Left = Sides.Contains(ebsLeft), Top = Sides.Contains(ebsTop);
    const bool Right = Sides.Contains(ebsRight), Bottom = Sides.Contains(ebsBottom);
    TRect Inner;
    switch (BorderType) {
    case fbtFlat:
        ShadedRings(DC, Rect, LineColor, Sides);
        return;
    case fbtLine:
        TwoRings(DC, Rect, LineColor, LineColor, Sides);
        if (Bottom)
            DrawSideLines(DC, Rect, SystemColor(COLOR_WINDOWFRAME), SystemColor(COLOR_WINDOWFRAME),
                          {ebsBottom}, Inner);
        return;
    case fbtLineBorder:
        TwoRings(DC, Rect, LineColor, LineColor, Sides);
        DrawSideLines(DC, Rect, SystemColor(COLOR_WINDOWFRAME), SystemColor(COLOR_WINDOWFRAME),
                      Sides, Inner);
        return;
    case fbtNone:
        TwoRings(DC, Rect, LineColor, LineColor, Sides);
        return;
    case fbtColorLineBorder:
        TwoRings(DC, Rect, BorderColor, LineColor, Sides);
        return;
    default:
        break;
    }

    RECT Edge = Rect;
    UINT Flags = BF_ADJUST;
    Flags |= Left ? BF_LEFT : 0;
    Flags |= Top ? BF_TOP : 0;
    Flags |= Right ? BF_RIGHT : 0;
    Flags |= Bottom ? BF_BOTTOM : 0;
    DrawEdge(DC, &Edge, EdgeOf(BorderType), Flags);
    const int L = Edge.left, T = Edge.top, R = Edge.right, B = Edge.bottom;
    constexpr int Face = COLOR_BTNFACE, Window = COLOR_WINDOW, Shadow = COLOR_BTNSHADOW;
    switch (BorderType) {
    case fbtSunkenInner:
    case fbtSunkenOuter: {
        const bool Inner1 = BorderType == fbtSunkenInner;
        if (Left)
            FrameWith(DC, L, T, L + 1, Inner1 ? B : B - 1, Face);
        if (Top)
            FrameWith(DC, L, T, Inner1 ? R : R - 1, T + 1, Face);
        if (Right)
            FillWith(DC, R - 1, T, R, B, Face);
        if (Bottom)
            FillWith(DC, L, B - 1, R, B, Face);
        if (Right)
            FillWith(DC, R, T - 1, R + 1, B + 1, Inner1 ? Face : Window);
        if (Bottom)
            FillWith(DC, L - 1, B, R + 1, B + 1, Inner1 ? Face : Window);
        break;
    }
    case fbtRaised:
        ShadedRings(DC, TRect(Edge), LineColor, Sides);
        break;
    case fbtRaisedInner:
    case fbtRaisedOuter: {
        const bool Outer = BorderType == fbtRaisedOuter;
        if (Left)
            Outer ? FillWith(DC, L, T, L + 1, B, Face) : FrameWith(DC, L, T, L + 1, B, Face);
        if (Top)
            Outer ? FillWith(DC, L, T, R, T + 1, Face) : FrameWith(DC, L, T, R, T + 1, Face);
        if (Right)
            FillWith(DC, R - 1, T, R, B, Face);
        if (Bottom)
            FillWith(DC, L, B - 1, R, B, Face);
        if (Outer && Right)
            FillWith(DC, R, T - 1, R + 1, B + 1, Shadow);
        if (Outer && Bottom)
            FillWith(DC, L - 1, B, R + 1, B + 1, Shadow);
        break;
    }
    case fbtBump:
    case fbtBigBump:
        // The right side's extra column was always given reversed, so it never painted.
        if (Left)
            FillWith(DC, L - 1, T - 1, L, B, Shadow);
        if (Top)
            FillWith(DC, L, T - 1, R, T, Shadow);
        if (Bottom)
            FillWith(DC, L - 2, B + 1, R + 2, B + 2, Shadow);
        if (BorderType == fbtBigBump) {
            if (Left)
                FillWith(DC, L - 2, T - 2, L - 1, B + 1, Window);
            if (Top)
                FillWith(DC, L - 2, T - 2, R + 1, T - 1, Window);
            if (Bottom)
                FillWith(DC, L - 2, B, R + 1, B + 1, Window);
        }
        break;
    case fbtEtched:
        if (Left && Top)
            FillWith(DC, L - 1, T - 1, R, T, Face);
        else if (Top)
            FillWith(DC, L, T - 1, R, T, Face);
        break;
    case fbtFramed:
        if (Left)
            FrameWith(DC, L - 1, T, L, B, Face);
        if (Top)
            FrameWith(DC, L - 2, T - 1, R + 1, T, Face);
        if (Right)
            FrameWith(DC, R + 1, T - 2, R + 2, B + 2, Shadow);
        if (Bottom)
            FrameWith(DC, L - 2, B + 1, R + 2, B + 2, Shadow);
        break;
    default:
        break;
    }
}

void DrawFlatScrollBars(HWND Wnd, HDC DC, const TRect& Rect, LONG ExStyle, LONG Style,
                        int ScrollStyle, bool Raised3D, bool HorzTracking, bool VertTracking) {
    int B = 0;
    if (Style & WS_BORDER)
        B = GetSystemMetrics(SM_CXBORDER);
    else if (ExStyle & WS_EX_CLIENTEDGE)
        B = GetSystemMetrics(SM_CXEDGE);
    const int Vw = GetSystemMetrics(SM_CXHSCROLL);
    const int Hh = GetSystemMetrics(SM_CYVSCROLL);
    RECT Window{}, Client{};
    GetWindowRect(Wnd, &Window);
    GetClientRect(Wnd, &Client);
    const int NonClientWidth = (Window.right - Window.left) - (Client.right - Client.left);
    const int NonClientHeight = (Window.bottom - Window.top) - (Client.bottom - Client.top);
    const bool Vert = (Style & WS_VSCROLL) && NonClientWidth >= Vw + B;
    const bool Horz = (Style & WS_HSCROLL) && NonClientHeight >= Hh + B;
    const TRect Inner = Inset(Rect, B);
    if (Vert && Horz)
        FillRectColor(DC, TRect(Inner.Right - Vw, Inner.Bottom - Hh, Inner.Right, Inner.Bottom),
                      clBtnFace);
    if (ScrollStyle == 0)
        return;
    if (Horz && (ScrollStyle == 1 || ScrollStyle == 3))
        DrawFlatScrollBar(
            Wnd, DC,
            TRect(Inner.Left, Inner.Bottom - Hh, Inner.Right - (Vert ? Vw : 0), Inner.Bottom),
            Raised3D, HorzTracking, false, false);
    if (Vert && (ScrollStyle == 2 || ScrollStyle == 3))
        DrawFlatScrollBar(
            Wnd, DC,
            TRect(Inner.Right - Vw, Inner.Top, Inner.Right, Inner.Bottom - (Horz ? Hh : 0)),
            Raised3D, VertTracking, false, true);
}

void DrawFlatScrollBar(HWND Wnd, HDC DC, const TRect& BarRect, bool Raised3D, bool Tracking,
                       bool IsControl, bool Vertical) {
    const int A = GetSystemMetrics(SM_CXHSCROLL);
    const int Length = Vertical ? BarRect.Height() : BarRect.Width();
    int Button = A;
    if (Length < 2 * A)
        Button = Vertical ? Length / 2 : (Length + 1) / 2;
    // A piece of the bar from Offset along it, Size long.
    const auto Piece = [&](int Offset, int Size) {
        return Vertical ? TRect(BarRect.Left, BarRect.Top + Offset, BarRect.Right,
                                BarRect.Top + Offset + Size)
                        : TRect(BarRect.Left + Offset, BarRect.Top, BarRect.Left + Offset + Size,
                                BarRect.Bottom);
    };
    if (!Tracking) {
        DrawFlatButtonFrame(DC, Piece(0, Button), Raised3D);
        DrawFlatButtonFrame(DC, Piece(Length - Button, Button), Raised3D);
    }
    if (IsControl && !IsWindowEnabled(Wnd))
        return;
    SCROLLINFO Info{};
    Info.cbSize = sizeof Info;
    Info.fMask = SIF_ALL;
    if (!GetScrollInfo(Wnd, IsControl ? SB_CTL : (Vertical ? SB_VERT : SB_HORZ), &Info))
        return;
    const int Range = Info.nMax - Info.nMin + 1;
    const int Page = static_cast<int>(Info.nPage);
    if (Page == 0 || Range == 0)
        return;
    const int Track = Length - 2 * A;
    int Thumb =
        std::max(static_cast<int>(std::int64_t{Page} * Track / Range), IsWin98() ? A / 2 : 8);
    if (Thumb >= Track) {
        Thumb = Track;
        if (!IsControl)
            return;
    }
    int Offset = 0;
    if (Page == Range) {
        --Thumb;
    } else {
        const int Position = Tracking ? Info.nTrackPos : Info.nPos;
        Offset =
            static_cast<int>(std::int64_t{Position - Info.nMin} * (Track - Thumb) / (Range - Page));
    }
    DrawFlatButtonFrame(DC, Piece(A + Offset, Thumb), Raised3D);
}

// ------------------------------------------------------------------ helpers

String ShortHintOf(const String& Hint) {
    return Hint.substr(0, Hint.find(L'|'));
}

TForm* FindParentForm(TComponent* Component) {
    for (TComponent* C = Component; C != nullptr; C = C->Owner())
        if (auto* Form = dynamic_cast<TForm*>(C))
            return Form;
    return nullptr;
}

int KeyboardTimingMs(UINT Action, int Setting) {
    if (Action == SPI_GETKEYBOARDSPEED)
        return 1000 / (Setting + 1);
    if (Action == SPI_GETKEYBOARDDELAY)
        return Setting * 250 + 250;
    return Setting;
}

int KeyboardTimingMs(UINT Action) {
    int Setting = 0;
    SystemParametersInfoW(Action, 0, &Setting, 0);
    return KeyboardTimingMs(Action, Setting);
}
