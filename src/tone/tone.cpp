#include "tone/tone.h"

#include "tone/grid.h"
#include "genome/palette.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

SLogScale logScaleOf(const SGenome& genome, double dQuality, double dSamplesShare) {
    const double dPasses = genome.iPasses, dS = genome.iSupersample;
    const double dScale = genome.dScale;  // zoom cancels: 4^zoom samples over 4^zoom area
    const double dK1 = genome.dBrightness * 255 * 268 / (256 * dPasses);
    const double dK2 = dS * dS * dPasses * dScale * dScale /
                       (255 * dQuality * dSamplesShare * genome.iWidth * genome.iHeight);
    return {dK1, dK2};
}

SToneCurve toneCurveOf(const SGenome& genome) {
    return {1 / genome.dGamma, genome.dGammaThreshold, genome.dVibrancy,
            genome.dHighlightPower,
            {genome.dBackground[0], genome.dBackground[1], genome.dBackground[2]}};
}

namespace {

// Clamped to [0, 255] and truncated, as flam3 does; NaN comes out 255, as in flam3's pictures.
unsigned char eightBits(double d) {
    if (std::isnan(d)) return 255;
    if (!(d > 0)) return 0;
    return d >= 255 ? 255 : static_cast<unsigned char>(d);
}

// The saturated colour past white: its saturation scaled by (ν/ℓ)^highlight_power, its largest
// channel 255.
void highlighted(const double* pValue, double dNu, double dScale, double dPower, double* pBase) {
    const double rgb[3] = {dNu * pValue[0] / (255 * 255), dNu * pValue[1] / (255 * 255),
                           dNu * pValue[2] / (255 * 255)};
    double hsv[3];
    rgbToHsv(rgb, hsv);
    hsv[1] *= std::pow(dScale, dPower);
    double out[3];
    hsvToRgb(hsv, out);
    for (int c = 0; c < 3; c++) pBase[c] = out[c] * 255;
}

}  // namespace

void SToneCurve::pixel(const double* pValue, unsigned char* pRgb) const {
    // α from the gamma curve, straightened below the threshold; ℓ from the unclamped α.
    double dAlpha = 0, dL = 0;
    if (pValue[3] > 0) {
        const double dTau = pValue[3] / 255;
        double dCurved = std::pow(dTau, dInverseGamma);
        if (dTau < dThreshold) {
            const double f = dTau / dThreshold;
            dCurved = (1 - f) * dTau * std::pow(dThreshold, dInverseGamma - 1) + f * dCurved;
        }
        dL = 256 * dVibrancy * dCurved / dTau;
        dAlpha = std::clamp(dCurved, 0.0, 1.0);
    }
    double dBase[3] = {0, 0, 0};
    if (dL != 0 && (pValue[0] != 0 || pValue[1] != 0 || pValue[2] != 0)) {
        int iMost = 0;
        for (int c = 1; c < 3; c++)
            if (pValue[c] > pValue[iMost]) iMost = c;
        const double dMost = dL * pValue[iMost] / 255, dNu = 255 * 255 / pValue[iMost];
        if (dMost > 255 && dHighlightPower >= 0) {
            highlighted(pValue, dNu, dNu / dL, dHighlightPower, dBase);
        } else {
            const double dLambda = dMost > 255 ? std::min(1.0, -dHighlightPower) : 1;
            for (int c = 0; c < 3; c++)
                dBase[c] = ((1 - dLambda) * dNu + dLambda * dL) * pValue[c] / 255;
        }
    }
    // The vibrancy term even at vibrancy 1, as flam3 draws it: where a filter's negative lobe
    // makes a channel negative, its root is NaN, 0 · NaN too, and the channel shows 255.
    for (int c = 0; c < 3; c++)
        pRgb[c] = eightBits(dBase[c] + (1 - dVibrancy) * 256 * std::pow(pValue[c] / 255,
                                                                         dInverseGamma) +
                            (1 - dAlpha) * 256 * dBackground[c]);
}

