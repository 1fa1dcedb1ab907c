// Painting of the view into a 32-bit surface, read back by pixels: row colours, stripes,
// dividers, dotted lines, the default buttons, the check-box glyph per state and the text that
// password columns show; then the tree as a window: forwarded mouse coordinates and GDI use.
#include "tests/treelist/TreeControlSupport.h"

#include "tests/support/GdiCount.h"
#include "tests/treelist/DibSurface.h"
#include "treelist/CvUxTheme.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr TColor White = 0xFFFFFF;
constexpr TColor Blue = 0xC00000;
constexpr TColor Green = 0x00C000;
constexpr TColor Red = 0x0000C0;
constexpr TColor Lines = 0x808000;

// Records every text the painting measures.
struct TRecordingMeasurer : TFixedMeasurer {
    std::vector<std::wstring> Texts;
    TSize TextSize(const TFont& F, const TCvString& Text, UINT Flags, int Width) override {
        Texts.push_back(Text);
        return TFixedMeasurer::TextSize(F, Text, Flags, Width);
    }
};

class CvTreePaint : public TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        Tree->SetBkColor(White);
        Tree->SetFocusedSelectColor(Blue);
        Tree->SetHideSelectColor(Green);
        Tree->SetShowLines(false);
    }
    // Lines of tab-indented text; rows of 17 in a view of 200 x 170.
    void Fill(const std::vector<std::wstring>& Lines) {
        Tree->SetAutoLineHeight(false);
        Tree->SetLineHeight(17);
        Tree->TreeView().SetBounds(0, 0, 200, 170);
        Tree->Items().AssignLines(Lines);
        Tree->TreeView().FillRows(0);
    }
    void Paint() {
        Surface.Fill(0x123456);
        Tree->TreeView().PaintTo(Surface.DC(), TRect(0, 0, 200, 170));
    }
    TCvTreeItem* Vis(int I) { return Tree->Items().GetVisItem(I); }
    TColor At(int X, int Y) const { return Surface.Pixel(X, Y); }

    TDibSurface Surface{200, 170};
};

TEST_F(CvTreePaint, BackgroundAndSelectionColours) {
    Fill({L"A", L"B", L"C"});
    Vis(1)->SetSelected(true);
    Paint();
    EXPECT_EQ(At(150, 5), White);
    EXPECT_EQ(At(150, 20), Blue); // HideSelection off: the focused colours without the focus
    EXPECT_EQ(At(150, 40), White);
    EXPECT_EQ(At(150, 100), White); // below the rows
    Tree->SetHideSelection(true);
    Paint();
    EXPECT_EQ(At(150, 20), Green);
    // Without RowSelect only the text's box is coloured.
    Tree->SetHideSelection(false);
    Tree->SetRowSelect(false);
    Paint();
    EXPECT_EQ(At(150, 20), White);
    EXPECT_EQ(At(Vis(1)->TextLeft + 1, 20), Blue);
}

TEST_F(CvTreePaint, OwnerDrawnCellsSeeTheSelectedRowsTextColour) {
    Fill({L"~~@~~", L"~~@~~"});
    Tree->OwnerDrawByColumn = false;
    Tree->SetFocusedSelectTextColor(Red);
    Vis(1)->SetSelected(true);
    std::vector<TColor> Seen;
    Tree->OnItemDraw = [&](TObject*, TCvTreeItem*, TCanvas&, const TRect&, int) {
        Seen.push_back(Tree->PaintRowTextColor);
    };
    Paint();
    // The row's text colour is the one its cells are drawn in.
    EXPECT_EQ(Seen, (std::vector<TColor>{Tree->TextColor(), Red}));
    Tree->SetHideSelection(true);
    Tree->SetHideSelectTextColor(Green);
    Seen.clear();
    Paint();
    EXPECT_EQ(Seen, (std::vector<TColor>{Tree->TextColor(), Green}));
}

