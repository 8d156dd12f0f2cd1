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
constexpr int iMostWalksAtOnce = 16;  // batches a worker walks side by side

// How many a worker walks side by side. More walks fill the lanes better: each walk goes to an
// xform of its own drawing, and the lanes map four walks going to one xform. But each walk holds
// its batch's plots, and where the palette is blended each plot's add beside it: measured, 16
// walks take up to a quarter less time than 8 on flames of plain plots (most on many xforms),
// and a few percent more where the adds make a group's plots spill out of a core's cache.
constexpr int walksAtOnce(bool bBlendedPalette) { return bBlendedPalette ? 8 : iMostWalksAtOnce; }

// What one batch did besides its plots.
struct SBatchCounts {
    int64_t iBadValues = 0;  // results replaced by a random point (flam3's error count)
};

struct SWorldPoint {
    double dX, dY;
};

// A batch to run, and what it made: its plots fill pPlots[0 .. iPlots), and each adds
// CChaosGame::addsOf(job)[plot.uAdd] to its bucket.
struct SBatchJob {
    uint64_t uBatch;
    int iSamples;    // at most iBatchSamples
    SPlot* pPlots;   // room for iBatchSamples
    // A blended palette's adds, one a plot (room for iBatchSamples); a stepped palette's are the
    // game's own, and this may be null.
    SBucket* pAdds;
    int iPlots;
    int64_t iBadValues;
};

// One batch's walk through the chaos game: where it stands and what it has plotted.
struct SWalk {
    SWalk(uint64_t uSeed, SBatchJob& job_)
        : job(job_), pPlots(job_.pPlots),
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
