#include "classlib/gui/Controls.h"

#include "classlib/gui/Forms.h"
#include "classlib/gui/Menus.h"

#include <algorithm>
#include <utility>

namespace {

HINSTANCE ModuleInstance() {
    return GetModuleHandleW(nullptr);
}

// The window property that names the control owning a window, for FindControl.
constexpr wchar_t ControlProperty[] = L"QrvControl";

// The windowless control holding the mouse capture through its parent's window.
TControl* CaptureControl = nullptr;
// A control is letting go of the capture itself: the WM_CAPTURECHANGED that follows is no loss.
bool LettingGoOfCapture = false;
// The control the mouse is over, for CM_MOUSEENTER / CM_MOUSELEAVE: one for the whole thread,
// so a leave always comes before the next enter, windowed or not.
TControl* HoverControl = nullptr;

void SetHoverControl(TControl* Control) {
    if (Control == HoverControl)
        return;
    TControl* Old = std::exchange(HoverControl, Control);
    if (Old)
        Old->Perform(CM_MOUSELEAVE);
    if (Control && HoverControl == Control)
        Control->Perform(CM_MOUSEENTER);
}

// A window DC lent to a canvas outside a paint.
struct TBorrowedDC {
    TCanvas* Canvas;
    HWND Wnd;
    HDC DC;
};
std::vector<TBorrowedDC> BorrowedDCs;

void ReleaseCanvasDC(TCanvas& Canvas) {
    const auto It = std::find_if(BorrowedDCs.begin(), BorrowedDCs.end(),
                                 [&](const TBorrowedDC& B) { return B.Canvas == &Canvas; });
    if (It == BorrowedDCs.end())
        return;
    const TBorrowedDC Borrowed = *It;
    BorrowedDCs.erase(It);
    Borrowed.Canvas->SetHandle(nullptr);
    ReleaseDC(Borrowed.Wnd, Borrowed.DC);
}

// Lends Canvas the DC of Wnd, origin at Origin and clipped to Clip (both in Wnd's client
// coordinates), until ReleaseCanvasDCs.
void LendCanvasDC(TCanvas& Canvas, HWND Wnd, TPoint Origin, const TRect& Clip) {
    const HDC DC = GetDC(Wnd);
    if (!DC)
        RaiseLastOSError();
    BorrowedDCs.push_back(TBorrowedDC{&Canvas, Wnd, DC});
    Canvas.SetHandle(DC);
    IntersectClipRect(DC, Clip.Left, Clip.Top, Clip.Right, Clip.Bottom);
    SetViewportOrgEx(DC, Origin.X, Origin.Y, nullptr);
}

} // namespace

void ReleaseCanvasDCs() {
    while (!BorrowedDCs.empty())
        ReleaseCanvasDC(*BorrowedDCs.back().Canvas);
}

TShiftState KeyboardShiftState() {
    TShiftState Shift;
    Shift.Set(ssShift, GetKeyState(VK_SHIFT) < 0);
    Shift.Set(ssCtrl, GetKeyState(VK_CONTROL) < 0);
    Shift.Set(ssAlt, GetKeyState(VK_MENU) < 0);
    return Shift;
}

TShiftState MouseShiftState(UINT Keys) {
    TShiftState Shift;
    Shift.Set(ssShift, (Keys & MK_SHIFT) != 0);
    Shift.Set(ssCtrl, (Keys & MK_CONTROL) != 0);
    Shift.Set(ssAlt, GetKeyState(VK_MENU) < 0);
    Shift.Set(ssLeft, (Keys & MK_LBUTTON) != 0);
    Shift.Set(ssRight, (Keys & MK_RBUTTON) != 0);
    Shift.Set(ssMiddle, (Keys & MK_MBUTTON) != 0);
    return Shift;
}

void RegisterWindowClass(const TCreateParams& Params, WNDPROC Proc) {
    WNDCLASSEXW Class{};
    Class.cbSize = sizeof Class;
    if (GetClassInfoExW(ModuleInstance(), Params.WinClassName.c_str(), &Class))
        return;
    Class = WNDCLASSEXW{};
    Class.cbSize = sizeof Class;
    Class.style = Params.WindowClassStyle;
    Class.lpfnWndProc = Proc;
    Class.hInstance = ModuleInstance();
    Class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    Class.lpszClassName = Params.WinClassName.c_str();
    if (!RegisterClassExW(&Class))
        RaiseLastOSError();
}

TWinControl* FindControl(HWND Wnd) {
    // Another program's window may carry the property too (another copy of ours): its value
    // is an address in that process, never one of our objects.
    DWORD Process = 0;
    if (!Wnd || !GetWindowThreadProcessId(Wnd, &Process) || Process != GetCurrentProcessId())
        return nullptr;
    return static_cast<TWinControl*>(GetPropW(Wnd, ControlProperty));
}

TControl* FindDragTarget(TPoint ScreenPos, bool AllowDisabled) {
    TWinControl* Window = FindControl(WindowFromPoint(POINT{ScreenPos.X, ScreenPos.Y}));
    if (!Window)
        return nullptr;
    if (TControl* Inner = Window->ControlAtPos(Window->ScreenToClient(ScreenPos), AllowDisabled))
        return Inner;
    return Window;
}

// ----------------------------------------------------------------- TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    WindowProc = [this](TMessage& Message) { WndProc(Message); };
    FFont.OnChange = [this](TObject*) { FontPropertyChanged(); };
}

TControl::~TControl() {
    FAlive.reset();
    if (HoverControl == this)
        HoverControl = nullptr;
    if (CaptureControl == this)
        CaptureControl = nullptr;
    if (FParent)
        FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* Value) {
    if (Value == FParent)
        return;
    if (Value == this)
        throw EInvalidOperation(L"A control cannot be its own parent");
    if (FParent)
        FParent->RemoveControl(this);
    if (Value)
        Value->InsertControl(this);
}

