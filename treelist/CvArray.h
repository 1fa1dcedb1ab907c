// A sparse array of untyped pointers: reads past the end give nil, writes past the end extend it.
#pragma once

#include "treelist/CvList.h"

class ECvArrayError : public EListError {
public:
    using EListError::EListError;
};

// Elements are not owned unless AutoFreeItems is set; then they must be TObject pointers. Every
// check comes before any change. Not thread-safe.
class TCvArray : public TObject {
public:
    TCvArray() = default;
    ~TCvArray() override;
    TCvArray(const TCvArray&) = delete;
    TCvArray& operator=(const TCvArray&) = delete;

    int Count() const { return FSlots.Count(); }
    int Capacity() const { return FSlots.Capacity; }
    void SetCapacity(int N);
    // Raises the capacity to exactly N when needed; new slots are nil.
    void SetCount(int N);

    virtual void* Get(int Index) const;
    // Storing the pointer already there does nothing; otherwise OnRemoveItem hears of the old
    // element, nil included, before it is replaced (and freed with AutoFreeItems).
    virtual void Put(int Index, void* Item);
    virtual void Delete(int Index);
    void Clear();
    virtual void Grow();

    bool AutoFreeItems = false;
    TCvRemoveItemEvent OnRemoveItem;

protected:
    virtual void NotifyRemove(void* Item);

private:
    [[noreturn]] static void Error(int Value) { TCvSlots::Fail<ECvArrayError>(Value); }

    TCvSlots FSlots;
};
