#include "classlib/gui/Graphics.h"
#include "tests/support/GdiCount.h"

#include <gtest/gtest.h>

#include <vector>

// The helper must see what it is meant to catch: one object kept per round.
TEST(GdiCount, SeesObjectsMadeAndDeleted) {
    const int Before = GdiObjectCount();
    EXPECT_GT(Before, 0);
    std::vector<TBrushObject> Kept;
    for (int I = 0; I < 5; ++I)
        Kept.emplace_back(CreateSolidBrush(RGB(I, 0, 0)));
    EXPECT_EQ(GdiObjectCount() - Before, 5);
    Kept.clear();
    EXPECT_EQ(GdiObjectCount(), Before);
}

TEST(GdiCount, GrowthIsTheLeakPerRound) {
    std::vector<TBrushObject> Leaked;
    EXPECT_EQ(GdiGrowth([&] { Leaked.emplace_back(CreateSolidBrush(RGB(1, 2, 3))); }, 10), 10);
    EXPECT_EQ(GdiGrowth([] { TBrushObject Brush(CreateSolidBrush(RGB(1, 2, 3))); }), 0);
}
