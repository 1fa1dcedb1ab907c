// A growable list of untyped pointers with a removal event: the rows, sections, hooks and text
// runs of the tree-list and its helpers live in it.
#pragma once

#include "classlib/rtl/Classes.h"

#include <functional>
#include <vector>

class ECvListError : public EListError {
public:
    using EListError::EListError;
};

// Told of an element that leaves a container.
using TCvRemoveItemEvent = std::function<void(TObject* Sender, void* Item)>;

// Upper limit of Capacity and Count for the pointer containers.
constexpr int CvMaxListSize = 134217727;

// The slots of a pointer container. Capacity is the container's own bookkeeping, following its
// growth rule and shown to callers; the memory behind it grows geometrically, so a list that
// grows in fixed steps of 1,280 slots still appends in amortized constant time.
class TCvSlots {
public:
    std::vector<void*> Items; // size() is the container's Count
    int Capacity = 0;

    int Count() const { return static_cast<int>(Items.size()); }
    // N is not checked here: the containers check it first.
    void SetCapacity(int N);
    // Count becomes N (at most Capacity); new slots are nil.
    void SetCount(int N) { Items.resize(static_cast<std::size_t>(N), nullptr); }
    // Halves the capacity when less than half of it is used.
    void ShrinkWhenSparse() {
        if (Count() < Capacity / 2)
            SetCapacity(Capacity / 2);
    }

    // The containers' checks: each raises TError "List index [%d] out of bounds..." with the
    // value that failed.
    template <class TError> [[noreturn]] static void Fail(int Value) {
        throw TError(Format(L"List index [%d] out of bounds...", {Value}));
    }
    template <class TError> void CheckIndex(int Index) const {
        if (Index < 0 || Index >= Count())
            Fail<TError>(Index);
    }
    // A capacity must hold the elements there are.
    template <class TError> void CheckCapacity(int N) const {
        if (N < Count() || N > CvMaxListSize)
            Fail<TError>(N);
    }
    // Count becomes N, the capacity rising to N when it is less.
    template <class TError> void Resize(int N) {
        if (N < 0 || N > CvMaxListSize)
            Fail<TError>(N);
        if (N > Capacity)
            SetCapacity(N);
        SetCount(N);
    }
};

// Capacity step of the stack, the sparse array and the wide-string list: a quarter above 64
// slots, else 16 or 4.
int CvQuarterGrowthStep(int Capacity);

// Elements are not owned unless AutoFreeItems is set; then they must be TObject pointers, which
// Delete and Clear free. Every check comes before any change: a failing call leaves the list as
// it was. Not thread-safe.
class TCvList : public TPersistent {
public:
    TCvList() = default;
    ~TCvList() override;
    TCvList(const TCvList&) = delete;
    TCvList& operator=(const TCvList&) = delete;

    int Count() const { return FSlots.Count(); }
    int Capacity() const { return FSlots.Capacity; }
    void SetCapacity(int N);
    void SetCount(int N);

    int Add(void* Item);
    void Insert(int Index, void* Item);
    virtual void* Get(int Index) const;
    void* GetFast(int Index) const { return FSlots.Items[static_cast<std::size_t>(Index)]; }
    void* FirstUnchecked() const { return FSlots.Items.front(); }
    void* Last() const { return FSlots.Items.empty() ? nullptr : FSlots.Items.back(); }
    // Never frees the old element; OnRemoveItem hears of it when it is not nil.
    virtual void Put(int Index, void* Item);

    int IndexOf(const void* Item) const;
    int IndexOfFrom(int Start, const void* Item) const;
    int IndexOfBackFrom(int Start, const void* Item) const;

    // Returns the former index, or -1 (and no event) when Item is absent. Never frees.
    int Remove(void* Item);
    virtual void Delete(int Index);
    // Tells of every element First..Last in order; never frees.
    virtual void DeleteRange(int First, int Last);
    // No event, no free, no shrinking.
    void DeleteQuiet(int Index);
    void Move(int CurIndex, int NewIndex);
    // The block First..Last lands directly in front of the element that was at NewIndex.
    void MoveRange(int First, int Last, int NewIndex);
    virtual void Clear();
    virtual void Grow();

    // Shares the source's elements (never copies them); AutoFreeItems and the event stay.
    void Assign(const TPersistent& Source) override;

    bool AutoFreeItems = false;
    TCvRemoveItemEvent OnRemoveItem;

protected:
    virtual void NotifyRemove(void* Item);

private:
    [[noreturn]] static void Error(int Value) { TCvSlots::Fail<ECvListError>(Value); }
    void CheckIndex(int Index) const { FSlots.CheckIndex<ECvListError>(Index); }
    void GrowWhenFull();

    TCvSlots FSlots;
};
