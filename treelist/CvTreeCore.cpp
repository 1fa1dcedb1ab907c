#include "treelist/CvTreeCore.h"

#include "treelist/CvTreeError.h"
#include "treelist/HTMLRender.h"

#include <algorithm>

TSortTypes SortTypeOfField(TCvFieldType FieldType) {
    switch (FieldType) {
    case sftText:
        return stText;
    case sftNumber:
        return stNumber;
    case sftFloating:
        return stFloating;
    case sftDateTime:
        return stDateTime;
    case sftDate:
        return stDate;
    case sftTime:
        return stTime;
    case sftBool:
        return stBoolean;
    case sftCurrency:
        return stCurrency;
    default:
        return stCustom;
    }
}

std::unique_ptr<TCvHTMLData> ICvTreeView::RenderHTML(const TCvString& /*Text*/) {
    return nullptr;
}

TCvTreeCore::TCvTreeCore() : FItems(std::make_unique<TCvTreeItems>(this)) {}

TCvTreeCore::~TCvTreeCore() {
    // The view, header and timer of a derived control are gone by now.
    FDestroying = true;
    FView = &FNoView;
    FHeader = nullptr;
    FChangeTimer = nullptr;
    // The batch stays open: the tree is going away and no end-of-batch work may run.
    SetUpdating(true);
    try {
        GetRoot()->ClearChildren();
    } catch (...) {
    }
}

// ------------------------------------------------------------------ settings

void TCvTreeCore::SetShowColumns(bool Value) {
    if (Value && SectionCount() == 0 && !FLoading)
        return;
    TBatch Batch(*this);
    FShowColumns = Value;
    if (!Value)
        MaxRowWidth = -1;
    MarkRowsChanged();
    Batch.Close();
}

void TCvTreeCore::SetMainTreeColumn(int Value) {
    if (Value < 0 || Value == FMainTreeColumn)
        return;
    FMainTreeColumn = Value >= SectionCount() ? 0 : Value;
    RepaintAll = true;
    ViewUpdatePending = true;
}

void TCvTreeCore::SetVirtualityLevel(TVirtualityLevel Value) {
    if (Value == FVirtualityLevel)
        return;
    TBatch Batch(*this);
    FVirtualityLevel = Value;
    for (int I = 0; I < FItems->TotalCount(); ++I) {
        TCvTreeItem* Item = FItems->FlatAt(I);
        if (Value == vlNone) {
            FItems->GiveStaticData(Item);
        } else {
            Item->DropStaticData();
        }
    }
    MarkRowsChanged();
    Batch.Close();
}

void TCvTreeCore::SetFilteredVisibility(bool Value) {
    if (Value == FFilteredVisibility)
        return;
    TBatch Batch(*this);
    FFilteredVisibility = Value;
    if (Value)
        MoveOffHiddenItems();
    MarkRowsChanged();
    if (!FShowColumns)
        MaxRowWidth = -1;
    Batch.Close();
}

void TCvTreeCore::SetAdjustMultilineHeight(bool Value) {
    if (Value == FAdjustMultilineHeight)
        return;
    TBatch Batch(*this);
    for (int I = 0; I < FItems->TotalCount(); ++I) {
        TCvTreeItem* Item = FItems->FlatAt(I);
        const bool Before = Item->IsVarHeight();
        FAdjustMultilineHeight = Value;
        const bool After = Item->IsVarHeight();
        FAdjustMultilineHeight = !Value;
        if (Before != After)
            FTotalVarHeightCount += After ? 1 : -1;
    }
    FAdjustMultilineHeight = Value;
    MarkRowsChanged();
    Batch.Close();
}

void TCvTreeCore::SetSortSection(int Value) {
    if (Value == FSortSection)
        return;
    FSortSection = Value;
    FSortSections.clear();
}

void TCvTreeCore::SetLineHeight(int Value) {
    if (AutoLineHeight)
        return;
    FLineHeight = Value > 0 ? Value : FView->DefineLineHeight();
    RowListDirty = true;
    RepaintAll = true;
    ViewUpdatePending = true;
}