TEST_F(CvTreePaint, StripesFollowTheVisibleIndex) {
    std::vector<std::wstring> Lines;
    for (int I = 0; I < 30; ++I)
        Lines.push_back(L"R" + std::to_wstring(I));
    Fill(Lines);
    Tree->SetStripedItems(true);
    Tree->SetStripedEvenColor(Red);
    Tree->SetStripedOddColor(Green);
    Paint();
    EXPECT_EQ(At(150, 5), Red);
    EXPECT_EQ(At(150, 22), Green);
    Tree->SetTopIndex(1);
    Paint();
    EXPECT_EQ(At(150, 5), Green);
    EXPECT_EQ(At(150, 22), Red);
}

TEST_F(CvTreePaint, HorizontalAndVerticalDividers) {
    AddSections({60, 60, 60});
    Tree->SetShowColumns(true);
    Fill({L"A", L"B"});
    Tree->SetHorizontalLines(true);
    Tree->SetHorzDivLinesColor(Red);
    Tree->SetVerticalLines(true);
    Tree->SetVertDivLinesColor(Green);
    Tree->SetAutoLineHeight(false);
    Tree->SetLineHeight(17);
    Tree->TreeView().FillRows(0);
    Paint();
    EXPECT_EQ(At(30, 16), Red);
    EXPECT_EQ(At(30, 33), Red);
    EXPECT_EQ(At(30, 15), White);
    EXPECT_EQ(At(190, 16), White); // right of the sections
    EXPECT_EQ(At(59, 5), Green);   // the first section's divider
    EXPECT_EQ(At(119, 5), Green);
    EXPECT_EQ(At(119, 100), Green); // carried on below the rows
    EXPECT_EQ(At(60, 5), White);
}

TEST_F(CvTreePaint, DottedLinesLieOnOneCheckerboard) {
    Fill({L"A", L"B", L"C"});
    Tree->SetItemIndent(7);
    Tree->SetShowLines(true);
    Tree->SetShowRoot(true);
    Tree->SetLinesColor(Lines);
    Tree->SetLinesStyle(psDot);
    Paint();
    // B has siblings before and after: its root line runs down x = 7 - 7 + 3 across its row.
    for (int Y = 17; Y < 34; ++Y)
        EXPECT_EQ(At(3, Y) == Lines, (3 + Y) % 2 == 0) << Y;
    EXPECT_EQ(At(2, 20), White);
    // The connector at the middle (17 + 19 / 2) runs right to the column's edge.
    EXPECT_EQ(At(4, 26), Lines);
    EXPECT_EQ(At(5, 26), White);
    EXPECT_EQ(At(6, 26), Lines);
    EXPECT_EQ(At(8, 26), White);
    Tree->SetLinesStyle(psSolid);
    Paint();
    for (int Y = 17; Y < 34; ++Y)
        EXPECT_EQ(At(3, Y), Lines) << Y;
}

TEST_F(CvTreePaint, DefaultButtonsInTheirSystemColours) {
    Fill({L"A", L"\tA1", L"B"});
    const TColor Frame = ColorToRGB(clBtnShadow);
    const TColor Field = ColorToRGB(clWindow);
    const TColor Bar = ColorToRGB(clWindowText);
    Paint();
    // Collapsed A: the plus in a 10 x 10 box centred in [0, 17) x [0, 18): at (3, 4).
    EXPECT_EQ(At(3, 4), Frame);
    EXPECT_EQ(At(11, 12), Frame);
    EXPECT_EQ(At(4, 5), Field);
    EXPECT_EQ(At(7, 8), Bar);
    EXPECT_EQ(At(5, 8), Bar);
    EXPECT_EQ(At(7, 6), Bar);    // the vertical bar
    EXPECT_EQ(At(3, 21), White); // B has no children: no button
    Vis(0)->SetExpanded(true);
    Tree->TreeView().FillRows(0);
    Paint();
    EXPECT_EQ(At(7, 8), Bar);
    EXPECT_EQ(At(7, 6), Field); // the minus
}

