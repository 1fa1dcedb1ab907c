#include "tests/treelist/TreeTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(CvTreeBatch, ABracketOfAddsRebuildsAndRepaintsOnce) {
    TTestTree T;
    TFakeView& V = T.FakeView;
    T.Items().BeginUpdate();
    for (int I = 0; I < 1000; ++I)
        T.Items().AddChild(nullptr, L"row");
    EXPECT_EQ(V.FillRowsCalls + V.UpdateViewCalls + V.ScrollBarCalls, 0);
    T.Items().EndUpdate();
    EXPECT_EQ(V.FillRowsCalls, 1);
    EXPECT_EQ(V.UpdateViewCalls, 1);
    EXPECT_EQ(V.ScrollBarCalls, 2); // before and after the auto-size
    EXPECT_EQ(T.TotalVisCount(), 1000);
}

TEST(CvTreeBatch, OneResortPerOutermostEndAndNestedBatchesInItsEventsAreIgnored) {
    TTestTree T;
    T.SortMode = smAdd;
    int SortBegins = 0;
    T.OnSortBegin = [&](TCvTreeCore* Sender) {
        ++SortBegins;
        Sender->SetUpdating(true); // ignored while the end-of-batch work runs
        Sender->SetUpdating(false);
    };
    T.Items().BeginUpdate();
    T.Items().BeginUpdate();
    for (const wchar_t* S : {L"c", L"a", L"b"})
        T.Items().AddChild(nullptr, S);
    T.Items().EndUpdate();
    EXPECT_EQ(SortBegins, 0);
    T.Items().EndUpdate();
    // The end-of-batch resort and the sort itself each announce it.
    EXPECT_EQ(SortBegins, 2);
    EXPECT_EQ(FlatShape(T), "a b c");
    EXPECT_EQ(T.UpdateCount(), 0);
    EXPECT_FALSE(T.ResortPending);

    // Outside a bracket a new text sorts the siblings at once.
    SortBegins = 0;
    T.Find(L"a")->SetText(L"z");
    EXPECT_EQ(FlatShape(T), "b c z");
    EXPECT_GE(SortBegins, 1);
}

TEST(CvTreeBatch, AnUnpairedEndMakesEveryCallDoTheWork) {
    TTestTree T;
    T.Items().EndUpdate();
    EXPECT_EQ(T.UpdateCount(), -1);
    const int Before = T.FakeView.UpdateViewCalls;
    T.Items().BeginUpdate(); // back to 0: still not above 0, so the work runs
    T.Items().AddChild(nullptr, L"x");
    EXPECT_GT(T.FakeView.UpdateViewCalls, Before);
    EXPECT_FALSE(T.IsUpdating());
    T.Items().BeginUpdate();
    EXPECT_TRUE(T.IsUpdating());
}

enum class TVeto { NoHandler, LeavesFlag, Allows };

struct TVetoCase {
    const char* Name;
    TVeto Handler;
    bool Forced;
    bool Moves;
};

TEST(CvTreeFocus, VetoTable) {
    for (const TVetoCase& C : {TVetoCase{"no handler", TVeto::NoHandler, false, true},
                               TVetoCase{"flag left", TVeto::LeavesFlag, false, false},
                               TVetoCase{"allowed", TVeto::Allows, false, true},
                               TVetoCase{"forced", TVeto::LeavesFlag, true, true}}) {
        for (bool Multi : {false, true}) {
            TTestTree T({L"a", L"b"});
            T.SetMultiSelect(Multi);
            T.DoSetFocused(T.Find(L"a"), true);
            const bool SelectedBefore = T.Find(L"a")->IsSelected();
            if (C.Handler == TVeto::LeavesFlag)
                T.OnChanging = [](TCvTreeCore*, TCvTreeItem*, bool&) {};
            if (C.Handler == TVeto::Allows)
                T.OnChanging = [](TCvTreeCore*, TCvTreeItem*, bool& Allow) { Allow = true; };
            int Focused = 0;
            T.OnItemFocused = [&](TCvTreeCore*) { ++Focused; };
            const bool Moved = T.DoSetFocused(T.Find(L"b"), C.Forced);
            EXPECT_EQ(Moved, C.Moves) << C.Name << Multi;
            EXPECT_EQ(T.GetFocusedItem(), T.Find(C.Moves ? L"b" : L"a")) << C.Name << Multi;
            EXPECT_EQ(Focused, C.Moves ? 1 : 0) << C.Name << Multi;
            if (!C.Moves) { // a refused change leaves the selection as it was
                EXPECT_EQ(T.Find(L"a")->IsSelected(), SelectedBefore) << C.Name << Multi;
            }
        }
    }
    // While the list is cleared the veto doesn't hold and the focus goes.
    TTestTree T({L"a"});
    T.DoSetFocused(T.Find(L"a"), true);
    T.OnChanging = [](TCvTreeCore*, TCvTreeItem*, bool&) {};
    EXPECT_FALSE(T.DoSetFocused(nullptr, false));
    T.Items().RemoveAll();
    EXPECT_EQ(T.GetFocusedItem(), nullptr);
}

