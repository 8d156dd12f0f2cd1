#pragma once

// The later parts of a run, each computed on a thread of its own beside the first, so that a run
// on several cores draws the very picture of the run on one.
//
// Two orbits of patterns 1 to 4, driven by the same draws from different points, become one bit
// for bit within some hundreds or thousands of iterations (pattern 4's may instead become each
// other's mirror image (-x, y)). So the chunk from iteration a on is computed from a guessed
// point, with the generator jumped to the draws the run has made by iteration a, while the
// first few of its points are traced. Once the true point at a is known, the true orbit is
// followed only until it meets the traced one, and the guessed hits before the meeting are
// swapped for the true ones. Where they do not meet within the trace (a restart has put the draws
// out of step, say), the chunk is computed again in order: slower, never wrong.

#include "core/calc.h"
#include "workers/worker_pool.h"

#include <atomic>
#include <memory>
#include <vector>

class CChunk;

class CParallelRun {
public:
    // The chunks of whole's run, whose point is at its start: as many as threads, where the
    // pattern's orbits meet and the chunks are long enough and fit the memory; guessed from a
    // point of the run's orbit a little way in, or from pGuess. They start at once, each a task
    // of the worker pool's.
    CParallelRun(const CCalculation& whole, int iThreads, const SPoint* pGuess = nullptr);
    ~CParallelRun();  // the chunks stopped, and waited for

    int  chunks() const { return static_cast<int>(vChunks.size()); }  // 0: the run is not cut
    int  ownEnd() const { return iOwnEnd; }  // where the part on the caller's thread ends
    int  iterationsDone() const;             // by the chunks so far
    bool finished() const;

    // Once finished, and whole has done its own part: the chunks' hits made the true orbit's and
    // added to whole's picture, and whole's point where the run ends.
    void settle(CCalculation& whole);

private:
    int iOwnEnd;
    std::vector<std::unique_ptr<CChunk>> vChunks;
};

class CChunk {
public:
    static constexpr int iTraceLength = 1 << 16;  // the points within which orbits must meet

    // Iterations iBegin to iEnd - 1 of the run, from the point guess, started at once on a
    // thread of the pool's; throws std::system_error where no thread can be had at all.
    CChunk(const SRun& run, int iBegin, int iEnd, SPoint guess);
    ~CChunk();  // stopped, and waited for
    CChunk(const CChunk&) = delete;
    CChunk& operator=(const CChunk&) = delete;

    int  iterationsDone() const { return iDoneSoFar.load(std::memory_order_relaxed); }
    bool finished() const { return bFinished.load(std::memory_order_acquire); }

    // Once finished: the chunk's hits made the true orbit's, which stands at state at the chunk's
    // beginning, and added to picture; state becomes where the true orbit stands at its end.
    void settle(SOrbitState& state, screen& picture);

private:
    void work();
    int  mirrorOf(const STracedStep& step) const;  // the pixel of (-x, y); -1: none
    void swapHits(std::vector<int>& vHits, const std::vector<int>& vTrue, int iMet, bool bMirror);
    void redoInOrder(SOrbitState& state);

    CCalculation calc;  // the chunk's own point, generator and hits
    int iLength;
    bool bMirrors;
    std::vector<int> vMirrorHits;  // where its orbit may meet the mirror image: those hits too
    std::vector<STracedStep> vTrace;
    std::atomic<int> iDoneSoFar{0};
    std::atomic<bool> bStop{false};
    std::atomic<bool> bFinished{false};
    CBackgroundTask task;  // last: started once the rest is made, waited for before it goes
};
