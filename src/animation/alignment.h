#pragma once

// Keyframes made ready to blend, as flam3 aligns them: xform j of one pairs with xform j of the
// others, so each gets xforms appended up to the largest count (and a final xform where another
// has one) that start out doing as little as can be; parameters a variation lacks are copied
// from its neighbour, so they do not drift while its weight fades in or out.

#include "animation/blend_keys.h"
#include "genome/genome.h"

#include <vector>

struct SAligned {
    std::vector<SGenome> vKeys;              // the keyframes, aligned
    std::vector<std::vector<bool>> vPadded;  // per keyframe, per xform (the final last): added
};

// pKeys aligned for a blend; eType is the keyframe's interpolation_type that decides whether
// parameters are copied and padding made to fit its neighbours (not under old and older).
SAligned alignedKeyframes(const SGenome* const* pKeys, int iKeys, EAffineInterpolation eType);

// The xform of an aligned genome by place: the standard ones, then the final.
inline SXform& xformAt(SGenome& genome, int i) {
    return i < static_cast<int>(genome.vXforms.size()) ? genome.vXforms[i] : genome.finalXform;
}
inline const SXform& xformAt(const SGenome& genome, int i) {
    return i < static_cast<int>(genome.vXforms.size()) ? genome.vXforms[i] : genome.finalXform;
}
inline int xformCount(const SGenome& genome) {
    return static_cast<int>(genome.vXforms.size()) + (genome.bFinalXform ? 1 : 0);
}
