// The view's geometry without a window: the row list, the top index and its clamps, row
// rectangles, paging with mixed heights, the scroll codes, the wheel and the hit test.
#include "tests/treelist/TreeControlSupport.h"

#include <gtest/gtest.h>

namespace {

class CvTreeViewGeometry : public TreeTest {};

TEST_F(CvTreeViewGeometry, TopIndexClampsToTheLastFullPage) {
    struct TCase {
        int Height;
        int MaxTop;
        size_t RowsAtMaxTop;
    };
    // 100 rows of 17: the last page may end with one row's band of empty space.
    const TCase Cases[] = {{170, 91, 9}, {175, 90, 10}};
    for (const TCase& C : Cases) {
        FillFlat(100, 17, C.Height);
        TCvTreeView& V = Tree->TreeView();
        V.SetTopIndex(1000);
        EXPECT_EQ(Tree->TopIndex(), C.MaxTop) << C.Height;
        EXPECT_EQ(V.Rows().size(), C.RowsAtMaxTop) << C.Height;
        EXPECT_EQ(V.BottomIndex(), 99) << C.Height;
        V.SetTopIndex(-5);
        EXPECT_EQ(Tree->TopIndex(), 0) << C.Height;
    }
}

TEST_F(CvTreeViewGeometry, APageHoldsTheRowStartingAtTheBottomEdge) {
    FillFlat(100, 17, 170);
    TCvTreeView& V = Tree->TreeView();
    EXPECT_EQ(V.GetVisibleRowCount(), 10);
    EXPECT_EQ(V.GetPageFit(), std::make_pair(10, 0));
    V.SetTopIndex(40);
    ASSERT_EQ(V.Rows().size(), 11u);
    EXPECT_EQ(V.Rows().front(), Vis(40));
    EXPECT_EQ(V.BottomIndex(), 50);
    EXPECT_EQ(V.GetItemRect(10), TRect(0, 170, 200, 187));
    EXPECT_EQ(V.GetItemRect(11), TRect());
    EXPECT_EQ(V.GetItemRect(-1), TRect());
    EXPECT_EQ(V.RowsHeight(), 187);
    // The top reaches the tree's scroll bar.
    EXPECT_EQ(Tree->VertScrollBar().Position(), 40);
}

TEST_F(CvTreeViewGeometry, EmptyTreeHasNoRows) {
    FillFlat(0);
    TCvTreeView& V = Tree->TreeView();
    V.SetTopIndex(3);
    EXPECT_EQ(Tree->TopIndex(), 0);
    EXPECT_EQ(V.BottomIndex(), 0);
    EXPECT_TRUE(V.Rows().empty());
    for (const int Y : {-1, 0, 5, 200})
        EXPECT_EQ(V.GetItemAtY(Y), nullptr) << Y;
}

TEST_F(CvTreeViewGeometry, ItemAtYBands) {
    FillFlat(100, 17, 175);
    TCvTreeView& V = Tree->TreeView();
    struct TCase {
        int Y;
        int Row; // -1: none
    };
    // Bands are [top, top + 17); the eleventh row is cut off at 175 and still answers there.
    const TCase Cases[] = {{-1, -1},  {0, 0},    {16, 0},   {17, 1},  {169, 9},
                           {170, 10}, {174, 10}, {186, 10}, {187, -1}};
    for (const TCase& C : Cases)
        EXPECT_EQ(V.GetItemAtY(C.Y), C.Row < 0 ? nullptr : Vis(C.Row)) << C.Y;
}

TEST_F(CvTreeViewGeometry, MixedHeightsPageByWhatFits) {
    FillFlat(20, 17, 100);
    // Rows 10 and 11 are 40 high; the others 17.
    for (const int I : {10, 11}) {
        Vis(I)->SetOwnHeight(40);
        Vis(I)->SetFlag(ifOwnerHeight, false);
    }
    ASSERT_GT(Tree->TotalVarHeightCount(), 0);
    TCvTreeView& V = Tree->TreeView();
    V.FillRows(0);
    // Walking back from 12: 17 + 40 + 40 = 97 fits, one more row does not.
    EXPECT_EQ(V.FirstOfLastPage(12), 10);
    EXPECT_EQ(V.FirstOfLastPage(19), 15); // six rows of 17 = 102 > 100
    EXPECT_EQ(V.FirstOfLastPage(0), 0);
    // Forward from 8: 17 + 17 + 40 = 74, plus 40 overflows.
    EXPECT_EQ(V.LastOfPage(8), 10);
    // The largest top is the first of the last page.
    V.SetTopIndex(100);
    EXPECT_EQ(Tree->TopIndex(), 15);
    int Pos = 0;
    bool DoChange = true;
    V.SetTopIndex(8);
    V.ScrollVert(nullptr, escPageDown, Pos, DoChange);
    EXPECT_FALSE(DoChange);
    EXPECT_EQ(Tree->TopIndex(), 10);
    V.ScrollVert(nullptr, escPageUp, Pos, DoChange);
    EXPECT_EQ(Tree->TopIndex(), 7); // 40 + 17 + 17 + 17 fit above and with row 10
}

TEST_F(CvTreeViewGeometry, ScrollCodesMoveTheTopIndex) {
    FillFlat(100, 17, 170);
    TCvTreeView& V = Tree->TreeView();
    struct TCase {
        TCvScrollCode Code;
        TCvSecButtonsKind Kind;
        int Position;
        bool Tracking;
        int Top; // expected, from 40
    };
    const TCase Cases[] = {
        {escLineUp, sbkOpposite, 0, false, 39},
        {escLineDown, sbkOpposite, 0, false, 41},
        {escPageUp, sbkOpposite, 0, false, 31},
        {escPageDown, sbkOpposite, 0, false, 49},
        {escTop, sbkOpposite, 0, false, 0},
        {escBottom, sbkOpposite, 0, false, 91},
        {escPosition, sbkOpposite, 70, false, 70},
        {escTrack, sbkOpposite, 70, false, 40},
        {escTrack, sbkOpposite, 70, true, 70},
        {escEndScroll, sbkOpposite, 70, false, 40},
        // The second buttons under each kind of their bar.
        {escSndLineDown, sbkOpposite, 0, false, 39},
        {escSndLineUp, sbkOpposite, 0, false, 41},
        {escSndLineDown, sbkPage, 0, false, 49},
        {escSndLineUp, sbkPage, 0, false, 31},
        {escSndLineDown, sbkCustom, 0, false, 40},
        {escSndLineUp, sbkCustom, 0, false, 40},
    };
    std::vector<int> Codes;
    Tree->OnScroll = [&](TObject*, TScrollBarKind Kind, int Code) {
        EXPECT_EQ(Kind, sbVertical);
        Codes.push_back(Code);
    };
    for (const TCase& C : Cases) {
        V.SetTopIndex(40);
        Tree->VertScrollBar().SecondBtnKind = C.Kind;
        Tree->ScrollTracking = C.Tracking;
        int Pos = C.Position;
        bool DoChange = true;
        V.ScrollVert(nullptr, C.Code, Pos, DoChange);
        EXPECT_EQ(Tree->TopIndex(), C.Top) << C.Code << " " << C.Kind;
        EXPECT_FALSE(DoChange);
        // OnScroll reports the code the bar sent, before the mapping.
        EXPECT_EQ(Codes.back(), C.Code);
    }
}

TEST_F(CvTreeViewGeometry, WheelNotchesScrollLinesOrPages) {
    FillFlat(100, 17, 170);
    TCvTreeView& V = Tree->TreeView();
    struct TCase {
        int Delta;
        UINT Lines;
        int Top; // from 40
    };
    const TCase Cases[] = {
        {120, 3, 37},
        {-120, 3, 43},
        {240, 3, 34},
        {60, 3, 39},
        {30, 3, 40},
        {120, 0, 39},
        // A setting above 120 lines, or page scrolling, moves one page (9 rows) per notch.
        {120, 200, 31},
        {-120, WHEEL_PAGESCROLL, 49},
        {120, 120, 0},
    };
    for (const TCase& C : Cases) {
        V.SetTopIndex(40);
        V.WheelScroll(C.Delta, C.Lines);
        EXPECT_EQ(Tree->TopIndex(), C.Top) << C.Delta << " " << C.Lines;
    }
}

TEST_F(CvTreeViewGeometry, HorizontalPositionStaysWithinTheContent) {
    FillFlat(3);
    AddSections({150, 150});
    Tree->SetShowColumns(true);
    struct TCase {
        int X;
        int Left;
    };
    // Content 300 in a view of 200.
    const TCase Cases[] = {{50, 50}, {150, 100}, {-10, 0}};
    for (const TCase& C : Cases) {
        Tree->SetLeftPosition(C.X);
        EXPECT_EQ(Tree->LeftPosition(), C.Left) << C.X;
        EXPECT_EQ(Tree->HeaderControl().ScrollOffset(), C.Left) << C.X;
    }
    Tree->HeaderControl().Sections().ItemByIndex(1)->SetWidth(20);
    Tree->SetLeftPosition(40);
    EXPECT_EQ(Tree->LeftPosition(), 0); // narrower than the view
}

TEST_F(CvTreeViewGeometry, ExpandingNearTheBottomScrollsTheChildrenIntoView) {
    Tree->SetAutoLineHeight(false);
    Tree->SetLineHeight(17);
    Tree->TreeView().SetBounds(0, 0, 200, 170);
    std::vector<std::wstring> Lines;
    for (int I = 0; I < 20; ++I)
        Lines.push_back(L"R" + std::to_wstring(I));
    Lines.insert(Lines.begin() + 9, {L"\tA", L"\tB", L"\tC"});
    Tree->Items().AssignLines(Lines);
    TCvTreeView& V = Tree->TreeView();
    V.FillRows(0);
    TCvTreeItem* R8 = Vis(8);
    ASSERT_EQ(R8->Text(), L"R8");
    R8->SetExpanded(true);
    // Row 8 ends at 153; its three children need 51 more: drop rows until they fit.
    V.MakeChildrenVisible(R8);
    EXPECT_EQ(Tree->TopIndex(), 3);
    // Never further than making the expanded item the top row.
    Tree->SetTopIndex(0);
    R8->SetExpanded(false);
    V.FillRows(0);
    TCvTreeItem* R9 = Vis(9);
    for (int I = 0; I < 15; ++I)
        Tree->Items().AddChild(R9, L"K");
    R9->SetExpanded(true);
    V.MakeChildrenVisible(R9);
    EXPECT_EQ(Tree->TopIndex(), 9);
}

// ------------------------------------------------------------------ hit test

class CvTreeViewHitTest : public TreeTest {
protected:
    // Two top-level rows, the first with a child; text marks set as a paint would.
    void SetUp() override {
        TreeTest::SetUp();
        Tree->SetAutoLineHeight(false);
        Tree->SetLineHeight(17);
        Tree->TreeView().SetBounds(0, 0, 300, 170);
        Tree->Items().AssignLines({L"A", L"\tA1", L"B"});
        Tree->TreeView().FillRows(0);
        A = Vis(0);
        B = Vis(1);
    }
    TCvItemPart PartAt(int X, int Y, int& Section) {
        TCvItemPart Part = ipOutside;
        Tree->TreeView().GetItemAt(X, Y, Section, Part);
        return Part;
    }
    static void MarkText(TCvTreeItem* Item, int Left, int Right) {
        Item->TextLeft = Left;
        Item->TextRight = Right;
    }
    TCvTreeItem* A = nullptr;
    TCvTreeItem* B = nullptr;
};

TEST_F(CvTreeViewHitTest, ZonesLeftOfTheText) {
    // Indent 17, gap 5: from D = TextLeft - 5 + 1 = 92 leftwards, the picture [76, 92), a gap,
    // the second picture [55, 71), a gap, the check box [36, 51) (one pixel over), the button
    // [19, 36) (A is collapsed with a child).
    TImageList Images(nullptr);
    Images.SetSize(16, 16);
    Tree->SetImages(&Images);
    Tree->SetShowCheckboxes(true);
    A->SetCheckBoxShown(true);
    MarkText(A, 96, 140);
    A->SetFlag(ifImageDrawn, true);
    A->SetFlag(ifImage2Drawn, true);
    struct TCase {
        int X;
        TCvItemPart Part;
    };
    const TCase Cases[] = {
        {140, ipMainText}, {92, ipMainText}, {141, ipOutside}, {91, ipPicture},  {76, ipPicture},
        {73, ipOutside},   {70, ipPicture2}, {55, ipPicture2}, {50, ipCheckBox}, {36, ipCheckBox},
        {35, ipButton},    {19, ipButton},   {18, ipOutside},  {2, ipOutside},
    };
    for (const TCase& C : Cases) {
        int Section = 99;
        EXPECT_EQ(PartAt(C.X, 5, Section), C.Part) << C.X;
        EXPECT_EQ(Section, C.Part == ipOutside ? 99 : 0) << C.X;
    }
    int Section = 99;
    EXPECT_EQ(PartAt(10, 200, Section), ipOutside); // no row there
}

TEST_F(CvTreeViewHitTest, ButtonZoneFollowsWhatPaintingDraws) {
    MarkText(A, 40, 60);
    MarkText(B, 40, 60);
    B->SetFlag(ifForceButtons, true);
    struct TCase {
        bool ShowRootButtons;
        bool Suppress;
        TCvItemPart A, B;
    };
    // Top-level items get no button without ShowRootButtons, and no clickable zone either; a
    // suppressed button's column counts as inside the cell.
    const TCase Cases[] = {
        {true, false, ipButton, ipButton},
        {false, false, ipOutside, ipOutside},
        {true, true, ipInside, ipButton},
    };
    for (const TCase& C : Cases) {
        Tree->SetShowRootButtons(C.ShowRootButtons);
        A->SetFlag(ifSuppressButtons, C.Suppress);
        int Section = -5;
        EXPECT_EQ(PartAt(30, 5, Section), C.A) << C.ShowRootButtons << C.Suppress;
        EXPECT_EQ(PartAt(30, 22, Section), C.B) << C.ShowRootButtons << C.Suppress;
    }
}

TEST_F(CvTreeViewHitTest, ColumnsAndTheRightAlignedMirror) {
    AddSections({100, 80, 60});
    Tree->SetShowColumns(true);
    MarkText(A, 40, 70);
    int Section = -5;
    EXPECT_EQ(PartAt(120, 5, Section), ipColumn);
    EXPECT_EQ(Section, 1);
    EXPECT_EQ(PartAt(90, 5, Section), ipInside); // right of the text, in the main column
    EXPECT_EQ(Section, 0);
    Section = -5;
    EXPECT_EQ(PartAt(250, 5, Section), ipOutside); // beyond every section
    EXPECT_EQ(Section, -5);
    Tree->HeaderControl().Sections().ItemByIndex(2)->SetWidth(260);
    Tree->SetLeftPosition(30);
    EXPECT_EQ(PartAt(95, 5, Section), ipColumn); // content x 125
    EXPECT_EQ(Section, 1);
    Tree->SetLeftPosition(0);
    Tree->SetMainTreeColumn(1);
    EXPECT_EQ(PartAt(50, 5, Section), ipColumn);
    EXPECT_EQ(Section, 0);
    Tree->SetMainTreeColumn(0);
    Tree->SetShowColumns(false);

    // Mirrored: the text zone reaches right by the gap less one, the button lies right of it.
    Tree->SetRightAlignedTree(true);
    MarkText(A, 100, 140);
    struct TCase {
        int X;
        TCvItemPart Part;
    };
    const TCase Cases[] = {{99, ipOutside}, {100, ipMainText}, {144, ipMainText},
                           {145, ipButton}, {161, ipButton},   {162, ipOutside}};
    for (const TCase& C : Cases)
        EXPECT_EQ(PartAt(C.X, 5, Section), C.Part) << C.X;
}

} // namespace
