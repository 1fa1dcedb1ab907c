// Shared pieces of the window-layer tests: an application object per test, message pumping with
// a time limit, and the pixels a window paints.
#pragma once

#include "classlib/gui/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

// Each test runs with its own application object, which deletes the test's forms after it.
class GuiTest : public ::testing::Test {
protected:
    void SetUp() override { App = std::make_unique<TApplication>(); }
    void TearDown() override { App.reset(); }

    // Handles messages until Done() holds, looking every StepMs; false when it did not within two
    // seconds. Timings want a short step.
    template <class TPredicate> bool PumpUntil(TPredicate Done, DWORD StepMs = 10) {
        const ULONGLONG End = GetTickCount64() + 2000;
        for (;;) {
            App->ProcessMessages();
            if (Done())
                return true;
            if (GetTickCount64() > End)
                return false;
            Sleep(StepMs);
        }
    }

    std::unique_ptr<TApplication> App;
};

// The deepest visible window under a screen point, starting at Top: where the mouse's messages
// for that point go.
inline HWND DeepestChildAt(HWND Top, POINT Screen) {
    HWND Target = Top;
    for (HWND Child;; Target = Child) {
        POINT Client = Screen;
        ScreenToClient(Target, &Client);
        Child = ChildWindowFromPointEx(Target, Client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!Child || Child == Target)
            return Target;
    }
}

// A borderless form at Where (so its client area is all of it), in Colour: the surface window
// tests draw on and read back.
inline TForm* NewPlainForm(TApplication& App, TRect Where, TColor Colour = clWhite) {
    auto* Form = NewForm<TForm>(&App);
    Form->SetBorderStyle(bsNone);
    Form->SetBoundsRect(Where);
    Form->SetColor(Colour);
    return Form;
}

// A test whose surface is a borderless white form with a client area of Width x Height.
template <int Width, int Height> class PlainFormTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Form = NewPlainForm(*App, TRect(0, 0, Width, Height));
    }

    TForm* Form = nullptr;
};

// A windowless control that fills its bounds with Fill, to be found by its pixels.
class TFilledBlock : public TGraphicControl {
public:
    explicit TFilledBlock(TComponent* Owner, TColor Fill = clRed)
        : TGraphicControl(Owner), FFill(Fill) {}

protected:
    void Paint() override {
        Canvas().Brush().SetColor(FFill);
        Canvas().FillRect(ClientRect());
    }

private:
    TColor FFill;
};

// Makes a control owned by and placed in Parent, at Where.
template <class TControlClass, class... TArgs>
TControlClass* Place(TWinControl& Parent, TRect Where, TArgs&&... Args) {
    auto* Control = new TControlClass(&Parent, std::forward<TArgs>(Args)...);
    Control->SetParent(&Parent);
    Control->SetBoundsRect(Where);
    return Control;
}

// The client area of a window as it paints itself for WM_PRINTCLIENT.
class TClientPixels {
public:
    explicit TClientPixels(TWinControl& Control) {
        const TRect Client = Control.ClientRect();
        Width = Client.Width();
        Height = Client.Height();
        BITMAPINFO Info{};
        Info.bmiHeader.biSize = sizeof Info.bmiHeader;
        Info.bmiHeader.biWidth = Width;
        Info.bmiHeader.biHeight = -Height; // top-down rows
        Info.bmiHeader.biPlanes = 1;
        Info.bmiHeader.biBitCount = 32;
        void* Bits = nullptr;
        const TMemoryDC DC(nullptr);
        const TBitmapObject Bitmap(
            CreateDIBSection(DC.Handle(), &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
        {
            const TSelectObject Selected(DC.Handle(), Bitmap.Get());
            SendMessageW(Control.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(DC.Handle()),
                         PRF_CLIENT);
            GdiFlush();
        }
        const auto* Pixels = static_cast<const DWORD*>(Bits);
        FPixels.reserve(static_cast<size_t>(Width) * Height);
        for (int I = 0; I < Width * Height; ++I) {
            const DWORD P = Pixels[I]; // 0x00RRGGBB
            FPixels.push_back(RGB((P >> 16) & 0xFF, (P >> 8) & 0xFF, P & 0xFF));
        }
    }

    COLORREF At(int X, int Y) const { return FPixels[static_cast<size_t>(Y) * Width + X]; }

    // Pixels inside R (Inside) or outside it (not Inside) for which Match(colour) holds.
    template <class TMatch> int Count(const TRect& R, bool Inside, TMatch Match) const {
        int Found = 0;
        for (int Y = 0; Y < Height; ++Y)
            for (int X = 0; X < Width; ++X) {
                const bool In = X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
                if (In == Inside && Match(At(X, Y)))
                    ++Found;
            }
        return Found;
    }

    int Width = 0;
    int Height = 0;

private:
    std::vector<COLORREF> FPixels;
};
