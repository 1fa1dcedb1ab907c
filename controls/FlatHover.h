// The hot (hover) state of the flat controls: one timer per control class watches the one
// control of that class the mouse is over and ends its hot state once the mouse has left.
#pragma once

#include "classlib/gui/Controls.h"
#include "classlib/gui/ExtCtrls.h"

#include <memory>

// A control that takes part in a class's hover tracking.
class IHoverClient {
public:
    virtual TControl& HoverControl() = 0;
    // Becomes hot, when it can.
    virtual void EnterHot() = 0;
    // Stops being hot, when it can (not while its mouse button is held).
    virtual void LeaveHot() = 0;

protected:
    ~IHoverClient() = default;
};

// The hover state of one control class: its timer (made with the first instance, freed with the
// last), the instance that is hot through it, and the count of instances.
class THoverGroup {
public:
    explicit THoverGroup(UINT Interval) : FInterval(Interval) {}
    THoverGroup(const THoverGroup&) = delete;
    THoverGroup& operator=(const THoverGroup&) = delete;

    // An instance is made: the first one makes the timer, disabled.
    void AddInstance();
    // An instance goes: it lets the timer go first; the last one frees it.
    void RemoveInstance(IHoverClient& Client);

    // The mouse moved over Client's control (after the control's own handling): when the control
    // under the cursor is Client's and it is not hot yet, the previous hot control leaves, and
    // with an active window Client becomes the hot control and the timer watches it.
    void MouseMoved(IHoverClient& Client);
    // When Client is the hot control: stops the timer and forgets it.
    void Release(IHoverClient& Client);

    IHoverClient* HotControl() const { return FHot; }
    int InstanceCount() const { return FInstances; }
    bool TimerRunning() const { return FTimer && FTimer->Enabled(); }
    // One tick of the timer: the hot control leaves when the cursor is no longer over it.
    void Tick();

private:
    UINT FInterval;
    std::unique_ptr<TTimer> FTimer;
    IHoverClient* FHot = nullptr;
    int FInstances = 0;
};

// The control under the cursor, disabled ones included: what the hover rules compare with.
TControl* ControlUnderCursor();
