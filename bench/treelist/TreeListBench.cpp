// Times the tree-list model on bulk adds, sorts, expanding, unbatched adds, selecting and deleting
// against baselines measured in the same run, the control's repaint after a one-row scroll at 1M
// rows against 1k rows, and expanding a node of 100k children against adding them; reports the
// committed memory per row. Prints ratios; not a test.
#include "treelist/CvTree.h"
#include "treelist/CvTreeCore.h"

#include "classlib/rtl/WinApi.h"

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point From) {
    return std::chrono::duration<double>(Clock::now() - From).count();
}

// Committed memory of the process; wine leaves PrivateUsage at 0, so fall back to the pagefile
// figure and then to the working set.
std::size_t Committed() {
    PROCESS_MEMORY_COUNTERS_EX C{};
    C.cb = sizeof C;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&C),
                         sizeof C);
    if (C.PrivateUsage)
        return C.PrivateUsage;
    return C.PagefileUsage ? C.PagefileUsage : C.WorkingSetSize;
}

// Three columns: the main text, a number and a short text.
struct TBenchHeader : ICvTreeHeader {
    TCvSortMark Mark = hsmAscend;
    int SectionCount() const override { return 3; }
    TCvFieldType FieldType(int I) const override { return I == 1 ? sftNumber : sftText; }
    TCvSortMark SortMark(int) const override { return Mark; }
};

struct TRowTexts {
    std::vector<std::wstring> Main, Number, Word;
};

TRowTexts MakeTexts(int N) {
    std::mt19937 Random(12345);
    TRowTexts T;
    T.Main.reserve(N);
    T.Number.reserve(N);
    T.Word.reserve(N);
    for (int I = 0; I < N; ++I) {
        std::wstring M(20, L'a');
        for (wchar_t& C : M)
            C = static_cast<wchar_t>(L'a' + Random() % 26);
        T.Main.push_back(M);
        T.Number.push_back(std::to_wstring(Random() % 1000000));
        std::wstring W(6, L'a');
        for (wchar_t& C : W)
            C = static_cast<wchar_t>(L'a' + Random() % 26);
        T.Word.push_back(W);
    }
    return T;
}

// One bracket of adds, EndUpdate included; returns seconds.
double AddRows(TCvTreeCore& Tree, const TRowTexts& T, int N) {
    const auto Start = Clock::now();
    Tree.Items().BeginUpdate();
    for (int I = 0; I < N; ++I) {
        TCvTreeItem* Item = Tree.Items().AddChild(nullptr, T.Main[I]);
        Item->ColumnTextList()->Add(T.Number[I]);
        Item->ColumnTextList()->Add(T.Word[I]);
        Item->SetCheckBoxShown(true);
    }
    Tree.Items().EndUpdate();
    return Seconds(Start);
}

// std::sort of prebuilt keys with their indices, ties by index: the same comparison.
template <class Key> double BaselineSort(std::vector<std::pair<Key, int>> Keys) {
    const auto Start = Clock::now();
    std::sort(Keys.begin(), Keys.end(), [](const auto& A, const auto& B) {
        if (A.first != B.first)
            return A.first < B.first;
        return A.second < B.second;
    });
    return Seconds(Start);
}

// Unbatched adds of N rows, each its own change of the tree; seconds per row.
double UnbatchedPerRow(const TRowTexts& T, int N) {
    TCvTreeCore Tree;
    const auto Start = Clock::now();
    for (int I = 0; I < N; ++I) {
        TCvTreeItem* Item = Tree.Items().AddChild(nullptr, T.Main[I]);
        Item->ColumnTextList()->Add(T.Number[I]);
        Item->ColumnTextList()->Add(T.Word[I]);
    }
    return Seconds(Start) / N;
}

// Seconds per expand or collapse of a node with three children standing in the middle of a
// list of N rows.
double ExpandCollapseTime(const TRowTexts& T, int N) {
    TCvTreeCore Tree;
    AddRows(Tree, T, N);
    TCvTreeItem* Node = Tree.Items().ItemAtIndex(N / 2);
    Tree.Items().BeginUpdate();
    for (int I = 0; I < 3; ++I)
        Tree.Items().AddChild(Node, T.Word[I]);
    Tree.Items().EndUpdate();
    Node->ExpandItem(false); // the first change in a place may cost a pass; the bar is the rest
    Node->CollapseItem(false);
    constexpr int Rounds = 20000;
    const auto Start = Clock::now();
    for (int I = 0; I < Rounds; ++I) {
        Node->ExpandItem(false);
        Node->CollapseItem(false);
    }
    return Seconds(Start) / (2 * Rounds);
}