TSize TControl::ConstrainedSize(int AWidth, int AHeight) const {
    if (Constraints.MaxWidth > 0)
        AWidth = std::min(AWidth, Constraints.MaxWidth);
    if (Constraints.MaxHeight > 0)
        AHeight = std::min(AHeight, Constraints.MaxHeight);
    return TSize{std::max(AWidth, Constraints.MinWidth), std::max(AHeight, Constraints.MinHeight)};
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const TSize Size = ConstrainedSize(AWidth, AHeight);
    if (ALeft == FLeft && ATop == FTop && Size.cx == FWidth && Size.cy == FHeight)
        return;
    Invalidate();
    StoreBounds(Bounds(ALeft, ATop, Size.cx, Size.cy));
    Invalidate();
    if (FParent && FAlign != alNone)
        FParent->Realign();
}

void TControl::StoreBounds(const TRect& R) {
    FLeft = R.Left;
    FTop = R.Top;
    FWidth = R.Width();
    FHeight = R.Height();
    if (!FParent || !FParent->FAnchoring)
        RecordAnchorBase();
}

void TControl::RecordAnchorBase() {
    FAnchorBase = BoundsRect();
    if (FParent) {
        const TRect Client = FParent->ClientRect();
        FAnchorParentSize = TSize{Client.Width(), Client.Height()};
    }
}

TRect TControl::ClientRect() const {
    return TRect(0, 0, FWidth, FHeight);
}

void TControl::SetClientWidth(int Value) {
    SetWidth(FWidth - ClientWidth() + Value);
}

void TControl::SetClientHeight(int Value) {
    SetHeight(FHeight - ClientHeight() + Value);
}

TPoint TControl::ClientToScreen(TPoint Point) const {
    if (const auto* Windowed = dynamic_cast<const TWinControl*>(this);
        Windowed && Windowed->FHandle) {
        POINT P{Point.X, Point.Y};
        ::ClientToScreen(Windowed->FHandle, &P);
        return TPoint{P.x, P.y};
    }
    if (!FParent)
        return TPoint{Point.X + FLeft, Point.Y + FTop};
    return FParent->ClientToScreen(TPoint{Point.X + FLeft, Point.Y + FTop});
}

TPoint TControl::ScreenToClient(TPoint Point) const {
    const TPoint Origin = ClientToScreen(TPoint{0, 0});
    return TPoint{Point.X - Origin.X, Point.Y - Origin.Y};
}

void TControl::SetVisible(bool Value) {
    if (FVisible == Value)
        return;
    FVisible = Value;
    Perform(CM_VISIBLECHANGED, Value);
}

bool TControl::Showing() const {
    for (const TControl* C = this; C; C = C->FParent)
        if (!C->FVisible)
            return false;
    return true;
}

void TControl::VisibleChanged() {
    InvalidateArea();
    if (FParent && FAlign != alNone)
        FParent->Realign();
}

