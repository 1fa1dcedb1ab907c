#include "GuiTestSupport.h"
#include "tests/support/GdiCount.h"

#include "classlib/gui/ComCtrls.h"
#include "classlib/gui/ExtCtrls.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

constexpr COLORREF WhitePixel = RGB(255, 255, 255);

class GuiContainersTest : public PlainFormTest<240, 200> {};

} // namespace

TEST_F(GuiContainersTest, APanelDrawsItsBevelsAndKeepsAlignedControlsInsideThem) {
    auto* Panel = Place<TPanel>(*Form, Bounds(10, 10, 100, 60));
    EXPECT_EQ(Panel->BevelOuter(), bvRaised);
    EXPECT_EQ(Panel->BevelInner(), bvNone);
    Panel->SetColor(clWhite);
    Panel->SetBevelInner(bvLowered);
    Panel->SetBevelWidth(2);
    auto* Top = Place<TFilledBlock>(*Panel, Bounds(0, 0, 10, 10));
    Top->SetAlign(alTop);
    EXPECT_EQ(Top->BoundsRect(), Bounds(4, 4, 92, 10));

    Form->Show();
    const TClientPixels Pixels(*Panel);
    const COLORREF Light = ColorToRGB(clBtnHighlight);
    const COLORREF Shadow = ColorToRGB(clBtnShadow);
    EXPECT_EQ(Pixels.At(0, 30), Light);   // outer, raised: light at the left
    EXPECT_EQ(Pixels.At(99, 30), Shadow); // and dark at the right
    EXPECT_EQ(Pixels.At(2, 30), Shadow);  // inner, lowered: the other way round
    EXPECT_EQ(Pixels.At(97, 30), Light);
    EXPECT_EQ(Pixels.At(4, 30), WhitePixel);
    EXPECT_EQ(Pixels.At(50, 5), RGB(255, 0, 0)); // the aligned control
}

TEST_F(GuiContainersTest, APanelPlacesItsCaptionByAlignment) {
    auto* Panel = Place<TPanel>(*Form, Bounds(0, 0, 200, 40));
    Panel->SetColor(clWhite);
    Panel->SetBevelOuter(bvNone);
    Panel->Font().SetColor(clBlack);
    Panel->SetCaption(L"MMM");
    Form->Show();
    const auto InkSpan = [&] {
        const TClientPixels Pixels(*Panel);
        int Left = Pixels.Width;
        int Right = -1;
        for (int Y = 0; Y < Pixels.Height; ++Y)
            for (int X = 0; X < Pixels.Width; ++X)
                if (Pixels.At(X, Y) != WhitePixel) {
                    Left = std::min(Left, X);
                    Right = std::max(Right, X);
                }
        return std::pair{Left, Right};
    };
    const struct {
        TAlignment Alignment;
        bool NearLeft, NearMiddle, NearRight;
    } Cases[] = {{taLeftJustify, true, false, false},
                 {taCenter, false, true, false},
                 {taRightJustify, false, false, true}};
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Alignment);
        Panel->SetAlignment(Case.Alignment);
        const auto [Left, Right] = InkSpan();
        ASSERT_LE(Left, Right);
        EXPECT_EQ(Left < 5, Case.NearLeft);
        EXPECT_EQ(std::abs((Left + Right) / 2 - 100) < 5, Case.NearMiddle);
        EXPECT_EQ(Right > 194, Case.NearRight);
    }
}

TEST_F(GuiContainersTest, BevelShapesDrawWhereTheyShould) {
    const COLORREF Light = ColorToRGB(clBtnHighlight);
    const COLORREF Shadow = ColorToRGB(clBtnShadow);
    const struct {
        TBevelShape Shape;
        TBevelStyle Style;
        POINT First, Second; // where the first and second colours of the style show
        POINT Blank;         // where nothing is drawn
    } Cases[] = {
        {bsBox, bsLowered, {0, 10}, {19, 10}, {10, 10}},
        {bsBox, bsRaised, {0, 10}, {19, 10}, {10, 10}},
        {bsFrame, bsLowered, {0, 10}, {1, 10}, {10, 10}},
        {bsTopLine, bsLowered, {10, 0}, {10, 1}, {10, 10}},
        {bsBottomLine, bsRaised, {10, 18}, {10, 19}, {10, 10}},
        {bsLeftLine, bsLowered, {0, 10}, {1, 10}, {10, 10}},
        {bsRightLine, bsLowered, {18, 10}, {19, 10}, {10, 10}},
    };
    auto* Bevel = Place<TBevel>(*Form, Bounds(0, 0, 20, 20));
    Form->Show();
    for (const auto& Case : Cases) {
        SCOPED_TRACE(testing::Message() << Case.Shape << "/" << Case.Style);
        Bevel->SetShape(Case.Shape);
        Bevel->SetStyle(Case.Style);
        const TClientPixels Pixels(*Form);
        const bool Lowered = Case.Style == bsLowered;
        EXPECT_EQ(Pixels.At(Case.First.x, Case.First.y), Lowered ? Shadow : Light);
        EXPECT_EQ(Pixels.At(Case.Second.x, Case.Second.y), Lowered ? Light : Shadow);
        EXPECT_EQ(Pixels.At(Case.Blank.x, Case.Blank.y), WhitePixel);
    }
    Bevel->SetShape(bsSpacer);
    const TClientPixels Spacer(*Form);
    EXPECT_EQ(Spacer.Count(TRect(), false, [](COLORREF P) { return P != WhitePixel; }), 0);
}

