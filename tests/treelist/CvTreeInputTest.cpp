#include "classlib/gui/Menus.h"
#include "tests/treelist/TreeControlSupport.h"
#include "tests/treelist/DibSurface.h"
#include "tests/treelist/TreeTestSupport.h"
#include "treelist/CvTreeNav.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// ------------------------------------------------------------ navigation target (no window)

TEST(CvTreeNavigation, TargetsSkipDisabledItemsAndStayAtTheEnds) {
    // A B C D E F G; C and F disabled.
    TTestTree T({L"A", L"B", L"C", L"D", L"E", L"F", L"G"});
    T.Find(L"C")->SetFlag(ifEnabled, false);
    T.Find(L"F")->SetFlag(ifEnabled, false);
    T.CountVisibleItems();
    struct TCase {
        const wchar_t* Focused; // nullptr: no focused item
        TCvNavKey Key;
        int PageSteps;
        const wchar_t* Target; // nullptr: no target
        int VisIndex;
    };
    const TCase Cases[] = {
        {L"D", TCvNavKey::Up, 0, L"B", 1},         // over the disabled C
        {L"B", TCvNavKey::Down, 0, L"D", 3},       //
        {L"G", TCvNavKey::Down, 0, L"G", 6},       // the last row keeps the focus
        {L"A", TCvNavKey::Up, 0, L"A", 0},         // so does the first
        {nullptr, TCvNavKey::Up, 0, L"A", 0},      // no focus: the first enabled item
        {nullptr, TCvNavKey::Down, 0, L"A", 0},    //
        {nullptr, TCvNavKey::Home, 0, nullptr, 0}, // Home, End and the pages need a focus
        {nullptr, TCvNavKey::End, 0, nullptr, 0},
        {nullptr, TCvNavKey::PageDown, 3, nullptr, 0},
        {L"D", TCvNavKey::Home, 0, L"A", 0},
        {L"B", TCvNavKey::End, 0, L"G", 6},
        // A page of N steps counts the focused item as the first: N - 1 enabled items further.
        {L"A", TCvNavKey::PageDown, 3, L"D", 3}, // A, B, (C), D
        {L"D", TCvNavKey::PageDown, 4, L"G", 6}, // D, E, (F), G
        {L"D", TCvNavKey::PageDown, 9, L"G", 6}, // runs out: the last one reached
        {L"G", TCvNavKey::PageUp, 3, L"D", 3},   // G, (F), E, D
        {L"B", TCvNavKey::PageUp, 5, L"A", 0},
        {L"E", TCvNavKey::PageDown, 1, L"G", 6}, // a page of one row still moves
    };
    for (const TCase& C : Cases) {
        T.SetFocusedItem(C.Focused ? T.Find(C.Focused) : nullptr);
        const TCvNavTarget Got = NavigationTargetOf(T, C.Key, C.PageSteps);
        const std::string Name = (C.Focused ? Narrow(C.Focused) : "-") + " key " +
                                 std::to_string(static_cast<int>(C.Key));
        if (!C.Target) {
            EXPECT_EQ(Got.Item, nullptr) << Name;
            continue;
        }
        ASSERT_NE(Got.Item, nullptr) << Name;
        EXPECT_EQ(Narrow(Got.Item->Text()), Narrow(C.Target)) << Name;
        EXPECT_EQ(Got.VisIndex, C.VisIndex) << Name;
    }
}

TEST(CvTreeNavigation, CollapsedChildrenAreNotVisitedAndIgnoreEnabledVisitsDisabledItems) {
    TTestTree T({L"A", L"\tA1", L"B"});
    T.Find(L"B")->SetFlag(ifEnabled, false);
    T.CountVisibleItems();
    T.SetFocusedItem(T.Find(L"A"));
    EXPECT_EQ(NavigationTargetOf(T, TCvNavKey::Down, 0).Item, T.Find(L"A")); // B is disabled
    T.IgnoreEnabled = true;
    EXPECT_EQ(NavigationTargetOf(T, TCvNavKey::Down, 0).Item, T.Find(L"B"));
    T.Find(L"A")->ExpandItem(false);
    T.CountVisibleItems();
    EXPECT_EQ(NavigationTargetOf(T, TCvNavKey::Down, 0).Item, T.Find(L"A1"));
}

// ------------------------------------------------------------ the view under synthetic messages

class CvTreeInputTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        BYTE Keys[256] = {};
        SetKeyboardState(Keys);
        Form = NewPlainForm(*App, TRect{0, 0, 400, 300});
        Tree = new TCvTree(Form);
        Tree->SetMeasurer(&Measurer);
        Tree->SetParent(Form);
        Tree->SetBounds(0, 0, 300, 200);
        Tree->SetAutoLineHeight(false);
        Tree->SetLineHeight(17);
        Tree->SetShowRootButtons(true);
        Form->Show();
        Wnd = View().Handle();
    }
    void TearDown() override {
        BYTE Keys[256] = {};
        SetKeyboardState(Keys);
        GuiTest::TearDown();
    }
    TCvTreeView& View() const { return Tree->TreeView(); }
    // Tab-indented lines; every row's text box from x 60 to 100, as a paint would record it.
    void Fill(const std::vector<TCvString>& Lines) {
        Tree->Items().AssignLines(Lines);
        View().FillRows(0);
        PinTextRects();
    }
    // The hit test reads the text rectangles painting records; the tests place every text at
    // 60-100 and place it again after a step that repaints (an expansion, a new selection).
    void PinTextRects() {
        for (int I = 0; I < Tree->Items().TotalCount(); ++I) {
            TCvTreeItem* Item = Tree->Items().ItemAtIndex(I);
            Item->TextLeft = 60;
            Item->TextRight = 100;
        }
    }
    TCvTreeItem* Vis(int Index) const { return Tree->Items().GetVisItem(Index); }
    TCvTreeItem* Find(const TCvString& Text) const {
        for (int I = 0; I < Tree->Items().TotalCount(); ++I)
            if (Tree->Items().ItemAtIndex(I)->Text() == Text)
                return Tree->Items().ItemAtIndex(I);
        return nullptr;
    }
    static int RowY(int Row) { return Row * 17 + 8; }
    // The first x of the row whose hit-test part is Part.
    int XOf(int Row, TCvItemPart Part) const {
        for (int X = 0; X < View().Width(); ++X) {
            int Section = -1;
            TCvItemPart Got = ipOutside;
            View().GetItemAt(X, RowY(Row), Section, Got);
            if (Got == Part)
                return X;
        }
        ADD_FAILURE() << "no part " << Part << " on row " << Row;
        return 0;
    }
    void Send(UINT Msg, WPARAM W, int X, int Y) { SendMessageW(Wnd, Msg, W, MAKELPARAM(X, Y)); }
    void Click(int X, int Y, WPARAM Keys = 0) {
        Send(WM_LBUTTONDOWN, MK_LBUTTON | Keys, X, Y);
        Send(WM_LBUTTONUP, Keys, X, Y);
    }
    void ClickRow(int Row, WPARAM Keys = 0) { Click(80, RowY(Row), Keys); }
    // A key with the given modifiers held (VK_SHIFT, VK_CONTROL) as the keyboard state shows them.
    void Key(WORD Code, std::initializer_list<BYTE> Held = {}) {
        BYTE Keys[256] = {};
        for (const BYTE H : Held)
            Keys[H] = 0x80;
        SetKeyboardState(Keys);
        SendMessageW(Wnd, WM_KEYDOWN, Code, 1);
        BYTE None[256] = {};
        SetKeyboardState(None);
    }
    std::string Selected() const {
        std::string S;
        for (int I = 0; I < Tree->Items().TotalCount(); ++I) {
            const TCvTreeItem* Item = Tree->Items().ItemAtIndex(I);
            if (Item->IsSelected())
                S += (S.empty() ? "" : " ") + Narrow(Item->Text());
        }
        return S;
    }
    std::string FocusedText() const {
        return Tree->GetFocusedItem() ? Narrow(Tree->GetFocusedItem()->Text()) : "-";
    }
    void Record(const char* Name) { Events.push_back(Name); }
    int Count(const std::string& Name) const {
        return static_cast<int>(std::count(Events.begin(), Events.end(), Name));
    }
    void RecordEvents() {
        Tree->OnItemChecked = [this](TCvTreeCore*, TCvTreeItem*) { Record("checked"); };
        Tree->OnItemChange = [this](TCvTreeCore*, TCvTreeItem*, TItemChangeMode M) {
            if (M == icmCheckState)
                Record("check-change");
        };
        Tree->OnItemFocused = [this](TCvTreeCore*) { Record("focused"); };
        Tree->OnAfterSelectionChange = [this](TCvTreeCore*) { Record("after-selection"); };
        Tree->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
            Record("down");
        };
        Tree->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { Record("up"); };
        Tree->OnClick = [this](TObject*) { Record("click"); };
        Tree->OnDblClick = [this](TObject*) { Record("dblclick"); };
    }

    TFixedMeasurer Measurer;
    TForm* Form = nullptr;
    TCvTree* Tree = nullptr;
    HWND Wnd = nullptr;
    std::vector<std::string> Events;
};