void TCvTreeCore::MarkRowsChanged() {
    VisibleCountDirty = true;
    RowListDirty = true;
    RepaintAll = true;
    ViewUpdatePending = true;
    FItems->VisibilityChanged();
}

void TCvTreeCore::RenderAllHTML() {
    bool Any = false;
    for (int I = 0; I < FItems->TotalCount(); ++I) {
        TCvTreeItem* Item = FItems->FlatAt(I);
        if (Item->IsHTML()) {
            Item->RenderHTML();
            Item->ForgetHeight();
            Any = true;
        }
    }
    if (!Any)
        return;
    TBatch Batch(*this);
    MaxRowWidth = -1;
    AutoSizePending = true;
    MarkRowsChanged();
    Batch.Close();
}

void TCvTreeCore::RepaintNowOrLater() {
    if (IsUpdating())
        ViewUpdatePending = true;
    else
        FView->RepaintNow();
}

bool TCvTreeCore::IsShown(const TCvTreeItem* Item) const {
    if (!Item || !Item->FParent)
        return false;
    for (const TCvTreeItem* I = Item; I->FParent; I = I->FParent) {
        if (FFilteredVisibility && I->IsHiddenState())
            return false;
        if (I != Item && !I->IsExpanded())
            return false;
    }
    return true;
}

// ------------------------------------------------------------------- batches

void TCvTreeCore::SetUpdating(bool Value) {
    if (FInEndUpdate)
        return;
    if (Value) {
        if (FHeader)
            FHeader->BeginUpdate();
        ++FUpdateCount;
    } else {
        --FUpdateCount;
        if (FHeader)
            FHeader->EndUpdate();
    }
    if (FUpdateCount > 0 || FDestroying || FLoading)
        return;
    FInEndUpdate = true;
    try {
        EndOfBatch();
    } catch (...) {
        FInEndUpdate = false;
        throw;
    }
    FInEndUpdate = false;
}

void TCvTreeCore::EndOfBatch() {
    if (FFilteredVisibility)
        MoveOffHiddenItems();
    if (AutoLineHeight) {
        const int Height = FView->DefineLineHeight();
        if (Height != FLineHeight) {
            FLineHeight = Height;
            RowListDirty = true;
        }
    }
    if (MaxRowWidth == -1 && !FShowColumns)
        FView->UpdateMaxRowWidth();
    if (ResortPending) {
        DoSortBegin();
        Sort(true);
        DoSortEnd();
        ResortPending = false;
    }
    if (ViewUpdatePending) {
        if (VisibleCountDirty)
            CountVisibleItems();
        const bool Window = FView->HandleAllocated();
        if (Window && !FLoading)
            FView->UpdateScrollBars();
        if (RowListDirty && Window) {
            FView->FillRows(FTopIndex);
            RowListDirty = false;
        }
        if (FShowColumns && !IsVirtual() && AutoSizePending) {
            AutoSizePending = false;
            FView->AutoSizeAllColumns();
        }
        if (Window && !FLoading)
            FView->UpdateScrollBars();
        FView->UpdateView();
        RepaintRows = false;
        RepaintAll = false;
        ViewUpdatePending = false;
    }
}

void TCvTreeCore::Loaded() {
    FLoading = false;
    TBatch Batch(*this);
    if (SortMode == smAdd || SortMode == smAddClick) {
        DoSortBegin();
        Sort(true);
        DoSortEnd();
    }
    MarkRowsChanged();
    Batch.Close();
}

// --------------------------------------------------------------------- focus

