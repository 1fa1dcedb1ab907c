#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/HintWindow.h"
#include "tests/support/GdiCount.h"
#include "tests/treelist/TreeControlSupport.h"
#include "tests/treelist/TreeTestSupport.h"
#include "treelist/CvHintWnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// ------------------------------------------------------------ the text and the fit (no window)

class CvTreeLineHintTest : public TreeTest {
protected:
    // One row "Main" with column texts, under four 60 px sections; the view 150 wide.
    TCvTreeItem& ColumnsRow(std::vector<TCvString> Columns) {
        AddSections({60, 60, 60, 60});
        Tree->SetShowColumns(true);
        FillFlat(1);
        TCvTreeItem& Item = *Vis(0);
        Item.SetText(L"Main");
        Item.ColumnTextList()->Assign(Columns);
        Tree->TreeView().SetBounds(0, 0, 150, 100);
        return Item;
    }
};

TEST_F(CvTreeLineHintTest, TextFollowsHintTypeLineHintTypeAndTheCellKind) {
    enum TCell { Filled, Empty, OwnerDrawn };
    struct TCase {
        TCvHintType HintType;
        TLineHintType LineType;
        const wchar_t* ItemHint;
        int Section;
        TCell Cell;
        const wchar_t* Expected;
    };
    const TCase Cases[] = {
        {shtHintOnly, lhtSmart, L"Short|Long", 1, Filled, L"Short"},
        {shtHintOnly, lhtSmart, L"", 1, Filled, L""},             // nothing to show
        {shtHintOrText, lhtSmart, L"Whole", 0, Filled, L"Whole"}, // a hint without "|"
        {shtHintOrText, lhtSmart, L"", 1, Filled, L"cell one"},
        {shtMainText, lhtMainTextOnly, L"Hint", 1, Filled, L"Main"},
        {shtMainText, lhtSmart, L"", 0, Filled, L"Main"}, // the tree column
        {shtMainText, lhtSmart, L"", 1, Filled, L"cell one"},
        {shtMainText, lhtSmart, L"", 1, Empty, L"Main"},
        {shtMainText, lhtCellTextOnly, L"", 1, Empty, L""},
        {shtMainText, lhtSmart, L"", 1, OwnerDrawn, L"Main"},
        {shtMainText, lhtCellTextOnly, L"", 1, OwnerDrawn, L""},
        {shtMainText, lhtCellTextOnly, L"", 3, Filled, L""}, // no such column text
    };
    TCvTreeItem& Item = ColumnsRow({L"cell one", L"cell two"});
    for (const TCase& C : Cases) {
        Tree->HintType = C.HintType;
        Tree->LineHintType = C.LineType;
        Item.SetHint(C.ItemHint);
        Item.ColumnTextList()->SetStrings(0, C.Cell == Empty ? L"" : L"cell one");
        Item.SetFlag(ifUseStyles, C.Cell == OwnerDrawn);
        if (C.Cell == OwnerDrawn && Item.StylesCount() == 0)
            Item.AddStyle()->Style = CvhsOwnerDraw;
        EXPECT_EQ(Narrow(Tree->TreeView().GetLineHintText(Item, C.Section)), Narrow(C.Expected))
            << "case " << (&C - Cases);
    }
}

TEST_F(CvTreeLineHintTest, APasswordColumnsHintShowsTheMaskNotTheText) {
    TCvTreeItem& Item = ColumnsRow({L"secret"});
    Tree->HeaderControl().Sections().ItemAt(1)->SetPassword(true);
    EXPECT_EQ(Narrow(Tree->TreeView().GetLineHintText(Item, 1)), "******");
}

