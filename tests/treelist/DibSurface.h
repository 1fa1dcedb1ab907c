// A 32-bit top-down DIB on a memory DC, for drawing tests that read back pixels.
#pragma once

#include "classlib/gui/Graphics.h"

#include <cstdint>

class TDibSurface {
public:
    TDibSurface(int Width, int Height, TColor Background = clWhite)
        : FWidth(Width), FHeight(Height), FDC(nullptr) {
        BITMAPINFO Info{};
        Info.bmiHeader.biSize = sizeof Info.bmiHeader;
        Info.bmiHeader.biWidth = Width;
        Info.bmiHeader.biHeight = -Height;
        Info.bmiHeader.biPlanes = 1;
        Info.bmiHeader.biBitCount = 32;
        FBitmap = TBitmapObject(
            CreateDIBSection(FDC.Handle(), &Info, DIB_RGB_COLORS, &FBits, nullptr, 0));
        FOld = SelectObject(FDC.Handle(), FBitmap.Get());
        Fill(Background);
    }
    ~TDibSurface() { ReleaseBitmap(); }
    TDibSurface(const TDibSurface&) = delete;
    TDibSurface& operator=(const TDibSurface&) = delete;

    HDC DC() const { return FDC.Handle(); }
    // Lets the bitmap go from the surface's DC, so that it can be selected elsewhere; the pixels
    // stay readable.
    void ReleaseBitmap() {
        if (FOld != nullptr)
            SelectObject(FDC.Handle(), FOld);
        FOld = nullptr;
    }
    HBITMAP Bitmap() const { return FBitmap.Get(); }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    void Fill(TColor Color) {
        const RECT All{0, 0, FWidth, FHeight};
        const TBrushObject Brush(CreateSolidBrush(ColorToRGB(Color)));
        FillRect(FDC.Handle(), &All, Brush.Get());
    }
    // As a TColor ($00BBGGRR); clNone outside the surface.
    TColor Pixel(int X, int Y) const {
        if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight)
            return 0x1FFFFFFF;
        GdiFlush();
        const std::uint32_t P = static_cast<const std::uint32_t*>(FBits)[Y * FWidth + X];
        return static_cast<TColor>(((P & 0xFF) << 16) | (P & 0xFF00) | ((P >> 16) & 0xFF));
    }
    int Count(TColor Color) const {
        int N = 0;
        for (int Y = 0; Y < FHeight; ++Y)
            for (int X = 0; X < FWidth; ++X)
                N += Pixel(X, Y) == Color;
        return N;
    }
    // Columns or rows holding any pixel other than Background: [first, last], or -1, -1.
    void InkColumns(TColor Background, int& First, int& Last) const {
        First = Last = -1;
        for (int X = 0; X < FWidth; ++X)
            for (int Y = 0; Y < FHeight; ++Y)
                if (Pixel(X, Y) != Background) {
                    if (First < 0)
                        First = X;
                    Last = X;
                    break;
                }
    }

private:
    int FWidth, FHeight;
    TMemoryDC FDC;
    TBitmapObject FBitmap;
    void* FBits = nullptr;
    HGDIOBJ FOld = nullptr;
};
