#include "tone/density_rows.h"

#include "maths/maths.h"
#include "workers/worker_pool.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

// Strips enough for the threads to share the work out evenly, none so narrow that the buckets
// beside it that reach into it (worked out by the strips on both sides) weigh much.
int stripsOf(int iWidth, int iReach, int iThreads) {
    if (iThreads <= 1) return 1;
    return std::max(1, std::min(4 * iThreads, iWidth / (4 * (2 * iReach + 1))));
}

double* alignedTo32(double* p) {  // p rounded up, by at most 3 doubles
    return p + (32 - reinterpret_cast<uintptr_t>(p) % 32) % 32 / sizeof(double);
}

}  // namespace

namespace {

bool estimates(const SGenome& genome) {
    return genome.dEstimatorRadius != 0 && genome.dEstimatorRadius != genome.dEstimatorMinimum;
}

}  // namespace

int densityReachOf(const SGenome& genome) {
    return estimates(genome)
               ? CDensityKernels::halfSizeOf(genome.dEstimatorRadius, genome.iSupersample) : 0;
}

std::unique_ptr<CDensityKernels> densityKernelsOf(const SGenome& genome) {
    if (!estimates(genome)) return nullptr;
    return std::make_unique<CDensityKernels>(genome.dEstimatorRadius, genome.dEstimatorMinimum,
                                             genome.dEstimatorCurve, genome.iSupersample);
}

CDensityRows::CDensityRows(const CHistogram& histogram_, SLogScale scale_,
                           const CDensityKernels* pKernels_, int iSupersample_, int iThreads_)
    : histogram(histogram_), scale(scale_), pKernels(pKernels_), iSupersample(iSupersample_),
      iReach(pKernels_ ? pKernels_->halfSize() : 0),
      iWindowRows(2 * iReach + iScatterRows * iScatterBlocks),
      iThreads(iThreads_), iSegmentWidth(std::max(2 * iReach + 1, 256)),
      iStrips(stripsOf(histogram_.width(), iReach, iThreads_)),
      vWindow(static_cast<size_t>(iWindowRows) * histogram_.width() * 4 + 3, 0.0),
      pWindow(alignedTo32(vWindow.data())),
      vOut(static_cast<size_t>(histogram_.width()) * 4) {
    const int64_t iHeight = histogram.height();
    CWorkerPool::shared().forEach(iThreads, iThreads, [&](int iPart) {
        histogram.readyForReading({static_cast<int>(iHeight * iPart / iThreads),
                                   static_cast<int>(iHeight * (iPart + 1) / iThreads)});
    });
}

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

// Rows iFirstRow to iEndRow − 1, strip by strip, each strip of columns on a thread of its own,
// iScatterRows rows at a time: what the even segments' buckets add to the strip, then what the
// odd ones' add, each segment row after row and left to right. That is the order in which every
// window bucket would take its sums from the segments scattered one after another, even then
// odd, whatever the strips.
void CDensityRows::scatterRows(int iFirstRow, int iEndRow) {
    const int iWidth = histogram.width();
    CWorkerPool::shared().forEach(iStrips, iThreads, [&](int iStrip) {
        const int iFirstTarget = static_cast<int>(static_cast<int64_t>(iWidth) * iStrip / iStrips);
        const int iEndTarget =
            static_cast<int>(static_cast<int64_t>(iWidth) * (iStrip + 1) / iStrips);
        for (int iRow = iFirstRow; iRow < iEndRow; iRow += iScatterRows)
            for (int iParity = 0; iParity < 2; iParity++)
                for (int iStart = iParity * iSegmentWidth; iStart < iWidth;
                     iStart += 2 * iSegmentWidth) {
                    // The segment's buckets whose kernels can reach the strip.
                    const int iFirst = std::max(iStart, iFirstTarget - iReach);
                    const int iEnd =
                        std::min({iWidth, iStart + iSegmentWidth, iEndTarget + iReach});
                    if (iFirst < iEnd)
                        scatterSegment(iRow, std::min(iEndRow, iRow + iScatterRows), iFirst,
                                       iEnd, iFirstTarget, iEndTarget);
                }
    });
}

// Each bucket of columns iFirstColumn to iEndColumn − 1 with hits, log-scaled, into the window's
// columns iFirstTarget to iEndTarget − 1, row by row and left to right: as it is without density
// estimation, else spread by the kernel its density picks.
void CDensityRows::scatterSegment(int iFirstRow, int iEndRow, int iFirstColumn, int iEndColumn,
                                  int iFirstTarget, int iEndTarget) {
    const int iHeight = histogram.height();
    const double dUnit = 255 / dBucketUnit;  // sums in flam3's units: 255 per full hit
    const size_t uRowDoubles = static_cast<size_t>(histogram.width()) * 4;
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
                if (i < iFirstTarget || i >= iEndTarget) continue;
                double* pCell = windowRow(iRow) + 4 * static_cast<size_t>(i);
                for (int c = 0; c < 4; c++) pCell[c] += dValue[c];
                continue;
            }
            const SDensityKernel& kernel = pKernels->kernel(pKernels->index(densityAt(i, iRow)));
            const int iK = kernel.iReach;
            const int iFirstDx = std::max(-iK, iFirstTarget - i);
            const int iLastDx = std::min(iK, iEndTarget - 1 - i);
            if (iFirstDx > iLastDx) continue;
            const SSpread spread = {&kernel, iFirstDx, iLastDx, std::max(-iK, -iRow),
                                    std::min(iK, iHeight - 1 - iRow)};
            double* pCentre = pWindow + 4 * static_cast<size_t>(i);
            spreadBucket(spread, dValue, pCentre, uRowDoubles, iRow, iWindowRows);
        }
    }
}

const double* CDensityRows::nextRow() {
    // Row r is complete once every row that reaches it, up to r + N_h, has scattered.
    while (iNextScatter < histogram.height() && iNextScatter <= iNextOut + iReach) {
        const int iEnd =
            std::min(histogram.height(), iNextScatter + iScatterRows * iScatterBlocks);
        scatterRows(iNextScatter, iEnd);
        iNextScatter = iEnd;
    }
    double* pRow = windowRow(iNextOut);
    std::copy(pRow, pRow + vOut.size(), vOut.begin());
    std::fill(pRow, pRow + vOut.size(), 0.0);  // free for row iNextOut + 2·N_h + 1
    iNextOut++;
    return vOut.data();
}
