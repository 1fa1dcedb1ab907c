#include "classlib/gui/ExtCtrls.h"

#include <map>

namespace {

// Thread timers carry no object: the id leads back to the timer.
std::map<UINT_PTR, TTimer*>& LiveTimers() {
    static std::map<UINT_PTR, TTimer*> Timers;
    return Timers;
}

} // namespace

TTimer::TTimer(TComponent* Owner) : TComponent(Owner) {
    Restart();
}

TTimer::~TTimer() {
    Kill();
}

void TTimer::SetEnabled(bool Value) {
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    Restart();
}

void TTimer::SetInterval(UINT Value) {
    if (FInterval == Value)
        return;
    FInterval = Value;
    Restart();
}

void TTimer::Restart() {
    Kill();
    if (!FEnabled || FInterval == 0)
        return;
    FId = SetTimer(nullptr, 0, FInterval, &TTimer::TimerProc);
    if (FId)
        LiveTimers()[FId] = this;
}

void TTimer::Kill() {
    if (!FId)
        return;
    KillTimer(nullptr, FId);
    LiveTimers().erase(FId);
    FId = 0;
}

void TTimer::Timer() {
    // A copy: the handler may delete the timer, and with it OnTimer, while it runs.
    const TNotifyEvent Handler = OnTimer;
    if (Handler)
        Handler(this);
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR Id, DWORD) {
    const auto Found = LiveTimers().find(Id);
    if (Found == LiveTimers().end())
        return;
    TTimer* Ticking = Found->second;
    // Exceptions stop here: they must not cross the system's call.
    try {
        Ticking->Timer();
    } catch (...) {
        const auto Still = LiveTimers().find(Id);
        HandleCurrentException(Still != LiveTimers().end() ? Still->second : nullptr);
    }
}