TEST_F(CvTreeInputTest, AskingForArrowsAndCharacters) {
    EXPECT_EQ(SendMessageW(Wnd, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

TEST_F(CvTreeInputTest, CheckBoxCyclesOnTheReleaseWithoutSelecting) {
    Fill({L"Three", L"Two", L"Radio1", L"Radio2", L"Off"});
    Tree->ChangeDelay = 0;
    Tree->SetShowCheckboxes(true);
    for (int I = 0; I < 5; ++I) {
        Vis(I)->SetCheckBoxShown(true);
        Vis(I)->SetFlag(ifCheckBoxEnabled, true);
    }
    Vis(0)->SetCheckBoxType(1);
    Vis(2)->SetCheckBoxType(2);
    Vis(3)->SetCheckBoxType(2);
    Vis(4)->SetFlag(ifCheckBoxEnabled, false);
    RecordEvents();
    const int X = XOf(0, ipCheckBox);

    // Three-state: unchecked, grayed, checked, unchecked; each release reports the change.
    std::vector<int> States;
    for (int I = 0; I < 3; ++I) {
        Click(X, RowY(0));
        States.push_back(Vis(0)->CheckBoxState());
    }
    EXPECT_EQ(States, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(Count("checked"), 3);
    EXPECT_EQ(Count("check-change"), 3);
    EXPECT_EQ(Count("focused"), 0); // a check box neither focuses nor selects
    EXPECT_EQ(Selected(), "");

    // Two-state inverts; a press on one box and the release on another toggles the released one.
    Click(X, RowY(1));
    EXPECT_TRUE(Vis(1)->IsChecked());
    Send(WM_LBUTTONDOWN, MK_LBUTTON, X, RowY(1));
    Send(WM_LBUTTONUP, 0, X, RowY(0));
    EXPECT_TRUE(Vis(1)->IsChecked());
    EXPECT_EQ(Vis(0)->CheckBoxState(), 2);

    // A radio item is checked, unchecks its sibling, and stays checked when clicked again.
    Events.clear();
    Click(X, RowY(2));
    Click(X, RowY(3));
    EXPECT_FALSE(Vis(2)->IsChecked());
    EXPECT_TRUE(Vis(3)->IsChecked());
    Click(X, RowY(3));
    EXPECT_TRUE(Vis(3)->IsChecked());
    EXPECT_EQ(Count("checked"), 3);

    // A check box that is not enabled does not react.
    Events.clear();
    Click(X, RowY(4));
    EXPECT_FALSE(Vis(4)->IsChecked());
    EXPECT_EQ(Count("checked"), 0);
}

TEST_F(CvTreeInputTest, SingleClickFocusesAndSelectsWithOneEventEach) {
    Fill({L"A", L"B", L"C"});
    Tree->SetMultiSelect(false);
    Tree->ChangeDelay = 0;
    RecordEvents();
    ClickRow(1);
    EXPECT_EQ(FocusedText(), "B");
    EXPECT_EQ(Selected(), "B");
    EXPECT_EQ(Tree->GetSelectedItem(), Vis(1));
    EXPECT_EQ(Events,
              (std::vector<std::string>{"focused", "after-selection", "down", "click", "up"}));
    EXPECT_EQ(GetFocus(), Wnd); // the press focuses the view

    // Clicking it again changes nothing; a click on another row moves both.
    Events.clear();
    ClickRow(1);
    EXPECT_EQ(Count("focused"), 0);
    EXPECT_EQ(Count("after-selection"), 0);
    ClickRow(2);
    EXPECT_EQ(Selected(), "C");
    EXPECT_EQ(Count("focused"), 1);
}

TEST_F(CvTreeInputTest, WhereAPressSelects) {
    Fill({L"A", L"B"});
    Tree->SetMultiSelect(false);
    struct TCase {
        bool Columns, RowSelect, ClickSelect;
        int X;
        bool Selects, MouseDown;
    };
    // Without columns a press right of the text counts only under RowSelect; with columns the
    // rest of the main cell selects under RowSelect, and a column that does not select takes the
    // press entirely.
    const TCase Cases[] = {
        {false, false, true, 150, false, true}, {false, true, true, 150, true, true},
        {true, false, true, 110, false, true},  {true, true, true, 110, true, true},
        {true, true, true, 150, true, true},    {true, true, false, 150, false, false},
    };
    for (const TCase& C : Cases) {
        if (C.Columns && Tree->HeaderControl().Sections().SectionCount() == 0) {
            Tree->HeaderControl().Sections().AppendSection()->SetWidth(120);
            Tree->HeaderControl().Sections().AppendSection()->SetWidth(100);
        }
        Tree->SetShowColumns(C.Columns);
        Tree->SetRowSelect(C.RowSelect);
        if (C.Columns)
            Tree->HeaderControl().Sections().ItemByIndex(1)->SetClickSelect(C.ClickSelect);
        Tree->SetFocusedItem(nullptr);
        Events.clear();
        RecordEvents();
        const std::string Name = std::to_string(C.Columns) + std::to_string(C.RowSelect) +
                                 std::to_string(C.ClickSelect) + " x " + std::to_string(C.X);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, C.X, RowY(1));
        Send(WM_LBUTTONUP, 0, C.X, RowY(1));
        EXPECT_EQ(Tree->GetFocusedItem() == Vis(1), C.Selects) << Name;
        EXPECT_EQ(Count("down"), C.MouseDown ? 1 : 0) << Name;
    }
}

TEST_F(CvTreeInputTest, DisabledRowsIgnorePressesAndSwallowReleases) {
    Fill({L"A", L"B", L"C"});
    Tree->SetMultiSelect(false);
    Vis(1)->SetFlag(ifEnabled, false);
    RecordEvents();
    ClickRow(1);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 80, RowY(1));
    EXPECT_EQ(Tree->GetFocusedItem(), nullptr);
    EXPECT_EQ(Events, (std::vector<std::string>{"down"})); // no up, click or double click

    // The keyboard steps over it.
    ClickRow(0);
    Key(VK_DOWN);
    EXPECT_EQ(FocusedText(), "C");

    Tree->IgnoreEnabled = true;
    Events.clear();
    ClickRow(1);
    EXPECT_EQ(FocusedText(), "B");
    EXPECT_EQ(Count("up"), 1);
}

TEST_F(CvTreeInputTest, MultiSelectionWithCtrlShiftAndTheDeferredPlainClick) {
    Fill({L"A", L"B", L"C", L"D", L"E"});
    Tree->SetMultiSelect(true);
    ClickRow(1);
    EXPECT_EQ(Selected(), "B");
    ClickRow(3, MK_CONTROL);
    EXPECT_EQ(Selected(), "B D");
    ClickRow(1, MK_CONTROL); // Ctrl on a selected item takes it out
    EXPECT_EQ(Selected(), "D");
    EXPECT_EQ(FocusedText(), "B");

    // Shift selects from the anchor (the last plain click) to the item.
    ClickRow(1);
    ClickRow(3, MK_SHIFT);
    EXPECT_EQ(Selected(), "B C D");
    EXPECT_EQ(FocusedText(), "D");
    EXPECT_EQ(Tree->GetSelectedItem(), Vis(1));

    // A plain press on a selected item waits for the release, which keeps that item alone.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 80, RowY(2));
    EXPECT_EQ(Selected(), "B C D");
    EXPECT_EQ(FocusedText(), "C");
    Send(WM_LBUTTONUP, 0, 80, RowY(2));
    EXPECT_EQ(Selected(), "C");
    EXPECT_EQ(Tree->GetSelectedItem(), Vis(2));
}

TEST_F(CvTreeInputTest, AnItemDeletedBetweenPressAndReleaseIsForgotten) {
    Fill({L"A", L"B", L"C"});
    Tree->SetMultiSelect(true);
    ClickRow(1);
    ClickRow(2, MK_CONTROL);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 80, RowY(1)); // deferred to the release
    Find(L"B")->Delete();
    View().FillRows(0);
    Send(WM_LBUTTONUP, 0, 80, RowY(1));
    EXPECT_EQ(Tree->Items().TotalCount(), 2);
    EXPECT_NE(Tree->GetFocusedItem(), nullptr);
}

// A handler that rebuilds the list in the middle of a user action: the action goes on with what
// is left and never reads the freed rows (the tests' heap poisons them).
TEST_F(CvTreeInputTest, UserActionsSurviveAHandlerThatRebuildsTheList) {
    struct TCase {
        const char* Name;
        bool MultiSelect;
        std::function<void(TRefill&)> Arm;
        std::function<void()> Act;
    };
    const TCase Cases[] = {
        {"type-to-search, focus handler refills", true,
         [this](TRefill& R) {
             Tree->IncrementalSearch = true;
             Tree->OnItemFocused = [this, &R](TCvTreeCore*) { R(*Tree); };
         },
         [this] { Send(WM_CHAR, L'b', 0, 0); }},
        {"click on a row, focus handler refills", false,
         [this](TRefill& R) { Tree->OnItemFocused = [this, &R](TCvTreeCore*) { R(*Tree); }; },
         [this] { ClickRow(2); }},
        {"shift and arrow, selection handler refills", true,
         [this](TRefill& R) {
             Tree->OnItemSelectedChange = [this, &R](TCvTreeCore*, TCvTreeItem*) { R(*Tree); };
         },
         [this] { Key(VK_DOWN, {VK_SHIFT}); }},
        {"ctrl and arrow, selection handler refills", true,
         [this](TRefill& R) {
             Tree->OnItemSelectedChange = [this, &R](TCvTreeCore*, TCvTreeItem*) { R(*Tree); };
         },
         [this] { Key(VK_DOWN, {VK_CONTROL}); }},
        {"right arrow expands, expand handler refills", false,
         [this](TRefill& R) {
             Tree->OnItemExpand = [this, &R](TCvTreeCore*, TCvTreeItem*) { R(*Tree); };
         },
         [this] { Key(VK_RIGHT); }},
        {"press on the button, expand handler refills", false,
         [this](TRefill& R) {
             Tree->OnItemExpand = [this, &R](TCvTreeCore*, TCvTreeItem*) { R(*Tree); };
         },
         [this] { Click(XOf(0, ipButton), RowY(0)); }},
        {"edit, try-edit handler refills", false,
         [this](TRefill& R) {
             Tree->OnTryEdit = [this, &R](TCvTreeCore*, TCvTreeItem*, int, TCvFieldType&, bool&) {
                 R(*Tree);
             };
         },
         [this] { Tree->EditItem(Find(L"B"), -1); }},
        {"edit, editor-needed handler refills", false,
         [this](TRefill& R) {
             Tree->OnInplaceEditorNeeded = [this, &R](TObject*, TCvTreeItem*, int, TCvFieldType,
                                                      TCvTreeInplaceEditor*&) { R(*Tree); };
         },
         [this] { Tree->EditItem(Find(L"B"), -1); }},
    };
    for (const TCase& C : Cases) {
        Tree->IncrementalSearch = false;
        Tree->SetMultiSelect(C.MultiSelect);
        Tree->ChangeDelay = 0;
        Fill({L"A", L"\tA1", L"B", L"C"});
        Tree->SetFocusedItem(Find(L"A"));
        TRefill Refill;
        Refill.Armed = false;
        C.Arm(Refill);
        Refill.Armed = true;
        C.Act();
        EXPECT_EQ(Refill.Done, 1) << C.Name;
        EXPECT_EQ(FlatShape(*Tree), Refill.Shape()) << C.Name;
        EXPECT_FALSE(View().EditorShown()) << C.Name;
        Send(WM_LBUTTONUP, 0, 0, 0);
        // The handlers hold this case's refill.
        Tree->OnItemFocused = nullptr;
        Tree->OnItemSelectedChange = nullptr;
        Tree->OnItemExpand = nullptr;
        Tree->OnTryEdit = nullptr;
        Tree->OnInplaceEditorNeeded = nullptr;
    }
}

TEST_F(CvTreeInputTest, ACheckHandlerThatDeletesItsRowGetsNoChangeEventForIt) {
    Fill({L"A", L"B"});
    Tree->SetShowCheckboxes(true);
    for (int I = 0; I < 2; ++I) {
        Vis(I)->SetCheckBoxShown(true);
        Vis(I)->SetFlag(ifCheckBoxEnabled, true);
    }
    std::vector<TCvTreeItem*> Changed;
    Tree->OnItemChecked = [](TCvTreeCore*, TCvTreeItem* Item) { Item->Delete(); };
    Tree->OnItemChange = [&Changed](TCvTreeCore*, TCvTreeItem* Item, TItemChangeMode Mode) {
        if (Mode == icmCheckState)
            Changed.push_back(Item);
    };
    Click(XOf(1, ipCheckBox), RowY(1));
    EXPECT_EQ(FlatShape(*Tree), "A");
    EXPECT_TRUE(Changed.empty());
}

TEST_F(CvTreeInputTest, RightPressSelectsAndAPressOnTheButtonExpands) {
    Fill({L"A", L"\tA1", L"B"});
    Tree->SetMultiSelect(false);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 80, RowY(1));
    Send(WM_RBUTTONUP, 0, 80, RowY(1));
    EXPECT_EQ(FocusedText(), "B");
    Tree->RightClickSelect = false;
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 80, RowY(0));
    EXPECT_EQ(FocusedText(), "B");

    const int X = XOf(0, ipButton);
    Click(X, RowY(0));
    EXPECT_TRUE(Vis(0)->IsExpanded());
    EXPECT_EQ(FocusedText(), "B"); // the button does not select
    PinTextRects();
    Click(X, RowY(0));
    EXPECT_FALSE(Vis(0)->IsExpanded());
    PinTextRects();

    // A double click on the text expands (DblClickMode dcmExpand).
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 80, RowY(0));
    EXPECT_TRUE(Find(L"A")->IsExpanded());
}

