#include "treelist/CvTreeError.h"

#include "tests/treelist/TreeTestSupport.h"

#include "classlib/rtl/Classes.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::wstring> Family = {L"P", L"\tC1", L"\t\tG1", L"\t\tG2", L"\tC2", L"Q"};

TEST(CvTreeItem, NewItemDefaults) {
    TTestTree T;
    TCvTreeItem* I = T.Items().AddChild(nullptr, L"x");
    EXPECT_EQ(I->Flags(), 0x128783u);
    for (TCvItemFlag On : {ifParentColors, ifParentStyle, ifDrawHLine, ifAllowEdit, ifUseBkColor,
                           ifEnabled, ifCheckBoxEnabled, ifOwnerHeight})
        EXPECT_TRUE(I->HasFlag(On)) << On;
    for (TCvItemFlag Off : {ifShowCheckBox, ifHidden, ifIsHTML, ifMultiline, ifUseStyles})
        EXPECT_FALSE(I->HasFlag(Off)) << Off;
    EXPECT_EQ(I->CheckBoxState(), 0);
    EXPECT_EQ(I->CheckBoxType(), 0);
    EXPECT_EQ(I->MainImage(), -1);
    EXPECT_EQ(I->MainStateImage, -1);
    EXPECT_EQ(I->SecondImage(), -1);
    EXPECT_EQ(I->SecondStateImage, -1);
    EXPECT_EQ(I->OverlayIndex, -1);
    EXPECT_EQ(I->OverlayIndex2, -1);
    EXPECT_EQ(I->State(), 0);
    EXPECT_FALSE(I->IsExpanded());
    EXPECT_EQ(I->Tag, 0);
    EXPECT_EQ(I->ItemObject, nullptr);
    EXPECT_EQ(I->BorderSpaceColor, clCvWindow);
    EXPECT_EQ(I->MainStyle()->TextFlags, 0x8824u);
    EXPECT_TRUE(I->MainStyle()->OwnerProps);
    EXPECT_EQ(I->MainStyle()->FontName, T.FontName);
    EXPECT_TRUE(T.GetRoot()->IsExpanded());
}

TEST(CvTreeItem, CheckBoxRules) {
    TTestTree T({L"R1", L"R2", L"R3", L"Two"});
    TCvTreeItem *R1 = T.Find(L"R1"), *R2 = T.Find(L"R2"), *R3 = T.Find(L"R3"),
                *Two = T.Find(L"Two");
    for (TCvTreeItem* R : {R1, R2, R3})
        R->SetCheckBoxType(2);
    int Checked = 0;
    T.OnItemChecked = [&](TCvTreeCore*, TCvTreeItem*) { ++Checked; };
    R1->SetCheckMark(true);
    R2->SetCheckMark(true);
    R3->SetCheckMark(true);
    EXPECT_FALSE(R1->IsChecked());
    EXPECT_FALSE(R2->IsChecked());
    EXPECT_TRUE(R3->IsChecked());
    Two->SetCheckMark(true); // a two-state sibling touches no radio item
    EXPECT_TRUE(R3->IsChecked());
    // Grayed stays grayed when "unchecked"; SetCheckBoxState does clear it.
    Two->SetCheckBoxState(2);
    Two->SetCheckMark(false);
    EXPECT_EQ(Two->CheckBoxState(), 2);
    Two->SetCheckBoxState(0);
    EXPECT_EQ(Two->CheckBoxState(), 0);
    EXPECT_EQ(Checked, 0);
}

