// Shared pieces of the skinned-control tests: a shown form in a corner of the screen where no
// other test's window stands, the cursor and active-window seams, pictures made in memory.
#pragma once

#include "classlib/gui/Forms.h"
#include "tests/support/GuiTestSupport.h"

#include <cstdint>
#include <string>

inline LPARAM At(int X, int Y) {
    return MAKELPARAM(X, Y);
}

// A test with a shown, topmost form away from the other tests' windows, so that the control
// under a screen point is found on it; the cursor is where the test says and some window counts
// as active unless the test says otherwise.
class ControlsTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Form = NewForm<TForm>(App.get());
        Form->SetBorderStyle(bsNone);
        Form->SetFormStyle(fsStayOnTop);
        Form->SetBounds(880, 700, 320, 220);
        Form->Show();
        Screen->CursorPosSource = [this] { return Cursor; };
        Screen->ActiveWindowSource = [this] { return Active ? Form->Handle() : nullptr; };
    }
    void TearDown() override {
        Screen->CursorPosSource = nullptr;
        Screen->ActiveWindowSource = nullptr;
        GuiTest::TearDown();
    }

    template <class TControlClass> TControlClass* Place(const TRect& R) {
        auto* Control = new TControlClass(Form);
        Control->SetParent(Form);
        Control->SetBoundsRect(R);
        return Control;
    }

    // Puts the cursor over Control at (X, Y) of it and tells the control the mouse moved there.
    void MoveOver(TWinControl& Control, int X, int Y, WPARAM Keys = 0) {
        Cursor = Control.ClientToScreen(TPoint{X, Y});
        SendMessageW(Control.Handle(), WM_MOUSEMOVE, Keys, At(X, Y));
    }
    void MoveAway() { Cursor = TPoint{5, 5}; }

    TForm* Form = nullptr;
    TPoint Cursor{5, 5};
    bool Active = true;
};

// A 24-bit picture of Width x Height in Color.
inline void FillBitmap(TBitmap& Bitmap, int Width, int Height, TColor Color) {
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(Width, Height);
    Bitmap.Canvas().Brush().SetColor(Color);
    Bitmap.Canvas().FillRect(TRect(0, 0, Width, Height));
}

// The bytes of a 24-bit BMP file of Width x Height whose pixels Pixel(X, Y) gives.
template <class TPixel> std::string BmpFileBytes(int Width, int Height, TPixel Pixel) {
    const int Stride = (Width * 3 + 3) & ~3;
    std::string Body;
    for (int Y = Height - 1; Y >= 0; --Y) {
        std::string Row;
        for (int X = 0; X < Width; ++X) {
            const COLORREF C = ColorToRGB(Pixel(X, Y));
            Row += static_cast<char>(GetBValue(C));
            Row += static_cast<char>(GetGValue(C));
            Row += static_cast<char>(GetRValue(C));
        }
        Row.resize(static_cast<size_t>(Stride), '\0');
        Body += Row;
    }
    const auto U32 = [](std::uint32_t V) {
        return std::string{static_cast<char>(V), static_cast<char>(V >> 8),
                           static_cast<char>(V >> 16), static_cast<char>(V >> 24)};
    };
    const auto U16 = [](std::uint16_t V) {
        return std::string{static_cast<char>(V), static_cast<char>(V >> 8)};
    };
    std::string File = "BM" + U32(54 + static_cast<std::uint32_t>(Body.size())) + U32(0) + U32(54) +
                       U32(40) + U32(static_cast<std::uint32_t>(Width)) +
                       U32(static_cast<std::uint32_t>(Height)) + U16(1) + U16(24) + U32(0) +
                       U32(static_cast<std::uint32_t>(Body.size())) + U32(2835) + U32(2835) +
                       U32(0) + U32(0);
    return File + Body;
}
