// The wide hint window and the packed hint.
#include "treelist/CvHintWnd.h"

#include "classlib/gui/Forms.h"

#include "treelist/CvVCLUtils.h"

#include <algorithm>
#include <cstring>

std::string PackWideHint(const String& Text) {
    std::string Packed = ToAnsi(Text);
    Packed.push_back('\0');
    const std::size_t At = Packed.size();
    Packed.resize(At + Text.size() * 2);
    for (std::size_t I = 0; I < Text.size(); ++I) {
        const auto Unit = static_cast<std::uint16_t>(Text[I]);
        Packed[At + 2 * I] = static_cast<char>(Unit & 0xFF);
        Packed[At + 2 * I + 1] = static_cast<char>(Unit >> 8);
    }
    Packed.append({'\0', '\0', '\xFE', '\xFF'});
    return Packed;
}

String UnpackWideHint(const std::string& Packed) {
    const std::size_t Zero = Packed.find('\0');
    const bool Marked = Packed.size() >= 5 && Packed.compare(Packed.size() - 2, 2, "\xFE\xFF") == 0;
    if (Zero == std::string::npos || !Marked)
        return FromAnsi(Packed.substr(0, Zero));
    const std::size_t Start = Zero + 1;
    const std::size_t End = Packed.size() - 4; // before the closing zero unit and FE FF
    if (End < Start || (End - Start) % 2 != 0)
        return FromAnsi(Packed.substr(0, Zero));
    String Text((End - Start) / 2, L'\0');
    for (std::size_t I = 0; I < Text.size(); ++I)
        Text[I] =
            static_cast<wchar_t>(static_cast<unsigned char>(Packed[Start + 2 * I]) |
                                 (static_cast<unsigned char>(Packed[Start + 2 * I + 1]) << 8));
    return Text;
}

String PackedHintString(const String& Text) {
    return Text.empty() ? String() : FromAnsi(PackWideHint(Text));
}

TRect ClampToDesktop(TRect R, const TRect& Desktop) {
    const int W = R.Width();
    const int H = R.Height();
    if (R.Bottom > Desktop.Bottom)
        R.Top = Desktop.Bottom - H;
    if (R.Right > Desktop.Right)
        R.Left = Desktop.Right - W;
    if (R.Left < Desktop.Left)
        R.Left = Desktop.Left;
    if (R.Top < Desktop.Top)
        R.Top = Desktop.Top;
    return Bounds(R.Left, R.Top, W, H);
}

