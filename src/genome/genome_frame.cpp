#include "genome/genome_frame.h"

#include "genome/genome_check.h"
#include "genome/iterate.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// The camera's turn as the render makes it: screen = R(ρ)·(world − centre), R the
// counter-clockwise rotation of y-up coordinates (clockwise on a screen whose y points down).
struct STurn {
    double dCos, dSin;
};

STurn turnOf(const SGenome& genome) {
    if (genome.dRotate == 0) return {1, 0};
    const double dAngle = genome.dRotate * 3.14159265358979323846 / 180;
    return {std::cos(dAngle), std::sin(dAngle)};
}

double pixelsPerUnit(const SGenome& genome) { return genome.dScale * std::pow(2.0, genome.dZoom); }

// The centre that puts world point (dX, dY) under pixel coordinates (dPixelX, dPixelY).
void centreUnder(SGenome& genome, double dX, double dY, double dPixelX, double dPixelY) {
    const STurn turn = turnOf(genome);
    const double dUnit = pixelsPerUnit(genome);
    const double dU = (dPixelX - genome.iWidth / 2.0) / dUnit;
    const double dV = (dPixelY - genome.iHeight / 2.0) / dUnit;
    genome.dCenterX = dX - (turn.dCos * dU + turn.dSin * dV);
    genome.dCenterY = dY - (-turn.dSin * dU + turn.dCos * dV);
}

}  // namespace

void worldOfPixel(const SGenome& genome, double dPixelX, double dPixelY, double& dX,
                  double& dY) {
    const STurn turn = turnOf(genome);
    const double dUnit = pixelsPerUnit(genome);
    const double dU = (dPixelX - genome.iWidth / 2.0) / dUnit;
    const double dV = (dPixelY - genome.iHeight / 2.0) / dUnit;
    dX = genome.dCenterX + (turn.dCos * dU + turn.dSin * dV);
    dY = genome.dCenterY + (-turn.dSin * dU + turn.dCos * dV);
}

void pixelOfWorld(const SGenome& genome, double dX, double dY, double& dPixelX,
                  double& dPixelY) {
    const STurn turn = turnOf(genome);
    const double dUnit = pixelsPerUnit(genome);
    const double dU = dX - genome.dCenterX, dV = dY - genome.dCenterY;
    dPixelX = (turn.dCos * dU - turn.dSin * dV) * dUnit + genome.iWidth / 2.0;
    dPixelY = (turn.dSin * dU + turn.dCos * dV) * dUnit + genome.iHeight / 2.0;
}

SGenome zoomedGenome(const SGenome& genome, double dFactor) {
    SGenome zoomed = genome;
    zoomed.dScale = genome.dScale * dFactor;
    return zoomed;
}

SGenome zoomedAbout(const SGenome& genome, double dPixelX, double dPixelY, double dFactor) {
    double dX, dY;
    worldOfPixel(genome, dPixelX, dPixelY, dX, dY);
    SGenome zoomed = zoomedGenome(genome, dFactor);
    centreUnder(zoomed, dX, dY, dPixelX, dPixelY);
    return zoomed;
}

SGenome movedGenome(const SGenome& genome, double dRight, double dDown) {
    SGenome moved = genome;
    worldOfPixel(genome, genome.iWidth * (0.5 + dRight), genome.iHeight * (0.5 + dDown),
                 moved.dCenterX, moved.dCenterY);
    return moved;
}

SGenome rotatedGenome(const SGenome& genome, double dDegrees) {
    SGenome rotated = genome;
    const double dRotate = std::remainder(genome.dRotate + dDegrees, 360);
    rotated.dRotate = dRotate == -180 ? 180 : dRotate;
    return rotated;
}

SGenome qualityScaled(const SGenome& genome, bool bTenTimes) {
    SGenome scaled = genome;
    const double dPixels = std::pow(4.0, genome.dZoom) * genome.iWidth * genome.iHeight;
    const double dMost = std::min(dMostQuality, dMostSamples / dPixels);
    const double dQuality = bTenTimes ? genome.dQuality * 10 : genome.dQuality / 10;
    if (bTenTimes) scaled.dQuality = std::max(genome.dQuality, std::min(dQuality, dMost));
    else if (dQuality > 0) scaled.dQuality = std::min(dQuality, dMost);
    return scaled;
}

