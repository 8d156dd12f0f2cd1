// The computation state: defaults, random draws, the pixel conversion and the post-step
// (escape test, window test, hit counting).

#include "peer.h"

#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

namespace {

constexpr double dInf = std::numeric_limits<double>::infinity();
constexpr double dNaN = std::numeric_limits<double>::quiet_NaN();

TEST(CalculationDefaultsTest, MillionIterationsOfSierpinskiInBlackAndWhite) {
    CCalculation calc;
    EXPECT_EQ(calc.parameters().iIterations, 1000000);
    EXPECT_EQ(calc.parameters().iPattern, 1);
    EXPECT_EQ(calc.iColourType, 1);
    EXPECT_EQ(calc.picture().width(), 800);
    EXPECT_EQ(calc.picture().height(), 800);
    CCalculationPeer peer(calc);
    EXPECT_EQ(peer.x(), 0.0);
    EXPECT_EQ(peer.y(), 0.0);
    EXPECT_EQ(peer.maxHit(), 0);
}

// A run no picture can hold is refused when its computation is made, with the reason.
TEST(CalculationDefaultsTest, RefusesRunsNoPictureCanHold) {
    const struct {
        int iWidth, iHeight;
        SView view;
    } cases[] = {
        {0, 800, {}}, {800, -1, {}}, {800, 800, {1, -1, 1, 1}}, {800, 800, {-1, 2, 1, 2}},
        {800, 800, {dNaN, -1, 1, 1}}, {800, 800, {-1, -1, dInf, 1}}, {800, 800, {-1, -dInf, 1, 1}},
    };
    for (const auto& example : cases) {
        SRun run;
        run.iWidth = example.iWidth;
        run.iHeight = example.iHeight;
        run.view = example.view;
        EXPECT_NE(runProblem(run), "");
        EXPECT_THROW(CCalculation{run}, std::invalid_argument);
    }
}

TEST(RandomNumTest, DrawScalesToRangeWithBothEndsReachable) {
    EXPECT_EQ(drawToRange(0, -1, 1), -1.0);
    EXPECT_EQ(drawToRange(2147483647, -1, 1), 1.0);
    EXPECT_EQ(drawToRange(2147483647, 0, 3), 3.0);
    EXPECT_NEAR(drawToRange(1073741824, -1, 1), 0.0, 1e-9);
}

TEST(RandomNumTest, EachCallTakesOneDraw) {
    CRandom sequence;
    sequence.seed(42);
    const int iFirst = sequence.next();
    const int iSecond = sequence.next();
    CCalculation calc;
    calc.seedRandom(42);
    EXPECT_EQ(calc.randomNum(-1, 1), drawToRange(iFirst, -1, 1));
    EXPECT_EQ(calc.randomNum(0, 4), drawToRange(iSecond, 0, 4));
}

TEST(ConvertToScreenTest, MapsWindowOntoPixels) {
    CCalculation calc;
    EXPECT_EQ(calc.convertToScreen(-1, 800), 0);
    EXPECT_EQ(calc.convertToScreen(0, 800), 400);
    EXPECT_EQ(calc.convertToScreen(-0.5, 800), 200);
    EXPECT_EQ(calc.convertToScreen(0.999, 800), 799);  // 799.6 truncated
    EXPECT_EQ(calc.convertToScreen(1, 800), 799);      // 800 clamped
    EXPECT_EQ(calc.convertToScreen(-1.001, 800), 0);   // -0.4 truncates to 0
}

TEST(ConvertToScreenTest, ClampsEveryDoubleBeforeConverting) {
    CCalculation calc;
    EXPECT_EQ(calc.convertToScreen(dNaN, 800), 0);
    EXPECT_EQ(calc.convertToScreen(dInf, 800), 799);
    EXPECT_EQ(calc.convertToScreen(-dInf, 800), 0);
    EXPECT_EQ(calc.convertToScreen(1e300, 800), 799);
    EXPECT_EQ(calc.convertToScreen(-1e300, 800), 0);
    EXPECT_EQ(calc.convertToScreen(5e9, 800), 799);  // beyond INT_MAX once scaled
    EXPECT_EQ(calc.convertToScreen(std::numeric_limits<double>::denorm_min(), 800), 400);
}

class PostStepTest : public FlameTest {
protected:
    // One post-step on the point (dX, dY), as if a pattern step had just produced it.
    void postStepAt(double dX, double dY) {
        peer.x() = dX;
        peer.y() = dY;
        peer.sx() = peer.sy() = 123;
        peer.postStep();
    }
};

TEST_F(PostStepTest, WindowIsClosedSquare) {
    postStepAt(1, 1);
    EXPECT_EQ(myScreen.hits(799, 799), 1);
    postStepAt(-1, -1);
    EXPECT_EQ(myScreen.hits(0, 0), 1);
    postStepAt(-1, 1);
    EXPECT_EQ(myScreen.hits(0, 799), 1);
    for (const auto& [dX, dY] : {std::pair{1.0000001, 0.0}, {0.0, -1.0000001}, {-5.0, 0.0}}) {
        postStepAt(dX, dY);
        EXPECT_EQ(peer.x(), dX);  // outside the window: no restart, the point goes on
        EXPECT_EQ(peer.sx(), dX);
    }
    EXPECT_EQ(totalHits(), 3);
    EXPECT_EQ(peer.maxHit(), 1);
}

// Beyond the bound on either axis, infinite, or not a number: two fresh draws, x first.
TEST_F(PostStepTest, RunawayOrNotANumberIsRestartedXFirst) {
    CRandom sequence;
    sequence.seed(11);
    const double dNewX = drawToRange(sequence.next(), -1, 1);
    const double dNewY = drawToRange(sequence.next(), -1, 1);
    for (const auto& [dX, dY] : {std::pair{2e10, 0.0}, {-2e10, 0.0}, {0.0, 2e10}, {0.0, -dInf},
                                 {dNaN, 0.5}, {0.5, dNaN}, {dNaN, dNaN}}) {
        calc.seedRandom(11);
        postStepAt(dX, dY);
        EXPECT_EQ(peer.x(), dNewX);
        EXPECT_EQ(peer.y(), dNewY);
        EXPECT_EQ(peer.sx(), 123);  // only a point that passed the escape test is kept there
    }
    EXPECT_EQ(totalHits(), 0);
}

TEST_F(PostStepTest, EscapeBoundItselfIsNoEscape) {
    postStepAt(1e10, -1e10);
    EXPECT_EQ(peer.x(), 1e10);
    EXPECT_EQ(peer.y(), -1e10);
    postStepAt(5, 0);
    EXPECT_EQ(peer.x(), 5.0);
    EXPECT_EQ(totalHits(), 0);
}

TEST_F(PostStepTest, HitRaisesMaxHitToCount) {
    for (int i = 0; i < 3; i++) postStepAt(0, 0);
    postStepAt(0.5, 0.5);
    EXPECT_EQ(myScreen.hits(400, 400), 3);
    EXPECT_EQ(myScreen.hits(600, 600), 1);
    EXPECT_EQ(peer.maxHit(), 3);
}

}  // namespace
