#include "animation/loops.h"

#include "animation/alignment.h"
#include "animation/blend.h"
#include "animation/motion.h"
#include "base/angles.h"

#include <cstdio>

namespace {

// The xforms a loop turns: the standard ones that animate; padding only under log.
void spin(SGenome& genome, double dBlend, const std::vector<bool>* pPadded,
          bool bTurnPadding) {
    const double dAngle = 2 * dPI * dBlend;
    for (size_t j = 0; j < genome.vXforms.size(); j++) {
        SXform& xform = genome.vXforms[j];
        const bool bPadding = pPadded && (*pPadded)[j];
        if (xform.dAnimate == 0 || (bPadding && !bTurnPadding)) continue;
        xform.coefs = turnedAffine(xform.coefs, dAngle);
    }
}

// A keyframe of the sequence at its time, named after it as flam3-genome names it.
SGenome timed(SGenome genome, int iTime) {
    genome.dTime = iTime;
    char sName[32];
    std::snprintf(sName, sizeof sName, "%f", static_cast<double>(iTime));
    genome.sName = sName;
    return genome;
}

// Where exactly one of the two keeps still, the other's angles wind on the way from one to the
// other instead of taking the shorter way back: the top of each column's range.
std::vector<SWinding> windings(const SGenome& from, const SGenome& to) {
    std::vector<SWinding> vWindings(from.vXforms.size());
    for (size_t j = 0; j < from.vXforms.size(); j++) {
        const SXform &one = from.vXforms[j], &other = to.vXforms[j];
        if ((one.dAnimate == 0) == (other.dAnimate == 0)) continue;
        for (int iColumn = 0; iColumn < 2; iColumn++) {
            const double dFrom = columnAngle(one.coefs, iColumn);
            const double dTo = unwrappedAngle(columnAngle(other.coefs, iColumn), dFrom);
            vWindings[j].bWound[iColumn] = true;
            vWindings[j].dTop[iColumn] = (other.dAnimate == 0 ? dFrom : dTo) + 2 * dPI;
        }
    }
    return vWindings;
}

}  // namespace

SGenome spunGenome(const SGenome& genome, double dBlend) {
    SGenome spun = movedGenome(genome, dBlend);
    spin(spun, dBlend, nullptr, true);
    spun.eTimeInterpolation = eTimeLinear;
    spun.ePaletteInterpolation = ePaletteHsvCircular;
    spun.dHsvRgbPaletteBlend = 0;
    spun.iPalette = -1;  // the palette as it was expanded, written out whole
    return spun;
}

SGenome transitionGenome(const SGenome& from, const SGenome& to, double dBlend) {
    const SGenome movedFrom = movedGenome(from, dBlend), movedTo = movedGenome(to, dBlend);
    const SGenome* pPair[2] = {&movedFrom, &movedTo};
    SAligned aligned = alignedKeyframes(pPair, 2, from.eAffineInterpolation);
    SBlend blend;
    blend.vWindings = windings(aligned.vKeys[0], aligned.vKeys[1]);
    const bool bTurnPadding = from.eAffineInterpolation == eAffineLog;
    for (int k = 0; k < 2; k++) spin(aligned.vKeys[k], dBlend, &aligned.vPadded[k], bTurnPadding);
    const double dEased = dBlend * dBlend * (3 - 2 * dBlend);
    blend.pKeys[0] = &aligned.vKeys[0];
    blend.pKeys[1] = &aligned.vKeys[1];
    blend.dWeights[0] = 1 - dEased;
    blend.dWeights[1] = dEased;
    blend.iKeys = 2;
    return blendedGenome(blend);
}

std::vector<SGenome> sequenceKeyframes(const std::vector<SGenome>& vGenomes, int iFrames) {
    std::vector<SGenome> vKeys;
    int iTime = 0;
    for (size_t i = 0; i < vGenomes.size(); i++) {
        for (int k = 0; k < iFrames; k++)
            vKeys.push_back(timed(spunGenome(vGenomes[i], static_cast<double>(k) / iFrames),
                                  iTime++));
        if (i + 1 == vGenomes.size()) break;
        // The transition's start: the flame, unturned, its motions at rest.
        vKeys.push_back(timed(movedGenome(vGenomes[i], 0), iTime++));
        for (int k = 1; k < iFrames; k++)
            vKeys.push_back(timed(transitionGenome(vGenomes[i], vGenomes[i + 1],
                                                   static_cast<double>(k) / iFrames),
                                  iTime++));
    }
    vKeys.push_back(timed(spunGenome(vGenomes.back(), 0), iTime));
    return vKeys;
}
