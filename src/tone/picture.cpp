#include "tone/picture.h"

#include "genome/filter.h"
#include "tone/grid.h"
#include "tone/jwildfire_tone.h"
#include "workers/worker_pool.h"

#include <algorithm>
#include <memory>

namespace {

// The last F bucket rows of the picture's source, each the scaled sum of the passes done and
// this pass's rows, for the spatial filter to read.
class CFilterWindow {
public:
    CFilterWindow(const SPictureSource& source_, int iGridWidth, int iRows_, int iSupersample,
                  const SJwildfireTone* pJwildfire_)
        : source(source_), iWidth(iGridWidth), iRows(iRows_),
          vRows(static_cast<size_t>(iRows_) * iGridWidth * 4, 0.0), pJwildfire(pJwildfire_) {
        if (source.pHistogram && !pJwildfire)
            pDensity = std::make_unique<CDensityRows>(*source.pHistogram, source.scale,
                                                      source.pKernels, iSupersample,
                                                      source.iThreads);
    }
    // Makes rows up to iRow (inclusive) the newest ones.
    void advanceTo(int iRow) {
        while (iNext <= iRow) makeRow(iNext++);
    }
    const double* row(int iRow) const {
        return &vRows[static_cast<size_t>(iRow % iRows) * iWidth * 4];
    }

private:
    void makeRow(int iRow) {
        double* pRow = &vRows[static_cast<size_t>(iRow % iRows) * iWidth * 4];
        const size_t uValues = static_cast<size_t>(iWidth) * 4;
        std::fill(pRow, pRow + uValues, 0.0);
        if (pDensity) {
            const double* pBins = pDensity->nextRow();
            for (size_t k = 0; k < uValues; k++) pRow[k] = pBins[k];
        }
        if (pJwildfire && source.pHistogram) {
            const SBucket* pBuckets = source.pHistogram->row(iRow);
            for (int i = 0; i < iWidth; i++) pJwildfire->bucket(pBuckets[i], pRow + 4 * i);
        }
        if (source.pAccumulated) {
            const float* pAcc = &(*source.pAccumulated)[static_cast<size_t>(iRow) * uValues];
            for (size_t k = 0; k < uValues; k++) pRow[k] += pAcc[k];
        }
        for (size_t k = 0; k < uValues; k++) pRow[k] *= source.dScale;
    }

    const SPictureSource& source;
    int iWidth, iRows, iNext = 0;
    std::vector<double> vRows;
    std::unique_ptr<CDensityRows> pDensity;
    const SJwildfireTone* pJwildfire;  // null: flam3's log scale
};

// The taps of a pixel's filter, F × F centred on its S × S buckets. A JWildfire flame's pixel
// is its buckets' sum, unweighted: its pictures show no more of the kernel its file names than
// their grain does.
struct SPixelFilter {
    int iWidth;
    std::vector<double> vWeights;
};

SPixelFilter pixelFilterOf(const SGenome& genome) {
    if (genome.eToneStyle == eToneJwildfire) {
        const int iS = genome.iSupersample;
        return {iS, std::vector<double>(static_cast<size_t>(iS) * iS, 1.0)};
    }
    const CSpatialFilter filter(genome.eFilterShape, genome.dFilter, genome.iSupersample);
    return {filter.width(), std::vector<double>(filter.weights(),
                                                filter.weights() + filter.width() * filter.width())};
}

}  // namespace

bool writePicture(const SGenome& genome, const SPictureSource& source, const FPictureRow& onRow) {
    const SGridShape grid = gridShapeOf(genome);
    const SPixelFilter filter = pixelFilterOf(genome);
    const SToneCurve curve = toneCurveOf(genome);
    const bool bJwildfire = genome.eToneStyle == eToneJwildfire;
    const SJwildfireTone jwildfire =
        jwildfireToneOf(genome, source.scale.dQuality, source.scale.dSamplesShare);
    const int iF = filter.iWidth, iS = genome.iSupersample, iW = genome.iWidth;
    const int iFirst = grid.iGutter - (iF - iS) / 2;  // the filter window of pixel 0 starts here
    // Output rows in groups, each row of a group on a thread of its own: the window holds the
    // bucket rows of a whole group.
    const int iGroup = std::max(1, 32 / iS);
    CFilterWindow window(source, grid.iWidth, iS * (iGroup - 1) + iF, iS,
                         bJwildfire ? &jwildfire : nullptr);
    std::vector<unsigned char> vRgb(static_cast<size_t>(iGroup) * iW * 3);
    for (int q0 = 0; q0 < genome.iHeight; q0 += iGroup) {
        if (source.stopped && source.stopped()) return false;
        const int iRows = std::min(iGroup, genome.iHeight - q0);
        window.advanceTo(iFirst + iS * (q0 + iRows - 1) + iF - 1);
        CWorkerPool::shared().forEach(iRows, source.iThreads, [&](int k) {
            const int iTop = iFirst + iS * (q0 + k);
            unsigned char* pRgb = &vRgb[static_cast<size_t>(k) * iW * 3];
            for (int p = 0; p < iW; p++) {
                const int iLeft = iFirst + iS * p;
                double dPixel[4] = {0, 0, 0, 0};
                for (int j = 0; j < iF; j++) {
                    const double* pWeights = filter.vWeights.data() + j * iF;
                    const double* pCell = window.row(iTop + j) + 4 * static_cast<size_t>(iLeft);
                    for (int i = 0; i < iF; i++, pCell += 4)
                        for (int c = 0; c < 4; c++) dPixel[c] += pWeights[i] * pCell[c];
                }
                if (bJwildfire) jwildfire.pixel(dPixel, pRgb + 3 * static_cast<size_t>(p));
                else curve.pixel(dPixel, pRgb + 3 * static_cast<size_t>(p));
            }
        });
        for (int k = 0; k < iRows; k++) onRow(q0 + k, &vRgb[static_cast<size_t>(k) * iW * 3]);
    }
    return true;
}
