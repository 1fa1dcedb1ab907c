#include "treelist/CvTreeItem.h"

#include "treelist/CvTreeCore.h"
#include "treelist/CvTreeError.h"
#include "treelist/HTMLRender.h"

#include "classlib/rtl/Classes.h"

#include <algorithm>
#include <climits>

namespace {

bool StartsWithHTML(const TCvString& S) {
    return S.size() >= 6 && S.compare(0, 6, L"<html>") == 0;
}

bool SortsOnAdd(const TCvTreeCore& T) {
    return T.SortMode == smAdd || T.SortMode == smAddClick;
}

} // namespace

// ------------------------------------------------------------------ cell style

TCvCellStyle::TCvCellStyle(TCvTreeItem* AOwnerItem) : FOwnerItem(AOwnerItem) {}

TCvCellStyle::~TCvCellStyle() {
    if (ControlOwned())
        delete FControl;
}

bool TCvCellStyle::ControlOwned() const {
    return !(FOwnerItem && FOwnerItem->Owner()->IsVirtual());
}

void TCvCellStyle::Assign(const TCvCellStyle& Source) {
    CellBkColor = Source.CellBkColor;
    TextBkColor = Source.TextBkColor;
    TextColor = Source.TextColor;
    TextFlags = Source.TextFlags;
    Picture = Source.Picture;
    CellType = Source.CellType;
    Style = Source.Style;
    OwnerProps = Source.OwnerProps;
    UseBkColor = Source.UseBkColor;
    FontSize = Source.FontSize;
    FontStyles = Source.FontStyles;
    FontName = Source.FontName;
}

void TCvCellStyle::SetControl(TCvCellControl* AControl) {
    if (AControl == FControl)
        return;
    if (ControlOwned())
        delete FControl;
    FControl = AControl;
    if (FControl)
        FControl->SetCellStyle(this);
    if (FOwnerItem)
        FOwnerItem->UpdateItem();
}

// ---------------------------------------------------------------- column texts

void TCvColumnTexts::CheckIndex(int Index, int Limit) const {
    if (Index < 0 || Index > Limit)
        throw EStringListError(Format(L"List index out of bounds (%d)", {Index}));
}

int TCvColumnTexts::Count() const {
    return FOwner->FTexts.ColumnCount();
}

std::wstring_view TCvColumnTexts::Strings(int Index) const {
    CheckIndex(Index, Count() - 1);
    return FOwner->FTexts.Column(Index);
}

void TCvColumnTexts::SetStrings(int Index, std::wstring_view S) {
    CheckIndex(Index, Count() - 1);
    FOwner->FTexts.SetColumn(Index, S);
    FOwner->ColumnTextsChanged();
}

int TCvColumnTexts::Add(std::wstring_view S) {
    FOwner->FTexts.InsertColumn(Count(), S);
    FOwner->ColumnTextsChanged();
    return Count() - 1;
}

void TCvColumnTexts::Insert(int Index, std::wstring_view S) {
    CheckIndex(Index, Count());
    FOwner->FTexts.InsertColumn(Index, S);
    FOwner->ColumnTextsChanged();
}

void TCvColumnTexts::Delete(int Index) {
    CheckIndex(Index, Count() - 1);
    FOwner->FTexts.DeleteColumn(Index);
    FOwner->ColumnTextsChanged();
}

void TCvColumnTexts::Clear() {
    if (Count() == 0)
        return;
    FOwner->FTexts.SetColumns({});
    FOwner->ColumnTextsChanged();
}

void TCvColumnTexts::Assign(const std::vector<TCvString>& Lines) {
    FOwner->FTexts.SetColumns(Lines);
    FOwner->ColumnTextsChanged();
}

std::vector<TCvString> TCvColumnTexts::Items() const {
    return FOwner->FTexts.Columns();
}

// ----------------------------------------------------------------- child list

TCvChildList::~TCvChildList() = default;

void TCvChildList::Insert(std::size_t Pos, TOwned Item) {
    if (!FBlock)
        FBlock = std::make_unique<TBlock>();
    FBlock->Items.Insert(Pos, std::move(Item));
    FBlock->ValidUpTo = std::min(FBlock->ValidUpTo, static_cast<int>(Pos));
}

TCvChildList::TOwned TCvChildList::Take(std::size_t Pos) {
    TOwned Item = std::move(FBlock->Items[Pos]);
    FBlock->Items.Erase(Pos, 1);
    if (FBlock->Items.Empty())
        FBlock.reset();
    else
        FBlock->ValidUpTo = std::min(FBlock->ValidUpTo, static_cast<int>(Pos));
    return Item;
}

std::vector<TCvChildList::TOwned>& TCvChildList::Contiguous() {
    FBlock->ValidUpTo = 0;
    return FBlock->Items.Contiguous();
}

// ----------------------------------------------------------------------- item

