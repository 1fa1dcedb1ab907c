#include "GuiTestSupport.h"

#include "classlib/gui/StdCtrls.h"

namespace {

constexpr TColor Red = 0x0000FF;
constexpr COLORREF RedPixel = RGB(255, 0, 0);
constexpr COLORREF WhitePixel = RGB(255, 255, 255);

// A borderless white form of 200 x 100 with a label at 20, 30.
class GuiLabelTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Form = NewForm<TForm>(App.get());
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 200, 100);
        Form->SetColor(clWhite);
        Label = new TLabel(Form);
        Label->SetParent(Form);
        Label->SetLeft(20);
        Label->SetTop(30);
    }

    TForm* Form = nullptr;
    TLabel* Label = nullptr;
};

bool IsInk(COLORREF Pixel) {
    return Pixel != WhitePixel && Pixel != RedPixel;
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