TEST_F(GuiContainersTest, ANotebookShowsOnePageChosenByIndexOrName) {
    auto* Book = Place<TNotebook>(*Form, Bounds(0, 0, 100, 80));
    std::vector<std::wstring> Changes;
    Book->OnPageChanged = [&](TObject* Sender) {
        Changes.push_back(static_cast<TNotebook*>(Sender)->ActivePage());
    };
    EXPECT_EQ(Book->PageIndex(), -1);
    EXPECT_EQ(Book->ActivePage(), L"");
    TPage* Drives = Book->AddPage(L"Drives");
    TPage* Folders = Book->AddPage(L"Folders");
    TPage* Files = Book->AddPage(L"Files");
    EXPECT_EQ(Book->PageIndex(), 0);
    EXPECT_TRUE(Drives->Visible());
    EXPECT_FALSE(Folders->Visible());

    Book->SetActivePage(L"files"); // names compare without case
    EXPECT_EQ(Book->PageIndex(), 2);
    EXPECT_TRUE(Files->Visible());
    EXPECT_FALSE(Drives->Visible());
    EXPECT_EQ(Files->BoundsRect(), Bounds(0, 0, 100, 80)); // the shown page fills the notebook
    Book->SetPageIndex(1);
    Book->SetPageIndex(1);           // no change, no notice
    Book->SetActivePage(L"Nowhere"); // names no page: nothing changes
    Book->SetPageIndex(7);
    EXPECT_EQ(Book->ActivePage(), L"Folders");
    EXPECT_EQ(Changes, (std::vector<std::wstring>{L"Files", L"Folders"}));
    EXPECT_EQ(Book->IndexOfPage(L"DRIVES"), 0);
    EXPECT_THROW(Book->Pages(3), EListError);

    // Only the shown page's controls are painted.
    auto* OnFiles = Place<TFilledBlock>(*Files, Bounds(0, 0, 20, 20));
    Form->Show();
    const TClientPixels Hidden(*Form);
    EXPECT_NE(Hidden.At(5, 5), RGB(255, 0, 0));
    Book->SetActivePage(L"Files");
    PumpUntil([&] { return !GetUpdateRect(Book->Handle(), nullptr, FALSE); });
    const TClientPixels Shown(*Files);
    EXPECT_EQ(Shown.At(5, 5), RGB(255, 0, 0));
    (void)OnFiles;

    delete Files; // the shown page goes: the one before it shows
    EXPECT_EQ(Book->PageCount(), 2);
    EXPECT_EQ(Book->ActivePage(), L"Folders");
    EXPECT_TRUE(Folders->Visible());
}

TEST_F(GuiContainersTest, TheMonthCalendarKeepsItsDateThroughANewWindow) {
    auto* Calendar = Place<TMonthCalendar>(*Form, Bounds(0, 0, 230, 180));
    const TDateTime Day = EncodeDate(2024, 2, 29);
    Calendar->SetDate(Day + 0.75); // the time of day is dropped
    EXPECT_EQ(Calendar->Date(), Day);
    Form->Show();
    SYSTEMTIME Shown{};
    ASSERT_TRUE(
        SendMessageW(Calendar->Handle(), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&Shown)));
    EXPECT_EQ(Shown.wYear, 2024);
    EXPECT_EQ(Shown.wMonth, 2);
    EXPECT_EQ(Shown.wDay, 29);

    Calendar->SetWeekNumbers(true);
    EXPECT_TRUE(GetWindowLongPtrW(Calendar->Handle(), GWL_STYLE) & MCS_WEEKNUMBERS);
    Shown = {};
    SendMessageW(Calendar->Handle(), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&Shown));
    EXPECT_EQ(Shown.wDay, 29);

    // The user's choice arrives as the calendar's notice through its parent.
    NMSELCHANGE Change{};
    Change.nmhdr.hwndFrom = Calendar->Handle();
    Change.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(Calendar->Handle()));
    Change.nmhdr.code = MCN_SELCHANGE;
    Change.stSelStart = SYSTEMTIME{2025, 3, 0, 14, 0, 0, 0, 0};
    Change.stSelEnd = Change.stSelStart;
    SendMessageW(Form->Handle(), WM_NOTIFY, Change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&Change));
    EXPECT_EQ(Calendar->Date(), EncodeDate(2025, 3, 14));
}