TCvTreeItem::TCvTreeItem(TCvTreeCore* AOwner) : FOwner(AOwner) {}

TCvTreeItem::~TCvTreeItem() {
    if (FSelMirror & CvStateBit(TCvItemState::Selected))
        FOwner->SelectionRemove(this);
    FOwner->ItemFreed(this);
    DropHTML();
}

void TCvTreeItem::HeightKindChanged(bool Before) {
    const bool After = IsVarHeight();
    if (FParent && Before != After)
        FOwner->AdjustVarHeightCount(After ? 1 : -1);
}

bool TCvTreeItem::IsVarHeight() const {
    return !HasFlag(ifOwnerHeight) || (HasFlag(ifMultiline) && FOwner->AdjustMultilineHeight()) ||
           HasFlag(ifIsHTML);
}

// ---- structure

TCvTreeItem* TCvTreeItem::ParentItem() const {
    return FParent && FParent->FParent ? FParent : nullptr;
}

int TCvTreeItem::Level() const {
    if (!FParent)
        return -1;
    int N = 0;
    for (const TCvTreeItem* P = FParent; P->FParent; P = P->FParent)
        ++N;
    return N;
}

TCvTreeItem* TCvTreeItem::GetChild(int Index) const {
    return Index >= 0 && Index < ChildrenCount() ? FChildren[Index].get() : nullptr;
}

TCvTreeItem* TCvTreeItem::GetFirstVisibleChild() const {
    for (const auto& C : FChildren)
        if (!(FOwner->FilteredVisibility() && C->IsHiddenState()))
            return C.get();
    return nullptr;
}

TCvTreeItem* TCvTreeItem::GetNextSibling() const {
    return FParent ? FParent->GetChild(ChildPos() + 1) : nullptr;
}

TCvTreeItem* TCvTreeItem::GetPrevSibling() const {
    return FParent ? FParent->GetChild(ChildPos() - 1) : nullptr;
}

TCvTreeItem* TCvTreeItem::GetNextChild(const TCvTreeItem* Child) const {
    const int I = IndexOfChild(Child);
    return I < 0 ? nullptr : GetChild(I + 1);
}

TCvTreeItem* TCvTreeItem::GetPrevChild(const TCvTreeItem* Child) const {
    const int I = IndexOfChild(Child);
    return I < 0 ? nullptr : GetChild(I - 1);
}

int TCvTreeItem::ChildPos() const {
    const TCvChildList& Siblings = FParent->FChildren;
    const auto I = static_cast<std::size_t>(FIndexInParent);
    if (I < Siblings.size() && Siblings[I].get() == this)
        return FIndexInParent;
    // Positions below the mark are exact, so this item stands above it: number up to it.
    const int Count = static_cast<int>(Siblings.size());
    for (int K = Siblings.ValidUpTo(); K < Count; ++K) {
        Siblings[K]->FIndexInParent = K;
        Siblings.SetValidUpTo(K + 1);
        if (Siblings[K].get() == this)
            break;
    }
    return FIndexInParent;
}

void TCvTreeItem::AdoptChild(int Pos, std::unique_ptr<TCvTreeItem> Child) {
    TCvTreeItem* const Item = Child.get();
    const bool NumberedUpTo = FChildren.ValidUpTo() == Pos;
    FChildren.Insert(static_cast<std::size_t>(Pos), std::move(Child));
    Item->FParent = this;
    Item->FIndexInParent = Pos;
    if (NumberedUpTo && Pos == ChildrenCount() - 1)
        FChildren.SetValidUpTo(Pos + 1);
}

int TCvTreeItem::IndexOfChild(const TCvTreeItem* Child) const {
    return Child && Child->FParent == this ? Child->ChildPos() : -1;
}

TCvTreeItem* TCvTreeItem::LastDescendant() const {
    const TCvTreeItem* I = this;
    while (!I->FChildren.empty())
        I = I->FChildren.back().get();
    return const_cast<TCvTreeItem*>(I);
}

TCvTreeItem* TCvTreeItem::TopAncestor() const {
    if (!FParent)
        return nullptr;
    const TCvTreeItem* I = this;
    while (I->FParent->FParent)
        I = I->FParent;
    return const_cast<TCvTreeItem*>(I);
}

bool TCvTreeItem::IsUnder(const TCvTreeItem* Item) const {
    if (!Item)
        return false;
    for (const TCvTreeItem* I = this; I; I = I->FParent)
        if (I == Item)
            return true;
    return false;
}

int TCvTreeItem::AbsIndex() const {
    return FParent ? FCollection->FlatIndexOf(this) : -1;
}

int TCvTreeItem::VisIndex() const {
    return FCollection->VisIndexOf(this);
}

bool TCvTreeItem::HasVisibleChildren() const {
    return GetFirstVisibleChild() != nullptr;
}

