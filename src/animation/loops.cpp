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
SGenome timed(SGenome genome, int64_t iTime) {
    genome.dTime = static_cast<double>(iTime);
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

int64_t sequenceLength(size_t uGenomes, int iFrames) {
    const int64_t iGenomes = static_cast<int64_t>(uGenomes);
    return iGenomes * iFrames + (iGenomes - 1) * iFrames + 1;
}

namespace {

// Where keyframe iKey of a sequence falls: flame i's loop (iFrame < iFrames) or its transition
// to the next (iFrame − iFrames along it), each flame's loop and transition 2·iFrames long.
struct SSequencePlace {
    size_t uGenome;
    int    iFrame;
};

SSequencePlace placeOf(int64_t iKey, size_t uGenomes, int iFrames) {
    if (iKey == sequenceLength(uGenomes, iFrames) - 1) return {uGenomes - 1, 0};  // at rest
    return {static_cast<size_t>(iKey / (2 * iFrames)), static_cast<int>(iKey % (2 * iFrames))};
}

SGenome sequenceKey(const std::vector<SGenome>& vGenomes, int iFrames, int64_t iKey) {
    const SSequencePlace place = placeOf(iKey, vGenomes.size(), iFrames);
    const SGenome& genome = vGenomes[place.uGenome];
    const int64_t iTime = iKey;
    if (place.iFrame < iFrames)
        return timed(spunGenome(genome, static_cast<double>(place.iFrame) / iFrames), iTime);
    // The transition's start: the flame, unturned, its motions at rest.
    if (place.iFrame == iFrames) return timed(movedGenome(genome, 0), iTime);
    return timed(transitionGenome(genome, vGenomes[place.uGenome + 1],
                                  static_cast<double>(place.iFrame - iFrames) / iFrames),
                 iTime);
}

}  // namespace

CKeyframes sequenceOf(std::vector<SGenome> vGenomes, int iFrames) {
    const auto pGenomes = std::make_shared<const std::vector<SGenome>>(std::move(vGenomes));
    // Loops and transitions are linear; a transition's start is its flame as it says.
    const auto interpolationOf = [pGenomes, iFrames](int64_t iKey) {
        const SSequencePlace place = placeOf(iKey, pGenomes->size(), iFrames);
        return place.iFrame == iFrames ? (*pGenomes)[place.uGenome].eTimeInterpolation
                                       : eTimeLinear;
    };
    return CKeyframes(
        sequenceLength(pGenomes->size(), iFrames),
        [pGenomes, iFrames](int64_t iKey) { return sequenceKey(*pGenomes, iFrames, iKey); },
        interpolationOf);
}

std::vector<SGenome> sequenceKeyframes(const std::vector<SGenome>& vGenomes, int iFrames) {
    const CKeyframes keys = sequenceOf(vGenomes, iFrames);
    std::vector<SGenome> vKeys;
    SGenome made;
    for (int64_t k = 0; k < keys.count(); k++) vKeys.push_back(keys.key(k, made));
    return vKeys;
}
