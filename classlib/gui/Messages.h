// Window messages as the class library passes them around: the raw record, and a decoded record
// for each message it handles. TWinControl::WndProc decodes every message once and hands the
// record to the handler named beside it.
#pragma once

#include "classlib/rtl/WinApi.h"

// A message as the window procedure received it; Result is what the procedure returns.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// WM_PRINTCLIENT -> void WMPrintClient(TWMPrintClient&)
struct TWMPrintClient {
    HDC DC;
    DWORD Flags; // PRF_*
    explicit TWMPrintClient(const TMessage& M)
        : DC(reinterpret_cast<HDC>(M.WParam)), Flags(static_cast<DWORD>(M.LParam)) {}
};

// WM_WINDOWPOSCHANGED -> void WMWindowPosChanged(TWMWindowPosChanged&)
struct TWMWindowPosChanged {
    const WINDOWPOS& WindowPos;
    explicit TWMWindowPosChanged(const TMessage& M)
        : WindowPos(*reinterpret_cast<const WINDOWPOS*>(M.LParam)) {}
};

// WM_SETTEXT, after the system stored the text -> void WMSetText(TWMSetText&)
struct TWMSetText {
    const wchar_t* Text; // may be null: no text
    explicit TWMSetText(const TMessage& M) : Text(reinterpret_cast<const wchar_t*>(M.LParam)) {}
};
