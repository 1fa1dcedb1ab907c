// Flat splitter: a bar beside an aligned control; dragging it shows an inverted bar on the
// parent and, at the release, resizes that control.
#pragma once

#include "classlib/gui/Controls.h"
#include "controls/FlatTypes.h"

#include <optional>

class TFlatSplitter : public TGraphicControl {
public:
    explicit TFlatSplitter(TComponent* AOwner);
    ~TFlatSplitter() override;

    TColor ColorFocused() const { return FColorFocused; }
    void SetColorFocused(TColor Value);
    TColor ColorBorder() const { return FColorBorder; }
    void SetColorBorder(TColor Value);
    bool UseAdvColors() const { return FAdv.Use; }
    void SetUseAdvColors(bool Value);
    void SetAdvColors(int Focused, int Border);

    // The smallest size the resized control keeps; at least 1.
    int MinSize() const { return FMinSize; }
    void SetMinSize(int Value);

    // The control a drag resizes, while one runs.
    TControl* Target() const { return FTarget; }
    bool Hot() const { return FHot; }
    // After every drag, applied, or given up with Escape or a lost mouse capture.
    TNotifyEvent OnMoved;

protected:
    void Paint() override;
    void WndProc(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CaptureLost() override;

private:
    TControl* FindTarget() const;
    int LargestSize() const;
    // The distance along the axis from the press point, and the size it gives, clamped.
    void CalcSplitSize(int X, int Y);
    void ToggleBar();
    void ApplySize();
    void StopSizing();
    void RecomputeColors();
    void HookKeys();
    void UnhookKeys();

    TColor FColorFocused = TColor(0x53D2FF);
    TColor FColorBorder = TColor(0x555E66);
    TAdvColors FAdv{false, 0, 0, 0};
    int FMinSize = 30;
    bool FHot = false;

    TControl* FTarget = nullptr;
    std::optional<TAliveToken> FTargetAlive;
    TPoint FDownPos;
    int FSplit = 0;
    int FNewSize = 0;
    int FMaxSize = 0;
    THeldDC FBarDC;
    bool FBarShown = false;
    TWinControl* FHooked = nullptr;
    std::optional<TAliveToken> FHookedAlive;
    TKeyEvent FSavedKeyDown;
};
