// The windowless half of the tree-list control: settings the model reads, update batches, focus,
// selection, the visibility filter, sorting and the event dispatchers. The window, the header, the
// change timer and measuring reach it through the small interfaces below.
#pragma once

#include "treelist/CvTreeItems.h"

#include <functional>
#include <memory>
#include <variant>
#include <vector>

// The window half. Every member has a neutral answer, so the model runs without a window.
class ICvTreeView {
public:
    virtual ~ICvTreeView() = default;
    virtual bool HandleAllocated() const { return false; }
    virtual void InvalidateItem(TCvTreeItem& /*Item*/) {}
    // A horizontal span of the item's row, in content coordinates.
    virtual void InvalidateItemPart(TCvTreeItem& /*Item*/, int /*Left*/, int /*Right*/) {}
    virtual void InvalidateSection(TCvTreeItem& /*Item*/, int /*SectionIndex*/) {}
    virtual void RepaintNow() {}
    // True when the item has a row on screen (a row cut off at the bottom counts).
    virtual bool IsRow(const TCvTreeItem& /*Item*/) const { return false; }
    virtual void RemoveRow(TCvTreeItem& /*Item*/) {}
    virtual void ClearRows() {}
    // Forget every reference to the item (hot item, mouse and drag state, running edit).
    virtual void ForgetItem(TCvTreeItem& /*Item*/) {}
    virtual void BuildRowList(int /*TopIndex*/) {}
    virtual void FillRows(int /*TopIndex*/) {}
    virtual void UpdateScrollBars() {}
    virtual void UpdateView() {}
    virtual void UpdateMaxRowWidth() {}
    virtual int DefineLineHeight() { return 17; }
    // Height of a row that is not LineHeight high (multiline, HTML, no OwnerHeight).
    virtual int MeasureItemHeight(TCvTreeItem& /*Item*/) { return 17; }
    virtual int MeasureItemWidth(TCvTreeItem& /*Item*/) { return 0; }
    virtual void AutoSizeColumn(int /*SectionIndex*/) {}
    virtual void AutoSizeAllColumns() {}
    // First visible index of the page that ends with VisIndex.
    virtual int FirstOfLastPage(int VisIndex) { return VisIndex; }
    // True when the item is the last row, more than one row shows and the rows overflow the view.
    virtual bool IsLastRowCutOff(const TCvTreeItem& /*Item*/) const { return false; }
    // Null: no rendering (the renderer lives with the window).
    virtual std::unique_ptr<TCvHTMLData> RenderHTML(const TCvString& Text);
};

// The column header as the model needs it.
class ICvTreeHeader {
public:
    virtual ~ICvTreeHeader() = default;
    virtual int SectionCount() const = 0;
    virtual TCvFieldType FieldType(int SectionIndex) const = 0;
    virtual TCvSortMark SortMark(int SectionIndex) const = 0;
    virtual void BeginUpdate() {}
    virtual void EndUpdate() {}
};

// The change timer of the delayed focus event; it calls TCvTreeCore::ChangeTimerTick.
class ICvTreeTimer {
public:
    virtual ~ICvTreeTimer() = default;
    virtual void Start(int IntervalMs) = 0;
    virtual void Stop() = 0;
};

// A value asked from a virtual tree: empty, integer, boolean, double, string or currency (1/10000).
using TCvVariant =
    std::variant<std::monostate, std::int32_t, bool, double, TCvString, std::int64_t>;

class TCvItemHold;

class TCvTreeCore {
public:
    TCvTreeCore();
    virtual ~TCvTreeCore();
    TCvTreeCore(const TCvTreeCore&) = delete;
    TCvTreeCore& operator=(const TCvTreeCore&) = delete;

    TCvTreeItems& Items() const { return *FItems; }
    TCvTreeItem* GetRoot() const { return FItems->Root(); }
    void SetView(ICvTreeView* AView) { FView = AView ? AView : &FNoView; }
    ICvTreeView& View() const { return *FView; }
    void SetHeader(ICvTreeHeader* AHeader) { FHeader = AHeader; }
    ICvTreeHeader* Header() const { return FHeader; }
    void SetChangeTimer(ICvTreeTimer* ATimer) { FChangeTimer = ATimer; }
    int SectionCount() const { return FHeader ? FHeader->SectionCount() : 0; }

