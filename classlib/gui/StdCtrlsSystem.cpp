#include "classlib/gui/StdCtrls.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR SubclassId = 1;

// Child windows of system classes carry an ID, which is how WM_MEASUREITEM names its sender.
UINT NextControlId() {
    static UINT Last = 0x100;
    Last = Last >= 0xFFF0 ? 0x100 : Last + 1;
    return Last;
}

} // namespace

TSystemControl::TSystemControl(TComponent* AOwner) : TWinControl(AOwner) {
    // The system window captures the mouse itself.
    ControlStyle.Exclude(csCaptureMouse);
}

TSystemControl::~TSystemControl() {
    // Here, while the object is whole, so that the subclass goes before the window does.
    DestroyHandle();
}

HWND TSystemControl::CreateWindowHandle(const TCreateParams& Params, HWND ParentWnd) {
    const auto Id = (Params.Style & WS_CHILD)
                        ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(NextControlId()))
                        : nullptr;
    const HWND Wnd = CreateWindowExW(
        Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style, Params.X,
        Params.Y, Params.Width, Params.Height, ParentWnd, Id, GetModuleHandleW(nullptr), nullptr);
    if (!Wnd)
        RaiseLastOSError();
    // The same binding as the library's own windows: the object in GWLP_USERDATA.
    SetWindowLongPtrW(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (!SetWindowSubclass(Wnd, &SubclassProc, SubclassId, 0)) {
        DestroyWindow(Wnd);
        RaiseLastOSError();
    }
    return Wnd;
}

void TSystemControl::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
}

void TSystemControl::DestroyWindowHandle(HWND Wnd) {
    RemoveWindowSubclass(Wnd, &SubclassProc, SubclassId);
    DestroyWindow(Wnd);
}

LRESULT CALLBACK TSystemControl::SubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam,
                                              UINT_PTR Id, DWORD_PTR) {
    if (Msg == WM_NCDESTROY) // the window goes without the object having let it go first
        RemoveWindowSubclass(Wnd, &SubclassProc, Id);
    if (!GetWindowLongPtrW(Wnd, GWLP_USERDATA)) // the object has left the window
        return DefSubclassProc(Wnd, Msg, WParam, LParam);
    return ObjectWndProc<TWinControl>(Wnd, Msg, WParam, LParam);
}

void TSystemControl::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
    case WM_ERASEBKGND:
        DefaultHandler(Message); // the system paints its own controls
        return;
    case WM_MOUSELEAVE:
        TWinControl::WndProc(Message);
        DefaultHandler(Message); // hot tracking of the system's own
        return;
    default:
        TWinControl::WndProc(Message);
        return;
    }
}

void TSystemControl::DefaultHandler(TMessage& Message) {
    if (Message.Msg >= CM_BASE && Message.Msg < CM_BASE + 0x1000)
        return;
    // On along the subclass chain: a subclass made before ours (or a procedure set before our
    // subclass) still sees the message, and the class's own procedure comes last.
    if (HandleAllocated())
        Message.Result = DefSubclassProc(Handle(), Message.Msg, Message.WParam, Message.LParam);
}

void TSystemControl::FontChanged() {
    TWinControl::FontChanged();
    if (HandleAllocated())
        SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
}

void TSystemControl::ColorChanged() {
    TWinControl::ColorChanged();
    if (HandleAllocated())
        InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT TSystemControl::ControlColors(HDC DC) {
    SetTextColor(DC, ColorToRGB(Font().Color()));
    SetBkColor(DC, ColorToRGB(Color()));
    return reinterpret_cast<LRESULT>(Brush().Handle());
}

String TSystemControl::WindowText(HWND Wnd) {
    String Text(static_cast<size_t>(GetWindowTextLengthW(Wnd)) + 1, L'\0');
    Text.resize(
        static_cast<size_t>(GetWindowTextW(Wnd, Text.data(), static_cast<int>(Text.size()))));
    return Text;
}
