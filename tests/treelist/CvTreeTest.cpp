// The tree-list control without a window: its defaults, refusals and couplings, sorting by
// header clicks, measuring through a fixed measurer, the bars' numbers and the layout of its parts.
#include "tests/treelist/TreeControlSupport.h"
#include "treelist/CvVCLUtils.h"

#include "classlib/rtl/Classes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::pair<int, int> Pair(TSize S) {
    return {S.cx, S.cy};
}

class CvTreeProperties : public TreeTest {};

TEST_F(CvTreeProperties, NewTreeDefaults) {
    const TCvTree& T = *Tree;
    struct TCase {
        const char* Name;
        int Value, Expected;
    };
    const TCase Cases[] = {
        {"ItemIndent", T.ItemIndent(), 17},
        {"ChangeDelay", T.ChangeDelay, 500},
        {"DragExpandDelay", T.DragExpandDelay, 500},
        {"InplaceEditorDelay", T.InplaceEditorDelay, 500},
        {"IncrementalSearchTimeout", T.IncrementalSearchTimeout, 500},
        {"LineHintTimeout", T.LineHintTimeout, 3000},
        {"DragScrollInterval", T.DragScrollInterval, 100},
        {"GradientSteps", T.GradientSteps(), 64},
        {"CheckBoxSize", T.CheckBoxSize(), 15},
        {"PathSeparator", T.PathSeparator, L'\\'},
        {"SortType", T.SortType, stText},
        {"SortUseCase", T.SortUseCase, true},
        {"MultiSelect", T.MultiSelect(), true},
        {"RowSelect", T.RowSelect(), true},
        {"ShowColumns", T.ShowColumns(), false},
        {"ShowCheckboxes", T.ShowCheckboxes, false},
        {"SelectColumn", T.SelectColumn(), -1},
        {"MultiSelectLevel", T.MultiSelectLevel(), -1},
        {"ShowLines", T.ShowLines(), true},
        {"ShowRoot", T.ShowRoot(), false},
        {"ShowButtons", T.ShowButtons(), true},
        {"ShowRootButtons", T.ShowRootButtons(), true},
        {"BkColor", T.BkColor(), clWindow},
        {"TextColor", T.TextColor(), clWindowText},
        {"FocusedSelectColor", T.FocusedSelectColor(), clHighlight},
        {"HideSelectTextColor", T.HideSelectTextColor(), clBtnShadow},
        {"StripedOddColor", T.StripedOddColor(), clBtnShadow},
        {"BackgroundType", T.BackgroundType(), bgtColorFill},
        {"DblClickMode", T.DblClickMode(), dcmExpand},
        {"DragType", T.DragType(), dtDelphi},
        {"TabStop", T.TabStop(), true},
        {"Width", T.Width(), 200},
        {"Height", T.Height(), 100},
        {"UseCustomScrollBars", T.UseCustomScrollBars(), true},
        {"LineHeight", T.LineHeight(), T.TreeView().DefineLineHeight()},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(C.Value, C.Expected) << C.Name;
    EXPECT_EQ(T.OwnerDrawMask, L"~~@~~");
    EXPECT_TRUE(T.DragTrgDrawMode == TCvDragTrgDrawMode::SelColorRect);
}

TEST_F(CvTreeProperties, RefusedValuesChangeNothing) {
    Tree->SetShowColumns(true);
    EXPECT_FALSE(Tree->ShowColumns()); // no section yet
    AddSections({50, 50, 50});
    Tree->SetShowColumns(true);
    EXPECT_TRUE(Tree->ShowColumns());

    Tree->SetMainTreeColumn(2);
    Tree->SetMainTreeColumn(-1);
    EXPECT_EQ(Tree->MainTreeColumn(), 2);
    Tree->SetMainTreeColumn(5);
    EXPECT_EQ(Tree->MainTreeColumn(), 0);

    for (const int Bad : {-2, 3})
        Tree->SetSelectColumn(Bad);
    EXPECT_EQ(Tree->SelectColumn(), -1);
    Tree->SetSelectColumn(2);
    EXPECT_EQ(Tree->SelectColumn(), 2);

    Tree->SetGradientSteps(0);
    EXPECT_EQ(Tree->GradientSteps(), 64);
    Tree->SetGradientSteps(8);
    EXPECT_EQ(Tree->GradientSteps(), 8);

    // With no bitmap: a bitmap type is taken as given once, the next change falls back.
    Tree->SetBackgroundType(bgtTileBitmap);
    EXPECT_EQ(Tree->BackgroundType(), bgtTileBitmap);
    Tree->SetBackgroundType(bgtHorzGradient);
    EXPECT_EQ(Tree->BackgroundType(), bgtColorFill);
    Tree->SetBackgroundType(bgtHorzGradient);
    EXPECT_EQ(Tree->BackgroundType(), bgtHorzGradient);

    // Deleting the last section switches the columns off; the sort section falls back.
    Tree->SetSortSection(2);
    TCvHeaderSections& All = Tree->HeaderControl().Sections();
    All.DeleteSection(All.ItemByIndex(2));
    EXPECT_EQ(Tree->SortSection(), -1);
    All.DeleteSection(All.ItemAt(0));
    EXPECT_TRUE(Tree->ShowColumns());
    All.DeleteSection(All.ItemAt(0));
    EXPECT_FALSE(Tree->ShowColumns());
}

TEST_F(CvTreeProperties, CoupledProperties) {
    Tree->SetBarStyle(true);
    EXPECT_EQ(Tree->BkColor(), clBtnFace);
    EXPECT_EQ(Tree->TextColor(), clBtnText);
    EXPECT_EQ(Tree->LinesColor(), clBtnShadow);
    Tree->SetBarStyle(false);
    EXPECT_EQ(Tree->BkColor(), clBtnFace); // not restored

    Tree->SetDblClickMode(dcmEdit);
    EXPECT_FALSE(Tree->ExpandOnDblClick());
    Tree->SetExpandOnDblClick(true);
    EXPECT_EQ(Tree->DblClickMode(), dcmExpand);

    Tree->SetRowSelect(false);
    EXPECT_FALSE(Tree->FullRowSelect);
}

TEST_F(CvTreeProperties, FreedImageListLeavesTheTreeWithout) {
    TFont F;
    F.SetSize(8);
    Tree->SetFont(F);
    auto Images = std::make_unique<TImageList>(nullptr);
    Images->SetSize(16, 30);
    Tree->SetImages(Images.get());
    EXPECT_EQ(Tree->LineHeight(), 30);
    Images.reset();
    EXPECT_EQ(Tree->Images(), nullptr);
    EXPECT_EQ(Tree->LineHeight(), 17);
}

TEST_F(CvTreeProperties, SaveTextToStreamIndentsByLevelLessOne) {
    Tree->Items().AssignLines({L"A", L"\tB", L"\t\tC", L"D"});
    TMemoryStream Stream;
    Tree->SaveTextToStream(Stream);
    const std::string Text(static_cast<const char*>(Stream.Memory()),
                           static_cast<size_t>(Stream.Size()));
    EXPECT_EQ(Text, "A\r\nB\r\n C\r\nD\r\n");
}

// ------------------------------------------------------------ header clicks

class CvTreeHeaderClicks : public TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        AddSections({80, 80});
        Tree->SetShowColumns(true);
        Tree->SortMode = smClick;
        for (const auto& [Main, Col] :
             {std::pair{L"b", L"2"}, {L"a", L"2"}, {L"b", L"1"}, {L"a", L"1"}})
            Tree->Items().AddChild(nullptr, Main)->ColumnTextList()->Add(Col);
    }
    std::string Order() {
        std::string S;
        for (int I = 0; I < Tree->Items().TotalCount(); ++I) {
            const TCvTreeItem* Item = Tree->Items().ItemAtIndex(I);
            S += Narrow(Item->Text()) + Narrow(Item->ColumnTextList()->Strings(0)) + " ";
        }
        return S;
    }
    TCvHeaderSection* Section(int I) { return Tree->HeaderControl().Sections().ItemByIndex(I); }
    static std::string Narrow(std::wstring_view W) { return std::string(W.begin(), W.end()); }
};

