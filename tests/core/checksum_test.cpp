// Pins the picture: a run of every pattern from a fixed seed must hit the same pixels the same
// number of times as when the loop was first written, and as the benchmark's reference loop.

#include "../../bench/reference.h"
#include "peer.h"

#include <cstdint>

namespace {

constexpr unsigned int uSeed = 5;
constexpr int iIterations = 1000000;

// FNV-1a over the counts of the 800 x 800 pixels, column by column.
uint64_t hitChecksum(const screen& picture) {
    uint64_t uHash = 1469598103934665603ull;
    for (int i = 0; i < picture.width(); i++) {
        for (int j = 0; j < picture.height(); j++) {
            uHash ^= static_cast<uint64_t>(picture.hits(i, j));
            uHash *= 1099511628211ull;
        }
    }
    return uHash;
}

// Taken when the draws came from the GNU C library's rand(), whose sequence the viewer's own
// generator yields: the same on every system now.
constexpr uint64_t pinnedChecksums[iPatternCount] = {
    0x2f0a52b8ff797a55, 0x9fcfd07d0c21eb97, 0x426ecf961c86559d, 0x2539bd362c6fcd27,
    0xdabde04a9e512814, 0x5a08da757d51ee43, 0x244387e26bbffb1d, 0x159b23de8bfd8a48,
    0x561913873d638397, 0xe56839ca5a634270, 0x93b531ce45a67519, 0x3cd064f50e8178ad,
    0x57662f239a3c1b02, 0x5e9dbf7d21ea7ea1, 0x17f22e5fdaa08fbf, 0x6fa8beca0eab1eb0,
    0x1025eb4cfbab4087, 0xaf3c71a30140aedf, 0x738d70440affe927, 0xa932ac063d9b689d,
};

class ChecksumTest : public FlameTest {};

// Every way through the loop: the plain loop, one actualCalculate at a time, and the program's
// run in slices, along a cycle where there is one and in chunks on three threads.
TEST_F(ChecksumTest, MillionIterationsOfEveryPatternHitThePinnedPixels) {
    enum EWay { ePlainLoop, eOneByOne, eInSlices };
    for (EWay eWay : {ePlainLoop, eOneByOne, eInSlices}) {
        for (int iPattern = 1; iPattern <= iPatternCount; iPattern++) {
            clearScreen();
            calc.seedRandom(uSeed);
            peer.reset(0.3, -0.7, iPattern);
            SRun run;
            run.iPattern = iPattern;
            run.iIterations = iIterations;
            run.uSeed = uSeed;
            CRunner runner(run, 3);
            if (eWay == eOneByOne) {
                for (int i = 0; i < iIterations; i++) calc.actualCalculate();
            } else if (eWay == ePlainLoop) {
                calc.runIterations(iIterations);
            } else {
                CRunnerPeer(runner).beginAt(0.3, -0.7, true);
                while (runner.continueCalculate(1 << 16)) {
                }
            }
            const screen& picture = eWay == eInSlices ? runner.calc().picture() : myScreen;
            EXPECT_EQ(hitChecksum(picture), pinnedChecksums[iPattern - 1])
                << "pattern " << iPattern << ", way " << eWay;
        }
    }
}

TEST_F(ChecksumTest, ReferenceLoopDrawsTheSamePicture) {
    for (int iPattern = 1; iPattern <= iPatternCount; iPattern++) {
        screen picture(800, 800);
        SReferenceState state{0.3, -0.7, 0, {}, &picture};
        state.generator.seed(uSeed);
        runReferenceLoop(iPattern, iIterations, state);
        EXPECT_EQ(hitChecksum(picture), pinnedChecksums[iPattern - 1]) << "pattern " << iPattern;
    }
}

}  // namespace