std::unique_ptr<CDensityKernels> densityKernelsOf(const SGenome& genome) {
    if (genome.dEstimatorRadius == 0 || genome.dEstimatorRadius == genome.dEstimatorMinimum)
        return nullptr;
    return std::make_unique<CDensityKernels>(genome.dEstimatorRadius, genome.dEstimatorMinimum,
                                             genome.dEstimatorCurve, genome.iSupersample);
}

void inParallel(int iThreads, int iTasks, const std::function<void(int)>& task) {
    std::atomic<int> iNext{0};
    const auto work = [&] {
        for (int i = iNext++; i < iTasks; i = iNext++) task(i);
    };
    std::vector<std::thread> vHelpers;
    for (int k = 1; k < std::min(iThreads, iTasks); k++) vHelpers.emplace_back(work);
    work();
    for (std::thread& helper : vHelpers) helper.join();
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
        inParallel(iThreads, (iSegments - iParity + 1) / 2, [&](int iTask) {
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
            const double dL = scale.dK1 * std::log1p(scale.dK2 * dA) / dA;
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

namespace {

// The last F bucket rows of the picture's source, each the scaled sum of the passes done and
// this pass's rows, for the spatial filter to read.
class CFilterWindow {
public:
    CFilterWindow(const SPictureSource& source_, int iGridWidth, int iRows_, int iSupersample)
        : source(source_), iWidth(iGridWidth), iRows(iRows_),
          vRows(static_cast<size_t>(iRows_) * iGridWidth * 4, 0.0) {
        if (source.pHistogram)
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
};

}  // namespace

bool writePicture(const SGenome& genome, const SPictureSource& source, const FPictureRow& onRow) {
    const SGridShape grid = gridShapeOf(genome);
    const CSpatialFilter filter(genome.eFilterShape, genome.dFilter, genome.iSupersample);
    const SToneCurve curve = toneCurveOf(genome);
    const int iF = filter.width(), iS = genome.iSupersample, iW = genome.iWidth;
    const int iFirst = grid.iGutter - (iF - iS) / 2;  // the filter window of pixel 0 starts here
    // Output rows in groups, each row of a group on a thread of its own: the window holds the
    // bucket rows of a whole group.
    const int iGroup = std::max(1, 32 / iS);
    CFilterWindow window(source, grid.iWidth, iS * (iGroup - 1) + iF, iS);
    std::vector<unsigned char> vRgb(static_cast<size_t>(iGroup) * iW * 3);
    for (int q0 = 0; q0 < genome.iHeight; q0 += iGroup) {
        if (source.stopped && source.stopped()) return false;
        const int iRows = std::min(iGroup, genome.iHeight - q0);
        window.advanceTo(iFirst + iS * (q0 + iRows - 1) + iF - 1);
        inParallel(source.iThreads, iRows, [&](int k) {
            const int iTop = iFirst + iS * (q0 + k);
            unsigned char* pRgb = &vRgb[static_cast<size_t>(k) * iW * 3];
            for (int p = 0; p < iW; p++) {
                const int iLeft = iFirst + iS * p;
                double dPixel[4] = {0, 0, 0, 0};
                for (int j = 0; j < iF; j++) {
                    const double* pWeights = filter.weights() + j * iF;
                    const double* pCell = window.row(iTop + j) + 4 * static_cast<size_t>(iLeft);
                    for (int i = 0; i < iF; i++, pCell += 4)
                        for (int c = 0; c < 4; c++) dPixel[c] += pWeights[i] * pCell[c];
                }
                curve.pixel(dPixel, pRgb + 3 * static_cast<size_t>(p));
            }
        });
        for (int k = 0; k < iRows; k++) onRow(q0 + k, &vRgb[static_cast<size_t>(k) * iW * 3]);
    }
    return true;
}
