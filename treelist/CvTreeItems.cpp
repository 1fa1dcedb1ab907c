#include "treelist/CvTreeItems.h"

#include "treelist/CvTreeCore.h"
#include "treelist/CvTreeError.h"

#include "classlib/rtl/Classes.h"

#include <algorithm>

TCvTreeItems::TCvTreeItems(TCvTreeCore* AOwner) : FOwner(AOwner) {
    FRoot = std::make_unique<TCvTreeItem>(AOwner);
    FRoot->FCollection = this;
    FRoot->FTexts = TCvPackedTexts::MakeEmpty();
    FRoot->FState = CvStateBit(TCvItemState::Expanded);
}

TCvTreeItems::~TCvTreeItems() = default;

std::unique_ptr<TCvTreeItem> TCvTreeItems::CreateItem(TCvTreeCore* AOwner) {
    return std::make_unique<TCvTreeItem>(AOwner);
}

void TCvTreeItems::BeginUpdate() {
    FOwner->SetUpdating(true);
}

void TCvTreeItems::EndUpdate() {
    FOwner->SetUpdating(false);
}

// ------------------------------------------------------------- the flat list

int TCvTreeItems::TotalCount() const {
    return static_cast<int>(FFlat.Size());
}

TCvTreeItem* TCvTreeItems::FlatAt(int Pos) const {
    return FFlat[static_cast<std::size_t>(Pos)];
}

int TCvTreeItems::FlatIndexOf(const TCvTreeItem* Item) const {
    const int I = Item->FAbsIndex;
    if (I >= 0 && I < TotalCount() && FlatAt(I) == Item)
        return I;
    // Every position below FValidUpTo is numbered exactly, so a stale item stands above it.
    for (int P = FValidUpTo; P < TotalCount(); ++P) {
        FlatAt(P)->FAbsIndex = P;
        FValidUpTo = P + 1;
        if (FlatAt(P) == Item)
            return P;
    }
    return -1;
}

void TCvTreeItems::FlatInsert(int Pos, TCvTreeItem* Item) {
    Item->FAbsIndex = Pos;
    const bool Append = Pos == TotalCount();
    FFlat.Insert(static_cast<std::size_t>(Pos), Item);
    if (Append && FValidUpTo == Pos)
        FValidUpTo = Pos + 1;
    else
        FValidUpTo = std::min(FValidUpTo, Pos);
}

void TCvTreeItems::FlatErase(int Pos, int Count) {
    FFlat.Erase(static_cast<std::size_t>(Pos), static_cast<std::size_t>(Count));
    FValidUpTo = std::min(FValidUpTo, Pos);
}

void TCvTreeItems::FlatChanged(int FromPos) {
    FValidUpTo = std::min(FValidUpTo, FromPos);
    VisibilityChanged();
}

TCvTreeItem* TCvTreeItems::ItemAtIndex(int Index) const {
    return Index >= 0 && Index < TotalCount() ? FlatAt(Index) : nullptr;
}

int TCvTreeItems::AbsIndexOf(const TCvTreeItem* Item) const {
    return Item ? Item->AbsIndex() : -1;
}

// ------------------------------------------------------------ visible index

std::vector<TCvTreeItem*> TCvTreeItems::ShownBelow(const TCvTreeItem* Item) const {
    std::vector<TCvTreeItem*> Rows;
    const bool Filter = FOwner->FilteredVisibility();
    // A collapsed or (filtered) hidden item hides its subtree.
    Item->WalkBelow([&](TCvTreeItem* Below) {
        if (Filter && Below->IsHiddenState())
            return false;
        Rows.push_back(Below);
        return Below->IsExpanded();
    });
    return Rows;
}

void TCvTreeItems::BuildVisList() const {
    if (FVisValid)
        return;
    std::vector<TCvTreeItem*> Rows = ShownBelow(FRoot.get());
    for (std::size_t I = 0; I < Rows.size(); ++I)
        Rows[I]->FVisIndex = static_cast<int>(I);
    FVisValidUpTo = static_cast<int>(Rows.size());
    FVisList.Assign(std::move(Rows));
    FVisValid = true;
}

