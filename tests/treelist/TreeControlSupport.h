// Shared pieces of the tree-list control's tests: a text measurer with fixed numbers and a tree
// of N flat rows sized without a window.
#pragma once

#include "treelist/CvTree.h"

#include "tests/support/GuiTestSupport.h"

#include <memory>
#include <string>

// Every character 6 pixels wide, every line 13 high.
struct TFixedMeasurer : ICvTextMeasurer {
    TSize TextSize(const TFont&, const TCvString& Text, UINT, int) override {
        return TSize{6 * static_cast<int>(Text.size()), Text.empty() ? 0 : 13};
    }
};

// A tree with the fixed measurer, owned by the test's application.
class TreeTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Tree = std::make_unique<TCvTree>(nullptr);
        Tree->SetMeasurer(&Measurer);
    }
    void TearDown() override {
        Tree.reset();
        GuiTest::TearDown();
    }
    // Rows "R0".."R<N-1>" at the top level, with a fixed line height and a view of Height.
    void FillFlat(int N, int LineHeight = 17, int Height = 170) {
        Tree->SetAutoLineHeight(false);
        Tree->SetLineHeight(LineHeight);
        Tree->TreeView().SetBounds(0, 0, 200, Height);
        Tree->Items().BeginUpdate();
        Tree->Items().RemoveAll();
        for (int I = 0; I < N; ++I)
            Tree->Items().AddChild(nullptr, L"R" + std::to_wstring(I));
        Tree->Items().EndUpdate();
        Tree->TreeView().FillRows(0);
    }
    TCvTreeItem* Vis(int Index) { return Tree->Items().GetVisItem(Index); }
    // Sections of the given widths, captions "C0".."Cn".
    void AddSections(std::initializer_list<int> Widths) {
        for (const int W : Widths) {
            TCvHeaderSection* S = Tree->HeaderControl().Sections().AppendSection();
            S->SetText(L"C" + std::to_wstring(Tree->HeaderControl().Sections().SectionCount() - 1));
            S->SetWidth(W);
        }
    }

    TFixedMeasurer Measurer;
    std::unique_ptr<TCvTree> Tree;
};

// A plain form on the screen with one borderless tree of the fixed measurer at Where.
class TreeOnFormTest : public GuiTest {
protected:
    void PlaceTree(TRect Where) {
        Form = NewPlainForm(*App, TRect{0, 0, 400, 300});
        Tree = new TCvTree(Form);
        Tree->SetMeasurer(&Measurer);
        Tree->SetParent(Form);
        Tree->SetBorderStyle(bsNone);
        Tree->SetBounds(Where.Left, Where.Top, Where.Width(), Where.Height());
    }
    void ShowForm() {
        Form->Show();
        Form->Update();
    }

    TFixedMeasurer Measurer;
    TForm* Form = nullptr;
    TCvTree* Tree = nullptr;
};
