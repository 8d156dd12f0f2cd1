// Whole runs: the Sierpinski triangle of pattern 1 from a fixed seed, a fixed point piling every
// hit onto one pixel, runs of no iterations, two runs side by side, and where a point lands in a
// picture of any size and view.

#include "peer.h"

#include <cmath>
#include <vector>

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
            const int iHits = myScreen.hits(i, j);
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

TEST(WholeRunTest, FixedPointPilesEveryHitOnOnePixelExactly) {
    SRun run;
    run.iIterations = 20000000;  // beyond 2^24, where a float count would stop growing
    run.iPattern = iNoPattern;
    CCalculation calc(run);
    calc.initCalculate();
    CCalculationPeer peer(calc);
    const screen& picture = calc.picture();
    const int iCol = calc.convertToScreen(peer.x(), iScreenWidth);
    const int iRow = calc.convertToScreen(peer.y(), iScreenHight);
    EXPECT_EQ(picture.hits(iCol, iRow), 20000000);
    EXPECT_EQ(picture.iMaxHit, 20000000);
    calc.calculateHitsToColour(iScreenWidth, iScreenHight);
    EXPECT_EQ(picture.colour(iCol, iRow)[0], 1.0f);
}

TEST(WholeRunTest, NoIterationsLeavePictureBlack) {
    for (int iIterations : {0, -5}) {
        SRun run;
        run.iIterations = iIterations;
        CCalculation calc(run);
        calc.iColourType = 2;
        calc.initCalculate();
        calc.calculateHitsToColour(iScreenWidth, iScreenHight);
        const screen& picture = calc.picture();
        EXPECT_EQ(picture.iScreenHits, std::vector<int>(800 * 800, 0));
        EXPECT_EQ(picture.iMaxHit, 0);
        EXPECT_EQ(picture.fScreenArray, std::vector<float>(800 * 800 * 4, 0.0f));
    }
}

// Two runs of other patterns, sizes and views, slice by slice in turn, each as it is alone.
TEST(WholeRunTest, InterleavedComputationsKeepTheirOwnPictures) {
    SRun first, second;
    first.iIterations = 200000;
    first.iPattern = 3;
    first.uSeed = 7;
    second.iIterations = 150000;
    second.iPattern = 4;
    second.uSeed = 9;
    second.iWidth = 640;
    second.iHeight = 480;
    second.view = {-2, -1.5, 2, 1.5};
    CCalculation firstAlone(first), secondAlone(second);
    CRunner firstShared(first), secondShared(second);
    firstAlone.initCalculate();
    secondAlone.initCalculate();
    firstShared.beginCalculate();
    secondShared.beginCalculate();
    for (bool bMore = true; bMore;) {
        bMore = firstShared.continueCalculate(10000);
        bMore = secondShared.continueCalculate(7000) || bMore;
    }
    EXPECT_EQ(firstShared.calc().picture().iScreenHits, firstAlone.picture().iScreenHits);
    EXPECT_EQ(firstShared.calc().picture().iMaxHit, firstAlone.picture().iMaxHit);
    EXPECT_EQ(secondShared.calc().picture().iScreenHits, secondAlone.picture().iScreenHits);
    EXPECT_EQ(secondShared.calc().picture().iMaxHit, secondAlone.picture().iMaxHit);
    EXPECT_GT(secondAlone.picture().iMaxHit, 0);
}

// 1600 x 1200 pixels over [-3, 5] x [-0.5, 2.5]: 200 columns and 400 rows a unit. A point lands
// in column (x + 3) · 200 and row (y + 0.5) · 400, truncated, the upper bounds in the last.
TEST(WholeRunTest, PixelOfPointInAnyViewAndSize) {
    SRun run;
    run.iWidth = 1600;
    run.iHeight = 1200;
    run.view = {-3, -0.5, 5, 2.5};
    const struct {
        double dX, dY;
        int iColumn, iRow;  // -1: no hit
    } cases[] = {
        {-3, -0.5, 0, 0},        {5, 2.5, 1599, 1199},    {0, 0, 600, 200},
        {1, 1, 800, 600},        {-2.999, 2.4999, 0, 1199},
        {std::nextafter(5.0, 0.0), 0, 1599, 200},
        {-3.0000001, 0, -1, -1}, {0, 2.5000001, -1, -1},  {1.5, -0.75, -1, -1},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(::testing::Message() << "(" << example.dX << ", " << example.dY << ")");
        CCalculation calc(run);
        CCalculationPeer peer(calc);
        peer.x() = example.dX;
        peer.y() = example.dY;
        peer.postStep();
        const screen& picture = calc.picture();
        if (example.iColumn < 0) {
            EXPECT_EQ(picture.iMaxHit, 0);
            continue;
        }
        EXPECT_EQ(picture.hits(example.iColumn, example.iRow), 1);
        EXPECT_EQ(picture.iMaxHit, 1);
    }
}

}  // namespace
