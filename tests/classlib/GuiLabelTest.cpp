#include "GuiTestSupport.h"

#include "classlib/gui/StdCtrls.h"
#include "tests/support/GdiCount.h"

#include <algorithm>

namespace {

constexpr TColor Red = 0x0000FF;
constexpr COLORREF RedPixel = RGB(255, 0, 0);
constexpr COLORREF WhitePixel = RGB(255, 255, 255);

// A borderless white form of 200 x 100 with a label at 20, 30.
class GuiLabelTest : public PlainFormTest<200, 100> {
protected:
    void SetUp() override {
        PlainFormTest::SetUp();
        Label = new TLabel(Form);
        Label->SetParent(Form);
        Label->SetLeft(20);
        Label->SetTop(30);
    }

    TLabel* Label = nullptr;
};

bool IsInk(COLORREF Pixel) {
    return Pixel != WhitePixel && Pixel != RedPixel;
}

// The smallest rectangle holding every pixel of Pixels that is not white; empty when none.
TRect InkBox(const TClientPixels& Pixels) {
    TRect Box(Pixels.Width, Pixels.Height, 0, 0);
    for (int Y = 0; Y < Pixels.Height; ++Y)
        for (int X = 0; X < Pixels.Width; ++X)
            if (Pixels.At(X, Y) != WhitePixel) {
                Box.Left = std::min(Box.Left, X);
                Box.Top = std::min(Box.Top, Y);
                Box.Right = std::max(Box.Right, X + 1);
                Box.Bottom = std::max(Box.Bottom, Y + 1);
            }
    return Box;
}

} // namespace

TEST_F(GuiLabelTest, AnAutoSizedLabelTakesTheSizeOfItsText) {
    const int LineHeight = Label->Height(); // an empty caption keeps one line
    EXPECT_GT(LineHeight, 0);
    EXPECT_GT(Label->Width(), 0);

    Label->SetCaption(L"Hello");
    const int Short = Label->Width();
    Label->SetCaption(L"Hello, world");
    const int Long = Label->Width();
    EXPECT_GT(Long, Short);
    EXPECT_EQ(Label->Height(), LineHeight);

    Label->SetCaption(L"Hello,\rworld"); // a carriage return starts a line
    EXPECT_GE(Label->Height(), 2 * LineHeight - 1);
    EXPECT_LT(Label->Width(), Long);

    Label->Font().SetStyle({fsBold});
    EXPECT_GT(Label->Height(), 0);
    Label->SetCaption(L"Hello, world");
    EXPECT_GT(Label->Width(), Long);

    const TRect Fixed = Label->BoundsRect();
    Label->SetAutoSize(false);
    Label->SetCaption(L"Hello, world, and a good deal more");
    EXPECT_EQ(Label->BoundsRect(), Fixed);
    EXPECT_EQ(Label->Left(), 20);
    EXPECT_EQ(Label->Top(), 30);
}

TEST_F(GuiLabelTest, ALabelFollowsItsParentsFontUntilItGetsOneOfItsOwn) {
    Label->SetCaption(L"Text");
    const int SmallHeight = Label->Height();
    Form->Font().SetSize(20);
    EXPECT_TRUE(Label->ParentFont());
    EXPECT_EQ(Label->Font().Size(), 20);
    EXPECT_GT(Label->Height(), SmallHeight);

    Label->Font().SetStyle({fsItalic});
    EXPECT_FALSE(Label->ParentFont());
    Form->Font().SetSize(8);
    EXPECT_EQ(Label->Font().Size(), 20);

    Label->SetParentFont(true);
    EXPECT_EQ(Label->Font().Size(), 8);
    EXPECT_FALSE(Label->Font().Style().Contains(fsItalic));
}

TEST_F(GuiLabelTest, ALabelIsPaintedByItsParentInsideItsBounds) {
    Label->SetCaption(L"MMMM");
    Label->Font().SetColor(clBlack);
    Label->SetColor(Red);
    Form->Show();
    const TRect Area = Label->BoundsRect();

    const TClientPixels Opaque(*Form);
    EXPECT_GT(Opaque.Count(Area, true, IsInk), 0);
    EXPECT_GT(Opaque.Count(Area, true, [](COLORREF P) { return P == RedPixel; }), 0);
    // Outside the label only the form's own white.
    EXPECT_EQ(Opaque.Count(Area, false, [](COLORREF P) { return P != WhitePixel; }), 0);

    Label->SetTransparent(true);
    const TClientPixels Transparent(*Form);
    EXPECT_GT(Transparent.Count(Area, true, IsInk), 0);
    EXPECT_EQ(Transparent.Count(Area, true, [](COLORREF P) { return P == RedPixel; }), 0);

    Label->Hide();
    const TClientPixels Hidden(*Form);
    EXPECT_EQ(Hidden.Count(Area, true, [](COLORREF P) { return P != WhitePixel; }), 0);
}