TEST_F(CvTreeInputTest, OutsideTheMultiSelectLevelAnItemIsSelectedAlone) {
    Fill({L"A", L"\tA1", L"B", L"C"});
    Tree->SetMultiSelect(true);
    Tree->SetMultiSelectLevel(0);
    Find(L"A")->ExpandItem(false);
    View().FillRows(0);
    ClickRow(0);
    ClickRow(1, MK_CONTROL); // A1 is one level down
    EXPECT_EQ(Selected(), "A1");
    ClickRow(2, MK_CONTROL); // the first selected item is off the level
    EXPECT_EQ(Selected(), "B");
    ClickRow(3, MK_CONTROL);
    EXPECT_EQ(Selected(), "B C");
}

TEST_F(CvTreeInputTest, DoubleClicksPassOnExceptOnTheButtonAndTheCheckBox) {
    Fill({L"A", L"\tA1", L"B"});
    Tree->SetShowCheckboxes(true);
    Find(L"A")->SetCheckBoxShown(true);
    RecordEvents();
    struct TCase {
        TCvItemPart Part;
        int DblClicks;
    };
    const TCase Cases[] = {{ipMainText, 1}, {ipButton, 0}, {ipCheckBox, 0}};
    for (const TCase& C : Cases) {
        Events.clear();
        Send(WM_LBUTTONDBLCLK, MK_LBUTTON, XOf(0, C.Part), RowY(0));
        EXPECT_EQ(Count("dblclick"), C.DblClicks) << C.Part;
    }
}

