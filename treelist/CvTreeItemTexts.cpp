#include "treelist/CvTreeItemTexts.h"

#include <cstring>
#include <stdexcept>

static_assert(sizeof(wchar_t) == 2, "the block keeps its numbers as 16-bit characters");

TCvPackedTexts TCvPackedTexts::MakeEmpty() {
    TCvPackedTexts T;
    T.Replace(0, 0, nullptr, 0);
    return T;
}

std::uint32_t TCvPackedTexts::EndOf(int I) const {
    if (Unit(0) & WideOffsets)
        return Unit(1 + 2 * I) | std::uint32_t{Unit(2 + 2 * I)} << 16;
    return Unit(1 + I);
}

std::wstring_view TCvPackedTexts::Entry(int I) const {
    if (!FBlock)
        return {};
    const int N = EntryCount();
    const wchar_t* Chars = FBlock.get() + 1 + N * ((Unit(0) & WideOffsets) ? 2 : 1);
    const std::uint32_t Begin = I == 0 ? 0 : EndOf(I - 1), End = EndOf(I);
    return {Chars + Begin, End - Begin};
}

std::vector<std::wstring> TCvPackedTexts::Columns() const {
    std::vector<std::wstring> Result;
    Result.reserve(static_cast<std::size_t>(ColumnCount()));
    for (int I = 0; I < ColumnCount(); ++I)
        Result.emplace_back(Column(I));
    return Result;
}

void TCvPackedTexts::SetColumns(const std::vector<std::wstring>& Lines) {
    const std::vector<std::wstring_view> Views(Lines.begin(), Lines.end());
    Replace(1, ColumnCount(), Views.data(), static_cast<int>(Views.size()));
}

void TCvPackedTexts::Replace(int From, int Removed, const std::wstring_view* Added,
                             int AddedCount) {
    // The old block stays alive until the new one is filled: Added may point into it.
    std::vector<std::wstring_view> Entries;
    const int Old = EntryCount();
    Entries.reserve(static_cast<std::size_t>(Old - Removed + AddedCount));
    for (int I = 0; I < From; ++I)
        Entries.push_back(Entry(I));
    Entries.insert(Entries.end(), Added, Added + AddedCount);
    for (int I = From + Removed; I < Old; ++I)
        Entries.push_back(Entry(I));

    if (Entries.size() >= WideOffsets)
        throw std::length_error("too many column texts");
    std::size_t Total = 0;
    for (const std::wstring_view E : Entries)
        Total += E.size();
    const bool Wide = Total > 0xFFFF;
    const std::size_t Header = 1 + Entries.size() * (Wide ? 2 : 1);
    auto Block = std::make_unique_for_overwrite<wchar_t[]>(Header + Total);
    Block[0] = static_cast<wchar_t>(Entries.size() | (Wide ? WideOffsets : 0));
    wchar_t* const Out = Block.get() + Header;
    std::uint32_t End = 0;
    for (std::size_t I = 0; I < Entries.size(); ++I) {
        if (!Entries[I].empty())
            std::memcpy(Out + End, Entries[I].data(), Entries[I].size() * sizeof(wchar_t));
        End += static_cast<std::uint32_t>(Entries[I].size());
        if (Wide) {
            Block[1 + 2 * I] = static_cast<wchar_t>(End & 0xFFFF);
            Block[2 + 2 * I] = static_cast<wchar_t>(End >> 16);
        } else {
            Block[1 + I] = static_cast<wchar_t>(End);
        }
    }
    FBlock = std::move(Block);
}
