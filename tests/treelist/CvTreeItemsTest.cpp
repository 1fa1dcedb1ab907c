#include "treelist/CvTreeError.h"

#include "tests/treelist/TreeTestSupport.h"

#include "classlib/rtl/Classes.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using TOp = std::function<void(TTestTree&)>;

struct TFlatCase {
    const char* Name;
    std::vector<std::wstring> Lines;
    TOp Op;
    const char* Flat;
    const char* Visible;
};

class CvTreeItemsFlat : public ::testing::TestWithParam<TFlatCase> {};

TEST_P(CvTreeItemsFlat, OrderAndIndicesAfterOperations) {
    const TFlatCase& C = GetParam();
    TTestTree T(C.Lines);
    C.Op(T);
    EXPECT_EQ(FlatShape(T), C.Flat);
    EXPECT_EQ(VisibleShape(T), C.Visible);
    EXPECT_TRUE(IndicesAgree(T));
}

const std::vector<std::wstring> Abc = {L"A", L"\tA1", L"\tA2", L"B", L"\tB1", L"C"};

void ExpandAll(TTestTree& T) {
    T.FullExpand();
}

INSTANTIATE_TEST_SUITE_P(
    Ops, CvTreeItemsFlat,
    ::testing::Values(TFlatCase{"Collapsed", Abc, [](TTestTree&) {}, "A -A1 -A2 B -B1 C", "A B C"},
                      TFlatCase{"Expanded", Abc, ExpandAll, "A -A1 -A2 B -B1 C", "A A1 A2 B B1 C"},
                      TFlatCase{"AppendChildMiddle", Abc,
                                [](TTestTree& T) {
                                    T.Items().AddChild(T.Find(L"A"), L"A3");
                                    T.Items().AddChild(T.Find(L"A3"), L"X");
                                    ExpandAll(T);
                                },
                                "A -A1 -A2 -A3 --X B -B1 C", "A A1 A2 A3 X B B1 C"},
                      TFlatCase{"InsertVariants", Abc,
                                [](TTestTree& T) {
                                    T.Items().Insert(T.Find(L"B"), L"Bx");
                                    T.Items().InsertAfter(T.Find(L"A1"), L"A1x");
                                    T.Items().AddChildFirst(T.Find(L"B"), L"B0");
                                    T.Items().AddFirst(nullptr, L"First");
                                    T.Items().AddItem(T.Find(L"B1"), L"B2");
                                    T.Items().Insert(nullptr, L"Top");
                                },
                                "Top First A -A1 -A1x -A2 Bx B -B0 -B1 -B2 C",
                                "Top First A Bx B C"},
                      TFlatCase{"DeleteSubtree", Abc,
                                [](TTestTree& T) {
                                    ExpandAll(T);
                                    T.Items().Delete(T.Find(L"A"));
                                },
                                "B -B1 C", "B B1 C"},
                      TFlatCase{"MoveBlockDown", Abc,
                                [](TTestTree& T) {
                                    ExpandAll(T);
                                    T.Find(L"A")->MoveTo(T.Find(L"C"));
                                },
                                "B -B1 C -A --A1 --A2", "B B1 C A A1 A2"},
                      TFlatCase{"MoveBlockUpBetween", Abc,
                                [](TTestTree& T) {
                                    ExpandAll(T);
                                    T.Find(L"B")->MoveToIndex(T.Find(L"A"), 1);
                                },
                                "A -A1 -B --B1 -A2 C", "A A1 B B1 A2 C"},
                      TFlatCase{"HiddenUnderFilter", Abc,
                                [](TTestTree& T) {
                                    ExpandAll(T);
                                    T.Find(L"A1")->SetHiddenState(true);
                                    T.Find(L"B")->SetHiddenState(true);
                                    T.SetFilteredVisibility(true);
                                },
                                "A -A1 -A2 B -B1 C", "A A2 C"},
                      TFlatCase{"HiddenWithoutFilter", Abc,
                                [](TTestTree& T) {
                                    ExpandAll(T);
                                    T.Find(L"B")->SetHiddenState(true);
                                },
                                "A -A1 -A2 B -B1 C", "A A1 A2 B B1 C"},
                      TFlatCase{"ClearChildren", Abc,
                                [](TTestTree& T) {
                                    T.Find(L"A")->ClearChildren();
                                    T.Items().AddChild(T.Find(L"A"), L"N");
                                    ExpandAll(T);
                                },
                                "A -N B -B1 C", "A N B B1 C"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(CvTreeItems, IndexQuestionsAndTheirBounds) {
    TTestTree T(Abc);
    TCvTreeItems& Items = T.Items();
    EXPECT_EQ(Items.TotalCount(), 6);
    EXPECT_EQ(Items.ItemAtIndex(-1), nullptr);
    EXPECT_EQ(Items.ItemAtIndex(6), nullptr);
    EXPECT_EQ(Items.AbsIndexOf(nullptr), -1);
    EXPECT_EQ(Items.VisIndexOf(nullptr), -1);
    EXPECT_EQ(Items.VisIndexOf(T.Find(L"A1")), -1); // under a collapsed item
    T.CountVisibleItems();
    EXPECT_EQ(Items.GetVisItem(3), nullptr);
    EXPECT_EQ(Items.GetVisItem(-1), nullptr);
    EXPECT_EQ(Items.GetVisItem(2), T.Find(L"C"));
    EXPECT_EQ(T.Find(L"C")->GetPrev(), T.Find(L"B1"));
    EXPECT_EQ(T.Find(L"A2")->GetNext(), T.Find(L"B"));
    EXPECT_EQ(T.Find(L"B")->Level(), 0);
    EXPECT_EQ(T.Find(L"B1")->Level(), 1);
    EXPECT_EQ(T.GetRoot()->Level(), -1);
    EXPECT_EQ(T.Find(L"B")->ParentItem(), nullptr);
    EXPECT_EQ(T.Find(L"C")->IndexInParent(), 2);
    EXPECT_EQ(T.Find(L"A2")->TopAncestor(), T.Find(L"A"));
    EXPECT_TRUE(T.Find(L"A2")->IsUnder(T.Find(L"A")));
    EXPECT_FALSE(T.Find(L"A2")->IsUnder(nullptr));
}

TEST(CvTreeItems, InsertChildAtOutOfBoundsAddsNothingAndClosesTheBatch) {
    TTestTree T(Abc);
    for (int Index : {-1, 3}) {
        try {
            T.Items().InsertChildAt(Index, T.Find(L"A"));
            ADD_FAILURE() << "no error for " << Index;
        } catch (const ECvTreeError& E) {
            EXPECT_EQ(E.Message(), L"CvTree item index out of bounds.");
        }
    }
    EXPECT_EQ(T.Items().TotalCount(), 6);
    EXPECT_EQ(T.UpdateCount(), 0);
    T.Items().RemoveItem(nullptr);
    T.Items().RemoveItem(T.GetRoot());
    EXPECT_EQ(T.Items().TotalCount(), 6);
}

// Middle inserts renumber lazily; every index answer is still exact.
TEST(CvTreeItems, AbsIndexStaysExactThroughMixedInsertsAndDeletes) {
    TTestTree T;
    std::vector<TCvTreeItem*> Made;
    for (int I = 0; I < 50; ++I)
        Made.push_back(T.Items().AddChild(nullptr, std::to_wstring(I)));
    for (int I = 0; I < 20; ++I) {
        T.Items().Insert(Made[I * 2], L"i");
        EXPECT_EQ(Made[49]->AbsIndex(), 49 + 2 * I + 1);
        T.Items().AddChild(Made[I], L"c");
        EXPECT_EQ(Made[I]->AbsIndex() + 1, Made[I]->GetFirstChild()->AbsIndex());
    }
    T.Items().Delete(Made[10]);
    EXPECT_TRUE(IndicesAgree(T));
}

struct TTextCase {
    const char* Name;
    std::vector<std::wstring> Lines;
    bool Columns;
    const char* Shape;
    std::vector<std::wstring> FirstColumns;
};

class CvTreeItemsFromText : public ::testing::TestWithParam<TTextCase> {};

TEST_P(CvTreeItemsFromText, LevelsAndFields) {
    const TTextCase& C = GetParam();
    TTestTree T;
    TFakeHeader Header;
    Header.Types.assign(3, sftText);
    Header.Marks.assign(3, hsmNone);
    T.SetHeader(&Header);
    if (C.Columns) {
        T.SetShowColumns(true);
        T.SetMainTreeColumn(1);
    }
    T.Fill(C.Lines);
    EXPECT_EQ(FlatShape(T), C.Shape);
    EXPECT_EQ(T.Items().ItemAtIndex(0)->ColumnTextList()->Items(), C.FirstColumns);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CvTreeItemsFromText,
    ::testing::Values(
        TTextCase{"Nesting", {L"A", L"\tB", L"\t\tC", L"D"}, false, "A -B --C D", {}},
        TTextCase{"FirstLineTabsAreTopLevel", {L"\t\t\tA", L"B"}, false, "A B", {}},
        TTextCase{"FiveTabsOneLevelDeeper", {L"A", L"\t\t\t\t\tB"}, false, "A -B", {}},
        TTextCase{"FieldsWithoutColumns", {L"a\tb\t\tc"}, false, "a", {L"b", L"", L"c"}},
        TTextCase{"MainColumnOne", {L"x\ty\tz"}, true, "y", {L"x", L"z"}},
        TTextCase{"BackUpTwoLevels", {L"A", L"\tB", L"\t\tC", L"\tD"}, false, "A -B --C -D", {}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(CvTreeItems, AssignLinesFromStringsReplacesEverything) {
    TTestTree T(Abc);
    TStringList Lines;
    Lines.Add(L"X");
    Lines.Add(L"\tY");
    T.Items().AssignLines(Lines);
    EXPECT_EQ(FlatShape(T), "X -Y");
    EXPECT_EQ(T.UpdateCount(), 0);
}

struct TWalk {
    std::string Seen;
    void operator()(TCvTreeItem* Item, int Index, bool& Continue, void*, TCvTreeCore*) {
        if (!Seen.empty())
            Seen += ' ';
        Seen += Narrow(Item->Text()) + ":" + std::to_string(Index);
        if (Item->Text() == StopAt)
            Continue = false;
    }
    std::wstring StopAt;
};

TEST(CvTreeItems, WalksReportInTreeOrderWithCountedIndices) {
    TTestTree T(Abc);
    T.Find(L"A")->SetExpanded(true);
    T.Find(L"A1")->SetHiddenState(true);
    T.SetFilteredVisibility(true);
    auto Run = [&](auto Call) {
        TWalk W;
        Call(W);
        return W.Seen;
    };
    TCvTreeItems& I = T.Items();
    EXPECT_EQ(Run([&](TWalk& W) { I.Iterate(false, false, std::ref(W), nullptr); }),
              "A:0 A1:1 A2:2 B:3 B1:4 C:5");
    // Hidden A1 is skipped and the indices have no gap; collapsed B is not entered.
    EXPECT_EQ(Run([&](TWalk& W) { I.Iterate(true, false, std::ref(W), nullptr); }),
              "A:0 A2:1 B:2 C:3");
    EXPECT_EQ(Run([&](TWalk& W) { I.Iterate(true, true, std::ref(W), nullptr); }),
              "A:0 A2:1 B:2 B1:3 C:4");
    EXPECT_EQ(Run([&](TWalk& W) { I.IterateBackwards(false, false, std::ref(W), nullptr); }),
              "C:5 B1:4 B:3 A2:2 A1:1 A:0");
    EXPECT_EQ(Run([&](TWalk& W) { I.IterateBackwards(true, false, std::ref(W), nullptr); }),
              "C:3 B:2 A2:1 A:0");
    EXPECT_EQ(
        Run([&](TWalk& W) { I.IterateFrom(false, false, T.Find(L"A2"), std::ref(W), nullptr); }),
        "A2:0 B:1 B1:2 C:3");
    EXPECT_EQ(Run([&](TWalk& W) {
                  I.IterateBackFrom(false, false, T.Find(L"B1"), std::ref(W), nullptr);
              }),
              "B1:4 B:3 A2:2 A1:1 A:0");
    EXPECT_EQ(Run([&](TWalk& W) {
                  W.StopAt = L"A2";
                  I.Iterate(false, false, std::ref(W), nullptr);
              }),
              "A:0 A1:1 A2:2");
}

TEST(CvTreeItems, LookForItemHonoursStartAndSubtree) {
    TTestTree T(Abc);
    TCvTreeItems& I = T.Items();
    auto StartsWithB = [](TCvTreeItem* Item, void*) { return Item->Text()[0] == L'B'; };
    auto Any = [](TCvTreeItem*, void*) { return true; };
    EXPECT_EQ(I.LookForItem(nullptr, -1, StartsWithB, nullptr, false, true, false, false),
              T.Find(L"B"));
    EXPECT_EQ(I.LookForItem(T.Find(L"B"), -1, StartsWithB, nullptr, false, true, false, false),
              T.Find(L"B1"));
    EXPECT_EQ(I.LookForItem(T.Find(L"B"), -1, StartsWithB, nullptr, false, true, true, false),
              T.Find(L"B"));
    EXPECT_EQ(I.LookForItem(T.Find(L"B1"), -1, Any, nullptr, false, true, false, true), nullptr);
    EXPECT_EQ(I.LookForItem(T.Find(L"B1"), -1, Any, nullptr, false, true, false, false),
              T.Find(L"C"));
}

} // namespace