    // ---- settings the model reads
    bool ShowColumns() const { return FShowColumns; }
    // Refused (stays off) while the header has no section, except while loading.
    void SetShowColumns(bool Value);
    int MainTreeColumn() const { return FMainTreeColumn; }
    void SetMainTreeColumn(int Value);
    TVirtualityLevel VirtualityLevel() const { return FVirtualityLevel; }
    void SetVirtualityLevel(TVirtualityLevel Value);
    bool IsVirtual() const { return FVirtualityLevel != vlNone; }
    bool FilteredVisibility() const { return FFilteredVisibility; }
    void SetFilteredVisibility(bool Value);
    bool AdjustMultilineHeight() const { return FAdjustMultilineHeight; }
    void SetAdjustMultilineHeight(bool Value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    int MultiSelectLevel() const { return FMultiSelectLevel; }
    void SetMultiSelectLevel(int Value);
    int SortSection() const { return FSortSection; }
    void SetSortSection(int Value);
    int LineHeight() const { return FLineHeight; }
    void SetLineHeight(int Value);

    TSortModes SortMode = smNone;
    TSortTypes SortType = stText;
    TSortDirs SortDir = sdAscend;
    bool SortUseCase = true;
    bool AutoLineHeight = true;
    bool ShowCheckboxes = false;
    bool ShowImages = true;
    bool ShowEmptyImages = false;
    bool ShowEmptyImages2 = false;
    bool KeepSelectionWithinLevel = false;
    bool DeselectChildrenOnCollapse = false;
    bool MoveFocusOnCollapse = false;
    bool AutoExpand = false;
    bool AutoCollapse = false;
    bool IgnoreEnabled = false;
    int ChangeDelay = 500;
    // The tree font as new cell styles take it.
    int FontSize = 8;
    std::uint8_t FontStyles = 0;
    TCvString FontName = L"MS Sans Serif";

    // ---- batches
    void SetUpdating(bool Value);
    bool IsUpdating() const { return FUpdateCount > 0; }
    int UpdateCount() const { return FUpdateCount; }
    bool InEndUpdate() const { return FInEndUpdate; }
    void BeginLoad() { FLoading = true; }
    // Ends loading: one batch that sorts when the sort mode asks for it.
    void Loaded();
    bool IsLoading() const { return FLoading; }
    bool IsDestroying() const { return FDestroying; }

    // ---- focus and selection
    TCvTreeItem* GetFocusedItem() const { return FFocusedItem; }
    void SetFocusedItem(TCvTreeItem* Item) { DoSetFocusedEx(Item, false, false); }
    bool DoSetFocused(TCvTreeItem* Item, bool Forced) {
        return DoSetFocusedEx(Item, Forced, false);
    }
    bool DoSetFocusedEx(TCvTreeItem* Item, bool Forced, bool Delayed);
    void ChangeTimerTick();
    TCvTreeItem* GetSelectedItem() const { return FSelectedItem; }
    void SetSelectedItem(TCvTreeItem* Item);
    int SelectedCount() const;
    TCvTreeItem* GetNextSelected(const TCvTreeItem* Item) const;
    void AllSelected(std::vector<TCvTreeItem*>& List) const;
    void SelectAll() { SelectWalk(true, FFilteredVisibility); }
    void SelectAllEx(bool IncludeHidden) { SelectWalk(true, !IncludeHidden); }
    void InvertSelection() { SelectWalk(false, FFilteredVisibility); }
    void InvertSelectionEx(bool IncludeHidden) { SelectWalk(false, !IncludeHidden); }
    void DeselectAll() { DeselectAllEx(false); }
    void DeselectAllEx(bool IncludeHidden);
    void SelectRange(TCvTreeItem* From, TCvTreeItem* To) { SelectRangeEx(From, To, true, true); }
    void SelectRangeEx(TCvTreeItem* From, TCvTreeItem* To, bool IncludeCollapsed,
                       bool SelectDisabled);
    void SelectRange2(TCvTreeItem* From, TCvTreeItem* To, bool IncludeHidden) {
        SelectRangeEx2(From, To, true, true, IncludeHidden);
    }
    void SelectRangeEx2(TCvTreeItem* From, TCvTreeItem* To, bool IncludeCollapsed,
                        bool SelectDisabled, bool IncludeHidden);
    // Toggles the item's selection in a multi-select tree; selects it alone otherwise.
    virtual void SelectOrToggle(TCvTreeItem* Item);
    bool SelectionChanged = false;

    // ---- scrolling into view and the filter
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int Value);
    void EnsureVisible(TCvTreeItem* Item);
    void EnsureVisibleBottom(TCvTreeItem* Item);
    void MoveOffHiddenItems();
    void CountVisibleItems();
    void FullExpand();
    void FullCollapse();
    TCvTreeItem* HotItem = nullptr;
    TCvTreeItem* DropTarget = nullptr;

