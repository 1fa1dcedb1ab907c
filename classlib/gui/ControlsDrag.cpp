// The drag manager: one drag at a time on the window thread, the mouse held by a window of its
// own so that every control, windowed or not, can be the source.
#include "classlib/gui/Controls.h"

#include "classlib/gui/Forms.h"
#include "classlib/gui/UtilityWindow.h"

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

struct TDragSession {
    TControl* Source = nullptr;
    std::optional<TAliveToken> SourceAlive;
    TPoint Start;
    int Threshold = 0;
    bool Started = false;
    std::unique_ptr<TDragObject> Owned;
    TDragObject* Object = nullptr;
    TControl* Target = nullptr;
    std::optional<TAliveToken> TargetAlive;
    bool Accepted = false;
};

std::unique_ptr<TDragSession> Session;

TObject* EventSource(TDragObject* Object) {
    if (auto* OfControl = dynamic_cast<TDragControlObject*>(Object))
        return OfControl->Control();
    return Object;
}

LRESULT SendDrag(TControl& Target, TDragObject* Object, TDragMessage Msg, TPoint Pos) {
    TDragRec Rec{Pos, Object, &Target};
    return Target.Perform(CM_DRAG, Msg, reinterpret_cast<LPARAM>(&Rec));
}

TControl* LiveTarget(const TDragSession& S) {
    return S.Target && S.TargetAlive && S.TargetAlive->Alive() ? S.Target : nullptr;
}

// A handler may end the drag (or start another) while it runs: the session is looked at
// again after each notice.
void DragTo(TPoint Pos) {
    TDragObject* Object = Session->Object;
    TControl* Under = FindDragTarget(Pos, false);
    Object->DragPos = Pos;
    if (Under != LiveTarget(*Session)) {
        if (TControl* Old = LiveTarget(*Session))
            SendDrag(*Old, Object, dmDragLeave, Pos);
        if (!Session)
            return;
        Session->Target = Under;
        Session->TargetAlive.reset();
        if (Under) {
            Session->TargetAlive = Under->AliveToken();
            SendDrag(*Under, Object, dmDragEnter, Pos);
        }
        if (!Session)
            return;
    }
    TControl* Target = LiveTarget(*Session);
    Object->DragTarget = Target;
    const bool Accepted = Target && SendDrag(*Target, Object, dmDragMove, Pos) != 0;
    if (!Session)
        return;
    Session->Accepted = Accepted;
    const TPoint Local = LiveTarget(*Session) ? Target->ScreenToClient(Pos) : Pos;
    SetCursor(Screen->Cursors(Object->GetDragCursor(Accepted, Local.X, Local.Y)));
}

// Ends the drag: a drop on a target that accepts it, or a leave; the drag object hears last.
void Finish(bool Drop) {
    if (!Session)
        return;
    const std::unique_ptr<TDragSession> Ended = std::move(Session);
    if (GetCapture())
        ReleaseCapture();
    if (!Ended->Started || !Ended->Object)
        return;
    const TPoint Pos = Ended->Object->DragPos;
    TControl* Target = LiveTarget(*Ended);
    const bool Dropped = Drop && Ended->Accepted && Target;
    if (Target)
        SendDrag(*Target, Ended->Object, Dropped ? dmDragDrop : dmDragLeave, Pos);
    // Where it was dropped, in the target's coordinates; nowhere is 0, 0.
    Target = Dropped ? LiveTarget(*Ended) : nullptr;
    const TPoint Local = Target ? Target->ScreenToClient(Pos) : TPoint{0, 0};
    Ended->Object->Finished(Target, Local.X, Local.Y, Target != nullptr);
}

void Begin() {
    Session->Started = true;
    TDragObject* Object = nullptr;
    TControl* Source = Session->Source;
    if (Source->OnStartDrag)
        Source->OnStartDrag(Source, Object);
    if (!Session)
        return;
    if (!Session->SourceAlive->Alive()) {
        Finish(false);
        return;
    }
    if (!Object) {
        Session->Owned = std::make_unique<TDragControlObject>(Source);
        Object = Session->Owned.get();
    }
    Session->Object = Object;
    DragTo(Screen->CursorPos());
}

