// Geometry, colours, fonts, brushes and the canvas that draws with them.
#pragma once

#include "classlib/gui/GdiHandles.h"
#include "classlib/rtl/Classes.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>

// ------------------------------------------------------------- geometry

struct TPoint {
    int X = 0;
    int Y = 0;
};

// A rectangle with RECT's layout; Right and Bottom lie just outside it.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr TRect() = default;
    constexpr TRect(int ALeft, int ATop, int ARight, int ABottom)
        : Left(ALeft), Top(ATop), Right(ARight), Bottom(ABottom) {}
    constexpr TRect(const RECT& R) : Left(R.left), Top(R.top), Right(R.right), Bottom(R.bottom) {}
    constexpr operator RECT() const { return RECT{Left, Top, Right, Bottom}; }

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Intersects(const TRect& R) const {
        return Left < R.Right && R.Left < Right && Top < R.Bottom && R.Top < Bottom;
    }
    constexpr bool operator==(const TRect&) const = default;
};
static_assert(sizeof(TRect) == sizeof(RECT) && offsetof(TRect, Bottom) == offsetof(RECT, bottom));
static_assert(sizeof(TPoint) == sizeof(POINT) && offsetof(TPoint, Y) == offsetof(POINT, y));

constexpr TRect Bounds(int Left, int Top, int Width, int Height) {
    return TRect(Left, Top, Left + Width, Top + Height);
}

struct TSize {
    int cx = 0;
    int cy = 0;
};

// ---------------------------------------------------------------- colours

// $00BBGGRR for an RGB colour, clSystemColor + n for the Windows system colour n.
using TColor = std::int32_t;

constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;

COLORREF ColorToRGB(TColor Color);

// Vertical resolution of the screen, for turning points into pixels.
int ScreenPixelsPerInch();

// ------------------------------------------------------------------ fonts

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

class TFontStyles {
public:
    TFontStyles() = default;
    TFontStyles(std::initializer_list<TFontStyle> Styles) {
        for (const TFontStyle S : Styles)
            FBits |= Bit(S);
    }
    bool Contains(TFontStyle Style) const { return (FBits & Bit(Style)) != 0; }
    bool operator==(const TFontStyles&) const = default;

private:
    static unsigned Bit(TFontStyle S) { return 1u << static_cast<unsigned>(S); }
    unsigned FBits = 0;
};

// A logical font. Its HFONT is made on first use and remade after a change of face, size or
// style; a change of colour keeps it. OnChange runs after every change, while the previous HFONT
// still exists, so a listener can deselect it before it is deleted.
class TFont : public TPersistent {
public:
    TFont();
    void Assign(const TPersistent& Source) override;

    HFONT Handle() const;

    const String& Name() const { return FName; }
    void SetName(const String& Value);
    // Pixels; a negative value is the character height, as in LOGFONT.
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    // Points at the screen's resolution.
    int Size() const;
    void SetSize(int Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);

    TNotifyEvent OnChange;

private:
    void Changed(bool ShapeChanged);

    String FName;
    int FHeight;
    TFontStyles FStyle;
    TColor FColor = clWindowText;
    mutable TFontObject FHandle;
};

// ---------------------------------------------------------------- brushes

enum TBrushStyle { bsSolid, bsClear };

// Fill colour and style; the solid HBRUSH is made on first use and remade after a colour change.
class TBrush : public TPersistent {
public:
    void Assign(const TPersistent& Source) override;

    HBRUSH Handle() const;
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    mutable TBrushObject FHandle;
};

// ----------------------------------------------------------------- canvas

// Draws on a DC it borrows. The DC's state is saved when it is attached and restored when it is
// let go, so nothing the canvas selected stays selected after it.
class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle() const { return FHandle; }
    // Attaches DC (nullptr lets the current one go).
    void SetHandle(HDC DC);

    TFont& Font() { return FFont; }
    TBrush& Brush() { return FBrush; }

    // Fills with the brush; a clear brush fills nothing.
    void FillRect(const TRect& R);
    // Text in the font's colour, on the brush's colour unless the brush is clear.
    void TextOut(int X, int Y, const String& Text);
    // DrawTextW: draws Text into R with the DT_* Flags, or with DT_CALCRECT sets R to the
    // extent it needs. Returns the height of the text.
    int TextRect(TRect& R, const String& Text, UINT Flags);
    TSize TextExtent(const String& Text);
    int TextWidth(const String& Text) { return TextExtent(Text).cx; }
    int TextHeight(const String& Text) { return TextExtent(Text).cy; }

private:
    void RequireText();
    void DeselectFont();

    HDC FHandle = nullptr;
    int FSavedState = 0;
    bool FFontSelected = false;
    TFont FFont;
    TBrush FBrush;
};

// Attaches a DC to a canvas for the life of the scope.
class TCanvasDC {
public:
    TCanvasDC(TCanvas& Canvas, HDC DC) : FCanvas(Canvas) { FCanvas.SetHandle(DC); }
    ~TCanvasDC() { FCanvas.SetHandle(nullptr); }
    TCanvasDC(const TCanvasDC&) = delete;
    TCanvasDC& operator=(const TCanvasDC&) = delete;

private:
    TCanvas& FCanvas;
};

// ------------------------------------------------------------ back buffer

// A window's off-screen surface, compatible with the screen and rebuilt only when the size it
// is asked for changes.
class TBackBuffer {
public:
    TBackBuffer() = default;
    ~TBackBuffer();
    TBackBuffer(const TBackBuffer&) = delete;
    TBackBuffer& operator=(const TBackBuffer&) = delete;

    // The buffer's DC, holding a bitmap of Width x Height.
    HDC Prepare(int Width, int Height);

private:
    void Release() noexcept;

    TMemoryDC FDC;
    TBitmapObject FBitmap;
    HGDIOBJ FOriginalBitmap = nullptr;
    int FWidth = 0;
    int FHeight = 0;
};