bool TCvTreeItem::FullyExpanded() const {
    for (const TCvTreeItem* P = FParent; P; P = P->FParent)
        if (!P->IsExpanded())
            return false;
    return true;
}

bool TCvTreeItem::FullyVisible() const {
    for (const TCvTreeItem* I = this; I; I = I->FParent)
        if (I->IsHiddenState())
            return false;
    return true;
}

TCvTreeItem* TCvTreeItem::GetPrev() const {
    return FParent ? FCollection->ItemAtIndex(AbsIndex() - 1) : nullptr;
}

TCvTreeItem* TCvTreeItem::GetNext() const {
    return FParent ? FCollection->ItemAtIndex(AbsIndex() + 1) : nullptr;
}

// ---- texts

TCvString TCvTreeItem::GetItemText() const {
    if (!FTexts)
        return FOwner->DoVirtualTextNeeded(const_cast<TCvTreeItem*>(this), -1);
    return TCvString(FTexts.Main());
}

std::optional<TCvColumnTexts> TCvTreeItem::ColumnTextList() const {
    if (!FTexts)
        return std::nullopt;
    return TCvColumnTexts(const_cast<TCvTreeItem*>(this));
}

TCvString TCvTreeItem::CellText(int SectionIndex) const {
    return FOwner->ColumnText(this, SectionIndex);
}

TCvString TCvTreeItem::GetHint() const {
    if (!FTexts)
        return FOwner->DoVirtualHintNeeded(const_cast<TCvTreeItem*>(this));
    return FExtras ? FExtras->Hint : TCvString();
}

void TCvTreeItem::SetHint(const TCvString& Value) {
    if (FTexts && (FExtras || !Value.empty()))
        Extras().Hint = Value;
}

TCvTreeItemExtras::TCvTreeItemExtras(TCvTreeItem* Item) : MainStyle(Item) {}

TCvTreeItemExtras::~TCvTreeItemExtras() = default;

const std::shared_ptr<void>& TCvTreeItem::DataInterface() const {
    static const std::shared_ptr<void> None;
    return FExtras ? FExtras->DataInterface : None;
}

void TCvTreeItem::SetDataInterface(std::shared_ptr<void> Value) {
    if (FExtras || Value)
        Extras().DataInterface = std::move(Value);
}

TCvTreeItemExtras& TCvTreeItem::Extras() const {
    if (!FExtras) {
        FExtras = std::make_unique<TCvTreeItemExtras>(const_cast<TCvTreeItem*>(this));
        FCollection->InitMainStyle(FExtras->MainStyle);
    }
    return *FExtras;
}

void TCvTreeItem::SetText(const TCvString& Value) {
    TCvTreeCore& T = *FOwner;
    if (FTexts && FParent) {
        FTexts.SetMain(Value);
        T.DoItemChange(this, icmText);
        TCvTreeCore::TBatch Batch(T);
        // Inside the end-of-batch work batches are ignored: act now instead of marking.
        const bool Now = T.FUpdateCount <= 0;
        if (!T.ShowColumns() && FullyExpanded()) {
            if (Now)
                T.View().UpdateMaxRowWidth();
            else
                T.MaxRowWidth = -1;
            T.RepaintRows = true;
            T.ViewUpdatePending = true;
        }
        if (SortsOnAdd(T) && (T.SortSection() == T.MainTreeColumn() || T.SortSection() == -1)) {
            if (Now)
                SortSiblingsNow();
            else
                T.ResortPending = true;
        }
        if (Now && T.ShowColumns())
            T.View().AutoSizeColumn(T.MainTreeColumn());
        else
            T.AutoSizePending = true;
        if ((HasFlag(ifMultiline) && T.AdjustMultilineHeight()) || IsHTML()) {
            if (IsHTML())
                RenderHTML();
            ForgetHeight();
            T.MarkRowsChanged();
        }
        Batch.Close();
    } else if (FTexts) {
        FTexts.SetMain(Value);
    }
    UpdateItem();
}

void TCvTreeItem::SortSiblingsNow() {
    TCvTreeCore& T = *FOwner;
    T.DoSortBegin();
    FParent->SortChildren(false);
    T.DoSortEnd();
}

void TCvTreeItem::ColumnTextsChanged() {
    if (!FParent)
        return;
    TCvTreeCore& T = *FOwner;
    T.DoItemChange(this, icmColumnText);
    const bool Now = T.FUpdateCount <= 0;
    if (SortsOnAdd(T) && T.SortSection() >= -1 && T.SortSection() < T.SectionCount()) {
        if (Now)
            SortSiblingsNow();
        else
            T.ResortPending = true;
    }
    if (T.ShowColumns() && Now)
        T.View().AutoSizeAllColumns();
    else
        T.AutoSizePending = true;
    if ((HasFlag(ifMultiline) && T.AdjustMultilineHeight()) || IsHTML()) {
        ForgetHeight();
        if (IsHTML())
            RenderHTML();
        TCvTreeCore::TBatch Batch(T);
        T.MarkRowsChanged();
        Batch.Close();
    }
    UpdateItem();
}

