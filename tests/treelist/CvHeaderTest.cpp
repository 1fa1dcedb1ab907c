// The header control: geometry, painting by pixels, and its mouse machines under synthetic
// messages.
#include "treelist/CvHeader.h"

#include "tests/support/GuiTestSupport.h"
#include "tests/support/GdiCount.h"
#include "tests/treelist/DibSurface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

LPARAM At(int X, int Y) {
    return MAKELPARAM(X, Y);
}

// Sections of 100, 100 and 60 pixels.
void AddThree(TCustomCvHeader& Header) {
    for (const int W : {100, 100, 60}) {
        TCvHeaderSection* S = Header.Sections().AppendSection();
        S->SetText(L"S" + std::to_wstring(Header.Sections().SectionCount() - 1));
        S->SetWidth(W);
    }
}

} // namespace

TEST(CvHeaderGeometry, SectionsScrollExceptTheLockedOne) {
    TCvHeader Header(nullptr);
    Header.SetBounds(0, 0, 200, 20);
    AddThree(Header);
    TCvHeaderSections& All = Header.Sections();
    EXPECT_EQ(Header.SectionAt(150, 5), All.ItemAt(1));
    EXPECT_EQ(Header.SectionAt(150, 25), nullptr);
    EXPECT_EQ(Header.SectionAt(260, 5), nullptr);
    EXPECT_EQ(Header.SectionsWidth(), 260);
    Header.SetScrollOffset(50);
    EXPECT_EQ(Header.SectionAt(60, 5), All.ItemAt(1));
    Header.SetLockedSection(All.ItemAt(0));
    EXPECT_EQ(Header.SectionAt(60, 5), All.ItemAt(0)); // stays put
    EXPECT_EQ(Header.SectionRect(0).Left, 50);         // callers subtract the offset
    EXPECT_EQ(Header.SectionRect(2).Left, 200);
    All.ItemAt(2)->SetVisible(false);
    EXPECT_EQ(Header.SectionsWidth(), 200);
}

TEST(CvHeaderGeometry, ResizeZones) {
    TCvHeader Header(nullptr);
    Header.SetBounds(0, 0, 400, 20);
    AddThree(Header);
    TCvHeaderSection* Narrow = Header.Sections().AppendSection();
    Narrow->SetWidth(10); // 260..270
    struct TCase {
        int X;
        int Section; // -1: no zone
    };
    // A section under 15 pixels has no zones of its own; right of every section the last one's
    // zone reaches 5 pixels out.
    const TCase Cases[] = {{2, -1},  {50, -1},  {95, 0},   {99, 0},  {103, 0}, {105, -1},
                           {196, 1}, {262, -1}, {265, -1}, {272, 3}, {274, 3}, {275, -1}};
    for (const TCase& C : Cases) {
        TCvHeaderSection* Zone = nullptr;
        const bool In = Header.InResizeArea(C.X, Zone);
        EXPECT_EQ(In, C.Section >= 0) << C.X;
        EXPECT_EQ(Zone, C.Section >= 0 ? Header.Sections().ItemAt(C.Section) : nullptr) << C.X;
    }
}

TEST(CvHeaderGeometry, NaturalWidthCountsButtonsImagesAndCaption) {
    TCvHeader Header(nullptr);
    TCvHeaderSection* S = Header.Sections().AppendSection();
    int TextWidth = -1;
    int Height = -1;
    EXPECT_EQ(Header.MeasureSectionWidth(S, TextWidth, Height), 22);
    EXPECT_EQ(TextWidth, 0);
    EXPECT_EQ(Height, std::abs(Header.Font().Height()));
    S->SetText(L"Caption");
    S->SetExpandable(true);
    const int Natural = Header.MeasureSectionWidth(S, TextWidth, Height);
    EXPECT_GT(TextWidth, 20);
    EXPECT_EQ(Natural, 30 + TextWidth);
    S->SetMinWidth(500);
    EXPECT_EQ(Header.MeasureSectionWidth(S, TextWidth, Height), 500);
    int Asked = 0;
    S->SetStyle(CvhsOwnerDraw);
    Header.OnMeasureSection = [&](TObject*, TCvHeaderSection*, TSize& Size) {
        ++Asked;
        EXPECT_EQ(Size.cx, 0);
        Size = TSize{40, 30};
    };
    S->SetMinWidth(0);
    EXPECT_EQ(Header.MeasureSectionWidth(S, TextWidth, Height), 70);
    EXPECT_EQ(Height, 30);
    EXPECT_EQ(Asked, 1);
}

// ------------------------------------------------------------ pixels