TEST(CvTreeFocus, DelayedFocusFiresOnceForTheLastItem) {
    TTestTree T({L"a", L"b", L"c"});
    TFakeTimer Timer;
    T.SetChangeTimer(&Timer);
    std::vector<const TCvTreeItem*> Fired;
    T.OnItemFocused = [&](TCvTreeCore* S) { Fired.push_back(S->GetFocusedItem()); };
    T.DoSetFocusedEx(T.Find(L"a"), false, true);
    T.DoSetFocusedEx(T.Find(L"b"), false, true);
    EXPECT_TRUE(Timer.Running);
    EXPECT_EQ(Timer.Interval, 500);
    EXPECT_TRUE(Fired.empty());
    T.ChangeTimerTick();
    EXPECT_EQ(Fired, std::vector<const TCvTreeItem*>{T.Find(L"b")});
    EXPECT_FALSE(Timer.Running);
    // A tick for an item that lost the focus meanwhile stays silent.
    T.DoSetFocusedEx(T.Find(L"c"), false, true);
    T.DoSetFocused(T.Find(L"a"), false);
    Fired.clear();
    T.ChangeTimerTick();
    EXPECT_EQ(Fired, std::vector<const TCvTreeItem*>{});
    // With ChangeDelay 0 the event comes at once.
    T.ChangeDelay = 0;
    T.DoSetFocusedEx(T.Find(L"b"), false, true);
    EXPECT_EQ(Fired.size(), 1u);
}

TEST(CvTreeFocus, SingleSelectFocusSelects) {
    TTestTree T({L"a", L"b"});
    T.SetMultiSelect(false);
    std::vector<std::string> Changes;
    T.OnItemSelectedChange = [&](TCvTreeCore*, TCvTreeItem* I) {
        Changes.push_back(Narrow(I->Text()) + (I->IsSelected() ? "+" : "-"));
    };
    T.SetFocusedItem(T.Find(L"a"));
    T.SetFocusedItem(T.Find(L"b"));
    EXPECT_EQ(T.GetSelectedItem(), T.Find(L"b"));
    EXPECT_EQ(T.SelectedCount(), 1);
    EXPECT_EQ(T.GetNextSelected(nullptr), T.Find(L"b"));
    EXPECT_EQ(Changes, (std::vector<std::string>{"a+", "a-", "b+"}));
}

TEST(CvTreeFocus, AutoExpandAndCollapseFollowTheFocus) {
    TTestTree T({L"A", L"\tA1", L"B", L"\tB1"});
    T.AutoExpand = true;
    T.AutoCollapse = true;
    T.SetFocusedItem(T.Find(L"A"));
    EXPECT_TRUE(T.Find(L"A")->IsExpanded());
    T.SetFocusedItem(T.Find(L"B"));
    EXPECT_FALSE(T.Find(L"A")->IsExpanded());
    EXPECT_TRUE(T.Find(L"B")->IsExpanded());
}

struct TFilterCase {
    const char* Name;
    std::vector<std::wstring> Hide;
    const wchar_t* Focus;
    const char* Then;
};

TEST(CvTreeFilter, MoveOffHiddenItemsLandsOnAShownItem) {
    const std::vector<std::wstring> Lines = {L"A", L"B", L"\tB1", L"C", L"\tC1", L"D"};
    for (const TFilterCase& C :
         {TFilterCase{"before", {L"C"}, L"C", "B"}, TFilterCase{"after", {L"A", L"B"}, L"A", "C"},
          TFilterCase{"first only", {L"B", L"C"}, L"C", "A"},
          TFilterCase{"deeper to parent", {L"C1"}, L"C1", "C"},
          // B is shown but its child B1 is not (collapsed): the search passes over it.
          TFilterCase{"not a collapsed child", {L"C", L"A"}, L"C", "B"},
          TFilterCase{"all hidden", {L"A", L"B", L"C", L"D"}, L"B", ""}}) {
        TTestTree T(Lines);
        T.Find(L"C")->SetExpanded(true);
        T.DoSetFocused(T.Find(C.Focus), true);
        T.Items().BeginUpdate();
        for (const auto& H : C.Hide)
            T.Find(H)->SetHiddenState(true);
        T.SetFilteredVisibility(true);
        T.Items().EndUpdate();
        const TCvTreeItem* F = T.GetFocusedItem();
        EXPECT_EQ(F ? Narrow(F->Text()) : "", C.Then) << C.Name;
    }
}

