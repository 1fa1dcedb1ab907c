#include "controls/FlatComboBox.h"

#include "controls/FlatEdit.h"
#include "controls/HSLUtils.h"

#include <algorithm>

namespace {

constexpr TColor EmbossShadow = 0x808080;

void FillArrow(TCanvas& Canvas, const std::array<TPoint, 3>& Points, TColor Color) {
    Canvas.Pen().SetColor(Color);
    Canvas.Brush().SetColor(Color);
    Canvas.Polygon(Points.data(), static_cast<int>(Points.size()));
}

std::array<TPoint, 3> Moved(std::array<TPoint, 3> Points, int DX, int DY) {
    for (TPoint& P : Points) {
        P.X += DX;
        P.Y += DY;
    }
    return Points;
}

} // namespace

std::array<TPoint, 3> FlatComboArrowPoints(const TRect& Button, bool Up) {
    const int X0 = Button.Left + Button.Width() / 2 - 6;
    const int Y0 = Button.Top + Button.Height() / 2 - 1;
    if (Up)
        return {TPoint{X0 + 4, Y0 + 2}, TPoint{X0 + 8, Y0 + 2}, TPoint{X0 + 6, Y0}};
    return {TPoint{X0 + 4, Y0}, TPoint{X0 + 8, Y0}, TPoint{X0 + 6, Y0 + 2}};
}

void PaintFlatComboArrowButton(TCanvas& Canvas, const TRect& Button, bool Up, bool Enabled,
                               const TFlatComboArrowColors& Colors) {
    Canvas.Brush().SetColor(Colors.Face);
    Canvas.FillRect(Button);
    Canvas.Brush().SetColor(Colors.Border);
    Canvas.FrameRect(Button);
    const std::array<TPoint, 3> Arrow = FlatComboArrowPoints(Button, Up);
    if (Enabled) {
        FillArrow(Canvas, Arrow, Colors.Arrow);
        return;
    }
    FillArrow(Canvas, Moved(Arrow, 1, 1), clWhite);
    FillArrow(Canvas, Arrow, EmbossShadow);
}

// ----------------------------------------------------------------- TFlatComboBox

TFlatComboBox::TFlatComboBox(TComponent* AOwner)
    : TCustomComboBox(AOwner), FSystemArrowWidth(GetSystemMetrics(SM_CXVSCROLL)) {
    ControlStyle.Include(csOpaque);
    SetColor(0xE1EAEB);
    SetItemHeight(13);
}

bool TFlatComboBox::ListStyle() const {
    return Style() == csDropDownList || Style() == csOwnerDrawFixed ||
           Style() == csOwnerDrawVariable;
}

TRect TFlatComboBox::WindowArea() {
    RECT R{};
    GetWindowRect(Handle(), &R);
    return TRect(0, 0, R.right - R.left, R.bottom - R.top);
}

void TFlatComboBox::SetFlatColor(TColorIndex Index, TColor Value) {
    if (StoreChanged(FColors[Index], Value))
        Invalidate();
}

void TFlatComboBox::SetUseAdvColors(bool Value) {
    FUseAdvColors = Value;
    RecomputeAdvColors();
    Invalidate();
}

void TFlatComboBox::SetAdvColorBorder(int Value) {
    FAdvColorBorder = Value;
    RecomputeAdvColors();
    Invalidate();
}

void TFlatComboBox::SetAdvColorArrowBackground(int Value) {
    FAdvColorArrowBackground = Value;
    RecomputeAdvColors();
    Invalidate();
}

void TFlatComboBox::RecomputeAdvColors() {
    if (!FUseAdvColors || !Parent())
        return;
    const TColor Base = Parent()->Color();
    FColors[ciBorder] = ComputeAdvColor(Base, FColors[ciBorder], FAdvColorBorder, true);
    FColors[ciArrowBackground] =
        ComputeAdvColor(Base, FColors[ciArrowBackground], FAdvColorArrowBackground, true);
}