TEST_F(CvTreeLineHintTest, ExactlyTheCutCellsOfOtherColumnsNeedAHint) {
    // 6 px a character; the painter gives a left-aligned text of a 60 px cell 57 px.
    struct TCase {
        const wchar_t* Text;
        int Section;
        int LeftPosition;
        bool Cut;
    };
    const TCase Cases[] = {
        {L"abcd", 1, 0, false},      // fits
        {L"abcdefghi", 1, 0, false}, // 54 of 57 px
        {L"abcdefghij", 1, 0, true}, // 60 px: cut by 3 px
        {L"ab", 1, 70, true},        // the text's left end scrolled away
        {L"ab", 3, 0, true},         // the cell lies beyond the view's right edge
        {L"ab", 3, 90, false},       // scrolled into view
        {L"", 1, 0, false},          // nothing to cut
    };
    TCvTreeItem& Item = ColumnsRow({L"", L"", L""});
    for (const TCase& C : Cases) {
        Item.ColumnTextList()->SetStrings(C.Section - 1, C.Text);
        Tree->SetLeftPosition(C.LeftPosition);
        ASSERT_EQ(Tree->LeftPosition(), C.LeftPosition);
        EXPECT_EQ(Tree->TreeView().LineTextCut(Item, C.Section), C.Cut)
            << Narrow(C.Text) << " in " << C.Section << " at " << C.LeftPosition;
        Item.ColumnTextList()->SetStrings(C.Section - 1, L"");
    }
}

TEST_F(CvTreeLineHintTest, TheTreeColumnIsCutByItsSectionOrTheViewsEdges) {
    struct TCase {
        int TextLeft, TextRight; // as painting records them, content coordinates
        const wchar_t* Text;
        int LeftPosition;
        bool Cut;
    };
    const TCase Cases[] = {
        {20, 50, L"Main", 0, false},
        {20, 60, L"abcdefgh", 0, true}, // 48 px from 20 overrun the 60 px section
        {20, 50, L"Main", 30, true},    // the left end scrolled away
    };
    TCvTreeItem& Item = ColumnsRow({});
    for (const TCase& C : Cases) {
        Item.SetText(C.Text);
        Item.TextLeft = C.TextLeft;
        Item.TextRight = C.TextRight;
        Tree->SetLeftPosition(C.LeftPosition);
        EXPECT_EQ(Tree->TreeView().LineTextCut(Item, 0), C.Cut) << Narrow(C.Text);
    }
}

// ------------------------------------------------------------ showing, timing, hiding

class CvTreeHintWindowTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        App->HintShortPause = 20;
        Form = NewPlainForm(*App, TRect{0, 0, 300, 200});
        Tree = new TCvTree(Form);
        Tree->SetMeasurer(&Measurer);
        Tree->SetParent(Form);
        Tree->SetBounds(0, 0, 150, 120);
        Tree->SetAutoLineHeight(false);
        Tree->SetLineHeight(17);
        Tree->SetBorderStyle(bsNone);
        // Row 0 is cut (40 characters, 240 px), row 1 fits.
        Tree->Items().AssignLines(std::vector<TCvString>{std::wstring(40, L'w'), L"short"});
        Form->Show();
        View().Update();
        Wnd = View().Handle();
    }
    TCvTreeView& View() const { return Tree->TreeView(); }
    // The pointer itself goes there too: one resting elsewhere makes the system report a leave.
    void Move(int X, int Y) {
        const TPoint At = View().ClientToScreen(TPoint{X, Y});
        SetCursorPos(At.X, At.Y);
        SendMessageW(Wnd, WM_MOUSEMOVE, 0, MAKELPARAM(X, Y));
    }
    bool Shown() const { return View().HintItem() != nullptr; }

    TFixedMeasurer Measurer;
    TForm* Form = nullptr;
    TCvTree* Tree = nullptr;
    HWND Wnd = nullptr;
};

