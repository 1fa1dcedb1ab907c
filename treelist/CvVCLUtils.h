// Painting routines shared by the tree-list, its header, scroll bars, hint window and HTML
// renderer, and the wide text layout they all measure and draw with. Free functions drawing on a
// DC the caller gives; they keep no state. A colour of the form clSystemColor + n is resolved to
// its RGB value before any arithmetic.
#pragma once

#include "classlib/gui/Graphics.h"
#include "classlib/rtl/Classes.h"

#include <cstdint>
#include <initializer_list>

class TForm;

enum TCvFlatBorderType {
    fbtFlat,
    fbtSunken,
    fbtSunkenInner,
    fbtSunkenOuter,
    fbtRaised,
    fbtRaisedInner,
    fbtRaisedOuter,
    fbtBump,
    fbtBigBump,
    fbtEtched,
    fbtFramed,
    fbtLine,
    fbtLineBorder,
    fbtNone,
    fbtColorLineBorder
};

enum TCvBorderSide { ebsLeft, ebsRight, ebsTop, ebsBottom };

// Bits 1 left, 2 right, 4 top, 8 bottom.
class TCvBorderSides {
public:
    constexpr TCvBorderSides() = default;
    constexpr TCvBorderSides(std::initializer_list<TCvBorderSide> Sides) {
        for (const TCvBorderSide Side : Sides)
            FBits |= Bit(Side);
    }
    static constexpr TCvBorderSides All() { return {ebsLeft, ebsRight, ebsTop, ebsBottom}; }
    constexpr bool Contains(TCvBorderSide Side) const { return (FBits & Bit(Side)) != 0; }
    constexpr unsigned Bits() const { return FBits; }

private:
    static constexpr unsigned Bit(TCvBorderSide Side) { return 1u << static_cast<unsigned>(Side); }
    unsigned FBits = 0;
};

enum TCvBkGndType {
    bgtTileBitmap,
    bgtStretchBitmap,
    bgtColorFill,
    bgtCenterBitmap,
    bgtHorzGradient,
    bgtVertGradient,
    bgtTopLeftBitmap
};

// ------------------------------------------------------------------ colours

std::uint8_t ColorRed(TColor Color);
std::uint8_t ColorGreen(TColor Color);
std::uint8_t ColorBlue(TColor Color);
constexpr TColor RGBOf(std::uint8_t R, std::uint8_t G, std::uint8_t B) {
    return static_cast<TColor>(R | (G << 8) | (B << 16));
}
// Each component moves Percent of the way to white; rounded as MulDiv rounds.
TColor ColorLighten(TColor Color, int Percent);
// Each component becomes Percent of itself.
TColor ColorDarken(TColor Color, int Percent);

// Hue, lightness and saturation on a 0..252 scale; hue 168 means undefined. Packed with the
// hue in the low byte, then lightness, then saturation.
constexpr int HLSMax = 252;
constexpr int HLSUndefinedHue = 168;
std::uint32_t RGBToHLS(TColor Color);
TColor HLSToRGB(std::uint32_t Packed);
constexpr std::uint32_t PackHLS(int H, int L, int S) {
    return static_cast<std::uint32_t>(H | (L << 8) | (S << 16));
}
int HueWrap(int Hue);
int HueToRGB(int M1, int M2, int Hue);

// ------------------------------------------------------------ fills and frames

// Opaque fill of X..X+W, Y..Y+H; the DC's background colour is left as it was.
void FillSolid(HDC DC, int X, int Y, int W, int H, TColor Color);
void FillRectColor(HDC DC, const TRect& Rect, TColor Color);
void DrawFrame3D(HDC DC, int X, int Y, int W, int H, TColor TopLeft, TColor BottomRight);
// C1..C4 are system colour indexes: the outer ring, then the ring inside it.
void DrawFrame3DSystem(HDC DC, const TRect& Rect, int C1, int C2, int C3, int C4);
void DrawBevel(HDC DC, const TRect& Rect, TColor OuterTopLeft, TColor OuterBottomRight,
               TColor InnerTopLeft, TColor InnerBottomRight, bool SingleFrame);
// One-pixel lines on the chosen sides; Inner is Rect moved in on each side drawn.
void DrawSideLines(HDC DC, const TRect& Rect, TColor TopLeft, TColor BottomRight,
                   TCvBorderSides Sides, TRect& Inner);
void DrawFlatButtonFrame(HDC DC, const TRect& Rect, bool Raised3D);
// A bevel whose colours derive from BaseColor's lightness.
void DrawButtonBevel(HDC DC, const TRect& Rect, bool Raised3D, bool Down, TColor BaseColor,
                     bool SingleFrame);

// ------------------------------------------------------------ glyphs and fills

enum TCvArrowDirection { adLeft, adUp, adRight, adDown };
// A small filled triangle centred in Rect; embossed when disabled; nothing when Rect is too small.
void DrawArrow(HDC DC, TCvArrowDirection Direction, const TRect& Rect, TColor Color, bool Enabled);
// Steps bands from StartColor to EndColor, top to bottom when Vertical, else left to right.
void GradientFillRect(HDC DC, const TRect& Rect, TColor StartColor, TColor EndColor, int Steps,
                      bool Vertical);
// Copies SourceRect of Bitmap to (DestX, DestY), leaving the destination visible where the
// bitmap has TransparentColor. The bitmap is not changed.
void DrawTransparentBitmapRect(HDC DC, HBITMAP Bitmap, int DestX, int DestY,
                               const TRect& SourceRect, TColor TransparentColor);
void DrawTypedBorder(HDC DC, const TRect& Rect, TColor BorderColor, TColor LineColor,
                     TCvBorderSides Sides, TCvFlatBorderType BorderType);
// Re-frames the standard scroll bars of Wnd flatly. ScrollStyle: 0 only the size box,
// 1 horizontal, 2 vertical, 3 both.
void DrawFlatScrollBars(HWND Wnd, HDC DC, const TRect& Rect, LONG ExStyle, LONG Style,
                        int ScrollStyle, bool Raised3D, bool HorzTracking, bool VertTracking);
void DrawFlatScrollBar(HWND Wnd, HDC DC, const TRect& BarRect, bool Raised3D, bool Tracking,
                       bool IsControl, bool Vertical);

// ------------------------------------------------------------------ helpers

// The part of a hint before the first "|".
String ShortHintOf(const String& Hint);
// The component itself when it is a form, else the nearest form among its owners.
TForm* FindParentForm(TComponent* Component);
// SPI_GETKEYBOARDSPEED in milliseconds per repeat, SPI_GETKEYBOARDDELAY in milliseconds before
// the first; any other action gives the raw setting.
int KeyboardTimingMs(UINT Action);
int KeyboardTimingMs(UINT Action, int Setting);

// ------------------------------------------------------------ wide text

// DrawText's layout and flags over the wide extent, metrics and output calls. Count -1 means up
// to the terminator. Returns the height laid out, 0 on failure.
int DrawTextWide(HDC DC, const wchar_t* Text, int Count, TRect& Rect, UINT Format);
int DrawTextWideEx(HDC DC, wchar_t* Text, int Count, TRect& Rect, UINT Format,
                   DRAWTEXTPARAMS* Params);