TEST_F(CvTreePaint, GlyphCellPerCheckState) {
    Fill({L"A"});
    const TColor CellColours[6] = {0x0000F0, 0x00F000, 0xF00000, 0x00F0F0, 0xF000F0, 0xF0F000};
    const TColor Clear = 0xFF00FF;
    for (TBitmap* Strip : {&Tree->CheckBoxGlyph(), &Tree->RadioButtonGlyph()}) {
        Strip->SetSize(72, 12);
        for (int C = 0; C < 6; ++C) {
            Strip->Canvas().Brush().SetColor(CellColours[C]);
            Strip->Canvas().FillRect(TRect(C * 12, 0, C * 12 + 12, 12));
        }
        Strip->SetTransparentColor(Clear);
    }
    Tree->SetShowCheckboxes(true);
    Tree->SetCustomCheckboxes(true);
    TCvTreeItem* A = Vis(0);
    A->SetCheckBoxShown(true);
    struct TCase {
        int Type; // 0 two-state, 1 three-state, 2 radio
        int State;
        bool Enabled;
        int Cell;
    };
    const TCase Cases[] = {
        {0, 0, true, 0},  {0, 1, true, 2},  {1, 0, true, 0},  {1, 2, true, 4},  {1, 1, true, 2},
        {1, 0, false, 1}, {1, 2, false, 5}, {1, 1, false, 3}, {2, 1, false, 3}, {2, 0, true, 0},
    };
    for (const TCase& C : Cases) {
        A->SetCheckBoxType(C.Type);
        A->SetCheckBoxState(C.State);
        A->SetFlag(ifCheckBoxEnabled, C.Enabled);
        Paint();
        // The box follows the button column [0, 17).
        EXPECT_EQ(At(23, 8), CellColours[C.Cell]) << C.Type << C.State << C.Enabled;
    }
}

TEST_F(CvTreePaint, PasswordColumnsShowTheMaskForEveryEntry) {
    TRecordingMeasurer Recording;
    Tree->SetMeasurer(&Recording);
    AddSections({60, 60, 60});
    Tree->SetShowColumns(true);
    Tree->HeaderControl().Sections().ItemByIndex(2)->SetPassword(true);
    Fill({L"A", L"B", L"C"});
    Vis(0)->ColumnTextList()->Assign({L"x", L"secret"});
    Vis(1)->ColumnTextList()->Assign({L"y", L""});
    Paint();
    std::vector<std::wstring> Columns;
    for (const std::wstring& T : Recording.Texts)
        if (T != L"A" && T != L"B" && T != L"C")
            Columns.push_back(T);
    // C has no entries: nothing measured, nothing drawn.
    EXPECT_EQ(Columns, (std::vector<std::wstring>{L"x", L"******", L"y", L"******"}));
    Tree->SetMeasurer(nullptr);
}

TEST_F(CvTreePaint, PaintingRecordsTextAndPicturesForTheHitTest) {
    Fill({L"Hello", L"B"});
    TImageList Images(nullptr);
    Images.SetSize(16, 16);
    TBitmap Strip;
    Strip.SetSize(32, 16);
    Images.Add(Strip, nullptr);
    Tree->SetImages(&Images);
    TCvTreeItem* A = Vis(0);
    A->SetMainImage(1);
    Paint();
    EXPECT_TRUE(A->HasFlag(ifImageDrawn));
    EXPECT_FALSE(Vis(1)->HasFlag(ifImageDrawn));
    // Button column 0..17, picture 17..33, gap 5: the text box starts at 37, the text is 30
    // wide, and the recorded rectangle is one pixel wider on both sides.
    EXPECT_EQ(A->TextLeft, 36);
    EXPECT_EQ(A->TextRight, 68);
    int Section = -1;
    TCvItemPart Part = ipOutside;
    Tree->TreeView().GetItemAt(50, 5, Section, Part);
    EXPECT_EQ(Part, ipMainText);
    Tree->TreeView().GetItemAt(25, 5, Section, Part);
    EXPECT_EQ(Part, ipPicture);
    // The text rectangle follows the horizontal scroll in content coordinates.
    Tree->MaxRowWidth = 1000;
    Tree->SetLeftPosition(10);
    Paint();
    EXPECT_EQ(A->TextLeft, 36);
}

