// A text link: a label that takes another colour under the mouse and while pressed, and opens
// its URL (when it has one) on a left click.
#pragma once

#include "classlib/gui/StdCtrls.h"

#include <functional>

class THyperLabel : public TCustomLabel {
public:
    explicit THyperLabel(TComponent* AOwner);

    TColor HyperColour = clBlue;
    TColor PressedColour = clRed;
    String URL;

    bool Hot() const { return FHot; }

    // How an address is opened: the shell's "open" verb in a normally shown window. Tests
    // put their own here.
    static std::function<void(const String& URL)> OpenURL;

protected:
    void WndProc(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TColor FSavedColour;
    bool FHot = false;
    bool FPressed = false;
};
