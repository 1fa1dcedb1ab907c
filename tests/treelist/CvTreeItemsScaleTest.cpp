// The model follows each change in place (the shown rows, the positions, the selection order)
// instead of rebuilding; these tests hold what it keeps against what a full walk finds.
#include "tests/treelist/TreeTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// The shown rows as a walk from the root finds them.
void WalkShown(const TCvTreeCore& T, const TCvTreeItem* Parent,
               std::vector<const TCvTreeItem*>& Out) {
    for (int I = 0; I < Parent->ChildrenCount(); ++I) {
        const TCvTreeItem* Child = Parent->GetChild(I);
        if (T.FilteredVisibility() && Child->IsHiddenState())
            continue;
        Out.push_back(Child);
        if (Child->IsExpanded())
            WalkShown(T, Child, Out);
    }
}

// Every position the model answers agrees with a walk of the structure.
::testing::AssertionResult ModelAgreesWithAWalk(TCvTreeCore& T) {
    std::vector<const TCvTreeItem*> Shown;
    WalkShown(T, T.GetRoot(), Shown);
    T.CountVisibleItems();
    if (T.TotalVisCount() != static_cast<int>(Shown.size()))
        return ::testing::AssertionFailure()
               << "shown " << T.TotalVisCount() << ", walk " << Shown.size();
    for (int I = 0; I < T.TotalVisCount(); ++I) {
        if (T.Items().GetVisItem(I) != Shown[static_cast<size_t>(I)])
            return ::testing::AssertionFailure() << "row " << I;
        if (Shown[static_cast<size_t>(I)]->VisIndex() != I)
            return ::testing::AssertionFailure() << "visible index of row " << I;
    }
    int Pos = 0;
    bool Ok = true;
    std::string Where;
    // Pre-order: the flat list, absolute positions and positions among siblings.
    auto Visit = [&](auto&& Self, const TCvTreeItem* Parent) -> void {
        for (int I = 0; I < Parent->ChildrenCount() && Ok; ++I) {
            const TCvTreeItem* Child = Parent->GetChild(I);
            if (Child->IndexInParent() != I || Child->AbsIndex() != Pos ||
                T.Items().ItemAtIndex(Pos) != Child) {
                Ok = false;
                Where = "item at " + std::to_string(Pos);
            }
            ++Pos;
            Self(Self, Child);
        }
    };
    Visit(Visit, T.GetRoot());
    if (!Ok)
        return ::testing::AssertionFailure() << Where;
    if (Pos != T.Items().TotalCount())
        return ::testing::AssertionFailure()
               << "count " << T.Items().TotalCount() << ", walk " << Pos;
    return ::testing::AssertionSuccess();
}

} // namespace

// Random adds (first, middle, last), deletes, expands, collapses, moves and hidings, alone and in
// batches, with and without the filter: after each, the model's answers match a walk.
TEST(CvTreeItemsSplice, ShownRowsAndPositionsFollowEveryChange) {
    for (const bool Filtered : {false, true}) {
        TTestTree T;
        T.SetFilteredVisibility(Filtered);
        std::mt19937 Random(Filtered ? 7 : 3);
        std::vector<TCvTreeItem*> Items;
        auto Pick = [&]() -> TCvTreeItem* {
            return Items.empty() ? nullptr : Items[Random() % Items.size()];
        };
        auto Forget = [&](TCvTreeItem* Gone) {
            std::erase_if(Items, [Gone](TCvTreeItem* I) { return I->IsUnder(Gone); });
        };
        for (int Step = 0; Step < 1500; ++Step) {
            const bool Batched = Random() % 4 == 0;
            if (Batched)
                T.Items().BeginUpdate();
            const int Ops = Batched ? 5 : 1;
            for (int K = 0; K < Ops; ++K) {
                TCvTreeItem* Item = Pick();
                switch (Random() % 10) {
                case 0:
                case 1:
                case 2: {
                    TCvTreeItem* Parent = Random() % 3 == 0 ? nullptr : Item;
                    const int Count =
                        Parent ? Parent->ChildrenCount() : T.GetRoot()->ChildrenCount();
                    const int Index = static_cast<int>(Random() % static_cast<unsigned>(Count + 1));
                    Items.push_back(T.Items().InsertChildAt(Index, Parent));
                    break;
                }
                case 3:
                    Items.push_back(T.Items().AddChild(Item, L"x"));
                    break;
                case 4:
                    if (Item && Items.size() > 30) {
                        Forget(Item);
                        T.Items().Delete(Item);
                    }
                    break;
                case 5:
                case 6:
                    if (Item)
                        Item->SetExpanded(!Item->IsExpanded());
                    break;
                case 7:
                    if (Item && Random() % 4 == 0)
                        (Random() % 2 ? Item->ExpandItem(true) : Item->CollapseItem(true));
                    break;
                case 8:
                    if (Item)
                        Item->SetHiddenState(!Item->IsHiddenState());
                    break;
                case 9:
                    if (TCvTreeItem* Target = Pick(); Item && Target && !Target->IsUnder(Item))
                        Item->MoveTo(Random() % 3 ? Target : nullptr);
                    break;
                }
            }
            if (Batched)
                T.Items().EndUpdate();
            ASSERT_TRUE(ModelAgreesWithAWalk(T))
                << "step " << Step << (Filtered ? " filtered" : "");
        }
    }
}