int TCvTreeItems::VisCount() const {
    BuildVisList();
    return static_cast<int>(FVisList.Size());
}

TCvTreeItem* TCvTreeItems::GetVisItem(int Index) const {
    if (Index < 0 || Index >= FOwner->TotalVisCount())
        return nullptr;
    return Index < VisCount() ? FVisList[static_cast<std::size_t>(Index)] : nullptr;
}

int TCvTreeItems::VisIndexOf(const TCvTreeItem* Item) const {
    if (!Item || !Item->FParent)
        return -1;
    const int Count = VisCount();
    const int I = Item->FVisIndex;
    if (I >= 0 && I < Count && FVisList[static_cast<std::size_t>(I)] == Item)
        return I;
    // Rows below the mark carry their exact position, so a shown item stands above it.
    for (int P = FVisValidUpTo; P < Count; ++P) {
        TCvTreeItem* const Row = FVisList[static_cast<std::size_t>(P)];
        Row->FVisIndex = P;
        FVisValidUpTo = P + 1;
        if (Row == Item)
            return P;
    }
    return -1;
}

void TCvTreeItems::RowAdded(TCvTreeItem* Item) {
    if (!FVisValid || !FOwner->IsShown(Item))
        return;
    // The row follows the shown rows of the siblings before it, or its parent's row.
    TCvTreeItem* const Parent = Item->FParent;
    const int Index = Item->ChildPos();
    int Pos;
    if (Index == 0) {
        Pos = Parent->FParent ? VisIndexOf(Parent) + 1 : 0;
    } else {
        const TCvTreeItem* Last = Parent->FChildren[static_cast<std::size_t>(Index - 1)].get();
        while (Last->IsExpanded() && !Last->FChildren.empty())
            Last = Last->FChildren.back().get();
        Pos = VisIndexOf(Last);
        if (Pos < 0) {
            // A hidden row stands in the way: leave the rows to be rebuilt.
            VisibilityChanged();
            return;
        }
        ++Pos;
    }
    Item->FVisIndex = Pos;
    const bool Append = Pos == static_cast<int>(FVisList.Size());
    FVisList.Insert(static_cast<std::size_t>(Pos), Item);
    if (Append && FVisValidUpTo == Pos)
        FVisValidUpTo = Pos + 1;
    else
        VisChanged(Pos);
}

void TCvTreeItems::RowRemoving(TCvTreeItem* Item) {
    if (!FVisValid || !FOwner->IsShown(Item))
        return;
    const int Pos = VisIndexOf(Item);
    if (Pos < 0)
        return;
    FVisList.Erase(static_cast<std::size_t>(Pos), 1);
    VisChanged(Pos);
}

void TCvTreeItems::ExpansionChanged(TCvTreeItem* Item) {
    if (!FVisValid || Item->FChildren.empty() || !Item->FParent)
        return;
    if (!FOwner->IsShown(Item))
        return;
    const int Pos = VisIndexOf(Item) + 1;
    const std::vector<TCvTreeItem*> Rows = ShownBelow(Item);
    if (Item->IsExpanded())
        FVisList.InsertRange(static_cast<std::size_t>(Pos), Rows.begin(), Rows.end());
    else
        FVisList.Erase(static_cast<std::size_t>(Pos), Rows.size());
    VisChanged(Pos);
}

// ------------------------------------------------------------- adding items

