#include "controls/FlatHover.h"

#include "classlib/gui/Forms.h"

TControl* ControlUnderCursor() {
    return FindDragTarget(Screen->CursorPos(), true);
}

void THoverGroup::AddInstance() {
    if (FInstances++ == 0) {
        FTimer = std::make_unique<TTimer>(nullptr);
        FTimer->SetEnabled(false);
        FTimer->SetInterval(FInterval);
        FTimer->OnTimer = [this](TObject*) { Tick(); };
    }
}

void THoverGroup::RemoveInstance(IHoverClient& Client) {
    Release(Client);
    if (--FInstances == 0)
        FTimer.reset();
}

void THoverGroup::MouseMoved(IHoverClient& Client) {
    if (FHot == &Client || ControlUnderCursor() != &Client.HoverControl())
        return;
    if (FHot)
        FHot->LeaveHot();
    // A control of a program that is not the active one never becomes hot.
    if (!Screen->ActiveWindow())
        return;
    FTimer->SetEnabled(false);
    FHot = &Client;
    FTimer->SetEnabled(true);
    Client.EnterHot();
}

void THoverGroup::Release(IHoverClient& Client) {
    if (FHot != &Client)
        return;
    FTimer->SetEnabled(false);
    FHot = nullptr;
}

void THoverGroup::Tick() {
    if (FHot && ControlUnderCursor() != &FHot->HoverControl())
        FHot->LeaveHot();
}
