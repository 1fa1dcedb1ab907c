#include "classlib/gui/Graphics.h"

#include <gtest/gtest.h>

namespace {

// A 32-bit off-screen surface to draw on and read back.
class TSurface {
public:
    TSurface(int Width, int Height) : FWidth(Width), FDC(nullptr) {
        BITMAPINFO Info{};
        Info.bmiHeader.biSize = sizeof Info.bmiHeader;
        Info.bmiHeader.biWidth = Width;
        Info.bmiHeader.biHeight = -Height;
        Info.bmiHeader.biPlanes = 1;
        Info.bmiHeader.biBitCount = 32;
        FBitmap.Reset(CreateDIBSection(FDC.Handle(), &Info, DIB_RGB_COLORS, &FBits, nullptr, 0));
        FOld = SelectObject(FDC.Handle(), FBitmap.Get());
    }
    ~TSurface() { SelectObject(FDC.Handle(), FOld); }
    HDC DC() const { return FDC.Handle(); }
    COLORREF At(int X, int Y) const {
        GdiFlush();
        const DWORD P = static_cast<const DWORD*>(FBits)[Y * FWidth + X];
        return RGB((P >> 16) & 0xFF, (P >> 8) & 0xFF, P & 0xFF);
    }

private:
    int FWidth;
    TMemoryDC FDC;
    TBitmapObject FBitmap;
    HGDIOBJ FOld = nullptr;
    void* FBits = nullptr;
};

LOGFONTW FontOf(HFONT Font) {
    LOGFONTW Log{};
    GetObjectW(Font, sizeof Log, &Log);
    return Log;
}

} // namespace

TEST(GuiGraphics, ColoursAreRgbValuesOrSystemColours) {
    EXPECT_EQ(ColorToRGB(clBlack), RGB(0, 0, 0));
    EXPECT_EQ(ColorToRGB(clWhite), RGB(255, 255, 255));
    EXPECT_EQ(ColorToRGB(0x123456), 0x123456u);
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
}

TEST(GuiGraphics, RectanglesKeepTheirEdgesApart) {
    const TRect R = Bounds(10, 20, 30, 40);
    EXPECT_EQ(R, TRect(10, 20, 40, 60));
    EXPECT_EQ(R.Width(), 30);
    EXPECT_EQ(R.Height(), 40);
    EXPECT_TRUE(R.Intersects(Bounds(39, 59, 5, 5)));
    EXPECT_FALSE(R.Intersects(Bounds(40, 20, 5, 5))); // Right lies outside
    EXPECT_FALSE(R.Intersects(Bounds(10, 60, 5, 5)));
    EXPECT_TRUE(TRect(5, 5, 5, 9).IsEmpty());
    const RECT Win32 = R;
    EXPECT_EQ(TRect(Win32), R);
}

TEST(GuiGraphics, AFontIsRemadeOnlyWhenItsShapeChanges) {
    TFont Font;
    int Changes = 0;
    Font.OnChange = [&](TObject*) { ++Changes; };
    const HFONT First = Font.Handle();
    EXPECT_EQ(FontOf(First).lfWeight, FW_NORMAL);

    Font.SetColor(clWhite);
    EXPECT_EQ(Font.Handle(), First);
    Font.SetStyle({fsBold, fsUnderline});
    EXPECT_EQ(FontOf(Font.Handle()).lfWeight, FW_BOLD);
    EXPECT_TRUE(FontOf(Font.Handle()).lfUnderline);
    Font.SetName(L"Verdana");
    EXPECT_EQ(String(FontOf(Font.Handle()).lfFaceName), L"Verdana");
    Font.SetStyle({fsBold, fsUnderline}); // no change, no notice
    EXPECT_EQ(Changes, 3);

    Font.SetSize(9);
    EXPECT_EQ(Font.Size(), 9);
    EXPECT_EQ(Font.Height(), -MulDiv(9, ScreenPixelsPerInch(), 72));
    EXPECT_EQ(FontOf(Font.Handle()).lfHeight, Font.Height());

    TFont Copy;
    Copy.Assign(Font);
    EXPECT_EQ(Copy.Name(), L"Verdana");
    EXPECT_EQ(Copy.Size(), 9);
    EXPECT_EQ(Copy.Color(), clWhite);
    EXPECT_TRUE(Copy.Style() == TFontStyles({fsBold, fsUnderline}));
}

TEST(GuiGraphics, ACanvasMeasuresWithItsFont) {
    TSurface Surface(10, 10);
    TCanvas Canvas;
    const TCanvasDC Attached(Canvas, Surface.DC());
    EXPECT_GT(Canvas.TextWidth(L"WW"), Canvas.TextWidth(L"W"));
    const TSize Normal = Canvas.TextExtent(L"Measure");
    Canvas.Font().SetSize(24);
    EXPECT_GT(Canvas.TextHeight(L"Measure"), Normal.cy);
    EXPECT_GT(Canvas.TextWidth(L"Measure"), Normal.cx);

    TRect Extent;
    Canvas.TextRect(Extent, L"one\rtwo", DT_CALCRECT | DT_NOPREFIX);
    EXPECT_GE(Extent.Height(), 2 * Canvas.TextHeight(L"one") - 1);
}

