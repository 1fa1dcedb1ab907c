#pragma once

#include "treelist/CvTreeCore.h"

#include <string>
#include <vector>

// A view that records what the model asks of it.
struct TFakeView : ICvTreeView {
    bool Window = true;
    int FillRowsCalls = 0, ScrollBarCalls = 0, UpdateViewCalls = 0, RepaintNowCalls = 0;
    int AutoSizeAllCalls = 0;
    std::vector<const TCvTreeItem*> Invalidated;
    std::vector<const TCvTreeItem*> Rows; // items on screen, for EnsureVisible
    int LineHeight = 17;

    bool HandleAllocated() const override { return Window; }
    void InvalidateItem(TCvTreeItem& Item) override { Invalidated.push_back(&Item); }
    void RepaintNow() override { ++RepaintNowCalls; }
    bool IsRow(const TCvTreeItem& Item) const override {
        for (const TCvTreeItem* R : Rows)
            if (R == &Item)
                return true;
        return false;
    }
    void FillRows(int) override { ++FillRowsCalls; }
    void UpdateScrollBars() override { ++ScrollBarCalls; }
    void UpdateView() override { ++UpdateViewCalls; }
    void AutoSizeAllColumns() override { ++AutoSizeAllCalls; }
    int DefineLineHeight() override { return LineHeight; }
    int MeasureItemHeight(TCvTreeItem&) override { return 40; }
};

// A header of a few sections with their field types and sort marks.
struct TFakeHeader : ICvTreeHeader {
    std::vector<TCvFieldType> Types;
    std::vector<TCvSortMark> Marks;
    int Begins = 0, Ends = 0;
    int SectionCount() const override { return static_cast<int>(Types.size()); }
    TCvFieldType FieldType(int I) const override { return Types.at(I); }
    TCvSortMark SortMark(int I) const override { return Marks.at(I); }
    void BeginUpdate() override { ++Begins; }
    void EndUpdate() override { ++Ends; }
};

// A change timer ticked by hand.
struct TFakeTimer : ICvTreeTimer {
    bool Running = false;
    int Interval = 0;
    void Start(int Ms) override {
        Running = true;
        Interval = Ms;
    }
    void Stop() override { Running = false; }
};

// A tree with a fake view, filled from tab-indented lines.
struct TTestTree : TCvTreeCore {
    TFakeView FakeView;
    TTestTree() { SetView(&FakeView); }
    explicit TTestTree(const std::vector<std::wstring>& Lines) : TTestTree() { Fill(Lines); }
    void Fill(const std::vector<std::wstring>& Lines) { Items().AssignLines(Lines); }
    // The item with this main text (the first in tree order).
    TCvTreeItem* Find(const std::wstring& Text) {
        for (int I = 0; I < Items().TotalCount(); ++I)
            if (Items().ItemAtIndex(I)->Text() == Text)
                return Items().ItemAtIndex(I);
        return nullptr;
    }
};

// The flat list as "A -B --C D": one dash per level.
inline std::string FlatShape(TCvTreeCore& T) {
    std::string S;
    for (int I = 0; I < T.Items().TotalCount(); ++I) {
        const TCvTreeItem* Item = T.Items().ItemAtIndex(I);
        if (!S.empty())
            S += ' ';
        S += std::string(static_cast<size_t>(Item->Level()), '-');
        for (wchar_t C : Item->Text())
            S += static_cast<char>(C);
    }
    return S;
}

// The shown items in visible-index order.
inline std::string VisibleShape(TCvTreeCore& T) {
    std::string S;
    T.CountVisibleItems();
    for (int I = 0; I < T.TotalVisCount(); ++I) {
        if (!S.empty())
            S += ' ';
        for (wchar_t C : T.Items().GetVisItem(I)->Text())
            S += static_cast<char>(C);
    }
    return S;
}

// Every item's AbsIndex and VisIndex agree with the lists they index.
inline bool IndicesAgree(TCvTreeCore& T) {
    T.CountVisibleItems();
    for (int I = 0; I < T.Items().TotalCount(); ++I)
        if (T.Items().ItemAtIndex(I)->AbsIndex() != I)
            return false;
    for (int I = 0; I < T.TotalVisCount(); ++I)
        if (T.Items().GetVisItem(I)->VisIndex() != I)
            return false;
    return true;
}

inline std::string Narrow(std::wstring_view W) {
    return std::string(W.begin(), W.end());
}

// A handler's rebuild of the whole list, done once after Armed: the rows the tests expect
// afterwards.
struct TRefill {
    std::vector<std::wstring> Lines{L"New1", L"New2", L"New3"};
    bool Armed = true;
    int Done = 0;
    void operator()(TCvTreeCore& T) {
        if (!Armed || Done > 0)
            return;
        ++Done;
        T.Items().AssignLines(Lines);
    }
    std::string Shape() const {
        std::string S;
        for (const std::wstring& L : Lines)
            S += (S.empty() ? "" : " ") + std::string(L.begin(), L.end());
        return S;
    }
};
