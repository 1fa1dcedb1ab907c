// Flat combo boxes: the class library's combo box with a thin frame, a narrow flat arrow button
// of its own over the system's, and its own highlight for the list styles.
#pragma once

#include "classlib/gui/StdCtrls.h"
#include "controls/FlatTypes.h"

#include <array>

// ------------------------------------------------------------------ geometry
//
// In window coordinates. A combo box has no non-client area, so its client rectangle starts at
// the window's origin and the client width is the window width.

constexpr int FlatComboArrowWidth = 11;

// The arrow button as drawn: the 11-pixel button widened by one pixel on each side, at the right
// edge, the full height of the window.
constexpr TRect FlatComboArrowRect(int ClientWidth, int WindowWidth, int WindowHeight) {
    return TRect(ClientWidth - FlatComboArrowWidth - 2, 0, WindowWidth, WindowHeight);
}

// The size of the inner edit of the editable styles: it ends short of the arrow button.
constexpr TSize FlatComboEditSize(int ClientWidth, int WindowHeight) {
    return TSize{ClientWidth - FlatComboArrowWidth - 8, WindowHeight - 6};
}

// Where the system's own arrow area begins; nothing of the system's is painted right of it.
constexpr int FlatComboSystemArrowLeft(int ClientWidth, int SystemArrowWidth) {
    return ClientWidth - SystemArrowWidth - 2;
}

// The strip of the list styles between the system's text and the arrow button.
constexpr TRect FlatComboSelectionStrip(const TRect& Client) {
    const int Right = Client.Right - 2;
    return TRect(Right - FlatComboArrowWidth - 8, Client.Top + 6, Right - FlatComboArrowWidth - 3,
                 Client.Bottom - 6);
}

// The focus frame of a focused list-style combo box: three pixels inside the client, its right
// edge short of the arrow button.
constexpr TRect FlatComboFocusFrame(const TRect& Client) {
    return TRect(Client.Left + 3, Client.Top + 3, Client.Right - 3 - FlatComboArrowWidth - 2,
                 Client.Bottom - 3);
}

// The corners of the arrow in Button (as FlatComboArrowRect gives it): pointing down, or up
// while the list is dropped down.
std::array<TPoint, 3> FlatComboArrowPoints(const TRect& Button, bool Up);

struct TFlatComboArrowColors {
    TColor Arrow;
    TColor Face;
    TColor Border;
};

// The arrow button: the face framed in the border colour and the arrow, embossed white over grey
// when not Enabled.
void PaintFlatComboArrowButton(TCanvas& Canvas, const TRect& Button, bool Up, bool Enabled,
                               const TFlatComboArrowColors& Colors);

// Whether the combo box counts as active: at design time while enabled, else while its list is
// dropped down or the focus is on it or its inner edit.
constexpr bool FlatComboActive(bool Designing, bool Enabled, bool DroppedDown, bool FocusInside) {
    return Designing ? Enabled : DroppedDown || FocusInside;
}

// -------------------------------------------------------------------- control

class TFlatComboBox : public TCustomComboBox {
public:
    explicit TFlatComboBox(TComponent* AOwner);

    enum TColorIndex { ciArrow, ciArrowBackground, ciBorder };
    TColor FlatColor(TColorIndex Index) const { return FColors[Index]; }
    // Stores the colour and repaints.
    void SetFlatColor(TColorIndex Index, TColor Value);
    TColor ColorArrow() const { return FlatColor(ciArrow); }
    void SetColorArrow(TColor Value) { SetFlatColor(ciArrow, Value); }
    TColor ColorArrowBackground() const { return FlatColor(ciArrowBackground); }
    void SetColorArrowBackground(TColor Value) { SetFlatColor(ciArrowBackground, Value); }
    TColor ColorBorder() const { return FlatColor(ciBorder); }
    void SetColorBorder(TColor Value) { SetFlatColor(ciBorder, Value); }

    // ColorBorder and ColorArrowBackground darker than the parent's colour by these percentages.
    bool UseAdvColors() const { return FUseAdvColors; }
    void SetUseAdvColors(bool Value);
    int AdvColorBorder() const { return FAdvColorBorder; }
    void SetAdvColorBorder(int Value);
    int AdvColorArrowBackground() const { return FAdvColorArrowBackground; }
    void SetAdvColorArrowBackground(int Value);

    bool Active() const { return FActive; }

protected:
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    void ComboWndProc(TMessage& Message, HWND Inner) override;
    void FontChanged() override;
    void EnabledChanged() override;

private:
    bool ListStyle() const;
    TRect WindowArea();
    void RecomputeAdvColors();
    void UpdateActive(HWND FocusWnd);
    void SizeEdit();
    void InvalidateSelectionArea();
    void Notified(WORD Code);
    // The whole client into DC: our fill and arrow button, the system's text, our selection
    // area. Through is the message that asks the system for its part.
    void PaintClient(HDC DC, const TRect& Update, UINT Through);
    void PaintSelectionArea(TCanvas& Canvas);
    // The frame and the arrow button into DC, whose origin is the window's.
    void PaintFrame(HDC DC);
    void RedrawFrame();

    std::array<TColor, 3> FColors{clBlack, 0xC5D6D9, 0x8396A0};
    bool FUseAdvColors = false;
    int FAdvColorBorder = 50;
    int FAdvColorArrowBackground = 10;
    const int FSystemArrowWidth;
    bool FActive = false;
};
