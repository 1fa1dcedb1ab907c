// Flat hint: placement by the pointer's quadrant, the strip and arrow, wrapping, the pauses and
// handler the component installs, and nothing left calling it once it is gone.
#include "controls/FlatHint.h"
#include "tests/controls/ControlsTestSupport.h"
#include "tests/support/GdiCount.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

std::pair<int, int> XY(TPoint P) {
    return {P.X, P.Y};
}

TEST(FlatHintRules, TheBoxStandsInTheQuadrantAwayFromThePointer) {
    // Screen 1000 x 800, box 100 x 40.
    const struct {
        TPoint Pointer;
        int Side;
        TRect Box;
    } Cases[] = {
        {{100, 100}, 1, Bounds(112, 112, 100, 40)}, // top-left: right and below, gap 12
        {{900, 100}, 0, Bounds(795, 105, 100, 40)}, // top-right: left and below
        {{100, 700}, 3, Bounds(105, 655, 100, 40)}, // bottom-left: right and above
        {{900, 700}, 2, Bounds(795, 655, 100, 40)}, // bottom-right: left and above
        {{499, 399}, 1, Bounds(511, 411, 100, 40)}, // just inside the top-left quadrant
        {{500, 400}, 2, Bounds(395, 355, 100, 40)}, // the middle counts as bottom-right
        // On a monitor right of the first one, its own quadrants count.
        {{1100, 100}, 1, Bounds(1112, 112, 100, 40)},
        {{1600, 300}, 0, Bounds(1495, 305, 100, 40)},
        {{1499, 700}, 3, Bounds(1504, 655, 100, 40)},
        // On one above the first, with negative coordinates.
        {{100, -700}, 1, Bounds(112, -688, 100, 40)},
        {{900, -300}, 2, Bounds(795, -345, 100, 40)},
    };
    const auto MonitorOf = [](TPoint P) {
        if (P.Y < 0)
            return Bounds(0, -800, 1000, 800);
        return P.X < 1000 ? Bounds(0, 0, 1000, 800) : Bounds(1000, 0, 1000, 800);
    };
    for (const auto& C : Cases) {
        const int Side = FlatHintSide(C.Pointer, MonitorOf(C.Pointer));
        EXPECT_EQ(Side, C.Side) << C.Pointer.X << "," << C.Pointer.Y;
        EXPECT_EQ(FlatHintBounds(Side, C.Pointer, 100, 40), C.Box)
            << C.Pointer.X << "," << C.Pointer.Y;
    }
}

TEST(FlatHintRules, StripAndArrowFaceThePointer) {
    const TRect Client(0, 0, 120, 40);
    const struct {
        int Side;
        TRect Strip, Text;
        TPoint Anchor, Second;
    } Cases[] = {
        {0, TRect(105, 1, 119, 39), TRect(1, 1, 105, 39), {116, 3}, {116, 9}},
        {1, TRect(1, 1, 15, 39), TRect(15, 1, 119, 39), {3, 3}, {3, 9}},
        {2, TRect(105, 1, 119, 39), TRect(1, 1, 105, 39), {116, 36}, {116, 30}},
        {3, TRect(1, 1, 15, 39), TRect(15, 1, 119, 39), {3, 36}, {3, 30}},
    };
    for (const auto& C : Cases) {
        const TFlatHintParts Parts = FlatHintParts(C.Side, Client);
        EXPECT_EQ(Parts.Strip, C.Strip) << C.Side;
        EXPECT_EQ(Parts.TextArea, C.Text) << C.Side;
        EXPECT_EQ(XY(Parts.Arrow[0]), XY(C.Anchor)) << C.Side;
        EXPECT_EQ(XY(Parts.Arrow[1]), XY(C.Second)) << C.Side;
        for (const TPoint P : Parts.Arrow)
            EXPECT_TRUE(P.X >= Parts.Strip.Left && P.X < Parts.Strip.Right &&
                        P.Y >= Parts.Strip.Top && P.Y < Parts.Strip.Bottom)
                << C.Side << ": " << P.X << "," << P.Y;
    }
    // The arrow's last point of side 0 lies left of and below its anchor.
    EXPECT_EQ(XY(FlatHintParts(0, Client).Arrow[17]), XY({116 - 7, 3 + 6}));
    EXPECT_EQ(XY(FlatHintParts(3, Client).Arrow[17]), XY({3 + 7, 36 - 6}));
}

class FlatHintTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Main = App->CreateForm<TForm>();
    }
    // Shows Text in a flat hint window with the pointer at Pointer.
    TFlatHintWindow* Show(TPoint Pointer, const String& Text) {
        Cursor = Pointer;
        auto* Window = new TFlatHintWindow(Main);
        Window->ActivateHint(Bounds(Pointer.X, Pointer.Y, 10, 10), Text);
        return Window;
    }
    // The width and height DrawText gives Text wrapped at Width in Font.
    static TSize Measured(const TFont& Font, const String& Text, int Width) {
        const TClientDC DC(nullptr);
        TCanvas Measure;
        const TCanvasDC Attached(Measure, DC.Handle());
        Measure.Font().Assign(Font);
        TRect R(0, 0, Width, 0);
        Measure.TextRect(R, Text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        return TSize{R.Width(), R.Height()};
    }
    TForm* Main = nullptr;
};

