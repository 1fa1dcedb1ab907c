#include "classlib/gui/ExtCtrls.h"
#include "tests/treelist/TreeControlSupport.h"
#include "tests/treelist/TreeTestSupport.h"
#include "treelist/CvTreeDrag.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TEST(CvTreeDragTypes, EffectsMapToMoveOverLinkOverCopy) {
    struct TCase {
        DWORD Effect;
        TDragType Type;
    };
    const TCase Cases[] = {
        {DROPEFFECT_NONE, dtNone},
        {DROPEFFECT_COPY, dtCopy},
        {DROPEFFECT_LINK, dtLink},
        {DROPEFFECT_MOVE, dtMove},
        {DROPEFFECT_COPY | DROPEFFECT_MOVE, dtMove},
        {DROPEFFECT_COPY | DROPEFFECT_LINK, dtLink},
        {DROPEFFECT_COPY | DROPEFFECT_LINK | DROPEFFECT_MOVE, dtMove},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(DragTypeOfEffect(C.Effect), C.Type) << C.Effect;
    EXPECT_EQ(OleEffectsOf(TDragTypes{dtCopy, dtLink}), DWORD{DROPEFFECT_COPY | DROPEFFECT_LINK});
    EXPECT_EQ(OleEffectsOf(TDragTypes{dtMove}), DWORD{DROPEFFECT_MOVE});
}

TEST(CvTreeDragImage, OneSelectedRowOrTheSpanOfAllOfThem) {
    const std::vector<TCvDragRow> TwoSelected = {
        {0, 17, false}, {17, 34, true}, {34, 51, false}, {51, 68, true}};
    const std::vector<TCvDragRow> OneSelected = {{0, 17, false}, {17, 34, true}};
    const TCvDragSpan One = DragSpanOf(dimOne, TwoSelected);
    EXPECT_FALSE(One.Made); // dimOne wants exactly one
    const TCvDragSpan Single = DragSpanOf(dimOne, OneSelected);
    EXPECT_TRUE(Single.Made);
    EXPECT_EQ(Single.Top, 17);
    EXPECT_EQ(Single.Bottom, 34);
    const TCvDragSpan All = DragSpanOf(dimAll, TwoSelected);
    EXPECT_TRUE(All.Made);
    EXPECT_EQ(All.Top, 17);
    EXPECT_EQ(All.Bottom, 68);
    EXPECT_FALSE(DragSpanOf(dimNever, OneSelected).Made);
    EXPECT_FALSE(DragSpanOf(dimAll, {{0, 17, false}}).Made);
}

// A form with two trees of 30 rows each, 100 px high (5 whole rows and a cut one).
class CvTreeDragTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        BYTE Keys[256] = {};
        SetKeyboardState(Keys);
        Form = NewPlainForm(*App, TRect{0, 0, 420, 200});
        A = NewTree(0);
        B = NewTree(210);
        Form->Show();
        Form->Update();
    }
    void TearDown() override {
        BYTE Keys[256] = {};
        SetKeyboardState(Keys);
        GuiTest::TearDown();
    }
    TCvTree* NewTree(int Left) {
        auto* Tree = new TCvTree(Form);
        Tree->SetMeasurer(&Measurer);
        Tree->SetParent(Form);
        Tree->SetBounds(Left, 0, 200, 100);
        Tree->SetBorderStyle(bsNone);
        Tree->SetAutoLineHeight(false);
        Tree->SetLineHeight(17);
        Tree->DragAllowed = true;
        std::vector<TCvString> Lines;
        for (int I = 0; I < 30; ++I)
            Lines.push_back(L"Row " + std::to_wstring(I));
        Lines.insert(Lines.begin() + 2, L"\tChild");
        Tree->Items().AssignLines(Lines);
        return Tree;
    }
    static TCvTreeView& View(TCvTree* Tree) { return Tree->TreeView(); }
    TCvTreeItem* Vis(TCvTree* Tree, int Index) { return Tree->Items().GetVisItem(Index); }
    LRESULT Drag(TCvTree* Target, TDragObject* Source, TDragMessage Msg, int X, int Y) {
        TDragRec Rec{View(Target).ClientToScreen(TPoint{X, Y}), Source, &View(Target)};
        return View(Target).Perform(CM_DRAG, Msg, reinterpret_cast<LPARAM>(&Rec));
    }

    TFixedMeasurer Measurer;
    TForm* Form = nullptr;
    TCvTree* A = nullptr;
    TCvTree* B = nullptr;
};

