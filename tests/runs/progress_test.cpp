// The progress line a long run shows on a terminal.

#include "runs/progress.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgressLineTest, ShowsShareSpeedAndTimeLeft) {
    EXPECT_EQ(progressLine(25000000, 100000000, 2.0), "  25% | 12.5 M iterations/s | 6 s left");
    EXPECT_EQ(progressLine(0, 100, 0.0), "   0% | 0.0 M iterations/s | 0 s left");
    EXPECT_EQ(progressLine(2147483647, 2147483647, 10.0),
              " 100% | 214.7 M iterations/s | 0 s left");
}

}  // namespace
