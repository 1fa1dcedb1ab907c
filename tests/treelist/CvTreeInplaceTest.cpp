#include "classlib/gui/ExtCtrls.h"
#include "tests/treelist/TreeControlSupport.h"
#include "tests/treelist/TreeTestSupport.h"
#include "treelist/CvTreeError.h"
#include "treelist/CvTreeInplace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Shows itself by a flag and records what it was given.
class TTestEditor : public TCvTreeInplaceEditor {
public:
    explicit TTestEditor(TComponent* Owner, TCvFieldTypes ATypes = {sftText})
        : TCvTreeInplaceEditor(Owner) {
        Types = ATypes;
    }
    bool IsEditorVisible() override { return Shown; }
    void CompleteOperation(bool Accepted) override {
        Shown = false;
        TCvTreeInplaceEditor::CompleteOperation(Accepted);
    }
    bool Shown = false;
    int Starts = 0;
    TCvString Loaded;

protected:
    void ShowEditor() override {
        Shown = true;
        ++Starts;
        Loaded = ValueAsText;
    }
};

class CvTreeInplaceTest : public TreeTest {
protected:
    // Row "Main" with column texts under four 50 px sections.
    TCvTreeItem& Row(std::vector<TCvString> Columns) {
        AddSections({50, 50, 50, 50});
        Tree->SetShowColumns(true);
        FillFlat(1);
        TCvTreeItem& Item = *Vis(0);
        Item.SetText(L"Main");
        Item.ColumnTextList()->Assign(Columns);
        return Item;
    }
};

TEST_F(CvTreeInplaceTest, TheFirstRegisteredSuitableEditorIsOfferedAndFreedEditorsLeave) {
    auto First = std::make_unique<TTestEditor>(nullptr, TCvFieldTypes{sftText, sftMemo});
    auto Second = std::make_unique<TTestEditor>(nullptr, TCvFieldTypes{sftText, sftNumber});
    First->SetTree(Tree.get());
    Second->SetTree(Tree.get());
    First->SetTree(Tree.get()); // once only
    TCvTreeInplaceManager* Manager = InplaceManagerOf(*Tree, false);
    ASSERT_NE(Manager, nullptr);
    EXPECT_EQ(Manager->Editors().size(), 2u);
    EXPECT_EQ(Manager->GetSuitableEditor(sftText), First.get());
    EXPECT_EQ(Manager->GetSuitableEditor(sftNumber), Second.get());
    EXPECT_EQ(Manager->GetSuitableEditor(sftDate), nullptr);
    First.reset();
    EXPECT_EQ(Manager->GetSuitableEditor(sftText), Second.get());
    Second->SetTree(nullptr);
    EXPECT_TRUE(Manager->Editors().empty());
}

TEST_F(CvTreeInplaceTest, AnEditorOutlivingItsTreeForgetsIt) {
    auto Editor = std::make_unique<TTestEditor>(nullptr);
    TCvTreeItem& Item = Row({L"a"});
    Editor->SetTree(Tree.get());
    Tree->EditItem(&Item, 0);
    ASSERT_TRUE(Editor->Shown);
    Tree.reset();
    EXPECT_EQ(Editor->Tree(), nullptr);
    EXPECT_FALSE(Editor->Editing());
}

TEST_F(CvTreeInplaceTest, EditItemLoadsTheCellAndOnTryEditMayVeto) {
    TTestEditor Editor(nullptr);
    Editor.SetTree(Tree.get());
    TCvTreeItem& Item = Row({L"one", L"two"});
    EXPECT_THROW(Tree->EditItem(nullptr, 0), ECvTreeError);

    bool Allow = false;
    TCvFieldType Asked = sftCustom;
    Tree->OnTryEdit = [&](TCvTreeCore*, TCvTreeItem*, int, TCvFieldType& Type, bool& CanEdit) {
        Asked = Type;
        CanEdit = Allow;
    };
    Tree->EditItem(&Item, 2);
    EXPECT_EQ(Asked, sftText);
    EXPECT_EQ(Editor.Starts, 0);
    EXPECT_EQ(Tree->TreeView().Editor(), nullptr);

    Allow = true;
    Tree->EditItem(&Item, 2);
    ASSERT_EQ(Tree->TreeView().Editor(), &Editor);
    EXPECT_TRUE(Editor.Editing());
    EXPECT_EQ(Editor.Loaded, L"two");
    EXPECT_EQ(Editor.SectionIndex, 2);
    EXPECT_EQ(Editor.Item, &Item);
    EXPECT_EQ(Editor.CellRect, TRect(100, 0, 150, 17)); // the section's edges

    Tree->EditItem(&Item, -1); // the tree column; the open edit is cancelled first
    EXPECT_EQ(Editor.Loaded, L"Main");
    EXPECT_EQ(Editor.SectionIndex, 0);

    Tree->DoInplaceEdit = false;
    Tree->EditItem(&Item, 1);
    EXPECT_EQ(Editor.SectionIndex, 0); // the tree leaves editing alone
}

TEST_F(CvTreeInplaceTest, AnEmptyCellStartsWithTheDefaultValueUnlessDefaultConversionIsOff) {
    TTestEditor Editor(nullptr);
    Editor.SetTree(Tree.get());
    Editor.DefaultValueAsText = L"(none)";
    TCvTreeItem& Item = Row({L""});
    for (const bool Convert : {true, false}) {
        Editor.OnBeforeOperation = [&](TObject*, bool& DefaultConversion) {
            EXPECT_TRUE(DefaultConversion);
            DefaultConversion = Convert;
        };
        Tree->EditItem(&Item, 1);
        EXPECT_EQ(Narrow(Editor.Loaded), Convert ? "(none)" : "") << Convert;
    }
}