TEST_F(GuiContainersTest, TheAnimationMovesOnlyWhileActive) {
    auto* Busy = Place<TAnimate>(*Form, Bounds(0, 0, 120, 16));
    Busy->SetCommonAVI(aviCopyFiles);
    Form->Show();
    const TClientPixels Still(*Form);
    Busy->SetActive(true);
    const int First = Busy->Frame();
    EXPECT_TRUE(PumpUntil([&] { return Busy->Frame() != First; }));
    const TClientPixels Moving(*Form);
    const TRect Area = Busy->BoundsRect();
    const COLORREF Lit = ColorToRGB(clHighlight);
    EXPECT_GT(Moving.Count(Area, true, [&](COLORREF P) { return P == Lit; }), 0);
    EXPECT_EQ(Still.Count(Area, true, [&](COLORREF P) { return P == Lit; }), 0);

    Busy->SetActive(false);
    const int Stopped = Busy->Frame();
    PumpUntil([] { return false; }); // two seconds without a step
    EXPECT_EQ(Busy->Frame(), Stopped);
}

TEST_F(GuiContainersTest, ACopyCarriesASheetToAFolderADeleteToTheBin) {
    auto* Copy = Place<TAnimate>(*Form, Bounds(0, 0, 200, 40));
    Copy->SetCommonAVI(aviCopyFiles);
    auto* Delete = Place<TAnimate>(*Form, Bounds(0, 50, 200, 40));
    Delete->SetCommonAVI(aviDeleteFile);
    Form->Show();
    const COLORREF Folder = ColorToRGB(TColor(0x60D0F0));
    const COLORREF Bin = ColorToRGB(TColor(0xC8C8C8));
    const auto Shows = [](const TClientPixels& Pixels, const TRect& Area, COLORREF Colour) {
        return Pixels.Count(Area, true, [&](COLORREF P) { return P == Colour; }) > 0;
    };
    const TClientPixels Still(*Form);
    // Both start from a folder on the left; the copy ends in a folder, the delete in the bin.
    EXPECT_TRUE(Shows(Still, Bounds(0, 0, 50, 40), Folder));
    EXPECT_TRUE(Shows(Still, Bounds(150, 0, 50, 40), Folder));
    EXPECT_FALSE(Shows(Still, Bounds(150, 0, 50, 40), Bin));
    EXPECT_TRUE(Shows(Still, Bounds(0, 50, 50, 40), Folder));
    EXPECT_TRUE(Shows(Still, Bounds(150, 50, 50, 40), Bin));
    EXPECT_FALSE(Shows(Still, Bounds(150, 50, 50, 40), Folder));
    const COLORREF Lit = ColorToRGB(clHighlight);
    EXPECT_FALSE(Shows(Still, Bounds(0, 0, 200, 90), Lit)) << "no sheet in flight while still";
    Delete->SetActive(true);
    const TClientPixels Moving(*Form);
    EXPECT_TRUE(Shows(Moving, Delete->BoundsRect(), Lit));
}

// The month calendar is left out: wine's own calendar window keeps one object for each window
// made, with or without the library around it.
TEST_F(GuiContainersTest, ContainersLeaveNoGdiObjectsBehind) {
    Form->Show();
    EXPECT_EQ(GdiGrowth(
                  [&] {
                      auto* Panel = Place<TPanel>(*Form, Bounds(0, 0, 100, 50));
                      Panel->SetCaption(L"Panel");
                      Panel->SetBevelInner(bvLowered);
                      Place<TBevel>(*Panel, Bounds(5, 5, 30, 30))->SetShape(bsFrame);
                      auto* Book = Place<TNotebook>(*Form, Bounds(100, 0, 100, 50));
                      Book->AddPage(L"One");
                      Book->AddPage(L"Two");
                      Book->SetPageIndex(1);
                      auto* Busy = Place<TAnimate>(*Form, Bounds(0, 60, 100, 16));
                      Busy->SetActive(true);
                      const TClientPixels Painted(*Form);
                      const TClientPixels PanelPixels(*Panel);
                      delete Panel;
                      delete Book;
                      delete Busy;
                  },
                  10),
              0);
}