TRect DesktopRect() {
    const int X = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int Y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return Bounds(X, Y, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

// ------------------------------------------------------------ TCvHintWindow

TCvHintWindow::TCvHintWindow(TComponent* AOwner)
    : THintWindow(AOwner), FHTML(std::make_unique<TCvHTMLRender>()) {
    FHTML->OnImageNeeded = [this](TObject*, const String& Src, HBITMAP& Image) {
        NotifyImageNeeded(Src, Image);
    };
}

TCvHintWindow::~TCvHintWindow() = default;

void TCvHintWindow::CreateParams(TCreateParams& Params) const {
    THintWindow::CreateParams(Params);
    Params.WinClassName = L"TCvHintWindow";
}

void TCvHintWindow::WndProc(TMessage& Message) {
    // Unlike the application's hint, this one takes the mouse: its links are clicked.
    if (Message.Msg == WM_NCHITTEST) {
        TCustomControl::WndProc(Message);
        return;
    }
    THintWindow::WndProc(Message);
}

void TCvHintWindow::SetWordWrap(bool Value) {
    if (FWordWrap == Value)
        return;
    FWordWrap = Value;
    Remeasure();
}

void TCvHintWindow::SetWideCaption(const String& Value) {
    FWideCaption = Value;
    Remeasure();
}

void TCvHintWindow::Remeasure() {
    if (FActivating)
        return;
    const TRect R = MeasureHint(10000, FWideCaption);
    SetBounds(Left(), Top(), R.Width(), R.Height());
    Invalidate();
}

void TCvHintWindow::PrepareHTML() {
    SetHTMLDefaults(FHTML->Data(), Font(), Color());
}

TRect TCvHintWindow::MeasureText(int MaxWidth, const String& Text, bool Narrow,
                                 const std::string& NarrowText) {
    TRect R(0, 0, MaxWidth, 0);
    if (IsHTML) {
        PrepareHTML();
        FHTML->ParseMarkup(Narrow ? FromAnsi(NarrowText) : Text);
        R = TRect(0, 0, FHTML->Data().TextSize.cx, FHTML->Data().TextSize.cy + 2);
    } else {
        const TMemoryDC DC(nullptr);
        const TSelectObject UseFont(DC.Handle(), Font().Handle());
        const UINT Flags = DT_CALCRECT | DT_NOPREFIX | (FWordWrap ? DT_WORDBREAK : 0);
        if (Narrow) {
            RECT Raw = R;
            DrawTextA(DC.Handle(), NarrowText.c_str(), -1, &Raw, Flags);
            R = Raw;
        } else {
            DrawTextWide(DC.Handle(), Text.c_str(), -1, R, Flags);
        }
    }
    R.Right += 6;
    R.Bottom += 2;
    return R;
}

TRect TCvHintWindow::MeasureHint(int MaxWidth, const String& Text) {
    return MeasureText(MaxWidth, Text, false, std::string());
}

TRect TCvHintWindow::CalcHintRect(int MaxWidth, const String& Hint, void* /*Data*/) {
    return MeasureText(MaxWidth, String(), true, ToAnsi(VisibleHintText(Hint)));
}

void TCvHintWindow::ActivateWideHint(TRect Rect, const String& Text) {
    {
        const TFlagScope Activating(FActivating);
        SetWideCaption(Text);
        Rect.Bottom += 4;
        // Onto the monitor it is asked for on, not across the gap between two.
        const TRect Placed =
            ClampToDesktop(Rect, Screen->MonitorAt(TPoint{Rect.Left, Rect.Top}).WorkArea);
        SetBounds(Placed.Left, Placed.Top, Placed.Width(), Placed.Height());
        SetWindowPos(Handle(), HWND_TOPMOST, Placed.Left, Placed.Top, Placed.Width(),
                     Placed.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
        SetVisible(true); // shown without activation; the flag follows the window
    }
    Invalidate();
}

void TCvHintWindow::Paint() {
    TCanvas& C = Canvas();
    TRect R = ClientRect();
    R.Left += 2;
    R.Top += 2;
    if (IsHTML) {
        PrepareHTML();
        FHTML->ParseMarkup(FWideCaption);
        FHTML->PaintMarkup(C.Handle(), TPoint{0, 0}, R, CvColorNone);
        return;
    }
    const HDC DC = C.Handle();
    const TSelectObject UseFont(DC, Font().Handle());
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(Font().Color()));
    DrawTextWide(DC, FWideCaption.c_str(), -1, R, DT_NOPREFIX | (FWordWrap ? DT_WORDBREAK : 0));
}

void TCvHintWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && IsHTML) {
        PrepareHTML();
        FHTML->ParseMarkup(FWideCaption);
        const TRect Area(2, 2, ClientWidth() - 2, ClientHeight() - 2);
        String HRef;
        if (FHTML->LinkAtPoint(TPoint{X - 2, Y - 2}, TPoint{0, 0}, Area, HRef)) {
            NotifyLinkClick(HRef);
            return;
        }
    }
    THintWindow::MouseDown(Button, Shift, X, Y);
}

void TCvHintWindow::NotifyLinkClick(const String& HRef) {
    if (OnLinkClick)
        OnLinkClick(this, HRef);
}

void TCvHintWindow::NotifyImageNeeded(const String& Src, HBITMAP& Image) {
    if (OnImageNeeded)
        OnImageNeeded(this, Src, Image);
}
