// Framing a run on its orbit.

#include "peer.h"
#include "runs/fit.h"

#include <gtest/gtest.h>

namespace {

SRun runOf(int iPattern, int iWidth = 800, int iHeight = 800) {
    SRun run;
    run.iPattern = iPattern;
    run.uSeed = 7;
    run.iWidth = iWidth;
    run.iHeight = iHeight;
    return run;
}

// The dense part of each compound pattern, widened by a tenth and to the picture's shape: the
// Sierpinski triangle of [0, 1]^2 as it is, pattern 3's whole structure, pattern 5's core with
// the tails the log colourings show.
TEST(FitViewTest, FramesWhereTheOrbitIsDense) {
    const struct {
        int iPattern, iWidth, iHeight;
        SView expected;
    } cases[] = {
        {1, 800, 800, {-0.048, -0.048, 1.01, 1.01}},
        {2, 800, 800, {-5.41, -1.83, 3.63, 7.21}},
        {3, 800, 800, {-3.99, -2.66, 5.21, 6.54}},
        {4, 800, 800, {-0.82, -0.86, 0.82, 0.78}},
        {5, 800, 800, {-1.87, -1.23, 4.14, 4.78}},
        {3, 1200, 600, {-5.44, -1.09, 6.66, 4.96}},  // twice as wide as high, about the centre
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(::testing::Message() << "pattern " << example.iPattern << ", "
                                          << example.iWidth << " x " << example.iHeight);
        const SView view = fitView(runOf(example.iPattern, example.iWidth, example.iHeight));
        EXPECT_NEAR(view.dXMin, example.expected.dXMin, 0.01);
        EXPECT_NEAR(view.dYMin, example.expected.dYMin, 0.01);
        EXPECT_NEAR(view.dXMax, example.expected.dXMax, 0.01);
        EXPECT_NEAR(view.dYMax, example.expected.dYMax, 0.01);
        EXPECT_NEAR((view.dXMax - view.dXMin) / (view.dYMax - view.dYMin),
                    static_cast<double>(example.iWidth) / example.iHeight, 1e-12);
    }
}

// No orbit at all: the default view. A point (no pattern: the point stays where it starts), an
// orbit that settles on one (pattern 7) or on a short cycle (pattern 13 on 2 points), and a
// line: never framed narrower than 0.002, the point inside.
TEST(FitViewTest, NothingGetsTheDefaultViewAndNothingIsFramedBelowTheFloor) {
    SRun none = runOf(3);
    none.iIterations = 0;
    const SView nothing = fitView(none);
    EXPECT_EQ(nothing.dXMin, -1);
    EXPECT_EQ(nothing.dYMax, 1);
    for (const int iPattern : {iNoPattern, 7, 13}) {
        const SView view = fitView(runOf(iPattern, 800, 400));
        EXPECT_NEAR(view.dYMax - view.dYMin, 0.002, 1e-12) << "pattern " << iPattern;
        EXPECT_NEAR(view.dXMax - view.dXMin, 0.004, 1e-12) << "pattern " << iPattern;
    }
    const std::vector<SPoint> vLine = {{0, 0.5}, {1, 0.5}, {0.5, 0.5}};
    const SView line = viewOfOrbit(vLine, 100, 100);
    EXPECT_NEAR(line.dYMax - line.dYMin, 2, 1e-12);  // no extent on one axis: the default's
}


}  // namespace
