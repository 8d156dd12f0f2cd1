#pragma once

// A later part of a run, computed on a thread of its own beside the first, so that a run on
// several cores draws the very picture of the run on one.
//
// Two orbits of patterns 1 to 4, driven by the same draws from different points, become one bit
// for bit within some hundreds or thousands of iterations (pattern 4's may instead become each
// other's mirror image (-x, y)). So the chunk from iteration a on is computed from a guessed
// point, with the generator jumped to the draws the run has made by iteration a, while the
// first few of its points are traced. Once the true point at a is known, the true orbit is
// followed only until it meets the traced one, and the guessed hits before the meeting are
// swapped for the true ones. Where they do not meet within the trace (a restart has put the draws
// out of step, say), the chunk is computed again in order: slower, never wrong.

#include "calc.h"
#include "random.h"
#include "screen.h"

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

// Where an orbit stands between two iterations: all that the next ones depend on.
struct SOrbitState {
    double  dX;
    double  dY;
    CRandom generator;
};

class CChunk {
public:
    static constexpr int iTraceLength = 1 << 16;  // the points within which orbits must meet

    // Iterations iBegin to iEnd - 1 of whole's run, from the point guess; its thread starts at
    // once.
    CChunk(const CCalculation& whole, int iBegin, int iEnd, SPoint guess);
    ~CChunk();  // stopped, and its thread joined
    CChunk(const CChunk&) = delete;
    CChunk& operator=(const CChunk&) = delete;

    int  iterationsDone() const { return iDoneSoFar.load(std::memory_order_relaxed); }
    bool finished() const { return bFinished.load(std::memory_order_acquire); }

    // Once finished: the chunk's hits made the true orbit's, which stands at state at the chunk's
    // beginning, and added to picture; state becomes where the true orbit stands at its end.
    void settle(SOrbitState& state, screen& picture);

private:
    struct STraceStep {  // where the guessed orbit stood after an iteration, and what it hit
        double   dX, dY;
        uint32_t uDraws;        // the generator's position
        int      iPixel;        // -1: none
        int      iMirrorPixel;  // of (-x, y); -1: none
    };

    void work();
    void swapHits(std::vector<int>& vHits, const std::vector<int>& vTrue, int iMet, bool bMirror);
    void redoInOrder(SOrbitState& state);

    CCalculation calc;  // the chunk's own point, generator and hits
    int iLength;
    bool bMirrors;
    std::vector<STraceStep> vTrace;
    std::atomic<int> iDoneSoFar{0};
    std::atomic<bool> bStop{false};
    std::atomic<bool> bFinished{false};
    std::thread worker;
};
