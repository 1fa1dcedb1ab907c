// A hidden window whose messages go to a callback: for timers, tray icons and system broadcasts
// that need a window but no control.
#pragma once

#include "classlib/gui/Controls.h"

#include <functional>

// The window is top-level (hidden, zero-sized), not message-only, so that broadcasts such as
// "TaskbarCreated" reach it. The callback sees every message; it returns true when it handled
// the message (and set Result), false to leave it to the system's default. Exceptions from the
// callback stop at the window procedure and go to the application.
class TUtilityWindow : public TObject {
public:
    using TCallback = std::function<bool(TMessage& Message)>;

    explicit TUtilityWindow(TCallback Callback);
    ~TUtilityWindow() override;
    TUtilityWindow(const TUtilityWindow&) = delete;
    TUtilityWindow& operator=(const TUtilityWindow&) = delete;

    HWND Handle() const { return FHandle; }

private:
    template <class TTarget> friend LRESULT CALLBACK ObjectWndProc(HWND, UINT, WPARAM, LPARAM);
    void WindowProc(TMessage& Message);

    TCallback FCallback;
    HWND FHandle = nullptr;
};