TEST_F(CvTreeHeaderClicks, ClicksCycleTheDirectionAndCtrlAddsATieBreaker) {
    int Begins = 0;
    Tree->OnSortBegin = [&](TCvTreeCore*) { ++Begins; };
    Tree->SortByHeaderClick(Section(0), false);
    EXPECT_EQ(Section(0)->SortMode(), hsmAscend);
    EXPECT_EQ(Tree->SortSection(), 0);
    EXPECT_EQ(Order().substr(0, 8), "a2 a1 b2");
    Tree->SortByHeaderClick(Section(0), false);
    EXPECT_EQ(Section(0)->SortMode(), hsmDescend);
    EXPECT_EQ(Tree->SortDir, sdDescend);
    EXPECT_EQ(Order()[3], 'b');
    EXPECT_EQ(Order()[6], 'a');

    Tree->SortByHeaderClick(Section(1), true);
    EXPECT_EQ(Tree->SortSection(), 0);
    EXPECT_EQ(Section(1)->SortMode(), hsmAscend);
    EXPECT_EQ(Section(0)->SortMode(), hsmDescend);
    EXPECT_EQ(Tree->SortSections(), std::vector<int>{1});
    EXPECT_EQ(Order(), "b1 b2 a1 a2 ");
    // Ctrl cycles the mark on to descending, then out of the list.
    Tree->SortByHeaderClick(Section(1), true);
    EXPECT_EQ(Order(), "b2 b1 a2 a1 ");
    Tree->SortByHeaderClick(Section(1), true);
    EXPECT_EQ(Section(1)->SortMode(), hsmNone);
    EXPECT_TRUE(Tree->SortSections().empty());
    // A plain click empties the tie-breakers.
    Tree->SortByHeaderClick(Section(1), true);
    Tree->SortByHeaderClick(Section(0), false);
    EXPECT_TRUE(Tree->SortSections().empty());
    EXPECT_EQ(Section(1)->SortMode(), hsmNone);
    EXPECT_EQ(Begins, 7);
}