TCvTreeItem* TCvTreeItems::MakeItem(TCvTreeItem* Parent, int ChildIndex) {
    std::unique_ptr<TCvTreeItem> Owned = CreateItem(FOwner);
    TCvTreeItem* const Item = Owned.get();
    Item->FCollection = this;
    Item->FParent = Parent;
    Item->FSequence = ++FNextSequence;
    if (!FOwner->IsVirtual())
        GiveStaticData(Item);
    const int Count = Parent->ChildrenCount();
    ChildIndex = std::clamp(ChildIndex, 0, Count);
    int Pos;
    if (ChildIndex < Count)
        Pos = Parent->FChildren[static_cast<std::size_t>(ChildIndex)]->AbsIndex();
    else if (!Parent->FParent)
        Pos = TotalCount();
    else if (Count > 0)
        Pos = Parent->FChildren.back()->LastDescendant()->AbsIndex() + 1;
    else
        Pos = Parent->AbsIndex() + 1;
    Parent->AdoptChild(ChildIndex, std::move(Owned));
    FlatInsert(Pos, Item);
    RowAdded(Item);
    if (Item->IsVarHeight())
        FOwner->AdjustVarHeightCount(1);
    return Item;
}

void TCvTreeItems::GiveStaticData(TCvTreeItem* Item) const {
    Item->FTexts = TCvPackedTexts::MakeEmpty();
}

void TCvTreeItems::InitMainStyle(TCvCellStyle& Style) const {
    Style.OwnerProps = true;
    Style.FontSize = FOwner->FontSize;
    Style.FontStyles = FOwner->FontStyles;
    Style.FontName = FOwner->FontName;
}

TCvTreeItem* TCvTreeItems::AppendChild(TCvTreeItem* Parent) {
    TCvTreeItem* const P = Parent ? Parent : Root();
    TCvTreeCore& T = *FOwner;
    TCvTreeCore::TBatch Batch(T);
    TCvTreeItem* const Item = MakeItem(P, P->ChildrenCount());
    if (P->IsExpanded() && P->FullyExpanded()) {
        T.VisibleCountDirty = true;
        T.RowListDirty = true;
    }
    T.RepaintRows = true;
    T.ViewUpdatePending = true;
    Batch.Close();
    return Item;
}

TCvTreeItem* TCvTreeItems::InsertChildAt(int Index, TCvTreeItem* Parent) {
    TCvTreeItem* const P = Parent ? Parent : Root();
    if (Index < 0 || Index > P->ChildrenCount())
        throw ECvTreeError(L"CvTree item index out of bounds.");
    TCvTreeCore& T = *FOwner;
    TCvTreeCore::TBatch Batch(T);
    TCvTreeItem* const Item = MakeItem(P, Index);
    if (P->IsExpanded() && T.IsShown(P)) {
        T.VisibleCountDirty = true;
        T.RowListDirty = true;
        T.RepaintAll = true;
    }
    T.ViewUpdatePending = true;
    Batch.Close();
    return Item;
}

namespace {

TCvTreeItem* Named(TCvTreeItem* Item, const TCvString& Text, TObject* Obj, bool SetObject) {
    Item->SetText(Text);
    if (SetObject)
        Item->ItemObject = Obj;
    return Item;
}

} // namespace

TCvTreeItem* TCvTreeItems::AddChild(TCvTreeItem* Parent, const TCvString& Text) {
    return Named(AppendChild(Parent), Text, nullptr, false);
}

TCvTreeItem* TCvTreeItems::AddChildFirst(TCvTreeItem* Parent, const TCvString& Text) {
    return Named(InsertChildAt(0, Parent), Text, nullptr, false);
}

TCvTreeItem* TCvTreeItems::AddChildObject(TCvTreeItem* Parent, const TCvString& Text,
                                          TObject* Obj) {
    return Named(AppendChild(Parent), Text, Obj, true);
}

TCvTreeItem* TCvTreeItems::AddChildObjectFirst(TCvTreeItem* Parent, const TCvString& Text,
                                               TObject* Obj) {
    return Named(InsertChildAt(0, Parent), Text, Obj, true);
}

TCvTreeItem* TCvTreeItems::AddItem(TCvTreeItem* Item, const TCvString& Text) {
    return AddChild(Item ? Item->ParentItem() : nullptr, Text);
}

