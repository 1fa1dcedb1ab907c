#include "treelist/CvArray.h"

TCvArray::~TCvArray() {
    // A listener that throws cannot be answered from a destructor.
    try {
        Clear();
    } catch (...) {
    }
}

void TCvArray::SetCapacity(int N) {
    FSlots.CheckCapacity<ECvArrayError>(N);
    FSlots.SetCapacity(N);
}

void TCvArray::SetCount(int N) {
    FSlots.Resize<ECvArrayError>(N);
}

void TCvArray::Grow() {
    SetCapacity(Capacity() + CvQuarterGrowthStep(Capacity()));
}

void* TCvArray::Get(int Index) const {
    if (Index < 0)
        Error(Index);
    return Index < Count() ? FSlots.Items[static_cast<std::size_t>(Index)] : nullptr;
}

void TCvArray::Put(int Index, void* Item) {
    if (Index < 0)
        Error(Index);
    if (Index >= Count())
        SetCount(Index + 1);
    void*& Slot = FSlots.Items[static_cast<std::size_t>(Index)];
    if (Slot == Item)
        return;
    NotifyRemove(Slot);
    if (AutoFreeItems)
        delete static_cast<TObject*>(Slot);
    Slot = Item;
}

void TCvArray::Delete(int Index) {
    FSlots.CheckIndex<ECvArrayError>(Index);
    void* Item = FSlots.Items[static_cast<std::size_t>(Index)];
    NotifyRemove(Item);
    if (AutoFreeItems)
        delete static_cast<TObject*>(Item);
    FSlots.Items.erase(FSlots.Items.begin() + Index);
    FSlots.ShrinkWhenSparse();
}

void TCvArray::Clear() {
    if (OnRemoveItem)
        for (void* Item : FSlots.Items)
            if (Item != nullptr)
                NotifyRemove(Item);
    if (AutoFreeItems)
        for (void* Item : FSlots.Items)
            delete static_cast<TObject*>(Item);
    FSlots.SetCount(0);
    FSlots.SetCapacity(0);
}

void TCvArray::NotifyRemove(void* Item) {
    if (OnRemoveItem)
        OnRemoveItem(this, Item);
}