TEST_F(CvTreeHintWindowTest, ACutRowShowsItsHintAfterThePauseAndAFittingRowShowsNone) {
    Move(30, 25); // the short row
    ASSERT_NE(View().HintTimer(), nullptr);
    View().LineHintTimerTick();
    EXPECT_FALSE(Shown());

    Move(30, 8);
    const ULONGLONG Armed = GetTickCount64();
    ASSERT_TRUE(PumpUntil([&] { return Shown(); }));
    EXPECT_GE(GetTickCount64() - Armed, 20u - 1);
    EXPECT_EQ(View().HintItem(), Tree->Items().GetVisItem(0));
    const HWND Hint = View().LineHintWindow()->Handle();
    EXPECT_TRUE(IsWindowVisible(Hint));
    // Laid over the row's text, as wide as the whole text needs.
    RECT R{};
    GetWindowRect(Hint, &R);
    const TPoint Row = View().ClientToScreen(TPoint{0, 0});
    EXPECT_EQ(R.top, Row.Y);
    EXPECT_GE(R.right - R.left, 240);
    EXPECT_EQ(R.left, Row.X + std::max(0, Tree->Items().GetVisItem(0)->TextLeft));
}

TEST_F(CvTreeHintWindowTest, HideHintOnTimerHidesItAfterLineHintTimeoutAlthoughTheMouseRests) {
    constexpr int T = 80;
    Tree->HideHintOnTimer = true;
    Tree->LineHintTimeout = T;
    Move(30, 8);
    ASSERT_TRUE(PumpUntil([&] { return Shown(); }));
    const ULONGLONG ShownAt = GetTickCount64();
    ASSERT_TRUE(PumpUntil([&] { return !Shown(); }));
    const ULONGLONG Lived = GetTickCount64() - ShownAt;
    EXPECT_GE(Lived, static_cast<ULONGLONG>(T) - 1);
    EXPECT_LE(Lived, static_cast<ULONGLONG>(2 * T));
    EXPECT_EQ(View().HintTimer(), nullptr); // disarmed in its own tick
    EXPECT_FALSE(IsWindowVisible(View().LineHintWindow()->Handle()));
}

TEST_F(CvTreeHintWindowTest, MovingToEmptySpaceHidesTheHintOnlyWithHideHintOnMove) {
    for (const bool HideOnMove : {false, true}) {
        Tree->HideHintOnMove = HideOnMove;
        View().HideLineHint();
        Move(HideOnMove ? 35 : 30, 8); // a point of its own arms again
        View().LineHintTimerTick();
        ASSERT_TRUE(Shown());
        Move(30, 100); // below the rows
        EXPECT_EQ(Shown(), !HideOnMove) << HideOnMove;
        Move(31, 8); // back over the hinted row: nothing changes
    }
}

TEST_F(CvTreeHintWindowTest, KeysPressesAndScrollingHideTheHint) {
    const std::vector<std::pair<UINT, WPARAM>> Messages = {
        {WM_KEYDOWN, VK_DOWN}, {WM_LBUTTONDOWN, MK_LBUTTON}, {WM_KILLFOCUS, 0}};
    for (const auto& [Msg, W] : Messages) {
        Move(30, 8);
        View().LineHintTimerTick();
        ASSERT_TRUE(Shown()) << Msg;
        SendMessageW(Wnd, Msg, W, MAKELPARAM(30, 8));
        EXPECT_FALSE(Shown()) << Msg;
        SendMessageW(Wnd, WM_LBUTTONUP, 0, MAKELPARAM(30, 8));
        View().HideLineHint();
        Move(0, 0);
    }
}

TEST_F(CvTreeHintWindowTest, OnShowLineHintChangesTheTextAndRemeasuresOrRefuses) {
    bool Allow = true;
    Tree->OnShowLineHint = [&](TObject*, TCvTreeItem*, TCvHeaderSection*, TCvString& Text,
                               TCvHintWindow*, TPoint MousePos, bool& DoShow) {
        EXPECT_EQ(MousePos.Y, 8); // no header above the rows
        Text = L"other";
        DoShow = Allow;
    };
    Move(30, 8);
    View().LineHintTimerTick();
    ASSERT_TRUE(Shown());
    RECT R{};
    GetWindowRect(View().LineHintWindow()->Handle(), &R);
    EXPECT_LT(R.right - R.left, 240); // measured again for the shorter text
    View().HideLineHint();
    Allow = false;
    Move(31, 8);
    View().LineHintTimerTick();
    EXPECT_FALSE(Shown());
}

