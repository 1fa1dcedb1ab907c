// The packed wide hint, the desktop clamp and the hint window's measuring and placing.
#include "treelist/CvHintWnd.h"

#include "tests/support/GuiTestSupport.h"
#include "treelist/CvVCLUtils.h"

#include <gtest/gtest.h>

#include <vector>

TEST(CvPackedHint, NarrowTextZeroWideTextZeroUnitAndMark) {
    const std::string Packed = PackWideHint(L"abc");
    EXPECT_EQ(Packed, std::string("\x61\x62\x63\x00\x61\x00\x62\x00\x63\x00\x00\x00\xFE\xFF", 14));
    EXPECT_EQ(PackWideHint(L"").size(), 5u);
    const String Wide = L"Gr\u00f6\u00dfe \u0416\u4e2d";
    const std::string Long = PackWideHint(Wide);
    EXPECT_EQ(Long.size(), ToAnsi(Wide).size() + 2 * Wide.size() + 5);
    EXPECT_EQ(std::string(Long.c_str()), ToAnsi(Wide)); // a zero-terminated reader sees the narrow
    EXPECT_EQ(UnpackWideHint(Long), Wide);
    EXPECT_EQ(UnpackWideHint("plain"), L"plain");
}

TEST(CvPackedHint, ClampKeepsTheSizeAndUsesOneDesktopRectangleForAllSides) {
    struct TCase {
        TRect In;
        TRect Desktop;
        TRect Out;
    };
    const TCase Cases[] = {
        {Bounds(990, 760, 40, 20), TRect(0, 0, 1000, 768), Bounds(960, 748, 40, 20)},
        {Bounds(-5, -5, 40, 20), TRect(0, 0, 1000, 768), Bounds(0, 0, 40, 20)},
        {Bounds(-200, -80, 40, 20), TRect(-100, -50, 900, 700), Bounds(-100, -50, 40, 20)},
        {Bounds(890, 690, 40, 20), TRect(-100, -50, 900, 700), Bounds(860, 680, 40, 20)},
        {Bounds(10, 10, 40, 20), TRect(-100, -50, 900, 700), Bounds(10, 10, 40, 20)},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(ClampToDesktop(C.In, C.Desktop), C.Out) << C.In.Left << "," << C.In.Top;
}

namespace {
using CvHintWindowTest = GuiTest;
}

TEST_F(CvHintWindowTest, MeasuresTheLongerLinePlusMarginsAndStaysOnTheDesktop) {
    TCvHintWindow Hint(nullptr);
    const String Text = L"short\r\na much longer second line";
    const TRect R = Hint.MeasureHint(10000, Text);
    const TMemoryDC DC(nullptr);
    const TSelectObject Font(DC.Handle(), Hint.Font().Handle());
    TRect Line(0, 0, 10000, 0);
    DrawTextWide(DC.Handle(), L"a much longer second line", -1, Line, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(R.Width(), Line.Width() + 6);
    EXPECT_EQ(R.Height(), 2 * Line.Height() + 2);
    EXPECT_EQ(Hint.CalcHintRect(10000, PackedHintString(Text), nullptr),
              R); // the narrow part, measured alike

    const TRect Desktop = DesktopRect();
    Hint.ActivateWideHint(Bounds(Desktop.Right - 10, Desktop.Bottom - 5, R.Width(), R.Height()),
                          Text);
    RECT Placed{};
    GetWindowRect(Hint.Handle(), &Placed);
    EXPECT_EQ(Placed.right, Desktop.Right);
    EXPECT_EQ(Placed.bottom, Desktop.Bottom);
    EXPECT_EQ(Placed.bottom - Placed.top, R.Height() + 4);
    EXPECT_TRUE(GetWindowLongW(Hint.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(Hint.Handle()));
    EXPECT_EQ(Hint.WideCaption(), Text);
}

TEST_F(CvHintWindowTest, AWideHintStaysOnTheMonitorItIsAskedForOn) {
    TCvHintWindow Hint(nullptr);
    const String Text = L"on the second monitor";
    const TRect R = Hint.MeasureHint(10000, Text);
    // The second monitor stands right of the first; its taskbar takes 40 pixels at the bottom.
    const TScreen::TMonitorArea Second{Bounds(1280, 0, 800, 600), Bounds(1280, 0, 800, 560)};
    std::vector<TPoint> Asked;
    Screen->MonitorAtSource = [&](TPoint P) {
        Asked.push_back(P);
        return Second;
    };
    Hint.ActivateWideHint(Bounds(2070, 555, R.Width(), R.Height()), Text);
    Screen->MonitorAtSource = nullptr;
    ASSERT_EQ(Asked.size(), 1u);
    EXPECT_EQ(Asked[0].X, 2070);
    EXPECT_EQ(Asked[0].Y, 555);
    RECT Placed{};
    GetWindowRect(Hint.Handle(), &Placed);
    EXPECT_EQ(Placed.right, 2080);
    EXPECT_EQ(Placed.bottom, 560);
}

TEST_F(CvHintWindowTest, ALinkClickReportsItsAddress) {
    TCvHintWindow Hint(nullptr);
    Hint.IsHTML = true;
    String Clicked;
    Hint.OnLinkClick = [&](TObject*, const String& HRef) { Clicked = HRef; };
    const String Text = L"<a href=\"go:there\">link</a>";
    const TRect R = Hint.MeasureHint(10000, Text);
    Hint.ActivateWideHint(Bounds(100, 100, R.Width(), R.Height()), Text);
    SendMessageW(Hint.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(Hint.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(Clicked, L"go:there");
}