    // ---- counts and view marks
    int HiddenCount() const { return FHiddenCount; }
    int TotalVisCount() const { return FTotalVisCount; }
    int TotalVarHeightCount() const { return FTotalVarHeightCount; }
    int MaxRowWidth = 0;
    bool RowListDirty = false;
    bool VisibleCountDirty = false;
    bool RepaintRows = false;
    bool RepaintAll = false;
    bool ResortPending = false;
    bool AutoSizePending = false;
    bool ViewUpdatePending = false;
    // Marks that the rows must be recounted, rebuilt and repainted, served at the batch's end.
    void MarkRowsChanged();
    // Repaints now outside a batch; inside one, at its end.
    void RepaintNowOrLater();
    // Renders the texts of every HTML item again (after a change of link colour, style or font)
    // and marks the rows changed.
    void RenderAllHTML();

    // ---- sorting
    void Sort(bool Recursive);
    // Negative, zero or positive; never zero for two different items.
    int CompareItems(TCvTreeItem* Item1, TCvTreeItem* Item2, int SectionIndex, TSortTypes ASortType,
                     TCvSortMark Mark);
    void AddSortSection(int SectionIndex, bool Resort);
    void RemoveSortSection(int SectionIndex, bool Resort);
    const std::vector<int>& SortSections() const { return FSortSections; }
    int SortingCount() const { return FSortingCount; }
    // The text a column shows for the item: main text for -1 and the main column.
    TCvString ColumnText(const TCvTreeItem* Item, int SectionIndex);

    // ---- events
    using TItemEvent = std::function<void(TCvTreeCore* Sender, TCvTreeItem* Item)>;
    using TNotifyTreeEvent = std::function<void(TCvTreeCore* Sender)>;
    std::function<void(TCvTreeCore* Sender, TCvTreeItem* Item, TItemChangeMode Mode)> OnItemChange;
    std::function<void(TCvTreeCore* Sender, TCvTreeItem* Item, bool& CanProcess)> OnItemExpanding;
    std::function<void(TCvTreeCore* Sender, TCvTreeItem* Item, bool& CanProcess)> OnItemCollapsing;
    TItemEvent OnItemExpand;
    TItemEvent OnItemCollapse;
    TItemEvent OnItemChecked;
    TItemEvent OnItemDeletion;
    TItemEvent OnItemSelectedChange;
    TNotifyTreeEvent OnItemFocused;
    std::function<void(TCvTreeCore* Sender, TCvTreeItem* Item, bool& AllowChange)> OnChanging;
    TNotifyTreeEvent OnAfterSelectionChange;
    std::function<void(TCvTreeCore* Sender, TCvTreeItem* Item1, TCvTreeItem* Item2, int& Res)>
        OnCompareItems;
    TNotifyTreeEvent OnSortBegin;
    TNotifyTreeEvent OnSortEnd;
    std::function<void(TCvTreeCore* Sender, TStream& Stream, TCvTreeItem* Item)> OnItemSave;
    std::function<void(TCvTreeCore* Sender, TStream& Stream, TCvTreeItem* Item)> OnItemLoad;
    std::function<void(TCvTreeCore* Sender, TStream& Stream, TCvCellStyle* Style)> OnCellStyleSave;
    std::function<void(TCvTreeCore* Sender, TStream& Stream, TCvCellStyle* Style)> OnCellStyleLoad;
    std::function<void(TCvTreeCore* Sender, TCvTreeItem* OldItem, TCvTreeItem* NewItem)> OnHotTrack;
    std::function<void(TCvTreeCore* Sender, TCvTreeItem* Item, int SectionIndex,
                       TCvFieldType& CellType, bool& CanEdit)>
        OnTryEdit;
    std::function<void(TCvTreeCore* Sender, TCvTreeItem* Item, int SectionIndex, TCvString& Text)>
        OnVirtualTextNeeded;
    std::function<void(TCvTreeCore* Sender, TCvTreeItem* Item, TCvString& Hint)>
        OnVirtualHintNeeded;
    std::function<void(TCvTreeCore* Sender, TCvTreeItem* Item, int SectionIndex, int VarType,
                       TCvVariant& Value)>
        OnVirtualValueNeeded;
    std::function<void(TCvTreeCore* Sender, TCvTreeItem* Item, int SectionIndex,
                       TCvCellStyle* Style)>
        OnVirtualStyleNeeded;

