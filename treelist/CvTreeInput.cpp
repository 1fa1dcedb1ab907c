// The view's mouse and keyboard input.
#include "treelist/CvTree.h"

void TCvTreeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCvTreeView::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCvTreeView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCvTreeView::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
}

void TCvTreeView::KeyPress(wchar_t& Key) {
    TCustomControl::KeyPress(Key);
}

void TCvTreeView::WMLButtonDown(TMessage& Message) {
    TCustomControl::WndProc(Message);
}

void TCvTreeView::WMLButtonUp(TMessage& Message) {
    TCustomControl::WndProc(Message);
}

void TCvTreeView::WMLButtonDblClk(TMessage& Message) {
    TCustomControl::WndProc(Message);
}

void TCvTreeView::WMRButtonDown(TMessage& Message) {
    TCustomControl::WndProc(Message);
}

void TCvTreeView::WMRButtonUp(TMessage& Message) {
    TCustomControl::WndProc(Message);
}

void TCvTreeView::WMRButtonDblClk(TMessage& Message) {
    TCustomControl::WndProc(Message);
}

void TCvTreeView::WMMouseMove(TMessage& Message) {
    TCustomControl::WndProc(Message);
}

void TCvTreeView::CMMouseLeave(TMessage& Message) {
    TCustomControl::WndProc(Message);
}

void TCvTreeView::WMSetFocus(TMessage& Message) {
    TCustomControl::WndProc(Message);
}

void TCvTreeView::WMKillFocus(TMessage& Message) {
    TCustomControl::WndProc(Message);
}

void TCvTreeView::WMCancelMode(TMessage& Message) {
    TCustomControl::WndProc(Message);
}

void TCvTreeView::CMDeactivate(TMessage& Message) {
    TCustomControl::WndProc(Message);
}

void TCvTreeView::WMGetDlgCode(TMessage& Message) {
    TCustomControl::WndProc(Message);
}

TCvTreeItem* TCvTreeView::GetNavigationTarget(WORD /*Key*/, int& /*VisIndex*/,
                                              bool& /*WasSelected*/) {
    return nullptr;
}
