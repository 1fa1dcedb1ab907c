#include "controls/FlatTypes.h"
#include "controls/HSLUtils.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TAdvCase {
    TColor Base;
    TColor Current;
    int Percent;
    bool Darker;
    TColor Expected;
};

TEST(HslUtils, DerivedShadesOfTheFamilyPalette) {
    const TAdvCase Cases[] = {
        {0xE1EAEB, 0x123456, 0, false, 0x123456}, // 0 keeps the current colour
        {0xE1EAEB, 0x123456, 0, true, 0x123456},
        {0xE1EAEB, 0, 10, false, 0x557B80}, // lighter past 100 comes out darker
        {0xE1EAEB, 0, 10, true, 0xE0EAEB},
        {0xE1EAEB, 0, 50, true, 0xADC6C9},
        {0x000000, 0, 10, false, 0x151515},
        {0x000000, 0, 50, true, 0x000000}, // clamped at 0
    };
    for (const TAdvCase& C : Cases)
        EXPECT_EQ(ComputeAdvColor(C.Base, C.Current, C.Percent, C.Darker), C.Expected)
            << std::hex << C.Base << " " << std::dec << C.Percent << (C.Darker ? " darker" : "");
}

TEST(HslUtils, ScaledConversions) {
    EXPECT_EQ(ColorToHslScaled(0xE1EAEB), (THslScaled{36, 48, 216}));
    EXPECT_EQ(ColorToHslScaled(0x000000), (THslScaled{0, 0, 0}));
    EXPECT_EQ(ColorToHslScaled(0xFFFFFF), (THslScaled{0, 0, 240}));
    EXPECT_EQ(ColorToHslScaled(0x0000FF), (THslScaled{0, 240, 120})); // pure red
    EXPECT_EQ(ColorToHslScaled(0xFF0000).H, 159);                     // pure blue: 2/3 of 239
    // No saturation is a grey of round(L x 255) in all three channels.
    EXPECT_EQ(HslToColor(0.7, 0, 0.5), 0x808080);
    EXPECT_EQ(HslToColor(0, 0, 1), 0xFFFFFF);
}

TEST(HslUtils, SystemColoursAreResolvedBeforeTheMaths) {
    const TColor Face = static_cast<TColor>(ColorToRGB(clBtnFace));
    EXPECT_EQ(ComputeAdvColor(clBtnFace, 0, 20, true), ComputeAdvColor(Face, 0, 20, true));
}

struct TLayoutCase {
    TButtonLayout Layout;
    int Margin;
    int Spacing;
    TSize Glyph;
    TSize Text;
    TPoint Offset;
    TPoint GlyphPos;
    TRect TextBounds;
};

TEST(FlatTypes, GlyphAndCaptionLayout) {
    const TRect Client(0, 0, 25, 25);
    const TLayoutCase Cases[] = {
        // A glyph alone: spacing becomes 0, margin shares the rest.
        {blGlyphTop, -1, 4, {16, 16}, {0, 0}, {0, 0}, {5, 5}, {13, 21, 13, 21}},
        {blGlyphTop, -1, 4, {16, 16}, {0, 0}, {1, 1}, {6, 6}, {14, 22, 14, 22}},
        // Margin and spacing both shared: a third each.
        {blGlyphLeft, -1, -1, {4, 4}, {9, 5}, {0, 0}, {4, 11}, {12, 10, 21, 15}},
        {blGlyphRight, 2, 3, {4, 4}, {9, 5}, {0, 0}, {19, 11}, {7, 10, 16, 15}},
        {blGlyphBottom, 2, -1, {4, 4}, {9, 5}, {0, 0}, {11, 19}, {8, 7, 17, 12}},
    };
    for (const TLayoutCase& C : Cases) {
        const TGlyphLayout L = LayoutGlyphAndCaptionSized(Client, C.Offset, C.Layout, C.Spacing,
                                                          C.Margin, C.Glyph, C.Text);
        EXPECT_EQ(L.GlyphPos.X, C.GlyphPos.X) << "layout " << C.Layout;
        EXPECT_EQ(L.GlyphPos.Y, C.GlyphPos.Y) << "layout " << C.Layout;
        EXPECT_EQ(L.TextBounds, C.TextBounds) << "layout " << C.Layout;
    }
    // The client's corner moves everything.
    const TGlyphLayout Moved = LayoutGlyphAndCaptionSized(TRect(10, 20, 35, 45), {0, 0}, blGlyphTop,
                                                          4, -1, {16, 16}, {0, 0});
    EXPECT_EQ(Moved.GlyphPos.X, 15);
    EXPECT_EQ(Moved.GlyphPos.Y, 25);
}

TEST(FlatTypes, NumGlyphsAndCells) {
    EXPECT_EQ(NumGlyphsForGlyph(64, 16, 1), 4);
    EXPECT_EQ(NumGlyphsForGlyph(96, 16, 3), 1); // six cells: too many
    EXPECT_EQ(NumGlyphsForGlyph(50, 16, 3), 3); // not whole cells: unchanged
    EXPECT_EQ(NumGlyphsForGlyph(0, 0, 2), 2);
    EXPECT_EQ(NumGlyphsForGlyph(32, 16, 1), 2);

    const int Expected[4][4] = {{0, 0, 0, 0}, {0, 1, 0, 0}, {0, 1, 2, 2}, {0, 1, 2, 3}};
    for (int N = 1; N <= 4; ++N)
        for (int S = bsUp; S <= bsLatched; ++S)
            EXPECT_EQ(GlyphCellIndex(N, static_cast<TButtonState>(S)), Expected[N - 1][S])
                << N << " cells, state " << S;
}

TEST(FlatTypes, InsideTestCountsTheBottomEdge) {
    EXPECT_TRUE(PointInButton(0, 0, 10, 10));
    EXPECT_TRUE(PointInButton(9, 10, 10, 10));
    EXPECT_FALSE(PointInButton(10, 5, 10, 10));
    EXPECT_FALSE(PointInButton(-1, 5, 10, 10));
    EXPECT_FALSE(PointInButton(5, 11, 10, 10));
}

TEST(FlatTypes, RowRunsMakeOneRectanglePerRun) {
    const std::vector<int> Row = {0, 1, 1, 0, 0, 1, 0, 1};
    std::vector<TRect> Rects;
    AddRowRuns(
        3, static_cast<int>(Row.size()), [&](int X) { return Row[X] == 1; },
        [&](const TRect& R) { Rects.push_back(R); });
    ASSERT_EQ(Rects.size(), 3u);
    EXPECT_EQ(Rects[0], TRect(1, 3, 3, 4));
    EXPECT_EQ(Rects[1], TRect(5, 3, 6, 4));
    EXPECT_EQ(Rects[2], TRect(7, 3, 8, 4)); // the row's last pixel closes its run

    Rects.clear();
    AddRowRuns(
        0, 5, [](int) { return true; }, [&](const TRect& R) { Rects.push_back(R); });
    ASSERT_EQ(Rects.size(), 1u);
    EXPECT_EQ(Rects[0], TRect(0, 0, 5, 1));
}

TEST(FlatTypes, FontLineHeight) {
    EXPECT_EQ(FontLineHeightFor(16), 18);
    EXPECT_EQ(FontLineHeightFor(13), 15); // 14.625
    EXPECT_EQ(FontLineHeightFor(12), 14); // 13.5 ties to even
}

} // namespace