TEST_F(GuiLabelTest, ALabelTakesItsParentsColourUntilItGetsOneOfItsOwn) {
    EXPECT_TRUE(Label->ParentColor());
    EXPECT_EQ(Label->Color(), clWhite);
    Form->SetColor(clBlack);
    EXPECT_EQ(Label->Color(), clBlack);
    Label->SetColor(Red);
    Form->SetColor(clWhite);
    EXPECT_EQ(Label->Color(), Red);
    EXPECT_FALSE(Label->ParentColor());
}

TEST_F(GuiLabelTest, ChangingALabelMarksOnlyItsAreaForPainting) {
    Label->SetCaption(L"Before");
    Form->Show();
    PumpUntil([&] { return !GetUpdateRect(Form->Handle(), nullptr, FALSE); });
    const TRect Before = Label->BoundsRect();

    Label->SetCaption(L"After the change");
    RECT Marked{};
    ASSERT_TRUE(GetUpdateRect(Form->Handle(), &Marked, FALSE));
    const TRect After = Label->BoundsRect();
    EXPECT_EQ(Marked.left, After.Left);
    EXPECT_EQ(Marked.top, After.Top);
    EXPECT_EQ(Marked.right, std::max(Before.Right, After.Right));
    EXPECT_EQ(Marked.bottom, std::max(Before.Bottom, After.Bottom));

    Label->Repaint(); // paints now
    EXPECT_FALSE(GetUpdateRect(Form->Handle(), nullptr, FALSE));
}

// Measured on the same kind of DC the label is painted on, for several fonts; and the text drawn
// without the label's clipping stays inside the size it took ("w" is drawn wider than measured
// by some renderers, which once cut "colour" short).
TEST_F(GuiLabelTest, AnAutoSizedLabelHoldsAllOfItsTextInEveryFont) {
    const struct {
        const char* Name;
        TFontStyles Style;
        int Size;
    } Fonts[] = {
        {"regular", {}, 8},        {"bold", {fsBold}, 8},
        {"italic", {fsItalic}, 8}, {"bold italic, larger", {fsBold, fsItalic}, 14},
        {"large", {}, 20},
    };
    Form->SetBounds(0, 0, 600, 100);
    Form->Show();
    Label->SetLeft(0);
    Label->SetTop(0);
    Label->Font().SetColor(clBlack);
    for (const auto& Font : Fonts) {
        SCOPED_TRACE(Font.Name);
        Label->SetAutoSize(true);
        Label->Font().SetStyle(Font.Style);
        Label->Font().SetSize(Font.Size);
        Label->SetCaption(L"Label with its own colour, wavy window");

        TCanvas Measure;
        const TClientDC Screen(nullptr);
        const TMemoryDC DC(Screen.Handle());
        const TCanvasDC Attached(Measure, DC.Handle());
        Measure.Font().Assign(Label->Font());
        // The extent, and the slant of an italic's last letter.
        EXPECT_GE(Label->Width(), Measure.TextWidth(Label->Caption()));
        EXPECT_LE(Label->Width(), Measure.TextWidth(Label->Caption()) + 4);
        EXPECT_EQ(Label->Height(), Measure.TextHeight(Label->Caption()));

        const TRect Sized = Label->BoundsRect();
        Label->SetAutoSize(false);
        Label->SetBounds(0, 0, 590, 90);
        const TRect Ink = InkBox(TClientPixels(*Form));
        EXPECT_FALSE(Ink.IsEmpty());
        // Smoothing may tint one column past the glyph's box; a lost letter is several.
        EXPECT_LE(Ink.Right, Sized.Right + 1);
        EXPECT_LE(Ink.Bottom, Sized.Bottom);
    }
}

// Where the text lands in a fixed 200 x 60 label for each alignment and layout.
TEST_F(GuiLabelTest, AlignmentAndLayoutPlaceTheTextInTheLabel) {
    const struct {
        TAlignment Alignment;
        TTextLayout Layout;
        bool Left, Centre, Right; // across
        bool Top, Middle, Bottom; // down
    } Cases[] = {
        {taLeftJustify, tlTop, true, false, false, true, false, false},
        {taRightJustify, tlTop, false, false, true, true, false, false},
        {taCenter, tlCenter, false, true, false, false, true, false},
        {taLeftJustify, tlBottom, true, false, false, false, false, true},
        {taRightJustify, tlCenter, false, false, true, false, true, false},
    };
    Form->Show();
    Label->SetAutoSize(false);
    Label->SetBounds(0, 0, 200, 60);
    Label->Font().SetColor(clBlack);
    Label->SetCaption(L"MMMM");
    for (const auto& Case : Cases) {
        SCOPED_TRACE(testing::Message() << Case.Alignment << "/" << Case.Layout);
        Label->SetAlignment(Case.Alignment);
        Label->SetLayout(Case.Layout);
        const TRect Ink = InkBox(TClientPixels(*Form));
        ASSERT_FALSE(Ink.IsEmpty());
        const int Across = (Ink.Left + Ink.Right) / 2;
        const int Down = (Ink.Top + Ink.Bottom) / 2;
        EXPECT_EQ(Ink.Left < 10, Case.Left);
        EXPECT_EQ(std::abs(Across - 100) < 6, Case.Centre);
        EXPECT_EQ(Ink.Right > 190, Case.Right);
        EXPECT_EQ(Ink.Top < 8, Case.Top);
        EXPECT_EQ(std::abs(Down - 30) < 6, Case.Middle);
        EXPECT_EQ(Ink.Bottom > 52, Case.Bottom);
    }
}