TEST(CvTreeSelection, RangesAndDeselectingKeepHiddenItems) {
    TTestTree T({L"a", L"b", L"\tb1", L"c", L"d"});
    T.SelectRange(T.Find(L"d"), T.Find(L"b"));
    EXPECT_EQ(T.SelectedCount(), 4); // b, b1, c, d: both ends included
    std::vector<TCvTreeItem*> A;
    T.AllSelected(A);
    T.DeselectAll();
    T.SelectRange2(T.Find(L"b"), T.Find(L"d"), false);
    std::vector<TCvTreeItem*> B;
    T.AllSelected(B);
    EXPECT_EQ(A.size(), B.size());

    T.Find(L"c")->SetHiddenState(true);
    T.SetFilteredVisibility(true);
    T.DeselectAll();
    EXPECT_TRUE(T.Find(L"c")->IsSelected());
    EXPECT_EQ(T.SelectedCount(), 1);
    T.DeselectAllEx(true);
    EXPECT_EQ(T.SelectedCount(), 0);
    T.SelectRange2(T.Find(L"a"), T.Find(L"d"), false);
    EXPECT_FALSE(T.Find(L"c")->IsSelected());
    EXPECT_EQ(T.SelectedCount(), 4);
    T.SelectRangeEx(T.Find(L"a"), T.Find(L"d"), false, true);
    T.DeselectAllEx(true);
    T.SelectAll(); // filtered: hidden c and collapsed b's child stay out
    EXPECT_EQ(T.SelectedCount(), 3);
    T.InvertSelectionEx(true);
    EXPECT_EQ(T.SelectedCount(), 2); // b1 and c
}

TEST(CvTreeSelection, KeepWithinLevelAndSwitchingMultiSelect) {
    TTestTree T({L"a", L"\ta1", L"b"});
    T.KeepSelectionWithinLevel = true;
    T.Find(L"a")->SetSelected(true);
    T.Find(L"a1")->SetSelected(true);
    T.Find(L"b")->SetSelected(true);
    EXPECT_FALSE(T.Find(L"a1")->IsSelected());
    EXPECT_EQ(T.GetNextSelected(T.Find(L"a")), T.Find(L"b"));
    EXPECT_EQ(T.GetNextSelected(T.Find(L"b")), nullptr);
    T.DoSetFocused(T.Find(L"b"), true);
    T.SetMultiSelect(false);
    EXPECT_FALSE(T.Find(L"a")->IsSelected());
    EXPECT_EQ(T.GetSelectedItem(), T.Find(L"b"));
    EXPECT_EQ(T.SelectedCount(), 1);
    T.SelectAll(); // single-select: nothing
    EXPECT_FALSE(T.Find(L"a")->IsSelected());
}

TEST(CvTreeScroll, EnsureVisibleExpandsAndScrolls) {
    TTestTree T({L"a", L"b", L"\tb1", L"\t\tb2", L"c"});
    T.EnsureVisible(T.Find(L"b2"));
    EXPECT_TRUE(T.Find(L"b")->IsExpanded());
    EXPECT_TRUE(T.Find(L"b1")->IsExpanded());
    EXPECT_EQ(T.TopIndex(), 3);
    T.FakeView.Rows = {T.Find(L"a")};
    T.EnsureVisible(T.Find(L"a")); // on screen: nothing
    EXPECT_EQ(T.TopIndex(), 3);
    T.Items().BeginUpdate();
    T.EnsureVisible(T.Find(L"c")); // inside a batch: nothing
    T.Items().EndUpdate();
    EXPECT_EQ(T.TopIndex(), 3);
}

// ------------------------------------------------------------ handlers that rebuild the rows