    virtual void DoItemChange(TCvTreeItem* Item, TItemChangeMode Mode);
    virtual bool DoItemExpanding(TCvTreeItem* Item);
    virtual bool DoItemCollapsing(TCvTreeItem* Item);
    virtual void DoItemExpand(TCvTreeItem* Item);
    virtual void DoItemCollapse(TCvTreeItem* Item);
    virtual void DoItemChecked(TCvTreeItem* Item);
    virtual void DoItemDelete(TCvTreeItem* Item);
    virtual void DoItemSelectedChange(TCvTreeItem* Item);
    virtual void DoItemFocused();
    virtual bool DoChanging(TCvTreeItem* Item, bool AllowChange);
    virtual void DoAfterSelectionChange();
    virtual int DoCompareItems(TCvTreeItem* Item1, TCvTreeItem* Item2);
    virtual void DoSortBegin();
    virtual void DoSortEnd();
    virtual void DoItemSave(TStream& Stream, TCvTreeItem* Item);
    virtual void DoItemLoad(TStream& Stream, TCvTreeItem* Item);
    virtual void DoHotTrack(TCvTreeItem* OldItem, TCvTreeItem* NewItem);
    virtual bool DoTryEdit(TCvTreeItem* Item, int SectionIndex, TCvFieldType& CellType);
    virtual TCvString DoVirtualTextNeeded(TCvTreeItem* Item, int SectionIndex);
    virtual TCvString DoVirtualHintNeeded(TCvTreeItem* Item);
    virtual TCvVariant DoVirtualValueNeeded(TCvTreeItem* Item, int SectionIndex, int VarType);
    virtual void DoVirtualStyleNeeded(TCvTreeItem* Item, int SectionIndex, TCvCellStyle* Style);

protected:
    // Marks the tree as going away: the end-of-batch work and most events stop.
    void BeginDestroy() { FDestroying = true; }

private:
    friend class TCvTreeItem;
    friend class TCvTreeItems;
    friend class TCvTreeSorter;

    class TBatch; // a SetUpdating(true/false) pair closed also on an exception
    void EndOfBatch();
    // Restrict: skip the subtrees of collapsed items and of hidden ones (while filtered).
    void SelectWalk(bool Select, bool Restrict);
    void SelectRangeWalk(TCvTreeItem* From, TCvTreeItem* To, bool IncludeCollapsed,
                         bool SelectDisabled, bool SkipHidden);
    void ResortNowOrLater();
    // The selection of a multi-select tree in the order it was made. A removed item leaves a
    // hole, so that removing and finding the next one never search; holes are squeezed out when
    // they outnumber the items.
    void SelectionAdd(TCvTreeItem* Item);
    void SelectionRemove(TCvTreeItem* Item);
    void ClearSelectionOrder();
    // The first selected item at Slot or after it.
    TCvTreeItem* SelectionFrom(std::size_t Slot) const;
    std::vector<TCvTreeItem*> SelectionSnapshot() const;
    void AdjustVarHeightCount(int Delta) { FTotalVarHeightCount += Delta; }
    void AdjustHiddenCount(int Delta) { FHiddenCount += Delta; }
    // The focus and anchor of a deleted item move to a neighbour (none while destroying).
    void ItemDeleting(TCvTreeItem* Item);
    bool IsShown(const TCvTreeItem* Item) const;