TEST(CvTreeItem, DeletionFiresDeepestFirstAndLeavesItemObjectToTheCaller) {
    TTestTree T(Family);
    std::vector<std::string> Order;
    TStringList Owned; // stands in for a row object the feature code owns
    T.Find(L"G1")->ItemObject = &Owned;
    T.OnItemDeletion = [&](TCvTreeCore*, TCvTreeItem* Item) {
        Order.push_back(Narrow(Item->Text()));
        if (Item->ItemObject)
            Item->ItemObject = nullptr; // the handler may drop it; the tree never touches it
    };
    T.Items().Delete(T.Find(L"P"));
    EXPECT_EQ(Order, (std::vector<std::string>{"C2", "G2", "G1", "C1", "P"}));
    EXPECT_EQ(FlatShape(T), "Q");
    EXPECT_EQ(T.TotalVarHeightCount(), 0);
}

struct TFocusCase {
    const char* Focus;
    const char* Deleted;
    const char* Then; // "" for none
};

TEST(CvTreeItem, DeletingMovesFocusAndAnchorToANeighbour) {
    for (const TFocusCase& C : {TFocusCase{"C1", "C1", "C2"}, TFocusCase{"C2", "C2", "C1"},
                                TFocusCase{"G1", "C1", "C2"}, TFocusCase{"Q", "Q", "P"}}) {
        TTestTree T(Family);
        T.Items().ItemAtIndex(0)->ExpandItem(true);
        // A veto does not hold a deletion's focus move.
        T.OnChanging = [](TCvTreeCore*, TCvTreeItem*, bool&) {};
        const std::wstring Focus(C.Focus, C.Focus + strlen(C.Focus));
        T.DoSetFocused(T.Find(Focus), true);
        T.SetSelectedItem(T.Find(Focus));
        T.Items().Delete(T.Find(std::wstring(C.Deleted, C.Deleted + strlen(C.Deleted))));
        const TCvTreeItem* F = T.GetFocusedItem();
        EXPECT_EQ(F ? Narrow(F->Text()) : "", C.Then) << C.Deleted;
        EXPECT_EQ(T.GetSelectedItem(), F) << C.Deleted;
    }
    TTestTree Only({L"A"});
    Only.SetFocusedItem(Only.Find(L"A"));
    Only.Items().Delete(Only.Find(L"A"));
    EXPECT_EQ(Only.GetFocusedItem(), nullptr);
    // The only child's focus goes to its parent, never to the hidden root.
    TTestTree Nested({L"A", L"\tB"});
    Nested.SetFocusedItem(Nested.Find(L"B"));
    Nested.Items().Delete(Nested.Find(L"B"));
    EXPECT_EQ(Nested.GetFocusedItem(), Nested.Find(L"A"));
}

TEST(CvTreeItem, MoveIntoOwnSubtreeRaisesAndChangesNothing) {
    TTestTree T(Family);
    const std::string Before = FlatShape(T);
    try {
        T.Find(L"P")->MoveTo(T.Find(L"G2"));
        ADD_FAILURE();
    } catch (const ECvTreeError& E) {
        EXPECT_EQ(E.Message(), L"Can't move Item to one of its subitems.");
    }
    EXPECT_EQ(FlatShape(T), Before);
    EXPECT_EQ(T.UpdateCount(), 0);
    T.Find(L"P")->MoveTo(T.Find(L"P")); // onto itself: nothing
    T.Find(L"C1")->MoveToIns(T.Find(L"C1"), imInsertBefore);
    EXPECT_EQ(FlatShape(T), Before);
    EXPECT_TRUE(IndicesAgree(T));
}

struct TMoveCase {
    const char* Name;
    const wchar_t* Target; // nullptr: none
    TItemMoveMode Mode;
    const char* Shape;
};