namespace {

constexpr double dLowQuantile = 0.005;
constexpr double dHighQuantile = 0.995;
constexpr double dDenseShare = 0.01;  // of the fullest cell's count
constexpr double dWidening = 1.1;

struct SRange {
    double dLow, dHigh;
};

// The values at the two quantiles, by rank among all of them.
SRange quantiles(std::vector<double> vValues) {
    const size_t uLast = vValues.size() - 1;
    const auto valueAt = [&](size_t uRank) {
        std::nth_element(vValues.begin(), vValues.begin() + static_cast<long>(uRank),
                         vValues.end());
        return vValues[uRank];
    };
    const double dLow = valueAt(static_cast<size_t>(std::floor(dLowQuantile * uLast)));
    const double dHigh = valueAt(static_cast<size_t>(std::ceil(dHighQuantile * uLast)));
    return {dLow, dHigh};
}

// The cell of a value: 0 to iFrameFitCells − 1, or −1 outside the range. A range of no extent
// is one cell.
int cellOf(double dValue, const SRange& range) {
    if (!(dValue >= range.dLow && dValue <= range.dHigh)) return -1;
    if (!(range.dHigh > range.dLow)) return 0;
    const double dCell = (dValue - range.dLow) / (range.dHigh - range.dLow) * iFrameFitCells;
    return std::min(static_cast<int>(dCell), iFrameFitCells - 1);
}

double cellEdge(int iCell, const SRange& range) {
    return range.dLow + (range.dHigh - range.dLow) * iCell / iFrameFitCells;
}

// A centre and a half extent on each axis.
struct SFrame {
    double dX, dY, dHalfWidth, dHalfHeight;
};

// The box of the cells that hold at least dDenseShare of the fullest one's points.
SFrame denseFrame(const std::vector<SWorldPoint>& vPoints, const SRange& xRange,
                  const SRange& yRange) {
    std::vector<int> vCounts(iFrameFitCells * iFrameFitCells, 0);
    for (const SWorldPoint& point : vPoints) {
        const int iColumn = cellOf(point.dX, xRange), iRow = cellOf(point.dY, yRange);
        if (iColumn >= 0 && iRow >= 0) vCounts[iRow * iFrameFitCells + iColumn]++;
    }
    const int iFullest = *std::max_element(vCounts.begin(), vCounts.end());
    int iLeft = iFrameFitCells, iRight = -1, iTop = iFrameFitCells, iBottom = -1;
    for (int iRow = 0; iRow < iFrameFitCells; iRow++) {
        for (int iColumn = 0; iColumn < iFrameFitCells; iColumn++) {
            if (vCounts[iRow * iFrameFitCells + iColumn] < dDenseShare * iFullest) continue;
            iLeft = std::min(iLeft, iColumn), iRight = std::max(iRight, iColumn);
            iTop = std::min(iTop, iRow), iBottom = std::max(iBottom, iRow);
        }
    }
    const double dLeft = cellEdge(iLeft, xRange), dRight = cellEdge(iRight + 1, xRange);
    const double dTop = cellEdge(iTop, yRange), dBottom = cellEdge(iBottom + 1, yRange);
    return {(dLeft + dRight) / 2, (dTop + dBottom) / 2, (dRight - dLeft) / 2,
            (dBottom - dTop) / 2};
}

// Widened, never narrower than the floor; an axis of no extent beside one with some gets the
// default view's extent (±1).
SFrame widened(SFrame frame) {
    const double dFloorHalf = dLeastFitWidth / 2;
    const bool bPoint = !(frame.dHalfWidth > 0) && !(frame.dHalfHeight > 0);
    const auto halfOf = [&](double dHalf) {
        if (!(dHalf > 0)) return bPoint ? dFloorHalf : 1.0;
        return std::max(dHalf * dWidening, dFloorHalf);
    };
    frame.dHalfWidth = halfOf(frame.dHalfWidth);
    frame.dHalfHeight = halfOf(frame.dHalfHeight);
    return frame;
}

// As wide against its height as the picture.
SFrame proportioned(SFrame frame, int iWidth, int iHeight) {
    const double dAspect = static_cast<double>(iWidth) / iHeight;
    if (frame.dHalfWidth < frame.dHalfHeight * dAspect)
        frame.dHalfWidth = frame.dHalfHeight * dAspect;
    else frame.dHalfHeight = frame.dHalfWidth / dAspect;
    return frame;
}

// The points of the fit's batches, turned as the picture shows them (about the origin: a turn
// about the centre differs from it by a shift only).
std::vector<SWorldPoint> turnedOrbit(const SGenome& genome, uint64_t uSeed) {
    const CChaosGame game(genome);
    const STurn turn = turnOf(genome);
    std::vector<SWorldPoint> vOrbit, vBatch;
    vOrbit.reserve(static_cast<size_t>(iFrameFitBatches) * iBatchSamples);
    SBatchCounts counts;
    for (int iBatch = 0; iBatch < iFrameFitBatches; iBatch++) {
        game.runBatchPoints(uSeed, iBatch, iBatchSamples, vBatch, counts);
        for (const SWorldPoint& point : vBatch)
            vOrbit.push_back({turn.dCos * point.dX - turn.dSin * point.dY,
                              turn.dSin * point.dX + turn.dCos * point.dY});
    }
    return vOrbit;
}

}  // namespace

SGenome fittedGenome(const SGenome& genome, uint64_t uSeed) {
    std::string sError;
    if (!checkGenome(genome, sError)) return genome;
    const std::vector<SWorldPoint> vPoints = turnedOrbit(genome, uSeed);
    if (vPoints.empty()) return genome;
    std::vector<double> vXs, vYs;
    vXs.reserve(vPoints.size());
    vYs.reserve(vPoints.size());
    for (const SWorldPoint& point : vPoints) vXs.push_back(point.dX), vYs.push_back(point.dY);
    const SFrame frame = proportioned(
        widened(denseFrame(vPoints, quantiles(std::move(vXs)), quantiles(std::move(vYs)))),
        genome.iWidth, genome.iHeight);
    // The frame's centre back from the turned view: R(−ρ) undoes R(ρ).
    const STurn turn = turnOf(genome);
    SGenome fitted = genome;
    fitted.dCenterX = turn.dCos * frame.dX + turn.dSin * frame.dY;
    fitted.dCenterY = -turn.dSin * frame.dX + turn.dCos * frame.dY;
    fitted.dScale = genome.iWidth / (2 * frame.dHalfWidth) / std::pow(2.0, genome.dZoom);
    return fitted;
}
