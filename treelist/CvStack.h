// A last-in-first-out stack of untyped pointers, for the HTML parser and tree walks.
#pragma once

#include "treelist/CvList.h"

class ECvStackError : public EListError {
public:
    using EListError::EListError;
};

// Owns none of its elements: whatever is left on it when it goes is not freed.
class TCvStack : public TObject {
public:
    TCvStack() = default;
    TCvStack(const TCvStack&) = delete;
    TCvStack& operator=(const TCvStack&) = delete;

    int Count() const { return FSlots.Count(); }
    int Capacity() const { return FSlots.Capacity; }
    void SetCapacity(int N);

    void Push(void* Item);
    // Halves the capacity when less than half of it stays in use.
    void* Pop();
    // Counted from the bottom; not checked.
    void* ItemAt(int Index) const { return FSlots.Items[static_cast<std::size_t>(Index)]; }

private:
    TCvSlots FSlots;
};