void TCvTreeItem::SetRowBkColor(TCvColor Value) {
    if (FRowBkColor == Value)
        return;
    FRowBkColor = Value;
    if (!HasFlag(ifParentColors) && HasFlag(ifUseBkColor))
        UpdateItem();
}

void TCvTreeItem::SetMultiline(bool Value) {
    if (HasFlag(ifMultiline) == Value)
        return;
    ChangeHeightKind([&] { FFlags = Value ? FFlags | ifMultiline : FFlags & ~ifMultiline; });
    ForgetHeight();
    if (FParent) {
        TCvTreeCore::TBatch Batch(*FOwner);
        FOwner->MarkRowsChanged();
        Batch.Close();
    }
}

int TCvTreeItem::GetWidth() {
    return FOwner->View().MeasureItemWidth(*this);
}

void TCvTreeItem::SetFlag(TCvItemFlag Flag, bool Value) {
    switch (Flag) {
    case ifMultiline:
        SetMultiline(Value);
        return;
    case ifHidden:
        SetHiddenState(Value);
        return;
    case ifShowCheckBox:
        SetCheckBoxShown(Value);
        return;
    case ifIsHTML:
        SetIsHTML(Value);
        return;
    default:
        ChangeHeightKind([&] { FFlags = Value ? FFlags | Flag : FFlags & ~Flag; });
    }
}

// ---- check box

void TCvTreeItem::SetCheckMark(bool Value) {
    if (IsChecked() == Value)
        return;
    FCheckBoxState = Value ? 1 : 0;
    if (Value && FCheckBoxType == 2 && FParent)
        for (const auto& S : FParent->FChildren)
            if (S.get() != this && S->FCheckBoxType == 2)
                S->SetCheckMark(false);
    SetCheckBoxState(FCheckBoxState);
}

void TCvTreeItem::SetCheckBoxState(int Value) {
    FCheckBoxState = static_cast<std::uint8_t>(Value);
    TCvTreeCore& T = *FOwner;
    if (!FParent || !HasFlag(ifShowCheckBox) || !T.ShowCheckboxes || Deleting())
        return;
    if (T.ShowColumns())
        T.View().InvalidateSection(*this, T.MainTreeColumn());
    else
        T.View().InvalidateItem(*this);
    T.RepaintNowOrLater();
}

void TCvTreeItem::SetCheckBoxShown(bool Value) {
    FFlags = Value ? FFlags | ifShowCheckBox : FFlags & ~ifShowCheckBox;
    if (FParent && FOwner->ShowCheckboxes)
        TreeColumnChanged(false);
}

void TCvTreeItem::TreeColumnChanged(bool AutoSizeLater) {
    TCvTreeCore& T = *FOwner;
    if (AutoSizeLater || !T.ShowColumns() || T.IsUpdating())
        T.AutoSizePending = true;
    else
        T.View().AutoSizeColumn(T.MainTreeColumn());
    if (!T.ShowColumns() && T.IsShown(this)) {
        if (T.IsUpdating())
            T.MaxRowWidth = -1;
        else
            T.View().UpdateMaxRowWidth();
    }
    UpdateItem();
}

// ---- hidden state and images

void TCvTreeItem::SetHiddenState(bool Value) {
    if (IsHiddenState() == Value)
        return;
    TCvTreeCore& T = *FOwner;
    if (!FParent) {
        FFlags = Value ? FFlags | ifHidden : FFlags & ~ifHidden;
        return;
    }
    {
        TCvTreeCore::TBatch Batch(T);
        T.AdjustHiddenCount(Value ? 1 : -1);
        FFlags = Value ? FFlags | ifHidden : FFlags & ~ifHidden;
        if (T.FilteredVisibility()) {
            T.MarkRowsChanged();
            T.MaxRowWidth = -1;
        }
        Batch.Close();
    }
    if (T.ShowColumns() && !T.IsUpdating())
        T.View().AutoSizeColumn(T.MainTreeColumn());
    else
        T.AutoSizePending = true;
}

void TCvTreeItem::SetMainImage(int Index) {
    if (FMainImage == Index)
        return;
    TCvTreeCore::TBatch Batch(*FOwner);
    FMainImage = Index;
    if (FOwner->ShowImages && FParent)
        TreeColumnChanged(FOwner->ShowEmptyImages);
    Batch.Close();
}

void TCvTreeItem::SetSecondImage(int Index) {
    if (FSecondImage == Index)
        return;
    FSecondImage = Index;
    if (FOwner->ShowImages && FParent)
        TreeColumnChanged(FOwner->ShowEmptyImages2);
}

// ---- expanding and collapsing

