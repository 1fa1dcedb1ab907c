// The view's mouse and keyboard input: presses, releases and double clicks, selection with the
// mouse (single, multiple, deferred to the release, right clicks, the frame), the check-box
// cycle, hot tracking, the key table and keyboard navigation.
#include "classlib/gui/Menus.h"
#include "treelist/CvTree.h"
#include "treelist/CvTreeNav.h"
#include "treelist/CvTreeSearch.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// The pointer must move this far (Euclidean) from the press before a drag or a frame starts.
constexpr int DragDistance = 5;

bool FarFromPress(int X, int Y, int PressX, int PressY) {
    return std::hypot(X - PressX, Y - PressY) >= DragDistance;
}

std::optional<TCvNavKey> NavKeyOf(WORD Key) {
    switch (Key) {
    case VK_UP:
        return TCvNavKey::Up;
    case VK_DOWN:
        return TCvNavKey::Down;
    case VK_PRIOR:
        return TCvNavKey::PageUp;
    case VK_NEXT:
        return TCvNavKey::PageDown;
    case VK_HOME:
        return TCvNavKey::Home;
    case VK_END:
        return TCvNavKey::End;
    default:
        return std::nullopt;
    }
}

// The batch a multi-selection action runs in; a single-selection tree runs without one.
class TMultiSelectBatch {
public:
    explicit TMultiSelectBatch(TCustomCvTree& T) {
        if (T.MultiSelect())
            FBatch.emplace(T);
    }

private:
    std::optional<TCvTreeBatch> FBatch;
};

} // namespace

// ------------------------------------------------------------------ helpers

TCvTreeView::THit TCvTreeView::HitAt(int X, int Y) const {
    THit Hit;
    Hit.Item = GetItemAt(X, Y, Hit.Section, Hit.Part);
    return Hit;
}

bool TCvTreeView::Usable(const TCvTreeItem& Item) const {
    return FTree->IgnoreEnabled || Item.HasFlag(ifEnabled);
}

void TCvTreeView::FocusView() {
    if (Focused() || ComponentState().Contains(csDesigning) || !CanFocus())
        return;
    ::SetFocus(Handle());
}

void TCvTreeView::ToggleExpanded(TCvTreeItem& Item) {
    TCustomCvTree& T = *FTree;
    if (Item.IsExpanded()) {
        TCvTreeItem* const Before = T.GetFocusedItem();
        Item.CollapseItem(false);
        if (T.GetFocusedItem() != Before)
            T.DoAfterSelectionChange();
        return;
    }
    ExpandShowingChildren(Item, false);
}

void TCvTreeView::ExpandShowingChildren(TCvTreeItem& Item, bool Recurse) {
    const TCvItemHold Held(*FTree, &Item);
    Item.ExpandItem(Recurse);
    if (Held)
        MakeChildrenVisible(&Item);
}

void TCvTreeView::ForgetInputItem(const TCvTreeItem& Item) {
    if (FLastClickItem == &Item)
        FLastClickItem = nullptr;
    if (FPendingEditItem == &Item) {
        StopEditTimer();
        FPendingEditItem = nullptr;
    }
    if (FEditedItem == &Item)
        DropEdit();
    if (FDeferredItem == &Item) {
        FDeferredItem = nullptr;
        FDeferredSelect = false;
    }
    if (FFrameSelecting && (FFrameStartItem == &Item || FFrameEndItem == &Item)) {
        // Without its corner the frame cannot be drawn over again; the repaint erases it.
        DropFrame();
        Invalidate();
    }
    std::erase(FFrameSelection, &Item);
    if (FPressedItem == &Item)
        FPressedItem = nullptr;
}

TCvCellControl* TCvTreeView::CellControlAt(const THit& Hit) const {
    if (!Hit.Item || Hit.Part != ipColumn || Hit.Section < 0)
        return nullptr;
    const TCvCellStyle* Style = FTree->CellStyleOf(*Hit.Item, Hit.Section);
    TCvCellControl* Control = Style && !Style->OwnerProps ? Style->Control() : nullptr;
    return Control && Control->Visible() ? Control : nullptr;
}

TPoint TCvTreeView::CellPoint(const THit& Hit, int X, int Y) const {
    const TCvHeaderSection* Section = FTree->SectionOf(Hit.Section);
    return TPoint{X - FTree->LeftPosition() - (Section ? Section->LeftEdge() : 0), Y};
}

void TCvTreeView::ReleaseCellControl(const THit& Hit, bool RightButton, int X, int Y) {
    const THit Pressed{FPressedItem, FPressedSection, ipColumn};
    TCvCellControl* const Was = CellControlAt(Pressed);
    FPressedItem = nullptr;
    TCvCellControl* const Here = CellControlAt(Hit);
    if (Here) {
        const TPoint P = CellPoint(Hit, X, Y);
        Here->MouseUp(RightButton, P.X, P.Y);
        if (Here == Was)
            Here->Click();
    }
    if (Was && Was != Here)
        Was->MouseUp(RightButton, -1, -1);
}

