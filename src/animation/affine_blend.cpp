#include "animation/affine_blend.h"

#include "animation/blend_keys.h"
#include "base/angles.h"
#include "maths/maths.h"

#include <cmath>

namespace {

constexpr double dEpsilon = 1e-10;

double columnLength(const CAffine& coefs, int iColumn) {
    const double p = coefs[2 * iColumn], q = coefs[2 * iColumn + 1];
    return std::sqrt(p * p + q * q);
}

// The length of one column blended: geometric, unless some keyframe's is near enough to zero
// that its log would swamp the rest (below e^−10), then on a straight line.
double blendedLength(const double* pLengths, const double* pWeights, int iKeys) {
    bool bTiny = false;
    for (int k = 0; k < iKeys; k++) bTiny = bTiny || pLengths[k] < maths::exp(-10.0);
    double dSum = 0;
    for (int k = 0; k < iKeys; k++)
        dSum += pWeights[k] * (bTiny ? pLengths[k] : maths::log(pLengths[k]));
    return bTiny ? dSum : maths::exp(dSum);
}

// A keyframe's angle moved by whole turns into [dTop − 2π, dTop].
double woundAngle(double dAngle, double dTop) {
    while (dAngle > dTop) dAngle -= 2 * dPI;
    while (dAngle < dTop - 2 * dPI) dAngle += 2 * dPI;
    return dAngle;
}

}  // namespace

double columnAngle(const CAffine& coefs, int iColumn) {
    const int iOther = 1 - iColumn;
    if (columnLength(coefs, iColumn) == 0 && columnLength(coefs, iOther) != 0)
        return maths::atan2(coefs[2 * iOther + 1], coefs[2 * iOther]);
    if (columnLength(coefs, iColumn) == 0) return 0;
    return maths::atan2(coefs[2 * iColumn + 1], coefs[2 * iColumn]);
}

double unwrappedAngle(double dAngle, double dPrevious) {
    const double d = dAngle - dPrevious;
    if (d > dPI + dEpsilon) return dAngle - 2 * dPI;
    if (d < -(dPI - dEpsilon)) return dAngle + 2 * dPI;
    return dAngle;
}

CAffine blendLogAffine(const CAffine* const* pKeys, const double* pWeights, int iKeys,
                       const SWinding* pWinding) {
    CAffine out{};
    for (int iColumn = 0; iColumn < 2; iColumn++) {
        double dAngles[iMostBlendKeys], dLengths[iMostBlendKeys];
        for (int k = 0; k < iKeys; k++) {
            dAngles[k] = columnAngle(*pKeys[k], iColumn);
            dLengths[k] = columnLength(*pKeys[k], iColumn);
            if (pWinding && pWinding->bWound[iColumn])
                dAngles[k] = woundAngle(dAngles[k], pWinding->dTop[iColumn]);
            else if (k > 0)
                dAngles[k] = unwrappedAngle(dAngles[k], dAngles[k - 1]);
        }
        double dAngle = 0;
        for (int k = 0; k < iKeys; k++) dAngle += pWeights[k] * dAngles[k];
        const double dLength = blendedLength(dLengths, pWeights, iKeys);
        out[2 * iColumn] = dLength * maths::cos(dAngle);
        out[2 * iColumn + 1] = dLength * maths::sin(dAngle);
    }
    for (int i = 4; i < 6; i++)
        for (int k = 0; k < iKeys; k++) out[i] += pWeights[k] * (*pKeys[k])[i];
    return out;
}

CAffine blendLinearAffine(const CAffine* const* pKeys, const double* pWeights, int iKeys) {
    CAffine out{};
    for (int i = 0; i < 6; i++)
        for (int k = 0; k < iKeys; k++) out[i] += pWeights[k] * (*pKeys[k])[i];
    return out;
}

CAffine turnedAffine(const CAffine& coefs, double dRadians) {
    const double dCos = maths::cos(dRadians), dSin = maths::sin(dRadians);
    CAffine out = coefs;
    for (int iColumn = 0; iColumn < 2; iColumn++) {
        const double p = coefs[2 * iColumn], q = coefs[2 * iColumn + 1];
        out[2 * iColumn] = p * dCos - q * dSin;
        out[2 * iColumn + 1] = p * dSin + q * dCos;
    }
    return out;
}
