#include "tone/pixel_filter.h"

#include "genome/filter.h"
#include "tone/four_channels.h"

SPixelFilter pixelFilterOf(const SGenome& genome) {
    if (genome.eToneStyle == eToneJwildfire) {
        const int iS = genome.iSupersample;
        return {iS, std::vector<double>(static_cast<size_t>(iS) * iS, 1.0)};
    }
    const CSpatialFilter filter(genome.eFilterShape, genome.dFilter, genome.iSupersample);
    return {filter.width(), std::vector<double>(filter.weights(),
                                                filter.weights() + filter.width() * filter.width())};
}

void filterPlain(const SPixelFilter& filter, const double* const* pRows, std::size_t uOffset,
                 double (&dPixel)[4]) {
    const int iF = filter.iWidth;
    for (int c = 0; c < 4; c++) dPixel[c] = 0;
    for (int j = 0; j < iF; j++) {
        const double* pWeights = filter.vWeights.data() + static_cast<std::size_t>(j) * iF;
        const double* pCell = pRows[j] + uOffset;
        for (int i = 0; i < iF; i++, pCell += 4)
            for (int c = 0; c < 4; c++) dPixel[c] += pWeights[i] * pCell[c];
    }
}

[[gnu::target("avx")]] void filterWide(const SPixelFilter& filter, const double* const* pRows,
                                       std::size_t uOffset, double (&dPixel)[4]) {
    const int iF = filter.iWidth;
    VCell sum = {0, 0, 0, 0};
    for (int j = 0; j < iF; j++) {
        const double* pWeights = filter.vWeights.data() + static_cast<std::size_t>(j) * iF;
        const double* pFirst = pRows[j] + uOffset;
        for (int i = 0; i < iF; i++) sum = sum + pWeights[i] * *cellAt(pFirst, i);
    }
    for (int c = 0; c < 4; c++) dPixel[c] = sum[c];
}

void filterPixel(const SPixelFilter& filter, const double* const* pRows, std::size_t uOffset,
                 double (&dPixel)[4]) {
    if (wideHere()) filterWide(filter, pRows, uOffset, dPixel);
    else filterPlain(filter, pRows, uOffset, dPixel);
}
