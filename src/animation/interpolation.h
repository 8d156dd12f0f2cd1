#pragma once

// The genome of a keyframe file at any time, as flam3-animate interpolates it: the segment the
// time falls in, the keyframes' weights there (a straight line, or a Catmull-Rom curve through
// four keyframes where the segment's first says smooth), aligned and blended. Weights are not
// clamped: before the first keyframe and after the last the values go on along the first or
// last segment.

#include "animation/keyframe_source.h"
#include "genome/genome.h"

#include <cstdint>
#include <vector>

struct SSegment {
    int64_t iFirst;      // the first keyframe of the set: K_i, or K_(i−1) on a curve
    int     iKeys;        // 2, or 4 on a curve
    double  dWeights[4];  // c_k, summing to 1
};

// The segment of dTime among keyframes of increasing times (at least two).
SSegment segmentAt(const CKeyframes& keys, double dTime);

// The keyframes blended at dTime (a single one: itself), its time dTime.
SGenome genomeAt(const CKeyframes& keys, double dTime);
SGenome genomeAt(const std::vector<SGenome>& vKeys, double dTime);