void TFlatComboBox::UpdateActive(HWND FocusWnd) {
    const bool Inside = FocusWnd && (FocusWnd == Handle() || FocusWnd == EditHandle());
    const bool Now =
        FlatComboActive(ComponentState().Contains(csDesigning), Enabled(), DroppedDown(), Inside);
    // The frame looks the same either way: only a change is worth the redraw.
    if (Now == FActive)
        return;
    FActive = Now;
    RedrawFrame();
}

void TFlatComboBox::SizeEdit() {
    // A simple combo box's window holds its list too: an edit the window's height would cover
    // it, and there is no arrow button to keep clear.
    if (!HandleAllocated() || !EditHandle() || Style() != csDropDown)
        return;
    const TSize Size = FlatComboEditSize(ClientRect().Width(), WindowArea().Height());
    SetWindowPos(EditHandle(), nullptr, 0, 0, Size.cx, Size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void TFlatComboBox::InvalidateSelectionArea() {
    if (!HandleAllocated() || !ListStyle())
        return;
    // The strip and the focus frame; the paint puts the system's text back between them.
    const TRect Client = ClientRect();
    const RECT Area = TRect(Client.Left + 3, Client.Top + 3,
                            FlatComboArrowRect(Client.Width(), 0, 0).Left, Client.Bottom - 3);
    InvalidateRect(Handle(), &Area, FALSE);
}

void TFlatComboBox::Notified(WORD Code) {
    switch (Code) {
    case CBN_CLOSEUP: {
        const TRect Window = WindowArea();
        TRect Button = FlatComboArrowRect(ClientRect().Width(), Window.Width(), Window.Height());
        Button.Left -= 2;
        const RECT Area = Button;
        InvalidateRect(Handle(), &Area, FALSE);
        break;
    }
    case CBN_SELCHANGE:
    case CBN_DROPDOWN:
    case CBN_SELENDOK:
        InvalidateSelectionArea();
        break;
    default:
        break;
    }
}

void TFlatComboBox::PaintClient(HDC DC, const TRect& Update, UINT Through) {
    const TRect Client = ClientRect();
    const TRect Window = WindowArea();
    TCanvas Canvas;
    const TCanvasDC Attached(Canvas, DC);
    Canvas.Brush().SetColor(Color());
    TRect Fill = Update;
    Fill.Right = std::min(Fill.Right, Window.Width() - FlatComboArrowWidth - 4);
    Canvas.FillRect(Fill);
    const TRect Button = FlatComboArrowRect(Client.Width(), Window.Width(), Window.Height());
    if (Style() != csSimple && Button.Intersects(Update))
        PaintFlatComboArrowButton(Canvas, Button, DroppedDown(), Enabled(),
                                  {ColorArrow(), ColorArrowBackground(), ColorBorder()});
    {
        // The system draws its text and its own arrow; its arrow stays under ours.
        const TSaveDC Saved(DC);
        ExcludeClipRect(DC, FlatComboSystemArrowLeft(Client.Width(), FSystemArrowWidth), 0,
                        Client.Right, Client.Bottom);
        TMessage System{Through, reinterpret_cast<WPARAM>(DC),
                        Through == WM_PRINTCLIENT ? static_cast<LPARAM>(PRF_CLIENT) : 0, 0};
        DefaultHandler(System);
    }
    if (Style() == csDropDown && DroppedDown()) {
        Canvas.Brush().SetColor(clWindow);
        Canvas.FrameRect(TRect(Client.Left + 2, Client.Top + 2,
                               Window.Width() - FlatComboArrowWidth - 3, Client.Bottom - 2));
    } else if (ListStyle()) {
        PaintSelectionArea(Canvas);
    }
}

void TFlatComboBox::PaintSelectionArea(TCanvas& Canvas) {
    const TRect Client = ClientRect();
    const bool Lit = Focused() && !DroppedDown();
    Canvas.Brush().SetColor(Lit ? clHighlight : Color());
    Canvas.FillRect(FlatComboSelectionStrip(Client));
    if (Lit)
        Canvas.FrameRect(FlatComboFocusFrame(Client));
}

void TFlatComboBox::PaintFrame(HDC DC) {
    const TRect Window = WindowArea();
    TRect Framed = Window;
    if (Style() != csSimple)
        Framed.Right -= FlatComboArrowWidth + 1;
    PaintFlatEditFrame(DC, Framed, ColorBorder(), Color());
    if (Style() == csSimple)
        return;
    TCanvas Canvas;
    const TCanvasDC Attached(Canvas, DC);
    PaintFlatComboArrowButton(
        Canvas, FlatComboArrowRect(ClientRect().Width(), Window.Width(), Window.Height()),
        DroppedDown(), Enabled(), {ColorArrow(), ColorArrowBackground(), ColorBorder()});
}

void TFlatComboBox::RedrawFrame() {
    if (!HandleAllocated())
        return;
    const TWindowDC DC(Handle());
    PaintFrame(DC.Handle());
}

void TFlatComboBox::CreateWnd() {
    TCustomComboBox::CreateWnd();
    // The system placed its edit before the inner windows were known.
    SizeEdit();
}

void TFlatComboBox::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
        if (const auto DC = reinterpret_cast<HDC>(Message.WParam)) {
            PaintClient(DC, ClientRect(), WM_PAINT);
            PaintFrame(DC);
        } else {
            {
                const TPaintDC Paint(Handle());
                PaintClient(Paint.Handle(), Paint.PaintRect(), WM_PAINT);
            }
            RedrawFrame();
        }
        Message.Result = 0;
        return;
    case WM_PRINTCLIENT: {
        const auto DC = reinterpret_cast<HDC>(Message.WParam);
        PaintClient(DC, ClientRect(), WM_PRINTCLIENT);
        PaintFrame(DC);
        Message.Result = 0;
        return;
    }
    case WM_SIZE:
        // The system places its edit again after a new size: over our arrow button. Sized here,
        // not as the position is about to change, when the new size is not yet the window's.
        TCustomComboBox::WndProc(Message);
        SizeEdit();
        return;
    case WM_NCPAINT:
        TCustomComboBox::WndProc(Message);
        RedrawFrame();
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomComboBox::WndProc(Message);
        if (!ComponentState().Contains(csDesigning)) {
            UpdateActive(Message.Msg == WM_SETFOCUS ? Handle()
                                                    : reinterpret_cast<HWND>(Message.WParam));
            InvalidateSelectionArea();
        }
        return;
    case WM_KEYDOWN:
    case WM_CHAR: {
        const String Before = Text();
        TCustomComboBox::WndProc(Message);
        if (Text() != Before)
            InvalidateSelectionArea();
        return;
    }
    case CN_COMMAND:
        TCustomComboBox::WndProc(Message);
        Notified(HIWORD(Message.WParam));
        return;
    case CM_SYSCOLORCHANGE:
    case CM_PARENTCOLORCHANGED:
        // Not passed on: the combo box keeps its own Color.
        RecomputeAdvColors();
        Invalidate();
        return;
    default:
        TCustomComboBox::WndProc(Message);
        return;
    }
}

void TFlatComboBox::ComboWndProc(TMessage& Message, HWND Inner) {
    TCustomComboBox::ComboWndProc(Message, Inner);
    if (Inner != EditHandle() || ComponentState().Contains(csDesigning))
        return;
    if (Message.Msg == WM_SETFOCUS)
        UpdateActive(Inner);
    else if (Message.Msg == WM_KILLFOCUS)
        UpdateActive(reinterpret_cast<HWND>(Message.WParam));
}

void TFlatComboBox::FontChanged() {
    TCustomComboBox::FontChanged();
    // The system measures its edit and items at creation: a new font needs a new window.
    if (ItemHeight() != 13)
        SetItemHeight(13); // which makes one
    else
        RecreateWnd();
}

void TFlatComboBox::EnabledChanged() {
    TCustomComboBox::EnabledChanged();
    Invalidate();
}
