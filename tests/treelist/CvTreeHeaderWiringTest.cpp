// The tree and its header: the header's own height changes move the rows, the pass-through
// properties reach the header, owner-drawn sections are measured by the tree, and a derived tree
// hears the view's events through its dispatchers without handlers.
#include "tests/treelist/TreeControlSupport.h"
#include "treelist/CvTreeInplace.h"

#include "classlib/gui/ImgList.h"
#include "classlib/gui/Menus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CvTreeHeaderWiring : public TreeOnFormTest {
protected:
    void SetUp() override {
        TreeOnFormTest::SetUp();
        PlaceTree(TRect(0, 0, 300, 200));
        for (int I = 0; I < 2; ++I) {
            TCvHeaderSection* S = Tree->HeaderControl().Sections().AppendSection();
            S->SetText(L"Column");
            S->SetWidth(120);
        }
        Tree->SetShowColumns(true);
        Tree->Items().AssignLines(std::vector<TCvString>{L"A", L"B"});
        ShowForm();
        Tree->OnHeaderResize = [this](TObject* Sender) {
            EXPECT_EQ(Sender, Tree);
            ++Resizes;
        };
    }
    TCvHeader& Header() const { return Tree->HeaderControl(); }

    int Resizes = 0;
};

TEST_F(CvTreeHeaderWiring, TheHeadersOwnHeightChangesMoveTheRowsAndReportOnce) {
    TImageList Tall(nullptr);
    Tall.SetSize(32, 32);
    struct TCase {
        const char* Name;
        std::function<void()> Change;
        bool Grows;
    };
    const TCase Cases[] = {
        {"images taller than the text", [&] { Tree->SetHeaderImages(&Tall); }, true},
        {"images gone again", [&] { Tree->SetHeaderImages(nullptr); }, false},
        {"a height of its own", [&] { Header().SetHeight(Header().Height() + 11); }, true},
        {"locked height keeps images out",
         [&] {
             Tree->SetLockHeaderHeight(true);
             Tree->SetHeaderImages(&Tall);
         },
         false},
    };
    for (const TCase& C : Cases) {
        const int Before = Header().Height();
        Resizes = 0;
        C.Change();
        const int After = Header().Height();
        if (C.Grows) {
            EXPECT_GT(After, Before) << C.Name;
        }
        EXPECT_EQ(Resizes, After != Before ? 1 : 0) << C.Name;
        // No overlap and no gap: the view starts where the header ends and fills the rest.
        EXPECT_EQ(Tree->TreeView().Top(), After) << C.Name;
        EXPECT_EQ(Tree->TreeView().Top() + Tree->TreeView().Height(),
                  Tree->ClientHeight() -
                      (Tree->HorzBarVisible() ? Tree->HorzScrollBar().Height() : 0))
            << C.Name;
    }
    Tree->SetHeaderImages(nullptr);
}

TEST_F(CvTreeHeaderWiring, AResizeKeepsTheHeadersScrollOffsetAtTheTreesLeftPosition) {
    Header().Sections().ItemAt(1)->SetWidth(600);
    Tree->UpdateScrollBars();
    Tree->SetLeftPosition(50);
    Header().SetScrollOffset(0);
    Resizes = 0;
    Header().SetHeight(Header().Height() + 5);
    EXPECT_EQ(Header().ScrollOffset(), Tree->LeftPosition());
    EXPECT_EQ(Resizes, 1);
}

TEST_F(CvTreeHeaderWiring, PassThroughPropertiesReadAndWriteTheHeader) {
    TImageList Images(nullptr);
    TPopupMenu Menu(nullptr);
    Tree->SetHeaderColor(clYellow);
    Tree->SetHeaderFlat(true);
    Tree->SetHeaderFilterColor(clRed);
    Tree->SetHeaderActiveFilterColor(clBlue);
    Tree->SetHeaderImages(&Images);
    Tree->SetHeaderWrapCaptions(true);
    Tree->SetHeaderInvertSortArrows(true);
    Tree->SetHeaderPopupMenu(&Menu);
    Tree->SetMoveColumnOnDrag(true);
    Tree->SetStickyHeaderSections(true);
    Tree->SetLockHeaderHeight(true);
    Tree->SetDefaultSectionWidth(77);
    EXPECT_EQ(Header().Color(), clYellow);
    EXPECT_TRUE(Header().Flat());
    EXPECT_EQ(Header().FilterColor(), clRed);
    EXPECT_EQ(Header().ActiveFilterColor(), clBlue);
    EXPECT_EQ(Header().Images(), &Images);
    EXPECT_TRUE(Header().WrapCaptions());
    EXPECT_TRUE(Header().InvertSortArrows());
    EXPECT_EQ(Header().PopupMenu(), &Menu);
    EXPECT_TRUE(Header().MoveOnDrag);
    EXPECT_TRUE(Header().StickySections());
    EXPECT_TRUE(Header().LockHeight());
    EXPECT_EQ(Header().DefaultWidth, 77);
    EXPECT_EQ(&Tree->HeaderSections(), &Header().Sections());
    EXPECT_EQ(Tree->HeaderSections().SectionCount(), 2);
    Tree->SetHeaderImages(nullptr);
    Tree->SetHeaderPopupMenu(nullptr);
}