namespace {

constexpr TColor Ink = 0x606060; // the sort mark's colour

int InkIn(const TDibSurface& S, const TRect& R, TColor Color) {
    int N = 0;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X)
            N += S.Pixel(X, Y) == Color;
    return N;
}

} // namespace

TEST(CvHeaderPaint, SortMarkNeedsThirteenPixelsAndTheFilterIsATriangle) {
    TCvHeader Header(nullptr);
    Header.SetUseXPThemes(false);
    TCvHeaderSection* S = Header.Sections().AppendSection();
    S->SetSortMode(hsmAscend);
    struct TCase {
        int Width;
        bool Mark;
    };
    for (const TCase C : {TCase{18, false}, TCase{19, true}, TCase{60, true}}) {
        TDibSurface Surface(80, 20, clWhite);
        TCanvas Canvas;
        const TCanvasDC Attached(Canvas, Surface.DC());
        Header.DrawSection(Canvas, S, false, TRect(0, 0, C.Width, 20));
        EXPECT_EQ(InkIn(Surface, TRect(0, 0, C.Width, 20), Ink) > 0, C.Mark) << C.Width;
    }
    S->SetSortMode(hsmNone);
    S->SetFilterEnabled(true);
    Header.SetFilterColor(clRed);
    TDibSurface Surface(80, 20, clWhite);
    TCanvas Canvas;
    const TCanvasDC Attached(Canvas, Surface.DC());
    Header.DrawSection(Canvas, S, false, TRect(0, 0, 60, 20));
    // Content right edge: 60 - 1 (frame) - 1 - 4 = 54; the triangle hangs from y = 11.
    EXPECT_EQ(Surface.Pixel(52, 12), clRed);
    EXPECT_GT(InkIn(Surface, TRect(49, 11, 55, 16), clRed), 5);
    EXPECT_EQ(InkIn(Surface, TRect(0, 0, 48, 20), clRed), 0);
    S->SetFilterIsActive(true);
    Header.SetActiveFilterColor(clBlue);
    Header.DrawSection(Canvas, S, false, TRect(0, 0, 60, 20));
    EXPECT_EQ(Surface.Pixel(52, 12), clBlue);
}

TEST(CvHeaderPaint, AnInvertedLineDrawnTwiceLeavesNoTrace) {
    TDibSurface Surface(20, 20, clBtnFace);
    Surface.Fill(0x336699);
    InvertColumn(Surface.DC(), 5, 20);
    EXPECT_EQ(Surface.Pixel(5, 10), 0xCC9966);
    EXPECT_EQ(Surface.Pixel(6, 10), 0x336699);
    InvertColumn(Surface.DC(), 5, 20);
    EXPECT_EQ(Surface.Count(0x336699), 400);
}

// ------------------------------------------------------------ mouse machines

namespace {

class CvHeaderTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Form = NewForm<TForm>(App.get());
        Form->SetBounds(0, 0, 420, 200);
        Header = new TCvHeader(Form);
        Header->SetUseXPThemes(false);
        Header->SetParent(Form);
        AddThree(*Header);
        Header->OnSectionClick = [this](TObject*, TCvHeaderSection* S) {
            Events.push_back("click " + std::to_string(S->SectionIndex()));
        };
        Header->OnSectionResize = [this](TObject*, TCvHeaderSection* S) {
            Events.push_back("resize " + std::to_string(S->SectionIndex()));
        };
        Header->OnSectionResizing = [this](TObject*, TCvHeaderSection*,
                                           TCvSectionResizingState State, int W) {
            Events.push_back("resizing " + std::to_string(State) + " " + std::to_string(W));
        };
        Form->Show();
        Wnd = Header->Handle();
    }
    void Send(UINT Msg, WPARAM W, LPARAM L) { SendMessageW(Wnd, Msg, W, L); }
    std::vector<int> Order() const {
        std::vector<int> Indexes;
        for (int I = 0; I < Header->Sections().SectionCount(); ++I)
            Indexes.push_back(Header->Sections().ItemAt(I)->SectionIndex());
        return Indexes;
    }

    TForm* Form = nullptr;
    TCvHeader* Header = nullptr;
    HWND Wnd = nullptr;
    std::vector<std::string> Events;
};

} // namespace

