// Geometry, colours, fonts, brushes and the canvas that draws with them.
#pragma once

#include "classlib/gui/GdiHandles.h"
#include "classlib/rtl/Classes.h"

#include <cstddef>
#include <cstdint>
#include <functional>
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
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
// No colour at all: a transparent fill, or "not set".
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clHotLight = clSystemColor | COLOR_HOTLIGHT;
constexpr TColor clGradientActiveCaption = clSystemColor | COLOR_GRADIENTACTIVECAPTION;
constexpr TColor clGradientInactiveCaption = clSystemColor | COLOR_GRADIENTINACTIVECAPTION;
constexpr TColor clMenuHighlight = clSystemColor | COLOR_MENUHILIGHT;
constexpr TColor clMenuBar = clSystemColor | COLOR_MENUBAR;

// RGB of a colour; system colours are looked up, clNone and clDefault give black.
COLORREF ColorToRGB(TColor Color);
// The system colours, read through one seam so that tests can answer instead of the system
// (empty: GetSysColor).
extern std::function<COLORREF(int Index)> SysColorSource;
// The system colours changed: brushes and pens of a system colour take the new one at their
// next use.
// Windows call it when they hear of the change.
void SysColorsChanged();
// The colour named Ident ("clRed", "clBtnFace", case ignored); false when there is none.
bool IdentToColor(const String& Ident, TColor& Color);

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
    void Include(TFontStyle Style) { FBits |= Bit(Style); }
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
    // Runs after every change while the previous HBRUSH still exists (see TFont).
    TNotifyEvent OnChange;

    HBRUSH Handle() const;
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    mutable TBrushObject FHandle;
    mutable unsigned FSysColorsSeen = 0; // the system colours the handle was made with
};

// -------------------------------------------------------------------- pens

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psClear };
// pmNot inverts what lies under the pen, so a line drawn twice leaves no trace.
enum TPenMode { pmCopy, pmNot, pmXor };

class TPen : public TPersistent {
public:
    void Assign(const TPersistent& Source) override;

    HPEN Handle() const;
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value);

    // Runs after every change while the previous HPEN still exists (see TFont).
    TNotifyEvent OnChange;

private:
    void Changed();

    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
    mutable TGdiObject<HPEN> FHandle;
    mutable unsigned FSysColorsSeen = 0; // the system colours the handle was made with
};

class TBitmap;

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
    TPen& Pen() { return FPen; }
    // The raster operation of CopyRect, SRCCOPY by default.
    DWORD CopyMode = SRCCOPY;

    // Fills with the brush; a clear brush fills nothing.
    void FillRect(const TRect& R);
    // A one-pixel frame in the brush's colour.
    void FrameRect(const TRect& R);
    void MoveTo(int X, int Y);
    // A line in the pen from the pen position to, not including, (X, Y).
    void LineTo(int X, int Y);
    TPoint PenPos() const;
    void Polyline(const TPoint* Points, int Count);
    void Polyline(std::initializer_list<TPoint> Points) {
        Polyline(Points.begin(), static_cast<int>(Points.size()));
    }
    // Shapes outlined in the pen and filled with the brush.
    void Polygon(const TPoint* Points, int Count);
    void Polygon(std::initializer_list<TPoint> Points) {
        Polygon(Points.begin(), static_cast<int>(Points.size()));
    }
    void Rectangle(const TRect& R);
    void Ellipse(const TRect& R);
    // The bitmap at (X, Y); a transparent one leaves out its transparent colour.
    void Draw(int X, int Y, TBitmap& Bitmap);
    void StretchDraw(const TRect& R, TBitmap& Bitmap);
    void CopyRect(const TRect& Dest, TCanvas& Source, const TRect& SourceRect);
    TColor Pixel(int X, int Y) const;
    void SetPixel(int X, int Y, TColor Color);
    TRect ClipRect() const;
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
    void RequireShape();
    void DeselectFont();
    void DeselectBrush();
    void DeselectPen();

    HDC FHandle = nullptr;
    int FSavedState = 0;
    bool FFontSelected = false;
    bool FBrushSelected = false;
    bool FPenSelected = false;
    TFont FFont;
    TBrush FBrush;
    TPen FPen;
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

