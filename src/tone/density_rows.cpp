#include "tone/density_rows.h"

#include "maths/maths.h"
#include "workers/worker_pool.h"

#include <algorithm>
#include <cmath>

std::unique_ptr<CDensityKernels> densityKernelsOf(const SGenome& genome) {
    if (genome.dEstimatorRadius == 0 || genome.dEstimatorRadius == genome.dEstimatorMinimum)
        return nullptr;
    return std::make_unique<CDensityKernels>(genome.dEstimatorRadius, genome.dEstimatorMinimum,
                                             genome.dEstimatorCurve, genome.iSupersample);
}

CDensityRows::CDensityRows(const CHistogram& histogram_, SLogScale scale_,
                           const CDensityKernels* pKernels_, int iSupersample_, int iThreads_)
    : histogram(histogram_), scale(scale_), pKernels(pKernels_), iSupersample(iSupersample_),
      iReach(pKernels_ ? pKernels_->halfSize() : 0), iWindowRows(2 * iReach + iScatterRows),
      iThreads(iThreads_), iSegmentWidth(std::max(2 * iReach + 1, 256)),
      vWindow(static_cast<size_t>(iWindowRows) * histogram_.width() * 4, 0.0),
      vOut(static_cast<size_t>(histogram_.width()) * 4) {}

// The hits around a bucket, as flam3 weighs density: the (2⌊S/2⌋ + 1)² buckets centred on it,
// scaled by (S/(S + 1))² for even S.
double CDensityRows::densityAt(int iColumn, int iRow) const {
    if (iSupersample == 1) return histogram.at(iColumn, iRow).uCount / dBucketUnit;
    const int iHalf = iSupersample / 2;
    uint64_t uSum = 0;
    for (int j = std::max(0, iRow - iHalf); j <= std::min(histogram.height() - 1, iRow + iHalf);
         j++) {
        const SBucket* pRow = histogram.row(j);
        for (int i = std::max(0, iColumn - iHalf);
             i <= std::min(histogram.width() - 1, iColumn + iHalf); i++)
            uSum += pRow[i].uCount;
    }
    double dDensity = uSum / dBucketUnit;
    if (iSupersample % 2 == 0) {
        const double dShrink = iSupersample / (iSupersample + 1.0);
        dDensity *= dShrink * dShrink;
    }
    return dDensity;
}

// Rows iFirstRow to iEndRow − 1, segment by segment: the even segments side by side, then the
// odd ones.
void CDensityRows::scatterRows(int iFirstRow, int iEndRow) {
    const int iSegments = (histogram.width() + iSegmentWidth - 1) / iSegmentWidth;
    for (int iParity = 0; iParity < 2; iParity++)
        CWorkerPool::shared().forEach((iSegments - iParity + 1) / 2, iThreads, [&](int iTask) {
            const int iFirstColumn = (2 * iTask + iParity) * iSegmentWidth;
            scatterSegment(iFirstRow, iEndRow, iFirstColumn,
                           std::min(histogram.width(), iFirstColumn + iSegmentWidth));
        });
}

// Each bucket of a segment with hits, log-scaled, into the window, row by row and left to
// right: as it is without density estimation, else spread by the kernel its density picks.
void CDensityRows::scatterSegment(int iFirstRow, int iEndRow, int iFirstColumn,
                                  int iEndColumn) {
    const int iWidth = histogram.width(), iHeight = histogram.height();
    const double dUnit = 255 / dBucketUnit;  // sums in flam3's units: 255 per full hit
    for (int iRow = iFirstRow; iRow < iEndRow; iRow++) {
        const SBucket* pRow = histogram.row(iRow);
        for (int i = iFirstColumn; i < iEndColumn; i++) {
            const SBucket& bucket = pRow[i];
            if (bucket.uAlpha == 0 || bucket.uCount == 0) continue;
            const double dA = bucket.uAlpha * dUnit;
            const double dL = scale.dK1 * maths::log1p(scale.dK2 * dA) / dA;
            const double dValue[4] = {dL * (bucket.uRed * dUnit), dL * (bucket.uGreen * dUnit),
                                      dL * (bucket.uBlue * dUnit), dL * dA};
            if (!pKernels) {
                double* pCell = windowRow(iRow) + 4 * static_cast<size_t>(i);
                for (int c = 0; c < 4; c++) pCell[c] += dValue[c];
                continue;
            }
            const SDensityKernel& kernel = pKernels->kernel(pKernels->index(densityAt(i, iRow)));
            const int iK = kernel.iReach;
            for (int dy = -iK; dy <= iK; dy++) {
                if (iRow + dy < 0 || iRow + dy >= iHeight) continue;
                double* pTarget = windowRow(iRow + dy);
                for (int dx = std::max(-iK, -i); dx <= std::min(iK, iWidth - 1 - i); dx++) {
                    const double dWeight = kernel.weight(dx, dy);
                    double* pCell = pTarget + 4 * static_cast<size_t>(i + dx);
                    for (int c = 0; c < 4; c++) pCell[c] += dWeight * dValue[c];
                }
            }
        }
    }
}

const double* CDensityRows::nextRow() {
    // Row r is complete once every row that reaches it, up to r + N_h, has scattered.
    while (iNextScatter < histogram.height() && iNextScatter <= iNextOut + iReach) {
        const int iEnd = std::min(histogram.height(), iNextScatter + iScatterRows);
        scatterRows(iNextScatter, iEnd);
        iNextScatter = iEnd;
    }
    double* pRow = windowRow(iNextOut);
    std::copy(pRow, pRow + vOut.size(), vOut.begin());
    std::fill(pRow, pRow + vOut.size(), 0.0);  // free for row iNextOut + 2·N_h + 1
    iNextOut++;
    return vOut.data();
}