TEST_F(CvHeaderTest, AShortMoveIsAClickAndALongOneADrag) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(50, 5));
    EXPECT_EQ(Header->PressedSection(), Header->Sections().ItemAt(0));
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(53, 8)); // 4.2 pixels: still a press
    Send(WM_LBUTTONUP, 0, At(53, 8));
    EXPECT_EQ(Events, (std::vector<std::string>{"click 0"}));

    Events.clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(50, 5));
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(53, 9)); // 5 pixels
    EXPECT_EQ(Header->DragSection(), Header->Sections().ItemAt(0));
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(330, 5));
    Send(WM_LBUTTONUP, 0, At(330, 5)); // past the last section: to the end
    EXPECT_TRUE(Events.empty());
    EXPECT_EQ(Header->DragSection(), nullptr);
    EXPECT_EQ(Order(), (std::vector<int>{1, 2, 0}));

    // Released on another section: it takes that place.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 5));
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(40, 5));
    Send(WM_LBUTTONUP, 0, At(220, 5));
    EXPECT_EQ(Order(), (std::vector<int>{2, 0, 1}));
}

TEST_F(CvHeaderTest, OnlyThePressedSectionIsClicked) {
    Header->Sections().ItemAt(1)->SetAllowClick(false);
    Header->AllowDrag = false;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(150, 5));
    EXPECT_EQ(Header->PressedSection(), nullptr);
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(170, 5));
    Send(WM_LBUTTONUP, 0, At(150, 5));
    EXPECT_TRUE(Events.empty()); // no click and no drag
    // Pressed on one section and released over another: nothing.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(50, 5));
    Send(WM_LBUTTONUP, 0, At(230, 5));
    EXPECT_TRUE(Events.empty());
    // The expand button toggles and is not a click.
    TCvHeaderSection* S = Header->Sections().ItemAt(0);
    S->SetExpandable(true);
    int Expanded = 0;
    Header->OnSectionExpand = [&](TObject*, TCvHeaderSection*) { ++Expanded; };
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(93, 5));
    Send(WM_LBUTTONUP, 0, At(93, 5));
    EXPECT_TRUE(S->Expanded());
    EXPECT_EQ(Expanded, 1);
    EXPECT_TRUE(Events.empty());
}

TEST_F(CvHeaderTest, ResizingWithALineFiresResizeTwiceAndStopsAtMaxWidth) {
    Header->Sections().ItemAt(0)->SetMaxWidth(120);
    Events.clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(98, 5)); // grabbed 2 pixels left of the edge
    EXPECT_EQ(Header->ResizeSection(), Header->Sections().ItemAt(0));
    EXPECT_EQ(Header->ResizeLineX(), 100);
    for (int X = 99; X <= 140; ++X)
        Send(WM_MOUSEMOVE, MK_LBUTTON, At(X, 5));
    EXPECT_EQ(Header->ResizeLineX(), 120);
    EXPECT_EQ(Header->Sections().ItemAt(0)->Width(), 100); // only the line moved
    Send(WM_LBUTTONUP, 0, At(140, 5));
    EXPECT_EQ(Header->Sections().ItemAt(0)->Width(), 120);
    EXPECT_EQ(Events.front(), "resizing 0 100");
    EXPECT_EQ(Events[Events.size() - 4], "resizing 1 120");
    EXPECT_EQ(Events[Events.size() - 3], "resize 0"); // from the width
    EXPECT_EQ(Events[Events.size() - 2], "resizing 2 120");
    EXPECT_EQ(Events.back(), "resize 0"); // after the end
    EXPECT_EQ(Header->ResizeSection(), nullptr);
}

TEST_F(CvHeaderTest, ResizeOnDragSetsTheWidthAsTheMouseMoves) {
    Header->ResizeOnDrag = true;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(203, 5)); // the zone left of the third section
    EXPECT_EQ(Header->ResizeSection(), Header->Sections().ItemAt(1));
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(183, 5));
    EXPECT_EQ(Header->Sections().ItemAt(1)->Width(), 80);
    Send(WM_CANCELMODE, 0, 0); // ends it as a release would
    EXPECT_EQ(Header->ResizeSection(), nullptr);
    EXPECT_EQ(Header->Sections().ItemAt(1)->Width(), 80);
}

TEST_F(CvHeaderTest, EscapeDropsADraggedSectionOnItself) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(150, 5));
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(240, 5));
    ASSERT_NE(Header->DragSection(), nullptr);
    Send(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(Header->DragSection(), nullptr);
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));
    Send(WM_LBUTTONUP, 0, At(240, 5));
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));
}

TEST_F(CvHeaderTest, TheHotCaptionIsHighlighted) {
    Header->SetBounds(0, 0, 400, 24);
    Send(WM_MOUSEMOVE, 0, At(150, 5));
    ASSERT_EQ(Header->HotSection(), Header->Sections().ItemAt(1));
    TClientPixels Hot(*Header);
    const COLORREF Highlight = ColorToRGB(clHighlight);
    EXPECT_GT(Hot.Count(TRect(100, 0, 200, 24), true, [&](COLORREF C) { return C == Highlight; }),
              3);
    EXPECT_EQ(Hot.Count(TRect(0, 0, 100, 24), true, [&](COLORREF C) { return C == Highlight; }), 0);
    Send(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Header->HotSection(), nullptr);
}

