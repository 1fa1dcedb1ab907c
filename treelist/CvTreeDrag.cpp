#include "treelist/CvTreeDrag.h"

#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/Forms.h"
#include "treelist/CvTree.h"
#include "treelist/CvTreePaintTools.h"

#include <algorithm>

// ----------------------------------------------------------------- the drag object and types

TCursor TCvTreeDragObject::GetDragCursor(bool Accepted, int X, int Y) {
    auto* View = dynamic_cast<TCvTreeView*>(Control());
    if (!View)
        return TDragControlObject::GetDragCursor(Accepted, X, Y);
    View->MoveDragImage(DragPos);
    if (!Accepted)
        return crCvTreeRefuse;
    return GetKeyState(VK_CONTROL) < 0 ? crCvTreeCopy : crCvTreeMove;
}

void TCvTreeDragObject::HideDragImage() {
    if (auto* View = dynamic_cast<TCvTreeView*>(Control()))
        View->HideDragImage();
}

void TCvTreeDragObject::ShowDragImage() {
    if (auto* View = dynamic_cast<TCvTreeView*>(Control()))
        View->ShowDragImage();
}

void TCvTreeDragObject::Finished(TObject* Target, int X, int Y, bool Accepted) {
    TDragControlObject::Finished(Target, X, Y, Accepted);
    if (auto* View = dynamic_cast<TCvTreeView*>(Control()))
        View->DoEndDrag(Target, X, Y);
}

DWORD OleEffectsOf(TDragTypes Types) {
    DWORD Effects = 0;
    for (const TDragType Type : {dtCopy, dtMove, dtLink})
        if (Types.Contains(Type))
            Effects |= DropEffectOf(Type);
    return Effects;
}

TDragType DragTypeOfEffect(DWORD Effect) {
    TDragType Type = dtNone;
    if (Effect & DROPEFFECT_COPY)
        Type = dtCopy;
    if (Effect & DROPEFFECT_LINK)
        Type = dtLink;
    if (Effect & DROPEFFECT_MOVE)
        Type = dtMove;
    return Type;
}

TCvDragSpan DragSpanOf(TDragImgMode Mode, const std::vector<TCvDragRow>& Rows) {
    TCvDragSpan Span;
    if (Mode == dimNever)
        return Span;
    int Count = 0;
    for (const TCvDragRow& Row : Rows) {
        if (!Row.Selected)
            continue;
        if (Count++ == 0)
            Span.Top = Row.Top;
        Span.Bottom = Row.Bottom;
    }
    Span.Made = Mode == dimAll ? Count > 0 : Count == 1;
    return Span;
}

// ----------------------------------------------------------------- the view as the source

namespace {

// Hides the drag image for its life (also when a handler raises).
class THiddenDragImage {
public:
    explicit THiddenDragImage(TDragObject* Source) : FSource(Source) {
        if (FSource)
            FSource->HideDragImage();
    }
    ~THiddenDragImage() {
        if (FSource)
            FSource->ShowDragImage();
    }
    THiddenDragImage(const THiddenDragImage&) = delete;
    THiddenDragImage& operator=(const THiddenDragImage&) = delete;

private:
    TDragObject* FSource;
};

} // namespace

bool TCvTreeView::CanStartDrag() const {
    const TCustomCvTree& T = *FTree;
    if (!T.DragAllowed || FFrameSelecting)
        return false;
    int Section = -1;
    TCvItemPart Part = ipOutside;
    GetItemAt(FPressX, FPressY, Section, Part);
    if (Part == ipOutside)
        return false;
    return T.SelectedCount() > 0 ||
           std::any_of(FRows.begin(), FRows.end(),
                       [](const TCvTreeItem* R) { return R->IsSelected(); });
}

void TCvTreeView::StartDrag() {
    TCustomCvTree& T = *FTree;
    StopEditTimer();
    HideLineHint();
    FDeferredSelect = false;
    FDeferredItem = nullptr;
    FDragHappened = true;
    if (T.DragType() != dtOLE) {
        OnStartDrag = [this](TObject*, TDragObject*& Object) { DoStartDrag(Object); };
        BeginDrag(true);
        return;
    }
    FButtonDown = false;
    IDataObject* Data = nullptr;
    IDropSource* Source = nullptr;
    TDragTypes Allowed{dtCopy, dtMove, dtLink};
    T.DoOleDragStart(Data, Source, Allowed);
    if (!Data || !Source)
        return;
    DWORD Effect = DROPEFFECT_NONE;
    const HRESULT Result = DoDragDrop(Data, Source, OleEffectsOf(Allowed), &Effect);
    T.DoOleDragFinish(DragTypeOfEffect(Effect), Result);
}