bool TCvTreeCore::DoSetFocusedEx(TCvTreeItem* Item, bool Forced, bool Delayed) {
    if (Item == FFocusedItem)
        return false;
    bool Allow = Forced;
    if (!OnChanging || FClearingCount > 0)
        Allow = true;
    else
        Allow = DoChanging(Item, Allow);
    // A refused change changes nothing, selection included.
    if (!Forced && !Allow)
        return false;

    TBatch Batch(*this);
    TCvTreeItem* const Old = FFocusedItem;
    if (Old) {
        Old->RawSetState(TCvItemState::Focused, false);
        Old->RedrawItem(false);
    }
    FFocusedItem = nullptr;
    if (AutoExpand && Item && AutoCollapse) {
        for (TCvTreeItem* I = Old; I && I->FParent && !Item->IsUnder(I); I = I->FParent)
            I->CollapseItem(false);
    }
    FFocusedItem = Item;
    const TCvItemHold Held(*this, Item);
    SelectOrToggle(Item);
    // A selection handler that deleted the item has moved the focus on already.
    if (!Held.Alive()) {
        Batch.Close();
        return true;
    }
    if (Item) {
        Item->RawSetState(TCvItemState::Focused, true);
        Item->RedrawItem(false);
        if (AutoExpand)
            Item->ExpandItem(false);
        if (!Held.Alive()) {
            Batch.Close();
            return true;
        }
        if (!FDestroying && FView->IsLastRowCutOff(*Item))
            SetTopIndex(FTopIndex + 1);
    }
    if (ChangeDelay > 0 && Delayed && FChangeTimer) {
        FChangeTimer->Stop();
        FDelayedFocusItem = Item;
        FChangeTimer->Start(ChangeDelay);
    } else if (!FDestroying && FClearingCount == 0) {
        DoItemFocused();
    }
    ViewUpdatePending = true;
    Batch.Close();
    return true;
}

void TCvTreeCore::ChangeTimerTick() {
    if (FChangeTimer)
        FChangeTimer->Stop();
    if (FFocusedItem == FDelayedFocusItem && !FDestroying)
        DoItemFocused();
    FDelayedFocusItem = nullptr;
}

void TCvTreeCore::SelectOrToggle(TCvTreeItem* Item) {
    if (FMultiSelect) {
        if (!Item)
            return;
        // Outside the multi-select level an item is selected alone.
        if (FMultiSelectLevel >= 0) {
            const int FirstLevel =
                FSelection.empty() ? FMultiSelectLevel : FSelection.front()->Level();
            if (Item->Level() != FMultiSelectLevel || FirstLevel != FMultiSelectLevel)
                DeselectAll();
        }
        Item->SetSelected(!Item->IsSelected());
        return;
    }
    if (FSelectedItem == Item)
        return;
    const std::uint16_t Bit = CvStateBit(TCvItemState::Selected);
    const TCvItemHold Held(*this, Item);
    if (TCvTreeItem* Old = FSelectedItem) {
        FSelectedItem = nullptr;
        Old->FState &= ~Bit;
        Old->FSelMirror &= ~Bit;
        SelectionChanged = true;
        const TCvItemHold OldHeld(*this, Old);
        DoItemSelectedChange(Old);
        if (OldHeld)
            Old->UpdateItem();
    }
    if (!Held.Alive())
        return;
    FSelectedItem = Item;
    if (Item) {
        Item->FState |= Bit;
        Item->FSelMirror |= Bit;
        SelectionChanged = true;
        DoItemSelectedChange(Item);
        if (Held)
            Item->UpdateItem();
    }
}

void TCvTreeCore::ItemFreed(const TCvTreeItem* Item) {
    for (TCvItemHold* Hold : FHolds)
        if (Hold->FItem == Item)
            Hold->FItem = nullptr;
    for (auto I = FDeletionNoticed.rbegin(); I != FDeletionNoticed.rend(); ++I)
        if (*I == Item) {
            FDeletionNoticed.erase(std::next(I).base());
            break;
        }
}

bool TCvTreeCore::NoticeDeletion(const TCvTreeItem* Item) {
    if (std::find(FDeletionNoticed.rbegin(), FDeletionNoticed.rend(), Item) !=
        FDeletionNoticed.rend())
        return false;
    FDeletionNoticed.push_back(Item);
    return true;
}