TEST_F(CvTreePaint, RightAlignedTreeMirrorsTheMainCell) {
    Fill({L"A", L"\tA1", L"B"});
    Tree->SetRightAlignedTree(true);
    Paint();
    const TColor Bar = ColorToRGB(clWindowText);
    // The button column [183, 200): the plus's box at (186, 4), its centre at (190, 8).
    EXPECT_EQ(At(190, 8), Bar);
    EXPECT_EQ(At(7, 8), White);
    TCvTreeItem* A = Vis(0);
    // The text ends at the gap before the button: box [170, 180), text 6 wide.
    EXPECT_EQ(A->TextRight, 181);
    EXPECT_EQ(A->TextLeft, 173);
    int Section = -1;
    TCvItemPart Part = ipOutside;
    Tree->TreeView().GetItemAt(190, 5, Section, Part);
    EXPECT_EQ(Part, ipButton);
    Tree->TreeView().GetItemAt(176, 5, Section, Part);
    EXPECT_EQ(Part, ipMainText);
    Tree->TreeView().GetItemAt(100, 5, Section, Part);
    EXPECT_EQ(Part, ipOutside);
}

// ---------------------------------------------------------------- as a window

class CvTreeWindow : public PlainFormTest<400, 300> {};

TEST_F(CvTreeWindow, ViewEventsReachTheTreeInItsCoordinates) {
    auto* Tree = new TCvTree(Form);
    Tree->SetParent(Form);
    Tree->SetBounds(10, 10, 300, 200);
    Tree->HeaderControl().Sections().AppendSection()->SetWidth(100);
    Tree->SetShowColumns(true);
    Tree->Items().AssignLines({L"A", L"B"});
    Form->Show();
    TCvTreeView& View = Tree->TreeView();
    ASSERT_GT(View.Top(), 0); // below the header
    std::vector<TPoint> Downs, Ups;
    Tree->OnMouseDown = [&](TObject* S, TMouseButton, TShiftState, int X, int Y) {
        EXPECT_EQ(S, Tree);
        Downs.push_back(TPoint{X, Y});
    };
    Tree->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int X, int Y) {
        Ups.push_back(TPoint{X, Y});
    };
    SendMessageW(View.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    SendMessageW(View.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(7, 8));
    ASSERT_EQ(Downs.size(), 1u);
    EXPECT_EQ(Downs[0].X, 5 + View.Left());
    EXPECT_EQ(Downs[0].Y, 6 + View.Top());
    ASSERT_EQ(Ups.size(), 1u);
    EXPECT_EQ(Ups[0].Y, 8 + View.Top());
}