void TCvTreeItem::RawSetState(TCvItemState Member, bool Value) {
    const std::uint16_t Bit = CvStateBit(Member);
    const bool Changed = ((FState & Bit) != 0) != Value;
    FState = Value ? FState | Bit : FState & ~Bit;
    if (Member == TCvItemState::Expanded && Changed)
        FCollection->ExpansionChanged(this);
}

void TCvTreeItem::ExpandItem(bool Recursive) {
    ExpandOrCollapse(true, Recursive);
}

void TCvTreeItem::CollapseItem(bool Recursive) {
    ExpandOrCollapse(false, Recursive);
}

void TCvTreeItem::ExpandOrCollapse(bool Expand, bool Recursive) {
    TCvTreeCore& T = *FOwner;
    if (FParent && !(Expand ? T.DoItemExpanding(this) : T.DoItemCollapsing(this)))
        return;
    {
        TCvTreeCore::TBatch Batch(T);
        T.VisibleCountDirty = true;
        T.RepaintAll = true;
        T.ViewUpdatePending = true;
        RawSetState(TCvItemState::Expanded, Expand);
        if (!Expand && T.MoveFocusOnCollapse && T.GetFocusedItem() && T.GetFocusedItem() != this &&
            T.GetFocusedItem()->IsUnder(this) && FParent) {
            TCvTreeItem* OldFocused = T.GetFocusedItem();
            const bool SaveAutoExpand = T.AutoExpand;
            T.AutoExpand = false;
            try {
                if (T.SelectedCount() == 1)
                    OldFocused->SetSelected(false);
                T.DoSetFocused(this, false);
            } catch (...) {
                T.AutoExpand = SaveAutoExpand;
                throw;
            }
            T.AutoExpand = SaveAutoExpand;
        }
        if (Recursive) {
            // A handler may change the children; walk a snapshot of them.
            std::vector<TCvTreeItem*> Kids;
            for (const auto& C : FChildren)
                Kids.push_back(C.get());
            for (TCvTreeItem* C : Kids)
                C->ExpandOrCollapse(Expand, true);
        }
        if (!Expand && T.DeselectChildrenOnCollapse) {
            const int First = FParent ? AbsIndex() + 1 : 0;
            const int Last = LastDescendant()->AbsIndex();
            for (int I = First; I <= Last; ++I)
                FCollection->ItemAtIndex(I)->SetSelected(false);
        }
        if (!T.ShowColumns() && FullyExpanded())
            T.MaxRowWidth = -1;
        T.RowListDirty = true;
        Batch.Close();
    }
    if (FParent) {
        if (Expand)
            T.DoItemExpand(this);
        else
            T.DoItemCollapse(this);
    }
}

void TCvTreeItem::SetExpanded(bool Value) {
    if (IsExpanded() == Value)
        return;
    TCvTreeCore::TBatch Batch(*FOwner);
    if (Value)
        ExpandItem(false);
    else
        CollapseItem(false);
    Batch.Close();
}

void TCvTreeItem::MakeFullyExpanded() {
    TCvTreeCore::TBatch Batch(*FOwner);
    for (TCvTreeItem* P = ParentItem(); P; P = P->ParentItem())
        P->SetExpanded(true);
    Batch.Close();
}

// ---- selection and state

void TCvTreeItem::SetSelected(bool Value) {
    TCvTreeCore& T = *FOwner;
    if (T.MultiSelect() && IsSelected() != Value && FParent) {
        const TCvTreeItem* First =
            Value && T.KeepSelectionWithinLevel ? T.SelectionFrom(0) : nullptr;
        const bool Refused = First && First != this && First->Level() != Level();
        if (!Refused) {
            const std::uint16_t Bit = CvStateBit(TCvItemState::Selected);
            if (Value) {
                FState |= Bit;
                FSelMirror |= Bit;
                T.SelectionAdd(this);
            } else {
                FState &= ~Bit;
                FSelMirror &= ~Bit;
                T.SelectionRemove(this);
                if (T.FSelectedItem == this)
                    T.FSelectedItem = nullptr;
            }
            T.SelectionChanged = true;
            const TCvItemHold Held(T, this);
            T.DoItemSelectedChange(this);
            if (!Held)
                return;
        }
    }
    UpdateItem();
}

void TCvTreeItem::SetState(TCvItemState Member, bool Value) {
    TCvTreeCore& T = *FOwner;
    switch (Member) {
    case TCvItemState::Focused:
        if (Value)
            T.SetFocusedItem(this);
        else if (T.GetFocusedItem() == this)
            T.SetFocusedItem(nullptr);
        return;
    case TCvItemState::Selected:
        SetSelected(Value);
        return;
    case TCvItemState::Expanded:
        SetExpanded(Value);
        return;
    default:
        break;
    }
    if (HasState(Member) == Value)
        return;
    RawSetState(Member, Value);
    if ((Member == TCvItemState::Bold || Member == TCvItemState::Italic) && !T.ShowColumns() &&
        FullyExpanded()) {
        if (T.IsUpdating())
            T.MaxRowWidth = -1;
        else
            T.View().UpdateMaxRowWidth();
    }
    T.DoItemChange(this, icmState);
    UpdateItem();
}

