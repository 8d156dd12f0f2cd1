#pragma once

// The random numbers of one batch of the chaos game. Batch b of a render with seed s draws from a
// stream fixed by (s, b) alone, whatever thread runs it and whenever: xoshiro256** seeded by
// splitmix64 from a hash of the pair. No stream is shared, so no batch's count of draws (which
// retries and random variations make vary) moves another's. Defined here in full so that the
// draws inline into the iteration loop.

#include <cstdint>

// splitmix64's step: the next state in uState, its scrambled output returned.
inline uint64_t splitMix64(uint64_t& uState) {
    uint64_t u = (uState += 0x9e3779b97f4a7c15ULL);
    u = (u ^ (u >> 30)) * 0xbf58476d1ce4e5b9ULL;
    u = (u ^ (u >> 27)) * 0x94d049bb133111ebULL;
    return u ^ (u >> 31);
}

class CBatchRandom {
public:
    CBatchRandom(uint64_t uSeed, uint64_t uBatch) {
        // The batch number scrambled first, so that (s, b) and (s + 1, b − 1) are far apart.
        uint64_t uBatchState = uBatch;
        uint64_t uState = uSeed ^ splitMix64(uBatchState);
        for (uint64_t& uWord : uWords) uWord = splitMix64(uState);
    }

    uint64_t next() {  // xoshiro256**
        const uint64_t uResult = rotl(uWords[1] * 5, 7) * 9;
        const uint64_t uShifted = uWords[1] << 17;
        uWords[2] ^= uWords[0];
        uWords[3] ^= uWords[1];
        uWords[1] ^= uWords[2];
        uWords[0] ^= uWords[3];
        uWords[2] ^= uShifted;
        uWords[3] = rotl(uWords[3], 45);
        return uResult;
    }

    // Uniform in [0, 1): the top 53 bits, each value k·2^−53 equally likely.
    double uniform() { return uniformOf(next()); }
    static double uniformOf(uint64_t uDrawn) {
        return static_cast<double>(uDrawn >> 11) * 0x1.0p-53;
    }

    // Uniform in [−1, 1).
    double symmetric() { return 2 * uniform() - 1; }

    bool bit() { return (next() >> 63) != 0; }

    // The top 32 bits of a draw, as a whole number.
    double highHalf() { return static_cast<double>(next() >> 32); }

private:
    static uint64_t rotl(uint64_t u, int iBits) { return (u << iBits) | (u >> (64 - iBits)); }

    uint64_t uWords[4];
};