void TControl::SetEnabled(bool Value) {
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::EnabledChanged() {
    if (!FEnabled && MouseCapture())
        ReleaseMouseCapture(true);
    Invalidate();
}

void TControl::SetCaption(const String& Value) {
    if (FCaption == Value)
        return;
    FCaption = Value;
    Perform(CM_TEXTCHANGED);
}

void TControl::CaptionChanged() {
    Invalidate();
}

void TControl::FontPropertyChanged() {
    if (!FTakingParentFont)
        FParentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::FontChanged() {
    Invalidate();
}

void TControl::SetParentFont(bool Value) {
    FParentFont = Value;
    TakeParentFont();
}

void TControl::TakeParentFont() {
    if (!FParentFont || !FParent)
        return;
    const TFlagScope Taking(FTakingParentFont);
    FFont.Assign(FParent->Font());
}

void TControl::SetColor(TColor Value) {
    FParentColor = false;
    if (FColor == Value)
        return;
    FColor = Value;
    Perform(CM_COLORCHANGED);
}

void TControl::ColorChanged() {
    Invalidate();
}

void TControl::SetParentColor(bool Value) {
    FParentColor = Value;
    TakeParentColor();
}

void TControl::TakeParentColor() {
    if (!FParentColor || !FParent || FColor == FParent->Color())
        return;
    FColor = FParent->Color();
    Perform(CM_COLORCHANGED);
}

void TControl::SetShowHint(bool Value) {
    FParentShowHint = false;
    if (FShowHint == Value)
        return;
    FShowHint = Value;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value) {
    FParentShowHint = Value;
    TakeParentShowHint();
}

void TControl::TakeParentShowHint() {
    if (!FParentShowHint || !FParent || FShowHint == FParent->ShowHint())
        return;
    FShowHint = FParent->ShowHint();
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetCursor(TCursor Value) {
    if (FCursor == Value)
        return;
    FCursor = Value;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
    SetNotifiedReference(FPopupMenu, Value);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

void TControl::SetAlign(TAlign Value) {
    if (FAlign == Value)
        return;
    FAlign = Value;
    if (FParent)
        FParent->Realign();
}

bool TControl::MouseCapture() const {
    if (const auto* Windowed = dynamic_cast<const TWinControl*>(this))
        return Windowed->FHandle && GetCapture() == Windowed->FHandle;
    return CaptureControl == this;
}

void TControl::SetMouseCapture(bool Value) {
    if (MouseCapture() == Value)
        return;
    if (!Value) {
        ReleaseMouseCapture(false);
        return;
    }
    if (auto* Windowed = dynamic_cast<TWinControl*>(this)) {
        SetCapture(Windowed->Handle());
        return;
    }
    if (!FParent)
        return;
    const HWND Holder = FParent->Handle();
    // Set after SetCapture: taking the capture from the window itself must not clear it.
    if (GetCapture() != Holder)
        SetCapture(Holder);
    // A sibling without a window that held it through the same window loses it now.
    TControl* Previous = std::exchange(CaptureControl, this);
    if (Previous && Previous != this)
        Previous->Perform(CM_CAPTURELOST);
}

void TControl::ReleaseMouseCapture(bool Lost) {
    if (!MouseCapture())
        return;
    if (CaptureControl == this)
        CaptureControl = nullptr;
    const auto* Windowed = dynamic_cast<const TWinControl*>(this);
    const HWND Holder = Windowed ? Windowed->FHandle : FParent ? FParent->FHandle : nullptr;
    if (Holder && GetCapture() == Holder) {
        const TFlagScope LettingGo(LettingGoOfCapture);
        ReleaseCapture();
    }
    if (Lost)
        Perform(CM_CAPTURELOST);
}

void TControl::CaptureLost() {
    FClicked = false; // a release after this is no click
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
    TMessage Message{Msg, WParam, LParam, 0};
    WindowProc(Message);
    return Message.Result;
}

void TControl::BringToFront() {
    if (!FParent)
        return;
    auto& Siblings = FParent->FControls;
    std::erase(Siblings, this);
    Siblings.push_back(this);
    if (auto* Windowed = dynamic_cast<TWinControl*>(this); Windowed && Windowed->FHandle)
        SetWindowPos(Windowed->FHandle, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::SendToBack() {
    if (!FParent)
        return;
    auto& Siblings = FParent->FControls;
    std::erase(Siblings, this);
    Siblings.insert(Siblings.begin(), this);
    if (auto* Windowed = dynamic_cast<TWinControl*>(this); Windowed && Windowed->FHandle)
        SetWindowPos(Windowed->FHandle, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::WndProc(TMessage& Message) {
    if (Application && ((Message.Msg >= WM_MOUSEMOVE && Message.Msg <= WM_MBUTTONDBLCLK) ||
                        Message.Msg == CM_MOUSELEAVE))
        Application->HintMouseMessage(this, Message);
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
        if (DragMode == dmAutomatic && !Dragging()) {
            BeginDrag(false);
            return;
        }
        MouseButtonMessage(Message, mbLeft);
        return;
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
        MouseButtonMessage(Message, mbLeft);
        return;
    case CM_DRAG:
        CMDrag(Message);
        return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
        MouseButtonMessage(Message, mbRight);
        return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
        MouseButtonMessage(Message, mbMiddle);
        return;
    case WM_MOUSEMOVE: {
        const TWMMouse Mouse(Message);
        MouseMove(MouseShiftState(Mouse.Keys), Mouse.X, Mouse.Y);
        return;
    }
    case CM_VISIBLECHANGED:
        VisibleChanged();
        return;
    case CM_ENABLEDCHANGED:
        EnabledChanged();
        return;
    case CM_TEXTCHANGED:
        CaptionChanged();
        return;
    case CM_FONTCHANGED:
        FontChanged();
        return;
    case CM_COLORCHANGED:
        ColorChanged();
        return;
    case CM_PARENTFONTCHANGED:
        TakeParentFont();
        return;
    case CM_PARENTCOLORCHANGED:
        TakeParentColor();
        return;
    case CM_PARENTSHOWHINTCHANGED:
        TakeParentShowHint();
        return;
    case CM_CAPTURELOST:
        CaptureLost();
        return;
    default:
        break;
    }
    DefaultHandler(Message);
}

void TControl::DefaultHandler(TMessage& /*Message*/) {}

void TControl::MouseButtonMessage(TMessage& Message, TMouseButton Button) {
    const TWMMouse Mouse(Message);
    TShiftState Shift = MouseShiftState(Mouse.Keys);
    const bool Down = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_RBUTTONDOWN ||
                      Message.Msg == WM_MBUTTONDOWN;
    const bool Double = Message.Msg == WM_LBUTTONDBLCLK || Message.Msg == WM_RBUTTONDBLCLK ||
                        Message.Msg == WM_MBUTTONDBLCLK;
    const TAliveToken Alive = AliveToken();
    if (Down || Double) {
        if (Button == mbLeft && ControlStyle.Contains(csCaptureMouse))
            SetMouseCapture(true);
        if (Button == mbLeft && ControlStyle.Contains(csClickEvents))
            FClicked = true;
        if (Double) {
            Shift.Include(ssDouble);
            if (Button == mbLeft && ControlStyle.Contains(csDoubleClicks))
                DblClick();
            if (!Alive.Alive())
                return;
        }
        MouseDown(Button, Shift, Mouse.X, Mouse.Y);
        return;
    }
    if (Button == mbLeft) {
        if (ControlStyle.Contains(csCaptureMouse))
            SetMouseCapture(false);
        // The click comes before the release's own event, and only for a release inside.
        if (std::exchange(FClicked, false) &&
            ClientRect().Intersects(Bounds(Mouse.X, Mouse.Y, 1, 1)))
            Click();
        if (!Alive.Alive())
            return;
    }
    MouseUp(Button, Shift, Mouse.X, Mouse.Y);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click() {
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::Invalidate() {
    if (FVisible)
        InvalidateArea();
}

void TControl::InvalidateArea() {
    if (!FParent || !FParent->HandleAllocated())
        return;
    const RECT Area = BoundsRect();
    InvalidateRect(FParent->Handle(), &Area, FALSE);
}

void TControl::Update() {
    if (FParent)
        FParent->Update();
}

// ------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
    FBrush.SetColor(Color());
}

TWinControl::~TWinControl() {
    // The window leaves the object first, so that nothing sent while the controls and the
    // window go reaches an object that is half destroyed.
    if (FHandle)
        Perform(CM_WNDDESTROYING);
    const HWND Wnd = std::exchange(FHandle, nullptr);
    if (Wnd) {
        SetWindowLongPtrW(Wnd, GWLP_USERDATA, 0);
        RemovePropW(Wnd, ControlProperty);
    }
    if (TForm* Form = GetParentForm(this); Form && Form != this)
        Form->ControlRemoved(this);
    while (!FControls.empty())
        delete FControls.back();
    if (Wnd)
        DestroyWindow(Wnd);
}

HWND TWinControl::Handle() {
    if (!FHandle)
        CreateHandle();
    return FHandle;
}

void TWinControl::CreateHandle() {
    WindowParent();
    if (FHandle)
        return; // creating the parent created this window as well
    CreateWnd();
    if (!Enabled())
        EnableWindow(FHandle, FALSE);
    UpdateBounds();
    Perform(CM_WNDCREATED);
    for (TControl* Control : FControls)
        if (auto* Windowed = dynamic_cast<TWinControl*>(Control); Windowed && Windowed->Visible())
            Windowed->HandleNeeded();
}

void TWinControl::CreateWnd() {
    const HWND ParentWnd = WindowParent();
    TCreateParams Params;
    CreateParams(Params);
    if ((Params.Style & WS_CHILD) && !ParentWnd)
        throw EInvalidOperation(Format(L"Control '%s' has no parent window", {Name}));
    FHandle = CreateWindowHandle(Params, ParentWnd);
    // Found by its window from here on: what a derived CreateWnd adds may notify the parent.
    SetPropW(FHandle, ControlProperty, this);
}

HWND TWinControl::CreateWindowHandle(const TCreateParams& Params, HWND ParentWnd) {
    RegisterWindowClass(Params, &ObjectWndProc<TWinControl>);
    // FHandle is set at WM_NCCREATE, so the window reaches the object from its first message.
    const HWND Wnd = CreateWindowExW(
        Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style, Params.X,
        Params.Y, Params.Width, Params.Height, ParentWnd, nullptr, ModuleInstance(), this);
    if (!Wnd)
        RaiseLastOSError();
    return Wnd;
}

void TWinControl::DestroyWindowHandle(HWND Wnd) {
    DestroyWindow(Wnd);
}

void TWinControl::CreateParams(TCreateParams& Params) const {
    Params.WinClassName = L"TWinControl";
    Params.Caption = Caption();
    Params.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (Visible() ? WS_VISIBLE : 0);
    if (FCtl3D)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    Params.X = Left();
    Params.Y = Top();
    Params.Width = Width();
    Params.Height = Height();
}

HWND TWinControl::WindowParent() {
    return Parent() ? Parent()->Handle() : nullptr;
}

void TWinControl::DestroyHandle() {
    if (!FHandle)
        return;
    Perform(CM_WNDDESTROYING);
    if (!FHandle)
        return; // the notice's handler let it go already
    // Taken from the object first, the window could not tell it of the capture it held.
    if (MouseCapture())
        ReleaseMouseCapture(true);
    const HWND Wnd = std::exchange(FHandle, nullptr);
    SetWindowLongPtrW(Wnd, GWLP_USERDATA, 0);
    RemovePropW(Wnd, ControlProperty);
    FTrackingLeave = false;
    DestroyWindowHandle(
        Wnd); // child windows go too; each clears its object's handle at WM_NCDESTROY
}

void TWinControl::RecreateWnd() {
    if (!FHandle)
        return;
    DestroyHandle();
    HandleNeeded();
}

void TWinControl::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
        WMPaint(reinterpret_cast<HDC>(Message.WParam));
        return;
    case WM_PRINTCLIENT: {
        TWMPrintClient Decoded(Message);
        WMPrintClient(Decoded);
        return;
    }
    case WM_ERASEBKGND:
        Message.Result = 1; // the paint lays the background through the back buffer
        return;
    case WM_NCCALCSIZE:
        FrameCalcSize(Message);
        return;
    case WM_NCPAINT:
        FramePaint(Message);
        return;
    case WM_WINDOWPOSCHANGED: {
        TWMWindowPosChanged Decoded(Message);
        WMWindowPosChanged(Decoded);
        break; // the default handler turns it into WM_SIZE and WM_MOVE
    }
    case WM_SETTEXT:
        DefaultHandler(Message);
        if (Message.Result) {
            TWMSetText Decoded(Message);
            WMSetText(Decoded);
        }
        return;
    case WM_SETCURSOR: {
        TWMSetCursor Decoded(Message);
        if (WMSetCursor(Decoded)) {
            Message.Result = 1;
            return;
        }
        break;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: {
        const TAliveToken Alive = AliveToken();
        if (RouteMouse(Message)) {
            // The system's default turns a right release into WM_CONTEXTMENU.
            if (Message.Msg == WM_RBUTTONUP && Alive.Alive())
                DefaultHandler(Message);
            return;
        }
        TControl::WndProc(Message); // the window's own: events, click, capture
        break;
    }
    case WM_CONTEXTMENU: {
        TWMContextMenu Decoded(Message);
        if (WMContextMenu(Decoded))
            return;
        break;
    }
    case WM_MOUSELEAVE:
        FTrackingLeave = false;
        if (HoverControl == this || (HoverControl && HoverControl->Parent() == this &&
                                     !dynamic_cast<TWinControl*>(HoverControl)))
            SetHoverControl(nullptr);
        return;
    case WM_CANCELMODE:
        CancelModes();
        break;
    case WM_CAPTURECHANGED:
        CaptureChanged(reinterpret_cast<HWND>(Message.LParam));
        break;
    case WM_MOUSEWHEEL: {
        const TWMMouseWheel Wheel(Message);
        if (DoMouseWheel(MouseShiftState(Wheel.Keys), Wheel.WheelDelta, TPoint{Wheel.X, Wheel.Y}))
            return;
        break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        const TWMKey Key(Message);
        WORD Code = Key.CharCode;
        const bool Down = Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN;
        const TAliveToken Alive = AliveToken();
        if (Down)
            KeyDown(Code, KeyboardShiftState());
        else
            KeyUp(Code, KeyboardShiftState());
        if (!Alive.Alive() || Code == 0)
            return;
        if (FormKey(Message.Msg, Code))
            return;
        Message.WParam = Code;
        break;
    }
    case WM_CHAR: {
        wchar_t Char = static_cast<wchar_t>(TWMKey(Message).CharCode);
        const TAliveToken Alive = AliveToken();
        KeyPress(Char);
        if (!Alive.Alive() || Char == 0 || FormKey(Message.Msg, Char))
            return;
        Message.WParam = Char;
        break;
    }
    case WM_SYSCHAR:
        if (FormKey(Message.Msg, static_cast<WORD>(Message.WParam)))
            return;
        break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        if (ReflectToChild(Message))
            return;
        break;
    case WM_SETFOCUS:
        FocusTaken();
        break;
    case WM_DESTROY: // with its parent's window, still bound to the object
        Perform(CM_WNDDESTROYING);
        break;
    case CM_SYSCOLORCHANGE:
        SysColorsChanged();
        NotifyControls(CM_SYSCOLORCHANGE);
        Invalidate();
        return;
    case CM_ENTER:
        DoEnter();
        return;
    case CM_EXIT:
        DoExit();
        return;
    case WM_SIZE:
        Realign();
        break;
    default:
        TControl::WndProc(Message);
        return;
    }
    DefaultHandler(Message);
}

void TWinControl::CancelModes() {
    // The system's default lets go only of a capture the window holds itself; one of its
    // controls, or (for a whole form, as when a modal window opens) a drag, may hold it instead.
    if (!Parent())
        CancelDrag();
    const HWND Holder = GetCapture();
    if (FHandle && Holder && (Holder == FHandle || IsChild(FHandle, Holder)))
        ReleaseCapture();
}

void TWinControl::CaptureChanged(HWND NewHolder) {
    if (NewHolder == FHandle)
        return; // still here: a control without a window took it through this one
    TControl* Loser = this;
    if (CaptureControl && CaptureControl->Parent() == this)
        Loser = std::exchange(CaptureControl, nullptr);
    if (!LettingGoOfCapture)
        Loser->Perform(CM_CAPTURELOST);
}

void TWinControl::DefaultHandler(TMessage& Message) {
    if (Message.Msg >= CM_BASE && Message.Msg < CM_BASE + 0x1000)
        return; // the library's own notices mean nothing to the system
    if (FHandle)
        Message.Result = DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

bool TWinControl::ReflectToChild(TMessage& Message) {
    HWND Child = nullptr;
    switch (Message.Msg) {
    case WM_COMMAND:
        Child = reinterpret_cast<HWND>(Message.LParam); // none for menus and accelerators
        break;
    case WM_NOTIFY:
        Child = reinterpret_cast<const NMHDR*>(Message.LParam)->hwndFrom;
        break;
    case WM_DRAWITEM: {
        const auto& Item = *reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
        if (Item.CtlType != ODT_MENU)
            Child = Item.hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        const auto& Item = *reinterpret_cast<const MEASUREITEMSTRUCT*>(Message.LParam);
        if (Item.CtlType != ODT_MENU && FHandle)
            Child = GetDlgItem(FHandle, static_cast<int>(Item.CtlID));
        break;
    }
    default: // WM_CTLCOLOR*
        Child = reinterpret_cast<HWND>(Message.LParam);
        break;
    }
    TWinControl* Target = Child && Child != FHandle ? FindControl(Child) : nullptr;
    if (!Target)
        return false;
    Message.Result = Target->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    const bool Colour = Message.Msg >= WM_CTLCOLORMSGBOX && Message.Msg <= WM_CTLCOLORSTATIC;
    return !Colour || Message.Result != 0;
}

void TWinControl::FocusTaken() {
    if (TForm* Form = GetParentForm(this); Form && Form != this)
        Form->FocusControlChanged(this);
}

bool TWinControl::FormKey(UINT Msg, WORD Key) {
    TForm* Form = GetParentForm(this);
    return Form && Form->DialogKey(*this, Msg, Key);
}

bool TWinControl::RouteMouse(TMessage& Message) {
    const TWMMouse Mouse(Message);
    const TPoint Pos{Mouse.X, Mouse.Y};
    const bool Inside = ClientRect().Intersects(Bounds(Pos.X, Pos.Y, 1, 1));
    TControl* Under = Inside ? ControlAtPos(Pos, false) : nullptr;
    if (Message.Msg == WM_MOUSEMOVE)
        TrackMouse(Inside ? (Under ? Under : this) : nullptr);
    TControl* Target = Under;
    if (CaptureControl && CaptureControl->Parent() == this)
        Target = CaptureControl;
    if (!Target)
        return false; // the window's own
    if (!Target->Enabled())
        return true;
    Target->Perform(Message.Msg, Message.WParam,
                    MAKELPARAM(Pos.X - Target->Left(), Pos.Y - Target->Top()));
    return true;
}

void TWinControl::TrackMouse(TControl* Under) {
    if (Under && !FTrackingLeave) {
        TRACKMOUSEEVENT Track{sizeof Track, TME_LEAVE, FHandle, 0};
        FTrackingLeave = TrackMouseEvent(&Track) != FALSE;
    }
    // A move outside while captured is a leave as well, though the messages keep coming.
    if (Under || HoverControl == this || (HoverControl && HoverControl->Parent() == this))
        SetHoverControl(Under);
}

void TWinControl::WMPaint(HDC DC) {
    if (DC) {
        // Asked to paint into a DC of the caller's, as a child's see-through background.
        RECT Clip{};
        if (GetClipBox(DC, &Clip) == NULLREGION)
            return;
        const TRect Client = ClientRect();
        PaintThroughBuffer(DC, TRect(std::max(Client.Left, static_cast<int>(Clip.left)),
                                     std::max(Client.Top, static_cast<int>(Clip.top)),
                                     std::min(Client.Right, static_cast<int>(Clip.right)),
                                     std::min(Client.Bottom, static_cast<int>(Clip.bottom))));
        return;
    }
    const TPaintDC Paint(FHandle);
    PaintThroughBuffer(Paint.Handle(), Paint.PaintRect());
}

void TWinControl::WMPrintClient(TWMPrintClient& Message) {
    PaintThroughBuffer(Message.DC, ClientRect());
}

void TWinControl::WMWindowPosChanged(TWMWindowPosChanged& Message) {
    const UINT Unchanged = SWP_NOMOVE | SWP_NOSIZE;
    if ((Message.WindowPos.flags & Unchanged) != Unchanged)
        UpdateBounds();
}

void TWinControl::WMSetText(TWMSetText& Message) {
    StoreCaption(Message.Text ? Message.Text : L"");
}

bool TWinControl::WMContextMenu(TWMContextMenu& Message) {
    TPoint Pos{Message.X, Message.Y};
    TControl* Target = this;
    if (Message.FromKeyboard()) {
        const TRect Client = ClientRect();
        Pos = ClientToScreen(TPoint{Client.Width() / 2, Client.Height() / 2});
    } else if (TControl* Inner = ControlAtPos(ScreenToClient(Pos), false)) {
        Target = Inner;
    }
    if (!Target->PopupMenu())
        Target = this; // a windowless control without a menu of its own shows its parent's
    TPopupMenu* Menu = Target->PopupMenu();
    if (!Menu || !Menu->AutoPopup)
        return false;
    Menu->PopupComponent = Target;
    Menu->Popup(Pos.X, Pos.Y); // may delete this control: nothing of it is used after
    return true;
}

bool TWinControl::WMSetCursor(TWMSetCursor& Message) {
    if (Message.CursorWnd != FHandle || Message.HitTest != HTCLIENT)
        return false;
    // The screen cursor (the hourglass of long work) wins over the controls' own.
    TCursor Wanted = Screen->Cursor();
    if (Wanted == crDefault) {
        const TControl* Under = ControlAtPos(ScreenToClient(Screen->CursorPos()), false);
        Wanted = Under ? Under->Cursor() : crDefault;
        if (Wanted == crDefault)
            Wanted = Cursor();
    }
    if (Wanted == crDefault)
        return false;
    ::SetCursor(Screen->Cursors(Wanted));
    return true;
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(wchar_t& Key) {
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::DoEnter() {
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit)
        OnExit(this);
}

bool TWinControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    bool Handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, Handled);
    return Handled;
}

void TWinControl::PaintThroughBuffer(HDC Target, const TRect& Area) {
    if (Area.IsEmpty())
        return;
    const TRect Client = ClientRect();
    const HDC Buffer = FBuffer.Prepare(Client.Width(), Client.Height());
    {
        const TSaveDC Saved(Buffer);
        IntersectClipRect(Buffer, Area.Left, Area.Top, Area.Right, Area.Bottom);
        PaintWindow(Buffer);
        PaintControls(Buffer, Area);
    }
    BitBlt(Target, Area.Left, Area.Top, Area.Width(), Area.Height(), Buffer, Area.Left, Area.Top,
           SRCCOPY);
}

void TWinControl::PaintWindow(HDC DC) {
    const RECT Client = ClientRect();
    FillRect(DC, &Client, FBrush.Handle());
}

void TWinControl::PaintControls(HDC DC, const TRect& Area) {
    for (TControl* Control : FControls) {
        auto* Painted = dynamic_cast<TGraphicControl*>(Control);
        if (!Painted || !Painted->Visible() || !Painted->BoundsRect().Intersects(Area))
            continue;
        const TSaveDC Saved(DC);
        OffsetViewportOrgEx(DC, Painted->Left(), Painted->Top(), nullptr);
        IntersectClipRect(DC, 0, 0, Painted->Width(), Painted->Height());
        Painted->PaintOn(DC);
    }
}

void PaintParentBackground(TWinControl& Control, HDC DC) {
    TWinControl* Parent = Control.Parent();
    if (!Parent || !Parent->HandleAllocated())
        return;
    const TSaveDC Saved(DC);
    OffsetViewportOrgEx(DC, -Control.Left(), -Control.Top(), nullptr);
    Parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC));
}

void TWinControl::UpdateBounds() {
    RECT Area{};
    GetWindowRect(FHandle, &Area);
    if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&Area), 2);
    StoreBounds(Area);
}

TControl* TWinControl::Controls(int Index) const {
    if (Index < 0 || Index >= ControlCount())
        throw EListError(Format(L"List index out of bounds (%d)", {Index}));
    return FControls[static_cast<size_t>(Index)];
}

void TWinControl::InsertControl(TControl* Control) {
    if (!Control || Control->FParent == this)
        return;
    if (Control->FParent)
        Control->FParent->RemoveControl(Control);
    FControls.push_back(Control);
    Control->FParent = this;
    Control->RecordAnchorBase();
    auto* Windowed = dynamic_cast<TWinControl*>(Control);
    if (Windowed)
        FTabList.push_back(Windowed);
    Control->Perform(CM_PARENTFONTCHANGED);
    Control->Perform(CM_PARENTCOLORCHANGED);
    Control->Perform(CM_PARENTSHOWHINTCHANGED);
    if (Windowed) {
        if (FHandle && Windowed->Visible())
            Windowed->HandleNeeded();
    } else {
        Control->Invalidate();
    }
    if (Control->Align() != alNone)
        Realign();
}

void TWinControl::RemoveControl(TControl* Control) {
    const auto It = std::find(FControls.begin(), FControls.end(), Control);
    if (It == FControls.end())
        return;
    Control->Invalidate();
    if (CaptureControl == Control)
        Control->ReleaseMouseCapture(true);
    FControls.erase(It);
    Control->FParent = nullptr;
    if (HoverControl == Control)
        HoverControl = nullptr;
    // A window stays a child of the window it was made in; it is made again in its next parent.
    if (TForm* Form = GetParentForm(this))
        Form->ControlRemoved(Control);
    if (auto* Windowed = dynamic_cast<TWinControl*>(Control)) {
        std::erase(FTabList, Windowed);
        Windowed->DestroyHandle();
    }
    if (Control->Align() != alNone)
        Realign();
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) const {
    for (auto It = FControls.rbegin(); It != FControls.rend(); ++It) {
        TControl* Control = *It;
        if (!Control->Visible() || (!AllowDisabled && !Control->Enabled()))
            continue;
        if (!AllowWinControls && dynamic_cast<TWinControl*>(Control))
            continue;
        if (Control->BoundsRect().Intersects(Bounds(Pos.X, Pos.Y, 1, 1)))
            return Control;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
    for (size_t I = 0; I < FControls.size(); ++I) {
        FControls[I]->WindowProc(Message);
        if (Message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(UINT Msg) {
    TMessage Message{Msg, 0, 0, 0};
    Broadcast(Message);
}

void TWinControl::Realign() {
    if (FAlignLevel > 0 || FAligning || ComponentState().Contains(csLoading))
        return;
    const TFlagScope Aligning(FAligning);
    ApplyAnchors();
    TRect Rest = ClientRect();
    AlignControls(Rest);
}

void TWinControl::ApplyAnchors() {
    const TRect Client = ClientRect();
    const TFlagScope Anchoring(FAnchoring);
    // Along one axis: the new start and length from the base ones and how much the parent grew.
    const auto Follow = [](bool Near, bool Far, int Start, int Length, int Grown) {
        if (Near && Far)
            return std::pair{Start, std::max(0, Length + Grown)};
        if (Far)
            return std::pair{Start + Grown, Length};
        if (!Near)
            return std::pair{Start + Grown / 2, Length};
        return std::pair{Start, Length};
    };
    for (size_t I = 0; I < FControls.size(); ++I) {
        TControl* Control = FControls[I];
        if (Control->Align() != alNone || Control->Anchors == TAnchors{akLeft, akTop})
            continue;
        const TRect& Base = Control->FAnchorBase;
        const auto [X, W] =
            Follow(Control->Anchors.Contains(akLeft), Control->Anchors.Contains(akRight), Base.Left,
                   Base.Width(), Client.Width() - Control->FAnchorParentSize.cx);
        const auto [Y, H] =
            Follow(Control->Anchors.Contains(akTop), Control->Anchors.Contains(akBottom), Base.Top,
                   Base.Height(), Client.Height() - Control->FAnchorParentSize.cy);
        Control->SetBounds(X, Y, W, H);
    }
}

void TWinControl::Loaded() {
    TControl::Loaded();
    // The layout as built is what the anchors keep from now on.
    for (TControl* Control : FControls)
        Control->RecordAnchorBase();
    Realign();
}

void TWinControl::EnableAlign() {
    if (FAlignLevel > 0 && --FAlignLevel == 0)
        Realign();
}

void TWinControl::AlignControls(TRect& Rect) {
    // Edges first, in the order the sides are taken, then the client control gets the rest.
    for (const TAlign Side : {alTop, alBottom, alLeft, alRight, alClient})
        for (TControl* Control : FControls) {
            if (Control->Align() != Side || !Control->Visible())
                continue;
            const int W = Control->Width();
            const int H = Control->Height();
            switch (Side) {
            case alTop:
                Control->SetBounds(Rect.Left, Rect.Top, Rect.Width(), H);
                Rect.Top += Control->Height();
                break;
            case alBottom:
                Control->SetBounds(Rect.Left, Rect.Bottom - H, Rect.Width(), H);
                Rect.Bottom -= Control->Height();
                break;
            case alLeft:
                Control->SetBounds(Rect.Left, Rect.Top, W, Rect.Height());
                Rect.Left += Control->Width();
                break;
            case alRight:
                Control->SetBounds(Rect.Right - W, Rect.Top, W, Rect.Height());
                Rect.Right -= Control->Width();
                break;
            default:
                Control->SetBoundsRect(Rect);
                break;
            }
        }
}

void TWinControl::SetTabStop(bool Value) {
    if (FTabStop == Value)
        return;
    FTabStop = Value;
    Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const {
    if (!Parent())
        return -1;
    const auto& List = Parent()->FTabList;
    return static_cast<int>(std::find(List.begin(), List.end(), this) - List.begin());
}

void TWinControl::SetTabOrder(int Value) {
    if (!Parent())
        return;
    auto& List = Parent()->FTabList;
    std::erase(List, this);
    Value = std::clamp(Value, 0, static_cast<int>(List.size()));
    List.insert(List.begin() + Value, this);
}

bool TWinControl::CanFocus() const {
    for (const TControl* C = this; C; C = C->Parent())
        if (!C->Visible() || !C->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const {
    return FHandle && GetFocus() == FHandle;
}

void TWinControl::SetFocus() {
    if (!CanFocus())
        throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

std::vector<TWinControl*> TWinControl::TabList() {
    std::vector<TWinControl*> List;
    for (TWinControl* Control : FTabList) {
        if (!Control->Visible() || !Control->Enabled())
            continue;
        if (Control->FTabStop)
            List.push_back(Control);
        const auto Inner = Control->TabList();
        List.insert(List.end(), Inner.begin(), Inner.end());
    }
    return List;
}

void TWinControl::SetBorderWidth(int Value) {
    Value = std::max(Value, 0);
    if (FBorderWidth == Value)
        return;
    FBorderWidth = Value;
    FrameChanged();
}

void TWinControl::SetBevelInner(TBevelCut Value) {
    if (FBevelInner == Value)
        return;
    FBevelInner = Value;
    FrameChanged();
}

void TWinControl::SetBevelOuter(TBevelCut Value) {
    if (FBevelOuter == Value)
        return;
    FBevelOuter = Value;
    FrameChanged();
}

void TWinControl::SetBevelKind(TBevelKind Value) {
    if (FBevelKind == Value)
        return;
    FBevelKind = Value;
    FrameChanged();
}

void TWinControl::SetBevelWidth(int Value) {
    Value = std::max(Value, 1);
    if (FBevelWidth == Value)
        return;
    FBevelWidth = Value;
    FrameChanged();
}

void TWinControl::SetBevelEdges(TBevelEdges Value) {
    if (FBevelEdges == Value)
        return;
    FBevelEdges = Value;
    FrameChanged();
}

void TWinControl::FrameChanged() {
    if (FHandle)
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Realign();
    Invalidate();
}

TRect TWinControl::FrameInsets() const {
    int Bevels = 0;
    if (FBevelKind != bkNone)
        Bevels =
            (FBevelInner != bvNone ? FBevelWidth : 0) + (FBevelOuter != bvNone ? FBevelWidth : 0);
    const auto Side = [&](TBevelEdge Edge) {
        return FBorderWidth + (FBevelEdges.Contains(Edge) ? Bevels : 0);
    };
    return TRect(Side(beLeft), Side(beTop), Side(beRight), Side(beBottom));
}

void TWinControl::FrameCalcSize(TMessage& Message) {
    DefaultHandler(Message);
    RECT& Client = Message.WParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                                  : *reinterpret_cast<RECT*>(Message.LParam);
    const TRect Insets = FrameInsets();
    Client.left += Insets.Left;
    Client.top += Insets.Top;
    Client.right = std::max(Client.left, Client.right - Insets.Right);
    Client.bottom = std::max(Client.top, Client.bottom - Insets.Bottom);
}

void TWinControl::FramePaint(TMessage& Message) {
    DefaultHandler(Message); // the system's frame and scroll bars
    const TRect Insets = FrameInsets();
    if (Insets == TRect())
        return;
    // Window coordinates: the client area, and what the system keeps beside it (scroll bars).
    RECT Window{};
    GetWindowRect(FHandle, &Window);
    RECT Inner{};
    GetClientRect(FHandle, &Inner);
    MapWindowPoints(FHandle, nullptr, reinterpret_cast<POINT*>(&Inner), 2);
    OffsetRect(&Inner, -Window.left, -Window.top);
    const LONG_PTR Style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    if (Style & WS_VSCROLL)
        Inner.right += GetSystemMetrics(SM_CXVSCROLL);
    if (Style & WS_HSCROLL)
        Inner.bottom += GetSystemMetrics(SM_CYHSCROLL);
    RECT Outer{Inner.left - Insets.Left, Inner.top - Insets.Top, Inner.right + Insets.Right,
               Inner.bottom + Insets.Bottom};

    const TWindowDC DC(FHandle);
    ExcludeClipRect(DC.Handle(), Inner.left, Inner.top, Inner.right, Inner.bottom);
    FillRect(DC.Handle(), &Outer, FBrush.Handle());
    if (FBevelKind == bkNone)
        return;
    static constexpr UINT InnerEdges[] = {0, BDR_SUNKENINNER, BDR_RAISEDINNER, 0};
    static constexpr UINT OuterEdges[] = {0, BDR_SUNKENOUTER, BDR_RAISEDOUTER, 0};
    static constexpr UINT KindFlags[] = {0, 0, BF_SOFT, BF_FLAT};
    UINT Sides = 0;
    for (const TBevelEdge Edge : {beLeft, beTop, beRight, beBottom})
        if (FBevelEdges.Contains(Edge))
            Sides |= 1u << Edge;
    RECT Bevel{Inner.left - FBorderWidth, Inner.top - FBorderWidth, Inner.right + FBorderWidth,
               Inner.bottom + FBorderWidth};
    if (FBevelEdges.Contains(beLeft))
        Bevel.left = Outer.left;
    if (FBevelEdges.Contains(beTop))
        Bevel.top = Outer.top;
    if (FBevelEdges.Contains(beRight))
        Bevel.right = Outer.right;
    if (FBevelEdges.Contains(beBottom))
        Bevel.bottom = Outer.bottom;
    DrawEdge(DC.Handle(), &Bevel, InnerEdges[FBevelInner] | OuterEdges[FBevelOuter],
             Sides | KindFlags[FBevelKind] | (FCtl3D ? 0 : BF_MONO));
}

void TWinControl::SetCtl3D(bool Value) {
    if (FCtl3D == Value)
        return;
    FCtl3D = Value;
    Perform(CM_CTL3DCHANGED);
    RecreateWnd();
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const TSize Size = ConstrainedSize(AWidth, AHeight);
    if (ALeft == Left() && ATop == Top() && Size.cx == Width() && Size.cy == Height())
        return;
    StoreBounds(Bounds(ALeft, ATop, Size.cx, Size.cy));
    if (FHandle)
        SetWindowPos(FHandle, nullptr, ALeft, ATop, Size.cx, Size.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    else
        Realign();
    if (Parent() && Align() != alNone)
        Parent()->Realign();
}

TRect TWinControl::ClientRect() const {
    if (FHandle) {
        RECT Client{};
        GetClientRect(FHandle, &Client);
        return Client;
    }
    TCreateParams Params;
    CreateParams(Params);
    RECT Frame{};
    AdjustWindowRectEx(&Frame, Params.Style, FALSE, Params.ExStyle);
    const TRect Insets = FrameInsets();
    const int FrameWidth = Frame.right - Frame.left + Insets.Left + Insets.Right;
    const int FrameHeight = Frame.bottom - Frame.top + Insets.Top + Insets.Bottom;
    return TRect(0, 0, std::max(0, Width() - FrameWidth), std::max(0, Height() - FrameHeight));
}

void TWinControl::Invalidate() {
    if (FHandle)
        InvalidateRect(FHandle, nullptr, FALSE);
}

void TWinControl::Update() {
    if (FHandle)
        UpdateWindow(FHandle);
}

void TWinControl::VisibleChanged() {
    if (FHandle)
        ShowWindow(FHandle, Visible() ? SW_SHOWNA : SW_HIDE);
    else if (Visible() && Parent() && Parent()->HandleAllocated())
        HandleNeeded();
    if (Parent() && Align() != alNone)
        Parent()->Realign();
}

void TWinControl::EnabledChanged() {
    TControl::EnabledChanged();
    if (FHandle)
        EnableWindow(FHandle, Enabled());
}

void TWinControl::CaptionChanged() {
    if (FHandle)
        SetWindowTextW(FHandle, Caption().c_str());
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::ColorChanged() {
    FBrush.SetColor(Color());
    Invalidate();
    NotifyControls(CM_PARENTCOLORCHANGED);
}

// --------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

TGraphicControl::~TGraphicControl() {
    ReleaseCanvasDC(FCanvas);
}

TCanvas& TGraphicControl::Canvas() {
    if (!FPainting && !FCanvas.Handle() && Parent() && Parent()->HandleAllocated())
        LendCanvasDC(FCanvas, Parent()->Handle(), TPoint{Left(), Top()}, BoundsRect());
    return FCanvas;
}

void TGraphicControl::PaintOn(HDC DC) {
    ReleaseCanvasDC(FCanvas);
    const TFlagScope Painting(FPainting);
    const TCanvasDC Attached(FCanvas, DC);
    Paint();
}

// ---------------------------------------------------------- TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

TCustomControl::~TCustomControl() {
    ReleaseCanvasDC(FCanvas);
}

TCanvas& TCustomControl::Canvas() {
    if (!FPainting && !FCanvas.Handle() && HandleAllocated()) {
        const TRect Client = ClientRect();
        LendCanvasDC(FCanvas, Handle(), TPoint{0, 0}, Client);
    }
    return FCanvas;
}

void TCustomControl::PaintWindow(HDC DC) {
    ReleaseCanvasDC(FCanvas);
    TWinControl::PaintWindow(DC);
    const TFlagScope Painting(FPainting);
    const TCanvasDC Attached(FCanvas, DC);
    FCanvas.Font().Assign(Font());
    FCanvas.Brush().SetColor(Color());
    Paint();
}
