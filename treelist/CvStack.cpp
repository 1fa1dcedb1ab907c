#include "treelist/CvStack.h"

void TCvStack::SetCapacity(int N) {
    if (N < Count() || N > CvMaxListSize)
        throw ECvStackError(L"Invalid CvStack capacity.");
    FSlots.SetCapacity(N);
}

void TCvStack::Push(void* Item) {
    if (Count() == Capacity())
        SetCapacity(Capacity() + CvQuarterGrowthStep(Capacity()));
    FSlots.Items.push_back(Item);
}

void* TCvStack::Pop() {
    if (Count() == 0)
        throw ECvStackError(L"CvStack is empty.");
    void* Item = FSlots.Items.back();
    FSlots.Items.pop_back();
    if (Count() < Capacity() / 2)
        FSlots.SetCapacity(Capacity() / 2);
    return Item;
}