TEST_F(FlatHintTest, TheComponentInstallsItsWindowPausesAndHandler) {
    auto* Hint = new TFlatHint(Main);
    EXPECT_EQ(App->HintShortPause, 25);
    EXPECT_EQ(App->HintPause, 500);
    EXPECT_EQ(App->HintHidePause, 5000);
    ASSERT_TRUE(App->HintWindowClass());
    std::unique_ptr<THintWindow> Made(App->HintWindowClass()(nullptr));
    EXPECT_NE(dynamic_cast<TFlatHintWindow*>(Made.get()), nullptr);
    Made.reset();

    // The application's handler passes every hint on to the component's.
    ASSERT_TRUE(App->OnShowHint());
    String Seen;
    Hint->OnShowHint = [&](String& Text, bool& CanShow, THintInfo&) {
        Seen = Text;
        CanShow = false;
    };
    String Text = L"Tip";
    bool CanShow = true;
    THintInfo Info;
    App->OnShowHint()(Text, CanShow, Info);
    EXPECT_EQ(Seen, L"Tip");
    EXPECT_FALSE(CanShow);

    // Gone: no handler is left that would call it, and the window still shows, with defaults.
    delete Hint;
    EXPECT_FALSE(App->OnShowHint());
    auto* Window = Show({100, 100}, L"After the component");
    EXPECT_EQ(TClientPixels(*Window).At(8, Window->Height() - 3),
              ColorToRGB(TFlatHintLook{}.ColorArrowBackground));
    delete Window;
}

TEST_F(FlatHintTest, TopLeftPointerGivesABoxRightAndBelowWithTheStripOnItsLeft) {
    auto* Hint = new TFlatHint(Main);
    Hint->SetColorArrowBackground(clYellow);
    Hint->SetColorBackground(clAqua);
    Hint->SetColorBorder(clBlue);
    auto* Window = Show({100, 100}, L"Save & close");
    EXPECT_EQ(Window->Side(), 1);
    EXPECT_FALSE(GetWindowLongW(Window->Handle(), GWL_STYLE) & WS_BORDER);
    const TSize Text = Measured(Hint->Font(), L"Save & close", 200 - 22);
    EXPECT_EQ(Window->BoundsRect(), Bounds(112, 112, Text.cx + 22, Text.cy + 6));
    const TClientPixels Pixels(*Window);
    EXPECT_EQ(Pixels.At(0, 0), ColorToRGB(clBlue));
    EXPECT_EQ(Pixels.At(8, Window->Height() - 3), ColorToRGB(clYellow));
    EXPECT_EQ(Pixels.At(Window->Width() - 2, Window->Height() - 2), ColorToRGB(clAqua));
    EXPECT_EQ(Pixels.At(3, 3), ColorToRGB(clBlack)); // the arrow's tip in the strip's corner
    delete Window;
}

TEST_F(FlatHintTest, BottomRightPointerGivesABoxLeftAndAboveAndLongTextWraps) {
    auto* Hint = new TFlatHint(Main);
    Hint->SetMaxHintWidth(120);
    const TPoint Pointer{Screen->Width() - 50, Screen->Height() - 50};
    const String Long = L"A hint long enough to need several lines in a narrow box";
    auto* Window = Show(Pointer, Long);
    EXPECT_EQ(Window->Side(), 2);
    const TSize Text = Measured(Hint->Font(), Long, 120 - 22);
    EXPECT_LE(Text.cx, 120 - 22);
    EXPECT_GT(Text.cy, Measured(Hint->Font(), L"A", 100).cy); // more than one line
    const int W = Text.cx + 22;
    const int H = Text.cy + 6;
    EXPECT_EQ(Window->BoundsRect(), Bounds(Pointer.X - W - 5, Pointer.Y - H - 5, W, H));
    const TClientPixels Pixels(*Window);
    EXPECT_EQ(Pixels.At(W - 8, 3), ColorToRGB(Hint->ColorArrowBackground()));
    EXPECT_EQ(Pixels.At(W - 4, H - 4), ColorToRGB(Hint->ColorArrow())); // arrow at bottom-right
    delete Window;
}

TEST_F(FlatHintTest, ShowingAndFreeingHintsLeavesNoGdiObjects) {
    new TFlatHint(Main);
    EXPECT_EQ(GdiGrowth([&] {
                  auto* Window = Show({100, 100}, L"Counting");
                  UpdateWindow(Window->Handle());
                  const TClientPixels Pixels(*Window);
                  delete Window;
              }),
              0);
}

} // namespace