double TreeSort(TCvTreeCore& Tree, TBenchHeader& Header, int Section) {
    Tree.SetSortSection(Section);
    Header.Mark = hsmAscend;
    const auto Start = Clock::now();
    Tree.Sort(true);
    return Seconds(Start);
}

// A control of three columns with check boxes and pictures, painting into a bitmap off screen.
class TPaintBench {
public:
    explicit TPaintBench(int Rows) : FTree(nullptr), FImages(nullptr) {
        FImages.SetSize(16, 16);
        TBitmap Strip;
        Strip.SetSize(64, 16);
        FImages.AddMasked(Strip, clFuchsia);
        FTree.SetImages(&FImages);
        FTree.SetShowCheckboxes(true);
        for (const int Width : {200, 90, 120})
            FTree.HeaderControl().Sections().AppendSection()->SetWidth(Width);
        FTree.SetShowColumns(true);
        FTree.TreeView().SetBounds(0, 0, 420, 300);
        const TRowTexts T = MakeTexts(Rows);
        FTree.Items().BeginUpdate();
        for (int I = 0; I < Rows; ++I) {
            TCvTreeItem* Item = FTree.Items().AddChild(nullptr, T.Main[I]);
            Item->ColumnTextList()->Add(T.Number[I]);
            Item->ColumnTextList()->Add(T.Word[I]);
            Item->SetCheckBoxShown(true);
            Item->SetMainImage(I % 4);
        }
        FTree.Items().EndUpdate();
        FTree.TreeView().SetTopIndex(Rows / 2);
        FSurface.SetPixelFormat(pf32bit);
        FSurface.SetSize(420, 300);
    }
    // Seconds per one-row scroll and repaint of the page, in the middle of the list.
    double ScrollAndPaint(int Rounds) {
        TCvTreeView& View = FTree.TreeView();
        const int Middle = FTree.TopIndex();
        const auto Start = Clock::now();
        for (int I = 0; I < Rounds; ++I) {
            View.SetTopIndex(Middle + (I % 2 == 0 ? 1 : 0));
            View.PaintTo(FSurface.Canvas().Handle(), TRect(0, 0, 420, 300));
        }
        return Seconds(Start) / Rounds;
    }

private:
    TCvTree FTree;
    TImageList FImages;
    TBitmap FSurface;
};

// Adds Count children to a collapsed node (the baseline), then expands it and scrolls to the end.
std::pair<double, double> ExpandBench(int Count) {
    TCvTree Tree(nullptr);
    Tree.TreeView().SetBounds(0, 0, 420, 300);
    TCvTreeItem* Node = Tree.Items().AddChild(nullptr, L"node");
    const auto AddStart = Clock::now();
    Tree.Items().BeginUpdate();
    for (int I = 0; I < Count; ++I)
        Tree.Items().AddChild(Node, L"child");
    Tree.Items().EndUpdate();
    const double Add = Seconds(AddStart);
    const auto ExpandStart = Clock::now();
    Node->SetExpanded(true);
    Tree.TreeView().SetTopIndex(Tree.TotalVisCount());
    return {Seconds(ExpandStart), Add};
}

} // namespace