// ---- height and HTML

void TCvTreeItem::SetOwnHeight(int Value) {
    FOwnHeight = static_cast<std::uint16_t>(Value);
}

int TCvTreeItem::GetHeight() {
    TCvTreeCore& T = *FOwner;
    const bool AdjustedMultiline = HasFlag(ifMultiline) && T.AdjustMultilineHeight();
    if (HasFlag(ifOwnerHeight) && !IsHTML() && !AdjustedMultiline)
        return T.LineHeight();
    if (FOwnHeight && !HasFlag(ifMultiline) && !IsHTML())
        return FOwnHeight;
    if (FCachedHeight == 0xFFFF)
        FCachedHeight =
            static_cast<std::uint16_t>(std::clamp(T.View().MeasureItemHeight(*this), 0, 0xFFFE));
    return FCachedHeight;
}

int TCvTreeItem::ExpandedChildrenHeight() {
    if (!IsExpanded())
        return 0;
    int Sum = 0;
    for (const auto& C : FChildren) {
        if (C->IsHiddenState())
            continue;
        Sum += C->GetHeight() + C->ExpandedChildrenHeight();
    }
    return Sum;
}

void TCvTreeItem::SetIsHTML(bool Value) {
    if (IsHTML() == Value)
        return;
    TCvTreeCore& T = *FOwner;
    ChangeHeightKind(
        [&] { FFlags = Value ? FFlags | ifIsHTML | ifHintIsHTML : FFlags & ~ifIsHTML; });
    if (Value) {
        ForgetHeight();
        RenderHTML();
    } else {
        DropHTML();
    }
    if (!T.IsDestroying() && FParent) {
        TCvTreeCore::TBatch Batch(T);
        if (!T.ShowColumns() && T.IsShown(this))
            T.MaxRowWidth = -1;
        T.MarkRowsChanged();
        Batch.Close();
    }
}

void TCvTreeItem::RenderHTML() {
    TCvTreeCore& T = *FOwner;
    if (!IsHTML() || T.IsLoading() || !FTexts)
        return;
    const TCvString S(FTexts.Main());
    TCvTreeItemExtras& X = Extras();
    X.MainHTML = StartsWithHTML(S) ? T.View().RenderHTML(S) : nullptr;
    const std::vector<TCvString> Cols = FTexts.Columns();
    X.ColumnHTML.clear();
    X.ColumnHTML.resize(Cols.size());
    for (size_t I = 0; I < Cols.size(); ++I)
        if (StartsWithHTML(Cols[I]))
            X.ColumnHTML[I] = T.View().RenderHTML(Cols[I]);
}

TCvHTMLData* TCvTreeItem::HTMLData(int ColumnIndex) const {
    if (!FExtras)
        return nullptr;
    if (ColumnIndex < 0)
        return FExtras->MainHTML.get();
    const auto& Columns = FExtras->ColumnHTML;
    return static_cast<std::size_t>(ColumnIndex) < Columns.size() ? Columns[ColumnIndex].get()
                                                                  : nullptr;
}

void TCvTreeItem::DropStaticData() {
    FTexts = TCvPackedTexts();
    std::shared_ptr<void> Kept = DataInterface();
    FExtras.reset();
    SetDataInterface(std::move(Kept));
}

void TCvTreeItem::DropHTML() {
    if (!FExtras)
        return;
    FExtras->MainHTML.reset();
    FExtras->ColumnHTML.clear();
}

// ---- repaint

void TCvTreeItem::UpdateItem() {
    TCvTreeCore& T = *FOwner;
    if (!FParent || Deleting() || T.IsDestroying())
        return;
    if (!(IsHiddenState() && T.FilteredVisibility()))
        T.View().InvalidateItem(*this);
    T.RepaintNowOrLater();
}

void TCvTreeItem::RedrawItem(bool OnlyIfVisible) {
    TCvTreeCore& T = *FOwner;
    if (!FParent || Deleting() || T.IsDestroying())
        return;
    if (OnlyIfVisible && !T.View().IsRow(*this))
        return;
    T.View().InvalidateItem(*this);
}

void TCvTreeItem::RedrawItemPart(bool OnlyIfVisible, int Left, int Right) {
    TCvTreeCore& T = *FOwner;
    if (!FParent || Deleting() || T.IsDestroying())
        return;
    if (OnlyIfVisible && (!T.View().IsRow(*this) || Right <= Left))
        return;
    T.View().InvalidateItemPart(*this, Left, Right);
}

// ---- deleting

void TCvTreeItem::Delete() {
    FCollection->RemoveItem(this);
}

