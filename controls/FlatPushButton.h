// The machine every push button of the family shares, windowed or not: pressed, latched and
// grouped states, the class-wide hot state, accelerators, and painting through an off-screen
// bitmap with a glyph cell and a centred caption. Windowed buttons add focus and Space.
#pragma once

#include "classlib/gui/Forms.h"
#include "controls/FlatHover.h"
#include "controls/FlatTypes.h"

#include <memory>

template <class TBase> class TPushButtonMachine : public TBase, public IHoverClient {
public:
    // Group is the hover state of the derived class (one per class).
    TPushButtonMachine(TComponent* AOwner, THoverGroup& Group);
    ~TPushButtonMachine() override;

    // Copies Value; a picture of whole square cells sets NumGlyphs (see NumGlyphsForGlyph).
    TBitmap& Glyph() { return FGlyph; }
    void SetGlyph(TBitmap& Value);
    TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TNumGlyphs Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    // -1 centres; values below -1 are ignored.
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);

    // Buttons of one parent with the same GroupIndex (not 0) latch one at a time.
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    // Stored only here; a windowed button tells its form, which may change its look.
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    // Given to the parent form on Click.
    TModalResult ModalResult = mrNone;

    TButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }
    bool Dragging() const { return FDragging; }
    // Where the last paint put the glyph and the caption.
    TPoint GlyphPos() const { return FGlyphPos; }
    TRect TextBounds() const { return FTextBounds; }

    // Gives the parent form the button's ModalResult, then runs OnClick.
    void Click() override;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // IHoverClient
    TControl& HoverControl() override { return *this; }
    void EnterHot() override;
    void LeaveHot() override;

protected:
    void WndProc(TMessage& Message) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void EnabledChanged() override;
    // A press cut short: the button comes up (or stays latched) without a click.
    void CaptureLost() override;
    void SetState(TButtonState Value) { FState = Value; }

    // What a paint draws first into Buffer, the off-screen picture of the client area.
    virtual void PaintBackground(TBitmap& Buffer) = 0;
    // Draws Cell (the glyph cell for the state) at Pos of Buffer.
    virtual void PaintGlyphCell(TBitmap& Buffer, TBitmap& Cell, TPoint Pos) = 0;
    // The glyph cell drawn now.
    virtual int GlyphCellNow() const { return GlyphCellIndex(FNumGlyphs, FState); }

private:
    void RecheckHot();
    void UpdateExclusive();
    void ButtonPressed(TMessage& Message);
    void DialogChar(TMessage& Message);
    std::unique_ptr<TBitmap> GlyphCell();

    THoverGroup& FHover;
    TBitmap FGlyph;
    TNumGlyphs FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    bool FDefault = false;
    TButtonState FState = bsUp;
    bool FMouseInControl = false;
    bool FDragging = false;
    TPoint FGlyphPos;
    TRect FTextBounds;
};

extern template class TPushButtonMachine<TCustomControl>;
extern template class TPushButtonMachine<TGraphicControl>;

// A push button with a window: it takes the focus on a press and is pressed with Space.
class TWinPushButton : public TPushButtonMachine<TCustomControl> {
public:
    using TPushButtonMachine<TCustomControl>::TPushButtonMachine;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
};

// A push button without a window, painted on its parent.
using TGraphicPushButton = TPushButtonMachine<TGraphicControl>;