void TCvTreeView::DoStartDrag(TDragObject*& Object) {
    TCustomCvTree& T = *FTree;
    DragCursor = T.DragCursor;
    ClearDropTarget(nullptr);
    BuildDragImage();
    if (FDragImage) {
        const TCvHeaderSection* Main = T.ShowColumns() ? T.SectionOf(T.MainTreeColumn()) : nullptr;
        FDragHotSpot = TPoint{FPressX + T.LeftPosition() - (Main ? Main->LeftEdge() : 0),
                              FPressY - FDragImageTop};
    }
    T.DoStartDragNotify(Object);
    if (!Object) {
        FDragObject = std::make_unique<TCvTreeDragObject>(this);
        Object = FDragObject.get();
        // Only the tree's own drag object reports moves and the end, so only it shows the picture.
        if (FDragImage)
            FScreenDragImage->Begin(*FDragImage, T.BkColor(), FDragHotSpot, Screen->CursorPos());
    }
}

void TCvTreeView::SetScreenDragImage(std::unique_ptr<TScreenDragImage> Value) {
    FScreenDragImage->End();
    FScreenDragImage = Value ? std::move(Value) : std::make_unique<TScreenDragImage>();
}

void TCvTreeView::MoveDragImage(TPoint ScreenPos) {
    FScreenDragImage->Move(ScreenPos);
}

void TCvTreeView::HideDragImage() {
    FScreenDragImage->Hide();
}

void TCvTreeView::ShowDragImage() {
    FScreenDragImage->Show();
}

void TCvTreeView::DoEndDrag(TObject* Target, int X, int Y) {
    TCustomCvTree& T = *FTree;
    // Gone before the handler paints or asks anything.
    FScreenDragImage->End();
    T.DoEndDragNotify(Target == this ? static_cast<TObject*>(&T) : Target, X, Y);
    FDragImage.reset();
    ClearDropTarget(nullptr);
}

void TCvTreeView::BuildDragImage() {
    TCustomCvTree& T = *FTree;
    FDragImage.reset();
    std::vector<TCvDragRow> Rows;
    for (int I = 0; I < static_cast<int>(FRows.size()); ++I) {
        const TRect R = GetItemRect(I);
        Rows.push_back(TCvDragRow{R.Top, R.Bottom, FRows[I]->IsSelected()});
    }
    const TCvDragSpan Span = DragSpanOf(T.DragImageMode, Rows);
    if (!Span.Made)
        return;
    FDragImageTop = Span.Top;
    const int Width = DragRowWidth();
    FDragImage = std::make_unique<TBitmap>();
    FDragImage->SetSize(Width, Span.Bottom - Span.Top + 1);
    FDragImage->Transparent = true;
    FDragImage->SetTransparentColor(T.BkColor());
    TCanvas& Canvas = FDragImage->Canvas();
    Canvas.Brush().SetColor(T.BkColor());
    Canvas.FillRect(TRect(0, 0, Width, Span.Bottom - Span.Top + 1));
    PaintDragRows(Canvas);
}

int TCvTreeView::DragRowWidth() const {
    TCustomCvTree& T = *FTree;
    if (T.ShowColumns() && T.SectionCount() > 0) {
        const int Index = T.MainTreeColumn() < T.SectionCount() ? T.MainTreeColumn() : 0;
        if (const TCvHeaderSection* Main = T.SectionOf(Index))
            return Main->Width();
    }
    return std::max(T.MaxRowWidth, T.LeftPosition() + ClientWidth());
}

void TCvTreeView::PaintDragRows(TCanvas& Canvas) {
    TCustomCvTree& T = *FTree;
    for (int I = 0; I < static_cast<int>(FRows.size()); ++I) {
        TCvTreeItem& Item = *FRows[I];
        if (!Item.IsSelected())
            continue;
        TRect R = GetItemRect(I);
        R = TRect(0, R.Top - FDragImageTop, DragRowWidth(),
                  R.Bottom - FDragImageTop - (T.HorizontalLines() ? 1 : 0));
        PaintDragRow(Canvas, Item, R);
    }
}