TEST_F(CvTreeDragTest, TheDragCursorRefusesCopiesWithCtrlAndElseMoves) {
    TCvTreeDragObject OfTree(&View(A));
    EXPECT_EQ(OfTree.GetDragCursor(false, 0, 0), crCvTreeRefuse);
    EXPECT_EQ(OfTree.GetDragCursor(true, 0, 0), crCvTreeMove);
    BYTE Keys[256] = {};
    Keys[VK_CONTROL] = 0x80;
    SetKeyboardState(Keys);
    EXPECT_EQ(OfTree.GetDragCursor(true, 0, 0), crCvTreeCopy);
    // Another control's drag keeps the class library's cursors.
    TCvTreeDragObject OfForm(Form);
    EXPECT_EQ(OfForm.GetDragCursor(false, 0, 0), crNoDrop);
    EXPECT_EQ(OfForm.GetDragCursor(true, 0, 0), Form->DragCursor);
}

TEST_F(CvTreeDragTest, AutoScrollWaitsASecondThenStepsEachIntervalAndStopsAtBothEnds) {
    A->DragScrollInterval = 70;
    A->SetTopIndex(3);
    View(A).DoDragOver(nullptr, 10, 5, true); // the top row's band
    TTimer* Timer = View(A).DragScrollTimer();
    ASSERT_NE(Timer, nullptr);
    EXPECT_TRUE(Timer->Enabled());
    EXPECT_EQ(Timer->Interval(), 1000u);
    for (const int Expected : {2, 1, 0}) {
        View(A).DragScrollTick();
        EXPECT_EQ(A->TopIndex(), Expected);
        EXPECT_TRUE(Timer->Enabled());
        EXPECT_EQ(Timer->Interval(), 70u);
    }
    View(A).DragScrollTick(); // the top is reached
    EXPECT_EQ(A->TopIndex(), 0);
    EXPECT_FALSE(Timer->Enabled());

    // Downwards only while rows remain below the last one shown.
    const int Last = View(A).MaxTopIndex();
    A->SetTopIndex(Last - 2);
    View(A).DoDragOver(nullptr, 10, 95, true);
    EXPECT_TRUE(Timer->Enabled());
    int Steps = 0;
    while (Timer->Enabled() && Steps < 50) {
        View(A).DragScrollTick();
        ++Steps;
    }
    EXPECT_FALSE(Timer->Enabled());
    EXPECT_EQ(A->TopIndex(), Last);
    EXPECT_LE(Steps, 4);
    // In the middle of the rows nothing arms.
    View(A).DoDragOver(nullptr, 10, 50, true);
    EXPECT_FALSE(Timer->Enabled());
}

TEST_F(CvTreeDragTest, ACollapsedTargetExpandsAfterTheDelayOrAtOnceWithoutOne) {
    A->ExpandOnDragOver = true;
    TCvTreeItem* Parent = Vis(A, 1); // "Row 1", which holds "Child"
    ASSERT_FALSE(Parent->IsExpanded());
    std::vector<TCvTreeItem*> Targets;
    A->OnDragTargetChange = [&](TObject*, TCvTreeItem* Item, const TRect&, int, int) {
        Targets.push_back(Item);
    };
    View(A).DoDragOver(nullptr, 10, 25, true);
    EXPECT_EQ(A->DropTarget, Parent);
    ASSERT_NE(View(A).DragExpandTimer(), nullptr);
    EXPECT_EQ(View(A).DragExpandTimer()->Interval(), 500u);
    EXPECT_FALSE(Parent->IsExpanded());
    View(A).DragExpandTick();
    EXPECT_TRUE(Parent->IsExpanded());
    EXPECT_EQ(Targets, std::vector<TCvTreeItem*>{Parent});

    Parent->CollapseItem(false);
    A->DragExpandDelay = 0;
    View(A).DoDragOver(nullptr, 10, 8, true); // another row first
    View(A).DoDragOver(nullptr, 10, 25, true);
    EXPECT_TRUE(Parent->IsExpanded());
}

TEST_F(CvTreeDragTest, DimNeverByDefaultAndDimOneWithTwoSelectedRowsMakeNoImageDimAllSpansThem) {
    A->SetMultiSelect(true);
    Vis(A, 1)->SetSelected(true);
    Vis(A, 3)->SetSelected(true);
    EXPECT_EQ(A->DragImageMode, dimNever);
    View(A).BuildDragImage();
    EXPECT_EQ(View(A).DragImage(), nullptr);
    A->DragImageMode = dimOne;
    View(A).BuildDragImage();
    EXPECT_EQ(View(A).DragImage(), nullptr);
    A->DragImageMode = dimAll;
    View(A).BuildDragImage();
    ASSERT_NE(View(A).DragImage(), nullptr);
    EXPECT_EQ(View(A).DragImageTop(), 17);
    EXPECT_EQ(View(A).DragImage()->Height(), 4 * 17 - 17 + 1);
}