TCvTreeItem* TCvTreeItems::AddFirst(TCvTreeItem* Item, const TCvString& Text) {
    return AddChildFirst(Item ? Item->ParentItem() : nullptr, Text);
}

TCvTreeItem* TCvTreeItems::AddObject(TCvTreeItem* Item, const TCvString& Text, TObject* Obj) {
    return AddChildObject(Item ? Item->ParentItem() : nullptr, Text, Obj);
}

TCvTreeItem* TCvTreeItems::AddObjectFirst(TCvTreeItem* Item, const TCvString& Text, TObject* Obj) {
    return AddChildObjectFirst(Item ? Item->ParentItem() : nullptr, Text, Obj);
}

TCvTreeItem* TCvTreeItems::SiblingAt(TCvTreeItem* Item, bool After, const TCvString& Text,
                                     TObject* Obj, bool SetObject) {
    TCvTreeItem* const New =
        Item ? InsertChildAt(Item->IndexInParent() + (After ? 1 : 0), Item->ParentItem())
             : InsertChildAt(0, nullptr);
    return Named(New, Text, Obj, SetObject);
}

TCvTreeItem* TCvTreeItems::Insert(TCvTreeItem* Item, const TCvString& Text) {
    return SiblingAt(Item, false, Text, nullptr, false);
}

TCvTreeItem* TCvTreeItems::InsertObject(TCvTreeItem* Item, const TCvString& Text, TObject* Obj) {
    return SiblingAt(Item, false, Text, Obj, true);
}

TCvTreeItem* TCvTreeItems::InsertAfter(TCvTreeItem* Item, const TCvString& Text) {
    return SiblingAt(Item, true, Text, nullptr, false);
}

TCvTreeItem* TCvTreeItems::InsertAfterObject(TCvTreeItem* Item, const TCvString& Text,
                                             TObject* Obj) {
    return SiblingAt(Item, true, Text, Obj, true);
}

// ----------------------------------------------------------------- removing

void TCvTreeItems::RemoveItem(TCvTreeItem* Item) {
    if (!Item || !Item->FParent)
        return;
    TCvTreeCore& T = *FOwner;
    TCvTreeCore::TBatch Batch(T);
    TCvTreeItem* const Parent = Item->FParent;
    const bool Shown = Parent->IsExpanded() && (!Parent->FParent || T.IsShown(Parent));
    Parent->DeleteChild(Item);
    if (Shown) {
        T.VisibleCountDirty = true;
        T.RowListDirty = true;
    }
    Batch.Close();
}

void TCvTreeItems::RemoveAll() {
    TCvTreeCore& T = *FOwner;
    TCvTreeCore::TBatch Batch(T);
    T.SetFocusedItem(nullptr);
    T.View().ClearRows();
    const bool HadItems = TotalCount() > 0;
    FRoot->ClearChildren();
    T.MaxRowWidth = -1;
    if (HadItems)
        T.MarkRowsChanged();
    Batch.Close();
}

void TCvTreeItems::Assign(const TCvTreeItems& Source) {
    if (&Source == this)
        return;
    FRoot->Assign(*Source.FRoot);
}

// -------------------------------------------------------------------- walks

bool TCvTreeItems::WalkShows(const TCvTreeItem* Item, bool VisibleOnly,
                             bool /*IntoCollapsed*/) const {
    return !(VisibleOnly && FOwner->FilteredVisibility() && Item->IsHiddenState());
}

namespace {

struct TWalkFrame {
    TCvTreeItem* Parent;
    int Next;
};

bool Descends(const TCvTreeItem* Item, bool VisibleOnly, bool IntoCollapsed) {
    return Item->ChildrenCount() > 0 && !(VisibleOnly && !IntoCollapsed && !Item->IsExpanded());
}

} // namespace

void TCvTreeItems::Iterate(bool VisibleOnly, bool IntoCollapsed, const TCvIterateProc& Proc,
                           void* Data) {
    IterateFrom(VisibleOnly, IntoCollapsed, nullptr, Proc, Data);
}

