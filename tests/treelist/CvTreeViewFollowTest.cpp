// The view under a real pointer: what follows a wheel turn or a bar scroll (the hot row, a mouse
// frame), the bars' track hint and focus, a scroll while an editor is open, and the window's own
// bars drawn flat.
#include "tests/treelist/TreeControlSupport.h"
#include "treelist/CvTreeInplace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Shows itself by a flag.
class TFlagEditor : public TCvTreeInplaceEditor {
public:
    explicit TFlagEditor(TComponent* Owner) : TCvTreeInplaceEditor(Owner) { Types = {sftText}; }
    bool IsEditorVisible() override { return Shown; }
    void CompleteOperation(bool Accepted) override {
        Shown = false;
        TCvTreeInplaceEditor::CompleteOperation(Accepted);
    }
    bool Shown = false;

protected:
    void ShowEditor() override { Shown = true; }
};

// Forty rows of 17 pixels in a view 170 high (ten rows), placed on the screen.
class CvTreeViewFollow : public TreeOnFormTest {
protected:
    void SetUp() override {
        TreeOnFormTest::SetUp();
        PlaceTree(TRect(0, 0, 300, 170));
        Tree->SetAutoLineHeight(false);
        Tree->SetLineHeight(17);
        std::vector<TCvString> Lines;
        for (int I = 0; I < 40; ++I)
            Lines.push_back(L"R" + std::to_wstring(I));
        Tree->Items().AssignLines(Lines);
        ShowForm();
        Wnd = View().Handle();
        for (int I = 0; I < Tree->Items().TotalCount(); ++I) {
            Tree->Items().ItemAtIndex(I)->TextLeft = 20;
            Tree->Items().ItemAtIndex(I)->TextRight = 60;
        }
    }
    TCvTreeView& View() const { return Tree->TreeView(); }
    void PointAt(int X, int Y) {
        const TPoint P = View().ClientToScreen(TPoint{X, Y});
        SetCursorPos(P.X, P.Y);
    }
    void Wheel(int Notches) {
        const TPoint P = View().ClientToScreen(TPoint{0, 0});
        SendMessageW(Wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -120 * Notches), MAKELPARAM(P.X, P.Y));
    }
    std::string Text(const TCvTreeItem* Item) const { return Item ? Narrow(Item->Text()) : "-"; }
    static std::string Narrow(std::wstring_view W) { return std::string(W.begin(), W.end()); }

    HWND Wnd = nullptr;
};

TEST_F(CvTreeViewFollow, AfterAWheelTurnTheHotRowIsTheOneUnderThePointer) {
    PointAt(30, 2 * 17 + 8);
    SendMessageW(Wnd, WM_MOUSEMOVE, 0, MAKELPARAM(30, 2 * 17 + 8));
    ASSERT_EQ(Text(Tree->HotItem), "R2");
    UINT Lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0);
    Wheel(1);
    ASSERT_EQ(Tree->TopIndex(), static_cast<int>(Lines));
    EXPECT_EQ(Text(Tree->HotItem), "R" + std::to_string(2 + Lines));
}

TEST_F(CvTreeViewFollow, AMouseFrameFollowsTheWheelAndTheBar) {
    Tree->SetMultiSelect(true);
    Tree->SetFocusedItem(nullptr);
    Tree->DeselectAll();
    PointAt(100, 8);
    SendMessageW(Wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 8));
    PointAt(10, 2 * 17 + 8);
    SendMessageW(Wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 2 * 17 + 8));
    ASSERT_TRUE(View().FrameSelecting());
    ASSERT_EQ(Tree->SelectedCount(), 3); // R0..R2
    int AfterSelection = 0;
    Tree->OnAfterSelectionChange = [&](TCvTreeCore*) { ++AfterSelection; };
    UINT Lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0);
    Wheel(1);
    // The pointer now rests on row 2 + Lines: the frame reaches it.
    EXPECT_EQ(Tree->SelectedCount(), 3 + static_cast<int>(Lines));
    EXPECT_GE(AfterSelection, 1);
    int Pos = 0;
    bool Change = false;
    View().ScrollVert(nullptr, escLineDown, Pos, Change);
    EXPECT_EQ(Tree->SelectedCount(), 4 + static_cast<int>(Lines));
    SendMessageW(Wnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 2 * 17 + 8));
}

TEST_F(CvTreeViewFollow, TheVerticalBarShowsTheProspectiveTopRowWhileTheThumbIsDragged) {
    EXPECT_TRUE(Tree->VertScrollBarStyles().ShowTrackHint());
    EXPECT_FALSE(Tree->HorzScrollBarStyles().ShowTrackHint());
    String Hint;
    Tree->VertScrollBar().OnScrollHintNeeded(&Tree->VertScrollBar(), 17, Hint);
    EXPECT_EQ(Hint, L"R17");
    // A handler's own text wins.
    Tree->OnVertScrollHintNeeded = [](TObject*, int Pos, String& Text) {
        Text = L"at " + std::to_wstring(Pos);
    };
    Hint.clear();
    Tree->VertScrollBar().OnScrollHintNeeded(&Tree->VertScrollBar(), 17, Hint);
    EXPECT_EQ(Hint, L"at 17");
    Tree->VertScrollBarStyles().SetShowTrackHint(false);
    EXPECT_FALSE(Tree->VertScrollBar().ShowTrackHint);
}

