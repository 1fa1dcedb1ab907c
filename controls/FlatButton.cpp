#include "controls/FlatButton.h"

#include <algorithm>
#include <type_traits>

namespace {
// One hover state per button class.
template <class TMachine> THoverGroup FlatButtonHover(100);
} // namespace

template <class TBase> TColor GlyphMaskColor(TPushButtonMachine<TBase>& Button, TBitmap& Cell) {
    // The glyph's bottom-left pixel is its background; a greyed cell has its own.
    if (Button.State() == bsDisabled && Button.NumGlyphs() == 1)
        return Cell.Canvas().Pixel(0, Cell.Height() - 1);
    return Button.Glyph().Canvas().Pixel(0, Button.Glyph().Height() - 1);
}
template TColor GlyphMaskColor(TPushButtonMachine<TCustomControl>&, TBitmap&);
template TColor GlyphMaskColor(TPushButtonMachine<TGraphicControl>&, TBitmap&);

bool FlatButtonFace(const TFlatButtonColors& Colors, const TFlatButtonLook& Look, TColor& Face) {
    if (Look.Mode == tmAlways || (Look.Mode == tmNotFocused && !Look.Hot))
        return false;
    switch (Look.State) {
    case bsDisabled:
        Face = Colors.Face;
        break;
    case bsPressed:
        Face = Colors[fbcDown];
        break;
    case bsLatched:
        Face = Look.Hot ? Colors[fbcFocused] : Colors[fbcDown];
        break;
    case bsUp:
        Face = Look.Hot ? Colors[fbcFocused] : Colors.Face;
        break;
    }
    return true;
}

void PaintFlatButtonFrame(TCanvas& Canvas, const TRect& R, const TFlatButtonColors& Colors,
                          const TFlatButtonLook& Look) {
    TColor Face = Colors.Face;
    if (FlatButtonFace(Colors, Look, Face)) {
        Canvas.Brush().SetColor(Face);
        Canvas.FillRect(R);
    }
    switch (Look.State) {
    case bsUp:
        if (Look.Hot)
            DrawBevelFrame(Canvas, R, Colors[fbcHighLight], Colors[fbcShadow], 1);
        else
            DrawBevelFrame(Canvas, R, Colors[fbcBorder], Colors[fbcBorder], Look.Default ? 2 : 1);
        break;
    case bsDisabled:
        DrawBevelFrame(Canvas, R, Colors[fbcBorder], Colors[fbcBorder], 1);
        break;
    case bsPressed:
    case bsLatched:
        DrawBevelFrame(Canvas, R, Colors[fbcShadow], Colors[fbcHighLight], 1);
        break;
    }
}

void CopyWhatLiesBehind(TGraphicControl& Control, TBitmap& Buffer) {
    // A windowless control is drawn over its parent's picture: that is what lies behind.
    const TRect All(0, 0, Buffer.Width(), Buffer.Height());
    Buffer.Canvas().CopyRect(All, Control.Canvas(), All);
}

void DrawMaskedGlyph(TCanvas& Canvas, TBitmap& Cell, TPoint Pos, TColor Mask) {
    Cell.Transparent = true;
    Cell.SetTransparentColor(Mask);
    Canvas.Draw(Pos.X, Pos.Y, Cell);
}

template <class TMachine>
TFlatFaceButton<TMachine>::TFlatFaceButton(TComponent* AOwner)
    : TFlatFaceButton(AOwner, FlatButtonHover<TMachine>) {}

template <class TMachine>
TFlatFaceButton<TMachine>::TFlatFaceButton(TComponent* AOwner, THoverGroup& Hover)
    : TMachine(AOwner, Hover) {
    this->SetBounds(this->Left(), this->Top(), 25, 25);
    this->SetLayout(blGlyphTop);
    this->SetColor(FColors.Face);
}

template <class TMachine>
void TFlatFaceButton<TMachine>::SetFlatColor(TFlatButtonColor Index, TColor Value) {
    if (StoreChanged(FColors.Indexed[Index], Value))
        this->Invalidate();
}

template <class TMachine> void TFlatFaceButton<TMachine>::SetUseAdvColors(bool Value) {
    FAdv.Use = Value;
    this->SetParentColor(Value);
    RecomputeColors();
}

template <class TMachine>
void TFlatFaceButton<TMachine>::SetAdvColors(int Focused, int Down, int Border) {
    FAdv.Focused = std::clamp(Focused, 0, 100);
    FAdv.Down = std::clamp(Down, 0, 100);
    FAdv.Border = std::clamp(Border, 0, 100);
    RecomputeColors();
}

template <class TMachine> void TFlatFaceButton<TMachine>::RecomputeColors() {
    TFlatColorSet Derived{FColors[fbcFocused], FColors[fbcDown], FColors[fbcBorder]};
    RecomputeAdvColors(this->Color(), FAdv, Derived);
    FColors.Indexed[fbcFocused] = Derived.Focused;
    FColors.Indexed[fbcDown] = Derived.Down;
    FColors.Indexed[fbcBorder] = Derived.Border;
    this->Invalidate();
}

template <class TMachine>
void TFlatFaceButton<TMachine>::SetTransparentMode(TTransparentMode Value) {
    if (StoreChanged(FMode, Value))
        this->Invalidate();
}

template <class TMachine> void TFlatFaceButton<TMachine>::WndProc(TMessage& Message) {
    TMachine::WndProc(Message);
    if ((Message.Msg == CM_SYSCOLORCHANGE || Message.Msg == CM_PARENTCOLORCHANGED) && FAdv.Use)
        RecomputeColors();
}

template <class TMachine> void TFlatFaceButton<TMachine>::PaintBehind(TBitmap& Buffer) {
    if constexpr (std::is_base_of_v<TWinControl, TMachine>)
        PaintParentBackground(*this, Buffer.Canvas().Handle());
    else
        CopyWhatLiesBehind(*this, Buffer);
}

template <class TMachine> void TFlatFaceButton<TMachine>::PaintBackground(TBitmap& Buffer) {
    FColors.Face = this->Color();
    const TFlatButtonLook Look{this->State(), this->MouseInControl(), FMode, DefaultBorder()};
    TColor Unused = 0;
    if (!FlatButtonFace(FColors, Look, Unused))
        PaintBehind(Buffer);
    PaintFlatButtonFrame(Buffer.Canvas(), TRect(0, 0, Buffer.Width(), Buffer.Height()), FColors,
                         Look);
}

template <class TMachine>
void TFlatFaceButton<TMachine>::PaintGlyphCell(TBitmap& Buffer, TBitmap& Cell, TPoint Pos) {
    DrawMaskedGlyph(Buffer.Canvas(), Cell, Pos, GlyphMaskColor(*this, Cell));
}

template class TFlatFaceButton<TWinPushButton>;
template class TFlatFaceButton<TGraphicPushButton>;

// ------------------------------------------------------------ TFlatButton

TFlatButton::TFlatButton(TComponent* AOwner) : TFlatFaceButton(AOwner) {
    SetTabStop(false);
}

void TFlatButton::WndProc(TMessage& Message) {
    TFlatFaceButton::WndProc(Message);
    // A see-through face shows what lies behind: that changes with the place.
    if ((Message.Msg == WM_MOVE || Message.Msg == WM_SIZE) && TransparentMode() != tmNone)
        Invalidate();
}