void TCvTreeItems::IterateFrom(bool VisibleOnly, bool IntoCollapsed, TCvTreeItem* Start,
                               const TCvIterateProc& Proc, void* Data) {
    std::vector<TWalkFrame> Stack;
    int Index = 0;
    bool Continue = true;
    // Reports the item and tells whether its children come next.
    auto Visit = [&](TCvTreeItem* Item) {
        if (!WalkShows(Item, VisibleOnly, IntoCollapsed))
            return;
        Proc(Item, Index++, Continue, Data, FOwner);
        if (Continue && Descends(Item, VisibleOnly, IntoCollapsed))
            Stack.push_back({Item, 0});
    };
    if (!Start || !Start->FParent) {
        Stack.push_back({FRoot.get(), 0});
    } else {
        std::vector<TCvTreeItem*> Path;
        for (TCvTreeItem* P = Start; P->FParent; P = P->FParent)
            Path.push_back(P);
        for (auto It = Path.rbegin(); It != Path.rend(); ++It)
            Stack.push_back({(*It)->FParent, (*It)->ChildPos() + 1});
        Visit(Start);
    }
    while (Continue && !Stack.empty()) {
        TWalkFrame& F = Stack.back();
        if (F.Next >= F.Parent->ChildrenCount()) {
            Stack.pop_back();
            continue;
        }
        Visit(F.Parent->FChildren[F.Next++].get());
    }
}

namespace {

// Reverse pre-order of the subtree under Parent's children below Before (all of them for -1):
// children from last to first, each child's subtree before the child.
template <class Report>
bool WalkBack(TCvTreeItem* Parent, int Before, bool VisibleOnly, bool IntoCollapsed, bool Filter,
              Report&& Out) {
    struct Frame {
        TCvTreeItem* Item;
        int Next; // next child to enter, counting down; -1: report the item
    };
    std::vector<Frame> Stack;
    const int From = Before < 0 ? Parent->ChildrenCount() - 1 : Before - 1;
    for (int C = From; C >= 0; --C) {
        TCvTreeItem* Top = Parent->GetChild(C);
        if (VisibleOnly && Filter && Top->IsHiddenState())
            continue;
        Stack.push_back(
            {Top, Descends(Top, VisibleOnly, IntoCollapsed) ? Top->ChildrenCount() - 1 : -1});
        while (!Stack.empty()) {
            Frame& F = Stack.back();
            if (F.Next < 0) {
                TCvTreeItem* Item = F.Item;
                Stack.pop_back();
                if (!Out(Item))
                    return false;
                continue;
            }
            TCvTreeItem* Child = F.Item->GetChild(F.Next--);
            if (VisibleOnly && Filter && Child->IsHiddenState())
                continue;
            Stack.push_back({Child, Descends(Child, VisibleOnly, IntoCollapsed)
                                        ? Child->ChildrenCount() - 1
                                        : -1});
        }
    }
    return true;
}

} // namespace

void TCvTreeItems::IterateBackwards(bool VisibleOnly, bool IntoCollapsed,
                                    const TCvIterateProc& Proc, void* Data) {
    const bool Filter = FOwner->FilteredVisibility();
    int Count = 0;
    WalkBack(FRoot.get(), -1, VisibleOnly, IntoCollapsed, Filter, [&](TCvTreeItem*) {
        ++Count;
        return true;
    });
    int Index = Count - 1;
    WalkBack(FRoot.get(), -1, VisibleOnly, IntoCollapsed, Filter, [&](TCvTreeItem* Item) {
        bool Continue = true;
        Proc(Item, Index--, Continue, Data, FOwner);
        return Continue;
    });
}

