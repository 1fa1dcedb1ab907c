// Flat single-line edits: a three-pixel frame in the non-client area whose inner part and the
// background turn to the focus colour while the edit is focused or hot.
#pragma once

#include "classlib/gui/StdCtrls.h"
#include "controls/FlatTypes.h"

// Whether a flat edit shows its focus look: focused, or hot while the focus is not in another
// control of the same flat class (so one focused edit keeps the others from lighting up).
constexpr bool FlatEditHighlighted(bool Designing, bool Focused, bool MouseInControl,
                                   bool FocusInSameClass) {
    return !Designing && (Focused || (MouseInControl && !FocusInSameClass));
}

// The frame inside Window (the whole window at 0, 0): a 1-pixel line in Border and two 1-pixel
// lines inside it in Inner.
void PaintFlatEditFrame(HDC DC, const TRect& Window, TColor Border, TColor Inner);

// The height of a flat edit showing Font: the text height and the frame above and below.
int FlatEditHeight(const TFont& Font);

// The flat behaviour over an edit class: TBase is the class library's edit or masked edit.
template <class TBase> class TFlatEditFrame : public TBase {
public:
    TColor ColorFocused() const { return FColorFocused; }
    void SetColorFocused(TColor Value) { SetFrameColor(FColorFocused, Value); }
    TColor ColorBorder() const { return FColorBorder; }
    void SetColorBorder(TColor Value) { SetFrameColor(FColorBorder, Value); }
    TColor ColorFlat() const { return FColorFlat; }
    // Stops following the parent's colour.
    void SetColorFlat(TColor Value);
    // ColorFlat follows the parent's colour. The edit's own Color is rewritten at every frame
    // paint, so this flag, not the class library's, is the one that counts.
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    // Focused lighter and border darker than ColorFlat by these percentages; switching it makes
    // ColorFlat follow the parent's colour (or stop following it).
    bool UseAdvColors() const { return FAdv.Use; }
    void SetUseAdvColors(bool Value);
    int AdvColorFocused() const { return FAdv.Focused; }
    void SetAdvColorFocused(int Value);
    int AdvColorBorder() const { return FAdv.Border; }
    void SetAdvColorBorder(int Value);

    bool MouseInControl() const { return FMouseInControl; }
    bool Highlighted() const;
    // Paints the frame and sets Color to match it.
    void RedrawBorder();

protected:
    explicit TFlatEditFrame(TComponent* AOwner);

    // Whether Other is of this edit's flat class, for the highlight rule.
    virtual bool SameFlatClass(const TWinControl& Other) const = 0;

    void CreateParams(TCreateParams& Params) const override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    void Loaded() override;
    void FontChanged() override;

private:
    void SetFrameColor(TColor& Field, TColor Value);
    void TakeParentColors();
    void FitHeight();

    TColor FColorFocused = clWhite;
    TColor FColorBorder = 0x8396A0;
    TColor FColorFlat = 0xE1EAEB;
    bool FParentColor = true;
    TAdvColors FAdv{false, 10, 10, 50};
    bool FMouseInControl = false;
};

class TCustomFlatEdit : public TFlatEditFrame<TCustomEdit> {
public:
    explicit TCustomFlatEdit(TComponent* AOwner) : TFlatEditFrame(AOwner) {}

protected:
    bool SameFlatClass(const TWinControl& Other) const override;
};

class TFlatEdit : public TCustomFlatEdit {
public:
    using TCustomFlatEdit::TCustomFlatEdit;
};