// ----------------------------------------------------------------- bitmaps

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// pfDevice and pf32bit hold 32 bits a pixel, pf24bit 24 (ScanLine gives B, G, R bytes),
// pf1bit is the monochrome form.
enum TPixelFormat { pfDevice, pf1bit, pf24bit, pf32bit };

// A picture in memory with a canvas that draws on it. Colour forms are top-down DIB sections so
// that ScanLine(Y) is row Y; the monochrome form is a 1-bit bitmap, so that GDI's colour-to-mono
// rule applies when it is made: pixels of the brush colour become white, all others black.
class TBitmap : public TPersistent {
public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    // Copies another bitmap's pixels, form and transparency.
    void Assign(const TPersistent& Source) override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int Value) { SetSize(Value, FHeight); }
    void SetHeight(int Value) { SetSize(FWidth, Value); }
    // Keeps the pixels that still fit; new ones are white.
    void SetSize(int Width, int Height);
    bool Empty() const { return FWidth == 0 || FHeight == 0; }

    TPixelFormat PixelFormat() const { return FFormat; }
    void SetPixelFormat(TPixelFormat Value);
    bool Monochrome() const { return FFormat == pf1bit; }
    void SetMonochrome(bool Value);
    // Row Y of a colour bitmap; drawing through the canvas is flushed first.
    std::uint8_t* ScanLine(int Row);

    TCanvas& Canvas();
    HBITMAP Handle() const { return FHandle.Get(); }

    // Raises EFOpenError when the file cannot be read, EInvalidGraphic when it is no bitmap;
    // the picture is unchanged then.
    void LoadFromFile(const String& FileName);
    void LoadFromResourceName(HINSTANCE Instance, const String& ResourceName);

    // Draw leaves out TransparentColor; by default the colour of the bottom-left pixel.
    bool Transparent = false;
    TColor TransparentColor() const;
    void SetTransparentColor(TColor Value) { FTransparentColor = Value; }

    TNotifyEvent OnChange;

private:
    friend class TCanvas;
    // A DC with the bitmap selected; the bitmap lives in this one DC until it is replaced.
    HDC DrawingDC() const;
    void Replace(TBitmapObject NewHandle, int Width, int Height, TPixelFormat Format);
    void TakeLoaded(HBITMAP Loaded);
    void DetachCanvas();
    void Changed();

    TBitmapObject FHandle;
    void* FBits = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FFormat = pfDevice;
    TColor FTransparentColor = clDefault;
    mutable TMemoryDC FDC;
    mutable HGDIOBJ FOriginalBitmap = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
};

// An owned icon, freed with DestroyIcon.
class TIcon : public TPersistent {
public:
    TIcon() = default;
    ~TIcon() override;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    void Assign(const TPersistent& Source) override;
    HICON Handle() const { return FHandle; }
    // Takes ownership of Icon.
    void SetHandle(HICON Icon);
    // Gives the icon up to the caller, who frees it.
    HICON ReleaseHandle();
    bool Empty() const { return FHandle == nullptr; }
    int Width() const;
    int Height() const;
    void LoadFromResourceName(HINSTANCE Instance, const String& ResourceName);

private:
    HICON FHandle = nullptr;
};

// What a TImage shows: a bitmap, made on first use.
class TPicture : public TPersistent {
public:
    void Assign(const TPersistent& Source) override;
    TBitmap& Bitmap();
    bool Empty() const { return !FBitmap || FBitmap->Empty(); }
    void LoadFromFile(const String& FileName) { Bitmap().LoadFromFile(FileName); }

    TNotifyEvent OnChange;

private:
    std::unique_ptr<TBitmap> FBitmap;
};
