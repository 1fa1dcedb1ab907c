// Timers and other extended controls.
#pragma once

#include "classlib/gui/Controls.h"

// Calls OnTimer every Interval milliseconds while Enabled, on the thread that made it, through
// its message loop. It needs no owner and no window. Changing Interval or Enabled starts the
// count again. A timer may be deleted by its own OnTimer.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* Owner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    UINT Interval() const { return FInterval; }
    // 0 stops the timer as Enabled = false would.
    void SetInterval(UINT Value);

    TNotifyEvent OnTimer;

protected:
    // One tick: runs OnTimer.
    virtual void Timer();

private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR Id, DWORD);
    void Restart();
    void Kill();

    bool FEnabled = true;
    UINT FInterval = 1000;
    UINT_PTR FId = 0;
};

// ------------------------------------------------------------------ TImage

// Shows a picture, painted by its parent: at the top-left corner, centred (Center) or stretched
// over the whole control (Stretch). A Transparent image leaves out the picture's transparent
// colour, so that what lies behind shows through; with AutoSize the control takes the
// picture's size whenever the picture changes.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);

    TPicture& Picture() { return FPicture; }
    void SetPicture(const TPicture& Value) { FPicture.Assign(Value); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

protected:
    void Paint() override;

private:
    void PictureChanged();
    // Where the picture goes in the client area.
    TRect DestRect();

    TPicture FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FTransparent = false;
    bool FAutoSize = false;
};
