// Flat progress bar: blocks of the element colour in a framed bar, or one smooth bar.
#pragma once

#include "classlib/gui/Controls.h"
#include "controls/FlatTypes.h"

// A block is 8 pixels wide with a 1-pixel gap.
constexpr int ProgressBlockPitch = 9;

// The length a block bar keeps when asked for Length: whole blocks plus the frame.
int SnapProgressLength(int Length);
// The block places along a client length.
int ProgressBlockPlaces(int ClientLength);
// The filled blocks of Places for Position in Min..Max; 0 when Max equals Min.
int ProgressFilledBlocks(int Position, int Min, int Max, int Places);

class TFlatProgressBar : public TGraphicControl {
public:
    explicit TFlatProgressBar(TComponent* AOwner);

    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int Position() const { return FPosition; }
    // Limited to Max, then raised to Min. A growth draws the new blocks at once.
    void SetPosition(int Value);
    int Step() const { return FStep; }
    void SetStep(int Value);
    // Position grows by Step, at most to Max.
    void StepIt();

    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool Value);
    // Changing it at run time turns the bar: width and height are exchanged.
    TProgressBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);

    TColor ColorElement() const { return FColorElement; }
    void SetColorElement(TColor Value);
    TColor ColorBorder() const { return FColorBorder; }
    void SetColorBorder(TColor Value);
    bool UseAdvColors() const { return FAdv.Use; }
    void SetUseAdvColors(bool Value);
    void SetAdvColorBorder(int Value);

    // Block bars keep a length of whole blocks.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void Paint() override;
    void WndProc(TMessage& Message) override;

private:
    void DrawElements(TCanvas& Canvas);
    void RecomputeColors();

    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FStep = 10;
    bool FSmooth = false;
    TProgressBarOrientation FOrientation = pbHorizontal;
    bool FTransparent = false;
    TColor FColorElement = TColor(0x996633);
    TColor FColorBorder = TColor(0x8396A0);
    TAdvColors FAdv;
};