// A click on the hit cell may open its editor (the timing rules aside).
bool TCvTreeView::ClickEdits(const THit& Hit) const {
    const TCustomCvTree& T = *FTree;
    return Hit.Item && (Hit.Part == ipMainText || Hit.Part == ipColumn) &&
           (Hit.Item == FLastClickItem || T.QuickEditMode) && Hit.Item->HasFlag(ifAllowEdit) &&
           T.DoInplaceEdit;
}

// ------------------------------------------------------------------ presses

void TCvTreeView::PressLeft(int X, int Y) {
    StopEditTimer();
    HideLineHint();
    FDragHappened = false;
    FocusView();
    FPressX = X;
    FPressY = Y;
    FButtonDown = true;
}

void TCvTreeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Shift.Contains(ssDouble)) {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    TCustomCvTree& T = *FTree;
    T.SelectionChanged = false;
    THit Hit = HitAt(X, Y);
    if (Hit.Part == ipOutside && (T.ShowColumns() || !T.RowSelect()))
        Hit.Item = nullptr;
    if (Hit.Item && !Usable(*Hit.Item)) {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (Button == mbRight && Hit.Part == ipButton)
        Hit.Part = ipMainText;
    if (Hit.Item && Hit.Part == ipButton)
        ToggleExpanded(*Hit.Item);
    if (Hit.Item && Hit.Part == ipColumn) {
        if (TCvCellControl* Control = CellControlAt(Hit)) {
            // The press reaches the control at the top of the row's line.
            const int LH = std::max(1, T.LineHeight());
            const TPoint P = CellPoint(Hit, X, Y / LH * LH);
            if (Control->MouseDown(Button == mbRight, P.X, P.Y)) {
                FPressedItem = Hit.Item;
                FPressedSection = Hit.Section;
            } else {
                TCustomControl::MouseDown(Button, Shift, X, Y);
                return;
            }
        }
        const TCvHeaderSection* Section = T.SectionOf(Hit.Section);
        if (Section && !Section->ClickSelect())
            return;
    }
    const bool Left = Button == mbLeft || Shift.Contains(ssLeft);
    const bool Right = Button == mbRight || Shift.Contains(ssRight);
    if (Left && Hit.Part != ipButton && Hit.Part != ipCheckBox) {
        {
            const TMultiSelectBatch Batch(T);
            const bool OnItem =
                Hit.Item && ((Hit.Part != ipInside && Hit.Part != ipOutside) || T.RowSelect());
            if (OnItem) {
                SelectByLeftPress(*Hit.Item, Shift);
            } else {
                if (!T.AlwaysKeepFocus)
                    T.SetFocusedItem(nullptr);
                if (T.MultiSelect() && !T.AlwaysKeepSelection)
                    T.DeselectAll();
            }
        }
        if (T.SelectionChanged)
            T.DoAfterSelectionChange();
    } else if (Right && !Left && T.RightClickSelect) {
        {
            const TMultiSelectBatch Batch(T);
            const bool OnItem =
                Hit.Item && ((Hit.Part != ipInside && Hit.Part != ipOutside) || T.RowSelect());
            SelectByRightPress(OnItem ? Hit.Item : nullptr, Shift);
        }
        if (T.SelectionChanged)
            T.DoAfterSelectionChange();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCvTreeView::SelectByLeftPress(TCvTreeItem& Item, TShiftState Shift) {
    TCustomCvTree& T = *FTree;
    const bool Ctrl = Shift.Contains(ssCtrl);
    const bool ShiftKey = Shift.Contains(ssShift);
    const bool Usual = T.SelectionMode == smUsual;
    if (T.MultiSelect() && Item.IsSelected() && !Ctrl) {
        // Pressing a selected item may start a drag of the selection; decide at the release.
        FDeferredSelect = true;
        FDeferredItem = &Item;
        FDeferredShift = Shift;
        T.SetFocusedItem(&Item);
        if (T.GetFocusedItem() == &Item)
            Item.SetSelected(Usual);
        return;
    }
    const int SelectedBefore = T.SelectedCount();
    if (T.MultiSelect()) {
        if (Usual && !Ctrl && !ShiftKey)
            T.DeselectAll();
        if (Usual && ShiftKey) {
            TCvTreeItem* const Anchor = T.GetSelectedItem();
            T.DeselectAll();
            if (Anchor) {
                Anchor->SetSelected(true);
                T.SelectRangeEx2(&Item, Anchor, true, false, false);
                T.SetSelectedItem(Anchor);
            }
            if (&Item != T.GetFocusedItem())
                Item.SetSelected(false);
        }
    }
    if (&Item != T.GetFocusedItem())
        T.SetFocusedItem(&Item);
    else if (!Item.IsSelected() || !T.AlwaysKeepSelection || T.SelectedCount() > 1)
        T.SelectOrToggle(&Item);
    if (!T.MultiSelect())
        return;
    if (!Ctrl && !ShiftKey && T.GetFocusedItem() == &Item)
        T.SetSelectedItem(&Item);
    if (Ctrl && SelectedBefore <= 1 && T.SelectedCount() == 0 && T.GetFocusedItem())
        T.GetFocusedItem()->SetSelected(true);
}

void TCvTreeView::SelectByRightPress(TCvTreeItem* Item, TShiftState Shift) {
    TCustomCvTree& T = *FTree;
    const bool Ctrl = Shift.Contains(ssCtrl);
    const bool ShiftKey = Shift.Contains(ssShift);
    if (T.MultiSelect() && Item && Item->IsSelected()) {
        T.SetFocusedItem(Item);
        Item->SetSelected(true);
        return;
    }
    const bool Usual = T.SelectionMode == smUsual;
    if (T.MultiSelect() && Usual && T.SelectedCount() >= 2)
        return;
    if (!Item) {
        if (!T.AlwaysKeepFocus)
            T.SetFocusedItem(nullptr);
        return;
    }
    if (T.MultiSelect() && Usual) {
        if (!Ctrl && !ShiftKey)
            T.DeselectAll();
        if (ShiftKey)
            SelectFromAnchorTo(*Item);
    }
    if (Item != T.GetFocusedItem())
        T.SetFocusedItem(Item);
    else if (!Item->IsSelected())
        T.SelectOrToggle(Item);
    if (T.MultiSelect() && !Ctrl && !ShiftKey)
        T.SetSelectedItem(Item);
}

// ------------------------------------------------------------------ releases

void TCvTreeView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    const THit Hit = HitAt(X, Y);
    if (Hit.Item && !Usable(*Hit.Item))
        return;
    if (Hit.Item && Hit.Part == ipCheckBox && Hit.Item->HasFlag(ifCheckBoxEnabled))
        CycleCheckBox(*Hit.Item);
    if (FDeferredSelect)
        ApplyDeferredSelect();
}

// Shift with a press: the range from the anchor (the selected item) to Item, nothing else.
void TCvTreeView::SelectFromAnchorTo(TCvTreeItem& Item) {
    TCustomCvTree& T = *FTree;
    TCvTreeItem* const Anchor = T.GetSelectedItem();
    T.DeselectAll();
    if (!Anchor)
        return;
    Anchor->SetSelected(true);
    T.SelectRangeEx2(&Item, Anchor, true, false, false);
    T.SetSelectedItem(Anchor);
}

void TCvTreeView::CycleCheckBox(TCvTreeItem& Item) {
    TCustomCvTree& T = *FTree;
    switch (Item.CheckBoxType()) {
    case 1: {
        // Unchecked, grayed, checked, unchecked again.
        static constexpr int NextState[] = {2, 0, 1};
        Item.SetCheckBoxState(NextState[std::min(Item.CheckBoxState(), 2)]);
        break;
    }
    case 2:
        Item.SetCheckMark(true);
        break;
    default:
        Item.SetCheckMark(!Item.IsChecked());
        break;
    }
    const TCvItemHold Held(T, &Item);
    T.DoItemChecked(&Item);
    if (Held)
        T.DoItemChange(&Item, icmCheckState);
}

void TCvTreeView::ApplyDeferredSelect() {
    TCustomCvTree& T = *FTree;
    FDeferredSelect = false;
    TCvTreeItem* const Item = std::exchange(FDeferredItem, nullptr);
    if (!Item)
        return;
    const bool Ctrl = FDeferredShift.Contains(ssCtrl);
    const bool ShiftKey = FDeferredShift.Contains(ssShift);
    const bool Usual = T.SelectionMode == smUsual;
    {
        const TMultiSelectBatch Batch(T);
        const bool WasSelected = Item->IsSelected();
        if (Usual && !Ctrl && !ShiftKey)
            T.DeselectAll();
        if (Usual && ShiftKey)
            SelectFromAnchorTo(*Item);
        if (Item != T.GetFocusedItem())
            T.SetFocusedItem(Item);
        else if (Usual && !Item->IsSelected() && (!WasSelected || T.AlwaysKeepSelection))
            T.SelectOrToggle(Item);
        if (!Ctrl && !ShiftKey)
            T.SetSelectedItem(Item);
    }
    T.DoAfterSelectionChange();
}

bool TCvTreeView::ReleaseLeft(int X, int Y) {
    StopEditTimer();
    HideLineHint();
    FButtonDown = false;
    if (FFrameSelecting) {
        EndFrame();
        FDragHappened = false;
        return false;
    }
    const THit Hit = HitAt(X, Y);
    if (Hit.Item && !Usable(*Hit.Item))
        return false;
    if (X == FPressX && Y == FPressY && Hit.Part != ipInside && Hit.Part != ipOutside &&
        Hit.Part != ipButton && !FDragHappened) {
        if (ClickEdits(Hit) && (FSecondClick || FTree->QuickEditMode) &&
            FTree->DblClickMode() != dcmEdit)
            StartEditTimer(Hit.Item, Hit.Section, false);
        FSecondClick = true;
        FClickX = X;
        FClickY = Y;
        FLastClickItem = Hit.Item;
        FLastClickSection = Hit.Section;
    }
    if (!Hit.Item)
        FLastClickItem = nullptr;
    FDragHappened = false;
    String Href;
    const TCvItemHold Held(*FTree, Hit.Item);
    if (LinkAt(Hit, X, Y, Href))
        FTree->DoLinkClick(Href);
    if (Held.Alive())
        ReleaseCellControl(Hit, false, X, Y);
    return true;
}

bool TCvTreeView::LinkAt(const THit& Hit, int X, int Y, String& Href) {
    if (!Hit.Item || !Hit.Item->IsHTML() || (Hit.Part != ipMainText && Hit.Part != ipColumn))
        return false;
    const TCustomCvTree& T = *FTree;
    const int Main = T.MainTreeColumn();
    const bool TreeColumn = Hit.Section < 0 || Hit.Section == Main;
    TCvHTMLData* Data = Hit.Item->HTMLData(TreeColumn           ? -1
                                           : Hit.Section > Main ? Hit.Section - 1
                                                                : Hit.Section);
    if (!Data)
        return false;
    const TRect Box = Data->PaintedRect;
    FHTMLRender.SelectData(Data);
    const bool Link =
        FHTMLRender.LinkAtPoint(TPoint{X - Box.Left, Y - Box.Top}, TPoint{0, 0}, Box, Href);
    FHTMLRender.SelectData(nullptr);
    return Link;
}

void TCvTreeView::UpdateCursor(const THit& Hit, int X, int Y) {
    String Href;
    const TCursor Wanted = LinkAt(Hit, X, Y, Href) ? FTree->LinkCursor : FTree->Cursor();
    if (Cursor() != Wanted)
        SetCursor(Wanted);
}

bool TCvTreeView::ReleaseRight(int X, int Y) {
    const THit Hit = HitAt(X, Y);
    if (Hit.Item && !Usable(*Hit.Item))
        return false;
    ReleaseCellControl(Hit, true, X, Y);
    TCvCellControl* const Control = CellControlAt(Hit);
    TPopupMenu* const Menu = Control ? Control->PopupMenu() : nullptr;
    if (!Menu || !Menu->AutoPopup)
        return true;
    // The cell's own menu stands for the tree's context menu.
    FButtonDown = false;
    if (MouseCapture())
        SetMouseCapture(false);
    const TPoint At = ClientToScreen(TPoint{X, Y});
    Menu->Popup(At.X, At.Y);
    return false;
}

bool TCvTreeView::DoubleClickLeft(int X, int Y) {
    TCustomCvTree& T = *FTree;
    StopEditTimer();
    const THit Hit = HitAt(X, Y);
    if (Hit.Item && !Usable(*Hit.Item))
        return false;
    if (T.DblClickMode() == dcmEdit && ClickEdits(Hit))
        StartEditTimer(Hit.Item, Hit.Section, true);
    if (T.DblClickMode() == dcmExpand && Hit.Item &&
        (Hit.Part == ipMainText || (T.FullRowSelect && Hit.Part != ipCheckBox)))
        ToggleExpanded(*Hit.Item);
    if (TCvCellControl* Control = CellControlAt(Hit)) {
        Control->DoubleClick();
        return false;
    }
    FSecondClick = false;
    FLastClickItem = nullptr;
    FLastClickSection = -2;
    FDragHappened = true;
    return Hit.Part != ipButton && Hit.Part != ipCheckBox;
}

bool TCvTreeView::DoubleClickRight(int X, int Y) {
    StopEditTimer();
    const THit Hit = HitAt(X, Y);
    if (Hit.Item && !Usable(*Hit.Item))
        return false;
    if (TCvCellControl* Control = CellControlAt(Hit)) {
        Control->DoubleClick();
        return false;
    }
    return true;
}

// ------------------------------------------------------------------ moves

void TCvTreeView::ProcessMouseMove(TShiftState Shift, int X, int Y) {
    TCustomCvTree& T = *FTree;
    const THit Hit = HitAt(X, Y);
    UpdateCursor(Hit, X, Y);
    if (Dragging())
        return;
    if (TCvCellControl* Control = CellControlAt(Hit)) {
        const TPoint P = CellPoint(Hit, X, Y);
        Control->MouseMove(P.X, P.Y);
    }
    if (FButtonDown) {
        if (FFrameSelecting) {
            MoveFrame(X, Y);
        } else if (FarFromPress(X, Y, FPressX, FPressY)) {
            if (CanStartDrag()) {
                StartDrag();
                return;
            }
            if (T.MouseFrameSelect && T.MultiSelect() && !FRows.empty()) {
                FDeferredSelect = false;
                StartFrame(Shift);
                MoveFrame(X, Y);
            }
        }
    }
    if (T.Tracking() && !FFrameSelecting)
        SetHotItem(GetItemAtY(Y));
    if (T.LineHintMode != shmNone && !FFrameSelecting && (X != FHintX || Y != FHintY))
        ArmLineHint(X, Y);
    PrepareItemHint(X, Y);
}

void TCvTreeView::SetHotItem(TCvTreeItem* Item) {
    TCustomCvTree& T = *FTree;
    TCvTreeItem* const Old = T.HotItem;
    if (Item == Old)
        return;
    T.HotItem = Item && !Usable(*Item) ? nullptr : Item;
    if (T.HotItem == Old)
        return;
    for (TCvTreeItem* Changed : {Old, T.HotItem}) {
        if (!Changed)
            continue;
        if (T.ShowColumns() && !T.RowHotTrack())
            InvalidateSection(*Changed, T.MainTreeColumn());
        else
            InvalidateItem(*Changed);
    }
    T.DoHotTrack(Old, T.HotItem);
}

// ------------------------------------------------------------------ frame selection

void TCvTreeView::FrameCorner(int X, int Y, TCvTreeItem*& Item, int& CornerX, int& CornerY) {
    Item = GetItemAtY(Y);
    if (!Item && !FRows.empty())
        Item = FRows.back();
    const auto Row = std::find(FRows.begin(), FRows.end(), Item);
    const int Top = Row == FRows.end() ? 0 : GetItemRect(static_cast<int>(Row - FRows.begin())).Top;
    CornerX = FTree->LeftPosition() + X;
    CornerY = Y - Top;
}

void TCvTreeView::StartFrame(TShiftState Shift) {
    TCustomCvTree& T = *FTree;
    FrameCorner(FPressX, FPressY, FFrameStartItem, FFrameStartX, FFrameStartY);
    FFrameEndItem = FFrameStartItem;
    FFrameEndX = FFrameStartX;
    FFrameEndY = FFrameStartY;
    if (!Shift.Contains(ssCtrl) && GetKeyState(VK_CONTROL) >= 0) {
        T.SelectionChanged = false;
        T.DeselectAll();
        if (T.SelectionChanged)
            T.DoAfterSelectionChange();
    }
    SetMouseCapture(true);
    FFrameSelecting = true;
    FFrameSelection.clear();
    DrawFrame();
}

void TCvTreeView::MoveFrame(int X, int Y) {
    TCustomCvTree& T = *FTree;
    DrawFrame();
    const TRect Client = ClientRect();
    if (Y < Client.Top) {
        SetTopIndex(T.TopIndex() - 1);
    } else if (Y >= Client.Bottom) {
        SetTopIndex(T.TopIndex() + 1);
    } else if (X < Client.Left) {
        T.SetLeftPosition(T.LeftPosition() - 4);
    } else if (X >= Client.Right) {
        T.SetLeftPosition(T.LeftPosition() + 4);
    } else {
        FrameCorner(X, Y, FFrameEndItem, FFrameEndX, FFrameEndY);
        const bool Below =
            !FRows.empty() && Y >= GetItemRect(static_cast<int>(FRows.size()) - 1).Bottom;
        T.SelectionChanged = false;
        RecomputeFrameSelection(Below);
        if (T.SelectionChanged)
            T.DoAfterSelectionChange();
    }
    if (Y < Client.Top || Y >= Client.Bottom || X < Client.Left || X >= Client.Right)
        Update();
    DrawFrame();
}

void TCvTreeView::RecomputeFrameSelection(bool Below) {
    TCustomCvTree& T = *FTree;
    if (!FFrameStartItem || !FFrameEndItem)
        return;
    std::vector<TCvTreeItem*> Inside;
    const bool Empty =
        Below && !FRows.empty() && FFrameStartItem == FRows.back() && FFrameEndItem == FRows.back();
    if (!Empty) {
        // Rows in between on screen: the children of a collapsed item are not in the frame.
        if (T.VisibleCountDirty)
            T.CountVisibleItems();
        int From = FFrameStartItem->VisIndex();
        int To = FFrameEndItem->VisIndex();
        if (To < From)
            std::swap(From, To);
        const int Left = std::min(FFrameStartX, FFrameEndX);
        for (int V = std::max(0, From); V <= To; ++V) {
            TCvTreeItem* Item = T.Items().GetVisItem(V);
            if (!Item)
                continue;
            const int Width =
                T.ShowColumns() ? T.HeaderControl().SectionsWidth() : Item->GetWidth();
            if (Left < Width)
                Inside.push_back(Item);
        }
    }
    TCvTreeBatch Batch(T);
    const auto In = [](const std::vector<TCvTreeItem*>& List, TCvTreeItem* Item) {
        return std::find(List.begin(), List.end(), Item) != List.end();
    };
    for (TCvTreeItem* Item : Inside)
        if (!In(FFrameSelection, Item) && Usable(*Item))
            Item->SetSelected(!Item->IsSelected());
    for (TCvTreeItem* Item : FFrameSelection)
        if (!In(Inside, Item) && Usable(*Item))
            Item->SetSelected(!Item->IsSelected());
    FFrameSelection = std::move(Inside);
}

void TCvTreeView::DrawFrame() {
    TCustomCvTree& T = *FTree;
    if (!FFrameSelecting || !T.MouseFrameVisible || !HandleAllocated())
        return;
    const auto YOf = [this](TCvTreeItem* Item, int Offset, bool OtherFirst) {
        const auto Row = std::find(FRows.begin(), FRows.end(), Item);
        if (Row != FRows.end())
            return GetItemRect(static_cast<int>(Row - FRows.begin())).Top + Offset;
        return OtherFirst ? ClientHeight() + 1 : -1;
    };
    const int StartAbs = FFrameStartItem ? FFrameStartItem->AbsIndex() : 0;
    const int EndAbs = FFrameEndItem ? FFrameEndItem->AbsIndex() : 0;
    const int Y1 = YOf(FFrameStartItem, FFrameStartY, EndAbs < StartAbs);
    const int Y2 = YOf(FFrameEndItem, FFrameEndY, StartAbs < EndAbs);
    RECT R{std::min(FFrameStartX, FFrameEndX) - T.LeftPosition(), std::min(Y1, Y2),
           std::max(FFrameStartX, FFrameEndX) - T.LeftPosition(), std::max(Y1, Y2)};
    if (HDC DC = GetDC(Handle())) {
        ::SetBkColor(DC, ColorToRGB(T.BkColor()));
        ::SetTextColor(DC, ColorToRGB(T.TextColor()));
        ::DrawFocusRect(DC, &R);
        ReleaseDC(Handle(), DC);
    }
}

void TCvTreeView::EndFrame() {
    if (!FFrameSelecting)
        return;
    DrawFrame();
    DropFrame();
}

void TCvTreeView::DropFrame() {
    FFrameSelecting = false;
    FFrameSelection.clear();
    FFrameStartItem = FFrameEndItem = nullptr;
    if (MouseCapture())
        SetMouseCapture(false);
}

// ------------------------------------------------------------------ keys

void TCvTreeView::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (FFrameSelecting || Key == 0)
        return;
    TCustomCvTree& T = *FTree;
    T.SelectionChanged = false;
    if (Shift.Contains(ssCtrl) && Shift.Contains(ssShift))
        Shift.Exclude(ssCtrl);
    WORD Code = Key;
    if (T.RightAlignedTree() && (Code == VK_LEFT || Code == VK_RIGHT))
        Code = Code == VK_LEFT ? VK_RIGHT : VK_LEFT;
    {
        const TMultiSelectBatch Batch(T);
        TCvTreeItem* const F = T.GetFocusedItem();
        const bool FUsable = F && Usable(*F);
        const bool CanOpen = FUsable && (F->HasVisibleChildren() || F->HasFlag(ifForceButtons));
        switch (Code) {
        case VK_BACK:
            if (F && F->ParentItem() && Usable(*F->ParentItem())) {
                T.DoSetFocusedEx(F->ParentItem(), false, true);
                T.EnsureVisible(T.GetFocusedItem());
            }
            break;
        case VK_SPACE:
            if (T.MultiSelect() && FUsable) {
                if (T.SelectionMode == smUsual && !Shift.Contains(ssCtrl) &&
                    !Shift.Contains(ssShift)) {
                    const TCvItemHold Held(T, F);
                    T.DeselectAll();
                    if (!Held)
                        break;
                    T.SetSelectedItem(F);
                } else if (T.SelectionMode == smSimple) {
                    T.SetSelectedItem(F);
                }
                F->SetSelected(!F->IsSelected());
            }
            break;
        case VK_LEFT:
            if (FUsable && F->IsExpanded())
                F->CollapseItem(false);
            else if (F && F->ParentItem())
                NavigateTo(F->ParentItem(), VK_LEFT, Shift);
            break;
        case VK_RIGHT:
            if (CanOpen && !F->IsExpanded()) {
                ExpandShowingChildren(*F, false);
            } else if (F && F->IsExpanded()) {
                NavigateTo(F->GetFirstVisibleChild(), VK_RIGHT, Shift);
            }
            break;
        case VK_MULTIPLY:
            if (CanOpen)
                ExpandShowingChildren(*F, true);
            break;
        case '8':
            if (Shift.Contains(ssShift) && CanOpen)
                F->ExpandItem(true);
            break;
        case VK_ADD:
            if (Shift.Contains(ssCtrl)) {
                T.AutoSizeAllColumns();
            } else if (CanOpen && !F->IsExpanded()) {
                ExpandShowingChildren(*F, false);
            }
            break;
        case VK_SUBTRACT:
            if (FUsable && F->IsExpanded())
                F->CollapseItem(false);
            break;
        case VK_DIVIDE:
            if (FUsable)
                F->CollapseItem(true);
            break;
        default:
            if (NavKeyOf(Code))
                Navigate(Code, Shift);
            break;
        }
    }
    if (T.SelectionChanged)
        T.DoAfterSelectionChange();
}

void TCvTreeView::KeyPress(wchar_t& Key) {
    if (FTree->IncrementalSearch)
        Search().ProcessSearchKey(Key);
    // The key is passed on in every case.
    TCustomControl::KeyPress(Key);
}

TCvTreeItem* TCvTreeView::GetNavigationTarget(WORD Key, int& VisIndex, bool& WasSelected) {
    const std::optional<TCvNavKey> Nav = NavKeyOf(Key);
    if (!Nav)
        return nullptr;
    TCustomCvTree& T = *FTree;
    if (T.VisibleCountDirty || T.TotalVisCount() == 0)
        T.CountVisibleItems();
    const bool Fixed = T.TotalVarHeightCount() == 0;
    int Steps = GetVisibleRowCount() - 1;
    if (!Fixed && *Nav == TCvNavKey::PageDown)
        Steps = LastOfPage(T.TopIndex()) - T.TopIndex();
    if (!Fixed && *Nav == TCvNavKey::PageUp && T.GetFocusedItem()) {
        const int V = T.GetFocusedItem()->VisIndex();
        Steps = V - FirstOfLastPage(V);
    }
    const TCvNavTarget Target = NavigationTargetOf(T, *Nav, Steps);
    if (!Target.Item)
        return nullptr;
    VisIndex = Target.VisIndex;
    WasSelected = Target.Item->IsSelected();
    return Target.Item;
}

void TCvTreeView::Navigate(WORD Key, TShiftState Shift) {
    int VisIndex = 0;
    bool WasSelected = false;
    if (TCvTreeItem* Target = GetNavigationTarget(Key, VisIndex, WasSelected))
        NavigateTo(Target, Key, Shift);
}

void TCvTreeView::NavigateTo(TCvTreeItem* Target, WORD Key, TShiftState Shift) {
    TCustomCvTree& T = *FTree;
    // A parent or child that is disabled keeps the focus where it is, as the arrows skip them.
    if (!Target || !Usable(*Target))
        return;
    const bool Ctrl = Shift.Contains(ssCtrl);
    const bool ShiftKey = Shift.Contains(ssShift);
    const bool Usual = T.SelectionMode == smUsual;
    // Selection handlers may rebuild the rows: each step reads only what is still there.
    const TCvItemHold Old(T, T.GetFocusedItem());
    const TCvItemHold Anchor(T, T.GetSelectedItem());
    const TCvItemHold Held(T, Target);
    if (T.MultiSelect()) {
        const bool Keep = (Ctrl && Usual) || !Usual;
        const bool OldSelected = Old && Old.Get()->IsSelected();
        if (Usual && !Ctrl)
            T.DeselectAll();
        if (Keep && Old)
            Old.Get()->SetSelected(OldSelected);
        if (ShiftKey && Anchor && Held)
            T.SelectRangeEx2(Anchor.Get(), Target, true, false, false);
        if (Anchor.Alive())
            T.SetSelectedItem(Anchor.Get());
        if (!Held)
            return;
        if (Keep && Target != Old.Get())
            Target->SetSelected(!Target->IsSelected());
        if (Held && ShiftKey && Target != Old.Get())
            Target->SetSelected(false);
        if (!Held)
            return;
    }
    if (Target == Old.Get()) {
        if (T.MultiSelect()) {
            Target->SetSelected(true);
            if (Held && !T.GetSelectedItem())
                T.SetSelectedItem(Anchor ? Anchor.Get() : Target);
        } else {
            T.SelectOrToggle(Target);
        }
    } else {
        T.DoSetFocusedEx(Target, false, true);
        if (T.MultiSelect() && Anchor.Alive())
            T.SetSelectedItem(Anchor.Get());
    }
    if ((!Ctrl && !ShiftKey) || !T.MultiSelect()) {
        TCvTreeItem* const F = T.GetFocusedItem();
        if (T.MultiSelect()) {
            const TCvItemHold FHeld(T, F);
            T.SetSelectedItem(F);
            if (Usual && FHeld)
                F->SetSelected(true);
        }
    }
    ScrollToFocused(Key);
}

bool TCvTreeView::RowFullyShown(const TCvTreeItem& Item) const {
    const auto Row = std::find(FRows.begin(), FRows.end(), &Item);
    return Row != FRows.end() &&
           GetItemRect(static_cast<int>(Row - FRows.begin())).Bottom <= ClientHeight();
}

void TCvTreeView::ScrollToFocused(WORD Key) {
    TCustomCvTree& T = *FTree;
    TCvTreeItem* const F = T.GetFocusedItem();
    if (!F || RowFullyShown(*F))
        return;
    const bool Fixed = T.TotalVarHeightCount() == 0;
    const int V = F->VisIndex();
    const int Top = T.TopIndex();
    switch (Key) {
    case VK_UP:
    case VK_LEFT:
        SetTopIndex(V);
        break;
    case VK_DOWN:
        SetTopIndex(Fixed ? V - GetVisibleRowCount() + 2 : FirstOfLastPage(V));
        break;
    case VK_RIGHT:
        T.EnsureVisibleBottom(F);
        break;
    case VK_PRIOR:
        SetTopIndex(Fixed ? Top - GetVisibleRowCount() + 1 : FirstOfLastPage(Top));
        break;
    case VK_NEXT:
        SetTopIndex(Fixed ? Top + GetVisibleRowCount() - 1 : LastOfPage(Top));
        break;
    case VK_HOME:
        SetTopIndex(0);
        break;
    case VK_END:
        SetTopIndex(T.TotalVisCount() - 1);
        break;
    default:
        break;
    }
    T.RowListDirty = true;
    T.RepaintAll = true;
}

// ------------------------------------------------------------------ messages

void TCvTreeView::WMLButtonDown(TMessage& Message) {
    const TWMMouse Mouse(Message);
    PressLeft(Mouse.X, Mouse.Y);
    TCustomControl::WndProc(Message);
}

void TCvTreeView::WMLButtonUp(TMessage& Message) {
    const TWMMouse Mouse(Message);
    if (ReleaseLeft(Mouse.X, Mouse.Y))
        TCustomControl::WndProc(Message);
    else if (MouseCapture())
        SetMouseCapture(false);
}

void TCvTreeView::WMLButtonDblClk(TMessage& Message) {
    const TWMMouse Mouse(Message);
    if (DoubleClickLeft(Mouse.X, Mouse.Y))
        TCustomControl::WndProc(Message);
}

void TCvTreeView::WMRButtonDown(TMessage& Message) {
    StopEditTimer();
    HideLineHint();
    EndFrame();
    FocusView();
    TCustomControl::WndProc(Message);
}

void TCvTreeView::WMRButtonUp(TMessage& Message) {
    const TWMMouse Mouse(Message);
    if (ReleaseRight(Mouse.X, Mouse.Y))
        TCustomControl::WndProc(Message);
}

void TCvTreeView::WMRButtonDblClk(TMessage& Message) {
    const TWMMouse Mouse(Message);
    if (DoubleClickRight(Mouse.X, Mouse.Y))
        TCustomControl::WndProc(Message);
}

void TCvTreeView::WMMouseMove(TMessage& Message) {
    TCustomControl::WndProc(Message);
    const TWMMouse Mouse(Message);
    ProcessMouseMove(MouseShiftState(Mouse.Keys), Mouse.X, Mouse.Y);
}

void TCvTreeView::CMMouseLeave(TMessage& Message) {
    TCustomControl::WndProc(Message);
    // The line hint lies over the row: the pointer resting on it has not left the view.
    if (!PointerOverView())
        HideLineHint();
    if (TCvCellControl* Was = CellControlAt(THit{FPressedItem, FPressedSection, ipColumn}))
        Was->MouseUp(false, -1, -1);
    FPressedItem = nullptr;
    if (TCvTreeItem* Hot = std::exchange(FTree->HotItem, nullptr)) {
        InvalidateItem(*Hot);
        if (HandleAllocated())
            Update();
    }
}

void TCvTreeView::WMSetFocus(TMessage& Message) {
    TCustomControl::WndProc(Message);
    FHasFocus = true;
    if (FTree->HideSelection())
        Invalidate();
    if (FTree->HandleAllocated())
        RedrawWindow(FTree->Handle(), nullptr, nullptr,
                     RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TCvTreeView::WMKillFocus(TMessage& Message) {
    TCustomControl::WndProc(Message);
    HideLineHint();
    EndFrame();
    FButtonDown = false;
    FHasFocus = false;
    if (FTree->HideSelection() || FTree->HideFocusRect())
        Invalidate();
    if (FTree->HandleAllocated())
        RedrawWindow(FTree->Handle(), nullptr, nullptr,
                     RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TCvTreeView::WMCancelMode(TMessage& Message) {
    EndFrame();
    TCustomControl::WndProc(Message);
}

void TCvTreeView::CMDeactivate(TMessage& Message) {
    TCustomControl::WndProc(Message);
    if (FTree->HideSelection())
        Invalidate();
}

void TCvTreeView::WMGetDlgCode(TMessage& Message) {
    // The arrow keys and characters.
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
}
