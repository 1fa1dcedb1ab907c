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

namespace ModalTest {
inline void CALLBACK DeadlineExpired(HWND Wnd, UINT, UINT_PTR Id, DWORD) {
    KillTimer(Wnd, Id);
    if (auto* Window = dynamic_cast<TForm*>(FindControl(Wnd)); Window && Window->Modal())
        Window->SetModalResult(mrAbort);
}
} // namespace ModalTest

// Ends Window's modal loop with mrAbort once Milliseconds have passed, so that a key or click
// the window ignores fails the test instead of hanging it. The timer goes with the window.
inline void EndModalAfter(TForm& Window, UINT Milliseconds) {
    SetTimer(Window.Handle(), 0x7E57, Milliseconds, &ModalTest::DeadlineExpired);
}

// Once Window shows, presses Key where the keyboard's focus is (the window when nothing inside it
// has it), as the user does.
inline void PressWhenShown(TForm& Window, WORD Key) {
    ModalTest::PendingAction() = [&Window, Key] {
        if (!Window.HandleAllocated() || !IsWindowVisible(Window.Handle()))
            return false;
        const HWND Focus = GetFocus();
        const HWND Target = Focus && (Focus == Window.Handle() || IsChild(Window.Handle(), Focus))
                                ? Focus
                                : Window.Handle();
        PostMessageW(Target, WM_KEYDOWN, Key, 1);
        PostMessageW(Target, WM_KEYUP, Key, 1 | (3u << 30));
        return true;
    };
    SetTimer(nullptr, 0, 20, ModalTest::RunPending);
}