TEST(CvTreeItem, MoveToInsModes) {
    // Q is moved relative to the target.
    for (const TMoveCase& C :
         {TMoveCase{"sibling", L"G1", imAddSibling, "P -C1 --G1 --G2 --Q -C2"},
          TMoveCase{"first sibling", L"G2", imAddFirstSibling, "P -C1 --Q --G1 --G2 -C2"},
          TMoveCase{"first sibling top", nullptr, imAddFirstSibling, "Q P -C1 --G1 --G2 -C2"},
          TMoveCase{"child", L"C2", imAddChild, "P -C1 --G1 --G2 -C2 --Q"},
          TMoveCase{"child top", nullptr, imAddChild, "P -C1 --G1 --G2 -C2 Q"},
          TMoveCase{"first child", L"P", imAddFirstChild, "P -Q -C1 --G1 --G2 -C2"},
          TMoveCase{"before", L"C2", imInsertBefore, "P -C1 --G1 --G2 -Q -C2"},
          TMoveCase{"before top", nullptr, imInsertBefore, "Q P -C1 --G1 --G2 -C2"}}) {
        TTestTree T(Family);
        T.Find(L"Q")->MoveToIns(C.Target ? T.Find(C.Target) : nullptr, C.Mode);
        EXPECT_EQ(FlatShape(T), C.Shape) << C.Name;
        EXPECT_TRUE(IndicesAgree(T)) << C.Name;
    }
    // Same parent, the item before the target: the position counts after removal.
    TTestTree T({L"A", L"B", L"C", L"D"});
    T.Find(L"A")->MoveToIns(T.Find(L"C"), imInsertBefore);
    EXPECT_EQ(FlatShape(T), "B A C D");
    try {
        T.Find(L"A")->MoveToIns(nullptr, imAddSibling);
        ADD_FAILURE();
    } catch (const ECvTreeError& E) {
        EXPECT_EQ(E.Message(), L"CvTree item not specified");
    }
}

TEST(CvTreeItem, ExpandVetoOnOneChildLeavesItsSubtreeCollapsed) {
    TTestTree T({L"R", L"\tA", L"\t\tA1", L"\tB", L"\t\tB1"});
    std::vector<std::string> Expanded;
    T.OnItemExpanding = [](TCvTreeCore*, TCvTreeItem* Item, bool& Can) {
        if (Item->Text() == L"A")
            Can = false;
    };
    T.OnItemExpand = [&](TCvTreeCore*, TCvTreeItem* Item) {
        Expanded.push_back(Narrow(Item->Text()));
    };
    T.Find(L"R")->ExpandItem(true);
    EXPECT_FALSE(T.Find(L"A")->IsExpanded());
    EXPECT_TRUE(T.Find(L"B")->IsExpanded());
    EXPECT_EQ(Expanded, (std::vector<std::string>{"B1", "B", "R"}));
    EXPECT_EQ(VisibleShape(T), "R A B B1");
}

TEST(CvTreeItem, CollapseMovesFocusAndDeselectsChildrenWhenAsked) {
    TTestTree T(Family);
    T.MoveFocusOnCollapse = true;
    T.DeselectChildrenOnCollapse = true;
    T.FullExpand();
    T.SetFocusedItem(T.Find(L"G2"));
    T.Find(L"G1")->SetSelected(true);
    T.Find(L"P")->CollapseItem(false);
    EXPECT_EQ(T.GetFocusedItem(), T.Find(L"P"));
    EXPECT_FALSE(T.Find(L"G1")->IsSelected());
    EXPECT_FALSE(T.Find(L"G2")->IsSelected());
    EXPECT_TRUE(T.Find(L"C1")->IsExpanded()); // not recursive
}

TEST(CvTreeItem, HeightRulesAndVarHeightCount) {
    TTestTree T({L"a", L"b", L"c"});
    TCvTreeItem *A = T.Find(L"a"), *B = T.Find(L"b"), *C = T.Find(L"c");
    EXPECT_EQ(A->GetHeight(), 17);
    EXPECT_EQ(T.TotalVarHeightCount(), 0);
    B->SetFlag(ifOwnerHeight, false);
    B->SetOwnHeight(25);
    EXPECT_EQ(B->GetHeight(), 25);
    C->SetMultiline(true);
    EXPECT_EQ(C->GetHeight(), 40); // measured
    C->SetIsHTML(true);            // both at once still counts the item once
    EXPECT_EQ(T.TotalVarHeightCount(), 2);
    T.SetAdjustMultilineHeight(false);
    EXPECT_EQ(T.TotalVarHeightCount(), 2); // C is still HTML
    C->SetIsHTML(false);
    EXPECT_EQ(T.TotalVarHeightCount(), 1);
    EXPECT_EQ(C->GetHeight(), 17);
    T.Items().Delete(B);
    EXPECT_EQ(T.TotalVarHeightCount(), 0);
}

