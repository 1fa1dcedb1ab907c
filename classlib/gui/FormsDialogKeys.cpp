// The form's dialog keys. The system's dialog manager is not used: it would hand Enter and Tab
// to every multi-line edit and knows nothing of windowless controls.
#include "classlib/gui/Forms.h"

namespace {

bool IsNavigationKey(WORD Key) {
    return Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE;
}

// Whether the control takes Key itself, as it answers WM_GETDLGCODE for that key press. Only
// DLGC_WANTTAB keeps Tab: a multi-line edit wants "all keys" but still lets Tab leave it.
bool WantsKey(TWinControl& Control, WORD Key) {
    MSG Press{Control.Handle(), WM_KEYDOWN, Key, 0, 0, {0, 0}};
    const LRESULT Code = Control.Perform(WM_GETDLGCODE, Key, reinterpret_cast<LPARAM>(&Press));
    return (Code & (Key == VK_TAB ? DLGC_WANTTAB : DLGC_WANTALLKEYS)) != 0;
}

bool WantsChars(TWinControl& Control) {
    return (Control.Perform(WM_GETDLGCODE) & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) != 0;
}

// Sends the message to every control inside Parent, depth first, until one answers non-zero.
LRESULT SendToControls(TWinControl& Parent, UINT Msg, WPARAM WParam) {
    for (int I = 0; I < Parent.ControlCount(); ++I) {
        TControl* Control = Parent.Controls(I);
        if (const LRESULT Result = Control->Perform(Msg, WParam))
            return Result;
        if (auto* Windowed = dynamic_cast<TWinControl*>(Control))
            if (const LRESULT Result = SendToControls(*Windowed, Msg, WParam))
                return Result;
    }
    return 0;
}

} // namespace

bool TForm::DialogKey(TWinControl& Source, UINT Msg, WORD Key) {
    const bool Alt = GetKeyState(VK_MENU) < 0;
    switch (Msg) {
    case WM_KEYDOWN:
        if (!IsNavigationKey(Key) || Alt || WantsKey(Source, Key))
            return false;
        Perform(CM_DIALOGKEY, Key);
        return true; // used or not, the key was the form's
    case WM_CHAR:
        // The character of a key the form took goes nowhere (a single-line edit would beep).
        if (IsNavigationKey(Key))
            return !WantsKey(Source, Key);
        if (Key < L' ' || WantsChars(Source))
            return false;
        return Perform(CM_DIALOGCHAR, Key) != 0;
    case WM_SYSCHAR:
        return Perform(CM_DIALOGCHAR, Key) != 0;
    default:
        return false;
    }
}

LRESULT TForm::DefaultDialogKey(UINT Msg, WORD Key) {
    if (Msg == CM_DIALOGKEY && Key == VK_TAB) {
        SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0);
        return 1;
    }
    if (const LRESULT Result = SendToControls(*this, Msg, Key))
        return Result;
    // Users expect Escape to cancel every dialog, also one whose Cancel button is not marked
    // as such: it closes as the close box does. A window that is no dialog stays.
    if (Msg == CM_DIALOGKEY && Key == VK_ESCAPE && FModal) {
        Close();
        return 1;
    }
    return 0;
}
