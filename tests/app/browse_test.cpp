// Browsing: the runs the window's keys make of the run shown.

#include "app/browse.h"
#include "core/patterns.h"

#include <gtest/gtest.h>

namespace {

SRun runOf(int iPattern) {
    SRun run;
    run.iPattern = iPattern;
    run.uSeed = 7;
    return run;
}

TEST(BrowseTest, KeysMakeTheNextRun) {
    SRun run = runOf(iPatternCount);
    EXPECT_EQ(stepPattern(run, 1).iPattern, 1);
    EXPECT_EQ(stepPattern(runOf(1), -1).iPattern, iPatternCount);
    EXPECT_EQ(stepPattern(runOf(iPatternCount + 5), 1).iPattern, 1);
    run.iIterations = 300000000;
    EXPECT_EQ(scaleIterations(run, true).iIterations, 2147483647);
    run.iIterations = 5;
    EXPECT_EQ(scaleIterations(run, false).iIterations, 1);
    const SRun zoomed = zoomAbout(runOf(3), 1, 1, 2);  // the corner stays where it is
    EXPECT_EQ(zoomed.view.dXMin, 0);
    EXPECT_EQ(zoomed.view.dYMax, 1);
    const SRun moved = moveView(runOf(3), 0.25, -0.25);
    EXPECT_EQ(moved.view.dXMin, -0.5);
    EXPECT_EQ(moved.view.dYMax, 0.5);
    SRun deep = runOf(3);
    deep.view = {1, 1, 1 + 4e-16, 1 + 4e-16};
    EXPECT_EQ(zoomCentre(deep, 2).view.dXMax, deep.view.dXMax);  // as far as doubles reach
}

// A poster keeps the density of the picture it came from: the iterations scale with the area,
// rounded, at least one, at most the most a run can have.
TEST(BrowseTest, ResizedRunKeepsItsDensity) {
    const struct {
        int iIterations, iWidth, iHeight, iNewWidth, iNewHeight;
        int iExpected;
        bool bCapped;
    } cases[] = {
        {5000000, 800, 800, 8000, 8000, 500000000, false},
        {5000000, 800, 800, 400, 200, 625000, false},
        {3, 800, 800, 16, 16, 1, false},
        {6000000, 800, 800, 16384, 16384, 2147483647, true},
        {1000, 640, 480, 641, 480, 1002, false},  // 1001.5625, rounded
    };
    for (const auto& example : cases) {
        SRun run = runOf(3);
        run.iIterations = example.iIterations;
        run.iWidth = example.iWidth;
        run.iHeight = example.iHeight;
        bool bCapped = !example.bCapped;
        const SRun poster = resizedAsDense(run, example.iNewWidth, example.iNewHeight, bCapped);
        EXPECT_EQ(poster.iIterations, example.iExpected) << example.iNewWidth;
        EXPECT_EQ(bCapped, example.bCapped) << example.iNewWidth;
        EXPECT_EQ(poster.iWidth, example.iNewWidth);
    }
}

}  // namespace