TEST_F(CvTreeInputTest, KeysNotifyTheFocusAfterTheDelayAndPressesAtOnce) {
    Fill({L"A", L"B", L"C"});
    Tree->SetMultiSelect(false);
    Tree->ChangeDelay = 50;
    RecordEvents();
    ClickRow(0);
    EXPECT_EQ(Count("focused"), 1);
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(FocusedText(), "C");
    EXPECT_EQ(Count("focused"), 1);
    EXPECT_TRUE(PumpUntil([this] { return Count("focused") == 2; }));
    Sleep(100);
    App->ProcessMessages();
    EXPECT_EQ(Count("focused"), 2); // two quick keys, one notice
}

TEST_F(CvTreeInputTest, TheViewKnowsWhetherItHasTheFocus) {
    Fill({L"A"});
    ::SetFocus(Wnd);
    EXPECT_TRUE(View().HasFocus());
    ::SetFocus(Form->Handle());
    EXPECT_FALSE(View().HasFocus());
}

TEST_F(CvTreeInputTest, FrameStartsAtFivePixelsNotFour) {
    Fill({L"A", L"B", L"\tB1", L"C", L"D", L"E"}); // B1 under the collapsed B
    Tree->SetMultiSelect(true);
    Tree->MouseFrameSelect = true;
    Tree->SetRowSelect(false);
    RecordEvents();
    PinTextRects();
    ClickRow(0);
    PinTextRects();
    Events.clear();
    // Press left of the texts (x 5, inside the rows' width, where a press selects nothing) on B,
    // move 4 pixels: nothing yet.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 5, RowY(1) - 4);
    EXPECT_EQ(Selected(), "A");
    Send(WM_MOUSEMOVE, MK_LBUTTON, 5, RowY(1));
    EXPECT_EQ(Selected(), "A");
    EXPECT_EQ(Count("after-selection"), 0);
    // Five pixels (3, 4) from the press: the frame starts, drops the old selection and takes B.
    Send(WM_MOUSEMOVE, MK_LBUTTON, 8, RowY(1));
    EXPECT_EQ(Selected(), "B");
    Send(WM_MOUSEMOVE, MK_LBUTTON, 20, RowY(3));
    EXPECT_EQ(Selected(), "B C D");
    Send(WM_MOUSEMOVE, MK_LBUTTON, 20, RowY(2));
    EXPECT_EQ(Selected(), "B C");
    Send(WM_LBUTTONUP, 0, 20, RowY(2));
    EXPECT_EQ(Selected(), "B C");
    EXPECT_FALSE(View().MouseCapture());
}

