#pragma once

// Aligned keyframes blended into one genome with weights c_k, which sum to 1 and may be
// negative: every attribute as its row says (attributes.h), each variation's weight and
// parameter on a straight line, the coefs as the first keyframe's interpolation_type says, the
// palette as its palette_interpolation says. Attributes that do not blend are the first
// keyframe's.

#include "animation/affine_blend.h"
#include "animation/blend_keys.h"
#include "genome/genome.h"

#include <vector>

struct SBlend {
    // aligned (alignment.h): the same xforms, the final alike
    const SGenome* pKeys[iMostBlendKeys];
    double dWeights[iMostBlendKeys];
    int iKeys;
    // Per standard xform, how its coefs' angles wind (a transition's); empty: the shorter way.
    std::vector<SWinding> vWindings;
};

SGenome blendedGenome(const SBlend& blend);
