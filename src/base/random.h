#pragma once

// The viewer's own random sequence. For every seed it is exactly the sequence of the GNU C
// library's rand(), so that the pictures drawn before stay what they were; but it is a plain
// object, with none of the lock rand() takes on every call, and one seed now draws the same
// picture whatever the system's C library. A draw is defined here in full so that it inlines into
// the iteration loop; the jump ahead, rare and longer, is in random.cpp.

#include <cstdint>

constexpr int iRandomMax = 2147483647;  // the largest draw, as RAND_MAX of the GNU C library

// A draw scaled to [dMin, dMax], both ends reachable: dMin + draw / 2147483647 · (dMax − dMin).
constexpr double drawToRange(int iDraw, double dMin, double dMax) {
    return dMin + iDraw / static_cast<double>(iRandomMax) * (dMax - dMin);
}

// Additive feedback: r[i] = r[i−31] + r[i−3] (mod 2³²), each draw is r[i] >> 1. The seed gives
// r[0] to r[30] by s[i] = 16807 · s[i−1] mod (2³¹ − 1), r[31] to r[33] copy r[0] to r[2], and the
// first 310 draws are thrown away.
class CRandom {
public:
    CRandom() { seed(1); }  // the sequence of rand() before any srand()

    void seed(unsigned int uSeed) {  // srand(): 0 counts as 1
        int64_t iWord = static_cast<int32_t>(uSeed == 0 ? 1 : uSeed);  // a signed word, as there
        uWords[0] = static_cast<uint32_t>(iWord);
        for (int i = 1; i < 31; i++) {
            iWord = 16807 * iWord % 2147483647;
            if (iWord < 0) iWord += 2147483647;
            uWords[i] = static_cast<uint32_t>(iWord);
        }
        uWords[31] = uWords[0];  // r[31..33]; r[32] and r[33] take the slots of r[0] and r[1],
        uWords[0] = uWords[1];   // which no later word reads
        uWords[1] = uWords[2];
        uNext = 34;
        for (int i = 0; i < 310; i++) next();
    }

    // Where the sequence stands: two generators of one seed at the same position draw alike.
    uint32_t position() const { return uNext; }

    int next() {  // rand(): 0 to iRandomMax
        const uint32_t uIndex = uNext++;
        const uint32_t uWord = uWords[(uIndex + 1) & 31] + uWords[(uIndex + 29) & 31];
        uWords[uIndex & 31] = uWord;
        return static_cast<int>(uWord >> 1);
    }

    // As uDraws calls of next() would leave it, in time that grows with the number of bits of
    // uDraws: a run can start where another left off, without drawing its way there.
    void discard(unsigned long long uDraws);

private:
    // r[i] lives in slot i mod 32: r[i−31] and r[i−3] are still there when r[i] is made, and
    // the r[i−32] it replaces is read by no later word. 2³² is a multiple of 32, so uNext may wrap.
    uint32_t uWords[32];
    uint32_t uNext;  // the index i of the next word
};