TEST_F(CvTreeInplaceTest, AcceptingStoresTheValueAndPadsTheColumnTexts) {
    struct TCase {
        int Section;
        bool KeepAccepted;
        std::vector<TCvString> Columns;
        const wchar_t* Text;
    };
    const TCase Cases[] = {
        {3, true, {L"a", L"", L"new"}, L"Main"}, // one empty entry padded
        {1, true, {L"new"}, L"Main"},
        {0, true, {L"a"}, L"new"},
        {3, false, {L"a"}, L"Main"}, // a cleared Accepted leaves the cell
    };
    for (const TCase& C : Cases) {
        Tree = std::make_unique<TCvTree>(nullptr); // a fresh row each time
        Tree->SetMeasurer(&Measurer);
        TTestEditor Editor(nullptr);
        Editor.SetTree(Tree.get());
        TCvTreeItem& Item = Row({L"a"});
        Editor.OnAfterOperation = [&](TObject*, bool& Accepted, bool&) {
            Accepted = C.KeepAccepted;
        };
        Tree->EditItem(&Item, C.Section);
        ASSERT_TRUE(Editor.Shown);
        Editor.ValueAsText = L"new";
        Editor.CompleteOperation(true);
        EXPECT_EQ(Item.ColumnTextList()->Items(), C.Columns) << C.Section;
        EXPECT_EQ(Item.Text(), C.Text) << C.Section;
        EXPECT_EQ(Tree->TreeView().Editor(), nullptr);
        EXPECT_FALSE(Editor.Editing());
        Editor.SetTree(nullptr);
    }
}

TEST_F(CvTreeInplaceTest, ACancelledEditAndAScrollEndTheEdit) {
    TTestEditor Editor(nullptr);
    Editor.SetTree(Tree.get());
    TCvTreeItem& Item = Row({L"a"});
    Tree->EditItem(&Item, 1);
    Tree->EndEdit(true);
    EXPECT_EQ(Item.ColumnTextList()->Items(), std::vector<TCvString>{L"a"});
    EXPECT_FALSE(Editor.Shown);

    Tree->EditItem(&Item, 1);
    Editor.ValueAsText = L"b";
    int Pos = 0;
    bool Change = false;
    Tree->TreeView().ScrollHorz(nullptr, escLineDown, Pos, Change); // accepts
    EXPECT_EQ(Item.ColumnTextList()->Items(), std::vector<TCvString>{L"b"});
    EXPECT_EQ(Tree->TreeView().Editor(), nullptr);
}

// ------------------------------------------------------------ opening by clicks

class CvTreeEditClickTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Form = NewPlainForm(*App, TRect{0, 0, 300, 200});
        Tree = new TCvTree(Form);
        Tree->SetMeasurer(&Measurer);
        Tree->SetParent(Form);
        Tree->SetBounds(0, 0, 250, 150);
        Tree->SetAutoLineHeight(false);
        Tree->SetLineHeight(17);
        Tree->InplaceEditorDelay = 60;
        Tree->Items().AssignLines(std::vector<TCvString>{L"First", L"Second"});
        Form->Show();
        View().Update();
        for (int I = 0; I < 2; ++I)
            Tree->Items().GetVisItem(I)->SetFlag(ifAllowEdit, true);
        Editor = new TTestEditor(Form);
        Editor->SetTree(Tree);
    }
    TCvTreeView& View() const { return Tree->TreeView(); }
    // On the row's text, where painting put it.
    void Send(UINT Msg, WPARAM W, int Row) {
        const TCvTreeItem* Item = Tree->Items().GetVisItem(Row);
        const int X = (Item->TextLeft + Item->TextRight) / 2;
        SendMessageW(View().Handle(), Msg, W, MAKELPARAM(X, Row * 17 + 8));
    }
    void Click(int Row) {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, Row);
        Send(WM_LBUTTONUP, 0, Row);
    }

    TFixedMeasurer Measurer;
    TForm* Form = nullptr;
    TCvTree* Tree = nullptr;
    TTestEditor* Editor = nullptr;
};

TEST_F(CvTreeEditClickTest, ADoubleClickUnderDcmEditOpensTheEditorAfterOneMillisecond) {
    Tree->SetDblClickMode(dcmEdit);
    Click(0);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    ASSERT_NE(View().EditTimer(), nullptr);
    EXPECT_EQ(View().EditTimer()->Interval(), 1u);
    ASSERT_TRUE(PumpUntil([&] { return Editor->Shown; }));
    EXPECT_EQ(Editor->Loaded, L"First");
}

TEST_F(CvTreeEditClickTest, ASecondClickOpensTheEditorAfterTheDelayAndAnotherClickCancelsIt) {
    Click(0);
    EXPECT_TRUE(View().EditTimer() == nullptr || !View().EditTimer()->Enabled()); // one click
    Click(0);
    const ULONGLONG Armed = GetTickCount64();
    ASSERT_NE(View().EditTimer(), nullptr);
    EXPECT_TRUE(View().EditTimer()->Enabled());
    ASSERT_TRUE(PumpUntil([&] { return Editor->Shown; }));
    const ULONGLONG Waited = GetTickCount64() - Armed;
    EXPECT_GE(Waited, 60u - 1);
    EXPECT_LE(Waited, 2u * 60u);
    Editor->CompleteOperation(false);

    Click(1);
    Click(1);
    ASSERT_TRUE(View().EditTimer()->Enabled());
    Click(0); // a click elsewhere before the delay is over
    Sleep(100);
    App->ProcessMessages();
    EXPECT_FALSE(Editor->Shown);
}

} // namespace