TEST_F(CvHeaderTest, CreatingPaintingAndDestroyingLeavesNoGdiObjects) {
    EXPECT_EQ(GdiGrowth([&] {
                  auto* Other = new TCvHeader(Form);
                  Other->SetUseXPThemes(false);
                  Other->SetParent(Form);
                  AddThree(*Other);
                  Other->Sections().ItemAt(0)->SetSortMode(hsmDescend);
                  Other->Sections().ItemAt(1)->SetFilterEnabled(true);
                  Other->Sections().ItemAt(2)->SetLookupEnabled(true);
                  TClientPixels Pixels(*Other);
                  delete Other;
              }),
              0);
}

TEST_F(CvHeaderTest, RightAlignedTextMakesARightToLeftWindow) {
    Header->SetRightAlignedText(true);
    const LONG_PTR ExStyle = GetWindowLongPtrW(Header->Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(ExStyle & WS_EX_RTLREADING);
    EXPECT_TRUE(ExStyle & WS_EX_RIGHT);
    EXPECT_EQ(Header->Sections().SectionCount(), 3); // the sections survive the new window
}

TEST_F(CvHeaderTest, ThemedOrNotTheHeaderPaintsEverySection) {
    // Whatever the system offers: with a theme the parts come from it, without one the classic
    // look is drawn. Either way no section is left blank.
    Header->SetUseXPThemes(true);
    TClientPixels Pixels(*Header);
    const COLORREF First = Pixels.At(50, 2);
    EXPECT_GT(
        Pixels.Count(TRect(0, 0, 100, Pixels.Height), true, [&](COLORREF C) { return C != First; }),
        10);
}

TEST_F(CvHeaderTest, ALostCaptureEndsEachGestureAsAReleaseOutsideWould) {
    auto* Other = NewPlainForm(*App, TRect(500, 0, 550, 50));
    Other->Show();
    const auto TakeCapture = [&] {
        SetCapture(Other->Handle());
        ReleaseCapture();
    };
    // A press: no click comes of it, not even from a later release over the section.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(50, 5));
    ASSERT_NE(Header->PressedSection(), nullptr);
    TakeCapture();
    EXPECT_EQ(Header->PressedSection(), nullptr);
    Send(WM_LBUTTONUP, 0, At(50, 5));
    // A resize by the line: ended and applied as a release would, the line's DC let go.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(98, 5));
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(110, 5));
    ASSERT_EQ(Header->ResizeSection(), Header->Sections().ItemAt(0));
    TakeCapture();
    EXPECT_EQ(Header->ResizeSection(), nullptr);
    EXPECT_EQ(Header->Sections().ItemAt(0)->Width(), 112);
    EXPECT_EQ(Screen->Cursor(), crDefault); // the program's cursor is its own again
    // A drag: ended, the header no longer follows the mouse.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(150, 5));
    Send(WM_MOUSEMOVE, MK_LBUTTON, At(170, 5));
    ASSERT_NE(Header->DragSection(), nullptr);
    TakeCapture();
    EXPECT_EQ(Header->DragSection(), nullptr);
    EXPECT_FALSE(Header->MouseCapture());
    EXPECT_EQ(Events, (std::vector<std::string>{"resizing 0 100", "resizing 1 112", "resize 0",
                                                "resizing 2 112", "resize 0"}));
}

TEST_F(CvHeaderTest, TheSplitCursorAnswersWmSetCursorAndLeavesTheScreenCursorAlone) {
    TPoint Pointer;
    Screen->CursorPosSource = [&] { return Pointer; };
    const auto HoverAt = [&](int X) {
        Pointer = Header->ClientToScreen(TPoint{X, 5});
        Send(WM_MOUSEMOVE, 0, At(X, 5));
        Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(Wnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    EXPECT_EQ(HoverAt(98), Screen->Cursors(crHSplit));
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_NE(HoverAt(50), Screen->Cursors(crHSplit));
    {
        // Long work's hourglass stays whatever the mouse passes over.
        const TScreenCursor Wait(crHourGlass);
        EXPECT_EQ(HoverAt(98), Screen->Cursors(crHourGlass));
        HoverAt(50);
        EXPECT_EQ(Screen->Cursor(), crHourGlass);
        EXPECT_EQ(HoverAt(198), Screen->Cursors(crHourGlass));
        EXPECT_EQ(Screen->Cursor(), crHourGlass);
    }
    Screen->CursorPosSource = nullptr;
}
