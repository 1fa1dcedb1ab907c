// Flat panel and group box: containers drawn as a bevel with a caption, or a line frame with a
// gap for the caption.
#pragma once

#include "classlib/gui/Controls.h"
#include "controls/FlatTypes.h"

#include <vector>

// What the panel and the group box share: a double-buffered face, optionally see-through, that
// repaints when the caption, font, colour or enabled state change.
class TFlatContainer : public TCustomControl {
public:
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);

protected:
    TFlatContainer(TComponent* AOwner, int DefaultHeight);
    void WndProc(TMessage& Message) override;
    // A buffer of the client's size, filled with Color() or with what lies behind.
    void StartBuffer(TBitmap& Buffer);

private:
    bool FTransparent = false;
};

class TFlatPanel : public TFlatContainer {
public:
    explicit TFlatPanel(TComponent* AOwner);

    TColor ColorHighLight() const { return FColorHighLight; }
    void SetColorHighLight(TColor Value);
    TColor ColorShadow() const { return FColorShadow; }
    void SetColorShadow(TColor Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    void Paint() override;

private:
    TColor FColorHighLight = TColor(0x8396A0);
    TColor FColorShadow = TColor(0x8396A0);
    TAlignment FAlignment = taCenter;
};

// The lines of a group box frame inside Client, for a caption CaptionWidth wide and TextHeight
// high: one polyline round the box, or the two top segments, leaving the caption's gap.
std::vector<std::vector<TPoint>> GroupBoxLines(const TRect& Client, int CaptionWidth,
                                               int TextHeight, TGroupBoxBorder Border);

class TFlatGroupBox : public TFlatContainer {
public:
    explicit TFlatGroupBox(TComponent* AOwner);

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

    TGroupBoxBorder FBorder = brFull;
    TColor FColorBorder = TColor(0x8396A0);
    TAdvColors FAdv;
};
