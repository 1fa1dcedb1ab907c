#include "app/Progress.h"
#include "tests/support/FakeProgress.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(ProgressScope, FinishesTheOperationAlsoWhenItThrows) {
    TFakeProgress Progress;
    EXPECT_THROW(
        {
            TProgressScope Scope(Progress, L"Working", 10, true);
            EXPECT_TRUE(Progress.Running);
            throw std::runtime_error("failed");
        },
        std::runtime_error);
    EXPECT_FALSE(Progress.Running);
}

TEST(ProgressScope, EachOperationStartsUncancelled) {
    TFakeProgress Progress;
    {
        TProgressScope First(Progress, L"First", 0, true);
        Progress.PressCancel();
        EXPECT_TRUE(Progress.Cancelled());
    }
    TProgressScope Second(Progress, L"Second", 5, false);
    EXPECT_FALSE(Progress.Cancelled());
    EXPECT_FALSE(Progress.CancelVisible);
    EXPECT_EQ(Progress.Max, 5);
}