TEST_F(CvTreeWindow, WheelAndScrollMessagesMoveTheRows) {
    auto* Tree = new TCvTree(Form);
    Tree->SetParent(Form);
    Tree->SetBounds(0, 0, 300, 200);
    std::vector<std::wstring> Lines;
    for (int I = 0; I < 200; ++I)
        Lines.push_back(L"Row " + std::to_wstring(I));
    Tree->Items().AssignLines(Lines);
    Tree->HeaderControl().Sections().AppendSection()->SetWidth(100);
    Tree->SetShowColumns(true);
    Form->Show();
    EXPECT_TRUE(Tree->VertBarVisible());
    TCvTreeView& View = Tree->TreeView();
    // The bar takes its strip beside the header and the view.
    const int Bar = Tree->VertScrollBar().Width();
    EXPECT_EQ(View.Width(), Tree->ClientWidth() - Bar);
    EXPECT_EQ(Tree->HeaderControl().Width(), View.Width());
    EXPECT_EQ(Tree->VertScrollBar().Top(), 0);
    EXPECT_EQ(Tree->VertScrollBar().Left(), View.Width());
    UINT Lines3 = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &Lines3, 0);
    const int PerNotch = PlanWheel(-120, Lines3).ByPage ? View.GetVisibleRowCount() - 1
                                                        : -PlanWheel(-120, Lines3).Steps;
    SendMessageW(View.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(Tree->TopIndex(), PerNotch);
    SendMessageW(View.Handle(), 0xB20A, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(Tree->TopIndex(), 2 * PerNotch);
    EXPECT_EQ(Tree->VertScrollBar().Position(), 2 * PerNotch);
    Tree->SetTopIndex(0);
    EXPECT_EQ(Tree->GetTopItem(), Tree->Items().ItemAtIndex(0));
}

// Without the custom bars the window's own bars show the same numbers, take their room from the
// client area and scroll the rows through the same handlers.
TEST_F(CvTreeWindow, StandardBarsShowScrollAndFollowTheRows) {
    auto* Tree = new TCvTree(Form);
    Tree->SetUseCustomScrollBars(false);
    Tree->SetParent(Form);
    Tree->SetBounds(0, 0, 300, 200);
    std::vector<std::wstring> Lines;
    for (int I = 0; I < 100; ++I)
        Lines.push_back(I == 5 ? std::wstring(120, L'W') : L"Row " + std::to_wstring(I));
    Tree->Items().AssignLines(Lines);
    Form->Show();
    const HWND Wnd = Tree->Handle();
    TCvTreeView& View = Tree->TreeView();
    const auto Style = [Wnd] { return GetWindowLongPtrW(Wnd, GWL_STYLE); };
    ASSERT_TRUE(Style() & WS_VSCROLL);
    EXPECT_TRUE(Style() & WS_HSCROLL); // the long row is wider than the view
    EXPECT_FALSE(Tree->VertScrollBar().Visible());
    EXPECT_FALSE(Tree->HorzScrollBar().Visible());
    EXPECT_EQ(View.Width(), Tree->ClientWidth()); // the bars sit outside the client area
    EXPECT_LT(Tree->ClientWidth(), 300 - GetSystemMetrics(SM_CXVSCROLL) + 1);

    SCROLLINFO Info{};
    Info.cbSize = sizeof Info;
    Info.fMask = SIF_ALL;
    GetScrollInfo(Wnd, SB_VERT, &Info);
    EXPECT_EQ(Info.nMax, 99);
    EXPECT_EQ(static_cast<int>(Info.nPage), View.GetVisibleRowCount() - 1);

    struct TStep {
        UINT Msg;
        WORD Code;
        int SetPos; // -1: the bar's position is left alone
    };
    const TStep Steps[] = {{WM_VSCROLL, SB_LINEDOWN, -1},
                           {WM_VSCROLL, SB_PAGEDOWN, -1},
                           {WM_VSCROLL, SB_THUMBPOSITION, 40},
                           {WM_VSCROLL, SB_BOTTOM, -1},
                           {WM_VSCROLL, SB_TOP, -1}};
    std::vector<int> Tops;
    for (const TStep& S : Steps) {
        if (S.SetPos >= 0)
            SetScrollPos(Wnd, SB_VERT, S.SetPos, FALSE);
        SendMessageW(Wnd, S.Msg, MAKEWPARAM(S.Code, 0), 0);
        Tops.push_back(Tree->TopIndex());
        EXPECT_EQ(GetScrollPos(Wnd, SB_VERT), Tree->TopIndex()) << S.Code;
    }
    const int Page = View.GetVisibleRowCount() - 1;
    EXPECT_EQ(Tops, (std::vector<int>{1, 1 + Page, 40, View.MaxTopIndex(), 0}));

    SendMessageW(Wnd, WM_HSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    EXPECT_GT(Tree->LeftPosition(), 0);
    EXPECT_EQ(GetScrollPos(Wnd, SB_HORZ), Tree->LeftPosition());

    // The long row goes and the rest fits: the horizontal bar hides again.
    Tree->Items().Delete(Tree->Items().ItemAtIndex(5));
    EXPECT_FALSE(Style() & WS_HSCROLL);
    EXPECT_EQ(Tree->LeftPosition(), 0);

    // Back to the custom bars: the window's own bars are gone.
    Tree->SetUseCustomScrollBars(true);
    EXPECT_FALSE(GetWindowLongPtrW(Tree->Handle(), GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(Tree->VertScrollBar().Visible());
}

// A visual-styles library that knows two classes and the sizes of their glyphs, and records what
// is drawn.
struct TGlyphTheme {
    static constexpr INT_PTR TreeView = 0x100, Button = 0x200;
    struct TDrawn {
        INT_PTR Theme;
        int Part, State;
        RECT Rect;
    };
    static inline std::vector<TDrawn> Drawn;
    static HTHEME WINAPI Open(HWND, LPCWSTR Class) {
        return reinterpret_cast<HTHEME>(std::wstring(Class) == L"BUTTON" ? Button : TreeView);
    }
    static HRESULT WINAPI Close(HTHEME) { return S_OK; }
    static HRESULT WINAPI Background(HTHEME T, HDC, int Part, int State, const RECT* R,
                                     const RECT*) {
        Drawn.push_back({reinterpret_cast<INT_PTR>(T), Part, State, *R});
        return S_OK;
    }
    static HRESULT WINAPI PartSize(HTHEME T, HDC, int Part, int, const RECT*, int, SIZE* Size) {
        const bool IsButton = reinterpret_cast<INT_PTR>(T) == Button;
        const int Side = IsButton ? (Part == 3 ? 13 : 11) : 7; // check box, radio, plus/minus
        *Size = SIZE{Side, Side};
        return S_OK;
    }
    static TUxThemeApi Api() {
        TUxThemeApi A;
        A.Available = true;
        A.Entries[2] = reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&Open));
        A.Entries[3] = reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&Close));
        A.Entries[5] = reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&Background));
        A.Entries[9] = reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&PartSize));
        return A;
    }
};

