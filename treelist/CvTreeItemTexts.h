// The texts of a tree-list item: the main text and the column texts in one block of memory, so a
// row of a large list costs one allocation for all its texts.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TCvPackedTexts {
public:
    // Absent: an item of a virtual tree, whose texts are asked of the tree.
    TCvPackedTexts() = default;
    // Present, with an empty main text and no column texts.
    static TCvPackedTexts MakeEmpty();

    explicit operator bool() const { return FBlock != nullptr; }

    std::wstring_view Main() const { return Entry(0); }
    int ColumnCount() const { return FBlock ? static_cast<int>(FBlock[0]) - 1 : 0; }
    // Column I, which must exist.
    std::wstring_view Column(int I) const { return Entry(I + 1); }
    std::vector<std::wstring> Columns() const;

    // Each change keeps the block present.
    void SetMain(std::wstring_view S) { Replace(0, 1, &S, 1); }
    void SetColumn(int I, std::wstring_view S) { Replace(I + 1, 1, &S, 1); }
    void InsertColumn(int I, std::wstring_view S) { Replace(I + 1, 0, &S, 1); }
    void DeleteColumn(int I) { Replace(I + 1, 1, nullptr, 0); }
    void SetColumns(const std::vector<std::wstring>& Lines);

private:
    // Block layout in 32-bit words: the entry count N (the main text counts), the end offset of
    // each entry in characters, then the characters.
    std::wstring_view Entry(int I) const;
    const wchar_t* Chars() const;
    // Rebuilds the block with entries [From, From + Removed) replaced by Added[0..AddedCount).
    void Replace(int From, int Removed, const std::wstring_view* Added, int AddedCount);

    std::unique_ptr<std::uint32_t[]> FBlock;
};
