#include "treelist/CvList.h"

#include <algorithm>
#include <utility>

// ---------------------------------------------------------------- TCvSlots

void TCvSlots::SetCapacity(int N) {
    const std::size_t Wanted = static_cast<std::size_t>(N);
    if (Wanted > Items.capacity()) {
        Items.reserve(std::max(Wanted, Items.capacity() * 2));
    } else if (Wanted < Items.capacity() / 2) {
        // Give memory back once the capacity has fallen well below it.
        std::vector<void*> Smaller;
        Smaller.reserve(Wanted);
        Smaller.assign(Items.begin(), Items.end());
        Items = std::move(Smaller);
    }
    Capacity = N;
}

int CvQuarterGrowthStep(int Capacity) {
    if (Capacity > 64)
        return Capacity / 4;
    return Capacity > 8 ? 16 : 4;
}

// ----------------------------------------------------------------- TCvList

TCvList::~TCvList() {
    // A listener that throws cannot be answered from a destructor.
    try {
        Clear();
    } catch (...) {
    }
}

void TCvList::SetCapacity(int N) {
    FSlots.CheckCapacity<ECvListError>(N);
    if (N != Capacity())
        FSlots.SetCapacity(N);
}

void TCvList::SetCount(int N) {
    FSlots.Resize<ECvListError>(N);
}

void TCvList::Grow() {
    SetCapacity(Capacity() + std::min(Count() * 2 + 1, 1280));
}

void TCvList::GrowWhenFull() {
    if (Count() == Capacity())
        Grow();
}

int TCvList::Add(void* Item) {
    GrowWhenFull();
    FSlots.Items.push_back(Item);
    return Count() - 1;
}

void TCvList::Insert(int Index, void* Item) {
    if (Index < 0 || Index > Count())
        Error(Index);
    GrowWhenFull();
    FSlots.Items.insert(FSlots.Items.begin() + Index, Item);
}

void* TCvList::Get(int Index) const {
    CheckIndex(Index);
    return GetFast(Index);
}

void TCvList::Put(int Index, void* Item) {
    CheckIndex(Index);
    void*& Slot = FSlots.Items[static_cast<std::size_t>(Index)];
    if (Slot != nullptr && OnRemoveItem)
        NotifyRemove(Slot);
    Slot = Item;
}

int TCvList::IndexOf(const void* Item) const {
    const auto It = std::find(FSlots.Items.begin(), FSlots.Items.end(), Item);
    return It == FSlots.Items.end() ? -1 : static_cast<int>(It - FSlots.Items.begin());
}

int TCvList::IndexOfFrom(int Start, const void* Item) const {
    CheckIndex(Start);
    const auto It = std::find(FSlots.Items.begin() + Start, FSlots.Items.end(), Item);
    return It == FSlots.Items.end() ? -1 : static_cast<int>(It - FSlots.Items.begin());
}

int TCvList::IndexOfBackFrom(int Start, const void* Item) const {
    CheckIndex(Start);
    for (int I = Start; I >= 0; --I)
        if (GetFast(I) == Item)
            return I;
    return -1;
}

int TCvList::Remove(void* Item) {
    const int Index = IndexOf(Item);
    if (Index < 0)
        return -1;
    NotifyRemove(Item);
    FSlots.Items.erase(FSlots.Items.begin() + Index);
    FSlots.ShrinkWhenSparse();
    return Index;
}

void TCvList::Delete(int Index) {
    CheckIndex(Index);
    void* Item = GetFast(Index);
    NotifyRemove(Item);
    if (AutoFreeItems)
        delete static_cast<TObject*>(Item);
    FSlots.Items.erase(FSlots.Items.begin() + Index);
    FSlots.ShrinkWhenSparse();
}

void TCvList::DeleteRange(int First, int Last) {
    CheckIndex(First);
    if (Last < First || Last >= Count())
        Error(Last);
    for (int I = First; I <= Last; ++I)
        NotifyRemove(GetFast(I));
    FSlots.Items.erase(FSlots.Items.begin() + First, FSlots.Items.begin() + Last + 1);
    FSlots.ShrinkWhenSparse();
}

void TCvList::DeleteQuiet(int Index) {
    CheckIndex(Index);
    FSlots.Items.erase(FSlots.Items.begin() + Index);
}

void TCvList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex)
        return;
    CheckIndex(NewIndex);
    void* Item = Get(CurIndex);
    DeleteQuiet(CurIndex);
    Insert(NewIndex, Item);
}

void TCvList::MoveRange(int First, int Last, int NewIndex) {
    if (First == NewIndex)
        return;
    if (NewIndex < 0 || NewIndex >= Count() || (First <= NewIndex && NewIndex <= Last))
        Error(NewIndex);
    CheckIndex(First);
    // A reversed block is no block; refuse it rather than guess.
    if (Last < First || Last >= Count())
        Error(Last);
    const auto Begin = FSlots.Items.begin();
    if (NewIndex < First)
        std::rotate(Begin + NewIndex, Begin + First, Begin + Last + 1);
    else
        std::rotate(Begin + First, Begin + Last + 1, Begin + NewIndex);
}

void TCvList::Clear() {
    for (int I = 0; I < Count(); ++I)
        NotifyRemove(GetFast(I));
    if (AutoFreeItems)
        for (int I = 0; I < Count(); ++I)
            delete static_cast<TObject*>(Get(I));
    FSlots.SetCount(0);
    FSlots.SetCapacity(0);
}

void TCvList::NotifyRemove(void* Item) {
    if (OnRemoveItem)
        OnRemoveItem(this, Item);
}

void TCvList::Assign(const TPersistent& Source) {
    const auto* Other = dynamic_cast<const TCvList*>(&Source);
    if (Other == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    // Clearing first would empty the source too.
    if (Other == this)
        return;
    Clear();
    SetCapacity(Other->Capacity());
    FSlots.Items = Other->FSlots.Items;
}