TEST_F(CvTreeInputTest, ArrowsAndTheEndKeys) {
    Fill({L"A", L"\tA1", L"B", L"C"});
    Tree->SetMultiSelect(false);
    Tree->ChangeDelay = 0;
    // Home and End without a focused item do nothing; Up focuses the first item.
    Key(VK_HOME);
    Key(VK_END);
    EXPECT_EQ(FocusedText(), "-");
    Key(VK_UP);
    EXPECT_EQ(FocusedText(), "A");
    Key(VK_END);
    EXPECT_EQ(FocusedText(), "C");
    Key(VK_DOWN); // the last row keeps the focus
    EXPECT_EQ(FocusedText(), "C");
    EXPECT_EQ(Selected(), "C");
    Key(VK_HOME);
    EXPECT_EQ(FocusedText(), "A");

    // Right expands, then steps to the first child; Left steps back and collapses. Left on a
    // top-level item and Right on one without shown children leave the focus where it is.
    Key(VK_RIGHT);
    EXPECT_TRUE(Find(L"A")->IsExpanded());
    EXPECT_EQ(FocusedText(), "A");
    Key(VK_RIGHT);
    EXPECT_EQ(FocusedText(), "A1");
    Key(VK_RIGHT);
    EXPECT_EQ(FocusedText(), "A1");
    Key(VK_LEFT);
    EXPECT_EQ(FocusedText(), "A");
    Key(VK_LEFT);
    EXPECT_FALSE(Find(L"A")->IsExpanded());
    Key(VK_LEFT);
    EXPECT_EQ(FocusedText(), "A");

    // Numpad keys: + expands, - collapses, * expands all levels.
    Key(VK_ADD);
    EXPECT_TRUE(Find(L"A")->IsExpanded());
    Key(VK_SUBTRACT);
    EXPECT_FALSE(Find(L"A")->IsExpanded());
    Key(VK_MULTIPLY);
    EXPECT_TRUE(Find(L"A")->IsExpanded());
    // Backspace goes to the parent.
    Key(VK_DOWN);
    EXPECT_EQ(FocusedText(), "A1");
    Key(VK_BACK);
    EXPECT_EQ(FocusedText(), "A");
}

TEST_F(CvTreeInputTest, RightAlignedTreeSwapsLeftAndRight) {
    Fill({L"A", L"\tA1"});
    Tree->SetRightAlignedTree(true);
    Tree->SetFocusedItem(Vis(0));
    Key(VK_LEFT);
    EXPECT_TRUE(Vis(0)->IsExpanded());
    Key(VK_RIGHT);
    EXPECT_FALSE(Vis(0)->IsExpanded());
}

