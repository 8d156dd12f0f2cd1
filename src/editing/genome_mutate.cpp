#include "editing/genome_mutate.h"

#include "editing/genome_random.h"
#include "formulas/batch_random.h"
#include "genome/genome_check.h"
#include "genome/palette.h"
#include "palettes/palette_library.h"

#include <cmath>
#include <string>

namespace {

// The generator of mutation iCount of uSeed: the pair scrambled into one seed, so that
// neighbouring counts start far apart in the sequence.
CRandom mutationRandom(uint32_t uSeed, int iCount) {
    uint64_t uState = (static_cast<uint64_t>(uSeed) << 32) | static_cast<uint32_t>(iCount);
    CRandom random;
    random.seed(static_cast<unsigned int>(splitMix64(uState) >> 32));
    return random;
}

void moveCoefs(CRandom& random, SGenome& genome) {
    SXform& xform = genome.vXforms[randomChoice(random, static_cast<int>(genome.vXforms.size()))];
    const double dStep = drawToRange(random.next(), 0.02, 0.15);
    for (double& dCoef : xform.coefs) dCoef += dStep * drawToRange(random.next(), -1, 1);
}

void replaceVariation(CRandom& random, SGenome& genome) {
    SXform& xform = genome.vXforms[randomChoice(random, static_cast<int>(genome.vXforms.size()))];
    std::vector<int> vActive;
    for (int i = 0; i < iVariationCount; i++)
        if (xform.variations[i] != 0) vActive.push_back(i);
    double dWeight = 1;  // an xform of no variation gets one of weight 1
    int iOld = -1;
    if (!vActive.empty()) {
        iOld = vActive[randomChoice(random, static_cast<int>(vActive.size()))];
        dWeight = xform.variations[iOld];
        xform.variations[iOld] = 0;
    }
    int iNew = randomVariation(random);
    while (xform.variations[iNew] != 0 || iNew == iOld) iNew = randomVariation(random);
    xform.variations[iNew] = dWeight;
    randomParameters(random, iNew, xform);
}

// A library palette is named by number and hue in the written genome, and read back from the
// library: its entries are made the same way here. Where the library cannot be read, the
// palette becomes an inline one.
void turnPalette(CRandom& random, SGenome& genome) {
    const double dTurn = drawToRange(random.next(), 0.05, 0.3);
    const double dSigned = randomChoice(random, 2) == 0 ? dTurn : -dTurn;
    std::string sError;
    if (genome.iPalette >= 0) {
        SGenome turned = genome;
        turned.dHue = std::fmod(genome.dHue + dSigned, 1);
        if (fillLibraryPalette(turned, sError)) {
            genome = turned;
            return;
        }
        genome.iPalette = -1;
    }
    rotateHue(genome.palette, dSigned);
    for (SColour& colour : genome.palette) colour = writableColour(colour);
}

void removeXform(CRandom& random, SGenome& genome) {
    const int iGone = randomChoice(random, static_cast<int>(genome.vXforms.size()));
    genome.vXforms.erase(genome.vXforms.begin() + iGone);
    for (SXform& xform : genome.vXforms)
        if (static_cast<int>(xform.vChaos.size()) > iGone)
            xform.vChaos.erase(xform.vChaos.begin() + iGone);
    if (genome.iSoloXform == iGone) genome.iSoloXform = -1;
    else if (genome.iSoloXform > iGone) genome.iSoloXform--;
}

}  // namespace

SMutation drawnMutation(const SGenome& genome, uint32_t uSeed, int iCount) {
    CRandom random = mutationRandom(uSeed, iCount);
    SMutation mutation = {static_cast<EMutation>(randomChoice(random, 4)), genome};
    SGenome& mutated = mutation.genome;
    const int iXforms = static_cast<int>(mutated.vXforms.size());
    if (mutation.eKind == eAddedXform) {
        const bool bAdd = iXforms <= 2 || (iXforms < iMostMutatedXforms &&
                                           randomChoice(random, 2) == 0);
        mutation.eKind = bAdd ? eAddedXform : eRemovedXform;
    }
    if (iXforms == 0) return mutation;  // nothing to pick from: a genome no render draws
    switch (mutation.eKind) {
    case eMovedCoefs: moveCoefs(random, mutated); break;
    case eOtherVariation: replaceVariation(random, mutated); break;
    case eTurnedPalette: turnPalette(random, mutated); break;
    case eAddedXform:
        mutated.vXforms.push_back(randomXform(random, drawToRange(random.next(), 0, 1)));
        break;
    default: removeXform(random, mutated); break;
    }
    return mutation;
}

SGenome mutatedGenome(const SGenome& genome, uint32_t uSeed, int iCount) {
    for (int iTry = 0; iTry < iMostMutationTries; iTry++) {
        const SMutation mutation = drawnMutation(genome, uSeed, iCount + iTry);
        std::string sError;
        if (checkGenome(mutation.genome, sError) && passesTrial(trialOf(mutation.genome, uSeed)))
            return mutation.genome;
    }
    return genome;
}