TEST_F(CvTreeDragTest, CMDragOverAnotherTreeTracksTheTargetAndReportsTheSourceTree) {
    TObject* Seen = nullptr;
    TObject* Dropped = nullptr;
    B->OnDragOver = [&](TObject*, TObject* Source, int, int, TDragState, bool& Accept) {
        Seen = Source;
        Accept = true;
    };
    B->OnDragDrop = [&](TObject*, TObject* Source, int, int) { Dropped = Source; };
    TCvTreeDragObject Object(&View(A));
    Drag(B, &Object, dmDragEnter, 10, 25);
    EXPECT_TRUE(View(B).DragOverView());
    EXPECT_NE(Drag(B, &Object, dmDragMove, 10, 25), 0);
    EXPECT_EQ(Seen, A);
    EXPECT_EQ(B->DropTarget, Vis(B, 1));
    EXPECT_TRUE(B->DropAccepted);
    Drag(B, &Object, dmDragDrop, 10, 25);
    EXPECT_EQ(Dropped, A);
    EXPECT_EQ(B->DropTarget, nullptr);
    EXPECT_FALSE(View(B).DragOverView());

    // Within one tree the source is that tree.
    A->OnDragOver = B->OnDragOver;
    Drag(A, &Object, dmDragEnter, 10, 40);
    Drag(A, &Object, dmDragMove, 10, 40);
    EXPECT_EQ(Seen, A);
    EXPECT_EQ(A->DropTarget, Vis(A, 2));
    Drag(A, &Object, dmDragLeave, 10, 40);
    EXPECT_EQ(A->DropTarget, nullptr);
}

TEST_F(CvTreeDragTest, AnOleDragOverTheViewTracksItsTargetUntilTheDrop) {
    A->SetDragType(dtBoth);
    TCvDropTarget Other(nullptr);
    EXPECT_EQ(RegisterDragDrop(View(A).Handle(), &Other), DRAGDROP_E_ALREADYREGISTERED);
    std::vector<TDragState> States;
    bool Dropped = false;
    A->OnOleTargetDrag = [&](TObject*, TDragState State, TOleDragObject*, TShiftState, int, int,
                             TDragType& Type) {
        States.push_back(State);
        Type = State == dsDragMove ? dtCopy : Type;
    };
    A->OnOleTargetDrop = [&](TObject*, TOleDragObject*, TShiftState, int, int, TDragType&) {
        Dropped = A->DropTarget == nullptr;
    };
    TDragType Type = dtNone;
    View(A).OleTargetDrag(dsDragEnter, nullptr, TShiftState{}, 10, 25, Type);
    EXPECT_FALSE(A->DropAccepted);
    View(A).OleTargetDrag(dsDragMove, nullptr, TShiftState{}, 10, 25, Type);
    EXPECT_TRUE(A->DropAccepted);
    EXPECT_EQ(A->DropTarget, Vis(A, 1));
    View(A).OleTargetDrop(nullptr, TShiftState{}, 10, 25, Type);
    EXPECT_TRUE(Dropped); // the target is cleared before the drop is reported
    EXPECT_EQ(States, (std::vector<TDragState>{dsDragEnter, dsDragMove}));
    View(A).OleTargetDrag(dsDragLeave, nullptr, TShiftState{}, 10, 40, Type);
    EXPECT_EQ(A->DropTarget, nullptr);
    A->SetDragType(dtDelphi); // no drop target any more
    EXPECT_EQ(RegisterDragDrop(View(A).Handle(), &Other), S_OK);
    RevokeDragDrop(View(A).Handle());
}

TEST_F(CvTreeDragTest, MovingFivePixelsFromAPressOnASelectedRowStartsADragWithItsImage) {
    bool Ended = false;
    A->OnEndDrag = [&](TObject* Sender, TObject*, int, int) { Ended = Sender == A; };
    A->DragImageMode = dimAll;
    const HWND Wnd = View(A).Handle();
    TCvTreeItem* Row = Vis(A, 0);
    const int X = (Row->TextLeft + Row->TextRight) / 2;
    SendMessageW(Wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, 8));
    ASSERT_TRUE(Row->IsSelected());
    SendMessageW(Wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(X + 2, 11));
    EXPECT_FALSE(View(A).Dragging());                                   // under 5 px from the press
    SendMessageW(Wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(X + 3, 12)); // 5 px
    ASSERT_TRUE(View(A).Dragging());
    ASSERT_NE(View(A).DragImage(), nullptr);
    EXPECT_EQ(View(A).DragImageTop(), 0);
    EXPECT_EQ(View(A).DragHotSpot().X, X);
    EXPECT_EQ(View(A).DragHotSpot().Y, 8);
    CancelDrag();
    EXPECT_FALSE(View(A).Dragging());
    EXPECT_TRUE(Ended);
    EXPECT_EQ(View(A).DragImage(), nullptr);
}

