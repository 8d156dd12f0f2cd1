#include "editing/genome_random.h"

#include "base/angles.h"
#include "editing/genome_frame.h"
#include "genome/genome_check.h"
#include "genome/palette.h"
#include "maths/maths.h"
#include "palettes/palette_library.h"
#include "render/render.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iterator>

namespace {

constexpr int symmetryKinds[] = {2, 3, 4, 5, 6, -1, -2, -3, -4};
constexpr int iSymmetryKinds = static_cast<int>(std::size(symmetryKinds));

double uniformIn(CRandom& random, double dLow, double dHigh) {
    return drawToRange(random.next(), dLow, dHigh);
}

void randomCoefs(CRandom& random, std::array<double, 6>& coefs) {
    for (double& dCoef : coefs) dCoef = uniformIn(random, -1, 1);
}

// A variation that xform has not got yet.
int newVariation(CRandom& random, const SXform& xform) {
    for (;;) {
        const int iVariation = randomVariation(random);
        if (xform.variations[iVariation] == 0) return iVariation;
    }
}

// One candidate's xforms, symmetry and final xform, and its palette.
bool drawCandidate(CRandom& random, SGenome& genome, std::string& sError) {
    const int iXforms = 2 + randomChoice(random, 4);
    for (int k = 0; k < iXforms; k++)
        genome.vXforms.push_back(randomXform(random, k / (iXforms - 1.0)));
    if (randomChoice(random, 4) == 0) {
        const int iKind = symmetryKinds[randomChoice(random, iSymmetryKinds)];
        const std::vector<SXform> vSymmetry = symmetryXforms(iKind);
        genome.vXforms.insert(genome.vXforms.end(), vSymmetry.begin(), vSymmetry.end());
    }
    genome.bFinalXform = randomChoice(random, 4) == 0;
    if (genome.bFinalXform) {
        SXform& finalXform = genome.finalXform;
        finalXform.dColorSpeed = 0;
        randomCoefs(random, finalXform.coefs);
        const int iVariation = randomVariation(random);
        finalXform.variations[iVariation] = 1;
        randomParameters(random, iVariation, finalXform);
    }
    // Turned by its hue (0) as reading turns it, which moves some entries' last bits: the
    // written genome reads back the same.
    genome.iPalette = randomChoice(random, iLibraryPalettes);
    return fillLibraryPalette(genome, sError);
}

}  // namespace

int randomChoice(CRandom& random, int iChoices) {
    const int iDrawn = static_cast<int>(drawToRange(random.next(), 0, iChoices));
    return std::min(iDrawn, iChoices - 1);  // the largest draw is iChoices itself
}

int randomVariation(CRandom& random) { return randomChoice(random, iRandomVariations); }

void randomParameters(CRandom& random, int iVariation, SXform& xform) {
    const SVariation& variation = variationOf(iVariation);
    for (int k = 0; k < variation.parameterCount(); k++) {
        const SParameter& range = variation.parameters[k];
        const double dLow = range.dRandomLow, dHigh = range.dRandomHigh;
        xform.parameters[firstParameter(iVariation) + k] =
            range.bWhole ? dLow + randomChoice(random, static_cast<int>(dHigh - dLow) + 1)
                         : uniformIn(random, dLow, dHigh);
    }
}

SXform randomXform(CRandom& random, double dColor) {
    SXform xform;
    xform.dWeight = uniformIn(random, 0.2, 1);
    xform.dColor = dColor;
    randomCoefs(random, xform.coefs);
    const int iVariations = 1 + randomChoice(random, 3);
    double dSum = 0;
    for (int k = 0; k < iVariations; k++) {
        const int iVariation = newVariation(random, xform);
        xform.variations[iVariation] = uniformIn(random, 0.2, 1);
        dSum += xform.variations[iVariation];
        randomParameters(random, iVariation, xform);
    }
    for (double& dWeight : xform.variations) dWeight /= dSum;
    return xform;
}

STrial trialOf(const SGenome& genome, uint64_t uSeed) {
    // The longer side at most iTrialSide, so that no size makes the trial long to draw.
    const int iLonger = std::min(iTrialSide, std::max(genome.iWidth, genome.iHeight));
    const bool bTall = genome.iHeight > genome.iWidth;
    const int iShort = std::max(1, static_cast<int>(std::lround(
        static_cast<double>(iLonger) * std::min(genome.iWidth, genome.iHeight) /
        std::max(genome.iWidth, genome.iHeight))));
    SGenome trial = resizedGenome(genome, bTall ? iShort : iLonger, bTall ? iLonger : iShort);
    trial.dScale *= maths::pow(2.0, trial.dZoom);
    trial.dZoom = 0;
    trial.dQuality = dTrialQuality;
    trial.iSupersample = 1;
    trial.iPasses = 1;
    trial.dEstimatorRadius = trial.dEstimatorMinimum = 0;
    std::string sError;
    if (!checkGenome(trial, sError)) return {};
    CGenomeRender render(trial, uSeed, 1);
    while (render.continueRender(std::chrono::seconds(1))) {}
    int iBackground[3];
    for (int c = 0; c < 3; c++) iBackground[c] = static_cast<int>(trial.dBackground[c] * 255);
    int64_t iLit = 0;
    render.writeImage([&](int, const unsigned char* pRgb) {
        for (int i = 0; i < trial.iWidth * 3; i += 3) {
            bool bLit = false;
            for (int c = 0; c < 3; c++)
                bLit = bLit || std::abs(pRgb[i + c] - iBackground[c]) >= iVisibleLevel;
            iLit += bLit;
        }
    });
    return {static_cast<double>(iLit) / (static_cast<double>(trial.iWidth) * trial.iHeight),
            render.badValueRate()};
}

bool passesTrial(const STrial& trial) {
    return trial.dLitShare >= dLeastLitShare && trial.dBadValueRate < dMostBadValueRate;
}

bool randomGenome(uint32_t uSeed, SGenome& genome, std::string& sError) {
    CRandom random;
    random.seed(uSeed);
    SGenome best;
    double dBest = -2;
    for (int iCandidate = 0; iCandidate < iMostRandomCandidates; iCandidate++) {
        SGenome candidate;
        candidate.sName = "random-" + std::to_string(uSeed);
        candidate.iWidth = candidate.iHeight = iRandomGenomeSide;
        candidate.dQuality = dRandomGenomeQuality;
        if (!drawCandidate(random, candidate, sError)) return false;
        candidate = fittedGenome(candidate, uSeed);
        const STrial trial = trialOf(candidate, uSeed);
        if (passesTrial(trial)) {
            genome = candidate;
            return true;
        }
        // Too many bad values count below any share lit.
        const double dScore = trial.dLitShare - (trial.dBadValueRate < dMostBadValueRate ? 0 : 1);
        if (dScore > dBest) best = candidate, dBest = dScore;
    }
    genome = best;
    return true;
}
