#pragma once

#include "genome/genome.h"

// The bucket grid of a genome: S·W + 2g by S·H + 2g buckets, where the gutter g leaves room for
// the spatial filter and density estimation to reach just past the frame.
struct SGridShape {
    int iGutter;
    int iWidth, iHeight;  // buckets
};
SGridShape gridShapeOf(const SGenome& genome);

// Rows iFirst to iEnd − 1, of the picture's pixels or of the grid's buckets, top first.
struct SRows {
    int iFirst, iEnd;
    int count() const { return iEnd - iFirst; }
    bool operator==(const SRows& other) const {
        return iFirst == other.iFirst && iEnd == other.iEnd;
    }
};

// The bucket rows that the picture's rows pixelRows are made from: those the spatial filter
// reads, widened by iDensityReach (the widest density kernel's, 0 without density estimation)
// and by the neighbourhood whose hits pick a kernel, then begun where a block of rows scattered
// together begins (iScatterRows), so that each bucket takes its sums in the order it would in
// the whole grid. Drawn from these alone, those pixels are the whole picture's, bit for bit.
SRows bucketRowsFor(const SGenome& genome, SRows pixelRows, int iDensityReach);