// Records what the view asks of the picture under the pointer instead of drawing on the screen.
class TRecordingDragImage : public TScreenDragImage {
public:
    explicit TRecordingDragImage(std::vector<std::string>& Log) : FLog(Log) {}
    void Begin(TBitmap& Picture, TColor, TPoint HotSpot, TPoint) override {
        FLog.push_back("begin " + std::to_string(Picture.Height()) + " hot " +
                       std::to_string(HotSpot.X) + "," + std::to_string(HotSpot.Y));
    }
    void Move(TPoint Pos) override {
        FLog.push_back("move " + std::to_string(Pos.X) + "," + std::to_string(Pos.Y));
    }
    void Hide() override { FLog.push_back("hide"); }
    void Show() override { FLog.push_back("show"); }
    void End() override { FLog.push_back("end"); }

private:
    std::vector<std::string>& FLog;
};

TEST_F(CvTreeDragTest, TheRowsPictureFollowsThePointerAndGoesOnDropAndOnCancel) {
    A->DragImageMode = dimAll;
    std::vector<std::string> Log;
    View(A).SetScreenDragImage(std::make_unique<TRecordingDragImage>(Log));
    const HWND Wnd = View(A).Handle();
    for (const bool Drop : {true, false}) {
        Log.clear();
        TCvTreeItem* Row = Vis(A, 0);
        const int X = (Row->TextLeft + Row->TextRight) / 2;
        SendMessageW(Wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, 8));
        SendMessageW(Wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(X + 3, 12));
        ASSERT_TRUE(View(A).Dragging()) << Drop;
        ASSERT_FALSE(Log.empty());
        EXPECT_EQ(Log.front(), "begin 18 hot " + std::to_string(X) + ",8") << Drop;
        // The drag holds the mouse in a window of its own at the screen's origin.
        const HWND Capture = GetCapture();
        SendMessageW(Capture, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(333, 444));
        EXPECT_NE(std::find(Log.begin(), Log.end(), "move 333,444"), Log.end()) << Drop;
        if (Drop)
            SendMessageW(Capture, WM_LBUTTONUP, 0, MAKELPARAM(333, 444));
        else
            CancelDrag();
        EXPECT_FALSE(View(A).Dragging()) << Drop;
        EXPECT_EQ(Log.back(), "end") << Drop;
        EXPECT_EQ(std::count(Log.begin(), Log.end(), "end"), 1) << Drop;
    }
    View(A).SetScreenDragImage(nullptr); // the recorder writes into Log, which goes first
}

TEST_F(CvTreeDragTest, TheSystemDragPictureShowsOverTheScreenAndLeavesNoTrace) {
    TBitmap Picture;
    Picture.SetSize(20, 20);
    Picture.Canvas().Brush().SetColor(clRed);
    Picture.Canvas().FillRect(TRect(0, 0, 20, 20));
    const TPoint At{300, 150}; // over the form's empty part
    const HDC Screen = GetDC(nullptr);
    // The system may blend the picture with what lies under it.
    const auto Red = [Screen](int X, int Y) {
        const COLORREF C = GetPixel(Screen, X, Y);
        return GetRValue(C) >= 0xC0 && GetGValue(C) < 0x80 && GetBValue(C) < 0x80;
    };
    const COLORREF Before = GetPixel(Screen, At.X + 5, At.Y + 5);
    ASSERT_FALSE(Red(At.X + 5, At.Y + 5));
    {
        TScreenDragImage Image;
        Image.Begin(Picture, clWhite, TPoint{0, 0}, At);
        EXPECT_TRUE(Image.Active());
        EXPECT_TRUE(Red(At.X + 5, At.Y + 5));
        Image.Move(TPoint{At.X + 40, At.Y});
        EXPECT_EQ(GetPixel(Screen, At.X + 5, At.Y + 5), Before);
        EXPECT_TRUE(Red(At.X + 45, At.Y + 5));
    }
    EXPECT_EQ(GetPixel(Screen, At.X + 45, At.Y + 5), GetPixel(Screen, At.X + 5, At.Y + 5));
    ReleaseDC(nullptr, Screen);
}

TEST_F(CvTreeDragTest, TreesDestroyedWithArmedDragTimersLeaveNothingTicking) {
    for (int Round = 0; Round < 5; ++Round) {
        TCvTree* Tree = NewTree(0);
        Tree->ExpandOnDragOver = true;
        Tree->DragExpandDelay = 10;
        Tree->DragScrollInterval = 10;
        Tree->SetTopIndex(2);
        Form->Update();
        View(Tree).DoDragOver(nullptr, 10, 5, true);
        ASSERT_NE(View(Tree).DragScrollTimer(), nullptr);
        ASSERT_NE(View(Tree).DragExpandTimer(), nullptr);
        delete Tree;
    }
    Sleep(50);
    App->ProcessMessages();
    SUCCEED();
}

} // namespace
