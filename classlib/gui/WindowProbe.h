// Driving a program from outside by names, as a test does: one registered message, answered by
// every form, tells where a named control is or which command a named menu item sends. It only
// reads; the caller clicks or posts the command itself, with ordinary messages.
#pragma once

#include "classlib/gui/Graphics.h"
#include "classlib/gui/Messages.h"
#include "classlib/rtl/SysUtils.h"

class TComponent;
class TForm;

// The message, the same number in every process of the session.
// WParam: a TProbeQuery; LParam: a global atom holding the question's text (see below), which the
// caller adds and deletes. Result: 0 when nothing answers, else ProbeFound(...).
inline UINT ProbeMessage() {
    static const UINT Message = RegisterWindowMessageW(L"SystemCorvanta2.WindowProbe");
    return Message;
}

enum TProbeQuery : WPARAM {
    // Text: a control's name. Answer: the centre of its client area, in screen coordinates;
    // only while it is showing.
    pqControlCentre = 1,
    // Text: a menu item's name. Answer: its command number (a WM_COMMAND's low word).
    pqMenuCommand = 2,
    // Text: a menu item's name. Answer: the window its menu's commands go to.
    pqMenuWindow = 3,
    // Text: a list's name, ProbeRowSeparator, a row's text. Answer: the centre of that part of
    // the row, in screen coordinates; the list answers CM_PROBEROW.
    pqRowText = 4,
    pqRowCheckBox = 5,
    // Text: a control's name. Answer: 1 while it, or a window inside it, has the keyboard focus;
    // a key sent before that would land in another control.
    pqControlFocused = 6,
};

// Between a list's name and the row's text in a row question.
constexpr wchar_t ProbeRowSeparator = L'\n';

// Sent by the form to the named list for pqRowText and pqRowCheckBox. WParam: the query;
// LParam: a const TProbeRow*. Result as the probe message's. A control that does not know rows
// leaves it unanswered (0).
constexpr UINT CM_PROBEROW = CM_BASE + 0x70;
struct TProbeRow {
    String RowText;
};

// The answer packing, read by programs that do not link the library: the found flag above 32
// bits of value; a point is two signed 16-bit halves, x low.
constexpr LRESULT ProbeFoundFlag = LRESULT(1) << 32;
inline LRESULT ProbeFound(UINT Value) {
    return ProbeFoundFlag | static_cast<LRESULT>(Value);
}
inline LRESULT ProbeFoundPoint(const TPoint& ScreenPoint) {
    return ProbeFound(static_cast<UINT>(static_cast<WORD>(ScreenPoint.X)) |
                      static_cast<UINT>(static_cast<WORD>(ScreenPoint.Y)) << 16);
}
inline bool ProbeAnswered(LRESULT Result) {
    return (Result & ProbeFoundFlag) != 0;
}
inline UINT ProbeValue(LRESULT Result) {
    return static_cast<UINT>(Result & 0xFFFFFFFF);
}
inline TPoint ProbePoint(LRESULT Result) {
    const UINT Value = ProbeValue(Result);
    return TPoint{static_cast<short>(LOWORD(Value)), static_cast<short>(HIWORD(Value))};
}

// The component named Name among Owner's components and theirs, depth first; nullptr if none.
TComponent* FindNamedComponent(const TComponent& Owner, const String& Name);

// What Form answers to the probe message.
LRESULT AnswerProbe(TForm& Form, WPARAM Query, LPARAM Atom);