TEST_F(CvTreeInputTest, KeysWithShiftAndCtrlInMultiSelection) {
    Fill({L"A", L"B", L"C", L"D"});
    Tree->SetMultiSelect(true);
    ClickRow(0);
    Key(VK_DOWN, {VK_SHIFT});
    Key(VK_DOWN, {VK_SHIFT});
    EXPECT_EQ(Selected(), "A B C");
    EXPECT_EQ(FocusedText(), "C");
    Key(VK_UP, {VK_SHIFT});
    EXPECT_EQ(Selected(), "A B");
    // Ctrl moves the focus alone; Space then toggles the focused item.
    Key(VK_DOWN, {VK_CONTROL});
    Key(VK_DOWN, {VK_CONTROL});
    EXPECT_EQ(FocusedText(), "D");
    EXPECT_EQ(Selected(), "A B");
    Key(VK_SPACE, {VK_CONTROL});
    EXPECT_EQ(Selected(), "A B D");
    // A plain arrow selects the new item alone.
    Key(VK_UP);
    EXPECT_EQ(Selected(), "C");
}

TEST_F(CvTreeInputTest, NavigationScrollsTheFocusedItemIntoView) {
    std::vector<TCvString> Lines;
    for (int I = 0; I < 40; ++I)
        Lines.push_back(L"R" + std::to_wstring(I));
    Fill(Lines);
    Tree->SetMultiSelect(false);
    const int Rows = View().GetVisibleRowCount();
    ASSERT_GT(Rows, 3);
    Tree->SetFocusedItem(Vis(0));
    Key(VK_END);
    EXPECT_EQ(FocusedText(), "R39");
    EXPECT_EQ(View().Rows().back(), Vis(39));
    Key(VK_HOME);
    EXPECT_EQ(Tree->TopIndex(), 0);
    Key(VK_NEXT);
    const int AfterPage = Tree->GetFocusedItem()->VisIndex();
    EXPECT_EQ(AfterPage, Rows - 2); // the whole rows of the page, the focused one counting
    for (int I = 0; I < 3; ++I)
        Key(VK_DOWN);
    EXPECT_GT(Tree->TopIndex(), 0);
    EXPECT_TRUE(std::find(View().Rows().begin(), View().Rows().end(), Tree->GetFocusedItem()) !=
                View().Rows().end());
}

TEST_F(CvTreeInputTest, HotTrackingFollowsThePointerAndEndsOnLeave) {
    Fill({L"A", L"B", L"C"});
    Vis(2)->SetFlag(ifEnabled, false);
    std::vector<std::pair<TCvTreeItem*, TCvTreeItem*>> Hot;
    Tree->OnHotTrack = [&Hot](TCvTreeCore*, TCvTreeItem* Old, TCvTreeItem* New) {
        Hot.emplace_back(Old, New);
    };
    Send(WM_MOUSEMOVE, 0, 80, RowY(0));
    Send(WM_MOUSEMOVE, 0, 90, RowY(0));
    Send(WM_MOUSEMOVE, 0, 80, RowY(1));
    Send(WM_MOUSEMOVE, 0, 80, RowY(2)); // disabled: no hot row
    using TPair = std::pair<TCvTreeItem*, TCvTreeItem*>;
    EXPECT_EQ(Hot, (std::vector<TPair>{{nullptr, Vis(0)}, {Vis(0), Vis(1)}, {Vis(1), nullptr}}));
    Send(WM_MOUSEMOVE, 0, 80, RowY(0));
    View().Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Tree->HotItem, nullptr);
}

TEST_F(CvTreeInputTest, ForwardedMouseEventsCarryTreeCoordinates) {
    Tree->HeaderControl().Sections().AppendSection()->SetWidth(150);
    Tree->SetShowColumns(true);
    Fill({L"A"});
    ASSERT_GT(View().Top(), 0); // the header sits above the view
    TPoint Down{-1, -1}, Up{-1, -1}, Move{-1, -1};
    Tree->OnMouseDown = [&Down](TObject*, TMouseButton, TShiftState, int X, int Y) {
        Down = {X, Y};
    };
    Tree->OnMouseUp = [&Up](TObject*, TMouseButton, TShiftState, int X, int Y) { Up = {X, Y}; };
    Tree->OnMouseMove = [&Move](TObject*, TShiftState, int X, int Y) { Move = {X, Y}; };
    Send(WM_MOUSEMOVE, 0, 30, 6);
    Click(30, 7);
    const int DX = View().Left(), DY = View().Top();
    EXPECT_EQ(Move.X, 30 + DX);
    EXPECT_EQ(Move.Y, 6 + DY);
    EXPECT_EQ(Down.X, 30 + DX);
    EXPECT_EQ(Down.Y, 7 + DY);
    EXPECT_EQ(Up.X, 30 + DX);
    EXPECT_EQ(Up.Y, 7 + DY);
}

// A cell control that writes down the mouse traffic that reaches it and where it was painted.
class TProbeControl : public TCvCellControl {
public:
    TProbeControl(std::vector<std::string>& Log, TRect& Painted, bool Takes)
        : FLog(Log), FPainted(Painted), FTakes(Takes) {}
    void SetCellStyle(TCvCellStyle*) override {}
    bool Visible() const override { return true; }
    int BorderWidth() const override { return 2; }
    void Paint(TCanvas&, const TRect& Box) override { FPainted = Box; }
    bool MouseDown(bool Right, int X, int Y) override {
        Note(Right ? "rdown" : "down", X, Y);
        return FTakes;
    }
    void MouseUp(bool Right, int X, int Y) override { Note(Right ? "rup" : "up", X, Y); }
    void Click() override { FLog.push_back("click"); }
    void DoubleClick() override { FLog.push_back("dbl"); }
    void MouseMove(int X, int Y) override { Note("move", X, Y); }
    TPopupMenu* PopupMenu() const override { return Menu; }
    TPopupMenu* Menu = nullptr;

private:
    void Note(const char* What, int X, int Y) {
        FLog.push_back(std::string(What) + " " + std::to_string(X) + "," + std::to_string(Y));
    }
    std::vector<std::string>& FLog;
    TRect& FPainted;
    bool FTakes;
};