void TCvTreeCore::ItemDeleting(TCvTreeItem* Item) {
    const TCvItemHold Held(*this, Item);
    auto Neighbour = [Item]() -> TCvTreeItem* {
        if (TCvTreeItem* N = Item->GetNextSibling())
            return N;
        if (TCvTreeItem* P = Item->GetPrevSibling())
            return P;
        return Item->ParentItem();
    };
    if (Item == FSelectedItem) {
        if (FDestroying || !FMultiSelect) {
            // A single-select tree's selected item follows the focus, moved below.
            FSelectedItem = nullptr;
            Item->FState &= ~CvStateBit(TCvItemState::Selected);
        } else {
            FSelectedItem = Neighbour();
        }
    }
    Item->SetSelected(false);
    if (!Held)
        return;
    if (Item == FFocusedItem) {
        if (FDestroying)
            FFocusedItem = nullptr;
        else
            DoSetFocused(Neighbour(), true);
        if (!Held)
            return;
    }
    if (HotItem == Item)
        HotItem = nullptr;
    if (DropTarget == Item)
        DropTarget = nullptr;
    if (FDelayedFocusItem == Item)
        FDelayedFocusItem = nullptr;
    FView->ForgetItem(*Item);
}

// ----------------------------------------------------------------- selection

void TCvTreeCore::SelectionAdd(TCvTreeItem* Item) {
    Item->FSelSlot = static_cast<int>(FSelection.size());
    FSelection.push_back(Item);
    ++FSelectionLive;
}

void TCvTreeCore::SelectionRemove(TCvTreeItem* Item) {
    const auto Slot = static_cast<std::size_t>(Item->FSelSlot);
    if (Item->FSelSlot < 0 || Slot >= FSelection.size() || FSelection[Slot] != Item)
        return;
    Item->FSelSlot = -1;
    FSelection[Slot] = nullptr;
    --FSelectionLive;
    while (!FSelection.empty() && !FSelection.back())
        FSelection.pop_back();
    FSelectionHead = std::min(FSelectionHead, FSelection.size());
    if (FSelection.size() - FSelectionLive <= FSelectionLive + 16)
        return;
    // Squeeze the holes out: one pass, paid for by the removals that made them.
    std::size_t To = 0;
    for (TCvTreeItem* Kept : FSelection) {
        if (!Kept)
            continue;
        Kept->FSelSlot = static_cast<int>(To);
        FSelection[To++] = Kept;
    }
    FSelection.resize(To);
    FSelectionHead = 0;
}

void TCvTreeCore::ClearSelectionOrder() {
    for (TCvTreeItem* Item : FSelection)
        if (Item)
            Item->FSelSlot = -1;
    FSelection.clear();
    FSelectionLive = 0;
    FSelectionHead = 0;
}

TCvTreeItem* TCvTreeCore::SelectionFrom(std::size_t Slot) const {
    if (Slot <= FSelectionHead) {
        while (FSelectionHead < FSelection.size() && !FSelection[FSelectionHead])
            ++FSelectionHead;
        Slot = FSelectionHead;
    }
    for (; Slot < FSelection.size(); ++Slot)
        if (FSelection[Slot])
            return FSelection[Slot];
    return nullptr;
}

std::vector<TCvTreeItem*> TCvTreeCore::SelectionSnapshot() const {
    std::vector<TCvTreeItem*> List;
    List.reserve(FSelectionLive);
    for (TCvTreeItem* Item : FSelection)
        if (Item)
            List.push_back(Item);
    return List;
}

void TCvTreeCore::SetSelectedItem(TCvTreeItem* Item) {
    if (!FMultiSelect)
        SetFocusedItem(Item);
    else
        FSelectedItem = Item;
}

int TCvTreeCore::SelectedCount() const {
    if (FMultiSelect)
        return static_cast<int>(FSelectionLive);
    return FFocusedItem ? 1 : 0;
}

TCvTreeItem* TCvTreeCore::GetNextSelected(const TCvTreeItem* Item) const {
    if (!FMultiSelect)
        return Item ? nullptr : FFocusedItem;
    if (!Item)
        return SelectionFrom(0);
    const auto Slot = static_cast<std::size_t>(Item->FSelSlot);
    if (Item->FSelSlot < 0 || Slot >= FSelection.size() || FSelection[Slot] != Item)
        return nullptr;
    return SelectionFrom(Slot + 1);
}

