#pragma once

// Up to four walks' points handled at once in vector lanes (render/lanes.cpp): mapped by one
// xform (CXformMap::applyLanes), then placed on the grid (CCamera::placeLanes).

#include "formulas/batch_random.h"

#include <cstddef>

// The points, each with its own walk's random numbers (a lane the walks leave empty holds the
// filler walk, with its own).
struct SLanePoints {
    static constexpr int iLanes = 4;
    // Whole registers, written and read whole: a register read from memory that was written a
    // lane at a time waits for the writes to reach the cache.
    using VLanes = double __attribute__((vector_size(iLanes * sizeof(double))));
    VLanes x, y, c;
    CBatchRandom* pRandoms[iLanes];
};

// Where each lane's point is plotted: its bucket (0 outside the grid) and palette entry; and
// which lanes hold a bad value (bit i for lane i), which the walk replaces before any plot.
struct SLanePlaces {
    std::size_t uBucket[SLanePoints::iLanes];
    int iEntry[SLanePoints::iLanes];
    bool bInside[SLanePoints::iLanes];
    int iBadLanes;
};
