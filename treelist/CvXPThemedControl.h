// The base of the tree-list's windowed parts (header, scroll bar, tree): holds a visual-style
// theme for its window when asked to and draws its border in that style.
#pragma once

#include "classlib/gui/Controls.h"
#include "treelist/CvUxTheme.h"

// The bevel drawn around the client area, in the system's edge terms.
struct TCvThemedBevel {
    enum class TCut { None, Lowered, Raised, Space };
    enum class TKind { None, Tile, Soft, Flat };
    TKind Kind = TKind::None;
    TCut Inner = TCut::Raised;
    TCut Outer = TCut::Lowered;
    UINT Edges = BF_RECT; // BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM
    int Width = 1;
};

// What the themed border is drawn with: the edge's style and flags and the rectangle it takes,
// from the client rectangle in window coordinates.
struct TCvThemedFrame {
    TRect Outer;   // where the edge goes
    TRect Content; // the background's rectangle before the edge narrows it
    UINT Edge = 0;
    UINT Flags = 0;
    bool HasEdge = false;
};
TCvThemedFrame ThemedFrameOf(const TRect& ClientInWindow, int BorderWidth,
                             const TCvThemedBevel& Bevel, bool Ctl3D, bool VertScroll,
                             bool HorzScroll);

// Theme is open exactly while the window exists, UseXPThemes is on and the library is there.
class TCvXPThemedControl : public TCustomControl {
public:
    explicit TCvXPThemedControl(TComponent* AOwner);
    ~TCvXPThemedControl() override;

    bool UseXPThemes() const { return FUseXPThemes; }
    // Switching with a window present opens or closes the theme and makes the window again.
    virtual void SetUseXPThemes(bool Value);
    HTHEME Theme() const { return FTheme; }
    bool IsThemeApplied() const { return FUseXPThemes && FTheme != nullptr; }

    TCvThemedBevel Bevel;

protected:
    // The theme class the descendant is drawn with, such as L"HEADER".
    virtual String GetThemedClassName() const = 0;
    virtual void FreeThemeHandle();
    virtual void CreateThemeHandle();

    void WndProc(TMessage& Message) override;

private:
    void WMNCPaint(TMessage& Message);
    void WMThemeChanged(TMessage& Message);

    bool FUseXPThemes = true;
    HTHEME FTheme = nullptr;
};