// ----------------------------------------------------------------- measuring

class CvTreeMeasuring : public TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        TFont F;
        F.SetSize(8);
        Tree->SetFont(F);
        Images.SetSize(16, 16);
        TBitmap Strip;
        Strip.SetSize(16 * 4, 16);
        Images.Add(Strip, nullptr);
    }
    TImageList Images{nullptr};
};

TEST_F(CvTreeMeasuring, LineHeightTable) {
    struct TCase {
        bool Images, CustomGlyphs, HorizontalLines, BarStyle;
        int FontSize;
        int Height;
    };
    const TCase Cases[] = {
        {false, false, false, false, 8, 17}, {true, false, false, false, 8, 17},
        {true, true, false, false, 8, 17},   {true, false, true, false, 8, 18},
        {true, false, true, true, 8, 19},    {false, false, false, false, 14, 23},
    };
    for (const TCase& C : Cases) {
        TFont F;
        F.SetSize(C.FontSize);
        Tree->SetFont(F);
        Tree->SetImages(C.Images ? &Images : nullptr);
        Tree->SetShowCheckboxes(C.CustomGlyphs);
        Tree->SetCustomCheckboxes(C.CustomGlyphs);
        Tree->CheckBoxGlyph().SetSize(C.CustomGlyphs ? 96 : 0, C.CustomGlyphs ? 16 : 0);
        Tree->SetHorizontalLines(C.HorizontalLines);
        Tree->SetBarStyle(C.BarStyle);
        EXPECT_EQ(Tree->DefineLineHeight(), C.Height) << C.FontSize << C.Images;
        EXPECT_EQ(Tree->LineHeight(), C.Height) << C.FontSize << C.Images;
    }
}

