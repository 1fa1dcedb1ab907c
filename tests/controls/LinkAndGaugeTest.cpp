// The hyperlink label's colours and address, and the bitmap gauge's bar and text.
#include "controls/BitmapProgress.h"
#include "controls/HyperLabel.h"
#include "tests/controls/ControlsTestSupport.h"
#include "tests/support/GdiCount.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class LinkTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        THyperLabel::OpenURL = [this](const String& URL) { Opened.push_back(URL); };
        Link = new THyperLabel(Form);
        Link->SetParent(Form);
        Link->SetBounds(20, 20, 80, 16);
        Link->SetCaption(L"Visit");
        Link->Font().SetColor(clGreen);
        Link->OnClick = [this](TObject*) { ++Clicks; };
    }
    void TearDown() override {
        THyperLabel::OpenURL = nullptr;
        ControlsTest::TearDown();
    }
    void Send(UINT Msg, int X, int Y, WPARAM Keys = 0) {
        SendMessageW(Form->Handle(), Msg, Keys, At(X, Y));
    }

    THyperLabel* Link = nullptr;
    std::vector<String> Opened;
    int Clicks = 0;
};

TEST_F(LinkTest, HoverPressAndReleaseOverTheLinkOpenItsAddress) {
    Link->URL = L"https://example.invalid/";
    Send(WM_MOUSEMOVE, 25, 25);
    EXPECT_TRUE(Link->Hot());
    EXPECT_EQ(Link->Font().Color(), clBlue);
    Send(WM_LBUTTONDOWN, 25, 25, MK_LBUTTON);
    EXPECT_EQ(Link->Font().Color(), clRed);
    Send(WM_LBUTTONUP, 25, 25);
    EXPECT_EQ(Link->Font().Color(), clBlue);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Opened, std::vector<String>{L"https://example.invalid/"});
    Send(WM_MOUSEMOVE, 200, 150);
    EXPECT_EQ(Link->Font().Color(), clGreen); // the colour from before the mouse came

    // The right button recolours but opens nothing.
    Send(WM_MOUSEMOVE, 25, 25);
    Send(WM_RBUTTONDOWN, 25, 25, MK_RBUTTON);
    Send(WM_RBUTTONUP, 25, 25);
    EXPECT_EQ(Opened.size(), 1u);
}

TEST_F(LinkTest, PressMoveOffAndReleaseRestoresTheColourAndOpensNothing) {
    Link->URL = L"https://example.invalid/";
    Send(WM_MOUSEMOVE, 25, 25);
    Send(WM_LBUTTONDOWN, 25, 25, MK_LBUTTON);
    Send(WM_MOUSEMOVE, 250, 150, MK_LBUTTON);
    EXPECT_FALSE(Link->Hot());
    Send(WM_LBUTTONUP, 250, 150);
    EXPECT_EQ(Link->Font().Color(), clGreen);
    EXPECT_EQ(Clicks, 0);
    EXPECT_TRUE(Opened.empty());
}

TEST_F(LinkTest, WithoutAnAddressALinkOnlyClicks) {
    Send(WM_MOUSEMOVE, 25, 25);
    Send(WM_LBUTTONDOWN, 25, 25, MK_LBUTTON);
    Send(WM_LBUTTONUP, 25, 25);
    EXPECT_EQ(Clicks, 1);
    EXPECT_TRUE(Opened.empty());
    EXPECT_EQ(THyperLabel(nullptr).Font().Color(), clNavy);
}

TEST(Gauge, BarLengthAndPercentText) {
    struct TCase {
        std::int64_t Position, Min, Max;
        int Width;
        std::int64_t Length;
        const wchar_t* Text;
    } const Cases[] = {
        {50, 0, 100, 200, 100, L"50.00%"},
        {7, 7, 7, 200, 0, L"0.00%"},
        {150, 0, 100, 200, 300, L"150.00%"},
        {1, 0, 3, 90, 30, L"33.33%"},
        // Sizes beyond 32 bits, and a product beyond 64.
        {3'000'000'000'000LL, 0, 6'000'000'000'000LL, 200, 100, L"50.00%"},
        {INT64_MAX / 2, 0, INT64_MAX, 1000, 499, L"50.00%"},
    };
    const wchar_t Saved = FormatSettings().DecimalSeparator;
    FormatSettings().DecimalSeparator = L'.';
    for (const TCase& C : Cases) {
        EXPECT_EQ(GaugeBarLength(C.Position, C.Min, C.Max, C.Width), C.Length) << C.Position;
        EXPECT_EQ(GaugePercentText(C.Position, C.Min, C.Max), C.Text) << C.Position;
    }
    FormatSettings().DecimalSeparator = L',';
    EXPECT_EQ(GaugePercentText(1, 0, 8), L"12,50%");
    FormatSettings().DecimalSeparator = Saved;
}

class GaugeTest : public ControlsTest {};

TEST_F(GaugeTest, BarOverBackgroundWithAShadowedText) {
    auto* Gauge = new TBitmapProgress(Form);
    Gauge->SetParent(Form);
    Gauge->SetBounds(10, 10, 200, 20);
    TBitmap Back, Bar;
    FillBitmap(Back, 4, 4, clYellow);
    FillBitmap(Bar, 4, 4, clGreen);
    Gauge->SetBackBitmap(Back);
    Gauge->SetBarBitmap(Bar);
    Gauge->Font().SetColor(clWhite);
    Gauge->SetShadowColor(clBlack);
    const TClientPixels Pixels(*Form);
    EXPECT_EQ(Pixels.At(10 + 99, 10 + 1), ColorToRGB(clGreen));
    EXPECT_EQ(Pixels.At(10 + 100, 10 + 1), ColorToRGB(clYellow));
    const TRect Face = Bounds(10, 10, 200, 20);
    EXPECT_GT(Pixels.Count(Face, true, [](COLORREF C) { return C == RGB(255, 255, 255); }), 0);
    EXPECT_GT(Pixels.Count(Face, true, [](COLORREF C) { return C == RGB(0, 0, 0); }), 0);

    Gauge->SetMax(Gauge->Min()); // nothing to measure: no bar
    const TClientPixels Empty(*Form);
    EXPECT_EQ(Empty.At(10 + 5, 10 + 1), ColorToRGB(clYellow));
    Gauge->SetMax(100);
    Gauge->SetPosition(300); // beyond the range: the whole gauge is bar
    const TClientPixels Full(*Form);
    EXPECT_EQ(Full.At(10 + 199, 10 + 1), ColorToRGB(clGreen));

    EXPECT_EQ(GdiGrowth([&] { const TClientPixels Again(*Form); }), 0);
}

} // namespace
