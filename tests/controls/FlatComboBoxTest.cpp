// Flat combo boxes: the geometry, the arrow button painter, the active rule, and the control
// itself: its frame and arrow, the focus highlight of the list styles, the inner edit's size,
// the font reset, the derived colours, the list's colours and its GDI objects.
#include "controls/FlatComboBox.h"
#include "controls/HSLUtils.h"
#include "tests/controls/ControlsTestSupport.h"
#include "tests/support/GdiCount.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Face = 0xC5D6D9;
constexpr TColor Border = 0x8396A0;

TEST(FlatComboGeometry, RectanglesFollowTheClientAndWindowSizes) {
    const struct {
        int CW, W, H;
        TRect Arrow;
        int EditWidth, EditHeight;
        TRect Strip, Focus;
    } Cases[] = {
        {145, 145, 21, {132, 0, 145, 21}, 126, 15, {124, 6, 129, 15}, {3, 3, 129, 18}},
        {100, 100, 24, {87, 0, 100, 24}, 81, 18, {79, 6, 84, 18}, {3, 3, 84, 21}},
        // a window wider than its client: the button reaches the window's edge
        {60, 64, 21, {47, 0, 64, 21}, 41, 15, {39, 6, 44, 15}, {3, 3, 44, 18}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.CW);
        EXPECT_EQ(FlatComboArrowRect(C.CW, C.W, C.H), C.Arrow);
        const TSize Edit = FlatComboEditSize(C.CW, C.H);
        EXPECT_EQ(Edit.cx, C.EditWidth);
        EXPECT_EQ(Edit.cy, C.EditHeight);
        const TRect Client(0, 0, C.CW, C.H);
        EXPECT_EQ(FlatComboSelectionStrip(Client), C.Strip);
        // Inside the client, so it shows; the strip ends on its right edge.
        EXPECT_EQ(FlatComboFocusFrame(Client), C.Focus);
        EXPECT_EQ(FlatComboFocusFrame(Client).Right, FlatComboSelectionStrip(Client).Right);
    }
    EXPECT_EQ(FlatComboSystemArrowLeft(145, 16), 127);
}

TEST(FlatComboGeometry, ArrowPointsDownOrUpFromTheButtonsMiddle) {
    const TRect Button(132, 0, 145, 21); // middle (138, 10): X0 132, Y0 9
    const struct {
        bool Up;
        TPoint A, B, C;
    } Cases[] = {
        {false, {136, 9}, {140, 9}, {138, 11}},
        {true, {136, 11}, {140, 11}, {138, 9}},
    };
    for (const auto& C : Cases) {
        const auto Points = FlatComboArrowPoints(Button, C.Up);
        const TPoint Expected[] = {C.A, C.B, C.C};
        for (int I = 0; I < 3; ++I) {
            EXPECT_EQ(Points[I].X, Expected[I].X) << C.Up << I;
            EXPECT_EQ(Points[I].Y, Expected[I].Y) << C.Up << I;
        }
    }
}

