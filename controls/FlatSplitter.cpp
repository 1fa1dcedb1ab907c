#include "controls/FlatSplitter.h"

#include "controls/HSLUtils.h"

#include "classlib/gui/Forms.h"

#include <algorithm>

TFlatSplitter::TFlatSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetColor(TColor(0xE0E9EF));
    SetParentColor(true);
    SetAlign(alLeft);
    SetBounds(Left(), Top(), 5, Height() > 0 ? Height() : 100);
    SetCursor(crHSplit);
}

TFlatSplitter::~TFlatSplitter() {
    // A drag cut short by the splitter's end still hands the key handler back.
    UnhookKeys();
}

void TFlatSplitter::SetColorFocused(TColor Value) {
    if (StoreChanged(FColorFocused, Value))
        Invalidate();
}

void TFlatSplitter::SetColorBorder(TColor Value) {
    if (StoreChanged(FColorBorder, Value))
        Invalidate();
}

void TFlatSplitter::SetUseAdvColors(bool Value) {
    FAdv.Use = Value;
    SetParentColor(Value);
    RecomputeColors();
}

void TFlatSplitter::SetAdvColors(int Focused, int Border) {
    FAdv.Focused = std::clamp(Focused, 0, 100);
    FAdv.Border = std::clamp(Border, 0, 100);
    RecomputeColors();
}

void TFlatSplitter::RecomputeColors() {
    // Unlike the buttons, the splitter's hot colour is a darker shade of its face.
    if (FAdv.Use) {
        FColorFocused = ComputeAdvColor(Color(), FColorFocused, FAdv.Focused, true);
        FColorBorder = ComputeAdvColor(Color(), FColorBorder, FAdv.Border, true);
    }
    Invalidate();
}

void TFlatSplitter::SetMinSize(int Value) {
    FMinSize = std::max(1, Value);
}

void TFlatSplitter::WndProc(TMessage& Message) {
    TGraphicControl::WndProc(Message);
    switch (Message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
        const bool Hot = Message.Msg == CM_MOUSEENTER;
        if (Hot != FHot) {
            FHot = Hot;
            Invalidate();
        }
        break;
    }
    case CM_SYSCOLORCHANGE:
    case CM_PARENTCOLORCHANGED:
        if (FAdv.Use)
            RecomputeColors();
        break;
    default:
        break;
    }
}

void TFlatSplitter::Paint() {
    const TRect Client = ClientRect();
    if (Client.IsEmpty())
        return;
    TBitmap Buffer;
    Buffer.SetPixelFormat(pf24bit);
    Buffer.SetSize(Client.Width(), Client.Height());
    TCanvas& Off = Buffer.Canvas();
    Off.Brush().SetColor(FHot ? FColorFocused : Color());
    Off.FillRect(Client);
    Off.Brush().SetColor(FColorBorder);
    Off.FrameRect(Client);
    Canvas().Draw(0, 0, Buffer);
}

TControl* TFlatSplitter::FindTarget() const {
    TWinControl* Host = Parent();
    if (!Host)
        return nullptr;
    TPoint P;
    switch (Align()) {
    case alTop:
        P = {Left(), Top() - 1};
        break;
    case alBottom:
        P = {Left(), Top() + Height()};
        break;
    case alLeft:
        P = {Left() - 1, Top()};
        break;
    case alRight:
        P = {Left() + Width(), Top()};
        break;
    default:
        return nullptr;
    }
    for (int I = 0; I < Host->ControlCount(); ++I) {
        TControl* C = Host->Controls(I);
        const RECT Bounds = C->BoundsRect();
        if (C != this && C->Visible() && PtInRect(&Bounds, POINT{P.X, P.Y}))
            return C;
    }
    return nullptr;
}

int TFlatSplitter::LargestSize() const {
    TWinControl* Host = Parent();
    const bool Vertical = Align() == alTop || Align() == alBottom;
    int Size = (Vertical ? Host->ClientHeight() : Host->ClientWidth()) - FMinSize;
    for (int I = 0; I < Host->ControlCount(); ++I) {
        TControl* C = Host->Controls(I);
        if (!C->Visible())
            continue;
        if (Vertical && (C->Align() == alTop || C->Align() == alBottom))
            Size -= C->Height();
        else if (!Vertical && (C->Align() == alLeft || C->Align() == alRight))
            Size -= C->Width();
    }
    return Size + (Vertical ? FTarget->Height() : FTarget->Width());
}

