// The patterns that draw nothing in a step, followed along their cycle in closed form: the very
// counts, most hits, point and draws of the plain loop, in any slices, and a run of the most
// iterations there are that ends at once.

#include "peer.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr double dNaN = std::numeric_limits<double>::quiet_NaN();

uint64_t bitsOf(double dValue) {
    uint64_t uBits;
    std::memcpy(&uBits, &dValue, sizeof uBits);
    return uBits;
}

struct SOutcome {
    std::vector<int> iHits;
    int iMaxHit;
    uint64_t uX, uY;  // bits: -0 is not +0 to the next step
    int iDraws[3];    // the generator's next draws: as many drawn before as the plain loop did
    int iCycle;       // the length of the cycle followed, 0 for none
};

struct SStart {
    bool bGiven;  // else the run's own start point, drawn from the seed
    double dX, dY;
};

SOutcome outcomeOf(CCalculation& calc) {
    CCalculationPeer peer(calc);
    SOutcome outcome{calc.picture().iScreenHits, calc.picture().iMaxHit, bitsOf(peer.x()),
                     bitsOf(peer.y()), {}, peer.cycleLength()};
    for (int& iDraw : outcome.iDraws) iDraw = peer.generator().next();
    return outcome;
}

void begin(CCalculation& calc, SStart start) {
    calc.beginCalculate();
    if (start.bGiven) CCalculationPeer(calc).reset(start.dX, start.dY, calc.parameters().iPattern);
}

// iSlice iterations a call through continueCalculate, or all of them by the plain loop alone.
SOutcome runOf(const SRun& run, int iSlice, SStart start = {}) {
    CCalculation calc(run);
    begin(calc, start);
    if (iSlice > 0) {
        while (calc.continueCalculate(iSlice)) {
        }
    } else {
        CCalculationPeer(calc).runIterations(run.iIterations);
    }
    return outcomeOf(calc);
}

constexpr int iPlainLoop = 0;

void expectSame(const SOutcome& actual, const SOutcome& expected) {
    EXPECT_EQ(actual.iHits, expected.iHits);
    EXPECT_EQ(actual.iMaxHit, expected.iMaxHit);
    EXPECT_EQ(actual.uX, expected.uX);
    EXPECT_EQ(actual.uY, expected.uY);
    for (int i = 0; i < 3; i++) EXPECT_EQ(actual.iDraws[i], expected.iDraws[i]);
}

// The runs end within a lap: the cycles of 2 are found after an odd number of iterations, and
// pattern 10's of 6 after 133, so that 1 and 5 of a lap are left over.
constexpr int iIterations = 1000008;

// Every pattern that draws nothing, 21 being no pattern; pattern 19 restarts on its way from
// seed 5, reaches its cycle late from seed 618 and drifts with none from seed 13.
TEST(CycleTest, ClosedFormGivesThePlainLoopsPicture) {
    const struct {
        int iPattern;
        unsigned int uSeed;
        int iCycle;  // expected length; 0: none
    } cases[] = {
        {6, 5, 0},   {7, 5, 2},   {8, 5, 0},   {9, 5, 2},   {10, 5, 6},  {11, 5, 2},
        {12, 5, 2},  {13, 5, 1},  {14, 5, 1},  {15, 5, 0},  {16, 5, 2},  {17, 5, 2},
        {18, 5, 2},  {19, 5, 1},  {20, 5, 1},  {21, 5, 1},  {19, 13, 0}, {19, 618, 1},
        {7, 2024, 2}, {10, 77, 6},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(::testing::Message() << "pattern " << example.iPattern << ", seed "
                                          << example.uSeed);
        SRun run;
        run.iIterations = iIterations;
        run.iPattern = example.iPattern;
        run.uSeed = example.uSeed;
        const SOutcome closed = runOf(run, iIterations);
        expectSame(closed, runOf(run, iPlainLoop));
        EXPECT_EQ(closed.iCycle, example.iCycle);
    }
}