TEST_F(CvTreeMeasuring, TreeColumnCountsWhatPaintingDraws) {
    Tree->Items().AssignLines({L"abc", L"\tchild"});
    TCvTreeItem* Top = Tree->Items().ItemAtIndex(0);
    TCvTreeItem* Child = Tree->Items().ItemAtIndex(1);
    // Root indent 17 less one level for a top-level item, the button column 17, the gap
    // 17 * 3 / 5 = 10 and the text 3 * 6.
    EXPECT_EQ(Pair(Tree->MeasureItemPart(*Top, -1)), std::make_pair(45, 17));
    EXPECT_EQ(Tree->MeasureItemPart(*Child, -1).cx, 45 + 17 + 12);
    Top->IndentAdjust = 5;
    EXPECT_EQ(Tree->MeasureItemPart(*Top, -1).cx, 50);
    Top->IndentAdjust = 0;
    // A top-level item that suppresses buttons loses their column, for its children too.
    Top->SetFlag(ifSuppressButtons, true);
    EXPECT_EQ(Tree->MeasureItemPart(*Top, -1).cx, 28);
    EXPECT_EQ(Tree->MeasureItemPart(*Child, -1).cx, 45 + 12);
    Top->SetFlag(ifSuppressButtons, false);

    Tree->SetShowCheckboxes(true);
    Top->SetCheckBoxShown(true);
    EXPECT_EQ(Tree->MeasureItemPart(*Top, -1).cx, 45 + 15);
    Tree->SetImages(&Images);
    Top->SetMainImage(1);
    EXPECT_EQ(Tree->MeasureItemPart(*Top, -1).cx, 45 + 15 + 5 + 16);
}

TEST_F(CvTreeMeasuring, StateImageRuleIsPaintings) {
    Tree->Items().AssignLines({L"abc"});
    TCvTreeItem* Item = Tree->Items().ItemAtIndex(0);
    Tree->SetImages(&Images);
    Item->MainStateImage = 2; // the main image stays -1
    struct TCase {
        TCvItemState State;
        bool Counted;
    };
    // Focused, selected or expanded shows the state image; a cut item does not.
    const TCase Cases[] = {{TCvItemState::Cut, false},
                           {TCvItemState::Selected, true},
                           {TCvItemState::Focused, true},
                           {TCvItemState::Expanded, true}};
    for (const TCase& C : Cases) {
        Item->SetState(C.State, true);
        EXPECT_EQ(Tree->MeasureItemPart(*Item, -1).cx, 45 + (C.Counted ? 16 : 0))
            << static_cast<int>(C.State);
        EXPECT_EQ(Tree->PictureIndexOf(*Item, false), C.Counted ? 2 : -1);
        Item->SetState(C.State, false);
    }
}