void TCvTreeItem::DeleteChild(TCvTreeItem* Child) {
    if (!Child || Child->FParent != this)
        return;
    TCvTreeCore& T = *FOwner;
    // The events below may rebuild the rows and so free the child (or this item): whoever freed
    // it finished the job, and nothing it held is read again.
    const TCvItemHold Held(T, Child);
    Child->FFlags |= ifDeleting;
    TCvTreeCore::TBatch Batch(T);
    Child->ClearChildren();
    if (!Held) {
        Batch.Close();
        return;
    }
    // The widest shown row going leaves the horizontal range to be measured again.
    if (!T.IsDestroying() && !T.ShowColumns() && T.MaxRowWidth > 0 && T.IsShown(Child) &&
        Child->GetWidth() >= T.MaxRowWidth)
        T.MaxRowWidth = -1;
    FCollection->RowRemoving(Child);
    if (Child->IsHiddenState()) {
        T.AdjustHiddenCount(-1);
        Child->FFlags &= ~ifHidden;
    }
    T.ItemDeleting(Child);
    if (Held && !T.IsDestroying())
        T.View().RemoveRow(*Child);
    if (Held && T.NoticeDeletion(Child))
        T.DoItemDelete(Child);
    if (!Held) {
        Batch.Close();
        return;
    }

    TCvTreeItem* const Parent = Child->FParent;
    const int Pos = Child->AbsIndex();
    std::unique_ptr<TCvTreeItem> Owned =
        Parent->FChildren.Take(static_cast<std::size_t>(Child->ChildPos()));
    if (Child->IsVarHeight())
        T.AdjustVarHeightCount(-1);
    FCollection->FlatErase(Pos, 1);
    Owned.reset();

    T.VisibleCountDirty = true;
    T.RowListDirty = true;
    T.RepaintAll = true;
    T.ViewUpdatePending = true;
    Batch.Close();
}

void TCvTreeItem::ClearChildren() {
    if (FChildren.empty())
        return;
    TCvTreeCore& T = *FOwner;
    const TCvItemHold Self(T, this);
    TCvTreeItem* const OldFocused = T.GetFocusedItem();
    ++T.FClearingCount;
    try {
        while (Self && !FChildren.empty())
            DeleteChild(FChildren.back().get());
    } catch (...) {
        --T.FClearingCount;
        throw;
    }
    if (--T.FClearingCount == 0 && T.GetFocusedItem() != OldFocused && !T.IsDestroying())
        T.DoItemFocused();
}

// ---- moving

void TCvTreeItem::MoveTo(TCvTreeItem* NewParent) {
    MoveToIndex(NewParent, INT_MAX);
}

void TCvTreeItem::MoveToIndex(TCvTreeItem* NewParent, int Index) {
    if (!FParent)
        return;
    TCvTreeItem* const P = NewParent ? NewParent : FCollection->Root();
    if (P == this)
        return;
    if (P->IsUnder(this))
        throw ECvTreeError(L"Can't move Item to one of its subitems.");
    TCvTreeCore& T = *FOwner;
    TCvTreeItems& C = *FCollection;
    TCvTreeCore::TBatch Batch(T);
    T.View().RemoveRow(*this);

    const int First = AbsIndex();
    const int Last = LastDescendant()->AbsIndex();

    std::unique_ptr<TCvTreeItem> Self =
        FParent->FChildren.Take(static_cast<std::size_t>(ChildPos()));
    const int K = std::clamp(Index, 0, P->ChildrenCount());
    P->AdoptChild(K, std::move(Self));

    // The flat list still holds the block in its old place: it moves in front of the item that
    // follows its new place, or to the end.
    int Before;
    if (K > 0)
        Before = P->FChildren[K - 1]->LastDescendant()->AbsIndex() + 1;
    else
        Before = P->FParent ? P->AbsIndex() + 1 : 0;
    if (Before < C.TotalCount())
        C.FFlat.MoveBlock(First, Last, Before);
    else if (Last + 1 < C.TotalCount())
        C.FFlat.MoveBlock(Last + 1, C.TotalCount() - 1, First);
    C.FlatChanged(std::min(First, Before));

    if (SortsOnAdd(T) && T.SortingCount() == 0 &&
        (T.SortSection() == T.MainTreeColumn() || T.SortSection() == -1))
        T.ResortPending = true;
    T.MarkRowsChanged();
    Batch.Close();
}

void TCvTreeItem::MoveToIns(TCvTreeItem* Target, TItemMoveMode Mode) {
    switch (Mode) {
    case imAddSibling:
        if (!Target)
            throw ECvTreeError(L"CvTree item not specified");
        MoveToIndex(Target->ParentItem(), INT_MAX);
        break;
    case imAddFirstSibling:
        MoveToIndex(Target ? Target->ParentItem() : nullptr, 0);
        break;
    case imAddChild:
        MoveToIndex(Target, INT_MAX);
        break;
    case imAddFirstChild:
        MoveToIndex(Target, 0);
        break;
    case imInsertBefore: {
        if (!Target) {
            MoveToIndex(nullptr, 0);
            break;
        }
        int Index = Target->IndexInParent();
        if (Target->FParent == FParent && ChildPos() < Index)
            --Index;
        MoveToIndex(Target->ParentItem(), Index);
        break;
    }
    }
}