int main() {
    TApplication App;
    {
        TPaintBench SmallList(1000), LargeList(1000000);
        SmallList.ScrollAndPaint(5);
        LargeList.ScrollAndPaint(5);
        const double SmallPaint = SmallList.ScrollAndPaint(100);
        const double LargePaint = LargeList.ScrollAndPaint(100);
        std::printf(
            "paint: one-row scroll and page repaint %.2f ms at 1k rows, %.2f ms at 1M rows, "
            "ratio %.2f (bar 1.2)\n",
            SmallPaint * 1e3, LargePaint * 1e3, LargePaint / SmallPaint);
        const auto [Expand, Add] = ExpandBench(100000);
        std::printf("expand: 100k children shown and End %.3f s, adding them %.3f s, ratio %.2f "
                    "(bar 2)\n",
                    Expand, Add, Expand / Add);
    }

    constexpr int Small = 100000, Large = 1000000;
    const TRowTexts Texts = MakeTexts(Large);

    double SmallTime;
    {
        TCvTreeCore Tree;
        SmallTime = AddRows(Tree, Texts, Small);
    }
    TBenchHeader Header;
    TCvTreeCore Tree;
    Tree.SetHeader(&Header);
    Tree.SetShowColumns(true);
    Tree.ShowCheckboxes = true;
    const std::size_t Before = Committed();
    const double LargeTime = AddRows(Tree, Texts, Large);
    const std::size_t After = Committed();

    std::vector<std::pair<int, int>> Numbers;
    std::vector<std::pair<std::wstring_view, int>> Words;
    for (int I = 0; I < Large; ++I) {
        Numbers.emplace_back(std::stoi(Texts.Number[I]), I);
        Words.emplace_back(Texts.Word[I], I);
    }
    const double NumberBase = BaselineSort(Numbers);
    const double NumberTree = TreeSort(Tree, Header, 1);
    const double WordBase = BaselineSort(Words);
    const double WordTree = TreeSort(Tree, Header, 2);

    auto Start = Clock::now();
    Tree.SelectAll();
    const int Selected = Tree.SelectedCount();
    Tree.DeselectAll();
    const double SelectTime = Seconds(Start);

    Start = Clock::now();
    // As a program deletes its checked rows: gather them, then delete them in one batch.
    std::vector<TCvTreeItem*> Doomed;
    for (int I = 0; I < Large; I += 2)
        Doomed.push_back(Tree.Items().ItemAtIndex(I));
    Tree.Items().BeginUpdate();
    for (TCvTreeItem* Item : Doomed)
        Tree.Items().Delete(Item);
    Tree.Items().EndUpdate();
    const double DeleteTime = Seconds(Start);
    const int Left = Tree.Items().TotalCount();

    const double ExpandSmall = ExpandCollapseTime(Texts, 1000);
    const double ExpandLarge = ExpandCollapseTime(Texts, Large);
    const double UnbatchedSmall = UnbatchedPerRow(Texts, Small);
    const double UnbatchedLarge = UnbatchedPerRow(Texts, Large);

    std::printf("add: %.0f ns/row at 100k, %.0f ns/row at 1M, ratio %.2f (bar 1.3)\n",
                SmallTime / Small * 1e9, LargeTime / Large * 1e9,
                (LargeTime / Large) / (SmallTime / Small));
    std::printf("sort by number: tree %.3f s, std::sort %.3f s, ratio %.2f (bar 1.5)\n", NumberTree,
                NumberBase, NumberTree / NumberBase);
    std::printf("sort by text: tree %.3f s, std::sort %.3f s, ratio %.2f (bar 1.5)\n", WordTree,
                WordBase, WordTree / WordBase);
    std::printf("memory: %.0f bytes per row (20-character text, two column texts; bar 320)\n",
                static_cast<double>(After - Before) / Large);
    std::printf("expand/collapse of a 3-child node: %.2f us at 1k rows, %.2f us at 1M, ratio %.2f "
                "(bar 2)\n",
                ExpandSmall * 1e6, ExpandLarge * 1e6, ExpandLarge / ExpandSmall);
    std::printf("unbatched adds: %.0f ns/row at 100k, %.0f ns/row at 1M, ratio %.2f (bar 1.5)\n",
                UnbatchedSmall * 1e9, UnbatchedLarge * 1e9, UnbatchedLarge / UnbatchedSmall);
    std::printf("select all + deselect all (%d rows): %.3f s, adding the rows %.3f s, ratio %.2f "
                "(bar 3)\n",
                Selected, SelectTime, LargeTime, SelectTime / LargeTime);
    std::printf("delete every second row (%d left): %.3f s, adding the rows %.3f s, ratio %.2f "
                "(bar 3)\n",
                Left, DeleteTime, LargeTime, DeleteTime / LargeTime);
    return 0;
}