TEST_F(CvTreeViewFollow, APressOnEitherBarGivesTheRowsTheFocus) {
    Tree->SetBounds(0, 0, 60, 170); // narrow: the horizontal bar shows too
    Tree->Items().ItemAtIndex(0)->SetText(std::wstring(40, L'W'));
    Form->Update();
    for (TCvScrollBar* Bar : {&Tree->VertScrollBar(), &Tree->HorzScrollBar()}) {
        if (!Bar->Visible())
            continue;
        ::SetFocus(Form->Handle());
        ASSERT_FALSE(View().Focused());
        SendMessageW(Bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(Bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        EXPECT_TRUE(View().Focused());
    }
}

TEST_F(CvTreeViewFollow, AScrollWhileEditingPausesOnceThenEndsTheEditAndScrolls) {
    TFlagEditor Editor(nullptr);
    Editor.SetTree(Tree);
    Tree->EditItem(Tree->Items().ItemAtIndex(0), -1);
    ASSERT_TRUE(Editor.Shown);
    int Pos = 0;
    bool Change = false;
    View().ScrollVert(nullptr, escLineDown, Pos, Change);
    EXPECT_TRUE(Editor.Shown);
    EXPECT_TRUE(View().ScrollPaused());
    EXPECT_EQ(Tree->TopIndex(), 0);
    View().ScrollVert(nullptr, escEndScroll, Pos, Change); // the release: the edit stays
    EXPECT_TRUE(Editor.Shown);
    EXPECT_FALSE(View().ScrollPaused());
    View().ScrollVert(nullptr, escLineDown, Pos, Change); // pauses again
    View().ScrollVert(nullptr, escLineDown, Pos, Change); // and now goes
    EXPECT_FALSE(Editor.Shown);
    EXPECT_FALSE(View().ScrollPaused());
    EXPECT_EQ(Tree->TopIndex(), 1);
}

TEST_F(CvTreeViewFollow, WithoutCustomBarsTheWindowsOwnBarsAreDrawnFlatAndRaisedWhenFocused) {
    Tree->SetUseCustomScrollBars(false);
    Tree->SetUseXPThemes(false);
    Form->Update();
    ASSERT_TRUE(GetWindowLongW(Tree->Handle(), GWL_STYLE) & WS_VSCROLL);
    RECT Window{};
    GetWindowRect(Tree->Handle(), &Window);
    const int A = GetSystemMetrics(SM_CXHSCROLL);
    // The up arrow's outer bottom-right corner: the button shadow flat, the dark shadow raised.
    const int X = Window.right - Window.left - 1, Y = A - 1;
    const auto Corner = [&] {
        RedrawWindow(Tree->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        const HDC DC = GetWindowDC(Tree->Handle());
        const COLORREF C = GetPixel(DC, X, Y);
        ReleaseDC(Tree->Handle(), DC);
        return C;
    };
    ::SetFocus(Form->Handle());
    PointAt(350, 250);
    EXPECT_EQ(Corner(), GetSysColor(COLOR_BTNSHADOW));
    ::SetFocus(View().Handle()); // the tree's window was made again without its bars
    ASSERT_TRUE(View().HasFocus());
    EXPECT_EQ(Corner(), GetSysColor(COLOR_3DDKSHADOW));
    Tree->FlatFocusedScrollbars = false;
    EXPECT_EQ(Corner(), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(CvTreeViewFollow, DoubleBufferingFollowsTheSettingsAndTheFormsSizing) {
    struct TCase {
        bool DoubleBuffered, OnResize, InSizeMove, Buffered;
    };
    const TCase Cases[] = {
        {true, true, false, true},  {false, true, false, false}, {true, true, true, true},
        {true, false, true, false}, {false, true, true, true},   {false, false, true, false},
    };
    for (const TCase& C : Cases) {
        Tree->SetDoubleBuffered(C.DoubleBuffered);
        Tree->DoubleBufferedOnResize = C.OnResize;
        Tree->InSizeMove = C.InSizeMove;
        EXPECT_EQ(View().PaintsBuffered(), C.Buffered)
            << C.DoubleBuffered << C.OnResize << C.InSizeMove;
    }
    // Painted straight onto the window, the rows look as they do through the buffer.
    Tree->InSizeMove = false;
    const auto Line = [&] {
        InvalidateRect(Wnd, nullptr, FALSE);
        UpdateWindow(Wnd);
        const HDC DC = GetDC(Wnd);
        std::vector<COLORREF> Pixels;
        for (int Y = 0; Y < 17; ++Y)
            for (int X = 0; X < 100; ++X)
                Pixels.push_back(GetPixel(DC, X, Y));
        ReleaseDC(Wnd, DC);
        return Pixels;
    };
    Tree->SetDoubleBuffered(true);
    const std::vector<COLORREF> Buffered = Line();
    ASSERT_NE(std::count(Buffered.begin(), Buffered.end(), Buffered.front()),
              static_cast<long>(Buffered.size())); // the row's text shows
    Tree->SetDoubleBuffered(false);
    EXPECT_EQ(Line(), Buffered);
    Tree->SetDoubleBuffered(true);
}

} // namespace