bool CaptureMessage(TMessage& Message) {
    if (!Session)
        return false;
    switch (Message.Msg) {
    case WM_MOUSEMOVE: {
        // The window sits at the screen's origin: client coordinates are screen coordinates.
        const TPoint Pos{static_cast<short>(LOWORD(Message.LParam)),
                         static_cast<short>(HIWORD(Message.LParam))};
        if (!Session->Started) {
            if (std::abs(Pos.X - Session->Start.X) < Session->Threshold &&
                std::abs(Pos.Y - Session->Start.Y) < Session->Threshold)
                return true;
            Begin();
            return true;
        }
        DragTo(Pos);
        return true;
    }
    case WM_LBUTTONUP:
        Finish(true);
        return true;
    case WM_RBUTTONDOWN:
    case WM_CANCELMODE:
        Finish(false);
        return true;
    case WM_CAPTURECHANGED:
        Finish(false);
        return false;
    default:
        return false;
    }
}

HWND CaptureWindow() {
    static TUtilityWindow Window(&CaptureMessage);
    return Window.Handle();
}

} // namespace

void CancelDrag() {
    Finish(false);
}

bool DragActive() {
    return Session && Session->Started;
}

// ------------------------------------------------------------ drag objects

TCursor TDragObject::GetDragCursor(bool Accepted, int, int) {
    return Accepted ? crDrag : crNoDrop;
}

void TDragObject::Finished(TObject*, int, int, bool) {}

TDragControlObject::TDragControlObject(TControl* AControl)
    : FControl(AControl), FAlive(AControl->AliveToken()) {}

TControl* TDragControlObject::Control() const {
    return FAlive.Alive() ? FControl : nullptr;
}

TCursor TDragControlObject::GetDragCursor(bool Accepted, int X, int Y) {
    if (Accepted && FAlive.Alive())
        return FControl->DragCursor;
    return TDragObject::GetDragCursor(Accepted, X, Y);
}

void TDragControlObject::Finished(TObject* Target, int X, int Y, bool) {
    if (FAlive.Alive() && FControl->OnEndDrag)
        FControl->OnEndDrag(FControl, Target, X, Y);
}

// ------------------------------------------------------------ TControl

void TControl::BeginDrag(bool Immediate, int Threshold) {
    if (Session)
        return;
    Session = std::make_unique<TDragSession>();
    Session->Source = this;
    Session->SourceAlive = AliveToken();
    Session->Start = Screen->CursorPos();
    Session->Threshold = Threshold >= 0 ? Threshold : GetSystemMetrics(SM_CXDRAG);
    SetCapture(CaptureWindow());
    if (Immediate)
        Begin();
}

bool TControl::Dragging() const {
    return Session && Session->Source == this && Session->Started;
}

void TControl::EndDrag(bool Drop) {
    if (Session && Session->Source == this)
        Finish(Drop);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    Accept = static_cast<bool>(OnDragOver);
    if (OnDragOver)
        OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
    if (OnDragDrop)
        OnDragDrop(this, Source, X, Y);
}

void TControl::CMDrag(TMessage& Message) {
    const auto& Rec = *reinterpret_cast<const TDragRec*>(Message.LParam);
    const auto Kind = static_cast<TDragMessage>(Message.WParam);
    if (Kind == dmFindTarget) {
        Message.Result = reinterpret_cast<LRESULT>(this);
        return;
    }
    if (!Message.LParam)
        return;
    const TPoint Local = ScreenToClient(Rec.Pos);
    TObject* Source = EventSource(Rec.Source);
    switch (Kind) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
        bool Accept = false;
        const TDragState State = Kind == dmDragEnter   ? dsDragEnter
                                 : Kind == dmDragLeave ? dsDragLeave
                                                       : dsDragMove;
        DragOver(Source, Local.X, Local.Y, State, Accept);
        Message.Result = Accept;
        return;
    }
    case dmDragDrop:
        DragDrop(Source, Local.X, Local.Y);
        return;
    default:
        return;
    }
}
