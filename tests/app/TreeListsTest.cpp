#include "app/TreeLists.h"

#include "tests/support/GuiTestSupport.h"

#include <gtest/gtest.h>

namespace {

class TreeListsTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Form = NewPlainForm(*App, Bounds(0, 0, 300, 200));
        List = MakeTreeList(*Form, *Form, L"lvTest", Bounds(0, 0, 300, 200));
        AddHeaderColumn(*List, L"Name", 200);
        for (const wchar_t* Row : {L"one", L"two", L"three"})
            AddListRow(*List, Row, {}, -1, true);
        Form->Show();
        App->ProcessMessages();
    }
    TCvTreeItem* Row(int Index) const { return List->Items().ItemAtIndex(Index); }

    TForm* Form = nullptr;
    TCvTree* List = nullptr;
};

} // namespace

TEST_F(TreeListsTest, AListIsMadeWithOneChosenRowFlatBarsAndNoThemes) {
    EXPECT_FALSE(List->MultiSelect());
    EXPECT_TRUE(List->AlwaysKeepFocus);
    EXPECT_TRUE(List->RightClickSelect);
    EXPECT_FALSE(List->UseXPThemes());
    for (TCvScrollBarStyles* Styles :
         {&List->HorzScrollBarStyles(), &List->VertScrollBarStyles()}) {
        const TCustomCvScrollBar& Bar = Styles->Bar();
        SCOPED_TRACE(Bar.Kind() == sbVertical ? "vertical" : "horizontal");
        EXPECT_EQ(Styles->Width(), 16);
        EXPECT_EQ(Bar.ButtonSize(), 16);
        EXPECT_FALSE(Bar.UseSystemMetrics());
        EXPECT_TRUE(Bar.Flat && Bar.ActiveFlat && Bar.OwnerDraw);
        EXPECT_FALSE(Bar.DrawBars) << "no grip bars";
        EXPECT_FALSE(Bar.UseXPThemes());
        EXPECT_EQ(Bar.ShowTrackHint, Bar.Kind() == sbVertical);
    }
}

TEST_F(TreeListsTest, FocusMovedInCodeMovesTheOneChosenRowAndAPressBesideTheRowsKeepsIt) {
    List->SetFocusedItem(Row(0));
    List->SetFocusedItem(Row(2));
    EXPECT_EQ(List->SelectedCount(), 1);
    EXPECT_FALSE(Row(0)->IsSelected());
    EXPECT_TRUE(Row(2)->IsSelected());

    // Below the last row: nothing there to choose, and the choice stays.
    const HWND View = List->TreeView().Handle();
    SendMessageW(View, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 180));
    SendMessageW(View, WM_LBUTTONUP, 0, MAKELPARAM(20, 180));
    EXPECT_EQ(List->GetFocusedItem(), Row(2));
    EXPECT_TRUE(Row(2)->IsSelected());
}
