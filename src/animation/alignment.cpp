#include "animation/alignment.h"

#include "variations/variations.h"

#include <algorithm>

using namespace variation;

namespace {

// An xform added to pair with xform j of another keyframe: weight 0, linear 1, and nothing else.
SXform paddingXform(int j, bool bFinal) {
    SXform xform;
    xform.dColor = j % 2;
    xform.dColorSpeed = bFinal ? 0 : 0.5;
    xform.dAnimate = bFinal ? 0 : 1;
    xform.variations[eLinear] = 1;
    return xform;
}

bool isLogType(EAffineInterpolation eType) { return eType == eAffineLog; }

// Each variation's parameters, where it has no weight, copied from the keyframe before (the
// first keyframe: from the second), so that they stay while its weight changes.
void copyParameters(SAligned& aligned) {
    const int iKeys = static_cast<int>(aligned.vKeys.size());
    for (int k = 0; k < iKeys; k++) {
        const int iFrom = k > 0 ? k - 1 : 1;
        for (int i = 0; i < xformCount(aligned.vKeys[k]); i++) {
            SXform& xform = xformAt(aligned.vKeys[k], i);
            const SXform& from = xformAt(aligned.vKeys[iFrom], i);
            for (int v = eBlob; v < iVariationCount; v++) {
                if (xform.variations[v] != 0 || from.variations[v] == 0) continue;
                const int iFirst = firstParameter(v);
                std::copy_n(from.parameters.begin() + iFirst, variationOf(v).parameterCount(),
                            xform.parameters.begin() + iFirst);
            }
        }
    }
}

// The variations that a padding xform takes on from a neighbour, with the parameters that make
// each the identity or near it; where a neighbour has one, the padding starts from it.
struct SFitting {
    int iVariation;
    int iParameters;
    double dValues[3];  // the first iParameters of its parameters
};
constexpr SFitting fittings[] = {
    {eRectangles, 2, {0, 0, 0}}, {eRings2, 1, {0, 0, 0}}, {eFan2, 2, {0, 0, 0}},
    {eBlob, 3, {1, 1, 1}},       {ePerspective, 1, {0, 0, 0}}, {eCurl, 2, {0, 0, 0}},
};
constexpr int halfTurned[] = {eSpherical, eNgon, eJulian, eJuliascope, ePolar};

bool anyUses(const SXform* const* pNeighbours, int iVariation) {
    for (int n = 0; n < 2; n++)
        if (pNeighbours[n] && pNeighbours[n]->variations[iVariation] > 0) return true;
    return false;
}

// A padding xform fitted to its neighbours' variations: a half-turn with linear −1 beside the
// singular ones under log; else the near-identity form of each fitting variation, normalised;
// else fan or rings with x and y swapped; else it stays linear.
void fitPadding(SXform& padding, const SXform* const* pNeighbours, bool bLog) {
    padding.variations[eLinear] = 0;
    for (int v : halfTurned)
        if (bLog && anyUses(pNeighbours, v)) {
            padding.variations[eLinear] = -1;
            padding.coefs = {-1, 0, 0, -1, 0, 0};
            return;
        }
    double dSum = 0;
    for (const SFitting& fitting : fittings) {
        if (!anyUses(pNeighbours, fitting.iVariation)) continue;
        padding.variations[fitting.iVariation] = 1;
        std::copy_n(fitting.dValues, fitting.iParameters,
                    padding.parameters.begin() + firstParameter(fitting.iVariation));
        dSum += 1;
    }
    if (dSum == 0)
        for (int v : {eFan, eRings})
            if (anyUses(pNeighbours, v)) {
                padding.variations[v] = 1;
                padding.coefs = {0, 1, 1, 0, 0, 0};
                dSum += 1;
            }
    if (dSum == 0) padding.variations[eLinear] = 1;
    else
        for (double& dWeight : padding.variations) dWeight /= dSum;
}

void fitEveryPadding(SAligned& aligned) {
    const int iKeys = static_cast<int>(aligned.vKeys.size());
    for (int k = 0; k < iKeys; k++) {
        const bool bLog = isLogType(aligned.vKeys[k > 0 ? k - 1 : 0].eAffineInterpolation);
        for (int i = 0; i < xformCount(aligned.vKeys[k]); i++) {
            if (!aligned.vPadded[k][i]) continue;
            const SXform* pNeighbours[2] = {nullptr, nullptr};
            for (int n = 0; n < 2; n++) {
                const int iNeighbour = k - 1 + 2 * n;
                if (iNeighbour >= 0 && iNeighbour < iKeys && !aligned.vPadded[iNeighbour][i])
                    pNeighbours[n] = &xformAt(aligned.vKeys[iNeighbour], i);
            }
            fitPadding(xformAt(aligned.vKeys[k], i), pNeighbours, bLog);
        }
    }
}

}  // namespace

SAligned alignedKeyframes(const SGenome* const* pKeys, int iKeys, EAffineInterpolation eType) {
    SAligned aligned;
    size_t uMost = 0;
    bool bFinal = false, bDiffer = false;
    for (int k = 0; k < iKeys; k++) {
        uMost = std::max(uMost, pKeys[k]->vXforms.size());
        bFinal = bFinal || pKeys[k]->bFinalXform;
    }
    for (int k = 0; k < iKeys; k++) {
        SGenome key = *pKeys[k];
        std::vector<bool> vPadded(key.vXforms.size(), false);
        while (key.vXforms.size() < uMost) {
            key.vXforms.push_back(paddingXform(static_cast<int>(key.vXforms.size()), false));
            vPadded.push_back(true);
        }
        if (bFinal) vPadded.push_back(!key.bFinalXform);
        if (bFinal && !key.bFinalXform)
            key.finalXform = paddingXform(static_cast<int>(uMost), true);
        bDiffer = bDiffer || vPadded.end() != std::find(vPadded.begin(), vPadded.end(), true);
        key.bFinalXform = bFinal;
        aligned.vKeys.push_back(key);
        aligned.vPadded.push_back(vPadded);
    }
    if (eType == eAffineOld || eType == eAffineOlder || iKeys < 2) return aligned;
    copyParameters(aligned);
    if (bDiffer) fitEveryPadding(aligned);
    return aligned;
}
