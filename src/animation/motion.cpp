#include "animation/motion.h"

#include "base/angles.h"
#include "genome/attributes.h"
#include "maths/maths.h"

#include <algorithm>
#include <cmath>

namespace {

// Σ of the pairs, each number of out by the one of the same place in the amplitudes.
template <class TNumbers>
void addScaled(const TNumbers& amplitudes, double dScale, TNumbers& out) {
    for (size_t i = 0; i < out.size(); i++) out[i] += dScale * amplitudes[i];
}

// xform + wave × amplitudes: every row a motion may hold as the row blends it (a sum of two
// terms, left unclamped), the affine numbers, the variations and their parameters.
void addMotion(const SMotion& motion, double dBlend, SXform& xform) {
    const double dWave = motionWave(motion.eFunction, motion.iFrequency * dBlend);
    const SXform* pTerms[2] = {&xform, &motion.amplitudes};
    const double dWeights[2] = {1, dWave};
    for (const SAttribute<SXform>& row : xformAttributes())
        if (row.pfBlend && row.bMoves) row.pfBlend(pTerms, dWeights, 2, eBlend, xform);
    addScaled(motion.amplitudes.coefs, dWave, xform.coefs);
    addScaled(motion.amplitudes.post, dWave, xform.post);
    addScaled(motion.amplitudes.variations, dWave, xform.variations);
    addScaled(motion.amplitudes.parameters, dWave, xform.parameters);
}

void move(SXform& xform, double dBlend) {
    if (xform.vMotions.empty()) return;
    for (const SMotion& motion : xform.vMotions) addMotion(motion, dBlend, xform);
    xform.vMotions.clear();
    xform.dColor = std::clamp(xform.dColor, 0.0, 1.0);
    xform.dWeight = std::max(0.0, xform.dWeight);
}

}  // namespace

double motionWave(EMotionFunction eFunction, double dX) {
    switch (eFunction) {
    case eMotionSin: return maths::sin(2 * dPI * dX);
    case eMotionHill: return (1 - maths::cos(2 * dPI * dX)) / 2;
    case eMotionTriangle: break;
    }
    const double dR = dX - std::floor(dX);
    return dR <= 0.25 ? 4 * dR : dR <= 0.75 ? 2 - 4 * dR : 4 * dR - 4;
}

SGenome movedGenome(const SGenome& genome, double dBlend) {
    SGenome moved = genome;
    for (SXform& xform : moved.vXforms) move(xform, dBlend);
    move(moved.finalXform, dBlend);
    return moved;
}
