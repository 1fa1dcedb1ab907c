#include "classlib/gui/HintWindow.h"

#include "classlib/gui/Forms.h"

#include <algorithm>

namespace {

constexpr UINT HintTextFlags = DT_LEFT | DT_NOPREFIX | DT_WORDBREAK;

} // namespace

String GetShortHint(const String& Hint) {
    const size_t Bar = Hint.find(L'|');
    return Bar == String::npos ? Hint : Hint.substr(0, Bar);
}

String GetLongHint(const String& Hint) {
    const size_t Bar = Hint.find(L'|');
    return Bar == String::npos ? Hint : Hint.substr(Bar + 1);
}

String VisibleHintText(const String& Hint) {
    return Hint.substr(0, Hint.find(L'\0'));
}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetVisible(false);
    SetColor(clInfoBk);
    Font().SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& Params) const {
    TCustomControl::CreateParams(Params);
    Params.WinClassName = L"THintWindow";
    Params.WindowClassStyle |= CS_SAVEBITS;
    Params.Style = WS_POPUP | WS_BORDER;
    Params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
}

void THintWindow::WndProc(TMessage& Message) {
    if (Message.Msg == WM_NCHITTEST) {
        Message.Result = HTTRANSPARENT; // the mouse belongs to what lies below
        return;
    }
    TCustomControl::WndProc(Message);
}

void THintWindow::VisibleChanged() {
    if (!HandleAllocated()) {
        if (!Visible())
            return;
        HandleNeeded();
    }
    ShowWindow(Handle(), Visible() ? SW_SHOWNOACTIVATE : SW_HIDE);
}

TRect THintWindow::CalcHintRect(int MaxWidth, const String& Hint, void* /*Data*/) {
    const TClientDC Screen(nullptr);
    TCanvas Measure;
    const TCanvasDC Attached(Measure, Screen.Handle());
    Measure.Font().Assign(Font());
    TRect Text(0, 0, MaxWidth, 0);
    Measure.TextRect(Text, VisibleHintText(Hint), HintTextFlags | DT_CALCRECT);
    // Room for the border and a margin around the text, with some to spare: under wine the
    // painted line comes out a few pixels wider than DrawText measured it.
    return TRect(0, 0, Text.Right + 14, Text.Bottom + 4);
}

void THintWindow::ActivateHint(TRect Rect, const String& Hint) {
    SetCaption(Hint);
    // On the monitor the hint is asked for on, not only the primary one.
    const TRect Placed = MovedInside(Rect, Screen->MonitorAt(TPoint{Rect.Left, Rect.Top}).WorkArea);
    SetBoundsRect(Placed);
    SetWindowPos(Handle(), HWND_TOPMOST, Placed.Left, Placed.Top, Placed.Width(), Placed.Height(),
                 SWP_NOACTIVATE);
    SetVisible(true);
    Invalidate();
}

void THintWindow::ReleaseHandle() {
    SetVisible(false);
}

void THintWindow::Paint() {
    TCanvas& C = Canvas();
    C.Font().Assign(Font());
    C.Brush().SetStyle(bsClear);
    TRect Text = ClientRect();
    Text = TRect(Text.Left + 3, Text.Top + 1, Text.Right - 3, Text.Bottom - 1);
    C.TextRect(Text, VisibleHintText(Caption()), HintTextFlags);
}
