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

// ------------------------------------------------------- the library's own messages

// Sent by the library to a control through its WindowProc (Perform), so that a control, or a
// hook put in its WindowProc, sees each change the way it sees window messages.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;     // the form became the active window
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;   // ... and stopped being it
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;   // WParam: a character; Result 1 when taken (IsAccel)
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7; // to the form; LParam: the control focused
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;  // the parent's font changed (or a new parent)
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9; // the parent's colour changed (or a new parent)
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24; // WParam: group index; LParam: the button
constexpr UINT CM_ENTER = CM_BASE + 26;         // the control, or one inside it, gets the focus
constexpr UINT CM_EXIT = CM_BASE + 27;          // ... and loses it
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36; // the system colours changed (from the form)
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
// The control held the mouse capture and lost it to something other than its own letting go:
// another window took it, the system cancelled it (a modal window opening), or the control was
// disabled or taken from its parent. Whatever a press or a drag left running is given up.
constexpr UINT CM_CAPTURELOST = CM_BASE + 41;
// The control's window was made (every kind: the library's and the system's classes), and is
// about to be destroyed while the object still holds it (however it goes: with the object,
// made again, or with its parent's window).
constexpr UINT CM_WNDCREATED = CM_BASE + 42;
constexpr UINT CM_WNDDESTROYING = CM_BASE + 43;
// To the form, then to its controls until one takes it (Result 1): WParam a key the focused
// control does not want (VK_TAB, VK_RETURN, VK_ESCAPE).
constexpr UINT CM_DIALOGKEY = CM_BASE + 0x60;
// To a control before its hint shows; LParam: the THintInfo, which it may change. Result
// non-zero: no hint.
constexpr UINT CM_HINTSHOW = CM_BASE + 0x61;
// To the application window, where its hooks see them first; a hook's non-zero answer keeps
// the message from going further. CM_APPKEYDOWN: a key press the loop took from the queue
// (WParam, LParam: those of the WM_KEYDOWN / WM_SYSKEYDOWN). CM_APPSYSCOMMAND: a form got
// WM_SYSCOMMAND (LParam: its TMessage).
constexpr UINT CM_APPKEYDOWN = CM_BASE + 0x62;
constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 0x63;
// To a control a drag is over: WParam a TDragMessage, LParam a TDragRec*; Result non-zero for
// enter and move when it would take the drop.
constexpr UINT CM_DRAG = CM_BASE + 0x64;

// Notifications a parent window got from a child window, handed back to the child's object as
// CN_BASE + the message: WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM, WM_MEASUREITEM. For
// the colour messages a zero Result leaves the answer to the system.
constexpr UINT CN_BASE = CM_BASE + 0xC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

// ------------------------------------------------------------ decoded messages

// WM_MOUSEMOVE, WM_xBUTTONDOWN/UP/DBLCLK -> MouseDown/MouseMove/MouseUp; coordinates are the
// receiving control's client coordinates.
struct TWMMouse {
    UINT Keys; // MK_*
    int X;
    int Y;
    explicit TWMMouse(const TMessage& M)
        : Keys(static_cast<UINT>(M.WParam)), X(static_cast<short>(LOWORD(M.LParam))),
          Y(static_cast<short>(HIWORD(M.LParam))) {}
};

// WM_KEYDOWN / WM_KEYUP / WM_SYSKEYDOWN / WM_SYSKEYUP / WM_CHAR
struct TWMKey {
    WORD CharCode; // a virtual key, or the character for WM_CHAR
    LPARAM KeyData;
    explicit TWMKey(const TMessage& M) : CharCode(static_cast<WORD>(M.WParam)), KeyData(M.LParam) {}
};

// WM_SETCURSOR -> WMSetCursor
struct TWMSetCursor {
    HWND CursorWnd;
    WORD HitTest;
    WORD MouseMsg;
    explicit TWMSetCursor(const TMessage& M)
        : CursorWnd(reinterpret_cast<HWND>(M.WParam)), HitTest(LOWORD(M.LParam)),
          MouseMsg(HIWORD(M.LParam)) {}
};

// WM_MOUSEWHEEL -> DoMouseWheel; the position is on the screen.
struct TWMMouseWheel {
    UINT Keys; // MK_*
    int WheelDelta;
    int X;
    int Y;
    explicit TWMMouseWheel(const TMessage& M)
        : Keys(GET_KEYSTATE_WPARAM(M.WParam)), WheelDelta(GET_WHEEL_DELTA_WPARAM(M.WParam)),
          X(static_cast<short>(LOWORD(M.LParam))), Y(static_cast<short>(HIWORD(M.LParam))) {}
};

// WM_CONTEXTMENU -> WMContextMenu; the position is on the screen. A request from the keyboard
// has no position: both coordinates are -1, however the caller widened them into LParam.
struct TWMContextMenu {
    HWND Wnd; // the window the click was in
    int X;
    int Y;
    explicit TWMContextMenu(const TMessage& M)
        : Wnd(reinterpret_cast<HWND>(M.WParam)), X(static_cast<short>(LOWORD(M.LParam))),
          Y(static_cast<short>(HIWORD(M.LParam))) {}
    bool FromKeyboard() const { return X == -1 && Y == -1; }
};
