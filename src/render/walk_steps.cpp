#include "render/walk_steps.h"

#include "base/limits.h"
#include "genome/filter.h"

#include <algorithm>
#include <cmath>

namespace {

// What a plot of palette colour (r, g, b, α) at plot weight ω adds, in a moment of temporal
// weight f: ω·f·(r, g, b, α) and a count of ω, in the histogram's fixed point.
SBucket addOf(const SColour& colour, double dWeight, double dTemporal) {
    const auto fixed = [&](double d, double f) {
        return static_cast<uint64_t>(std::llround(std::max(0.0, d) * dWeight * f * dBucketUnit));
    };
    return {fixed(colour.dRed, dTemporal), fixed(colour.dGreen, dTemporal),
            fixed(colour.dBlue, dTemporal), fixed(colour.dAlpha, dTemporal), fixed(1, 1)};
}

}  // namespace

CWalkSteps::CWalkSteps(const SGenome& genome, double dTemporalWeight_)
    : bFinal(genome.bFinalXform), choice(genome), view(genome), ePaletteMode(genome.ePaletteMode),
      palette(genome.palette), dTemporalWeight(dTemporalWeight_) {
    const int iXforms = static_cast<int>(genome.vXforms.size());
    bZ = view.threeD() || (bFinal && readsZ(genome.finalXform));
    for (const SXform& xform : genome.vXforms) bZ = bZ || readsZ(xform);
    for (int j = 0; j < iXforms; j++) {
        const bool bSolo = genome.iSoloXform < 0 || genome.iSoloXform == j;
        vXforms.emplace_back(genome.vXforms[j], bSolo, bZ);
    }
    if (bFinal) finalXform = CXformMap(genome.finalXform, false, bZ);
    if (ePaletteMode == ePaletteStep)
        for (const CXformMap& xform : vXforms)
            for (const SColour& colour : palette)
                vStepAdds.push_back(addOf(colour, xform.dPlotWeight, dTemporalWeight));
}

// In a stepped palette without branches: the plot is written in the job's next place whether it
// is made or not (that place is free: the walk has samples left), and counted only if made.
void CWalkSteps::record(SWalk& walk, int j, const SGridPlace<double>& place, double c) const {
    const double dWeight = vXforms[j].dPlotWeight;
    SBatchJob& job = walk.job;
    SPlot& plot = walk.pPlots[job.iPlots];
    plot.uBucket = view.bucketAt(place);
    const bool bMade = place.bInside & (dWeight != 0);
    if (ePaletteMode == ePaletteStep) {
        plot.uAdd = stepAdd(j, place.iEntry);
        job.iPlots += bMade;
        return;
    }
    if (!bMade) return;
    // In linear mode the entry blended with the next one.
    plot.uAdd = static_cast<uint32_t>(job.iPlots);
    SBucket& add = (*job.pAdds)[job.iPlots++];
    const double dIndex = 256 * c;
    const double dTrunc = std::trunc(dIndex);  // −0.5 blends entries 0 and 1, as in flam3
    const int iIndex = place.iEntry;
    if (!(dTrunc >= 0 && dTrunc < 255)) {
        add = addOf(palette[iIndex], dWeight, dTemporalWeight);
        return;
    }
    const double f = dIndex - dTrunc;
    const SColour& from = palette[iIndex];
    const SColour& to = palette[iIndex + 1];
    add = addOf({from.dRed + f * (to.dRed - from.dRed), from.dGreen + f * (to.dGreen - from.dGreen),
                 from.dBlue + f * (to.dBlue - from.dBlue),
                 from.dAlpha + f * (to.dAlpha - from.dAlpha)}, dWeight, dTemporalWeight);
}
