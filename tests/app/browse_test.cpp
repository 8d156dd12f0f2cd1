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

}  // namespace