void TCvTreeView::PaintDragRow(TCanvas& Canvas, TCvTreeItem& Item, const TRect& R) {
    TCustomCvTree& T = *FTree;
    const int II = T.ItemIndent();
    const bool Mirror = T.RightAlignedTree();
    int Indent =
        ((T.ShowRoot() && T.ShowLines()) || (T.ShowButtons() && T.ShowRootButtons())) ? II : 0;
    Indent += Item.Level() * II;
    int Edge = Mirror ? R.Right - Indent : R.Left + Indent;
    if (T.ShowImages && T.Images()) {
        const int Index = T.PictureIndexOf(Item, false);
        TCustomImageList& Images = *T.Images();
        if (Index >= 0 && Index < Images.Count()) {
            const int X = Mirror ? Edge - Images.Width() : Edge;
            Images.Draw(Canvas, X, R.Top + (R.Height() - Images.Height()) / 2, Index);
        }
        Edge += Mirror ? -Images.Width() : Images.Width();
    }
    Edge += Mirror ? -II / 3 : II / 3;
    const TRect Text =
        Mirror ? TRect(R.Left, R.Top, Edge, R.Bottom) : TRect(Edge, R.Top, R.Right, R.Bottom);
    TCvCellStyle* Style = T.CellStyleOf(Item, T.ShowColumns() ? T.MainTreeColumn() : -1);
    if (T.IsOwnerDrawnCell(Item, T.MainTreeColumn(), Style)) {
        // Drawn into the image, where it is seen.
        T.DoItemDraw(&Item, Canvas, Text, T.MainTreeColumn());
        return;
    }
    TFont Font;
    T.CellFontOf(Item, Style, Font);
    UINT Flags = T.TextFlagsOf(Item) | DT_VCENTER;
    if (T.RightAlignedText())
        Flags |= DT_RIGHT | DT_RTLREADING;
    DrawTextIn(Canvas.Handle(), Font, T.TextColor(), Item.GetItemText(), Text, Flags);
}

// ----------------------------------------------------------------- the view as the target

bool TCvTreeView::RowsBelow() const {
    const TCustomCvTree& T = *FTree;
    return !FRows.empty() &&
           (FRows.back()->VisIndex() < T.TotalVisCount() - 1 || RowsHeight() > ClientHeight());
}

// Which edge band the point is in: -1 the top (rows above), 1 the bottom (rows below), 0 none.
int TCvTreeView::DragScrollBand(int Y) const {
    if (FRows.empty())
        return 0;
    if (FTree->TopIndex() > 0 && Y < GetItemRect(0).Height())
        return -1;
    const int Last = GetItemRect(static_cast<int>(FRows.size()) - 1).Height();
    if (RowsBelow() && Y >= ClientHeight() - Last)
        return 1;
    return 0;
}

void TCvTreeView::ClearDropTarget(TDragObject* Source) {
    TCustomCvTree& T = *FTree;
    TCvTreeItem* const Old = std::exchange(T.DropTarget, nullptr);
    if (!Old)
        return;
    const THiddenDragImage Hidden(Source);
    InvalidateItem(*Old);
    if (HandleAllocated())
        Update();
}

void TCvTreeView::DoDragOver(TDragObject* Source, int X, int Y, bool Accepted) {
    TCustomCvTree& T = *FTree;
    HideLineHint();
    FDragPoint = TPoint{X, Y};
    if (DragScrollBand(Y) != 0) {
        if (!FDragScrollTimer) {
            FDragScrollTimer = std::make_unique<TTimer>(nullptr);
            FDragScrollTimer->SetEnabled(false);
            FDragScrollTimer->OnTimer = [this](TObject*) { DragScrollTick(); };
        }
        if (!FDragScrollTimer->Enabled()) {
            FDragScrollTimer->SetInterval(1000);
            FDragScrollTimer->SetEnabled(true);
        }
    }
    T.DropAccepted = Accepted;
    TCvTreeItem* Target = GetItemAtY(Y);
    if (Target && !Usable(*Target))
        Target = nullptr;
    if (Target == T.DropTarget && !T.OnDragTargetChange)
        return;
    const THiddenDragImage Hidden(Source);
    TCvTreeItem* const Old = std::exchange(T.DropTarget, Target);
    if (Old)
        InvalidateItem(*Old);
    if (T.OnDragTargetChange) {
        TRect R = Target ? GetItemRectOf(*Target) : TRect();
        R = TRect(R.Left + Left(), R.Top + Top(), R.Right + Left(), R.Bottom + Top());
        T.OnDragTargetChange(&T, Target, R, X, Y + Top());
    }
    if (Target && Target != Old && T.ExpandOnDragOver) {
        if (T.DragExpandDelay > 0) {
            if (!FDragExpandTimer) {
                FDragExpandTimer = std::make_unique<TTimer>(nullptr);
                FDragExpandTimer->OnTimer = [this](TObject*) { DragExpandTick(); };
            }
            FDragExpandTimer->SetEnabled(false);
            FDragExpandTimer->SetInterval(static_cast<UINT>(T.DragExpandDelay));
            FDragExpandTimer->SetEnabled(true);
        } else {
            Target->ExpandItem(false);
        }
    }
    if (Target)
        InvalidateItem(*Target);
    if (HandleAllocated())
        Update();
}