void TCvTreeCore::AllSelected(std::vector<TCvTreeItem*>& List) const {
    List.clear();
    if (FMultiSelect)
        List = SelectionSnapshot();
    else if (FFocusedItem)
        List.push_back(FFocusedItem);
}

void TCvTreeCore::SelectWalk(bool Select, bool Restrict) {
    if (!FMultiSelect)
        return;
    TBatch Batch(*this);
    for (int I = 0; I < FItems->TotalCount();) {
        TCvTreeItem* Item = FItems->FlatAt(I);
        const int Next = I + 1;
        if (Restrict && FFilteredVisibility && Item->IsHiddenState()) {
            I = Item->LastDescendant()->AbsIndex() + 1;
            continue;
        }
        if (!Select)
            Item->SetSelected(!Item->IsSelected());
        else if (!Item->IsSelected())
            Item->SetSelected(true);
        I = Restrict && !Item->IsExpanded() ? Item->LastDescendant()->AbsIndex() + 1 : Next;
    }
    Batch.Close();
}

void TCvTreeCore::DeselectAllEx(bool IncludeHidden) {
    if (!FMultiSelect)
        return;
    TBatch Batch(*this);
    const std::vector<TCvTreeItem*> Selected = SelectionSnapshot();
    for (TCvTreeItem* Item : Selected) {
        if (!IncludeHidden && FFilteredVisibility && !Item->FullyVisible())
            continue;
        Item->SetSelected(false);
    }
    Batch.Close();
}

void TCvTreeCore::SelectRangeEx(TCvTreeItem* From, TCvTreeItem* To, bool IncludeCollapsed,
                                bool SelectDisabled) {
    SelectRangeWalk(From, To, IncludeCollapsed, SelectDisabled, false);
}

void TCvTreeCore::SelectRangeEx2(TCvTreeItem* From, TCvTreeItem* To, bool IncludeCollapsed,
                                 bool SelectDisabled, bool IncludeHidden) {
    SelectRangeWalk(From, To, IncludeCollapsed, SelectDisabled,
                    !IncludeHidden && FFilteredVisibility);
}

void TCvTreeCore::SelectRangeWalk(TCvTreeItem* From, TCvTreeItem* To, bool IncludeCollapsed,
                                  bool SelectDisabled, bool SkipHidden) {
    if (!FMultiSelect || From == To)
        return;
    int First = From ? From->AbsIndex() : 0;
    int Last = To ? To->AbsIndex() : 0;
    if (First > Last)
        std::swap(First, Last);
    TBatch Batch(*this);
    for (int I = First; I <= Last && I < FItems->TotalCount();) {
        TCvTreeItem* Item = FItems->ItemAtIndex(I);
        const int BlockEnd = Item->LastDescendant()->AbsIndex();
        if (SkipHidden && Item->IsHiddenState()) {
            I = BlockEnd + 1;
            continue;
        }
        if (SelectDisabled || IgnoreEnabled || Item->HasFlag(ifEnabled))
            Item->SetSelected(true);
        I = (!IncludeCollapsed && !Item->IsExpanded()) ? BlockEnd + 1 : I + 1;
    }
    Batch.Close();
}

void TCvTreeCore::SetMultiSelect(bool Value) {
    if (Value == FMultiSelect)
        return;
    TBatch Batch(*this);
    if (Value) {
        FMultiSelect = true;
        ClearSelectionOrder();
        if (FSelectedItem) {
            FSelectedItem->FSelMirror |= CvStateBit(TCvItemState::Selected);
            FSelectedItem->FState |= CvStateBit(TCvItemState::Selected);
            SelectionAdd(FSelectedItem);
        }
    } else {
        DeselectAllEx(true);
        FMultiSelect = false;
        ClearSelectionOrder();
        FSelection.shrink_to_fit();
        FSelectedItem = nullptr;
        if (FFocusedItem)
            SelectOrToggle(FFocusedItem);
    }
    Batch.Close();
}

