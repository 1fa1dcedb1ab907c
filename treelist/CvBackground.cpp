#include "treelist/CvBackground.h"

#include <algorithm>

namespace {

TRect Intersection(const TRect& A, const TRect& B) {
    return TRect(std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
                 std::min(A.Bottom, B.Bottom));
}

bool IsEmpty(const TRect& R) {
    return R.Right <= R.Left || R.Bottom <= R.Top;
}

TRect Moved(const TRect& R, int DX, int DY) {
    return TRect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

enum class TDither { Checker, OddPixels };

// Draws the pieces of one call: each one straight, or through a work bitmap that gets the
// blend colour on its dither first.
class TPiecePainter {
public:
    TPiecePainter(HDC DC, bool Blend, TColor BlendColor, bool Invert, TPoint Origin, TDither Dither)
        : FDC(DC), FBlend(Blend), FBlendColor(ColorToRGB(BlendColor)),
          FRop(Invert ? SRCINVERT : SRCCOPY), FOrigin(Origin), FDither(Dither) {}

    // Copies Piece (in layout coordinates) from Source at (SourceX, SourceY).
    void Draw(const TRect& Piece, HDC Source, int SourceX, int SourceY) const {
        const TRect At = Moved(Piece, -FOrigin.X, -FOrigin.Y);
        const int W = Piece.Width(), H = Piece.Height();
        if (!FBlend) {
            BitBlt(FDC, At.Left, At.Top, W, H, Source, SourceX, SourceY, FRop);
            return;
        }
        const TMemoryDC Work(FDC);
        const TBitmapObject WorkBitmap(CreateCompatibleBitmap(FDC, W, H));
        const TSelectObject Selected(Work.Handle(), WorkBitmap.Get());
        BitBlt(Work.Handle(), 0, 0, W, H, Source, SourceX, SourceY, SRCCOPY);
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X)
                if (FDither == TDither::Checker ? (X + Y) % 2 == 1 : X % 2 == 1 && Y % 2 == 1)
                    SetPixelV(Work.Handle(), X, Y, FBlendColor);
        BitBlt(FDC, At.Left, At.Top, W, H, Work.Handle(), 0, 0, FRop);
    }

private:
    HDC FDC;
    bool FBlend;
    COLORREF FBlendColor;
    DWORD FRop;
    TPoint FOrigin;
    TDither FDither;
};

void Fill(HDC DC, const TRect& R, TColor Color) {
    const RECT Area = R;
    const TBrushObject Brush(CreateSolidBrush(ColorToRGB(Color)));
    FillRect(DC, &Area, Brush.Get());
}

} // namespace

void DrawExtBackground(HDC DC, HWND /*Wnd*/, TPoint TileOffset, TCvBkGndType Type, TBitmap* Bitmap,
                       bool Blend, TColor BlendColor, TColor FillColor, bool Invert, const TRect& R,
                       const TRect& O, const TRect& A) {
    if (Type == bgtHorzGradient || Type == bgtVertGradient)
        return;
    if (Type == bgtColorFill || !Bitmap || Bitmap->Empty()) {
        Fill(DC, R, FillColor);
        return;
    }
    const TPoint Origin{O.Left, O.Top};
    const TRect Target = Moved(R, -O.Left, -O.Top);
    const int BW = Bitmap->Width(), BH = Bitmap->Height();
    const HDC Source = Bitmap->Canvas().Handle();
    switch (Type) {
    case bgtTileBitmap: {
        const TPiecePainter Painter(DC, Blend, BlendColor, Invert, Origin, TDither::Checker);
        int Y = A.Top + TileOffset.Y;
        while (Y + BH <= Target.Top)
            Y += BH;
        for (; Y < Target.Bottom; Y += BH)
            for (int X = A.Left + TileOffset.X; X < Target.Right; X += BW) {
                const TRect Piece = Intersection(TRect(X, Y, X + BW, Y + BH), Target);
                if (!IsEmpty(Piece))
                    Painter.Draw(Piece, Source, Piece.Left - X, Piece.Top - Y);
            }
        break;
    }
    case bgtStretchBitmap: {
        const TRect Piece = Intersection(Target, A);
        if (IsEmpty(Piece) || IsEmpty(A))
            break;
        const TMemoryDC Work(DC);
        const TBitmapObject WorkBitmap(CreateCompatibleBitmap(DC, A.Width(), A.Height()));
        const TSelectObject Selected(Work.Handle(), WorkBitmap.Get());
        SetStretchBltMode(Work.Handle(), COLORONCOLOR);
        StretchBlt(Work.Handle(), 0, 0, A.Width(), A.Height(), Source, 0, 0, BW, BH, SRCCOPY);
        TPiecePainter(DC, Blend, BlendColor, Invert, Origin, TDither::OddPixels)
            .Draw(Piece, Work.Handle(), Piece.Left - A.Left, Piece.Top - A.Top);
        break;
    }
    case bgtCenterBitmap:
    case bgtTopLeftBitmap: {
        Fill(DC, R, FillColor);
        const int Left = Type == bgtCenterBitmap ? A.Left + (A.Width() - BW) / 2 : A.Left;
        const int Top = Type == bgtCenterBitmap ? A.Top + (A.Height() - BH) / 2 : A.Top;
        // A picture larger than its area shows only what lies inside the area.
        const TRect Piece =
            Intersection(Intersection(TRect(Left, Top, Left + BW, Top + BH), Target), A);
        if (!IsEmpty(Piece))
            TPiecePainter(DC, Blend, BlendColor, Invert, Origin, TDither::OddPixels)
                .Draw(Piece, Source, Piece.Left - Left, Piece.Top - Top);
        break;
    }
    default:
        break;
    }
}
