// A sequence kept in one array with a movable gap: inserting or erasing next to the last change
// costs only the elements inserted or erased, so runs of changes in one place (adding rows,
// deleting every checked row, expanding and collapsing a node) stay linear in a list of any size.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <utility>
#include <vector>

template <class T> class TCvGapList {
public:
    std::size_t Size() const { return FItems.size() - FGap; }
    bool Empty() const { return Size() == 0; }
    T& operator[](std::size_t I) { return FItems[Slot(I)]; }
    const T& operator[](std::size_t I) const { return FItems[Slot(I)]; }
    T& Back() { return (*this)[Size() - 1]; }

    void Insert(std::size_t Pos, T Value) {
        OpenGap(Pos, 1);
        FItems[FGapAt++] = std::move(Value);
        --FGap;
    }
    template <class TIter> void InsertRange(std::size_t Pos, TIter First, TIter Last) {
        OpenGap(Pos, static_cast<std::size_t>(std::distance(First, Last)));
        for (; First != Last; ++First, --FGap)
            FItems[FGapAt++] = *First;
    }
    void PushBack(T Value) { Insert(Size(), std::move(Value)); }
    // The erased elements are left empty in the gap.
    void Erase(std::size_t Pos, std::size_t Count) {
        MoveGap(Pos);
        for (std::size_t I = 0; I < Count; ++I)
            FItems[FGapAt + FGap + I] = T();
        FGap += Count;
        if (Empty())
            Clear();
    }
    // Moves the elements First..Last (inclusive) in front of the element at Before, counted
    // before the move; Before is outside the block.
    void MoveBlock(std::size_t First, std::size_t Last, std::size_t Before) {
        std::vector<T> Block;
        Block.reserve(Last - First + 1);
        for (std::size_t I = First; I <= Last; ++I)
            Block.push_back(std::move((*this)[I]));
        Erase(First, Block.size());
        if (Before > Last)
            Before -= Block.size();
        OpenGap(Before, Block.size());
        for (T& Item : Block) {
            FItems[FGapAt++] = std::move(Item);
            --FGap;
        }
    }
    void Clear() {
        std::vector<T>().swap(FItems);
        FGapAt = FGap = 0;
    }
    // Takes the elements of Items, without copying them.
    void Assign(std::vector<T>&& Items) {
        FItems = std::move(Items);
        FGapAt = FItems.size();
        FGap = 0;
    }
    // The elements in one plain array, for work that wants one (a sort); valid until the next
    // change through the gap list.
    std::vector<T>& Contiguous() {
        MoveGap(Size());
        FItems.resize(Size());
        FGap = 0;
        return FItems;
    }

private:
    std::size_t Slot(std::size_t I) const { return I < FGapAt ? I : I + FGap; }

    void MoveGap(std::size_t Pos) {
        if (Pos < FGapAt)
            std::move_backward(FItems.begin() + static_cast<std::ptrdiff_t>(Pos),
                               FItems.begin() + static_cast<std::ptrdiff_t>(FGapAt),
                               FItems.begin() + static_cast<std::ptrdiff_t>(FGapAt + FGap));
        else if (Pos > FGapAt)
            std::move(FItems.begin() + static_cast<std::ptrdiff_t>(FGapAt + FGap),
                      FItems.begin() + static_cast<std::ptrdiff_t>(Pos + FGap),
                      FItems.begin() + static_cast<std::ptrdiff_t>(FGapAt));
        FGapAt = Pos;
    }

    // Puts a gap of at least Count elements at Pos.
    void OpenGap(std::size_t Pos, std::size_t Count) {
        if (FGap < Count) {
            // Grow at the end, where the gap then lies, by half again as the vector would.
            MoveGap(Size());
            const std::size_t Used = Size();
            const std::size_t Wanted = Used + std::max({Count, Used / 2, std::size_t{4}});
            FItems.reserve(Wanted);
            FItems.resize(Wanted);
            FGap = Wanted - Used;
        }
        MoveGap(Pos);
    }

    std::vector<T> FItems;
    std::size_t FGapAt = 0;
    std::size_t FGap = 0;
};
