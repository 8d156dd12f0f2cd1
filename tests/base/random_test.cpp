// The viewer's own random sequence: the GNU C library's rand() for every seed, here and on any
// other C library.

#include "base/random.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

// Hold on every system: the first draws of the GNU C library's rand() after srand(1), which is
// also its sequence before any srand, and after srand(5).
TEST(RandomSequenceTest, FirstDrawsAreTheGnuLibrarys) {
    const struct {
        unsigned int uSeed;
        int iFirst, iSecond;
    } known[] = {{1, 1804289383, 846930886}, {5, 590011675, 99788765}};
    for (const auto& sequenceOf : known) {
        CRandom sequence;
        sequence.seed(sequenceOf.uSeed);
        EXPECT_EQ(sequence.next(), sequenceOf.iFirst) << "seed " << sequenceOf.uSeed;
        EXPECT_EQ(sequence.next(), sequenceOf.iSecond) << "seed " << sequenceOf.uSeed;
    }
    CRandom unseeded;
    EXPECT_EQ(unseeded.next(), known[0].iFirst);
}

// Seeds at the edges of the signed word the seed becomes (0 counts as 1; 2147483647 is the
// modulus itself, which zeroes every later seed word), and one like the clock's.
TEST(RandomSequenceTest, SameAsTheLibraryRandForTenMillionDraws) {
#ifndef __GLIBC__
    GTEST_SKIP() << "rand() of this C library is not the GNU one the sequence follows";
#else
    for (unsigned int uSeed : {0u, 1u, 2147483647u, 4294967295u, 1765100000u}) {
        srand(uSeed);
        CRandom sequence;
        sequence.seed(uSeed);
        for (int i = 0; i < 10000000; i++) {
            const int iExpected = rand();
            if (sequence.next() != iExpected) {
                FAIL() << "seed " << uSeed << ", draw " << i << ": rand() gives " << iExpected;
            }
        }
    }
#endif
}

// The next draws: more than the 31 words the sequence goes on from, so that a wrong one shows.
std::vector<int> nextDraws(CRandom& sequence) {
    std::vector<int> vDraws(64);
    for (int& iDraw : vDraws) iDraw = sequence.next();
    return vDraws;
}

// Jumps within the words the seed leaves, to either side of one turn of the ring and across
// many; for a seed whose later seed words are all zero as well.
TEST(RandomJumpTest, LandsWhereTheDrawsWould) {
    const unsigned long long uJumps[] = {0, 1, 2, 30, 31, 32, 33, 100, 1000, 65536, 1000007};
    for (unsigned int uSeed : {1u, 2147483647u, 1765100000u}) {
        CRandom stepped;
        stepped.seed(uSeed);
        unsigned long long uStepped = 0;
        for (unsigned long long uJump : uJumps) {
            for (; uStepped < uJump; uStepped++) stepped.next();
            CRandom jumped, steppedOn = stepped;
            jumped.seed(uSeed);
            jumped.discard(uJump);
            EXPECT_EQ(nextDraws(jumped), nextDraws(steppedOn))
                << "seed " << uSeed << ", jump " << uJump;
        }
    }
}

// Past 2³² draws the index of the next word wraps, but the length of the jump must not: a jump
// over 2³² + 77 draws is not one over 77. Stepping that far takes seconds; under the sanitizers,
// half a minute, so there the cheaper half of the check stands for it.
TEST(RandomJumpTest, LongJumpLandsWhereTheDrawsWould) {
    const unsigned long long uJump = (1ull << 32) + 77;
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    CRandom shortJump, longJump;
    shortJump.discard(77);
    longJump.discard(uJump);
    EXPECT_NE(nextDraws(shortJump), nextDraws(longJump));
    GTEST_SKIP() << "stepping 2^32 draws is left to the optimised build";
#endif
    CRandom stepped, jumped;
    for (unsigned long long u = 0; u < uJump; u++) stepped.next();
    jumped.discard(uJump);
    EXPECT_EQ(nextDraws(jumped), nextDraws(stepped));
}

// Two jumps are one: the second starts at another place in the ring, crosses the wrap of the
// index or, in the last pair, makes the longest jump there is.
TEST(RandomJumpTest, TwoJumpsAreTheirSum) {
    const struct {
        unsigned long long uFirst, uSecond;
    } pairs[] = {{1, 31},
                 {33, 1000007},
                 {1000000007, 999999937},
                 {(1ull << 32) - 345, 2},
                 {1ull << 63, (1ull << 63) - 1}};
    for (const auto& pair : pairs) {
        CRandom twice, once;
        twice.discard(pair.uFirst);
        twice.discard(pair.uSecond);
        once.discard(pair.uFirst + pair.uSecond);
        EXPECT_EQ(nextDraws(twice), nextDraws(once)) << pair.uFirst << " + " << pair.uSecond;
    }
}

}  // namespace
