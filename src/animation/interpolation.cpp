#include "animation/interpolation.h"

#include "animation/alignment.h"
#include "animation/blend.h"

SSegment segmentAt(const CKeyframes& keys, double dTime) {
    const int64_t iLast = keys.count() - 1;
    // The last keyframe before dTime, within the first and the last segment: halved, the
    // times increasing, so that a frame of a million keyframes finds its own at once.
    int64_t i = 0, iHigh = iLast - 1;
    while (i < iHigh) {
        const int64_t iMiddle = i + (iHigh - i + 1) / 2;
        if (keys.time(iMiddle) < dTime) i = iMiddle;
        else iHigh = iMiddle - 1;
    }
    const double dC0 = (keys.time(i + 1) - dTime) / (keys.time(i + 1) - keys.time(i));
    if (keys.interpolation(i) != eTimeSmooth || i == 0 || i + 2 > iLast)
        return {i, 2, {dC0, 1 - dC0, 0, 0}};
    // Catmull-Rom through K_(i−1) … K_(i+2), at u along the segment.
    const double u = 1 - dC0, u2 = u * u, u3 = u2 * u;
    return {i - 1, 4,
            {(2 * u2 - u - u3) / 2, (3 * u3 - 5 * u2 + 2) / 2, (4 * u2 - 3 * u3 + u) / 2,
             (u3 - u2) / 2}};
}

SGenome genomeAt(const CKeyframes& keys, double dTime) {
    if (keys.count() == 1) return keys.first();
    const SSegment segment = segmentAt(keys, dTime);
    SGenome made[iMostBlendKeys];
    const SGenome* pKeys[iMostBlendKeys] = {};
    for (int k = 0; k < segment.iKeys; k++) pKeys[k] = &keys.key(segment.iFirst + k, made[k]);
    // Whether parameters are copied and padding fitted: the segment's own first keyframe says.
    const int iOwn = segment.iKeys == 4 ? 1 : 0;
    const SAligned aligned = alignedKeyframes(pKeys, segment.iKeys,
                                              pKeys[iOwn]->eAffineInterpolation);
    SBlend blend;
    for (int k = 0; k < segment.iKeys; k++) {
        blend.pKeys[k] = &aligned.vKeys[k];
        blend.dWeights[k] = segment.dWeights[k];
    }
    blend.iKeys = segment.iKeys;
    SGenome genome = blendedGenome(blend);
    genome.dTime = dTime;
    return genome;
}

SGenome genomeAt(const std::vector<SGenome>& vKeys, double dTime) {
    // Lent, not copied: the keys outlive the call.
    return genomeAt(CKeyframes(std::shared_ptr<const std::vector<SGenome>>(
                        &vKeys, [](const std::vector<SGenome>*) {})),
                    dTime);
}