void TFlatSplitter::CalcSplitSize(int X, int Y) {
    const bool Vertical = Align() == alTop || Align() == alBottom;
    FSplit = Vertical ? Y - FDownPos.Y : X - FDownPos.X;
    int Size = 0;
    switch (Align()) {
    case alLeft:
        Size = FTarget->Width() + FSplit;
        break;
    case alRight:
        Size = FTarget->Width() - FSplit;
        break;
    case alTop:
        Size = FTarget->Height() + FSplit;
        break;
    case alBottom:
        Size = FTarget->Height() - FSplit;
        break;
    default:
        break;
    }
    FNewSize = Size;
    if (Size < FMinSize)
        FNewSize = FMinSize;
    else if (Size > FMaxSize)
        FNewSize = FMaxSize;
    // The bar stops where the size stops.
    if (Size != FNewSize) {
        if (Align() == alRight || Align() == alBottom)
            FSplit += Size - FNewSize;
        else
            FSplit -= Size - FNewSize;
    }
}

void TFlatSplitter::ToggleBar() {
    if (!FBarDC)
        return;
    TRect Bar = BoundsRect();
    if (Align() == alTop || Align() == alBottom)
        Bar = Bounds(Bar.Left, Bar.Top + FSplit, Bar.Width(), Bar.Height());
    else
        Bar = Bounds(Bar.Left + FSplit, Bar.Top, Bar.Width(), Bar.Height());
    // Drawn again, the inverted bar wipes itself out.
    PatBlt(FBarDC.Handle(), Bar.Left, Bar.Top, Bar.Width(), Bar.Height(), PATINVERT);
    FBarShown = !FBarShown;
}

void TFlatSplitter::HookKeys() {
    TForm* Form = GetParentForm(this);
    TWinControl* Active = Form ? Form->ActiveControl() : nullptr;
    if (!Active)
        return;
    FHooked = Active;
    FHookedAlive = Active->AliveToken();
    FSavedKeyDown = Active->OnKeyDown;
    Active->OnKeyDown = [this](TObject* Sender, WORD& Key, TShiftState Shift) {
        if (Key == VK_ESCAPE) {
            StopSizing();
            return;
        }
        if (FSavedKeyDown)
            FSavedKeyDown(Sender, Key, Shift);
    };
}

void TFlatSplitter::UnhookKeys() {
    if (FHooked && FHookedAlive && FHookedAlive->Alive())
        FHooked->OnKeyDown = FSavedKeyDown;
    FHooked = nullptr;
    FHookedAlive.reset();
    FSavedKeyDown = nullptr;
}

void TFlatSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const TAliveToken Alive = AliveToken();
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (!Alive.Alive() || Button != mbLeft || FTarget)
        return;
    FTarget = FindTarget();
    if (!FTarget)
        return;
    FTargetAlive = FTarget->AliveToken();
    FDownPos = {X, Y};
    FMaxSize = LargestSize();
    CalcSplitSize(X, Y);
    if (Parent()->HandleAllocated())
        FBarDC.Acquire(Parent()->Handle(), DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
    HookKeys();
    ToggleBar();
}

void TFlatSplitter::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FTarget)
        return;
    if (FBarShown)
        ToggleBar();
    CalcSplitSize(X, Y);
    ToggleBar();
}

void TFlatSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const TAliveToken Alive = AliveToken();
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!Alive.Alive() || !FTarget)
        return;
    if (FBarShown)
        ToggleBar();
    ApplySize();
    StopSizing();
}

void TFlatSplitter::CaptureLost() {
    TGraphicControl::CaptureLost();
    StopSizing(); // given up as with Escape: the size stays
}

void TFlatSplitter::ApplySize() {
    if (!FTargetAlive || !FTargetAlive->Alive())
        return;
    TWinControl* Host = Parent();
    switch (Align()) {
    case alTop:
        FTarget->SetHeight(FNewSize);
        break;
    case alLeft:
        FTarget->SetWidth(FNewSize);
        break;
    case alBottom:
        Host->DisableAlign();
        FTarget->SetBounds(FTarget->Left(), FTarget->Top() + FTarget->Height() - FNewSize,
                           FTarget->Width(), FNewSize);
        Host->EnableAlign();
        break;
    case alRight:
        Host->DisableAlign();
        FTarget->SetBounds(FTarget->Left() + FTarget->Width() - FNewSize, FTarget->Top(), FNewSize,
                           FTarget->Height());
        Host->EnableAlign();
        break;
    default:
        break;
    }
}

void TFlatSplitter::StopSizing() {
    if (!FTarget)
        return;
    if (FBarShown)
        ToggleBar();
    FTarget = nullptr;
    FTargetAlive.reset();
    FBarDC.Reset();
    UnhookKeys();
    if (OnMoved)
        OnMoved(this);
}