void TCvTreeItems::IterateBackFrom(bool VisibleOnly, bool IntoCollapsed, TCvTreeItem* Start,
                                   const TCvIterateProc& Proc, void* Data) {
    if (!Start || !Start->FParent) {
        IterateBackwards(VisibleOnly, IntoCollapsed, Proc, Data);
        return;
    }
    const bool Filter = FOwner->FilteredVisibility();
    // The start item, then for each level up: the earlier siblings' subtrees and the parent.
    auto Walk = [&](auto&& Out) {
        if (WalkShows(Start, VisibleOnly, IntoCollapsed) && !Out(Start))
            return;
        for (TCvTreeItem* I = Start; I->FParent; I = I->FParent) {
            if (!WalkBack(I->FParent, I->ChildPos(), VisibleOnly, IntoCollapsed, Filter, Out))
                return;
            if (I->FParent->FParent && WalkShows(I->FParent, VisibleOnly, IntoCollapsed) &&
                !Out(I->FParent))
                return;
        }
    };
    int Count = 0;
    Walk([&](TCvTreeItem*) {
        ++Count;
        return true;
    });
    int Index = Count - 1;
    Walk([&](TCvTreeItem* Item) {
        bool Continue = true;
        Proc(Item, Index--, Continue, Data, FOwner);
        return Continue;
    });
}

TCvTreeItem* TCvTreeItems::LookForItem(TCvTreeItem* Start, int /*SectionIndex*/,
                                       const TCvLookForItemProc& Match, void* Data,
                                       bool VisibleOnly, bool IntoCollapsed, bool IncludeStart,
                                       bool SubtreeOnly) {
    TCvTreeItem* Found = nullptr;
    IterateFrom(
        VisibleOnly, IntoCollapsed, Start,
        [&](TCvTreeItem* Item, int, bool& Continue, void*, TCvTreeCore*) {
            if (Start && SubtreeOnly && !Item->IsUnder(Start)) {
                Continue = false;
                return;
            }
            if (Item == Start && !IncludeStart)
                return;
            if (Match(Item, Data)) {
                Found = Item;
                Continue = false;
            }
        },
        nullptr);
    return Found;
}

// ------------------------------------------------------------ lines of text

void TCvTreeItems::AssignLines(const TStrings& Lines) {
    std::vector<TCvString> Wide;
    Wide.reserve(Lines.Count());
    for (int I = 0; I < Lines.Count(); ++I)
        Wide.push_back(Lines.Strings(I));
    AssignLines(Wide);
}

void TCvTreeItems::AssignLines(const std::vector<TCvString>& Lines) {
    TCvTreeCore::TBatch Batch(*FOwner);
    RemoveAll();
    for (size_t I = 0; I < Lines.size(); ++I)
        AddFromText(static_cast<int>(I), Lines[I]);
    Batch.Close();
}

void TCvTreeItems::AddFromText(int Index, const TCvString& Line) {
    TCvTreeItem* Ref = ItemAtIndex(Index - 1);
    int Level = Ref ? Ref->Level() : 0;
    const size_t Tabs = std::min(Line.find_first_not_of(L'\t'), Line.size());
    int Depth = static_cast<int>(std::min<size_t>(Tabs, Level + 1));
    while (Ref && Depth < Level) {
        Ref = Ref->ParentItem();
        --Level;
    }
    if (Ref && Depth == Level)
        Ref = Ref->ParentItem();
    TCvTreeItem* const Item = AppendChild(Ref);

    // Every leading tab is indentation; the rest splits into fields at tabs.
    const int MainField = FOwner->ShowColumns() ? FOwner->MainTreeColumn() : 0;
    std::optional<TCvColumnTexts> Columns = Item->ColumnTextList();
    std::vector<TCvString> ColumnFields;
    size_t From = Tabs;
    for (int Field = 0;; ++Field) {
        const size_t Tab = Line.find(L'\t', From);
        const TCvString Text =
            Line.substr(From, Tab == TCvString::npos ? TCvString::npos : Tab - From);
        if (Field == MainField)
            Item->SetText(Text);
        else
            ColumnFields.push_back(Text);
        if (Tab == TCvString::npos)
            break;
        From = Tab + 1;
    }
    if (Columns && !ColumnFields.empty())
        Columns->Assign(ColumnFields);
}