TEST(CvTreeItem, HiddenCountFollowsItemsAndDeletion) {
    TTestTree T(Family);
    T.Find(L"G1")->SetHiddenState(true);
    T.Find(L"Q")->SetHiddenState(true);
    T.Find(L"Q")->SetHiddenState(true);
    EXPECT_EQ(T.HiddenCount(), 2);
    T.Items().Delete(T.Find(L"P"));
    EXPECT_EQ(T.HiddenCount(), 1);
    T.Items().RemoveAll();
    EXPECT_EQ(T.HiddenCount(), 0);
}

TEST(CvTreeItem, TextAndStateChangesReportAndRepaint) {
    TTestTree T({L"a"});
    TCvTreeItem* A = T.Find(L"a");
    std::vector<TItemChangeMode> Modes;
    T.OnItemChange = [&](TCvTreeCore*, TCvTreeItem*, TItemChangeMode M) { Modes.push_back(M); };
    T.FakeView.Invalidated.clear();
    A->SetText(L"b");
    A->ColumnTextList()->Add(L"c");
    A->SetState(TCvItemState::Bold, true);
    A->SetState(TCvItemState::Bold, true); // unchanged: nothing
    EXPECT_EQ(Modes, (std::vector<TItemChangeMode>{icmText, icmColumnText, icmState}));
    EXPECT_EQ(T.FakeView.Invalidated.size(), 3u);
    EXPECT_EQ(A->CellText(-1), L"b");
    EXPECT_EQ(A->CellText(1), L"c");
    EXPECT_EQ(A->CellText(5), L"");
}

TEST(CvTreeItem, DeepAssignCopiesTheSubtree) {
    TTestTree T(Family);
    TCvTreeItem* P = T.Find(L"P");
    P->Tag = 7;
    P->SetHiddenState(true);
    T.Find(L"G2")->ColumnTextList()->Add(L"col");
    TCvTreeItem* Copy = T.Items().AddChild(nullptr, L"copy");
    Copy->Assign(*P);
    EXPECT_EQ(FlatShape(T), "P -C1 --G1 --G2 -C2 Q P -C1 --G1 --G2 -C2");
    EXPECT_EQ(Copy->Tag, 7);
    EXPECT_EQ(T.HiddenCount(), 2);
    EXPECT_EQ(T.Items().ItemAtIndex(9)->ColumnTextList()->Items(),
              std::vector<std::wstring>{L"col"});
    EXPECT_TRUE(IndicesAgree(T));

    TTestTree Other;
    Other.Items().Assign(T.Items());
    EXPECT_EQ(FlatShape(Other), FlatShape(T));
}

TEST(CvTreeItem, DestroyingTheTreeDeletesEveryItemQuietly) {
    std::vector<std::string> Deleted;
    int Focused = 0, Selected = 0;
    {
        TTestTree T(Family);
        T.SetFocusedItem(T.Find(L"G1"));
        T.OnItemDeletion = [&](TCvTreeCore*, TCvTreeItem* I) {
            Deleted.push_back(Narrow(I->Text()));
        };
        T.OnItemFocused = [&](TCvTreeCore*) { ++Focused; };
        T.OnItemSelectedChange = [&](TCvTreeCore*, TCvTreeItem*) { ++Selected; };
    }
    EXPECT_EQ(Deleted, (std::vector<std::string>{"Q", "C2", "G2", "G1", "C1", "P"}));
    EXPECT_EQ(Focused, 0);
    EXPECT_EQ(Selected, 0);
}

} // namespace