// ---- copying

void TCvTreeItem::AssignFields(const TCvTreeItem& Source) {
    TCvTreeCore& T = *FOwner;
    if (FTexts && Source.FTexts) {
        FTexts.SetMain(Source.FTexts.Main());
        SetHint(Source.FExtras ? Source.FExtras->Hint : TCvString());
        ColumnTextList()->Assign(Source.FTexts.Columns());
    }
    ItemObject = Source.ItemObject;
    Color = Source.Color;
    BkColor = Source.BkColor;
    FRowBkColor = Source.FRowBkColor;
    const std::uint16_t Kept =
        CvStateBit(TCvItemState::Focused) | CvStateBit(TCvItemState::Selected);
    const bool WasExpanded = IsExpanded();
    FState = (Source.FState & ~Kept) | (FState & Kept);
    if (WasExpanded != IsExpanded())
        FCollection->VisibilityChanged();
    const bool WasHidden = IsHiddenState();
    ChangeHeightKind([&] {
        FFlags = (Source.FFlags & ~(ifIsHTML | CvTransientItemFlags)) |
                 (FFlags & (ifIsHTML | ifDeleting | ifSorting));
    });
    if (FParent && WasHidden != IsHiddenState())
        T.AdjustHiddenCount(IsHiddenState() ? 1 : -1);
    SetIsHTML(Source.IsHTML());
    FMainImage = Source.FMainImage;
    MainStateImage = Source.MainStateImage;
    FSecondImage = Source.FSecondImage;
    SecondStateImage = Source.SecondStateImage;
    FCheckBoxState = Source.FCheckBoxState;
    FCheckBoxType = Source.FCheckBoxType;
    BorderStyle = Source.BorderStyle;
    IndentAdjust = Source.IndentAdjust;
    StrikedLineColor = Source.StrikedLineColor;
    FCachedHeight = Source.FCachedHeight;
    FOwnHeight = Source.FOwnHeight;
    OverlayIndex = Source.OverlayIndex;
    OverlayIndex2 = Source.OverlayIndex2;
    Data = Source.Data;
    SetDataInterface(Source.DataInterface());
    Tag = Source.Tag;
    if (FTexts && Source.FTexts && (FExtras || Source.FExtras)) {
        if (Source.FExtras) {
            Extras().MainStyle.Assign(Source.FExtras->MainStyle);
        } else {
            TCvCellStyle Fresh(nullptr);
            FCollection->InitMainStyle(Fresh);
            FExtras->MainStyle.Assign(Fresh);
        }
        FExtras->Styles.clear();
        for (int I = 0; I < Source.StylesCount(); ++I)
            AddStyle()->Assign(*Source.GetStyle(I));
    }
}

void TCvTreeItem::Assign(const TCvTreeItem& Source) {
    if (&Source == this)
        return;
    TCvTreeCore& T = *FOwner;
    TCvTreeCore::TBatch Batch(T);
    AssignFields(Source);
    ClearChildren();
    for (const auto& SourceChild : Source.FChildren)
        FCollection->MakeItem(this, ChildrenCount())->Assign(*SourceChild);
    T.MarkRowsChanged();
    Batch.Close();
}

// ---- styles

TCvCellStyle* TCvTreeItem::MainStyle() const {
    return FTexts ? &Extras().MainStyle : nullptr;
}

TCvCellStyle* TCvTreeItem::GetStyle(int Index) const {
    if (!FTexts || Index < 0 || Index >= StylesCount())
        return nullptr;
    return FExtras->Styles[Index].get();
}

int TCvTreeItem::StylesCount() const {
    return FTexts && FExtras ? static_cast<int>(FExtras->Styles.size()) : 0;
}

TCvCellStyle* TCvTreeItem::AddStyle() {
    if (!FTexts)
        return nullptr;
    TCvTreeItemExtras& X = Extras();
    auto Style = std::make_unique<TCvCellStyle>(this);
    Style->Assign(X.MainStyle);
    X.Styles.push_back(std::move(Style));
    return X.Styles.back().get();
}

void TCvTreeItem::RemoveStyle(TCvCellStyle* Style) {
    if (!FTexts || !FExtras)
        return;
    auto& List = FExtras->Styles;
    const auto It =
        std::find_if(List.begin(), List.end(), [Style](const auto& S) { return S.get() == Style; });
    if (It != List.end())
        List.erase(It);
    if (List.empty())
        std::vector<std::unique_ptr<TCvCellStyle>>().swap(List);
}
