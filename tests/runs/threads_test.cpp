// A run on any number of threads draws the picture of the run on one, bit for bit.

#include "peer.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

SRun runOf(int iPattern, unsigned int uSeed) {
    SRun run;
    run.iPattern = iPattern;
    run.uSeed = uSeed;
    return run;
}

::testing::AssertionResult sameRun(const CRunner& one, const CRunner& many) {
    if (many.iterationsDone() != one.iterationsDone())
        return ::testing::AssertionFailure() << many.iterationsDone() << " iterations done";
    if (many.calc().picture().iMaxHit != one.calc().picture().iMaxHit)
        return ::testing::AssertionFailure() << "most hits " << many.calc().picture().iMaxHit;
    if (many.calc().picture().iScreenHits != one.calc().picture().iScreenHits)
        return ::testing::AssertionFailure() << "other counts";
    return ::testing::AssertionSuccess();
}

// Every pattern from one seed, the compound ones from three and on two, three and eight threads.
TEST(ThreadsTest, EveryPatternDrawsTheSamePictureOnAnyNumberOfThreads) {
    for (int iPattern = 1; iPattern <= iPatternCount; iPattern++) {
        const std::vector<unsigned int> vSeeds = iPattern <= 5
                                                     ? std::vector<unsigned int>{1, 7, 1700000000}
                                                     : std::vector<unsigned int>{7};
        for (const unsigned int uSeed : vSeeds) {
            CRunner one(runOf(iPattern, uSeed), 1);
            one.initCalculate();
            // One pattern function alone is never cut into chunks: eight threads stand for all.
            const std::vector<int> vThreads =
                iPattern <= 5 ? std::vector<int>{2, 3, 8} : std::vector<int>{8};
            for (const int iThreads : vThreads) {
                CRunner many(runOf(iPattern, uSeed), iThreads);
                many.initCalculate();
                EXPECT_TRUE(sameRun(one, many)) << "pattern " << iPattern << ", seed " << uSeed
                                                << ", " << iThreads << " threads";
            }
        }
    }
}

// A chunk guessed from a point that escapes at once draws two numbers more than the run: its
// orbit never meets the true one, and it is computed again in order, in slices as a window
// computes it.
TEST(ThreadsTest, ChunkOutOfStepIsComputedAgainInOrder) {
    for (const int iPattern : {3, 4}) {
        CRunner one(runOf(iPattern, 7), 1);
        one.initCalculate();
        CRunner many(runOf(iPattern, 7), 2);
        CRunnerPeer(many).beginWithGuess({std::numeric_limits<double>::quiet_NaN(), 0});
        while (many.continueCalculate(1 << 16)) {
        }
        EXPECT_TRUE(sameRun(one, many)) << "pattern " << iPattern;
    }
}

// A run dropped while its chunks are still computing, as a browsing key drops one: they stop
// within a block and are waited for, never left running on a computation that is gone (which
// the sanitizer builds would report).
TEST(ThreadsTest, RunDroppedMidwayStopsAndWaitsForItsChunks) {
    SRun run = runOf(3, 7);
    run.iIterations = 1 << 28;
    for (int i = 0; i < 3; i++) {
        CRunner many(run, 3);
        many.beginCalculate();
        many.continueCalculate(1 << 16);
        EXPECT_LT(many.iterationsDone(), run.iIterations);
    }
}

}  // namespace