// A control in the second column of row A; row B has none.
class CvTreeCellControls : public CvTreeInputTest {
protected:
    void SetUp() override {
        CvTreeInputTest::SetUp();
        for (int I = 0; I < 2; ++I)
            Tree->HeaderControl().Sections().AppendSection()->SetWidth(100);
        Tree->SetShowColumns(true);
        Fill({L"A", L"B"});
        Tree->SetFocusedItem(Vis(1));
        Vis(1)->SetSelected(true);
    }
    TProbeControl* Give(bool Takes) {
        TCvTreeItem* A = Vis(0);
        A->SetFlag(ifUseStyles, true);
        TCvCellStyle* Style = A->AddStyle();
        Style->OwnerProps = false;
        auto* Control = new TProbeControl(Log, Painted, Takes);
        Style->SetControl(Control);
        return Control;
    }
    std::vector<std::string> Log;
    TRect Painted{-1, -1, -1, -1};
};

TEST_F(CvTreeCellControls, TheControlPaintsAndHearsPressReleaseAndClickInItsCell) {
    Give(true);
    TDibSurface Surface(300, 200);
    View().PaintTo(Surface.DC(), TRect(0, 0, 300, 200));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 150, 12);
    Send(WM_LBUTTONUP, 0, 150, 12);
    // Pressed here, released on the row below: the control hears a release elsewhere only.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 160, 5);
    Send(WM_LBUTTONUP, 0, 160, 25);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 120, 5);
    Send(WM_RBUTTONUP, 0, 120, 5);
    // The cell (100, 0)-(200, 17) less the control's border of 2; the press comes at the top of
    // the row's line, the release where it is.
    EXPECT_EQ(Painted, TRect(102, 2, 198, 15));
    EXPECT_EQ(Log, (std::vector<std::string>{"down 50,0", "up 50,12", "click", "down 60,0",
                                             "up -1,-1", "rdown 20,0", "rup 20,5", "click"}));
    EXPECT_EQ(FocusedText(), "A"); // the section selects on a click
}

// Opens nowhere: records where it was asked to.
class TRecordingMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int X, int Y) override { At.push_back(TPoint{X, Y}); }
    std::vector<TPoint> At;
};

TEST_F(CvTreeCellControls, TheControlHearsMovesAndItsMenuOpensOnARightRelease) {
    TProbeControl* Control = Give(true);
    Send(WM_MOUSEMOVE, 0, 150, 12);
    Send(WM_MOUSEMOVE, 0, 150, 30); // row B has no control
    EXPECT_EQ(Log, std::vector<std::string>{"move 50,12"});
    TRecordingMenu Menu(nullptr);
    Control->Menu = &Menu;
    int Ups = 0;
    Tree->OnMouseUp = [&Ups](TObject*, TMouseButton, TShiftState, int, int) { ++Ups; };
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 150, 5);
    Send(WM_RBUTTONUP, 0, 150, 5);
    ASSERT_EQ(Menu.At.size(), 1u);
    const TPoint Screen = View().ClientToScreen(TPoint{150, 5});
    EXPECT_EQ(Menu.At[0].X, Screen.X);
    EXPECT_EQ(Menu.At[0].Y, Screen.Y);
    EXPECT_EQ(Ups, 0); // the menu stands for the release
    Menu.AutoPopup = false;
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 150, 5);
    Send(WM_RBUTTONUP, 0, 150, 5);
    EXPECT_EQ(Menu.At.size(), 1u);
    EXPECT_EQ(Ups, 1);
    Control->Menu = nullptr;
}

TEST_F(CvTreeCellControls, APressTheControlRefusesOnlyGoesOnAndADoubleClickStaysWithIt) {
    Give(false);
    int Downs = 0, DoubleClicks = 0;
    Tree->OnMouseDown = [&Downs](TObject*, TMouseButton, TShiftState, int, int) { ++Downs; };
    Tree->OnDblClick = [&DoubleClicks](TObject*) { ++DoubleClicks; };
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 150, 5);
    Send(WM_LBUTTONUP, 0, 150, 5);
    EXPECT_EQ(Downs, 1);
    EXPECT_EQ(FocusedText(), "B"); // not selected: the press was only passed on
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 150, 5);
    EXPECT_EQ(DoubleClicks, 0);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 150, 22); // row B: no control
    EXPECT_EQ(DoubleClicks, 1);
    EXPECT_EQ(Log, (std::vector<std::string>{"down 50,0", "up 50,5", "dbl"}));
}

} // namespace
