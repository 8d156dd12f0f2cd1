#include "tone/grid.h"

#include "genome/filter.h"

#include <algorithm>
#include <cmath>

SGridShape gridShapeOf(const SGenome& genome) {
    const int iS = genome.iSupersample;
    const int iFilterWidth = CSpatialFilter(genome.eFilterShape, genome.dFilter, iS).width();
    const int iFilterGutter = std::max(0, (iFilterWidth - iS) / 2);
    const int iEstimatorGutter =
        genome.dEstimatorRadius > 0
            ? static_cast<int>(std::ceil(genome.dEstimatorRadius)) * iS + (iS - 1) : 0;
    const int iGutter = std::max(iFilterGutter, iEstimatorGutter);
    return {iGutter, iS * genome.iWidth + 2 * iGutter, iS * genome.iHeight + 2 * iGutter};
}
