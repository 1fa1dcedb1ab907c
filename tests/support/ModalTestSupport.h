// Driving a modal window from its own loop: a timer of the thread waits until the window is up
// and then acts on it, typically by posting the click that ends the loop.
#pragma once

#include "classlib/gui/Forms.h"

#include <functional>

namespace ModalTest {

inline std::function<bool()>& PendingAction() {
    static std::function<bool()> Action;
    return Action;
}

inline void CALLBACK RunPending(HWND, UINT, UINT_PTR Id, DWORD) {
    auto& Action = PendingAction();
    if (Action && Action()) {
        KillTimer(nullptr, Id);
        Action = nullptr;
    }
}

} // namespace ModalTest

// Once a visible window titled Title that is a TWindow exists, Act is done to it, once.
template <class TWindow>
void WhenWindowShown(const String& Title, std::function<void(TWindow&)> Act) {
    ModalTest::PendingAction() = [Title, Act] {
        HWND Wnd = FindWindowW(nullptr, Title.c_str());
        auto* Window = Wnd ? dynamic_cast<TWindow*>(FindControl(Wnd)) : nullptr;
        if (!Window || !IsWindowVisible(Window->Handle()))
            return false;
        Act(*Window);
        return true;
    };
    SetTimer(nullptr, 0, 20, ModalTest::RunPending);
}

// A left click at a point of Window's client area, taken in turn by the modal loop.
inline void PostClick(HWND Window, POINT At = {5, 5}) {
    PostMessageW(Window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(At.x, At.y));
    PostMessageW(Window, WM_LBUTTONUP, 0, MAKELPARAM(At.x, At.y));
}
