// The tree-list tells a test driving the program where a row's text or check box is on screen;
// a click there must reach that part of that row.
#include "classlib/gui/WindowProbe.h"
#include "tests/treelist/TreeControlSupport.h"
#include "tests/treelist/TreeTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CvTreeProbeTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Form = NewPlainForm(*App, TRect{100, 100, 500, 400});
        Tree = new TCvTree(Form);
        Tree->Name = L"lvRows";
        Tree->SetMeasurer(&Measurer);
        Tree->SetParent(Form);
        Tree->SetBounds(10, 10, 300, 200);
        Tree->SetAutoLineHeight(false);
        Tree->SetLineHeight(17);
        Tree->SetShowCheckboxes(true);
        Tree->ChangeDelay = 0;
        Tree->Items().BeginUpdate();
        for (int I = 0; I < 40; ++I) {
            TCvTreeItem* Item = Tree->Items().AddChild(nullptr, L"Row " + std::to_wstring(I));
            // Row 7 has no check box.
            Item->SetCheckBoxShown(I != 7);
            Item->SetFlag(ifCheckBoxEnabled, true);
        }
        Tree->Items().EndUpdate();
        Form->Show();
    }
    TCvTreeView& View() const { return Tree->TreeView(); }
    LRESULT Ask(TProbeQuery Query, const String& Text) const {
        const TProbeRow Row{Text};
        return Tree->Perform(CM_PROBEROW, Query, reinterpret_cast<LPARAM>(&Row));
    }
    TCvTreeItem* Find(const String& Text) const {
        for (int I = 0; I < Tree->Items().TotalCount(); ++I)
            if (Tree->Items().ItemAtIndex(I)->Text() == Text)
                return Tree->Items().ItemAtIndex(I);
        return nullptr;
    }
    // The view's client point of an answer.
    TPoint InView(LRESULT Answer) const { return View().ScreenToClient(ProbePoint(Answer)); }

    TFixedMeasurer Measurer;
    TForm* Form = nullptr;
    TCvTree* Tree = nullptr;
};

TEST_F(CvTreeProbeTest, AnswersThePartOfTheRowAndScrollsItIntoView) {
    struct TCase {
        const wchar_t* Row;
        TProbeQuery Query;
        TCvItemPart Part;
    };
    const TCase Cases[] = {
        {L"Row 2", pqRowText, ipMainText},      {L"Row 2", pqRowCheckBox, ipCheckBox},
        {L"Row 35", pqRowText, ipMainText},     // far below the first page
        {L"Row 1", pqRowCheckBox, ipCheckBox},  // back above it
        {L"Row 39", pqRowCheckBox, ipCheckBox}, // the last row, not cut off
    };
    for (const TCase& C : Cases) {
        const LRESULT Answer = Ask(C.Query, C.Row);
        ASSERT_TRUE(ProbeAnswered(Answer)) << Narrow(C.Row);
        const TPoint At = InView(Answer);
        EXPECT_GE(At.Y, 0) << Narrow(C.Row);
        EXPECT_LT(At.Y, View().ClientHeight()) << Narrow(C.Row);
        int Section = -1;
        TCvItemPart Part = ipOutside;
        EXPECT_EQ(View().GetItemAt(At.X, At.Y, Section, Part), Find(C.Row)) << Narrow(C.Row);
        EXPECT_EQ(Part, C.Part) << Narrow(C.Row);
    }
}

TEST_F(CvTreeProbeTest, AClickAtTheAnswerChecksOrFocusesThatRow) {
    const TPoint Box = InView(Ask(pqRowCheckBox, L"Row 30"));
    SendMessageW(View().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Box.X, Box.Y));
    SendMessageW(View().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(Box.X, Box.Y));
    EXPECT_TRUE(Find(L"Row 30")->IsChecked());
    EXPECT_EQ(Tree->GetFocusedItem(), nullptr); // a check box does not focus

    const TPoint Text = InView(Ask(pqRowText, L"Row 12"));
    SendMessageW(View().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Text.X, Text.Y));
    SendMessageW(View().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(Text.X, Text.Y));
    EXPECT_EQ(Tree->GetFocusedItem(), Find(L"Row 12"));
    EXPECT_FALSE(Find(L"Row 12")->IsChecked());
}

TEST_F(CvTreeProbeTest, RowsThatCannotBeClickedAreNotAnswered) {
    Tree->SetFilteredVisibility(true);
    Find(L"Row 3")->SetHiddenState(true);
    struct TCase {
        const wchar_t* Row;
        TProbeQuery Query;
    };
    const TCase Cases[] = {
        {L"Row", pqRowText},        // a text is matched whole
        {L"Row 40", pqRowText},     //
        {L"Row 7", pqRowCheckBox},  // a row without a check box
        {L"Row 3", pqRowText},      // hidden by the filter
        {L"Row 5", TProbeQuery(1)}, // not a row question
    };
    for (const TCase& C : Cases)
        EXPECT_FALSE(ProbeAnswered(Ask(C.Query, C.Row))) << Narrow(C.Row);
    EXPECT_TRUE(ProbeAnswered(Ask(pqRowText, L"Row 7")));
}

TEST_F(CvTreeProbeTest, TheFormPassesARowQuestionToTheNamedList) {
    const ATOM Atom = GlobalAddAtomW(L"lvRows\nRow 20");
    const LRESULT Answer = AnswerProbe(*Form, pqRowText, Atom);
    GlobalDeleteAtom(Atom);
    ASSERT_TRUE(ProbeAnswered(Answer));
    const TPoint At = InView(Answer);
    int Section = -1;
    TCvItemPart Part = ipOutside;
    EXPECT_EQ(View().GetItemAt(At.X, At.Y, Section, Part), Find(L"Row 20"));
}

} // namespace
