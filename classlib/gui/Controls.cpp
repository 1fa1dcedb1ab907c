#include "classlib/gui/Controls.h"

#include "classlib/gui/Forms.h"

#include <algorithm>
#include <utility>

namespace {

HINSTANCE ModuleInstance() {
    return GetModuleHandleW(nullptr);
}

} // namespace

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

// ----------------------------------------------------------------- TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    FFont.OnChange = [this](TObject*) { FontPropertyChanged(); };
}

TControl::~TControl() {
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

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    Invalidate();
    StoreBounds(Bounds(ALeft, ATop, AWidth, AHeight));
    Invalidate();
}

void TControl::StoreBounds(const TRect& R) {
    FLeft = R.Left;
    FTop = R.Top;
    FWidth = R.Width();
    FHeight = R.Height();
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

void TControl::SetVisible(bool Value) {
    if (FVisible == Value)
        return;
    FVisible = Value;
    VisibleChanged();
}

void TControl::VisibleChanged() {
    InvalidateArea();
}

void TControl::SetCaption(const String& Value) {
    if (FCaption == Value)
        return;
    FCaption = Value;
    CaptionChanged();
}

void TControl::CaptionChanged() {
    Invalidate();
}

void TControl::FontPropertyChanged() {
    if (!FTakingParentFont)
        FParentFont = false;
    FontChanged();
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
    ColorChanged();
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
    ColorChanged();
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
    const HWND Wnd = std::exchange(FHandle, nullptr);
    if (Wnd)
        SetWindowLongPtrW(Wnd, GWLP_USERDATA, 0);
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
    const HWND ParentWnd = WindowParent();
    if (FHandle)
        return; // creating the parent created this window as well
    TCreateParams Params;
    CreateParams(Params);
    if ((Params.Style & WS_CHILD) && !ParentWnd)
        throw EInvalidOperation(Format(L"Control '%s' has no parent window", {Name}));
    RegisterWindowClass(Params, &ObjectWndProc<TWinControl>);
    // FHandle is set at WM_NCCREATE, so the window reaches the object from its first message.
    if (!CreateWindowExW(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(),
                         Params.Style, Params.X, Params.Y, Params.Width, Params.Height, ParentWnd,
                         nullptr, ModuleInstance(), this))
        RaiseLastOSError();
    UpdateBounds();
    for (TControl* Control : FControls)
        if (auto* Windowed = dynamic_cast<TWinControl*>(Control); Windowed && Windowed->Visible())
            Windowed->HandleNeeded();
}

void TWinControl::CreateParams(TCreateParams& Params) const {
    Params.WinClassName = L"TWinControl";
    Params.Caption = Caption();
    Params.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (Visible() ? WS_VISIBLE : 0);
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
    const HWND Wnd = std::exchange(FHandle, nullptr);
    SetWindowLongPtrW(Wnd, GWLP_USERDATA, 0);
    DestroyWindow(Wnd); // child windows go too; each clears its object's handle at WM_NCDESTROY
}

void TWinControl::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
        WMPaint();
        return;
    case WM_PRINTCLIENT: {
        TWMPrintClient Decoded(Message);
        WMPrintClient(Decoded);
        return;
    }
    case WM_SETCURSOR:
        // The screen cursor (the hourglass of long work) wins over the window's own.
        if (Screen->Cursor() != crDefault && LOWORD(Message.LParam) == HTCLIENT) {
            SetCursor(Screen->Cursors(Screen->Cursor()));
            Message.Result = 1;
            return;
        }
        break;
    case WM_ERASEBKGND:
        Message.Result = 1; // the paint lays the background through the back buffer
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
    default:
        break;
    }
    DefaultHandler(Message);
}

void TWinControl::DefaultHandler(TMessage& Message) {
    Message.Result = DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::WMPaint() {
    const TPaintDC DC(FHandle);
    PaintThroughBuffer(DC.Handle(), DC.PaintRect());
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
    Control->TakeParentFont();
    Control->TakeParentColor();
    if (auto* Windowed = dynamic_cast<TWinControl*>(Control)) {
        if (FHandle && Windowed->Visible())
            Windowed->HandleNeeded();
    } else {
        Control->Invalidate();
    }
}

void TWinControl::RemoveControl(TControl* Control) {
    const auto It = std::find(FControls.begin(), FControls.end(), Control);
    if (It == FControls.end())
        return;
    Control->Invalidate();
    FControls.erase(It);
    Control->FParent = nullptr;
    // A window stays a child of the window it was made in; it is made again in its next parent.
    if (auto* Windowed = dynamic_cast<TWinControl*>(Control))
        Windowed->DestroyHandle();
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height())
        return;
    StoreBounds(Bounds(ALeft, ATop, AWidth, AHeight));
    if (FHandle)
        SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
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
    const int FrameWidth = Frame.right - Frame.left;
    const int FrameHeight = Frame.bottom - Frame.top;
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
}

void TWinControl::CaptionChanged() {
    if (FHandle)
        SetWindowTextW(FHandle, Caption().c_str());
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    for (TControl* Control : FControls)
        Control->TakeParentFont();
}

void TWinControl::ColorChanged() {
    FBrush.SetColor(Color());
    Invalidate();
    for (TControl* Control : FControls)
        Control->TakeParentColor();
}

// --------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

void TGraphicControl::PaintOn(HDC DC) {
    const TCanvasDC Attached(FCanvas, DC);
    Paint();
}