void TCvTreeCore::SetMultiSelectLevel(int Value) {
    if (Value == FMultiSelectLevel)
        return;
    FMultiSelectLevel = Value;
    TBatch Batch(*this);
    DeselectAllEx(true);
    if (FFocusedItem)
        FFocusedItem->SetSelected(true);
    Batch.Close();
}

// ------------------------------------------------- scrolling and the filter

void TCvTreeCore::SetTopIndex(int Value) {
    FTopIndex = std::max(0, Value);
    RowListDirty = true;
    ViewUpdatePending = true;
}

void TCvTreeCore::EnsureVisible(TCvTreeItem* Item) {
    if (IsUpdating())
        return;
    FView->BuildRowList(FTopIndex);
    if (!Item || !Item->FParent || FView->IsRow(*Item))
        return;
    TBatch Batch(*this);
    Item->MakeFullyExpanded();
    CountVisibleItems();
    SetTopIndex(Item->VisIndex());
    RepaintAll = true;
    Batch.Close();
}

void TCvTreeCore::EnsureVisibleBottom(TCvTreeItem* Item) {
    if (IsUpdating() || !Item || !Item->FParent || FView->IsRow(*Item))
        return;
    TBatch Batch(*this);
    Item->MakeFullyExpanded();
    CountVisibleItems();
    SetTopIndex(FView->FirstOfLastPage(Item->VisIndex()));
    RepaintAll = true;
    Batch.Close();
}

void TCvTreeCore::CountVisibleItems() {
    FTotalVisCount = FItems->VisCount();
    VisibleCountDirty = false;
}

void TCvTreeCore::MoveOffHiddenItems() {
    auto Hidden = [](const TCvTreeItem* I) { return I && !I->FullyVisible(); };
    if (Hidden(HotItem))
        HotItem = nullptr;
    if (Hidden(DropTarget))
        DropTarget = nullptr;
    // The nearest item before (else after) a top-level item that is shown.
    auto ShownNear = [this](TCvTreeItem* From) -> TCvTreeItem* {
        const TCvTreeItems& Flat = *FItems;
        const int At = From->AbsIndex();
        for (int I = At; I >= 0; --I)
            if (IsShown(Flat.FlatAt(I)))
                return Flat.FlatAt(I);
        for (int I = At + 1; I < Flat.TotalCount(); ++I)
            if (IsShown(Flat.FlatAt(I)))
                return Flat.FlatAt(I);
        return nullptr;
    };
    while (Hidden(FSelectedItem)) {
        TCvTreeItem* Item = FSelectedItem;
        if (TCvTreeItem* Parent = Item->ParentItem()) {
            SetSelectedItem(Parent);
            if (FMultiSelect)
                Item->SetSelected(false);
            if (FSelectedItem == Item)
                break;
            continue;
        }
        if (TCvTreeItem* Found = ShownNear(Item))
            SetSelectedItem(Found);
        break;
    }
    while (Hidden(FFocusedItem)) {
        TCvTreeItem* Item = FFocusedItem;
        if (TCvTreeItem* Parent = Item->ParentItem()) {
            DoSetFocused(Parent, true);
            continue;
        }
        DoSetFocused(ShownNear(Item), true);
        break;
    }
}

void TCvTreeCore::FullExpand() {
    TBatch Batch(*this);
    for (int I = 0; I < GetRoot()->ChildrenCount(); ++I)
        GetRoot()->GetChild(I)->ExpandItem(true);
    Batch.Close();
}

void TCvTreeCore::FullCollapse() {
    TBatch Batch(*this);
    for (int I = 0; I < GetRoot()->ChildrenCount(); ++I)
        GetRoot()->GetChild(I)->CollapseItem(true);
    Batch.Close();
}

// -------------------------------------------------------------- dispatchers

void TCvTreeCore::DoItemChange(TCvTreeItem* Item, TItemChangeMode Mode) {
    if (OnItemChange)
        OnItemChange(this, Item, Mode);
}

bool TCvTreeCore::DoItemExpanding(TCvTreeItem* Item) {
    bool CanProcess = true;
    if (OnItemExpanding)
        OnItemExpanding(this, Item, CanProcess);
    return CanProcess;
}