TEST(GuiGraphics, ACanvasLeavesTheDCAsItFoundIt) {
    TSurface Surface(10, 10);
    const HGDIOBJ OriginalFont = GetCurrentObject(Surface.DC(), OBJ_FONT);
    SetTextColor(Surface.DC(), RGB(1, 2, 3));
    {
        TCanvas Canvas;
        Canvas.SetHandle(Surface.DC());
        Canvas.Font().SetColor(clWhite);
        Canvas.TextOut(0, 0, L"x");
        EXPECT_EQ(GetCurrentObject(Surface.DC(), OBJ_FONT), Canvas.Font().Handle());
        Canvas.Font().SetSize(20); // the selected font is replaced while attached
        Canvas.TextOut(0, 0, L"x");
        EXPECT_EQ(GetCurrentObject(Surface.DC(), OBJ_FONT), Canvas.Font().Handle());
        Canvas.SetHandle(nullptr);
        EXPECT_EQ(GetCurrentObject(Surface.DC(), OBJ_FONT), OriginalFont);
        EXPECT_EQ(GetTextColor(Surface.DC()), RGB(1, 2, 3));
        Canvas.SetHandle(Surface.DC());
        Canvas.TextOut(0, 0, L"x");
    } // and when it goes while attached
    EXPECT_EQ(GetCurrentObject(Surface.DC(), OBJ_FONT), OriginalFont);
}

TEST(GuiGraphics, ACanvasFillsWithItsBrushAndWritesInItsFontColour) {
    TSurface Surface(60, 30);
    TCanvas Canvas;
    const TCanvasDC Attached(Canvas, Surface.DC());
    Canvas.Brush().SetColor(0x0000FF);
    Canvas.FillRect(TRect(0, 0, 60, 30));
    EXPECT_EQ(Surface.At(59, 29), RGB(255, 0, 0));

    Canvas.Brush().SetColor(clWhite);
    Canvas.Brush().SetStyle(bsClear);
    Canvas.FillRect(TRect(0, 0, 60, 30)); // a clear brush fills nothing
    EXPECT_EQ(Surface.At(0, 0), RGB(255, 0, 0));

    Canvas.Font().SetColor(clBlack);
    Canvas.Font().SetSize(14);
    Canvas.TextOut(2, 2, L"MM");
    int Ink = 0;
    for (int Y = 0; Y < 30; ++Y)
        for (int X = 0; X < 60; ++X)
            Ink += Surface.At(X, Y) == RGB(0, 0, 0);
    EXPECT_GT(Ink, 0);
}

TEST(GuiGraphics, TheBackBufferIsRebuiltOnlyWhenItsSizeChanges) {
    TBackBuffer Buffer;
    const HDC DC = Buffer.Prepare(10, 10);
    const HGDIOBJ Bitmap = GetCurrentObject(DC, OBJ_BITMAP);
    EXPECT_EQ(Buffer.Prepare(10, 10), DC);
    EXPECT_EQ(GetCurrentObject(DC, OBJ_BITMAP), Bitmap);

    const HDC Wider = Buffer.Prepare(20, 10);
    BITMAP Info{};
    GetObjectW(GetCurrentObject(Wider, OBJ_BITMAP), sizeof Info, &Info);
    EXPECT_EQ(Info.bmWidth, 20);
    EXPECT_EQ(Info.bmHeight, 10);
}

TEST(GuiGraphics, AnOwnedGdiObjectIsDeletedOnceByItsLastOwner) {
    const HBRUSH Brush = CreateSolidBrush(RGB(1, 2, 3));
    {
        TBrushObject First(Brush);
        TBrushObject Second(std::move(First));
        EXPECT_FALSE(First);
        EXPECT_EQ(Second.Get(), Brush);
        EXPECT_NE(GetObjectType(Brush), 0u);
    }
    EXPECT_EQ(GetObjectType(Brush), 0u);
}

TEST(GuiGraphics, ColourNamesAsStoredBecomeColours) {
    const struct {
        const wchar_t* Ident;
        bool Known;
        TColor Value;
    } Cases[] = {
        {L"clRed", true, 0x0000FF},      {L"CLBTNFACE", true, clBtnFace},
        {L"clNone", true, clNone},       {L"clInfoBk", true, clInfoBk},
        {L"clRedd", false, 7},           {L"", false, 7},
        {L"clnavy", true, clNavy},       {L"red", false, 7},
        {L"clMedGray", true, clMedGray},
    };
    EXPECT_EQ(ColorToRGB(clNone), 0u);
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Ident);
        TColor Color = 7;
        EXPECT_EQ(IdentToColor(C.Ident, Color), C.Known);
        EXPECT_EQ(Color, C.Value);
    }
}