// Each case: a handler that refills the list once it is armed, and the operation under way when
// it runs.
// The operation must not touch the rows it held (the heap poisons them) and the refill stays.
TEST(CvTreeRebuildingHandler, TheOperationUnderWayLetsGoOfTheRowsTheHandlerFreed) {
    struct TCase {
        const char* Name;
        bool MultiSelect;
        std::function<void(TTestTree&, TRefill&)> Arm;
        std::function<void(TTestTree&, TRefill&)> Act;
    };
    const TCase Cases[] = {
        {"delete the focused row, focus handler refills", false,
         [](TTestTree& T, TRefill& R) { T.OnItemFocused = [&](TCvTreeCore*) { R(T); }; },
         [](TTestTree& T, TRefill& R) {
             T.SetFocusedItem(T.Find(L"B"));
             R.Armed = true;
             T.Find(L"B")->Delete();
         }},
        {"delete a row, deletion handler refills", false,
         [](TTestTree& T, TRefill& R) {
             T.OnItemDeletion = [&](TCvTreeCore*, TCvTreeItem*) { R(T); };
         },
         [](TTestTree& T, TRefill& R) {
             R.Armed = true;
             T.Find(L"B")->Delete();
         }},
        {"delete a parent, a child's deletion handler refills", false,
         [](TTestTree& T, TRefill& R) {
             T.OnItemDeletion = [&](TCvTreeCore*, TCvTreeItem*) { R(T); };
         },
         [](TTestTree& T, TRefill& R) {
             R.Armed = true;
             T.Find(L"A")->Delete();
         }},
        {"delete a selected row of a multi-selection, selection handler refills", true,
         [](TTestTree& T, TRefill& R) {
             T.OnItemSelectedChange = [&](TCvTreeCore*, TCvTreeItem* I) {
                 if (!I->IsSelected())
                     R(T);
             };
         },
         [](TTestTree& T, TRefill& R) {
             T.Find(L"B")->SetSelected(true);
             R.Armed = true;
             T.Find(L"B")->Delete();
         }},
        {"focus moves, selection handler refills", false,
         [](TTestTree& T, TRefill& R) {
             T.OnItemSelectedChange = [&](TCvTreeCore*, TCvTreeItem* I) {
                 if (I->Text() == L"C")
                     R(T);
             };
         },
         [](TTestTree& T, TRefill& R) {
             R.Armed = true;
             T.SetFocusedItem(T.Find(L"C"));
         }},
        {"focus moves, deselection of the old row refills", false,
         [](TTestTree& T, TRefill& R) {
             T.OnItemSelectedChange = [&](TCvTreeCore*, TCvTreeItem* I) {
                 if (I->Text() == L"B")
                     R(T);
             };
         },
         [](TTestTree& T, TRefill& R) {
             T.SetFocusedItem(T.Find(L"B"));
             R.Armed = true;
             T.SetFocusedItem(T.Find(L"C"));
         }},
        {"clear, focus handler refills", false,
         [](TTestTree& T, TRefill& R) { T.OnItemFocused = [&](TCvTreeCore*) { R(T); }; },
         [](TTestTree& T, TRefill& R) {
             T.SetFocusedItem(T.Find(L"A1"));
             R.Armed = true;
             T.Find(L"A")->ClearChildren();
         }},
    };
    for (const TCase& C : Cases) {
        TTestTree T({L"A", L"\tA1", L"\tA2", L"B", L"C"});
        T.SetMultiSelect(C.MultiSelect);
        TRefill Refill;
        Refill.Armed = false;
        C.Arm(T, Refill);
        C.Act(T, Refill);
        EXPECT_EQ(Refill.Done, 1) << C.Name;
        EXPECT_EQ(FlatShape(T), Refill.Shape()) << C.Name;
        EXPECT_TRUE(IndicesAgree(T)) << C.Name;
        TCvTreeItem* const F = T.GetFocusedItem();
        if (F) {
            EXPECT_EQ(F->Text().substr(0, 3), L"New") << C.Name;
        }
        T.OnItemFocused = nullptr;
        T.OnItemDeletion = nullptr;
        T.OnItemSelectedChange = nullptr;
    }
}

TEST(CvTreeRebuildingHandler, ADeletedRowReportsItsDeletionOnceEvenWhenItsHandlerRebuilds) {
    TTestTree T({L"A", L"B"});
    TRefill Refill;
    std::vector<std::wstring> Deleted;
    T.OnItemDeletion = [&](TCvTreeCore*, TCvTreeItem* I) {
        Deleted.emplace_back(I->Text());
        Refill(T);
    };
    T.Find(L"B")->Delete();
    EXPECT_EQ(Deleted, (std::vector<std::wstring>{L"B", L"A"}));
    EXPECT_EQ(FlatShape(T), Refill.Shape());
    T.OnItemDeletion = nullptr; // the tree outlives the handler's lists
}

} // namespace
