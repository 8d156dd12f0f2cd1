#include "tone/grid.h"

#include "genome/filter.h"
#include "tone/density_rows.h"

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

SRows bucketRowsFor(const SGenome& genome, SRows pixelRows, int iDensityReach) {
    const SGridShape grid = gridShapeOf(genome);
    const int iS = genome.iSupersample;
    const int iF = CSpatialFilter(genome.eFilterShape, genome.dFilter, iS).width();
    const int iFirst = grid.iGutter - (iF - iS) / 2;  // the filter window of pixel 0 starts here
    const int iMargin = iDensityReach > 0 ? iDensityReach + iS / 2 : 0;
    const int iTop = std::max(0, iFirst + iS * pixelRows.iFirst - iMargin);
    const int iBottom = iFirst + iS * (pixelRows.iEnd - 1) + iF + iMargin;
    return {iTop - iTop % iScatterRows, std::min(grid.iHeight, iBottom)};
}