bool TCvTreeCore::DoItemCollapsing(TCvTreeItem* Item) {
    bool CanProcess = true;
    if (OnItemCollapsing)
        OnItemCollapsing(this, Item, CanProcess);
    return CanProcess;
}

void TCvTreeCore::DoItemExpand(TCvTreeItem* Item) {
    if (OnItemExpand)
        OnItemExpand(this, Item);
}

void TCvTreeCore::DoItemCollapse(TCvTreeItem* Item) {
    if (OnItemCollapse)
        OnItemCollapse(this, Item);
}

void TCvTreeCore::DoItemChecked(TCvTreeItem* Item) {
    if (OnItemChecked)
        OnItemChecked(this, Item);
}

void TCvTreeCore::DoItemDelete(TCvTreeItem* Item) {
    if (OnItemDeletion)
        OnItemDeletion(this, Item);
}

void TCvTreeCore::DoItemSelectedChange(TCvTreeItem* Item) {
    if (OnItemSelectedChange && !FDestroying)
        OnItemSelectedChange(this, Item);
}

void TCvTreeCore::DoItemFocused() {
    if (OnItemFocused && !FDestroying)
        OnItemFocused(this);
}

bool TCvTreeCore::DoChanging(TCvTreeItem* Item, bool AllowChange) {
    if (OnChanging)
        OnChanging(this, Item, AllowChange);
    return AllowChange;
}

void TCvTreeCore::DoAfterSelectionChange() {
    if (OnAfterSelectionChange)
        OnAfterSelectionChange(this);
}

int TCvTreeCore::DoCompareItems(TCvTreeItem* Item1, TCvTreeItem* Item2) {
    int Res = 0;
    if (OnCompareItems)
        OnCompareItems(this, Item1, Item2, Res);
    return Res;
}

void TCvTreeCore::DoSortBegin() {
    if (OnSortBegin)
        OnSortBegin(this);
}

void TCvTreeCore::DoSortEnd() {
    if (OnSortEnd)
        OnSortEnd(this);
}

void TCvTreeCore::DoItemSave(TStream& Stream, TCvTreeItem* Item) {
    if (OnItemSave)
        OnItemSave(this, Stream, Item);
}

void TCvTreeCore::DoItemLoad(TStream& Stream, TCvTreeItem* Item) {
    if (OnItemLoad)
        OnItemLoad(this, Stream, Item);
}

void TCvTreeCore::DoHotTrack(TCvTreeItem* OldItem, TCvTreeItem* NewItem) {
    if (OnHotTrack)
        OnHotTrack(this, OldItem, NewItem);
}

bool TCvTreeCore::DoTryEdit(TCvTreeItem* Item, int SectionIndex, TCvFieldType& CellType) {
    bool CanEdit = true;
    if (OnTryEdit && !FDestroying)
        OnTryEdit(this, Item, SectionIndex, CellType, CanEdit);
    return CanEdit;
}

TCvString TCvTreeCore::DoVirtualTextNeeded(TCvTreeItem* Item, int SectionIndex) {
    TCvString Text;
    if (OnVirtualTextNeeded)
        OnVirtualTextNeeded(this, Item, SectionIndex, Text);
    return Text;
}

TCvString TCvTreeCore::DoVirtualHintNeeded(TCvTreeItem* Item) {
    TCvString Hint;
    if (OnVirtualHintNeeded)
        OnVirtualHintNeeded(this, Item, Hint);
    return Hint;
}

TCvVariant TCvTreeCore::DoVirtualValueNeeded(TCvTreeItem* Item, int SectionIndex, int VarType) {
    TCvVariant Value;
    if (OnVirtualValueNeeded)
        OnVirtualValueNeeded(this, Item, SectionIndex, VarType, Value);
    return Value;
}

void TCvTreeCore::DoVirtualStyleNeeded(TCvTreeItem* Item, int SectionIndex, TCvCellStyle* Style) {
    if (OnVirtualStyleNeeded)
        OnVirtualStyleNeeded(this, Item, SectionIndex, Style);
}
