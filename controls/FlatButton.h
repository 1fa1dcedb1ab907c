// Flat push buttons drawn in the family's colours: the windowed TFlatButton, which can take the
// focus, and the painting rules it shares with the windowless speed buttons.
#pragma once

#include "controls/FlatPushButton.h"

#include <array>

// The five colours of a flat push button, in the order of the indexed setter.
enum TFlatButtonColor {
    fbcFocused = 0,
    fbcDown = 1,
    fbcBorder = 2,
    fbcHighLight = 3,
    fbcShadow = 4,
};

struct TFlatButtonColors {
    // The face when not hot: the control's Color.
    TColor Face = TColor(0xE1EAEB);
    std::array<TColor, 5> Indexed{TColor(0xE1EAEB), TColor(0xC5D6D9), TColor(0x8396A0), clWhite,
                                  clBlack};
    TColor operator[](TFlatButtonColor Index) const { return Indexed[Index]; }
};

// What one paint of a flat button depends on.
struct TFlatButtonLook {
    TButtonState State = bsUp;
    bool Hot = false;
    TTransparentMode Mode = tmNone;
    bool Default = false;
};

// The face fill of Look; false when the parent shows through instead.
bool FlatButtonFace(const TFlatButtonColors& Colors, const TFlatButtonLook& Look, TColor& Face);
// The face (unless the parent shows through) and the bevel over R.
void PaintFlatButtonFrame(TCanvas& Canvas, const TRect& R, const TFlatButtonColors& Colors,
                          const TFlatButtonLook& Look);
// Cell at Pos with the pixels of Mask left out.
void DrawMaskedGlyph(TCanvas& Canvas, TBitmap& Cell, TPoint Pos, TColor Mask);
// The part of Control's parent picture that Buffer (of Control's size) covers.
void CopyWhatLiesBehind(TGraphicControl& Control, TBitmap& Buffer);
// The colour left out of Button's glyph Cell: the glyph's bottom-left pixel, or the greyed
// cell's own.
template <class TBase> TColor GlyphMaskColor(TPushButtonMachine<TBase>& Button, TBitmap& Cell);

// The colours, derived colours and transparent mode of a flat push button, windowed or not, and
// its face, bevel and masked glyph.
template <class TMachine> class TFlatFaceButton : public TMachine {
public:
    explicit TFlatFaceButton(TComponent* AOwner);
    // A class of buttons with a hover timer of its own.
    TFlatFaceButton(TComponent* AOwner, THoverGroup& Hover);

    TColor ColorFocused() const { return FColors[fbcFocused]; }
    TColor ColorDown() const { return FColors[fbcDown]; }
    TColor ColorBorder() const { return FColors[fbcBorder]; }
    TColor ColorHighLight() const { return FColors[fbcHighLight]; }
    TColor ColorShadow() const { return FColors[fbcShadow]; }
    // Stores one of the five colours and repaints.
    void SetFlatColor(TFlatButtonColor Index, TColor Value);

    // Focused lighter, down and border darker than Color, by these percentages.
    bool UseAdvColors() const { return FAdv.Use; }
    void SetUseAdvColors(bool Value);
    void SetAdvColors(int Focused, int Down, int Border);
    int AdvColorFocused() const { return FAdv.Focused; }
    void SetAdvColorFocused(int Value) { SetAdvColors(Value, FAdv.Down, FAdv.Border); }
    int AdvColorDown() const { return FAdv.Down; }
    void SetAdvColorDown(int Value) { SetAdvColors(FAdv.Focused, Value, FAdv.Border); }
    int AdvColorBorder() const { return FAdv.Border; }
    void SetAdvColorBorder(int Value) { SetAdvColors(FAdv.Focused, FAdv.Down, Value); }

    TTransparentMode TransparentMode() const { return FMode; }
    void SetTransparentMode(TTransparentMode Value);

protected:
    void WndProc(TMessage& Message) override;
    void PaintBackground(TBitmap& Buffer) override;
    void PaintGlyphCell(TBitmap& Buffer, TBitmap& Cell, TPoint Pos) override;
    // What lies behind the button, into Buffer.
    void PaintBehind(TBitmap& Buffer);
    virtual bool DefaultBorder() const { return false; }

private:
    void RecomputeColors();

    TFlatButtonColors FColors;
    TAdvColors FAdv;
    TTransparentMode FMode = tmNone;
};

extern template class TFlatFaceButton<TWinPushButton>;
extern template class TFlatFaceButton<TGraphicPushButton>;

// The windowed flat button: it takes the focus, is hot while focused, and a Default one shows
// a 2-pixel border while up and not hot.
class TFlatButton : public TFlatFaceButton<TWinPushButton> {
public:
    explicit TFlatButton(TComponent* AOwner);

protected:
    void WndProc(TMessage& Message) override;
    bool DefaultBorder() const override { return Default(); }
};
