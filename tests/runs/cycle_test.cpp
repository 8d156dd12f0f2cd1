// The patterns that draw nothing in a step, followed along their cycles in closed form: the very
// counts, most hits, point and draws of the plain loop, in any slices, and the longest run.

#include "peer.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <tuple>
#include <vector>

namespace {

constexpr double dNaN = std::numeric_limits<double>::quiet_NaN();

struct SStart {  // where the run begins; else at the point drawn from its seed
    bool bGiven;
    double dX, dY;
};

// The counts, the most hits, the point's bits (-0 is not +0 to the next step) and the next draw:
// as many numbers drawn before it as by the plain loop.
using TOutcome = std::tuple<std::vector<int>, int, uint64_t, uint64_t, int>;

// iSlice iterations a call through continueCalculate or, at 0, all of them by the plain loop.
TOutcome runOf(const SRun& run, int iSlice, SStart start = {}, int* pCycle = nullptr) {
    CRunner runner(run);
    if (start.bGiven) CRunnerPeer(runner).beginAt(start.dX, start.dY);
    else runner.beginCalculate();
    if (iSlice == 0) runner.calc().runIterations(run.iIterations);
    while (iSlice > 0 && runner.continueCalculate(iSlice)) {
    }
    if (pCycle) *pCycle = runner.cycleLength();
    SOrbitState end = runner.calc().orbitState();
    uint64_t uX, uY;
    std::memcpy(&uX, &end.dX, sizeof uX);
    std::memcpy(&uY, &end.dY, sizeof uY);
    const screen& picture = runner.calc().picture();
    return {picture.iScreenHits, picture.iMaxHit, uX, uY, end.generator.next()};
}

// Every pattern that draws nothing, iNoPattern being none; pattern 19 restarts on its way from seed 5,
// finds its cycle late from seed 618 and creeps with none from seed 13. Then cycles partly or
// wholly outside the window, several points of one in a pixel, and odd start points. The runs
// end within a lap: the cycles of 2 are found after an odd number of iterations, pattern 10's
// of 6 after 133, so that 1 and 5 of a lap are left.
TEST(CycleTest, ClosedFormGivesThePlainLoopsPicture) {
    const struct {
        int iPattern;
        unsigned int uSeed;
        int iCycle;  // the length expected; 0: none
        int iWidth = 800, iHeight = 800;
        SView view = {};
        SStart start = {};
    } cases[] = {
        {6, 5, 0},   {7, 5, 2},   {8, 5, 0},   {9, 5, 2},    {10, 5, 6},   {11, 5, 2},
        {12, 5, 2},  {13, 5, 1},  {14, 5, 1},  {15, 5, 0},   {16, 5, 2},   {17, 5, 2},
        {18, 5, 2},  {19, 5, 1},  {20, 5, 1},  {iNoPattern, 5, 1},   {19, 13, 0},  {19, 618, 1},
        {10, 5, 6, 16, 16},     {10, 5, 6, 100, 100, {0, 0, 1, 1}},
        {7, 5, 2, 640, 480, {0.5, 0.5, 3, 2}},  {13, 5, 1, 800, 800, {5, 5, 6, 6}},
        {iNoPattern, 5, 1, 800, 800, {}, {true, dNaN, 0.5}}, {iNoPattern, 5, 1, 800, 800, {}, {true, 1e11, 0}},
        {9, 5, 2, 800, 800, {}, {true, -0.0, 0}},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(::testing::Message() << "pattern " << example.iPattern << ", seed "
                                          << example.uSeed << ", view " << viewText(example.view));
        SRun run;
        run.iIterations = 1000008;
        run.iPattern = example.iPattern;
        run.uSeed = example.uSeed;
        run.iWidth = example.iWidth;
        run.iHeight = example.iHeight;
        run.view = example.view;
        int iCycle = -1;
        EXPECT_EQ(runOf(run, run.iIterations, example.start, &iCycle),
                  runOf(run, 0, example.start));
        EXPECT_EQ(iCycle, example.iCycle);
    }
}

// Slices that end before, on and after the cycle is found, and the cycle used in those after.
TEST(CycleTest, SlicesOfAnySizeGiveOnePicture) {
    for (int iPattern : {7, 10, 15, 19, iNoPattern}) {
        SRun run;
        run.iIterations = 300001;
        run.iPattern = iPattern;
        const TOutcome plain = runOf(run, 0);
        for (int iSlice : {1, 7, 4096, 65536}) {
            EXPECT_EQ(runOf(run, iSlice), plain) << "pattern " << iPattern << ", slices of "
                                                 << iSlice;
        }
    }
}

// A restart draws, so the orbit after it is no function of the point before: the search begins
// again from the point drawn. Here it is a fixed point, which the next step proves.
TEST(CycleTest, SearchBeginsAgainFromThePointARestartDraws) {
    SRun run;
    run.iPattern = iNoPattern;
    CRunner runner(run);
    CRunnerPeer(runner).beginAt(dNaN, 0);
    runner.continueCalculate(1);
    EXPECT_EQ(runner.cycleLength(), 0);
    runner.continueCalculate(1);
    EXPECT_EQ(runner.cycleLength(), 1);
}

// The most iterations a run can have, in one call and in the window's slices, every one a hit;
// how long it takes is a benchmark's.
TEST(CycleTest, LongestRunEndsWithEveryHitCounted) {
    for (const auto& [iPattern, iSlice] : {std::pair{7, std::numeric_limits<int>::max()},
                                           std::pair{iNoPattern, 1 << 16}}) {
        SRun run;
        run.iIterations = std::numeric_limits<int>::max();
        run.iPattern = iPattern;
        CRunner runner(run);
        runner.beginCalculate();
        while (runner.continueCalculate(iSlice)) {
        }
        long long iSum = 0;
        for (const int iHits : runner.calc().picture().iScreenHits) iSum += iHits;
        EXPECT_EQ(iSum, run.iIterations) << "pattern " << iPattern;
    }
}

}  // namespace
