#include "animation/interpolation.h"

#include "animation/alignment.h"
#include "animation/blend.h"

SSegment segmentAt(const std::vector<SGenome>& vKeys, double dTime) {
    const int iLast = static_cast<int>(vKeys.size()) - 1;
    int i = 0;  // the last keyframe before dTime, within the first and the last segment
    while (i + 1 < iLast && vKeys[i + 1].dTime < dTime) i++;
    const double dC0 = (vKeys[i + 1].dTime - dTime) / (vKeys[i + 1].dTime - vKeys[i].dTime);
    if (vKeys[i].eTimeInterpolation != eTimeSmooth || i == 0 || i + 2 > iLast)
        return {i, 2, {dC0, 1 - dC0, 0, 0}};
    // Catmull-Rom through K_(i−1) … K_(i+2), at u along the segment.
    const double u = 1 - dC0, u2 = u * u, u3 = u2 * u;
    return {i - 1, 4,
            {(2 * u2 - u - u3) / 2, (3 * u3 - 5 * u2 + 2) / 2, (4 * u2 - 3 * u3 + u) / 2,
             (u3 - u2) / 2}};
}

SGenome genomeAt(const std::vector<SGenome>& vKeys, double dTime) {
    if (vKeys.size() == 1) return vKeys[0];
    const SSegment segment = segmentAt(vKeys, dTime);
    const SGenome* pKeys[4] = {};
    for (int k = 0; k < segment.iKeys; k++) pKeys[k] = &vKeys[segment.iFirst + k];
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
