#pragma once

#include "genome/genome.h"

// The bucket grid of a genome: S·W + 2g by S·H + 2g buckets, where the gutter g leaves room for
// the spatial filter and density estimation to reach just past the frame.
struct SGridShape {
    int iGutter;
    int iWidth, iHeight;  // buckets
};
SGridShape gridShapeOf(const SGenome& genome);