    friend class TCvItemHold;
    // The holds live before the items: freeing the last items still reports to them.
    std::vector<TCvItemHold*> FHolds;
    // Items whose deletion event was raised and that are not freed yet.
    std::vector<const TCvTreeItem*> FDeletionNoticed;
    // The item's memory goes: every hold on it lets go.
    void ItemFreed(const TCvTreeItem* Item);
    // True the first time for an item: its deletion event is raised once, however deletion nests.
    bool NoticeDeletion(const TCvTreeItem* Item);

    ICvTreeView FNoView;
    ICvTreeView* FView = &FNoView;
    ICvTreeHeader* FHeader = nullptr;
    ICvTreeTimer* FChangeTimer = nullptr;
    std::unique_ptr<TCvTreeItems> FItems;

    bool FShowColumns = false;
    int FMainTreeColumn = 0;
    TVirtualityLevel FVirtualityLevel = vlNone;
    bool FFilteredVisibility = false;
    bool FAdjustMultilineHeight = true;
    bool FMultiSelect = true;
    int FMultiSelectLevel = -1;
    int FSortSection = 0;
    int FLineHeight = 17;

    int FUpdateCount = 0;
    bool FInEndUpdate = false;
    bool FLoading = false;
    bool FDestroying = false;
    int FClearingCount = 0;
    int FSortingCount = 0;
    int FHiddenCount = 0;
    int FTotalVisCount = 0;
    int FTotalVarHeightCount = 0;
    int FTopIndex = 0;

    TCvTreeItem* FFocusedItem = nullptr;
    TCvTreeItem* FSelectedItem = nullptr;
    TCvTreeItem* FDelayedFocusItem = nullptr;
    std::vector<TCvTreeItem*> FSelection;
    std::size_t FSelectionLive = 0;
    // Every slot below it is a hole.
    mutable std::size_t FSelectionHead = 0;
    std::vector<int> FSortSections;
};

// A pointer to an item kept across an event: a handler may delete or rebuild rows, and then the
// hold reads null instead of leaving the caller with freed memory.
class TCvItemHold {
public:
    TCvItemHold(TCvTreeCore& Tree, TCvTreeItem* Item) : FTree(Tree), FItem(Item) {
        FTree.FHolds.push_back(this);
    }
    ~TCvItemHold() {
        auto& H = FTree.FHolds;
        for (auto I = H.rbegin(); I != H.rend(); ++I)
            if (*I == this) {
                H.erase(std::next(I).base());
                break;
            }
    }
    TCvItemHold(const TCvItemHold&) = delete;
    TCvItemHold& operator=(const TCvItemHold&) = delete;
    TCvTreeItem* Get() const { return FItem; }
    // False only when an item held was freed meanwhile (a null hold stays true).
    bool Alive() const { return FItem || !FHeld; }
    explicit operator bool() const { return FItem != nullptr; }

private:
    friend class TCvTreeCore;
    TCvTreeCore& FTree;
    TCvTreeItem* FItem;
    bool FHeld = FItem != nullptr;
};

// One SetUpdating(true/false) pair; Close() ends it normally, the destructor ends it on an
// exception and keeps the end-of-batch work's own errors from replacing the one under way.
class TCvTreeCore::TBatch {
public:
    explicit TBatch(TCvTreeCore& Tree) : FTree(Tree) { FTree.SetUpdating(true); }
    ~TBatch() {
        if (!FClosed) {
            try {
                FTree.SetUpdating(false);
            } catch (...) {
            }
        }
    }
    TBatch(const TBatch&) = delete;
    TBatch& operator=(const TBatch&) = delete;
    void Close() {
        FClosed = true;
        FTree.SetUpdating(false);
    }

private:
    TCvTreeCore& FTree;
    bool FClosed = false;
};
