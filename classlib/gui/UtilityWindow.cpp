#include "classlib/gui/UtilityWindow.h"

#include <utility>

TUtilityWindow::TUtilityWindow(TCallback Callback) : FCallback(std::move(Callback)) {
    TCreateParams Params;
    Params.WinClassName = L"TUtilityWindow";
    Params.WindowClassStyle = 0;
    RegisterWindowClass(Params, &ObjectWndProc<TUtilityWindow>);
    if (!CreateWindowExW(WS_EX_TOOLWINDOW, Params.WinClassName.c_str(), L"", WS_POPUP, 0, 0, 0, 0,
                         nullptr, nullptr, GetModuleHandleW(nullptr), this))
        RaiseLastOSError();
}

TUtilityWindow::~TUtilityWindow() {
    // Unbound first: nothing sent while the window goes may reach a half-destroyed object.
    const HWND Wnd = std::exchange(FHandle, nullptr);
    if (Wnd) {
        SetWindowLongPtrW(Wnd, GWLP_USERDATA, 0);
        DestroyWindow(Wnd);
    }
}

void TUtilityWindow::WindowProc(TMessage& Message) {
    if (FCallback && FCallback(Message))
        return;
    Message.Result = DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
}
