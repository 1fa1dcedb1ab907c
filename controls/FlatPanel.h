// Flat panel and group box: containers drawn as a bevel with a caption, or a line frame with a
// gap for the caption.
#pragma once

#include "classlib/gui/Controls.h"
#include "controls/FlatTypes.h"

#include <vector>

class TFlatPanel : public TCustomControl {
public:
    explicit TFlatPanel(TComponent* AOwner);

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    TColor ColorHighLight() const { return FColorHighLight; }
    void SetColorHighLight(TColor Value);
    TColor ColorShadow() const { return FColorShadow; }
    void SetColorShadow(TColor Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    void Paint() override;
    void WndProc(TMessage& Message) override;

private:
    bool FTransparent = false;
    TColor FColorHighLight = TColor(0x8396A0);
    TColor FColorShadow = TColor(0x8396A0);
    TAlignment FAlignment = taCenter;
};

// The lines of a group box frame inside Client, for a caption CaptionWidth wide and TextHeight
// high: one polyline round the box, or the two top segments, leaving the caption's gap.
std::vector<std::vector<TPoint>> GroupBoxLines(const TRect& Client, int CaptionWidth,
                                               int TextHeight, TGroupBoxBorder Border);

class TFlatGroupBox : public TCustomControl {
public:
    explicit TFlatGroupBox(TComponent* AOwner);

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    TGroupBoxBorder Border() const { return FBorder; }
    void SetBorder(TGroupBoxBorder Value);
    TColor ColorBorder() const { return FColorBorder; }
    void SetColorBorder(TColor Value);
    bool UseAdvColors() const { return FAdv.Use; }
    void SetUseAdvColors(bool Value);
    void SetAdvColorBorder(int Value);

protected:
    void Paint() override;
    void WndProc(TMessage& Message) override;

private:
    void RecomputeColors();

    bool FTransparent = false;
    TGroupBoxBorder FBorder = brFull;
    TColor FColorBorder = TColor(0x8396A0);
    TAdvColors FAdv;
};
