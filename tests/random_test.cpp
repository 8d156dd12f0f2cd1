// The viewer's own random sequence: the GNU C library's rand() for every seed, here and on any
// other C library.

#include "random.h"

#include <gtest/gtest.h>

#include <cstdlib>

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

}  // namespace
