#include "tone/picture.h"

#include "tone/grid.h"
#include "tone/jwildfire_tone.h"
#include "tone/pixel_filter.h"
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
        : source(source_), iWidth(iGridWidth), iRows(iRows_), iNext(source_.iFirstRow),
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
            const SBucket* pBuckets = source.pHistogram->row(iRow - source.iFirstRow);
            for (int i = 0; i < iWidth; i++) pJwildfire->bucket(pBuckets[i], pRow + 4 * i);
        }
        if (source.pAccumulated) {
            const size_t uRow = static_cast<size_t>(iRow - source.iFirstRow);
            const float* pAcc = &(*source.pAccumulated)[uRow * uValues];
            for (size_t k = 0; k < uValues; k++) pRow[k] += pAcc[k];
        }
        for (size_t k = 0; k < uValues; k++) pRow[k] *= source.dScale;
    }

    const SPictureSource& source;
    int iWidth, iRows, iNext;  // rows are made from the source's first, in order
    std::vector<double> vRows;
    std::unique_ptr<CDensityRows> pDensity;
    const SJwildfireTone* pJwildfire;  // null: flam3's log scale
};

// The rows of pixels of the kind TPixel, each made by putPixel(curve, JWildfire's tone or null,
// filtered sums, pixel), to onRow; only the rows pixelRows of the picture.
template <typename TPixel, typename FPut, typename FRow>
bool writePixels(const SGenome& genome, const SPictureSource& source, int iPerPixel,
                 const FPut& putPixel, const FRow& onRow, SRows pixelRows) {
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
    const size_t uRow = static_cast<size_t>(iW) * iPerPixel;
    CFilterWindow window(source, grid.iWidth, iS * (iGroup - 1) + iF, iS,
                         bJwildfire ? &jwildfire : nullptr);
    std::vector<TPixel> vRows(static_cast<size_t>(iGroup) * uRow);
    // Each row of a group's filter rows, F window rows each, made once for the picture.
    std::vector<const double*> vFilterRows(static_cast<size_t>(iGroup) * iF);
    for (int q0 = pixelRows.iFirst; q0 < pixelRows.iEnd; q0 += iGroup) {
        if (source.stopped && source.stopped()) return false;
        const int iRows = std::min(iGroup, pixelRows.iEnd - q0);
        window.advanceTo(iFirst + iS * (q0 + iRows - 1) + iF - 1);
        CWorkerPool::shared().forEach(iRows, source.iThreads, [&](int k) {
            const int iTop = iFirst + iS * (q0 + k);
            const double** pFilterRows = &vFilterRows[static_cast<size_t>(k) * iF];
            for (int j = 0; j < iF; j++) pFilterRows[j] = window.row(iTop + j);
            TPixel* pRow = &vRows[static_cast<size_t>(k) * uRow];
            for (int p = 0; p < iW; p++) {
                const int iLeft = iFirst + iS * p;
                double dPixel[4];
                filterPixel(filter, pFilterRows, 4 * static_cast<size_t>(iLeft), dPixel);
                putPixel(curve, bJwildfire ? &jwildfire : nullptr, dPixel, pRow + static_cast<size_t>(iPerPixel) * p);
            }
        });
        for (int k = 0; k < iRows; k++) onRow(q0 + k, &vRows[static_cast<size_t>(k) * uRow]);
    }
    return true;
}

}  // namespace

bool writePicture(const SGenome& genome, const SPictureSource& source, const FPictureRow& onRow) {
    return writePicture(genome, source, onRow, {0, genome.iHeight});
}

bool writePicture(const SGenome& genome, const SPictureSource& source, const FPictureRow& onRow,
                  SRows pixelRows) {
    return writePixels<unsigned char>(
        genome, source, 3,
        [](const SToneCurve& curve, const SJwildfireTone* pJwildfire, const double* pValue,
           unsigned char* pRgb) {
            if (pJwildfire) pJwildfire->pixel(pValue, pRgb);
            else curve.pixel(pValue, pRgb);
        },
        onRow, pixelRows);
}

bool writeTonedPicture(const SGenome& genome, const SPictureSource& source, bool bTransparent,
                       const FTonedRow& onRow, SRows pixelRows) {
    return writePixels<STonedPixel>(
        genome, source, 1,
        // A JWildfire flame's picture is written as 8-bit RGB only (its writer refuses others).
        [bTransparent](const SToneCurve& curve, const SJwildfireTone*, const double* pValue,
                       STonedPixel* pToned) {
            curve.pixel(pValue, bTransparent, *pToned);
        },
        onRow, pixelRows);
}