TEST(FlatComboRules, ActiveWhileDroppedOrFocusedAndAtDesignTimeWhileEnabled) {
    const struct {
        bool Designing, Enabled, Dropped, Focus, Active;
    } Cases[] = {
        {false, true, false, false, false}, {false, true, false, true, true},
        {false, true, true, false, true},   {false, false, false, true, true},
        {true, true, false, false, true},   {true, false, true, true, false},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(FlatComboActive(C.Designing, C.Enabled, C.Dropped, C.Focus), C.Active)
            << C.Designing << C.Enabled << C.Dropped << C.Focus;
}

// The arrow button of a 13 x 21 area painted into a bitmap: arrow pixels as the rows of a
// triangle, 5, 3 and 1 wide.
TEST(FlatComboPainter, ArrowButtonEnabledDroppedAndDisabled) {
    const TFlatComboArrowColors Colors{clBlue, Face, Border};
    const struct {
        const char* Name;
        bool Up, Enabled;
        int TipY, BaseY; // rows of the one-pixel tip and the five-pixel base
        TColor Ink;
    } Cases[] = {
        {"down", false, true, 11, 9, clBlue},
        {"up", true, true, 9, 11, clBlue},
        {"disabled", false, false, 11, 9, 0x808080},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TBitmap Bitmap;
        FillBitmap(Bitmap, 13, 21, clBlack);
        TCanvas& Canvas = Bitmap.Canvas();
        PaintFlatComboArrowButton(Canvas, TRect(0, 0, 13, 21), C.Up, C.Enabled, Colors);
        const auto At = [&](int X, int Y) { return Canvas.Pixel(X, Y); };
        EXPECT_EQ(At(0, 0), ColorToRGB(Border));
        EXPECT_EQ(At(12, 20), ColorToRGB(Border));
        EXPECT_EQ(At(2, 3), ColorToRGB(Face));
        EXPECT_EQ(At(6, C.TipY), ColorToRGB(C.Ink));
        EXPECT_EQ(At(5, C.TipY), ColorToRGB(Face));
        EXPECT_EQ(At(4, C.BaseY), ColorToRGB(C.Ink));
        EXPECT_EQ(At(8, C.BaseY), ColorToRGB(C.Ink));
        EXPECT_EQ(At(3, C.BaseY), ColorToRGB(Face));
        EXPECT_EQ(At(6, 10), ColorToRGB(C.Ink));
        // The emboss: white one pixel down and right, where the grey does not cover it.
        const TColor Emboss = C.Enabled ? Face : clWhite;
        EXPECT_EQ(At(9, C.BaseY + 1), ColorToRGB(Emboss));
        EXPECT_EQ(At(7, 12), ColorToRGB(Emboss));
    }
}

class FlatComboTest : public ControlsTest {
protected:
    TFlatComboBox* Combo(TComboBoxStyle Style, int Top = 10) {
        auto* C = Place<TFlatComboBox>(Bounds(10, Top, 145, 21));
        C->SetStyle(Style);
        for (const wchar_t* Item : {L"pear", L"apple", L"fig"})
            C->Items().Add(Item);
        C->HandleNeeded();
        return C;
    }
    // The arrow button's rectangle in C's client.
    static TRect ArrowOf(TFlatComboBox& C) {
        return FlatComboArrowRect(C.ClientWidth(), C.ClientWidth(), C.ClientHeight());
    }
    static TPoint ArrowTip(TFlatComboBox& C, bool Up) {
        return FlatComboArrowPoints(ArrowOf(C), Up)[2];
    }
    static TSize WindowSize(HWND Wnd) {
        RECT R{};
        GetWindowRect(Wnd, &R);
        return TSize{R.right - R.left, R.bottom - R.top};
    }
};

TEST_F(FlatComboTest, StartsWithTheFamilysColoursAndItemHeight13) {
    auto* C = Combo(csDropDown);
    EXPECT_EQ(C->Style(), csDropDown);
    EXPECT_EQ(C->Color(), 0xE1EAEB);
    EXPECT_EQ(C->ColorArrow(), clBlack);
    EXPECT_EQ(C->ColorArrowBackground(), Face);
    EXPECT_EQ(C->ColorBorder(), Border);
    EXPECT_FALSE(C->UseAdvColors());
    EXPECT_EQ(C->AdvColorBorder(), 50);
    EXPECT_EQ(C->AdvColorArrowBackground(), 10);
    EXPECT_EQ(C->ItemHeight(), 13);
    EXPECT_EQ(C->DropDownCount, 8);
    EXPECT_TRUE(C->TabStop());
    EXPECT_TRUE(C->ControlStyle.Contains(csOpaque));
}

TEST_F(FlatComboTest, FrameAndArrowButtonReplaceTheSystemLook) {
    auto* C = Combo(csDropDownList);
    C->SetColorArrow(clRed);
    const TClientPixels P(*C);
    const TRect Arrow = ArrowOf(*C);
    EXPECT_EQ(P.At(0, 0), ColorToRGB(Border));
    EXPECT_EQ(P.At(1, 5), ColorToRGB(C->Color()));
    EXPECT_EQ(P.At(2, 5), ColorToRGB(C->Color()));
    EXPECT_EQ(P.At(Arrow.Left, 5), ColorToRGB(Border));
    EXPECT_EQ(P.At(Arrow.Right - 1, 5), ColorToRGB(Border));
    EXPECT_EQ(P.At(Arrow.Left + 2, 3), ColorToRGB(Face));
    const TPoint Tip = ArrowTip(*C, false);
    EXPECT_EQ(P.At(Tip.X, Tip.Y), ColorToRGB(clRed));
    // Nothing of the system's own arrow or sunken edge is left.
    EXPECT_EQ(P.Count(TRect(0, 0, P.Width, P.Height), true,
                      [](COLORREF Px) {
                          return Px == ColorToRGB(clBtnShadow) || Px == ColorToRGB(clBtnFace);
                      }),
              0);
}

TEST_F(FlatComboTest, ThePaintedWindowCarriesTheFrame) {
    // The real paint: our drawing and the system's in WM_PAINT, the frame on the window after it.
    auto* C = Combo(csDropDown);
    C->SetText(L"typed");
    RedrawWindow(C->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const TWindowDC DC(C->Handle());
    EXPECT_EQ(GetPixel(DC.Handle(), 0, 0), ColorToRGB(Border));
    EXPECT_EQ(GetPixel(DC.Handle(), 1, 1), ColorToRGB(C->Color()));
    const TPoint Tip = ArrowTip(*C, false);
    EXPECT_EQ(GetPixel(DC.Handle(), Tip.X, Tip.Y), ColorToRGB(clBlack));
}

TEST_F(FlatComboTest, DisabledArrowIsEmbossedAndADroppedListTurnsItUp) {
    auto* C = Combo(csDropDownList);
    const TPoint Down = ArrowTip(*C, false);
    const TPoint Up = ArrowTip(*C, true);
    EXPECT_EQ(TClientPixels(*C).At(Down.X, Down.Y), ColorToRGB(clBlack));
    EXPECT_EQ(TClientPixels(*C).At(Up.X, Up.Y - 1), ColorToRGB(Face));

    C->SetDroppedDown(true);
    ASSERT_TRUE(C->DroppedDown());
    // Up, the tip is where the downward arrow's base begins, and that base is gone.
    const TClientPixels Dropped(*C);
    EXPECT_EQ(Dropped.At(Up.X, Up.Y), ColorToRGB(clBlack));
    EXPECT_EQ(Dropped.At(Up.X - 2, Up.Y), ColorToRGB(Face));
    EXPECT_EQ(Dropped.At(Down.X - 2, Down.Y), ColorToRGB(clBlack));
    C->SetDroppedDown(false);
    EXPECT_EQ(TClientPixels(*C).At(Down.X, Down.Y), ColorToRGB(clBlack));

    C->SetEnabled(false);
    const TClientPixels Off(*C);
    EXPECT_EQ(Off.At(Down.X, Down.Y), ColorToRGB(0x808080));
    EXPECT_EQ(Off.At(Down.X + 1, Down.Y + 1), ColorToRGB(clWhite));
    EXPECT_EQ(Off.At(Down.X - 2, Down.Y - 2), ColorToRGB(0x808080));
}

TEST_F(FlatComboTest, ClosingTheListRepaintsTheArrowButtonWithoutErasing) {
    auto* C = Combo(csDropDown);
    UpdateWindow(C->Handle());
    ValidateRect(C->Handle(), nullptr);
    C->Perform(CN_COMMAND, MAKEWPARAM(0, CBN_CLOSEUP), reinterpret_cast<LPARAM>(C->Handle()));
    RECT Update{};
    ASSERT_TRUE(GetUpdateRect(C->Handle(), &Update, FALSE));
    TRect Expected = ArrowOf(*C);
    Expected.Left -= 2;
    EXPECT_EQ(TRect(Update), Expected);
}

TEST_F(FlatComboTest, AFocusedListShowsTheHighlightStripAndFrameUntilItDrops) {
    for (const TComboBoxStyle Style : {csDropDownList, csOwnerDrawFixed}) {
        SCOPED_TRACE(Style);
        auto* C = Combo(Style);
        auto* Other = Combo(csDropDown, 60);
        C->SetItemIndex(1);
        const TRect Client = C->ClientRect();
        const TRect Strip = FlatComboSelectionStrip(Client);
        const TRect Frame = FlatComboFocusFrame(Client);
        const COLORREF Highlight = ColorToRGB(clHighlight);
        const auto Check = [&](bool Lit) {
            const TClientPixels P(*C);
            const COLORREF Expected = Lit ? Highlight : ColorToRGB(C->Color());
            EXPECT_EQ(P.At(Strip.Left, Strip.Top), Expected);
            EXPECT_EQ(P.At(Strip.Right - 1, Strip.Bottom - 1), Expected);
            // The frame's left edge and its bottom right corner.
            EXPECT_EQ(P.At(Frame.Left, Client.Height() / 2) == Highlight, Lit);
            EXPECT_EQ(P.At(Frame.Right - 1, Frame.Bottom - 1) == Highlight, Lit);
        };
        Check(false);
        C->SetFocus();
        ASSERT_TRUE(C->Focused());
        Check(true);
        C->SetDroppedDown(true);
        Check(false);
        C->SetDroppedDown(false);
        Check(true);
        Other->SetFocus();
        Check(false);
        delete C;
        delete Other;
    }
}

TEST_F(FlatComboTest, ActiveFollowsTheFocusOnTheComboOrItsEdit) {
    auto* List = Combo(csDropDownList);
    auto* Edit = Combo(csDropDown, 40);
    auto* Other = Combo(csDropDownList, 70);
    EXPECT_FALSE(List->Active());
    List->SetFocus();
    EXPECT_TRUE(List->Active());
    Edit->SetFocus();
    // The system hands the focus on to the inner edit: still active.
    EXPECT_EQ(GetFocus(), Edit->EditHandle());
    EXPECT_TRUE(Edit->Active());
    EXPECT_FALSE(List->Active());
    Other->SetFocus();
    EXPECT_FALSE(Edit->Active());
}

TEST_F(FlatComboTest, TheInnerEditEndsShortOfTheArrowButton) {
    auto* C = Combo(csDropDown);
    ASSERT_NE(C->EditHandle(), nullptr);
    for (const int Width : {145, 200, 90}) {
        C->SetWidth(Width);
        const TSize Window = WindowSize(C->Handle());
        const TSize Expected = FlatComboEditSize(C->ClientWidth(), Window.cy);
        const TSize Edit = WindowSize(C->EditHandle());
        EXPECT_EQ(Edit.cx, Expected.cx) << Width;
        EXPECT_EQ(Edit.cy, Expected.cy) << Width;
    }
}

TEST_F(FlatComboTest, ASimpleComboKeepsItsEditAboveItsList) {
    auto* C = Combo(csSimple);
    C->SetHeight(90);
    ASSERT_NE(C->EditHandle(), nullptr);
    ASSERT_NE(C->ListHandle(), nullptr);
    RECT Edit{};
    RECT List{};
    GetWindowRect(C->EditHandle(), &Edit);
    GetWindowRect(C->ListHandle(), &List);
    EXPECT_LE(Edit.bottom, List.top);
    EXPECT_GT(List.bottom - List.top, 40);
}

TEST_F(FlatComboTest, ANewFontResetsItemHeightTo13AndKeepsTheItems) {
    for (const TComboBoxStyle Style : {csDropDown, csOwnerDrawFixed}) {
        SCOPED_TRACE(Style);
        auto* C = Combo(Style);
        C->SetItemHeight(20);
        C->SetItemIndex(2);
        // Only owner-drawn lists take the height; the others' follows the font.
        const bool OwnerDrawn = Style == csOwnerDrawFixed;
        EXPECT_EQ(C->ItemHeight(), 20);
        if (OwnerDrawn) {
            EXPECT_EQ(SendMessageW(C->Handle(), CB_GETITEMHEIGHT, 0, 0), 20);
        }
        const HWND Before = C->Handle();
        C->Font().SetSize(14);
        EXPECT_EQ(C->ItemHeight(), 13);
        if (OwnerDrawn) {
            EXPECT_EQ(SendMessageW(C->Handle(), CB_GETITEMHEIGHT, 0, 0), 13);
        }
        EXPECT_NE(C->Handle(), Before);
        EXPECT_EQ(C->Items().Count(), 3);
        EXPECT_EQ(SendMessageW(C->Handle(), CB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(C->ItemIndex(), 2);
        EXPECT_EQ(C->Text(), L"fig");
        // The new window's inner windows are the ones kept.
        COMBOBOXINFO Info{};
        Info.cbSize = sizeof Info;
        ASSERT_TRUE(GetComboBoxInfo(C->Handle(), &Info));
        EXPECT_EQ(C->ListHandle(), Info.hwndList);
        EXPECT_EQ(C->EditHandle(), Style == csDropDown ? Info.hwndItem : nullptr);
        // A font change at 13 makes a new window too.
        const HWND At13 = C->Handle();
        C->Font().SetSize(9);
        EXPECT_NE(C->Handle(), At13);
        EXPECT_EQ(C->ItemHeight(), 13);
        delete C;
    }
}

TEST_F(FlatComboTest, DerivedColoursFollowTheParentsColourOnlyWhenUsed) {
    auto* Plain = Combo(csDropDownList);
    auto* Derived = Combo(csDropDownList, 40);
    Derived->SetUseAdvColors(true);
    const auto ExpectDerivedFrom = [&](TColor Base) {
        EXPECT_EQ(Derived->ColorBorder(), ComputeAdvColor(Base, 0, 50, true));
        EXPECT_EQ(Derived->ColorArrowBackground(), ComputeAdvColor(Base, 0, 10, true));
    };
    ExpectDerivedFrom(Form->Color());
    Form->SetColor(0x336699);
    ExpectDerivedFrom(0x336699);
    // The combo box keeps its own colour, and one without derived colours keeps its colours.
    EXPECT_EQ(Derived->Color(), 0xE1EAEB);
    EXPECT_EQ(Plain->ColorBorder(), Border);
    EXPECT_EQ(Plain->ColorArrowBackground(), Face);
    EXPECT_EQ(TClientPixels(*Derived).At(0, 0), ColorToRGB(Derived->ColorBorder()));
    // A percentage of 0 keeps the colour as it stands.
    Derived->SetAdvColorArrowBackground(0);
    Derived->SetColorArrowBackground(clLime);
    Form->SetColor(clNavy);
    EXPECT_EQ(Derived->ColorArrowBackground(), clLime);
    EXPECT_EQ(Derived->ColorBorder(), ComputeAdvColor(clNavy, 0, 50, true));
}

TEST_F(FlatComboTest, TheListIsPaintedOnTheComboColour) {
    auto* C = Combo(csDropDown);
    C->SetColor(0x40C0F0);
    ASSERT_NE(C->ListHandle(), nullptr);
    const TMemoryDC DC(nullptr);
    const auto Brush = reinterpret_cast<HBRUSH>(
        SendMessageW(C->Handle(), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(DC.Handle()),
                     reinterpret_cast<LPARAM>(C->ListHandle())));
    LOGBRUSH Info{};
    ASSERT_EQ(GetObjectW(Brush, sizeof Info, &Info), static_cast<int>(sizeof Info));
    EXPECT_EQ(Info.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(Info.lbColor, ColorToRGB(0x40C0F0));
    EXPECT_EQ(GetBkColor(DC.Handle()), ColorToRGB(0x40C0F0));
}

TEST_F(FlatComboTest, CreatingPaintingAndFreeingLeavesNoGdiObjects) {
    EXPECT_EQ(GdiGrowth([&] {
                  for (const TComboBoxStyle Style : {csDropDown, csDropDownList}) {
                      auto* C = Combo(Style);
                      C->SetFocus();
                      RedrawWindow(C->Handle(), nullptr, nullptr,
                                   RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                      TClientPixels Pixels(*C);
                      C->Perform(WM_CTLCOLORLISTBOX, 0, 0);
                      C->Font().SetSize(12);
                      delete C;
                  }
              }),
              0);
}

} // namespace
