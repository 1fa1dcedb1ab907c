#include "treelist/CvVCLUtils.h"

#include "tests/treelist/DibSurface.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A surface with the GUI font selected, black text on white.
class TextLayout : public ::testing::Test {
protected:
    TextLayout() : D(400, 120) {
        Old = SelectObject(D.DC(), GetStockObject(DEFAULT_GUI_FONT));
        SetTextColor(D.DC(), RGB(0, 0, 0));
        SetBkMode(D.DC(), TRANSPARENT);
        GetTextMetricsW(D.DC(), &Metrics);
    }
    ~TextLayout() override { SelectObject(D.DC(), Old); }

    int Width(const String& Text) {
        SIZE Size{};
        GetTextExtentPoint32W(D.DC(), Text.c_str(), static_cast<int>(Text.size()), &Size);
        return Size.cx + Metrics.tmOverhang;
    }
    TRect Measure(const String& Text, UINT Format, TRect R = TRect()) {
        DrawTextWide(D.DC(), Text.c_str(), static_cast<int>(Text.size()), R, Format | DT_CALCRECT);
        return R;
    }
    // Rows of the surface that hold ink between X1 and X2.
    bool InkInRow(int Y, int X1, int X2) {
        for (int X = X1; X < X2; ++X)
            if (D.Pixel(X, Y) != clWhite)
                return true;
        return false;
    }

    TDibSurface D;
    HGDIOBJ Old;
    TEXTMETRICW Metrics{};
};

} // namespace

