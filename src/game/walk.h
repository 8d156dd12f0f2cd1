#pragma once

// A batch of the chaos game and the walk that runs it. A batch is flam3's sub-batch: a fresh
// random point and colour, 15 iterations not plotted, then up to iBatchSamples plotted ones.
// Batch b draws from the stream of (seed, b) alone, so a batch gives the same plots whoever runs
// it, and when.

#include "formulas/batch_random.h"
#include "game/xform_map.h"
#include "tone/histogram.h"

#include <cstdint>
#include <vector>

constexpr int iBatchSamples = 10000;
constexpr int iFuseIterations = 15;
constexpr int iMostWalksAtOnce = 8;  // batches a worker walks side by side

// What one batch did besides its plots.
struct SBatchCounts {
    int64_t iBadValues = 0;  // results replaced by a random point (flam3's error count)
};

struct SWorldPoint {
    double dX, dY;
};

// A batch to run, and what it made: its plots fill (*pPlots)[0 .. iPlots), and each adds
// CChaosGame::addsOf(job)[plot.uAdd] to its bucket.
struct SBatchJob {
    uint64_t uBatch;
    int iSamples;                 // at most iBatchSamples
    std::vector<SPlot>* pPlots;   // iBatchSamples entries, never resized
    // A blended palette's adds, one a plot (iBatchSamples entries, never resized); a stepped
    // palette's are the game's own, and this may be null.
    std::vector<SBucket>* pAdds;
    int iPlots;
    int64_t iBadValues;
};

// One batch's walk through the chaos game: where it stands and what it has plotted.
struct SWalk {
    SWalk(uint64_t uSeed, SBatchJob& job_)
        : job(job_), pPlots(job_.pPlots ? job_.pPlots->data() : nullptr),
          random(uSeed, job_.uBatch), x(random.symmetric()), y(random.symmetric()),
          c(random.uniform()) {}
    SWalkPoint<double> point() const { return {x, y, z, c}; }
    SBatchJob& job;
    SPlot* pPlots;  // the job's
    CBatchRandom random;
    double x, y, c;
    double z = 0;  // where the points carry z
    int iPrevious = -1, iBadInARow = 0, iDone = -iFuseIterations;
};