// ------------------------------------------------------------ item hints

TEST_F(CvTreeHintWindowTest, CMHintShowPacksTheItemHintOrGivesNone) {
    const auto Ask = [&](int Y) {
        THintInfo Info;
        Info.HintControl = &View();
        Info.CursorPos = TPoint{30, Y};
        // What the class library starts from: the short part of the control's hint.
        Info.HintStr = GetShortHint(Tree->Hint);
        View().Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&Info));
        return Info.HintStr;
    };
    Tree->Items().GetVisItem(0)->SetHint(L"Hi");
    const std::string Packed = ToAnsi(Ask(8));
    const std::string Expected("Hi\0H\0i\0\0\0\xFE\xFF", 11); // 2 + 2 x 2 + 5 bytes
    EXPECT_EQ(Packed, Expected);
    EXPECT_TRUE(Ask(25).empty());  // no item hint and no tree hint
    EXPECT_TRUE(Ask(100).empty()); // no item
    Tree->Hint = L"Tree short|Tree long";
    EXPECT_EQ(UnpackWideHint(ToAnsi(Ask(100))), L"Tree short");
}

TEST_F(CvTreeHintWindowTest, MovingOverRowsGivesTheViewTheItemHintOrTheTreeHint) {
    View().SetShowHint(false);
    Tree->Hint = L"Tree";
    Tree->Items().GetVisItem(0)->SetHint(L"Item zero");
    Move(30, 25); // a row without a hint
    EXPECT_EQ(View().Hint, L"Tree");
    Move(30, 8);
    EXPECT_EQ(View().Hint, L"Item zero");
    Move(30, 100); // below the rows
    EXPECT_EQ(View().Hint, L"Tree");
}

TEST_F(CvTreeHintWindowTest, CreatingAndDestroyingHintedTreesLeavesNoTimer) {
    for (int Round = 0; Round < 5; ++Round) {
        auto* Other = new TCvTree(Form);
        Other->SetParent(Form);
        Other->SetBounds(150, 0, 100, 100);
        Other->Items().AssignLines(std::vector<TCvString>{std::wstring(60, L'x')});
        Form->Update();
        SendMessageW(Other->TreeView().Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 8));
        ASSERT_NE(Other->TreeView().HintTimer(), nullptr);
        delete Other;
    }
    // A timer of a tree that is gone would tick into freed memory.
    Sleep(60);
    App->ProcessMessages();
    SUCCEED();
}

TEST_F(CvTreeHintWindowTest, HintsAndDragImagesOfTreesMadeAndFreedLeaveNoGdiObject) {
    const auto Round = [&] {
        auto* Other = new TCvTree(Form);
        Other->SetMeasurer(&Measurer);
        Other->SetParent(Form);
        Other->SetBounds(150, 0, 100, 100);
        Other->Items().AssignLines(std::vector<TCvString>{std::wstring(60, L'x'), L"y"});
        Other->TreeView().Update();
        const HWND Wnd = Other->TreeView().Handle();
        SendMessageW(Wnd, WM_MOUSEMOVE, 0, MAKELPARAM(40, 8)); // on the cut text
        Other->TreeView().LineHintTimerTick();
        EXPECT_NE(Other->TreeView().HintItem(), nullptr);
        Other->SetFocusedItem(Other->Items().GetVisItem(1));
        Other->DragImageMode = dimAll;
        Other->TreeView().BuildDragImage();
        EXPECT_NE(Other->TreeView().DragImage(), nullptr);
        delete Other;
        App->ProcessMessages();
    };
    EXPECT_EQ(GdiGrowth(Round, 10), 0);
}

} // namespace