TEST_F(TextLayout, PrefixesMeasureAndUnderline) {
    EXPECT_EQ(Measure(L"Save && Exit", DT_SINGLELINE).Width(), Width(L"Save & Exit"));
    EXPECT_EQ(Measure(L"&File", DT_SINGLELINE).Width(), Width(L"File"));
    EXPECT_EQ(Measure(L"&File", DT_SINGLELINE | DT_NOPREFIX).Width(), Width(L"&File"));
    EXPECT_EQ(Measure(L"End&", DT_SINGLELINE).Width(), Width(L"End&"));

    // &File: the F is underlined one pixel below the ascent.
    TRect R(10, 10, 300, 60);
    DrawTextWide(D.DC(), L"&File", -1, R, DT_SINGLELINE);
    const int UnderY = 10 + Metrics.tmAscent + 1;
    EXPECT_TRUE(InkInRow(UnderY, 10, 10 + Width(L"F")));
    int Run = 0;
    for (int X = 0; X < 300; ++X)
        Run += D.Pixel(X, UnderY) != clWhite;
    EXPECT_LE(Run, Width(L"F") + 1);

    // Save && Exit has no underline at all; neither does a hidden prefix.
    D.Fill(clWhite);
    R = TRect(10, 10, 300, 60);
    DrawTextWide(D.DC(), L"Save && Exit", -1, R, DT_SINGLELINE);
    EXPECT_FALSE(InkInRow(UnderY, 0, 300));
    D.Fill(clWhite);
    DrawTextWide(D.DC(), L"&File", -1, R, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_FALSE(InkInRow(UnderY, 0, 300));
}

TEST_F(TextLayout, CalcRectRulesAndLineBreaks) {
    const int LineHeight = Metrics.tmHeight;
    // A zero right and bottom become 32767 for measuring: one line.
    TRect R = Measure(L"one two three", DT_WORDBREAK);
    EXPECT_EQ(R, TRect(0, 0, Width(L"one two three"), LineHeight));
    // With only the bottom replaced the width stays 0: every unit overflows on its own line.
    R = Measure(L"one two", DT_WORDBREAK, TRect(10, 0, 10, 0));
    EXPECT_EQ(R.Bottom, 7 * LineHeight);
    EXPECT_EQ(R.Width(), Width(L"w"));

    EXPECT_EQ(Measure(L"a\r\nb", 0).Height(), 2 * LineHeight);
    EXPECT_EQ(Measure(L"a\rb", 0).Height(), 2 * LineHeight);
    EXPECT_EQ(Measure(L"a\r\nb", DT_SINGLELINE).Height(), LineHeight);

    // Breaking at spaces: the space is dropped and no line is wider than the rectangle.
    const int Limit = Width(L"aa aa") + 1;
    R = Measure(L"aa aa aa aa", DT_WORDBREAK, TRect(0, 0, Limit, 0));
    EXPECT_EQ(R.Height(), 2 * LineHeight);
    EXPECT_LE(R.Width(), Limit);

    TRect Empty(5, 6, 50, 60);
    EXPECT_EQ(DrawTextWide(D.DC(), L"", 0, Empty, 0), 0);
    EXPECT_EQ(Empty, TRect(5, 6, 5, 6));
    TRect Untouched(5, 6, 50, 60);
    EXPECT_EQ(DrawTextWide(D.DC(), nullptr, -1, Untouched, 0), 0);
    EXPECT_EQ(Untouched, TRect(5, 6, 50, 60));
}

TEST_F(TextLayout, LongTextsAreNotCut) {
    const String Long(10000, L'i');
    // Count -1 is resolved before the line buffers are chosen.
    TRect R;
    DrawTextWide(D.DC(), Long.c_str(), -1, R, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(R.Width(), Width(Long));
    const String Lines = Long + L"\r\n" + Long;
    R = TRect();
    DrawTextWide(D.DC(), Lines.c_str(), -1, R, DT_CALCRECT);
    EXPECT_EQ(R.Height(), 2 * Metrics.tmHeight);
    EXPECT_EQ(R.Width(), Width(Long));
}

TEST_F(TextLayout, EndEllipsisFitsTheRectangle) {
    wchar_t Text[64] = L"A rather long caption for a narrow cell";
    const int Limit = Width(L"A rather lo...");
    TRect R(0, 0, Limit, 20);
    DrawTextWideEx(D.DC(), Text, -1, R, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    const String Shown = Text;
    ASSERT_GE(Shown.size(), 3u);
    EXPECT_EQ(Shown.substr(Shown.size() - 3), L"...");
    EXPECT_LE(Width(Shown), Limit);
    EXPECT_EQ(Shown.substr(0, Shown.size() - 3),
              String(L"A rather long caption").substr(0, Shown.size() - 3));
    EXPECT_GT(Shown.size(), 6u);

    // Nothing fits: the three full stops alone.
    wchar_t Tiny[16] = L"Wide words";
    R = TRect(0, 0, 2, 20);
    DrawTextWideEx(D.DC(), Tiny, -1, R, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    EXPECT_STREQ(Tiny, L"...");

    // A short buffer never receives more than its own length.
    wchar_t Two[4] = {L'W', L'W', 0, L'#'};
    R = TRect(0, 0, 1, 20);
    DrawTextWideEx(D.DC(), Two, 2, R, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    EXPECT_EQ(Two[2], 0);
    EXPECT_EQ(Two[3], L'#');

    // Measuring a single line measures the shortened text.
    R = Measure(L"A rather long caption for a narrow cell", DT_SINGLELINE | DT_END_ELLIPSIS,
                TRect(0, 0, Limit, 0));
    EXPECT_LE(R.Width(), Limit);
}

TEST_F(TextLayout, PlacesLines) {
    // A centred line wider than its rectangle starts at the rectangle's left edge.
    const String Text = L"Wider than the box";
    TRect R(20, 0, 40, 30);
    DrawTextWide(D.DC(), Text.c_str(), -1, R, DT_SINGLELINE | DT_CENTER | DT_NOCLIP);
    int First, Last;
    D.InkColumns(clWhite, First, Last);
    TDibSurface Left(400, 120);
    const HGDIOBJ Was = SelectObject(Left.DC(), GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(Left.DC(), TRANSPARENT);
    TRect LR(20, 0, 40, 30);
    DrawTextWide(Left.DC(), Text.c_str(), -1, LR, DT_SINGLELINE | DT_NOCLIP);
    int LeftFirst, LeftLast;
    Left.InkColumns(clWhite, LeftFirst, LeftLast);
    SelectObject(Left.DC(), Was);
    EXPECT_EQ(First, LeftFirst);
    EXPECT_EQ(Last, LeftLast);

    // Clipped to the rectangle widened by one pixel.
    D.Fill(clWhite);
    R = TRect(20, 0, 40, 30);
    DrawTextWide(D.DC(), Text.c_str(), -1, R, DT_SINGLELINE);
    D.InkColumns(clWhite, First, Last);
    EXPECT_GE(First, 19);
    EXPECT_LE(Last, 40);

    // Right alignment and the bottom of a single line.
    D.Fill(clWhite);
    R = TRect(0, 0, 200, 100);
    DrawTextWide(D.DC(), L"x", -1, R, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    D.InkColumns(clWhite, First, Last);
    EXPECT_GE(First, 200 - Width(L"x"));
    EXPECT_LT(Last, 200);
    EXPECT_FALSE(InkInRow(100 - Metrics.tmHeight - 1, 0, 400));

    // Margins count in average character widths; the length drawn counts source units.
    DRAWTEXTPARAMS Params{sizeof Params, 4, 2, 3, 99};
    wchar_t Two[] = L"ab\r\ncd";
    R = TRect();
    DrawTextWideEx(D.DC(), Two, -1, R, DT_CALCRECT, &Params);
    EXPECT_EQ(R.Width(), Width(L"ab") + 5 * Metrics.tmAveCharWidth);
    EXPECT_EQ(Params.uiLengthDrawn, 6u);
}

TEST_F(TextLayout, ExpandsTabsToStops) {
    const int Tab = (Width(L"o") - Metrics.tmOverhang) * 8;
    const int Space = Width(L" ") - Metrics.tmOverhang;
    const TRect R = Measure(L"a\tb", DT_SINGLELINE | DT_EXPANDTABS);
    const int Spaces = (Tab + Metrics.tmOverhang - (Width(L"a") - Metrics.tmOverhang)) / Space;
    EXPECT_EQ(R.Width(), Width(L"a" + String(static_cast<std::size_t>(Spaces), L' ') + L"b"));
    // Without expansion the tab is an ordinary character.
    EXPECT_EQ(Measure(L"a\tb", DT_SINGLELINE).Width(), Width(L"a\tb"));
}
