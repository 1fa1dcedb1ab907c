// Timers and other extended controls.
#pragma once

#include "classlib/rtl/Classes.h"

#include "classlib/rtl/WinApi.h"

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