// Cycles partly or wholly outside the plotting window, several points of one in a pixel, and
// points where the run did not put them: beyond the bound, not a number, a signed zero.
TEST(CycleTest, ClosedFormInAnyViewAndFromAnyStart) {
    const struct {
        int iPattern;
        int iWidth, iHeight;
        SView view;
        SStart start;
    } cases[] = {
        {10, 16, 16, {}, {}},
        {10, 100, 100, {0, 0, 1, 1}, {}},
        {7, 640, 480, {0.5, 0.5, 3, 2}, {}},
        {13, 800, 800, {5, 5, 6, 6}, {}},
        {21, 800, 800, {}, {true, dNaN, 0.5}},
        {21, 800, 800, {}, {true, 1e11, 0}},
        {9, 800, 800, {}, {true, -0.0, 0}},
        {6, 800, 800, {}, {true, 0, 0}},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(::testing::Message() << "pattern " << example.iPattern << ", view "
                                          << viewText(example.view));
        SRun run;
        run.iIterations = 100001;
        run.iPattern = example.iPattern;
        run.iWidth = example.iWidth;
        run.iHeight = example.iHeight;
        run.view = example.view;
        expectSame(runOf(run, run.iIterations, example.start),
                   runOf(run, iPlainLoop, example.start));
    }
}

// Slices that end before, on and after the cycle is found, and the cycle used in those after.
TEST(CycleTest, SlicesOfAnySizeGiveOnePicture) {
    for (int iPattern : {7, 10, 15, 19, 21}) {
        SRun run;
        run.iIterations = 300001;
        run.iPattern = iPattern;
        const SOutcome plain = runOf(run, iPlainLoop);
        for (int iSlice : {1, 7, 4096, 65536}) {
            SCOPED_TRACE(::testing::Message() << "pattern " << iPattern << ", slices of "
                                              << iSlice);
            expectSame(runOf(run, iSlice), plain);
        }
    }
}

// A step taken outside the run's loop moves the point along its cycle: the run goes on from
// where the point is, not from where the loop left it.
TEST(CycleTest, StepsBetweenSlicesMoveAlongTheCycle) {
    SRun run;
    run.iIterations = 20000;
    run.iPattern = 10;
    CCalculation closed(run), plain(run);
    closed.beginCalculate();
    plain.beginCalculate();
    closed.continueCalculate(10000);
    CCalculationPeer(plain).runIterations(10000);
    ASSERT_EQ(CCalculationPeer(closed).cycleLength(), 6);
    for (int i = 0; i < 5; i++) {
        closed.actualCalculate();
        plain.actualCalculate();
    }
    closed.continueCalculate(10000);
    CCalculationPeer(plain).runIterations(10000);
    expectSame(outcomeOf(closed), outcomeOf(plain));
}

// A restart draws: the orbit after it is no function of the point before, so the point drawn is
// where the search begins again. Here it is a fixed point, which the next step proves.
TEST(CycleTest, SearchBeginsAgainFromThePointARestartDraws) {
    SRun run;
    run.iPattern = 21;
    CCalculation calc(run);
    CCalculationPeer peer(calc);
    begin(calc, {true, dNaN, 0});
    calc.continueCalculate(1);
    EXPECT_EQ(peer.cycleLength(), 0);
    calc.continueCalculate(1);
    EXPECT_EQ(peer.cycleLength(), 1);
}

// The most iterations a run can have, in one call and in the window's slices: every one a hit,
// as the points of these cycles lie within the window. How long it takes is a benchmark's.
TEST(CycleTest, LongestRunEndsWithEveryHitCounted) {
    for (const auto& [iPattern, iSlice] : {std::pair{7, std::numeric_limits<int>::max()},
                                           std::pair{21, 1 << 16}}) {
        SCOPED_TRACE(::testing::Message() << "pattern " << iPattern);
        SRun run;
        run.iIterations = std::numeric_limits<int>::max();
        run.iPattern = iPattern;
        CCalculation calc(run);
        calc.beginCalculate();
        while (calc.continueCalculate(iSlice)) {
        }
        EXPECT_EQ(calc.iterationsDone(), run.iIterations);
        long long iSum = 0;
        int iLargest = 0;
        for (const int iHits : calc.picture().iScreenHits) {
            iSum += iHits;
            iLargest = std::max(iLargest, iHits);
        }
        EXPECT_EQ(iSum, run.iIterations);
        EXPECT_EQ(calc.picture().iMaxHit, iLargest);
    }
}

}  // namespace
