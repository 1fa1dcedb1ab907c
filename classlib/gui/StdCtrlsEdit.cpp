#include "classlib/gui/StdCtrls.h"

namespace {

String InCase(String Text, TEditCharCase Case) {
    if (Case == ecUpperCase)
        CharUpperBuffW(Text.data(), static_cast<DWORD>(Text.size()));
    else if (Case == ecLowerCase)
        CharLowerBuffW(Text.data(), static_cast<DWORD>(Text.size()));
    return Text;
}

} // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner) : TSystemControl(AOwner) {
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetCtl3D(true);
    SetColor(clWindow);
    AdjustHeight();
}

void TCustomEdit::CreateParams(TCreateParams& Params) const {
    TSystemControl::CreateParams(Params);
    Params.WinClassName = L"EDIT";
    Params.Style |= ES_AUTOHSCROLL | ES_LEFT;
    if (!Ctl3D())
        Params.Style |= WS_BORDER;
    if (FPasswordChar)
        Params.Style |= ES_PASSWORD;
    if (FReadOnly)
        Params.Style |= ES_READONLY;
    if (FCharCase == ecUpperCase)
        Params.Style |= ES_UPPERCASE;
    else if (FCharCase == ecLowerCase)
        Params.Style |= ES_LOWERCASE;
    if (!FHideSelection)
        Params.Style |= ES_NOHIDESEL;
}

void TCustomEdit::CreateWnd() {
    TSystemControl::CreateWnd();
    const HWND Wnd = Handle();
    SendMessageW(Wnd, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
    if (FPasswordChar)
        SendMessageW(Wnd, EM_SETPASSWORDCHAR, FPasswordChar, 0);
}

void TCustomEdit::SetMaxLength(int Value) {
    FMaxLength = std::max(0, Value);
    if (HandleAllocated())
        SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::SetPasswordChar(wchar_t Value) {
    if (FPasswordChar == Value)
        return;
    FPasswordChar = Value;
    RecreateWnd(); // the password style is taken only at creation
}

void TCustomEdit::SetReadOnly(bool Value) {
    FReadOnly = Value;
    if (HandleAllocated())
        SendMessageW(Handle(), EM_SETREADONLY, Value, 0);
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
    if (FCharCase == Value)
        return;
    FCharCase = Value;
    SetText(InCase(Text(), Value));
    RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool Value) {
    if (FHideSelection == Value)
        return;
    FHideSelection = Value;
    RecreateWnd();
}

void TCustomEdit::SetAutoSize(bool Value) {
    if (FAutoSize == Value)
        return;
    FAutoSize = Value;
    AdjustHeight();
}

void TCustomEdit::AdjustHeight() {
    if (!FAutoSize)
        return;
    const TClientDC Screen(nullptr);
    const TSelectObject Selected(Screen.Handle(), Font().Handle());
    TEXTMETRICW Metrics{};
    GetTextMetricsW(Screen.Handle(), &Metrics);
    // The frame on both sides and a line of space above and below the text.
    const int Frame = Ctl3D() ? GetSystemMetrics(SM_CYEDGE) : GetSystemMetrics(SM_CYBORDER);
    SetHeight(Metrics.tmHeight + 4 * Frame);
}

void TCustomEdit::FontChanged() {
    TSystemControl::FontChanged();
    AdjustHeight();
}

void TCustomEdit::SelectAll() {
    if (HandleAllocated())
        SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

int TCustomEdit::SelStart() {
    DWORD Start = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), 0);
    return static_cast<int>(Start);
}

void TCustomEdit::SetSelStart(int Value) {
    SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(Value), Value);
}

int TCustomEdit::SelLength() {
    DWORD Start = 0;
    DWORD End = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start),
                 reinterpret_cast<LPARAM>(&End));
    return static_cast<int>(End - Start);
}

void TCustomEdit::SetSelLength(int Value) {
    const int Start = SelStart();
    SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(Start), Start + Value);
}

void TCustomEdit::Change() {
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case CN_COMMAND:
        if (HIWORD(Message.WParam) == EN_CHANGE) {
            StoreCaption(WindowText(Handle()));
            Change();
        }
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
        Message.Result = ControlColors(reinterpret_cast<HDC>(Message.WParam));
        return;
    case WM_GETDLGCODE:
        // The forms handle their own dialog keys. Asked with a key message, the system's
        // multi-line edit would turn into a dialog's edit and close its parent window on Escape.
        Message.LParam = 0;
        break;
    case CM_ENTER:
        // Not for a click: the click places the caret itself.
        if (AutoSelect && GetKeyState(VK_LBUTTON) >= 0)
            SelectAll();
        break;
    default:
        break;
    }
    TSystemControl::WndProc(Message);
}

// ------------------------------------------------------------ TCustomMaskEdit

void TCustomMaskEdit::ValidateEdit() {
    if (OnValidate)
        OnValidate(this);
}

void TCustomMaskEdit::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETFOCUS:
        WMSetFocus(Message);
        return;
    case CM_EXIT:
        TCustomEdit::WndProc(Message);
        ValidateEdit();
        return;
    default:
        TCustomEdit::WndProc(Message);
        return;
    }
}

void TCustomMaskEdit::WMSetFocus(TMessage& Message) {
    TCustomEdit::WndProc(Message);
    if (!EditMask.empty())
        SelectAll();
}
