#include "controls/FlatButton.h"

#include <algorithm>

namespace {
THoverGroup FlatButtonHover(100);
} // namespace

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

void DrawMaskedGlyph(TCanvas& Canvas, TBitmap& Cell, TPoint Pos, TColor Mask) {
    Cell.Transparent = true;
    Cell.SetTransparentColor(Mask);
    Canvas.Draw(Pos.X, Pos.Y, Cell);
}

TFlatButton::TFlatButton(TComponent* AOwner) : TWinPushButton(AOwner, FlatButtonHover) {
    SetBounds(Left(), Top(), 25, 25);
    SetLayout(blGlyphTop);
    SetColor(FColors.Face);
    SetTabStop(false);
}

void TFlatButton::SetFlatColor(TFlatButtonColor Index, TColor Value) {
    FColors.Indexed[Index] = Value;
    Invalidate();
}

void TFlatButton::SetUseAdvColors(bool Value) {
    FAdv.Use = Value;
    SetParentColor(Value);
    RecomputeColors();
}

void TFlatButton::SetAdvColors(int Focused, int Down, int Border) {
    FAdv.Focused = std::clamp(Focused, 0, 100);
    FAdv.Down = std::clamp(Down, 0, 100);
    FAdv.Border = std::clamp(Border, 0, 100);
    RecomputeColors();
}

void TFlatButton::RecomputeColors() {
    TFlatColorSet Derived{FColors[fbcFocused], FColors[fbcDown], FColors[fbcBorder]};
    RecomputeAdvColors(Color(), FAdv, Derived);
    FColors.Indexed[fbcFocused] = Derived.Focused;
    FColors.Indexed[fbcDown] = Derived.Down;
    FColors.Indexed[fbcBorder] = Derived.Border;
    Invalidate();
}

void TFlatButton::SetTransparentMode(TTransparentMode Value) {
    FMode = Value;
    Invalidate();
}

void TFlatButton::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case CM_SYSCOLORCHANGE:
    case CM_PARENTCOLORCHANGED:
        TWinPushButton::WndProc(Message);
        if (FAdv.Use)
            RecomputeColors();
        return;
    case WM_MOVE:
    case WM_SIZE:
        // A see-through face shows what lies behind: that changes with the place.
        TWinPushButton::WndProc(Message);
        if (FMode != tmNone)
            Invalidate();
        return;
    default:
        TWinPushButton::WndProc(Message);
    }
}

void TFlatButton::PaintBackground(TBitmap& Buffer) {
    FColors.Face = Color();
    const TFlatButtonLook Look{State(), MouseInControl(), FMode, Default()};
    TColor Unused = 0;
    if (!FlatButtonFace(FColors, Look, Unused))
        PaintParentBackground(*this, Buffer.Canvas().Handle());
    PaintFlatButtonFrame(Buffer.Canvas(), TRect(0, 0, Buffer.Width(), Buffer.Height()), FColors,
                         Look);
}

void TFlatButton::PaintGlyphCell(TBitmap& Buffer, TBitmap& Cell, TPoint Pos) {
    // The glyph's bottom-left pixel is its background; a greyed cell has its own.
    const bool Greyed = State() == bsDisabled && NumGlyphs() == 1;
    const TColor Mask = Greyed ? Cell.Canvas().Pixel(0, Cell.Height() - 1)
                               : Glyph().Canvas().Pixel(0, Glyph().Height() - 1);
    DrawMaskedGlyph(Buffer.Canvas(), Cell, Pos, Mask);
}