// Deleting every second row of a long sibling list, and then inserting as many rows in the
// middle of it, leaves positions that agree with a walk.
TEST(CvTreeItemsSplice, RunsOfChangesInOnePlaceKeepPositionsExact) {
    TTestTree T;
    TCvTreeItem* Node = T.Items().AddChild(nullptr, L"node");
    Node->SetExpanded(true);
    std::vector<TCvTreeItem*> Rows;
    for (int I = 0; I < 400; ++I)
        Rows.push_back(T.Items().AddChild(Node, L"r" + std::to_wstring(I)));
    T.Items().AddChild(nullptr, L"after");
    T.CountVisibleItems();
    T.Items().BeginUpdate();
    for (size_t I = 0; I < Rows.size(); I += 2)
        T.Items().Delete(Rows[I]);
    T.Items().EndUpdate();
    EXPECT_TRUE(ModelAgreesWithAWalk(T));
    EXPECT_EQ(Node->ChildrenCount(), 200);
    EXPECT_EQ(Node->GetChild(0)->Text(), L"r1");
    EXPECT_EQ(Node->GetChild(199)->Text(), L"r399");

    for (int I = 0; I < 100; ++I)
        T.Items().InsertChildAt(100 + I, Node)->SetText(L"m" + std::to_wstring(I));
    EXPECT_TRUE(ModelAgreesWithAWalk(T));
    EXPECT_EQ(Node->GetChild(100)->Text(), L"m0");
    EXPECT_EQ(Node->GetChild(199)->Text(), L"m99");
    EXPECT_EQ(Node->GetChild(200)->Text(), L"r201");
    EXPECT_EQ(T.Find(L"after")->VisIndex(), 301);
}

// The selection keeps the order it was made in through removals of every kind; the holes they
// leave are squeezed out without changing it.
TEST(CvTreeSelectionOrder, KeptThroughRemovalsAndSqueezes) {
    TTestTree T;
    std::vector<TCvTreeItem*> Rows;
    for (int I = 0; I < 300; ++I)
        Rows.push_back(T.Items().AddChild(nullptr, std::to_wstring(I)));
    std::vector<TCvTreeItem*> Order = Rows;
    std::shuffle(Order.begin(), Order.end(), std::mt19937(11));
    for (TCvTreeItem* Item : Order)
        Item->SetSelected(true);

    std::vector<TCvTreeItem*> Expected;
    for (size_t I = 0; I < Order.size(); ++I) {
        if (I % 3 == 0)
            Order[I]->SetSelected(false);
        else if (I % 3 == 1 && I < 150)
            T.Items().Delete(Order[I]);
        else
            Expected.push_back(Order[I]);
    }
    std::vector<TCvTreeItem*> Walked;
    for (TCvTreeItem* I = T.GetNextSelected(nullptr); I; I = T.GetNextSelected(I))
        Walked.push_back(I);
    EXPECT_EQ(Walked, Expected);
    std::vector<TCvTreeItem*> All;
    T.AllSelected(All);
    EXPECT_EQ(All, Expected);
    EXPECT_EQ(T.SelectedCount(), static_cast<int>(Expected.size()));

    // Select-all adds the rest after them in tree order; an unselected item has no next.
    T.SelectAll();
    EXPECT_EQ(T.SelectedCount(), T.Items().TotalCount());
    EXPECT_EQ(T.GetNextSelected(nullptr), Expected.front());
    T.DeselectAll();
    EXPECT_EQ(T.SelectedCount(), 0);
    EXPECT_EQ(T.GetNextSelected(nullptr), nullptr);
    EXPECT_EQ(T.GetNextSelected(Expected.front()), nullptr);
    Rows.back()->SetSelected(true);
    EXPECT_EQ(T.GetNextSelected(nullptr), Rows.back());
    T.InvertSelection();
    EXPECT_FALSE(Rows.back()->IsSelected());
    EXPECT_EQ(T.SelectedCount(), T.Items().TotalCount() - 1);
}

// A row's hint and cell styles live apart from it and are made on first need; copying a plain
// row over a styled one leaves it plain.
TEST(CvTreeItemExtras, CopyingAPlainRowLeavesNoStylesOrHint) {
    TTestTree T({L"plain", L"styled"});
    TCvTreeItem* Plain = T.Find(L"plain");
    TCvTreeItem* Styled = T.Find(L"styled");
    EXPECT_EQ(Plain->GetHint(), L"");
    EXPECT_EQ(Plain->StylesCount(), 0);
    EXPECT_EQ(Plain->GetStyle(0), nullptr);
    Styled->SetHint(L"tip");
    Styled->MainStyle()->TextColor = 0x123456;
    Styled->AddStyle()->TextColor = 0x654321;
    EXPECT_EQ(Styled->GetStyle(0)->TextColor, TCvColor(0x654321));

    Styled->Assign(*Plain);
    EXPECT_EQ(Styled->GetHint(), L"");
    EXPECT_EQ(Styled->StylesCount(), 0);
    EXPECT_EQ(Styled->MainStyle()->TextColor, Plain->MainStyle()->TextColor);
    EXPECT_EQ(Styled->MainStyle()->FontName, T.FontName);
    EXPECT_EQ(Styled->Text(), L"plain");

    Styled->SetHint(L"again");
    Plain->Assign(*Styled);
    EXPECT_EQ(Plain->GetHint(), L"again");
}
