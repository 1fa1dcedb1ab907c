// The hint window: the small topmost box the application shows a control's hint in.
#pragma once

#include "classlib/gui/Controls.h"

// A window that shows a hint text near the mouse, on top of every other window but without
// taking the activation from the one the user works in. A hint is a UTF-16 text that may hold
// zero units: the window shows what comes before the first one, and the whole text stays in
// Caption. A derived class may change its look (CreateParams, CreateWnd, Paint), for example
// make it layered.
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);

    // The rectangle (at 0, 0) that shows Hint wrapped at MaxWidth; Data as ActivateHint got it.
    virtual TRect CalcHintRect(int MaxWidth, const String& Hint, void* Data);
    // Shows Hint in Rect (screen coordinates), moved onto the screen where it would stand out.
    virtual void ActivateHint(TRect Rect, const String& Hint);
    // Hides the window; the next ActivateHint shows it again.
    void ReleaseHandle();

protected:
    void CreateParams(TCreateParams& Params) const override;
    void WndProc(TMessage& Message) override;
    void VisibleChanged() override;
    void Paint() override;
};

// The part of a hint before the first '|' (all of it without one), and the part after it.
String GetShortHint(const String& Hint);
String GetLongHint(const String& Hint);
// What a hint shows: the text before its first zero unit.
String VisibleHintText(const String& Hint);
