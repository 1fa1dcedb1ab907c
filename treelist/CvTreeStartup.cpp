// The tree-list unit's start-up: the drag cursors from the system's OLE library and the default
// expand-button pictures recoloured to the system colours.
#include "treelist/CvTree.h"

#include "classlib/gui/Forms.h"

namespace {

// OLE32.DLL, loaded while the program runs: its drag cursors stay shared with the screen.
class TOleCursors {
public:
    TOleCursors() : FLibrary(LoadLibraryW(L"OLE32.DLL")) {
        if (!FLibrary || !Screen)
            return;
        for (int I = 1; I <= 3; ++I)
            if (const HCURSOR Cursor = LoadCursorW(FLibrary, MAKEINTRESOURCEW(I)))
                Screen->SetCursors(static_cast<TCursor>(20000 + I), Cursor);
    }
    ~TOleCursors() {
        if (FLibrary)
            FreeLibrary(FLibrary);
    }
    TOleCursors(const TOleCursors&) = delete;
    TOleCursors& operator=(const TOleCursors&) = delete;

private:
    HMODULE FLibrary;
};

void Recolour(TBitmap& Bitmap) {
    if (Bitmap.Empty())
        return;
    const TPixelFormat Format = Bitmap.PixelFormat();
    Bitmap.SetPixelFormat(pf32bit);
    const std::uint32_t Text = ColorToRGB(clWindowText);
    const std::uint32_t Shadow = ColorToRGB(clBtnShadow);
    const std::uint32_t Window = ColorToRGB(clWindow);
    // Scan lines hold 0x00RRGGBB; COLORREF is 0x00BBGGRR.
    const auto Pixel = [](std::uint32_t C) {
        return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
    };
    for (int Y = 0; Y < Bitmap.Height(); ++Y) {
        auto* Row = reinterpret_cast<std::uint32_t*>(Bitmap.ScanLine(Y));
        for (int X = 0; X < Bitmap.Width(); ++X) {
            std::uint32_t& P = Row[X];
            const std::uint32_t RGB = P & 0xFFFFFF;
            if (RGB == 0)
                P = Pixel(Text);
            else if (RGB == 0x808080)
                P = Pixel(Shadow);
            else if (RGB == 0xFFFFFF)
                P = Pixel(Window);
        }
    }
    Bitmap.SetPixelFormat(Format);
}

TCvTreeBitmaps& LoadedBitmaps() {
    static TCvTreeBitmaps Bitmaps;
    static const bool Loaded = [] {
        // A program built without the pictures draws no default buttons.
        const HINSTANCE Module = GetModuleHandleW(nullptr);
        const auto Load = [Module](TBitmap& Bitmap, const wchar_t* Name) {
            if (FindResourceW(Module, Name, RT_BITMAP))
                Bitmap.LoadFromResourceName(Module, Name);
        };
        Load(Bitmaps.Plus, L"PlusBmp");
        Load(Bitmaps.Minus, L"MinusBmp");
        Load(Bitmaps.Leaf, L"LeafBmp");
        return true;
    }();
    (void)Loaded;
    return Bitmaps;
}

} // namespace

void StartTreeUnit() {
    static const TOleCursors Cursors;
    static const bool Recoloured = [] {
        RecolourButtonBitmaps();
        return true;
    }();
    (void)Recoloured;
}

TCvTreeBitmaps& TreeButtonBitmaps() {
    return LoadedBitmaps();
}

void RecolourButtonBitmaps() {
    TCvTreeBitmaps& B = LoadedBitmaps();
    Recolour(B.Plus);
    Recolour(B.Minus);
    Recolour(B.Leaf);
}