void TCvTreeView::DragScrollTick() {
    TCustomCvTree& T = *FTree;
    if (!FDragScrollTimer)
        return;
    FDragScrollTimer->SetEnabled(false);
    FDragScrollTimer->SetInterval(static_cast<UINT>(std::max(1, T.DragScrollInterval)));
    // The last point a drag reported over the view: leaving the view stops the timer.
    const int Band = DragScrollBand(FDragPoint.Y);
    if (Band == 0)
        return;
    {
        const THiddenDragImage Hidden(FDragSource);
        SetTopIndex(T.TopIndex() + Band);
    }
    FDragScrollTimer->SetEnabled(true);
}

void TCvTreeView::DragExpandTick() {
    TCustomCvTree& T = *FTree;
    if (FDragExpandTimer)
        FDragExpandTimer->SetEnabled(false);
    if (!T.DropTarget || T.DropTarget->IsExpanded())
        return;
    const THiddenDragImage Hidden(FDragSource);
    T.DropTarget->ExpandItem(false);
    if (HandleAllocated())
        Update();
}

void TCvTreeView::EndDragOver(bool FreeExpandTimer) {
    FDragOverView = false;
    TDragObject* const Source = std::exchange(FDragSource, nullptr);
    if (FDragExpandTimer)
        FDragExpandTimer->SetEnabled(false);
    if (FreeExpandTimer)
        FDragExpandTimer.reset();
    if (!FTree->DragAllowed)
        return;
    FDragScrollTimer.reset();
    ClearDropTarget(Source);
}

void TCvTreeView::CMDragTree(TMessage& Message) {
    auto* Rec = reinterpret_cast<TDragRec*>(Message.LParam);
    FDragSource = Rec ? Rec->Source : nullptr;
    TCustomControl::WndProc(Message);
    if (!Rec)
        return;
    switch (static_cast<TDragMessage>(Message.WParam)) {
    case dmDragEnter:
        FDragOverView = true;
        break;
    case dmDragMove:
        if (FTree->DragAllowed) {
            const TPoint P = ScreenToClient(Rec->Pos);
            DoDragOver(Rec->Source, P.X, P.Y, Message.Result != 0);
        }
        break;
    case dmDragLeave:
        EndDragOver(false);
        break;
    case dmDragDrop:
    case dmDragCancel:
        EndDragOver(true);
        break;
    default:
        break;
    }
}

// ----------------------------------------------------------------- OLE

void TCvTreeView::UpdateOleTarget() {
    if (FTree->DragType() == dtDelphi) {
        FOleTarget.reset();
        return;
    }
    if (FOleTarget)
        return;
    FOleTarget = std::make_unique<TCvDropTarget>(nullptr);
    FOleTarget->OnTargetDrag = [this](TObject*, TDragState State, TOleDragObject* Source,
                                      TShiftState Shift, int X, int Y, TDragType& Type) {
        OleTargetDrag(State, Source, Shift, X, Y, Type);
    };
    FOleTarget->OnTargetDrop = [this](TObject*, TOleDragObject* Source, TShiftState Shift, int X,
                                      int Y, TDragType& Type) {
        OleTargetDrop(Source, Shift, X, Y, Type);
    };
    FOleTarget->SetTarget(this);
}

void TCvTreeView::OleTargetDrag(TDragState State, TOleDragObject* Source, TShiftState Shift, int X,
                                int Y, TDragType& Type) {
    TCustomCvTree& T = *FTree;
    T.DoOleTargetDrag(State, Source, Shift, X, Y, Type);
    DoDragOver(nullptr, X, Y, Type != dtNone);
    if (State == dsDragLeave) {
        FDragScrollTimer.reset();
        ClearDropTarget(nullptr);
    }
}

void TCvTreeView::OleTargetDrop(TOleDragObject* Source, TShiftState Shift, int X, int Y,
                                TDragType& Type) {
    TCustomCvTree& T = *FTree;
    FDragScrollTimer.reset();
    ClearDropTarget(nullptr);
    T.DoOleTargetDrop(Source, Shift, X, Y, Type);
}

void TCvTreeView::Shutdown() noexcept {
    DropEdit();
    if (Dragging())
        CancelDrag();
    FScreenDragImage->End();
    FDragScrollTimer.reset();
    FDragExpandTimer.reset();
    FOleTarget.reset();
}
