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

TEST(ProgressLineTest, FramesShowWhichFrameAndTheTimeLeftForAll) {
    EXPECT_EQ(framesProgressLine(12, 3, 30, 0.25, 20.0), "  25% | frame 12, 3 of 30 | 60 s left");
    EXPECT_EQ(framesProgressLine(-1, 1, 2, 0.0, 0.0), "   0% | frame -1, 1 of 2 | 0 s left");
}

}  // namespace