TEST_F(GuiLabelTest, AWrappingLabelBreaksBetweenWordsAndKeepsItsWidth) {
    Form->Show();
    Label->Font().SetColor(clBlack);
    Label->SetCaption(L"one");
    const int LineHeight = Label->Height();
    Label->SetBounds(0, 0, 80, LineHeight);
    Label->SetWordWrap(true);
    Label->SetCaption(L"several short words that need more than one line of eighty pixels");
    EXPECT_EQ(Label->Width(), 80);
    EXPECT_GE(Label->Height(), 3 * LineHeight);
    EXPECT_EQ(Label->Height() % LineHeight, 0);

    // Nothing is cut: the same text drawn without the label's limits keeps to its box.
    const TRect Sized = Label->BoundsRect();
    Label->SetAutoSize(false);
    Label->SetBounds(0, 0, 80, 99);
    const TRect Ink = InkBox(TClientPixels(*Form));
    EXPECT_LE(Ink.Right, Sized.Right);
    EXPECT_LE(Ink.Bottom, Sized.Bottom);

    // A word wider than the label stands alone on its line; a line break always breaks.
    Label->SetAutoSize(true);
    Label->SetCaption(L"Incomprehensibilities\r\nx");
    EXPECT_EQ(Label->Height(), 2 * LineHeight);
}

TEST_F(GuiLabelTest, ARightAlignedAutoSizedLabelKeepsItsRightEdge) {
    Label->SetCaption(L"short");
    Label->SetAlignment(taRightJustify);
    const int Right = Label->Left() + Label->Width();
    Label->SetCaption(L"a good deal longer");
    EXPECT_EQ(Label->Left() + Label->Width(), Right);
    Label->SetAlignment(taLeftJustify);
    const int Left = Label->Left();
    Label->SetCaption(L"short");
    EXPECT_EQ(Label->Left(), Left);
}

TEST_F(GuiLabelTest, ADisabledLabelShowsGreyTextAndIgnoresClicks) {
    Label->SetCaption(L"MMMM");
    Label->Font().SetColor(clBlack);
    int Clicks = 0;
    Label->OnClick = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Label);
        ++Clicks;
    };
    Form->Show();
    const LPARAM Inside = MAKELPARAM(Label->Left() + 2, Label->Top() + 2);
    SendMessageW(Form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Inside);
    SendMessageW(Form->Handle(), WM_LBUTTONUP, 0, Inside);
    EXPECT_EQ(Clicks, 1);

    const COLORREF Grey = ColorToRGB(clGrayText);
    const auto IsGrey = [&](COLORREF P) { return P == Grey; };
    const auto IsBlack = [](COLORREF P) { return P == RGB(0, 0, 0); };
    const TClientPixels Enabled(*Form);
    EXPECT_GT(Enabled.Count(Label->BoundsRect(), true, IsBlack), 0);

    Label->SetEnabled(false);
    const TClientPixels Disabled(*Form);
    EXPECT_EQ(Disabled.Count(Label->BoundsRect(), true, IsBlack), 0);
    EXPECT_GT(Disabled.Count(Label->BoundsRect(), true, IsGrey), 0);
    SendMessageW(Form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Inside);
    SendMessageW(Form->Handle(), WM_LBUTTONUP, 0, Inside);
    EXPECT_EQ(Clicks, 1);
}

TEST_F(GuiLabelTest, LabelsLeaveNoGdiObjectsBehind) {
    Form->Show();
    EXPECT_EQ(GdiGrowth([&] {
                  auto* Other = new TLabel(Form);
                  Other->SetParent(Form);
                  Other->Font().SetStyle({fsBold});
                  Other->SetWordWrap(true);
                  Other->SetAlignment(taCenter);
                  Other->SetCaption(L"some words to wrap and paint");
                  const TClientPixels Painted(*Form);
                  delete Other;
              }),
              0);
}
