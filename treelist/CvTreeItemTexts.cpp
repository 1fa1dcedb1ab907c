#include "treelist/CvTreeItemTexts.h"

#include <cstring>

TCvPackedTexts TCvPackedTexts::MakeEmpty() {
    TCvPackedTexts T;
    T.Replace(0, 0, nullptr, 0);
    return T;
}

const wchar_t* TCvPackedTexts::Chars() const {
    return reinterpret_cast<const wchar_t*>(FBlock.get() + 1 + FBlock[0]);
}

std::wstring_view TCvPackedTexts::Entry(int I) const {
    if (!FBlock)
        return {};
    const std::uint32_t Begin = I == 0 ? 0 : FBlock[I], End = FBlock[1 + I];
    return {Chars() + Begin, End - Begin};
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
    const int Old = FBlock ? static_cast<int>(FBlock[0]) : 1;
    Entries.reserve(static_cast<std::size_t>(Old - Removed + AddedCount));
    for (int I = 0; I < From; ++I)
        Entries.push_back(Entry(I));
    Entries.insert(Entries.end(), Added, Added + AddedCount);
    for (int I = From + Removed; I < Old; ++I)
        Entries.push_back(Entry(I));

    std::size_t Total = 0;
    for (const std::wstring_view E : Entries)
        Total += E.size();
    const std::size_t Header = 1 + Entries.size();
    const std::size_t Words = Header + (Total * sizeof(wchar_t) + 3) / 4;
    auto Block = std::make_unique_for_overwrite<std::uint32_t[]>(Words);
    Block[0] = static_cast<std::uint32_t>(Entries.size());
    auto* Out = reinterpret_cast<wchar_t*>(Block.get() + Header);
    std::uint32_t End = 0;
    for (std::size_t I = 0; I < Entries.size(); ++I) {
        if (!Entries[I].empty())
            std::memcpy(Out + End, Entries[I].data(), Entries[I].size() * sizeof(wchar_t));
        End += static_cast<std::uint32_t>(Entries[I].size());
        Block[1 + I] = End;
    }
    FBlock = std::move(Block);
}