TEST_F(CvTreeHeaderWiring, APressOnTheHeaderCancelsARunningEditThenReports) {
    class TFlagEditor : public TCvTreeInplaceEditor {
    public:
        using TCvTreeInplaceEditor::TCvTreeInplaceEditor;
        bool IsEditorVisible() override { return Shown; }
        void CompleteOperation(bool Accepted) override {
            Shown = false;
            WasAccepted = Accepted;
            TCvTreeInplaceEditor::CompleteOperation(Accepted);
        }
        bool Shown = false, WasAccepted = true;

    protected:
        void ShowEditor() override { Shown = true; }
    } Editor(nullptr);
    Editor.Types = {sftText};
    Editor.SetTree(Tree);
    Tree->EditItem(Tree->Items().ItemAtIndex(0), 0);
    ASSERT_TRUE(Editor.Shown);
    bool EditorShownThen = true;
    Tree->OnHeaderMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        EditorShownThen = Editor.Shown;
    };
    SendMessageW(Header().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 5));
    SendMessageW(Header().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(300, 5));
    EXPECT_FALSE(Editor.Shown);
    EXPECT_FALSE(Editor.WasAccepted);
    EXPECT_FALSE(EditorShownThen);
    Tree->OnHeaderMouseDown = nullptr;
}

TEST_F(CvTreeHeaderWiring, AnOwnerDrawnSectionIsMeasuredByTheTree) {
    TCvHeaderSection* S = Header().Sections().ItemAt(0);
    S->SetStyle(CvhsOwnerDraw);
    std::vector<TCvHeaderSection*> Asked;
    Tree->OnHeaderSectionMeasure = [&](TObject* Sender, TCvHeaderSection* Section, TSize& Size) {
        EXPECT_EQ(Sender, Tree);
        Asked.push_back(Section);
        Size = TSize{100, 9};
    };
    int TextWidth = 0, Height = 0;
    const int Plain =
        Header().MeasureSectionWidth(Header().Sections().ItemAt(1), TextWidth, Height);
    const int Drawn = Header().MeasureSectionWidth(S, TextWidth, Height);
    EXPECT_EQ(Asked, std::vector<TCvHeaderSection*>{S});
    EXPECT_EQ(Drawn, 10 + 12 + 100);
    EXPECT_EQ(Height, 9);
    EXPECT_NE(Plain, Drawn);
}

// A derived tree that reacts through its dispatchers alone.
class TListeningTree : public TCvTree {
public:
    using TCvTree::TCvTree;
    std::vector<std::string> Heard;
    void DoClick() override { Heard.push_back("click"); }
    void DoMouseDownNotify(TMouseButton, TShiftState, int X, int Y) override {
        Heard.push_back("down " + std::to_string(X) + "," + std::to_string(Y));
    }
    void DoKeyDownNotify(WORD& Key, TShiftState) override {
        Heard.push_back("key " + std::to_string(Key));
    }
    void DoHeaderResize() override { Heard.push_back("header resize"); }
    void DoColumnMove(TCvHeaderSection*, int OldPos, int NewPos) override {
        Heard.push_back("move " + std::to_string(OldPos) + ">" + std::to_string(NewPos));
    }
    void DoDragOver(TObject* Source, int, int, TDragState, bool& Accept) override {
        Heard.push_back(Source == this ? "drag over from itself" : "drag over");
        Accept = true;
    }
};

TEST_F(CvTreeHeaderWiring, ADerivedTreeHearsTheViewAndTheHeaderWithoutHandlers) {
    auto* Derived = new TListeningTree(Form);
    Derived->SetMeasurer(&Measurer);
    Derived->SetParent(Form);
    Derived->SetBounds(0, 0, 300, 200);
    Derived->SetBorderStyle(bsNone);
    Derived->HeaderControl().Sections().AppendSection()->SetWidth(100);
    Derived->HeaderControl().Sections().AppendSection()->SetWidth(100);
    Derived->SetShowColumns(true);
    Derived->Items().AssignLines(std::vector<TCvString>{L"A"});
    Form->Update();
    Derived->Heard.clear();
    const HWND View = Derived->TreeView().Handle();
    SendMessageW(View, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    SendMessageW(View, WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
    SendMessageW(View, WM_KEYDOWN, VK_DOWN, 1);
    Derived->HeaderControl().SetHeight(Derived->HeaderControl().Height() + 3);
    bool Accepted = false;
    Derived->TreeView().OnDragOver(&Derived->TreeView(), &Derived->TreeView(), 5, 5, dsDragMove,
                                   Accepted);
    EXPECT_TRUE(Accepted);
    Derived->HeaderControl().Sections().MoveSection(Derived->HeaderControl().Sections().ItemAt(0),
                                                    1);
    const int Top = Derived->TreeView().Top();
    EXPECT_EQ(Derived->Heard,
              (std::vector<std::string>{"down 5," + std::to_string(Top - 3 + 6), "click",
                                        "key " + std::to_string(VK_DOWN), "header resize",
                                        "drag over from itself", "move 0>1"}));
}

} // namespace
