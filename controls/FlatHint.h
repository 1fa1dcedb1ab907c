// The flat hint: a component that makes the application show its hints in a flat hint window,
// a word-wrapped box with a coloured strip and an arrow on the side facing the mouse pointer.
#pragma once

#include "classlib/gui/Forms.h"
#include "classlib/gui/HintWindow.h"

#include <array>

// The look of the flat hints; the component carries these, and a window without one uses them
// as they are made here.
struct TFlatHintLook {
    TColor ColorBackground = clWhite;
    TColor ColorBorder = clBlack;
    TColor ColorArrowBackground = 0x53D2FF;
    TColor ColorArrow = clBlack;
    int MaxHintWidth = 200;
};

class TFlatHint : public TComponent {
public:
    // Outside design, the application's hints from now on show in a TFlatHintWindow, with this
    // component's OnShowHint seeing each of them first, and its pauses are 25, 500 and 5000 ms.
    explicit TFlatHint(TComponent* AOwner);

    const TFlatHintLook& Look() const { return FLook; }
    TColor ColorBackground() const { return FLook.ColorBackground; }
    void SetColorBackground(TColor Value) { FLook.ColorBackground = Value; }
    TColor ColorBorder() const { return FLook.ColorBorder; }
    void SetColorBorder(TColor Value) { FLook.ColorBorder = Value; }
    TColor ColorArrowBackground() const { return FLook.ColorArrowBackground; }
    void SetColorArrowBackground(TColor Value) { FLook.ColorArrowBackground = Value; }
    TColor ColorArrow() const { return FLook.ColorArrow; }
    void SetColorArrow(TColor Value) { FLook.ColorArrow = Value; }
    // The width the text box wraps at, strip included.
    int MaxHintWidth() const { return FLook.MaxHintWidth; }
    void SetMaxHintWidth(int Value) { FLook.MaxHintWidth = Value; }
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value) { FFont.Assign(Value); }

    // Sees every hint before it shows; the application's handler calls it while this lives.
    TShowHintEvent OnShowHint;

private:
    TFlatHintLook FLook;
    TFont FFont;
};

// Where a hint box goes: the side of the pointer's quadrant it faces and the gap to the pointer.
// Side 1: pointer in the top-left quadrant, box right of and below it; 0: top-right, box left and
// below; 3: bottom-left, box right and above; 2: bottom-right, box left and above.
// The quadrants are those of Monitor, the screen area the pointer is on.
int FlatHintSide(TPoint Pointer, const TRect& Monitor);
int FlatHintGap(int Side);
// The box of Width x Height for a pointer on that side, on the screen.
TRect FlatHintBounds(int Side, TPoint Pointer, int Width, int Height);

// The parts of a hint box with client rectangle Client: the strip toward the pointer, the text
// area, and the arrow in the strip, pointing at the pointer's corner.
struct TFlatHintParts {
    TRect Strip;
    TRect TextArea;
    std::array<TPoint, 18> Arrow;
};
TFlatHintParts FlatHintParts(int Side, const TRect& Client);
// Draws a hint box of that side with Text, in the canvas's font.
void PaintFlatHint(TCanvas& Canvas, int Side, const TRect& Client, const TFlatHintLook& Look,
                   const String& Text);

// The application's hint window while a TFlatHint is installed. It finds its settings at each
// activation and paint (the first TFlatHint of the main form) and keeps no pointer to them.
class TFlatHintWindow : public THintWindow {
public:
    explicit TFlatHintWindow(TComponent* AOwner);

    void ActivateHint(TRect Rect, const String& Hint) override;
    // The side of the last placement.
    int Side() const { return FSide; }

protected:
    void CreateParams(TCreateParams& Params) const override;
    void Paint() override;

private:
    // The look and font of the main form's flat hint, or the defaults and this window's font.
    TFlatHintLook TakeSettings(TFont& Font) const;

    int FSide = 0;
};
