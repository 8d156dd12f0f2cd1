#pragma once

// Batches walked side by side with the points of walks going to the same xform mapped and placed
// four at a time in vector lanes, on processors with AVX2 and fused multiply-add: each walk takes
// exactly the steps it would alone, in its own order, and makes the same plots, bit for bit.

#include "game/walk.h"
#include "game/walk_steps.h"

#include <cstdint>

// Whether this processor has the lanes.
bool lanesHere();

// Batches pJobs[0 .. iJobs), 2 ≤ iJobs ≤ iMostWalksAtOnce, of a genome of at most iMostXforms
// xforms, on a processor with the lanes; bMixed: the walks going to any of two mixable xforms
// or more (CXformMap::mixable) share lanes, each lane mapped by its own, where the points carry
// no z.
void runLanes(const CWalkSteps& steps, uint64_t uSeed, SBatchJob* pJobs, int iJobs, bool bMixed);