TEST_F(CvTreeMeasuring, ColumnCellsAndPasswords) {
    AddSections({80, 80, 80});
    Tree->SetShowColumns(true);
    Tree->Items().AssignLines({L"a", L"b"});
    TCvTreeItem* WithEntry = Tree->Items().ItemAtIndex(0);
    TCvTreeItem* Without = Tree->Items().ItemAtIndex(1);
    WithEntry->ColumnTextList()->Add(L"hello");
    WithEntry->ColumnTextList()->Add(L"");
    // Text + 2, then the cell gap of 10.
    EXPECT_EQ(Pair(Tree->MeasureItemPart(*WithEntry, 1)), std::make_pair(30 + 2 + 10, 17));
    EXPECT_EQ(Tree->MeasureItemPart(*Without, 1).cx, 12);
    Tree->HeaderControl().Sections().ItemByIndex(2)->SetPassword(true);
    EXPECT_EQ(Tree->ShownCellText(*WithEntry, 2), L"******");
    EXPECT_EQ(Tree->ShownCellText(*Without, 2), L"");
    EXPECT_EQ(Tree->MeasureItemPart(*WithEntry, 2).cx, 36 + 2 + 10);
    EXPECT_EQ(Tree->WidestCell(1, true), 42);
    EXPECT_EQ(Tree->WidestCell(3, true), 0);
    // An owner-drawn cell measures what the handler says.
    Tree->OnMeasureItemPart = [](TObject*, TCvTreeItem*, int Part, TSize& Size) {
        Size = TSize{100 + Part, 40};
    };
    Tree->OwnerDrawByColumn = false;
    WithEntry->ColumnTextList()->SetStrings(0, L"~~@~~");
    EXPECT_EQ(Pair(Tree->MeasureItemPart(*WithEntry, 1)), std::make_pair(101, 40));
}

TEST_F(CvTreeMeasuring, AutoSizeWaitsForTheBatch) {
    AddSections({30, 80});
    Tree->SetShowColumns(true);
    TCvHeaderSection* Main = Tree->HeaderControl().Sections().ItemByIndex(0);
    Main->SetAutoSize(true);
    int TextWidth = 0, Height = 0;
    const int Caption = Tree->HeaderControl().MeasureSectionWidth(Main, TextWidth, Height);
    Tree->AutoSizeColumn(0);
    EXPECT_EQ(Main->Width(), Caption); // no cells: the caption's width

    int Resizes = 0;
    Tree->OnHeaderColumnResize = [&](TObject*, int) { ++Resizes; };
    Tree->Items().BeginUpdate();
    Tree->Items().AddChild(nullptr, std::wstring(40, L'x'));
    Tree->AutoSizeColumn(0);
    EXPECT_EQ(Main->Width(), Caption);
    EXPECT_TRUE(Tree->AutoSizePending);
    Tree->Items().EndUpdate();
    EXPECT_EQ(Main->Width(), 45 - 18 + 240);
    EXPECT_EQ(Resizes, 1);
}

