#include "game/walk_steps.h"

#include "base/limits.h"
#include "game/plot_adds.h"
#include "genome/filter.h"

#include <algorithm>
#include <cmath>

CWalkSteps::CWalkSteps(const SGenome& genome, double dTemporalWeight_)
    : bFinal(genome.bFinalXform), choice(genome), view(genome), ePaletteMode(genome.ePaletteMode),
      palette(genome.palette), dTemporalWeight(dTemporalWeight_) {
    const int iXforms = static_cast<int>(genome.vXforms.size());
    bZ = view.threeD() || (bFinal && readsZ(genome.finalXform));
    for (const SXform& xform : genome.vXforms) bZ = bZ || readsZ(xform);
    for (int j = 0; j < iXforms; j++) {
        const bool bSolo = genome.iSoloXform < 0 || genome.iSoloXform == j;
        vXforms.emplace_back(genome.vXforms[j], bSolo, bZ);
        vPlotWeights.push_back(plotWeightsOf(vXforms.back().dPlotWeight, dTemporalWeight));
    }
    if (bFinal) finalXform = CXformMap(genome.finalXform, false, bZ);
    if (ePaletteMode == ePaletteStep)
        for (const CXformMap& xform : vXforms)
            for (const SColour& colour : palette)
                vStepAdds.push_back(addOf(colour, xform.dPlotWeight, dTemporalWeight));
}

