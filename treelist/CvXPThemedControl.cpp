#include "treelist/CvXPThemedControl.h"

namespace {

UINT InnerStyle(TCvThemedBevel::TCut Cut) {
    using TCut = TCvThemedBevel::TCut;
    return Cut == TCut::Lowered ? BDR_SUNKENINNER : Cut == TCut::Raised ? BDR_RAISEDINNER : 0;
}

UINT OuterStyle(TCvThemedBevel::TCut Cut) {
    using TCut = TCvThemedBevel::TCut;
    return Cut == TCut::Lowered ? BDR_SUNKENOUTER : Cut == TCut::Raised ? BDR_RAISEDOUTER : 0;
}

UINT KindStyle(TCvThemedBevel::TKind Kind) {
    using TKind = TCvThemedBevel::TKind;
    return Kind == TKind::Soft ? BF_SOFT : Kind == TKind::Flat ? BF_FLAT : 0;
}

} // namespace

TCvThemedFrame ThemedFrameOf(const TRect& ClientInWindow, int BorderWidth,
                             const TCvThemedBevel& Bevel, bool Ctl3D, bool VertScroll,
                             bool HorzScroll) {
    using TCut = TCvThemedBevel::TCut;
    TCvThemedFrame F;
    const TRect Widened(ClientInWindow.Left - BorderWidth, ClientInWindow.Top - BorderWidth,
                        ClientInWindow.Right + BorderWidth, ClientInWindow.Bottom + BorderWidth);
    F.Outer = Widened;
    F.Content = Widened;
    if (Bevel.Kind == TCvThemedBevel::TKind::None)
        return F;
    // A space bevel takes room but draws no line.
    const int E = (Bevel.Inner != TCut::None ? Bevel.Width : 0) +
                  (Bevel.Outer != TCut::None ? Bevel.Width : 0);
    if (Bevel.Edges & BF_LEFT)
        F.Outer.Left -= E;
    if (Bevel.Edges & BF_TOP)
        F.Outer.Top -= E;
    if (Bevel.Edges & BF_RIGHT)
        F.Outer.Right += E;
    if (Bevel.Edges & BF_BOTTOM)
        F.Outer.Bottom += E;
    if (VertScroll)
        F.Outer.Right += GetSystemMetrics(SM_CYVSCROLL);
    if (HorzScroll)
        F.Outer.Bottom += GetSystemMetrics(SM_CXHSCROLL);
    F.HasEdge = true;
    F.Edge = InnerStyle(Bevel.Inner) | OuterStyle(Bevel.Outer);
    F.Flags = (Bevel.Edges & BF_RECT) | KindStyle(Bevel.Kind) | (Ctl3D ? 0 : BF_MONO) | BF_ADJUST;
    return F;
}

TCvXPThemedControl::TCvXPThemedControl(TComponent* AOwner) : TCustomControl(AOwner) {}

TCvXPThemedControl::~TCvXPThemedControl() {
    if (FTheme)
        FreeThemeHandle();
}

void TCvXPThemedControl::SetUseXPThemes(bool Value) {
    if (Value == FUseXPThemes)
        return;
    FUseXPThemes = Value;
    if (!ThemesAvailable() || !HandleAllocated() || Destroying())
        return;
    if (Value)
        CreateThemeHandle();
    else
        FreeThemeHandle();
    RecreateWnd();
}

void TCvXPThemedControl::CreateThemeHandle() {
    FTheme = ThemesAvailable() ? UxTheme().OpenThemeData(Handle(), GetThemedClassName().c_str())
                               : nullptr;
}

void TCvXPThemedControl::FreeThemeHandle() {
    if (ThemesAvailable() && FTheme)
        UxTheme().CloseThemeData(FTheme);
    FTheme = nullptr;
}

void TCvXPThemedControl::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_CREATE:
        TCustomControl::WndProc(Message);
        // The window layer makes a window again without telling the old one's end, so a theme
        // still held belongs to the old window.
        if (FTheme)
            FreeThemeHandle();
        if (FUseXPThemes)
            CreateThemeHandle();
        return;
    case WM_NCPAINT:
        WMNCPaint(Message);
        return;
    case WM_THEMECHANGED:
        WMThemeChanged(Message);
        return;
    default:
        TCustomControl::WndProc(Message);
    }
}

void TCvXPThemedControl::WMThemeChanged(TMessage& Message) {
    if (ThemesAvailable() && FUseXPThemes) {
        FreeThemeHandle();
        CreateThemeHandle();
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
    }
    Message.Result = 1;
}

void TCvXPThemedControl::WMNCPaint(TMessage& Message) {
    if (!IsThemeApplied() || (Bevel.Kind == TCvThemedBevel::TKind::None && BorderWidth() == 0)) {
        TCustomControl::WndProc(Message);
        return;
    }
    const HWND Wnd = Handle();
    RECT Window;
    GetWindowRect(Wnd, &Window);
    RECT Client;
    GetClientRect(Wnd, &Client);
    MapWindowPoints(Wnd, nullptr, reinterpret_cast<POINT*>(&Client), 2);
    OffsetRect(&Client, -Window.left, -Window.top);
    const LONG_PTR Style = GetWindowLongPtrW(Wnd, GWL_STYLE);
    const TCvThemedFrame F = ThemedFrameOf(Client, BorderWidth(), Bevel, Ctl3D(),
                                           (Style & WS_VSCROLL) != 0, (Style & WS_HSCROLL) != 0);
    {
        const TClientDC DC(Wnd, true);
        ExcludeClipRect(DC.Handle(), Client.left, Client.top, Client.right, Client.bottom);
        RECT Content = F.Content;
        if (F.HasEdge) {
            const RECT Outer = F.Outer;
            UxTheme().DrawThemeEdge(FTheme, DC.Handle(), 0, 0, &Outer, F.Edge, F.Flags, &Content);
        }
        IntersectClipRect(DC.Handle(), F.Outer.Left, F.Outer.Top, F.Outer.Right, F.Outer.Bottom);
        UxTheme().DrawThemeBackground(FTheme, DC.Handle(), 0, 0, &Content, nullptr);
    }
    // Scroll bars and the rest of the frame.
    TCustomControl::WndProc(Message);
}