// The screen's measurer keeps its last font selected: every change of size or style in a run of
// measurements must still be measured in the new font.
TEST_F(CvTreeMeasuring, ScreenMeasurerFollowsEveryFontChange) {
    Tree->SetMeasurer(nullptr);
    struct TCase {
        int Size;
        TFontStyles Style;
    };
    const TCase Cases[] = {{8, {}}, {16, {}},         {8, {fsBold}},    {8, {}},
                           {8, {}}, {12, {fsItalic}}, {12, {fsItalic}}, {16, {}}};
    const std::wstring Text = L"iiiiii WWW";
    TMemoryDC DC(nullptr);
    std::vector<int> Widths;
    for (const TCase& C : Cases) {
        TFont F;
        F.SetSize(C.Size);
        F.SetStyle(C.Style);
        const HGDIOBJ Old = SelectObject(DC.Handle(), F.Handle());
        TRect Expected(0, 0, 1, 0);
        DrawTextWide(DC.Handle(), Text.c_str(), static_cast<int>(Text.size()), Expected,
                     DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        SelectObject(DC.Handle(), Old);
        const TSize Got = Tree->Measurer().TextSize(F, Text, DT_SINGLELINE | DT_NOPREFIX, 0);
        EXPECT_EQ(Pair(Got), std::make_pair(Expected.Width(), Expected.Height())) << C.Size;
        Widths.push_back(Got.cx);
    }
    // The table shows something only when the fonts measure differently.
    EXPECT_NE(Widths[0], Widths[1]);
    EXPECT_NE(Widths[0], Widths[2]);
}

// ------------------------------------------------------------ bars and layout

TEST(CvTreeBars, HorizontalNumbers) {
    struct TCase {
        int Content, View, Left;
        bool Hide;
        bool Visible;
        int Max, Page, Position;
    };
    const TCase Cases[] = {
        {300, 200, 50, false, true, 300, 201, 50}, {201, 200, 0, false, false, 0, 201, 0},
        {202, 200, 0, false, true, 202, 201, 0},   {300, 200, 50, true, false, 0, 201, 0},
        {-1, 200, 0, false, false, 0, 201, 0},     {300, 200, 400, false, true, 300, 201, 300},
    };
    for (const TCase& C : Cases) {
        const TCvBarState S = HorzBarOf(C.Content, C.View, C.Left, C.Hide);
        EXPECT_EQ(S.Visible, C.Visible) << C.Content;
        EXPECT_EQ(S.Max, C.Max) << C.Content;
        EXPECT_EQ(S.Page, C.Page) << C.Content;
        EXPECT_EQ(S.Position, C.Position) << C.Content;
    }
}

TEST(CvTreeBars, VerticalNumbers) {
    struct TCase {
        int RangeMax, Page, Top, RowsHeight, View, Rows;
        bool Hide, Visible;
    };
    const TCase Cases[] = {
        {99, 9, 0, 187, 170, 11, false, true}, // more than a page
        {4, 9, 0, 85, 170, 5, false, false},   // everything fits
        {9, 9, 0, 170, 170, 10, false, false}, // exactly a page
        {4, 9, 2, 51, 170, 3, false, true},    // scrolled down
        {99, 9, 0, 187, 170, 11, true, false}, // hidden on request
    };
    for (const TCase& C : Cases) {
        const TCvBarState S =
            VertBarOf(C.RangeMax, C.Page, C.Top, C.RowsHeight, C.View, C.Rows, C.Hide);
        EXPECT_EQ(S.Visible, C.Visible) << C.RangeMax << " " << C.Top;
        EXPECT_EQ(S.Max, C.Visible ? C.RangeMax : 0);
        EXPECT_EQ(S.Page, C.Visible ? C.Page : 1);
        EXPECT_EQ(S.Position, C.Top);
    }
}

TEST(CvTreeLayout, PartsShareTheClientArea) {
    TCvTreeLayoutInput In;
    In.Client = TRect(0, 0, 200, 100);
    In.Columns = true;
    In.HeaderHeight = 20;
    In.HorzVisible = In.VertVisible = true;
    TCvTreeLayout L = LayoutOf(In);
    EXPECT_EQ(L.Header, TRect(0, 0, 184, 20));
    EXPECT_EQ(L.View, TRect(0, 20, 184, 84));
    EXPECT_EQ(L.HorzBar, TRect(0, 84, 184, 100));
    EXPECT_EQ(L.VertBar, TRect(184, 0, 200, 84));
    EXPECT_EQ(L.Corner, TRect(184, 84, 200, 100));
    In.VertOnRight = false;
    L = LayoutOf(In);
    EXPECT_EQ(L.Header, TRect(16, 0, 200, 20));
    EXPECT_EQ(L.View, TRect(16, 20, 200, 84));
    EXPECT_EQ(L.VertBar, TRect(0, 0, 16, 84));
    EXPECT_EQ(L.Corner, TRect(0, 84, 16, 100));
    In.Columns = false;
    In.HorzVisible = false;
    L = LayoutOf(In);
    EXPECT_FALSE(L.ShowHeader);
    EXPECT_FALSE(L.ShowHorz);
    EXPECT_EQ(L.View, TRect(16, 0, 200, 100));
    EXPECT_EQ(L.VertBar, TRect(0, 0, 16, 100));
    EXPECT_TRUE(L.Corner.IsEmpty());
    In.CustomBars = false;
    EXPECT_EQ(LayoutOf(In).View, TRect(0, 0, 200, 100));
}

} // namespace