// Themed, the check box, the radio button and the expand button take the theme's part sizes
// (the button one pixel more each way), and measuring counts the themed check box.
TEST_F(CvTreeWindow, ThemedGlyphsTakeTheThemesPartSizes) {
    const TUxThemeScope Scope(TGlyphTheme::Api());
    TGlyphTheme::Drawn.clear();
    auto* Tree = new TCvTree(Form);
    Tree->SetParent(Form);
    Tree->SetBounds(0, 0, 300, 200);
    Tree->SetShowCheckboxes(true);
    Tree->Items().AssignLines({L"Parent", L"\tChild", L"Radio"});
    Form->Show();
    ASSERT_TRUE(Tree->IsThemeApplied());
    EXPECT_EQ(Tree->CheckBoxSize(), 13);
    TCvTreeItem* Parent = Tree->Items().ItemAtIndex(0);
    TCvTreeItem* Radio = Tree->Items().ItemAtIndex(2);
    Parent->SetCheckBoxShown(true);
    Radio->SetCheckBoxShown(true);
    Radio->SetCheckBoxType(2);
    const int Themed = Tree->MeasureItemPart(*Parent, -1).cx;

    TDibSurface Surface(300, 200);
    Tree->TreeView().PaintTo(Surface.DC(), TRect(0, 0, 300, 200));
    const auto Side = [](INT_PTR Theme, int Part) -> std::pair<int, int> {
        for (const auto& D : TGlyphTheme::Drawn)
            if (D.Theme == Theme && D.Part == Part)
                return std::make_pair(D.Rect.right - D.Rect.left, D.Rect.bottom - D.Rect.top);
        return std::make_pair(-1, -1);
    };
    EXPECT_EQ(Side(TGlyphTheme::Button, 3), std::make_pair(13, 13));
    EXPECT_EQ(Side(TGlyphTheme::Button, 2), std::make_pair(11, 11));
    EXPECT_EQ(Side(TGlyphTheme::TreeView, 2), std::make_pair(8, 8));

    Tree->SetUseXPThemes(false);
    EXPECT_EQ(Tree->CheckBoxSize(), 15);
    EXPECT_EQ(Tree->MeasureItemPart(*Parent, -1).cx, Themed + 2);
}

TEST_F(CvTreeWindow, CreatingPaintingAndDestroyingLeavesNoGdiObjects) {
    EXPECT_EQ(GdiGrowth([&] {
                  auto* Tree = new TCvTree(Form);
                  Tree->SetUseXPThemes(false);
                  Tree->SetParent(Form);
                  Tree->SetBounds(0, 0, 300, 200);
                  Tree->HeaderControl().Sections().AppendSection()->SetWidth(100);
                  Tree->HeaderControl().Sections().AppendSection()->SetWidth(300);
                  Tree->SetShowColumns(true);
                  Tree->SetShowCheckboxes(true);
                  Tree->SetStripedItems(true);
                  Tree->Items().AssignLines({L"A", L"\tA1", L"B"});
                  Tree->Items().ItemAtIndex(0)->SetCheckBoxShown(true);
                  Tree->Items().ItemAtIndex(0)->SetSelected(true);
                  TClientPixels Pixels(Tree->TreeView());
                  delete Tree;
              }),
              0);
}

} // namespace
