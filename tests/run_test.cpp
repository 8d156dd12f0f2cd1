// Whole runs: the Sierpinski triangle of pattern 1 from a fixed seed, a fixed point piling every
// hit onto one pixel, and runs of no iterations.

#include "peer.h"

#include <cmath>

namespace {

class RunTest : public FlameTest {
protected:
    // What initCalculate does after seeding: place the point, x first, and iterate.
    void runFromSeed(unsigned int uSeed, int iPattern, int iIterations) {
        calc.seedRandom(uSeed);
        peer.reset(0, 0, iPattern);
        peer.x() = calc.randomNum(-1, 1);
        peer.y() = calc.randomNum(-1, 1);
        for (int i = 0; i < iIterations; i++) calc.actualCalculate();
    }
};

TEST_F(RunTest, SierpinskiTriangleFromFixedSeed) {
    runFromSeed(2024, 1, 20);  // the way from the random start onto the attractor
    clearScreen();
    peer.maxHit() = 0;
    constexpr int iIterations = 1000000 - 20;
    for (int i = 0; i < iIterations; i++) calc.actualCalculate();

    // Pattern 1 never leaves the window, so every iteration is a hit.
    EXPECT_EQ(totalHits(), iIterations);
    int iLargest = 0;
    for (int i = 0; i < iScreenWidth; i++) {
        for (int j = 0; j < iScreenHight; j++) {
            const int iHits = myScreen.iScreenHits[i][j];
            if (iHits == 0) continue;
            iLargest = std::max(iLargest, iHits);
            const int iCol = i - 400, iRow = j - 400;  // pixel of (0, 0) is the corner
            ASSERT_GE(iCol, 0) << i << "," << j;
            ASSERT_GE(iRow, 0) << i << "," << j;
            ASSERT_LE(iCol + iRow, 400) << i << "," << j;  // below the hypotenuse x + y = 1
            // The middle hole x < 0.5, y < 0.5, x + y > 0.5 is never visited.
            ASSERT_FALSE(iCol < 200 && iRow < 200 && iCol + iRow >= 201) << i << "," << j;
        }
    }
    EXPECT_EQ(peer.maxHit(), iLargest);
}

TEST_F(RunTest, EveryIterationIsHitOrLeftOrRestarted) {
    // Pattern 3 sends points out of the window and beyond the escape bound.
    calc.seedRandom(77);
    peer.reset(0.1, 0.2, 3);
    long long iHits = 0, iLeft = 0, iRestarts = 0;
    constexpr int iIterations = 200000;
    for (int i = 0; i < iIterations; i++) {
        peer.patternStep();
        const double dX = peer.x(), dY = peer.y();
        if (std::isnan(dX) || std::isnan(dY) || std::fabs(dX) > 1e10 || std::fabs(dY) > 1e10)
            iRestarts++;
        else if (std::fabs(dX) > 1 || std::fabs(dY) > 1)
            iLeft++;
        else
            iHits++;
        peer.postStep();
    }
    EXPECT_GT(iLeft, 0);
    EXPECT_EQ(totalHits(), iHits);
    EXPECT_EQ(iHits + iLeft + iRestarts, iIterations);
}

TEST_F(RunTest, FixedPointPilesEveryHitOnOnePixelExactly) {
    calc.iIterations = 20000000;  // beyond 2^24, where a float count would stop growing
    calc.iPattern = 21;
    calc.iColourType = 1;
    peer.reset(0, 0, 21);
    ::testing::internal::CaptureStdout();
    calc.initCalculate();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "calculating.......\n\n\n");

    const int iCol = calc.convertToScreen(peer.x(), iScreenWidth);
    const int iRow = calc.convertToScreen(peer.y(), iScreenHight);
    EXPECT_EQ(myScreen.iScreenHits[iCol][iRow], 20000000);
    EXPECT_EQ(peer.maxHit(), 20000000);
    EXPECT_EQ(totalHits(), 20000000);
    EXPECT_EQ(myScreen.fScreenArray[iCol][iRow][0], 1.0f);
}

TEST_F(RunTest, NoIterationsLeaveBufferBlack) {
    for (int iIterations : {0, -5}) {
        calc.iIterations = iIterations;
        calc.iColourType = 2;
        peer.reset(0, 0, 1);
        ::testing::internal::CaptureStdout();
        calc.initCalculate();
        ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(totalHits(), 0);
        EXPECT_EQ(peer.maxHit(), 0);
        for (int i = 0; i < iScreenWidth; i++)
            for (int j = 0; j < iScreenHight; j++) ASSERT_EQ(myScreen.fScreenArray[i][j][3], 0.0f);
    }
}

}  // namespace
